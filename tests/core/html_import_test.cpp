#include "core/formats/html_import.h"
#include "core/formats/html_writer.h"
#include "core/formats/tag_writer.h"
#include "core/model/app_state.h"
#include "core/operations/document_save.h"
#include "core/util/file_io.h"
#include "support/gif_bytes.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace karvex {
namespace {

class HtmlImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir.Path() / "img");
        WriteWholeFile(dir.File("img/site map.gif"), test::GifBytes(400, 300));
        WriteWholeFile(dir.File("img/logo.gif"), test::GifBytes(120, 60));
        context.Ask = &prompt;
        context.Style = PathStyle::Posix;
    }

    std::string Page(const std::string& name, const std::string& text)
    {
        std::string path = dir.File(name);
        WriteWholeFile(path, text);
        return path;
    }

    // Makes the imported page the one open document.
    void Adopt(ImportResult& result, const std::string& file)
    {
        state.Documents.push_back(std::move(result.Doc));
        state.CurrentDocument = 1;
        state.OpenDocuments.Add(file, "1");
    }

    // Gives the first hotspot a new link, saves the document back into its page and returns the
    // page's bytes.
    std::string SaveWithLink(const std::string& file, const std::string& href)
    {
        Hotspot& spot = state.Documents[1].Hotspots[1];
        spot.AreaTag = SetAttributeInTag(spot.AreaTag, "HREF", href, "");
        const SaveResult saved = SaveDocumentFile(state, 1, file, false, false);
        EXPECT_TRUE(saved.Ok) << saved.Error;
        return ApiReadFile(file);
    }

    test::TempDir dir;
    test::ScriptedPrompt prompt;
    ImportContext context;
    AppState state;
};

// What a page written by hand in the wild looks like: LF line ends, mixed case, MAP before IMG,
// unquoted and single-quoted values, blanks around "=", a tag over two lines, comments, markup
// inside quoted values.
constexpr const char* kMessyMap
    = "<map name = \"Nav\">\n"
      "<!-- <area shape=rect coords=\"0,0,1,1\" href=old.html> -->\n"
      "<AREA SHAPE=RECT COORDS='10,10,50,40' HREF=\"a.html\" ALT='A b'>\n"
      "<area\n  shape=\"circle\" coords=\"30,30,10\" href=b.html "
      "onclick=\"go('x>y')\" data-x=1>\n"
      "<Area Shape=\"Poly\" Coords=\"1,1,9,1,5,8\" ##NAME=\"Roof\" "
      "##COLOR=\"255\" ##LOCKED=\"True\" INDEX=3>\n"
      "<area shape=rect coords=\"5,5,6,6\" ##name=roof>\n"
      "<area nohref>\n"
      "<span title=\"<area shape=rect coords='0,0,9,9' href=x.html>\"></span>\n"
      "</MAP>";

TEST_F(HtmlImport, MessyPageOpensWithEveryHotspotABrowserSees)
{
    const std::string before = "<html><body>\n<h1 title=\"<img src=x usemap=#Nav>\">Site</h1>\n";
    const std::string img = "<IMG src = 'img/site%20map.gif' usemap=#Nav WIDTH=400>";
    const std::string file
        = Page("page.html", before + std::string(kMessyMap) + "\n" + img + "\n</body>");

    const ImportResult result = ImportHtmlFile(file, context);
    ASSERT_TRUE(result.Ok) << result.Message;
    const Document& doc = result.Doc;
    EXPECT_EQ(doc.Title, file);
    EXPECT_EQ(doc.ImgTag, img);
    EXPECT_EQ(doc.SourceImgTag, img);
    EXPECT_EQ(doc.SourceMapCode, kMessyMap);
    EXPECT_EQ(doc.Images[1].Src, dir.File("img/site map.gif"));
    EXPECT_EQ(doc.Images[1].Width, 400);
    EXPECT_EQ(doc.Images[1].Height, 300); // from the picture, as the tag has no HEIGHT
    EXPECT_EQ(doc.Images[1].MapTag, "<map name = \"Nav\">");
    EXPECT_EQ(doc.ServerType, 0);

    ASSERT_EQ(doc.Hotspots.size(), 6u); // slot 0 and five AREAs, "nohref" alone among them
    const Hotspot& rect = doc.Hotspots[1];
    EXPECT_EQ(rect.Name, "Rectangle1");
    EXPECT_EQ(rect.Coords, "10,10,50,40");
    EXPECT_EQ(rect.AreaTag, "<AREA SHAPE=RECT COORDS='10,10,50,40' HREF=\"a.html\" ALT='A b'>");
    const Hotspot& circle = doc.Hotspots[2];
    EXPECT_EQ(circle.Shape, ShapeCircle);
    EXPECT_EQ(circle.X1, 20);
    ASSERT_EQ(circle.Attributes.size(), 1u);
    EXPECT_EQ(circle.Attributes[0].Name, "data-x");
    const Hotspot& roof = doc.Hotspots[3];
    EXPECT_EQ(roof.Name, "Roof");
    EXPECT_EQ(roof.Color, "255");
    EXPECT_TRUE(roof.Locked);
    EXPECT_EQ(roof.AreaTag, "<Area Shape=\"Poly\" Coords=\"1,1,9,1,5,8\">");
    // A taken name is replaced by a free one of the hotspot's shape.
    EXPECT_EQ(doc.Hotspots[4].Name, "Rectangle2");
    // An AREA without shape or coordinates is edited over the whole picture; its tag stays.
    EXPECT_EQ(doc.Hotspots[5].AreaTag, "<area nohref>");
    EXPECT_EQ(doc.Hotspots[5].Coords, "0,0,400,300");
    EXPECT_EQ(result.AreaTexts.substr(0, rect.AreaTag.size() + 2), rect.AreaTag + "\r\n");
}

