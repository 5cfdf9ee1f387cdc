#include "core/formats/map_file.h"

#include "core/formats/project_file.h"
#include "core/formats/relative_paths.h"
#include "core/util/numbers.h"
#include "core/util/strings.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace karvex {

namespace {

constexpr const char* kCrLf = "\r\n";
// What parts the words of a map line: servers take a CR inside a line, or a form feed, as a blank.
constexpr const char* kLineBlanks = " \t\r\v\f";

// The coordinates of a COORDS text, within the coordinate limit.
std::vector<std::string> Numbers(const std::string& coords)
{
    std::vector<std::string> values;
    for (const std::string& part : Split(coords, ","))
        values.push_back(std::to_string(CoordinateNumber(part)));
    return values;
}

// A link as one word of a map line: blanks and control characters, which would end the word
// or the line, are percent-encoded; the entities of the page's attribute text are undone.
std::string MapLink(std::string_view href)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string link;
    for (const char ch : DecodeAttributeValue(href)) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte <= 0x20 || byte == 0x7F) {
            link += '%';
            link += kHex[byte >> 4];
            link += kHex[byte & 0x0F];
        } else {
            link += ch;
        }
    }
    return link;
}

// Servers read a circle as its centre and a point on its edge (NCSA) or as its centre in
// brackets and its radius (CERN).
std::string CircleCoords(const std::string& coords, bool cern)
{
    const std::vector<std::string> values = Numbers(coords);
    if (values.size() < 3)
        return cern ? "(" + coords + ")" : coords;
    const std::string centre = values[0] + "," + values[1];
    if (cern)
        return "(" + centre + ") " + values[2];
    const std::int64_t edgeX = ParseLeadingInt(values[0]) + ParseLeadingInt(values[2]);
    return centre + " " + std::to_string(edgeX) + "," + values[1];
}

