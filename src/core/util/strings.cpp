#include "core/util/strings.h"

#include <algorithm>
#include <limits>

namespace karvex {

namespace {

char UpperChar(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

char LowerChar(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

} // namespace

std::string ToUpper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), UpperChar);
    return result;
}

std::string ToLower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), LowerChar);
    return result;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return UpperChar(x) == UpperChar(y);
    });
}

std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from)
{
    if (from > haystack.size())
        return std::string_view::npos;
    auto it = std::search(haystack.begin() + static_cast<std::ptrdiff_t>(from), haystack.end(),
        needle.begin(), needle.end(), [](char x, char y) { return UpperChar(x) == UpperChar(y); });
    if (it == haystack.end() && !needle.empty())
        return std::string_view::npos;
    return static_cast<std::size_t>(it - haystack.begin());
}

std::string Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> Split(std::string_view text, std::string_view separator)
{
    std::vector<std::string> parts;
    if (separator.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t start = 0;
    while (true) {
        const auto pos = text.find(separator, start);
        if (pos == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator)
{
    std::string result;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            result += separator;
        result += parts[i];
    }
    return result;
}

std::string ReplaceAll(
    std::string_view text, std::string_view from, std::string_view to, bool ignoreCase)
{
    if (from.empty())
        return std::string(text);
    std::string result;
    std::size_t start = 0;
    while (true) {
        const auto pos = ignoreCase ? FindNoCase(text, from, start) : text.find(from, start);
        if (pos == std::string_view::npos)
            break;
        // Room for one replacement at once: the texts replaced can be megabytes, and growing
        // the result step by step copies it again and again.
        if (start == 0)
            result.reserve(text.size() - from.size() + to.size());
        result.append(text.substr(start, pos - start));
        result.append(to);
        start = pos + from.size();
    }
    result.append(text.substr(start));
    return result;
}

std::string RemoveAll(std::string_view text, char ch)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c != ch)
            result.push_back(c);
    }
    return result;
}

std::int64_t ParseLeadingInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr auto kLimit = std::numeric_limits<std::int64_t>::max() / 10 - 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < kLimit)
            value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

int HexDigitValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    return -1;
}

bool IsWholeNumber(std::string_view text)
{
    const std::string trimmed = Trim(text);
    std::size_t i = 0;
    if (!trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+'))
        i = 1;
    if (i >= trimmed.size())
        return false;
    return std::all_of(trimmed.begin() + static_cast<std::ptrdiff_t>(i), trimmed.end(),
        [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view LineEndOf(std::string_view text, std::string_view fallback)
{
    const std::size_t lf = text.find('\n');
    if (lf == std::string_view::npos)
        return fallback;
    return lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

} // namespace karvex
