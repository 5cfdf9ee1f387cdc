#pragma once

// Colour numbers as the settings and hotspot records hold them (red in the low byte).

#include <QColor>
#include <cstdint>

namespace karvex {

// A red + 256 * green + 65536 * blue value as a QColor. System colours (high bit set) map
// to the palette's matching role: button face, button shadow, otherwise window text.
QColor ToQColor(std::int32_t value);
std::int32_t FromQColor(const QColor& color);

} // namespace karvex
