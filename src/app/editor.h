#pragma once

// The editor's operations on documents and hotspots: creating, opening, saving, activating
// and closing documents; drawing tools, delete, lock, hide, support lines, rulers, undo;
// zoom and status bar. Command dispatch and the document windows call in here.

#include "app/command_layout.h"
#include "core/formats/html_import.h"
#include "ui/document_host.h"

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QMdiArea;
class QMdiSubWindow;

namespace karvex {

class CodeEditDialog;
class CommandBars;
class DocumentWindow;
class Prompt;
class SystemClipboard;

class Editor : public QObject, public DocumentHost
{
    Q_OBJECT

public:
    using UrlOpener = std::function<void(const std::string& url)>;

    Editor(AppState& state, Prompt& prompt, CommandBars& bars, QMdiArea& area,
        QObject* parent = nullptr);

    // Where web pages and hotspot links are opened; the editor uses the desktop's browser.
    void SetUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }
    // Runs the code edit dialog; true when it was closed with a clean text. Tests replace it.
    using CodeDialogRunner = std::function<bool(CodeEditDialog& dialog)>;
    void SetCodeDialogRunner(CodeDialogRunner runner) { m_runCodeDialog = std::move(runner); }
    // Where help topics are shown, by context id; the main window's help window.
    using HelpOpener = std::function<void(int contextId)>;
    void SetHelpOpener(HelpOpener opener) { m_showHelp = std::move(opener); }
    void ShowHelp(int contextId);

    // Documents
    void NewDocumentFromPicture(const std::string& path);
    bool OpenDocument(const std::string& path, bool picturesAllowed);
    bool SaveDocument(bool useKnownPath, int slot);
    void ActivateDocument(int slot);
    void CloseActiveDocument();
    // False when a document stayed open (the user cancelled).
    bool CloseAllDocuments();
    void ReportUnsupportedFile();
    // The welcome screen's first choice: the next new document closes the welcome screen
    // (welcomeScreenDone) once its window is shown.
    void SetStartedFromWelcome(bool started) { m_startedFromWelcome = started; }
    // The current map in the desktop's browser, written as the [ExternalPreview] settings say.
    void Preview();
    DocumentWindow* ActiveWindow() const override;
    DocumentWindow* WindowFor(int slot) const;

    // Hotspots and view
    void DeleteHotspot(bool askWhenLocked);
    // The program's own hotspot clipboard: whole records, pasted into any document.
    void CopyHotspot();
    void CutHotspot();
    void PasteHotspot();
    // The desktop's clipboard: the current hotspot's AREA tag, or the whole map code.
    enum class ExportKind { Hotspot, Map };
    void ExportToClipboard(ExportKind kind);
    // One AREA tag from the desktop's clipboard as a new hotspot; "error-Impo.CLIP" otherwise.
    void ImportFromClipboard();
    // The clipboard the export and import use; the desktop's unless a test gives another.
    void SetSystemClipboard(SystemClipboard& clipboard) { m_clipboard = &clipboard; }
    // Renames the current hotspot; false when the name is its own or refused as taken (the
    // caller then shows the old name again).
    bool RenameHotspot(const std::string& newName) override;
    // "Rectangle"/"1", "Circle"/"2", "Polygon"/"3" for the current hotspot; false otherwise.
    bool ChangeShape(const std::string& value, bool tellSurface) override;
    void SetHotspotLocked(bool locked) override;
    void ToggleLock();
    void ToggleHideHotspots(bool applyOnly);
    void ToggleSupportLines();
    // Shows or hides the hotspots' labels in every document; kept in kvx.ini.
    void ToggleHotspotLabels();
    // Applies the loaded settings to everything already on screen: every open document's
    // drawing surface, rulers, code page and code box, the view switches, and (through
    // settingsApplied) the property panel. Called after the settings file was reloaded.
    void ApplySettings();
    void ToggleRulers(bool applyOnly);
    void SetTool(Tool tool);
    void Undo();
    void Redo();
    void UpdateRotateCommand(int slot, bool locked) override;
    Tool CurrentTool() const { return m_tool; }
    // The hotspot wizard on the current document, shown modally.
    void ShowHotspotWizard();
    // The options dialog, shown modally. When it wrote the settings file (OK or Reset), the
    // reloaded settings are applied to everything open.
    void ShowOptions();

    // Recent files: the list from kvx.ini in the Recent Files menu, the entry number n
    // (1-based) opened, a file that has gone taken off with a message.
    void LoadRecentFiles();
    void OpenRecentFile(int number);
    const std::vector<std::string>& RecentFiles() const { return m_recentFiles; }

    // Zoom and status bar
    void SetZoom(const QString& key, bool tellSurface);
    void ShowImageSize(const std::string& width, const std::string& height);

    // DocumentHost
    AppState& State() override { return m_state; }
    Prompt& Prompts() override { return m_prompt; }
    void ResetToolButtons() override { SetTool(Tool::Pointer); }
    void SetUndoState(bool canUndo, bool canRedo) override;
    void ShowZoom(int percent) override;
    void SetStatusText(const QString& text, StatusPanel panel) override;
    void SetLockTicked(bool locked) override;
    void SelectionChanged(int slot) override;
    void SetPageMode(DocumentPage page) override;
    void ShowEditPopup(const QPoint& globalPos) override;
    void OpenCodeEditor(const std::string& name) override;
    void OpenUrl(const std::string& url) override;
    bool QueryCloseDocument(int slot) override;
    void DocumentClosed(int slot) override;

signals:
    // Another document became current (its names are already in HotspotNames); the panel
    // follows its window.
    void documentActivated(karvex::DocumentWindow* window);
    // A document window closed; anyOpen tells whether another one is still open.
    void documentClosed(int slot, bool anyOpen);
    // A new document started from the welcome screen has its window.
    void welcomeScreenDone();
    // ApplySettings brought the documents in line with reloaded settings; the panel follows.
    void settingsApplied();

private:
    QMdiSubWindow* SubWindowFor(int slot) const;
    void AddDocumentWindow(int slot, const QImage& picture);
    // Opens a window for a document a reader made; false (after the message) when it failed.
    bool ShowImportedDocument(ImportResult result);
    void UpdateFileCommands();
    // Where the file dialogs start: the current document's folder, else the last folder a file
    // was chosen in ("" when none was yet).
    std::string DialogFolder() const;
    void RememberFolder(const std::string& path);
    // The name Save As offers: the document's file name, or its picture's name as a page.
    static std::string SuggestedFileName(const Document& doc);
    void ApplyCodeEdit(int slot, const std::string& text, const std::string& coordsAtOpening);
    bool ClipboardHasHotspot() const;
    // Asks before a locked hotspot is deleted or cut; true on Yes.
    bool ConfirmLockedDelete();
    bool HotspotSelected() const;
    // Puts a file just opened or saved at the top of the recent files.
    void RememberRecentFile(const std::string& path);

    AppState& m_state;
    Prompt& m_prompt;
    CommandBars& m_bars;
    QMdiArea& m_area;
    UrlOpener m_openUrl;
    CodeDialogRunner m_runCodeDialog;
    HelpOpener m_showHelp;
    SystemClipboard* m_clipboard = nullptr;
    Tool m_tool = Tool::Pointer;
    int m_activatedSlot = 0; // the document the last activation made current
    std::string m_lastFolder;
    std::vector<std::string> m_recentFiles;
    bool m_lastOpenCancelled = false; // the last open ended in a cancelled choice of map
    bool m_startedFromWelcome = false;
};

} // namespace karvex
