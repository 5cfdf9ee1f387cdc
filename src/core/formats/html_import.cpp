#include "core/formats/html_import.h"

#include "core/code/html_validator.h"
#include "core/formats/area_import.h"
#include "core/formats/html_writer.h"
#include "core/formats/image_size.h"
#include "core/formats/img_import.h"
#include "core/formats/page_charset.h"
#include "core/formats/page_tags.h"
#include "core/formats/tag_writer.h"
#include "core/util/charset.h"
#include "core/util/file_io.h"
#include "core/util/numbers.h"
#include "core/util/prompt.h"
#include "core/util/strings.h"
#include "core/util/text_codec.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>

namespace karvex {

namespace {

constexpr auto kNone = std::string_view::npos;

std::string_view Slice(std::string_view text, const TagAt& tag)
{
    return text.substr(tag.Start, tag.End - tag.Start);
}

// Where the block of the map whose start tag is mapTag ends: one past the ">" of the first
// "</MAP>" after it, before the next MAP starts. A map that is never closed runs on for a
// browser, and the AREAs up to the next MAP are its own; its block ends after the last of them,
// so that a save replaces its AREAs and nothing more.
std::size_t MapBlockEnd(const PageTags& tags, const TagAt& mapTag)
{
    const std::size_t nextMap = PageTags::FirstFrom(tags.Maps(), mapTag.End);
    const std::size_t bound
        = nextMap < tags.Maps().size() ? tags.Maps()[nextMap].Start : std::string_view::npos;
    const std::size_t end = PageTags::FirstFrom(tags.MapEnds(), mapTag.End);
    if (end < tags.MapEnds().size() && tags.MapEnds()[end].Start < bound)
        return tags.MapEnds()[end].End;
    const std::size_t areasEnd = PageTags::FirstFrom(tags.Areas(), bound);
    const std::size_t areasStart = PageTags::FirstFrom(tags.Areas(), mapTag.End);
    return areasEnd > areasStart ? tags.Areas()[areasEnd - 1].End : mapTag.End;
}

struct MapTagInfo
{
    TagAt Tag;
    std::string Name; // decoded; empty when the tag has no NAME
    std::string Id;
    std::size_t BlockEnd = kNone;
};

// The map an IMG's USEMAP names for a browser: the text after the first "#", with the page's
// character references read; nothing without a "#".
std::optional<std::string> BrowserMapName(const TagRecord& img)
{
    const std::string useMap = DecodeAttributeValue(GetAttribute(img, "USEMAP", ""));
    const std::size_t hash = useMap.find('#');
    if (hash == std::string::npos)
        return std::nullopt;
    return useMap.substr(hash + 1);
}

// The map name as this editor has always read USEMAP: after the first "#", or the whole value.
std::string UseMapName(const TagRecord& img)
{
    return DecodeAttributeValue(UseMapTarget(GetAttribute(img, "USEMAP", "")));
}

// A MAP tag's name, read as UseMapName reads the names it is compared with.
std::string MapTagName(std::string_view tagText, std::string_view defaultName)
{
    return DecodeAttributeValue(GetAttribute(ParseOneTag(tagText), "NAME", defaultName));
}

// Every MAP of the page once, looked up as a browser does (NAME or ID, exact) and as this editor
// always has (NAME in any letter case, "0" for a map without one); the first in page order wins.
struct MapIndex
{
    std::vector<MapTagInfo> Maps;
    std::unordered_map<std::string, std::size_t> Exact;
    std::unordered_map<std::string, std::size_t> Upper;

    MapIndex(std::string_view text, const PageTags& tags)
        : m_tags(tags)
    {
        for (const TagAt& tag : tags.Maps()) {
            const TagRecord record = ParseOneTag(Slice(text, tag));
            MapTagInfo info { tag, DecodeAttributeValue(GetAttribute(record, "NAME", "")),
                DecodeAttributeValue(GetAttribute(record, "ID", "")), kNone };
            if (!info.Name.empty())
                Exact.emplace(info.Name, Maps.size());
            if (!info.Id.empty())
                Exact.emplace(info.Id, Maps.size());
            Upper.emplace(ToUpper(MapTagName(Slice(text, tag), "0")), Maps.size());
            Maps.push_back(std::move(info));
        }
    }

