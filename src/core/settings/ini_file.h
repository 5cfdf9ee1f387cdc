#pragma once

// Reads and writes single keys of an INI text file the way the Windows profile-string
// functions do, so kvx.ini behaves the same on every platform.
//
// Format rules (all names compared without regard to ASCII case):
// - A section starts at a line whose first non-blank character is '[' and that holds a ']';
//   the name is the text between '[' and the last ']', blanks (spaces, tabs) trimmed.
// - Inside a section, a line "key=value" defines a key: the key is the text before the first
//   '=', the value the text after it, both with blanks trimmed. A value enclosed in a
//   matching pair of double or single quotes is read without them.
// - Lines starting with ';' (after blanks) are comments; lines without '=' and lines before
//   the first section are ignored. Only the first section of a name and the first key of a
//   name inside it count.
// - CR LF and LF-only files are read alike. Lines that a write adds end with CR LF.
//
// A write changes the value part of the key's own line and keeps the rest of that line (its
// indentation, the key's spelling, the blanks after '=' and the line end) and every other
// byte of the file. A new key goes right after the last non-empty line of its section, so
// the empty lines that separate sections stay after it; a new section goes at the end of
// the file.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace karvex {

// A read returns at most this many characters of a value (a 255-character buffer with its
// terminating character); longer values are cut.
inline constexpr std::size_t kProfileValueMaxLength = 254;

// The value of key in section of iniText (full length), or nothing when the section or key
// is not there.
std::optional<std::string> FindProfileValue(
    std::string_view iniText, std::string_view section, std::string_view key);

// iniText with key in section set to value. Nothing when a name cannot be stored: an empty
// section or key, a section holding ']', a key holding '=' or starting with '[' or ';', or
// any name or value holding a line break.
std::optional<std::string> SetProfileValue(std::string_view iniText, std::string_view section,
    std::string_view key, std::string_view value);

// Reads the file at path (a missing file reads as empty) and returns the key's value cut to
// maxLength characters, or defaultValue when the key is not there.
std::string ReadProfileString(const std::string& path, std::string_view section,
    std::string_view key, std::string_view defaultValue = {},
    std::size_t maxLength = kProfileValueMaxLength);

// The text a write of keys starts from: the file's bytes, or "" when there is no file yet.
// Nothing, with the reason, when a file is there but cannot be read whole, so that a write
// never replaces settings it could not see.
std::optional<std::string> ReadIniForUpdate(const std::string& path, std::string* reason = nullptr);

// Sets the key in the file at path, creating the file when it is missing. The file is
// replaced as a whole (temporary file and rename). False when a name or the value cannot be
// stored, the file cannot be read whole or it cannot be written.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
    std::string_view value);

} // namespace karvex
