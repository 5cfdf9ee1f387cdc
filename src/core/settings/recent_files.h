#pragma once

// The list of recently opened and saved files, kept newest first in its own section of
// kvx.ini ("[Recentfiles]", "Recentfile1=path", ...). The section is read and rewritten as
// plain lines, not through the key-by-key INI routines, so it always holds exactly the list.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace karvex {

// How many paths the section keeps, and how many the Recent Files menu shows.
inline constexpr std::size_t kRecentFilesKept = 20;
inline constexpr std::size_t kRecentFilesShown = 10;
// A longer entry is no path the system could open; it is left out.
inline constexpr std::size_t kRecentFileMaxLength = 4096;

// The entries of the section in iniText, in file order: the section starts at a line holding
// "[Recentfiles]" (any case) and ends at an empty line or the next section header; every line
// in it holding "Recentfile" gives the text after its first "=" unless that is empty.
std::vector<std::string> ParseRecentFiles(std::string_view iniText);

// The entries worth showing: without duplicates (letter case ignored, the first one kept),
// overlong entries, entries with line breaks or other control characters, and entries naming
// an existing folder; at most kRecentFilesKept of them.
std::vector<std::string> SensibleRecentFiles(const std::vector<std::string>& entries);

// path first, then the entries other than path (letter case ignored), at most kRecentFilesKept.
std::vector<std::string> WithRecentFile(
    const std::vector<std::string>& entries, const std::string& path);
// The entries other than path (letter case ignored).
std::vector<std::string> WithoutRecentFile(
    const std::vector<std::string>& entries, const std::string& path);

// iniText with its recent-files section replaced by one holding entries, numbered from 1,
// every line ended by CR LF. The lines before the old section and from the next section on
// are kept as they were; a text without the section gets it at its end.
std::string ReplaceRecentFilesSection(
    std::string_view iniText, const std::vector<std::string>& entries);

// The settings file's sensible entries (none when it cannot be read).
std::vector<std::string> LoadRecentFiles(const std::string& settingsPath);

// Puts path at the top of the settings file's list, or takes it out, rewriting only that
// section, and returns the new list. The list is returned even when the file could not be
// written, so the menu still follows for this session.
std::vector<std::string> AddRecentFile(const std::string& settingsPath, const std::string& path);
std::vector<std::string> RemoveRecentFile(const std::string& settingsPath, const std::string& path);

} // namespace karvex
