#pragma once

// The fixed zoom levels of a document and their command keys.

#include <string>
#include <string_view>

namespace karvex {

// The percent of "ZOOM1" .. "ZOOM8" (any letter case) or of the text "100"; 0 for any other key.
int ZoomPercentForKey(std::string_view key);

// The command key ("ZOOM1" .. "ZOOM8") of a zoom percent as the drawing surface reports it;
// "" for a percent that is no level.
std::string ZoomKeyForPercent(int percent);

} // namespace karvex
