#include "core/formats/map_line.h"

#include "core/util/numbers.h"
#include "core/util/strings.h"

#include <cmath>
#include <cstddef>

namespace karvex {

namespace {

constexpr auto kNone = std::string_view::npos;
// What parts the words of a map line: servers take a CR inside a line, or a form feed, as a blank.
constexpr std::string_view kBlanks = " \t\r\v\f";

bool IsBlank(char ch) { return kBlanks.find(ch) != kNone; }

std::size_t SkipBlanks(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

std::size_t WordEnd(std::string_view text, std::size_t at)
{
    while (at < text.size() && !IsBlank(text[at]))
        ++at;
    return at;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// A character of the coordinates of either dialect: numbers, the commas and blanks between
// them and CERN's brackets around each pair.
bool IsCoordinateChar(char ch)
{
    return IsDigit(ch) || ch == ',' || ch == '(' || ch == ')' || ch == '.' || ch == '-'
        || ch == '+';
}

bool IsCoordinateWord(std::string_view word)
{
    for (const char ch : word) {
        if (!IsCoordinateChar(ch))
            return false;
    }
    return true;
}

enum class Keyword { None, Base, Default, Rect, Circle, Poly, Point };

Keyword KeywordOf(std::string_view word)
{
    const std::string lower = ToLower(word);
    const auto startsWith = [&lower](std::string_view start) { return lower.starts_with(start); };
    if (startsWith("base")) // Apache's "base" and "base_uri"
        return Keyword::Base;
    if (lower.size() >= 3 && std::string_view("default").starts_with(lower)) // CERN: "def"
        return Keyword::Default;
    if (lower == "point")
        return Keyword::Point;
    if (startsWith("rect"))
        return Keyword::Rect;
    if (startsWith("circ"))
        return Keyword::Circle;
    if (startsWith("poly"))
        return Keyword::Poly;
    return Keyword::None;
}

// The part of an entry a server reads: quoted menu text is blanked out (an unclosed quote runs
// to the end of the line), and a '#' after a blank starts a comment that runs to the end of the
// line ('#' inside a link is its fragment). Positions stay where they were.
std::string ReadablePart(std::string_view text)
{
    std::string readable;
    readable.reserve(text.size());
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '"') {
            quoted = !quoted;
            readable += ' ';
        } else if (quoted) {
            readable += ' ';
        } else if (ch == '#' && (i == 0 || IsBlank(text[i - 1]))) {
            break;
        } else {
            readable += ch;
        }
    }
    return readable;
}

// A coordinate as written: an optional sign, digits with an optional decimal point (Apache
// reads decimals). Rounded to whole pixels within the coordinate limit; nothing for any other
// text.
std::optional<std::int32_t> CoordinateValue(std::string_view token)
{
    std::size_t at = 0;
    const bool negative = !token.empty() && token[0] == '-';
    if (!token.empty() && (token[0] == '-' || token[0] == '+'))
        ++at;
    double value = 0;
    bool digits = false;
    for (; at < token.size() && IsDigit(token[at]); ++at) {
        digits = true;
        // Past the limit the exact value no longer matters: it is clamped.
        if (value <= kCoordinateLimit)
            value = value * 10 + (token[at] - '0');
    }
    if (at < token.size() && token[at] == '.') {
        ++at;
        if (at < token.size() && IsDigit(token[at])) {
            digits = true;
            value += (token[at] - '0') / 10.0;
        }
        while (at < token.size() && IsDigit(token[at]))
            ++at;
    }
    if (!digits || at != token.size())
        return std::nullopt;
    value = std::min(std::round(value), static_cast<double>(kCoordinateLimit));
    const auto whole = static_cast<std::int32_t>(value);
    return negative ? -whole : whole;
}

struct Coordinates
{
    std::vector<std::int32_t> Values;
    std::size_t End = 0; // where the coordinate words end
    bool Ok = true; // false when a word among them holds something that is no number
};

// The coordinate words at the start of text, up to the first word of other characters.
Coordinates ReadCoordinates(std::string_view text)
{
    Coordinates read;
    std::size_t at = SkipBlanks(text, 0);
    while (at < text.size()) {
        const std::size_t end = WordEnd(text, at);
        const std::string_view word = text.substr(at, end - at);
        if (!IsCoordinateWord(word))
            break;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= word.size(); ++i) {
            if (i < word.size() && word[i] != ',' && word[i] != '(' && word[i] != ')')
                continue;
            if (i > start) {
                const std::optional<std::int32_t> value
                    = CoordinateValue(word.substr(start, i - start));
                if (!value)
                    read.Ok = false;
                else
                    read.Values.push_back(*value);
            }
            start = i + 1;
        }
        read.End = end;
        at = SkipBlanks(text, end);
    }
    return read;
}

// The distance between two points, rounded, as a radius within the coordinate limit.
std::int32_t Distance(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    const double length = std::hypot(static_cast<double>(x2) - x1, static_cast<double>(y2) - y1);
    return static_cast<std::int32_t>(
        std::min(std::round(length), static_cast<double>(kCoordinateLimit)));
}

// The COORDS of a shape from the numbers a server reads for it, as servers use them: the first
// two corners of a rectangle, a circle's centre and radius or centre and edge point, every
// whole point of a polygon (three at least); nothing when they do not make the shape.
std::optional<std::vector<std::int32_t>> ShapeCoords(
    Keyword keyword, const std::vector<std::int32_t>& n)
{
    switch (keyword) {
    case Keyword::Rect:
        if (n.size() >= 4)
            return std::vector<std::int32_t> { n[0], n[1], n[2], n[3] };
        break;
    case Keyword::Circle:
        if (n.size() == 3 && n[2] >= 0)
            return n;
        if (n.size() >= 4)
            return std::vector<std::int32_t> { n[0], n[1], Distance(n[0], n[1], n[2], n[3]) };
        break;
    case Keyword::Poly:
        if (n.size() >= 6)
            return std::vector<std::int32_t>(
                n.begin(), n.begin() + static_cast<std::ptrdiff_t>(n.size() / 2 * 2));
        break;
    case Keyword::Point:
        if (n.size() >= 2)
            return std::vector<std::int32_t> { n[0], n[1], kPointRadius };
        break;
    default:
        break;
    }
    return std::nullopt;
}

const char* ShapeName(Keyword keyword)
{
    switch (keyword) {
    case Keyword::Rect:
        return "RECT";
    case Keyword::Poly:
        return "POLY";
    default:
        return "CIRCLE";
    }
}

} // namespace

