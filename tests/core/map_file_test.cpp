// Server map files as people write them, one small case per rule: each line read as NCSA
// httpd, Apache and CERN's htimage read it, lines no server reads skipped with a warning, the
// dialect and the kind of file told from the content, and files written so that servers (and
// the reader) take every hotspot back.

#include "core/formats/map_file.h"
#include "core/formats/map_line.h"
#include "core/model/app_state.h"
#include "core/operations/document_save.h"
#include "core/operations/file_formats.h"
#include "core/util/file_io.h"
#include "core/util/strings.h"
#include "support/map_areas.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <random>

namespace karvex {
namespace {

// A line's area as "SHAPE coords link" ("-" for no link), or "unreadable" or "nothing".
std::string Read(std::string_view line)
{
    const MapLine read = ReadMapLine(line);
    if (read.Kind != MapLineKind::Area)
        return read.Kind == MapLineKind::Nothing ? "nothing" : "unreadable";
    std::string coords;
    for (std::size_t i = 0; i < read.Coords.size(); ++i)
        coords += (i > 0 ? "," : "") + std::to_string(read.Coords[i]);
    return read.Shape + " " + coords + " " + read.Link.value_or("-");
}

struct LineCase
{
    const char* Line;
    const char* Area;
};

TEST(MapLine, NcsaEntries)
{
    const LineCase cases[] = {
        { "rect a.html 10,20 30,40", "RECT 10,20,30,40 a.html" },
        { "RECT A.html 10,20 30,40", "RECT 10,20,30,40 A.html" }, // any case; the link keeps its
        { "rect\ta.html\t10,20\t30,40", "RECT 10,20,30,40 a.html" },
        { "  rect a.html   10 , 20   30 , 40  ", "RECT 10,20,30,40 a.html" },
        { "rect a.html 10 20 30 40", "RECT 10,20,30,40 a.html" },
        // Servers use a rectangle's first two corners.
        { "rect a.html 1,2 3,4 5,6", "RECT 1,2,3,4 a.html" },
        { "rect /shapes/circle 1,2 3,4", "RECT 1,2,3,4 /shapes/circle" }, // the first word rules
        // A circle: its centre and a point on its edge, the radius their distance rounded.
        { "circle c.html 30,30 40,30", "CIRCLE 30,30,10 c.html" },
        { "circle c.html 50,50 53,54", "CIRCLE 50,50,5 c.html" },
        { "circle c.html 10,10 11,12", "CIRCLE 10,10,2 c.html" }, // 2.24
        { "circle c.html 10,10 12,12", "CIRCLE 10,10,3 c.html" }, // 2.83
        // NCSA httpd also takes a bare radius, as Karvex once wrote it.
        { "circle c.html 30,30 10", "CIRCLE 30,30,10 c.html" },
        { "circle c.html 30,30,10 ", "CIRCLE 30,30,10 c.html" },
        { "poly p.html 1,1 8,1 4,6", "POLY 1,1,8,1,4,6 p.html" },
        { "poly p.html 1,1 8,1 4,6 1,1", "POLY 1,1,8,1,4,6,1,1 p.html" },
        { "poly p.html 1,1 8,1 4,6 9", "POLY 1,1,8,1,4,6 p.html" }, // a lone x has no point
        // A point is a small circle.
        { "point s.html 40,50", "CIRCLE 40,50,3 s.html" },
        { "default d.html", "default  d.html" },
        // Decimals are rounded; numbers past the limit are clamped.
        { "rect a.html 1.6,2.4 10,10", "RECT 2,2,10,10 a.html" },
        { "rect a.html 0,0 99999999999,5", "RECT 0,0,1000000,5 a.html" },
        { "rect a.html -5,0 5,5", "RECT -5,0,5,5 a.html" },
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(Read(c.Line), c.Area) << c.Line;
}

TEST(MapLine, CommentsMenuTextAndBaseAreNotCoordinates)
{
    const LineCase cases[] = {
        { "# a comment 1,1 5,5", "nothing" },
        { "   # an indented comment", "nothing" },
        { "", "nothing" },
        { " \t ", "nothing" },
        { "base http://example.org/maps/", "nothing" },
        { "base_uri http://example.org/", "nothing" },
        { "rect a.html 0,0 9,9 # the way up", "RECT 0,0,9,9 a.html" },
        { "rect a.html 0,0 9,9\t#1,1 2,2", "RECT 0,0,9,9 a.html" },
        { "rect page.html#top 0,0 9,9", "RECT 0,0,9,9 page.html#top" },
        { "rect here.html \"In this place\" 5,6 70,80", "RECT 5,6,70,80 here.html" },
        { "rect here.html \"Menu 1,1 2,2\" 5,6 70,80", "RECT 5,6,70,80 here.html" },
        { "rect here.html 5,6 70,80 \"After the numbers\"", "RECT 5,6,70,80 here.html" },
        { "default d.html \"Elsewhere\"", "default  d.html" },
        { "rect \"Menu first\" there.html 0,0 9,9", "RECT 0,0,9,9 there.html" },
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(Read(c.Line), c.Area) << c.Line;
}

TEST(MapLine, SpecialUrlsAreKeptAsTheLink)
{
    for (const char* link : { "map", "menu", "referer", "nocontent", "error", "..", "../",
             "../up.html", "mailto:someone@example.org" }) {
        EXPECT_EQ(
            Read(std::string("rect ") + link + " 0,0 5,5"), std::string("RECT 0,0,5,5 ") + link);
        EXPECT_EQ(Read(std::string("default ") + link), std::string("default  ") + link);
    }
}

TEST(MapLine, CernEntries)
{
    const LineCase cases[] = {
        { "rectangle (1,2) (15,14) a.html", "RECT 1,2,15,14 a.html" },
        { "rect (1,2) (15,14) a.html", "RECT 1,2,15,14 a.html" },
        { "Rectangle (1,2)(15,14) a.html", "RECT 1,2,15,14 a.html" },
        { "rect\t( 1 , 2 )\t\t(15,14)   a.html", "RECT 1,2,15,14 a.html" },
        { "circle (24,8) 6 b.html", "CIRCLE 24,8,6 b.html" },
        { "circ (24,8) 6 b.html", "CIRCLE 24,8,6 b.html" },
        { "circle (30,30,10) b.html", "CIRCLE 30,30,10 b.html" }, // as Karvex once wrote it
        // A polygon need not be closed; a closed one keeps its last point.
        { "polygon (1,1) (8,1) (4,6) c.html", "POLY 1,1,8,1,4,6 c.html" },
        { "poly (1,1) (8,1) (4,6) (1,1) c.html", "POLY 1,1,8,1,4,6,1,1 c.html" },
        { "poly (1,1) (8,1) (4,6) /shapes/circle x.html", "POLY 1,1,8,1,4,6 /shapes/circle" },
        { "default d.html", "default  d.html" },
        { "def d.html", "default  d.html" },
        // Karvex wrote an area without a link as its coordinates alone.
        { "rect  10,10 50,40 ", "RECT 10,10,50,40 -" },
        { "rect (10,10) (50,40)  ", "RECT 10,10,50,40 -" },
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(Read(c.Line), c.Area) << c.Line;
    EXPECT_TRUE(ReadMapLine("rect (1,2) (15,14) a.html").Cern);
    EXPECT_FALSE(ReadMapLine("rect a.html 1,2 15,14").Cern);
}

// No line becomes COORDS text that no browser reads.
TEST(MapLine, LinesNoServerReadsAreUnreadable)
{
    for (const char* line : {
             "oval o.html 1,1 5,5", // no server knows the shape
             "square s.html 1,1 5,5",
             "rect b.html 1,1 5", // too few numbers
             "rect b.html 1,1 5x,5", // a broken number
             "rect b.html 1,1 5,,,",
             "rect b.html 1.2.3,4 5,6",
             "rect b.html 1,1 - 5,5",
             "poly p.html 1,1 8,1", // two points make no polygon
             "circle c.html 30,30",
             "circle c.html 30,30 -5", // a negative radius
             "circle (30,30) bad.html", // CERN: no radius
             "rect (1,2) a.html",
             "point s.html 40",
             "rect", // no link, no numbers
             "rect x.html",
             "default",
             // The link ends at the blank; the next word is no coordinate, so the server reads
             // none.
             "rect /my page.html 1,2 3,4",
             "rect x.html \"menu never closed 1,1 2,2",
             "polygon,1,1 x.html",
         })
        EXPECT_EQ(Read(line), "unreadable") << line;
}

// Lines made of the words of both dialects, well and badly formed, give areas a browser reads or
// none.
TEST(MapLine, MangledLinesNeverMakeBadCoords)
{
    const char* const words[] = { "rect", "RECTANGLE", "circ", "circle", "poly", "polygon", "point",
        "default", "def", "base", "oval", "a.html", "..", "#", "# x", "\"menu", "\"", "(", ")", ",",
        "1", "-2", "3.5", "1,2", "(1,2)", "(3,", "4)", "1e5", "99999999999", "--1", "+7", ".5",
        "5.", "\t", " ", "\r", "x,1", "1,,2" };
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(words) - 1);
    std::uniform_int_distribution<int> length(1, 9);
    std::string text;
    for (int line = 0; line < 4000; ++line) {
        for (int n = length(random); n > 0; --n)
            text += std::string(words[pick(random)]) + (pick(random) % 3 == 0 ? "" : " ");
        text += '\n';
    }
    std::vector<std::string> skipped;
    const std::string project = MapFileToProjectText("m.map", text, &skipped);
    EXPECT_TRUE(test::MapAreasAreSound(project));
    EXPECT_NE(project.find("<AREA"), std::string::npos);
    EXPECT_FALSE(skipped.empty());
}

TEST(MapLine, LinesEndAtLfOrAtCrInOldMacFiles)
{
    const auto lines = [](std::string_view text) {
        std::vector<std::string> seen;
        ForEachMapFileLine(text, [&seen](std::size_t number, std::string_view line) {
            seen.push_back(std::to_string(number) + ":" + std::string(line));
        });
        return Join(seen, "|");
    };
    EXPECT_EQ(lines("a\r\nb\n\nc"), "1:a|2:b|3:|4:c");
    EXPECT_EQ(lines("a\rb\rc\r"), "1:a|2:b|3:c");
    EXPECT_EQ(lines("a x\ry\nb"), "1:a x\ry|2:b"); // a CR inside a line is a blank to servers
    EXPECT_EQ(lines(""), "");
}

class MapFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        picture = dir.File("pic.gif");
        WriteWholeFile(picture, std::string("GIF89a\xC8\x00\x64\x00", 10) + std::string(20, '\0'));
        context.Ask = &prompt;
        context.Style = PathStyle::Posix;
    }

    // The areas of a map file's text opened as a document: "SHAPE coords href; ...".
    ImportResult Open(const std::string& name, const std::string& text)
    {
        WriteWholeFile(dir.File(name), text);
        return ImportMapFile(dir.File(name), context);
    }

    static std::string Areas(const Document& doc)
    {
        std::string text;
        for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
            const TagRecord tag = ParseTag(doc.Hotspots[slot].AreaTag);
            text += (slot > 1 ? "; " : "") + GetAttribute(tag, "SHAPE", "") + " "
                + GetAttribute(tag, "COORDS", "") + " " + GetAttribute(tag, "HREF", "-");
        }
        return text;
    }

