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
#include "ui/document_window.h"
#include "ui/picture_file.h"
#include "ui/qt_text.h"

#include <QComboBox>
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
constexpr const char* kTagBase = "C:\\TEMP\\";

struct Entry
{
    const char* Key;
    const char* Caption;
    PropertyKind Kind;
    const char* Preset;
    const char* Description;
};

constexpr auto H = PropertyKind::Heading;
constexpr auto T = PropertyKind::Text;
constexpr auto N = PropertyKind::Number;

// The script events both grids offer, after the hotspot grid's focus events.
constexpr Entry kEventEntries[] = {
    { "onClick", "OnClick", T, "", "Occurs when a visitor click the mouse over an hotspot." },
    { "onDblClick", "OnDblClick", T, "",
        "Occurs when a visitor double click the mouse over an hotspot." },
    { "onMouseDown", "OnMouseDown", T, "",
        "Occurs when a visitor presses the mouse button over an hotspot." },
    { "onMouseUp", "OnMouseUp", T, "",
        "Occurs when a visitor releases the mouse button over an hotspot." },
    { "onMouseOver", "OnMouseOver", T, "",
        "Occurs when a visitor moves the mouse over an hotspot." },
    { "onMouseMove", "OnMouseMove", T, "",
        "Occurs when a visitor moves the mouse while still over an hotspot." },
    { "onMouseOut", "OnMouseOut", T, "",
        "Occurs when a visitor moves the mouse away from an hotspot." },
    { "onKeyPress", "OnKeyPress", T, "",
        "Occurs when a visitor presses and release a key over an hotspot." },
    { "onKeyDown", "OnKeyDown", T, "",
        "Occurs when a visitor presses a key down over an hotspot." },
    { "onKeyUp", "OnKeyUp", T, "", "Occurs when a visitor releases a key over an hotspot." },
};

constexpr Entry kHotspotEntries[] = {
    { "Standard", "Standard", H, "", "" },
    { "Name", "Name", T, "", "This is the name of the hotspot. Every name must be unique" },
    { "Alt", "Alt", T, "", "This is the text appearing as tooltip" },
    { "Href", "Href", T, "",
        "This is the address which the user will be sent to when clicking within the area" },
    { "Target", "Target", T, "",
        "Specifies which named frame the linked document should be loaded in." },
    { "Shape", "Shape", H, "", "" },
    { "Type", "Type", PropertyKind::Choice, "Rectangle",
        "Which hotspot type this object should be" },
    { "Color", "Color", PropertyKind::Colour, "#453322",
        "Used in design-mode to get an better view over the different hotspots." },
    { "Locked", "Locked", PropertyKind::Choice, "False",
        "Specifies if the hotspot should be locked in design mode." },
    { "Coordinates", "Coordinates", H, "", "" },
    { "X1", "X1", N, "", "Specifies the left coordinate." },
    { "X2", "X2", N, "", "Specifies the right coordinate." },
    { "Y1", "Y1", N, "", "Specifies the top coordinate." },
    { "Y2", "Y2", N, "", "Specifies the bottom coordinate." },
    { "Events", "Events", H, "", "" },
    { "OnFocus", "OnFocus", T, "",
        "Occurs when a visitor moves the focus to an hotspot either using the mouse or the Tab "
        "key." },
    { "OnBlur", "OnBlur", T, "",
        "Occurs when a visitor moves focus from an hotspot either with the mouse or the tab key." },
};

