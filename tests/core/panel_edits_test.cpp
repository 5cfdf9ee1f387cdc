#include "core/operations/panel_edits.h"
#include "core/util/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace karvex {
namespace {

TEST(PanelValues, QuotesAreRemovedAndReported)
{
    std::string value = "say \"hi\"";
    EXPECT_TRUE(CleanPanelValue(value));
    EXPECT_EQ(value, "say hi");
    EXPECT_FALSE(CleanPanelValue(value));
}

TEST(PanelValues, ColourComesFromTheLastSixCharacters)
{
    EXPECT_EQ(PanelColorValue("#FF0000"), 255);
    EXPECT_EQ(PanelColorValue("xx#00ff00"), 65280);
    EXPECT_EQ(PanelColorValue("0000FF"), 16711680);
    EXPECT_EQ(PanelColorValue("#453322"), 0x22 * 65536 + 0x33 * 256 + 0x45);
    EXPECT_FALSE(PanelColorValue("#FF00"));
    EXPECT_FALSE(PanelColorValue("#GG0000"));
}

TEST(HotspotAttributes, OwnAttributesStayInTheTagAndOthersAreListed)
{
    Hotspot spot;
    spot.AreaTag = "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" onClick=\"go('HREF=x')\">";
    SetHotspotAttribute(spot, "Href", "page.html");
    SetHotspotAttribute(spot, "onClick", "show(1>0)");
    EXPECT_EQ(spot.AreaTag,
        "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" onClick=\"show(1&gt;0)\" Href=\"page.html\">");
    EXPECT_TRUE(spot.Attributes.empty());

    SetHotspotAttribute(spot, "data-x", "1");
    SetHotspotAttribute(spot, "DATA-X", "2");
    ASSERT_EQ(spot.Attributes.size(), 1u);
    EXPECT_EQ(spot.Attributes[0].Name, "data-x");
    EXPECT_EQ(spot.Attributes[0].Value, "2");
    EXPECT_NE(spot.AreaTag.find("data-x=\"2\""), std::string::npos);
}

class MapValues : public ::testing::Test
{
protected:
    void SetUp() override
    {
        doc.ImgTag = "<IMG SRC=\"photo.gif\" Width=\"200\" Height=\"100\" UseMap=\"#photo.gif\">";
        doc.Images[1].Src = "photo.gif";
        doc.Images[1].UseMap = "#photo.gif";
        doc.Images[1].MapTag = "<MAP NAME=\"photo.gif\">";
    }
    Document doc;
};

TEST_F(MapValues, ChoicesSetServerTypeAndPathMode)
{
    EXPECT_FALSE(ApplyMapValue(doc, "ServerType", "CERN", false).Refused);
    EXPECT_EQ(doc.ServerType, 1);
    EXPECT_TRUE(ApplyMapValue(doc, "ServerType", "IIS", false).Refused);
    EXPECT_EQ(doc.ServerType, 1);
    ApplyMapValue(doc, "RelativePath", "Direct path", false);
    EXPECT_EQ(doc.PathMode, PathModeKind::Direct);
    EXPECT_EQ(PathModeText(doc.PathMode), "Direct path");
    EXPECT_EQ(ServerTypeText(doc.ServerType), "CERN");
}

TEST_F(MapValues, SizeMustBeAPositiveNumber)
{
    const MapEdit edit = ApplyMapValue(doc, "WIDTH", "320", false);
    EXPECT_TRUE(edit.SizeChanged);
    EXPECT_FALSE(edit.Reread);
    EXPECT_EQ(doc.Images[1].Width, 320);
    EXPECT_NE(doc.ImgTag.find("Width=\"320\""), std::string::npos);
    for (const char* bad : { "0", "", "-4", "12px" }) {
        const std::string before = doc.ImgTag;
        EXPECT_TRUE(ApplyMapValue(doc, "Height", bad, false).Refused) << bad;
        EXPECT_EQ(doc.ImgTag, before);
    }
}

TEST_F(MapValues, UsemapRenamesTheMapTagToo)
{
    // The name is what follows the first "#", as a browser reads it.
    const MapEdit edit = ApplyMapValue(doc, "Usemap", "#Main#", false);
    EXPECT_TRUE(edit.MapTagsChanged);
    EXPECT_TRUE(edit.Reread);
    EXPECT_EQ(doc.Images[1].UseMap, "#Main#");
    EXPECT_NE(doc.ImgTag.find("UseMap=\"#Main#\""), std::string::npos);
    EXPECT_EQ(doc.Images[1].MapTag, "<MAP NAME=\"Main#\">");

    ApplyMapValue(doc, "Usemap", "", false);
    EXPECT_EQ(doc.Images[1].UseMap, "");
    EXPECT_NE(doc.ImgTag.find("UseMap=\"\""), std::string::npos);
}

TEST_F(MapValues, UsemapTakenInThePageIsRefused)
{
    test::TempDir dir;
    const std::string own = "<MAP NAME=\"photo.gif\">\r\n</MAP>";
    WriteWholeFile(dir.File("page.html"),
        "<p>\n<map name = \"Nav\">\n</map>\n" + own + "\r\n<map\nNAME=other></map>");
    doc.FilePath = dir.File("page.html");
    doc.SourceMapCode = own;

    const MapEdit taken = ApplyMapValue(doc, "USEMAP", "nav", true);
    EXPECT_TRUE(taken.Refused);
    EXPECT_EQ(taken.Message, kUsemapTakenMessage);
    EXPECT_EQ(doc.Images[1].UseMap, "#photo.gif");
    EXPECT_TRUE(ApplyMapValue(doc, "USEMAP", "OTHER", true).Refused);
    // The document's own map may keep or take back its name; without the check anything goes.
    EXPECT_FALSE(ApplyMapValue(doc, "USEMAP", "photo.gif", true).Refused);
    EXPECT_FALSE(ApplyMapValue(doc, "USEMAP", "nav", false).Refused);
    EXPECT_EQ(doc.Images[1].UseMap, "#nav");
}

TEST_F(MapValues, OtherKeysSetTheirAttributeAndAskForARead)
{
    EXPECT_TRUE(ApplyMapValue(doc, "AltText", "A <b>", false).Reread);
    EXPECT_EQ(doc.Images[1].AltText, "A <b>");
    EXPECT_NE(doc.ImgTag.find("ALT=\"A &lt;b&gt;\""), std::string::npos);
    EXPECT_FALSE(ApplyMapValue(doc, "LowSrc", "small.gif", false).Reread);
    EXPECT_TRUE(ApplyMapValue(doc, "onClick", "go()", false).Reread);
    EXPECT_EQ(doc.ImgTag,
        "<IMG SRC=\"photo.gif\" Width=\"200\" Height=\"100\" UseMap=\"#photo.gif\" ALT=\"A "
        "&lt;b&gt;\" LOWSRC=\"small.gif\" onClick=\"go()\">");
    EXPECT_TRUE(ApplyMapValue(doc, "BorderSize", "x", false).Refused);
    ApplyMapValue(doc, "BorderSize", "2", false);
    EXPECT_EQ(doc.Images[1].Border, 2);
}

} // namespace
} // namespace karvex
