#pragma once

// Pages like those in the wild, of megabytes with tens of thousands of AREAs, for the
// benchmarks of the readers and of opening a page in the editor.

#include <cstddef>
#include <string>

namespace karvex::bench {

// Bytes of page per AREA in the measured pages: 3.9 MB for 20,000 and 9.8 MB for 50,000.
constexpr std::size_t kBytesPerArea = 196;

inline std::string Num(int value) { return std::to_string(value); }

// One AREA line as pages in the wild write them: mixed case, quoted and unquoted values,
// event handlers, every shape.
inline std::string AreaLine(int i)
{
    const int x = (i * 37) % 760;
    const int y = (i * 53) % 560;
    const std::string n = Num(i);
    switch (i % 4) {
    case 0:
        return "<area shape=\"rect\" coords=\"" + Num(x) + "," + Num(y) + "," + Num(x + 30) + ","
            + Num(y + 20) + "\" href=\"products/item" + n + ".html\" alt=\"Item " + n
            + "\" title=\"Item number " + n + "\" onmouseover=\"window.status='Item " + n
            + "'; return true\">\n";
    case 1:
        return "<AREA SHAPE=CIRCLE COORDS=\"" + Num(x + 20) + "," + Num(y + 20)
            + ",15\" HREF=\"people/p" + n + ".html\" ALT='Person " + n + "' TITLE=\"Person " + n
            + "\" ONMOUSEOVER=\"show(" + n + ")\" ONMOUSEOUT=\"hide()\">\n";
    case 2:
        return "<Area Shape=\"poly\" Coords=\"" + Num(x) + "," + Num(y) + "," + Num(x + 30) + ","
            + Num(y) + "," + Num(x + 15) + "," + Num(y + 25) + "\" Href=\"/regions/r" + n
            + ".html\" Alt=\"Region " + n + "\" Title=\"Region " + n + "\" target=_top>\n";
    default:
        return "<area shape=rect coords=" + Num(x) + "," + Num(y) + "," + Num(x + 10) + ","
            + Num(y + 10) + " href=\"#note" + n + "\" alt=\"Note " + n + "\" title = \"Note " + n
            + "\" onmouseover=\"tip(this, 'Note " + n + "')\" id=\"note-area-" + n + "\">\n";
    }
}

// Text and other markup around the map, with pictures that have no map.
inline std::string Filler(std::size_t bytes, int seed)
{
    std::string text;
    for (int i = seed; text.size() < bytes; ++i) {
        text += "<p class=\"body\">Paragraph " + Num(i)
            + " of the page: some words about the <a href=\"topic" + Num(i)
            + ".html\">topic</a>, and a little more text so that the paragraph looks like one "
              "written by a person.</p>\n";
        if (i % 10 == 0)
            text += "<IMG SRC=\"pics/photo" + Num(i) + ".jpg\" WIDTH=120 HEIGHT=90 ALT=\"\">\n";
        if (i % 25 == 0)
            text += "<!-- column " + Num(i) + " -->\n";
    }
    return text;
}

// A page of about kBytesPerArea * areas bytes with one map of `areas` AREAs over the picture
// named picture.
inline std::string MakePage(int areas, const std::string& picture)
{
    std::string map = "<MAP NAME=\"world\">\n";
    for (int i = 0; i < areas; ++i) {
        if (i % 250 == 0)
            map += "<!-- block " + Num(i / 250) + " <area shape=rect coords=\"0,0,1,1\"> -->\n";
        map += AreaLine(i);
    }
    map += "</map>\n";
    const std::size_t target = kBytesPerArea * static_cast<std::size_t>(areas);
    const std::size_t rest = target > map.size() ? target - map.size() : 0;
    return "<!DOCTYPE html>\n<html>\n<head><title>World</title></head>\n<body>\n"
        + Filler(rest / 2, 1) + "<img src=\"" + picture + "\" usemap=\"#world\" border=0>\n" + map
        + Filler(rest - rest / 2, 100000) + "</body>\n</html>\n";
}

} // namespace karvex::bench