constexpr Entry kMapEntries[] = {
    { "Standard", "Standard Attributes", H, "", "" },
    { "Picture", "Picture", PropertyKind::File, "",
        "Specifies the location of a file that contains the graphic image you want to use in the "
        "document." },
    { "LowSrc", "LowSrc", PropertyKind::File, "",
        "Specifies the location of a lower resolution version of the main image." },
    { "Width", "Width", N, "", "Specifies the width of the image in pixels." },
    { "Height", "Height", N, "", "Specifies the height of the image in pixels." },
    { "BorderSize", "Border", N, "", "Specifies the width of the border around the image." },
    { "AltText", "Alt", T, "",
        "Specifies an textual description of the image, this will appear as an tooltip." },
    { "Usemap", "UseMap", T, "",
        "Specifies the imagemap name within the document. This have to be unique." },
    { "Header3", "Save Options", H, "", "" },
    { "RelativePath", "Path Options", PropertyKind::Choice, "",
        "What kind of image path do you want to use when saving this document?." },
    { "ServerType", "ServerSideType", PropertyKind::Choice, "",
        "If saving as an MAP file, what server side file type should be used." },
    { "Diverse", "Advanced Attributes", H, "", "" },
    { "ID", "ID", T, "", "Specifies a unique ID selector to an instance of the image tag." },
    { "Name", "Name", T, "", "Specifies a unique name for the image." },
    { "Align", "Align", PropertyKind::Choice, "Left",
        "Specifies the appearance of text that is near an inline graphic image." },
    { "Class", "Class", T, "", "Indicates which style class applies to the image hotspot." },
    { "DataSrc", "DataSrc", T, "", "Specifies the location of tabular data to be bound." },
    { "HSpace", "HSpace", N, "0",
        "Specifies the horizontal space to the left and right of the image." },
    { "VSpace", "VSpace", N, "0", "Specifies the vertical space above and below the image." },
    { "Title", "Title", T, "", "Specifies text assigned to the tag." },
    { "Events", "Events", H, "", "" },
};

// Map entries written from the IMG attribute of their own name.
constexpr const char* kPlainMapKeys[]
    = { "ID", "Name", "Align", "Class", "DataSrc", "HSpace", "VSpace", "Title" };

void AddEntries(PropertyGrid& grid, const Entry* begin, const Entry* end)
{
    for (const Entry* e = begin; e != end; ++e)
        grid.AddItem(e->Key, e->Caption, e->Kind, e->Preset, e->Description);
}

