#include "core/settings/ini_file.h"

#include "core/util/file_io.h"
#include "core/util/strings.h"

#include <filesystem>
#include <vector>

namespace karvex {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The profile functions skip every kind of white space except the line feed itself.
bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\v' || ch == '\f'; }

std::string_view TrimBlanks(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

enum class LineKind { Blank, Section, Key, Other };

// One line of the text as offsets: [Start, ContentEnd) is the content, [ContentEnd, End) the
// line end ("\r\n", "\n" or nothing on a last line without one).
struct ProfileLine
{
    std::size_t Start = 0;
    std::size_t ContentEnd = 0;
    std::size_t End = 0;
    bool HasLineBreak = false;
    LineKind Kind = LineKind::Other;
    std::string_view Name; // section or key name, blanks trimmed
    std::size_t ValueStart = 0; // key lines: first byte after '=' and its blanks
    std::string_view Value; // key lines: value with blanks trimmed
};

void Classify(std::string_view text, ProfileLine& line)
{
    const std::string_view content = text.substr(line.Start, line.ContentEnd - line.Start);
    std::size_t p = 0;
    while (p < content.size() && IsBlank(content[p]))
        ++p;
    if (p == content.size()) {
        line.Kind = LineKind::Blank;
        return;
    }
    if (content[p] == ';') {
        line.Kind = LineKind::Other;
        return;
    }
    if (content[p] == '[') {
        const auto close = content.rfind(']');
        if (close == std::string_view::npos || close <= p) {
            line.Kind = LineKind::Other;
            return;
        }
        line.Kind = LineKind::Section;
        line.Name = TrimBlanks(content.substr(p + 1, close - p - 1));
        return;
    }
    const auto equals = content.find('=', p);
    if (equals == std::string_view::npos) {
        line.Kind = LineKind::Other;
        return;
    }
    line.Name = TrimBlanks(content.substr(p, equals - p));
    if (line.Name.empty()) {
        line.Kind = LineKind::Other;
        return;
    }
    std::size_t valueStart = equals + 1;
    while (valueStart < content.size() && IsBlank(content[valueStart]))
        ++valueStart;
    line.Kind = LineKind::Key;
    line.ValueStart = line.Start + valueStart;
    line.Value = TrimBlanks(content.substr(valueStart));
}

std::vector<ProfileLine> SplitLines(std::string_view text)
{
    std::vector<ProfileLine> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        ProfileLine line;
        line.Start = pos;
        const auto feed = text.find('\n', pos);
        if (feed == std::string_view::npos) {
            line.ContentEnd = text.size();
            line.End = text.size();
        } else {
            line.HasLineBreak = true;
            line.ContentEnd = feed;
            line.End = feed + 1;
            if (line.ContentEnd > line.Start && text[line.ContentEnd - 1] == '\r')
                --line.ContentEnd;
        }
        Classify(text, line);
        lines.push_back(line);
        pos = line.End;
    }
    return lines;
}

// Where a section and a key sit among the lines; npos for what is not there.
struct ProfileLocation
{
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t Section = kNone;
    std::size_t Key = kNone;
    std::size_t LastFilled = kNone; // last non-empty line of the section
};

ProfileLocation Locate(
    const std::vector<ProfileLine>& lines, std::string_view section, std::string_view key)
{
    ProfileLocation found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ProfileLine& line = lines[i];
        if (found.Section == ProfileLocation::kNone) {
            if (line.Kind == LineKind::Section && EqualsNoCase(line.Name, section)) {
                found.Section = i;
                found.LastFilled = i;
            }
            continue;
        }
        if (line.Kind == LineKind::Section)
            break;
        if (line.Kind != LineKind::Blank)
            found.LastFilled = i;
        if (found.Key == ProfileLocation::kNone && line.Kind == LineKind::Key
            && EqualsNoCase(line.Name, key))
            found.Key = i;
    }
    return found;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::optional<std::string> FindProfileValue(
    std::string_view iniText, std::string_view section, std::string_view key)
{
    const auto lines = SplitLines(iniText);
    const auto found = Locate(lines, TrimBlanks(section), TrimBlanks(key));
    if (found.Key == ProfileLocation::kNone)
        return std::nullopt;
    return std::string(Unquote(lines[found.Key].Value));
}

std::optional<std::string> SetProfileValue(std::string_view iniText, std::string_view section,
    std::string_view key, std::string_view value)
{
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key)
        || HasLineBreak(value) || section.find(']') != std::string_view::npos
        || key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';')
        return std::nullopt;

    const auto lines = SplitLines(iniText);
    const auto found = Locate(lines, section, key);
    std::string result;
    result.reserve(iniText.size() + section.size() + key.size() + value.size() + 8);

    if (found.Key != ProfileLocation::kNone) {
        const ProfileLine& line = lines[found.Key];
        result.append(iniText.substr(0, line.ValueStart));
        result.append(value);
        result.append(iniText.substr(line.ContentEnd));
        return result;
    }

    if (found.Section != ProfileLocation::kNone) {
        const ProfileLine& last = lines[found.LastFilled];
        result.append(iniText.substr(0, last.End));
        if (!last.HasLineBreak)
            result.append(kLineEnd);
        result.append(key).append("=").append(value).append(kLineEnd);
        result.append(iniText.substr(last.End));
        return result;
    }

    result.append(iniText);
    if (!result.empty() && result.back() != '\n')
        result.append(kLineEnd);
    result.append("[").append(section).append("]").append(kLineEnd);
    result.append(key).append("=").append(value).append(kLineEnd);
    return result;
}

std::string ReadProfileString(const std::string& path, std::string_view section,
    std::string_view key, std::string_view defaultValue, std::size_t maxLength)
{
    const auto value = FindProfileValue(ApiReadFile(path), section, key);
    if (!value)
        return std::string(defaultValue);
    return value->substr(0, maxLength);
}

std::optional<std::string> ReadIniForUpdate(const std::string& path, std::string* reason)
{
    ReadResult read = ReadWholeFile(path);
    if (read.Ok)
        return std::move(read.Bytes);
    std::error_code ec;
    if (std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found)
        return std::string();
    if (reason)
        *reason = read.Reason;
    return std::nullopt;
}

bool WriteProfileString(
    const std::string& path, std::string_view section, std::string_view key, std::string_view value)
{
    const auto old = ReadIniForUpdate(path);
    const auto text = old ? SetProfileValue(*old, section, key, value) : std::nullopt;
    return text && WriteWholeFile(path, *text);
}

} // namespace karvex
