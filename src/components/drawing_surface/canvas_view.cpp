// The canvas's settings and its mapping between picture pixels and widget positions.

#include "components/drawing_surface/canvas_view.h"

#include "components/drawing_surface/drawing_surface.h"
#include "components/drawing_surface/tip_balloon.h"
#include "core/model/zoom_levels.h"

#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace karvex::surface {

namespace {

const char* const kCanvasHelp = "The picture with its hotspots. Tab and Shift+Tab select the next "
                                "and the previous hotspot, the arrow keys move the selected one, "
                                "Escape cancels a drawing.";

} // namespace

Canvas::Canvas(DrawingSurface& events, SurfaceEditor& editor, QWidget* parent)
    : QWidget(parent)
    , m_events(events)
    , m_editor(editor)
{
    setObjectName("Canvas");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName("Picture and hotspots");
    setAccessibleDescription(kCanvasHelp);
    resize(1, 1);
}

void Canvas::SetPicture(const QImage& picture)
{
    // One fixed format keeps the scaled drawing on the fast path.
    m_picture = picture.isNull()
        ? QImage()
        : picture.convertToFormat(
            picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    m_scaledCache = QPixmap();
    UpdateSize();
}

void Canvas::SetMapSize(QSize size)
{
    m_mapSize = size;
    m_scaledCache = QPixmap();
    UpdateSize();
}

QSize Canvas::Area() const
{
    if (m_mapSize.width() > 0 && m_mapSize.height() > 0)
        return m_mapSize;
    return m_picture.size();
}

void Canvas::UpdateSize()
{
    const QSize area = Area();
    m_editor.SetArea(area);
    const double s = Scale();
    const int w = std::max(1, static_cast<int>(std::ceil(area.width() * s)));
    const int h = std::max(1, static_cast<int>(std::ceil(area.height() * s)));
    if (size() != QSize(w, h))
        resize(w, h);
    update();
}

void Canvas::SetZoom(int percent)
{
    const int zoom = std::clamp(percent, kSmallestZoom, kLargestZoom);
    if (zoom == m_zoom)
        return;
    CancelGesture();
    m_zoom = zoom;
    m_scaledCache = QPixmap();
    UpdateSize();
}

void Canvas::SetViewMode(int mode)
{
    if (mode != 1 && mode != 2)
        return;
    CancelGesture();
    ClearHover();
    m_viewMode = mode;
    unsetCursor();
    update();
}

void Canvas::SetDesignActive(bool active)
{
    if (!active)
        CancelGesture();
    m_designActive = active;
}

void Canvas::SetDrawTool(int tool)
{
    const bool known = tool == kRectangleTool || tool == kCircleTool || tool == kPolygonTool
        || tool == kRotateTool;
    const int next = known ? tool : kPointerTool;
    if (next == m_tool)
        return;
    // The program chose another tool: drop a half-drawn figure without ending the drawing,
    // which would put the program's tool buttons back to the pointer.
    const bool polygon = m_gesture == Gesture::Polygon;
    CancelGesture();
    if (polygon)
        emit m_events.PolygonEnded();
    m_tool = next;
    setCursor(m_tool == kPointerTool ? QCursor(Qt::ArrowCursor) : ToolCursor());
}

void Canvas::SetFiguresVisible(bool visible)
{
    if (!visible) {
        CancelGesture();
        ClearHover();
    }
    m_figuresVisible = visible;
    update();
}

void Canvas::SetSupportLines(bool on)
{
    m_supportLines = on;
    update();
}

void Canvas::SetCustomCursors(bool on)
{
    m_customCursors = on;
    if (m_tool != kPointerTool)
        setCursor(ToolCursor());
}

void Canvas::SetShapeColor(QColor color)
{
    m_shapeColor = color;
    update();
}

void Canvas::SetBorderColor(QColor color)
{
    m_borderColor = color;
    update();
}

void Canvas::SetTip(const QString& text)
{
    m_tip = text;
    if (m_viewMode != 2 || m_hoverKey == 0 || text.isEmpty()) {
        HideTip();
        return;
    }
    if (!m_balloonTips) {
        QToolTip::showText(m_lastGlobal, text, this);
        return;
    }
    if (!m_balloon)
        m_balloon = new TipBalloon(this);
    m_balloon->ShowAt(m_lastGlobal, text);
}

void Canvas::HideTip()
{
    QToolTip::hideText();
    if (m_balloon)
        m_balloon->hide();
}

void Canvas::SetLabelsShown(bool shown)
{
    m_labelsShown = shown;
    update();
}

void Canvas::AnnounceSelection()
{
    const SurfaceFigure* selected = m_editor.AllSelected() ? nullptr : m_editor.Selected();
    const QString text = selected ? selected->Description : QString();
    if (text == m_announced)
        return;
    m_announced = text;
    // Raises the DescriptionChanged event that screen readers announce.
    setAccessibleDescription(text.isEmpty() ? QString(kCanvasHelp) : "Selected: " + text);
}

void Canvas::RefreshPicture(const QRect& pictureBox)
{
    // Support lines run through the selected figure's edges across the whole picture; labels
    // reach past their figures.
    if (pictureBox.isNull() || m_supportLines || m_labelsShown)
        update();
    else
        update(ScreenBox(pictureBox, 12));
}

void Canvas::CancelGesture()
{
    const Gesture gesture = m_gesture;
    m_gesture = Gesture::None;
    if (gesture == Gesture::Move || gesture == Gesture::Handle || gesture == Gesture::Rotate) {
        if (const int index = GestureIndex(); index >= 0)
            m_editor.Preview(index, m_before.Geometry);
    }
    m_draft = {};
    m_polygon.clear();
    m_gestureKey = 0;
    update();
}

QPointF Canvas::ToScreen(QPoint picture) const
{
    // The centre of the screen pixel in the middle of the zoomed picture pixel: outlines stay
    // sharp at every zoom.
    const double s = Scale();
    return { std::floor((picture.x() + 0.5) * s) + 0.5, std::floor((picture.y() + 0.5) * s) + 0.5 };
}

QPointF Canvas::ToScreen(QPointF picture) const
{
    const double s = Scale();
    return { (picture.x() + 0.5) * s, (picture.y() + 0.5) * s };
}

QPoint Canvas::ToPicture(QPoint widget) const
{
    const double s = Scale();
    return { static_cast<int>(std::floor(widget.x() / s)),
        static_cast<int>(std::floor(widget.y() / s)) };
}

QPointF Canvas::ToPictureF(QPointF widget) const
{
    // Widget pixels are sampled at their centres; picture pixel centres are whole numbers.
    const double s = Scale();
    return { (widget.x() + 0.5) / s - 0.5, (widget.y() + 0.5) / s - 0.5 };
}

QRect Canvas::ScreenBox(const QRect& pictureBox, int margin) const
{
    const double s = Scale();
    const int left = static_cast<int>(std::floor(pictureBox.left() * s));
    const int top = static_cast<int>(std::floor(pictureBox.top() * s));
    const int right = static_cast<int>(std::ceil((pictureBox.right() + 1) * s));
    const int bottom = static_cast<int>(std::ceil((pictureBox.bottom() + 1) * s));
    return QRect(QPoint(left, top), QPoint(right, bottom))
        .adjusted(-margin, -margin, margin, margin);
}

} // namespace karvex::surface
