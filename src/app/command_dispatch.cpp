#include "app/command_dispatch.h"

#include "app/command_layout.h"
#include "app/editor.h"
#include "core/model/app_state.h"
#include "core/model/zoom_levels.h"
#include "karvex/version.h"

#include <QStringList>
#include <vector>

namespace karvex {

namespace {

constexpr const char* kSiteAddress = "https://karvex.example.org/";

struct Command
{
    QStringList Keys;
    bool NeedsDocumentWindow;
    std::function<void()> Action;
};

void ToggleViewElement(Editor& editor, CommandBars& bars, ViewElement element)
{
    const GlobalSettings& settings = editor.State().Settings;
    const bool shown = element == ViewElement::Toolbar ? settings.Toolbar
        : element == ViewElement::Statusbar            ? settings.Statusbar
                                                       : settings.Properties;
    SetViewElement(bars, editor.State(), element, !shown);
}

std::string CurrentHotspotName(const AppState& state)
{
    if (state.CurrentDocument <= 0)
        return {};
    const auto& spots = state.Documents[static_cast<std::size_t>(state.CurrentDocument)].Hotspots;
    const auto slot = static_cast<std::size_t>(state.CurrentHotspot);
    return slot > 0 && slot < spots.size() && spots[slot].Active ? spots[slot].Name : "";
}

QStringList ZoomCommandKeys()
{
    QStringList keys;
    for (const ZoomLevel& level : kZoomLevels)
        keys << QString(level.Key).toUpper();
    return keys;
}

} // namespace

QString WebPageAddress(const QString& key)
{
    const QString upper = key.toUpper();
    if (upper == "WEBPAGE1")
        return QString(kSiteAddress);
    if (upper == "WEBPAGE2")
        return QString(kSiteAddress) + "feedback/";
    if (upper == "REPORT")
        return QString(kSiteAddress) + "reportbug.asp?Software=KVX&Ver=" + kVersion;
    if (upper == "WEBPAGE3")
        return QString(kSiteAddress) + "about/";
    return {};
}

void DispatchCommand(
    const QString& key, Editor& editor, CommandBars& bars, const ShellActions& shell)
{
    AppState& state = editor.State();
    const auto web
        = [&editor](const char* page) { editor.OpenUrl(WebPageAddress(page).toStdString()); };
    const std::vector<Command> table = {
        { { "WIZARD", "T_HOTSPOT" }, true, [&] { editor.ShowHotspotWizard(); } },
        { { "VIEWPROPERTIES" }, false,
            [&] { ToggleViewElement(editor, bars, ViewElement::Properties); } },
        { { "VIEWTOOLBAR" }, false,
            [&] { ToggleViewElement(editor, bars, ViewElement::Toolbar); } },
        { { "VIEWSTATUSBAR" }, false,
            [&] { ToggleViewElement(editor, bars, ViewElement::Statusbar); } },
        { { "VIEWLABELS" }, false, [&] { editor.ToggleHotspotLabels(); } },
        { { "OPTION" }, false, [&] { editor.ShowOptions(); } },
        { { "CLOSEALL" }, false, [&] { editor.CloseAllDocuments(); } },
        { { "HELP1" }, false, [&] { editor.ShowHelp(0); } },
        { { "T_RULER" }, true, [&] { editor.ToggleRulers(false); } },
        { { "EDIT_FIG", "POP_EDIT_FIG" }, true,
            [&] { editor.OpenCodeEditor(CurrentHotspotName(state)); } },
        { { "CLOSE" }, false, [&] { editor.CloseActiveDocument(); } },
        { { "T_HIDE" }, true, [&] { editor.ToggleHideHotspots(false); } },
        { { "ABOUT" }, false, [&] { shell.About(); } },
        { { "WEBPAGE1" }, false, [&] { web("WEBPAGE1"); } },
        { { "WEBPAGE2" }, false, [&] { web("WEBPAGE2"); } },
        { { "REPORT" }, false, [&] { web("REPORT"); } },
        { { "WEBPAGE3" }, false, [&] { web("WEBPAGE3"); } },
        { { "T_ROTATE" }, true, [&] { editor.SetTool(Tool::Rotate); } },
        { { "T_UNDO", "UNDO" }, true, [&] { editor.Undo(); } },
        { { "T_REDO", "REDO" }, true, [&] { editor.Redo(); } },
        { { "EXIT" }, false, [&] { shell.Exit(); } },
        { ZoomCommandKeys(), true, [&] { editor.SetZoom(key, true); } },
        { { "SAVEAS" }, false, [&] { editor.SaveDocument(false, state.CurrentDocument); } },
        { { "T_SAVE", "SAVE" }, false, [&] { editor.SaveDocument(true, state.CurrentDocument); } },
        { { "T_PREVIEW" }, true, [&] { editor.Preview(); } },
        { { "T_NEW", "NEW" }, false, [&] { editor.NewDocumentFromPicture({}); } },
        { { "T_OPEN", "OPEN" }, false, [&] { editor.OpenDocument({}, true); } },
        { { "T_DELETE", "POP_DELETE", "DELETE" }, true, [&] { editor.DeleteHotspot(true); } },
        { { "T_COPY", "COPY", "POP_COPY" }, true, [&] { editor.CopyHotspot(); } },
        { { "T_CUT", "CUT", "POP_CUT" }, true, [&] { editor.CutHotspot(); } },
        { { "T_PASTE", "PASTE", "POP_PASTE" }, true, [&] { editor.PasteHotspot(); } },
        { { "EXP_COPY" }, true, [&] { editor.ExportToClipboard(Editor::ExportKind::Hotspot); } },
        { { "EXP_COPYMAP" }, true, [&] { editor.ExportToClipboard(Editor::ExportKind::Map); } },
        { { "IMP_PASTE" }, true, [&] { editor.ImportFromClipboard(); } },
        { { "T_MOUSE", "POINTER" }, false, [&] { editor.SetTool(Tool::Pointer); } },
        { { "T_RECTANGLE", "RECTANGLE" }, true, [&] { editor.SetTool(Tool::Rectangle); } },
        { { "T_CIRCLE", "CIRCLE" }, true, [&] { editor.SetTool(Tool::Circle); } },
        { { "T_POLYGON", "POLYGON" }, true, [&] { editor.SetTool(Tool::Polygon); } },
        { { "T_LOCK", "POP_LOCK", "LOCK" }, true, [&] { editor.ToggleLock(); } },
        { { "T_SUPPORT" }, true, [&] { editor.ToggleSupportLines(); } },
    };

    const QString upper = key.toUpper();
    if (const int number = RecentFileNumber(upper)) {
        editor.OpenRecentFile(number);
        return;
    }
    for (const Command& command : table) {
        if (!command.Keys.contains(upper))
            continue;
        if (!command.NeedsDocumentWindow || editor.ActiveWindow())
            command.Action();
        return;
    }
}

void HandleBarClosed(const QString& key, Editor& editor, CommandBars& bars)
{
    const QString upper = key.toUpper();
    if (upper == "STANDARD")
        SetViewElement(bars, editor.State(), ViewElement::Toolbar, false);
    else if (upper == "VFRM_PROPERTIES")
        SetViewElement(bars, editor.State(), ViewElement::Properties, false);
}

void HandleBarShown(const QString& key, Editor& editor, CommandBars& bars)
{
    const QString upper = key.toUpper();
    if (upper == "STANDARD")
        SetViewElement(bars, editor.State(), ViewElement::Toolbar, true);
    else if (upper == "VFRM_PROPERTIES")
        SetViewElement(bars, editor.State(), ViewElement::Properties, true);
}

} // namespace karvex
