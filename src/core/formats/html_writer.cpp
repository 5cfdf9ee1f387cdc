#include "core/formats/html_writer.h"

#include "core/code/html_validator.h"
#include "core/formats/file_io.h"
#include "core/formats/map_file.h"
#include "core/formats/project_file.h"
#include "core/formats/tag_reader.h"
#include "core/util/strings.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace karvex {

namespace {

constexpr auto kNone = std::string::npos;
constexpr const char* kCrLf = "\r\n";
constexpr const char* kAreaPlaceholder = "##AREACODE##";

Document* DocumentAt(AppState& state, int docIndex)
{
    if (docIndex < 1 || static_cast<std::size_t>(docIndex) >= state.Documents.size())
        return nullptr;
    return &state.Documents[static_cast<std::size_t>(docIndex)];
}

const MapImage* PictureOf(const Document& doc)
{
    return doc.Images.size() > 1 ? &doc.Images[1] : nullptr;
}

// The tag texts of one line in order, each from "<" through ">" (or to the line's end). A line
// without any tag counts as one empty tag text, so blank lines inside a map are kept as lines.
std::vector<std::string> TagsOfLine(std::string_view line)
{
    std::vector<std::string> tags;
    std::size_t start = line.find('<');
    while (start != kNone) {
        const std::size_t close = line.find('>', start + 1);
        const std::size_t end = close == kNone ? line.size() : close + 1;
        tags.emplace_back(line.substr(start, end - start));
        start = end < line.size() ? line.find('<', end) : kNone;
    }
    if (tags.empty())
        tags.emplace_back();
    return tags;
}

// The first attribute called name (case-blind) in tag[0, bodyEnd), read as a browser reads it.
std::optional<AttributeSpan> FindAttribute(
    std::string_view tag, std::size_t bodyEnd, const std::string& name)
{
    for (const AttributeSpan& span : ScanAttributeSpans(tag, bodyEnd)) {
        if (EqualsNoCase(tag.substr(span.NameStart, span.NameEnd - span.NameStart), name))
            return span;
    }
    return std::nullopt;
}

// The moment of a save as the project's LastSave line gives it.
std::string SaveTimeText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char buffer[32] = {};
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

std::string WithoutTrailing(std::string text, const std::string& separator)
{
    if (!separator.empty() && text.size() >= separator.size()
        && text.compare(text.size() - separator.size(), separator.size(), separator) == 0)
        text.erase(text.size() - separator.size());
    return text;
}

// Steps of the save into an existing page: the IMG tag and the map the page got last time are
// replaced; a page whose picture has no map yet gets one on the line after the IMG tag.
std::string MergeIntoPage(AppState& state, int docIndex, std::string page)
{
    Document& doc = state.Documents[static_cast<std::size_t>(docIndex)];
    HtmlValidator engine;
    const std::string areaCode = GetDocumentCode(doc, 2);
    if (areaCode.empty())
        doc.ImgTag = engine.ReplaceTag("USEMAP", "", doc.ImgTag);

    if (!doc.SourceImgTag.empty() && page.find(doc.SourceImgTag) != kNone) {
        page = ReplaceAll(page, doc.SourceImgTag, doc.ImgTag);
        doc.SourceImgTag = doc.ImgTag;
    }

    if (!doc.SourceMapCode.empty()) {
        // A block that no longer matches was changed by hand: the page's map stays as it is.
        if (page.find(doc.SourceMapCode) != kNone) {
            const std::string block = areaCode.empty()
                ? std::string()
                : RebuildMapBlock(state, docIndex, doc.SourceMapCode, areaCode);
            page = ReplaceAll(page, doc.SourceMapCode, block);
            doc.SourceMapCode = block;
        }
        return page;
    }

    const std::string lookedFor = doc.ImgTag;
    const MapImage* picture = PictureOf(doc);
    std::string mapName = picture ? picture->MapName : std::string();
    if (mapName.empty()) {
        mapName = FindFreeMapName(page);
        doc.ImgTag = engine.ReplaceTag("USEMAP", "#" + mapName, doc.ImgTag);
    }

    if (!areaCode.empty()) {
        std::string block = RebuildMapBlock(state, docIndex, "", areaCode);
        const std::string image = SetAttributeInTag(lookedFor, "Usemap", "#" + mapName, "<IMG");
        block = SetAttributeInTag(block, "NAME", mapName, "<MAP");
        // Only a map that reached the page is searched for next time; otherwise a later save
        // tries the insertion again.
        if (!lookedFor.empty() && FindNoCase(page, lookedFor) != kNone) {
            page = ReplaceAll(page, lookedFor, image + kCrLf + block, true);
            doc.SourceMapCode = block;
        } else {
            doc.SourceMapCode.clear();
        }
    } else {
        doc.ImgTag = engine.ReplaceTag("USEMAP", "", doc.ImgTag);
        page = ReplaceAll(page, lookedFor, doc.ImgTag, true);
    }
    return page;
}

} // namespace