QString Attr(const TagRecord& tag, const char* name, const char* fallback = "")
{
    return ToDisplay(GetAttribute(tag, name, fallback));
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
    m_mapGrid = new PropertyGrid;
    m_mapGrid->setObjectName("ZQPropList2");
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

void PropertyPanel::StyleGrid(PropertyGrid& grid)
{
    const GlobalSettings& settings = m_state.Settings;
    grid.SetBackgroundColor(kSystemColorButtonFace);
    grid.SetHeadingColor(kSystemColorButtonShadow);
    if (!settings.ini_Look)
        grid.SetLineColor(settings.ini_Property);
}

void PropertyPanel::BuildGrids()
{
    m_hotspotGrid->SetUpdating(true);
    StyleGrid(*m_hotspotGrid);
    AddEntries(*m_hotspotGrid, std::begin(kHotspotEntries), std::end(kHotspotEntries));
    AddEntries(*m_hotspotGrid, std::begin(kEventEntries), std::end(kEventEntries));
    m_hotspotGrid->SetUpdating(false);
    m_hotspotCustoms.BaseItemCount = m_hotspotGrid->ItemCount();

    m_mapGrid->SetUpdating(true);
    StyleGrid(*m_mapGrid);
    AddEntries(*m_mapGrid, std::begin(kMapEntries), std::end(kMapEntries));
    AddEntries(*m_mapGrid, std::begin(kEventEntries), std::end(kEventEntries));
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
        m_host->SetStatusText({}, 0);
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
    const TagRecord tag = ParseTag(spot.AreaTag, kTagBase);
    grid.SetValue("Name", ToDisplay(spot.Name));
    grid.SetValue("Color", ToDisplay(ColorToHtml(spot.Color)));
    grid.SetValue("Type", ToDisplay(ConvertShape(std::to_string(spot.Shape), false)));
    UpdateCoordinateItems(spot.Id);
    for (const char* key : { "Alt", "Href", "Target" })
        grid.SetValue(key, Attr(tag, key));
    grid.SetValue("Locked", spot.Locked ? "True" : "False");
    grid.SetValue("X1", QString::number(spot.X1));
    grid.SetValue("X2", QString::number(spot.X2));
    grid.SetValue("Y1", QString::number(spot.Y1));
    grid.SetValue("Y2", QString::number(spot.Y2));
    for (const char* key : { "OnFocus", "OnBlur" })
        grid.SetValue(key, Attr(tag, key));
    for (const Entry& event : kEventEntries)
        grid.SetValue(event.Key, Attr(tag, event.Key));
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
    if (DocumentWindow* window = m_host ? m_host->ActiveWindow() : nullptr) {
        window->Surface().SetRedraw(false);
        window->Surface().SetAllSelected(false);
        window->Surface().SetRedraw(true);
    }
    WriteMapValues();
}

void PropertyPanel::WriteMapValues()
{
    const Document* doc = CurrentDoc();
    if (!doc)
        return;
    BusyGrid busy(*m_mapGrid);
    PropertyGrid& grid = *m_mapGrid;
    const TagRecord tag = ParseTag(doc->ImgTag, kTagBase);
    grid.SetValue("Picture", Attr(tag, "SRC"));
    grid.SetValue("LowSrc", Attr(tag, "LOWSRC"));
    grid.SetValue("Usemap", Attr(tag, "USEMAP"));
    grid.SetValue("AltText", Attr(tag, "ALT"));
    grid.SetValue("BorderSize", Attr(tag, "BORDER", "0"));
    grid.SetValue("Width", Attr(tag, "WIDTH", "0"));
    grid.SetValue("Height", Attr(tag, "HEIGHT", "0"));
    grid.SetValue("RelativePath", ToDisplay(PathModeText(doc->PathMode)));
    grid.SetValue("ServerType", ToDisplay(ServerTypeText(doc->ServerType)));
    for (const char* key : kPlainMapKeys)
        grid.SetValue(key, Attr(tag, key));
    for (const Entry& event : kEventEntries)
        grid.SetValue(event.Key, Attr(tag, event.Key));
    ShowCustoms(grid, m_mapCustoms, doc->ImgAttributes, false);
}

void PropertyPanel::ShowCustoms(PropertyGrid& grid, CustomSection& section,
    const std::vector<AttributePair>& attributes, bool rebuild)
{
    // Rebuilt only when the set of names changed, so an entry being edited is not pulled away.
    std::vector<QString> wanted;
    for (const AttributePair& pair : attributes) {
        const QString key = ToDisplay(pair.Name);
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
        const QString key = ToDisplay(pair.Name);
        if (std::find(section.Keys.begin(), section.Keys.end(), key) != section.Keys.end())
            grid.SetValue(key, ToDisplay(pair.Value));
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
                names.push_back(ToDisplay(doc->Hotspots[slot].Name));
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

void PropertyPanel::HotspotAdded(int slot)
{
    const Hotspot* spot = LiveSpot(slot);
    if (!spot)
        return;
    const int index = ChooserIndexFor(slot);
    m_chooser->insertItem(index, ToDisplay(spot->Name));
    m_chooser->setCurrentIndex(index);
}

void PropertyPanel::HotspotRemoved(int slot)
{
    if (const Hotspot* spot = LiveSpot(slot)) {
        const int index = m_chooser->findText(ToDisplay(spot->Name), Qt::MatchFixedString);
        if (index > 0)
            m_chooser->removeItem(index);
    }
    if (m_shownSlot == slot)
        m_shownSlot = 0;
}

void PropertyPanel::HotspotChanged(int slot)
{
    if (m_shownSlot != slot || m_state.PanelShowsHotspot == 0)
        return;
    if (const Hotspot* spot = LiveSpot(slot))
        WriteHotspotValues(*spot);
}

void PropertyPanel::HotspotRenamed(int slot, const std::string& oldName)
{
    const Hotspot* spot = LiveSpot(slot);
    if (!spot)
        return;
    const int index = m_chooser->findText(ToDisplay(oldName), Qt::MatchFixedString);
    if (index > 0)
        m_chooser->setItemText(index, ToDisplay(spot->Name));
    if (m_shownSlot == slot) {
        BusyGrid busy(*m_hotspotGrid);
        m_hotspotGrid->SetValue("Name", ToDisplay(spot->Name));
        m_hotspotGrid->RedrawGrid();
    }
}

void PropertyPanel::HotspotSelected(int slot) { ShowHotspotProperties(slot); }

void PropertyPanel::MapSelected() { ShowMapProperties(); }

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

void PropertyPanel::ImageTagChanged(bool mapTags)
{
    (void)mapTags;
    if (m_state.PanelShowsHotspot == 0)
        WriteMapValues();
}

void PropertyPanel::DocumentActivated(int slot)
{
    (void)slot;
    ShowDocumentPage(true);
    RemoveCustoms(*m_hotspotGrid, m_hotspotCustoms);
    RemoveCustoms(*m_mapGrid, m_mapCustoms);
    m_shownSlot = 0;
    RebuildHotspotChooser();
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
    std::string text = FromDisplay(value);
    if (!CleanPanelValue(text))
        return false;
    value = ToDisplay(text);
    if (m_host)
        m_host->Prompts().Tell(kBadSymbolsMessage, m_state.AppTitle, PromptIcon::Critical);
    return true;
}

void PropertyPanel::OnHotspotValue(QString& value, const QString& key)
{
    if (m_state.SuppressPanelEvents == 0 || !m_host)
        return;
    const int slot = m_shownSlot;
    Hotspot* spot = LiveSpot(slot);
    DocumentWindow* window = m_host->ActiveWindow();
    if (!spot || !window)
        return;
    CleanValue(value);
    const std::string text = FromDisplay(value);
    const QString upper = key.toUpper();
    bool changed = true;

    if (upper == "ALT" || upper == "HREF" || upper == "TARGET") {
        SetHotspotAttribute(*spot, FromDisplay(upper), text);
    } else if (upper == "COLOR") {
        if (const auto color = PanelColorValue(Trim(text))) {
            window->Surface().SetSelectedColor(*color);
            spot->Color = std::to_string(*color);
        } else {
            changed = false;
        }
    } else if (upper == "LOCKED") {
        m_host->SetHotspotLocked(EqualsNoCase(Trim(text), "True"));
    } else if (upper == "X1" || upper == "Y1" || upper == "X2" || upper == "Y2") {
        if (const auto number = NumberInRange(text, -kCoordinateLimit, kCoordinateLimit)) {
            const int which = upper == "X1" ? 1 : upper == "Y1" ? 2 : upper == "X2" ? 3 : 4;
            window->Surface().SetSelectedCoordinate(which, *number);
        } else {
            changed = false;
        }
    } else if (upper == "TYPE") {
        changed = m_host->ChangeShape(text, true);
    } else if (upper == "NAME") {
        changed = m_host->RenameHotspot(Trim(text));
    } else {
        SetHotspotAttribute(*spot, FromDisplay(key), text);
    }

    // The record may have moved or changed under the calls above; read it again.
    if ((spot = LiveSpot(slot)) == nullptr)
        return;
    m_host->Views().HotspotChanged(slot);
    // The entry shows what the hotspot now holds, which is the old value after a refusal.
    value = m_hotspotGrid->Value(key);
    if (changed)
        m_host->SetChanged(true);
}

void PropertyPanel::OnMapValue(QString& value, const QString& key)
{
    if (m_state.SuppressPanelEvents == 0 || !m_host)
        return;
    Document* doc = CurrentDoc();
    DocumentWindow* window = m_host->ActiveWindow();
    if (!doc || !window)
        return;
    CleanValue(value);
    const std::string text = FromDisplay(value);
    const QString upper = key.toUpper();

    if (upper == "PICTURE") {
        const bool same = Trim(text) == GetAttribute(ParseTag(doc->ImgTag, kTagBase), "SRC", "");
        if (!same && !Trim(text).empty())
            UseTypedPicture(Trim(text));
        WriteMapValues();
        value = m_mapGrid->Value(key);
        return;
    }

    const MapEdit edit
        = ApplyMapValue(*doc, FromDisplay(key), text, m_state.Settings.ini_MapNameCheck);
    if (edit.Refused) {
        if (!edit.Message.empty())
            m_host->Prompts().Tell(edit.Message, m_state.AppTitle, PromptIcon::Critical);
        WriteMapValues();
        value = m_mapGrid->Value(key);
        return;
    }
    bool sizeChanged = edit.SizeChanged;
    if (edit.Reread) {
        const MapImage before = doc->Images[1];
        RereadImgTag(*doc, ParseTag(doc->ImgTag, kTagBase));
        const MapImage& after = doc->Images[1];
        sizeChanged = sizeChanged || after.Width != before.Width || after.Height != before.Height;
    }
    const MapImage& image = doc->Images[1];
    if (sizeChanged) {
        window->Surface().SetMapSize(image.Width, image.Height);
        m_host->SetStatusText(
            ToDisplay(std::to_string(image.Width) + "x" + std::to_string(image.Height)), 1);
    }
    m_host->SetChanged(true);
    m_host->Views().ImageTagChanged(edit.MapTagsChanged);
    WriteMapValues();
    value = m_mapGrid->Value(key);
}

void PropertyPanel::OnChoicesWanted(QStringList& choices, const QString& key)
{
    const QString upper = key.toUpper();
    if (upper == "TYPE")
        choices = { "Rectangle", "Circle", "Polygon" };
    else if (upper == "LOCKED")
        choices = { "True", "False" };
    else if (upper == "ALIGN")
        choices = { "Left", "Center", "Right" };
    else if (upper == "RELATIVEPATH")
        choices = { "Current Path", "Relative Path", "Direct path" };
    else if (upper == "SERVERTYPE")
        choices = { "NCSA", "CERN" };
}

void PropertyPanel::OnBrowse(QString& value, const QString& key)
{
    (void)value;
    Document* doc = CurrentDoc();
    if (!doc || !m_host || !m_host->ActiveWindow())
        return;
    const QString upper = key.toUpper();
    if (upper != "PICTURE" && upper != "LOWSRC")
        return;
    const auto chosen = m_host->Prompts().ChooseOpenFile({ "Open", kPictureFilter, 1, "", "" });
    // Cancelling leaves the entry as it was.
    if (!chosen || chosen->empty())
        return;
    if (upper == "PICTURE") {
        UsePicture(EncodeRawValue(*chosen), *chosen);
        return;
    }
    doc->ImgTag = SetAttributeInTag(doc->ImgTag, "LOWSRC", EncodeRawValue(*chosen), "");
    ShowMapProperties();
    m_host->SetChanged(true);
    m_host->Views().ImageTagChanged(false);
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
    Document* doc = CurrentDoc();
    DocumentWindow* window = m_host->ActiveWindow();
    const LoadedPicture loaded = LoadPicture(fullPath);
    if (loaded.Image.isNull()) {
        m_host->Prompts().Tell("There was an error while trying to load the picture.\r\n\r\nFile : "
                + fullPath + "\r\nReason : " + loaded.Reason,
            m_state.AppTitle, PromptIcon::Critical);
        return false;
    }
    const QImage& picture = loaded.Image;
    const QSize size = PictureSize(fullPath, picture);
    MapImage& image = doc->Images[1];
    image.Src = fullPath;
    image.Width = size.width();
    image.Height = size.height();
    doc->ImgTag = SetAttributeInTag(doc->ImgTag, "SRC", srcText, "");
    doc->ImgTag = SetAttributeInTag(doc->ImgTag, "Height", std::to_string(image.Height), "");
    doc->ImgTag = SetAttributeInTag(doc->ImgTag, "Width", std::to_string(image.Width), "");
    bool mapTags = false;
    if (GetAttribute(ParseTag(doc->ImgTag, kTagBase), "USEMAP", "").empty()) {
        const std::string mapName = GetFileName(fullPath);
        image.UseMap = "#" + mapName;
        doc->ImgTag = SetAttributeInTag(doc->ImgTag, "UseMap", EncodeRawValue(image.UseMap), "");
        image.MapTag = SetAttributeInTag(image.MapTag.empty() ? "<MAP NAME=\"\">" : image.MapTag,
            "NAME", EncodeRawValue(mapName), "");
        mapTags = true;
    }
    window->ReplacePicture(picture);
    ShowMapProperties();
    m_host->SetChanged(true);
    m_host->SetStatusText(
        ToDisplay(std::to_string(image.Width) + "x" + std::to_string(image.Height)), 1);
    m_host->Views().ImageTagChanged(mapTags);
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
        const int slot = FindHotspotIdByName(m_state, FromDisplay(m_chooser->itemText(index)));
        if (slot > 0)
            window->SelectHotspot(slot);
    }
    m_chooser->setFocus();
}

} // namespace karvex
