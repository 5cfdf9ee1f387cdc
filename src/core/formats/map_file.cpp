#include "core/formats/map_file.h"

#include "core/formats/map_line.h"
#include "core/formats/project_file.h"
#include "core/formats/relative_paths.h"
#include "core/util/file_io.h"
#include "core/util/numbers.h"
#include "core/util/strings.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace karvex {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The coordinates of a COORDS text, within the coordinate limit.
std::vector<std::string> Numbers(const std::string& coords)
{
    std::vector<std::string> values;
    for (const std::string& part : Split(coords, ","))
        values.push_back(std::to_string(CoordinateNumber(part)));
    return values;
}

// Text without the ASCII blanks and control characters at its ends.
std::string_view Stripped(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.remove_suffix(1);
    return text;
}

// The link of an AREA tag as a map file gives it, "" for an area without one: the entities of
// the page's attribute text are undone, and blanks, control characters and quotes, which would
// end the link's word, its line or start menu text, are percent-encoded ("%" itself stays, so
// an encoded link stays as it was).
std::string MapLink(const TagRecord& area)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string href = DecodeAttributeValue(GetAttribute(area, "HREF", ""));
    std::string link;
    for (const char ch : Stripped(href)) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte <= 0x20 || byte == 0x7F || ch == '"') {
            link += '%';
            link += kHex[byte >> 4];
            link += kHex[byte & 0x0F];
        } else {
            link += ch;
        }
    }
    return link;
}

// A hotspot's name fit for one comment line.
std::string CommentName(const std::string& name)
{
    std::string text = name;
    for (char& ch : text) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            ch = ' ';
    }
    return text;
}

// Servers read a circle as its centre and a point on its edge (NCSA) or as its centre in
// brackets and its radius (CERN).
std::optional<std::string> CircleCoords(const std::vector<std::string>& values, bool cern)
{
    if (values.size() < 3)
        return std::nullopt;
    const std::string centre = values[0] + "," + values[1];
    if (cern)
        return "(" + centre + ") " + values[2];
    const std::int64_t edgeX = ParseLeadingInt(values[0]) + ParseLeadingInt(values[2]);
    return centre + " " + std::to_string(edgeX) + "," + values[1];
}

// The coordinates of a hotspot line; nothing when they are too few for the shape.
std::optional<std::string> FormatCoords(const std::string& coords, std::int32_t shape, bool cern)
{
    const std::vector<std::string> values = Numbers(coords);
    if (shape == ShapeCircle)
        return CircleCoords(values, cern);
    if (values.size() < (shape == ShapePolygon ? 6u : 4u))
        return std::nullopt;
    std::string text;
    for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
        const std::string pair = values[i] + "," + values[i + 1];
        if (!text.empty())
            text += ' ';
        text += cern ? "(" + pair + ")" : pair;
    }
    return text;
}

// A picture beside the map file with the map's own name ("site.map" and "site.gif"): servers'
// map files name no picture. Its name as the IMG tag's SRC value; "" when there is none.
std::string PictureBeside(const std::string& fileName)
{
    const std::string name = GetFileName(fileName);
    const std::size_t dot = name.rfind('.');
    const std::string base
        = fileName.substr(0, fileName.size() - name.size() + (dot == 0 ? name.size() : dot));
    for (const char* ending :
        { ".gif", ".jpg", ".jpeg", ".png", ".bmp", ".GIF", ".JPG", ".JPEG", ".PNG", ".BMP" }) {
        if (!FileExists(base + ending))
            continue;
        // SRC values are URLs: a "%" or "+" of the name must not be read as an escape.
        std::string src;
        for (const char ch : GetFileName(base + ending))
            src += ch == '%' ? "%25" : ch == '+' ? "%2B" : std::string(1, ch);
        return src;
    }
    return {};
}

// The warning for a line that makes no area, with the line as far as it can be shown.
std::string SkippedLineWarning(std::size_t number, std::string_view line)
{
    constexpr std::size_t kShownBytes = 80;
    std::string shown(Stripped(line));
    for (char& ch : shown) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            ch = ' ';
    }
    if (shown.size() > kShownBytes) {
        std::size_t cut = kShownBytes;
        // Never in the middle of a UTF-8 character.
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
            --cut;
        shown = shown.substr(0, cut) + "...";
    }
    return "Line " + std::to_string(number)
        + " was skipped because no server reads an area from it: " + shown;
}

