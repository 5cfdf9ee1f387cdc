#include "ui/property_panel.h"

#include "components/drawing_surface/drawing_surface.h"
#include "components/property_grid/property_grid.h"
#include "core/formats/html_import.h"
#include "core/formats/html_writer.h"
#include "core/formats/img_import.h"
#include "core/formats/relative_paths.h"
#include "core/formats/tag_reader.h"
#include "core/formats/tag_writer.h"
#include "core/model/app_state.h"
#include "core/operations/hotspot_ops.h"
#include "core/operations/panel_edits.h"
#include "core/settings/settings.h"
#include "core/util/numbers.h"
#include "core/util/prompt.h"
#include "core/util/strings.h"
#include "ui/document_model.h"
#include "ui/document_window.h"
#include "ui/picture_file.h"
#include "ui/property_entries.h"
#include "ui/qt_text.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QStringListModel>
#include <QVBoxLayout>
#include <algorithm>

namespace karvex {

namespace {

constexpr const char* kMapEntry = "[Map Properties]";
constexpr const char* kCustomsKey = "##Customs";

void AddEntries(PropertyGrid& grid, std::span<const PropertyEntry> entries)
{
    for (const PropertyEntry& e : entries)
        grid.AddItem(e.Key, e.Caption, e.Kind, e.Preset, e.Description);
}

QString Attr(
    const TagRecord& tag, const char* name, const std::string& charset, const char* fallback = "")
{
    return ToDisplay(GetAttribute(tag, name, fallback), charset);
}

// Keeps a grid from reporting the program's own writes for the life of the object.
class BusyGrid
{
public:
    explicit BusyGrid(PropertyGrid& grid)
        : m_grid(grid)
        , m_wasBusy(grid.IsBusy())
    {
        m_grid.SetBusy(true);
    }
    ~BusyGrid() { m_grid.SetBusy(m_wasBusy); }
    BusyGrid(const BusyGrid&) = delete;
    BusyGrid& operator=(const BusyGrid&) = delete;

private:
    PropertyGrid& m_grid;
    bool m_wasBusy;
};

} // namespace

PropertyPanel::PropertyPanel(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
{
    setObjectName("TmpPropform");
    setWindowTitle("Properties");

    m_pages = new QStackedWidget(this);
    auto* empty = new QLabel("No image map open", m_pages);
    empty->setObjectName("NoDocumentNote");
    empty->setAlignment(Qt::AlignCenter);
    empty->setWordWrap(true);
    empty->setEnabled(false);
    m_pages->addWidget(empty);

    auto* panel = new QWidget(m_pages);
    m_chooser = new QComboBox(panel);
    m_chooser->setObjectName("Combo1");
    m_chooser->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_chooser->setMinimumContentsLength(8);
    // A plain list model: a map of tens of thousands of hotspots fills it in one step.
    m_chooser->setModel(new QStringListModel(m_chooser));
    m_hotspotGrid = new PropertyGrid;
    m_hotspotGrid->setObjectName("ZQPropList1");
    m_hotspotGrid->SetTitle("Hotspot properties");
    m_mapGrid = new PropertyGrid;
    m_mapGrid->setObjectName("ZQPropList2");
    m_mapGrid->SetTitle("Map properties");
    m_chooser->setAccessibleName("Shown item");
    m_chooser->setAccessibleDescription("The map or the hotspot whose properties are shown");
    m_grids = new QStackedLayout;
    m_grids->addWidget(m_hotspotGrid);
    m_grids->addWidget(m_mapGrid);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_chooser);
    layout->addLayout(m_grids, 1);
    m_pages->addWidget(panel);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_pages);

    BuildGrids();
    m_grids->setCurrentWidget(m_mapGrid);
    ShowDocumentPage(false);

    connect(m_hotspotGrid, &PropertyGrid::ValueChanged, this, &PropertyPanel::OnHotspotValue);
    connect(m_mapGrid, &PropertyGrid::ValueChanged, this, &PropertyPanel::OnMapValue);
    for (PropertyGrid* grid : { m_hotspotGrid, m_mapGrid })
        connect(grid, &PropertyGrid::ChoicesWanted, this, &PropertyPanel::OnChoicesWanted);
    connect(m_mapGrid, &PropertyGrid::BrowseClicked, this, &PropertyPanel::OnBrowse);
    connect(m_chooser, &QComboBox::activated, this, &PropertyPanel::OnChooserActivated);
}