    Hotspot& Add(const std::string& name, std::int32_t shape, const std::string& tag)
    {
        Hotspot& spot = doc.Hotspots.emplace_back();
        spot.Active = true;
        spot.Id = static_cast<std::int32_t>(doc.Hotspots.size() - 1);
        spot.Name = name;
        spot.Shape = shape;
        spot.AreaTag = tag;
        spot.Coords = GetAttribute(ParseTag(tag), "COORDS", "");
        return spot;
    }

    std::string Header() const { return "# <IMG Src=\"" + picture + "\">\n"; }

    test::TempDir dir;
    test::ScriptedPrompt prompt;
    ImportContext context;
    std::string picture;
    Document doc;
};

TEST_F(MapFiles, EachSkippedLineIsNamedInAWarning)
{
    const ImportResult result = Open("w.map",
        Header()
            + "# only comments, blanks and base lines say nothing\n\n   \nbase http://x.org/\n"
              "rect a.html 0,0 9,9\n"
              "oval odd.html 1,2,3\n"
              "rect broken.html 1,1 5\n"
              "\tcircle c.html 20,20 25,20\n");
    ASSERT_TRUE(result.Ok) << result.Message;
    EXPECT_EQ(Areas(result.Doc), "RECT 0,0,9,9 a.html; CIRCLE 20,20,5 c.html");
    ASSERT_EQ(result.Warnings.size(), 2u);
    EXPECT_EQ(result.Warnings[0],
        "Line 7 was skipped because no server reads an area from it: oval odd.html 1,2,3");
    EXPECT_EQ(result.Warnings[1],
        "Line 8 was skipped because no server reads an area from it: rect broken.html 1,1 5");

    // A long line is shortened, never inside a UTF-8 character; control characters are blanks.
    const ImportResult wide
        = Open("long.map", Header() + "oval \x01" + std::string(73, 'x') + "\xC3\xA9zzzz\n");
    ASSERT_EQ(wide.Warnings.size(), 1u);
    EXPECT_EQ(wide.Warnings[0],
        "Line 2 was skipped because no server reads an area from it: oval  " + std::string(73, 'x')
            + "...");
}

TEST_F(MapFiles, OldMacLineEndsAndAByteOrderMark)
{
    const ImportResult mac
        = Open("mac.map", "# <IMG Src=\"pic.gif\">\rrect a.html 0,0 5,5\rrect b.html 1,1 6,6\r");
    ASSERT_TRUE(mac.Ok) << mac.Message;
    EXPECT_EQ(Areas(mac.Doc), "RECT 0,0,5,5 a.html; RECT 1,1,6,6 b.html");

    const ImportResult marked = Open("bom.map", "\xEF\xBB\xBFrect a.html 0,0 5,5\n" + Header());
    ASSERT_TRUE(marked.Ok) << marked.Message;
    EXPECT_EQ(Areas(marked.Doc), "RECT 0,0,5,5 a.html");
    EXPECT_TRUE(marked.Warnings.empty());
}

TEST_F(MapFiles, TheDialectComesFromTheContent)
{
    const std::string ncsa = "rect a.html 1,2 15,14\npoly (1,1) (8,1) (4,6) c.html\n"
                             "circle b.html 8,8 8,12\n";
    const std::string cern = "rectangle (1,2) (15,14) a.html\ncirc (8,8) 4 b.html\n"
                             "default d.html\npoint p.html 3,3\n";
    EXPECT_EQ(MapFileDialect(ncsa), 0);
    EXPECT_EQ(MapFileDialect(cern), 1);
    EXPECT_EQ(MapFileDialect(""), 0);
    const ImportResult read = Open("site.txt", Header() + cern);
    ASSERT_TRUE(read.Ok) << read.Message;
    EXPECT_EQ(read.Doc.ServerType, 1);
    // The default link comes after every area, as servers use it.
    EXPECT_EQ(Areas(read.Doc),
        "RECT 1,2,15,14 a.html; CIRCLE 8,8,4 b.html; CIRCLE 3,3,3 p.html; default  d.html");
    EXPECT_EQ(Open("n.map", Header() + ncsa).Doc.ServerType, 0);
}

TEST_F(MapFiles, AMapThatNamesNoPictureTakesTheOneWithItsName)
{
    WriteWholeFile(dir.File("site.gif"), ApiReadFile(picture));
    const ImportResult read = Open("site.map", "rect a.html 0,0 5,5\n# see src/ for more\n");
    ASSERT_TRUE(read.Ok) << read.Message;
    EXPECT_EQ(read.Doc.Images[1].Src, dir.File("site.gif"));
    EXPECT_TRUE(prompt.Messages.empty());

    // The header's picture wins; a comment that mentions SRC does not take it away.
    const ImportResult named = Open("site.map", Header() + "# src: the scanner\nrect a 0,0 5,5\n");
    ASSERT_TRUE(named.Ok) << named.Message;
    EXPECT_EQ(named.Doc.Images[1].Src, picture);
}

TEST_F(MapFiles, WrittenLinesServersRead)
{
    doc.Images[1].Src = picture;
    doc.Images[1].Width = 200;
    doc.Images[1].Height = 100;
    Add("Sun", ShapeCircle, "<AREA SHAPE=\"CIRCLE\" COORDS=\"30,30,10\" HREF=\"b.html\">");
    Add("Tab", ShapeRectangle,
        "<AREA SHAPE=\"RECT\" COORDS=\"1,1,5,5\" HREF=\" a\tb\r\n&quot;c&quot; %20.html \">");
    Add("Rect3", ShapeRectangle, "<AREA SHAPE=\"RECT\" COORDS=\"1,1,5,5\">");
    Add("Empty", ShapeRectangle, "<AREA SHAPE=\"RECT\" COORDS=\"1,1,5,5\" HREF=\"  \">");
    Add("Two\r\nlines", ShapePolygon, "<AREA SHAPE=\"POLY\" COORDS=\"1,1,8,1,4,6\" NOHREF>");
    Add("Short", ShapePolygon, "<AREA SHAPE=\"POLY\" COORDS=\"1,1,8,1\" HREF=\"p.html\">");
    Add("Rest", ShapeRectangle, "<AREA SHAPE=\"default\" HREF=\"d.html\">");
    Add("Nowhere", ShapeRectangle, "<AREA SHAPE=\"default\">");

    const std::vector<std::string> ncsa = Split(WriteMapFile(doc, 0), "\r\n");
    ASSERT_EQ(ncsa.size(), 14u);
    EXPECT_EQ(ncsa[0], "# This text is used by Karvex 3.0");
    EXPECT_EQ(ncsa[1], "# <IMG Src=\"" + picture + "\">");
    EXPECT_EQ(ncsa[2], "# <IMG Width=\"200\">");
    EXPECT_EQ(ncsa[3], "# <IMG Height=\"100\">");
    EXPECT_EQ(ncsa[4], "# This text can be deleted. Only used by KVX 3.0");
    EXPECT_EQ(ncsa[5], "circle b.html 30,30 40,30 ");
    EXPECT_EQ(ncsa[6], "rect a%09b%0D%0A%22c%22%20%20.html 1,1 5,5 ");
    EXPECT_EQ(ncsa[7], "# hotspot \"Rect3\" has no link");
    EXPECT_EQ(ncsa[8], "# hotspot \"Empty\" has no link");
    EXPECT_EQ(ncsa[9], "# hotspot \"Two  lines\" has no link");
    EXPECT_EQ(ncsa[10], "# hotspot \"Short\" has too few coordinates");
    EXPECT_EQ(ncsa[11], "default d.html ");
    EXPECT_EQ(ncsa[12], "# hotspot \"Nowhere\" has no link");
    EXPECT_EQ(ncsa[13], "");
    const std::vector<std::string> cern = Split(WriteMapFile(doc, 1), "\r\n");
    EXPECT_EQ(cern[5], "circle (30,30) 10 b.html ");
    EXPECT_EQ(cern[6], "rect (1,1) (5,5) a%09b%0D%0A%22c%22%20%20.html ");

    // What the reader makes of them: the linked hotspots, nothing of the comments.
    for (const int dialect : { 0, 1 }) {
        const ImportResult back = Open("back.map", WriteMapFile(doc, dialect));
        ASSERT_TRUE(back.Ok) << back.Message;
        EXPECT_EQ(Areas(back.Doc),
            "CIRCLE 30,30,10 b.html; RECT 1,1,5,5 a%09b%0D%0A%22c%22%20%20.html; default  d.html");
        EXPECT_TRUE(back.Warnings.empty()) << back.Warnings.front();
    }
}

TEST_F(MapFiles, TheNoticeSaysWhatAMapFileLeavesOut)
{
    Add("Door", ShapeRectangle, "<AREA SHAPE=\"RECT\" COORDS=\"1,1,5,5\" HREF=\"a.html\">");
    EXPECT_EQ(MapFileNotice(doc), "");
    Add("Roof", ShapeRectangle,
        "<AREA SHAPE=\"RECT\" COORDS=\"1,1,5,5\" HREF=\"a.html\" ALT=\"Roof\" TARGET=\"_top\">");
    Add("Blank", ShapeRectangle,
        "<AREA SHAPE=\"RECT\" COORDS=\"1,1,5,5\" HREF=\"a.html\" ALT=\"\" TARGET=\" \">");
    EXPECT_EQ(MapFileNotice(doc),
        "ALT, TARGET and areas without links do not exist in map files, so this map file leaves "
        "out the ALT text of 1 hotspot and the TARGET of 1 hotspot.");
    Add("Sun", ShapeCircle, "<AREA SHAPE=\"CIRCLE\" COORDS=\"3,3,1\" ALT=\"Sun\">");
    Add("Moon", ShapeCircle, "<AREA SHAPE=\"CIRCLE\" COORDS=\"3,3,1\">").Active = false;
    Add("Star", ShapeCircle, "<AREA SHAPE=\"CIRCLE\" COORDS=\"3,3,1\">");
    EXPECT_EQ(MapFileNotice(doc),
        "ALT, TARGET and areas without links do not exist in map files, so this map file leaves "
        "out the ALT texts of 2 hotspots, the TARGET of 1 hotspot and 2 hotspots without a link "
        "(Sun, Star), each named in a comment line.");
}

// A file written in either dialect reads back into the same hotspots: shape, coordinates and
// link.
TEST_F(MapFiles, BothDialectsRoundTrip)
{
    doc.Images[1].Src = picture;
    doc.Images[1].Width = 200;
    doc.Images[1].Height = 100;
    Add("R", ShapeRectangle, "<AREA SHAPE=\"RECT\" COORDS=\"10,10,50,40\" HREF=\"a.html\">");
    Add("C", ShapeCircle,
        "<AREA SHAPE=\"CIRCLE\" COORDS=\"0,0,7\" HREF=\"http://x.org/?a=1&amp;b\">");
    Add("P", ShapePolygon,
        "<AREA SHAPE=\"POLY\" COORDS=\"1,2,30,4,5,60,7,7\" HREF=\"../up/p.html#top\">");
    // A default area is shown over the whole picture.
    Add("D", ShapeRectangle, "<AREA SHAPE=\"default\" HREF=\"nocontent\">").Coords = "0,0,200,100";
    for (const int dialect : { 0, 1 }) {
        doc.ServerType = dialect;
        const ImportResult back = Open("round.map", WriteMapFile(doc, dialect));
        ASSERT_TRUE(back.Ok) << back.Message;
        EXPECT_EQ(back.Doc.ServerType, dialect);
        EXPECT_EQ(back.Doc.Images[1].Width, 200); // from the header's picture
        ASSERT_EQ(back.Doc.Hotspots.size(), doc.Hotspots.size()) << dialect;
        for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
            const TagRecord was = ParseTag(doc.Hotspots[slot].AreaTag);
            const TagRecord now = ParseTag(back.Doc.Hotspots[slot].AreaTag);
            EXPECT_EQ(back.Doc.Hotspots[slot].Shape, doc.Hotspots[slot].Shape) << slot;
            EXPECT_EQ(back.Doc.Hotspots[slot].Coords, doc.Hotspots[slot].Coords) << slot;
            EXPECT_TRUE(
                EqualsNoCase(GetAttribute(now, "SHAPE", ""), GetAttribute(was, "SHAPE", "")));
            EXPECT_EQ(DecodeAttributeValue(GetAttribute(now, "HREF", "")),
                DecodeAttributeValue(GetAttribute(was, "HREF", "")));
        }
    }
}

