// The canvas's mouse gestures: drawing, selecting, moving, reshaping and rotating figures, and
// activation in the preview. Each gesture reports once, on release.

#include "components/drawing_surface/canvas_view.h"
#include "components/drawing_surface/drawing_surface.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace karvex::surface {

namespace {

// A press becomes a drag only after the pointer travelled this far (screen pixels), so a click
// never nudges a figure or draws a sliver.
constexpr int kDragThreshold = 3;
constexpr double kHandleReach = 5.0;

int ButtonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int ModifierNumber(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

double PolygonArea(const std::vector<QPoint>& corners)
{
    double twice = 0.0;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++)
        twice += double(corners[j].x()) * corners[i].y() - double(corners[i].x()) * corners[j].y();
    return std::abs(twice) / 2.0;
}

} // namespace

bool Canvas::Editing() const { return m_viewMode == 1 && m_designActive; }

double Canvas::HitTolerance() const { return kDragThreshold / Scale(); }

int Canvas::GestureIndex() const
{
    return m_gestureKey == 0 ? -1 : m_editor.Figures().IndexOfKey(m_gestureKey);
}

int Canvas::HandleAt(QPoint widget) const
{
    const SurfaceFigure* selected = m_editor.Selected();
    if (!selected || selected->Locked || !m_figuresVisible)
        return -1;
    int best = -1;
    double bestDistance = kHandleReach;
    int index = 0;
    for (const QPoint& handle : Handles(selected->Geometry)) {
        if (!HandleShown(*selected, index)) {
            ++index;
            continue;
        }
        const QPointF at = ToScreen(handle) - QPointF(widget) - QPointF(0.5, 0.5);
        const double distance = std::max(std::abs(at.x()), std::abs(at.y()));
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = index;
        }
        ++index;
    }
    return best;
}

bool Canvas::HandleShown(const SurfaceFigure& figure, int handle) const
{
    if (figure.Geometry.Kind != kRectangle || handle % 2 == 0)
        return true;
    const QRect box = ScreenBox(figure.Box, 0);
    return std::min(box.width(), box.height()) >= 4 * kHandleReach;
}

void Canvas::SelectHit(int index)
{
    if (m_editor.SelectedIndex() == index && !m_editor.AllSelected())
        return;
    m_cornerKey = 0;
    m_corner = -1;
    m_editor.Select(index, true);
}

void Canvas::SelectAt(QPoint widget)
{
    const int hit
        = m_figuresVisible ? m_editor.Figures().HitTest(ToPictureF(widget), HitTolerance()) : -1;
    if (hit >= 0) {
        SelectHit(hit);
        return;
    }
    m_editor.ClearSelection();
    m_cornerKey = 0;
    m_corner = -1;
    emit m_events.SelectionCleared();
}

void Canvas::mousePressEvent(QMouseEvent* event)
{
    m_lastGlobal = event->globalPosition().toPoint();
    const QPoint widget = event->position().toPoint();
    if (m_viewMode != 1) {
        if (event->button() == Qt::LeftButton && m_figuresVisible) {
            const int hit = m_editor.Figures().HitTest(ToPictureF(widget), HitTolerance());
            m_gesture = Gesture::PreviewPress;
            m_gestureKey = hit >= 0 ? m_editor.Figures().At(hit).Key : 0;
        }
        return;
    }
    if (Editing())
        PressInDesign(event);
}