void PropertyPanel::StyleGrid(PropertyGrid& grid, const GlobalSettings& settings)
{
    grid.SetBackgroundColor(kSystemColorButtonFace);
    grid.SetHeadingColor(kSystemColorButtonShadow);
    // The line colour is the XP look's; the standard look keeps the grid's own.
    if (settings.ini_Look)
        grid.ResetLineColor();
    else
        grid.SetLineColor(settings.ini_Property);
}

void PropertyPanel::ApplySettings()
{
    for (PropertyGrid* grid : { m_hotspotGrid, m_mapGrid }) {
        grid->SetUpdating(true);
        StyleGrid(*grid, m_state.Settings);
        grid->SetUpdating(false);
    }
}

void PropertyPanel::BuildGrids()
{
    m_hotspotGrid->SetUpdating(true);
    StyleGrid(*m_hotspotGrid, m_state.Settings);
    AddEntries(*m_hotspotGrid, HotspotEntries());
    AddEntries(*m_hotspotGrid, EventEntries());
    m_hotspotGrid->SetUpdating(false);
    m_hotspotCustoms.BaseItemCount = m_hotspotGrid->ItemCount();

    m_mapGrid->SetUpdating(true);
    StyleGrid(*m_mapGrid, m_state.Settings);
    AddEntries(*m_mapGrid, MapEntries());
    AddEntries(*m_mapGrid, EventEntries());
    m_mapGrid->SetUpdating(false);
    m_mapCustoms.BaseItemCount = m_mapGrid->ItemCount();
}

PropertyGrid& PropertyPanel::GridInFront() const
{
    return m_grids->currentWidget() == m_hotspotGrid ? *m_hotspotGrid : *m_mapGrid;
}

Document* PropertyPanel::CurrentDoc() const
{
    const int slot = m_state.CurrentDocument;
    if (slot <= 0 || static_cast<std::size_t>(slot) >= m_state.Documents.size())
        return nullptr;
    return &m_state.Documents[static_cast<std::size_t>(slot)];
}

std::string PropertyPanel::Charset() const
{
    const Document* doc = CurrentDoc();
    return doc ? doc->Charset : std::string();
}

Hotspot* PropertyPanel::LiveSpot(int slot) const
{
    Document* doc = CurrentDoc();
    if (!doc || slot <= 0 || static_cast<std::size_t>(slot) >= doc->Hotspots.size())
        return nullptr;
    Hotspot& spot = doc->Hotspots[static_cast<std::size_t>(slot)];
    return spot.Active ? &spot : nullptr;
}

void PropertyPanel::ShowDocumentPage(bool hasDocument) { m_pages->setCurrentIndex(hasDocument); }

// Showing -----------------------------------------------------------------------------------

void PropertyPanel::ShowHotspotProperties(int slot)
{
    const Hotspot* spot = LiveSpot(slot);
    if (!spot)
        return;
    if (m_host) {
        m_host->ResetToolButtons();
        m_host->SetStatusText({}, StatusPanel::Description);
    }
    ShowDocumentPage(true);
    m_grids->setCurrentWidget(m_hotspotGrid);
    m_state.PanelShowsHotspot = 1;
    CurrentDoc()->PanelMode = 1;
    m_shownSlot = slot;
    m_chooser->setCurrentIndex(ChooserIndexFor(slot));

    {
        BusyGrid busy(*m_hotspotGrid);
        RemoveCustoms(*m_hotspotGrid, m_hotspotCustoms);
        m_hotspotGrid->ResetItems();
        WriteHotspotValues(*spot);
    }
    if (m_host)
        m_host->UpdateRotateCommand(slot, spot->Locked);
}

