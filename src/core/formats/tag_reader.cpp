#include "core/formats/tag_reader.h"

#include "core/code/html_validator.h"
#include "core/util/strings.h"

#include <algorithm>
#include <utility>

namespace karvex {

namespace {

constexpr auto kNone = std::string_view::npos;

// IsTagBlank as a table, looked up inline: the loops below test every byte of every tag of a
// page, and a call per byte was a tenth of the time of a page import.
struct BlankTable
{
    bool Blank[256] = {};

    BlankTable()
    {
        for (int ch = 0; ch < 256; ++ch)
            Blank[ch] = IsTagBlank(static_cast<char>(ch));
    }

    bool operator()(char ch) const { return Blank[static_cast<unsigned char>(ch)]; }
};

const BlankTable& Blanks()
{
    static const BlankTable table;
    return table;
}

} // namespace

std::string ReadTagName(std::string_view tagText)
{
    if (tagText.empty())
        return {};
    std::size_t end = 1;
    while (end < tagText.size() && tagText[end] != ' ' && tagText[end] != '>')
        ++end;
    std::string name = RemoveAll(Trim(tagText.substr(1, end - 1)), '\0');
    const auto isLineEnd = [](char ch) { return ch == '\r' || ch == '\n'; };
    std::size_t first = 0;
    std::size_t last = name.size();
    while (first < last && isLineEnd(name[first]))
        ++first;
    while (last > first && isLineEnd(name[last - 1]))
        --last;
    name = name.substr(first, last - first);
    // A name followed by a tab or line break instead of a blank ends there too.
    const auto blank = std::find_if(name.begin(), name.end(), IsTagBlank);
    name.erase(blank, name.end());
    return name;
}

std::vector<AttributeSpan> ScanAttributeSpans(std::string_view tag, std::size_t bodyEnd)
{
    bodyEnd = std::min(bodyEnd, tag.size());
    const BlankTable& isBlank = Blanks();
    const auto skipBlanks = [&](std::size_t i) {
        while (i < bodyEnd && isBlank(tag[i]))
            ++i;
        return i;
    };
    std::vector<AttributeSpan> spans;
    std::size_t i = tag.find('<');
    i = i == kNone ? 0 : i + 1;
    while (i < bodyEnd && !isBlank(tag[i]) && tag[i] != '>')
        ++i; // the tag name
    while (true) {
        i = skipBlanks(i);
        if (i >= bodyEnd || tag[i] == '>')
            return spans;
        const std::size_t nameStart = i;
        while (i < bodyEnd && !isBlank(tag[i]) && tag[i] != '=' && tag[i] != '>')
            ++i;
        const std::size_t nameEnd = i;
        i = skipBlanks(i);
        if (i >= bodyEnd || tag[i] != '=') {
            if (nameEnd == nameStart)
                ++i; // a stray "=" or quote: step over it
            continue; // an attribute without a value
        }
        i = skipBlanks(i + 1);
        const std::size_t valueStart = i;
        if (i < bodyEnd && (tag[i] == '"' || tag[i] == '\'')) {
            const std::size_t close = tag.find(tag[i], i + 1);
            i = close == kNone || close >= bodyEnd ? bodyEnd : close + 1;
        } else {
            while (i < bodyEnd && !isBlank(tag[i]) && tag[i] != '>')
                ++i;
        }
        if (nameEnd > nameStart)
            spans.push_back({ nameStart, nameEnd, valueStart, i });
    }
}

namespace {

constexpr std::size_t kUnclosed = kNone - 1;

// One scan for the end of the tag at start; kUnclosed when it runs into a quote that is never
// closed. With a memo, what earlier scans learnt is used (and with remember, the closing quotes
// passed are added to it); the answer does not change.
std::size_t ScanTagEnd(std::string_view text, std::size_t start, TagEndMemo* memo, bool remember)
{
    const BlankTable& isBlank = Blanks();
    bool afterEquals = false;
    for (std::size_t i = start + 1; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '>')
            return i;
        if (ch == '=') {
            afterEquals = true;
            continue;
        }
        if (afterEquals && (ch == '"' || ch == '\'')) {
            std::size_t* noQuoteFrom = nullptr;
            if (memo)
                noQuoteFrom = ch == '"' ? &memo->NoDoubleQuoteFrom : &memo->NoSingleQuoteFrom;
            const std::size_t close
                = noQuoteFrom && i + 1 >= *noQuoteFrom ? kNone : text.find(ch, i + 1);
            if (close == kNone) {
                if (noQuoteFrom)
                    *noQuoteFrom = std::min(*noQuoteFrom, i + 1);
                return kUnclosed;
            }
            if (remember) {
                // The rest of the chain is known from here on.
                if (!memo->UnclosedFrom.insert(close).second)
                    return kUnclosed;
            } else if (memo && !memo->UnclosedFrom.empty() && memo->UnclosedFrom.count(close) > 0) {
                // From a closing quote the scan goes on alike, whatever tag it began in.
                return kUnclosed;
            }
            i = close;
        }
        if (!isBlank(ch))
            afterEquals = false;
    }
    return kNone;
}

} // namespace