std::string GetDocumentCode(const Document& doc, int mode)
{
    if (mode == 1)
        return Trim(doc.ImgTag);
    if (mode != 2)
        return {};
    std::string code;
    bool first = true;
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        if (!spot.Active)
            continue;
        if (!first)
            code += kCrLf;
        code += spot.AreaTag;
        first = false;
    }
    return Trim(code);
}

std::string GenerateMapCode(AppState& state, int docIndex, bool withComments, bool storeImgTag)
{
    Document* doc = DocumentAt(state, docIndex);
    if (!doc)
        return {};

    std::string comments;
    if (withComments) {
        comments = std::string(kCrLf) + kCrLf + "<!-- Visit us at " + kMakerAddress + " -->" + kCrLf
            + doc->ImgTag + kCrLf;
    }

    std::string mapPart;
    const std::string areaCode = GetDocumentCode(*doc, 2);
    if (!areaCode.empty()) {
        const MapImage* picture = PictureOf(*doc);
        mapPart = (picture ? picture->MapTag : std::string()) + kCrLf + areaCode + kCrLf + "</MAP>"
            + kCrLf;
    }
    if (withComments)
        mapPart += "<!-- End of Imagemap code -->";

    doc->SourceMapCode = mapPart;
    if (storeImgTag)
        doc->SourceImgTag = doc->ImgTag;
    return comments + mapPart;
}

std::string RebuildMapBlock(
    AppState& state, int docIndex, const std::string& oldBlock, const std::string& areaCode)
{
    Document* doc = DocumentAt(state, docIndex);
    if (!doc)
        return {};
    if (oldBlock.empty())
        return GenerateMapCode(state, docIndex, false, false);

    const std::string mapName
        = RemoveAll(GetAttribute(ParseTag(doc->ImgTag, ""), "USEMAP", ""), '#');
    std::string result;
    bool inside = false;
    bool areaPlaced = false;
    bool closed = false;
    // Pages made on Linux or macOS end their lines with LF alone.
    for (std::string line : Split(oldBlock, "\n")) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        for (const std::string& tagText : TagsOfLine(line)) {
            const std::string tagName = ToUpper(ParseTag(tagText, "").TagName);
            if (tagName == "MAP") {
                result += SetAttributeInTag(tagText, "NAME", mapName, "") + kCrLf;
                inside = true;
            } else if (!inside) {
                continue; // anything before the MAP tag is not part of the block
            } else if (tagName == "AREA") {
                if (!areaPlaced)
                    result += kAreaPlaceholder;
                areaPlaced = true;
            } else if (tagName == "/MAP") {
                result += kCrLf + tagText;
                closed = true;
                break;
            } else {
                result += tagText + kCrLf;
            }
        }
        if (closed)
            break;
    }

    // A block without a MAP tag (such as the lone end comment of a map saved without hotspots)
    // has no shape to keep: the document's own block takes its place.
    if (!inside)
        return GenerateMapCode(state, docIndex, false, false);
    if (!closed)
        result += std::string(kCrLf) + "</MAP>";
    return ReplaceAll(result, kAreaPlaceholder, areaCode);
}

std::string FindFreeMapName(const std::string& text)
{
    for (int n = 1;; ++n) {
        std::string name = "KvxMap" + std::to_string(n);
        if (FindNoCase(text, name) == kNone)
            return name;
    }
}

std::string SetAttributeInTag(const std::string& text, const std::string& name,
    const std::string& value, const std::string& tagStart)
{
    if (name.empty())
        return text;
    std::size_t tagBegin = 0;
    if (!tagStart.empty()) {
        tagBegin = FindNoCase(text, tagStart);
        if (tagBegin == kNone)
            return text;
    }
    if (tagBegin >= text.size())
        return text; // no tag to set anything in
    const std::size_t close = FindTagEnd(text, tagBegin);
    const std::size_t tagEnd = close == kNone ? text.size() : close + 1;
    const std::string_view tag = std::string_view(text).substr(tagBegin, tagEnd - tagBegin);
    const std::size_t bodyEnd = close == kNone ? tag.size() : tag.size() - 1;

    std::string changed;
    if (const auto found = FindAttribute(tag, bodyEnd, name)) {
        changed.append(tag.substr(0, found->NameStart));
        changed.append(tag.substr(found->NameStart, name.size())); // the name as written
        changed += "=\"" + value + "\"";
        changed.append(tag.substr(found->ValueEnd));
    } else {
        // A self-closing "/>" stays at the end, after the new attribute.
        std::size_t insertAt = bodyEnd;
        while (insertAt > 0 && IsTagBlank(tag[insertAt - 1]))
            --insertAt;
        if (close != kNone && insertAt > 0 && tag[insertAt - 1] == '/') {
            --insertAt;
            while (insertAt > 0 && IsTagBlank(tag[insertAt - 1]))
                --insertAt;
        } else {
            insertAt = bodyEnd;
        }
        changed.append(tag.substr(0, insertAt));
        changed += " " + name + "=\"" + value + "\"";
        changed.append(tag.substr(insertAt, bodyEnd - insertAt));
        changed += ">";
    }
    return text.substr(0, tagBegin) + changed + text.substr(tagEnd);
}