TEST(FileKinds, TheContentTellsTheKind)
{
    const auto kind = [](std::string_view text) {
        const FileFormat* format = FormatForContent(text);
        return format ? format->Ending : std::string("none");
    };
    EXPECT_EQ(kind("rect a.html 1,2 15,14\npoly b.html 1,1 8,1 4,6\n"), ".map");
    EXPECT_EQ(kind("rectangle (1,2) (15,14) a.html\ndefault b.html\n"), ".map");
    EXPECT_EQ(
        kind("# This text is used by Karvex 3.0\r\n# <IMG Src=\"p.gif\">\r\nrect a 0,0 1,1 \r\n"),
        ".map");
    EXPECT_EQ(kind("\xEF\xBB\xBF# menu\nrect a.html 0,0 9,9\noval o 1,1 2,2\n"), ".map");
    EXPECT_EQ(kind("<KVX Ver=3>\r\n<KVX RelativeURL=0>\r\n<IMG SRC=\"p.gif\">\r\n"), ".kvp");
    EXPECT_EQ(
        kind("<!DOCTYPE html>\n<html><body><img src=p.gif usemap=#m></body></html>"), ".html");
    EXPECT_EQ(kind("<map name=m>\nrect a.html 0,0 9,9\n</map>"), ".html");
    EXPECT_EQ(kind(std::string("\xFF\xFE<\0h\0", 6)), ".html");
    // Text that is none of them.
    EXPECT_EQ(kind(""), "none");
    EXPECT_EQ(kind("Dear reader,\nthese are my notes.\n"), "none");
    EXPECT_EQ(kind("rect is a word\noval a 1,1 2,2\nsquare b 1,1 2,2\n"), "none");
    EXPECT_EQ(kind(std::string("rect a.html 0,0 9,9\n\0\x01\x02", 23)), "none");
}

