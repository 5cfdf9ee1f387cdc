#include "core/formats/html_writer.h"

#include "core/code/html_validator.h"
#include "core/formats/file_io.h"
#include "core/formats/map_block.h"
#include "core/formats/map_file.h"
#include "core/formats/page_tags.h"
#include "core/formats/project_file.h"
#include "core/formats/tag_reader.h"
#include "core/settings/error_log.h"
#include "core/util/strings.h"
#include "core/util/text_codec.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace karvex {

namespace {

constexpr auto kNone = std::string::npos;
constexpr const char* kCrLf = "\r\n";

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

// The texts of a document that a save may change before it knows it has succeeded.
struct SavedTexts
{
    std::string ImgTag;
    std::string SourceImgTag;
    std::string SourceMapCode;

    void PutBack(Document& doc) const
    {
        doc.ImgTag = ImgTag;
        doc.SourceImgTag = SourceImgTag;
        doc.SourceMapCode = SourceMapCode;
    }
};

// An upper bound of the size of the AREA tags of doc joined by line ends.
std::size_t AreaCodeSize(const Document& doc)
{
    std::size_t size = 0;
    for (const Hotspot& spot : doc.Hotspots)
        size += spot.AreaTag.size() + 2;
    return size;
}

// Appends the AREA tags of the live hotspots, one per line, without blanks at either end of
// the whole (nothing when that leaves nothing).
void AppendAreaCode(const Document& doc, std::string& out)
{
    const std::size_t from = out.size();
    bool first = true;
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        if (!spot.Active)
            continue;
        if (!first)
            out += kCrLf;
        out += spot.AreaTag;
        first = false;
    }
    const std::size_t firstKept = out.find_first_not_of(' ', from);
    if (firstKept == kNone) {
        out.resize(from);
        return;
    }
    out.erase(out.find_last_not_of(' ') + 1);
    out.erase(from, firstKept - from);
}

// Where SetAttributeInTag puts a new attribute into tag[0, bodyEnd): before a closing "/" of a
// closed tag, else at the end of the body.
std::size_t InsertionPoint(std::string_view tag, std::size_t bodyEnd, bool closed)
{
    std::size_t insertAt = bodyEnd;
    while (insertAt > 0 && IsTagBlank(tag[insertAt - 1]))
        --insertAt;
    if (closed && insertAt > 0 && tag[insertAt - 1] == '/') {
        --insertAt;
        while (insertAt > 0 && IsTagBlank(tag[insertAt - 1]))
            --insertAt;
        return insertAt;
    }
    return bodyEnd;
}

bool IsPlainAttributeName(std::string_view name)
{
    return !name.empty() && name.find_first_of(" \t\r\n=<>/\"'") == std::string_view::npos;
}

// SetAttributeInTag for each attribute in turn, in one pass: when the tag ends with its ">",
// holds none of the names, has every quote inside a closed quoted value and does not end in a
// dangling "=", and the names are plain and distinct, each call would only add its attribute
// after the one before. The values come encoded. Otherwise nothing is returned.
std::optional<std::string> SetAllAtOnce(
    const std::string& text, std::span<const AttributePair> attributes)
{
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        if (!IsPlainAttributeName(attributes[i].Name))
            return std::nullopt;
        for (std::size_t j = 0; j < i; ++j) {
            if (EqualsNoCase(attributes[i].Name, attributes[j].Name))
                return std::nullopt;
        }
    }
    if (text.empty() || text.front() != '<' || FindTagEnd(text, 0) != text.size() - 1)
        return std::nullopt;
    const std::string_view tag = text;
    const std::size_t bodyEnd = tag.size() - 1;
    std::size_t outside = 0; // tag[outside, ...) has not been checked for quotes yet
    const auto quoteIn = [&](std::size_t from, std::size_t to) {
        return tag.substr(from, to - from).find_first_of("\"'") != std::string_view::npos;
    };
    for (const AttributeSpan& span : ScanAttributeSpans(tag, bodyEnd)) {
        const std::string_view name = tag.substr(span.NameStart, span.NameEnd - span.NameStart);
        for (const AttributePair& attribute : attributes) {
            if (EqualsNoCase(name, attribute.Name))
                return std::nullopt;
        }
        const std::string_view value = tag.substr(span.ValueStart, span.ValueEnd - span.ValueStart);
        if (value.empty() || value.front() == '"' || value.front() == '\'') {
            if (value.size() < 2 || value.back() != value.front())
                return std::nullopt; // an empty or unclosed value
            if (quoteIn(outside, span.ValueStart))
                return std::nullopt;
            outside = span.ValueEnd;
        }
    }
    if (quoteIn(outside, bodyEnd))
        return std::nullopt;
    const std::size_t insertAt = InsertionPoint(tag, bodyEnd, true);
    const std::size_t lastSolid = tag.substr(0, insertAt).find_last_not_of(" \t\r\n");
    if (lastSolid != std::string_view::npos && tag[lastSolid] == '=')
        return std::nullopt; // the first new attribute would become a value

    std::string result;
    std::size_t size = text.size();
    for (const AttributePair& attribute : attributes)
        size += attribute.Name.size() + attribute.Value.size() + 4;
    result.reserve(size);
    result.append(tag.substr(0, insertAt));
    for (const AttributePair& attribute : attributes) {
        result += ' ';
        result += attribute.Name;
        result += "=\"";
        result += attribute.Value;
        result += '"';
    }
    result.append(tag.substr(insertAt, bodyEnd - insertAt));
    result += '>';
    return result;
}

