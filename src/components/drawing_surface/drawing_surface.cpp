#include "components/drawing_surface/drawing_surface.h"

#include "components/common/color.h"
#include "components/drawing_surface/canvas_view.h"
#include "components/drawing_surface/rulers.h"
#include "components/drawing_surface/surface_editor.h"

#include <QGridLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace karvex {

using namespace surface;

namespace {

constexpr std::int32_t kRulerColor = 14737632; // light grey, &HE0E0E0

} // namespace

DrawingSurface::DrawingSurface(QWidget* parent)
    : QWidget(parent)
{
    qRegisterMetaType<karvex::Figure>();
    m_editor = std::make_unique<SurfaceEditor>(*this, [this](const QRect& box) {
        if (m_canvas) {
            m_canvas->RefreshPicture(box);
            m_canvas->AnnounceSelection();
        }
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName("Pages");
    m_tabs->setDocumentMode(true);
    m_tabs->setExpanding(false);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_tabs->hide();
    m_pages = new QStackedWidget(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_pages, 1);

    m_designPage = new QWidget(m_pages);
    m_designPage->setObjectName("DesignPage");
    auto* grid = new QGridLayout(m_designPage);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    m_scroll = new QScrollArea(m_designPage);
    m_scroll->setObjectName("CanvasScroll");
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_canvas = new Canvas(*this, *m_editor, nullptr);
    m_scroll->setWidget(m_canvas);
    m_topRuler = new Ruler(Qt::Horizontal, *m_canvas, m_designPage);
    m_leftRuler = new Ruler(Qt::Vertical, *m_canvas, m_designPage);
    m_corner = new QWidget(m_designPage);
    m_corner->setObjectName("RulerCorner");
    m_corner->setFixedSize(Ruler::kThickness, Ruler::kThickness);
    m_corner->setAutoFillBackground(true);
    grid->addWidget(m_corner, 0, 0);
    grid->addWidget(m_topRuler, 0, 1);
    grid->addWidget(m_leftRuler, 1, 0);
    grid->addWidget(m_scroll, 1, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
    m_pages->addWidget(m_designPage);
    setFocusProxy(m_canvas);
    ResetRulerColor();

    connect(m_canvas, &Canvas::PointerMoved, this, [this](QPoint picture, bool inside) {
        m_topRuler->SetPointer(inside ? picture.x() : -1);
        m_leftRuler->SetPointer(inside ? picture.y() : -1);
    });
    connect(m_canvas, &Canvas::RevealRequested, this, &DrawingSurface::Reveal);
    connect(m_canvas, &Canvas::ZoomRequested, this, [this](int percent, QPoint anchor) {
        ApplyZoom(percent, m_canvas->mapTo(m_scroll->viewport(), anchor));
        emit ZoomChanged(m_canvas->Zoom());
    });
    for (QScrollBar* bar : { m_scroll->horizontalScrollBar(), m_scroll->verticalScrollBar() }) {
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            m_topRuler->update();
            m_leftRuler->update();
        });
    }
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            ShowPage(index);
    });
}

DrawingSurface::~DrawingSurface()
{
    // The canvas refers to the editor, which goes before the child widgets would.
    delete m_scroll;
    m_canvas = nullptr;
}

void DrawingSurface::Changed()
{
    if (m_canvas)
        m_canvas->update();
    m_topRuler->update();
    m_leftRuler->update();
}

void DrawingSurface::SetRedraw(bool on)
{
    if (on == m_redraw)
        return;
    m_redraw = on;
    m_canvas->setUpdatesEnabled(on);
    m_topRuler->setUpdatesEnabled(on);
    m_leftRuler->setUpdatesEnabled(on);
    if (!on) {
        // A batch belongs to one event: one left open must not freeze the picture.
        QTimer::singleShot(0, this, [this] { SetRedraw(true); });
    }
}

void DrawingSurface::SetSurfacePicture(const QImage& picture)
{
    m_canvas->SetPicture(picture);
    Changed();
}

void DrawingSurface::LoadFigures(int mode, const std::string& areaTags)
{
    if (mode != 2)
        return;
    m_canvas->CancelGesture();
    m_editor->LoadAreaTags(areaTags);
}

void DrawingSurface::SetMapSize(int width, int height)
{
    m_canvas->SetMapSize(QSize(std::max(width, 0), std::max(height, 0)));
    Changed();
}

void DrawingSurface::SetZoomPercent(int percent)
{
    const QSize viewport = m_scroll->viewport()->size();
    ApplyZoom(percent, QPointF(viewport.width() / 2.0, viewport.height() / 2.0));
    emit ZoomChanged(m_canvas->Zoom());
}

