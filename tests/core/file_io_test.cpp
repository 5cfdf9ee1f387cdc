#include "core/util/file_io.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/mount.h>
#endif

namespace karvex {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using FileStat = struct stat;

std::set<std::string> Names(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

mode_t Mode(const std::string& path)
{
    FileStat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::string Bytes(const std::string& path) { return ReadWholeFile(path).Bytes; }

TEST(FileIoWrite, FollowsLinksKeepsModeAndOwnerAndTouchesNoOtherFile)
{
    TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.File("real.html"), "old"));
    ::chmod(dir.File("real.html").c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(dir.File("real.html").c_str(), 1234, 1234), 0);
    }
    fs::create_symlink("real.html", dir.File("page.html"));
    fs::create_symlink(dir.File("page.html"), dir.File("chain.html"));
    // Files the old writer clobbered: a planted link to a victim, and a user's own file.
    ASSERT_TRUE(WriteWholeFile(dir.File("victim"), "victim"));
    fs::create_symlink("victim", dir.File("chain.html.kvxtmp"));
    ASSERT_TRUE(WriteWholeFile(dir.File("real.html.kvxtmp"), "mine"));
    const auto before = Names(dir.Path());

    const auto written = WriteWholeFile(dir.File("chain.html"), "new");
    ASSERT_TRUE(written.Ok) << written.Reason;
    EXPECT_EQ(Bytes(dir.File("real.html")), "new");
    EXPECT_TRUE(fs::is_symlink(dir.File("page.html")));
    EXPECT_TRUE(fs::is_symlink(dir.File("chain.html")));
    EXPECT_EQ(Mode(dir.File("real.html")), 0640u);
    if (root) {
        FileStat info {};
        ::stat(dir.File("real.html").c_str(), &info);
        EXPECT_EQ(info.st_uid, 1234u);
        EXPECT_EQ(info.st_gid, 1234u);
    }
    EXPECT_EQ(Bytes(dir.File("victim")), "victim");
    EXPECT_EQ(Bytes(dir.File("real.html.kvxtmp")), "mine");
    EXPECT_EQ(Names(dir.Path()), before);

    // A new file gets the umask's mode, not mkstemp's 0600; a dangling link creates its file.
    const mode_t oldMask = ::umask(027);
    fs::create_symlink("later.html", dir.File("dangling.html"));
    EXPECT_TRUE(WriteWholeFile(dir.File("dangling.html"), "made"));
    EXPECT_TRUE(WriteWholeFile(dir.File("fresh.html"), "made"));
    ::umask(oldMask);
    EXPECT_TRUE(fs::is_symlink(dir.File("dangling.html")));
    EXPECT_EQ(Bytes(dir.File("later.html")), "made");
    EXPECT_EQ(Mode(dir.File("later.html")), 0640u);
    EXPECT_EQ(Mode(dir.File("fresh.html")), 0640u);
}

TEST(FileIoWrite, RefusesWithAReasonAndLeavesEverythingAsItWas)
{
    TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.File("locked.html"), "keep"));
    ::chmod(dir.File("locked.html").c_str(), 0444);
    fs::create_directory(dir.File("folder.html"));
    ASSERT_EQ(::mkfifo(dir.File("pipe.html").c_str(), 0644), 0);
    fs::create_directory(dir.File("shut"));
    ASSERT_TRUE(WriteWholeFile(dir.File("shut/open.html"), "keep"));
    ::chmod(dir.File("shut").c_str(), 0555);
    const auto before = Names(dir.Path());

    const struct
    {
        std::string Path;
        std::string Reason;
    } kCases[] = {
        { dir.File("locked.html"), "The file is read-only" },
        { dir.File("folder.html"), std::generic_category().message(EISDIR) },
        { dir.File("pipe.html"), "Not a regular file" },
        { dir.File("shut/new.html"), "The folder " + dir.File("shut") + " is read-only" },
        { dir.File("shut/open.html"), "The folder " + dir.File("shut") + " is read-only" },
        { dir.File("none/x.html"), std::generic_category().message(ENOENT) },
    };
    for (const auto& c : kCases) {
        const auto result = WriteWholeFile(c.Path, "new");
        EXPECT_FALSE(result);
        EXPECT_EQ(result.Reason, c.Reason) << c.Path;
    }
    EXPECT_EQ(Bytes(dir.File("locked.html")), "keep");
    EXPECT_EQ(Bytes(dir.File("shut/open.html")), "keep");
    EXPECT_EQ(Names(dir.File("shut")), std::set<std::string> { "open.html" });
    EXPECT_EQ(Names(dir.Path()), before);
    ::chmod(dir.File("shut").c_str(), 0755);
}