// The moment of a save as the project's LastSave line gives it.
std::string SaveTimeText()
{
    const std::tm local = LocalTimeNow();
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

// Where text stands in the page as one of the tags of list (a copy inside a comment or a quoted
// value is not the page's markup); npos when it does not.
std::size_t FirstAtTag(
    std::string_view page, const std::vector<TagAt>& list, std::string_view text, bool anyCase)
{
    if (text.empty())
        return kNone;
    for (const TagAt& tag : list) {
        const std::string_view here = page.substr(tag.Start, text.size());
        if (anyCase ? EqualsNoCase(here, text) : here == text)
            return tag.Start;
    }
    return kNone;
}

// Replacements in a page, made in one pass over it.
struct PageEdit
{
    std::size_t At;
    std::size_t Length;
    std::string Text;
};

std::string ApplyEdits(const std::string& page, std::vector<PageEdit> edits)
{
    std::sort(edits.begin(), edits.end(),
        [](const PageEdit& a, const PageEdit& b) { return a.At < b.At; });
    std::string result;
    std::size_t size = page.size();
    for (const PageEdit& edit : edits)
        size += edit.Text.size();
    result.reserve(size);
    std::size_t from = 0;
    for (const PageEdit& edit : edits) {
        result.append(page, from, edit.At - from);
        result += edit.Text;
        from = edit.At + edit.Length;
    }
    result.append(page, from, std::string::npos);
    return result;
}

std::string MapNameOfBlock(const std::string& block)
{
    return GetAttribute(ParseTag(block.substr(0, FindTagEnd(block, 0) + 1), ""), "NAME", "");
}

enum class MergeOutcome {
    Merged,
    PageChanged, // the page's map or IMG tag is not the one the document last saw
    NoPlace, // the page has no IMG tag for the map any more
};

// Steps of the save into an existing page: the IMG tag and the map the page got last time are
// replaced where they stand as the page's markup; a page whose picture has no map yet gets one
// on the line after the IMG tag. When the page no longer holds the map or the edited IMG tag the
// document last saw, nothing is merged unless onConflict says to find them again.
MergeOutcome MergeIntoPage(
    AppState& state, int docIndex, std::string& page, PageConflict onConflict)
{
    Document& doc = state.Documents[static_cast<std::size_t>(docIndex)];
    const PageTags tags(page);
    const bool mapGone = !doc.SourceMapCode.empty()
        && FirstAtTag(page, tags.Maps(), doc.SourceMapCode, false) == kNone;
    const bool imgGone = !doc.SourceImgTag.empty() && doc.SourceImgTag != doc.ImgTag
        && FirstAtTag(page, tags.Images(), doc.SourceImgTag, false) == kNone;
    if (mapGone || imgGone) {
        if (onConflict == PageConflict::Refuse)
            return MergeOutcome::PageChanged;
        if (!FindDocumentCodeInPage(doc, page))
            return MergeOutcome::NoPlace;
    }

    const std::string areaCode = GetDocumentCode(doc, 2);
    const MapImage* picture = PictureOf(doc);
    std::string mapName = picture ? picture->MapName : std::string();
    if (doc.SourceMapCode.empty() && !areaCode.empty() && !mapName.empty()) {
        // A map of that name that appeared in the page since it was read is replaced, not
        // doubled.
        if (const auto existing = FindMapBlock(page, mapName)) {
            if (onConflict == PageConflict::Refuse)
                return MergeOutcome::PageChanged;
            doc.SourceMapCode = std::string(*existing);
        }
    }
    // A map that goes from the page takes the picture's reference to it along; a picture that
    // had none keeps its tag.
    if (areaCode.empty() && !doc.SourceMapCode.empty())
        doc.ImgTag = SetAttributeInTag(doc.ImgTag, "USEMAP", "", "");

    std::vector<PageEdit> edits;
    bool imgFound = false;
    for (const TagAt& tag : tags.Images()) {
        if (doc.SourceImgTag.empty()
            || std::string_view(page).substr(tag.Start, doc.SourceImgTag.size())
                != doc.SourceImgTag)
            continue;
        imgFound = true;
        // An unchanged tag would be replaced by itself: the page is spared the copy.
        if (doc.SourceImgTag != doc.ImgTag)
            edits.push_back({ tag.Start, doc.SourceImgTag.size(), doc.ImgTag });
    }
    if (imgFound)
        doc.SourceImgTag = doc.ImgTag;

    const std::string_view lineEnd = LineEndOf(page);
    if (!doc.SourceMapCode.empty()) {
        const std::size_t at = FirstAtTag(page, tags.Maps(), doc.SourceMapCode, false);
        if (at == kNone)
            return MergeOutcome::NoPlace;
        std::string block = areaCode.empty()
            ? std::string()
            : RebuildMapBlock(state, docIndex, doc.SourceMapCode, areaCode, lineEnd);
        edits.push_back({ at, doc.SourceMapCode.size(), block });
        page = ApplyEdits(page, std::move(edits));
        doc.SourceMapCode = std::move(block);
        return MergeOutcome::Merged;
    }
    if (!edits.empty())
        page = ApplyEdits(page, std::move(edits));
    if (areaCode.empty())
        return MergeOutcome::Merged;

    const std::string lookedFor = doc.ImgTag;
    // Hotspots that would not reach the page must not be reported as saved.
    const std::size_t imgAt = FirstAtTag(page, PageTags(page).Images(), lookedFor, true);
    if (imgAt == kNone)
        return onConflict == PageConflict::Refuse ? MergeOutcome::PageChanged
                                                  : MergeOutcome::NoPlace;
    if (mapName.empty()) {
        mapName = FindFreeMapName(page);
        doc.ImgTag = SetAttributeInTag(doc.ImgTag, "USEMAP", "#" + mapName, "");
    }
    // The new block goes on the lines after the IMG tag, in the page's own line ends; the line
    // end that followed the IMG tag now follows the block.
    std::string block = RebuildMapBlock(state, docIndex, "", areaCode);
    block.resize(block.size() - 2);
    if (lineEnd != kCrLf)
        block = ReplaceAll(block, kCrLf, lineEnd);
    const std::string image
        = SetAttributeInTag(page.substr(imgAt, lookedFor.size()), "Usemap", "#" + mapName, "<IMG");
    block = SetAttributeInTag(block, "NAME", mapName, "<MAP");
    page = ApplyEdits(page, { { imgAt, lookedFor.size(), image + std::string(lineEnd) + block } });
    doc.SourceMapCode = block;
    return MergeOutcome::Merged;
}

// Composes the text of writer kind `kind` for document docIndex and writes it to fileName;
// false, with the reason in result, when nothing was written. The document's IMG tag and search
// texts may have changed either way: the caller puts them back on failure.
bool WriteDocument(AppState& state, int docIndex, const std::string& fileName, int kind, bool fresh,
    PageConflict onConflict, SaveResult& result)
{
    Document& doc = state.Documents[static_cast<std::size_t>(docIndex)];
    if (doc.PathMode == PathModeRelative)
        ApplyPicturePathMode(doc, fileName, 0);
    else if (doc.PathMode == PathModeDirect)
        ApplyPicturePathMode(doc, fileName, 1);

    std::string text;
    bool intoPage = kind == 2 && !fresh && FileExists(fileName);
    if (intoPage) {
        ReadResult page = ReadWholeFile(fileName);
        if (!page.Ok) {
            result.Error
                = "The file " + fileName + " could not be read.\r\nReason : " + page.Reason;
            return false;
        }
        // A UTF-16 page is merged as the UTF-8 text it was read as, and written back in its own
        // encoding.
        const std::optional<Utf16Page> utf16 = DecodeUtf16Page(page.Bytes);
        if (utf16)
            page.Bytes = utf16->Utf8;
        if (page.Bytes.empty()) {
            intoPage = false; // an empty page has nothing to keep
        } else {
            const MergeOutcome outcome = MergeIntoPage(state, docIndex, page.Bytes, onConflict);
            if (outcome != MergeOutcome::Merged) {
                result.PageChanged = outcome == MergeOutcome::PageChanged;
                result.Error = "The image map or its picture in " + fileName
                    + " was changed by another program since it was opened";
                result.Error += outcome == MergeOutcome::PageChanged
                    ? "."
                    : ", and the picture's IMG tag is no longer in the page: the map has no "
                      "place there. Save it as another file.";
                return false;
            }
            text = utf16 ? EncodeUtf16Page(page.Bytes, utf16->BigEndian, utf16->ByteOrderMark)
                         : std::move(page.Bytes);
        }
    }
    if (kind == 1)
        text = ProjectText(state, docIndex, SaveTimeText());
    else if (kind == 3 || kind == 4)
        text = WriteMapFile(doc, kind == 4 ? 1 : 0);
    else if (!intoPage) // a page that has gone missing since it was loaded is written afresh
        text = GenerateMapCode(state, docIndex, true, true);

    if (const WriteResult written = WriteWholeFile(fileName, text); !written) {
        result.Error
            = "The file " + fileName + " could not be written.\r\nReason : " + written.Reason;
        return false;
    }

    return true;
}

} // namespace

