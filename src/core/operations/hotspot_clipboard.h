#pragma once

// Hotspots on the program's own clipboard, which keeps whole records with their coordinates
// relative to the corner of their bounding box, and AREA tags read from the system clipboard.

#include "core/model/records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace karvex {

// The coordinates relative to the hotspot's bounding-box corner (X1, Y1): a rectangle
// 10,20,30,40 gives 0,0,20,20, a circle of radius r gives r,r,r, a polygon every point moved.
std::string RelativeCoords(const Hotspot& spot);

// What copy and cut store: the record with its relative coordinates, in Coords and in the
// COORDS of its AREA tag.
Hotspot ClipboardEntry(const Hotspot& spot);

// A stored entry put back on a picture with its bounding-box corner at (x, y): Coords, COORDS
// and the bounds follow.
Hotspot PlaceClipboardEntry(const Hotspot& entry, int x, int y);

// A stretch of the picture in picture pixels; Right and Bottom lie one past it.
struct PictureArea
{
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
};

struct PictureCorner
{
    std::int32_t X = 0;
    std::int32_t Y = 0;
};

// Where a pasted entry's bounding-box corner goes: where it was copied from when it fits in the
// visible part of the picture, else near that part's top left corner; then 10 pixels down and
// right for each live hotspot of doc already lying exactly there, so that repeated pastes can be
// told apart (at most kPasteCascade times).
inline constexpr int kPasteStep = 10;
inline constexpr int kPasteCascade = 50;
PictureCorner PasteCorner(const Document& doc, const Hotspot& entry, const PictureArea& visible);

// Longer clipboard texts are no AREA tag anyone copied.
inline constexpr std::size_t kMaxClipboardTag = std::size_t { 64 } * 1024;

inline constexpr const char* kClipboardImportError = "error-Impo.CLIP";

// The hotspot record of clipboard text that is exactly one AREA tag (blanks around it aside)
// whose SHAPE is RECT with 4 numbers, CIRCLE with 3 or POLY with an even count of at least 6;
// its name is the tag's "##NAME", if any. Nothing for any other text.
std::optional<Hotspot> HotspotFromClipboardText(std::string_view text);

} // namespace karvex