TEST(FileKinds, AFileOfAnyEndingIsKnownByItsContent)
{
    const test::TempDir dir;
    WriteWholeFile(dir.File("site.cern-map"), "rect (0,0) (9,9) a.html\n");
    WriteWholeFile(dir.File("site.ncsa-map"), "rect a.html 0,0 9,9\n");
    WriteWholeFile(dir.File("notes.txt"), "rect a.html 0,0 9,9\n");
    WriteWholeFile(dir.File("page.txt"), "<html><img src=p.gif></html>");
    WriteWholeFile(dir.File("prose.txt"), "Nothing to see.\n");
    WriteWholeFile(dir.File("map.html"), "rect a.html 0,0 9,9\n");
    for (const char* name : { "site.cern-map", "site.ncsa-map", "notes.txt" }) {
        ASSERT_NE(FormatForFile(dir.File(name)), nullptr) << name;
        EXPECT_EQ(FormatForFile(dir.File(name))->Route, OpenRoute::MapFile) << name;
    }
    EXPECT_EQ(FormatForFile(dir.File("page.txt"))->Route, OpenRoute::Html);
    EXPECT_EQ(FormatForFile(dir.File("prose.txt")), nullptr);
    EXPECT_EQ(FormatForFile(dir.File("missing.txt")), nullptr);
    EXPECT_EQ(FormatForFile(dir.File("map.html"))->Route, OpenRoute::Html); // the ending first
}

