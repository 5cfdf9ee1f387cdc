// Random and mangled pages, projects and map files through the readers: no exception, no read
// past the end (checked by the sanitizer build), and the invariants below hold for any input.

#include "core/formats/file_io.h"
#include "core/formats/html_import.h"
#include "core/formats/html_writer.h"
#include "core/formats/map_file.h"
#include "core/formats/project_file.h"
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

const std::string kFragments[] = { "<img", "<IMG ", "<map name=", "<MAP NAME=\"m\">", "</map>",
    "</MAP>", "<area shape=", "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" ",
    "<area shape=circle coords=\"5,5,3\" href=x>", "##NAME=\"Roof\" ", "##name=roof ", "INDEX=2 ",
    "\"", "'", "=", ">", "<", "<!--", "-->", std::string(1, '\0'), "\xFF", "\xE9", "\r\n", "\n",
    "\r", " ", "\t", "usemap=#m ", "usemap=\"#M\" ", "src=pic.gif ", "src=\"pic.gif\" ", "name=m",
    "coords=", "href=\"a.html\" ", "shape=default ", "#", "rect ", "circle ", "poly ", "1,2 ",
    "(3,4) ", "default x", "<KVX RelativeURL=1>", "<Zozivirera>", "# <IMG Src=\"pic.gif\">",
    "# <IMG Width=\"20\">", "KvxMap1", "z=\"3>4\"" };

// A page a browser would show a map for, to be mangled.
const char* const kPages[] = {
    "<html><body><img src=\"pic.gif\" usemap=\"#m\" width=20>\n<map name=\"m\">\n"
    "<area shape=\"rect\" coords=\"1,2,30,40\" href=\"a.html\" alt=\"A\">\n"
    "<AREA SHAPE=CIRCLE COORDS=\"20,20,15\" HREF='q.html' data-x=1>\n"
    "<Area Shape=\"poly\" Coords=\"1,2,30,4,5,60\" ##NAME=\"Roof\" ##COLOR=\"255\" "
    "##LOCKED=\"True\" INDEX=3>\n<area shape=rect coords=\"5,5,6,6\" ##name=roof>\n</map>\n",
    "<MAP NAME=M><!-- <area shape=rect coords=0,0,1,1> --><area shape=default href=x>"
    "<area coords=1,2,3,4 href=y></MAP><IMG SRC=pic.gif USEMAP=#M><img src=pic.gif>",
};

class ReaderFuzz : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteWholeFile(dir.File("pic.gif"), "GIF89a\x20\x00\x10\x00" + std::string(20, '\0'));
        page = dir.File("page.html");
        context.Ask = &prompt; // answers No to the question about a missing picture
        context.Style = PathStyle::Posix;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    std::string RandomText()
    {
        std::string text;
        for (int parts = Pick(0, 40); parts > 0; --parts) {
            text += kFragments[Pick(0, static_cast<int>(std::size(kFragments)) - 1)];
            if (Pick(0, 5) == 0)
                text += static_cast<char>(Pick(0, 255));
        }
        return text;
    }

    std::string MangledPage()
    {
        std::string text = kPages[Pick(0, static_cast<int>(std::size(kPages)) - 1)];
        for (int edits = Pick(0, 6); edits > 0 && !text.empty(); --edits) {
            const auto at = static_cast<std::size_t>(Pick(0, static_cast<int>(text.size()) - 1));
            switch (Pick(0, 3)) {
            case 0:
                text.erase(at, static_cast<std::size_t>(Pick(1, 8)));
                break;
            case 1:
                text.insert(at, kFragments[Pick(0, static_cast<int>(std::size(kFragments)) - 1)]);
                break;
            case 2:
                text[at] = static_cast<char>(Pick(0, 255));
                break;
            default:
                text.resize(at);
            }
        }
        return text;
    }

    std::string Text(int round) { return round % 2 == 0 ? RandomText() : MangledPage(); }

    // One tag, mostly well formed, with the odd forms attribute setters must keep apart.
    std::string RandomTag()
    {
        static const char* const parts[]
            = { " HREF=\"a.html\"", " alt='x'", " X=1", " NOHREF", " Y= ", " =\"q\"", " Z=a\"b",
                  " W=\"open", " ##Color=5", " onclick=\"f('>')\"", " /", " ", "\t", "\r\n",
                  " data-x=\"1\" ", " V='it\"s'", " ##name=n", " =", " U=a=\"", " Q=\"x=\"" };
        std::string tag = Pick(0, 9) == 0 ? "AREA" : "<AREA";
        for (int n = Pick(0, 5); n > 0; --n)
            tag += parts[Pick(0, static_cast<int>(std::size(parts)) - 1)];
        if (Pick(0, 5) != 0)
            tag += ">";
        if (Pick(0, 9) == 0)
            tag += " and <b>more</b>";
        return tag;
    }

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
        const TagRecord tag = ParseTag(spot.AreaTag, "");
        for (const char* own : { "##LOCKED", "##COLOR", "##NAME", "INDEX" })
            EXPECT_EQ(GetAttribute(tag, own, "none"), "none") << spot.AreaTag;
        areaTexts += spot.AreaTag + "\r\n";
    }
    EXPECT_EQ(result.AreaTexts, areaTexts);
    EXPECT_FALSE(doc.Images[1].MapTag.empty());
}

