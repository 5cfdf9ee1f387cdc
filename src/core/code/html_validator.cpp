#include "core/code/html_validator.h"

#include "core/util/strings.h"

#include <algorithm>

namespace karvex {

namespace {

constexpr auto kNone = std::string_view::npos;

// A 1-based position as a 0-based index into a text of the given size, clamped to 0..size.
std::size_t ToIndex(std::int64_t position, std::size_t size)
{
    if (position <= 1)
        return 0;
    return std::min(static_cast<std::size_t>(position - 1), size);
}

std::string TrimBlanks(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsTagBlank(text[first]))
        ++first;
    while (last > first && IsTagBlank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

// Index of the first character of the attribute name whose "=" is at eq: behind the last blank
// or "<" in [from, eq), else from itself.
std::size_t NameStart(std::string_view text, std::size_t from, std::size_t eq)
{
    for (std::size_t i = eq; i > from; --i) {
        if (IsTagBlank(text[i - 1]) || text[i - 1] == '<')
            return i;
    }
    return from;
}

// The value behind the "=" at eq, as the half-open range [Start, End) of text.
struct ValueSpan
{
    std::size_t Start = 0;
    std::size_t End = 0;
    bool Unclosed = false; // a double quote was opened and never closed
};

ValueSpan ReadValue(std::string_view text, std::size_t eq)
{
    const std::size_t start = eq + 1;
    bool quoting = false;
    std::size_t lastBlank = kNone;
    for (std::size_t i = start; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '"') {
            if (quoting)
                return { start, i + 1, false };
            quoting = true;
        } else if (ch == '>') {
            return { start, i, quoting };
        } else if (!quoting && ch == '=' && lastBlank != kNone) {
            // The text behind that blank is the name of the next attribute. An "=" with no
            // blank before it inside this value cannot start a name, so it stays in the value.
            return { start, lastBlank, false };
        } else if (!quoting && IsTagBlank(ch)) {
            lastBlank = i;
        }
    }
    return { start, text.size(), quoting };
}

// A SHAPE or COORDS value as the AREA check reads it, found anywhere in the tag.
struct AreaValue
{
    std::string Text;
    std::size_t Index = kNone; // where the value starts in the tag; kNone when missing
};

AreaValue ReadAreaValue(std::string_view tag, std::string_view key)
{
    const std::size_t at = FindNoCase(tag, key);
    if (at == kNone)
        return {};
    const std::size_t start = at + key.size();
    std::size_t first = start;
    std::size_t end = start;
    if (start < tag.size() && tag[start] == '"') {
        first = start + 1;
        end = first;
        while (end < tag.size() && tag[end] != '"' && tag[end] != '>')
            ++end;
    } else {
        while (end < tag.size() && !IsTagBlank(tag[end]) && tag[end] != '>')
            ++end;
    }
    return { RemoveAll(tag.substr(first, end - first), '"'), start };
}

bool IsCoordsCountValid(const std::string& upperShape, std::size_t count, bool& knownShape)
{
    knownShape = true;
    if (upperShape == "RECT")
        return count == 4;
    if (upperShape == "CIRCLE")
        return count == 3;
    if (upperShape == "POLY")
        return count >= 6 && count % 2 == 0;
    knownShape = false;
    return false;
}

} // namespace

bool IsTagBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

void HtmlValidator::AddError(std::int64_t position, std::string_view text, std::int32_t code)
{
    m_errors.push_back({ position, std::string(text), code });
}

void HtmlValidator::InsertCode(std::string_view text)
{
    m_seenNames.clear();
    bool tagOpen = false;
    bool sawBracket = false;
    std::size_t tagStart = 0;
    std::size_t lastEnd = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '<') {
            tagOpen = true;
            tagStart = i;
            sawBracket = true;
        } else if (ch == '>') {
            sawBracket = true;
            if (tagOpen) {
                CheckTag(text.substr(tagStart, i - tagStart + 1), tagStart);
                tagOpen = false;
            } else {
                AddError(static_cast<std::int64_t>(i) + 1, text.substr(lastEnd, i - lastEnd + 1),
                    ValidatorStrayClose);
            }
            lastEnd = i;
        }
    }
    if (tagOpen)
        AddError(static_cast<std::int64_t>(text.size()) + 1, text.substr(tagStart),
            ValidatorUnclosedTag);
    if (!sawBracket)
        AddError(1, text, ValidatorNoTag);
}

