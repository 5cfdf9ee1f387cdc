#include "core/formats/html_writer.h"
#include "core/formats/map_file.h"
#include "core/formats/project_file.h"
#include "core/operations/document_save.h"
#include "core/util/file_io.h"
#include "core/util/strings.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace karvex {
namespace {

class SavedFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        picture = dir.File("pic.gif");
        WriteWholeFile(picture, std::string("GIF89a\xC8\x00\x64\x00", 10) + std::string(20, '\0'));
        Document& doc = state.Documents.emplace_back();
        doc.Title = "Untitled1";
        doc.ImgTag
            = "<IMG SRC=\"" + picture + "\" Width=\"200\" Height=\"100\" UseMap=\"#pic.gif\">";
        doc.Images[1].Src = picture;
        doc.Images[1].Width = 200;
        doc.Images[1].Height = 100;
        doc.Images[1].MapTag = "<MAP NAME=\"pic.gif\">";
        doc.Hotspots.reserve(8); // the tests hold on to the records they add
        state.CurrentDocument = 1;
        state.OpenDocuments.Add("Untitled1", "1");
        context.Ask = &prompt;
        context.Style = PathStyle::Posix;
    }

    Hotspot& Add(const std::string& name, std::int32_t shape, const std::string& tag)
    {
        Document& doc = state.Documents[1];
        Hotspot& spot = doc.Hotspots.emplace_back();
        spot.Active = true;
        spot.Id = static_cast<std::int32_t>(doc.Hotspots.size() - 1);
        spot.Name = name;
        spot.Shape = shape;
        spot.AreaTag = tag;
        spot.Coords = GetAttribute(ParseTag(tag), "COORDS", "");
        spot.Color = "0";
        return spot;
    }

    std::vector<std::string> Lines(const std::string& text) { return Split(text, "\r\n"); }

    test::TempDir dir;
    test::ScriptedPrompt prompt;
    ImportContext context;
    AppState state;
    std::string picture;
};

TEST_F(SavedFiles, ProjectHasTheFixedLinesAndRoundTrips)
{
    Hotspot& rect = Add("Rectangle1", ShapeRectangle,
        "<AREA SHAPE=\"RECT\" COORDS=\"10,10,50,40\" HREF=\"a.html\" data-role=\"door\">");
    rect.Color = "#000000";
    rect.Attributes.push_back({ "data-role", "door" });
    Add("Gone", ShapeRectangle, "<AREA SHAPE=\"RECT\" COORDS=\"1,1,2,2\">").Active = false;
    Hotspot& circle = Add("Sun", ShapeCircle, "<AREA SHAPE=\"CIRCLE\" COORDS=\"30,30,10\">");
    circle.Locked = true;
    circle.Color = "255";
    state.Documents[1].PathMode = PathModeKind::Direct;
    state.Documents[1].ServerType = 1;

    const std::string text = ProjectText(state.Documents[1], "12/4/2026 5:00:00 PM");
    const auto lines = Lines(text);
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[0], "<KVX Ver=3>");
    EXPECT_EQ(lines[1], "<KVX RelativeURL=2>");
    EXPECT_EQ(lines[2], "<KVX ServerType=1>");
    EXPECT_EQ(lines[3], "<KVX LastSave=12/4/2026 5:00:00 PM>");
    EXPECT_EQ(lines[4], state.Documents[1].ImgTag);
    EXPECT_EQ(lines[5], "<MAP NAME=\"pic.gif\">");
    EXPECT_EQ(lines[6],
        "<AREA SHAPE=\"RECT\" COORDS=\"10,10,50,40\" HREF=\"a.html\" data-role=\"door\" "
        "##LOCKED=\"False\" ##COLOR=\"#000000\" ##NAME=\"Rectangle1\">");
    EXPECT_EQ(lines[8], "</MAP>");
    EXPECT_EQ(lines[9], "<Zozivirera>");
    EXPECT_EQ(text.substr(text.size() - 15), "</Zozivirera>\r\n");
    // The extra attributes exist only in the file.
    EXPECT_EQ(rect.AreaTag.find("##"), std::string::npos);

    const std::string file = dir.File("map.kvp");
    ASSERT_TRUE(SaveDocumentFile(state, 1, file, true, false).Ok);
    const ImportResult back = LoadProjectFile(file, context);
    ASSERT_TRUE(back.Ok) << back.Message;
    const Document& doc = back.Doc;
    EXPECT_EQ(doc.PathMode, PathModeKind::Direct);
    EXPECT_EQ(doc.ServerType, 1);
    EXPECT_EQ(doc.Images[1].MapTag, "<MAP NAME=\"pic.gif\">");
    ASSERT_EQ(doc.Hotspots.size(), 3u);
    EXPECT_EQ(doc.Hotspots[1].Name, "Rectangle1");
    EXPECT_EQ(doc.Hotspots[1].AreaTag, rect.AreaTag);
    EXPECT_EQ(doc.Hotspots[1].Attributes.size(), 1u);
    EXPECT_EQ(doc.Hotspots[2].Name, "Sun");
    EXPECT_EQ(doc.Hotspots[2].Color, "255");
    EXPECT_TRUE(doc.Hotspots[2].Locked);
    EXPECT_EQ(doc.Hotspots[2].AreaTag, circle.AreaTag);
}

