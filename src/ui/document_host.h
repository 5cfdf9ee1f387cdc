#pragma once

// What a document window needs from the program around it: the model state, the command
// states, the status bar, the views that mirror the model, and the shell. The editor
// implements it; the window only reports and asks through it.

#include <QPoint>
#include <QString>
#include <string>

namespace karvex {

struct AppState;
class DocumentWindow;
class Prompt;

// The property panel and the code view follow hotspot changes through these calls.
class ModelViews
{
public:
    virtual ~ModelViews() = default;

    virtual void HotspotAdded(int slot) { (void)slot; }
    virtual void HotspotRemoved(int slot) { (void)slot; }
    virtual void HotspotChanged(int slot) { (void)slot; }
    virtual void HotspotRenamed(int slot, const std::string& oldName) { (void)slot, (void)oldName; }
    virtual void HotspotSelected(int slot) { (void)slot; }
    virtual void MapSelected() { }
    virtual void DragTracking(int x1, int y1, int x2, int y2)
    {
        (void)x1, (void)y1, (void)x2, (void)y2;
    }
    virtual void SetPanelEnabled(bool enabled) { (void)enabled; }
    // The IMG tag of the current document changed, and with mapTags its MAP start tag too.
    virtual void ImageTagChanged(bool mapTags) { (void)mapTags; }
    // Another document became current; its names are already in HotspotNames.
    virtual void DocumentActivated(int slot) { (void)slot; }
    // A document window closed; anyOpen tells whether another one is still open.
    virtual void DocumentClosed(int slot, bool anyOpen) { (void)slot, (void)anyOpen; }
};

class DocumentHost
{
public:
    virtual ~DocumentHost() = default;

    virtual AppState& State() = 0;
    virtual ModelViews& Views() = 0;
    virtual Prompt& Prompts() = 0;
    // The window of the current document; nullptr when none is open.
    virtual DocumentWindow* ActiveWindow() const = 0;

    // Marks the current document changed or saved, with the caption's "*".
    virtual void SetChanged(bool changed) = 0;
    // Back to the pointer tool after a figure was drawn or edited.
    virtual void ResetToolButtons() = 0;
    virtual void SetUndoState(bool canUndo, bool canRedo) = 0;
    // The surface changed its zoom itself: show it without setting it again.
    virtual void ShowZoom(int percent) = 0;
    // Panels: 0 or 4 description, 1 picture size, 5 rotation (a degree sign is added).
    virtual void SetStatusText(const QString& text, int panel) = 0;
    virtual void SetLockTicked(bool locked) = 0;
    // A hotspot was selected (slot) or the selection cleared (0): edit and rotate commands.
    virtual void SelectionChanged(int slot) = 0;
    virtual void SetPageMode(int mode) = 0;
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