bool FindDocumentCodeInPage(Document& doc, std::string_view page)
{
    const std::string useMap = UseMapTarget(GetAttribute(ParseTag(doc.ImgTag, ""), "USEMAP", ""));
    std::string oldName
        = doc.SourceMapCode.empty() ? std::string() : MapNameOfBlock(doc.SourceMapCode);
    if (oldName.empty())
        oldName = useMap;
    const auto find = [&](auto finder) {
        auto found = finder(page, oldName);
        if (!found && oldName != useMap)
            found = finder(page, useMap);
        return found;
    };
    const PageTags tags(page);
    if (FirstAtTag(page, tags.Maps(), doc.SourceMapCode, false) == kNone) {
        const auto block = find(FindMapBlock);
        doc.SourceMapCode = block ? std::string(*block) : std::string();
    }
    if (FirstAtTag(page, tags.Images(), doc.SourceImgTag, false) == kNone) {
        const auto img = find(FindImgTagUsing);
        if (img)
            doc.SourceImgTag = std::string(*img);
        else if (doc.SourceMapCode.empty())
            return false;
    }
    return true;
}

std::string GetDocumentCode(const Document& doc, int mode)
{
    if (mode == 1)
        return Trim(doc.ImgTag);
    if (mode != 2)
        return {};
    std::string code;
    code.reserve(AreaCodeSize(doc));
    AppendAreaCode(doc, code);
    return code;
}

