// Generated clean pages through a project round trip, and inputs that once broke a reader. The
// libFuzzer targets in tests/fuzz feed the readers random and mangled texts.

#include "core/formats/html_import.h"
#include "core/formats/html_writer.h"
#include "core/formats/map_file.h"
#include "core/formats/project_file.h"
#include "core/formats/tag_writer.h"
#include "core/model/app_state.h"
#include "core/util/file_io.h"
#include "core/util/strings.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace karvex {
namespace {

class ReaderFuzz : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteWholeFile(
            dir.File("pic.gif"), std::string("GIF89a\x20\x00\x10\x00", 10) + std::string(20, '\0'));
        page = dir.File("page.html");
        context.Ask = &prompt; // answers No to the question about a missing picture
        context.Style = PathStyle::Posix;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    test::TempDir dir;
    test::ScriptedPrompt prompt;
    ImportContext context;
    std::string page;

private:
    std::mt19937 m_random { 20261205 };
};

// What every reader promises about the document it returns.
void ExpectSoundDocument(const ImportResult& result)
{
    if (!result.Ok) {
        EXPECT_TRUE(result.Cancelled || result.Message.rfind(kLoadErrorMessage, 0) == 0)
            << result.Message;
        return;
    }
    const Document& doc = result.Doc;
    std::string areaTexts;
    std::set<std::string> upperNames;
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        EXPECT_TRUE(spot.Active);
        EXPECT_EQ(spot.Id, static_cast<std::int32_t>(slot));
        EXPECT_TRUE(spot.Shape >= ShapeRectangle && spot.Shape <= ShapePolygon) << spot.Shape;
        EXPECT_FALSE(Trim(spot.Name).empty());
        EXPECT_TRUE(upperNames.insert(ToUpper(spot.Name)).second) << "taken twice: " << spot.Name;
        const TagRecord tag = ParseTag(spot.AreaTag);
        for (const char* own : { "##LOCKED", "##COLOR", "##NAME", "INDEX" })
            EXPECT_EQ(GetAttribute(tag, own, "none"), "none") << spot.AreaTag;
        areaTexts += spot.AreaTag + "\r\n";
    }
    EXPECT_EQ(result.AreaTexts, areaTexts);
    EXPECT_FALSE(doc.Images[1].MapTag.empty());
}

// A well-formed page survives a project save and load unchanged.
TEST_F(ReaderFuzz, CleanPagesRoundTripThroughTheProjectFile)
{
    const char* const shapes[] = { "rect", "CIRCLE", "Poly", "default", "" };
    const char* const names[] = { "", "Door", "door", "Rectangle2", " Sun ", "a b>c" };
    for (int round = 0; round < 120; ++round) {
        std::string text = "<img src=\"pic.gif\" usemap=\"#m\">\n<map name=\"m\">\n";
        for (int i = Pick(0, 30); i > 0; --i) {
            text += "<area shape=\"" + std::string(shapes[Pick(0, 4)]) + "\" coords=\""
                + std::to_string(Pick(0, 99)) + "," + std::to_string(Pick(0, 99)) + ",50,60\"";
            if (Pick(0, 1) == 0)
                text += " ##NAME=\"" + std::string(names[Pick(0, 5)]) + "\"";
            text += Pick(0, 1) == 0 ? " href='x.html' />\n" : " alt=\"A\">\n";
        }
        text += "</map>";
        SCOPED_TRACE(text);
        const ImportResult imported = ImportHtmlText(page, text, context);
        ASSERT_TRUE(imported.Ok) << imported.Message;
        AppState state;
        state.Documents.push_back(imported.Doc);
        const ImportResult back
            = LoadProjectText(dir.File("p.kvp"), ProjectText(state.Documents[1], "now"), context);
        ASSERT_TRUE(back.Ok) << back.Message;
        ASSERT_EQ(back.Doc.Hotspots.size(), imported.Doc.Hotspots.size());
        for (std::size_t slot = 1; slot < back.Doc.Hotspots.size(); ++slot) {
            const Hotspot& was = imported.Doc.Hotspots[slot];
            const Hotspot& now = back.Doc.Hotspots[slot];
            EXPECT_EQ(now.Name, was.Name);
            EXPECT_EQ(now.AreaTag, was.AreaTag);
            EXPECT_EQ(now.Shape, was.Shape);
            EXPECT_EQ(now.Coords, was.Coords);
        }
    }
}

