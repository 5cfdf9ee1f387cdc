#include "convert/convert.h"
#include "core/formats/map_file.h"
#include "core/operations/file_formats.h"
#include "core/util/file_io.h"
#include "karvex/version.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace karvex {
namespace {

namespace fs = std::filesystem;

std::string GifBytes(int width, int height)
{
    return std::string("GIF89a") + static_cast<char>(width & 0xFF) + static_cast<char>(width >> 8)
        + static_cast<char>(height & 0xFF) + static_cast<char>(height >> 8) + std::string(20, '\0');
}

constexpr const char* kTwoMaps = "<img src=\"img/pic.gif\" usemap=\"#top\" alt=\"Logo\">\n"
                                 "<map name=\"top\"><area shape=rect coords=\"1,1,5,5\" "
                                 "href=\"top.html\"></map>\n"
                                 "<img src=img/pic.gif usemap=#Side>\n"
                                 "<map name=Side><area shape=circle coords=\"9,9,3\" "
                                 "href=\"side.html\"></map>\n";

class Convert : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(dir.Path() / "img");
        fs::create_directories(dir.Path() / "out");
        WriteWholeFile(dir.File("img/pic.gif"), GifBytes(200, 100));
        WriteWholeFile(dir.File("page.html"),
            "<p><img src=\"img/pic.gif\" usemap=\"#nav\" alt=\"Plan\">\n<map name=\"nav\">\n"
            "<area shape=\"rect\" coords=\"10,10,50,40\" href=\"a.html\">\n"
            "<area shape=\"circle\" coords=\"30,30,10\" href=\"b.html\">\n</map></p>");
    }

    int Run(const std::vector<std::string>& args)
    {
        std::ostringstream outStream;
        std::ostringstream errStream;
        const int status = RunConvert(args, outStream, errStream);
        out = outStream.str();
        err = errStream.str();
        return status;
    }

    test::TempDir dir;
    std::string out;
    std::string err;
};

TEST_F(Convert, OneMapThroughMapFileProjectAndBackToHtml)
{
    ASSERT_EQ(Run({ dir.File("page.html"), dir.File("n.map") }), kConvertOk) << err;
    const std::string ncsa = ApiReadFile(dir.File("n.map"));
    EXPECT_NE(ncsa.find("# <IMG Src=\"" + dir.File("img/pic.gif") + "\">"), std::string::npos);
    EXPECT_NE(ncsa.find("\r\nrect a.html 10,10 50,40 \r\ncircle b.html 30,30 40,30 \r\n"),
        std::string::npos);
    ASSERT_EQ(Run({ dir.File("page.html"), dir.File("c.map"), "--server", "CERN" }), kConvertOk);
    EXPECT_NE(
        ApiReadFile(dir.File("c.map")).find("rect (10,10) (50,40) a.html "), std::string::npos);

    ASSERT_EQ(Run({ dir.File("page.html"), dir.File("p.kvp") }), kConvertOk) << err;
    // An existing page is replaced by a fresh fragment, never merged into.
    WriteWholeFile(dir.File("back.html"), "<html>old page</html>");
    ASSERT_EQ(Run({ dir.File("p.kvp"), dir.File("back.html") }), kConvertOk) << err;
    const std::string back = ApiReadFile(dir.File("back.html"));
    EXPECT_EQ(back.find("old page"), std::string::npos);
    EXPECT_NE(
        back.find("<img src=\"img/pic.gif\" usemap=\"#nav\" alt=\"Plan\">\r\n<map name=\"nav\">"
                  "\r\n<area shape=\"rect\" coords=\"10,10,50,40\" href=\"a.html\">\r\n"
                  "<area shape=\"circle\" coords=\"30,30,10\" href=\"b.html\">\r\n</MAP>"),
        std::string::npos)
        << back;

    ASSERT_EQ(Run({ dir.File("n.map"), dir.File("m.htm") }), kConvertOk) << err;
    EXPECT_NE(ApiReadFile(dir.File("m.htm"))
                  .find("<AREA SHAPE=\"CIRCLE\" HREF=\"b.html\" COORDS=\"30,30,10\">"),
        std::string::npos);
    EXPECT_TRUE(out.empty());
}

