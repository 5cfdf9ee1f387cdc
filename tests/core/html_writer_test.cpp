#include "core/formats/html_writer.h"
#include "core/formats/img_import.h"
#include "core/formats/tag_reader.h"
#include "core/formats/tag_writer.h"
#include "core/operations/document_save.h"
#include "core/operations/panel_edits.h"
#include "core/util/file_io.h"
#include "core/util/strings.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <tuple>

namespace karvex {
namespace {

constexpr const char* kImg
    = "<IMG SRC=\"photo.gif\" Width=\"200\" Height=\"100\" UseMap=\"#photo.gif\">";
constexpr const char* kRect = "<AREA SHAPE=\"RECT\" COORDS=\"10,10,50,40\" HREF=\"a.html\">";
constexpr const char* kCircle = "<AREA SHAPE=\"CIRCLE\" COORDS=\"30,30,10\">";
constexpr const char* kHeader = "\r\n\r\n<!-- Visit us at https://karvex.example.org -->\r\n";
constexpr const char* kEndComment = "<!-- End of Imagemap code -->";

class HtmlWriter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Document& doc = state.Documents.emplace_back();
        doc.Title = "Untitled1";
        doc.ImgTag = kImg;
        doc.Images[1].Src = "photo.gif";
        doc.Images[1].MapName = "photo.gif";
        doc.Images[1].MapTag = "<MAP NAME=\"photo.gif\">";
        state.CurrentDocument = 1;
        state.OpenDocuments.Add("Untitled1", "1");
    }

    Document& Doc() { return state.Documents[1]; }

    void AddSpot(const std::string& tag, bool active = true)
    {
        Hotspot& spot = Doc().Hotspots.emplace_back();
        spot.Active = active;
        spot.AreaTag = tag;
    }

    // A page as an import leaves it: the document knows its IMG tag and map block.
    std::string LoadedPage(const std::string& block)
    {
        std::string page = "<html>\r\n<body>\r\n" + std::string(kImg) + "\r\n" + block
            + "\r\n</body>\r\n</html>\r\n";
        Doc().Title = Doc().FilePath = dir.File("page.html");
        Doc().SourceImgTag = kImg;
        Doc().SourceMapCode = block;
        EXPECT_TRUE(WriteWholeFile(Doc().FilePath, page));
        return page;
    }

    SaveResult SaveBack() { return SaveDocumentFile(state, 1, Doc().FilePath, false, false); }

    AppState state;
    test::TempDir dir;
};

TEST_F(HtmlWriter, MapCodeSkipsDeletedHotspotsAndStoresWhatItWrote)
{
    EXPECT_EQ(
        GenerateMapCode(Doc(), true, false), kHeader + std::string(kImg) + "\r\n" + kEndComment);
    EXPECT_EQ(Doc().SourceMapCode, kEndComment);
    EXPECT_EQ(GenerateMapCode(Doc(), false, false), "");

    AddSpot(kRect);
    AddSpot("<AREA SHAPE=\"POLY\" COORDS=\"1,1,5,1,3,4\">", false);
    AddSpot(kCircle);
    const std::string block
        = "<MAP NAME=\"photo.gif\">\r\n" + std::string(kRect) + "\r\n" + kCircle + "\r\n</MAP>\r\n";
    EXPECT_EQ(GenerateMapCode(Doc(), false, true), block);
    EXPECT_EQ(Doc().SourceMapCode, block);
    EXPECT_EQ(Doc().SourceImgTag, kImg);

    Doc().ImgTag = std::string("  ") + kImg + " ";
    EXPECT_EQ(GetDocumentCode(Doc(), CodePart::ImgTag), kImg);
    EXPECT_EQ(GetDocumentCode(Doc(), CodePart::AreaCode), std::string(kRect) + "\r\n" + kCircle);
}

TEST_F(HtmlWriter, FreshSaveMatchesGoldenFileAndTakesTheNewName)
{
    AddSpot(kRect);
    AddSpot(kCircle, false);
    AddSpot(kCircle);
    const std::string target = dir.File("map.html");
    const SaveResult result = SaveDocumentFile(state, 1, target, true, false);
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(ApiReadFile(target), ApiReadFile(KARVEX_TEST_DATA "/html_writer/fresh_save.html"));
    EXPECT_EQ(Doc().Title, target);
    EXPECT_EQ(Doc().FilePath, target);
    EXPECT_FALSE(state.OpenDocuments.Contains("Untitled1"));
    EXPECT_EQ(state.OpenDocuments.Find(target), "1");
}

