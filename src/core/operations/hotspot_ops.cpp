#include "core/operations/hotspot_ops.h"

#include "core/formats/html_writer.h"
#include "core/formats/tag_writer.h"
#include "core/model/hotspot_names.h"
#include "core/util/strings.h"

namespace karvex {

namespace {

template <typename State> auto CurrentDocumentOf(State& state) -> decltype(&state.Documents[0])
{
    const int slot = state.CurrentDocument;
    if (slot < 1 || static_cast<std::size_t>(slot) >= state.Documents.size())
        return nullptr;
    return &state.Documents[static_cast<std::size_t>(slot)];
}

Hotspot* SpotAt(Document* doc, int slot)
{
    if (!doc || slot < 1 || static_cast<std::size_t>(slot) >= doc->Hotspots.size())
        return nullptr;
    return &doc->Hotspots[static_cast<std::size_t>(slot)];
}

// Removes name from the table only when it stands for this slot, so a stale name never takes
// another hotspot's entry with it.
void UnregisterName(HotspotNameTable& names, const std::string& name, int slot)
{
    if (names.Find(name) == slot)
        names.Remove(name);
}

std::int32_t ShapeFromValue(const std::string& value)
{
    for (std::int32_t shape = ShapeRectangle; shape <= ShapePolygon; ++shape) {
        const std::string number = std::to_string(shape);
        if (value == number || EqualsNoCase(value, ConvertShape(number, false)))
            return shape;
    }
    return 0;
}

} // namespace

void DeleteHotspotRecord(AppState& state, int slot)
{
    Document* doc = CurrentDocumentOf(state);
    Hotspot* spot = SpotAt(doc, slot);
    if (!spot)
        return;
    UnregisterName(state.HotspotNames, spot->Name, slot);
    spot->Active = false;
}

RenameCheck CheckRename(const AppState& state, int slot, const std::string& newName)
{
    const Document* doc = CurrentDocumentOf(state);
    if (doc && slot >= 1 && static_cast<std::size_t>(slot) < doc->Hotspots.size()
        && EqualsNoCase(newName, doc->Hotspots[static_cast<std::size_t>(slot)].Name))
        return RenameCheck::Unchanged;
    for (const auto& entry : state.HotspotNames.Entries()) {
        if (entry.Value == slot)
            continue;
        const bool listed = doc && entry.Value >= 1
            && static_cast<std::size_t>(entry.Value) < doc->Hotspots.size();
        const std::string& name
            = listed ? doc->Hotspots[static_cast<std::size_t>(entry.Value)].Name : entry.Key;
        if (EqualsNoCase(name, newName))
            return RenameCheck::Taken;
    }
    return RenameCheck::Ok;
}

void RenameHotspotRecord(AppState& state, int slot, const std::string& newName)
{
    Hotspot* spot = SpotAt(CurrentDocumentOf(state), slot);
    if (!spot)
        return;
    UnregisterName(state.HotspotNames, spot->Name, slot);
    state.HotspotNames.Add(newName, slot);
    spot->Name = newName;
}

bool ChangeShapeRecord(Hotspot& spot, const std::string& value)
{
    const std::int32_t shape = ShapeFromValue(value);
    if (shape == 0)
        return false;
    spot.Shape = shape;
    spot.AreaTag = SetAttributeInTag(spot.AreaTag, "SHAPE", ShapeKeyword(shape), "");
    return true;
}

bool ApplyFigureChange(Hotspot& spot, const Figure& figure)
{
    spot.X1 = figure.X1;
    spot.Y1 = figure.Y1;
    spot.X2 = figure.X2;
    spot.Y2 = figure.Y2;
    spot.Coords = figure.Coordinates;
    spot.AreaTag = SetAttributeInTag(spot.AreaTag, "COORDS", figure.Coordinates, "");
    if (figure.Kind == spot.Shape || ShapeKeyword(figure.Kind).empty())
        return false;
    spot.Shape = figure.Kind;
    spot.AreaTag = SetAttributeInTag(spot.AreaTag, "SHAPE", ShapeKeyword(figure.Kind), "");
    return true;
}

void RestoreHotspotRecord(AppState& state, int slot)
{
    Hotspot* spot = SpotAt(CurrentDocumentOf(state), slot);
    if (!spot)
        return;
    spot->Active = true;
    const auto owner = state.HotspotNames.Find(spot->Name);
    if (owner == slot)
        return;
    if (owner || spot->Name.empty()) {
        std::int32_t number = 1;
        spot->Name = MakeHotspotName(state.HotspotNames, spot->Shape, number);
    }
    state.HotspotNames.Add(spot->Name, slot);
}

std::string GetHotspotCodeByName(const Document& doc, const std::string& name)
{
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        if (spot.Active && EqualsNoCase(spot.Name, name))
            return spot.AreaTag;
    }
    return {};
}

int FindHotspotIdByName(const AppState& state, const std::string& name)
{
    const auto slot = state.HotspotNames.Find(name);
    if (!slot || state.CurrentDocument <= 0
        || static_cast<std::size_t>(state.CurrentDocument) >= state.Documents.size())
        return 0;
    const auto& spots = state.Documents[static_cast<std::size_t>(state.CurrentDocument)].Hotspots;
    if (*slot <= 0 || static_cast<std::size_t>(*slot) >= spots.size())
        return 0;
    return spots[static_cast<std::size_t>(*slot)].Id;
}

} // namespace karvex
