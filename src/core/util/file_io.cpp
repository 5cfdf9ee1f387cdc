#include "core/util/file_io.h"

#include "core/util/prompt.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <cstdio>
#include <fstream>
#include <random>
#else
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#endif

namespace karvex {

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotRegularFile = "Not a regular file";
constexpr const char* kReadOnlyFile = "The file is read-only";
constexpr const char* kNoMemory = "Not enough memory to read the file";

std::string SystemReason(int error) { return std::generic_category().message(error); }

std::string TooLargeReason(std::uint64_t limit)
{
    struct Unit
    {
        std::uint64_t Bytes;
        const char* Name;
    };
    constexpr Unit kUnits[]
        = { { 1ull << 30, "GiB" }, { 1ull << 20, "MiB" }, { 1ull << 10, "KiB" } };
    for (const auto& unit : kUnits) {
        if (limit >= unit.Bytes && limit % unit.Bytes == 0)
            return "The file is larger than " + std::to_string(limit / unit.Bytes) + " "
                + unit.Name;
    }
    return "The file is larger than " + std::to_string(limit) + " bytes";
}

// ReadWholeFile's result, and whether the failure came after the file was opened and sized
// (ApiReadFile reports only those).
struct ReadOutcome
{
    ReadResult Result;
    bool ReadFailed = false;
};

ReadOutcome Refused(std::string reason)
{
    ReadOutcome outcome;
    outcome.Result.Reason = std::move(reason);
    return outcome;
}

WriteResult WriteFailed(std::string reason) { return { false, std::move(reason) }; }

#ifndef _WIN32

using FileStat = struct stat;

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    // Closes now and reports the result: a failed close can mean the data never reached the disk.
    int Close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

ReadOutcome ReadRegularFile(const std::string& path, std::uint64_t limit)
{
    // O_NONBLOCK: opening a FIFO or a device must never wait; they are refused below.
    int fd;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Refused(SystemReason(errno));
    FileDescriptor file(fd);

    FileStat info {};
    if (::fstat(fd, &info) != 0)
        return Refused(SystemReason(errno));
    if (S_ISDIR(info.st_mode))
        return Refused(SystemReason(EISDIR));
    if (!S_ISREG(info.st_mode))
        return Refused(kNotRegularFile);
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > limit)
        return Refused(TooLargeReason(limit));

    ReadOutcome outcome;
    auto& bytes = outcome.Result.Bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size));
        std::size_t got = 0;
        char more[16384];
        for (;;) {
            // Past the size fstat gave (the file grew, or reports no size) read into a small
            // buffer, so the common case allocates exactly once.
            const bool inPlace = got < bytes.size();
            char* into = inPlace ? bytes.data() + got : more;
            const std::size_t room = inPlace ? bytes.size() - got : sizeof more;
            const ssize_t count = ::read(fd, into, room);
            if (count < 0) {
                if (errno == EINTR)
                    continue;
                const int error = errno;
                bytes.resize(got);
                outcome.ReadFailed = true;
                outcome.Result.Reason = SystemReason(error);
                return outcome;
            }
            if (count == 0)
                break;
            const auto n = static_cast<std::size_t>(count);
            if (got + n > limit) {
                bytes.clear();
                outcome.Result.Reason = TooLargeReason(limit);
                return outcome;
            }
            if (!inPlace)
                bytes.append(more, n);
            got += n;
        }
        bytes.resize(got);
    } catch (const std::bad_alloc&) {
        return Refused(kNoMemory);
    } catch (const std::length_error&) {
        return Refused(kNoMemory);
    }
    outcome.Result.Ok = true;
    return outcome;
}

struct Target
{
    std::string Path; // the file to replace, with every link followed
    bool Exists = false;
    FileStat Info {};
};

// Follows symbolic links from path to the file they finally name. A missing file at the end of
// the chain is a new file to create there.
std::optional<std::string> ResolveTarget(const std::string& path, Target& target)
{
    constexpr int kMaxLinks = 40;
    target.Path = path;
    for (int links = 0;; ++links) {
        if (::lstat(target.Path.c_str(), &target.Info) != 0) {
            if (errno != ENOENT)
                return SystemReason(errno);
            target.Exists = false;
            return std::nullopt;
        }
        target.Exists = true;
        if (!S_ISLNK(target.Info.st_mode))
            return std::nullopt;
        if (links == kMaxLinks)
            return SystemReason(ELOOP);
        std::vector<char> text(static_cast<std::size_t>(target.Info.st_size) + 256);
        ssize_t length;
        while ((length = ::readlink(target.Path.c_str(), text.data(), text.size()))
            == static_cast<ssize_t>(text.size()))
            text.resize(text.size() * 2); // the link changed since lstat, or reports no size
        if (length < 0)
            return SystemReason(errno);
        std::string next(text.data(), static_cast<std::size_t>(length));
        if (next.empty())
            return SystemReason(ENOENT);
        if (next.front() != '/') {
            const auto slash = target.Path.rfind('/');
            if (slash != std::string::npos)
                next.insert(0, target.Path, 0, slash + 1);
        }
        target.Path = std::move(next);
    }
}