TEST_F(ReaderFuzz, PageImportKeepsItsPromises)
{
    for (int round = 0; round < 1000; ++round) {
        const std::string text = Text(round);
        SCOPED_TRACE(::testing::PrintToString(text));

        const auto all = FindMapCandidates(text, true);
        const auto mapped = FindMapCandidates(text, false);
        std::size_t next = 0; // the candidates with a map are those of all that have USEMAP
        for (const MapCandidate& candidate : all) {
            EXPECT_NE(text.find(candidate.ImgTag), std::string::npos);
            EXPECT_EQ(FindNoCase(candidate.ImgTag, "<img"), 0u);
            EXPECT_EQ(candidate.MapFound, !candidate.MapBlock.empty());
            if (candidate.MapFound) {
                EXPECT_EQ(FindNoCase(candidate.MapBlock, "<map"), 0u);
                EXPECT_NE(text.find(candidate.MapBlock), std::string::npos);
            }
            if (candidate.Kind == 0) {
                EXPECT_FALSE(candidate.MapFound);
                continue;
            }
            EXPECT_EQ(candidate.Kind, 2);
            ASSERT_LT(next, mapped.size());
            EXPECT_EQ(mapped[next++].ImgTag, candidate.ImgTag);
        }
        EXPECT_EQ(next, mapped.size());

        context.SearchWithoutMap = round % 3 == 0;
        context.ChooseMap = nullptr;
        if (round % 4 == 1) {
            context.ChooseMap
                = [](const std::vector<MapCandidate>& list) { return CandidateKey(list.back()); };
        }
        const ImportResult result = ImportHtmlText(page, text, context);
        ExpectSoundDocument(result);
        if (result.Ok) {
            EXPECT_NE(text.find(result.Doc.SourceMapCode), std::string::npos);
            EXPECT_EQ(result.Doc.SourceImgTag, result.Doc.ImgTag);
            EXPECT_NE(text.find(result.Doc.ImgTag), std::string::npos);
        }
    }
}

