#include "core/formats/tag_reader.h"
#include "core/operations/hotspot_clipboard.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace karvex {
namespace {

Hotspot Spot(std::int32_t shape, const std::string& coords, const std::string& extra = {})
{
    Hotspot spot;
    spot.Active = true;
    spot.Shape = shape;
    spot.Coords = coords;
    spot.AreaTag
        = "<AREA SHAPE=\"" + ShapeKeyword(shape) + "\" COORDS=\"" + coords + "\"" + extra + ">";
    const Bounds box = BoundsFromCoords(ShapeKeyword(shape), coords);
    spot.X1 = box.X1;
    spot.Y1 = box.Y1;
    spot.X2 = box.X2;
    spot.Y2 = box.Y2;
    return spot;
}

TEST(HotspotClipboard, CopiesRelativeToTheBoxAndPlacesBack)
{
    struct Case
    {
        std::int32_t Shape;
        const char* Coords;
        const char* Relative;
        const char* At200x100;
    };
    const Case cases[] = {
        { ShapeRectangle, "10,20,30,40", "0,0,20,20", "200,100,220,120" },
        { ShapeCircle, "50,60,10", "10,10,10", "210,110,10" },
        { ShapePolygon, "15,5,30,25,5,25", "10,0,25,20,0,20", "210,100,225,120,200,120" },
    };
    for (const Case& c : cases) {
        const Hotspot spot = Spot(c.Shape, c.Coords, " HREF=\"a.html\" ##COLOR=\"255\"");
        const Hotspot entry = ClipboardEntry(spot);
        EXPECT_EQ(entry.Coords, c.Relative);
        EXPECT_EQ(GetAttribute(ParseTag(entry.AreaTag), "COORDS", ""), c.Relative);
        EXPECT_EQ(GetAttribute(ParseTag(entry.AreaTag), "HREF", ""), "a.html");

        const Hotspot placed = PlaceClipboardEntry(entry, 200, 100);
        EXPECT_EQ(placed.Coords, c.At200x100);
        EXPECT_EQ(GetAttribute(ParseTag(placed.AreaTag), "COORDS", ""), c.At200x100);
        EXPECT_EQ(placed.X1, 200);
        EXPECT_EQ(placed.Y1, 100);
        EXPECT_EQ(placed.X2 - placed.X1, spot.X2 - spot.X1);
    }
}

TEST(HotspotClipboard, PastesWhereTheUserLooksAndNeverOnTopOfACopy)
{
    Document doc;
    const Hotspot original = Spot(ShapeRectangle, "10,20,30,40");
    doc.Hotspots.push_back(original);
    const Hotspot entry = ClipboardEntry(original);
    const PictureArea whole { 0, 0, 400, 300 };

    // In view where it was copied from: beside the original, one step down and right.
    PictureCorner corner = PasteCorner(doc, entry, whole);
    EXPECT_EQ(corner.X, 20);
    EXPECT_EQ(corner.Y, 30);
    doc.Hotspots.push_back(PlaceClipboardEntry(entry, corner.X, corner.Y));
    corner = PasteCorner(doc, entry, whole);
    EXPECT_EQ(corner.X, 30);
    EXPECT_EQ(corner.Y, 40);

    // Scrolled away from it: near the top left of what is shown.
    corner = PasteCorner(doc, entry, { 250, 180, 400, 300 });
    EXPECT_EQ(corner.X, 260);
    EXPECT_EQ(corner.Y, 190);
    // A view smaller than the hotspot: at its corner.
    corner = PasteCorner(doc, entry, { 100, 100, 110, 105 });
    EXPECT_EQ(corner.X, 100);
    EXPECT_EQ(corner.Y, 100);
}

TEST(HotspotClipboard, OnlyOneWellFormedAreaTagIsTaken)
{
    const auto circle = HotspotFromClipboardText(
        "  <area shape=\"circle\" coords=\"30,30,10\" href=\"b.html\" ##NAME=\"Ball\">\r\n");
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->Shape, ShapeCircle);
    EXPECT_EQ(circle->Coords, "30,30,10");
    EXPECT_EQ(circle->Name, "Ball");
    EXPECT_EQ(circle->AreaTag, "<area shape=\"circle\" coords=\"30,30,10\" href=\"b.html\">");
    const auto poly = HotspotFromClipboardText("<AREA SHAPE=poly COORDS='0,0,9,0,5,8'>");
    ASSERT_TRUE(poly);
    EXPECT_TRUE(poly->Name.empty());

    const std::vector<std::string> refused = { "<area shape=poly coords=\"0,0,9,0,5\">",
        "<area shape=polygon coords=\"0,0,9,0,5,8\">", "<area shape=rect coords=\"1,2,3\">",
        "<area coords=\"1,2,3,4\">", "<img src=a.gif>", "area shape=rect coords=1,2,3,4",
        "<area shape=rect coords=1,2,3,4><area shape=rect coords=5,6,7,8>",
        "<area shape=rect coords=1,2,3,4> and text", std::string("<area\0>", 7), "",
        "<area shape=rect coords=1,2,3,4 alt=\"" + std::string(kMaxClipboardTag, 'x') + "\">" };
    for (const std::string& text : refused) {
        EXPECT_FALSE(HotspotFromClipboardText(text)) << text.substr(0, 80);
    }
}

} // namespace
} // namespace karvex