TEST_F(HtmlWriter, RebuildKeepsTheBlockShape)
{
    struct Case
    {
        const char* oldBlock;
        const char* expected;
    };
    const Case cases[] = {
        // The end comment of a fresh save is dropped; the name follows the IMG tag's USEMAP.
        { "<MAP NAME=\"old\">\r\n<AREA A>\r\n<AREA B>\r\n</MAP>\r\n<!-- End of Imagemap code -->",
            "<MAP NAME=\"photo.gif\">\r\nX\r\nY\r\n</MAP>" },
        // Everything but the AREA tags is kept byte for byte, in the block's own line ends and
        // the first AREA's indentation.
        { "<map name=\"m\" id=\"i\">\r\n<!-- a -->\r\n<area a>\r\n<area b>\r\n<!-- b -->\r\n</map>",
            "<map name=\"photo.gif\" id=\"i\">\r\n<!-- a -->\r\nX\r\nY\r\n<!-- b -->\r\n</map>" },
        { "<map name=m>\n\t<area a> <area b>\n\t<area c>\n</map>",
            "<map name=\"photo.gif\">\n\tX\n\tY\n</map>" },
        { "<map name=\"m\"><area a><area b></map>", "<map name=\"photo.gif\">X\r\nY</map>" },
        { "<MAP NAME=\"m\">\r\n<AREA A>", "<MAP NAME=\"photo.gif\">\r\nX\r\nY" },
        { "<map name=\"photo.gif\">\n  </map>", "<map name=\"photo.gif\">\n  X\n  Y\n  </map>" },
        // Comments and quoted values are opaque: a ">" or an AREA inside one is not a tag.
        { "<map name=\"m\">\n<!-- block 0 <area shape=rect coords=\"0,0,1,1\"> -->\n<area "
          "a>\n</map>",
            "<map name=\"photo.gif\">\n<!-- block 0 <area shape=rect coords=\"0,0,1,1\"> "
            "-->\nX\nY\n"
            "</map>" },
        { "<map name=m>\r\n<!-- kept for later:\r\n<area old>\r\n-->\r\n<area a>\r\n</map>",
            "<map name=\"photo.gif\">\r\n<!-- kept for later:\r\n<area old>\r\n-->\r\nX\r\nY\r\n"
            "</map>" },
        { "<map name=m>\n<script>var s = \"</map>\";</script>\n<area a>\n</map>",
            "<map name=\"photo.gif\">\n<script>var s = \"</map>\";</script>\nX\nY\n</map>" },
        { "<map title=\"x><img src=x onerror=alert(1)>\" name=\"photo.gif\">\n<area a>\n</map>",
            "<map title=\"x><img src=x onerror=alert(1)>\" name=\"photo.gif\">\nX\nY\n</map>" },
        // Without a MAP tag there is no shape to keep: the document's own block.
        { "<!-- End of Imagemap code -->", "<MAP NAME=\"photo.gif\">\r\n<AREA Z>\r\n</MAP>\r\n" },
        { "", "<MAP NAME=\"photo.gif\">\r\n<AREA Z>\r\n</MAP>\r\n" },
    };
    AddSpot("<AREA Z>"); // what the document's own block holds
    for (const auto& c : cases)
        EXPECT_EQ(RebuildMapBlock(Doc(), c.oldBlock, "X\r\nY"), c.expected) << c.oldBlock;
    // A block on one line takes the page's line end.
    EXPECT_EQ(RebuildMapBlock(Doc(), "<map name=m><area a></map>", "X\r\nY", "\n"),
        "<map name=\"photo.gif\">X\nY</map>");
}

