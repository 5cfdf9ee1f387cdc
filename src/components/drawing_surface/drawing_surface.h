#pragma once

// The drawing surface: a document's picture with one figure per hotspot, where the user draws,
// selects, moves, reshapes and rotates figures, with rulers, zoom, undo and the page tabs of
// the document window. The program drives it through the operations below and hears back
// through its signals; gestures report once, on release. Coordinates are whole pixels of the
// unzoomed picture.

#include "core/model/figure.h"

#include <QIcon>
#include <QImage>
#include <QMetaType>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QScrollArea;
class QStackedWidget;
class QTabBar;

namespace karvex {

namespace surface {
class Canvas;
class Ruler;
class SurfaceEditor;
} // namespace surface

// The drawing tools; the numbers are the surface's draw modes.
enum class DrawTool : int {
    Pointer = 0,
    Rectangle = 1,
    Circle = 2,
    Polygon = 3,
    Rotate = 5,
};

// What the canvas is for: editing the figures, or trying the map as a visitor would.
enum class SurfaceMode : int {
    Design = 1,
    Preview = 2, // hover tips, a click activates the hotspot
};

// How the preview shows a hotspot's tip: the desktop's plain tooltip, or a balloon.
enum class TipStyle : int {
    Standard = 0,
    Balloon = 1,
};

class DrawingSurface : public QWidget
{
    Q_OBJECT

public:
    explicit DrawingSurface(QWidget* parent = nullptr);
    ~DrawingSurface() override;

    // false before a batch of changes, true after: nothing is repainted in between (a batch
    // left open ends by itself when control returns to the event loop).
    void SetRedraw(bool on);
    void SetSurfacePicture(const QImage& picture);
    // mode 2: AREA tag texts each followed by "\r\n"; replaces every figure, one per tag, ids
    // 1, 2, 3... in that order; the undo history starts afresh.
    void LoadFigures(int mode, const std::string& areaTags);
    // The drawing area in picture pixels (the picture is stretched to it when sizes differ).
    void SetMapSize(int width, int height);
    // From the smallest to the largest zoom level of core/model/zoom_levels.h (values outside
    // are brought into that range); reports ZoomChanged.
    void SetZoomPercent(int percent);
    int ZoomPercent() const;
    void Repaint();
    void Relayout();
    // A page tab; a page without container shows the canvas.
    void AddPage(const QString& key, const QString& caption, QWidget* container, const QIcon& icon);
    void SelectPage(int index); // 1-based; reports PageChanged
    // Preview mode puts the zoom back to 100% (reporting ZoomChanged) while reset zoom is on.
    void SetViewMode(SurfaceMode mode);
    void SetResetZoom(bool on) { m_resetZoom = on; }
    void SetTipStyle(TipStyle style);
    void SetDesignActive(bool active);
    void SetDrawTool(DrawTool tool);
    void Undo();
    void Redo();
    void DeleteSelected();
    void LockSelected(bool locked);
    void SetSelectedColor(std::int32_t color);
    // 1 X1, 2 Y1, 3 X2, 4 Y2 of the selected figure's box; reports FigureChanged.
    void SetSelectedCoordinate(int which, int value);
    // Redraws the figure as another kind inside its box; reports FigureChanged.
    void ChangeFigureShape(int id, int shape);
    void SetFigureCoords(int id, const std::string& coords);
    // id: the hotspot slot chosen by the caller (a new id when it is 0 or less); returns it. A
    // figure added outside a redraw batch can be undone.
    int AddFigure(const std::string& coords, int shape, std::int32_t color, bool locked, int id);
    // Gives the figure of the last FigureCreated its id; called from the FigureCreated handler.
    void AssignFigureId(int newId);
    int SelectedFigureId() const; // 0 when none
    std::string SelectedCoords() const;
    void SelectFigure(int id);
    void SetAllSelected(bool selected);
    void ShowFigures(int show); // 1 show all, 0 hide all
    // A figure that lies under all others: drawn first, hit only where no other figure is (the
    // page's "default" AREA, which covers the whole picture).
    void SetFigureUnderlay(int id, bool underlay);
    // What the program knows of a figure: the label drawn on it while labels are shown, and the
    // description (name, shape, link) the canvas announces to assistive tools when it is
    // selected.
    void SetFigureText(int id, const QString& label, const QString& description);
    void ShowLabels(bool show);
    void SetRulersVisible(bool visible);
    void ShowTip(const QString& text);
    // The part of the drawing area the scroll view shows, in picture pixels (the whole area
    // while the surface is not shown).
    QRect VisiblePictureArea() const;
    void MapLoaded();
    // A bulk add's figures are taken over; the earlier undo and redo history is dropped.
    void FinishBulkAdd();
    void AfterBulkAdd();

    // Appearance; colours are colour numbers (red in the low byte). The shape colour tints the
    // figures and is the colour of newly drawn ones; the border colour marks handles and drafts.
    void SetShapeColor(std::int32_t color);
    void SetBorderColor(std::int32_t color);
    void SetRulerColor(std::int32_t color);
    // The rulers' own colour, as they are before any SetRulerColor.
    void ResetRulerColor();
    void SetSupportLines(bool on);
    void SetCustomCursors(bool on);
    bool CanUndo() const;
    bool CanRedo() const;

signals:
    void UndoStateChanged(bool canUndo, bool canRedo);
    void ZoomChanged(int percent);
    // What an undo or redo did to the figure.
    void FigureStateChanged(karvex::FigureAction action, int id, const karvex::Figure& figure);
    void FigureHover(int state, int id); // 1 entered, 0 left
    void FigureActivated(int state, int id); // preview click: state 1
    void LockChanged(bool locked);
    void StatusNote(const QString& text); // the rotation angle in whole degrees while rotating
    // button 1 left, 2 right; modifiers 1 Shift, 2 Ctrl, 4 Alt; x, y picture pixels.
    void SurfaceMouseUp(int button, int modifiers, int x, int y);
    void FigureChanged(const karvex::Figure& figure);
    void FigureSelected(const karvex::Figure& figure);
    void FigureCreated(const karvex::Figure& figure); // Id 0 until AssignFigureId
    void SelectionCleared();
    void DrawingEnded(); // a drawing ended without a figure (cancelled or too small)
    void DragTracking(int x1, int y1, int x2, int y2);
    void PageChanged(const QString& key);
    void DragRectStarted();
    void MoveStarted();
    void MoveEnded();
    void RotateStarted();
    void RotateEnded();
    void PointMoveStarted();
    void PointMoveEnded();
    void PolygonStarted();
    void PolygonEnded();

private:
    struct Page
    {
        QString Key;
        QWidget* Container = nullptr;
    };

    void ShowPage(int index);
    void Reveal(const QRect& pictureBox);
    void ApplyZoom(int percent, QPointF anchor);
    void Changed();

    std::unique_ptr<surface::SurfaceEditor> m_editor;
    surface::Canvas* m_canvas = nullptr;
    surface::Ruler* m_topRuler = nullptr;
    surface::Ruler* m_leftRuler = nullptr;
    QWidget* m_corner = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_designPage = nullptr;
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_pages = nullptr;
    std::vector<Page> m_pageList;
    bool m_redraw = true;
    bool m_rulersVisible = true;
    bool m_resetZoom = false;
};

} // namespace karvex

Q_DECLARE_METATYPE(karvex::Figure)
Q_DECLARE_METATYPE(karvex::FigureAction)