TEST_F(MapFiles, ASaveTellsWhatTheMapFileLeftOutAndSavesBackByContent)
{
    const std::string file = dir.File("site.txt");
    WriteWholeFile(file, Header() + "rectangle (1,1) (5,5) a.html\n");
    AppState state;
    state.Documents.push_back(ImportMapFile(file, context).Doc);
    state.CurrentDocument = 1;
    state.OpenDocuments.Add(file, "1");
    Document& opened = state.Documents[1];
    ASSERT_EQ(opened.Hotspots.size(), 2u);
    opened.Hotspots[1].AreaTag
        = "<AREA SHAPE=\"RECT\" HREF=\"a.html\" COORDS=\"1,1,5,5\" ALT=\"x\">";

    // Saved back to its own file, a map file named .txt stays a CERN map file.
    const SaveResult back = SaveDocumentFile(state, 1, file, false, false);
    ASSERT_TRUE(back.Ok) << back.Error;
    EXPECT_NE(ApiReadFile(file).find("\r\nrect (1,1) (5,5) a.html \r\n"), std::string::npos);
    EXPECT_EQ(back.Notice,
        "ALT, TARGET and areas without links do not exist in map files, so this map file leaves "
        "out the ALT text of 1 hotspot.");

    // Chosen afresh, the name must have a known ending; a page keeps its ALT texts.
    EXPECT_FALSE(SaveDocumentFile(state, 1, dir.File("other.txt"), true, false).Ok);
    const SaveResult page = SaveDocumentFile(state, 1, dir.File("site.html"), true, false);
    ASSERT_TRUE(page.Ok) << page.Error;
    EXPECT_EQ(page.Notice, "");
}

} // namespace
} // namespace karvex
