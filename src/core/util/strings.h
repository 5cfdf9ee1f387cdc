#pragma once

// Byte-string helpers shared by the core. Text is kept as bytes; casing is ASCII-only.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace karvex {

std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Position of the first case-blind occurrence of needle at or after from, or npos.
std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from = 0);

// Removes blanks (spaces only) at both ends, as the classic Trim does.
std::string Trim(std::string_view text);

std::vector<std::string> Split(std::string_view text, std::string_view separator);
std::string Join(const std::vector<std::string>& parts, std::string_view separator);
// Every occurrence of from replaced by to, left to right; ignoreCase compares ASCII letters
// without case.
std::string ReplaceAll(
    std::string_view text, std::string_view from, std::string_view to, bool ignoreCase = false);
std::string RemoveAll(std::string_view text, char ch);

// The line end a text uses, judged by its first line break: "\n" or "\r\n"; fallback when it
// has none.
std::string_view LineEndOf(std::string_view text, std::string_view fallback = "\r\n");

// Reads a leading decimal number as Val does: optional blanks and sign, then digits;
// anything else ends the number. No digits gives 0. Saturates instead of overflowing.
std::int64_t ParseLeadingInt(std::string_view text);

// The value of one hexadecimal digit in either letter case, -1 for any other character.
int HexDigitValue(char ch);

// True when text is an optional sign followed by at least one digit and nothing else
// (blanks at both ends allowed).
bool IsWholeNumber(std::string_view text);

} // namespace karvex
