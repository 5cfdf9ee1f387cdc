#pragma once

// The model side of the property panel: how a value typed into an entry is cleaned, and what
// it changes in a hotspot or in the document's picture and map.

#include "core/model/records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace karvex {

inline constexpr const char* kBadSymbolsMessage
    = "The text contains symbols that cannot be used. Avoid using the symbols: \"";
inline constexpr const char* kUsemapTakenMessage
    = "This USENAME already exist in the document, please choose another name.";

// Removes every double quote from value; true when there was one (the user is then warned).
bool CleanPanelValue(std::string& value);

// The colour number (red in the low byte) of a "#RRGGBB" entry, read from its last six
// characters; nothing when those are not six hexadecimal digits.
std::optional<std::int32_t> PanelColorValue(std::string_view value);

// Sets name to value in the hotspot's AreaTag; an attribute that is not one of the AREA's own
// is also listed, or updated, in the hotspot's Attributes.
void SetHotspotAttribute(Hotspot& spot, const std::string& name, const std::string& value);

// "Current Path", "Relative Path", "Direct path" for the path modes 0, 1, 2.
std::string PathModeText(PathModeKind mode);
// "NCSA" for 0, "CERN" for 1.
std::string ServerTypeText(std::int32_t type);

// True when pageText holds a MAP named name (letter case, blanks, line ends and double quotes
// ignored) outside ownMapCode, the document's own map block in that page.
bool MapNameTaken(
    const std::string& pageText, const std::string& ownMapCode, const std::string& name);

struct MapEdit
{
    bool Refused = false; // the value was not taken: the entry shows the document's value again
    std::string Message; // why, for the user; empty when the entry is just put back
    bool Reread = false; // ImgTag changed in a way RereadImgTag must follow
    bool MapTagsChanged = false; // the MAP start tag changed too
    bool SizeChanged = false; // the picture's width or height changed
};

// Applies a value of the map grid to the picture of doc; keys are compared in upper case, and an
// attribute the tag does not have yet is added under the key as given. With checkMapNames, a new
// USEMAP name that the document's own page already uses is refused.
MapEdit ApplyMapValue(
    Document& doc, const std::string& key, const std::string& value, bool checkMapNames);

// ApplyMapValue, then the image record brought in line with the edited IMG tag (RereadImgTag) when
// the edit asks for it; SizeChanged tells whether the picture's width or height changed either
// way.
MapEdit EditMapValue(
    Document& doc, const std::string& key, const std::string& value, bool checkMapNames);

// Makes the picture at fullPath, of width x height pixels, the document's picture, written as
// srcText into SRC of the IMG tag with its size; a tag without USEMAP gets one, and the MAP tag
// a NAME, after the picture's file name. True when the MAP start tag changed too.
bool UsePicture(Document& doc, const std::string& srcText, const std::string& fullPath,
    std::int32_t width, std::int32_t height);

} // namespace karvex
