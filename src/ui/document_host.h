#pragma once

// What a document window and the property panel need from the program around it: the model
// state, the command states, the status bar and the shell. The editor implements it. Changes to
// a document go through the window's DocumentModel, which tells the views itself.

#include "core/model/records.h"

#include <QPoint>
#include <QString>
#include <string>

namespace karvex {

struct AppState;
class DocumentWindow;
class Prompt;

// The status bar's panels for text; the numbers are the panels' fixed codes.
enum class StatusPanel : int {
    Description = 0, // what the gesture under way does
    PictureSize = 1,
    Link = 4, // the link of the hotspot under the pointer (shown where the description is)
    Rotation = 5, // the angle while rotating; a degree sign is added
};

class DocumentHost
{
public:
    virtual ~DocumentHost() = default;

    virtual AppState& State() = 0;
    virtual Prompt& Prompts() = 0;
    // The window of the current document; nullptr when none is open.
    virtual DocumentWindow* ActiveWindow() const = 0;

    // Back to the pointer tool after a figure was drawn or edited.
    virtual void ResetToolButtons() = 0;
    virtual void SetUndoState(bool canUndo, bool canRedo) = 0;
    // The surface changed its zoom itself: show it without setting it again.
    virtual void ShowZoom(int percent) = 0;
    virtual void SetStatusText(const QString& text, StatusPanel panel) = 0;
    virtual void SetLockTicked(bool locked) = 0;
    // A hotspot was selected (slot) or the selection cleared (0): edit and rotate commands.
    virtual void SelectionChanged(int slot) = 0;
    virtual void SetPageMode(DocumentPage page) = 0;
    virtual void ShowEditPopup(const QPoint& globalPos) = 0;
    // The code edit dialog for the hotspot of that name.
    virtual void OpenCodeEditor(const std::string& name) = 0;
    virtual void OpenUrl(const std::string& url) = 0;
    // Editing operations on the current hotspot, as the property panel asks for them.
    // RenameHotspot is false when the name was its own or refused as taken (with a message).
    virtual bool RenameHotspot(const std::string& newName) = 0;
    virtual bool ChangeShape(const std::string& value, bool tellSurface) = 0;
    virtual void SetHotspotLocked(bool locked) = 0;
    virtual void UpdateRotateCommand(int slot, bool locked) = 0;
    // Asked before the window closes; false keeps it open.
    virtual bool QueryCloseDocument(int slot) = 0;
    // Told after the window closed.
    virtual void DocumentClosed(int slot) = 0;
};

} // namespace karvex
