#include "core/model/zoom_levels.h"

#include "core/util/strings.h"

namespace karvex {

namespace {

// Some surfaces report their smallest zoom as 20 percent; it is the first level all the same.
constexpr int kSmallestReportedPercent = 20;

} // namespace

int NextZoomLevel(int percent)
{
    for (const ZoomLevel& level : kZoomLevels) {
        if (level.Percent > percent)
            return level.Percent;
    }
    return percent;
}

int PreviousZoomLevel(int percent)
{
    int previous = percent;
    for (const ZoomLevel& level : kZoomLevels) {
        if (level.Percent < percent)
            previous = level.Percent;
    }
    return previous;
}

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
        return kZoomLevels.front().Key;
    for (const ZoomLevel& level : kZoomLevels) {
        if (level.Percent == percent)
            return level.Key;
    }
    return {};
}

} // namespace karvex
