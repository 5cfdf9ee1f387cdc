#include "core/formats/html_writer.h"
#include "core/formats/project_file.h"
#include "core/formats/tag_reader.h"
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

} // namespace
} // namespace karvex