std::string GenerateMapCode(AppState& state, int docIndex, bool withComments, bool storeImgTag)
{
    Document* doc = DocumentAt(state, docIndex);
    if (!doc)
        return {};

    // Written straight into one text: the area code can be megabytes.
    std::string code;
    const MapImage* picture = PictureOf(*doc);
    const std::string mapTag = picture ? picture->MapTag : std::string();
    code.reserve(doc->ImgTag.size() + mapTag.size() + AreaCodeSize(*doc) + 160);
    if (withComments) {
        code += kCrLf;
        code += kCrLf;
        code += "<!-- Visit us at ";
        code += kMakerAddress;
        code += " -->";
        code += kCrLf;
        code += doc->ImgTag;
        code += kCrLf;
    }
    const std::size_t mapStart = code.size();
    code += mapTag;
    code += kCrLf;
    const std::size_t areaStart = code.size();
    AppendAreaCode(*doc, code);
    if (code.size() == areaStart) {
        code.resize(mapStart); // no live hotspot: no MAP block
    } else {
        code += kCrLf;
        code += "</MAP>";
        code += kCrLf;
    }
    if (withComments)
        code += "<!-- End of Imagemap code -->";

    doc->SourceMapCode.assign(code, mapStart, std::string::npos);
    if (storeImgTag)
        doc->SourceImgTag = doc->ImgTag;
    return code;
}

std::string RebuildMapBlock(AppState& state, int docIndex, const std::string& oldBlock,
    const std::string& areaCode, std::string_view pageLineEnd)
{
    Document* doc = DocumentAt(state, docIndex);
    if (!doc)
        return {};
    if (!oldBlock.empty()) {
        const std::string mapName
            = UseMapTarget(GetAttribute(ParseTag(doc->ImgTag, ""), "USEMAP", ""));
        if (auto block = RebuildBlockText(oldBlock, mapName, areaCode, pageLineEnd))
            return std::move(*block);
    }
    // A block without a MAP tag (such as the lone end comment of a map saved without hotspots)
    // has no shape to keep: the document's own block takes its place.
    return GenerateMapCode(state, docIndex, false, false);
}

