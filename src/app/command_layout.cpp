#include "app/command_layout.h"

#include "components/command_bars/command_bars.h"
#include "core/model/app_state.h"
#include "core/model/zoom_levels.h"
#include "core/settings/settings.h"

#include <QAction>
#include <QKeySequence>
#include <QStringList>
#include <initializer_list>
#include <iterator>

namespace karvex {

namespace {

struct ToolSpec
{
    const char* Key;
    const char* Caption;
    const char* Icon; // "" for none
    const char* Category;
};

// Menu tools, in the order they are created.
constexpr ToolSpec kMenuTools[] = {
    { "New", "New", "pic_New", "File" },
    { "Open", "Open", "pic_Open", "File" },
    { "Save", "Save", "pic_Save", "File" },
    { "SaveAs", "Save As...", "", "File" },
    { "Close", "Close", "", "File" },
    { "CloseAll", "Close All", "", "File" },
    { "Option", "Option", "", "File" },
    { "Exit", "Exit", "", "File" },
    { "Recentfile", "Recent Files", "", "Recent" },
    { "Redo", "Redo", "pic_Redo", "Edit" },
    { "Undo", "Undo", "pic_Undo", "Edit" },
    { "Cut", "Cut", "pic_Cut", "Edit" },
    { "Copy", "Copy", "pic_Copy", "Edit" },
    { "Paste", "Paste", "pic_Paste", "Edit" },
    { "Delete", "Delete", "pic_Delete", "Edit" },
    { "Lock", "Lock Hotspots", "pic_Lock", "Edit" },
    { "Edit_Fig", "Edit Hotspot", "pic_Edit", "Edit" },
    { "Exp_CopyMap", "Export Map to Clipboard", "", "Edit" },
    { "Pointer", "Pointer", "pic_Pointer", "Mapping" },
    { "Rectangle", "Rectangle", "pic_Rectangle", "Mapping" },
    { "Circle", "Circle", "pic_Circle", "Mapping" },
    { "Polygon", "Polygon", "pic_Polygon", "Mapping" },
    { "Wizard", "Hotspot Wizard", "pic_Hotspot", "Mapping" },
    { "Help1", "Help", "", "Help" },
    { "About", "About", "", "Help" },
    { "ViewProperties", "Properties", "", "View" },
    { "ViewStatusbar", "Statusbar", "", "View" },
    { "ViewToolbar", "Toolbar", "", "View" },
    { "ViewLabels", "Hotspot Labels", "", "View" },
    { "Webpage1", "Karvex Homepage", "", "Web" },
    { "Webpage2", "Karvex Feedback page", "", "Web" },
    { "Report", "Brindlemoor Bug Report Page", "", "Web" },
    { "Webpage3", "Brindlemoor Entertainment", "", "Web" },
};

struct MenuEntry
{
    const char* Key; // a tool, or a sub-menu when SubMenuCaption is set
    bool SeparatorBefore = false;
    const char* SubMenuCaption = nullptr;
};

struct MenuSpec
{
    const char* Key;
    const char* Caption;
    std::initializer_list<MenuEntry> Entries;
};

// The menu bar from left to right; sub-menus are created where they stand in their parent.
const MenuSpec kMenus[] = {
    { "File", "&File",
        { { "New" }, { "Open" }, { "MnuRecent", false, "Recent Files" }, { "Save", true },
            { "SaveAs" }, { "Close" }, { "CloseAll" }, { "Option", true }, { "Exit" } } },
    { "Edit", "&Edit",
        { { "Undo" }, { "Redo" }, { "Cut", true }, { "Copy" }, { "Paste" }, { "Delete" },
            { "Lock" }, { "Edit_Fig", true }, { "Exp_CopyMap" } } },
    { "Mapping", "Mapping",
        { { "Pointer" }, { "Rectangle" }, { "Circle" }, { "Polygon" }, { "Wizard", true } } },
    { "View", "View",
        { { "ViewProperties" }, { "ViewStatusbar" }, { "ViewToolbar" }, { "ViewLabels", true } } },
    { "Help", "Help", { { "Help1" }, { "MnuWeb", false, "On the web" }, { "About", true } } },
};

const MenuSpec kSubMenus[] = {
    // Holds the recent files; the placeholder stands (disabled) while there are none.
    { "MnuRecent", "Recent Files", { { "Recentfile" } } },
    { "MnuWeb", "On the web",
        { { "Webpage1" }, { "Webpage2" }, { "Report" }, { "Webpage3", true } } },
};

constexpr char kToolCategory[] = "tool_File";

struct ToolbarButton
{
    const char* Key;
    const char* Caption;
    const char* Icon;
    bool SeparatorBefore;
};

constexpr ToolbarButton kStandardButtons[] = {
    { "t_New", "New", "pic_New", false },
    { "t_Open", "Open", "pic_Open", false },
    { "t_Save", "Save", "pic_Save", false },
    { "t_Cut", "Cut", "pic_Cut", true },
    { "t_Copy", "Copy", "pic_Copy", false },
    { "t_Paste", "Paste", "pic_Paste", false },
    { "t_Delete", "Delete", "pic_Delete", false },
    { "t_Undo", "Undo", "pic_Undo", true },
    { "t_Redo", "Redo", "pic_Redo", false },
    { "t_Lock", "Lock", "pic_Lock", true },
    { "t_Mouse", "Pointer", "pic_Pointer", true },
    { "t_Rectangle", "Rectangle", "pic_Rectangle", false },
    { "t_Circle", "Circle", "pic_Circle", false },
    { "t_Polygon", "Polygon", "pic_Polygon", false },
    { "t_Rotate", "Rotate", "pic_Rotating", false },
    // The zoom drop-down "My_Zoom" stands here.
    { "t_Hotspot", "Hotspot Wizard", "pic_Hotspot", true },
    { "t_Support", "Support Lines", "pic_Support", true },
    { "t_Hide", "Hide Hotspots", "pic_Hide", false },
    { "t_Ruler", "Ruler", "pic_Ruler", false },
    { "t_Preview", "Preview", "pic_Preview", true },
};
constexpr char kZoomBeforeButton[] = "t_Hotspot";
constexpr char kZoomKey[] = "My_Zoom";

// "200%": a zoom as its drop-down entry and the status bar show it.
QString ZoomText(int percent) { return QString::number(percent) + "%"; }

constexpr ToolSpec kPopupTools[] = {
    { "pop_Cut", "Cut", "pic_Cut", "Pop_Figure" },
    { "pop_Copy", "Copy", "pic_Copy", "Pop_Figure" },
    { "pop_Paste", "Paste", "pic_Paste", "Pop_Figure" },
    { "pop_Delete", "Delete", "pic_Delete", "Pop_Figure" },
    { "pop_Lock", "Lock Hotspot", "pic_Lock", "Pop_Figure" },
    { "pop_Edit_Fig", "Edit Hotspot", "pic_Edit", "Pop_Figure" },
};

struct ShortcutSpec
{
    const char* Tool;
    const char* Keys;
};

constexpr ShortcutSpec kShortcuts[] = {
    { "New", "Ctrl+N" }, { "Open", "Ctrl+O" }, { "Save", "Ctrl+S" }, { "Exit", "Alt+Q" },
    { "Undo", "Ctrl+Z" }, { "Redo", "Ctrl+Shift+Z" }, { "Cut", "Ctrl+X" }, { "Copy", "Ctrl+C" },
    { "Paste", "Ctrl+V" }, { "Delete", "Ctrl+Del" }, { "Lock", "Ctrl+L" }, { "Edit_Fig", "Ctrl+E" },
    { "Pointer", "Alt+M" }, { "Rectangle", "Alt+R" }, { "Circle", "Alt+C" }, { "Polygon", "Alt+P" },
    { "Help1", "F1" }, { "Close", "Ctrl+W" }, // the usual close key of tabbed documents, free here
};

// Tools whose ticked state the program sets; they show a check or a pressed button.
constexpr const char* kTickableTools[] = { "t_Mouse", "t_Rectangle", "t_Circle", "t_Polygon",
    "t_Rotate", "t_Lock", "t_Support", "t_Hide", "t_Ruler", "Pointer", "Rectangle", "Circle",
    "Polygon", "Lock", "pop_Lock", "ViewProperties", "ViewStatusbar", "ViewToolbar", "ViewLabels" };

constexpr const char* kDocumentCommands[] = { "t_Cut", "t_Save", "t_Copy", "t_Paste", "t_Delete",
    "t_Undo", "Undo", "Redo", "t_Redo", "t_Lock", "t_Rectangle", "t_Circle", "t_Polygon", "t_Mouse",
    "t_Rotate", "My_Zoom", "t_Support", "t_Ruler", "t_Hide", "t_Preview", "Save", "SaveAs", "Edit",
    "Mapping", "Wizard", "t_Hotspot" };
constexpr const char* kDocumentReenabled[]
    = { "t_Ruler", "Edit", "Mapping", "Wizard", "t_Hotspot" };

constexpr const char* kFileCommands[] = { "t_Save", "Save", "SaveAs", "Close", "CloseAll" };

// Commands on the selected hotspot, with their pop-up twins.
constexpr const char* kSelectionCommands[]
    = { "t_Delete", "Delete", "t_Copy", "Copy", "t_Cut", "Cut", "Edit_Fig", "t_Lock", "Lock",
          "pop_Delete", "pop_Copy", "pop_Cut", "pop_Edit_Fig", "pop_Lock" };
constexpr const char* kLockTicks[] = { "t_Lock", "Lock", "pop_Lock" };
constexpr const char* kPasteCommands[] = { "t_Paste", "Paste", "pop_Paste" };

// One entry per tool code.
constexpr const char* kToolTicks[][2] = { { "t_Mouse", "Pointer" }, { "t_Rectangle", "Rectangle" },
    { "t_Circle", "Circle" }, { "t_Polygon", "Polygon" }, { "t_Rotate", nullptr } };

constexpr const char* kDrawingTools[] = { "t_Mouse", "t_Rectangle", "t_Circle", "t_Polygon",
    "t_Rotate", "Pointer", "Rectangle", "Circle", "Polygon" };
constexpr const char* kEditGroup[]
    = { "t_Cut", "t_Copy", "t_Paste", "t_Delete", "Cut", "Copy", "Paste", "Delete", "Edit_Fig",
          "Exp_CopyMap", "pop_Cut", "pop_Copy", "pop_Paste", "pop_Delete", "pop_Edit_Fig" };
constexpr const char* kUndoGroup[] = { "t_Undo", "t_Redo", "Undo", "Redo" };
constexpr const char* kLockGroup[] = { "t_Lock", "Lock", "pop_Lock" };
constexpr const char* kGuideGroup[] = { "t_Support", "t_Hide" };

struct ViewElementEntry
{
    ViewElement Element;
    const char* Bar;
    const char* MenuTool;
    const char* Setting; // stored in kvx.ini [Interface]: do not rename
    bool GlobalSettings::*Flag;
};

constexpr ViewElementEntry kViewElements[] = {
    { ViewElement::Toolbar, "Standard", "ViewToolbar", "Toolbar", &GlobalSettings::Toolbar },
    { ViewElement::Statusbar, kStatusBarKey, "ViewStatusbar", "Statusbar",
        &GlobalSettings::Statusbar },
    { ViewElement::Properties, "vfrm_Properties", "ViewProperties", "Properties",
        &GlobalSettings::Properties },
};

constexpr char kDescriptionPanel[] = "status_Description";
constexpr char kRotatePanel[] = "status_Rotate";
constexpr char kImageSizePanel[] = "status_ImageSize";
constexpr char kZoomPanel[] = "status_ZoomLevel";

template <std::size_t N>
void SetAllEnabled(CommandBars& bars, const char* const (&keys)[N], bool enabled)
{
    for (const char* key : keys)
        bars.SetEnabled(key, enabled);
}

void AddTool(CommandBars& bars, const ToolSpec& tool)
{
    bars.AddTool(tool.Key, tool.Caption, tool.Icon, tool.Category);
}

void AddMenuEntries(CommandBars& bars, const MenuSpec& menu)
{
    for (const MenuEntry& entry : menu.Entries) {
        if (entry.SubMenuCaption) {
            bars.AddMenu(entry.Key, entry.SubMenuCaption, menu.Key);
            for (const MenuSpec& subMenu : kSubMenus) {
                if (QString(subMenu.Key) == entry.Key)
                    AddMenuEntries(bars, subMenu);
            }
        } else {
            bars.AddToMenu(menu.Key, entry.Key, entry.SeparatorBefore);
        }
    }
}

void BuildMenus(CommandBars& bars)
{
    for (const ToolSpec& tool : kMenuTools)
        AddTool(bars, tool);
    for (const MenuSpec& menu : kMenus) {
        bars.AddMenu(menu.Key, menu.Caption);
        AddMenuEntries(bars, menu);
    }
    bars.SetEnabled("Recentfile", false);
}

void BuildToolbar(CommandBars& bars)
{
    bars.AddToolBar("Standard", "Standard");
    for (const ToolbarButton& button : kStandardButtons) {
        if (QString(button.Key) == kZoomBeforeButton) {
            bars.AddTool(kZoomKey, "", "pic_Zoom", "Zoom");
            QStringList entries;
            for (const ZoomLevel& level : kZoomLevels) {
                bars.AddTool(level.Key, ZoomText(level.Percent), "", "tool_Zoom");
                bars.SetTicked(level.Key, false);
                entries << level.Key;
            }
            bars.AddDropDownToToolBar("Standard", kZoomKey, entries, true);
            bars.Tool(kZoomKey)->setToolTip("Zoom");
        }
        bars.AddTool(button.Key, button.Caption, button.Icon, kToolCategory);
        bars.AddToToolBar("Standard", button.Key, button.SeparatorBefore);
    }
}

void BuildStatusBar(CommandBars& bars)
{
    bars.AddStatusPanel(kDescriptionPanel, 1);
    bars.AddStatusPanel(kRotatePanel);
    bars.AddStatusPanel(kImageSizePanel);
    bars.AddStatusPanel(kZoomPanel);
}

void BuildPopup(CommandBars& bars)
{
    bars.AddPopup("pop_Edit");
    for (const ToolSpec& tool : kPopupTools) {
        AddTool(bars, tool);
        bars.AddToPopup("pop_Edit", tool.Key);
    }
}

void BuildShortcuts(CommandBars& bars)
{
    for (const ShortcutSpec& shortcut : kShortcuts)
        bars.SetShortcut(shortcut.Tool, QKeySequence(QString(shortcut.Keys)));
}

} // namespace

void BuildCommandBars(CommandBars& bars)
{
    bars.Lock(true);
    BuildMenus(bars);
    BuildToolbar(bars);
    BuildStatusBar(bars);
    BuildPopup(bars);
    BuildShortcuts(bars);
    for (const char* key : kTickableTools)
        bars.SetTicked(key, false);
    bars.SetTicked("t_Mouse", true);
    bars.SetTicked("Pointer", true);
    bars.SetEnabled("t_Rotate", false);
    bars.Lock(false);
}

void EnableDocumentCommands(CommandBars& bars, bool disable)
{
    if (disable) {
        SetAllEnabled(bars, kDocumentCommands, false);
        bars.SetTicked("t_Lock", false);
    } else {
        SetAllEnabled(bars, kDocumentReenabled, true);
    }
}

void EnableFileCommands(CommandBars& bars, bool documentOpen)
{
    SetAllEnabled(bars, kFileCommands, documentOpen);
}

void UpdateEditCommands(CommandBars& bars, bool hotspotSelected, bool clipboardHasHotspot)
{
    SetAllEnabled(bars, kSelectionCommands, hotspotSelected);
    if (!hotspotSelected) {
        for (const char* key : kLockTicks)
            bars.SetTicked(key, false);
        // With a selection the rotate button follows the selected hotspot's shape and lock.
        bars.SetEnabled("t_Rotate", false);
    }
    SetAllEnabled(bars, kPasteCommands, clipboardHasHotspot);
}

void SetToolState(CommandBars& bars, Tool tool)
{
    constexpr int kToolCount = static_cast<int>(std::size(kToolTicks));
    const int toolCode = static_cast<int>(tool);
    if (toolCode < 0 || toolCode >= kToolCount)
        return;
    for (int code = 0; code < kToolCount; ++code) {
        for (const char* key : kToolTicks[code]) {
            if (key)
                bars.SetTicked(key, code == toolCode);
        }
    }
}

void SetPageModeCommands(
    CommandBars& bars, DocumentPage page, bool hotspotSelected, bool clipboardHasHotspot)
{
    const bool design = page == DocumentPage::Design;
    const bool preview = page == DocumentPage::Preview;
    const bool code = page == DocumentPage::Code;
    if (!design && !preview && !code)
        return;

    bars.Lock(true);
    SetAllEnabled(bars, kDrawingTools, design);
    if (design) {
        SetAllEnabled(bars, kEditGroup, true);
        UpdateEditCommands(bars, hotspotSelected, clipboardHasHotspot);
    } else if (preview) {
        SetAllEnabled(bars, kEditGroup, false);
    }
    SetAllEnabled(bars, kGuideGroup, design);
    bars.SetEnabled(kZoomKey, !code);
    if (preview)
        SetAllEnabled(bars, kUndoGroup, false);
    if (!code)
        SetAllEnabled(bars, kLockGroup, design);
    bars.SetEnabled("t_Preview", true);
    bars.SetEnabled("t_Ruler", !code);
    bars.Lock(false);
}

void SetViewElement(CommandBars& bars, AppState& state, ViewElement element, bool shown)
{
    for (const ViewElementEntry& view : kViewElements) {
        if (view.Element != element)
            continue;
        bars.SetBarVisible(view.Bar, shown);
        bars.SetTicked(view.MenuTool, shown);
        state.Settings.*view.Flag = shown;
        if (!state.SettingsPath.empty()) {
            SettingValue(state.SettingsPath, "Interface", view.Setting, SettingMode::Write,
                SettingText(shown));
        }
    }
}

void ApplyViewElements(CommandBars& bars, const AppState& state)
{
    for (const ViewElementEntry& view : kViewElements) {
        const bool shown = state.Settings.*view.Flag;
        bars.SetBarVisible(view.Bar, shown);
        bars.SetTicked(view.MenuTool, shown);
    }
    bars.SetTicked("ViewLabels", state.Settings.HotspotLabels);
}

void SetStatusText(CommandBars& bars, const QString& text, StatusPanel panel)
{
    const char* key = nullptr;
    QString shown = text;
    switch (panel) {
    case StatusPanel::Description:
    case StatusPanel::Link:
        key = kDescriptionPanel;
        break;
    case StatusPanel::PictureSize:
        key = kImageSizePanel;
        break;
    case StatusPanel::Rotation:
        key = kRotatePanel;
        shown += QChar(0x00B0);
        break;
    default:
        return;
    }
    bars.Lock(true);
    bars.SetPanelText(key, shown);
    bars.Lock(false);
}

void ShowDocumentPanels(CommandBars& bars, bool show)
{
    bars.Lock(true);
    bars.SetPanelVisible(kZoomPanel, show);
    bars.SetPanelVisible(kImageSizePanel, show);
    bars.Lock(false);
}

void ShowZoomInBars(CommandBars& bars, int percent)
{
    bars.Lock(true);
    for (const ZoomLevel& level : kZoomLevels)
        bars.SetTicked(level.Key, level.Percent == percent);
    bars.SetPanelText(kZoomPanel, ZoomText(percent));
    bars.Lock(false);
}

} // namespace karvex