// The process's umask, read without changing it where the system allows: setting it to read
// it races with other threads creating files.
mode_t CurrentUmask()
{
#ifdef __linux__
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
    }
#endif
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// The temporary file beside the target, removed again unless it was renamed over the target.
class TempFile
{
public:
    TempFile(std::string path, int fd)
        : m_path(std::move(path))
        , m_file(fd)
    {
    }
    ~TempFile()
    {
        if (!m_renamed)
            ::unlink(m_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return m_path; }
    FileDescriptor& File() { return m_file; }
    void Renamed() { m_renamed = true; }

private:
    std::string m_path;
    FileDescriptor m_file;
    bool m_renamed = false;
};

// Gives the new file the old one's owner, group and mode, or a new page's usual mode.
std::optional<std::string> CopyAttributes(int fd, const Target& target)
{
    if (target.Exists) {
        FileStat now {};
        if (::fstat(fd, &now) != 0)
            return SystemReason(errno);
        if (now.st_uid != target.Info.st_uid || now.st_gid != target.Info.st_gid) {
            // Only root may give a file away; a user may still keep the old group.
            if (::fchown(fd, target.Info.st_uid, target.Info.st_gid) != 0) {
                if (errno != EPERM)
                    return SystemReason(errno);
                [[maybe_unused]] const int ignored
                    = ::fchown(fd, static_cast<uid_t>(-1), target.Info.st_gid);
            }
        }
    }
    const mode_t mode = target.Exists ? target.Info.st_mode & 07777 : 0666 & ~CurrentUmask();
    // EPERM: file systems without Unix modes (FAT) refuse modes they cannot store.
    if (::fchmod(fd, mode) != 0 && errno != EPERM)
        return SystemReason(errno);
    return std::nullopt;
}

std::optional<std::string> WriteAll(int fd, const std::string& bytes)
{
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t count = ::write(fd, data, left);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return SystemReason(errno);
        }
        if (count == 0)
            return SystemReason(EIO);
        data += count;
        left -= static_cast<std::size_t>(count);
    }
    int result;
    do
        result = ::fsync(fd);
    while (result != 0 && errno == EINTR);
    if (result != 0)
        return SystemReason(errno);
    return std::nullopt;
}

std::string FolderReadOnly(const std::string& folder)
{
    std::string shown = folder;
    if (folder == ".") {
        std::error_code ec;
        const auto current = fs::current_path(ec);
        if (!ec)
            shown = current.string();
    }
    return "The folder " + shown + " is read-only";
}

#endif // !_WIN32

} // namespace

#ifndef _WIN32

ReadResult ReadWholeFile(const std::string& path, std::uint64_t limit)
{
    return ReadRegularFile(path, limit).Result;
}

std::string ApiReadFile(const std::string& path, Prompt* prompt)
{
    auto outcome = ReadRegularFile(path, kMaxFileBytes);
    if (outcome.Result.Ok)
        return std::move(outcome.Result.Bytes);
    if (!outcome.ReadFailed)
        return {};
    if (prompt)
        prompt->Tell("Error reading file ...", "");
    return std::move(outcome.Result.Bytes);
}