    // The map a browser connects img to, else the one this editor has always opened for it;
    // loose tells which.
    std::size_t MapOf(const TagRecord& img, bool& loose) const
    {
        loose = false;
        if (const std::optional<std::string> name = BrowserMapName(img)) {
            if (const auto found = Exact.find(*name); found != Exact.end())
                return found->second;
        }
        const auto found = Upper.find(ToUpper(UseMapName(img)));
        if (found == Upper.end())
            return kNone;
        loose = true;
        return found->second;
    }

    // The block end, searched once per map.
    std::size_t BlockEnd(std::size_t index)
    {
        MapTagInfo& map = Maps[index];
        if (map.BlockEnd == kNone)
            map.BlockEnd = MapBlockEnd(m_tags, map.Tag);
        return map.BlockEnd;
    }

    std::size_t AreaCount(std::size_t index)
    {
        const std::vector<TagAt>& areas = m_tags.Areas();
        return PageTags::FirstFrom(areas, BlockEnd(index))
            - PageTags::FirstFrom(areas, Maps[index].Tag.End);
    }

    // A map that the USEMAP "#" + its NAME (else its ID) reaches: it is the first of that name.
    bool Reachable(std::size_t index) const
    {
        const MapTagInfo& map = Maps[index];
        const std::string& key = map.Name.empty() ? map.Id : map.Name;
        if (key.empty())
            return false;
        const auto found = Exact.find(key);
        return found != Exact.end() && found->second == index;
    }

private:
    const PageTags& m_tags;
};

// The candidates of the page without their map blocks; mapOf gets each one's map in maps, or
// kNone, and imageOf each one's IMG in tags.Images(), or kNone.
std::vector<MapCandidate> CollectCandidates(std::string_view text, const PageTags& tags,
    bool searchWithoutMap, MapIndex& maps, std::vector<std::size_t>& mapOf,
    std::vector<std::size_t>& imageOf)
{
    std::vector<MapCandidate> candidates;
    mapOf.clear();
    imageOf.clear();
    std::vector<bool> used(maps.Maps.size(), false);
    const auto describeMap = [&maps](MapCandidate& candidate, std::size_t map) {
        candidate.MapName = maps.Maps[map].Name;
        candidate.MapId = maps.Maps[map].Id;
        candidate.AreaCount = maps.AreaCount(map);
    };
    for (std::size_t i = 0; i < tags.Images().size(); ++i) {
        const std::string_view imgText = Slice(text, tags.Images()[i]);
        const TagRecord img = ParseOneTag(imgText);
        const bool hasUseMap = !GetAttribute(img, "USEMAP", "").empty();
        if (!hasUseMap && !searchWithoutMap)
            continue;
        MapCandidate candidate;
        candidate.ImgTag = std::string(imgText);
        std::size_t map = kNone;
        if (hasUseMap) {
            candidate.Kind = kCandidateWithMap;
            bool loose = false;
            map = maps.MapOf(img, loose);
            if (map != kNone) {
                candidate.MapFound = !loose;
                candidate.LooseMatch = loose;
                used[map] = true;
                describeMap(candidate, map);
            }
        }
        candidates.push_back(std::move(candidate));
        mapOf.push_back(map);
        imageOf.push_back(i);
    }
    for (std::size_t map = 0; map < maps.Maps.size(); ++map) {
        if (used[map] || !maps.Reachable(map))
            continue;
        MapCandidate candidate;
        candidate.Kind = kCandidateMapOnly;
        describeMap(candidate, map);
        candidates.push_back(std::move(candidate));
        mapOf.push_back(map);
        imageOf.push_back(kNone);
    }
    return candidates;
}

// Copies each found map's block into its candidate, as the map chooser shows them.
void FillMapBlocks(std::string_view text, MapIndex& maps, const std::vector<std::size_t>& mapOf,
    std::vector<MapCandidate>& candidates)
{
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (mapOf[i] == kNone)
            continue;
        const std::size_t end = maps.BlockEnd(mapOf[i]);
        const std::size_t start = maps.Maps[mapOf[i]].Tag.Start;
        candidates[i].MapBlock = std::string(text.substr(start, end - start));
    }
}

ImportResult Failed(const std::string& reason, const std::string& fileName)
{
    ImportResult result;
    result.Message = LoadErrorMessage(reason, fileName);
    return result;
}

} // namespace

