#include "core/model/hotspot_names.h"
#include "core/model/records.h"

#include <array>
#include <gtest/gtest.h>

namespace karvex {
namespace {

TEST(ConvertShape, KeywordsToNumbersAndBack)
{
    struct Case
    {
        const char* text;
        const char* number;
    };
    const Case cases[] = { { "RECT", "1" }, { "rect", "1" }, { "Circle", "2" }, { "POLY", "3" },
        { "polygon", "3" }, { "PolyGon", "3" }, { "square", "" }, { "", "" }, { "RECTANGLE", "1" },
        { "circ", "2" } };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertShape(c.text, true), c.number) << c.text;

    EXPECT_EQ(ConvertShape("1", false), "Rectangle");
    EXPECT_EQ(ConvertShape("2", false), "Circle");
    EXPECT_EQ(ConvertShape("3", false), "Polygon");
    EXPECT_EQ(ConvertShape("4", false), "");
    EXPECT_EQ(ConvertShape("x", false), "");

    // A polygon read as POLYGON in any case is written back as POLY.
    EXPECT_EQ(ShapeKeyword(ShapeFromKeyword("pOlYgOn")), "POLY");
    EXPECT_EQ(ShapeFromKeyword("oval"), 0);
}

TEST(BoundsFromCoords, EachShape)
{
    struct Case
    {
        const char* Shape;
        const char* Coords;
        std::array<std::int32_t, 4> Box; // X1, Y1, X2, Y2
    };
    const Case cases[] = {
        { "rect", "10,20,30,40", { 10, 20, 30, 40 } },
        { "POLYGON", "50,5,10,60,30,20", { 10, 5, 50, 60 } },
        { "CIRCLE", "100,80,25", { 75, 55, 125, 105 } },
        // Short or unreadable coordinate texts give zeros rather than failing.
        { "RECT", "7", { 7, 0, 0, 0 } },
        { "oval", "1,2,3,4", { 0, 0, 0, 0 } },
    };
    for (const Case& c : cases) {
        const Bounds box = BoundsFromCoords(c.Shape, c.Coords);
        EXPECT_EQ((std::array { box.X1, box.Y1, box.X2, box.Y2 }), c.Box) << c.Shape << c.Coords;
    }
}

TEST(Colors, HtmlFormBothWays)
{
    EXPECT_EQ(ColorToHtml("255"), "#FF0000");
    EXPECT_EQ(ColorToHtml("65280"), "#00FF00");
    EXPECT_EQ(ColorToHtml("16711680"), "#0000FF");
    EXPECT_EQ(ColorToHtml("1193046"), "#563412"); // 0x123456: blue 12, green 34, red 56
    EXPECT_EQ(ColorToHtml(""), "#000000");

    EXPECT_EQ(HtmlToColor("FF0000", ","), "255,0,0");
    EXPECT_EQ(HtmlToColor("0a0B0c", "|"), "10|11|12");
    EXPECT_EQ(HtmlToColor("FF00", ","), "");
    EXPECT_EQ(HtmlToColor("GG0000", ","), "");
}

TEST(KeyedCollection, CaseBlindKeysKeepOrderAcrossRemoval)
{
    KeyedCollection<int> names;
    EXPECT_TRUE(names.Add("Rectangle1", 1));
    EXPECT_TRUE(names.Add("Circle2", 2));
    EXPECT_TRUE(names.Add("Polygon3", 3));
    EXPECT_FALSE(names.Add("RECTANGLE1", 9));
    EXPECT_TRUE(names.Contains("circle2"));
    EXPECT_TRUE(names.Remove("CIRCLE2"));
    EXPECT_FALSE(names.Contains("Circle2"));
    ASSERT_EQ(names.Count(), 2u);
    EXPECT_EQ(names.Entries()[1].Key, "Polygon3");
    EXPECT_EQ(names.Find("polygon3"), 3);
    EXPECT_FALSE(names.Find("Circle2").has_value());
}

Figure MakeFigure(std::int32_t kind, const std::string& coords)
{
    Figure figure;
    figure.Kind = kind;
    figure.Coordinates = coords;
    figure.Color = 255;
    const Bounds box = BoundsFromCoords(ShapeKeyword(kind), coords);
    figure.X1 = box.X1;
    figure.Y1 = box.Y1;
    figure.X2 = box.X2;
    figure.Y2 = box.Y2;
    return figure;
}

TEST(NewHotspots, SlotsAndNamesFollowDeletions)
{
    Document doc;
    HotspotNameTable names;

    EXPECT_EQ(AddHotspotFromFigure(doc, names, MakeFigure(1, "1,2,3,4")), 1);
    EXPECT_EQ(AddHotspotFromFigure(doc, names, MakeFigure(2, "5,5,2")), 2);
    EXPECT_EQ(AddHotspotFromFigure(doc, names, MakeFigure(1, "0,0,9,9")), 3);
    EXPECT_EQ(doc.Hotspots[1].Name, "Rectangle1");
    // The number counts from the live count, not per shape.
    EXPECT_EQ(doc.Hotspots[2].Name, "Circle1");
    EXPECT_EQ(doc.Hotspots[3].Name, "Rectangle2");
    EXPECT_EQ(doc.Hotspots[2].AreaTag, "<AREA SHAPE=\"CIRCLE\" COORDS=\"5,5,2\">");
    EXPECT_EQ(doc.Hotspots[2].Color, "255");
    EXPECT_EQ(doc.Hotspots[2].Id, 2);
    EXPECT_EQ(doc.Hotspots[3].X2, 9);

    // Deleting Rectangle1 frees its slot; the name search starts at the live count.
    doc.Hotspots[1].Active = false;
    names.Remove("Rectangle1");
    const auto next = NextHotspotNumber(names, ShapeRectangle);
    EXPECT_EQ(next.Slot, 1);
    EXPECT_EQ(next.Name, "Rectangle3");

    doc.Hotspots[1].Attributes.push_back({ "data-x", "1" });
    EXPECT_EQ(AddHotspotFromFigure(doc, names, MakeFigure(3, "1,1,5,1,3,4")), 1);
    EXPECT_TRUE(doc.Hotspots[1].Active);
    EXPECT_EQ(doc.Hotspots[1].Name, "Polygon2");
    EXPECT_EQ(doc.Hotspots[1].AreaTag, "<AREA SHAPE=\"POLY\" COORDS=\"1,1,5,1,3,4\">");
    EXPECT_TRUE(doc.Hotspots[1].Attributes.empty()) << "a reused slot starts clean";
    EXPECT_EQ(doc.Hotspots.size(), 4u);
}

TEST(NewHotspots, HighNumberedNameDoesNotHoldBackLowOnes)
{
    HotspotNameTable names;
    EXPECT_EQ(NextHotspotNumber(names, ShapeRectangle).Name, "Rectangle1");
    EXPECT_EQ(NextHotspotNumber(names, ShapeRectangle).Slot, 1);

    // The only rectangle deleted: its name is given out again.
    names.Add("Rectangle1", 1);
    names.Remove("Rectangle1");
    EXPECT_EQ(NextHotspotNumber(names, ShapeRectangle).Name, "Rectangle1");

    names.Add("Rectangle12", 1);
    // With one live hotspot the count starts at 1, and Rectangle1 is free.
    EXPECT_EQ(NextHotspotNumber(names, ShapeRectangle).Name, "Rectangle1");
    EXPECT_EQ(NextHotspotNumber(names, ShapeRectangle).Slot, 2);

    names.Add("Circle1", 2);
    names.Add("rectangle3", 3);
    // Three live hotspots: the search starts at 3, and rectangle3 blocks Rectangle3.
    EXPECT_EQ(NextHotspotNumber(names, ShapeRectangle).Name, "Rectangle4");
    EXPECT_EQ(NextHotspotNumber(names, ShapeRectangle).Slot, 4);
}

TEST(MakeHotspotName, JumpsPastTheLiveCount)
{
    HotspotNameTable names;
    std::int32_t start = 1;
    EXPECT_EQ(MakeHotspotName(names, ShapeCircle, start), "Circle1");
    EXPECT_EQ(start, 1);

    names.Add("Circle1", 1);
    names.Add("Circle2", 2);
    names.Add("Circle5", 3);
    // limit = 4: 1 is taken and below the limit, so the next try is 5, then 6.
    start = 1;
    EXPECT_EQ(MakeHotspotName(names, ShapeCircle, start), "Circle6");
    EXPECT_EQ(start, 6);

    start = 3;
    EXPECT_EQ(MakeHotspotName(names, ShapeCircle, start), "Circle3");
    start = 2;
    EXPECT_EQ(MakeHotspotName(names, ShapePolygon, start), "Polygon2");
}

} // namespace
} // namespace karvex
