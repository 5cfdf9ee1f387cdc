#include "app/command_layout.h"

#include "components/command_bars/command_bars.h"
#include "core/model/app_state.h"
#include "core/model/zoom_levels.h"
#include "core/settings/recent_files.h"
#include "core/settings/settings.h"
#include "ui/qt_text.h"

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
    { "Recentfile", "No Recent Files", "", "Recent" },
    { "Redo", "Redo", "pic_Redo", "Edit" },
    { "Undo", "Undo", "pic_Undo", "Edit" },
    { "Cut", "Cut", "pic_Cut", "Edit" },
    { "Copy", "Copy", "pic_Copy", "Edit" },
    { "Paste", "Paste", "pic_Paste", "Edit" },
    { "Delete", "Delete", "pic_Delete", "Edit" },
    { "Lock", "Lock Hotspots", "pic_Lock", "Edit" },
    { "Edit_Fig", "Edit Hotspot", "pic_Edit", "Edit" },
    { "Exp_Copy", "Export Hotspot to Clipboard", "", "Edit" },
    { "Exp_CopyMap", "Export Map to Clipboard", "", "Edit" },
    { "Imp_Paste", "Import Hotspot from Clipboard", "", "Edit" },
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
        { { "New" }, { "Open" }, { "MnuRecent", false, "&Recent Files" }, { "Save", true },
            { "SaveAs" }, { "Close" }, { "CloseAll" }, { "Option", true }, { "Exit" } } },
    { "Edit", "&Edit",
        { { "Undo" }, { "Redo" }, { "Cut", true }, { "Copy" }, { "Paste" }, { "Delete" },
            { "Lock" }, { "Edit_Fig", true }, { "Exp_Copy", true }, { "Exp_CopyMap" },
            { "Imp_Paste" } } },
    { "Mapping", "M&apping", // Alt+M is the pointer tool
        { { "Pointer" }, { "Rectangle" }, { "Circle" }, { "Polygon" }, { "Wizard", true } } },
    { "View", "&View",
        { { "ViewProperties" }, { "ViewStatusbar" }, { "ViewToolbar" }, { "ViewLabels", true } } },
    { "Help", "&Help", { { "Help1" }, { "MnuWeb", false, "On the &web" }, { "About", true } } },
};

const MenuSpec kSubMenus[] = {
    // Holds the recent files (added by BuildMenus); the placeholder stands, disabled, while
    // there are none.
    { "MnuRecent", "&Recent Files", { { "Recentfile" } } },
    { "MnuWeb", "On the &web",
        { { "Webpage1" }, { "Webpage2" }, { "Report" }, { "Webpage3", true } } },
};

constexpr char kRecentFileKey[] = "Recentfile";

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
    const char* Keys; // "; " between several keys, the first shown in the menu
};

constexpr ShortcutSpec kShortcuts[] = {
    { "New", "Ctrl+N" }, { "Open", "Ctrl+O" }, { "Save", "Ctrl+S" }, { "SaveAs", "Ctrl+Shift+S" },
    { "Exit", "Ctrl+Q; Alt+Q" }, { "Undo", "Ctrl+Z" }, { "Redo", "Ctrl+Shift+Z; Ctrl+Y" },
    { "Cut", "Ctrl+X" }, { "Copy", "Ctrl+C" }, { "Paste", "Ctrl+V" },
    { "Exp_Copy", "Ctrl+Shift+C" }, { "Imp_Paste", "Ctrl+Shift+V" },
    // Plain Del only where a hotspot has the focus: see DeleteKeyGuard.
    { "Delete", "Del; Ctrl+Del" }, { "Lock", "Ctrl+L" }, { "Edit_Fig", "Ctrl+E" },
    { "Pointer", "Alt+M" }, { "Rectangle", "Alt+R" }, { "Circle", "Alt+C" }, { "Polygon", "Alt+P" },
    { "Help1", "F1" }, { "Close", "Ctrl+W" }, // the usual close key of tabbed documents
};

struct TwinSpec
{
    const char* Tool;
    const char* MenuTool;
};

// Toolbar buttons and pop-up entries with the menu tool they stand for: they share its status
// tip, and a toolbar tooltip names its shortcut.
constexpr TwinSpec kTwins[] = {
    { "t_New", "New" },
    { "t_Open", "Open" },
    { "t_Save", "Save" },
    { "t_Cut", "Cut" },
    { "t_Copy", "Copy" },
    { "t_Paste", "Paste" },
    { "t_Delete", "Delete" },
    { "t_Undo", "Undo" },
    { "t_Redo", "Redo" },
    { "t_Lock", "Lock" },
    { "t_Mouse", "Pointer" },
    { "t_Rectangle", "Rectangle" },
    { "t_Circle", "Circle" },
    { "t_Polygon", "Polygon" },
    { "t_Hotspot", "Wizard" },
    { "pop_Cut", "Cut" },
    { "pop_Copy", "Copy" },
    { "pop_Paste", "Paste" },
    { "pop_Delete", "Delete" },
    { "pop_Lock", "Lock" },
    { "pop_Edit_Fig", "Edit_Fig" },
};

