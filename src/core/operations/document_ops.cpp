#include "core/operations/document_ops.h"

#include "core/formats/image_size.h"
#include "core/formats/tag_reader.h"
#include "core/util/strings.h"

namespace karvex {

namespace {

bool IsSlot(const AppState& state, int slot)
{
    return slot >= 1 && static_cast<std::size_t>(slot) < state.Documents.size();
}

} // namespace

std::optional<int> FindOpenDocument(const AppState& state, const std::string& path)
{
    const auto item = state.OpenDocuments.Find(path);
    if (!item || !IsWholeNumber(*item))
        return std::nullopt;
    const auto slot = ParseLeadingInt(*item);
    if (slot < 1 || static_cast<std::size_t>(slot) >= state.Documents.size())
        return std::nullopt;
    return static_cast<int>(slot);
}

std::string NewImgTag(
    const std::string& src, std::int32_t width, std::int32_t height, const std::string& useMap)
{
    return "<IMG SRC=\"" + EncodeRawValue(src) + "\" Width=\"" + std::to_string(width)
        + "\" Height=\"" + std::to_string(height) + "\" UseMap=\"" + EncodeRawValue(useMap) + "\">";
}

int CreateDocumentFromPicture(AppState& state, const std::string& picturePath, Prompt* prompt)
{
    state.HotspotNames.Clear();
    const int slot = static_cast<int>(state.Documents.size());
    state.CurrentDocument = slot;
    state.CurrentHotspot = 0;

    Document& doc = state.Documents.emplace_back();
    doc.Title = "Untitled" + std::to_string(slot);
    doc.FilePath.clear();
    doc.SupportLines = false;
    doc.RulerVisible = true;
    doc.ServerType = 0;
    doc.Zoom = 100;

    const ImageSize size = UnpackImageSize(GetImageSize(picturePath, prompt));
    const std::string mapName = GetFileName(picturePath);
    const std::string useMap = "#" + mapName;
    doc.ImgTag = NewImgTag(picturePath, size.Width, size.Height, useMap);

    doc.Images.resize(2);
    MapImage& image = doc.Images[1];
    image.Src = picturePath;
    image.UseMap = useMap;
    image.MapName = mapName;
    image.Width = size.Width;
    image.Height = size.Height;
    image.MapTag = "<MAP NAME=\"" + EncodeRawValue(mapName) + "\">";
    image.MapEndTag = "</MAP>";

    state.OpenDocuments.Add(doc.Title, std::to_string(slot));
    return slot;
}

void ActivateDocumentNames(AppState& state, int slot)
{
    if (!IsSlot(state, slot))
        return;
    state.HotspotNames.Clear();
    state.CurrentDocument = slot;
    const Document& doc = state.Documents[static_cast<std::size_t>(slot)];
    state.HotspotNames.Reserve(doc.Hotspots.size());
    for (std::size_t i = 1; i < doc.Hotspots.size(); ++i) {
        if (doc.Hotspots[i].Active)
            state.HotspotNames.Add(doc.Hotspots[i].Name, static_cast<std::int32_t>(i));
    }
}

void ForgetDocument(AppState& state, int slot)
{
    if (!IsSlot(state, slot))
        return;
    const std::string& title = state.Documents[static_cast<std::size_t>(slot)].Title;
    // Another document may carry the same title only if this one never got its entry.
    if (state.OpenDocuments.Find(title) == std::to_string(slot))
        state.OpenDocuments.Remove(title);
    if (state.CurrentDocument == slot) {
        state.HotspotNames.Clear();
        state.CurrentDocument = 0;
        state.CurrentHotspot = 0;
    }
    // The slot stays taken, but nothing reads a closed document again: its hotspots and
    // texts (megabytes for a large map) are released. Moving them out frees them; assigning
    // a fresh record alone would keep the old string buffers.
    Document& doc = state.Documents[static_cast<std::size_t>(slot)];
    {
        const Document released = std::move(doc);
    }
    doc = Document {};
}

std::string WindowCaption(const Document& doc, PathStyle style)
{
    const std::size_t cut
        = style == PathStyle::Windows ? doc.Title.rfind('\\') : doc.Title.find_last_of("/\\");
    std::string caption = cut == std::string::npos ? doc.Title : doc.Title.substr(cut + 1);
    if (doc.Changed)
        caption += "*";
    return caption;
}

} // namespace karvex