void Canvas::PressInDesign(QMouseEvent* event)
{
    const QPoint widget = event->position().toPoint();
    const QPoint picture = ClampPoint(ToPicture(widget), Area());
    if (m_gesture == Gesture::Polygon) {
        if (event->button() != Qt::LeftButton)
            return;
        const QPointF first = m_polygon.empty() ? QPointF() : ToScreen(m_polygon.front());
        const QPointF offset = first - QPointF(widget) - QPointF(0.5, 0.5);
        if (m_polygon.size() >= 3
            && std::max(std::abs(offset.x()), std::abs(offset.y())) <= kHandleReach)
            FinishPolygon();
        else
            AddPolygonPoint(picture);
        return;
    }
    if (m_gesture != Gesture::None)
        return;
    if (event->button() == Qt::RightButton) {
        SelectAt(widget);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_pressWidget = widget;
    m_pressPicture = picture;
    const FigureStore& figures = m_editor.Figures();
    switch (m_tool) {
    case kRectangleTool:
    case kCircleTool:
        m_gesture = Gesture::PendingDraw;
        m_draft = {};
        return;
    case kPolygonTool:
        m_gesture = Gesture::Polygon;
        m_polygon = { picture };
        m_pointerPicture = picture;
        m_pointerInside = true;
        emit m_events.PolygonStarted();
        update();
        return;
    case kRotateTool: {
        SelectAt(widget);
        const int index = m_editor.SelectedIndex();
        if (index >= 0 && !figures.At(index).Locked && figures.At(index).Geometry.Kind != kCircle) {
            m_gesture = Gesture::PendingRotate;
            m_gestureKey = figures.At(index).Key;
            m_before = m_editor.StateOf(index);
        }
        return;
    }
    default:
        break;
    }

    const int selected = m_editor.SelectedIndex();
    const int handle = HandleAt(widget);
    const bool polygon = selected >= 0 && figures.At(selected).Geometry.Kind == kPolygon;
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (handle >= 0 && control && polygon) {
        // Ctrl + click on a corner takes it away (a polygon keeps three).
        m_cornerKey = figures.At(selected).Key;
        m_corner = handle;
        RemoveActiveCorner();
        return;
    }
    int edge = -1;
    if (handle < 0 && control && polygon && !figures.At(selected).Locked)
        edge = EdgeNear(figures.At(selected).Geometry, ToPictureF(widget), HitTolerance());
    if (edge >= 0) {
        // Ctrl + click on an edge adds a corner there, which the drag then moves.
        const FigureState before = m_editor.StateOf(selected);
        m_editor.Preview(selected, WithCornerInserted(before.Geometry, edge, picture));
        m_editor.Commit(selected, before);
        const int now = m_editor.SelectedIndex();
        if (now < 0)
            return;
        m_cornerKey = figures.At(now).Key;
        m_corner = edge + 1;
        m_gesture = Gesture::PendingHandle;
        m_gestureKey = m_cornerKey;
        m_handle = m_corner;
        m_before = m_editor.StateOf(now);
        return;
    }
    if (handle >= 0) {
        m_gesture = Gesture::PendingHandle;
        m_gestureKey = figures.At(selected).Key;
        m_handle = handle;
        m_before = m_editor.StateOf(selected);
        if (polygon) {
            m_cornerKey = m_gestureKey;
            m_corner = handle;
        }
        update();
        return;
    }
    SelectAt(widget);
    const int index = m_editor.SelectedIndex();
    if (index >= 0 && !figures.At(index).Locked) {
        m_gesture = Gesture::PendingMove;
        m_gestureKey = figures.At(index).Key;
        m_before = m_editor.StateOf(index);
    }
}

void Canvas::mouseMoveEvent(QMouseEvent* event)
{
    m_lastGlobal = event->globalPosition().toPoint();
    const QPoint widget = event->position().toPoint();
    const QPoint oldPointer = m_pointerPicture;
    const bool oldInside = m_pointerInside;
    m_pointerPicture = ToPicture(widget);
    m_pointerInside = rect().contains(widget) || m_gesture != Gesture::None;
    if (m_pointerPicture != oldPointer || m_pointerInside != oldInside) {
        emit PointerMoved(ClampPoint(m_pointerPicture, Area()), rect().contains(widget));
        UpdatePointerLines(oldPointer, oldInside);
    }
    if (m_gesture == Gesture::None || m_gesture == Gesture::Polygon) {
        UpdateHover(widget);
        UpdateCursor(widget, event->modifiers());
        if (m_gesture == Gesture::Polygon)
            update();
        return;
    }
    if (m_gesture != Gesture::PreviewPress && Editing())
        TrackGesture(widget, event->modifiers());
}

void Canvas::UpdatePointerLines(QPoint oldPicture, bool oldInside)
{
    if (!m_supportLines || m_viewMode != 1)
        return;
    for (const auto& [picture, inside] :
        { std::pair(oldPicture, oldInside), { m_pointerPicture, m_pointerInside } }) {
        if (!inside)
            continue;
        const QPointF at = ToScreen(ClampPoint(picture, Area()));
        update(QRect(static_cast<int>(at.x()) - 1, 0, 3, height()));
        update(QRect(0, static_cast<int>(at.y()) - 1, width(), 3));
    }
}

void Canvas::TrackGesture(QPoint widget, Qt::KeyboardModifiers modifiers)
{
    const QPoint travel = widget - m_pressWidget;
    switch (m_gesture) {
    case Gesture::PendingMove:
    case Gesture::PendingHandle:
    case Gesture::PendingDraw:
    case Gesture::PendingRotate:
        if (std::max(std::abs(travel.x()), std::abs(travel.y())) < kDragThreshold)
            return;
        StartGesture();
        break;
    default:
        break;
    }
    const QPoint picture = ToPicture(widget);
    const QSize area = Area();
    const int index = GestureIndex();
    switch (m_gesture) {
    case Gesture::Move: {
        if (index < 0)
            return CancelGesture();
        const QPoint delta = LimitMove(Bounds(m_before.Geometry), picture - m_pressPicture, area);
        m_editor.Preview(index, Translated(m_before.Geometry, delta));
        ReportBox(m_editor.Figures().At(index).Box);
        break;
    }
    case Gesture::Handle:
        if (index < 0)
            return CancelGesture();
        m_editor.Preview(index, DragHandle(m_before.Geometry, m_handle, picture, area));
        ReportBox(m_editor.Figures().At(index).Box);
        break;
    case Gesture::Draw:
        m_draft = m_tool == kCircleTool
            ? CircleFromDrag(m_pressPicture, ClampPoint(picture, area), area)
            : RectFromCorners(m_pressPicture, ClampPoint(picture, area));
        ReportBox(Bounds(m_draft));
        update();
        break;
    case Gesture::Rotate: {
        if (index < 0)
            return CancelGesture();
        double angle = AngleDegrees(
            Centre(m_before.Geometry), ToPictureF(m_pressWidget), ToPictureF(widget));
        if (modifiers & Qt::ShiftModifier)
            angle = std::round(angle / 15.0) * 15.0;
        m_editor.Preview(index, Rotated(m_before.Geometry, angle, area));
        ReportBox(m_editor.Figures().At(index).Box);
        emit m_events.StatusNote(QString::number(static_cast<int>(std::lround(angle))));
        break;
    }
    default:
        break;
    }
}

void Canvas::StartGesture()
{
    switch (m_gesture) {
    case Gesture::PendingMove:
        m_gesture = Gesture::Move;
        setCursor(Qt::SizeAllCursor);
        emit m_events.MoveStarted();
        break;
    case Gesture::PendingHandle:
        m_gesture = Gesture::Handle;
        emit m_events.PointMoveStarted();
        break;
    case Gesture::PendingDraw:
        m_gesture = Gesture::Draw;
        emit m_events.DragRectStarted();
        break;
    case Gesture::PendingRotate:
        m_gesture = Gesture::Rotate;
        emit m_events.RotateStarted();
        break;
    default:
        break;
    }
}

void Canvas::ReportBox(const QRect& box)
{
    if (!box.isNull())
        emit m_events.DragTracking(box.left(), box.top(), box.right(), box.bottom());
}

void Canvas::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint widget = event->position().toPoint();
    if (m_viewMode != 1) {
        if (m_gesture == Gesture::PreviewPress && event->button() == Qt::LeftButton) {
            const int hit = m_figuresVisible
                ? m_editor.Figures().HitTest(ToPictureF(widget), HitTolerance())
                : -1;
            const std::uint64_t pressed = m_gestureKey;
            m_gesture = Gesture::None;
            m_gestureKey = 0;
            if (hit >= 0 && m_editor.Figures().At(hit).Key == pressed)
                emit m_events.FigureActivated(1, m_editor.Figures().At(hit).Id);
        }
        return;
    }
    if (!Editing())
        return;
    if (m_gesture == Gesture::Polygon) {
        // The right button ends the polygon; it does not open the pop-up menu.
        if (event->button() == Qt::RightButton)
            FinishPolygon();
        return;
    }
    if (event->button() == Qt::LeftButton && m_gesture != Gesture::None)
        FinishGesture();
    // Another button let go in the middle of a drag is not a click of its own.
    if (m_gesture != Gesture::None)
        return;
    const QPoint picture = ClampPoint(ToPicture(widget), Area());
    emit m_events.SurfaceMouseUp(ButtonNumber(event->button()), ModifierNumber(event->modifiers()),
        picture.x(), picture.y());
}

