#pragma once

// Turning the single-byte text of files into UTF-8 for display and back.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace karvex {

bool IsValidUtf8(std::string_view bytes);

// Reads the UTF-8 sequence at bytes[i] into codePoint; returns its length, 0 when it is malformed.
std::size_t DecodeUtf8At(std::string_view bytes, std::size_t i, char32_t& codePoint);

// The Windows-1252 byte of a code point; nothing when the code page lacks it.
std::optional<char> Windows1252Byte(char32_t codePoint);

// Windows-1252 bytes to UTF-8; the five unassigned bytes map to the C1 controls.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; characters the code page lacks become "?".
std::string Utf8ToWindows1252(std::string_view utf8);

// What widgets show: the bytes themselves when they are valid UTF-8, else their
// Windows-1252 reading.
std::string DecodeForDisplay(std::string_view bytes);

// A page stored as UTF-16: its byte order, whether it starts with a byte-order mark, and its
// text as UTF-8.
struct Utf16Page
{
    bool BigEndian = false;
    bool ByteOrderMark = false;
    std::string Utf8;
};

// The page's text when bytes are UTF-16: a byte-order mark, or a "<" (after blanks) written as
// two bytes. Nothing for any other bytes, and for UTF-16 that would not come back byte for byte
// from its UTF-8 (a broken surrogate pair, an odd length).
std::optional<Utf16Page> DecodeUtf16Page(std::string_view bytes);

// UTF-8 text written as UTF-16 in the page's byte order, with its byte-order mark if it had one.
std::string EncodeUtf16Page(std::string_view utf8, bool bigEndian, bool byteOrderMark);

} // namespace karvex
