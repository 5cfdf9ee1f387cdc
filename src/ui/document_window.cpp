#include "ui/document_window.h"

#include "components/code_box/code_box.h"
#include "components/common/program_icons.h"
#include "components/drawing_surface/drawing_surface.h"
#include "core/formats/tag_reader.h"
#include "core/model/app_state.h"
#include "core/model/hotspot_names.h"
#include "core/model/zoom_levels.h"
#include "core/operations/document_ops.h"
#include "core/operations/hotspot_ops.h"
#include "core/util/strings.h"
#include "ui/code_view.h"
#include "ui/document_host.h"
#include "ui/document_model.h"
#include "ui/qt_text.h"

#include <QCloseEvent>
#include <QCursor>
#include <QIcon>
#include <QUndoStack>
#include <QVBoxLayout>

namespace karvex {

namespace {

std::string AttributeOf(const std::string& tagText, const char* name)
{
    return GetAttribute(ParseTag(tagText), name, "");
}

// "Door, rectangle, link door.html": a hotspot as the canvas announces it when selected.
QString SpokenDescription(
    const Hotspot& spot, bool defaultArea, const std::string& href, const std::string& charset)
{
    const char* shape = defaultArea  ? "default area"
        : spot.Shape == ShapeCircle  ? "circle"
        : spot.Shape == ShapePolygon ? "polygon"
                                     : "rectangle";
    return ToDisplay(spot.Name, charset) + ", " + shape + ", "
        + (href.empty() ? QString("no link") : "link " + ToDisplay(href, charset));
}

} // namespace

DocumentWindow::DocumentWindow(DocumentHost& host, int slot, QWidget* parent)
    : QWidget(parent)
    , m_host(host)
    , m_slot(slot)
{
    setObjectName("TmpWorkArea");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    m_surface = new DrawingSurface(this);
    m_surface->setObjectName("ZQImagemap1");
    layout->addWidget(m_surface);

    m_codePage = new QWidget(this);
    m_codePage->setObjectName("Picture1");
    auto* codeLayout = new QVBoxLayout(m_codePage);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    m_codeBox = new CodeBox(m_codePage);
    m_codeBox->setObjectName("ZQ_CodeBox1");
    codeLayout->addWidget(m_codeBox);
    m_codeView = std::make_unique<CodeView>(
        *m_codeBox, m_host.State(), slot, QIcon(":/icons/pic_Lock.png"));
    m_model = new DocumentModel(m_host.State(), slot, this);

    SetUpCodeBox();
    SetUpSurface();
    ApplySettings();
    ConnectSurface();
    ConnectModel();
    RefreshCaption();
}

// The model and its history go with the widget's children, after this object has stopped being
// a DocumentWindow: nothing they say then may reach it.
DocumentWindow::~DocumentWindow()
{
    m_model->History().disconnect(this);
    m_model->disconnect(this);
}

void DocumentWindow::ConnectModel()
{
    DocumentModel* m = m_model;
    connect(m, &DocumentModel::hotspotsAdded, this, [this](const QList<int>& ids) {
        m_codeView->AddHotspotRegions(ids);
        for (const int slot : ids)
            ShowFigureInfo(slot);
    });
    connect(m, &DocumentModel::hotspotRemoved, this, [this](int, const QString& name) {
        m_codeView->RemoveHotspotRegion(FromDisplay(name, Doc().Charset));
    });
    connect(m, &DocumentModel::hotspotChanged, this, [this](int slot) {
        m_codeView->UpdateHotspotRegion(slot);
        SyncSelectedFigure(slot);
        ShowFigureInfo(slot);
    });
    connect(m, &DocumentModel::hotspotRenamed, this, [this](int slot, const QString& oldName) {
        m_codeView->RenameHotspotRegion(slot, FromDisplay(oldName, Doc().Charset));
        ShowFigureInfo(slot);
    });
    connect(m, &DocumentModel::imageTagChanged, this, [this](bool mapTags) {
        m_codeView->UpdateImageTagRegion();
        if (mapTags)
            m_codeView->UpdateMapTagRegions();
    });
    connect(m, &DocumentModel::pictureReplaced, this, [this](const QImage& picture) {
        m_surface->SetRedraw(false);
        m_surface->SetSurfacePicture(picture);
        m_surface->SetRedraw(true);
    });
    connect(m, &DocumentModel::pictureSizeChanged, this, [this](int width, int height) {
        m_surface->SetMapSize(width, height);
        m_host.SetStatusText(QString("%1x%2").arg(width).arg(height), StatusPanel::PictureSize);
    });
    connect(m, &DocumentModel::modifiedChanged, this, &DocumentWindow::RefreshCaption);
    connect(m, &DocumentModel::stateRestored, this, &DocumentWindow::OnStateRestored);
    // The commands follow the history of the document in front.
    QUndoStack* history = &m->History();
    for (auto changed : { &QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged }) {
        connect(history, changed, this, [this, history] {
            if (m_host.ActiveWindow() == this)
                m_host.SetUndoState(history->canUndo(), history->canRedo());
        });
    }
}

// An undo or redo put records back: the figures follow them, and the hotspot the step changed
// (or the map) is shown, on the surface, in the panel and on the code page.
void DocumentWindow::OnStateRestored(const QList<int>& ids, bool map, bool many)
{
    bool rebuild = many;
    m_surface->SetRedraw(false);
    for (qsizetype i = 0; i < ids.size() && !rebuild; ++i) {
        const Hotspot* spot = SpotFor(ids[i]);
        m_surface->SelectFigure(ids[i]);
        const bool shown = m_surface->SelectedFigureId() == ids[i];
        if (!spot || !spot->Active) {
            if (shown)
                m_surface->DeleteSelected();
        } else if (!shown) {
            // A hotspot that comes back takes its place among the others again.
            rebuild = true;
        } else {
            m_surface->SetFigureCoords(ids[i], spot->Coords);
            m_surface->SetSelectedColor(static_cast<std::int32_t>(ParseLeadingInt(spot->Color)));
            m_surface->LockSelected(spot->Locked);
        }
    }
    if (rebuild) {
        m_surface->LoadFigures(2, {});
        ShowFigures();
        m_codeView->Invalidate();
        if (Doc().PageMode == DocumentPage::Code)
            m_codeView->EnsureFilled();
    }
    m_surface->SetRedraw(true);

    int shown = 0;
    for (const int slot : ids) {
        const Hotspot* spot = SpotFor(slot);
        if (spot && spot->Active) {
            shown = slot;
            break;
        }
    }
    if (shown > 0 && !map)
        SelectHotspot(shown);
    else
        SelectMap();
}

void DocumentWindow::ShowFigures()
{
    const Document& doc = Doc();
    for (std::size_t slot = 1; slot < doc.Hotspots.size(); ++slot) {
        const Hotspot& spot = doc.Hotspots[slot];
        if (spot.Active) {
            m_surface->AddFigure(spot.Coords, spot.Shape,
                static_cast<std::int32_t>(ParseLeadingInt(spot.Color)), spot.Locked,
                static_cast<int>(slot));
            ShowFigureInfo(static_cast<int>(slot));
        }
    }
}

// The surface follows its own gestures; a change that came from elsewhere (the panel, the lock
// command) is brought to the selected figure here.
void DocumentWindow::SyncSelectedFigure(int slot)
{
    const Hotspot* spot = SpotFor(slot);
    if (!spot || !spot->Active || m_surface->SelectedFigureId() != slot)
        return;
    m_surface->SetSelectedColor(static_cast<std::int32_t>(ParseLeadingInt(spot->Color)));
    m_surface->LockSelected(spot->Locked);
    m_host.SetLockTicked(spot->Locked);
    m_host.SelectionChanged(slot);
}

void DocumentWindow::ShowFigureInfo(int slot)
{
    const Hotspot* spot = SpotFor(slot);
    if (!spot || !spot->Active)
        return;
    const TagRecord tag = ParseTag(spot->AreaTag);
    const bool defaultArea = EqualsNoCase(Trim(GetAttribute(tag, "SHAPE", "")), "default");
    const std::string alt = Trim(DecodeAttributeValue(GetAttribute(tag, "ALT", "")));
    m_surface->SetFigureUnderlay(slot, defaultArea);
    const std::string& charset = Doc().Charset;
    m_surface->SetFigureText(slot, ToDisplay(alt.empty() ? spot->Name : alt, charset),
        SpokenDescription(
            *spot, defaultArea, DecodeAttributeValue(GetAttribute(tag, "HREF", "")), charset));
}

CodeBox& DocumentWindow::Code() const
{
    m_codeView->EnsureFilled();
    return *m_codeBox;
}

void DocumentWindow::SetUpCodeBox()
{
    m_codeBox->SetLockIcon(QIcon(":/icons/pic_Lock.png"));

    connect(m_codeBox, &CodeBox::RegionClicked, this, &DocumentWindow::OnRegionClicked);
    connect(m_codeBox, &CodeBox::RegionDoubleClicked, this,
        [this](const QString& key, const QString& group) {
            if (group.toUpper() == "MAP_AREA")
                m_host.OpenCodeEditor(FromDisplay(key, Doc().Charset));
        });
    connect(m_codeBox, &CodeBox::RegionMouseUp, this,
        [this](int button, int, const QString& key, const QString& group) {
            if (button == 2 && group.toUpper() == "MAP_AREA" && key.toUpper() != "NOCODE")
                m_host.ShowEditPopup(QCursor::pos());
        });
}

void DocumentWindow::OnRegionClicked(const QString& key, const QString& group)
{
    const QString upper = group.toUpper();
    if (upper == "MAP_AREA") {
        emit panelEnabled(true);
        const int slot = FindHotspotIdByName(m_host.State(), FromDisplay(key, Doc().Charset));
        if (key.toUpper() != "NOCODE" && slot > 0)
            SelectHotspot(slot);
    } else if (upper == "MAP_IMAGE") {
        emit panelEnabled(true);
        OnSelectionCleared();
    } else {
        emit panelEnabled(false);
    }
}

Document& DocumentWindow::Doc() const
{
    return m_host.State().Documents[static_cast<std::size_t>(m_slot)];
}

Hotspot* DocumentWindow::SpotFor(int id) const
{
    auto& spots = Doc().Hotspots;
    if (id <= 0 || static_cast<std::size_t>(id) >= spots.size())
        return nullptr;
    return &spots[static_cast<std::size_t>(id)];
}

void DocumentWindow::SetUpSurface()
{
    m_surface->SetRedraw(false);
    m_surface->SetSupportLines(false);
    m_surface->SetViewMode(SurfaceMode::Design);
    m_surface->SetZoomPercent(100);
    m_surface->AddPage("Design", "Design", nullptr, ProgramIcon("pic_Pointer"));
    m_surface->AddPage("Code", "Code", m_codePage, ProgramIcon("pic_Edit"));
    m_surface->AddPage("Preview", "Preview", nullptr, ProgramIcon("pic_Preview"));
    m_surface->SetRulersVisible(true);
    m_surface->SelectPage(1);
    m_surface->SetRedraw(true);
}

void DocumentWindow::ApplySettings()
{
    const GlobalSettings& settings = m_host.State().Settings;
    m_codeBox->CodeRedraw(false);
    m_codeBox->SetSelectedBackground(settings.ini_SelectedBG);
    m_codeBox->SetAttributeNameColor(settings.ini_AttributeName);
    m_codeBox->SetAttributeValueColor(settings.ini_AttributeValue);
    m_codeBox->SetCommentColor(settings.ini_Comment);
    m_codeBox->SetElementNameColor(settings.ini_ElementName);
    m_codeBox->SetFontColor(settings.ini_FontColor);
    m_codeBox->SetXpLook(!settings.ini_Look);
    m_codeBox->SetGutterColor(settings.ini_CodeBox);
    m_codeBox->CodeRedraw(true);

    // Every figure is tinted with the shape colour: the whole canvas repaints once, at the end.
    m_surface->SetRedraw(false);
    m_surface->SetCustomCursors(settings.CoolCursor);
    m_surface->SetShapeColor(settings.ini_Shape);
    m_surface->SetBorderColor(settings.ini_Border);
    m_surface->SetResetZoom(settings.ini_ResetZoom);
    m_surface->SetTipStyle(settings.ini_Tooltip ? TipStyle::Standard : TipStyle::Balloon);
    m_surface->ShowLabels(settings.HotspotLabels);
    // The ruler colour is the XP look's; the standard look keeps the rulers' own.
    if (settings.ini_Look)
        m_surface->ResetRulerColor();
    else
        m_surface->SetRulerColor(settings.ini_Ruler);
    m_surface->SetRedraw(true);
}

void DocumentWindow::ConnectSurface()
{
    DrawingSurface* s = m_surface;
    // The surface's own history is not the document's: the program keeps that one, since it
    // also holds the edits made in the panel and the code edit dialog.
    connect(s, &DrawingSurface::ZoomChanged, this, [this](int percent) {
        // The bars show the levels only; a zoom between them is not recorded.
        const int level = ZoomPercentForKey(ZoomKeyForPercent(percent));
        if (level != 0)
            m_host.ShowZoom(level);
    });
    connect(s, &DrawingSurface::FigureCreated, this, &DocumentWindow::OnFigureCreated);
    connect(s, &DrawingSurface::FigureStateChanged, this, &DocumentWindow::OnFigureStateChanged);
    connect(s, &DrawingSurface::FigureChanged, this, &DocumentWindow::OnFigureChanged);
    connect(s, &DrawingSurface::FigureSelected, this, &DocumentWindow::OnFigureSelected);
    connect(s, &DrawingSurface::SelectionCleared, this, &DocumentWindow::OnSelectionCleared);
    connect(s, &DrawingSurface::LockChanged, this, &DocumentWindow::OnLockChanged);
    connect(s, &DrawingSurface::FigureHover, this, &DocumentWindow::OnFigureHover);
    connect(s, &DrawingSurface::FigureActivated, this, &DocumentWindow::OnFigureActivated);
    connect(s, &DrawingSurface::RotateEnded, this, &DocumentWindow::OnRotateEnded);
    connect(s, &DrawingSurface::PageChanged, this, &DocumentWindow::OnPageChanged);
    connect(s, &DrawingSurface::DragTracking, this,
        [this](int x1, int y1, int x2, int y2) { emit dragTracking(x1, y1, x2, y2); });
    connect(s, &DrawingSurface::StatusNote, this,
        [this](const QString& text) { m_host.SetStatusText(text, StatusPanel::Rotation); });
    connect(s, &DrawingSurface::SurfaceMouseUp, this, [this](int button, int, int, int) {
        if (button == 2)
            m_host.ShowEditPopup(QCursor::pos());
    });
    connect(s, &DrawingSurface::DrawingEnded, this, [this] {
        m_host.ResetToolButtons();
        Describe({});
    });

    connect(s, &DrawingSurface::DragRectStarted, this,
        [this] { Describe("Move to opposite corner, release button to end."); });
    connect(s, &DrawingSurface::MoveStarted, this, [this] {
        Describe("Move the hotspot to the new position, release the mouse button to position the "
                 "hotspot.");
    });
    connect(s, &DrawingSurface::PointMoveStarted, this,
        [this] { Describe("Move this point and release the mouse button to position it."); });
    connect(s, &DrawingSurface::PolygonStarted, this, [this] {
        Describe("Move the pointer to the new position, and click the right mouse button to end.");
    });
    connect(s, &DrawingSurface::RotateStarted, this,
        [this] { Describe("Rotate the hotspot to the angle you want, release button the end."); });
    for (auto ended : { &DrawingSurface::MoveEnded, &DrawingSurface::PointMoveEnded,
             &DrawingSurface::PolygonEnded })
        connect(s, ended, this, [this] { Describe({}); });
}

void DocumentWindow::ShowDocument(const QImage& picture)
{
    Document& doc = Doc();
    doc.PageMode = DocumentPage::Design;
    m_model->KeepPicture(picture);
    m_surface->SetRedraw(false);
    m_surface->SetSurfacePicture(picture);
    ShowFigures();
    const MapImage& image = doc.Images[1];
    m_surface->SetMapSize(image.Width > 0 ? image.Width : picture.width(),
        image.Height > 0 ? image.Height : picture.height());
    m_surface->SetZoomPercent(100);
    m_surface->SetRedraw(true);
    m_surface->Repaint();
    m_codeView->Invalidate();
}

int DocumentWindow::SelectedHotspot() const { return m_surface->SelectedFigureId(); }

void DocumentWindow::SelectHotspot(int slot)
{
    const Hotspot* spot = SpotFor(slot);
    if (!spot || !spot->Active)
        return;
    m_surface->SelectFigure(slot);
    Figure figure;
    figure.Id = slot;
    figure.Locked = spot->Locked;
    OnFigureSelected(figure);
}

void DocumentWindow::SelectMap()
{
    m_surface->SetRedraw(false);
    m_surface->SetAllSelected(false);
    m_surface->SetRedraw(true);
    OnSelectionCleared();
}

QList<int> DocumentWindow::AddHotspots(const std::vector<Figure>& figures)
{
    m_surface->SetRedraw(false);
    QList<int> ids = m_model->AddHotspots(figures);
    ShowAddedFigures(ids, {});
    return ids;
}

QList<int> DocumentWindow::AddHotspotRecords(std::vector<Hotspot> records, const QString& stepText,
    bool keepFreeNames, const std::function<void(int done)>& progress)
{
    m_surface->SetRedraw(false);
    QList<int> ids = m_model->AddHotspotRecords(std::move(records), stepText, keepFreeNames);
    ShowAddedFigures(ids, progress);
    return ids;
}

void DocumentWindow::ShowAddedFigures(
    const QList<int>& ids, const std::function<void(int done)>& progress)
{
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const Hotspot* spot = SpotFor(ids.at(i));
        m_surface->AddFigure(spot->Coords, spot->Shape,
            static_cast<std::int32_t>(ParseLeadingInt(spot->Color)), spot->Locked, ids.at(i));
        ShowFigureInfo(ids.at(i));
        if (progress)
            progress(static_cast<int>(i + 1));
    }
    m_surface->FinishBulkAdd();
    m_surface->SetRedraw(true);
    m_surface->AfterBulkAdd();
}

