#include "core/settings/recent_files.h"

#include "core/util/file_io.h"
#include "core/util/strings.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace karvex {

namespace {

// Stored in kvx.ini: do not rename.
constexpr std::string_view kSectionHeader = "[Recentfiles]";
constexpr std::string_view kEntryKey = "Recentfile";

struct Line
{
    std::string_view Text; // without its line end
    std::string_view Whole; // with it
};

// CR LF and LF-only files alike.
std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
        std::string_view whole = text.substr(start, end - start);
        std::string_view content = whole;
        if (!content.empty() && content.back() == '\n')
            content.remove_suffix(1);
        if (!content.empty() && content.back() == '\r')
            content.remove_suffix(1);
        lines.push_back({ content, whole });
        start = end;
    }
    return lines;
}

bool IsSectionHeader(std::string_view line)
{
    const std::string trimmed = Trim(line);
    return !trimmed.empty() && trimmed.front() == '[' && trimmed.find(']') != std::string::npos;
}

bool IsRecentFilesHeader(std::string_view line)
{
    return FindNoCase(line, kSectionHeader) != std::string::npos;
}

bool HasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
        [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F; });
}

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(path), error);
}

bool Contains(const std::vector<std::string>& entries, std::string_view path)
{
    return std::any_of(entries.begin(), entries.end(),
        [path](const std::string& entry) { return EqualsNoCase(entry, path); });
}

std::vector<std::string> Rewrite(
    const std::string& settingsPath, const std::vector<std::string>& entries)
{
    const std::string text = ApiReadFile(settingsPath);
    (void)WriteWholeFile(settingsPath, ReplaceRecentFilesSection(text, entries));
    return entries;
}

} // namespace

std::vector<std::string> ParseRecentFiles(std::string_view iniText)
{
    std::vector<std::string> entries;
    bool inSection = false;
    for (const Line& line : SplitLines(iniText)) {
        if (!inSection) {
            inSection = IsRecentFilesHeader(line.Text);
            continue;
        }
        if (line.Text.empty() || IsSectionHeader(line.Text))
            break;
        if (FindNoCase(line.Text, kEntryKey) == std::string::npos)
            continue;
        const std::size_t equals = line.Text.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view value = line.Text.substr(equals + 1);
        if (!value.empty() && !IsRecentFilesHeader(value))
            entries.emplace_back(value);
    }
    return entries;
}

std::vector<std::string> SensibleRecentFiles(const std::vector<std::string>& entries)
{
    std::vector<std::string> kept;
    for (const std::string& entry : entries) {
        if (kept.size() == kRecentFilesKept)
            break;
        if (Trim(entry).empty() || entry.size() > kRecentFileMaxLength || HasControlCharacter(entry)
            || Contains(kept, entry) || IsFolder(entry))
            continue;
        kept.push_back(entry);
    }
    return kept;
}

std::vector<std::string> WithRecentFile(
    const std::vector<std::string>& entries, const std::string& path)
{
    std::vector<std::string> result { path };
    for (const std::string& entry : entries) {
        if (result.size() == kRecentFilesKept)
            break;
        if (!EqualsNoCase(entry, path))
            result.push_back(entry);
    }
    return result;
}

std::vector<std::string> WithoutRecentFile(
    const std::vector<std::string>& entries, const std::string& path)
{
    std::vector<std::string> result;
    for (const std::string& entry : entries) {
        if (!EqualsNoCase(entry, path))
            result.push_back(entry);
    }
    return result;
}

std::string ReplaceRecentFilesSection(
    std::string_view iniText, const std::vector<std::string>& entries)
{
    std::string section = std::string(kSectionHeader) + "\r\n";
    for (std::size_t i = 0; i < entries.size(); ++i)
        section += std::string(kEntryKey) + std::to_string(i + 1) + "=" + entries[i] + "\r\n";

    std::string before;
    std::string after;
    enum class Part { Before, Section, After } part = Part::Before;
    for (const Line& line : SplitLines(iniText)) {
        if (part == Part::Before && IsRecentFilesHeader(line.Text)) {
            part = Part::Section;
            continue;
        }
        if (part == Part::Section && IsSectionHeader(line.Text))
            part = Part::After;
        if (part == Part::Before)
            before += line.Whole;
        else if (part == Part::After)
            after += line.Whole;
    }
    if (part == Part::Before) {
        // No section yet: the whole text is kept and the section follows it.
        if (!before.empty() && before.back() != '\n')
            before += "\r\n";
        return before + section;
    }
    // The empty line that parts the section from the next one.
    if (!after.empty())
        section += "\r\n";
    return before + section + after;
}

std::vector<std::string> LoadRecentFiles(const std::string& settingsPath)
{
    return SensibleRecentFiles(ParseRecentFiles(ApiReadFile(settingsPath)));
}

std::vector<std::string> AddRecentFile(const std::string& settingsPath, const std::string& path)
{
    return Rewrite(settingsPath, WithRecentFile(LoadRecentFiles(settingsPath), path));
}

std::vector<std::string> RemoveRecentFile(const std::string& settingsPath, const std::string& path)
{
    return Rewrite(settingsPath, WithoutRecentFile(LoadRecentFiles(settingsPath), path));
}

} // namespace karvex