std::string FormatCoords(const std::string& coords, std::int32_t shape, bool cern)
{
    if (shape == ShapeCircle)
        return CircleCoords(coords, cern);
    const std::vector<std::string> values = Numbers(coords);
    std::string text;
    for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
        const std::string pair = values[i] + "," + values[i + 1];
        text += (cern ? "(" + pair + ")" : pair) + " ";
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// A word of a map line that holds coordinates rather than a link.
bool IsCoordinateWord(std::string_view word)
{
    for (char ch : word) {
        const bool allowed = (ch >= '0' && ch <= '9') || ch == ',' || ch == '(' || ch == ')'
            || ch == '.' || ch == '-';
        if (!allowed)
            return false;
    }
    return true;
}

// Reads one hotspot line; false for lines of other vocabularies (such as "default").
bool ReadHotspotLine(
    std::string_view line, std::string& shape, std::string& link, std::string& coords)
{
    // CERN servers also take the full words and "circ".
    static const std::pair<const char*, const char*> kShapes[]
        = { { "poly", "POLY" }, { "polygon", "POLY" }, { "circle", "CIRCLE" }, { "circ", "CIRCLE" },
              { "rect", "RECT" }, { "rectangle", "RECT" } };
    const auto isBlank
        = [](char ch) { return std::string_view(kLineBlanks).find(ch) != std::string_view::npos; };
    std::string rest;
    bool found = false;
    // A line starts with its shape word, so a shape word inside a link ("/shapes/circle")
    // is not taken for it; lines of other layouts are searched for the word anywhere.
    std::size_t first = 0;
    while (first < line.size() && isBlank(line[first]))
        ++first;
    for (int anywhere = 0; anywhere < 2 && !found; ++anywhere) {
        for (const auto& [word, keyword] : kShapes) {
            const std::string_view key = word;
            std::size_t at = anywhere ? FindNoCase(line, key) : first;
            // The word must be followed by a blank or a tab.
            while (at != std::string::npos) {
                const std::size_t end = at + key.size();
                if (end < line.size() && isBlank(line[end])
                    && EqualsNoCase(line.substr(at, key.size()), key))
                    break;
                at = anywhere ? FindNoCase(line, key, at + 1) : std::string::npos;
            }
            if (at == std::string::npos)
                continue;
            shape = keyword;
            // Links keep their case: cut from the line as written.
            rest.reserve(line.size());
            rest.append(line.substr(0, at));
            rest.append(line.substr(at + key.size() + 1));
            found = true;
            break;
        }
    }
    if (!found)
        return false;

    // The link is the first word that is not made of coordinates, in either dialect; words
    // are parted by blanks and tabs.
    std::vector<std::string> numbers;
    link.clear();
    bool linkTaken = false;
    std::string plain;
    std::size_t at = 0;
    while (at < rest.size()) {
        const std::size_t end = std::min(rest.find_first_of(kLineBlanks, at), rest.size());
        const std::string_view word = std::string_view(rest).substr(at, end - at);
        at = end + 1;
        if (word.empty())
            continue;
        if (!IsCoordinateWord(word)) {
            // Servers take the first word as the link; later words are neither link nor
            // coordinates.
            if (!linkTaken)
                link = word;
            linkTaken = true;
            continue;
        }
        plain.clear();
        for (char ch : word) {
            if (ch != '(' && ch != ')')
                plain += ch;
        }
        for (const std::string& part : Split(plain, ",")) {
            if (!part.empty())
                numbers.push_back(part);
        }
    }
    // An NCSA circle gives its centre and a point on its edge.
    if (shape == "CIRCLE" && numbers.size() == 4) {
        const double dx
            = static_cast<double>(ParseLeadingInt(numbers[2]) - ParseLeadingInt(numbers[0]));
        const double dy
            = static_cast<double>(ParseLeadingInt(numbers[3]) - ParseLeadingInt(numbers[1]));
        numbers.resize(2);
        numbers.push_back(std::to_string(std::lround(std::sqrt(dx * dx + dy * dy))));
    }
    coords = Join(numbers, ",");
    return true;
}

// The part of an entry line a server reads: quoted menu text is blanked out, and a '#' after a
// blank starts a comment that runs to the end of the line ('#' inside a link is its fragment).
std::string EntryText(std::string_view line)
{
    std::string text;
    text.reserve(line.size());
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (ch == '"') {
            quoted = !quoted;
            text += ' ';
        } else if (quoted) {
            text += ' ';
        } else if (ch == '#' && i > 0
            && std::string_view(kLineBlanks).find(line[i - 1]) != std::string_view::npos) {
            break;
        } else {
            text += ch;
        }
    }
    return text;
}

// The line's first word and what follows it.
std::pair<std::string_view, std::string_view> LeadingWord(std::string_view line)
{
    const std::size_t start = std::min(line.find_first_not_of(kLineBlanks), line.size());
    const std::size_t end = std::min(line.find_first_of(kLineBlanks, start), line.size());
    return { line.substr(start, end - start), line.substr(end) };
}

// Whether a shape's coordinates can make an AREA: a broken line is passed over rather than
// turned into COORDS text no browser reads.
bool CoordinatesFit(const std::string& shape, const std::string& coords)
{
    if (coords.empty())
        return false;
    const std::size_t count = Split(coords, ",").size();
    if (shape == "RECT")
        return count == 4;
    if (shape == "CIRCLE")
        return count == 3;
    return count >= 6 && count % 2 == 0;
}

// The radius of the small circle that stands for a server's "point" entry.
constexpr int kPointRadius = 3;

} // namespace

