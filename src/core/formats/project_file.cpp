#include "core/formats/project_file.h"

#include "core/formats/html_writer.h"
#include "core/formats/page_charset.h"
#include "core/formats/tag_writer.h"
#include "core/util/numbers.h"
#include "core/util/strings.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace karvex {

namespace {

constexpr const char* kCrLf = "\r\n";

// The first tag of a line, read as the importers read tags; spans gets its attribute spans.
TagRecord FirstTag(std::string_view line, std::vector<AttributeSpan>& spans)
{
    const std::size_t start = line.find('<');
    if (start == std::string::npos) {
        spans.clear();
        return {};
    }
    const std::size_t close = FindTagEnd(line, start);
    const std::size_t end = close == std::string::npos ? line.size() : close + 1;
    return ParseOneTag(line.substr(start, end - start), &spans);
}

// A tag laid out over several lines in a page is written on one line, since the reader takes
// the file line by line.
void AppendOneLine(std::string& code, std::string_view text)
{
    const std::size_t from = code.size();
    code += text;
    for (std::size_t i = from; i < code.size(); ++i) {
        if (code[i] == '\r' || code[i] == '\n')
            code[i] = ' ';
    }
}

// About the size of the project's area code of doc (an upper bound unless tags are odd).
std::size_t ProjectAreaCodeSize(const Document& doc)
{
    std::size_t size = doc.Images[1].MapTag.size() + 8;
    for (const Hotspot& spot : doc.Hotspots)
        size += spot.AreaTag.size() + spot.Color.size() + spot.Name.size() + 48;
    return size;
}

// The MAP start tag, each live hotspot's AREA tag with the editor's own attributes, "</MAP>".
void AppendProjectAreaCode(const Document& doc, std::string& code)
{
    AppendOneLine(code, doc.Images[1].MapTag);
    code += kCrLf;
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        if (!spot.Active)
            continue;
        const AttributePair own[] = { { "##LOCKED", spot.Locked ? "True" : "False" },
            { "##COLOR", spot.Color }, { "##NAME", spot.Name } };
        AppendOneLine(code, SetAttributesInTag(spot.AreaTag, own));
        code += kCrLf;
    }
    code += "</MAP>";
}

std::string OneLine(std::string_view text)
{
    std::string line;
    AppendOneLine(line, text);
    return line;
}

// The AREA tags before the generated code and the bytes of their lines: size hints for the
// hotspot table and the collected AREA texts.
struct AreaLines
{
    std::size_t Count = 0;
    std::size_t Bytes = 0;
};

AreaLines CountAreaLines(std::string_view text)
{
    AreaLines lines;
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        if (EqualsNoCase(text.substr(at + 1, 4), "AREA")) {
            ++lines.Count;
            lines.Bytes += std::min(text.find('\n', at), text.size()) - at + 3;
        } else if (EqualsNoCase(text.substr(at + 1, 10), "ZOZIVIRERA")) {
            break;
        }
    }
    return lines;
}

} // namespace

std::string ProjectAreaCode(const Document& doc)
{
    std::string code;
    code.reserve(ProjectAreaCodeSize(doc));
    AppendProjectAreaCode(doc, code);
    return code;
}

