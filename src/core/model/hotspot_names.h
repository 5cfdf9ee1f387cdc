#pragma once

// Slots and unique names for new hotspots, and the hotspot record made from a drawn figure.

#include "core/model/figure.h"
#include "core/model/keyed_collection.h"
#include "core/model/records.h"

#include <cstdint>
#include <string>

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

// The first free name of the shape's stem from startNumber on, as imports use it; leaves the
// number used in startNumber.
std::string MakeHotspotName(
    const HotspotNameTable& names, std::int32_t shape, std::int32_t& startNumber);

// Makes the hotspot record for a finished figure in a new slot of doc, registers its name
// and returns the slot.
std::int32_t AddHotspotFromFigure(Document& doc, HotspotNameTable& names, const Figure& figure);

// The record of a figure, before it has a slot and a name.
Hotspot HotspotFromFigure(const Figure& figure);

// Puts a whole record (a pasted or generated hotspot) into a new slot of doc as a live hotspot,
// registers its name and returns the slot. The record's own name is kept when keepFreeName is
// set and no live hotspot has it; otherwise it gets the next name of its shape.
std::int32_t AddHotspotRecord(
    Document& doc, HotspotNameTable& names, Hotspot record, bool keepFreeName = false);

} // namespace karvex
