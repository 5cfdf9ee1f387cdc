// The editor's hotspot and view operations: tools, delete, lock, hide, support lines,
// rulers, undo, zoom and the status bar.

#include "app/command_layout.h"
#include "app/editor.h"
#include "components/command_bars/command_bars.h"
#include "components/drawing_surface/drawing_surface.h"
#include "core/formats/html_writer.h"
#include "core/model/app_state.h"
#include "core/model/zoom_levels.h"
#include "core/operations/hotspot_clipboard.h"
#include "core/operations/hotspot_ops.h"
#include "core/util/prompt.h"
#include "core/util/strings.h"
#include "ui/code_edit_dialog.h"
#include "ui/document_model.h"
#include "ui/document_window.h"
#include "ui/help_topics.h"
#include "ui/qt_text.h"
#include "ui/system_clipboard.h"
#include "ui/wizard_dialog.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUndoStack>
#include <optional>
#include <utility>

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

DrawTool DrawToolFor(Tool tool)
{
    switch (tool) {
    case Tool::Rectangle:
        return DrawTool::Rectangle;
    case Tool::Circle:
        return DrawTool::Circle;
    case Tool::Polygon:
        return DrawTool::Polygon;
    case Tool::Rotate:
        return DrawTool::Rotate;
    case Tool::Pointer:
        break;
    }
    return DrawTool::Pointer;
}

} // namespace

bool Editor::HotspotSelected() const
{
    return LiveHotspot(m_state, m_state.CurrentHotspot) != nullptr;
}

bool Editor::ClipboardHasHotspot() const { return m_state.HotspotClipboard.size() > 1; }

void Editor::CopyHotspot()
{
    const Hotspot* spot = LiveHotspot(m_state, m_state.CurrentHotspot);
    if (!ActiveWindow() || !spot)
        return;
    m_state.HotspotClipboard.push_back(ClipboardEntry(*spot));
    UpdateEditCommands(m_bars, true, ClipboardHasHotspot());
}

void Editor::CutHotspot()
{
    DocumentWindow* window = ActiveWindow();
    const int slot = m_state.CurrentHotspot;
    const Hotspot* spot = LiveHotspot(m_state, slot);
    if (!window || !spot)
        return;
    if (spot->Locked && !ConfirmLockedDelete())
        return;
    m_state.HotspotClipboard.push_back(ClipboardEntry(*spot));
    window->DeleteHotspot(slot);
    UpdateEditCommands(m_bars, HotspotSelected(), ClipboardHasHotspot());
}

void Editor::PasteHotspot()
{
    DocumentWindow* window = ActiveWindow();
    if (!window || !ClipboardHasHotspot())
        return;
    const Hotspot& entry = m_state.HotspotClipboard.back();
    const Document& doc = m_state.Documents[static_cast<std::size_t>(window->Slot())];
    const QRect visible = window->VisiblePictureArea();
    const PictureCorner corner = PasteCorner(
        doc, entry, { visible.x(), visible.y(), visible.right() + 1, visible.bottom() + 1 });
    const QList<int> ids
        = window->AddHotspotRecords({ PlaceClipboardEntry(entry, corner.X, corner.Y) }, "Paste");
    if (!ids.isEmpty())
        window->SelectHotspot(ids.back());
}

void Editor::ExportToClipboard(ExportKind kind)
{
    DocumentWindow* window = ActiveWindow();
    if (!window)
        return;
    SystemClipboard& clipboard = m_clipboard ? *m_clipboard : DesktopClipboard();
    const Document& doc = m_state.Documents[static_cast<std::size_t>(window->Slot())];
    if (kind == ExportKind::Hotspot) {
        if (const Hotspot* spot = LiveHotspot(m_state, m_state.CurrentHotspot))
            clipboard.SetMarkup(ToDisplay(spot->AreaTag, doc.Charset));
        return;
    }
    // The code as the code page shows it; the document's record of its page stays as it is.
    Document copy = doc;
    clipboard.SetMarkup(ToDisplay(GenerateMapCode(copy, true, false), doc.Charset));
}

