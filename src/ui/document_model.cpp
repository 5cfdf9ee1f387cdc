#include "ui/document_model.h"

#include "core/formats/area_import.h"
#include "core/formats/tag_reader.h"
#include "core/model/app_state.h"
#include "core/model/hotspot_names.h"
#include "ui/picture_file.h"
#include "ui/qt_text.h"

#include <QUndoStack>

namespace karvex {

namespace {

// An undo or redo of more hotspots than this rebuilds the views instead of telling them one
// hotspot at a time (a generated grid, a large paste).
constexpr std::size_t kManyHotspots = 64;

} // namespace

DocumentModel::DocumentModel(AppState& state, int slot, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_slot(slot)
    , m_history(new QUndoStack(this))
{
    // As many steps as the drawing surface keeps of its own.
    m_history->setUndoLimit(1000);
    // A document that came changed (made by a reader) has no saved state to go back to.
    if (Doc().Changed)
        m_history->resetClean();
    connect(m_history, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (!m_forgetting)
            ApplyModified(!clean);
    });
}

// The history is destroyed after this object has stopped being a DocumentModel; what it says
// while it clears itself must reach nobody.
DocumentModel::~DocumentModel() { m_history->disconnect(); }

DocumentModel::EditStep::EditStep(DocumentModel& model, const QString& text)
    : m_model(model)
{
    m_model.BeginStep(text);
}

DocumentModel::EditStep::~EditStep() { m_model.EndStep(); }

void DocumentModel::BeginStep(const QString& text)
{
    if (m_stepDepth++ == 0)
        m_stepText = text;
}

void DocumentModel::EndStep()
{
    if (--m_stepDepth > 0)
        return;
    DocumentState before;
    DocumentState after;
    for (auto& [slot, record] : m_touched) {
        HotspotState now = RecordOf(slot);
        if (now.Record == record)
            continue;
        before.Hotspots.push_back({ slot, std::move(record) });
        after.Hotspots.push_back(std::move(now));
    }
    m_touched.clear();
    if (m_mapBefore) {
        MapState now = CurrentMap();
        if (!(now == *m_mapBefore)) {
            before.Map = std::move(m_mapBefore);
            after.Map = std::move(now);
        }
        m_mapBefore.reset();
    }
    if (!before.Hotspots.empty() || before.Map)
        m_history->push(new EditCommand(*this, m_stepText, std::move(before), std::move(after)));
}

void DocumentModel::Touch(int slot)
{
    if (m_restoring || m_stepDepth == 0 || slot <= 0)
        return;
    if (!m_touched.contains(slot))
        m_touched.emplace(slot, RecordOf(slot).Record);
}

void DocumentModel::TouchMap()
{
    if (!m_restoring && m_stepDepth > 0 && !m_mapBefore)
        m_mapBefore = CurrentMap();
}

HotspotState DocumentModel::RecordOf(int slot) const
{
    const auto& spots = Doc().Hotspots;
    if (static_cast<std::size_t>(slot) < spots.size())
        return { slot, spots[static_cast<std::size_t>(slot)] };
    return { slot, Hotspot {} };
}

MapState DocumentModel::CurrentMap() const
{
    const Document& doc = Doc();
    return { doc.ImgTag, doc.Images, doc.ImgAttributes, doc.PathMode, doc.ServerType,
        doc.WebProject, m_picture };
}

void DocumentModel::Restore(const DocumentState& state)
{
    m_restoring = true;
    Document& doc = Doc();
    auto& spots = doc.Hotspots;
    auto& names = m_state.HotspotNames;
    // The names live in the table of the current document only; undo and redo act on it.
    const bool ownNames = m_state.CurrentDocument == m_slot;
    // Every old name leaves the table before a new one enters, so that names a step moved
    // between hotspots cannot collide.
    for (const HotspotState& target : state.Hotspots) {
        const std::size_t slot = static_cast<std::size_t>(target.Slot);
        if (ownNames && slot < spots.size() && spots[slot].Active
            && names.Find(spots[slot].Name) == target.Slot)
            names.Remove(spots[slot].Name);
    }
    QList<int> ids;
    QList<int> added;
    std::vector<std::pair<int, QString>> removed;
    std::vector<std::pair<int, QString>> renamed;
    QList<int> changed;
    for (const HotspotState& target : state.Hotspots) {
        const std::size_t slot = static_cast<std::size_t>(target.Slot);
        if (slot >= spots.size())
            spots.resize(slot + 1);
        Hotspot& spot = spots[slot];
        const bool wasLive = spot.Active;
        const QString oldName = ToDisplay(spot.Name, doc.Charset);
        spot = target.Record;
        if (ownNames && spot.Active)
            names.Add(spot.Name, target.Slot);
        ids.push_back(target.Slot);
        if (wasLive && !spot.Active) {
            removed.emplace_back(target.Slot, oldName);
            if (m_state.CurrentHotspot == target.Slot)
                m_state.CurrentHotspot = 0;
        } else if (!wasLive && spot.Active) {
            added.push_back(target.Slot);
        } else if (spot.Active) {
            if (oldName != ToDisplay(spot.Name, doc.Charset))
                renamed.emplace_back(target.Slot, oldName);
            changed.push_back(target.Slot);
        }
    }
    const bool many = state.Hotspots.size() > kManyHotspots;
    if (!many) {
        for (const auto& [slot, name] : removed)
            emit hotspotRemoved(slot, name);
        if (!added.isEmpty())
            emit hotspotsAdded(added);
        for (const auto& [slot, name] : renamed)
            emit hotspotRenamed(slot, name);
        for (const int slot : changed)
            emit hotspotChanged(slot);
    }

    if (state.Map) {
        const MapState& map = *state.Map;
        const bool newPicture = map.Picture.cacheKey() != m_picture.cacheKey();
        doc.ImgTag = map.ImgTag;
        doc.Images = map.Images;
        doc.ImgAttributes = map.ImgAttributes;
        doc.PathMode = map.PathMode;
        doc.ServerType = map.ServerType;
        doc.WebProject = map.WebProject;
        m_picture = map.Picture;
        if (newPicture)
            emit pictureReplaced(m_picture);
        emit imageTagChanged(true);
        emit pictureSizeChanged(doc.Images[1].Width, doc.Images[1].Height);
    }
    m_restoring = false;
    emit stateRestored(ids, state.Map.has_value(), many);
}

Document& DocumentModel::Doc() const { return m_state.Documents[static_cast<std::size_t>(m_slot)]; }

Hotspot* DocumentModel::LiveHotspot(int slot) const
{
    auto& spots = Doc().Hotspots;
    if (slot <= 0 || static_cast<std::size_t>(slot) >= spots.size())
        return nullptr;
    Hotspot& spot = spots[static_cast<std::size_t>(slot)];
    return spot.Active ? &spot : nullptr;
}

void DocumentModel::Changed()
{
    if (Doc().Changed)
        return;
    Doc().Changed = true;
    emit modifiedChanged(true);
}

void DocumentModel::HotspotChanged(int slot)
{
    emit hotspotChanged(slot);
    Changed();
}

void DocumentModel::SetModified(bool modified)
{
    if (modified)
        m_history->resetClean();
    else
        m_history->setClean();
    ApplyModified(modified);
}

void DocumentModel::ForgetHistory()
{
    const bool changed = Doc().Changed;
    m_forgetting = true;
    m_history->clear();
    if (changed)
        m_history->resetClean();
    m_forgetting = false;
}

void DocumentModel::ApplyModified(bool modified)
{
    if (Doc().Changed == modified)
        return;
    Doc().Changed = modified;
    emit modifiedChanged(modified);
}

int DocumentModel::AddDrawnHotspot(const Figure& figure)
{
    const QList<int> ids = AddHotspots({ figure });
    return ids.front();
}

QList<int> DocumentModel::AddHotspots(const std::vector<Figure>& figures)
{
    std::vector<Hotspot> records;
    records.reserve(figures.size());
    for (const Figure& figure : figures)
        records.push_back(HotspotFromFigure(figure));
    return AddHotspotRecords(std::move(records), figures.size() == 1 ? "Draw" : "Add Hotspots");
}

QList<int> DocumentModel::AddHotspotRecords(
    std::vector<Hotspot> records, const QString& stepText, bool keepFreeNames)
{
    EditStep step(*this, stepText);
    const std::vector<std::int32_t> freeSlots = NextFreeSlots(m_state.HotspotNames, records.size());
    QList<int> ids;
    ids.reserve(static_cast<qsizetype>(records.size()));
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!keepFreeNames)
            records[i].Name.clear();
        Touch(freeSlots[i]);
        PlaceHotspot(Doc(), m_state.HotspotNames, std::move(records[i]), freeSlots[i]);
        m_retired.erase(freeSlots[i]);
        ids.push_back(freeSlots[i]);
    }
    if (ids.isEmpty())
        return ids;
    m_state.CurrentHotspot = ids.back();
    emit hotspotsAdded(ids);
    Changed();
    return ids;
}