std::string LoadErrorMessage(const std::string& reason, const std::string& fileName)
{
    std::string message = kLoadErrorMessage;
    if (!fileName.empty() || !reason.empty())
        message += "\r\n";
    if (!fileName.empty())
        message += "\r\nFile : " + fileName;
    if (!reason.empty())
        message += "\r\n" + reason;
    return message;
}

std::string LooseMatchWarning(const MapCandidate& candidate)
{
    const std::string useMap = GetAttribute(ParseTag(candidate.ImgTag), "USEMAP", "");
    const std::string& map = candidate.MapName.empty() ? candidate.MapId : candidate.MapName;
    return "The picture's USEMAP \"" + useMap + "\" does not name the map \"" + map + "\" exactly ("
        + (useMap.find('#') == std::string::npos ? "it lacks the \"#\"" : "letter case")
        + "), so a browser will not connect the picture to the map.";
}

std::string ImportWarningsText(
    const std::vector<std::string>& warnings, const std::string& fileName)
{
    std::string text = fileName + " was opened, but:\r\n";
    for (std::size_t i = 0; i < warnings.size() && i < kShownWarnings; ++i)
        text += "\r\n" + warnings[i];
    if (warnings.size() > kShownWarnings)
        text += "\r\n... and " + std::to_string(warnings.size() - kShownWarnings) + " more.";
    return text;
}

std::string PictureReason(const std::string& detail)
{
    if (detail.empty())
        return kPictureReason;
    const char last = detail.back();
    return std::string(kPictureReason) + " " + detail + (last == '.' || last == ')' ? "" : ".");
}

std::string MissingPictureReason(const TagRecord& img, const std::string& fileName, PathStyle style)
{
    const std::string src = Trim(GetAttribute(img, "SRC", ""));
    if (src.empty())
        return PictureReason("The IMG tag names no picture");
    const ResolvedPath path = ResolveSrcPath(src, fileName, style);
    return PictureReason("The picture " + (path.Ok() ? path.Path : src) + " was not found");
}

std::vector<MapCandidate> FindMapCandidates(std::string_view text, bool searchWithoutMap)
{
    const PageTags tags(text);
    MapIndex maps(text, tags);
    std::vector<std::size_t> mapOf;
    std::vector<std::size_t> imageOf;
    std::vector<MapCandidate> candidates
        = CollectCandidates(text, tags, searchWithoutMap, maps, mapOf, imageOf);
    FillMapBlocks(text, maps, mapOf, candidates);
    return candidates;
}

std::string CandidateKey(const MapCandidate& candidate)
{
    if (candidate.Kind == kCandidateMapOnly)
        return "#" + (candidate.MapName.empty() ? candidate.MapId : candidate.MapName);
    const TagRecord img = ParseTag(candidate.ImgTag);
    const std::string useMap = GetAttribute(img, "USEMAP", "");
    return useMap.empty() ? GetAttribute(img, "SRC", "") : useMap;
}