void Editor::ImportFromClipboard()
{
    DocumentWindow* window = ActiveWindow();
    if (!window)
        return;
    const SystemClipboard& clipboard = m_clipboard ? *m_clipboard : DesktopClipboard();
    const std::string& charset
        = m_state.Documents[static_cast<std::size_t>(window->Slot())].Charset;
    std::optional<Hotspot> spot = HotspotFromClipboardText(FromDisplay(clipboard.Text(), charset));
    if (!spot) {
        m_prompt.Tell(kClipboardImportError, m_state.AppTitle);
        return;
    }
    const QList<int> ids = window->AddHotspotRecords({ std::move(*spot) }, "Paste AREA Tag", true);
    if (!ids.isEmpty())
        window->SelectHotspot(ids.back());
}

bool Editor::ConfirmLockedDelete()
{
    return m_prompt.Ask({ "This hotspot is locked. Are you sure you want to delete it?",
               "Delete Hotspot", PromptIcon::Critical, PromptButtons::YesNo, PromptAnswer::No })
        == PromptAnswer::Yes;
}

void Editor::DeleteHotspot(bool askWhenLocked)
{
    DocumentWindow* window = ActiveWindow();
    const int slot = m_state.CurrentHotspot;
    Hotspot* spot = LiveHotspot(m_state, slot);
    if (!window || !spot)
        return;
    if (askWhenLocked && spot->Locked && !ConfirmLockedDelete())
        return;
    window->DeleteHotspot(slot);
}

bool Editor::RenameHotspot(const std::string& newName)
{
    DocumentWindow* window = ActiveWindow();
    const int slot = m_state.CurrentHotspot;
    if (!window || !LiveHotspot(m_state, slot))
        return false;
    // The panel's own entry is being committed: its notices must not re-enter it.
    const std::int32_t suppressed = m_state.SuppressPanelEvents;
    m_state.SuppressPanelEvents = 0;
    const RenameCheck check = window->Model().Rename(slot, newName);
    m_state.SuppressPanelEvents = suppressed;
    if (check == RenameCheck::Taken)
        m_prompt.Tell("You already have a hotspot with this name. Please choose another name.",
            m_state.AppTitle, PromptIcon::Critical);
    return check == RenameCheck::Ok;
}

bool Editor::ChangeShape(const std::string& value, bool tellSurface)
{
    DocumentWindow* window = ActiveWindow();
    const int slot = m_state.CurrentHotspot;
    if (!window)
        return false;
    // The record and the reshaped figure reported back are one step.
    DocumentModel::EditStep step(window->Model(), "Change Type");
    if (!window->Model().ChangeShape(slot, value))
        return false;
    if (tellSurface)
        window->Surface().ChangeFigureShape(slot, LiveHotspot(m_state, slot)->Shape);
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
    const std::string charset = window->Model().Doc().Charset;
    CodeEditDialog dialog(window);
    connect(&dialog, &CodeEditDialog::HelpRequested, this, [this] { ShowHelp(kCodeEditHelp); });
    dialog.SetCode(ToDisplay(spot->AreaTag, charset));
    const std::string coordsAtOpening = spot->Coords;
    const bool accepted
        = m_runCodeDialog ? m_runCodeDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (accepted)
        ApplyCodeEdit(slot, FromDisplay(dialog.Code(), charset), coordsAtOpening);
}

void Editor::ApplyCodeEdit(int slot, const std::string& text, const std::string& coordsAtOpening)
{
    DocumentWindow* window = ActiveWindow();
    if (!window || !LiveHotspot(m_state, slot))
        return;
    DocumentModel::EditStep step(window->Model(), "Edit Hotspot");
    window->Model().ApplyAreaTag(slot, text);
    const Hotspot* spot = LiveHotspot(m_state, slot);
    if (spot->Coords != coordsAtOpening)
        window->Surface().SetFigureCoords(slot, spot->Coords);
    window->SelectHotspot(slot);
    window->Surface().LockSelected(spot->Locked);
}