std::string WriteMapFile(const Document& doc, int serverType)
{
    const bool cern = serverType == 1;
    const MapImage& image = doc.Images[1];
    std::string text = "# This text is used by Karvex 3.0\r\n";
    text += "# <IMG Src=\"" + EncodeRawValue(image.Src) + "\">" + kCrLf;
    text += "# <IMG Width=\"" + std::to_string(image.Width) + "\">" + kCrLf;
    text += "# <IMG Height=\"" + std::to_string(image.Height) + "\">" + kCrLf;
    text += "# This text can be deleted. Only used by KVX 3.0\r\n";
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        if (!spot.Active)
            continue;
        const TagRecord area = ParseTag(spot.AreaTag);
        const std::string href = MapLink(GetAttribute(area, "HREF", ""));
        // A "default" area is the server's link for clicks outside every other area.
        if (EqualsNoCase(Trim(GetAttribute(area, "SHAPE", "")), "default")) {
            text += "default " + href + " " + kCrLf;
            continue;
        }
        const std::string shape = ToLower(ShapeKeyword(spot.Shape));
        const std::string coords = FormatCoords(spot.Coords, spot.Shape, cern);
        // CERN writes the coordinates before the link, NCSA after it.
        text += shape;
        text += ' ';
        text += cern ? coords : href;
        text += ' ';
        text += cern ? href : coords;
        text += ' ';
        text += kCrLf;
    }
    return text;
}

std::string MapFileToProjectText(const std::string& fileName, const std::string& text)
{
    std::string picture;
    std::string width = "0";
    std::string height = "0";
    std::string areas;
    std::string shape;
    std::string link;
    std::string coords;
    // Lines are read in place: a map file can have tens of thousands.
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line.front() == '#') {
            const std::string upper = ToUpper(line);
            const TagRecord tag = ParseTag(line);
            if (upper.find("SRC") != std::string::npos)
                picture = GetAttribute(tag, "SRC", "");
            if (upper.find("WIDTH") != std::string::npos)
                width = GetAttribute(tag, "WIDTH", "0");
            if (upper.find("HEIGHT") != std::string::npos)
                height = GetAttribute(tag, "HEIGHT", "0");
            continue;
        }
        const std::string entry = EntryText(line);
        const auto [word, rest] = LeadingWord(entry);
        if (EqualsNoCase(word, "base"))
            continue;
        if (EqualsNoCase(word, "default")) {
            // The link for clicks outside every other area.
            areas += "<AREA SHAPE=\"default\" HREF=\"";
            areas += EncodeRawValue(LeadingWord(rest).first);
            areas += "\">";
            areas += kCrLf;
            continue;
        }
        bool read = false;
        if (EqualsNoCase(word, "point")) {
            read = ReadHotspotLine("circ " + std::string(rest), shape, link, coords)
                && Split(coords, ",").size() == 2;
            if (read)
                coords += "," + std::to_string(kPointRadius);
        } else {
            read = ReadHotspotLine(entry, shape, link, coords);
        }
        if (read && CoordinatesFit(shape, coords)) {
            areas += "<AREA SHAPE=\"";
            areas += shape;
            areas += "\" HREF=\"";
            areas += EncodeRawValue(link);
            areas += "\" COORDS=\"";
            areas += coords;
            areas += "\">";
            areas += kCrLf;
        }
    }
    const std::string mapName = EncodeRawValue(GetFileName(fileName));
    // Without a size of its own the picture is shown at its natural size.
    std::string size;
    if (PictureNumber(height) > 0 && PictureNumber(width) > 0)
        size = " Height=\"" + std::to_string(PictureNumber(height)) + "\" Width=\""
            + std::to_string(PictureNumber(width)) + "\"";
    std::string project = "<IMG SRC=\"" + EncodeAttributeValue(picture) + "\"" + size
        + " USEMAP=\"#" + mapName + "\">" + kCrLf + "<MAP NAME=\"" + mapName + "\">" + kCrLf;
    project.reserve(project.size() + areas.size() + 6);
    project += areas;
    project += "</MAP>";
    return project;
}

ImportResult ImportMapFile(const std::string& fileName, const ImportContext& context)
{
    ImportResult result;
    std::string text;
    if (!ReadFileForImport(fileName, text, result))
        return result;
    return LoadProjectText(fileName, MapFileToProjectText(fileName, text), context);
}

} // namespace karvex
