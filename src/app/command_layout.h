#pragma once

// The main window's menus, "Standard" toolbar, pop-up menu, shortcut keys and status bar, and
// the rules that keep their enabled, ticked and visible states in step with the program.

#include "ui/document_host.h"

#include <QString>

namespace karvex {

struct AppState;
class CommandBars;

// Creates every tool, the menu tree, the toolbar with the zoom drop-down "My_Zoom", the status
// panels, the pop-up menu "pop_Edit" and the shortcut keys. Afterwards the pointer tool is
// ticked and "t_Rotate" is disabled.
void BuildCommandBars(CommandBars& bars);

// The "no document" rule: disable true disables every command that needs a document.
void EnableDocumentCommands(CommandBars& bars, bool disable);
void EnableFileCommands(CommandBars& bars, bool documentOpen);
void UpdateEditCommands(CommandBars& bars, bool hotspotSelected, bool clipboardHasHotspot);

// Tool codes: 0 pointer, 1 rectangle,
// 2 circle, 3 polygon, 4 rotate. Other codes change nothing.
// The editor's tools, as the tool buttons and menu entries tick them.
enum class Tool : int {
    Pointer = 0,
    Rectangle = 1,
    Circle = 2,
    Polygon = 3,
    Rotate = 4,
};

void SetToolState(CommandBars& bars, Tool tool);

// The command groups of the document window's page: 0 design, 1 code, 2 preview. Other modes
// change nothing.
void SetPageModeCommands(
    CommandBars& bars, int mode, bool hotspotSelected, bool clipboardHasHotspot);

// Elements: 1 the "Standard" toolbar, 2 the status bar, 3 the properties window; actions:
// 1 hide, 2 show. Sets the visibility and the View menu tick, stores the flag in
// state.Settings and writes it to [Interface] of state.SettingsPath. Element 99 applies all
// three stored flags without writing.
void SetViewElement(CommandBars& bars, AppState& state, int element, int action);

// Panels: 0 and 4 the description, 1 the picture size, 5 the rotation angle (a degree sign is
// appended). Other panel numbers change nothing.
void SetStatusText(CommandBars& bars, const QString& text, StatusPanel panel);

// Shows or hides the zoom and picture size panels, which only mean something with a document.
void ShowDocumentPanels(CommandBars& bars, bool show);

// Ticks the zoom entry of the percent (none for a percent not offered) and shows the percent
// in the status bar.
void ShowZoomInBars(CommandBars& bars, int percent);

} // namespace karvex
