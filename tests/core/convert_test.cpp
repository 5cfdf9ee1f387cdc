#include "convert/convert.h"
#include "core/formats/map_file.h"
#include "core/operations/file_formats.h"
#include "core/util/file_io.h"
#include "karvex/version.h"
#include "support/gif_bytes.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace karvex {
namespace {

namespace fs = std::filesystem;

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
        WriteWholeFile(dir.File("img/pic.gif"), test::GifBytes(200, 100));
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
    // A third map no picture uses, reached through an OBJECT only.
    WriteWholeFile(dir.File("two.html"),
        std::string(kTwoMaps) + "<map id=\"obj\"><area coords=0,0,4,4 nohref></map>\n");
    const std::string listed = "#top\ttop\t\timg/pic.gif\t1\tconnected\tLogo\n"
                               "#Side\tSide\t\timg/pic.gif\t1\tconnected\t\n"
                               "#obj\t\tobj\t\t1\tno picture\t\n";
    EXPECT_EQ(Run({ dir.File("two.html"), dir.File("x.html") }), kConvertChooseMap);
    EXPECT_EQ(out, listed);
    EXPECT_FALSE(fs::exists(dir.File("x.html")));
    ASSERT_EQ(Run({ dir.File("two.html"), "--list" }), kConvertOk);
    EXPECT_EQ(out, listed);
    ASSERT_EQ(Run({ dir.File("two.html"), "--list", "--json" }), kConvertOk);
    EXPECT_EQ(out,
        "[\n  {\"map\": \"#top\", \"name\": \"top\", \"id\": \"\", \"picture\": \"img/pic.gif\", "
        "\"alt\": \"Logo\", \"areas\": 1, \"browserConnects\": true},\n"
        "  {\"map\": \"#Side\", \"name\": \"Side\", \"id\": \"\", \"picture\": \"img/pic.gif\", "
        "\"alt\": \"\", \"areas\": 1, \"browserConnects\": true},\n"
        "  {\"map\": \"#obj\", \"name\": \"\", \"id\": \"obj\", \"picture\": null, \"alt\": \"\", "
        "\"areas\": 1, \"browserConnects\": false}\n]\n");

    for (const char* name : { "#Side", "Side", "side", "#SIDE" }) {
        ASSERT_EQ(Run({ dir.File("two.html"), dir.File("x.html"), "--map", name }), kConvertOk)
            << name << err;
        const std::string written = ApiReadFile(dir.File("x.html"));
        EXPECT_NE(written.find("side.html"), std::string::npos) << name;
        EXPECT_EQ(written.find("top.html"), std::string::npos) << name;
    }
    EXPECT_EQ(Run({ dir.File("two.html"), dir.File("x.html"), "--map=nope" }), kConvertFailed);
    EXPECT_EQ(err, "karvex-convert: The page has no map 'nope'. Its maps are:\n" + listed);

    // The map no picture uses converts with the picture it is given.
    EXPECT_EQ(Run({ dir.File("two.html"), dir.File("o.html"), "--map", "obj" }), kConvertFailed);
    EXPECT_NE(err.find("--picture"), std::string::npos) << err;
    ASSERT_EQ(Run({ dir.File("two.html"), dir.File("o.html"), "--map", "obj", "--picture",
                  dir.File("img/pic.gif") }),
        kConvertOk)
        << err;
    EXPECT_NE(ApiReadFile(dir.File("o.html"))
                  .find("<IMG SRC=\"img/pic.gif\" USEMAP=\"#obj\" WIDTH=\"200\" HEIGHT=\"100\">\r\n"
                        "<map id=\"obj\">\r\n<area coords=0,0,4,4 nohref>\r\n</MAP>"),
        std::string::npos);
}