void DocumentModel::RetireHotspot(int slot)
{
    const Hotspot* spot = LiveHotspot(slot);
    if (!spot)
        return;
    EditStep step(*this, "Delete");
    Touch(slot);
    const QString name = ToDisplay(spot->Name, Doc().Charset);
    m_retired[slot].push_back(*spot);
    DeleteHotspotRecord(m_state, slot);
    if (m_state.CurrentHotspot == slot)
        m_state.CurrentHotspot = 0;
    emit hotspotRemoved(slot, name);
    Changed();
}

void DocumentModel::RestoreHotspot(int slot, const Figure& figure)
{
    EditStep step(*this, "Restore");
    Touch(slot);
    Document& doc = Doc();
    if (static_cast<std::size_t>(slot) >= doc.Hotspots.size())
        doc.Hotspots.resize(static_cast<std::size_t>(slot) + 1);
    Hotspot& spot = doc.Hotspots[static_cast<std::size_t>(slot)];
    auto retired = m_retired.find(slot);
    if (retired != m_retired.end() && !retired->second.empty()) {
        spot = retired->second.back();
        retired->second.pop_back();
    }
    // A record never seen (or overwritten meanwhile) is rebuilt from the figure itself.
    if (spot.Name.empty() || m_state.HotspotNames.Contains(spot.Name))
        spot.Name = NextHotspotNumber(m_state.HotspotNames, figure.Kind).Name;
    spot.Id = slot;
    ApplyFigureChange(spot, figure);
    RestoreHotspotRecord(m_state, slot);
    emit hotspotsAdded({ slot });
    Changed();
}

