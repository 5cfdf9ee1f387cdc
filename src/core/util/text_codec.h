#pragma once

// Turning the single-byte text of files into UTF-8 for display and back.

#include <string>
#include <string_view>

namespace karvex {

bool IsValidUtf8(std::string_view bytes);

// Windows-1252 bytes to UTF-8; the five unassigned bytes map to the C1 controls.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; characters the code page lacks become "?".
std::string Utf8ToWindows1252(std::string_view utf8);

// What widgets show: the bytes themselves when they are valid UTF-8, else their
// Windows-1252 reading.
std::string DecodeForDisplay(std::string_view bytes);

} // namespace karvex
