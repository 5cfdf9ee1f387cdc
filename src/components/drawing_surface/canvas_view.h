#pragma once

// The drawing surface's canvas: the zoomed picture with its figures, handles and support lines,
// and the mouse and keyboard gestures that draw, select, move, reshape and rotate figures.

#include "components/drawing_surface/surface_editor.h"

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace karvex {
class DrawingSurface;
}

namespace karvex::surface {

class TipBalloon;

// Draw tools as the program numbers them.
inline constexpr int kPointerTool = 0;
inline constexpr int kRectangleTool = 1;
inline constexpr int kCircleTool = 2;
inline constexpr int kPolygonTool = 3;
inline constexpr int kRotateTool = 5;

class Canvas : public QWidget
{
    Q_OBJECT

public:
    Canvas(DrawingSurface& events, SurfaceEditor& editor, QWidget* parent);

    void SetPicture(const QImage& picture);
    // The drawing area in picture pixels; an empty size means the picture's own size.
    void SetMapSize(QSize size);
    QSize Area() const;
    void SetZoom(int percent);
    int Zoom() const { return m_zoom; }
    double Scale() const { return m_zoom / 100.0; }

    void SetViewMode(int mode);
    int ViewMode() const { return m_viewMode; }
    void SetDesignActive(bool active);
    void SetDrawTool(int tool);
    int DrawTool() const { return m_tool; }
    void SetFiguresVisible(bool visible);
    void SetSupportLines(bool on);
    void SetCustomCursors(bool on);
    void SetShapeColor(QColor color);
    void SetBorderColor(QColor color);
    void SetTip(const QString& text);
    // The preview's hover tips in a balloon rather than the desktop's plain tooltip.
    void SetBalloonTips(bool on) { m_balloonTips = on; }
    void SetLabelsShown(bool shown);
    // Tells assistive tools which figure is selected, by its description, when that changed.
    void AnnounceSelection();
    // Repaints the part of the canvas that shows a picture area (everything for a null one).
    void RefreshPicture(const QRect& pictureBox);
    // Ends any gesture in progress without a result (figures keep their state before it).
    void CancelGesture();

    // Widget position of the centre of a picture pixel, and the pixel under a widget position.
    QPointF ToScreen(QPoint picture) const;
    QPointF ToScreen(QPointF picture) const;
    QPoint ToPicture(QPoint widget) const;
    QPointF ToPictureF(QPointF widget) const;

signals:
    // The picture pixel under the pointer (inside false when the pointer left the canvas).
    void PointerMoved(QPoint picture, bool inside);
    // Ctrl + wheel asks for another zoom level, keeping the pixel under anchor in place.
    void ZoomRequested(int percent, QPoint anchor);
    // A figure selected from the keyboard wants to be scrolled into view.
    void RevealRequested(const QRect& pictureBox);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class Gesture {
        None,
        PendingMove,
        Move,
        PendingHandle,
        Handle,
        PendingDraw,
        Draw,
        Polygon,
        PendingRotate,
        Rotate,
        PreviewPress,
    };

    void UpdateSize();

    // canvas_paint.cpp
    void PaintPicture(QPainter& painter, const QRect& exposed);
    void PaintFigures(QPainter& painter, const QRegion& exposed);
    void PaintFigure(QPainter& painter, const SurfaceFigure& figure, bool selected);
    void PaintLabels(QPainter& painter, const QRegion& exposed);
    void PaintHandles(QPainter& painter, const SurfaceFigure& figure);
    void PaintDraft(QPainter& painter);
    void PaintSupportLines(QPainter& painter);
    QPolygonF ScreenOutline(const Shape& shape) const;
    QRect ScreenBox(const QRect& pictureBox, int margin) const;
    void UpdateCursor(QPoint widget, Qt::KeyboardModifiers modifiers);
    QCursor ToolCursor() const;

    // canvas_input.cpp
    bool Editing() const;
    double HitTolerance() const;
    int HandleAt(QPoint widget) const;
    // Handles in the middle of a rectangle's edges give way on figures too small on screen to
    // be grabbed anywhere else.
    bool HandleShown(const SurfaceFigure& figure, int handle) const;
    int GestureIndex() const;
    void SelectAt(QPoint widget);
    void SelectHit(int index);
    void PressInDesign(QMouseEvent* event);
    void StartGesture();
    void TrackGesture(QPoint widget, Qt::KeyboardModifiers modifiers);
    void ReportBox(const QRect& box);
    void FinishGesture();
    void AddPolygonPoint(QPoint picture);
    void FinishPolygon();
    void EndDrawing(bool created);
    void UpdatePointerLines(QPoint oldPicture, bool oldInside);

    // canvas_keys.cpp
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers, bool dryRun);
    void Escape();
    // Selects the figure after (step 1) or before (step -1) the selected one in id order,
    // wrapping around; false when there is none to select.
    bool CycleSelection(int step);
    void Nudge(QPoint delta);
    void RemoveActiveCorner();
    void UpdateHover(QPoint widget);
    void ClearHover();
    void HideTip();

    DrawingSurface& m_events;
    SurfaceEditor& m_editor;
    QImage m_picture;
    QPixmap m_scaledCache; // the picture smoothly scaled for zooms below 100%
    QSize m_mapSize;
    int m_zoom = 100;
    int m_viewMode = 1;
    bool m_designActive = true;
    int m_tool = kPointerTool;
    bool m_figuresVisible = true;
    bool m_supportLines = false;
    bool m_customCursors = false;
    bool m_labelsShown = false;
    QString m_announced; // the selection description assistive tools were last told
    QColor m_shapeColor = Qt::black;
    QColor m_borderColor = Qt::black;
    QString m_tip;
    bool m_balloonTips = false;
    TipBalloon* m_balloon = nullptr; // made on the first balloon tip

    Gesture m_gesture = Gesture::None;
    QPoint m_pressWidget;
    QPoint m_pressPicture;
    std::uint64_t m_gestureKey = 0;
    FigureState m_before;
    int m_handle = -1;
    Shape m_draft;
    std::vector<QPoint> m_polygon;
    QPoint m_pointerPicture { -1, -1 };
    bool m_pointerInside = false;
    QPoint m_lastGlobal;

    std::uint64_t m_hoverKey = 0;
    bool m_crowded = false; // while a view of very many figures is painted
    static constexpr std::size_t kCrowdedFigures = 2000;
    int m_hoverId = 0;
    // The polygon corner last clicked on the selected figure (Delete removes it).
    std::uint64_t m_cornerKey = 0;
    int m_corner = -1;
};

} // namespace karvex::surface