TEST_F(HtmlImport, MapsAreNamedAsBrowsersNameThem)
{
    // The name follows the first "#" in its own letter case and is the first MAP, in page order,
    // whose NAME or ID it is; character references are read before names compare.
    struct Case
    {
        const char* UseMap;
        const char* Maps;
        const char* Opened; // the NAME or ID of the map that opens; "" for none
        bool Connected; // a browser connects the picture to it
    };
    const Case cases[] = {
        { "#a&amp;b", "<map name=\"a&b\">", "a&b", true },
        { "#a#", "<map name=\"a\"></map><map name=\"a#\">", "a#", true },
        { "  #m", "<map name=m>", "m", true },
        { "page.html#m", "<map name=m>", "m", true },
        { "#Nav", "<map name=nav></map><map id=Nav>", "Nav", true },
        { "#x", "<map id=x name=y></map><map name=x>", "x", true },
        // What a browser does not connect still opens, as this editor always opened it.
        { "#NAV", "<map name=nav>", "nav", false },
        { "m", "<map name=m>", "m", false },
        { "#q",
            "<script>'<map name=q>'</script><title><map name=q></title><!-- <map name=q> -->"
            "<noscript><map name=q></noscript>",
            "", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.UseMap + std::string(" with ") + c.Maps);
        const std::string page = "<img src=\"img/logo.gif\" usemap=\"" + std::string(c.UseMap)
            + "\">" + c.Maps + "<area coords=1,2,3,4></map>";
        const auto candidates = FindMapCandidates(page, false);
        ASSERT_FALSE(candidates.empty());
        EXPECT_EQ(candidates[0].MapFound, c.Connected);
        EXPECT_EQ(candidates[0].LooseMatch, !c.Connected && *c.Opened);
        EXPECT_TRUE(candidates[0].MapName == c.Opened || candidates[0].MapId == c.Opened)
            << candidates[0].MapName << " / " << candidates[0].MapId;
        const ImportResult result = ImportHtmlText(dir.File("p.html"), page, context);
        ASSERT_TRUE(result.Ok);
        EXPECT_EQ(result.Warnings.size(), candidates[0].LooseMatch ? 1u : 0u);
        if (candidates[0].LooseMatch) {
            EXPECT_NE(result.Warnings[0].find("a browser will not connect"), std::string::npos);
        }
    }
}

TEST_F(HtmlImport, MapNamedOnlyByIdOpensAndSavesBack)
{
    const std::string head
        = "<img src=\"img/logo.gif\" usemap=\"#Nav\">\n"
          "<map name=\"nav\"><area shape=rect coords=1,1,2,2 href=n.html></map>\n";
    const std::string map = "<map id=\"Nav\"><area shape=rect coords=1,1,5,5 href=x.html></map>";
    const std::string file = Page("page.html", head + map + "\n");
    ImportResult result = ImportHtmlFile(file, context);
    ASSERT_TRUE(result.Ok);
    ASSERT_EQ(result.Doc.Hotspots.size(), 2u);
    EXPECT_EQ(result.Doc.Hotspots[1].Coords, "1,1,5,5");

    Adopt(result, file);
    EXPECT_EQ(SaveWithLink(file, "y.html"), head + ReplaceAll(map, "x.html", "\"y.html\"") + "\n");
}

