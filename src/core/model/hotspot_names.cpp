#include "core/model/hotspot_names.h"

#include <utility>
#include <vector>

namespace karvex {

namespace {

// The shape's stem and the first number, counting from the number of live hotspots, that no live
// hotspot has.
std::string FirstFreeName(const HotspotNameTable& names, std::int32_t shape)
{
    const auto count = static_cast<std::int32_t>(names.Count());
    const std::string stem = ConvertShape(std::to_string(shape), false);
    std::int32_t n = count > 0 ? count : 1;
    while (names.Contains(stem + std::to_string(n)))
        ++n;
    return stem + std::to_string(n);
}

} // namespace

NewHotspotNumber NextHotspotNumber(const HotspotNameTable& names, std::int32_t shape)
{
    const auto count = static_cast<std::int32_t>(names.Count());
    // Only slots 1..count can be free, so a flag per slot in that range is enough.
    std::vector<char> taken(static_cast<std::size_t>(count) + 1, 0);
    for (const auto& entry : names.Entries()) {
        if (entry.Value >= 1 && entry.Value <= count)
            taken[static_cast<std::size_t>(entry.Value)] = 1;
    }

    NewHotspotNumber result;
    result.Slot = count + 1;
    for (std::int32_t k = 1; k <= count; ++k) {
        if (!taken[static_cast<std::size_t>(k)]) {
            result.Slot = k;
            break;
        }
    }

    result.Name = FirstFreeName(names, shape);
    return result;
}

std::vector<std::int32_t> NextFreeSlots(const HotspotNameTable& names, std::size_t count)
{
    std::vector<char> taken;
    for (const auto& entry : names.Entries()) {
        if (entry.Value < 1)
            continue;
        const auto slot = static_cast<std::size_t>(entry.Value);
        if (slot >= taken.size())
            taken.resize(slot + 1, 0);
        taken[slot] = 1;
    }
    std::vector<std::int32_t> slots;
    slots.reserve(count);
    for (std::size_t k = 1; slots.size() < count; ++k) {
        if (k >= taken.size() || !taken[k])
            slots.push_back(static_cast<std::int32_t>(k));
    }
    return slots;
}

void PlaceHotspot(Document& doc, HotspotNameTable& names, Hotspot record, std::int32_t slot)
{
    if (record.Name.empty() || names.Contains(record.Name))
        record.Name = FirstFreeName(names, record.Shape);
    if (static_cast<std::size_t>(slot) >= doc.Hotspots.size())
        doc.Hotspots.resize(static_cast<std::size_t>(slot) + 1);
    names.Add(record.Name, slot);
    record.Active = true;
    record.Id = slot;
    doc.Hotspots[static_cast<std::size_t>(slot)] = std::move(record);
}

std::string MakeHotspotName(
    const HotspotNameTable& names, std::int32_t shape, std::int32_t& startNumber)
{
    const std::string stem = ConvertShape(std::to_string(shape), false);
    const auto limit = static_cast<std::int32_t>(names.Count()) + 1;
    std::int32_t n = startNumber;
    while (names.Contains(stem + std::to_string(n)))
        n = n >= limit ? n + 1 : limit + 1;
    startNumber = n;
    return stem + std::to_string(n);
}

Hotspot HotspotFromFigure(const Figure& figure)
{
    Hotspot spot;
    spot.Color = std::to_string(figure.Color);
    spot.Locked = figure.Locked;
    spot.Coords = figure.Coordinates;
    spot.Shape = figure.Kind;
    spot.X1 = figure.X1;
    spot.X2 = figure.X2;
    spot.Y1 = figure.Y1;
    spot.Y2 = figure.Y2;
    spot.AreaTag = "<AREA SHAPE=\"" + ShapeKeyword(figure.Kind) + "\" COORDS=\""
        + figure.Coordinates + "\">";
    return spot;
}

std::int32_t AddHotspotFromFigure(Document& doc, HotspotNameTable& names, const Figure& figure)
{
    const std::int32_t slot = NextHotspotNumber(names, figure.Kind).Slot;
    PlaceHotspot(doc, names, HotspotFromFigure(figure), slot);
    return slot;
}

} // namespace karvex