struct StatusTipSpec
{
    const char* Tool;
    const char* Text;
};

// What the status bar says while the pointer rests on a command (twins take their tool's).
constexpr StatusTipSpec kStatusTips[] = {
    { "New", "Starts a new image map on a picture." },
    { "Open", "Opens a page, a map file, a project or a picture." },
    { "MnuRecent", "Opens one of the files you worked on last." },
    { "Recentfile", "Opens one of the files you worked on last." },
    { "Save", "Saves the image map." },
    { "SaveAs", "Saves the image map under another name or in another format." },
    { "Close", "Closes the image map." },
    { "CloseAll", "Closes every open image map." },
    { "Option", "Changes the settings of Karvex." },
    { "Exit", "Closes Karvex." },
    { "Undo", "Undoes the last change." },
    { "Redo", "Does the last undone change again." },
    { "Cut", "Moves the selected hotspot to the clipboard." },
    { "Copy", "Copies the selected hotspot to the clipboard." },
    { "Paste", "Adds the hotspot on the clipboard to the image map." },
    { "Delete", "Deletes the selected hotspot." },
    { "Lock", "Locks the selected hotspot against changes, or unlocks it." },
    { "Edit_Fig", "Edits the HTML code of the selected hotspot." },
    { "Exp_Copy", "Copies the AREA tag of the selected hotspot to the clipboard as text." },
    { "Exp_CopyMap", "Copies the HTML code of the whole image map to the clipboard." },
    { "Imp_Paste", "Adds a hotspot made from an AREA tag copied as text, from a web page say." },
    { "Pointer", "Selects, moves and resizes hotspots." },
    { "Rectangle", "Draws a rectangular hotspot." },
    { "Circle", "Draws a circular hotspot." },
    { "Polygon", "Draws a polygon hotspot, one corner per click." },
    { "Wizard", "Makes a grid of hotspots from the selected hotspot." },
    { "Help1", "Shows the help pages." },
    { "MnuWeb", "Karvex pages on the web." },
    { "About", "Shows the version of Karvex and its credits." },
    { "ViewProperties", "Shows or hides the properties window." },
    { "ViewStatusbar", "Shows or hides the status bar." },
    { "ViewToolbar", "Shows or hides the toolbar." },
    { "ViewLabels", "Shows or hides each hotspot's alternative text or name on the picture." },
    { "Webpage1", "Opens the Karvex homepage in your web browser." },
    { "Webpage2", "Opens the Karvex feedback page in your web browser." },
    { "Report", "Opens the page for reporting a bug in your web browser." },
    { "Webpage3", "Opens the Brindlemoor Entertainment site in your web browser." },
    { "t_Rotate", "Rotates the selected hotspot; it becomes a polygon." },
    { "My_Zoom", "Chooses how large the picture is shown." },
    { "t_Support", "Shows or hides support lines that follow the pointer." },
    { "t_Hide", "Hides the hotspots on the picture, or shows them again." },
    { "t_Ruler", "Shows or hides the rulers." },
    { "t_Preview", "Previews the image map." },
};

// Tools whose ticked state the program sets; they show a check or a pressed button.
constexpr const char* kTickableTools[] = { "t_Mouse", "t_Rectangle", "t_Circle", "t_Polygon",
    "t_Rotate", "t_Lock", "t_Support", "t_Hide", "t_Ruler", "Pointer", "Rectangle", "Circle",
    "Polygon", "Lock", "pop_Lock", "ViewProperties", "ViewStatusbar", "ViewToolbar", "ViewLabels" };

constexpr const char* kDocumentCommands[] = { "t_Cut", "t_Save", "t_Copy", "t_Paste", "t_Delete",
    "t_Undo", "Undo", "Redo", "t_Redo", "t_Lock", "t_Rectangle", "t_Circle", "t_Polygon", "t_Mouse",
    "t_Rotate", "My_Zoom", "t_Support", "t_Ruler", "t_Hide", "t_Preview", "Save", "SaveAs", "Edit",
    "Mapping", "Wizard", "t_Hotspot", "Paste", "pop_Paste", "Exp_CopyMap", "Imp_Paste",
    // Their menus are disabled, but their shortcut keys would still reach them.
    "Rectangle", "Circle", "Polygon", "Cut", "Copy", "Delete", "Lock", "Edit_Fig", "Exp_Copy",
    "pop_Cut", "pop_Copy", "pop_Delete", "pop_Lock", "pop_Edit_Fig" };
constexpr const char* kDocumentReenabled[]
    = { "t_Ruler", "Edit", "Mapping", "Wizard", "t_Hotspot" };

constexpr const char* kFileCommands[] = { "t_Save", "Save", "SaveAs", "Close", "CloseAll" };

