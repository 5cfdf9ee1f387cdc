#pragma once

// The hotspot wizard's grid: one template hotspot copied into columns and rows of new hotspots,
// each moved by a fixed step, named from a pattern with a running index and carrying the same
// AREA attributes. Everything here is decided without a window; the wizard dialog collects the
// values and adds the result to the document.

#include "core/model/attribute_pair.h"
#include "core/model/hotspot_names.h"
#include "core/model/records.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace karvex {

// The wizard's seven numbers, kept in [HotspotWizard] of kvx.ini. The defaults are those used
// when a key is missing (a new settings file holds StartIndex 1).
struct GridNumbers
{
    std::int32_t HorizontalStart = 10;
    std::int32_t VerticalStart = 10;
    std::int32_t HorizontalSpace = 3;
    std::int32_t VerticalSpace = 3;
    std::int32_t Columns = 3;
    std::int32_t Rows = 3;
    std::int32_t FirstIndex = 3;
};

// The largest number a box takes (seven digits); values read from the file are kept in 0..this.
inline constexpr std::int32_t kGridNumberLimit = 9999999;

GridNumbers ReadGridNumbers(const std::string& settingsPath);
void SaveGridNumbers(const std::string& settingsPath, const GridNumbers& numbers);

// The template: its coordinates relative to an origin, and its shape kind.
struct GridTemplate
{
    std::string Coords;
    std::int32_t Shape = 0;
};

// A hotspot of the document is taken with its own X1, Y1 as origin; a clipboard entry, whose
// coordinates are already relative, with 0, 0. A circle becomes r,r,r.
GridTemplate TakeTemplate(const Hotspot& spot, std::int32_t originX, std::int32_t originY);

// The template's width (horizontal) or height: twice the second value for three values (a
// circle's diameter), the third or fourth of four, else the largest x or y value.
std::int32_t GetHotspotInfo(std::string_view coords, bool horizontal);

// The coordinate text moved by dx, dy. A circle's centre and radius and a rectangle's first
// corner are brought to the nearest whole number (a half goes to the even neighbour); every
// value is kept within the coordinate limit.
std::string OffsetCoords(std::string_view coords, std::int64_t dx, std::int64_t dy);

// The AREA code every generated hotspot is made from, as the wizard previews it:
// <AREA SHAPE="RECT" COORDS=%COORDS% Name="value" ...>, the values encoded to stay in quotes.
std::string GridCodeTemplate(std::int32_t shape, const std::vector<AttributePair>& attributes);

struct GridRequest
{
    GridTemplate Template;
    std::string CodeTemplate; // as GridCodeTemplate makes it
    std::string NameTemplate = "myHotspot%INDEX%";
    std::int32_t Color = 0;
    bool Locked = false;
    GridNumbers Numbers;
};

struct GridCode
{
    std::string Code; // one AREA tag per hotspot, each followed by "\r\n", row by row
    std::vector<std::string> Names; // in the same order
};

// The AREA tags of the grid, each with the editor's "##LOCKED", "##COLOR" and "##NAME" after
// its attributes, "%COORDS%" and "%INDEX%" filled in. A name pattern without "%INDEX%" gets it
// appended. Columns or rows of 0 (or less) give nothing.
GridCode GenerateGridCode(const GridRequest& request);

// True when a live hotspot already has one of the names (any letter case, whole names).
bool GridNamesClash(const HotspotNameTable& names, const std::vector<std::string>& generated);

// The hotspot records of generated code, one per AREA line (other lines are skipped), named
// by their "##NAME"; slots are given when they are added to a document.
std::vector<Hotspot> ReadGridHotspots(std::string_view code);

} // namespace karvex
