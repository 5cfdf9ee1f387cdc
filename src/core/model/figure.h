#pragma once

// A figure as the drawing surface reports it in its events.

#include <cstdint>
#include <string>

namespace karvex {

// What an undo or redo did to a figure; the numbers are the surface's event codes.
enum class FigureAction : int {
    Restored = 1,
    Removed = 3,
    ShapeChanged = 4,
};

struct Figure
{
    std::int32_t Id = 0; // the hotspot's slot
    std::int32_t Kind = 0; // 1 rectangle, 2 circle, 3 polygon
    std::int32_t Color = 0;
    bool Locked = false;
    std::string Coordinates;
    std::int32_t X1 = 0;
    std::int32_t Y1 = 0;
    std::int32_t X2 = 0;
    std::int32_t Y2 = 0;
};

} // namespace karvex