void Editor::ToggleLock() { SetHotspotLocked(!m_bars.IsTicked("t_Lock")); }

void Editor::SetHotspotLocked(bool locked)
{
    DocumentWindow* window = ActiveWindow();
    const int slot = m_state.CurrentHotspot;
    if (!window || !LiveHotspot(m_state, slot))
        return;
    window->Surface().SelectFigure(slot);
    window->Model().SetLocked(slot, locked);
    SetLockTicked(locked);
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

void Editor::ToggleHotspotLabels()
{
    bool& shown = m_state.Settings.HotspotLabels;
    shown = !shown;
    m_bars.SetTicked("ViewLabels", shown);
    if (!m_state.SettingsPath.empty()) {
        SettingValue(m_state.SettingsPath, "Interface", "HotspotLabels", SettingMode::Write,
            SettingText(shown));
    }
    for (QMdiSubWindow* window : m_area.subWindowList()) {
        if (auto* document = qobject_cast<DocumentWindow*>(window->widget()))
            document->Surface().ShowLabels(shown);
    }
}

void Editor::ApplySettings()
{
    // The view switches follow too: a reset of the settings file shows every bar again.
    ApplyViewElements(m_bars, m_state);
    for (QMdiSubWindow* window : m_area.subWindowList()) {
        if (auto* document = qobject_cast<DocumentWindow*>(window->widget()))
            document->ApplySettings();
    }
    emit settingsApplied();
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

void Editor::SetTool(Tool tool)
{
    SetToolState(m_bars, tool);
    m_tool = tool;
    if (DocumentWindow* window = ActiveWindow())
        window->Surface().SetDrawTool(DrawToolFor(tool));
}

// The document's history holds every edit, the surface's gestures among them.
void Editor::Undo()
{
    if (DocumentWindow* window = ActiveWindow())
        window->Model().History().undo();
}

void Editor::Redo()
{
    if (DocumentWindow* window = ActiveWindow())
        window->Model().History().redo();
}

void Editor::ShowHotspotWizard()
{
    DocumentWindow* window = ActiveWindow();
    if (!window)
        return;
    const auto& clipboard = m_state.HotspotClipboard;
    WizardDialog wizard(m_state, m_prompt, *window,
        clipboard.size() > 1 ? &clipboard.back() : nullptr, m_area.window());
    connect(&wizard, &WizardDialog::HelpRequested, this, [this](int topic) { ShowHelp(topic); });
    wizard.exec();
}

void Editor::UpdateRotateCommand(int slot, bool locked)
{
    if (m_state.CurrentDocument <= 0)
        return;
    if (m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)].PageMode
        != DocumentPage::Design)
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
    SetStatusText(ToDisplay(w + "x" + h), StatusPanel::PictureSize);
}

void Editor::SetStatusText(const QString& text, StatusPanel panel)
{
    ::karvex::SetStatusText(m_bars, text, panel);
}

void Editor::SetUndoState(bool canUndo, bool canRedo)
{
    // The preview is for trying the map: nothing in it is edited or undone.
    if (m_state.CurrentDocument > 0
        && m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)].PageMode
            == DocumentPage::Preview)
        canUndo = canRedo = false;
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

void Editor::SetPageMode(DocumentPage page)
{
    if (m_state.CurrentDocument <= 0)
        return;
    m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)].PageMode = page;
    SetPageModeCommands(m_bars, page, HotspotSelected(), ClipboardHasHotspot());
    // Back from the preview, undo and redo follow the document's history again.
    if (DocumentWindow* window = ActiveWindow())
        SetUndoState(window->Model().History().canUndo(), window->Model().History().canRedo());
}

void Editor::ShowEditPopup(const QPoint& globalPos) { m_bars.ShowPopup("pop_Edit", globalPos); }

void Editor::OpenUrl(const std::string& url)
{
    if (m_openUrl)
        m_openUrl(url);
}

void Editor::ShowHelp(int contextId)
{
    if (m_showHelp)
        m_showHelp(contextId);
}

} // namespace karvex
