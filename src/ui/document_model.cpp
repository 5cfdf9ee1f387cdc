#include "ui/document_model.h"

#include "core/formats/area_import.h"
#include "core/formats/tag_reader.h"
#include "core/model/app_state.h"
#include "core/model/hotspot_names.h"
#include "ui/picture_file.h"
#include "ui/qt_text.h"

namespace karvex {

DocumentModel::DocumentModel(AppState& state, int slot, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_slot(slot)
{
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
    QList<int> ids;
    ids.reserve(static_cast<qsizetype>(figures.size()));
    for (const Figure& figure : figures) {
        const int slot = AddHotspotFromFigure(Doc(), m_state.HotspotNames, figure);
        m_retired.erase(slot);
        ids.push_back(slot);
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
    const QString name = ToDisplay(spot->Name);
    m_retired[slot].push_back(*spot);
    DeleteHotspotRecord(m_state, slot);
    if (m_state.CurrentHotspot == slot)
        m_state.CurrentHotspot = 0;
    emit hotspotRemoved(slot, name);
    Changed();
}

void DocumentModel::RestoreHotspot(int slot, const Figure& figure)
{
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
    m_state.CurrentHotspot = figure.Id;
    ApplyFigureChange(*spot, figure);
    HotspotChanged(figure.Id);
}

bool DocumentModel::ChangeShape(int slot, const std::string& value)
{
    Hotspot* spot = LiveHotspot(slot);
    if (!spot || !ChangeShapeRecord(*spot, value))
        return false;
    HotspotChanged(slot);
    return true;
}

void DocumentModel::SetLocked(int slot, bool locked)
{
    Hotspot* spot = LiveHotspot(slot);
    if (!spot || spot->Locked == locked)
        return;
    spot->Locked = locked;
    HotspotChanged(slot);
}

void DocumentModel::SetColor(int slot, std::int32_t color)
{
    Hotspot* spot = LiveHotspot(slot);
    if (!spot || spot->Color == std::to_string(color))
        return;
    spot->Color = std::to_string(color);
    HotspotChanged(slot);
}

void DocumentModel::SetAttribute(int slot, const std::string& name, const std::string& value)
{
    Hotspot* spot = LiveHotspot(slot);
    if (!spot)
        return;
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
    const QString oldName = ToDisplay(spot->Name);
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
    const QSize size = PictureSize(fullPath, image);
    const bool mapTags = UsePicture(Doc(), srcText, fullPath, size.width(), size.height());
    emit pictureReplaced(image);
    emit imageTagChanged(mapTags);
    emit pictureSizeChanged(Doc().Images[1].Width, Doc().Images[1].Height);
    Changed();
}

void DocumentModel::ImgTagRewritten() { emit imageTagChanged(false); }

} // namespace karvex