TEST_F(Convert, IntoPutsTheMapIntoAnExistingPageAndKeepsEveryOtherByte)
{
    // The page into itself comes back byte for byte, UTF-16 pages too.
    const std::string page = ApiReadFile(dir.File("page.html"));
    ASSERT_EQ(Run({ dir.File("page.html"), "--into", dir.File("page.html") }), kConvertOk) << err;
    EXPECT_EQ(ApiReadFile(dir.File("page.html")), page);
    std::string wide = "\xFF\xFE";
    for (const char ch : page)
        wide += std::string { ch, '\0' };
    WriteWholeFile(dir.File("wide.html"), wide);
    ASSERT_EQ(Run({ dir.File("wide.html"), "--into", dir.File("wide.html") }), kConvertOk) << err;
    EXPECT_EQ(ApiReadFile(dir.File("wide.html")), wide);

    // A map file's map, named for the page by --map, replaces the page's map of that name.
    const std::string site = "<html>\n<p>Before</p>\n" + page + "\n<p>After</p>\n</html>\n";
    WriteWholeFile(dir.File("site.html"), site);
    WriteWholeFile(dir.File("nav.map"),
        "# <IMG Src=\"" + dir.File("img/pic.gif") + "\">\nrect other.html 1,2 3,4\n");
    ASSERT_EQ(
        Run({ dir.File("nav.map"), "--into", dir.File("site.html"), "--map", "nav" }), kConvertOk)
        << err;
    const std::string merged = ApiReadFile(dir.File("site.html"));
    // The picture's tag becomes the map file's; the map's lines are replaced; nothing else moves.
    const std::size_t imgStart = site.find("<img");
    EXPECT_EQ(merged.substr(0, imgStart), site.substr(0, imgStart));
    const std::string tail = site.substr(site.find("</map>"));
    EXPECT_EQ(merged.substr(merged.size() - tail.size()), tail);
    EXPECT_NE(merged.find("<map name=\"nav\">\n<AREA SHAPE=\"RECT\" HREF=\"other.html\" "
                          "COORDS=\"1,2,3,4\">\n</map>"),
        std::string::npos)
        << merged;

    // A page without that map and its picture is left alone.
    WriteWholeFile(dir.File("other.html"), "<p>no map here</p>");
    EXPECT_EQ(Run({ dir.File("nav.map"), "--into", dir.File("other.html"), "--map", "nav" }),
        kConvertFailed);
    EXPECT_EQ(ApiReadFile(dir.File("other.html")), "<p>no map here</p>");
    EXPECT_NE(err.find("nothing was written"), std::string::npos);
}

// A kind of file added to the formats table is read, written and offered everywhere at once.
TEST_F(Convert, AFifthKindOfFileNeedsOnlyItsTableEntry)
{
    AddFileFormat({ ".imap", "Server Map (*.imap)", OpenRoute::MapFile, ImportMapFile,
        [](Document& doc) { return WriteMapFile(doc, 1); }, false, MapFileNotice });
    EXPECT_NE(DocumentFilter().find("|Server Map (*.imap)|*.imap"), std::string::npos);
    ASSERT_EQ(Run({ dir.File("page.html"), dir.File("cern.imap") }), kConvertOk) << err;
    EXPECT_NE(
        ApiReadFile(dir.File("cern.imap")).find("rect (10,10) (50,40) a.html"), std::string::npos);
    ASSERT_EQ(Run({ dir.File("cern.imap"), dir.File("back.kvp") }), kConvertOk) << err;
    EXPECT_EQ(Run({ dir.File("page.html"), dir.File("x.txt") }), kConvertUsage);
    EXPECT_NE(err.find(".map or .imap"), std::string::npos) << err;
}

