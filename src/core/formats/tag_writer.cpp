#include "core/formats/tag_writer.h"

#include "core/code/html_validator.h"
#include "core/formats/tag_reader.h"
#include "core/util/strings.h"

#include <optional>
#include <string_view>
#include <vector>

namespace karvex {

namespace {

constexpr auto kNone = std::string::npos;

// The first attribute called name (case-blind) in tag[0, bodyEnd), read as a browser reads it.
std::optional<AttributeSpan> FindAttribute(
    std::string_view tag, std::size_t bodyEnd, const std::string& name)
{
    for (const AttributeSpan& span : ScanAttributeSpans(tag, bodyEnd)) {
        if (EqualsNoCase(tag.substr(span.NameStart, span.NameEnd - span.NameStart), name))
            return span;
    }
    return std::nullopt;
}

// Where SetAttributeInTag puts a new attribute into tag[0, bodyEnd): before a closing "/" of a
// closed tag, else at the end of the body.
std::size_t InsertionPoint(std::string_view tag, std::size_t bodyEnd, bool closed)
{
    std::size_t insertAt = bodyEnd;
    while (insertAt > 0 && IsTagBlank(tag[insertAt - 1]))
        --insertAt;
    if (closed && insertAt > 0 && tag[insertAt - 1] == '/') {
        --insertAt;
        while (insertAt > 0 && IsTagBlank(tag[insertAt - 1]))
            --insertAt;
        return insertAt;
    }
    return bodyEnd;
}

bool IsPlainAttributeName(std::string_view name)
{
    return !name.empty() && name.find_first_of(" \t\r\n=<>/\"'") == std::string_view::npos;
}

// SetAttributeInTag for each attribute in turn, in one pass: when the tag ends with its ">",
// holds none of the names, has every quote inside a closed quoted value and does not end in a
// dangling "=", and the names are plain and distinct, each call would only add its attribute
// after the one before. The values come encoded. Otherwise nothing is returned.
std::optional<std::string> SetAllAtOnce(
    const std::string& text, std::span<const AttributePair> attributes)
{
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        if (!IsPlainAttributeName(attributes[i].Name))
            return std::nullopt;
        for (std::size_t j = 0; j < i; ++j) {
            if (EqualsNoCase(attributes[i].Name, attributes[j].Name))
                return std::nullopt;
        }
    }
    if (text.empty() || text.front() != '<' || FindTagEnd(text, 0) != text.size() - 1)
        return std::nullopt;
    const std::string_view tag = text;
    const std::size_t bodyEnd = tag.size() - 1;
    std::size_t outside = 0; // tag[outside, ...) has not been checked for quotes yet
    const auto quoteIn = [&](std::size_t from, std::size_t to) {
        return tag.substr(from, to - from).find_first_of("\"'") != std::string_view::npos;
    };
    for (const AttributeSpan& span : ScanAttributeSpans(tag, bodyEnd)) {
        const std::string_view name = tag.substr(span.NameStart, span.NameEnd - span.NameStart);
        for (const AttributePair& attribute : attributes) {
            if (EqualsNoCase(name, attribute.Name))
                return std::nullopt;
        }
        const std::string_view value = tag.substr(span.ValueStart, span.ValueEnd - span.ValueStart);
        if (value.empty() || value.front() == '"' || value.front() == '\'') {
            if (value.size() < 2 || value.back() != value.front())
                return std::nullopt; // an empty or unclosed value
            if (quoteIn(outside, span.ValueStart))
                return std::nullopt;
            outside = span.ValueEnd;
        }
    }
    if (quoteIn(outside, bodyEnd))
        return std::nullopt;
    const std::size_t insertAt = InsertionPoint(tag, bodyEnd, true);
    const std::size_t lastSolid = tag.substr(0, insertAt).find_last_not_of(" \t\r\n");
    if (lastSolid != std::string_view::npos && tag[lastSolid] == '=')
        return std::nullopt; // the first new attribute would become a value

    std::string result;
    std::size_t size = text.size();
    for (const AttributePair& attribute : attributes)
        size += attribute.Name.size() + attribute.Value.size() + 4;
    result.reserve(size);
    result.append(tag.substr(0, insertAt));
    for (const AttributePair& attribute : attributes) {
        result += ' ';
        result += attribute.Name;
        result += "=\"";
        result += attribute.Value;
        result += '"';
    }
    result.append(tag.substr(insertAt, bodyEnd - insertAt));
    result += '>';
    return result;
}

} // namespace

std::string SetAttributeInTag(const std::string& text, const std::string& name,
    const std::string& value, const std::string& tagStart)
{
    if (name.empty())
        return text;
    std::size_t tagBegin = 0;
    if (!tagStart.empty()) {
        tagBegin = FindNoCase(text, tagStart);
        if (tagBegin == kNone)
            return text;
    }
    if (tagBegin >= text.size())
        return text; // no tag to set anything in
    const std::size_t close = FindTagEnd(text, tagBegin);
    const std::size_t tagEnd = close == kNone ? text.size() : close + 1;
    const std::string_view tag = std::string_view(text).substr(tagBegin, tagEnd - tagBegin);
    const std::size_t bodyEnd = close == kNone ? tag.size() : tag.size() - 1;

    const std::string encoded = EncodeAttributeValue(value);
    // One allocation: the project writer sets three attributes in every hotspot's tag.
    std::string changed;
    changed.reserve(text.size() + name.size() + encoded.size() + 5);
    changed.append(text, 0, tagBegin);
    if (const auto found = FindAttribute(tag, bodyEnd, name)) {
        changed.append(tag.substr(0, found->NameStart));
        changed.append(tag.substr(found->NameStart, name.size())); // the name as written
        changed += "=\"";
        changed += encoded;
        changed += '"';
        changed.append(tag.substr(found->ValueEnd));
    } else {
        // A self-closing "/>" stays at the end, after the new attribute.
        const std::size_t insertAt = InsertionPoint(tag, bodyEnd, close != kNone);
        changed.append(tag.substr(0, insertAt));
        changed += ' ';
        changed += name;
        changed += "=\"";
        changed += encoded;
        changed += '"';
        changed.append(tag.substr(insertAt, bodyEnd - insertAt));
        changed += ">";
    }
    changed.append(text, tagEnd, std::string::npos);
    return changed;
}

std::string SetAttributesInTag(const std::string& text, std::span<const AttributePair> attributes)
{
    std::vector<AttributePair> encoded(attributes.begin(), attributes.end());
    for (AttributePair& attribute : encoded)
        attribute.Value = EncodeAttributeValue(attribute.Value);
    if (const auto atOnce = SetAllAtOnce(text, encoded))
        return *atOnce;
    std::string result = text;
    for (const AttributePair& attribute : attributes)
        result = SetAttributeInTag(result, attribute.Name, attribute.Value, "");
    return result;
}

} // namespace karvex
