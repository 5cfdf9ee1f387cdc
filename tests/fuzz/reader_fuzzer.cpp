// libFuzzer target over the page, project and map-file readers and the attribute setters the
// writers use. Aborts when one of the readers' promises is broken.

#include "core/formats/html_import.h"
#include "core/formats/html_writer.h"
#include "core/formats/map_file.h"
#include "core/formats/project_file.h"
#include "core/formats/tag_writer.h"
#include "core/model/app_state.h"
#include "core/operations/file_formats.h"
#include "core/util/file_io.h"
#include "core/util/strings.h"
#include "support/map_areas.h"
#include "support/scripted_prompt.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

using namespace karvex;

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// A folder with the picture the pages name, so that imports get as far as their AREAs.
class PictureFolder
{
public:
    PictureFolder()
        : m_path(std::filesystem::temp_directory_path()
            / ("karvex-reader-fuzz-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(m_path);
        WriteWholeFile(
            File("pic.gif"), std::string("GIF89a\x20\x00\x10\x00", 10) + std::string(20, '\0'));
    }
    ~PictureFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;

    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

void RequireSoundDocument(const ImportResult& result)
{
    if (!result.Ok) {
        Require(result.Cancelled || result.Message.rfind(kLoadErrorMessage, 0) == 0);
        return;
    }
    std::set<std::string> names;
    std::string areaTexts;
    const Document& doc = result.Doc;
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        Require(spot.Active && spot.Id == static_cast<std::int32_t>(slot));
        Require(spot.Shape >= ShapeRectangle && spot.Shape <= ShapePolygon);
        Require(!Trim(spot.Name).empty() && names.insert(ToUpper(spot.Name)).second);
        const TagRecord tag = ParseTag(spot.AreaTag);
        for (const char* own : { "##LOCKED", "##COLOR", "##NAME", "INDEX" })
            Require(GetAttribute(tag, own, "none") == "none");
        areaTexts += spot.AreaTag + "\r\n";
    }
    Require(result.AreaTexts == areaTexts);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const PictureFolder folder;
    // The first byte chooses the settings; the rest is the text.
    const std::uint8_t flags = size > 0 ? data[0] : 0;
    const std::string text
        = size > 0 ? std::string(reinterpret_cast<const char*>(data) + 1, size - 1) : std::string();

    // The candidates with a map (and the maps no picture uses) are, in order, those of all
    // candidates that are not pictures without USEMAP.
    const auto all = FindMapCandidates(text, true);
    const auto mapped = FindMapCandidates(text, false);
    std::size_t next = 0;
    for (const MapCandidate& candidate : all) {
        const bool mapOnly = candidate.Kind == kCandidateMapOnly;
        if (mapOnly) {
            Require(candidate.ImgTag.empty() && !candidate.MapFound && !candidate.LooseMatch);
        } else {
            Require(text.find(candidate.ImgTag) != std::string::npos);
            Require(FindNoCase(candidate.ImgTag, "<img") == 0);
        }
        Require(!(candidate.MapFound && candidate.LooseMatch));
        Require(
            (candidate.MapFound || candidate.LooseMatch || mapOnly) == !candidate.MapBlock.empty());
        Require(candidate.MapBlock.empty()
            || (FindNoCase(candidate.MapBlock, "<map") == 0
                && text.find(candidate.MapBlock) != std::string::npos));
        Require(mapOnly || candidate.Kind == kCandidateWithMap
            || (candidate.Kind == kCandidateWithoutMap && candidate.MapBlock.empty()));
        if (candidate.Kind != kCandidateWithoutMap)
            Require(
                next < mapped.size() && CandidateKey(mapped[next++]) == CandidateKey(candidate));
    }
    Require(next == mapped.size());

    test::ScriptedPrompt prompt; // answers No to the question about a missing picture
    ImportContext context;
    context.Ask = (flags & 1) != 0 ? &prompt : nullptr;
    context.SearchWithoutMap = (flags & 2) != 0;
    context.Style = PathStyle::Posix;
    if ((flags & 4) != 0)
        context.ChooseMap
            = [](const std::vector<MapCandidate>& list) { return CandidateKey(list.back()); };
    const ImportResult page = ImportHtmlText(folder.File("page.html"), text, context);
    RequireSoundDocument(page);
    if (page.Ok) {
        Require(text.find(page.Doc.SourceMapCode) != std::string::npos);
        // A map no picture uses gets an IMG tag of its own, which the page does not hold.
        if (!page.Doc.SourceImgTag.empty()) {
            Require(page.Doc.SourceImgTag == page.Doc.ImgTag);
            Require(text.find(page.Doc.ImgTag) != std::string::npos);
        }
        AppState state;
        state.Documents.push_back(page.Doc);
        RequireSoundDocument(
            LoadProjectText(folder.File("p.kvp"), ProjectText(state.Documents[1], "now"), context));
    }

    RequireSoundDocument(LoadProjectText(folder.File("p.kvp"), text, context));
    std::vector<std::string> skipped;
    const std::string project = MapFileToProjectText(folder.File("m.map"), text, &skipped);
    Require(project.rfind("<IMG SRC=\"", 0) == 0);
    Require(project.size() >= 6 && project.compare(project.size() - 6, 6, "</MAP>") == 0);
    Require(test::MapAreasAreSound(project));
    for (const std::string& warning : skipped)
        Require(
            warning.rfind("Line ", 0) == 0 && warning.find_first_of("\r\n") == std::string::npos);
    RequireSoundDocument(LoadProjectText(folder.File("m.map"), project, context));
    // The kind of file the text holds: a map file only when the map reader makes an area of it.
    const FileFormat* kind = FormatForContent(text);
    Require(
        !kind || kind->Route != OpenRoute::MapFile || project.find("<AREA") != std::string::npos);

    // The shortcuts of the readers and writers give what the plain functions give.
    TagEndMemo memo;
    int tags = 0;
    for (std::size_t at = text.find('<'); at != std::string::npos && tags < 64;
         at = text.find('<', at + 1), ++tags) {
        const std::size_t end = FindTagEnd(text, at);
        Require(FindTagEnd(text, at, memo) == end);
        const std::string_view tag = std::string_view(text).substr(
            at, end == std::string::npos ? std::string::npos : end + 1 - at);
        const TagRecord one = ParseOneTag(tag);
        const TagRecord plain = ParseTag(tag);
        Require(one.TagText == plain.TagText && one.TagName == plain.TagName
            && one.Attributes.size() == plain.Attributes.size());
        for (std::size_t i = 0; i < one.Attributes.size(); ++i)
            Require(one.Attributes[i].Name == plain.Attributes[i].Name
                && one.Attributes[i].Value == plain.Attributes[i].Value);
    }
    const AttributePair set[] = { { "##LOCKED", (flags & 8) != 0 ? "x>y" : "True" },
        { "##COLOR", (flags & 16) != 0 ? "v ##NAME=1" : "255" },
        { (flags & 32) != 0 ? "##color" : "##NAME", "a b" } };
    std::string oneByOne = text;
    for (const AttributePair& attribute : set)
        oneByOne = SetAttributeInTag(oneByOne, attribute.Name, attribute.Value, "");
    Require(SetAttributesInTag(text, set) == oneByOne);
    return 0;
}