TEST(SetAttributeInTag, SetsOrAppendsInTheFirstMatchingTag)
{
    struct Case
    {
        const char* text;
        const char* name;
        const char* tagStart;
        const char* expected;
    };
    const Case cases[] = {
        { "<IMG SRC=\"a\" Usemap=\"#x\" Width=\"5\">", "USEMAP", "<IMG",
            "<IMG SRC=\"a\" Usemap=\"v\" Width=\"5\">" },
        { "<img src=a.gif usemap=#x width=5>", "Usemap", "<IMG",
            "<img src=a.gif usemap=\"v\" width=5>" },
        { "<map name=x>", "NAME", "<map", "<map name=\"v\">" },
        { "<MAP NAME= \"x\" ID=\"i\">", "NAME", "<MAP", "<MAP NAME=\"v\" ID=\"i\">" },
        { "<MAP DATA-NAME=\"q\" NAME=\"x\">", "NAME", "<MAP", "<MAP DATA-NAME=\"q\" NAME=\"v\">" },
        { "<IMG SRC=\"a\">", "Usemap", "<IMG", "<IMG SRC=\"a\" Usemap=\"v\">" },
        { "x <img src=\"a\">\r\n<img>", "Usemap", "<IMG",
            "x <img src=\"a\" Usemap=\"v\">\r\n<img>" },
        { "<IMG SRC=\"a\"", "Usemap", "<IMG", "<IMG SRC=\"a\" Usemap=\"v\">" },
        { "<P>no picture</P>", "Usemap", "<IMG", "<P>no picture</P>" },
        // Names inside quoted values are not attributes; values in single quotes are whole.
        { "<AREA HREF=\"shape.html\" SHAPE=\"RECT\">", "SHAPE", "",
            "<AREA HREF=\"shape.html\" SHAPE=\"v\">" },
        { "<AREA onclick=\"alt=1\" ALT = 'a b' HREF=x>", "ALT", "",
            "<AREA onclick=\"alt=1\" ALT=\"v\" HREF=x>" },
        { "<IMG LOWSRC=\"s.gif\" SRC=\"a.gif\">", "SRC", "", "<IMG LOWSRC=\"s.gif\" SRC=\"v\">" },
        { "<AREA TITLE=\"HREF=y\">", "HREF", "", "<AREA TITLE=\"HREF=y\" HREF=\"v\">" },
        { "<AREA SHAPE=\"RECT\" />", "HREF", "", "<AREA SHAPE=\"RECT\" HREF=\"v\" />" },
        { "<area nohref coords=1,2,3,4/>", "alt", "", "<area nohref coords=1,2,3,4 alt=\"v\"/>" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SetAttributeInTag(c.text, c.name, "v", c.tagStart), c.expected) << c.text;
}

TEST(FindFreeMapName, SkipsNamesInAnyCase)
{
    EXPECT_EQ(FindFreeMapName(""), "KvxMap1");
    EXPECT_EQ(FindFreeMapName("<map name=\"kvxmap1\"> KVXMAP2"), "KvxMap3");
    EXPECT_EQ(FindFreeMapName("KvxMap3"), "KvxMap1");
}

TEST_F(HtmlWriter, SavingIntoThePageReplacesTheMapItWroteLastTime)
{
    const std::string before = "<html>\r\n<body>\r\n" + std::string(kImg) + "\r\n";
    const std::string after = "\r\n</body>\r\n</html>\r\n";
    LoadedPage("<map name=\"photo.gif\">\r\n<area shape=\"rect\" coords=\"0,0,1,1\">\r\n</map>");
    AddSpot(kRect);
    ASSERT_TRUE(SaveBack().Ok);
    EXPECT_EQ(ApiReadFile(Doc().FilePath),
        before + "<map name=\"photo.gif\">\r\n" + kRect + "\r\n</map>" + after);

    AddSpot(kCircle);
    ASSERT_TRUE(SaveBack().Ok);
    EXPECT_EQ(ApiReadFile(Doc().FilePath),
        before + "<map name=\"photo.gif\">\r\n" + kRect + "\r\n" + kCircle + "\r\n</map>" + after);

    // Without live hotspots the map goes and the picture loses its USEMAP.
    Doc().Hotspots[1].Active = Doc().Hotspots[2].Active = false;
    const SaveResult result = SaveBack();
    ASSERT_TRUE(result.Ok);
    EXPECT_TRUE(result.ImgTagChanged);
    EXPECT_EQ(ApiReadFile(Doc().FilePath),
        "<html>\r\n<body>\r\n<IMG SRC=\"photo.gif\" Width=\"200\" Height=\"100\" UseMap=\"\">\r\n"
            + after);
}

TEST_F(HtmlWriter, MapChangedByAnotherProgramIsReplacedOnlyWhenAsked)
{
    const std::string block = "<MAP NAME=\"photo.gif\">\r\n" + std::string(kRect) + "\r\n</MAP>";
    const std::string page = LoadedPage(block);
    const std::string edited = ReplaceAll(page, "a.html", "b.html");
    ASSERT_TRUE(WriteWholeFile(Doc().FilePath, edited));
    AddSpot(kCircle);
    const SaveResult refused = SaveBack();
    EXPECT_FALSE(refused.Ok);
    EXPECT_TRUE(refused.PageChanged);
    EXPECT_NE(refused.Error.find(Doc().FilePath), std::string::npos);
    EXPECT_EQ(ApiReadFile(Doc().FilePath), edited);
    EXPECT_EQ(Doc().SourceMapCode, block);

    // Replacing finds the page's map of the same name, whatever it holds now.
    ASSERT_TRUE(SaveDocumentFile(state, 1, Doc().FilePath, false, false, PageConflict::Replace).Ok);
    EXPECT_EQ(ApiReadFile(Doc().FilePath), ReplaceAll(page, kRect, kCircle));

    // A page that lost both the map and its picture has no place for the map.
    ASSERT_TRUE(WriteWholeFile(Doc().FilePath, "<p>gone</p>"));
    const SaveResult nowhere
        = SaveDocumentFile(state, 1, Doc().FilePath, false, false, PageConflict::Replace);
    EXPECT_FALSE(nowhere.Ok);
    EXPECT_FALSE(nowhere.PageChanged);
    EXPECT_EQ(ApiReadFile(Doc().FilePath), "<p>gone</p>");
}

TEST_F(HtmlWriter, CopiesOfTheMapInsideCommentsAreNotTheMap)
{
    const std::string block = "<MAP NAME=\"photo.gif\">\r\n" + std::string(kRect) + "\r\n</MAP>";
    const std::string backup = "<!-- backup:\r\n" + block + "\r\n-->\r\n";
    const std::string page = backup + LoadedPage(block);
    ASSERT_TRUE(WriteWholeFile(Doc().FilePath, page));
    AddSpot(kCircle);
    ASSERT_TRUE(SaveBack().Ok);
    EXPECT_EQ(ApiReadFile(Doc().FilePath),
        backup + ReplaceAll(page.substr(backup.size()), kRect, kCircle));

    // With the real map gone, the copy in the comment is no place to save into.
    ASSERT_TRUE(WriteWholeFile(Doc().FilePath, backup + "<p>map removed</p>"));
    AddSpot(kRect);
    EXPECT_TRUE(SaveBack().PageChanged);
    EXPECT_EQ(ApiReadFile(Doc().FilePath), backup + "<p>map removed</p>");
}

TEST_F(HtmlWriter, PictureWithoutMapGetsAFreeMapNameAndABlock)
{
    const std::string img = "<img src=\"photo.gif\" width=\"200\" height=\"100\">";
    const std::string path = dir.File("page.htm");
    ASSERT_TRUE(WriteWholeFile(path, "<!-- KvxMap1 -->\n<p>\n" + img + "\n</p>\n"));
    Doc().Title = Doc().FilePath = path;
    Doc().ImgTag = Doc().SourceImgTag = img;
    Doc().Images[1].MapName.clear();
    Doc().Images[1].MapTag = "<MAP NAME=\"\">";
    AddSpot(kRect);

    ASSERT_TRUE(SaveBack().Ok);
    // In the page's own line ends.
    const std::string block = "<MAP NAME=\"KvxMap2\">\n" + std::string(kRect) + "\n</MAP>";
    EXPECT_EQ(ApiReadFile(path),
        "<!-- KvxMap1 -->\n<p>\n<img src=\"photo.gif\" width=\"200\" height=\"100\" "
        "Usemap=\"#KvxMap2\">\n"
            + block + "\n</p>\n");
    EXPECT_EQ(Doc().SourceMapCode, block);
    EXPECT_EQ(GetAttribute(ParseTag(Doc().ImgTag), "USEMAP", ""), "#KvxMap2");
}

TEST_F(HtmlWriter, HostileValuesStayInsideTheirAttributesOverTwoSaves)
{
    // Quoted markup in the page's own MAP tag stays quoted and the tag keeps its bytes.
    const std::string mapTag = "<map title=\"x><img src=x onerror=alert(1)>\" name=\"photo.gif\">";
    const std::string page = LoadedPage(mapTag + "\r\n<area coords=\"0,0,1,1\">\r\n</map>");
    AddSpot(kRect);
    ASSERT_TRUE(SaveBack().Ok);
    EXPECT_EQ(ApiReadFile(Doc().FilePath), ReplaceAll(page, "<area coords=\"0,0,1,1\">", kRect));

    const std::string hostile = "x\"><img src=x onerror=alert(1)> & 'y' &copy.";
    Document& doc = Doc();
    ASSERT_FALSE(ApplyMapValue(doc, "ALTTEXT", hostile, false).Refused);
    ASSERT_FALSE(ApplyMapValue(doc, "USEMAP", "#" + hostile, false).Refused);
    ASSERT_FALSE(ApplyMapValue(doc, "data-note", hostile, false).Refused);
    SetHotspotAttribute(doc.Hotspots[1], "HREF", hostile);
    for (int save = 1; save <= 2; ++save) {
        ASSERT_TRUE(SaveBack().Ok) << save;
        const std::string saved = ApiReadFile(doc.FilePath);
        const auto count = [&saved](const char* tagStart) {
            std::size_t n = 0;
            for (std::size_t at = FindNoCase(saved, tagStart); at != std::string::npos;
                 at = FindNoCase(saved, tagStart, at + 1))
                ++n;
            return n;
        };
        // The only markup is the page's own: one picture (and the one in the quoted title), one
        // map, one area.
        EXPECT_EQ(count("<img"), 2u) << saved;
        EXPECT_EQ(count("<map"), 1u) << saved;
        EXPECT_EQ(count("<area"), 1u) << saved;
        const TagRecord img = ParseTag(doc.ImgTag);
        EXPECT_NE(saved.find(doc.ImgTag), std::string::npos);
        for (const char* name : { "ALT", "data-note" })
            EXPECT_EQ(DecodeAttributeValue(GetAttribute(img, name, "")), hostile) << name;
        EXPECT_EQ(DecodeAttributeValue(GetAttribute(img, "USEMAP", "")), "#" + hostile);
        const TagRecord map = ParseTag(doc.SourceMapCode.substr(0, doc.SourceMapCode.find('\r')));
        EXPECT_EQ(DecodeAttributeValue(GetAttribute(map, "NAME", "")), hostile);
        EXPECT_EQ(DecodeAttributeValue(GetAttribute(ParseTag(doc.Hotspots[1].AreaTag), "HREF", "")),
            hostile);
    }
}

TEST_F(HtmlWriter, PreviewCopyKeepsTheDocumentsIdentity)
{
    const std::string block = "<MAP NAME=\"photo.gif\">\r\n<AREA>\r\n</MAP>";
    LoadedPage(block);
    const std::string title = Doc().Title;
    AddSpot(kRect);
    const std::string preview = dir.File("kvx30preview.html");
    ASSERT_TRUE(SaveDocumentFile(state, 1, preview, true, true).Ok);
    EXPECT_NE(ApiReadFile(preview).find(kRect), std::string::npos);
    EXPECT_EQ(Doc().Title, title);
    EXPECT_EQ(Doc().FilePath, title);
    EXPECT_EQ(Doc().SourceMapCode, block);
    EXPECT_EQ(Doc().SourceImgTag, kImg);
    EXPECT_FALSE(state.OpenDocuments.Contains(preview));
}

TEST_F(HtmlWriter, FailedOrRefusedSavesChangeNothing)
{
    AddSpot(kRect);
    Doc().PathMode = PathModeKind::Direct;
    Doc().Images[1].Src = "/pics/photo.gif";
    const std::string missingFolder = dir.File("no/such/folder/map.html");
    const SaveResult failed = SaveDocumentFile(state, 1, missingFolder, true, false);
    EXPECT_FALSE(failed.Ok);
    EXPECT_NE(failed.Error.find(missingFolder), std::string::npos);
    EXPECT_EQ(Doc().ImgTag, kImg);
    EXPECT_EQ(Doc().Title, "Untitled1");
    EXPECT_EQ(Doc().SourceMapCode, "");
    EXPECT_TRUE(state.OpenDocuments.Contains("Untitled1"));

    // A file of an unknown kind is not emptied.
    const std::string unknown = dir.File("keep.txt");
    ASSERT_TRUE(WriteWholeFile(unknown, "keep me"));
    EXPECT_FALSE(SaveDocumentFile(state, 1, unknown, true, false).Ok);
    EXPECT_EQ(ApiReadFile(unknown), "keep me");

    const std::string existing = dir.File("keep.map");
    ASSERT_TRUE(WriteWholeFile(existing, "keep me"));

    state.OpenDocuments.Add(existing, "2");
    EXPECT_FALSE(SaveDocumentFile(state, 1, existing, true, false).Ok);
    EXPECT_EQ(ApiReadFile(existing), "keep me");
}

TEST_F(HtmlWriter, SaveBackToAVanishedPageWritesItAfresh)
{
    AddSpot(kRect);
    Doc().Title = Doc().FilePath = dir.File("gone.html");
    ASSERT_TRUE(SaveBack().Ok);
    EXPECT_EQ(ApiReadFile(Doc().FilePath), GenerateMapCode(Doc(), true, true));
}

TEST(ApplyPicturePathMode, RewritesSrcForTheTarget)
{
    struct Case
    {
        PathStyle style;
        const char* src;
        const char* target;
        PathModeKind mode;
        const char* expected;
    };
    const Case cases[] = {
        { PathStyle::Posix, "/home/ann/site/img/photo.gif", "/home/ann/site/page.html",
            PathModeKind::Relative, "img/photo.gif" },
        { PathStyle::Posix, "/home/ann/Pics/Photo.GIF", "/home/ann/site/page.html",
            PathModeKind::Relative, "../Pics/Photo.GIF" },
        { PathStyle::Posix, "/pics/a.gif", "/page.html", PathModeKind::Relative, "pics/a.gif" },
        { PathStyle::Posix, "photo.gif", "/home/ann/page.html", PathModeKind::Relative,
            "photo.gif" },
        { PathStyle::Windows, "C:\\Web\\Images\\Photo.gif", "c:\\web\\site\\page.html",
            PathModeKind::Relative, "../images/Photo.gif" },
        { PathStyle::Windows, "C:\\Web\\Site\\Photo.gif", "c:\\web\\site\\page.html",
            PathModeKind::Relative, "Photo.gif" },
        { PathStyle::Windows, "C:\\Web\\Images\\Photo.gif", "c:\\web\\site\\page.html",
            PathModeKind::Direct, "C:\\Web\\Images\\Photo.gif" },
        { PathStyle::Posix, "", "/home/ann/page.html", PathModeKind::Relative, "photo.gif" },
    };
    for (const auto& c : cases) {
        Document doc;
        doc.ImgTag = kImg;
        doc.Images[1].Src = c.src;
        ApplyPicturePathMode(doc, c.target, c.mode, c.style);
        EXPECT_EQ(GetAttribute(ParseTag(doc.ImgTag), "SRC", ""), c.expected) << c.src;
    }

    // Only the SRC attribute changes: not srcset, data-src or an ALT that mentions SRC.
    Document doc;
    doc.ImgTag = "<img alt=\"SRC=old\" data-src=\"d.gif\" srcset=\"s.gif 2x\" src=old.gif>";
    // A file name is data: its quotes and even a "&lt;" in it come back as they are.
    doc.Images[1].Src = "/site/img/a \"b\" &lt;.gif";
    ApplyPicturePathMode(doc, "/site/page.html", PathModeKind::Relative, PathStyle::Posix);
    EXPECT_EQ(doc.ImgTag,
        "<img alt=\"SRC=old\" data-src=\"d.gif\" srcset=\"s.gif 2x\" src=\"img/a "
        "&quot;b&quot; &amp;lt;.gif\">");
    EXPECT_EQ(ResolveSrcPath(GetAttribute(ParseTag(doc.ImgTag), "SRC", ""), "/site/page.html",
                  PathStyle::Posix)
                  .Path,
        doc.Images[1].Src);
}

TEST_F(HtmlWriter, RelativePathModeRewritesSrcBeforeWriting)
{
    Doc().PathMode = PathModeKind::Relative;
    Doc().Images[1].Src = dir.File("img/photo.gif");
    const std::string target = dir.File("page.html");
    const SaveResult result = SaveDocumentFile(state, 1, target, true, false);
    ASSERT_TRUE(result.Ok);
    EXPECT_TRUE(result.ImgTagChanged);
    EXPECT_NE(ApiReadFile(target).find("SRC=\"img/photo.gif\""), std::string::npos);
}

} // namespace
} // namespace karvex
