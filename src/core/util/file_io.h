#pragma once

// Whole-file reading and writing, and the existence test, used by every reader and writer.
//
// Every Reason below is one sentence fragment for the user, without a trailing period, that
// callers put after their own sentence ("Reason : " + Reason). Where the system has a reason
// for the failure it is the system's own wording ("No such file or directory", "Permission
// denied", "No space left on device"); the other reasons are written in the same style:
// "Not a regular file", "The file is larger than 1 GiB", "The file is read-only",
// "The folder /some/folder is read-only", "Not enough memory to read the file".

#include <cstdint>
#include <string>

namespace karvex {

class Prompt;

// The most bytes any reader loads from one file.
inline constexpr std::uint64_t kMaxFileBytes = 1ull << 30;

struct ReadResult
{
    bool Ok = false;
    std::string Bytes; // the whole file when Ok; an empty file is Ok with no bytes
    std::string Reason; // why it failed, when not Ok
};

// Reads a regular file whole. Never blocks on a FIFO or device (they are refused), refuses a
// file larger than limit before allocating anything, and never throws.
[[nodiscard]] ReadResult ReadWholeFile(
    const std::string& path, std::uint64_t limit = kMaxFileBytes);

// The whole file as bytes. A missing, unreadable, empty or too large file, or one that is not
// a regular file, gives "" without a message; a read that fails part way says
// "Error reading file ..." and passes on what was read.
std::string ApiReadFile(const std::string& path, Prompt* prompt = nullptr);

// True when path names an existing regular file.
bool FileExists(const std::string& path);

struct WriteResult
{
    bool Ok = false;
    std::string Reason; // why it failed, when not Ok

    explicit operator bool() const { return Ok; }
};

// Replaces the file's bytes without ever leaving it half written: the bytes go to a new
// temporary file in the same folder, which is synced and renamed over the target.
// - A symbolic link (or a chain of them) is followed and the file it names is written, so the
//   link stays a link; a link to a missing file creates that file.
// - An existing target must be a regular file the user may write and that has a write bit
//   (so a read-only page is refused even for root); it keeps its mode and, where the user may
//   set them, its owner and group. A new file gets 0666 less the umask.
// - The folder must be writable (and have a write bit); the file is never written in place.
// A failure leaves no temporary file, and the target as it was. Once the rename has put the new
// bytes in place the write counts as done: syncing the folder afterwards is only tried, since a
// save reported as failed while its bytes are on disk would mislead the caller.
WriteResult WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace karvex
