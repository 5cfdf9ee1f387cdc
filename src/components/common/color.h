#pragma once

// Colour numbers as the settings and hotspot records hold them (red in the low byte).

#include <QColor>
#include <QString>
#include <cstdint>

namespace karvex {

// A red + 256 * green + 65536 * blue value as a QColor; bits above the low 24 are ignored.
// System colours (high bit set, index in the low bits) map to the application palette's
// matching role; an unknown index gives the window text colour.
QColor ToQColor(std::int32_t value);
std::int32_t FromQColor(const QColor& color);

// The system colours &H80000000 to &H80000018.
constexpr int kSystemColorCount = 25;
// The index (0 to 24) of a system colour number, or -1 for any other number.
int SystemColorIndex(std::int32_t value);
// A system colour's name for people ("Button Face"); empty for any other number.
QString SystemColorName(std::int32_t value);

// The contrast of two colours as the ratio of their relative luminances, 1 to 21.
double ContrastRatio(const QColor& first, const QColor& second);
// The ink when it stands out from the background; otherwise the same hue made lighter (on a
// dark background) or darker (on a light one) until it does. Colours chosen for a light look
// stay readable on a dark palette, and the reverse.
QColor ReadableOn(const QColor& ink, const QColor& background);

} // namespace karvex
