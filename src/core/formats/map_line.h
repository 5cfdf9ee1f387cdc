#pragma once

// One line of a server-side map file read as the web servers read it (NCSA httpd, Apache's
// mod_imagemap, CERN's htimage): the shape, the link and the coordinates, in either dialect.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace karvex {

enum class MapLineKind {
    Nothing, // blank, a comment or a base line: no area, and nothing the user must hear about
    Area, // a region with its link, or the default link
    Unreadable, // no server makes an area of it: an unknown keyword, numbers that do not fit
};

struct MapLine
{
    MapLineKind Kind = MapLineKind::Nothing;
    std::string Shape; // "RECT", "CIRCLE", "POLY", or "default" for the default link
    std::optional<std::string> Link; // as written; none for an entry that gives no link
    // As COORDS holds them: a rectangle's corners, a circle's centre and radius (a server's
    // "point" is a small circle), a polygon's points; empty for the default link.
    std::vector<std::int32_t> Coords;
    // Written CERN's way, the bracketed coordinates before the link.
    bool Cern = false;
};

// The radius of the small circle that stands for a server's "point" entry.
inline constexpr std::int32_t kPointRadius = 3;

// Reads one line (without its line end). Keywords are taken in any letter case, by the first
// four letters as NCSA httpd and CERN read them ("rectangle", "circ", "polygon"), "def" and
// longer for "default", "base" and "base_uri" for the base line. NCSA lines give the link
// first, quoted menu text before or after the coordinates and a "#" comment after them; CERN
// lines give bracketed coordinates first (a circle's radius after its centre), then the link.
// An NCSA circle is its centre and a point on its edge, or its centre and radius.
MapLine ReadMapLine(std::string_view line);

// Calls visit(number, line) for every line of a map file's text, numbered from 1: lines end at
// LF with a CR before it dropped, or at CR in a text without any LF (as old Macintosh editors
// wrote them). A CR inside an LF line stays in the line, where servers take it for a blank.
template <typename Visit> void ForEachMapFileLine(std::string_view text, Visit&& visit)
{
    const char end = text.find('\n') == std::string_view::npos ? '\r' : '\n';
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t stop = std::min(text.find(end, start), text.size());
        std::string_view line = text.substr(start, stop - start);
        start = stop + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        visit(++number, line);
    }
}

} // namespace karvex
