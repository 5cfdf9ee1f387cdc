#pragma once

// The model side of the hotspot editing operations on the current document: delete and its
// undo, rename with the uniqueness check, change of shape, and figure changes reported by the
// drawing surface.

#include "core/model/app_state.h"
#include "core/model/figure.h"
#include "core/model/records.h"

#include <string>

namespace karvex {

// Takes the hotspot out of HotspotNames and marks it deleted (its slot stays).
void DeleteHotspotRecord(AppState& state, int slot);

enum class RenameCheck { Unchanged, Taken, Ok };

// Unchanged when newName is the hotspot's own name in any letter case; Taken when another live
// hotspot of the current document has it in any letter case; Ok otherwise.
RenameCheck CheckRename(const AppState& state, int slot, const std::string& newName);

// Gives the hotspot its new name, in the record and in HotspotNames (same slot).
void RenameHotspotRecord(AppState& state, int slot, const std::string& newName);

// "Rectangle"/"1", "Circle"/"2" or "Polygon"/"3" (names in any letter case) set Shape and the
// SHAPE attribute of AreaTag to RECT, CIRCLE or POLY. Any other value changes nothing: false.
bool ChangeShapeRecord(Hotspot& spot, const std::string& value);

// Stores a changed figure's bounds and coordinates, in the record and in COORDS of AreaTag, and
// its shape when the figure's kind differs. True when the shape changed.
bool ApplyFigureChange(Hotspot& spot, const Figure& figure);

// Brings a deleted hotspot back (the undo of a delete): live again and its name registered. A
// name that another hotspot took meanwhile is replaced by the first free one of its shape.
void RestoreHotspotRecord(AppState& state, int slot);

// The AREA tag of the first live hotspot of doc named name (any letter case); "" when none.
std::string GetHotspotCodeByName(const Document& doc, const std::string& name);

// The Id of the hotspot HotspotNames lists under name (any letter case); 0 when none.
int FindHotspotIdByName(const AppState& state, const std::string& name);

} // namespace karvex
