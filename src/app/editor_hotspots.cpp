// The editor's hotspot and view operations: tools, delete, lock, hide, support lines,
// rulers, undo, zoom and the status bar.

#include "app/command_layout.h"
#include "app/editor.h"
#include "components/command_bars/command_bars.h"
#include "components/drawing_surface/drawing_surface.h"
#include "core/formats/area_import.h"
#include "core/model/app_state.h"
#include "core/model/zoom_levels.h"
#include "core/operations/hotspot_ops.h"
#include "core/util/prompt.h"
#include "core/util/strings.h"
#include "ui/code_edit_dialog.h"
#include "ui/document_window.h"
#include "ui/qt_text.h"

namespace karvex {

namespace {

Hotspot* LiveHotspot(AppState& state, int slot)
{
    if (state.CurrentDocument <= 0)
        return nullptr;
    auto& spots = state.Documents[static_cast<std::size_t>(state.CurrentDocument)].Hotspots;
    if (slot <= 0 || static_cast<std::size_t>(slot) >= spots.size())
        return nullptr;
    Hotspot& spot = spots[static_cast<std::size_t>(slot)];
    return spot.Active ? &spot : nullptr;
}

} // namespace

bool Editor::HotspotSelected() const
{
    return LiveHotspot(m_state, m_state.CurrentHotspot) != nullptr;
}

bool Editor::ClipboardHasHotspot() const { return m_state.HotspotClipboard.size() > 1; }

void Editor::DeleteHotspot(bool askWhenLocked)
{
    DocumentWindow* window = ActiveWindow();
    const int slot = m_state.CurrentHotspot;
    Hotspot* spot = LiveHotspot(m_state, slot);
    if (!window || !spot)
        return;
    if (askWhenLocked && spot->Locked) {
        const PromptAnswer answer
            = m_prompt.Ask({ "This hotspot is locked. Are you sure you want to delete it?",
                "Delete Hotspot", PromptIcon::Critical, PromptButtons::YesNo, PromptAnswer::No });
        if (answer != PromptAnswer::Yes)
            return;
    }
    window->DeleteHotspot(slot);
}

bool Editor::RenameHotspot(const std::string& newName)
{
    const int slot = m_state.CurrentHotspot;
    Hotspot* spot = LiveHotspot(m_state, slot);
    if (!ActiveWindow() || !spot)
        return false;
    switch (CheckRename(m_state, slot, newName)) {
    case RenameCheck::Unchanged:
        return false;
    case RenameCheck::Taken:
        m_prompt.Tell("You already have a hotspot with this name. Please choose another name.",
            m_state.AppTitle, PromptIcon::Critical);
        return false;
    case RenameCheck::Ok:
        break;
    }
    const std::string oldName = spot->Name;
    const std::int32_t suppressed = m_state.SuppressPanelEvents;
    m_state.SuppressPanelEvents = 0;
    RenameHotspotRecord(m_state, slot, newName);
    Views().HotspotRenamed(slot, oldName);
    m_state.SuppressPanelEvents = suppressed;
    return true;
}

bool Editor::ChangeShape(const std::string& value, bool tellSurface)
{
    DocumentWindow* window = ActiveWindow();
    const int slot = m_state.CurrentHotspot;
    Hotspot* spot = LiveHotspot(m_state, slot);
    if (!window || !spot || !ChangeShapeRecord(*spot, value))
        return false;
    if (tellSurface)
        window->Surface().ChangeFigureShape(slot, spot->Shape);
    Views().HotspotChanged(slot);
    return true;
}

void Editor::OpenCodeEditor(const std::string& name)
{
    DocumentWindow* window = ActiveWindow();
    if (!window || EqualsNoCase(name, "NOCODE"))
        return;
    const int slot = FindHotspotIdByName(m_state, name);
    const Hotspot* spot = LiveHotspot(m_state, slot);
    if (!spot)
        return;
    CodeEditDialog dialog(window);
    dialog.SetCode(ToDisplay(spot->AreaTag));
    const std::string coordsAtOpening = spot->Coords;
    const bool accepted
        = m_runCodeDialog ? m_runCodeDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (accepted)
        ApplyCodeEdit(slot, FromDisplay(dialog.Code()), coordsAtOpening);
}

void Editor::ApplyCodeEdit(int slot, const std::string& text, const std::string& coordsAtOpening)
{
    DocumentWindow* window = ActiveWindow();
    Hotspot* spot = LiveHotspot(m_state, slot);
    if (!window || !spot)
        return;
    const TagRecord tag = ParseTag(text, "C:\\TEMP\\");
    // Entry 0 of the attribute list is empty: two attributes make three entries.
    if (tag.Attributes.size() >= 3) {
        std::string newName;
        ReadAreaTagInto(*spot, tag, &newName);
        if (!newName.empty() && CheckRename(m_state, slot, newName) == RenameCheck::Ok) {
            const std::string oldName = spot->Name;
            RenameHotspotRecord(m_state, slot, newName);
            Views().HotspotRenamed(slot, oldName);
        }
    }
    if (spot->Coords != coordsAtOpening)
        window->Surface().SetFigureCoords(slot, spot->Coords);
    window->Surface().LockSelected(spot->Locked);
    Views().HotspotChanged(slot);
    Views().HotspotSelected(slot);
    SetChanged(true);
}

void Editor::ToggleLock() { SetHotspotLocked(!m_bars.IsTicked("t_Lock")); }

void Editor::SetHotspotLocked(bool locked)
{
    DocumentWindow* window = ActiveWindow();
    const int slot = m_state.CurrentHotspot;
    Hotspot* spot = LiveHotspot(m_state, slot);
    if (!window || !spot)
        return;
    spot->Locked = locked;
    window->Surface().SelectFigure(slot);
    window->Surface().LockSelected(locked);
    SetLockTicked(locked);
    Views().HotspotChanged(slot);
    SetChanged(true);
    UpdateRotateCommand(slot, locked);
}

void Editor::ToggleHideHotspots(bool applyOnly)
{
    DocumentWindow* window = ActiveWindow();
    if (!window)
        return;
    Document& doc = m_state.Documents[static_cast<std::size_t>(window->Slot())];
    if (!applyOnly) {
        doc.HideHotspots = !doc.HideHotspots;
        window->Surface().ShowFigures(doc.HideHotspots ? 0 : 1);
    }
    m_bars.SetTicked("t_Hide", doc.HideHotspots);
}

void Editor::ToggleSupportLines()
{
    DocumentWindow* window = ActiveWindow();
    if (!window)
        return;
    Document& doc = m_state.Documents[static_cast<std::size_t>(window->Slot())];
    doc.SupportLines = !doc.SupportLines;
    m_bars.SetTicked("t_Support", doc.SupportLines);
    window->Surface().SetSupportLines(doc.SupportLines);
}

void Editor::ToggleRulers(bool applyOnly)
{
    DocumentWindow* window = ActiveWindow();
    if (!window)
        return;
    Document& doc = m_state.Documents[static_cast<std::size_t>(window->Slot())];
    if (!applyOnly) {
        doc.RulerVisible = !doc.RulerVisible;
        window->Surface().SetRulersVisible(doc.RulerVisible);
    }
    m_bars.SetTicked("t_Ruler", doc.RulerVisible);
}

void Editor::SetTool(int toolCode)
{
    SetToolState(m_bars, toolCode);
    m_toolCode = toolCode;
    // The surface knows rotation as draw mode 5.
    if (DocumentWindow* window = ActiveWindow())
        window->Surface().SetDrawTool(toolCode == 4 ? 5 : toolCode);
}

void Editor::Undo()
{
    if (DocumentWindow* window = ActiveWindow())
        window->Surface().Undo();
}

void Editor::Redo()
{
    if (DocumentWindow* window = ActiveWindow())
        window->Surface().Redo();
}

void Editor::UpdateRotateCommand(int slot, bool locked)
{
    if (m_state.CurrentDocument <= 0)
        return;
    if (m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)].PageMode != 0)
        return;
    const Hotspot* spot = LiveHotspot(m_state, slot);
    const bool rotatable
        = spot && (spot->Shape == ShapeRectangle || spot->Shape == ShapePolygon) && !locked;
    m_bars.SetEnabled("t_Rotate", rotatable);
}