QRect DocumentWindow::VisiblePictureArea() const { return m_surface->VisiblePictureArea(); }

void DocumentWindow::SetSelectedCoordinate(int which, int value)
{
    m_surface->SetSelectedCoordinate(which, value);
}

void DocumentWindow::RefreshCaption() { setWindowTitle(ToDisplay(WindowCaption(Doc()))); }

void DocumentWindow::Describe(const QString& text)
{
    m_host.SetStatusText(text, StatusPanel::Description);
}

void DocumentWindow::OnFigureCreated(const Figure& figure)
{
    m_host.ResetToolButtons();
    const int slot = m_model->AddDrawnHotspot(figure);
    m_surface->AssignFigureId(slot);
    ShowFigureInfo(slot);
    Describe({});
}

void DocumentWindow::DeleteHotspot(int slot)
{
    m_surface->DeleteSelected();
    m_model->RetireHotspot(slot);
    OnSelectionCleared();
}

void DocumentWindow::OnFigureStateChanged(FigureAction action, int id, const Figure& figure)
{
    switch (action) {
    case FigureAction::Restored:
        m_model->RestoreHotspot(id, figure);
        break;
    case FigureAction::Removed:
        m_model->RetireHotspot(id);
        OnSelectionCleared();
        break;
    case FigureAction::ShapeChanged:
        m_model->ChangeShape(id, std::to_string(figure.Kind));
        break;
    }
}

