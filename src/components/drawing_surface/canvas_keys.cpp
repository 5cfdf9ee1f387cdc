// The canvas's keyboard (Tab through the figures, nudging, corner removal, Escape, ending
// polygons), hover reports and tips, and Ctrl + wheel zoom.

#include "components/drawing_surface/canvas_view.h"
#include "components/drawing_surface/drawing_surface.h"
#include "core/model/zoom_levels.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace karvex::surface {

bool Canvas::event(QEvent* event)
{
    // Keys the canvas acts on win over the main window's shortcuts for the same keys.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (HandleKey(key->key(), key->modifiers(), true)) {
            event->accept();
            return true;
        }
    }
    // Tab walks through the figures instead of moving the focus on, as long as there are any.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool backward = key->key() == Qt::Key_Backtab
            || (key->key() == Qt::Key_Tab && key->modifiers() & Qt::ShiftModifier);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plain && (key->key() == Qt::Key_Tab || backward) && CycleSelection(backward ? -1 : 1))
            return true;
    }
    return QWidget::event(event);
}

void Canvas::keyPressEvent(QKeyEvent* event)
{
    if (!HandleKey(event->key(), event->modifiers(), false))
        QWidget::keyPressEvent(event);
}

bool Canvas::HandleKey(int key, Qt::KeyboardModifiers modifiers, bool dryRun)
{
    if (!Editing())
        return false;
    const bool polygon = m_gesture == Gesture::Polygon;
    const SurfaceFigure* selected = m_editor.Selected();
    switch (key) {
    case Qt::Key_Escape:
        if (m_gesture == Gesture::None && m_tool == kPointerTool)
            return false;
        if (!dryRun)
            Escape();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!polygon)
            return false;
        if (!dryRun)
            FinishPolygon();
        return true;
    case Qt::Key_Backspace:
        if (!polygon)
            return false;
        if (!dryRun) {
            if (m_polygon.size() > 1) {
                m_polygon.pop_back();
                update();
            } else {
                Escape();
            }
        }
        return true;
    case Qt::Key_Delete:
        if (!selected || selected->Locked || selected->Key != m_cornerKey || m_corner < 0
            || selected->Geometry.Points.size() <= 3 || m_gesture != Gesture::None)
            return false;
        if (!dryRun)
            RemoveActiveCorner();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (!selected || m_gesture != Gesture::None)
            return false;
        if (!dryRun && !selected->Locked) {
            const int step = modifiers & Qt::ShiftModifier ? 10 : 1;
            const int dx = key == Qt::Key_Left ? -step : key == Qt::Key_Right ? step : 0;
            const int dy = key == Qt::Key_Up ? -step : key == Qt::Key_Down ? step : 0;
            Nudge(QPoint(dx, dy));
        }
        return true;
    }
    default:
        return false;
    }
}

void Canvas::Escape()
{
    const Gesture gesture = m_gesture;
    CancelGesture();
    switch (gesture) {
    case Gesture::Polygon:
        emit m_events.PolygonEnded();
        EndDrawing(false);
        break;
    case Gesture::Move:
        emit m_events.MoveEnded();
        break;
    case Gesture::Handle:
        emit m_events.PointMoveEnded();
        break;
    case Gesture::Rotate:
        // No RotateEnded: the figure did not turn into a polygon.
        emit m_events.StatusNote("0");
        EndDrawing(false);
        break;
    case Gesture::PendingMove:
    case Gesture::PendingHandle:
    case Gesture::PendingRotate:
        break;
    default:
        if (m_tool != kPointerTool || gesture == Gesture::Draw || gesture == Gesture::PendingDraw)
            EndDrawing(false);
        break;
    }
}

bool Canvas::CycleSelection(int step)
{
    if (!Editing() || !m_figuresVisible)
        return false;
    // A drawing or drag under way keeps the selection and the focus.
    if (m_gesture != Gesture::None)
        return true;
    const FigureStore& figures = m_editor.Figures();
    const SurfaceFigure* selected = m_editor.AllSelected() ? nullptr : m_editor.Selected();
    const int current = selected ? selected->Id : 0;
    // The nearest id past the current one, else the first (or last) of all: one pass.
    int next = -1;
    int wrap = -1;
    for (int i = 0; i < figures.Count(); ++i) {
        const int id = figures.At(i).Id;
        if (id <= 0)
            continue;
        const bool past = step > 0 ? id > current : (current == 0 || id < current);
        const auto better = [&](int other) {
            return other < 0 || (step > 0 ? id < figures.At(other).Id : id > figures.At(other).Id);
        };
        if (past && better(next))
            next = i;
        if (better(wrap))
            wrap = i;
    }
    if (next < 0)
        next = wrap;
    if (next < 0)
        return false;
    SelectHit(next);
    emit RevealRequested(figures.At(next).Box);
    return true;
}

void Canvas::Nudge(QPoint delta)
{
    const int index = m_editor.SelectedIndex();
    if (index < 0)
        return;
    const FigureState before = m_editor.StateOf(index);
    const QPoint step = LimitMove(Bounds(before.Geometry), delta, Area());
    if (step.isNull())
        return;
    m_editor.Preview(index, Translated(before.Geometry, step));
    m_editor.Commit(index, before, true);
}

void Canvas::RemoveActiveCorner()
{
    const int index = m_editor.SelectedIndex();
    if (index < 0 || m_editor.Figures().At(index).Key != m_cornerKey)
        return;
    const FigureState before = m_editor.StateOf(index);
    const Shape fewer = WithCornerRemoved(before.Geometry, m_corner);
    m_corner = -1;
    if (fewer == before.Geometry)
        return;
    m_editor.Preview(index, fewer);
    m_editor.Commit(index, before);
}

void Canvas::UpdateHover(QPoint widget)
{
    const FigureStore& figures = m_editor.Figures();
    const int hit = m_figuresVisible ? figures.HitTest(ToPictureF(widget), HitTolerance()) : -1;
    const std::uint64_t key = hit >= 0 ? figures.At(hit).Key : 0;
    if (key == m_hoverKey)
        return;
    ClearHover();
    if (hit < 0)
        return;
    m_hoverKey = key;
    m_hoverId = figures.At(hit).Id;
    update(ScreenBox(figures.At(hit).Box, 4));
    // The program answers with ShowTip while handling this event.
    emit m_events.FigureHover(1, m_hoverId);
}

void Canvas::ClearHover()
{
    if (m_hoverKey == 0)
        return;
    const int id = m_hoverId;
    const int index = m_editor.Figures().IndexOfKey(m_hoverKey);
    if (index >= 0)
        update(ScreenBox(m_editor.Figures().At(index).Box, 4));
    m_hoverKey = 0;
    m_hoverId = 0;
    HideTip();
    emit m_events.FigureHover(0, id);
}

void Canvas::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_gesture != Gesture::None)
        return;
    const QPoint oldPointer = m_pointerPicture;
    const bool oldInside = m_pointerInside;
    m_pointerInside = false;
    UpdatePointerLines(oldPointer, oldInside);
    ClearHover();
    emit PointerMoved(QPoint(-1, -1), false);
}

void Canvas::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    const int next
        = event->angleDelta().y() > 0 ? NextZoomLevel(m_zoom) : PreviousZoomLevel(m_zoom);
    event->accept();
    if (next != m_zoom)
        emit ZoomRequested(next, event->position().toPoint());
}

} // namespace karvex::surface
