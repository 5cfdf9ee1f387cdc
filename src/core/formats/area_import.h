#pragma once

// Reading an AREA tag into a hotspot record: the editor's own "##" attributes, shape and
// coordinates are taken out, every other attribute stays in the tag text.

#include "core/formats/tag_reader.h"
#include "core/model/records.h"

#include <string>
#include <string_view>
#include <vector>

namespace karvex {

// Fills spot from tag (its slot and Id stay) and returns the tag text without "##LOCKED",
// "##COLOR", "##NAME" and INDEX, which becomes the hotspot's AreaTag. Attributes that have
// no place of their own are listed in spot.Attributes. A "##NAME" value is returned in
// nameFromTag rather than stored, since names must stay unique in the document.
std::string ReadAreaTagInto(Hotspot& spot, const TagRecord& tag, std::string* nameFromTag);

// ReadAreaTagInto for readers of many AREAs: the tag text is left in spot.AreaTag only.
// spans, when given, must be ScanAttributeSpans of tag.TagText, which is then not read again.
void FillHotspotFromAreaTag(Hotspot& spot, const TagRecord& tag, std::string* nameFromTag,
    const std::vector<AttributeSpan>* spans = nullptr);

// True for the attributes an AREA keeps in its tag text without listing them as extra ones
// (HREF, ALT, TARGET, the events, ID, NAME, ...); the name is given in upper case.
bool IsKnownAreaAttribute(std::string_view upperName);

} // namespace karvex