// The tags where setting attributes one by one does more than add them after each other.
TEST(SetAttributesInTag, EqualsSettingThemOneByOne)
{
    const char* const tags[] = { "<AREA HREF=\"a\">", "<AREA X=1 />", "<AREA X=1/>", "<AREA Y= >",
        "<AREA X=1 = >", "<AREA U=a=\" HREF=\"x=\">", "<AREA U=a=\">", "<AREA W=\"open>",
        "<AREA ##Color=5>", "<AREA>", "AREA X=1>", "<AREA X=1", "", "<AREA V='it\"s' />",
        "<AREA V=\"a\" Z=b\"c>", "<AREA X=1> after" };
    const std::vector<AttributePair> sets[] = {
        { { "##LOCKED", "x>y" }, { "##COLOR", "255" }, { "##NAME", "Door" } },
        { { "##LOCKED", "v ##NAME=1" }, { "##COLOR", "" }, { "##NAME", "a b" } },
        { { "##COLOR", "1" }, { "##color", "2" } },
        { { "##NAME", "q\"r" }, { "##COLOR", "it's" } },
    };
    for (const char* tag : tags) {
        for (const auto& set : sets) {
            std::string oneByOne = tag;
            for (const AttributePair& attribute : set)
                oneByOne = SetAttributeInTag(oneByOne, attribute.Name, attribute.Value, "");
            EXPECT_EQ(SetAttributesInTag(tag, set), oneByOne) << tag << " " << set[0].Value;
        }
    }
}

// Quotes that chain from tag to tag up to one that never closes made every tag's end search run
// to the end of the text, so reading a text of n such tags took n passes over it.
TEST_F(ReaderFuzz, QuotesChainedOverManyTagsAreReadOnce)
{
    const std::string map = "<map name=m>";
    std::string text = "<img src=pic.gif usemap=#m>" + map;
    for (int i = 0; i < 5000; ++i)
        text += "<area x=\"><area \" y=";
    text += "'";
    EXPECT_EQ(ParseTag(text).TagText, "<area \" y='");
    EXPECT_EQ(MapFileToProjectText("m.map", "# " + text + "\n").find("<AREA"), std::string::npos);
    const auto candidates = FindMapCandidates(text, false);
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].MapBlock, text.substr(text.find(map))); // a map never closed
    const ImportResult result = ImportHtmlText(page, text, context);
    ASSERT_TRUE(result.Ok) << result.Message;
    ExpectSoundDocument(result);
}

// A second IMG line starts the document afresh; the AREA texts and names of the hotspots it
// dropped were kept, so the texts named a hotspot the document did not have and the next
// hotspot could not have its own name.
TEST_F(ReaderFuzz, SecondImgLineOfAProjectDropsWhatCameBefore)
{
    const std::string img = "<IMG SRC=\"pic.gif\" USEMAP=\"#m\">\r\n";
    const std::string area = "<AREA SHAPE=\"RECT\" COORDS=\"1,1,5,5\" ##NAME=\"A\">\r\n";
    const ImportResult result
        = LoadProjectText(dir.File("p.kvp"), img + area + img + area + area, context);
    ASSERT_TRUE(result.Ok) << result.Message;
    ASSERT_EQ(result.Doc.Hotspots.size(), 3u);
    EXPECT_EQ(result.Doc.Hotspots[1].Name, "A");
    EXPECT_EQ(result.Doc.Hotspots[2].Name, "Rectangle1");
    ExpectSoundDocument(result);
}

TEST(ReaderRegression, FreeMapNameIsFoundInOnePass)
{
    std::string text;
    for (int n = 1; n <= 3000; ++n)
        text += (n % 2 == 0 ? "kvxmap" : "KVXMAP") + std::to_string(n) + " ";
    EXPECT_EQ(FindFreeMapName(text), "KvxMap3001");
    EXPECT_EQ(FindFreeMapName("KvxMap12 KvxMap2 KvxMap03"), "KvxMap3");
}

} // namespace
} // namespace karvex
