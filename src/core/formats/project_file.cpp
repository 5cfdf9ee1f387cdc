#include "core/formats/project_file.h"

#include "core/formats/html_writer.h"
#include "core/util/strings.h"

namespace karvex {

namespace {

constexpr const char* kCrLf = "\r\n";

// The first tag of a line, read as the importers read tags.
TagRecord FirstTag(const std::string& line)
{
    const std::size_t start = line.find('<');
    if (start == std::string::npos)
        return {};
    const std::size_t close = FindTagEnd(line, start);
    const std::size_t end = close == std::string::npos ? line.size() : close + 1;
    return ParseTag(std::string_view(line).substr(start, end - start), "C:\\TEMP\\");
}

// A tag laid out over several lines in a page is written on one line, since the reader takes
// the file line by line.
std::string OneLine(std::string text)
{
    for (char& ch : text) {
        if (ch == '\r' || ch == '\n')
            ch = ' ';
    }
    return text;
}

} // namespace

std::string ProjectAreaCode(const Document& doc)
{
    std::string code = OneLine(doc.Images[1].MapTag) + kCrLf;
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        if (!spot.Active)
            continue;
        std::string tag
            = SetAttributeInTag(spot.AreaTag, "##LOCKED", spot.Locked ? "True" : "False", "");
        tag = SetAttributeInTag(tag, "##COLOR", spot.Color, "");
        tag = SetAttributeInTag(tag, "##NAME", spot.Name, "");
        code += OneLine(tag) + kCrLf;
    }
    return code + "</MAP>";
}

std::string ProjectText(AppState& state, int docIndex, const std::string& saveTime)
{
    const Document& doc = state.Documents[static_cast<std::size_t>(docIndex)];
    std::string text = "<KVX Ver=3>\r\n";
    text += "<KVX RelativeURL=" + std::to_string(doc.PathMode) + ">" + kCrLf;
    text += "<KVX ServerType=" + std::to_string(doc.ServerType) + ">" + kCrLf;
    text += "<KVX LastSave=" + saveTime + ">" + kCrLf;
    text += OneLine(doc.ImgTag) + kCrLf;
    text += ProjectAreaCode(doc) + kCrLf;
    text += "<Zozivirera>\r\n";
    text += GenerateMapCode(state, docIndex, true, false) + kCrLf;
    text += "</Zozivirera>\r\n";
    return text;
}

ImportResult LoadProjectText(
    const std::string& fileName, const std::string& text, const ImportContext& context)
{
    ImportResult result;
    Document& doc = result.Doc;
    ImportNames names;
    std::int32_t pathMode = 0;
    std::int32_t serverType = 0;
    std::string mapTag;
    bool imgSeen = false;
    bool picturePresent = false;

    // Lines end with CR LF (or LF alone); the piece after the last line end is not read.
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         start = end + 1, end = text.find('\n', start)) {
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (Trim(line).empty())
            continue;
        if (line.back() != '>')
            line += '>';
        const TagRecord tag = FirstTag(line);
        const std::string name = ToUpper(tag.TagName);
        const std::string first
            = tag.Attributes.size() > 1 ? ToUpper(Trim(tag.Attributes[1].Name)) : std::string();
        if (name == "KVX") {
            const auto value = static_cast<std::int32_t>(ParseLeadingInt(
                UnquotedValue(tag.Attributes.size() > 1 ? tag.Attributes[1].Value : "")));
            if (first == "RELATIVEURL")
                pathMode = value;
            else if (first == "SERVERTYPE")
                serverType = value;
        } else if (name == "IMG") {
            imgSeen = true;
            picturePresent = ImportImgTag(doc, tag, fileName, true, context);
        } else if (name == "MAP") {
            if (first == "NAME")
                mapTag = line;
        } else if (name == "AREA") {
            if (picturePresent && tag.Attributes.size() >= 3) {
                result.AreaTexts += ImportAreaTag(doc, tag, names);
                result.AreaTexts += kCrLf;
            }
        } else if (name == "ZOZIVIRERA") {
            break;
        }
    }
    if (!picturePresent) {
        ImportResult failed;
        failed.Message = LoadErrorMessage(imgSeen ? kPictureReason : "");
        return failed;
    }
    doc.PathMode = pathMode >= PathModeCurrent && pathMode <= PathModeDirect ? pathMode : 0;
    doc.ServerType = serverType == 1 ? 1 : 0;
    MapImage& image = doc.Images[1];
    // A project without a MAP line still needs a map start tag to write its hotspots under.
    image.MapTag = mapTag.empty() ? "<MAP NAME=\"" + RemoveAll(image.UseMap, '#') + "\">" : mapTag;
    image.MapName = GetAttribute(ParseTag(image.MapTag, "C:\\TEMP\\"), "NAME", "");
    result.Ok = true;
    return result;
}

ImportResult LoadProjectFile(const std::string& fileName, const ImportContext& context)
{
    ImportResult result;
    std::string text;
    if (!ReadFileForImport(fileName, text, result))
        return result;
    return LoadProjectText(fileName, text, context);
}

} // namespace karvex