void HtmlValidator::CheckTag(std::string_view tag, std::size_t offset)
{
    const auto at
        = [offset](std::size_t index) { return static_cast<std::int64_t>(offset + index) + 1; };
    m_seenNames.clear();
    std::size_t nameEnd = 1;
    while (nameEnd < tag.size() && !IsTagBlank(tag[nameEnd]) && tag[nameEnd] != '>')
        ++nameEnd;
    if (EqualsNoCase(tag.substr(0, nameEnd), "<AREA"))
        CheckArea(tag, offset);
    if (nameEnd >= tag.size() || tag[nameEnd] == '>')
        return;

    std::size_t pos = nameEnd;
    while (pos < tag.size()) {
        const std::size_t eq = tag.find('=', pos);
        if (eq == kNone)
            break;
        const std::size_t nameStart = NameStart(tag, pos, eq);
        const std::string_view name = tag.substr(nameStart, eq - nameStart);
        std::string upperName = ToUpper(name);
        if (std::find(m_seenNames.begin(), m_seenNames.end(), upperName) != m_seenNames.end()) {
            AddError(at(nameStart), name, ValidatorDuplicateName);
            return;
        }
        m_seenNames.push_back(std::move(upperName));

        const ValueSpan span = ReadValue(tag, eq);
        const std::string_view value = tag.substr(span.Start, span.End - span.Start);
        if (span.Unclosed)
            AddError(at(span.Start), value, ValidatorOpenQuote);

        // The reader stops before a ">", so the value holds none to remove.
        std::string bare = TrimBlanks(value);
        const bool startsQuoted = !bare.empty() && bare.front() == '"';
        if (startsQuoted)
            bare.erase(0, 1);
        const bool endsQuoted = !bare.empty() && bare.back() == '"';
        if (endsQuoted)
            bare.pop_back();
        if (startsQuoted != endsQuoted)
            AddError(at(span.Start), value, ValidatorHalfQuoted);
        else if (bare.find('"') != kNone)
            AddError(at(span.Start), value, ValidatorInnerQuote);

        pos = span.End;
    }
}

void HtmlValidator::CheckArea(std::string_view tag, std::size_t offset)
{
    const auto at = [offset](const AreaValue& value) {
        // A missing attribute is reported at the tag's "<".
        const std::size_t index = value.Index == kNone ? 0 : value.Index;
        return static_cast<std::int64_t>(offset + index) + 1;
    };
    const AreaValue shape = ReadAreaValue(tag, "shape=");
    const AreaValue coords = ReadAreaValue(tag, "coords=");
    const std::size_t count = Split(coords.Text, ",").size();
    bool knownShape = false;
    const bool countValid = IsCoordsCountValid(ToUpper(shape.Text), count, knownShape);
    if (!knownShape)
        AddError(at(shape), shape.Text, ValidatorBadShape);
    if (!countValid)
        AddError(at(coords), coords.Text, ValidatorCoordsCount);
}

std::string HtmlValidator::ExtractErrorMessages() const
{
    std::string result;
    for (const ValidatorError& error : m_errors) {
        result += std::to_string(error.Position);
        result += '|';
        result += error.Text;
        result += '|';
        result += std::to_string(error.Code);
        result += "\r\n";
    }
    return result;
}

std::int64_t HtmlValidator::NextTagStart(std::string_view text, std::int64_t position) const
{
    const std::size_t from = ToIndex(position, text.size());
    const std::size_t eq = text.find('=', from);
    if (eq == kNone) {
        const std::size_t close = text.find('>', from);
        return close == kNone ? 0 : static_cast<std::int64_t>(close) + 1;
    }
    for (std::size_t i = eq; i > from; --i) {
        if (IsTagBlank(text[i - 1]))
            return static_cast<std::int64_t>(i);
    }
    for (std::size_t i = eq; i > from; --i) {
        if (text[i - 1] == '<')
            return static_cast<std::int64_t>(i);
    }
    return static_cast<std::int64_t>(from) + 1;
}

void HtmlValidator::ReturnParameter(std::string_view text, std::int64_t position)
{
    const std::size_t from = ToIndex(position, text.size());
    const std::size_t eq = text.find('=', from);
    if (eq == kNone) {
        m_lastName.clear();
        m_lastValue.clear();
        m_lastPosition = static_cast<std::int64_t>(text.size()) + 1;
        return;
    }
    const std::size_t nameStart = NameStart(text, from, eq);
    m_lastName = TrimBlanks(text.substr(nameStart, eq - nameStart));
    const ValueSpan span = ReadValue(text, eq);
    m_lastValue = std::string(text.substr(span.Start, span.End - span.Start));
    m_lastPosition = static_cast<std::int64_t>(span.End) + 1;
    if (span.Unclosed)
        AddError(static_cast<std::int64_t>(from) + 1, m_lastValue, ValidatorOpenQuote);
}

std::string HtmlValidator::ReplaceTag(
    std::string_view name, std::string_view value, std::string_view tag)
{
    if (name.empty())
        return std::string(tag);
    const std::string quoted = "=\"" + std::string(value) + "\"";
    const std::size_t found = FindNoCase(tag, name);
    if (found == kNone) {
        const std::size_t close = tag.find('>');
        std::string result(tag.substr(0, close));
        result += ' ';
        result += name;
        result += quoted;
        result += '>';
        return result;
    }

    ReturnParameter(tag, static_cast<std::int64_t>(found) + 1);
    // LastPosition is the 1-based position of the character behind the value, which is also
    // the 0-based end of the old text when that character is taken along.
    const auto follower = static_cast<std::size_t>(m_lastPosition - 1);
    const bool hasFollower = follower < tag.size();
    const std::size_t oldEnd = hasFollower ? follower + 1 : tag.size();
    const std::string_view oldText = tag.substr(found, oldEnd - found);

    std::string newText(tag.substr(found, name.size()));
    newText += quoted;
    if (oldText.back() == '>') {
        newText += '>';
    } else if (!hasFollower) {
        newText += ' ';
    } else if (IsTagBlank(tag[follower])) {
        // Keep the separator as written, so a tag laid out over several lines keeps its breaks.
        newText += tag[follower];
    } else {
        // A value glued to the next attribute: separate them instead of dropping a character.
        newText += ' ';
        newText += tag[follower];
    }
    return ReplaceAll(tag, oldText, newText);
}

} // namespace karvex