TEST_F(SavedFiles, ProjectReaderRepairsAndRefuses)
{
    const std::string img = "<IMG SRC=\"pic.gif\" Width=\"200\" Height=\"100\" UseMap=\"#m\">";
    // No KVX lines, a line without its ">", generated code after the marker, and a last line
    // without a line end, which is not read.
    const std::string text = img
        + "\r\n<MAP NAME=\"m\">\n<AREA SHAPE=\"RECT\" COORDS=\"1,1,5,5\"\r\n"
        + "<Zozivirera>\r\n<AREA SHAPE=\"RECT\" COORDS=\"7,7,9,9\">\r\n</Zozivirera>\r\n"
        + "<AREA SHAPE=\"RECT\" COORDS=\"2,2,3,3\">";
    const ImportResult loaded = LoadProjectText(dir.File("p.kvp"), text, context);
    ASSERT_TRUE(loaded.Ok) << loaded.Message;
    EXPECT_EQ(loaded.Doc.PathMode, PathModeKind::Current);
    EXPECT_EQ(loaded.Doc.ServerType, 0);
    EXPECT_EQ(loaded.Doc.Images[1].Src, picture);
    ASSERT_EQ(loaded.Doc.Hotspots.size(), 2u);
    EXPECT_EQ(loaded.Doc.Hotspots[1].AreaTag, "<AREA SHAPE=\"RECT\" COORDS=\"1,1,5,5\">");

    const ImportResult noImg
        = LoadProjectText(dir.File("p.kvp"), "<KVX Ver=3>\r\n<MAP NAME=\"m\">\r\n", context);
    EXPECT_FALSE(noImg.Ok);
    EXPECT_EQ(noImg.Message,
        "There has been an error while trying to open the file. Loading has been canceled."
        "\r\n\r\nFile : "
            + dir.File("p.kvp")
            + "\r\nReason : No line of the file is an IMG tag, so it is not a Karvex project.");
    EXPECT_TRUE(prompt.Messages.empty());
}