bool ImportImgTag(Document& doc, const TagRecord& tag, const std::string& fileName,
    bool newDocument, const ImportContext& context)
{
    if (newDocument) {
        doc = Document {};
        doc.ImgTag = tag.TagText;
    }
    std::string src;
    std::string useMap;
    std::string height;
    std::string width;
    std::string border;
    std::string alt;
    for (std::size_t i = 1; i < tag.Attributes.size(); ++i) {
        const std::string name = ToUpper(Trim(tag.Attributes[i].Name));
        const std::string value = UnquotedValue(tag.Attributes[i].Value);
        if (name == "SRC")
            src = Trim(value);
        else if (name == "USEMAP")
            useMap = value;
        else if (name == "HEIGHT")
            height = value;
        else if (name == "WIDTH")
            width = value;
        else if (name == "BORDER")
            border = value;
        else if (name == "ALT")
            alt = value;
        else if (!name.empty())
            doc.ImgAttributes.push_back({ Trim(tag.Attributes[i].Name), value });
    }
    doc.SourceImgTag = tag.TagText;
    doc.Title = fileName;
    doc.FilePath = fileName;

    std::string picture = context.Picture;
    if (picture.empty() && !src.empty()) {
        const ResolvedPath path = ResolveSrcPath(src, fileName, context.Style);
        if (path.Ok() && (FileExists(path.Path) || context.KeepMissingPicture))
            picture = path.Path;
    }
    if (picture.empty() && context.KeepMissingPicture)
        picture = src; // which may name none: a map file without a picture, say
    if (picture.empty() && !context.KeepMissingPicture) {
        if (!context.Ask)
            return false;
        const PromptAnswer answer = context.Ask->Ask({ kMissingPictureQuestion, context.Title,
            PromptIcon::Critical, PromptButtons::YesNo, PromptAnswer::No });
        if (answer != PromptAnswer::Yes)
            return false;
        const std::string& filter = context.PictureFilter;
        // The last entry lists every kind of picture.
        const int entries = static_cast<int>(std::count(filter.begin(), filter.end(), '|') + 1) / 2;
        // The search starts in the folder of the file that names the picture.
        const std::string separator = PathSeparator(context.Style);
        const std::size_t folderEnd = fileName.rfind(separator);
        const auto chosen = context.Ask->ChooseOpenFile({ "Open", filter, entries, "",
            folderEnd == std::string::npos ? std::string() : fileName.substr(0, folderEnd) });
        if (!chosen || chosen->empty())
            return false;
        picture = *chosen;
    }

    MapImage& image = doc.Images[1];
    image.Src = picture;
    image.UseMap = useMap;
    image.AltText = alt;
    image.Border = PictureNumber(border.empty() ? "0" : border);
    // A size that is missing, or no size at all ("0", "-5"), is the picture's own.
    image.Width = PictureNumber(width);
    image.Height = PictureNumber(height);
    if (image.Width < 1 || image.Height < 1) {
        const ImageSize own = UnpackImageSize(GetImageSize(picture, context.Ask));
        if (image.Width < 1)
            image.Width = own.Width;
        if (image.Height < 1)
            image.Height = own.Height;
    }
    return true;
}

namespace {

constexpr std::uint64_t kIndexBits = 0xFFFFFFFFu;

std::uint64_t NameHash(std::string_view upperName)
{
    return static_cast<std::uint64_t>(std::hash<std::string_view> {}(upperName));
}

} // namespace

bool TakenNames::Contains(std::string_view name) const
{
    if (m_slots.empty())
        return false;
    const std::string upper = ToUpper(name);
    return m_slots[SlotOf(upper, NameHash(upper))] != 0;
}

bool TakenNames::Insert(std::string_view name)
{
    // At most half full, so that probes stay short.
    if ((m_upperNames.size() + 1) * 2 > m_slots.size())
        Rehash(std::max<std::size_t>(16, m_slots.size() * 2));
    std::string upper = ToUpper(name);
    const std::uint64_t hash = NameHash(upper);
    const std::size_t slot = SlotOf(upper, hash);
    if (m_slots[slot] != 0)
        return false;
    m_slots[slot] = (hash & ~kIndexBits) | (m_upperNames.size() + 1);
    m_upperNames.push_back(std::move(upper));
    m_hashes.push_back(hash);
    return true;
}

void TakenNames::Reserve(std::size_t count)
{
    std::size_t slotCount = 16;
    while (slotCount < count * 2)
        slotCount *= 2;
    if (slotCount > m_slots.size())
        Rehash(slotCount);
    m_upperNames.reserve(count);
    m_hashes.reserve(count);
}

// The slot that holds upperName, or the free slot where it belongs.
std::size_t TakenNames::SlotOf(const std::string& upperName, std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        const std::uint64_t entry = m_slots[slot];
        if (entry == 0)
            return slot;
        if ((entry & ~kIndexBits) == (hash & ~kIndexBits)
            && m_upperNames[(entry & kIndexBits) - 1] == upperName)
            return slot;
    }
}

void TakenNames::Rehash(std::size_t slotCount)
{
    m_slots.assign(slotCount, 0);
    const std::size_t mask = slotCount - 1;
    for (std::size_t i = 0; i < m_hashes.size(); ++i) {
        std::size_t slot = static_cast<std::size_t>(m_hashes[i]) & mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = (m_hashes[i] & ~kIndexBits) | (i + 1);
    }
}

std::string ImportAreaTag(Document& doc, const TagRecord& tag, ImportNames& names)
{
    return AddImportedArea(doc, tag, names).AreaTag;
}

