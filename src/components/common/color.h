#pragma once

// Colour numbers as the settings and hotspot records hold them (red in the low byte).

#include <QColor>
#include <cstdint>

namespace karvex {

// A red + 256 * green + 65536 * blue value as a QColor. System colours (high bit set) map
// to the palette's matching role: button face, button shadow, otherwise window text.
QColor ToQColor(std::int32_t value);
std::int32_t FromQColor(const QColor& color);

// The contrast of two colours as the ratio of their relative luminances, 1 to 21.
double ContrastRatio(const QColor& first, const QColor& second);
// The ink when it stands out from the background; otherwise the same hue made lighter (on a
// dark background) or darker (on a light one) until it does. Colours chosen for a light look
// stay readable on a dark palette, and the reverse.
QColor ReadableOn(const QColor& ink, const QColor& background);

} // namespace karvex