std::string FindFreeMapName(const std::string& text)
{
    // One pass over the text instead of one per name tried: "KvxMap" followed by digits takes
    // the number of every leading part of those digits ("KvxMap12" takes 1 and 12), just as a
    // search for each name would find it.
    constexpr std::string_view kStem = "KvxMap";
    std::vector<std::string_view> digitRuns;
    std::size_t prefixes = 0;
    for (std::size_t at = FindNoCase(text, kStem); at != kNone;
         at = FindNoCase(text, kStem, at + 1)) {
        std::size_t end = at + kStem.size();
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        const std::string_view digits
            = std::string_view(text).substr(at + kStem.size(), end - at - kStem.size());
        if (!digits.empty() && digits.front() != '0') {
            digitRuns.push_back(digits);
            prefixes += digits.size();
        }
    }
    // At most `prefixes` numbers are taken, so one of 1 .. prefixes + 1 is free.
    const std::size_t limit = prefixes + 1;
    std::vector<bool> taken(limit + 1, false);
    for (const std::string_view digits : digitRuns) {
        std::size_t value = 0;
        for (const char digit : digits) {
            value = value * 10 + static_cast<std::size_t>(digit - '0');
            if (value > limit)
                break;
            taken[value] = true;
        }
    }
    std::size_t n = 1;
    while (taken[n])
        ++n;
    return std::string(kStem) + std::to_string(n);
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

    const std::string encoded = EncodeAttributeValue(value);
    // One allocation: the project writer sets three attributes in every hotspot's tag.
    std::string changed;
    changed.reserve(text.size() + name.size() + encoded.size() + 5);
    changed.append(text, 0, tagBegin);
    if (const auto found = FindAttribute(tag, bodyEnd, name)) {
        changed.append(tag.substr(0, found->NameStart));
        changed.append(tag.substr(found->NameStart, name.size())); // the name as written
        changed += "=\"";
        changed += encoded;
        changed += '"';
        changed.append(tag.substr(found->ValueEnd));
    } else {
        // A self-closing "/>" stays at the end, after the new attribute.
        const std::size_t insertAt = InsertionPoint(tag, bodyEnd, close != kNone);
        changed.append(tag.substr(0, insertAt));
        changed += ' ';
        changed += name;
        changed += "=\"";
        changed += encoded;
        changed += '"';
        changed.append(tag.substr(insertAt, bodyEnd - insertAt));
        changed += ">";
    }
    changed.append(text, tagEnd, std::string::npos);
    return changed;
}

std::string SetAttributesInTag(const std::string& text, std::span<const AttributePair> attributes)
{
    std::vector<AttributePair> encoded(attributes.begin(), attributes.end());
    for (AttributePair& attribute : encoded)
        attribute.Value = EncodeAttributeValue(attribute.Value);
    if (const auto atOnce = SetAllAtOnce(text, encoded))
        return *atOnce;
    std::string result = text;
    for (const AttributePair& attribute : attributes)
        result = SetAttributeInTag(result, attribute.Name, attribute.Value, "");
    return result;
}

void ApplyPicturePathMode(Document& doc, const std::string& targetFile, int mode, PathStyle style)
{
    const MapImage* picture = PictureOf(doc);
    if (!picture || picture->Src.empty() || (mode != 0 && mode != 1))
        return;
    const std::string& src = picture->Src;
    if (mode == 1) {
        doc.ImgTag = SetAttributeInTag(doc.ImgTag, "SRC", EncodeRawValue(src), "");
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
    doc.ImgTag = SetAttributeInTag(doc.ImgTag, "SRC", EncodeRawValue(reference), "");
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

SaveResult SaveDocumentFile(AppState& state, int docIndex, const std::string& fileName, int kind,
    bool fresh, bool copy, PageConflict onConflict)
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

    // A save changes only these texts of the document before it has succeeded, so only they
    // are kept to be put back; a copy of the whole document would copy every hotspot.
    const SavedTexts before { doc->ImgTag, doc->SourceImgTag, doc->SourceMapCode };
    bool written = false;
    try {
        written = WriteDocument(state, docIndex, fileName, kind, fresh, onConflict, result);
    } catch (const std::exception& error) {
        // Such as running out of memory for a huge page: the save fails like any other.
        result.Error
            = "The file " + fileName + " could not be written.\r\nReason : " + error.what();
    }
    if (!written) {
        before.PutBack(*doc);
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
