#pragma once

// Geometry of the drawing surface's figures in whole pixels of the unzoomed picture: coordinate
// text, bounds, clamping, moving, handle drags, rotation, kind changes and hit tests.

#include "core/util/numbers.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <string>
#include <string_view>
#include <vector>

namespace karvex::surface {

// Figure kinds as the program numbers them.
inline constexpr int kRectangle = 1;
inline constexpr int kCircle = 2;
inline constexpr int kPolygon = 3;

// Numbers read from coordinate text are kept within this range so that zoomed screen positions
// never overflow.
inline constexpr int kCoordinateLimit = ::karvex::kCoordinateLimit;

// The outline of a figure. Rectangle: Points = { left-top, right-bottom } with left <= right and
// top <= bottom; circle: Points = { centre } and Radius; polygon: the corners in drawing order.
struct Shape
{
    int Kind = kRectangle;
    std::vector<QPoint> Points;
    int Radius = 0;

    bool operator==(const Shape& other) const = default;
};

// The numbers of a coordinate text; commas and blanks separate them, each is read like Val.
std::vector<int> ParseNumbers(std::string_view text);

// A shape of the given kind from its numbers: missing numbers count as 0, extra ones are
// ignored, an odd last polygon number is dropped. An unknown kind is read as a rectangle.
Shape MakeShape(int kind, const std::vector<int>& numbers);
Shape ShapeFromText(int kind, std::string_view coords);

// The kind that fits a count of numbers: kind itself when the count suits it, else 3 numbers
// make a circle, 4 a rectangle, 6 or more (even) a polygon; otherwise kind stays.
int KindForCount(int kind, std::size_t count);

// The coordinate text: decimal integers joined by "," (rectangle left,top,right,bottom; circle
// cx,cy,r; polygon x,y pairs).
std::string CoordsText(const Shape& shape);

// Inclusive bounding box (right() and bottom() are the largest coordinates); a null rectangle
// for a polygon without corners.
QRect Bounds(const Shape& shape);
QPointF Centre(const Shape& shape);

bool IsInside(QSize area);
QPoint ClampPoint(QPoint point, QSize area);
// The largest radius that keeps a circle around centre inside area.
int MaxRadius(QPoint centre, QSize area);
// Every point kept inside area; a circle's centre too, and its radius limited to fit.
Shape ClampInside(Shape shape, QSize area);

Shape Translated(const Shape& shape, QPoint delta);
// The part of delta that keeps bounds inside area; a figure already outside never moves
// further out.
QPoint LimitMove(const QRect& bounds, QPoint delta, QSize area);

Shape RectFromCorners(QPoint a, QPoint b);
// A circle around centre through edge (rounded radius), kept inside area.
Shape CircleFromDrag(QPoint centre, QPoint edge, QSize area);

// Handles in picture coordinates. Rectangle: 0 top-left, 1 top, 2 top-right, 3 right,
// 4 bottom-right, 5 bottom, 6 bottom-left, 7 left. Circle: 0 east, 1 south, 2 west, 3 north
// (each sets the radius). Polygon: one per corner.
std::vector<QPoint> Handles(const Shape& shape);
// original with handle dragged to the point to (kept inside area).
Shape DragHandle(const Shape& original, int handle, QPoint to, QSize area);

// The corners (rectangle) or points (polygon) turned clockwise on screen about the shape's
// centre; a circle gives its centre only.
std::vector<QPointF> RotatedPoints(const Shape& shape, double degrees);
// The rectangle or polygon turned into a polygon with whole, clamped corners. A circle is
// returned unchanged: circles are never rotated.
Shape Rotated(const Shape& shape, double degrees, QSize area);
// The clockwise angle in degrees (-180, 180] from the direction centre->from to centre->to.
double AngleDegrees(QPointF centre, QPointF from, QPointF to);

// The figure drawn as another kind: the bounding box becomes the rectangle, the circle is the
// largest one inside the box, a polygon takes the rectangle's corners or eight points on the
// circle.
Shape ConvertedKind(const Shape& shape, int kind);
// One bounding value set (1 X1, 2 Y1, 3 X2, 4 Y2): a rectangle moves that edge; a circle or
// polygon is stretched so that its box takes the new value while the opposite side stays.
Shape WithBound(const Shape& shape, int which, int value);

// Hit tests with picture pixels centred on whole numbers; tolerance widens the outline.
bool Contains(const Shape& shape, QPointF point, double tolerance);
// The polygon edge (from corner i to corner i + 1) within tolerance of point, or -1.
int EdgeNear(const Shape& polygon, QPointF point, double tolerance);
Shape WithCornerInserted(const Shape& polygon, int edge, QPoint point);
// A polygon keeps at least three corners: removing from a triangle changes nothing.
Shape WithCornerRemoved(const Shape& polygon, int corner);

} // namespace karvex::surface