void Editor::SetZoom(const QString& key, bool tellSurface)
{
    const int percent = ZoomPercentForKey(key.toStdString());
    DocumentWindow* window = ActiveWindow();
    if (percent == 0 || !window)
        return;
    if (tellSurface)
        window->Surface().SetZoomPercent(percent);
    ShowZoom(percent);
}

void Editor::ShowZoom(int percent)
{
    if (m_state.CurrentDocument > 0)
        m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)].Zoom = percent;
    ShowZoomInBars(m_bars, percent);
}

void Editor::ShowImageSize(const std::string& width, const std::string& height)
{
    if (m_state.CurrentDocument <= 0)
        return;
    const MapImage& image
        = m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)].Images[1];
    const std::string w = width.empty() ? std::to_string(image.Width) : width;
    const std::string h = height.empty() ? std::to_string(image.Height) : height;
    SetStatusText(ToDisplay(w + "x" + h), 1);
}

void Editor::SetStatusText(const QString& text, int panel)
{
    ::karvex::SetStatusText(m_bars, text, panel);
}

void Editor::SetUndoState(bool canUndo, bool canRedo)
{
    for (const char* key : { "t_Undo", "Undo" })
        m_bars.SetEnabled(key, canUndo);
    for (const char* key : { "t_Redo", "Redo" })
        m_bars.SetEnabled(key, canRedo);
}