Hotspot& AddImportedArea(Document& doc, const TagRecord& tag, ImportNames& names,
    const std::vector<AttributeSpan>* spans)
{
    const auto slot = static_cast<std::int32_t>(doc.Hotspots.size());
    Hotspot& spot = doc.Hotspots.emplace_back();
    spot.Active = true;
    spot.Id = slot;
    std::string name;
    FillHotspotFromAreaTag(spot, tag, &name, spans);
    if (spot.Shape == 0) {
        // A browser takes an AREA without SHAPE, or with a shape it does not know, as a
        // rectangle, and "default" as the whole picture; each is edited as a rectangle (over the
        // whole picture when it has no four coordinates) while the tag keeps what it said.
        const bool isDefault = EqualsNoCase(Trim(GetAttribute(tag, "SHAPE", "")), "default");
        spot.Shape = ShapeRectangle;
        if (isDefault || Split(spot.Coords, ",").size() < 4) {
            const MapImage& image = doc.Images[1];
            spot.Coords = "0,0," + std::to_string(image.Width) + "," + std::to_string(image.Height);
        }
        const Bounds box = BoundsFromCoords("RECT", spot.Coords);
        spot.X1 = box.X1;
        spot.Y1 = box.Y1;
        spot.X2 = box.X2;
        spot.Y2 = box.Y2;
    }
    name = Trim(name);
    // One look-up per name: Insert takes a free name and reports a taken one.
    if (name.empty() || !names.Taken.Insert(name)) {
        const std::string stem = ConvertShape(std::to_string(spot.Shape), false);
        std::int32_t& next = names.Next[spot.Shape];
        name = stem + std::to_string(next);
        while (!names.Taken.Insert(name))
            name = stem + std::to_string(++next);
        ++next;
    }
    spot.Name = std::move(name);
    return spot;
}

ImportResult ImportHtmlText(
    const std::string& fileName, const std::string& text, const ImportContext& context)
{
    // The page's maps are indexed once for the choice and the import; the blocks are copied
    // only for a chooser to show.
    const PageTags tags(text);
    MapIndex maps(text, tags);
    std::vector<std::size_t> mapOf;
    std::vector<std::size_t> imageOf;
    std::vector<MapCandidate> candidates
        = CollectCandidates(text, tags, context.SearchWithoutMap, maps, mapOf, imageOf);
    if (candidates.empty())
        return Failed(kNoImagesReason, fileName);
    const std::string charset = context.Charset.empty() ? TextCharset(text) : context.Charset;
    std::string chosen;
    if (candidates.size() == 1 || !context.ChooseMap) {
        chosen = CandidateKey(candidates.front());
    } else {
        FillMapBlocks(text, maps, mapOf, candidates);
        for (MapCandidate& candidate : candidates)
            candidate.Charset = charset;
        chosen = context.ChooseMap(candidates);
    }
    if (chosen.empty()) {
        ImportResult cancelled;
        cancelled.Cancelled = true;
        return cancelled;
    }

    // The first candidate the key names: a picture first, as it comes first in the list.
    std::size_t pick = 0;
    while (pick < candidates.size() && CandidateKey(candidates[pick]) != chosen)
        ++pick;
    if (pick == candidates.size())
        return Failed({}, fileName);
    const MapCandidate& candidate = candidates[pick];
    const std::size_t mapIndex = mapOf[pick];

    ImportResult result;
    Document& doc = result.Doc;
    const bool mapOnly = candidate.Kind == kCandidateMapOnly;
    // A map no picture uses gets a picture the way a missing one is found: the user is asked.
    const TagRecord img = mapOnly
        ? ParseOneTag("<IMG USEMAP=\"" + EncodeAttributeValue(chosen) + "\">")
        : ParseOneTag(Slice(text, tags.Images()[imageOf[pick]]));
    if (!ImportImgTag(doc, img, fileName, true, context))
        return Failed(MissingPictureReason(img, fileName, context.Style), fileName);
    doc.Charset = charset;
    MapImage& image = doc.Images[1];
    if (mapOnly) {
        // The page has no IMG tag to save back into; the new one names the chosen picture.
        doc.SourceImgTag.clear();
        doc.ImgTag = "<IMG SRC=\"" + EncodeAttributeValue(image.Src) + "\" USEMAP=\""
            + EncodeAttributeValue(chosen) + "\">";
        if (image.Width > 0 && image.Height > 0)
            doc.ImgTag = SetAttributesInTag(doc.ImgTag,
                std::vector<AttributePair> { { "WIDTH", std::to_string(image.Width) },
                    { "HEIGHT", std::to_string(image.Height) } });
        ApplyPicturePathMode(doc, fileName, PathModeKind::Relative, context.Style);
    }
    if (candidate.LooseMatch)
        result.Warnings.push_back(LooseMatchWarning(candidate));
    if (GetAttribute(img, "USEMAP", "").empty()) {
        image.MapTag = "<MAP NAME=\"\">";
    } else {
        const std::string mapName = UseMapName(img);
        image.MapName = mapName;
        if (mapIndex != kNone) {
            const TagAt mapTag = maps.Maps[mapIndex].Tag;
            const std::size_t end = maps.BlockEnd(mapIndex);
            image.MapTag = std::string(Slice(text, mapTag));
            doc.SourceMapCode = text.substr(mapTag.Start, end - mapTag.Start);
            const std::vector<TagAt>& allAreas = tags.Areas();
            const std::size_t first = PageTags::FirstFrom(allAreas, mapTag.End);
            const std::size_t last = PageTags::FirstFrom(allAreas, end);
            // Counted first, so that the hotspots and their texts are allocated once.
            std::size_t tagBytes = 0;
            for (std::size_t i = first; i < last; ++i)
                tagBytes += allAreas[i].End - allAreas[i].Start + 2;
            doc.Hotspots.reserve(doc.Hotspots.size() + (last - first));
            result.AreaTexts.reserve(tagBytes);
            ImportNames names;
            names.Taken.Reserve(last - first);
            std::vector<AttributeSpan> spans;
            for (std::size_t i = first; i < last; ++i) {
                const TagAt& tag = allAreas[i];
                // Every AREA is a hotspot, one with a single attribute or none too: a browser
                // keeps it, and a save that dropped it would change the page.
                const TagRecord area = ParseOneTag(Slice(text, tag), &spans);
                result.AreaTexts += AddImportedArea(doc, area, names, &spans).AreaTag;
                result.AreaTexts += "\r\n";
            }
        } else {
            image.MapTag = "<MAP NAME=\"" + EncodeAttributeValue(mapName) + "\">";
        }
    }
    doc.ServerType = 0;
    result.Ok = true;
    return result;
}

