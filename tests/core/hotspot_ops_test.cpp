#include "core/model/hotspot_names.h"
#include "core/operations/hotspot_ops.h"

#include <gtest/gtest.h>

namespace karvex {
namespace {

class HotspotOps : public ::testing::Test
{
protected:
    void SetUp() override
    {
        state.Documents.emplace_back();
        state.CurrentDocument = 1;
        // Rectangle1 in slot 1, Circle1 in slot 2.
        for (std::int32_t kind : { ShapeRectangle, ShapeCircle }) {
            Figure figure;
            figure.Kind = kind;
            figure.Coordinates = kind == ShapeRectangle ? "1,2,3,4" : "5,5,2";
            AddHotspotFromFigure(Doc(), state.HotspotNames, figure);
        }
    }

    Document& Doc() { return state.Documents[1]; }
    Hotspot& Spot(int slot) { return Doc().Hotspots[static_cast<std::size_t>(slot)]; }

    AppState state;
};

TEST_F(HotspotOps, RenameChecksNamesCaseBlind)
{
    ASSERT_EQ(Spot(1).Name, "Rectangle1");
    ASSERT_EQ(Spot(2).Name, "Circle1");
    EXPECT_EQ(CheckRename(state, 1, "rectangle1"), RenameCheck::Unchanged);
    EXPECT_EQ(CheckRename(state, 1, "CIRCLE1"), RenameCheck::Taken);
    EXPECT_EQ(CheckRename(state, 1, "Circle1"), RenameCheck::Taken);
    EXPECT_EQ(CheckRename(state, 1, "Door"), RenameCheck::Ok);

    DeleteHotspotRecord(state, 2); // a deleted hotspot's name is free again
    EXPECT_EQ(CheckRename(state, 1, "circle1"), RenameCheck::Ok);

    RenameHotspotRecord(state, 1, "Door");
    EXPECT_EQ(Spot(1).Name, "Door");
    EXPECT_EQ(state.HotspotNames.Find("DOOR"), 1);
    EXPECT_FALSE(state.HotspotNames.Contains("Rectangle1"));
    EXPECT_EQ(state.HotspotNames.Count(), 1u);
}

TEST_F(HotspotOps, DeleteAndItsUndo)
{
    DeleteHotspotRecord(state, 2);
    EXPECT_FALSE(Spot(2).Active);
    EXPECT_FALSE(state.HotspotNames.Contains("Circle1"));
    EXPECT_EQ(Doc().Hotspots.size(), 3u);

    RestoreHotspotRecord(state, 2);
    EXPECT_TRUE(Spot(2).Active);
    EXPECT_EQ(state.HotspotNames.Find("Circle1"), 2);

    // While deleted, its name went to another hotspot: the restored one gets a free name.
    DeleteHotspotRecord(state, 2);
    RenameHotspotRecord(state, 1, "Circle1");
    RestoreHotspotRecord(state, 2);
    EXPECT_NE(Spot(2).Name, "Circle1");
    EXPECT_EQ(state.HotspotNames.Find(Spot(2).Name), 2);
    EXPECT_EQ(state.HotspotNames.Find("Circle1"), 1);

    DeleteHotspotRecord(state, 9); // no such slot
    EXPECT_EQ(state.HotspotNames.Count(), 2u);
}

TEST(ChangeShapeRecord, WritesTheKeywordInPlace)
{
    struct Case
    {
        const char* value;
        std::int32_t shape; // 0: refused
        const char* keyword;
    };
    const Case cases[] = { { "Circle", 2, "CIRCLE" }, { "2", 2, "CIRCLE" },
        { "polygon", 3, "POLY" }, { "3", 3, "POLY" }, { "Rectangle", 1, "RECT" },
        { "1", 1, "RECT" }, { "Oval", 0, "" }, { "4", 0, "" }, { "", 0, "" }, { "RECT", 0, "" } };
    const std::string tag = "<AREA SHAPE=\"polygon\" COORDS=\"1,1,9,1,5,5\" HREF=\"a.html\">";
    for (const auto& c : cases) {
        Hotspot spot;
        spot.Shape = ShapePolygon;
        spot.AreaTag = tag;
        EXPECT_EQ(ChangeShapeRecord(spot, c.value), c.shape != 0) << c.value;
        EXPECT_EQ(spot.Shape, c.shape != 0 ? c.shape : ShapePolygon) << c.value;
        const std::string expected = c.shape != 0 ? "<AREA SHAPE=\"" + std::string(c.keyword)
                + "\" COORDS=\"1,1,9,1,5,5\" HREF=\"a.html\">"
                                                  : tag;
        EXPECT_EQ(spot.AreaTag, expected) << c.value;
    }
}

TEST(ApplyFigureChange, StoresGeometryAndShape)
{
    Hotspot spot;
    spot.Shape = ShapeRectangle;
    spot.AreaTag = "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" ALT=\"x\">";

    Figure moved;
    moved.Kind = ShapeRectangle;
    moved.Coordinates = "11,12,13,14";
    moved.Y2 = 14;
    EXPECT_FALSE(ApplyFigureChange(spot, moved));
    EXPECT_EQ(spot.AreaTag, "<AREA SHAPE=\"RECT\" COORDS=\"11,12,13,14\" ALT=\"x\">");
    EXPECT_EQ(spot.Coords, "11,12,13,14");
    EXPECT_EQ(spot.Y2, 14);

    Figure rotated = moved;
    rotated.Kind = ShapePolygon;
    rotated.Coordinates = "11,12,13,12,13,14,11,14";
    EXPECT_TRUE(ApplyFigureChange(spot, rotated));
    EXPECT_EQ(spot.Shape, ShapePolygon);
    EXPECT_EQ(spot.AreaTag, "<AREA SHAPE=\"POLY\" COORDS=\"11,12,13,12,13,14,11,14\" ALT=\"x\">");

    Figure unknown = rotated;
    unknown.Kind = 0;
    EXPECT_FALSE(ApplyFigureChange(spot, unknown));
    EXPECT_EQ(spot.Shape, ShapePolygon);
}

} // namespace
} // namespace karvex