void Canvas::FinishGesture()
{
    const Gesture gesture = m_gesture;
    m_gesture = Gesture::None;
    const int index = GestureIndex();
    m_gestureKey = 0;
    switch (gesture) {
    case Gesture::Move:
        if (index >= 0)
            m_editor.Commit(index, m_before);
        emit m_events.MoveEnded();
        break;
    case Gesture::Handle:
        if (index >= 0)
            m_editor.Commit(index, m_before);
        emit m_events.PointMoveEnded();
        break;
    case Gesture::Draw: {
        const QRect box = Bounds(m_draft);
        const bool valid
            = m_draft.Kind == kCircle ? m_draft.Radius >= 1 : box.width() > 1 && box.height() > 1;
        const Shape draft = m_draft;
        m_draft = {};
        update();
        if (valid) {
            m_tool = kPointerTool;
            unsetCursor();
            m_editor.CreateDrawn(draft);
        } else {
            EndDrawing(false);
        }
        break;
    }
    case Gesture::Rotate:
        if (index >= 0)
            m_editor.Commit(index, m_before);
        emit m_events.RotateEnded();
        break;
    default:
        break;
    }
}

void Canvas::AddPolygonPoint(QPoint picture)
{
    if (m_polygon.empty() || m_polygon.back() != picture)
        m_polygon.push_back(picture);
    update();
}

