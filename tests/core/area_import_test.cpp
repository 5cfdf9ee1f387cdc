#include "core/formats/area_import.h"

#include <gtest/gtest.h>

namespace karvex {
namespace {

TEST(ReadAreaTagInto, TakesOutTheEditorsOwnAttributes)
{
    Hotspot spot;
    spot.Id = 4;
    spot.Name = "Rectangle1";
    std::string name;
    const std::string tag = "<AREA ##NAME=\"Door\" SHAPE=\"polygon\" COORDS=\"5,5,30,5,20,25\" "
                            "HREF=\"a.html\" ##COLOR=\"255\" data-x=\"1\" ##LOCKED=\"True\">";
    const std::string text = ReadAreaTagInto(spot, ParseTag(tag), &name);

    EXPECT_EQ(text,
        "<AREA SHAPE=\"polygon\" COORDS=\"5,5,30,5,20,25\" HREF=\"a.html\" "
        "data-x=\"1\">");
    EXPECT_EQ(spot.AreaTag, text);
    EXPECT_EQ(name, "Door");
    EXPECT_EQ(spot.Name, "Rectangle1");
    EXPECT_EQ(spot.Shape, ShapePolygon);
    EXPECT_EQ(spot.Color, "255");
    EXPECT_TRUE(spot.Locked);
    EXPECT_EQ(spot.X1, 5);
    EXPECT_EQ(spot.X2, 30);
    EXPECT_EQ(spot.Y2, 25);
    EXPECT_EQ(spot.Id, 4);
    ASSERT_EQ(spot.Attributes.size(), 1u);
    EXPECT_EQ(spot.Attributes[0].Name, "data-x");
    EXPECT_EQ(spot.Attributes[0].Value, "1");
}

TEST(ReadAreaTagInto, KnownAttributesStayOnlyInTheTag)
{
    Hotspot spot;
    spot.Attributes.push_back({ "old", "1" });
    const std::string tag
        = "<AREA SHAPE=RECT COORDS=1,2,3,4 TARGET=_top ONCLICK=\"go()\" INDEX=\"3\">";
    EXPECT_EQ(ReadAreaTagInto(spot, ParseTag(tag), nullptr),
        "<AREA SHAPE=RECT COORDS=1,2,3,4 TARGET=_top ONCLICK=\"go()\">");
    EXPECT_EQ(spot.Shape, ShapeRectangle);
    EXPECT_EQ(spot.Coords, "1,2,3,4");
    EXPECT_TRUE(spot.Attributes.empty());
}

} // namespace
} // namespace karvex
