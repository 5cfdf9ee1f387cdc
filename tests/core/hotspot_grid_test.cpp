#include "core/model/hotspot_names.h"
#include "core/operations/hotspot_grid.h"
#include "core/util/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace karvex {
namespace {

// The grid a wizard run makes, read back into records as the document gets them.
std::vector<Hotspot> Generate(const GridRequest& request)
{
    const GridCode grid = GenerateGridCode(request);
    std::vector<Hotspot> spots = ReadGridHotspots(grid.Code);
    EXPECT_EQ(spots.size(), grid.Names.size());
    for (std::size_t i = 0; i < spots.size() && i < grid.Names.size(); ++i)
        EXPECT_EQ(spots[i].Name, grid.Names[i]) << "the name check saw another name";
    return spots;
}

GridRequest RectangleGrid(const std::string& coords = "0,0,40,20")
{
    GridRequest request;
    request.Template = { coords, ShapeRectangle };
    request.CodeTemplate = GridCodeTemplate(ShapeRectangle, {});
    request.Numbers.FirstIndex = 1;
    return request;
}

TEST(HotspotGrid, ThreeByThreeRectanglesRowByRow)
{
    GridRequest request = RectangleGrid();
    request.CodeTemplate = GridCodeTemplate(ShapeRectangle, { { "Href", "page%INDEX%.htm" } });
    const GridCode grid = GenerateGridCode(request);
    EXPECT_EQ(grid.Code.substr(0, grid.Code.find("\r\n")),
        "<AREA SHAPE=\"RECT\" COORDS=10,10,50,30 Href=\"page1.htm\" ##LOCKED=FALSE ##COLOR=0 "
        "##NAME=myHotspot1>");

    // Every box of this grid is checked through the wizard's own suite; here the last one.
    const std::vector<Hotspot> spots = Generate(request);
    ASSERT_EQ(spots.size(), 9u);
    EXPECT_EQ(spots[8].Coords, "96,56,136,76");
    EXPECT_EQ(spots[8].Name, "myHotspot9");
    EXPECT_EQ(spots[8].Shape, ShapeRectangle);
    // The editor's own attributes are taken out of the tag; the link stays.
    EXPECT_EQ(spots[4].AreaTag, "<AREA SHAPE=\"RECT\" COORDS=53,33,93,53 Href=\"page5.htm\">");
    EXPECT_EQ(spots[4].X1, 53);
    EXPECT_EQ(spots[4].Y2, 53);
}

TEST(HotspotGrid, CirclesAndPolygonsStepByTheirExtent)
{
    GridRequest circles = RectangleGrid();
    circles.Template = { "15,15,15", ShapeCircle };
    circles.CodeTemplate = GridCodeTemplate(ShapeCircle, {});
    circles.Color = 255;
    circles.Locked = true;
    const std::vector<Hotspot> round = Generate(circles);
    ASSERT_EQ(round.size(), 9u);
    EXPECT_EQ(round[0].Coords, "25,25,15");
    EXPECT_EQ(round[1].Coords, "58,25,15");
    EXPECT_EQ(round[3].Coords, "25,58,15");
    EXPECT_EQ(round[0].Shape, ShapeCircle);
    EXPECT_EQ(round[0].Color, "255");
    EXPECT_TRUE(round[0].Locked);

    EXPECT_EQ(GetHotspotInfo("0,0,30,0,15,25", true), 30);
    EXPECT_EQ(GetHotspotInfo("0,0,30,0,15,25", false), 25);
    GridRequest polygons = RectangleGrid();
    polygons.Template = { "0,0,30,0,15,25", ShapePolygon };
    polygons.CodeTemplate = GridCodeTemplate(ShapePolygon, {});
    const std::vector<Hotspot> pointed = Generate(polygons);
    ASSERT_EQ(pointed.size(), 9u);
    EXPECT_EQ(pointed[0].Coords, "10,10,40,10,25,35");
    EXPECT_EQ(pointed[1].Coords, "43,10,73,10,58,35");
    EXPECT_EQ(pointed[0].Shape, ShapePolygon);
}

TEST(HotspotGrid, OffsetRoundsHalvesToEven)
{
    // A circle's centre and radius, and a rectangle's first corner only.
    EXPECT_EQ(OffsetCoords("2.5,3.5,4.5", 0, 0), "2,4,4");
    EXPECT_EQ(OffsetCoords("0.5,1.5,2.5,3.5", 1, 1), "2,2,3.5,4.5");
    EXPECT_EQ(OffsetCoords("0,0,10,0,5,5", -20, 3), "-20,3,-10,3,-15,8");
    // Far past any picture the values stop at the coordinate limit instead of overflowing.
    EXPECT_EQ(OffsetCoords("0,0,40,20", 9999999, 0), "1000000,0,1000000,20");
}

TEST(HotspotGrid, NamePatterns)
{
    GridRequest request = RectangleGrid();
    request.NameTemplate = "Door";
    EXPECT_EQ(GenerateGridCode(request).Names.front(), "Door1");

    request.NameTemplate = "door%index%";
    EXPECT_EQ(GenerateGridCode(request).Names.front(), "door%index%1");

    request.NameTemplate = "Seat%INDEX%";
    request.Numbers.FirstIndex = 5;
    request.Numbers.Columns = 2;
    request.Numbers.Rows = 2;
    EXPECT_EQ(GenerateGridCode(request).Names,
        (std::vector<std::string> { "Seat5", "Seat6", "Seat7", "Seat8" }));

    // A name the tag could not carry bare is quoted and still comes back whole.
    request.NameTemplate = "Room \"%INDEX%\" & <b>";
    EXPECT_EQ(Generate(request).front().Name, "Room \"5\" & <b>");
}

TEST(HotspotGrid, EmptyGridAndNameClashes)
{
    GridRequest request = RectangleGrid();
    request.Numbers.Columns = 0;
    EXPECT_TRUE(GenerateGridCode(request).Code.empty());

    request.Numbers.Columns = 3;
    const GridCode grid = GenerateGridCode(request);
    HotspotNameTable names;
    names.Add("Rectangle1", 1);
    names.Add("myHotspot", 2);
    names.Add("myHotspot10", 3);
    EXPECT_FALSE(GridNamesClash(names, grid.Names));
    names.Add("MYHOTSPOT4", 4);
    EXPECT_TRUE(GridNamesClash(names, grid.Names));
}

TEST(HotspotGrid, CodeTemplateAsPreviewed)
{
    EXPECT_EQ(GridCodeTemplate(ShapeRectangle, { { "Href", "index.htm" }, { "Alt", "" } }),
        "<AREA SHAPE=\"RECT\" COORDS=%COORDS% Href=\"index.htm\" Alt=\"\">");
    EXPECT_EQ(GridCodeTemplate(ShapeCircle, {}), "<AREA SHAPE=\"CIRCLE\" COORDS=%COORDS%>");
    // A value cannot end the tag early: its quote and angle bracket are encoded.
    GridRequest request = RectangleGrid();
    request.CodeTemplate
        = GridCodeTemplate(ShapeRectangle, { { "OnClick", "go(\"a>b\")" }, { "Alt", "x" } });
    const std::vector<Hotspot> spots = Generate(request);
    ASSERT_EQ(spots.size(), 9u);
    EXPECT_EQ(spots[0].AreaTag,
        "<AREA SHAPE=\"RECT\" COORDS=10,10,50,30 OnClick=\"go(&quot;a&gt;b&quot;)\" Alt=\"x\">");
}

TEST(HotspotGrid, TemplateRelativeToItsOrigin)
{
    Hotspot rectangle;
    rectangle.Shape = ShapeRectangle;
    rectangle.Coords = "30,40,70,60";
    EXPECT_EQ(TakeTemplate(rectangle, 30, 40).Coords, "0,0,40,20");
    Hotspot circle;
    circle.Shape = ShapeCircle;
    circle.Coords = "50,60,10";
    EXPECT_EQ(TakeTemplate(circle, 40, 50).Coords, "10,10,10");
    Hotspot polygon;
    polygon.Shape = ShapePolygon;
    polygon.Coords = "5,5,35,5,20,30";
    EXPECT_EQ(TakeTemplate(polygon, 5, 5).Coords, "0,0,30,0,15,25");
}

TEST(HotspotGrid, NumbersInTheSettingsFile)
{
    test::TempDir home;
    const std::string path = home.File("kvx.ini");
    WriteWholeFile(path, "[HotspotWizard]\r\nini_HorizontalStart=-4\r\nini_VerticalSpace=x\r\n");
    const GridNumbers read = ReadGridNumbers(path);
    EXPECT_EQ(read.HorizontalStart, 0);
    EXPECT_EQ(read.VerticalSpace, 3);
    EXPECT_EQ(read.FirstIndex, 3); // the default of a missing key, not the new file's 1

    GridNumbers saved { 1, 2, 3, 4, 5, 6, 7 };
    SaveGridNumbers(path, saved);
    const GridNumbers back = ReadGridNumbers(path);
    EXPECT_EQ(back.HorizontalStart, 1);
    EXPECT_EQ(back.Columns, 5);
    EXPECT_EQ(back.FirstIndex, 7);
}

TEST(HotspotGrid, BulkSlotsAndNames)
{
    HotspotNameTable names;
    names.Add("Rectangle1", 1);
    names.Add("Rectangle3", 3);
    names.Add("Door", 6);
    // The lowest free slots, as one hotspot after another would get them.
    EXPECT_EQ(NextFreeSlots(names, 4), (std::vector<std::int32_t> { 2, 4, 5, 7 }));

    Document doc;
    Hotspot taken;
    taken.Shape = ShapeRectangle;
    taken.Name = "DOOR";
    PlaceHotspot(doc, names, taken, 2);
    EXPECT_EQ(doc.Hotspots[2].Name, "Rectangle4");
    EXPECT_EQ(doc.Hotspots[2].Id, 2);
    EXPECT_TRUE(doc.Hotspots[2].Active);
    Hotspot own;
    own.Name = "Window";
    PlaceHotspot(doc, names, own, 4);
    EXPECT_EQ(names.Find("window"), 4);
}

} // namespace
} // namespace karvex
