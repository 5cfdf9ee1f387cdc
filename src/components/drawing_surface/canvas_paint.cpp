// The canvas's painting of the picture, figures, handles, drafts and support lines, and its
// cursors.

#include "components/common/color.h"
#include "components/drawing_surface/canvas_view.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace karvex::surface {

namespace {

constexpr int kHandleSize = 7;
constexpr int kFillAlpha = 48;
constexpr int kHoverFillAlpha = 80;
constexpr int kSelectedFillAlpha = 96;
constexpr int kVeilAlpha = 56;
constexpr int kLabelWidth = 200; // longer labels are cut short with an ellipsis
const QColor kLabelPlate(20, 20, 20, 190);
const QColor kPointerLineColor(0, 150, 255);
const QColor kEdgeLineColor(230, 0, 160);

// White under dark colours, black under light ones.
QColor HaloColor(const QColor& line)
{
    return qGray(line.rgb()) < 128 ? QColor(255, 255, 255, 230) : QColor(0, 0, 0, 200);
}

// The shape colour's tint laid over a veil of the opposite lightness, as one colour: a black
// tint alone vanishes on a dark picture, the veil keeps the area apart from the picture around.
QColor TintColor(const QColor& shape, int alpha)
{
    const QColor veil = HaloColor(shape);
    const double a1 = kVeilAlpha / 255.0;
    const double a2 = alpha / 255.0;
    const double total = 1.0 - (1.0 - a1) * (1.0 - a2);
    const auto mix = [&](int under, int over) {
        return static_cast<int>(std::lround((under * a1 * (1.0 - a2) + over * a2) / total));
    };
    return QColor(mix(veil.red(), shape.red()), mix(veil.green(), shape.green()),
        mix(veil.blue(), shape.blue()), static_cast<int>(std::lround(total * 255.0)));
}

QPixmap ToolGlyphCursorPixmap(int tool)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    // A crosshair with its hot spot at (7, 7): white under black so it shows on any picture.
    for (const auto& [color, width] : { std::pair(QColor(Qt::white), 3), { Qt::black, 1 } }) {
        painter.setPen(QPen(color, width));
        painter.drawLine(7, 0, 7, 14);
        painter.drawLine(0, 7, 14, 7);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(QColor(255, 255, 255, 200));
    const QRectF glyph(15.5, 15.5, 13, 11);
    if (tool == kRectangleTool) {
        painter.drawRect(glyph);
    } else if (tool == kCircleTool) {
        painter.drawEllipse(QRectF(15.5, 14.5, 13, 13));
    } else if (tool == kPolygonTool) {
        const QPointF corners[] = { { 16, 26 }, { 19, 15.5 }, { 28, 19 }, { 25, 27 } };
        painter.drawPolygon(corners, 4);
    } else {
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(16, 15, 12, 12), 30 * 16, 280 * 16);
        painter.setBrush(Qt::black);
        const QPointF head[] = { { 27, 13 }, { 29.5, 19 }, { 24, 18 } };
        painter.drawPolygon(head, 3);
    }
    return pixmap;
}

Qt::CursorShape HandleCursor(int kind, int handle)
{
    if (kind == kPolygon)
        return Qt::CrossCursor;
    if (kind == kCircle)
        return handle % 2 == 0 ? Qt::SizeHorCursor : Qt::SizeVerCursor;
    switch (handle) {
    case 0:
    case 4:
        return Qt::SizeFDiagCursor;
    case 2:
    case 6:
        return Qt::SizeBDiagCursor;
    case 1:
    case 5:
        return Qt::SizeVerCursor;
    default:
        return Qt::SizeHorCursor;
    }
}

void PaintLockMark(QPainter& painter, QPointF at)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(at.x() + 2, at.y(), 6, 7), 0, 180 * 16);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(QColor(250, 210, 60));
    painter.drawRect(QRectF(at.x(), at.y() + 4, 10, 7));
    painter.restore();
}

} // namespace