void Editor::SetLockTicked(bool locked)
{
    for (const char* key : { "t_Lock", "Lock", "pop_Lock" })
        m_bars.SetTicked(key, locked);
}

void Editor::SelectionChanged(int slot)
{
    const Hotspot* spot = LiveHotspot(m_state, slot);
    UpdateEditCommands(m_bars, spot != nullptr, ClipboardHasHotspot());
    if (spot) {
        SetLockTicked(spot->Locked);
        UpdateRotateCommand(slot, spot->Locked);
    }
}

void Editor::SetPageMode(int mode)
{
    if (m_state.CurrentDocument <= 0)
        return;
    m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)].PageMode = mode;
    SetPageModeCommands(m_bars, mode, HotspotSelected(), ClipboardHasHotspot());
}

void Editor::ShowEditPopup(const QPoint& globalPos) { m_bars.ShowPopup("pop_Edit", globalPos); }

void Editor::OpenUrl(const std::string& url)
{
    if (m_openUrl)
        m_openUrl(url);
}

template <typename Call> void Editor::ViewsFanOut::Each(Call call)
{
    if (DocumentWindow* window = m_editor.ActiveWindow())
        call(window->CodeRegions());
    call(*m_editor.m_views);
}

void Editor::ViewsFanOut::HotspotAdded(int slot)
{
    Each([slot](ModelViews& views) { views.HotspotAdded(slot); });
}

void Editor::ViewsFanOut::HotspotRemoved(int slot)
{
    Each([slot](ModelViews& views) { views.HotspotRemoved(slot); });
}

void Editor::ViewsFanOut::HotspotChanged(int slot)
{
    Each([slot](ModelViews& views) { views.HotspotChanged(slot); });
}

void Editor::ViewsFanOut::HotspotRenamed(int slot, const std::string& oldName)
{
    Each([slot, &oldName](ModelViews& views) { views.HotspotRenamed(slot, oldName); });
}

void Editor::ViewsFanOut::HotspotSelected(int slot)
{
    Each([slot](ModelViews& views) { views.HotspotSelected(slot); });
}

void Editor::ViewsFanOut::MapSelected()
{
    Each([](ModelViews& views) { views.MapSelected(); });
}

void Editor::ViewsFanOut::DragTracking(int x1, int y1, int x2, int y2)
{
    Each([=](ModelViews& views) { views.DragTracking(x1, y1, x2, y2); });
}

void Editor::ViewsFanOut::SetPanelEnabled(bool enabled)
{
    Each([enabled](ModelViews& views) { views.SetPanelEnabled(enabled); });
}

void Editor::ViewsFanOut::ImageTagChanged(bool mapTags)
{
    Each([mapTags](ModelViews& views) { views.ImageTagChanged(mapTags); });
}

void Editor::ViewsFanOut::DocumentActivated(int slot)
{
    Each([slot](ModelViews& views) { views.DocumentActivated(slot); });
}

void Editor::ViewsFanOut::DocumentClosed(int slot, bool anyOpen)
{
    // The closed window's code view is gone; only the panel hears about it.
    m_editor.m_views->DocumentClosed(slot, anyOpen);
}

} // namespace karvex