std::optional<std::string_view> FindMapBlock(std::string_view page, std::string_view name)
{
    const PageTags tags(page);
    const std::string wanted = DecodeAttributeValue(name);
    for (const TagAt& tag : tags.Maps()) {
        const TagRecord record = ParseOneTag(Slice(page, tag));
        if (DecodeAttributeValue(GetAttribute(record, "NAME", "")) != wanted
            && DecodeAttributeValue(GetAttribute(record, "ID", "")) != wanted)
            continue;
        const std::size_t end = MapBlockEnd(tags, tag);
        return page.substr(tag.Start, end - tag.Start);
    }
    return std::nullopt;
}

std::optional<std::string_view> FindImgTagUsing(std::string_view page, std::string_view name)
{
    const PageTags tags(page);
    for (const TagAt& tag : tags.Images()) {
        if (UseMapName(ParseOneTag(Slice(page, tag))) == DecodeAttributeValue(name))
            return Slice(page, tag);
    }
    return std::nullopt;
}

std::string PageText(std::string bytes)
{
    if (auto page = DecodeUtf16Page(bytes))
        return std::move(page->Utf8);
    return bytes;
}

bool ReadFileForImport(const std::string& fileName, std::string& text, ImportResult& result)
{
    ReadResult file = ReadWholeFile(fileName);
    if (!file.Ok) {
        result = Failed("Reason : " + file.Reason + ".", fileName);
        return false;
    }
    text = std::move(file.Bytes);
    return true;
}

ImportResult ImportHtmlFile(const std::string& fileName, const ImportContext& context)
{
    ImportResult result;
    std::string text;
    if (!ReadFileForImport(fileName, text, result))
        return result;
    // A UTF-16 page is read as UTF-8, whatever its META says.
    if (std::optional<Utf16Page> page = DecodeUtf16Page(text)) {
        ImportContext utf8 = context;
        utf8.Charset = kUtf8Charset;
        return ImportHtmlText(fileName, page->Utf8, utf8);
    }
    return ImportHtmlText(fileName, text, context);
}

} // namespace karvex
