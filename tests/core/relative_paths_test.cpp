#include "core/formats/relative_paths.h"

#include <gtest/gtest.h>

namespace karvex {
namespace {

struct RelativeCase
{
    const char* from;
    const char* to;
    const char* expected;
};

TEST(MakeRelativePath, WindowsFolders)
{
    const RelativeCase cases[] = {
        { "c:\\web\\site", "c:\\web\\images", "../images/" },
        { "c:\\web", "c:\\web\\images", "images/" }, { "c:\\web\\site", "c:\\web", "../" },
        { "c:\\web", "d:\\pics", "../../d:/pics/" }, { "C:\\Web\\Site", "c:\\web\\site", "" },
        { "c:\\web", "c:\\web\\Images\\Big", "images/big/" }, // written lower case
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeRelativePath(c.from, c.to, PathStyle::Windows), c.expected)
            << c.from << " -> " << c.to;
}

TEST(MakeRelativePath, PosixFoldersKeepCase)
{
    const RelativeCase cases[] = {
        { "/home/ann/site", "/home/ann/Images", "../Images/" },
        { "/home/ann", "/home/ann/Pics/Big", "Pics/Big/" },
        { "/home/ann/site", "/home/ann", "../" }, { "/srv/www", "/srv/www", "" },
        { "/srv/www", "/srv/WWW", "../WWW/" }, // a case-sensitive disk: another folder
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeRelativePath(c.from, c.to, PathStyle::Posix), c.expected)
            << c.from << " -> " << c.to;
}

TEST(ResolvePath, WindowsReferences)
{
    EXPECT_EQ(ResolvePath("..\\img\\a.gif", "c:\\web\\site", "\\").Path, "c:\\web\\img\\a.gif");
    EXPECT_EQ(ResolvePath("..\\x", "c:\\web", "\\").Path, "c:\\x");
    EXPECT_EQ(ResolvePath("img\\a.gif", "c:\\web\\", "\\").Path, "c:\\web\\img\\a.gif");
    EXPECT_EQ(
        ResolvePath("..\\a.gif", "\\\\server\\share\\web", "\\").Path, "\\\\server\\share\\a.gif");

    const ResolvedPath tooFar = ResolvePath("..\\..\\x", "c:\\web", "\\");
    EXPECT_FALSE(tooFar.Ok());
    EXPECT_EQ(tooFar.ErrorNumber, 50001);
    EXPECT_EQ(tooFar.ErrorDescription, "rpErrTooManySteps");
    EXPECT_EQ(tooFar.ErrorSource, "modRelativePaths.ResolvePath");
    EXPECT_TRUE(tooFar.Path.empty());
}

TEST(ResolvePath, PosixReferences)
{
    EXPECT_EQ(ResolvePath("../img/a.gif", "/home/ann/site", "/").Path, "/home/ann/img/a.gif");
    EXPECT_EQ(ResolvePath("../x", "/home", "/").Path, "/x");
    EXPECT_EQ(ResolvePath("a.gif", "/home/ann/", "/").Path, "/home/ann/a.gif");
    // ".." parts count wherever they stand.
    EXPECT_EQ(ResolvePath("../img/../a.gif", "/a/b/c", "/").Path, "/a/img/a.gif");
    EXPECT_EQ(ResolvePath("../../x", "/home", "/").ErrorNumber, kErrTooManySteps);
    EXPECT_FALSE(ResolvePath("x", "", "/").Path.empty()) << "an empty base is the current folder";
}

TEST(PathParts, GetFileNameAndLeftOfLast)
{
    EXPECT_EQ(GetFileName("c:\\web\\a.gif"), "a.gif");
    EXPECT_EQ(GetFileName("/home/ann/a.gif"), "a.gif");
    EXPECT_EQ(GetFileName("c:\\mixed/dir\\a.gif"), "dir\\a.gif"); // a "/" wins over "\"
    EXPECT_EQ(GetFileName("a.gif"), "a.gif");
    EXPECT_EQ(GetFileName("dir/"), "");

    EXPECT_EQ(LeftOfLast("c:\\web\\a.gif", "\\", true), "c:\\web\\");
    EXPECT_EQ(LeftOfLast("c:\\web\\a.gif", "\\", false), "c:\\web");
    EXPECT_EQ(LeftOfLast("a.gif", "\\", true), "a.gif");
    EXPECT_EQ(LeftOfLast("/a.gif", "/", false), "/a.gif");
    EXPECT_EQ(LeftOfLast("/a.gif", "/", true), "/");
}

} // namespace
} // namespace karvex