std::size_t FindTagEnd(std::string_view text, std::size_t start)
{
    const std::size_t end = ScanTagEnd(text, start, nullptr, false);
    // An unclosed quote would swallow the page: the tag then ends at the first ">".
    return end == kUnclosed ? text.find('>', start + 1) : end;
}

std::size_t FindTagEnd(std::string_view text, std::size_t start, TagEndMemo& memo)
{
    const std::size_t end = ScanTagEnd(text, start, &memo, false);
    if (end != kUnclosed)
        return end;
    // Rare: the closing quotes on the way are remembered, so that the scans of the tags after
    // this one stop where they join the same chain.
    ScanTagEnd(text, start, &memo, true);
    return text.find('>', start + 1);
}

std::vector<AttributePair> ScanAttributes(std::string_view tagText)
{
    std::vector<AttributePair> attributes;
    for (const AttributeSpan& span : ScanAttributeSpans(tagText, tagText.size())) {
        attributes.push_back(
            { std::string(tagText.substr(span.NameStart, span.NameEnd - span.NameStart)),
                std::string(tagText.substr(span.ValueStart, span.ValueEnd - span.ValueStart)) });
    }
    return attributes;
}

std::string UnquotedValue(std::string_view value)
{
    // The double quotes inside a single-quoted value are part of it (onclick='show("big")').
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
        return std::string(value.substr(1, value.size() - 2));
    return RemoveAll(value, '"');
}

TagRecord ParseTag(std::string_view text)
{
    std::size_t start = text.find('<');
    if (start == kNone)
        return {};
    TagEndMemo memo;
    std::size_t end = 0;
    while (true) {
        const std::size_t close = FindTagEnd(text, start, memo);
        end = close == kNone ? text.size() : close + 1;
        const std::size_t next = close == kNone ? kNone : text.find('<', close + 1);
        if (next == kNone)
            break;
        start = next;
    }
    return ParseOneTag(text.substr(start, end - start));
}

TagRecord ParseOneTag(std::string_view tagText, std::vector<AttributeSpan>* spans)
{
    TagRecord record;
    if (tagText.empty() || tagText.front() != '<') {
        record = ParseTag(tagText);
        if (spans)
            *spans = ScanAttributeSpans(record.TagText, record.TagText.size());
        return record;
    }
    record.TagText = std::string(tagText);
    record.TagName = ReadTagName(record.TagText);
    // Filled in place: readers parse one record per AREA of pages with tens of thousands.
    const std::string_view tag = record.TagText;
    std::vector<AttributeSpan> ownSpans;
    std::vector<AttributeSpan>& found = spans ? *spans : ownSpans;
    found = ScanAttributeSpans(tag, tag.size());
    record.Attributes.reserve(found.size() + 1);
    for (const AttributeSpan& span : found) {
        record.Attributes.push_back(
            { std::string(tag.substr(span.NameStart, span.NameEnd - span.NameStart)),
                std::string(tag.substr(span.ValueStart, span.ValueEnd - span.ValueStart)) });
    }
    return record;
}