TEST_F(HtmlImport, MapsNoPictureUsesAreOfferedAndAskForAPicture)
{
    const std::string head = "<img src=img/logo.gif usemap=#top alt=Logo>\n"
                             "<map name=top><area shape=rect coords=1,1,5,5></map>\n"
                             "<object data=img/logo.gif usemap=#obj></object>\n";
    const std::string objectMap = "<map name=obj><area shape=circle coords=9,9,3 nohref></map>";
    // Neither a second map of a taken name nor a map without NAME or ID is reachable.
    const std::string tail = "\n<map name=top><area coords=0,0,2,2></map><map><area></map>\n";
    const std::string file = Page("page.html", head + objectMap + tail);
    const auto candidates = FindMapCandidates(ApiReadFile(file), false);
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[1].Kind, kCandidateMapOnly);
    EXPECT_EQ(CandidateKey(candidates[1]), "#obj");
    EXPECT_EQ(candidates[1].AreaCount, 1u);

    context.ChooseMap = [](const std::vector<MapCandidate>& list) { return CandidateKey(list[1]); };
    prompt.Answers.push_back(PromptAnswer::Yes);
    prompt.Files.push_back(dir.File("img/logo.gif"));
    ImportResult result = ImportHtmlFile(file, context);
    ASSERT_TRUE(result.Ok) << result.Message;
    ASSERT_EQ(prompt.Messages.size(), 1u);
    EXPECT_EQ(prompt.Messages[0].Text, kMissingPictureQuestion);
    ASSERT_EQ(result.Doc.Hotspots.size(), 2u);
    EXPECT_EQ(result.Doc.Hotspots[1].AreaTag, "<area shape=circle coords=9,9,3 nohref>");
    EXPECT_EQ(result.Doc.ImgTag,
        "<IMG SRC=\"img/logo.gif\" USEMAP=\"#obj\" WIDTH=\"120\" HEIGHT=\"60\">");

    // Saved back, only the map changes: the page has no IMG for it.
    Adopt(result, file);
    const std::string saved = SaveWithLink(file, "o.html");
    EXPECT_EQ(saved.substr(0, head.size()), head);
    EXPECT_EQ(saved.substr(saved.size() - tail.size()), tail);
    EXPECT_NE(saved.find("HREF=\"o.html\"></map>"), std::string::npos) << saved;
}

TEST_F(HtmlImport, SeveralMapsAskWhichOne)
{
    const std::string page = "<img src=img/logo.gif usemap=#top alt=Logo>\n"
                             "<MAP NAME=top><AREA SHAPE=RECT COORDS=1,1,5,5></MAP>\n"
                             "<img src=\"img/site map.gif\" usemap=\"#SIDE\">\n"
                             "<map name=side><area shape=circle coords=\"9,9,3\"></map>";
    const auto candidates = FindMapCandidates(page, false);
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_TRUE(candidates[0].MapFound);
    EXPECT_EQ(candidates[0].MapBlock, "<MAP NAME=top><AREA SHAPE=RECT COORDS=1,1,5,5></MAP>");
    EXPECT_FALSE(candidates[1].MapFound); // the names differ in letter case
    EXPECT_EQ(CandidateKey(candidates[1]), "#SIDE");

    std::size_t offered = 0;
    context.ChooseMap = [&](const std::vector<MapCandidate>& list) {
        offered = list.size();
        return CandidateKey(list[1]);
    };
    const ImportResult chosen = ImportHtmlText(dir.File("p.html"), page, context);
    EXPECT_EQ(offered, 2u);
    ASSERT_TRUE(chosen.Ok);
    // The import itself matches map names in any letter case.
    ASSERT_EQ(chosen.Doc.Hotspots.size(), 2u);
    EXPECT_EQ(chosen.Doc.Hotspots[1].Shape, ShapeCircle);
    EXPECT_EQ(chosen.Doc.Images[1].MapName, "SIDE");
    ASSERT_EQ(chosen.Warnings.size(), 1u);
    EXPECT_EQ(chosen.Warnings[0],
        "The picture's USEMAP \"#SIDE\" does not name the map \"side\" exactly (letter case), so "
        "a browser will not connect the picture to the map.");

    context.ChooseMap = [](const std::vector<MapCandidate>&) { return std::string(); };
    const ImportResult cancelled = ImportHtmlText(dir.File("p.html"), page, context);
    EXPECT_FALSE(cancelled.Ok);
    EXPECT_TRUE(cancelled.Cancelled);
    EXPECT_TRUE(cancelled.Message.empty());
    EXPECT_TRUE(prompt.Messages.empty());
}

