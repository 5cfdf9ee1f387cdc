#include "core/model/hotspot_names.h"

#include <utility>
#include <vector>

namespace karvex {

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

    const std::string stem = ConvertShape(std::to_string(shape), false);
    std::int32_t n = count > 0 ? count : 1;
    while (names.Contains(stem + std::to_string(n)))
        ++n;
    result.Name = stem + std::to_string(n);
    return result;
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
    return AddHotspotRecord(doc, names, HotspotFromFigure(figure));
}

std::int32_t AddHotspotRecord(
    Document& doc, HotspotNameTable& names, Hotspot record, bool keepFreeName)
{
    auto number = NextHotspotNumber(names, record.Shape);
    if (keepFreeName && !record.Name.empty() && !names.Contains(record.Name))
        number.Name = record.Name;
    if (static_cast<std::size_t>(number.Slot) >= doc.Hotspots.size())
        doc.Hotspots.resize(static_cast<std::size_t>(number.Slot) + 1);
    names.Add(number.Name, number.Slot);

    Hotspot& spot = doc.Hotspots[static_cast<std::size_t>(number.Slot)];
    spot = std::move(record);
    spot.Active = true;
    spot.Id = number.Slot;
    spot.Name = std::move(number.Name);
    return spot.Id;
}

} // namespace karvex