void DrawingSurface::ApplyZoom(int percent, QPointF anchor)
{
    // The picture point under the anchor (a viewport position) stays under it.
    const double oldScale = m_canvas->Scale();
    const QPointF picture = (anchor - QPointF(m_canvas->pos())) / oldScale;
    m_canvas->SetZoom(percent);
    const double newScale = m_canvas->Scale();
    m_scroll->horizontalScrollBar()->setValue(
        static_cast<int>(picture.x() * newScale - anchor.x()));
    m_scroll->verticalScrollBar()->setValue(static_cast<int>(picture.y() * newScale - anchor.y()));
    Changed();
}

int DrawingSurface::ZoomPercent() const { return m_canvas->Zoom(); }

void DrawingSurface::Repaint() { Changed(); }

void DrawingSurface::Relayout()
{
    if (QLayout* own = layout())
        own->activate();
    Changed();
}

void DrawingSurface::AddPage(
    const QString& key, const QString& caption, QWidget* container, const QIcon& icon)
{
    m_pageList.push_back({ key, container });
    if (container && m_pages->indexOf(container) < 0)
        m_pages->addWidget(container);
    // Adding the first tab makes it current; only SelectPage and the user choose pages.
    const QSignalBlocker quiet(m_tabs);
    m_tabs->addTab(icon, caption);
    m_tabs->show();
}

void DrawingSurface::SelectPage(int index)
{
    if (index < 1 || index > static_cast<int>(m_pageList.size()))
        return;
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(index - 1);
    }
    ShowPage(index - 1);
}

void DrawingSurface::ShowPage(int index)
{
    if (index < 0 || index >= static_cast<int>(m_pageList.size()))
        return;
    const Page& page = m_pageList[static_cast<std::size_t>(index)];
    m_pages->setCurrentWidget(page.Container ? page.Container : m_designPage);
    emit PageChanged(page.Key);
}

void DrawingSurface::SetViewMode(SurfaceMode mode)
{
    m_canvas->SetViewMode(static_cast<int>(mode));
    if (mode == SurfaceMode::Preview && m_resetZoom && ZoomPercent() != 100)
        SetZoomPercent(100);
    // The preview shows the picture as a browser would, without rulers.
    SetRulersVisible(m_rulersVisible);
}

void DrawingSurface::SetTipStyle(TipStyle style)
{
    m_canvas->SetBalloonTips(style == TipStyle::Balloon);
}

void DrawingSurface::SetDesignActive(bool active) { m_canvas->SetDesignActive(active); }

void DrawingSurface::SetDrawTool(DrawTool tool) { m_canvas->SetDrawTool(static_cast<int>(tool)); }

void DrawingSurface::Undo()
{
    m_canvas->CancelGesture();
    m_editor->Undo();
}

void DrawingSurface::Redo()
{
    m_canvas->CancelGesture();
    m_editor->Redo();
}

void DrawingSurface::DeleteSelected()
{
    m_canvas->CancelGesture();
    m_editor->DeleteSelected();
}

void DrawingSurface::LockSelected(bool locked)
{
    const int index = m_editor->SelectedIndex();
    if (index < 0)
        return;
    m_canvas->CancelGesture();
    FigureState state = m_editor->StateOf(index);
    state.Locked = locked;
    m_editor->Change(index, state, false);
}

void DrawingSurface::SetSelectedColor(std::int32_t color)
{
    if (const int index = m_editor->SelectedIndex(); index >= 0)
        m_editor->SetColor(index, color);
}

void DrawingSurface::SetSelectedCoordinate(int which, int value)
{
    const int index = m_editor->SelectedIndex();
    if (index < 0 || which < 1 || which > 4)
        return;
    m_canvas->CancelGesture();
    const FigureState before = m_editor->StateOf(index);
    FigureState after = before;
    after.Geometry = ClampInside(WithBound(before.Geometry, which, value), m_editor->Area());
    m_editor->Change(index, after, true);
    // A value the figure cannot take is answered with the figure as it is.
    if (after == before)
        emit FigureChanged(m_editor->ToFigure(m_editor->Figures().At(index)));
}

void DrawingSurface::ChangeFigureShape(int id, int shape)
{
    const int index = m_editor->Figures().IndexOfId(id);
    if (index < 0 || shape < kRectangle || shape > kPolygon)
        return;
    m_canvas->CancelGesture();
    FigureState after = m_editor->StateOf(index);
    after.Geometry = ConvertedKind(after.Geometry, shape);
    m_editor->Change(index, after, true);
}

void DrawingSurface::SetFigureCoords(int id, const std::string& coords)
{
    const int index = m_editor->Figures().IndexOfId(id);
    if (index < 0)
        return;
    m_canvas->CancelGesture();
    FigureState after = m_editor->StateOf(index);
    const std::vector<int> numbers = ParseNumbers(coords);
    after.Geometry = MakeShape(KindForCount(after.Geometry.Kind, numbers.size()), numbers);
    m_editor->Change(index, after, false);
}