QPolygonF Canvas::ScreenOutline(const Shape& shape) const
{
    QPolygonF outline;
    if (shape.Kind == kRectangle) {
        const QRect box = Bounds(shape);
        for (const QPoint corner :
            { box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft() })
            outline << ToScreen(corner);
    } else {
        for (const QPoint& corner : shape.Points)
            outline << ToScreen(corner);
    }
    return outline;
}

void Canvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    PaintPicture(painter, exposed);
    if (m_figuresVisible)
        PaintFigures(painter, event->region());
    PaintDraft(painter);
    if (m_supportLines && m_viewMode == 1)
        PaintSupportLines(painter);
}

void Canvas::PaintPicture(QPainter& painter, const QRect& exposed)
{
    const QSize area = Area();
    const QRect target(0, 0, width(), height());
    painter.fillRect(exposed & target, Qt::white);
    if (m_picture.isNull() || area.isEmpty())
        return;
    if (Scale() < 1.0) {
        // Shrinking by dropping pixels would shimmer: shrink smoothly once per zoom instead.
        if (m_scaledCache.size() != target.size())
            m_scaledCache = QPixmap::fromImage(
                m_picture.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        painter.drawPixmap(exposed, m_scaledCache, exposed);
        return;
    }
    // Enlarged pixels stay hard-edged squares (nearest neighbour).
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const double s = Scale();
    painter.drawImage(
        QRectF(0, 0, area.width() * s, area.height() * s), m_picture, QRectF(m_picture.rect()));
}

void Canvas::PaintFigures(QPainter& painter, const QRegion& exposed)
{
    const FigureStore& figures = m_editor.Figures();
    const SurfaceFigure* selected = m_editor.Selected();
    const bool all = m_editor.AllSelected();
    if (m_viewMode != 1) {
        // The preview shows the page as a browser would, with only the hovered area marked.
        const int hovered = m_hoverKey == 0 ? -1 : figures.IndexOfKey(m_hoverKey);
        if (hovered >= 0)
            PaintFigure(painter, figures.At(hovered), false);
        return;
    }
    std::vector<const SurfaceFigure*> visible;
    for (const SurfaceFigure& figure : figures.All()) {
        if (!figure.Box.isNull() && exposed.intersects(ScreenBox(figure.Box, 4)))
            visible.push_back(&figure);
    }
    // Underlays go first so that every other figure lies on top of them.
    std::stable_partition(visible.begin(), visible.end(),
        [](const SurfaceFigure* figure) { return figure->Underlay; });
    // Thousands of figures crowding the view are drawn as plain outlines: their tints, halos and
    // smooth edges cost most of the frame and cannot be told apart at that density.
    m_crowded = visible.size() > kCrowdedFigures;
    for (const SurfaceFigure* figure : visible)
        PaintFigure(painter, *figure, all || figure == selected);
    if (m_labelsShown && !m_crowded)
        PaintLabels(painter, exposed);
    m_crowded = false;
    for (const SurfaceFigure& figure : figures.All()) {
        if ((all || &figure == selected) && exposed.intersects(ScreenBox(figure.Box, kHandleSize)))
            PaintHandles(painter, figure);
    }
}

void Canvas::PaintFigure(QPainter& painter, const SurfaceFigure& figure, bool selected)
{
    const Shape& shape = figure.Geometry;
    if (shape.Points.empty())
        return;
    const bool hovered = figure.Key == m_hoverKey;
    const bool plain = m_crowded && !selected && !hovered;
    const QColor fill = TintColor(m_shapeColor,
        selected      ? kSelectedFillAlpha
            : hovered ? kHoverFillAlpha
                      : kFillAlpha);
    // An underlay covers the whole picture: it is tinted only while it is selected.
    const bool tinted = figure.Underlay ? selected : !plain;
    // The outline keeps the hotspot's own colour over a halo of the opposite lightness, so that
    // a hotspot of any colour shows on light and dark pictures alike; the figure in focus gets
    // wider lines.
    const QColor line = ToQColor(figure.Color);
    const int width = selected || hovered ? 3 : 2;
    std::vector<QPen> pens;
    if (!plain)
        pens.emplace_back(HaloColor(line), width + 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    QPen outline(line, width, figure.Underlay ? Qt::DashLine : Qt::SolidLine);
    outline.setJoinStyle(Qt::MiterJoin);
    pens.push_back(outline);

    // Fills stay aliased: antialiased fills are handed to worker threads span by span, which
    // costs more than the fill itself for small figures. Thin outlines antialias cheaply.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(fill);
    painter.setPen(Qt::NoPen);
    auto draw = [&](auto&& paint) {
        if (tinted)
            paint();
        painter.setBrush(Qt::NoBrush);
        painter.setRenderHint(QPainter::Antialiasing, shape.Kind != kRectangle && !plain);
        for (const QPen& pen : pens) {
            painter.setPen(pen);
            paint();
        }
    };
    if (shape.Kind == kCircle) {
        const QPointF centre = ToScreen(shape.Points.front());
        const double radius = shape.Radius * Scale();
        draw([&] { painter.drawEllipse(centre, radius, radius); });
    } else if (shape.Kind == kRectangle) {
        const QRectF box(ToScreen(figure.Box.topLeft()), ToScreen(figure.Box.bottomRight()));
        draw([&] { painter.drawRect(box); });
    } else {
        const QPolygonF points = ScreenOutline(shape);
        draw([&] {
            if (points.size() >= 3)
                painter.drawPolygon(points);
            else
                painter.drawPolyline(points);
        });
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void Canvas::PaintLabels(QPainter& painter, const QRegion& exposed)
{
    // Light text on a dark plate reads on any picture; an underlay's label keeps to its corner
    // so that it does not cover the labels of the figures on top.
    const QFontMetrics metrics(font());
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const SurfaceFigure& figure : m_editor.Figures().All()) {
        if (figure.Label.isEmpty() || figure.Box.isNull()
            || !exposed.intersects(ScreenBox(figure.Box, kLabelWidth / 2)))
            continue;
        const QString text = metrics.elidedText(figure.Label, Qt::ElideRight, kLabelWidth);
        const QSize size(metrics.horizontalAdvance(text) + 8, metrics.height() + 2);
        const QRect box = ScreenBox(figure.Box, 0);
        const QPoint corner = figure.Underlay
            ? box.topLeft() + QPoint(4, 4)
            : box.center() - QPoint(size.width() / 2, size.height() / 2);
        const QRect plate(corner, size);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kLabelPlate);
        painter.drawRoundedRect(QRectF(plate), 3, 3);
        painter.setPen(Qt::white);
        painter.drawText(plate, Qt::AlignCenter, text);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void Canvas::PaintHandles(QPainter& painter, const SurfaceFigure& figure)
{
    const bool corner = figure.Key == m_cornerKey;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(m_borderColor == Qt::white ? Qt::black : m_borderColor, 1));
    int index = 0;
    for (const QPoint& handle : Handles(figure.Geometry)) {
        if (!HandleShown(figure, index)) {
            ++index;
            continue;
        }
        const QPointF at = ToScreen(handle);
        const QRect square(static_cast<int>(std::floor(at.x())) - kHandleSize / 2,
            static_cast<int>(std::floor(at.y())) - kHandleSize / 2, kHandleSize - 1,
            kHandleSize - 1);
        QColor face = figure.Locked ? QColor(170, 170, 170) : QColor(Qt::white);
        if (corner && index == m_corner)
            face = QColor(0, 120, 215);
        painter.setBrush(face);
        painter.drawRect(square);
        ++index;
    }
    if (figure.Locked) {
        const QRect box = ScreenBox(figure.Box, 0);
        PaintLockMark(painter, QPointF(box.left() + 4, box.top() + 4));
    }
}

void Canvas::PaintDraft(QPainter& painter)
{
    const bool polygon = m_gesture == Gesture::Polygon;
    if (m_gesture != Gesture::Draw && !polygon)
        return;
    QPen white(Qt::white, 1);
    QPen dashes(m_borderColor == Qt::white ? Qt::black : m_borderColor, 1, Qt::DashLine);
    painter.setBrush(Qt::NoBrush);
    for (const QPen& pen : { white, dashes }) {
        painter.setPen(pen);
        if (polygon) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            QPolygonF points;
            for (const QPoint& p : m_polygon)
                points << ToScreen(p);
            if (m_pointerInside)
                points << ToScreen(ClampPoint(m_pointerPicture, Area()));
            painter.drawPolyline(points);
        } else if (m_draft.Kind == kCircle && !m_draft.Points.empty()) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            const double radius = m_draft.Radius * Scale();
            painter.drawEllipse(ToScreen(m_draft.Points.front()), radius, radius);
        } else {
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.drawPolygon(ScreenOutline(m_draft));
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (polygon) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        for (const QPoint& p : m_polygon) {
            const QPointF at = ToScreen(p);
            painter.drawRect(
                QRect(static_cast<int>(at.x()) - 2, static_cast<int>(at.y()) - 2, 4, 4));
        }
    }
}

void Canvas::PaintSupportLines(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    if (const SurfaceFigure* selected = m_editor.Selected(); selected && m_figuresVisible) {
        painter.setPen(QPen(kEdgeLineColor, 1, Qt::DashLine));
        const QPointF topLeft = ToScreen(selected->Box.topLeft());
        const QPointF bottomRight = ToScreen(selected->Box.bottomRight());
        for (const double x : { topLeft.x(), bottomRight.x() })
            painter.drawLine(QPointF(x, 0), QPointF(x, height()));
        for (const double y : { topLeft.y(), bottomRight.y() })
            painter.drawLine(QPointF(0, y), QPointF(width(), y));
    }
    if (m_pointerInside) {
        painter.setPen(QPen(kPointerLineColor, 1, Qt::DotLine));
        const QPointF at = ToScreen(ClampPoint(m_pointerPicture, Area()));
        painter.drawLine(QPointF(at.x(), 0), QPointF(at.x(), height()));
        painter.drawLine(QPointF(0, at.y()), QPointF(width(), at.y()));
    }
}

QCursor Canvas::ToolCursor() const
{
    if (!m_customCursors)
        return Qt::CrossCursor;
    static const QCursor cursors[] = { QCursor(ToolGlyphCursorPixmap(kRectangleTool), 7, 7),
        QCursor(ToolGlyphCursorPixmap(kCircleTool), 7, 7),
        QCursor(ToolGlyphCursorPixmap(kPolygonTool), 7, 7),
        QCursor(ToolGlyphCursorPixmap(kRotateTool), 7, 7) };
    switch (m_tool) {
    case kRectangleTool:
        return cursors[0];
    case kCircleTool:
        return cursors[1];
    case kPolygonTool:
        return cursors[2];
    default:
        return cursors[3];
    }
}

void Canvas::UpdateCursor(QPoint widget, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(modifiers);
    if (m_viewMode != 1) {
        setCursor(m_hoverKey != 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return;
    }
    if (m_tool != kPointerTool || m_gesture == Gesture::Polygon) {
        setCursor(ToolCursor());
        return;
    }
    if (m_gesture == Gesture::Move) {
        setCursor(Qt::SizeAllCursor);
        return;
    }
    const SurfaceFigure* selected = m_editor.Selected();
    if (const int handle = HandleAt(widget); handle >= 0 && selected) {
        setCursor(HandleCursor(selected->Geometry.Kind, handle));
        return;
    }
    const int hit
        = m_figuresVisible ? m_editor.Figures().HitTest(ToPictureF(widget), HitTolerance()) : -1;
    setCursor(hit >= 0 && !m_editor.Figures().At(hit).Locked ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

} // namespace karvex::surface