std::string GetAttribute(const TagRecord& tag, std::string_view name, std::string_view defaultValue)
{
    for (std::size_t i = 1; i < tag.Attributes.size(); ++i) {
        if (EqualsNoCase(tag.Attributes[i].Name, name))
            return UnquotedValue(tag.Attributes[i].Value);
    }
    return std::string(defaultValue);
}

namespace {

bool IsAsciiAlnum(char ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// The length of the character reference at text[at] ("&name;", "&#123;", "&#x7B;"), 0 when
// there is none.
std::size_t ReferenceLength(std::string_view text, std::size_t at)
{
    std::size_t i = at + 1;
    const bool numeric = i < text.size() && text[i] == '#';
    const bool hex = numeric && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X');
    i += numeric ? (hex ? 2 : 1) : 0;
    const std::size_t digits = i;
    while (i < text.size()
        && (hex           ? HexDigitValue(text[i]) >= 0
                : numeric ? (text[i] >= '0' && text[i] <= '9')
                          : IsAsciiAlnum(text[i])))
        ++i;
    const bool named = !numeric && i > digits && !(text[digits] >= '0' && text[digits] <= '9');
    if ((numeric || named) && i > digits && i < text.size() && text[i] == ';')
        return i + 1 - at;
    return 0;
}

} // namespace

std::string EncodeAttributeValue(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char ch = value[i];
        if (ch == '"') {
            out += "&quot;";
        } else if (ch == '<') {
            out += "&lt;";
        } else if (ch == '>') {
            out += "&gt;";
        } else if (ch == '&' && i + 1 < value.size()
            && (IsAsciiAlnum(value[i + 1]) || value[i + 1] == '#')
            && ReferenceLength(value, i) == 0) {
            out += "&amp;";
        } else {
            out += ch;
        }
    }
    return out;
}

std::string EncodeRawValue(std::string_view value)
{
    return EncodeAttributeValue(ReplaceAll(value, "&", "&amp;"));
}

std::string DecodeAttributeValue(std::string_view value)
{
    static constexpr std::pair<std::string_view, char> kNamed[] = { { "&quot;", '"' },
        { "&lt;", '<' }, { "&gt;", '>' }, { "&amp;", '&' }, { "&apos;", '\'' } };
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const std::size_t length = value[i] == '&' ? ReferenceLength(value, i) : 0;
        if (length == 0) {
            out += value[i];
            continue;
        }
        const std::string_view reference = value.substr(i, length);
        char decoded = '\0';
        for (const auto& [name, ch] : kNamed) {
            if (EqualsNoCase(reference, name))
                decoded = ch;
        }
        if (reference[1] == '#') {
            const bool hex = reference[2] == 'x' || reference[2] == 'X';
            long code = 0;
            for (std::size_t k = hex ? 3 : 2; k + 1 < reference.size() && code < 256; ++k)
                code = code * (hex ? 16 : 10) + HexDigitValue(reference[k]);
            if (code > 0 && code < 128)
                decoded = static_cast<char>(code);
        }
        if (decoded == '\0') {
            out += value[i];
            continue;
        }
        out += decoded;
        i += length - 1;
    }
    return out;
}

std::string UseMapTarget(std::string_view useMap)
{
    const std::size_t hash = useMap.find('#');
    return hash == kNone ? Trim(useMap) : std::string(useMap.substr(hash + 1));
}

std::string UrlDecode(std::string_view text)
{
    const std::string plain = ReplaceAll(text, "+", " ");
    std::string result;
    result.reserve(plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] == '%' && i + 2 < plain.size() && HexDigitValue(plain[i + 1]) >= 0
            && HexDigitValue(plain[i + 2]) >= 0) {
            result += static_cast<char>(
                HexDigitValue(plain[i + 1]) * 16 + HexDigitValue(plain[i + 2]));
            i += 2;
        } else {
            result += plain[i];
        }
    }
    return result;
}

} // namespace karvex
