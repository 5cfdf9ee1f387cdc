#pragma once

// Whole-file reading and writing, and the existence test, used by every reader and writer.

#include <string>

namespace karvex {

class Prompt;

// The whole file as bytes. A missing, unreadable or empty file gives "" without a message;
// a read that comes up short says "Error reading file ..." and passes on what was read.
std::string ApiReadFile(const std::string& path, Prompt* prompt = nullptr);

// True when path names an existing regular file.
bool FileExists(const std::string& path);

// Writes bytes to a temporary file beside path and renames it over path, so a failed
// write never leaves the target half written. False when any step fails.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace karvex
