#include "core/formats/map_file.h"

#include "core/formats/project_file.h"
#include "core/formats/relative_paths.h"
#include "core/util/strings.h"

#include <cmath>
#include <vector>

namespace karvex {

namespace {

constexpr const char* kCrLf = "\r\n";

std::vector<std::string> Numbers(const std::string& coords)
{
    std::vector<std::string> values;
    for (const std::string& part : Split(coords, ","))
        values.push_back(Trim(part));
    return values;
}

std::string FormatCoords(const std::string& coords, std::int32_t shape, bool cern)
{
    if (shape == ShapeCircle)
        return cern ? "(" + coords + ")" : coords;
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
bool IsCoordinateWord(const std::string& word)
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
    const std::string& line, std::string& shape, std::string& link, std::string& coords)
{
    std::string rest = ToLower(line);
    static const std::pair<const char*, const char*> kShapes[]
        = { { "poly ", "POLY" }, { "circle ", "CIRCLE" }, { "rect ", "RECT" } };
    bool found = false;
    for (const auto& [word, keyword] : kShapes) {
        const std::size_t at = rest.find(word);
        if (at != std::string::npos) {
            shape = keyword;
            // Links keep their case: cut from the line as written.
            rest = line.substr(0, at) + line.substr(at + std::string(word).size());
            found = true;
            break;
        }
    }
    if (!found)
        return false;

    // The link is the first word that is not made of coordinates, in either dialect.
    std::vector<std::string> numbers;
    link.clear();
    bool linkTaken = false;
    for (std::string word : Split(ReplaceAll(rest, "\t", " "), " ")) {
        if (word.empty())
            continue;
        if (!linkTaken && !IsCoordinateWord(word)) {
            link = word;
            linkTaken = true;
            continue;
        }
        word = RemoveAll(RemoveAll(word, '('), ')');
        for (const std::string& part : Split(word, ",")) {
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

} // namespace

std::string WriteMapFile(const Document& doc, int serverType)
{
    const bool cern = serverType == 1;
    const TagRecord img = ParseTag(doc.ImgTag, "C:\\TEMP\\");
    std::string text = "# This text is used by Karvex 3.0\r\n";
    text += "# <IMG Src=\"" + doc.Images[1].Src + "\">" + kCrLf;
    text += "# <IMG Width=\"" + std::to_string(ParseLeadingInt(GetAttribute(img, "WIDTH", "0")))
        + "\">" + kCrLf;
    text += "# <IMG Height=\"" + std::to_string(ParseLeadingInt(GetAttribute(img, "HEIGHT", "0")))
        + "\">" + kCrLf;
    text += "# This text can be deleted. Only used by KVX 3.0\r\n";
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        if (!spot.Active)
            continue;
        const TagRecord area = ParseTag(spot.AreaTag, "C:\\TEMP\\");
        const std::string shape = ToLower(GetAttribute(area, "SHAPE", ""));
        const std::string href = GetAttribute(area, "HREF", "");
        const std::string coords = FormatCoords(GetAttribute(area, "COORDS", ""), spot.Shape, cern);
        text += cern ? shape + " " + coords + " " + href + " "
                     : shape + " " + href + " " + coords + " ";
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
    for (std::string line : Split(text, "\n")) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line.front() == '#') {
            const std::string upper = ToUpper(line);
            const TagRecord tag = ParseTag(line, "C:\\TEMP\\");
            if (upper.find("SRC") != std::string::npos)
                picture = GetAttribute(tag, "SRC", "");
            if (upper.find("WIDTH") != std::string::npos)
                width = GetAttribute(tag, "WIDTH", "0");
            if (upper.find("HEIGHT") != std::string::npos)
                height = GetAttribute(tag, "HEIGHT", "0");
            continue;
        }
        std::string shape;
        std::string link;
        std::string coords;
        if (ReadHotspotLine(line, shape, link, coords)) {
            areas += "<AREA SHAPE=\"" + shape + "\" HREF=\"" + RemoveAll(link, '"') + "\" COORDS=\""
                + coords + "\">" + kCrLf;
        }
    }
    const std::string mapName = GetFileName(fileName);
    // Without a size of its own the picture is shown at its natural size.
    std::string size;
    if (ParseLeadingInt(height) > 0 && ParseLeadingInt(width) > 0)
        size = " Height=\"" + height + "\" Width=\"" + width + "\"";
    return "<IMG SRC=\"" + picture + "\"" + size + " USEMAP=\"#" + mapName + "\">" + kCrLf
        + "<MAP NAME=\"" + mapName + "\">" + kCrLf + areas + "</MAP>";
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