TEST_F(Convert, SeveralMapsAreListedUntilOneIsNamed)
{
    WriteWholeFile(dir.File("two.html"), kTwoMaps);
    EXPECT_EQ(Run({ dir.File("two.html"), dir.File("x.html") }), kConvertChooseMap);
    EXPECT_EQ(out, "#top\timg/pic.gif\tLogo\n#Side\timg/pic.gif\n");
    EXPECT_FALSE(fs::exists(dir.File("x.html")));

    for (const char* name : { "#Side", "Side", "side", "#SIDE" }) {
        ASSERT_EQ(Run({ dir.File("two.html"), dir.File("x.html"), "--map", name }), kConvertOk)
            << name << err;
        const std::string written = ApiReadFile(dir.File("x.html"));
        EXPECT_NE(written.find("side.html"), std::string::npos) << name;
        EXPECT_EQ(written.find("top.html"), std::string::npos) << name;
    }
    EXPECT_EQ(Run({ dir.File("two.html"), dir.File("x.html"), "--map=nope" }), kConvertFailed);
    EXPECT_EQ(err,
        "karvex-convert: The page has no map 'nope'. Its maps are:\n"
        "#top\timg/pic.gif\tLogo\n#Side\timg/pic.gif\n");
}

TEST_F(Convert, MissingPictureFailsWithoutAsking)
{
    WriteWholeFile(dir.File("lost.html"), "<img src=gone.gif usemap=#m><map name=m></map>");
    EXPECT_EQ(Run({ dir.File("lost.html"), dir.File("x.map") }), kConvertFailed);
    EXPECT_EQ(err,
        "karvex-convert: There has been an error while trying to open the file. Loading has "
        "been canceled. File : "
            + dir.File("lost.html")
            + " Reason : There was an error while trying to load the picture. The picture "
            + dir.File("gone.gif") + " was not found.\n");
    EXPECT_FALSE(fs::exists(dir.File("x.map")));
    EXPECT_EQ(Run({ dir.File("none.kvp"), dir.File("x.map") }), kConvertFailed);
}

TEST_F(Convert, CommandLineMistakesAreUsageErrors)
{
    const std::vector<std::vector<std::string>> wrong = { {}, { "a.html" },
        { "a.html", "b.map", "c.map" }, { "a.txt", "b.map" }, { "a.map", "b.gif" },
        { "a.map", "b.map", "--bogus" }, { "a.map", "b.map", "--server", "iis" },
        { "a.map", "b.map", "--path" }, { "a.map", "b.map", "--path=up" } };
    for (const auto& args : wrong) {
        EXPECT_EQ(Run(args), kConvertUsage) << ::testing::PrintToString(args);
        EXPECT_EQ(err.rfind("karvex-convert: ", 0), 0u);
        EXPECT_NE(err.find("usage: karvex-convert INPUT OUTPUT"), std::string::npos);
    }
    EXPECT_EQ(Run({ "--version" }), kConvertOk);
    EXPECT_EQ(out, std::string("karvex-convert ") + kVersion + "\n");
    EXPECT_EQ(Run({ "a.txt", "--help" }), kConvertOk);
    EXPECT_NE(out.find("Exit status"), std::string::npos);
}

TEST_F(Convert, PathModesRewriteTheSrcForTheOutputFolder)
{
    const std::string page = dir.File("page.html");
    const std::string target = dir.File("out/x.html");
    const std::vector<std::pair<const char*, std::string>> modes
        = { { "relative", "src=\"../img/pic.gif\"" },
              { "direct", "src=\"" + dir.File("img/pic.gif") + "\"" },
              { "current", "src=\"img/pic.gif\"" } };
    for (const auto& [mode, src] : modes) {
        ASSERT_EQ(Run({ page, target, "--path", mode }), kConvertOk) << err;
        EXPECT_NE(ApiReadFile(target).find("<img " + src), std::string::npos) << mode;
    }
}

TEST_F(Convert, PictureBesideThePageWinsOverOneInTheWorkingFolder)
{
    // The script runs in a folder that has an img/pic.gif of its own.
    test::TempDir elsewhere;
    fs::create_directories(elsewhere.Path() / "img");
    WriteWholeFile(elsewhere.File("img/pic.gif"), GifBytes(7, 7));
    const fs::path before = fs::current_path();
    fs::current_path(elsewhere.Path());
    const int status = Run({ dir.File("page.html"), dir.File("x.map") });
    const fs::path after = fs::current_path();
    fs::current_path(before);
    ASSERT_EQ(status, kConvertOk) << err;
    EXPECT_EQ(after, elsewhere.Path());
    EXPECT_NE(ApiReadFile(dir.File("x.map")).find(dir.File("img/pic.gif")), std::string::npos);
}

} // namespace
} // namespace karvex
