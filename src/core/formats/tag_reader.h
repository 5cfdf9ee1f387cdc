#pragma once

// The tag reader: splits a tag text into its name, its link value and its attributes, as the
// importers, the project reader and the code edit dialog read stored and typed tags.

#include "core/model/attribute_pair.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace karvex {

struct TagRecord
{
    std::string TagText; // from "<" through ">"
    std::string TagName; // as written, e.g. "AREA" or "img"
    // In tag order, values with the quotes they were written with; entry 0 is an empty pair.
    std::vector<AttributePair> Attributes = std::vector<AttributePair>(1);
};

// Where one attribute stands in a tag text: [NameStart, NameEnd) and [ValueStart, ValueEnd),
// the value as written with any quotes.
struct AttributeSpan
{
    std::size_t NameStart = 0;
    std::size_t NameEnd = 0;
    std::size_t ValueStart = 0;
    std::size_t ValueEnd = 0;
};

// The attributes with a value in tag[0, bodyEnd), read as a browser reads them: names in any
// case, values in double, single or no quotes (a quoted value may hold blanks, "=" and ">"),
// blanks around "=" belonging to neither side. Attributes without "=" are passed over.
std::vector<AttributeSpan> ScanAttributeSpans(std::string_view tag, std::size_t bodyEnd);

// The attributes of one tag text in order (no empty entry 0); values keep their quotes.
std::vector<AttributePair> ScanAttributes(std::string_view tagText);

// The index of the ">" that ends the tag whose "<" is at start: a ">" inside a quoted value does
// not end it, unless a quote is never closed. npos when the tag has no end.
std::size_t FindTagEnd(std::string_view text, std::size_t start);

// What FindTagEnd has learnt about one text, for its later calls on the same text: where each
// quote character stops occurring, and the closing quotes from which a scan was seen to run into
// a quote that is never closed. Quotes can chain from tag to tag over a whole page; with this,
// finding the ends of all the tags of a text stays linear in its length instead of following
// the chain again for every tag.
struct TagEndMemo
{
    std::size_t NoDoubleQuoteFrom = std::string_view::npos;
    std::size_t NoSingleQuoteFrom = std::string_view::npos;
    std::unordered_set<std::size_t> UnclosedFrom;
};

// FindTagEnd for one of many tags of text, all with the same memo; the result is the same.
std::size_t FindTagEnd(std::string_view text, std::size_t start, TagEndMemo& memo);

// The name of the tag whose text starts with its "<", as ParseTag gives it in TagName.
std::string ReadTagName(std::string_view tagText);

// Reads the tags of text and returns the record of the last one (callers pass one tag). A "<"
// without a later ">" makes a tag that runs to the end of text; a text without "<" gives an
// empty record.
TagRecord ParseTag(std::string_view text);

// ParseTag for a text that is exactly one tag, as the readers cut tags from a page: from its
// "<" through the ">" that FindTagEnd finds for it, or to its end when there is none. The end
// is not looked for a second time. spans, when given, gets ScanAttributeSpans of the TagText.
TagRecord ParseOneTag(std::string_view tagText, std::vector<AttributeSpan>* spans = nullptr);

// An attribute value as written, ready for use: a value in single quotes loses them and keeps
// the double quotes inside; any other value loses every double quote.
std::string UnquotedValue(std::string_view value);

// The value of the first attribute whose name equals name without regard to case, unquoted as
// UnquotedValue does; defaultValue when there is none.
std::string GetAttribute(
    const TagRecord& tag, std::string_view name, std::string_view defaultValue);

// A value made fit to stand between double quotes in a tag, so that it cannot end its attribute
// or its tag: '"', "<" and ">" become "&quot;", "&lt;" and "&gt;", and an "&" that a browser
// could take for the start of a character reference becomes "&amp;". A complete reference
// ("&amp;", "&#38;") is kept as written, so encoding an encoded value changes nothing.
std::string EncodeAttributeValue(std::string_view value);

// EncodeAttributeValue for a value that is data rather than page text, such as a file's path or
// name: every "&" becomes "&amp;", so that a browser, and DecodeAttributeValue, read back the
// very characters ("a&lt;b.gif" stays a name with "&lt;" in it).
std::string EncodeRawValue(std::string_view value);

// The value a browser reads from an attribute for the references EncodeAttributeValue writes:
// "&quot;", "&#39;", "&lt;", "&gt;", "&amp;" and numeric references of ASCII characters become
// their characters; every other byte stays as it is.
std::string DecodeAttributeValue(std::string_view value);

// The name of the map a USEMAP value names, as a browser reads it: the text after its first "#"
// (a value without "#", less blanks at its ends, as it is).
std::string UseMapTarget(std::string_view useMap);

// Every "+" becomes a blank, then every "%" with two hex digits becomes that byte, left to right;
// decoded characters are not decoded again and any other "%" stays as it is.
std::string UrlDecode(std::string_view text);

} // namespace karvex
