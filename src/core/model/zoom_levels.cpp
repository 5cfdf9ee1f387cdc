#include "core/model/zoom_levels.h"

#include "core/util/strings.h"

namespace karvex {

namespace {

struct ZoomLevel
{
    const char* Key;
    int Percent;
};

// Command keys of the zoom drop-down: do not renumber.
constexpr ZoomLevel kZoomLevels[] = {
    { "ZOOM1", 25 },
    { "ZOOM2", 50 },
    { "ZOOM3", 75 },
    { "ZOOM4", 100 },
    { "ZOOM5", 200 },
    { "ZOOM6", 300 },
    { "ZOOM7", 400 },
    { "ZOOM8", 500 },
};

// Some surfaces report their smallest zoom as 20 percent; it is the first level all the same.
constexpr int kSmallestReportedPercent = 20;

} // namespace

int ZoomPercentForKey(std::string_view key)
{
    if (key == "100")
        return 100;
    for (const ZoomLevel& level : kZoomLevels) {
        if (EqualsNoCase(key, level.Key))
            return level.Percent;
    }
    return 0;
}

std::string ZoomKeyForPercent(int percent)
{
    if (percent == kSmallestReportedPercent)
        return kZoomLevels[0].Key;
    for (const ZoomLevel& level : kZoomLevels) {
        if (level.Percent == percent)
            return level.Key;
    }
    return {};
}

} // namespace karvex