WriteResult WriteWholeFile(const std::string& path, const std::string& bytes)
{
    if (path.empty())
        return WriteFailed(SystemReason(ENOENT));
    Target target;
    if (auto reason = ResolveTarget(path, target))
        return WriteFailed(*reason);
    if (target.Exists) {
        if (S_ISDIR(target.Info.st_mode))
            return WriteFailed(SystemReason(EISDIR));
        if (!S_ISREG(target.Info.st_mode))
            return WriteFailed(kNotRegularFile);
        // The write bits count even for root, whom access() always lets write.
        if ((target.Info.st_mode & 0222) == 0)
            return WriteFailed(kReadOnlyFile);
        if (::access(target.Path.c_str(), W_OK) != 0)
            return WriteFailed(errno == EACCES ? kReadOnlyFile : SystemReason(errno));
    }

    const auto slash = target.Path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
        : slash == 0                                      ? "/"
                                                          : target.Path.substr(0, slash);
    const std::string name
        = slash == std::string::npos ? target.Path : target.Path.substr(slash + 1);
    if (name.empty())
        return WriteFailed(SystemReason(EISDIR));
    FileStat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0)
        return WriteFailed(SystemReason(errno));
    if (!S_ISDIR(folderInfo.st_mode))
        return WriteFailed(SystemReason(ENOTDIR));
    if ((folderInfo.st_mode & 0222) == 0)
        return WriteFailed(FolderReadOnly(folder));
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return WriteFailed(errno == EACCES ? FolderReadOnly(folder) : SystemReason(errno));

    // A hidden, unique name: mkstemp creates it with O_EXCL, so it never follows a planted link
    // or reuses a file the user owns. The name is cut so it stays within a file name's limit.
    std::string pattern = folder + "/." + name.substr(0, 200) + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return WriteFailed(errno == EACCES ? FolderReadOnly(folder) : SystemReason(errno));
    TempFile temp(pattern, fd);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);

    if (auto reason = CopyAttributes(fd, target))
        return WriteFailed(*reason);
    if (auto reason = WriteAll(fd, bytes))
        return WriteFailed(*reason);
    if (temp.File().Close() != 0 && errno != EINTR)
        return WriteFailed(SystemReason(errno));
    if (::rename(temp.Path().c_str(), target.Path.c_str()) != 0)
        return WriteFailed(SystemReason(errno));
    temp.Renamed();

    // Make the rename itself durable where the folder lets us; the bytes are in place either way.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        FileDescriptor folderFile(folderFd);
        int result;
        do
            result = ::fsync(folderFd);
        while (result != 0 && errno == EINTR);
    }
    return { true, {} };
}

#else // _WIN32: a plain fallback so the core builds; POSIX systems take the path above.

namespace {

ReadOutcome ReadRegularFile(const std::string& path, std::uint64_t limit)
{
    std::error_code ec;
    const fs::path file(path);
    const auto status = fs::status(file, ec);
    if (ec)
        return Refused(ec.message());
    if (fs::is_directory(status))
        return Refused(SystemReason(EISDIR));
    if (!fs::is_regular_file(status))
        return Refused(kNotRegularFile);
    const auto size = fs::file_size(file, ec);
    if (ec)
        return Refused(ec.message());
    if (size > limit)
        return Refused(TooLargeReason(limit));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Refused(SystemReason(EACCES));
    ReadOutcome outcome;
    try {
        outcome.Result.Bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::exception&) {
        return Refused(kNoMemory);
    }
    in.read(outcome.Result.Bytes.data(), static_cast<std::streamsize>(size));
    outcome.Result.Bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        outcome.ReadFailed = true;
        outcome.Result.Reason = SystemReason(EIO);
        return outcome;
    }
    outcome.Result.Ok = true;
    return outcome;
}

} // namespace

ReadResult ReadWholeFile(const std::string& path, std::uint64_t limit)
{
    return ReadRegularFile(path, limit).Result;
}

std::string ApiReadFile(const std::string& path, Prompt* prompt)
{
    auto outcome = ReadRegularFile(path, kMaxFileBytes);
    if (!outcome.Result.Ok && outcome.ReadFailed && prompt)
        prompt->Tell("Error reading file ...", "");
    return std::move(outcome.Result.Bytes);
}

WriteResult WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        target = fs::weakly_canonical(target, ec);
        if (ec)
            return WriteFailed(ec.message());
    }
    const auto status = fs::status(target, ec);
    if (fs::exists(status)) {
        if (fs::is_directory(status))
            return WriteFailed(SystemReason(EISDIR));
        if (!fs::is_regular_file(status))
            return WriteFailed(kNotRegularFile);
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
            return WriteFailed(kReadOnlyFile);
    }
    // "x": created afresh, never an existing file.
    std::random_device random;
    fs::path temp;
    std::FILE* out = nullptr;
    for (int attempt = 0; !out && attempt < 100; ++attempt) {
        temp = target;
        temp += "." + std::to_string(random()) + ".tmp";
        out = std::fopen(temp.string().c_str(), "wbx");
    }
    if (!out)
        return WriteFailed(SystemReason(errno));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    const int error = errno;
    if (std::fclose(out) != 0 || !written) {
        fs::remove(temp, ec);
        return WriteFailed(SystemReason(written ? errno : error));
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return WriteFailed(ec.message());
    }
    return { true, {} };
}

#endif

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::path(path), ec);
}

} // namespace karvex