#ifdef __linux__
TEST(FileIoWrite, FullDiskKeepsTheOldFile)
{
    TempDir dir;
    const std::string disk = dir.File("disk");
    fs::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    const std::string page = disk + "/page.html";
    const auto first = WriteWholeFile(page, "old");
    const auto second = WriteWholeFile(page, std::string(1 << 20, 'x'));
    const auto names = Names(disk);
    const auto kept = Bytes(page);
    ::umount(disk.c_str());
    EXPECT_TRUE(first);
    EXPECT_FALSE(second);
    EXPECT_EQ(second.Reason, std::generic_category().message(ENOSPC));
    EXPECT_EQ(kept, "old");
    EXPECT_EQ(names, std::set<std::string> { "page.html" });
}
#endif

TEST(FileIoRead, RefusesAnythingButARegularFileWithinTheLimit)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0644), 0);
    {
        // Sparse: 2 GiB that take no space, and must not be allocated either.
        const int fd = ::open(dir.File("huge").c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t { 2 } << 30), 0);
        ::close(fd);
    }
    ASSERT_TRUE(WriteWholeFile(dir.File("five"), "12345"));
    ASSERT_TRUE(WriteWholeFile(dir.File("empty"), ""));

    ::alarm(20); // an open that waits for a FIFO's writer would hang here: kill the test instead
    const struct
    {
        std::string Path;
        std::uint64_t Limit;
        std::string Reason;
    } kRefused[] = {
        { dir.File("missing"), kMaxFileBytes, std::generic_category().message(ENOENT) },
        { dir.Path().string(), kMaxFileBytes, std::generic_category().message(EISDIR) },
        { dir.File(std::string(300, 'n')), kMaxFileBytes,
            std::generic_category().message(ENAMETOOLONG) },
        { dir.File("pipe"), kMaxFileBytes, "Not a regular file" },
        { dir.File("huge"), kMaxFileBytes, "The file is larger than 1 GiB" },
        { dir.File("five"), 4, "The file is larger than 4 bytes" },
    };
    for (const auto& c : kRefused) {
        const auto result = ReadWholeFile(c.Path, c.Limit);
        EXPECT_FALSE(result.Ok) << c.Path;
        EXPECT_EQ(result.Reason, c.Reason) << c.Path;
        if (c.Limit == kMaxFileBytes) {
            EXPECT_EQ(ApiReadFile(c.Path), "") << c.Path;
        }
    }
    ::alarm(0);

    const auto five = ReadWholeFile(dir.File("five"), 5);
    EXPECT_TRUE(five.Ok);
    EXPECT_EQ(five.Bytes, "12345");
    const auto empty = ReadWholeFile(dir.File("empty"));
    EXPECT_TRUE(empty.Ok);
    EXPECT_EQ(empty.Bytes, "");

    // Bytes come back as written, a NUL and high bytes among them; a folder is no file.
    const std::string bytes = std::string("a\r\nb\0\x93\xFF", 7) + "end";
    ASSERT_TRUE(WriteWholeFile(dir.File("five"), bytes));
    EXPECT_EQ(ApiReadFile(dir.File("five")), bytes);
    EXPECT_TRUE(FileExists(dir.File("empty")));
    EXPECT_FALSE(FileExists(dir.File("missing")));
    EXPECT_FALSE(FileExists(dir.Path().string()));
}

// A read that fails part way says so through the prompt: /proc/self/mem is a regular file
// whose first page is unmapped, so reading it fails with EIO, as a bad disk would.
TEST(FileIoRead, AReadThatFailsPartWayIsReported)
{
    test::ScriptedPrompt prompt;
    EXPECT_EQ(ApiReadFile("/proc/self/mem", &prompt), "");
    ASSERT_EQ(prompt.Messages.size(), 1u);
    EXPECT_EQ(prompt.Messages[0].Text, "Error reading file ...");
    EXPECT_FALSE(ReadWholeFile("/proc/self/mem").Ok);
}

} // namespace
} // namespace karvex

#endif