void DocumentWindow::OnFigureChanged(const Figure& figure)
{
    const Hotspot* spot = SpotFor(figure.Id);
    if (!spot || !spot->Active)
        return;
    const std::int32_t shapeBefore = spot->Shape;
    m_model->ApplyFigure(figure);
    if (spot->Shape != shapeBefore)
        m_host.SetStatusText("0", StatusPanel::Rotation);
    m_host.ResetToolButtons();
}

void DocumentWindow::OnFigureSelected(const Figure& figure)
{
    Hotspot* spot = SpotFor(figure.Id);
    if (!spot || !spot->Active)
        return;
    AppState& state = m_host.State();
    state.CurrentHotspot = figure.Id;
    state.PanelShowsHotspot = 1;
    Doc().PanelMode = 1;
    m_codeView->SelectHotspotRegion(figure.Id);
    emit hotspotSelected(figure.Id);
    m_host.SetLockTicked(spot->Locked);
    m_host.SelectionChanged(figure.Id);
}

void DocumentWindow::OnSelectionCleared()
{
    AppState& state = m_host.State();
    state.CurrentHotspot = 0;
    state.PanelShowsHotspot = 0;
    Doc().PanelMode = 0;
    m_codeView->SelectMapRegion();
    emit mapSelected();
    m_host.SelectionChanged(0);
}

