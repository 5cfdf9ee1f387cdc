#pragma once

// Writing attributes into tag texts: one attribute set where a browser reads it, the value
// encoded so that it stays inside its attribute, every other byte of the tag kept.

#include "core/model/attribute_pair.h"

#include <span>
#include <string>

namespace karvex {

// Sets one attribute in the first tag of text that begins with tagStart (case-blind; the tag at
// the start of text when tagStart is empty). The value is written in double quotes, encoded by
// EncodeAttributeValue so that it stays inside its attribute. Only that attribute changes:
// the rest of the tag and the text outside it are kept; a text without such a tag comes back
// unchanged.
std::string SetAttributeInTag(const std::string& text, const std::string& name,
    const std::string& value, const std::string& tagStart);

// SetAttributeInTag (tagStart empty) for each attribute in turn, with the same result; a tag
// that holds none of them and is plainly quoted gets them all in one pass.
std::string SetAttributesInTag(const std::string& text, std::span<const AttributePair> attributes);

} // namespace karvex
