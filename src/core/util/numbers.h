#pragma once

// The one way numbers are read from pages, projects, map files and panel entries: clamped into
// the ranges the editor can show, so that no size or coordinate overflows when it is zoomed.

#include <cstdint>
#include <optional>
#include <string_view>

namespace karvex {

// A picture is 1 to 65535 pixels a side (0 stands for "not given": the decoded size is used).
inline constexpr std::int32_t kMaxPictureSide = 65535;
// Coordinates lie within -1,000,000 .. 1,000,000 pixels.
inline constexpr std::int32_t kCoordinateLimit = 1000000;

// The leading whole number of text, read as ParseLeadingInt reads it (blanks, a sign, digits;
// no digits gives 0), clamped into [min, max].
std::int32_t ClampedNumber(std::string_view text, std::int32_t min, std::int32_t max);

// A picture size, border or similar count read from a tag: 0 .. kMaxPictureSide.
inline std::int32_t PictureNumber(std::string_view text)
{
    return ClampedNumber(text, 0, kMaxPictureSide);
}

// A coordinate read from a tag or an entry: within kCoordinateLimit either way.
inline std::int32_t CoordinateNumber(std::string_view text)
{
    return ClampedNumber(text, -kCoordinateLimit, kCoordinateLimit);
}

// The whole number text holds (blanks at both ends allowed) when it lies within [min, max];
// nothing for any other text, however many digits it has.
std::optional<std::int32_t> NumberInRange(
    std::string_view text, std::int32_t min, std::int32_t max);

} // namespace karvex