int DrawingSurface::AddFigure(
    const std::string& coords, int shape, std::int32_t color, bool locked, int id)
{
    const std::vector<int> numbers = ParseNumbers(coords);
    const int kind = shape >= kRectangle && shape <= kPolygon
        ? shape
        : KindForCount(kRectangle, numbers.size());
    // Figures handed over while redraw is off are part of loading a document, not edits.
    return m_editor->AddFigure(MakeShape(kind, numbers), color, locked, id, m_redraw);
}

void DrawingSurface::AssignFigureId(int newId) { m_editor->AssignId(newId); }

int DrawingSurface::SelectedFigureId() const
{
    const SurfaceFigure* selected = m_editor->Selected();
    return selected ? selected->Id : 0;
}

std::string DrawingSurface::SelectedCoords() const
{
    const SurfaceFigure* selected = m_editor->Selected();
    return selected ? CoordsText(selected->Geometry) : std::string();
}

void DrawingSurface::SelectFigure(int id)
{
    const int index = m_editor->Figures().IndexOfId(id);
    if (index < 0)
        return;
    m_editor->Select(index, false);
    Reveal(m_editor->Figures().At(index).Box);
}

void DrawingSurface::Reveal(const QRect& box)
{
    const QPointF centre = m_canvas->ToScreen(box.center());
    const double s = m_canvas->Scale();
    m_scroll->ensureVisible(static_cast<int>(centre.x()), static_cast<int>(centre.y()),
        static_cast<int>(box.width() * s / 2) + 20, static_cast<int>(box.height() * s / 2) + 20);
}

QRect DrawingSurface::VisiblePictureArea() const
{
    const QRect area(QPoint(0, 0), m_canvas->Area());
    const QWidget* viewport = m_scroll->viewport();
    if (!viewport->isVisible())
        return area;
    const QPoint topLeft = m_canvas->mapFrom(viewport, viewport->rect().topLeft());
    const QPoint bottomRight = m_canvas->mapFrom(viewport, viewport->rect().bottomRight());
    const QRect seen(m_canvas->ToPicture(topLeft), m_canvas->ToPicture(bottomRight));
    const QRect visible = seen.intersected(area);
    return visible.isEmpty() ? area : visible;
}

void DrawingSurface::SetAllSelected(bool selected) { m_editor->SetAllSelected(selected); }

void DrawingSurface::ShowFigures(int show) { m_canvas->SetFiguresVisible(show != 0); }

void DrawingSurface::SetFigureUnderlay(int id, bool underlay)
{
    const int index = m_editor->Figures().IndexOfId(id);
    if (index < 0 || m_editor->Figures().At(index).Underlay == underlay)
        return;
    m_editor->SetUnderlay(index, underlay);
}

void DrawingSurface::SetFigureText(int id, const QString& label, const QString& description)
{
    const int index = m_editor->Figures().IndexOfId(id);
    if (index < 0)
        return;
    m_editor->SetText(index, label, description);
}

void DrawingSurface::ShowLabels(bool show) { m_canvas->SetLabelsShown(show); }

void DrawingSurface::SetRulersVisible(bool visible)
{
    m_rulersVisible = visible;
    const bool shown = visible && m_canvas->ViewMode() == 1;
    m_topRuler->setVisible(shown);
    m_leftRuler->setVisible(shown);
    m_corner->setVisible(shown);
}

void DrawingSurface::ShowTip(const QString& text) { m_canvas->SetTip(text); }

void DrawingSurface::MapLoaded()
{
    m_editor->ClearHistory();
    Changed();
}

void DrawingSurface::FinishBulkAdd() { m_editor->ClearHistory(); }

void DrawingSurface::AfterBulkAdd()
{
    m_editor->ClearHistory();
    Changed();
}

void DrawingSurface::SetShapeColor(std::int32_t color)
{
    m_canvas->SetShapeColor(ToQColor(color));
    m_editor->SetNewFigureColor(color);
}

void DrawingSurface::SetBorderColor(std::int32_t color)
{
    m_canvas->SetBorderColor(ToQColor(color));
}

void DrawingSurface::SetRulerColor(std::int32_t color)
{
    const QColor shade = ToQColor(color);
    m_topRuler->SetColor(shade);
    m_leftRuler->SetColor(shade);
    QPalette palette = m_corner->palette();
    palette.setColor(QPalette::Window, shade.darker(112));
    m_corner->setPalette(palette);
}

void DrawingSurface::ResetRulerColor() { SetRulerColor(kRulerColor); }

void DrawingSurface::SetSupportLines(bool on) { m_canvas->SetSupportLines(on); }

void DrawingSurface::SetCustomCursors(bool on) { m_canvas->SetCustomCursors(on); }

bool DrawingSurface::CanUndo() const { return m_editor->CanUndo(); }

bool DrawingSurface::CanRedo() const { return m_editor->CanRedo(); }

} // namespace karvex