// What the lines of a map file's text make.
struct MapFileSurvey
{
    std::size_t Areas = 0;
    std::size_t Unreadable = 0;
    std::size_t Tags = 0; // lines that start with "<": a page's, not a map file's
    std::size_t Cern = 0; // areas with their coordinates in brackets before the link
    std::size_t Ncsa = 0; // areas with their link first
    bool Binary = false;
};

MapFileSurvey Survey(std::string_view text)
{
    MapFileSurvey survey;
    survey.Binary = text.find('\0') != std::string_view::npos;
    if (text.starts_with(kUtf8ByteOrderMark))
        text.remove_prefix(kUtf8ByteOrderMark.size());
    ForEachMapFileLine(text, [&survey](std::size_t, std::string_view line) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line[first] == '<')
            ++survey.Tags;
        const MapLine entry = ReadMapLine(line);
        if (entry.Kind == MapLineKind::Unreadable)
            ++survey.Unreadable;
        if (entry.Kind != MapLineKind::Area)
            return;
        ++survey.Areas;
        if (entry.Shape != "default")
            ++(entry.Cern ? survey.Cern : survey.Ncsa);
    });
    return survey;
}

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
        const std::string href = MapLink(area);
        // A map file has no area without a link: a server would take its coordinates for one.
        if (href.empty()) {
            text += "# hotspot \"" + CommentName(spot.Name) + "\" has no link" + kCrLf;
            continue;
        }
        // A "default" area is the server's link for clicks outside every other area.
        if (EqualsNoCase(Trim(GetAttribute(area, "SHAPE", "")), "default")) {
            text += "default " + href + " " + kCrLf;
            continue;
        }
        const std::optional<std::string> coords = FormatCoords(spot.Coords, spot.Shape, cern);
        if (!coords) {
            text += "# hotspot \"" + CommentName(spot.Name) + "\" has too few coordinates" + kCrLf;
            continue;
        }
        // CERN writes the coordinates before the link, NCSA after it.
        text += ToLower(ShapeKeyword(spot.Shape));
        text += ' ';
        text += cern ? *coords : href;
        text += ' ';
        text += cern ? href : *coords;
        text += ' ';
        text += kCrLf;
    }
    return text;
}

std::string MapFileNotice(const Document& doc)
{
    int alts = 0;
    int targets = 0;
    std::vector<std::string> linkless;
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        if (!spot.Active)
            continue;
        const TagRecord area = ParseTag(spot.AreaTag);
        alts += Stripped(GetAttribute(area, "ALT", "")).empty() ? 0 : 1;
        targets += Stripped(GetAttribute(area, "TARGET", "")).empty() ? 0 : 1;
        if (MapLink(area).empty())
            linkless.push_back(spot.Name);
    }
    const auto hotspots = [](std::size_t count) {
        return std::to_string(count) + (count == 1 ? " hotspot" : " hotspots");
    };
    std::vector<std::string> parts;
    if (alts > 0)
        parts.push_back(std::string(alts == 1 ? "the ALT text" : "the ALT texts") + " of "
            + hotspots(static_cast<std::size_t>(alts)));
    if (targets > 0)
        parts.push_back(std::string(targets == 1 ? "the TARGET" : "the TARGETs") + " of "
            + hotspots(static_cast<std::size_t>(targets)));
    if (!linkless.empty()) {
        constexpr std::size_t kNamed = 5;
        std::string names;
        for (std::size_t i = 0; i < linkless.size() && i < kNamed; ++i)
            names += (i > 0 ? ", " : "") + CommentName(linkless[i]);
        if (linkless.size() > kNamed)
            names += ", ...";
        parts.push_back(hotspots(linkless.size()) + " without a link (" + names + ")"
            + (linkless.size() == 1 ? ", named in a comment line"
                                    : ", each named in a comment line"));
    }
    if (parts.empty())
        return {};
    std::string text
        = "ALT, TARGET and areas without links do not exist in map files, so this map file "
          "leaves out ";
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return text + ".";
}

