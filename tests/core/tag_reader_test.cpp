#include "core/formats/tag_reader.h"

#include <gtest/gtest.h>
#include <string>

namespace karvex {
namespace {

TEST(ParseTag, ReadsNameAndAttributesOfTheLastTag)
{
    const TagRecord area
        = ParseTag("<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=a.html TITLE=\"Say \"\"hi\">");
    EXPECT_EQ(area.TagName, "AREA");
    ASSERT_EQ(area.Attributes.size(), 5U);
    EXPECT_EQ(area.Attributes[0].Name, "");
    EXPECT_EQ(area.Attributes[0].Value, "");
    EXPECT_EQ(area.Attributes[1].Name, "SHAPE");
    EXPECT_EQ(area.Attributes[1].Value, "\"RECT\"");
    EXPECT_EQ(area.Attributes[3].Name, "HREF");
    EXPECT_EQ(area.Attributes[3].Value, "a.html");
    EXPECT_EQ(area.Attributes[4].Value, "\"Say \"");
    EXPECT_EQ(GetAttribute(area, "coords", "x"), "1,2,3,4");
    EXPECT_EQ(GetAttribute(area, "Title", "x"), "Say ");
    EXPECT_EQ(GetAttribute(area, "TARGET", "_self"), "_self");

    const TagRecord last = ParseTag("<A HREF=\"x\">y</A>\r\n<IMG SRC=\"b.gif\" ALT=1 ALT=2>");
    EXPECT_EQ(last.TagText, "<IMG SRC=\"b.gif\" ALT=1 ALT=2>");
    EXPECT_EQ(last.TagName, "IMG");
    EXPECT_EQ(GetAttribute(last, "alt", ""), "1");

    // A tag laid out over several lines.
    const TagRecord lines = ParseTag("<area\r\nshape=\"rect\"\r\n\tcoords=\"1,2,3,4\">");
    EXPECT_EQ(lines.TagName, "area");
    ASSERT_EQ(lines.Attributes.size(), 3U);
    EXPECT_EQ(lines.Attributes[2].Name, "coords");

    // A value glued to the next attribute still yields both names.
    const TagRecord glued = ParseTag("<A HREF=\"x\"ALT=\"y\">");
    ASSERT_EQ(glued.Attributes.size(), 3U);
    EXPECT_EQ(glued.Attributes[2].Name, "ALT");

    const TagRecord open = ParseTag("<AREA SHAPE=RECT");
    EXPECT_EQ(open.TagText, "<AREA SHAPE=RECT");
    EXPECT_EQ(GetAttribute(open, "shape", ""), "RECT");

    const TagRecord none = ParseTag("no tag here");
    EXPECT_EQ(none.TagText, "");
    EXPECT_EQ(none.Attributes.size(), 1U);
}

TEST(ParseTag, ReadsPagesAsBrowsersDo)
{
    // Blanks around "=", single quotes, no quotes, a ">" inside a quoted script.
    const TagRecord img = ParseTag("<img src = 'my pic.gif' USEMAP=#nav alt=\"a > b\" "
                                   "onclick='go(\"x\")' ismap>");
    EXPECT_EQ(img.TagText.back(), '>');
    EXPECT_EQ(GetAttribute(img, "SRC", ""), "my pic.gif");
    EXPECT_EQ(GetAttribute(img, "usemap", ""), "#nav");
    EXPECT_EQ(GetAttribute(img, "ALT", ""), "a > b");
    EXPECT_EQ(GetAttribute(img, "onClick", ""), "go(\"x\")"); // the script keeps its quotes
    ASSERT_EQ(img.Attributes.size(), 5U);
    EXPECT_EQ(img.Attributes[1].Name, "src");
    EXPECT_EQ(img.Attributes[1].Value, "'my pic.gif'");

    // A quote that is never closed does not swallow the rest of the page.
    const std::string page = "<area alt=\"open coords=1,2,3,4>\n<p>text</p>";
    EXPECT_EQ(FindTagEnd(page, 0), page.find('>'));
}

TEST(ParseTag, TagNameRules)
{
    const std::pair<std::string, std::string> cases[] = {
        { "<AREA>", "AREA" },
        { "<map name=m>", "map" },
        { std::string("<AR\0EA SHAPE=x>", 15), "AREA" },
        { "<\r\nAREA\tSHAPE=x>", "AREA" },
        { "<\nIMG\n>", "IMG" },
        { "< AREA>", "" },
        { "<", "" },
    };
    for (const auto& [text, name] : cases)
        EXPECT_EQ(ParseTag(text).TagName, name) << text;
}

TEST(UrlDecode, PlusThenPercentEscapes)
{
    const std::pair<std::string, std::string> cases[] = {
        { "a+b", "a b" },
        { "%20", " " },
        { "%41%42c", "ABc" },
        { "%e9", "\xe9" },
        { "%2541", "%41" },
        { "%2B", "+" },
        { "%%41", "%A" },
        { "100%", "100%" },
        { "%4", "%4" },
        { "%G1", "%G1" },
        { "%00", std::string(1, '\0') },
        { "file:///C:/My%20Pics/a+b.gif", "file:///C:/My Pics/a b.gif" },
    };
    for (const auto& [text, decoded] : cases)
        EXPECT_EQ(UrlDecode(text), decoded) << text;
}

} // namespace
} // namespace karvex
