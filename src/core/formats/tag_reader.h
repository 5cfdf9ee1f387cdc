#pragma once

// The tag reader: splits a tag text into its name, its link value and its attributes, as the
// importers, the project reader and the code edit dialog read stored and typed tags.

#include "core/model/attribute_pair.h"

#include <string>
#include <string_view>
#include <vector>

namespace karvex {

struct TagRecord
{
    std::string TagText; // from "<" through ">"
    std::string TagName; // as written, e.g. "AREA" or "img"
    // HREF of "a", SRC of "img" (both with the base folder in front unless they start with
    // "http"), NAME of "map"; empty for other tags.
    std::string LinkValue;
    // In tag order, values with the quotes they were written with; entry 0 is an empty pair.
    std::vector<AttributePair> Attributes = std::vector<AttributePair>(1);
};

// The attributes of one tag text in order (no empty entry 0), read with the validator's
// attribute reader; values keep their quotes.
std::vector<AttributePair> ScanAttributes(std::string_view tagText);

// Reads the tags of text and returns the record of the last one (callers pass one tag). A "<"
// without a later ">" makes a tag that runs to the end of text; a text without "<" gives an
// empty record.
TagRecord ParseTag(std::string_view text, std::string_view base);

// An attribute value as written, ready for use: a value in single quotes loses them, and every
// double quote is removed.
std::string UnquotedValue(std::string_view value);

// The value of the first attribute whose name equals name without regard to case, unquoted as
// UnquotedValue does; defaultValue when there is none.
std::string GetAttribute(
    const TagRecord& tag, std::string_view name, std::string_view defaultValue);

// Every "+" becomes a blank, then every "%" with two hex digits becomes that byte, left to right;
// decoded characters are not decoded again and any other "%" stays as it is.
std::string UrlDecode(std::string_view text);

} // namespace karvex