bool IsMapFileText(std::string_view text)
{
    const MapFileSurvey survey = Survey(text);
    return !survey.Binary && survey.Tags == 0 && survey.Areas > 0
        && survey.Areas >= survey.Unreadable;
}

int MapFileDialect(std::string_view text)
{
    const MapFileSurvey survey = Survey(text);
    return survey.Cern > survey.Ncsa ? 1 : 0;
}

std::string MapFileToProjectText(
    const std::string& fileName, const std::string& text, std::vector<std::string>* warnings)
{
    std::string_view body = text;
    // Windows editors put one in front of a UTF-8 text; it is not part of the first keyword.
    if (body.starts_with(kUtf8ByteOrderMark))
        body.remove_prefix(kUtf8ByteOrderMark.size());
    std::string picture;
    std::string width = "0";
    std::string height = "0";
    std::string areas;
    // Servers use the default link only where no area is; browsers may take a default area for
    // any click on the picture when it comes first, so it comes last.
    std::string defaults;
    std::size_t cern = 0;
    std::size_t ncsa = 0;
    // Lines are read in place: a map file can have tens of thousands.
    ForEachMapFileLine(body, [&](std::size_t number, std::string_view line) {
        if (!line.empty() && line.front() == '#') {
            // Karvex's header names the picture and its size in IMG tags.
            const TagRecord tag = ParseTag(line);
            if (!EqualsNoCase(tag.TagName, "IMG"))
                return;
            const std::string upper = ToUpper(line);
            if (upper.find("SRC") != std::string::npos)
                picture = GetAttribute(tag, "SRC", picture);
            if (upper.find("WIDTH") != std::string::npos)
                width = GetAttribute(tag, "WIDTH", "0");
            if (upper.find("HEIGHT") != std::string::npos)
                height = GetAttribute(tag, "HEIGHT", "0");
            return;
        }
        const MapLine entry = ReadMapLine(line);
        if (entry.Kind == MapLineKind::Unreadable && warnings)
            warnings->push_back(SkippedLineWarning(number, line));
        if (entry.Kind != MapLineKind::Area)
            return;
        if (entry.Shape != "default")
            ++(entry.Cern ? cern : ncsa);
        std::string& area = entry.Shape == "default" ? defaults : areas;
        area += "<AREA SHAPE=\"";
        area += entry.Shape;
        area += '"';
        if (entry.Link) {
            area += " HREF=\"";
            area += EncodeRawValue(*entry.Link);
            area += '"';
        }
        if (!entry.Coords.empty()) {
            area += " COORDS=\"";
            for (std::size_t i = 0; i < entry.Coords.size(); ++i) {
                if (i > 0)
                    area += ',';
                area += std::to_string(entry.Coords[i]);
            }
            area += '"';
        }
        area += '>';
        area += kCrLf;
    });
    if (Trim(picture).empty())
        picture = PictureBeside(fileName);
    const std::string mapName = EncodeRawValue(GetFileName(fileName));
    // Without a size of its own the picture is shown at its natural size.
    std::string size;
    if (PictureNumber(height) > 0 && PictureNumber(width) > 0)
        size = " Height=\"" + std::to_string(PictureNumber(height)) + "\" Width=\""
            + std::to_string(PictureNumber(width)) + "\"";
    std::string project = "<IMG SRC=\"" + EncodeAttributeValue(picture) + "\"" + size
        + " USEMAP=\"#" + mapName + "\">" + kCrLf;
    // A CERN map file is saved back in CERN's dialect.
    if (cern > ncsa)
        project += std::string("<KVX ServerType=1>") + kCrLf;
    project += "<MAP NAME=\"" + mapName + "\">" + kCrLf;
    project.reserve(project.size() + areas.size() + defaults.size() + 6);
    project += areas;
    project += defaults;
    project += "</MAP>";
    return project;
}

ImportResult ImportMapFile(const std::string& fileName, const ImportContext& context)
{
    ImportResult result;
    std::string text;
    if (!ReadFileForImport(fileName, text, result))
        return result;
    std::vector<std::string> skipped;
    const std::string project = MapFileToProjectText(fileName, text, &skipped);
    result = LoadProjectText(fileName, project, context);
    if (result.Ok)
        result.Warnings.insert(result.Warnings.begin(), skipped.begin(), skipped.end());
    return result;
}

} // namespace karvex