TEST_F(SavedFiles, MapFilesInBothDialects)
{
    Add("Rectangle1", ShapeRectangle,
        "<AREA SHAPE=\"RECT\" COORDS=\"10,10,50,40\" HREF=\"a.html\">");
    Add("Gone", ShapeRectangle, "<AREA SHAPE=\"RECT\" COORDS=\"1,1,2,2\" HREF=\"x\">").Active
        = false;
    Add("Circle1", ShapeCircle, "<AREA SHAPE=\"CIRCLE\" COORDS=\"30,30,10\" HREF=\"b.html\">");
    // A blank or a line break in a link must not reach the map line as it is.
    Add("Polygon1", ShapePolygon,
        "<AREA SHAPE=\"POLY\" COORDS=\"1,2,30,4,5,60\" HREF=\"my page.html\r\nrect /x 0,0 9,9\">");
    const Document& doc = state.Documents[1];

    const auto ncsa = Lines(WriteMapFile(doc, 0));
    ASSERT_EQ(ncsa.size(), 9u);
    EXPECT_EQ(ncsa[0], "# This text is used by Karvex 3.0");
    EXPECT_EQ(ncsa[1], "# <IMG Src=\"" + picture + "\">");
    EXPECT_EQ(ncsa[2], "# <IMG Width=\"200\">");
    EXPECT_EQ(ncsa[3], "# <IMG Height=\"100\">");
    EXPECT_EQ(ncsa[4], "# This text can be deleted. Only used by KVX 3.0");
    EXPECT_EQ(ncsa[5], "rect a.html 10,10 50,40 ");
    EXPECT_EQ(ncsa[6], "circle b.html 30,30 40,30 "); // centre and a point on the edge
    EXPECT_EQ(ncsa[7], "poly my%20page.html%0D%0Arect%20/x%200,0%209,9 1,2 30,4 5,60 ");
    const auto cern = Lines(WriteMapFile(doc, 1));
    EXPECT_EQ(cern[5], "rect (10,10) (50,40) a.html ");
    EXPECT_EQ(cern[6], "circle (30,30) 10 b.html ");

    // Both dialects read back into the same hotspots; the default link becomes a default area.
    for (int dialect : { 0, 1 }) {
        const std::string file = dir.File(dialect == 0 ? "n.map" : "c.map");
        WriteWholeFile(file, WriteMapFile(doc, dialect) + "default http://example.org/\r\n");
        const ImportResult back = ImportMapFile(file, context);
        ASSERT_TRUE(back.Ok) << back.Message;
        ASSERT_EQ(back.Doc.Hotspots.size(), 5u) << dialect;
        const TagRecord fallback = ParseTag(back.Doc.Hotspots[4].AreaTag);
        EXPECT_EQ(GetAttribute(fallback, "SHAPE", ""), "default");
        EXPECT_EQ(GetAttribute(fallback, "HREF", ""), "http://example.org/");
        EXPECT_EQ(back.Doc.Hotspots[1].Coords, "10,10,50,40");
        EXPECT_EQ(GetAttribute(ParseTag(back.Doc.Hotspots[1].AreaTag), "HREF", ""), "a.html");
        EXPECT_EQ(back.Doc.Hotspots[2].Coords, "30,30,10");
        EXPECT_EQ(back.Doc.Hotspots[3].Coords, "1,2,30,4,5,60");
        EXPECT_EQ(back.Doc.Images[1].Width, 200);
        // A CERN file is saved back in CERN.
        EXPECT_EQ(back.Doc.ServerType, dialect);
    }

    // A classic NCSA circle names its centre and a point on its edge.
    const std::string classic = "# <IMG Src=\"" + picture + "\">\ncircle /c.html 50,50 50,80\n";
    const std::string project = MapFileToProjectText(dir.File("x.map"), classic);
    EXPECT_NE(project.find("<AREA SHAPE=\"CIRCLE\" HREF=\"/c.html\" COORDS=\"50,50,30\">"),
        std::string::npos);

    // The shape word leads the line, also before a tab; one inside a link is not the shape.
    const std::string tabbed = MapFileToProjectText(
        dir.File("y.map"), "rect\t/t.html 1,1 9,9\nrect /shapes/circle 10,10 90,90\n");
    EXPECT_NE(tabbed.find("<AREA SHAPE=\"RECT\" HREF=\"/t.html\" COORDS=\"1,1,9,9\">"),
        std::string::npos);
    EXPECT_NE(tabbed.find("<AREA SHAPE=\"RECT\" HREF=\"/shapes/circle\" COORDS=\"10,10,90,90\">"),
        std::string::npos);

    // A server takes a link's first word (a blank ends it), and its coordinates end at the
    // first word that is none, so it reads no area from a link with a blank; CERN's full words
    // are shapes.
    const std::string wild = MapFileToProjectText(
        dir.File("z.map"), "rect /my page.html 1,2 15,14\npolygon (1,1) (8,1) (4,6) c.html\n");
    EXPECT_EQ(wild.find("/my"), std::string::npos);
    EXPECT_NE(wild.find("<AREA SHAPE=\"POLY\" HREF=\"c.html\" COORDS=\"1,1,8,1,4,6\">"),
        std::string::npos);

    // Map files as people write them: menu text in quotes, comments after an entry, a point,
    // a base line; a shape no server knows and broken numbers make no area.
    const std::string written = MapFileToProjectText(dir.File("w.map"),
        "base http://example.org/\n"
        "rect another.html \"In this folder 5,5\" 306,0 419,27\n"
        "rect \"Menu text\" ../up.html 0,0 9,9 # the way up\n"
        "poly page.html#top 1,1 8,1 4,6\t# a fragment stays in the link\n"
        "point spot.html 40,50\n"
        "oval odd.html 1,1 5,5\n"
        "rect broken.html 1,1 5\n"
        "circle (30,30) bad.html\n");
    EXPECT_NE(written.find("<AREA SHAPE=\"RECT\" HREF=\"another.html\" COORDS=\"306,0,419,27\">"),
        std::string::npos);
    EXPECT_NE(written.find("<AREA SHAPE=\"RECT\" HREF=\"../up.html\" COORDS=\"0,0,9,9\">"),
        std::string::npos);
    EXPECT_NE(written.find("<AREA SHAPE=\"POLY\" HREF=\"page.html#top\" COORDS=\"1,1,8,1,4,6\">"),
        std::string::npos);
    EXPECT_NE(written.find("<AREA SHAPE=\"CIRCLE\" HREF=\"spot.html\" COORDS=\"40,50,3\">"),
        std::string::npos);
    for (const char* gone : { "example.org", "odd.html", "broken.html", "bad.html" })
        EXPECT_EQ(written.find(gone), std::string::npos) << gone;
}

} // namespace
} // namespace karvex