void PropertyPanel::WriteHotspotValues(const Hotspot& spot)
{
    BusyGrid busy(*m_hotspotGrid);
    PropertyGrid& grid = *m_hotspotGrid;
    const TagRecord tag = ParseTag(spot.AreaTag);
    const std::string charset = Charset();
    grid.SetValue("Name", ToDisplay(spot.Name, charset));
    grid.SetValue("Color", ToDisplay(ColorToHtml(spot.Color)));
    grid.SetValue("Type", ToDisplay(ConvertShape(std::to_string(spot.Shape), false)));
    UpdateCoordinateItems(spot.Id);
    for (const char* key : { "Alt", "Href", "Target" })
        grid.SetValue(key, Attr(tag, key, charset));
    grid.SetValue("Locked", spot.Locked ? "True" : "False");
    grid.SetValue("X1", QString::number(spot.X1));
    grid.SetValue("X2", QString::number(spot.X2));
    grid.SetValue("Y1", QString::number(spot.Y1));
    grid.SetValue("Y2", QString::number(spot.Y2));
    for (const char* key : { "OnFocus", "OnBlur" })
        grid.SetValue(key, Attr(tag, key, charset));
    for (const PropertyEntry& event : EventEntries())
        grid.SetValue(event.Key, Attr(tag, event.Key, charset));
    ShowCustoms(grid, m_hotspotCustoms, spot.Attributes, false);
}

void PropertyPanel::ShowMapProperties()
{
    Document* doc = CurrentDoc();
    ShowDocumentPage(doc != nullptr);
    if (!doc)
        return;
    m_chooser->setCurrentIndex(0);
    m_grids->setCurrentWidget(m_mapGrid);
    m_state.PanelShowsHotspot = 0;
    doc->PanelMode = 0;
    m_shownSlot = 0;
    WriteMapValues();
}

void PropertyPanel::WriteMapValues()
{
    const Document* doc = CurrentDoc();
    if (!doc)
        return;
    BusyGrid busy(*m_mapGrid);
    PropertyGrid& grid = *m_mapGrid;
    const TagRecord tag = ParseTag(doc->ImgTag);
    const std::string& charset = doc->Charset;
    grid.SetValue("Picture", Attr(tag, "SRC", charset));
    grid.SetValue("LowSrc", Attr(tag, "LOWSRC", charset));
    grid.SetValue("Usemap", Attr(tag, "USEMAP", charset));
    grid.SetValue("AltText", Attr(tag, "ALT", charset));
    grid.SetValue("BorderSize", Attr(tag, "BORDER", charset, "0"));
    grid.SetValue("Width", Attr(tag, "WIDTH", charset, "0"));
    grid.SetValue("Height", Attr(tag, "HEIGHT", charset, "0"));
    grid.SetValue("RelativePath", ToDisplay(PathModeText(doc->PathMode)));
    grid.SetValue("ServerType", ToDisplay(ServerTypeText(doc->ServerType)));
    for (const char* key : PlainMapKeys())
        grid.SetValue(key, Attr(tag, key, charset));
    for (const PropertyEntry& event : EventEntries())
        grid.SetValue(event.Key, Attr(tag, event.Key, charset));
    ShowCustoms(grid, m_mapCustoms, doc->ImgAttributes, false);
}

void PropertyPanel::ShowCustoms(PropertyGrid& grid, CustomSection& section,
    const std::vector<AttributePair>& attributes, bool rebuild)
{
    // Rebuilt only when the set of names changed, so an entry being edited is not pulled away.
    std::vector<QString> wanted;
    for (const AttributePair& pair : attributes) {
        const QString key = ToDisplay(pair.Name, Charset());
        if (!key.isEmpty())
            wanted.push_back(key);
    }
    std::vector<QString> shown;
    for (const QString& key : section.Keys) {
        if (key.compare(kCustomsKey, Qt::CaseInsensitive) != 0)
            shown.push_back(key);
    }
    if (rebuild || wanted != shown) {
        RemoveCustoms(grid, section);
        if (!wanted.empty()) {
            grid.SetUpdating(true);
            grid.AddItem(kCustomsKey, "Customs", PropertyKind::Heading, {}, {});
            section.Keys.push_back(kCustomsKey);
            for (const QString& key : wanted) {
                // A name that an entry of the grid already has is edited through that entry.
                if (grid.HasItem(key))
                    continue;
                grid.AddItem(key, key, PropertyKind::Text, {}, {});
                section.Keys.push_back(key);
            }
            grid.SetUpdating(false);
        }
    }
    BusyGrid busy(grid);
    for (const AttributePair& pair : attributes) {
        const QString key = ToDisplay(pair.Name, Charset());
        if (std::find(section.Keys.begin(), section.Keys.end(), key) != section.Keys.end())
            grid.SetValue(key, ToDisplay(pair.Value, Charset()));
    }
}

void PropertyPanel::RemoveCustoms(PropertyGrid& grid, CustomSection& section)
{
    if (grid.ItemCount() > section.BaseItemCount) {
        for (auto it = section.Keys.rbegin(); it != section.Keys.rend(); ++it)
            grid.RemoveItem(*it);
    }
    section.Keys.clear();
}

