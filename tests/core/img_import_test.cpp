#include "core/formats/img_import.h"
#include "core/util/file_io.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace karvex {
namespace {

TEST(ResolveSrcPath, WindowsReferencesFollowTheRules)
{
    constexpr auto win = PathStyle::Windows;
    // Nothing of these exists here, so each is looked up from the page's folder or kept whole.
    EXPECT_EQ(ResolveSrcPath("file:///C:/pics/a%20b.gif", "D:\\site\\page.html", win).Path,
        "C:\\pics\\a b.gif");
    EXPECT_EQ(ResolveSrcPath("img/a.gif", "D:\\site\\page.html", win).Path, "D:\\site\\img\\a.gif");
    EXPECT_EQ(ResolveSrcPath("../img/a.gif", "D:\\site\\sub\\page.html", win).Path,
        "D:\\site\\img\\a.gif");
    EXPECT_EQ(ResolveSrcPath("a.gif", "D:\\site\\page.html", win).Path, "D:\\site\\a.gif");
    const ResolvedPath tooHigh = ResolveSrcPath("../../../a.gif", "D:\\page.html", win);
    EXPECT_EQ(tooHigh.ErrorNumber, kErrTooManySteps);
}

TEST(ResolveSrcPath, PosixReferencesKeepTheirRoot)
{
    constexpr auto posix = PathStyle::Posix;
    EXPECT_EQ(ResolveSrcPath("file:///home/u/my%20pic.png", "/site/page.html", posix).Path,
        "/home/u/my pic.png");
    EXPECT_EQ(ResolveSrcPath("img/a+b.gif", "/site/page.html", posix).Path, "/site/img/a b.gif");
    EXPECT_EQ(ResolveSrcPath("../a.gif", "/site/sub/page.html", posix).Path, "/site/a.gif");

    test::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "img");
    WriteWholeFile(dir.File("img/x.gif"), "GIF89a");
    // An absolute path stays; a relative one is looked up beside the page, even when the
    // program's own folder holds a file of that name.
    const std::string whole = dir.File("img/x.gif");
    EXPECT_EQ(ResolveSrcPath(whole, "/elsewhere/page.html", posix).Path, whole);
    const auto startedIn = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    EXPECT_EQ(ResolveSrcPath("img/x.gif", "/site/page.html", posix).Path, "/site/img/x.gif");
    std::filesystem::current_path(startedIn);
}

TEST(RereadImgTag, RecordFollowsTheEditedTag)
{
    test::TempDir dir;
    WriteWholeFile(dir.File("a.gif"), "GIF89a");
    WriteWholeFile(dir.File("b.gif"), "GIF89a");
    Document doc;
    doc.FilePath = dir.File("page.html");
    doc.Images[1].Src = dir.File("a.gif");
    doc.ImgAttributes.push_back({ "stale", "1" });
    doc.ImgTag = "<IMG SRC='b.gif' WIDTH=300 height=\"90\" Border=2 ALT=\"Hi\" align=left "
                 "onclick='show(\"big\")' data-role=\"hero\" USEMAP=\"#m\">";
    const std::string tag = doc.ImgTag;

    const ImgReread reread = RereadImgTag(doc, ParseTag(doc.ImgTag));
    EXPECT_TRUE(reread.PictureChanged);
    EXPECT_EQ(reread.PicturePath, dir.File("b.gif"));
    EXPECT_EQ(doc.Images[1].Src, dir.File("b.gif"));
    EXPECT_EQ(doc.Images[1].Width, 300);
    EXPECT_EQ(doc.Images[1].Height, 90);
    EXPECT_EQ(doc.Images[1].Border, 2);
    EXPECT_EQ(doc.Images[1].AltText, "Hi");
    ASSERT_EQ(doc.ImgAttributes.size(), 1u);
    EXPECT_EQ(doc.ImgAttributes[0].Name, "data-role");
    EXPECT_EQ(doc.ImgAttributes[0].Value, "hero");
    // The tag keeps every byte, quotes inside other quotes too.
    EXPECT_EQ(doc.ImgTag, tag);

    const ImgReread again = RereadImgTag(doc, ParseTag(doc.ImgTag));
    EXPECT_FALSE(again.PictureChanged);
}

} // namespace
} // namespace karvex