MapLine ReadMapLine(std::string_view line)
{
    MapLine result;
    const std::size_t start = SkipBlanks(line, 0);
    if (start == line.size() || line[start] == '#')
        return result;
    const std::size_t keywordEnd = WordEnd(line, start);
    const Keyword keyword = KeywordOf(line.substr(start, keywordEnd - start));
    if (keyword == Keyword::Base)
        return result;
    result.Kind = MapLineKind::Unreadable;
    if (keyword == Keyword::None)
        return result;

    const std::string_view rest = line.substr(keywordEnd);
    std::size_t at = SkipBlanks(rest, 0);
    // Menu text before the link, which no server reads but people write.
    if (at < rest.size() && rest[at] == '"') {
        const std::size_t close = rest.find('"', at + 1);
        at = SkipBlanks(rest, close == kNone ? rest.size() : close + 1);
    }
    const std::size_t wordEnd = WordEnd(rest, at);
    const std::string_view word = rest.substr(at, wordEnd - at);
    if (keyword == Keyword::Default) {
        if (word.empty())
            return result;
        result.Kind = MapLineKind::Area;
        result.Shape = "default";
        result.Link = std::string(word);
        return result;
    }

    // CERN's coordinates come first, in brackets; a word of numbers and commas in the link's
    // place is taken for coordinates too (Karvex wrote an area without a link that way).
    const bool coordinatesFirst = word.starts_with('(')
        || (IsCoordinateWord(word) && word.find(',') != kNone
            && word.find_first_of("0123456789") != kNone);
    Coordinates read;
    if (coordinatesFirst) {
        const std::string readable = ReadablePart(rest.substr(at));
        read = ReadCoordinates(readable);
        const std::size_t linkStart = SkipBlanks(readable, read.End);
        if (linkStart < readable.size())
            result.Link = readable.substr(linkStart, WordEnd(readable, linkStart) - linkStart);
        result.Cern = word.starts_with('(');
    } else {
        if (word.empty())
            return result;
        result.Link = std::string(word);
        read = ReadCoordinates(ReadablePart(rest.substr(wordEnd)));
    }
    if (!read.Ok)
        return result;
    std::optional<std::vector<std::int32_t>> coords = ShapeCoords(keyword, read.Values);
    if (!coords)
        return result;
    result.Kind = MapLineKind::Area;
    result.Shape = ShapeName(keyword);
    result.Coords = std::move(*coords);
    return result;
}

} // namespace karvex