void PropertyPanel::RebuildHotspotChooser()
{
    QStringList names;
    if (const Document* doc = CurrentDoc()) {
        names.reserve(static_cast<qsizetype>(doc->Hotspots.size()));
        names.push_back(kMapEntry);
        for (std::size_t slot = 1; slot < doc->Hotspots.size(); ++slot) {
            if (doc->Hotspots[slot].Active)
                names.push_back(ToDisplay(doc->Hotspots[slot].Name, doc->Charset));
        }
    }
    static_cast<QStringListModel*>(m_chooser->model())->setStringList(names);
}

int PropertyPanel::ChooserIndexFor(int slot) const
{
    const Document* doc = CurrentDoc();
    if (!doc || slot <= 0)
        return 0;
    int index = 1;
    for (int s = 1; s < slot && static_cast<std::size_t>(s) < doc->Hotspots.size(); ++s) {
        if (doc->Hotspots[static_cast<std::size_t>(s)].Active)
            ++index;
    }
    return index;
}

void PropertyPanel::UpdateCoordinateItems(int slot)
{
    const Hotspot* spot = LiveSpot(slot);
    const int state = spot && spot->Shape == ShapePolygon ? 1 : 0;
    m_hotspotGrid->SetItemState("X2", state);
    m_hotspotGrid->SetItemState("Y2", state);
}

// Following the model ----------------------------------------------------------------------

void PropertyPanel::FollowDocument(DocumentWindow* window)
{
    for (const QMetaObject::Connection& connection : m_followed)
        disconnect(connection);
    m_followed.clear();
    ShowDocumentPage(true);
    RemoveCustoms(*m_hotspotGrid, m_hotspotCustoms);
    RemoveCustoms(*m_mapGrid, m_mapCustoms);
    m_shownSlot = 0;
    RebuildHotspotChooser();
    if (!window)
        return;
    const DocumentModel* model = &window->Model();
    m_followed = {
        connect(model, &DocumentModel::hotspotsAdded, this, &PropertyPanel::OnHotspotsAdded),
        connect(model, &DocumentModel::hotspotRemoved, this, &PropertyPanel::OnHotspotRemoved),
        connect(model, &DocumentModel::hotspotChanged, this, &PropertyPanel::OnHotspotChanged),
        connect(model, &DocumentModel::hotspotRenamed, this, &PropertyPanel::OnHotspotRenamed),
        connect(model, &DocumentModel::stateRestored, this,
            [this](const QList<int>&, bool, bool many) {
                // Many hotspots came or went without a notice each: the list is made afresh.
                if (!many)
                    return;
                RebuildHotspotChooser();
                m_chooser->setCurrentIndex(
                    m_state.PanelShowsHotspot ? ChooserIndexFor(m_shownSlot) : 0);
            }),
        connect(model, &DocumentModel::imageTagChanged, this,
            [this] {
                if (m_state.PanelShowsHotspot == 0)
                    WriteMapValues();
            }),
        connect(
            window, &DocumentWindow::hotspotSelected, this, &PropertyPanel::ShowHotspotProperties),
        connect(window, &DocumentWindow::mapSelected, this, &PropertyPanel::ShowMapProperties),
        connect(window, &DocumentWindow::dragTracking, this, &PropertyPanel::DragTracking),
        connect(window, &DocumentWindow::panelEnabled, this, &PropertyPanel::SetPanelEnabled),
    };
    const int selected = window->SelectedHotspot();
    if (selected > 0)
        ShowHotspotProperties(selected);
    else
        ShowMapProperties();
}

void PropertyPanel::OnHotspotsAdded(const QList<int>& ids)
{
    // Many hotspots at once (a paste, a generated grid) rebuild the list once.
    if (ids.size() > 1) {
        RebuildHotspotChooser();
        m_chooser->setCurrentIndex(ChooserIndexFor(ids.back()));
        return;
    }
    const Hotspot* spot = LiveSpot(ids.front());
    if (!spot)
        return;
    const int index = ChooserIndexFor(ids.front());
    m_chooser->insertItem(index, ToDisplay(spot->Name, Charset()));
    m_chooser->setCurrentIndex(index);
}