TEST_F(ReaderFuzz, ProjectAndMapFileReadersKeepTheirPromises)
{
    for (int round = 0; round < 1000; ++round) {
        const std::string text = Text(round);
        SCOPED_TRACE(::testing::PrintToString(text));
        ExpectSoundDocument(LoadProjectText(dir.File("p.kvp"), text, context));

        // Every line that names a shape (and is no comment) becomes one AREA line.
        const std::string project = MapFileToProjectText(dir.File("m.map"), text);
        const auto lines = Split(project, "\r\n");
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0].rfind("<IMG SRC=\"", 0), 0u);
        EXPECT_EQ(lines[1], "<MAP NAME=\"m.map\">");
        EXPECT_EQ(lines.back(), "</MAP>");
        std::size_t shapeLines = 0;
        for (std::string line : Split(text, "\n")) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            for (char& ch : line)
                ch = ch == '\r' || ch == '\t' || ch == '\v' || ch == '\f' ? ' ' : ch;
            bool shape = false;
            for (const char* word :
                { "poly ", "polygon ", "circle ", "circ ", "rect ", "rectangle " })
                shape = shape || FindNoCase(line, word) != std::string::npos;
            shapeLines += !line.empty() && line.front() != '#' && shape ? 1 : 0;
        }
        EXPECT_EQ(lines.size() - 3, shapeLines);
        for (std::size_t i = 2; i + 1 < lines.size(); ++i)
            EXPECT_EQ(lines[i].rfind("<AREA SHAPE=\"", 0), 0u) << lines[i];
        ExpectSoundDocument(LoadProjectText(dir.File("m.map"), project, context));
    }
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
            = LoadProjectText(dir.File("p.kvp"), ProjectText(state, 1, "now"), context);
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

// The shortcuts the readers take give what the plain functions give.
TEST_F(ReaderFuzz, ShortcutsAgreeWithThePlainFunctions)
{
    // After a tag whose quotes run into one never closed, a later tag still ends at its own
    // ">" and not at the first one after it.
    const std::string chained = "<a x=\"1\" y='> <b z=\"3>4\"> <c w=\"5\"=\"6>7\">";
    for (int round = -1; round < 1000; ++round) {
        const std::string text = round < 0 ? chained : Text(round);
        SCOPED_TRACE(::testing::PrintToString(text));
        // A memo shared by the tags of a text, in page order and in any order.
        TagEndMemo inOrder;
        TagEndMemo anyOrder;
        for (std::size_t at = text.find('<'); at != std::string::npos;
             at = text.find('<', at + 1)) {
            const std::size_t end = FindTagEnd(text, at);
            EXPECT_EQ(FindTagEnd(text, at, inOrder), end);
            const auto other = static_cast<std::size_t>(Pick(0, static_cast<int>(text.size())));
            EXPECT_EQ(FindTagEnd(text, other, anyOrder), FindTagEnd(text, other));
            const std::string_view tag = std::string_view(text).substr(
                at, end == std::string::npos ? std::string::npos : end + 1 - at);
            const TagRecord one = ParseOneTag(tag, "C:\\TEMP\\");
            const TagRecord plain = ParseTag(tag, "C:\\TEMP\\");
            EXPECT_EQ(one.TagText, plain.TagText);
            EXPECT_EQ(one.TagName, plain.TagName);
            EXPECT_EQ(one.LinkValue, plain.LinkValue);
            ASSERT_EQ(one.Attributes.size(), plain.Attributes.size());
            for (std::size_t i = 0; i < one.Attributes.size(); ++i) {
                EXPECT_EQ(one.Attributes[i].Name, plain.Attributes[i].Name);
                EXPECT_EQ(one.Attributes[i].Value, plain.Attributes[i].Value);
            }
        }

        // Setting several attributes at once equals setting them one by one.
        const std::string values[]
            = { "True", "", "255", "a b", "x>y", "it's", "q\"r", "=", "v ##NAME=1" };
        const AttributePair set[]
            = { { "##LOCKED", values[Pick(0, 8)] }, { "##COLOR", values[Pick(0, 8)] },
                  { Pick(0, 5) == 0 ? "##color" : "##NAME", values[Pick(0, 8)] } };
        const std::string tag = round % 2 == 0 ? RandomTag() : text;
        std::string oneByOne = tag;
        for (const AttributePair& attribute : set)
            oneByOne = SetAttributeInTag(oneByOne, attribute.Name, attribute.Value, "");
        EXPECT_EQ(SetAttributesInTag(tag, set), oneByOne) << tag;
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
    EXPECT_EQ(ParseTag(text, "").TagText, "<area \" y='");
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