void DocumentWindow::OnLockChanged(bool locked)
{
    m_host.SetLockTicked(locked);
    const int slot = m_host.State().CurrentHotspot;
    m_model->SetLocked(slot, locked);
    if (SpotFor(slot))
        m_host.SelectionChanged(slot);
}

void DocumentWindow::OnFigureHover(int state, int id)
{
    const Hotspot* spot = SpotFor(id);
    if (state != 1 || !spot) {
        m_host.SetStatusText({}, StatusPanel::Link);
        return;
    }
    m_surface->ShowTip(ToDisplay(AttributeOf(spot->AreaTag, "ALT"), Doc().Charset));
    const std::string href = AttributeOf(spot->AreaTag, "HREF");
    m_host.SetStatusText(
        href.empty() ? QString("No Url Specified") : ToDisplay(href, Doc().Charset),
        StatusPanel::Link);
}

void DocumentWindow::OnFigureActivated(int state, int id)
{
    const Hotspot* spot = SpotFor(id);
    if (state != 1 || !spot || !m_host.State().Settings.ini_StartExternal)
        return;
    const std::string href = AttributeOf(spot->AreaTag, "HREF");
    if (!href.empty())
        m_host.OpenUrl(href);
}

void DocumentWindow::OnRotateEnded()
{
    Describe({});
    m_model->ChangeShape(m_surface->SelectedFigureId(), std::to_string(ShapePolygon));
}

void DocumentWindow::OnPageChanged(const QString& key)
{
    const QString page = key.toUpper();
    Describe({});
    if (page == "DESIGN") {
        emit panelEnabled(true);
        m_surface->SetDesignActive(true);
        m_surface->SetViewMode(SurfaceMode::Design);
        m_surface->Repaint();
        m_host.SetPageMode(DocumentPage::Design);
        if (Doc().PanelMode == 0)
            emit mapSelected();
    } else if (page == "CODE") {
        m_codeView->EnsureFilled();
        emit panelEnabled(true);
        m_host.SetPageMode(DocumentPage::Code);
        m_surface->SetDesignActive(false);
    } else if (page == "PREVIEW") {
        m_host.SetPageMode(DocumentPage::Preview);
        emit panelEnabled(false);
        m_surface->SetViewMode(SurfaceMode::Preview);
        m_surface->Repaint();
    }
}

void DocumentWindow::closeEvent(QCloseEvent* event)
{
    if (!m_host.QueryCloseDocument(m_slot)) {
        event->ignore();
        return;
    }
    event->accept();
    m_host.DocumentClosed(m_slot);
}

} // namespace karvex
