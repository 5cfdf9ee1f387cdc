#pragma once

// The fixed zoom levels of a document and their command keys: the one table the drop-down,
// the status bar, command dispatch and the drawing surface read.

#include <array>
#include <string>
#include <string_view>

namespace karvex {

struct ZoomLevel
{
    const char* Key; // the command key of its drop-down entry
    int Percent;
};

// Smallest first. The keys are command keys: do not renumber.
inline constexpr std::array<ZoomLevel, 8> kZoomLevels = { {
    { "Zoom1", 25 },
    { "Zoom2", 50 },
    { "Zoom3", 75 },
    { "Zoom4", 100 },
    { "Zoom5", 200 },
    { "Zoom6", 300 },
    { "Zoom7", 400 },
    { "Zoom8", 500 },
} };

inline constexpr int kSmallestZoom = kZoomLevels.front().Percent;
inline constexpr int kLargestZoom = kZoomLevels.back().Percent;

// The smallest level above percent; percent itself when no level is larger.
int NextZoomLevel(int percent);
// The largest level below percent; percent itself when no level is smaller.
int PreviousZoomLevel(int percent);

// The percent of "Zoom1" .. "Zoom8" (any letter case) or of the text "100"; 0 for any other key.
int ZoomPercentForKey(std::string_view key);

// The command key ("Zoom1" .. "Zoom8") of a zoom percent as the drawing surface reports it;
// "" for a percent that is no level.
std::string ZoomKeyForPercent(int percent);

} // namespace karvex
