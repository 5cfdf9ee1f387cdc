#pragma once

// Slots and unique names for new hotspots, and the hotspot record made from a drawn figure.

#include "core/model/figure.h"
#include "core/model/keyed_collection.h"
#include "core/model/records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace karvex {

using HotspotNameTable = KeyedCollection<std::int32_t>;

struct NewHotspotNumber
{
    std::int32_t Slot = 0;
    std::string Name;
};

// The slot and name a newly drawn or pasted hotspot takes: the lowest slot no live hotspot
// holds, and the shape's stem with the first free number counting from the live count.
NewHotspotNumber NextHotspotNumber(const HotspotNameTable& names, std::int32_t shape);

// The slots count new hotspots take when they are added one after another, as
// NextHotspotNumber gives them out: the lowest slots no live hotspot holds, in order.
std::vector<std::int32_t> NextFreeSlots(const HotspotNameTable& names, std::size_t count);

// Puts a hotspot record into doc at slot as a live hotspot with that Id. It keeps its own name
// when no live hotspot has it (in any letter case); an empty or taken name is replaced by the
// first free one of its shape, as a drawn hotspot gets. The name is registered.
void PlaceHotspot(Document& doc, HotspotNameTable& names, Hotspot record, std::int32_t slot);

// The first free name of the shape's stem from startNumber on, as imports use it; leaves the
// number used in startNumber.
std::string MakeHotspotName(
    const HotspotNameTable& names, std::int32_t shape, std::int32_t& startNumber);

// Makes the hotspot record for a finished figure in a new slot of doc, registers its name
// and returns the slot.
std::int32_t AddHotspotFromFigure(Document& doc, HotspotNameTable& names, const Figure& figure);

// The record of a figure, before it has a slot and a name.
Hotspot HotspotFromFigure(const Figure& figure);

} // namespace karvex