// Commands on the selected hotspot, with their pop-up twins.
constexpr const char* kSelectionCommands[]
    = { "t_Delete", "Delete", "t_Copy", "Copy", "t_Cut", "Cut", "Edit_Fig", "t_Lock", "Lock",
          "Exp_Copy", "pop_Delete", "pop_Copy", "pop_Cut", "pop_Edit_Fig", "pop_Lock" };
constexpr const char* kLockTicks[] = { "t_Lock", "Lock", "pop_Lock" };
constexpr const char* kPasteCommands[] = { "t_Paste", "Paste", "pop_Paste" };

// One entry per tool code.
constexpr const char* kToolTicks[][2] = { { "t_Mouse", "Pointer" }, { "t_Rectangle", "Rectangle" },
    { "t_Circle", "Circle" }, { "t_Polygon", "Polygon" }, { "t_Rotate", nullptr } };

constexpr const char* kDrawingTools[] = { "t_Mouse", "t_Rectangle", "t_Circle", "t_Polygon",
    "t_Rotate", "Pointer", "Rectangle", "Circle", "Polygon" };
constexpr const char* kEditGroup[] = { "t_Cut", "t_Copy", "t_Paste", "t_Delete", "Cut", "Copy",
    "Paste", "Delete", "Edit_Fig", "Exp_Copy", "Exp_CopyMap", "Imp_Paste", "pop_Cut", "pop_Copy",
    "pop_Paste", "pop_Delete", "pop_Edit_Fig" };
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
    for (std::size_t number = 1; number <= kRecentFilesShown; ++number) {
        const QString key = kRecentFileKey + QString::number(number);
        QAction* entry = bars.AddTool(key, {}, "", "Recent");
        entry->setStatusTip("Opens one of the files you worked on last.");
        entry->setVisible(false);
        bars.AddToMenu("MnuRecent", key);
    }
}

void BuildToolbar(CommandBars& bars)
{
    bars.AddToolBar("Standard", "Standard");
    for (const ToolbarButton& button : kStandardButtons) {
        if (QString(button.Key) == kZoomBeforeButton) {
            bars.AddTool(kZoomKey, "", "pic_Zoom", "Zoom")->setToolTip("Zoom");
            QStringList entries;
            for (const ZoomLevel& level : kZoomLevels) {
                bars.AddTool(level.Key, ZoomText(level.Percent), "", "tool_Zoom");
                bars.SetTicked(level.Key, false);
                entries << level.Key;
            }
            bars.AddDropDownToToolBar("Standard", kZoomKey, entries, true);
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
        bars.SetShortcuts(shortcut.Tool, QKeySequence::listFromString(shortcut.Keys));
}

void BuildHints(CommandBars& bars)
{
    for (const StatusTipSpec& tip : kStatusTips)
        bars.SetStatusTip(tip.Tool, tip.Text);
    for (const ZoomLevel& level : kZoomLevels)
        bars.SetStatusTip(level.Key, "Shows the picture at " + ZoomText(level.Percent) + ".");
    for (const TwinSpec& twin : kTwins) {
        QAction* tool = bars.Tool(twin.Tool);
        const QAction* menuTool = bars.Tool(twin.MenuTool);
        if (!tool || !menuTool)
            continue;
        bars.SetStatusTip(twin.Tool, menuTool->statusTip());
        if (!menuTool->shortcut().isEmpty()) {
            tool->setToolTip(tool->iconText() + " ("
                + menuTool->shortcut().toString(QKeySequence::NativeText) + ")");
        }
    }
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
    BuildHints(bars);
    for (const char* key : kTickableTools)
        bars.SetTicked(key, false);
    bars.SetTicked("t_Mouse", true);
    bars.SetTicked("Pointer", true);
    bars.SetEnabled("t_Rotate", false);
    bars.Lock(false);
}

void ShowRecentFiles(CommandBars& bars, const std::vector<std::string>& paths)
{
    bars.Lock(true);
    for (std::size_t number = 1; number <= kRecentFilesShown; ++number) {
        QAction* entry = bars.Tool(kRecentFileKey + QString::number(number));
        if (!entry)
            continue;
        if (number > paths.size()) {
            entry->setVisible(false);
            continue;
        }
        const QString path = ToDisplay(paths[number - 1]);
        // "&1" to "&9", then "1&0": the digit is the entry's access key.
        const QString numeral = number < 10 ? "&" + QString::number(number) : "1&0";
        entry->setText(numeral + " " + QString(path).replace('&', "&&"));
        entry->setStatusTip("Opens " + path + ".");
        entry->setVisible(true);
    }
    if (QAction* placeholder = bars.Tool(kRecentFileKey))
        placeholder->setVisible(paths.empty());
    bars.Lock(false);
}

int RecentFileNumber(const QString& key)
{
    if (!key.startsWith(kRecentFileKey, Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    const int number = key.mid(static_cast<int>(std::size(kRecentFileKey)) - 1).toInt(&ok);
    return ok && number >= 1 && number <= static_cast<int>(kRecentFilesShown) ? number : 0;
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