std::string ProjectText(Document& doc, const std::string& saveTime)
{
    std::string text = "<KVX Ver=3>\r\n";
    text += "<KVX RelativeURL=" + std::to_string(static_cast<std::int32_t>(doc.PathMode)) + ">"
        + kCrLf;
    text += "<KVX ServerType=" + std::to_string(doc.ServerType) + ">" + kCrLf;
    text += "<KVX LastSave=" + saveTime + ">" + kCrLf;
    text += OneLine(doc.ImgTag) + kCrLf;
    // Written straight into the text, with room for the generated code that follows (about as
    // long again): the area code can be megabytes.
    text.reserve(text.size() + 2 * ProjectAreaCodeSize(doc) + doc.ImgTag.size() + 160);
    AppendProjectAreaCode(doc, text);
    text += kCrLf;
    text += "<Zozivirera>\r\n";
    text += GenerateMapCode(doc, true, false);
    text += kCrLf;
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

    const AreaLines areaLines = CountAreaLines(text);
    // Lines end with CR LF (or LF alone); the piece after the last line end is not read.
    std::string repaired;
    std::vector<AttributeSpan> spans;
    std::size_t start = 0;
    std::size_t lineNumber = 0;
    std::size_t imgLine = 0; // the line of the IMG tag whose picture was looked for last
    std::string pictureReason; // why that picture is missing
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         start = end + 1, end = text.find('\n', start)) {
        ++lineNumber;
        std::string_view line = std::string_view(text).substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.find_first_not_of(' ') == std::string_view::npos)
            continue;
        if (line.back() != '>') {
            // A line cut short: a value left open is closed before the tag is.
            repaired.assign(line);
            if (std::count(repaired.begin(), repaired.end(), '"') % 2 != 0)
                repaired += '"';
            repaired += '>';
            line = repaired;
        }
        const TagRecord tag = FirstTag(line, spans);
        const std::string name = ToUpper(tag.TagName);
        const std::string first
            = tag.Attributes.size() > 1 ? ToUpper(Trim(tag.Attributes[1].Name)) : std::string();
        if (name == "KVX") {
            const std::int32_t value = ClampedNumber(
                UnquotedValue(tag.Attributes.size() > 1 ? tag.Attributes[1].Value : ""), -1, 99);
            if (first == "RELATIVEURL")
                pathMode = value;
            else if (first == "SERVERTYPE")
                serverType = value;
        } else if (name == "IMG") {
            const bool firstImg = !imgSeen;
            imgSeen = true;
            // Another IMG line starts the document afresh, so the AREA texts and names taken
            // so far, which belong to the hotspots it drops, are dropped with them.
            result.AreaTexts.clear();
            names = ImportNames {};
            picturePresent = ImportImgTag(doc, tag, fileName, true, context);
            if (!picturePresent)
                pictureReason = MissingPictureReason(tag, fileName, context.Style);
            imgLine = lineNumber;
            if (firstImg) {
                doc.Hotspots.reserve(1 + areaLines.Count);
                names.Taken.Reserve(areaLines.Count);
                result.AreaTexts.reserve(areaLines.Bytes);
            }
        } else if (name == "MAP") {
            if (first == "NAME")
                mapTag = line;
        } else if (name == "AREA") {
            if (picturePresent && tag.Attributes.size() >= 3) {
                result.AreaTexts += AddImportedArea(doc, tag, names, &spans).AreaTag;
                result.AreaTexts += kCrLf;
            }
        } else if (name == "ZOZIVIRERA") {
            break;
        }
    }
    if (!picturePresent) {
        ImportResult failed;
        failed.Message = LoadErrorMessage(imgSeen
                ? pictureReason + " (line " + std::to_string(imgLine) + ")"
                : "Reason : No line of the file is an IMG tag, so it is not a Karvex project.",
            fileName);
        return failed;
    }
    doc.PathMode = pathMode >= 0 && pathMode <= 2 ? static_cast<PathModeKind>(pathMode)
                                                  : PathModeKind::Current;
    doc.ServerType = serverType == 1 ? 1 : 0;
    // A project keeps its page's texts but not its page's META: its bytes tell what they are.
    doc.Charset = TextCharset(text);
    MapImage& image = doc.Images[1];
    // A project without a MAP line still needs a map start tag to write its hotspots under.
    image.MapTag = mapTag.empty()
        ? "<MAP NAME=\"" + EncodeAttributeValue(UseMapTarget(image.UseMap)) + "\">"
        : mapTag;
    image.MapName = GetAttribute(ParseTag(image.MapTag), "NAME", "");
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