void Canvas::FinishPolygon()
{
    std::vector<QPoint> corners = m_polygon;
    while (corners.size() > 1 && corners.back() == corners.front())
        corners.pop_back();
    m_gesture = Gesture::None;
    m_polygon.clear();
    update();
    // Three corners on one line enclose nothing: that was no polygon.
    if (corners.size() < 3 || PolygonArea(corners) < 0.5) {
        emit m_events.PolygonEnded();
        EndDrawing(false);
        return;
    }
    Shape polygon;
    polygon.Kind = kPolygon;
    polygon.Points = std::move(corners);
    m_tool = kPointerTool;
    unsetCursor();
    m_editor.CreateDrawn(polygon);
    emit m_events.PolygonEnded();
}

void Canvas::EndDrawing(bool created)
{
    m_tool = kPointerTool;
    unsetCursor();
    if (!created)
        emit m_events.DrawingEnded();
}

void Canvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!Editing() || event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    const QPoint widget = event->position().toPoint();
    if (m_gesture == Gesture::Polygon) {
        AddPolygonPoint(ClampPoint(ToPicture(widget), Area()));
        FinishPolygon();
        return;
    }
    const int selected = m_editor.SelectedIndex();
    if (m_tool == kPointerTool && m_gesture == Gesture::None && selected >= 0
        && HandleAt(widget) < 0) {
        const SurfaceFigure& figure = m_editor.Figures().At(selected);
        const int edge
            = figure.Locked ? -1 : EdgeNear(figure.Geometry, ToPictureF(widget), HitTolerance());
        if (edge >= 0) {
            const FigureState before = m_editor.StateOf(selected);
            m_editor.Preview(selected,
                WithCornerInserted(before.Geometry, edge, ClampPoint(ToPicture(widget), Area())));
            m_cornerKey = figure.Key;
            m_corner = edge + 1;
            m_editor.Commit(selected, before);
            return;
        }
    }
    // The second click of a double-click acts as a click.
    mousePressEvent(event);
}

} // namespace karvex::surface
