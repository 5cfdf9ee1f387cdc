#include "core/formats/html_writer.h"

#include "core/code/html_validator.h"
#include "core/formats/html_import.h"
#include "core/formats/map_block.h"
#include "core/formats/page_tags.h"
#include "core/formats/tag_reader.h"
#include "core/formats/tag_writer.h"
#include "core/util/strings.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace karvex {

namespace {

constexpr auto kNone = std::string::npos;
constexpr const char* kCrLf = "\r\n";

const MapImage* PictureOf(const Document& doc)
{
    return doc.Images.size() > 1 ? &doc.Images[1] : nullptr;
}

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

// Where a page gets a picture and map it has no place for: the start of the line of its last
// closing BODY tag when only blanks stand before the tag on that line (the tag keeps its
// indentation), else the tag itself; the end of a page without one.
std::size_t BodyEndOf(std::string_view page)
{
    HtmlTokenizer tokens(page);
    std::size_t bodyEnd = kNone;
    for (std::size_t at = 0; at < page.size();) {
        const HtmlToken token = tokens.At(at);
        at = token.End;
        if (token.Kind == HtmlToken::Type::Tag && token.IsEndTag("body"))
            bodyEnd = token.Start;
    }
    if (bodyEnd == kNone)
        return page.size();
    std::size_t lineStart = bodyEnd;
    while (lineStart > 0 && (page[lineStart - 1] == ' ' || page[lineStart - 1] == '\t'))
        --lineStart;
    return lineStart == 0 || page[lineStart - 1] == '\n' || page[lineStart - 1] == '\r' ? lineStart
                                                                                        : bodyEnd;
}

std::string MapNameOfBlock(const std::string& block)
{
    return GetAttribute(ParseTag(block.substr(0, FindTagEnd(block, 0) + 1)), "NAME", "");
}

} // namespace

namespace {

// Puts the document's IMG tag and map into a page that has no place for them (see BodyEndOf),
// each on lines of their own in the page's line ends.
MergeOutcome InsertDocumentCode(Document& doc, std::string& page)
{
    const std::string areaCode = GetDocumentCode(doc, CodePart::AreaCode);
    const MapImage* picture = PictureOf(doc);
    std::string mapName = picture ? picture->MapName : std::string();
    if (mapName.empty() && !areaCode.empty()) {
        mapName = FindFreeMapName(page);
        doc.ImgTag = SetAttributeInTag(doc.ImgTag, "USEMAP", "#" + mapName, "");
    }
    const std::string lineEnd(LineEndOf(page));
    std::string block;
    if (!areaCode.empty()) {
        block = RebuildMapBlock(doc, "", areaCode);
        block.resize(block.size() - 2);
        block = SetAttributeInTag(block, "NAME", mapName, "<MAP");
        if (lineEnd != kCrLf)
            block = ReplaceAll(block, kCrLf, lineEnd);
    }
    const std::size_t at = BodyEndOf(page);
    // Text that does not end its line before the insertion gets a line end of its own.
    std::string code = at > 0 && page[at - 1] != '\n' && page[at - 1] != '\r' ? lineEnd : "";
    code += doc.ImgTag + lineEnd;
    if (!block.empty())
        code += block + lineEnd;
    page.insert(at, code);
    doc.SourceImgTag = doc.ImgTag;
    doc.SourceMapCode = std::move(block);
    return MergeOutcome::Merged;
}

} // namespace

bool FindDocumentCodeInPage(Document& doc, std::string_view page)
{
    const std::string useMap = UseMapTarget(GetAttribute(ParseTag(doc.ImgTag), "USEMAP", ""));
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

// Steps of the save into an existing page: the IMG tag and the map the page got last time are
// replaced where they stand as the page's markup; a page whose picture has no map yet gets one
// on the line after the IMG tag. When the page no longer holds the map or the edited IMG tag the
// document last saw, nothing is merged unless onConflict says to find them again.
MergeOutcome MergeIntoPage(Document& doc, std::string& page, PageConflict onConflict)
{
    const PageTags tags(page);
    const bool mapGone = !doc.SourceMapCode.empty()
        && FirstAtTag(page, tags.Maps(), doc.SourceMapCode, false) == kNone;
    const bool imgGone = !doc.SourceImgTag.empty() && doc.SourceImgTag != doc.ImgTag
        && FirstAtTag(page, tags.Images(), doc.SourceImgTag, false) == kNone;
    if (onConflict == PageConflict::Insert) {
        // Another page: what the document last saw in its own page means nothing here.
        if (!FindDocumentCodeInPage(doc, page))
            return InsertDocumentCode(doc, page);
    } else if (mapGone || imgGone) {
        if (onConflict == PageConflict::Refuse)
            return MergeOutcome::PageChanged;
        if (!FindDocumentCodeInPage(doc, page))
            return MergeOutcome::NoPlace;
    }

    const std::string areaCode = GetDocumentCode(doc, CodePart::AreaCode);
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
            : RebuildMapBlock(doc, doc.SourceMapCode, areaCode, lineEnd);
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
    if (imgAt == kNone) {
        if (onConflict == PageConflict::Insert)
            return InsertDocumentCode(doc, page);
        return onConflict == PageConflict::Refuse ? MergeOutcome::PageChanged
                                                  : MergeOutcome::NoPlace;
    }
    if (mapName.empty()) {
        mapName = FindFreeMapName(page);
        doc.ImgTag = SetAttributeInTag(doc.ImgTag, "USEMAP", "#" + mapName, "");
    }
    // The new block goes on the lines after the IMG tag, in the page's own line ends; the line
    // end that followed the IMG tag now follows the block.
    std::string block = RebuildMapBlock(doc, "", areaCode);
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

std::string GetDocumentCode(const Document& doc, CodePart part)
{
    if (part == CodePart::ImgTag)
        return Trim(doc.ImgTag);
    std::string code;
    code.reserve(AreaCodeSize(doc));
    AppendAreaCode(doc, code);
    return code;
}

std::string GenerateMapCode(Document& document, bool withComments, bool storeImgTag)
{
    Document* doc = &document;

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

std::string RebuildMapBlock(Document& document, const std::string& oldBlock,
    const std::string& areaCode, std::string_view pageLineEnd)
{
    Document* doc = &document;
    if (!oldBlock.empty()) {
        const std::string mapName = UseMapTarget(GetAttribute(ParseTag(doc->ImgTag), "USEMAP", ""));
        if (auto block = RebuildBlockText(oldBlock, mapName, areaCode, pageLineEnd))
            return std::move(*block);
    }
    // A block without a MAP tag (such as the lone end comment of a map saved without hotspots)
    // has no shape to keep: the document's own block takes its place.
    return GenerateMapCode(*doc, false, false);
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

void ApplyPicturePathMode(
    Document& doc, const std::string& targetFile, PathModeKind mode, PathStyle style)
{
    const MapImage* picture = PictureOf(doc);
    if (!picture || picture->Src.empty() || mode == PathModeKind::Current)
        return;
    const std::string& src = picture->Src;
    if (mode == PathModeKind::Direct) {
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

} // namespace karvex