TEST_F(HtmlImport, PicturesWithoutMapCountOnlyWhenSearched)
{
    const std::string page = "<p><img src=\"img/logo.gif\" alt=\"x\"></p>";
    EXPECT_TRUE(FindMapCandidates(page, false).empty());
    const ImportResult none = ImportHtmlText(dir.File("p.html"), page, context);
    EXPECT_EQ(none.Message,
        "There has been an error while trying to open the file. Loading has been "
        "canceled.\r\n\r\nFile : "
            + dir.File("p.html") + "\r\nReason : There has not been found any images in the file.");

    context.SearchWithoutMap = true;
    ASSERT_EQ(FindMapCandidates(page, true).size(), 1u);
    const ImportResult bare = ImportHtmlText(dir.File("p.html"), page, context);
    ASSERT_TRUE(bare.Ok);
    EXPECT_EQ(bare.Doc.Images[1].MapTag, "<MAP NAME=\"\">");
    EXPECT_EQ(bare.Doc.Hotspots.size(), 1u);
    EXPECT_EQ(bare.Doc.Images[1].Width, 120);
}

TEST_F(HtmlImport, MissingPictureAsksBeforeFailing)
{
    const std::string page = "<img src=\"gone.gif\" usemap=\"#m\"><map name=m></map>";
    prompt.Answers.push_back(PromptAnswer::No);
    const ImportResult refused = ImportHtmlText(dir.File("p.html"), page, context);
    EXPECT_FALSE(refused.Ok);
    ASSERT_EQ(prompt.Messages.size(), 1u);
    EXPECT_EQ(prompt.Messages[0].Text,
        "The picture in this file can't be found, do you want to search for it?");
    EXPECT_EQ(prompt.Messages[0].Default, PromptAnswer::No);
    EXPECT_EQ(refused.Message,
        "There has been an error while trying to open the file. Loading has been "
        "canceled.\r\n\r\nFile : "
            + dir.File("p.html")
            + "\r\nReason : There was an error while trying to load the picture. The picture "
            + dir.File("gone.gif") + " was not found.");

    prompt.Answers.push_back(PromptAnswer::Yes);
    prompt.Files.push_back(dir.File("img/logo.gif"));
    const ImportResult found = ImportHtmlText(dir.File("p.html"), page, context);
    ASSERT_TRUE(found.Ok);
    EXPECT_EQ(found.Doc.Images[1].Src, dir.File("img/logo.gif"));

    EXPECT_FALSE(ImportHtmlFile(dir.File("no-such-page.html"), context).Ok);
}

TEST_F(HtmlImport, SavingIntoThePageTwiceKeepsEveryOtherByte)
{
    const std::string head = "<html>\n<!-- keep -->\n<p>Intro</p>\n";
    const std::string img = "<img src=\"img/logo.gif\" usemap=\"#m\">";
    const std::string map
        = "<map name=\"m\">\n<area shape=rect coords=\"1,1,5,5\" href=x.html>\n</map>";
    const std::string tail = "\n<p>Footer</p>\n</html>\n";
    const std::string file = Page("page.html", head + img + "\n" + map + tail);

    ImportResult result = ImportHtmlFile(file, context);
    ASSERT_TRUE(result.Ok);
    Adopt(result, file);
    const std::string once = SaveWithLink(file, "first.html");
    EXPECT_EQ(once.substr(0, head.size() + img.size() + 1), head + img + "\n");
    EXPECT_EQ(once.substr(once.size() - tail.size()), tail);
    EXPECT_NE(once.find("href=\"first.html\""), std::string::npos);

    EXPECT_EQ(SaveWithLink(file, "second.html"), ReplaceAll(once, "first.html", "second.html"));
}

} // namespace
} // namespace karvex
