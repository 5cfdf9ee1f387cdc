#include "components/drawing_surface/figure_geometry.h"

#include "core/util/strings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace karvex::surface {

namespace {

int RoundToInt(double value)
{
    const double limited = std::clamp(value, double(-kCoordinateLimit), double(kCoordinateLimit));
    return static_cast<int>(std::lround(limited));
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0.0;
    if (lengthSquared > 0.0)
        t = std::clamp(((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / lengthSquared, 0.0, 1.0);
    return std::hypot(p.x() - (a.x() + t * dx), p.y() - (a.y() + t * dy));
}

bool InsidePolygon(const std::vector<QPoint>& corners, QPointF p)
{
    bool inside = false;
    const std::size_t count = corners.size();
    for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
        const QPointF a = corners[i];
        const QPointF b = corners[j];
        if ((a.y() > p.y()) != (b.y() > p.y())) {
            const double crossX = a.x() + (p.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
            if (p.x() < crossX)
                inside = !inside;
        }
    }
    return inside;
}

std::vector<QPoint> RectCorners(const Shape& rect)
{
    const QRect box = Bounds(rect);
    return { box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft() };
}

// Maps value from the span [from0, from1] onto [to0, to1]; a zero-width span only shifts.
int Remap(int value, int from0, int from1, int to0, int to1)
{
    if (from1 == from0)
        return value - from0 + to0;
    return RoundToInt(to0 + double(value - from0) * (to1 - to0) / double(from1 - from0));
}

} // namespace

std::vector<int> ParseNumbers(std::string_view text)
{
    std::vector<int> numbers;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of(", \t\r\n", pos);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        if (stop > pos) {
            const std::int64_t value = ParseLeadingInt(text.substr(pos, stop - pos));
            numbers.push_back(static_cast<int>(
                std::clamp<std::int64_t>(value, -kCoordinateLimit, kCoordinateLimit)));
        }
        pos = stop + 1;
    }
    return numbers;
}

Shape MakeShape(int kind, const std::vector<int>& numbers)
{
    auto at = [&numbers](std::size_t i) { return i < numbers.size() ? numbers[i] : 0; };
    Shape shape;
    if (kind == kCircle) {
        shape.Kind = kCircle;
        shape.Points = { QPoint(at(0), at(1)) };
        shape.Radius = std::abs(at(2));
    } else if (kind == kPolygon) {
        shape.Kind = kPolygon;
        for (std::size_t i = 0; i + 1 < numbers.size(); i += 2)
            shape.Points.emplace_back(numbers[i], numbers[i + 1]);
    } else {
        shape = RectFromCorners(QPoint(at(0), at(1)), QPoint(at(2), at(3)));
    }
    return shape;
}

Shape ShapeFromText(int kind, std::string_view coords)
{
    return MakeShape(kind, ParseNumbers(coords));
}

int KindForCount(int kind, std::size_t count)
{
    const bool fits = (kind == kRectangle && count == 4) || (kind == kCircle && count == 3)
        || (kind == kPolygon && count >= 6 && count % 2 == 0);
    if (fits)
        return kind;
    if (count == 3)
        return kCircle;
    if (count == 4)
        return kRectangle;
    if (count >= 6 && count % 2 == 0)
        return kPolygon;
    return kind;
}

std::string CoordsText(const Shape& shape)
{
    std::vector<std::string> parts;
    if (shape.Kind == kCircle) {
        const QPoint centre = shape.Points.empty() ? QPoint() : shape.Points.front();
        parts = { std::to_string(centre.x()), std::to_string(centre.y()),
            std::to_string(shape.Radius) };
    } else if (shape.Kind == kPolygon) {
        for (const QPoint& corner : shape.Points) {
            parts.push_back(std::to_string(corner.x()));
            parts.push_back(std::to_string(corner.y()));
        }
    } else {
        const QRect box = Bounds(shape);
        parts = { std::to_string(box.left()), std::to_string(box.top()),
            std::to_string(box.right()), std::to_string(box.bottom()) };
    }
    return Join(parts, ",");
}

QRect Bounds(const Shape& shape)
{
    if (shape.Points.empty())
        return {};
    if (shape.Kind == kCircle) {
        const QPoint c = shape.Points.front();
        return QRect(QPoint(c.x() - shape.Radius, c.y() - shape.Radius),
            QPoint(c.x() + shape.Radius, c.y() + shape.Radius));
    }
    int left = shape.Points.front().x();
    int right = left;
    int top = shape.Points.front().y();
    int bottom = top;
    for (const QPoint& p : shape.Points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QPointF Centre(const Shape& shape)
{
    if (shape.Kind == kCircle && !shape.Points.empty())
        return shape.Points.front();
    const QRect box = Bounds(shape);
    return { (box.left() + box.right()) / 2.0, (box.top() + box.bottom()) / 2.0 };
}

bool IsInside(QSize area) { return area.width() > 0 && area.height() > 0; }

QPoint ClampPoint(QPoint point, QSize area)
{
    if (!IsInside(area))
        return point;
    return { std::clamp(point.x(), 0, area.width() - 1),
        std::clamp(point.y(), 0, area.height() - 1) };
}

int MaxRadius(QPoint centre, QSize area)
{
    if (!IsInside(area))
        return kCoordinateLimit;
    const int fit = std::min(
        { centre.x(), centre.y(), area.width() - 1 - centre.x(), area.height() - 1 - centre.y() });
    return std::max(fit, 0);
}

Shape ClampInside(Shape shape, QSize area)
{
    for (QPoint& p : shape.Points)
        p = ClampPoint(p, area);
    if (shape.Kind == kCircle && !shape.Points.empty())
        shape.Radius = std::min(shape.Radius, MaxRadius(shape.Points.front(), area));
    return shape;
}

Shape Translated(const Shape& shape, QPoint delta)
{
    Shape moved = shape;
    for (QPoint& p : moved.Points)
        p += delta;
    return moved;
}

QPoint LimitMove(const QRect& bounds, QPoint delta, QSize area)
{
    if (!IsInside(area) || bounds.isNull())
        return delta;
    const int minX = -bounds.left();
    const int maxX = area.width() - 1 - bounds.right();
    const int minY = -bounds.top();
    const int maxY = area.height() - 1 - bounds.bottom();
    return { std::clamp(delta.x(), std::min(minX, 0), std::max(maxX, 0)),
        std::clamp(delta.y(), std::min(minY, 0), std::max(maxY, 0)) };
}

Shape RectFromCorners(QPoint a, QPoint b)
{
    Shape rect;
    rect.Kind = kRectangle;
    rect.Points = { QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
        QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())) };
    return rect;
}

Shape CircleFromDrag(QPoint centre, QPoint edge, QSize area)
{
    Shape circle;
    circle.Kind = kCircle;
    circle.Points = { ClampPoint(centre, area) };
    const QPoint d = edge - circle.Points.front();
    circle.Radius = std::min(RoundToInt(std::hypot(double(d.x()), double(d.y()))),
        MaxRadius(circle.Points.front(), area));
    return circle;
}

std::vector<QPoint> Handles(const Shape& shape)
{
    if (shape.Points.empty())
        return {};
    if (shape.Kind == kCircle) {
        const QPoint c = shape.Points.front();
        const int r = shape.Radius;
        return { c + QPoint(r, 0), c + QPoint(0, r), c - QPoint(r, 0), c - QPoint(0, r) };
    }
    if (shape.Kind == kPolygon)
        return shape.Points;
    const QRect box = Bounds(shape);
    const int midX = (box.left() + box.right()) / 2;
    const int midY = (box.top() + box.bottom()) / 2;
    return { box.topLeft(), QPoint(midX, box.top()), box.topRight(), QPoint(box.right(), midY),
        box.bottomRight(), QPoint(midX, box.bottom()), box.bottomLeft(), QPoint(box.left(), midY) };
}

Shape DragHandle(const Shape& original, int handle, QPoint to, QSize area)
{
    const QPoint target = ClampPoint(to, area);
    if (original.Points.empty() || handle < 0)
        return original;
    if (original.Kind == kCircle) {
        Shape circle = CircleFromDrag(original.Points.front(), target, area);
        circle.Radius = std::max(circle.Radius, 1);
        return circle;
    }
    if (original.Kind == kPolygon) {
        Shape polygon = original;
        if (static_cast<std::size_t>(handle) < polygon.Points.size())
            polygon.Points[static_cast<std::size_t>(handle)] = target;
        return polygon;
    }
    if (handle > 7)
        return original;
    QRect box = Bounds(original);
    int left = box.left();
    int top = box.top();
    int right = box.right();
    int bottom = box.bottom();
    if (handle == 0 || handle == 6 || handle == 7)
        left = target.x();
    if (handle == 2 || handle == 3 || handle == 4)
        right = target.x();
    if (handle == 0 || handle == 1 || handle == 2)
        top = target.y();
    if (handle == 4 || handle == 5 || handle == 6)
        bottom = target.y();
    return RectFromCorners(QPoint(left, top), QPoint(right, bottom));
}

std::vector<QPointF> RotatedPoints(const Shape& shape, double degrees)
{
    const QPointF c = Centre(shape);
    if (shape.Kind == kCircle)
        return { c };
    const std::vector<QPoint> source = shape.Kind == kPolygon ? shape.Points : RectCorners(shape);
    const double radians = degrees * std::numbers::pi / 180.0;
    const double cosA = std::cos(radians);
    const double sinA = std::sin(radians);
    std::vector<QPointF> turned;
    turned.reserve(source.size());
    for (const QPoint& p : source) {
        const double dx = p.x() - c.x();
        const double dy = p.y() - c.y();
        turned.emplace_back(c.x() + dx * cosA - dy * sinA, c.y() + dx * sinA + dy * cosA);
    }
    return turned;
}

Shape Rotated(const Shape& shape, double degrees, QSize area)
{
    if (shape.Kind == kCircle || shape.Points.empty())
        return shape;
    Shape polygon;
    polygon.Kind = kPolygon;
    for (const QPointF& p : RotatedPoints(shape, degrees))
        polygon.Points.push_back(ClampPoint(QPoint(RoundToInt(p.x()), RoundToInt(p.y())), area));
    return polygon;
}

double AngleDegrees(QPointF centre, QPointF from, QPointF to)
{
    const double a = std::atan2(from.y() - centre.y(), from.x() - centre.x());
    const double b = std::atan2(to.y() - centre.y(), to.x() - centre.x());
    double degrees = (b - a) * 180.0 / std::numbers::pi;
    while (degrees <= -180.0)
        degrees += 360.0;
    while (degrees > 180.0)
        degrees -= 360.0;
    return degrees;
}

Shape ConvertedKind(const Shape& shape, int kind)
{
    if (shape.Kind == kind || (kind != kRectangle && kind != kCircle && kind != kPolygon))
        return shape;
    const QRect box = shape.Points.empty() ? QRect(0, 0, 1, 1) : Bounds(shape);
    if (kind == kRectangle)
        return RectFromCorners(box.topLeft(), box.bottomRight());
    if (kind == kCircle) {
        Shape circle;
        circle.Kind = kCircle;
        circle.Points = { QPoint((box.left() + box.right()) / 2, (box.top() + box.bottom()) / 2) };
        circle.Radius = std::min(box.right() - box.left(), box.bottom() - box.top()) / 2;
        return circle;
    }
    Shape polygon;
    polygon.Kind = kPolygon;
    if (shape.Kind == kCircle && !shape.Points.empty()) {
        const QPoint c = shape.Points.front();
        for (int step = 0; step < 8; ++step) {
            const double angle = step * std::numbers::pi / 4.0;
            polygon.Points.emplace_back(RoundToInt(c.x() + shape.Radius * std::cos(angle)),
                RoundToInt(c.y() + shape.Radius * std::sin(angle)));
        }
    } else {
        polygon.Points = RectCorners(RectFromCorners(box.topLeft(), box.bottomRight()));
    }
    return polygon;
}

Shape WithBound(const Shape& shape, int which, int value)
{
    if (which < 1 || which > 4 || shape.Points.empty())
        return shape;
    value = std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
    const QRect box = Bounds(shape);
    if (shape.Kind == kRectangle) {
        QPoint a = box.topLeft();
        QPoint b = box.bottomRight();
        (which == 1 ? a.rx() : which == 2 ? a.ry() : which == 3 ? b.rx() : b.ry()) = value;
        return RectFromCorners(a, b);
    }
    // Stretching past the opposite side would mirror the figure: stop at that side.
    int left = box.left();
    int top = box.top();
    int right = box.right();
    int bottom = box.bottom();
    if (which == 1)
        left = std::min(value, right);
    else if (which == 2)
        top = std::min(value, bottom);
    else if (which == 3)
        right = std::max(value, left);
    else
        bottom = std::max(value, top);
    if (shape.Kind == kCircle) {
        Shape circle = shape;
        QPoint& c = circle.Points.front();
        const bool horizontal = which == 1 || which == 3;
        circle.Radius = ((horizontal ? right - left : bottom - top)) / 2;
        if (horizontal)
            c.setX(which == 1 ? right - circle.Radius : left + circle.Radius);
        else
            c.setY(which == 2 ? bottom - circle.Radius : top + circle.Radius);
        return circle;
    }
    Shape polygon = shape;
    for (QPoint& p : polygon.Points) {
        p.setX(Remap(p.x(), box.left(), box.right(), left, right));
        p.setY(Remap(p.y(), box.top(), box.bottom(), top, bottom));
    }
    return polygon;
}

bool Contains(const Shape& shape, QPointF point, double tolerance)
{
    if (shape.Points.empty())
        return false;
    if (shape.Kind == kCircle) {
        const QPointF c = shape.Points.front();
        return std::hypot(point.x() - c.x(), point.y() - c.y()) <= shape.Radius + 0.5 + tolerance;
    }
    if (shape.Kind == kPolygon) {
        if (shape.Points.size() >= 3 && InsidePolygon(shape.Points, point))
            return true;
        return EdgeNear(shape, point, tolerance + 0.5) >= 0;
    }
    const QRect box = Bounds(shape);
    const double reach = tolerance + 0.5;
    return point.x() >= box.left() - reach && point.x() <= box.right() + reach
        && point.y() >= box.top() - reach && point.y() <= box.bottom() + reach;
}

int EdgeNear(const Shape& polygon, QPointF point, double tolerance)
{
    const std::size_t count = polygon.Points.size();
    if (polygon.Kind != kPolygon || count < 2)
        return -1;
    int best = -1;
    double bestDistance = tolerance;
    for (std::size_t i = 0; i < count; ++i) {
        const double distance
            = DistanceToSegment(point, polygon.Points[i], polygon.Points[(i + 1) % count]);
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

Shape WithCornerInserted(const Shape& polygon, int edge, QPoint point)
{
    if (polygon.Kind != kPolygon || edge < 0
        || static_cast<std::size_t>(edge) >= polygon.Points.size())
        return polygon;
    Shape result = polygon;
    result.Points.insert(result.Points.begin() + edge + 1, point);
    return result;
}

Shape WithCornerRemoved(const Shape& polygon, int corner)
{
    if (polygon.Kind != kPolygon || polygon.Points.size() <= 3 || corner < 0
        || static_cast<std::size_t>(corner) >= polygon.Points.size())
        return polygon;
    Shape result = polygon;
    result.Points.erase(result.Points.begin() + corner);
    return result;
}

} // namespace karvex::surface