void PropertyPanel::OnHotspotRemoved(int slot, const QString& name)
{
    const int index = m_chooser->findText(name, Qt::MatchFixedString);
    if (index > 0)
        m_chooser->removeItem(index);
    if (m_shownSlot == slot)
        m_shownSlot = 0;
}

void PropertyPanel::OnHotspotChanged(int slot)
{
    if (m_shownSlot != slot || m_state.PanelShowsHotspot == 0)
        return;
    if (const Hotspot* spot = LiveSpot(slot))
        WriteHotspotValues(*spot);
}

void PropertyPanel::OnHotspotRenamed(int slot, const QString& oldName)
{
    const Hotspot* spot = LiveSpot(slot);
    if (!spot)
        return;
    const int index = m_chooser->findText(oldName, Qt::MatchFixedString);
    if (index > 0)
        m_chooser->setItemText(index, ToDisplay(spot->Name, Charset()));
    if (m_shownSlot == slot) {
        BusyGrid busy(*m_hotspotGrid);
        m_hotspotGrid->SetValue("Name", ToDisplay(spot->Name, Charset()));
        m_hotspotGrid->RedrawGrid();
    }
}

void PropertyPanel::DragTracking(int x1, int y1, int x2, int y2)
{
    if (m_state.PanelShowsHotspot == 0)
        return;
    BusyGrid busy(*m_hotspotGrid);
    m_hotspotGrid->SetValue("X1", QString::number(x1));
    m_hotspotGrid->SetValue("X2", QString::number(x2));
    m_hotspotGrid->SetValue("Y1", QString::number(y1));
    m_hotspotGrid->SetValue("Y2", QString::number(y2));
}

void PropertyPanel::SetPanelEnabled(bool enabled)
{
    m_chooser->setEnabled(enabled);
    m_hotspotGrid->SetGridEnabled(enabled);
    m_mapGrid->SetGridEnabled(enabled);
}

void PropertyPanel::DocumentClosed(int slot, bool anyOpen)
{
    (void)slot;
    RemoveCustoms(*m_hotspotGrid, m_hotspotCustoms);
    RemoveCustoms(*m_mapGrid, m_mapCustoms);
    if (anyOpen)
        return;
    m_shownSlot = 0;
    m_state.PanelShowsHotspot = 0;
    m_chooser->clear();
    m_hotspotGrid->ResetItems();
    m_mapGrid->ResetItems();
    m_grids->setCurrentWidget(m_mapGrid);
    ShowDocumentPage(false);
}

// The user's edits --------------------------------------------------------------------------

bool PropertyPanel::CleanValue(QString& value)
{
    std::string text = FromDisplay(value, Charset());
    if (!CleanPanelValue(text))
        return false;
    value = ToDisplay(text, Charset());
    if (m_host)
        m_host->Prompts().Tell(kBadSymbolsMessage, m_state.AppTitle, PromptIcon::Critical);
    return true;
}

void PropertyPanel::OnHotspotValue(QString& value, const QString& key)
{
    if (m_state.SuppressPanelEvents == 0 || !m_host)
        return;
    const int slot = m_shownSlot;
    DocumentWindow* window = m_host->ActiveWindow();
    if (!LiveSpot(slot) || !window)
        return;
    DocumentModel& model = window->Model();
    // One committed entry is one step, whatever the figure reports back on the way.
    DocumentModel::EditStep step(model, "Change " + key);
    CleanValue(value);
    const std::string text = FromDisplay(value, Charset());
    const QString upper = key.toUpper();

    if (upper == "COLOR") {
        if (const auto color = PanelColorValue(Trim(text)))
            model.SetColor(slot, *color);
    } else if (upper == "LOCKED") {
        m_host->SetHotspotLocked(EqualsNoCase(Trim(text), "True"));
    } else if (upper == "X1" || upper == "Y1" || upper == "X2" || upper == "Y2") {
        // The figure reshapes itself; its change comes back to the model as a drawn one does.
        if (const auto number = NumberInRange(text, -kCoordinateLimit, kCoordinateLimit)) {
            const int which = upper == "X1" ? 1 : upper == "Y1" ? 2 : upper == "X2" ? 3 : 4;
            window->SetSelectedCoordinate(which, *number);
        }
    } else if (upper == "TYPE") {
        m_host->ChangeShape(text, true);
    } else if (upper == "NAME") {
        m_host->RenameHotspot(Trim(text));
    } else {
        const bool known = upper == "ALT" || upper == "HREF" || upper == "TARGET";
        model.SetAttribute(slot, FromDisplay(known ? upper : key, Charset()), text);
    }
    // The entry shows what the hotspot now holds, which is the old value after a refusal.
    if (const Hotspot* spot = LiveSpot(slot))
        WriteHotspotValues(*spot);
    value = m_hotspotGrid->Value(key);
}