void DocumentModel::ApplyFigure(const Figure& figure)
{
    Hotspot* spot = LiveHotspot(figure.Id);
    if (!spot)
        return;
    EditStep step(*this, "Change Figure");
    Touch(figure.Id);
    m_state.CurrentHotspot = figure.Id;
    ApplyFigureChange(*spot, figure);
    HotspotChanged(figure.Id);
}

bool DocumentModel::ChangeShape(int slot, const std::string& value)
{
    Hotspot* spot = LiveHotspot(slot);
    if (!spot)
        return false;
    EditStep step(*this, "Change Type");
    Touch(slot);
    if (!ChangeShapeRecord(*spot, value))
        return false;
    HotspotChanged(slot);
    return true;
}

void DocumentModel::SetLocked(int slot, bool locked)
{
    Hotspot* spot = LiveHotspot(slot);
    if (!spot || spot->Locked == locked)
        return;
    EditStep step(*this, locked ? "Lock" : "Unlock");
    Touch(slot);
    spot->Locked = locked;
    HotspotChanged(slot);
}

void DocumentModel::SetColor(int slot, std::int32_t color)
{
    Hotspot* spot = LiveHotspot(slot);
    if (!spot || spot->Color == std::to_string(color))
        return;
    EditStep step(*this, "Change Color");
    Touch(slot);
    spot->Color = std::to_string(color);
    HotspotChanged(slot);
}

void DocumentModel::SetAttribute(int slot, const std::string& name, const std::string& value)
{
    Hotspot* spot = LiveHotspot(slot);
    if (!spot)
        return;
    EditStep step(*this, "Change " + ToDisplay(name, Doc().Charset));
    Touch(slot);
    const std::string before = spot->AreaTag;
    SetHotspotAttribute(*spot, name, value);
    if (spot->AreaTag != before)
        HotspotChanged(slot);
}

RenameCheck DocumentModel::Rename(int slot, const std::string& newName)
{
    Hotspot* spot = LiveHotspot(slot);
    if (!spot)
        return RenameCheck::Unchanged;
    const RenameCheck check = CheckRename(m_state, slot, newName);
    if (check != RenameCheck::Ok)
        return check;
    EditStep step(*this, "Rename");
    Touch(slot);
    const QString oldName = ToDisplay(spot->Name, Doc().Charset);
    RenameHotspotRecord(m_state, slot, newName);
    emit hotspotRenamed(slot, oldName);
    Changed();
    return check;
}

void DocumentModel::ApplyAreaTag(int slot, const std::string& text)
{
    Hotspot* spot = LiveHotspot(slot);
    if (!spot)
        return;
    EditStep step(*this, "Edit Hotspot");
    Touch(slot);
    const TagRecord tag = ParseTag(text);
    std::string newName;
    // Entry 0 of the attribute list is empty: two attributes make three entries.
    if (tag.Attributes.size() >= 3)
        ReadAreaTagInto(*spot, tag, &newName);
    HotspotChanged(slot);
    if (!newName.empty())
        Rename(slot, newName);
}

MapEdit DocumentModel::ApplyMapValue(
    const std::string& key, const std::string& value, bool checkMapNames)
{
    EditStep step(*this, "Change " + ToDisplay(key, Doc().Charset));
    TouchMap();
    MapEdit edit = EditMapValue(Doc(), key, value, checkMapNames);
    if (edit.Refused)
        return edit;
    emit imageTagChanged(edit.MapTagsChanged);
    if (edit.SizeChanged)
        emit pictureSizeChanged(Doc().Images[1].Width, Doc().Images[1].Height);
    Changed();
    return edit;
}

void DocumentModel::ReplacePicture(
    const std::string& srcText, const std::string& fullPath, const QImage& image)
{
    EditStep step(*this, "Change Picture");
    TouchMap();
    const QSize size = PictureSize(fullPath, image);
    const bool mapTags = UsePicture(Doc(), srcText, fullPath, size.width(), size.height());
    m_picture = image;
    emit pictureReplaced(image);
    emit imageTagChanged(mapTags);
    emit pictureSizeChanged(Doc().Images[1].Width, Doc().Images[1].Height);
    Changed();
}

void DocumentModel::ImgTagRewritten() { emit imageTagChanged(false); }

} // namespace karvex