TEST_F(Convert, MissingPictureIsNotNeeded)
{
    // The size comes from WIDTH and HEIGHT, else from the hotspots; standard error says which.
    WriteWholeFile(dir.File("sized.html"),
        "<img src=gone.gif usemap=#m width=300 height=90><map name=m>"
        "<area shape=circle coords=10,10,5 href=a.html></map>");
    ASSERT_EQ(Run({ dir.File("sized.html"), dir.File("s.map") }), kConvertOk) << err;
    EXPECT_NE(err.find("WIDTH and HEIGHT"), std::string::npos) << err;
    EXPECT_NE(ApiReadFile(dir.File("s.map")).find("circle a.html 10,10 15,10"), std::string::npos);

    WriteWholeFile(dir.File("lost.html"),
        "<img src=gone.gif usemap=#m><map name=m><area shape=poly coords=5,5,120,8,60,70 "
        "href=p.html></map>");
    ASSERT_EQ(Run({ dir.File("lost.html"), dir.File("l.html") }), kConvertOk) << err;
    EXPECT_NE(err.find("its size 120 x 70 comes from the hotspots' coordinates"), std::string::npos)
        << err;
    EXPECT_NE(ApiReadFile(dir.File("l.html"))
                  .find("<img src=gone.gif usemap=#m WIDTH=\"120\" HEIGHT=\"70\">\r\n<map name=m>"),
        std::string::npos);

    // A server's map file names no picture at all.
    WriteWholeFile(dir.File("bare.map"), "rect /a.html 0,0 50,40\n");
    ASSERT_EQ(Run({ dir.File("bare.map"), dir.File("bare.html") }), kConvertOk) << err;
    EXPECT_NE(err.find("No picture is named; its size 50 x 40"), std::string::npos) << err;
    EXPECT_NE(
        ApiReadFile(dir.File("bare.html")).find("WIDTH=\"50\" HEIGHT=\"40\""), std::string::npos);

    // Nothing to take a size from, and no map for the picture, fail without writing.
    WriteWholeFile(dir.File("empty.html"), "<img src=gone.gif usemap=#m><map name=m></map>");
    EXPECT_EQ(Run({ dir.File("empty.html"), dir.File("x.map") }), kConvertFailed);
    EXPECT_NE(err.find("--picture FILE"), std::string::npos) << err;
    WriteWholeFile(dir.File("nomap.html"), "<img src=img/pic.gif usemap=#m>");
    EXPECT_EQ(Run({ dir.File("nomap.html"), dir.File("x.html") }), kConvertFailed);
    EXPECT_EQ(err,
        "karvex-convert: The page " + dir.File("nomap.html")
            + " has no map '#m' for the picture that names it; nothing was written.\n");
    EXPECT_FALSE(fs::exists(dir.File("x.map")));
    EXPECT_FALSE(fs::exists(dir.File("x.html")));
    EXPECT_EQ(Run({ dir.File("none.kvp"), dir.File("x.map") }), kConvertFailed);
}

TEST_F(Convert, StandardStreamsAndKindsGivenOnTheCommandLine)
{
    std::istringstream page("<img src=img/pic.gif usemap=#m><map name=m>"
                            "<area shape=rect coords=1,2,3,4 href=\"a b.html\"></map>");
    std::ostringstream outStream;
    std::ostringstream errStream;
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    const int status
        = RunConvert({ "-", "-", "--from", "html", "--to", "map" }, page, outStream, errStream);
    fs::current_path(before);
    ASSERT_EQ(status, kConvertOk) << errStream.str();
    EXPECT_NE(outStream.str().find("rect a%20b.html 1,2 3,4"), std::string::npos)
        << outStream.str();

    // A page under another name is read as the kind --from gives.
    fs::copy_file(dir.File("page.html"), dir.File("page.txt"));
    ASSERT_EQ(Run({ dir.File("page.txt"), dir.File("p.kvp"), "--from=html" }), kConvertOk) << err;
    ASSERT_EQ(Run({ dir.File("p.kvp"), dir.File("p.out"), "--to", "html" }), kConvertOk) << err;
    EXPECT_NE(ApiReadFile(dir.File("p.out")).find("href=\"b.html\""), std::string::npos);
    // Without --from, what the file holds tells: a CERN map file under a name that says nothing.
    WriteWholeFile(
        dir.File("areas.dat"), "rectangle (1,2) (30,40) r.html\ncirc (50,50) 5 c.html\n");
    ASSERT_EQ(Run({ dir.File("areas.dat"), dir.File("areas.html") }), kConvertOk) << err;
    EXPECT_NE(ApiReadFile(dir.File("areas.html")).find("COORDS=\"50,50,5\""), std::string::npos);
    WriteWholeFile(dir.File("notes.dat"), "nothing to see\n");
    EXPECT_EQ(Run({ dir.File("notes.dat"), dir.File("x.html") }), kConvertFailed);
    EXPECT_NE(err.find("--from"), std::string::npos) << err;
    EXPECT_EQ(Run({ "a.html", "--list", "--into", "b.html" }), kConvertUsage);
}

TEST_F(Convert, CommandLineMistakesAreUsageErrors)
{
    const std::vector<std::vector<std::string>> wrong
        = { {}, { "a.html" }, { "a.html", "b.map", "c.map" }, { "a.map", "b.gif" },
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
    WriteWholeFile(elsewhere.File("img/pic.gif"), test::GifBytes(7, 7));
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