void ApplyPicturePathMode(Document& doc, const std::string& targetFile, int mode, PathStyle style)
{
    const MapImage* picture = PictureOf(doc);
    if (!picture || picture->Src.empty() || (mode != 0 && mode != 1))
        return;
    const std::string& src = picture->Src;
    HtmlValidator engine;
    if (mode == 1) {
        doc.ImgTag = engine.ReplaceTag("Src", src, doc.ImgTag);
        return;
    }

    const std::string separator = PathSeparator(style);
    const std::string targetFolder
        = WithoutTrailing(LeftOfLast(targetFile, separator, true), separator);
    const std::string pictureFolder = WithoutTrailing(LeftOfLast(src, separator, true), separator);
    const std::string fileName = GetFileName(src);
    std::string reference = pictureFolder != fileName
        ? MakeRelativePath(targetFolder, pictureFolder, style)
        : pictureFolder;
    if (reference.empty())
        reference = fileName;
    if (reference.find(fileName) == kNone)
        reference += fileName;
    doc.ImgTag = engine.ReplaceTag("Src", reference, doc.ImgTag);
}

int WriterKindForPath(const std::string& path, int serverType)
{
    const std::string ending = ToUpper(path.size() > 4 ? path.substr(path.size() - 4) : path);
    if (ending == ".KVP")
        return 1;
    if (ending == "HTML" || ending == ".HTM")
        return 2;
    if (ending == ".MAP")
        return serverType == 1 ? 4 : 3;
    return 0;
}

SaveResult SaveDocumentFile(
    AppState& state, int docIndex, const std::string& fileName, int kind, bool fresh, bool copy)
{
    SaveResult result;
    Document* doc = DocumentAt(state, docIndex);
    if (!doc) {
        result.Error = "There is no document to save.";
        return result;
    }
    if (fileName.empty()) {
        result.Error = "No file name was given.";
        return result;
    }
    if (kind < 1 || kind > 4) {
        result.Error = "Unknown kind of file to save: " + std::to_string(kind) + ".";
        return result;
    }
    const std::string slotText = std::to_string(docIndex);
    if (!copy) {
        const auto owner = state.OpenDocuments.Find(fileName);
        if (owner && *owner != slotText) {
            result.Error = "This file is already open, saving will be canceled.";
            return result;
        }
    }

    const Document before = *doc;
    if (doc->PathMode == PathModeRelative)
        ApplyPicturePathMode(*doc, fileName, 0);
    else if (doc->PathMode == PathModeDirect)
        ApplyPicturePathMode(*doc, fileName, 1);

    std::string text;
    bool intoPage = kind == 2 && !fresh && FileExists(fileName);
    if (intoPage) {
        const std::string page = ApiReadFile(fileName);
        if (page.empty()) {
            std::error_code ec;
            const auto size = std::filesystem::file_size(std::filesystem::path(fileName), ec);
            if (ec || size > 0) {
                *doc = before;
                result.Error = "The file " + fileName + " could not be read.";
                return result;
            }
            intoPage = false; // an empty page has nothing to keep
        } else {
            text = MergeIntoPage(state, docIndex, page);
        }
    }
    if (kind == 1)
        text = ProjectText(state, docIndex, SaveTimeText());
    else if (kind == 3 || kind == 4)
        text = WriteMapFile(*doc, kind == 4 ? 1 : 0);
    else if (!intoPage) // a page that has gone missing since it was loaded is written afresh
        text = GenerateMapCode(state, docIndex, true, true);

    if (!WriteWholeFile(fileName, text)) {
        *doc = before;
        result.Error = "The file " + fileName + " could not be written.";
        return result;
    }

    result.Ok = true;
    result.ImgTagChanged = doc->ImgTag != before.ImgTag;
    if (copy) {
        // A preview copy must not change what the next real save searches for in the page.
        doc->SourceMapCode = before.SourceMapCode;
        doc->SourceImgTag = before.SourceImgTag;
        return result;
    }
    const bool renamed = !EqualsNoCase(fileName, doc->Title);
    if (renamed && state.OpenDocuments.Find(doc->Title) == slotText)
        state.OpenDocuments.Remove(doc->Title);
    doc->Title = fileName;
    doc->FilePath = fileName;
    if (renamed)
        state.OpenDocuments.Add(doc->Title, slotText);
    return result;
}

} // namespace karvex
