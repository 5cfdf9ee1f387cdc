#include "ui/code_view.h"

#include "components/code_box/code_box.h"
#include "core/formats/html_writer.h"
#include "core/model/app_state.h"
#include "ui/qt_text.h"

namespace karvex {

namespace {

constexpr char kNoCodeKey[] = "NoCode";
constexpr char kNoCodeText[] = "<!-- No Imagemap code exist -->";
constexpr char kAreaGroup[] = "Map_Area";
constexpr char kEndComment[] = "<!-- End of Imagemap code -->";

// Suspends the code box's repainting for the life of the object.
class RedrawPause
{
public:
    explicit RedrawPause(CodeBox& box)
        : m_box(box)
    {
        m_box.CodeRedraw(false);
    }
    ~RedrawPause() { m_box.CodeRedraw(true); }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    CodeBox& m_box;
};

} // namespace

CodeView::CodeView(CodeBox& box, AppState& state, int slot, QIcon lockIcon)
    : m_box(box)
    , m_state(state)
    , m_slot(slot)
    , m_lockIcon(std::move(lockIcon))
{
}

const Document& CodeView::Doc() const
{
    return m_state.Documents[static_cast<std::size_t>(m_slot)];
}

QString CodeView::Shown(const std::string& bytes) const { return ToDisplay(bytes, Doc().Charset); }

const Hotspot* CodeView::Live(int slot) const
{
    const auto& spots = Doc().Hotspots;
    if (slot <= 0 || static_cast<std::size_t>(slot) >= spots.size())
        return nullptr;
    const Hotspot& spot = spots[static_cast<std::size_t>(slot)];
    return spot.Active ? &spot : nullptr;
}

int CodeView::LiveCount() const
{
    int count = 0;
    for (const Hotspot& spot : Doc().Hotspots)
        count += spot.Active ? 1 : 0;
    return count;
}

void CodeView::Invalidate()
{
    m_filled = false;
    m_box.Clear();
}

void CodeView::EnsureFilled()
{
    if (m_filled)
        return;
    FillCodeView();
    if (m_state.CurrentDocument != m_slot)
        return;
    if (const Hotspot* spot = Live(m_state.CurrentHotspot))
        m_box.SelectRegion(Shown(spot->Name));
    else
        m_box.SelectRegion("IMAGE_TAG");
}

void CodeView::FillCodeView()
{
    RedrawPause pause(m_box);
    m_box.Clear();
    m_filled = true;
    const std::string visit = std::string("<!-- Visit us at ") + kMakerAddress + " -->";
    for (const std::string& line : { std::string(), std::string(), visit })
        m_box.AddRegion(Shown(line), Shown(line), "StartComment", {}, 2);
    m_box.AddRegion(Shown(Doc().ImgTag), "IMAGE_TAG", "Map_Image", {}, 0);
    m_box.AddRegion(Shown(Doc().Images[1].MapTag), "MAP_AREA_START", "MAP_START", {}, 0);
    bool any = false;
    for (std::size_t slot = 1; slot < Doc().Hotspots.size(); ++slot) {
        const Hotspot& spot = Doc().Hotspots[slot];
        if (!spot.Active)
            continue;
        any = true;
        m_box.AddRegion(Shown(spot.AreaTag), Shown(spot.Name), kAreaGroup, {}, 0);
        if (spot.Locked)
            m_box.SetRegionLocked(Shown(spot.Name), true, 0);
    }
    if (!any)
        m_box.AddRegion(kNoCodeText, kNoCodeKey, kAreaGroup, {}, 0);
    m_box.AddRegion("</MAP>", "MAP_AREA_END", "MAP_END", {}, 0);
    m_box.AddRegion(kEndComment, kEndComment, "EndComment", {}, 2);
}

void CodeView::AddAreaLine(const QString& text, const QString& key, const QIcon& icon)
{
    // The code box only appends, so the two end lines are taken off and put back.
    const QString end = m_box.RegionText("MAP_AREA_END");
    m_box.RemoveRegion("MAP_AREA_END");
    m_box.RemoveRegion(kEndComment);
    m_box.AddRegion(text, key, kAreaGroup, icon, 0);
    m_box.AddRegion(end.isEmpty() ? QString("</MAP>") : end, "MAP_AREA_END", "MAP_END", {}, 0);
    m_box.AddRegion(kEndComment, kEndComment, "EndComment", {}, 2);
}

void CodeView::AddHotspotRegions(const QList<int>& ids)
{
    if (!m_filled)
        return;
    RedrawPause pause(m_box);
    // The code box only appends: the two end lines are taken off once and put back after all.
    const QString end = m_box.RegionText("MAP_AREA_END");
    m_box.RemoveRegion("MAP_AREA_END");
    m_box.RemoveRegion(kEndComment);
    for (const int slot : ids) {
        if (const Hotspot* spot = Live(slot)) {
            m_box.AddRegion(Shown(spot->AreaTag), Shown(spot->Name), kAreaGroup,
                spot->Locked ? m_lockIcon : QIcon(), 0);
        }
    }
    m_box.AddRegion(end.isEmpty() ? QString("</MAP>") : end, "MAP_AREA_END", "MAP_END", {}, 0);
    m_box.AddRegion(kEndComment, kEndComment, "EndComment", {}, 2);
    m_box.RemoveRegion(kNoCodeKey);
}

void CodeView::RemoveHotspotRegion(const std::string& name)
{
    if (!m_filled)
        return;
    RedrawPause pause(m_box);
    if (LiveCount() == 0)
        AddAreaLine(kNoCodeText, kNoCodeKey, {});
    m_box.RemoveRegion(Shown(name));
}

void CodeView::UpdateHotspotRegion(int slot)
{
    if (!m_filled)
        return;
    const Hotspot* spot = Live(slot);
    if (!spot)
        return;
    RedrawPause pause(m_box);
    m_box.UpdateRegionText(Shown(spot->Name), Shown(spot->AreaTag));
    m_box.SetRegionLocked(Shown(spot->Name), spot->Locked, 0);
}

void CodeView::UpdateImageTagRegion()
{
    if (!m_filled)
        return;
    m_box.UpdateRegionText("IMAGE_TAG", Shown(Doc().ImgTag));
}

void CodeView::UpdateMapTagRegions()
{
    if (!m_filled)
        return;
    RedrawPause pause(m_box);
    const MapImage& image = Doc().Images[1];
    m_box.UpdateRegionText("MAP_AREA_START", Shown(image.MapTag));
    m_box.UpdateRegionText(
        "MAP_AREA_END", Shown(image.MapEndTag.empty() ? "</MAP>" : image.MapEndTag));
}

void CodeView::RenameHotspotRegion(int slot, const std::string& oldName)
{
    if (!m_filled)
        return;
    if (const Hotspot* spot = Live(slot))
        m_box.RenameRegion(Shown(oldName), Shown(spot->Name));
}

void CodeView::SelectHotspotRegion(int slot)
{
    if (!m_filled)
        return;
    if (const Hotspot* spot = Live(slot))
        m_box.SelectRegion(Shown(spot->Name));
}

void CodeView::SelectMapRegion()
{
    if (m_filled)
        m_box.SelectRegion("IMAGE_TAG");
}

} // namespace karvex
