#pragma once

// The main window's menus, "Standard" toolbar, pop-up menu, shortcut keys and status bar, and
// the rules that keep their enabled, ticked and visible states in step with the program.

#include "ui/document_host.h"

#include <QString>
#include <string>
#include <vector>

namespace karvex {

struct AppState;
class CommandBars;

// Creates every tool, the menu tree, the toolbar with the zoom drop-down "My_Zoom", the status
// panels, the pop-up menu "pop_Edit" and the shortcut keys. Afterwards the pointer tool is
// ticked and "t_Rotate" is disabled. Every tool gets a status tip, and toolbar tooltips name
// the shortcut of their menu twin.
void BuildCommandBars(CommandBars& bars);

// The Recent Files menu: one numbered entry per path, "Recentfile1" to "Recentfile10", for the
// first kRecentFilesShown paths; the disabled "Recentfile" entry says when there are none.
void ShowRecentFiles(CommandBars& bars, const std::vector<std::string>& paths);
// The entry number of a Recent Files tool key ("Recentfile3" gives 3); 0 for any other key.
int RecentFileNumber(const QString& key);

// The "no document" rule: disable true disables every command that needs a document.
void EnableDocumentCommands(CommandBars& bars, bool disable);
void EnableFileCommands(CommandBars& bars, bool documentOpen);
void UpdateEditCommands(CommandBars& bars, bool hotspotSelected, bool clipboardHasHotspot);

// The editor's tools, as the tool buttons and menu entries tick them.
enum class Tool : int {
    Pointer = 0,
    Rectangle = 1,
    Circle = 2,
    Polygon = 3,
    Rotate = 4,
};

void SetToolState(CommandBars& bars, Tool tool);

// The command groups of the document window's page.
void SetPageModeCommands(
    CommandBars& bars, DocumentPage page, bool hotspotSelected, bool clipboardHasHotspot);

// The parts of the main window the View menu shows and hides.
enum class ViewElement : int {
    Toolbar = 1, // the "Standard" toolbar
    Statusbar = 2,
    Properties = 3, // the properties window
};

// Shows or hides an element: its visibility and View menu tick, its flag in state.Settings and
// in [Interface] of state.SettingsPath.
void SetViewElement(CommandBars& bars, AppState& state, ViewElement element, bool shown);
// The stored flags of every element applied at start-up, without writing.
void ApplyViewElements(CommandBars& bars, const AppState& state);

// The description and link share the first panel; a rotation angle gets a degree sign.
void SetStatusText(CommandBars& bars, const QString& text, StatusPanel panel);

// Shows or hides the zoom and picture size panels, which only mean something with a document.
void ShowDocumentPanels(CommandBars& bars, bool show);

// Ticks the zoom entry of the percent (none for a percent not offered) and shows the percent
// in the status bar.
void ShowZoomInBars(CommandBars& bars, int percent);

} // namespace karvex