void PropertyPanel::OnMapValue(QString& value, const QString& key)
{
    if (m_state.SuppressPanelEvents == 0 || !m_host)
        return;
    Document* doc = CurrentDoc();
    DocumentWindow* window = m_host->ActiveWindow();
    if (!doc || !window)
        return;
    DocumentModel::EditStep step(window->Model(), "Change " + key);
    CleanValue(value);
    const std::string text = FromDisplay(value, Charset());
    if (key.toUpper() == "PICTURE") {
        const bool same = Trim(text) == GetAttribute(ParseTag(doc->ImgTag), "SRC", "");
        if (!same && !Trim(text).empty())
            UseTypedPicture(Trim(text));
    } else {
        const MapEdit edit = window->Model().ApplyMapValue(
            FromDisplay(key, Charset()), text, m_state.Settings.ini_MapNameCheck);
        if (edit.Refused && !edit.Message.empty())
            m_host->Prompts().Tell(edit.Message, m_state.AppTitle, PromptIcon::Critical);
    }
    // The entry shows what the picture now has, which is the old value after a refusal.
    WriteMapValues();
    value = m_mapGrid->Value(key);
}

void PropertyPanel::OnChoicesWanted(QStringList& choices, const QString& key)
{
    choices = EntryChoices(key);
}

void PropertyPanel::OnBrowse(QString& value, const QString& key)
{
    (void)value;
    DocumentWindow* window = m_host ? m_host->ActiveWindow() : nullptr;
    if (!window)
        return;
    const QString upper = key.toUpper();
    if (upper != "PICTURE" && upper != "LOWSRC")
        return;
    // The dialog starts beside the document's page, or its present picture.
    const Document& doc = window->Model().Doc();
    const std::string folder
        = FromDisplay(QFileInfo(ToDisplay(doc.FilePath.empty() ? doc.Images[1].Src : doc.FilePath))
                          .absolutePath());
    const auto chosen = m_host->Prompts().ChooseOpenFile(
        { "Open", PictureFilter(), AllPicturesFilterIndex(), "", folder });
    // Cancelling leaves the entry as it was.
    if (!chosen || chosen->empty())
        return;
    if (upper == "PICTURE")
        UsePicture(EncodeRawValue(*chosen), *chosen);
    else
        window->Model().ApplyMapValue("LOWSRC", EncodeRawValue(*chosen), false);
    ShowMapProperties();
}

bool PropertyPanel::UseTypedPicture(const std::string& typed)
{
    const Document* doc = CurrentDoc();
    const std::string base = doc->FilePath.empty() ? doc->Images[1].Src : doc->FilePath;
    const ResolvedPath path = ResolveSrcPath(typed, base);
    if (!path.Ok()) {
        m_host->Prompts().Tell("The picture \"" + typed + "\" can't be found.", m_state.AppTitle,
            PromptIcon::Critical);
        return false;
    }
    return UsePicture(typed, path.Path);
}

bool PropertyPanel::UsePicture(const std::string& srcText, const std::string& fullPath)
{
    const LoadedPicture loaded = LoadPicture(fullPath);
    if (loaded.Image.isNull()) {
        m_host->Prompts().Tell("There was an error while trying to load the picture.\r\n\r\nFile : "
                + fullPath + "\r\nReason : " + loaded.Reason,
            m_state.AppTitle, PromptIcon::Critical);
        return false;
    }
    m_host->ActiveWindow()->Model().ReplacePicture(srcText, fullPath, loaded.Image);
    return true;
}

void PropertyPanel::OnChooserActivated(int index)
{
    DocumentWindow* window = m_host ? m_host->ActiveWindow() : nullptr;
    if (!window)
        return;
    if (index <= 0) {
        window->SelectMap();
    } else {
        const int slot
            = FindHotspotIdByName(m_state, FromDisplay(m_chooser->itemText(index), Charset()));
        if (slot > 0)
            window->SelectHotspot(slot);
    }
    m_chooser->setFocus();
}

} // namespace karvex
