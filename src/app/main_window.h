#pragma once

// The main window: menus, the document area and the docked property window. It only wires
// things together; documents, commands and panels live in their own modules.

#include "app/welcome_screen.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>

class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QDockWidget;
class QMdiArea;

namespace karvex {

struct AppState;
class CHTMLHelp;
class CommandBars;
class DocumentWindow;
class Editor;
class Prompt;
class PropertyPanel;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(AppState& state, Prompt& prompt, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load sequence: settings, document table, panels, menus, then the file named on
    // the command line.
    void Load(const QString& commandLine);

    // The command-line path with its double quotes removed, as Load found it.
    const QString& CommandLinePath() const { return m_commandLinePath; }

    // The welcome screen is due at the end of the start when ini_WelcomeScreen is on and no
    // file from the command line was opened (that file is what the user came for).
    bool WelcomeScreenDue() const;
    // Shows it, modal, without waiting for it to close; nullptr while it is not shown.
    void ShowWelcomeScreen();
    WelcomeScreen* Welcome() const { return m_welcome; }

    QMdiArea* DocumentArea() const { return m_documentArea; }
    QDockWidget* PropertiesDock() const { return m_propertiesDock; }
    PropertyPanel& Panel() const { return *m_propertyPanel; }
    CommandBars& Bars() const { return *m_bars; }
    Editor& DocumentEditor() const { return *m_editor; }

    // A help topic by context id, in the help window; the help is made on first use.
    void ShowHelpTopic(int contextId);
    // The help, once a topic was asked for; released (its window closed) at unload.
    CHTMLHelp* Help() const { return m_help.get(); }

    // What a click on a menu entry, toolbar button or pop-up entry with this key does.
    void RunCommand(const QString& key);

    // Asks every document window to close; false when one stays open, which cancels the
    // shutdown.
    bool QueryUnload();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Pages, projects, map files and pictures dropped on the window are opened, each of them.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreatePropertiesDock();
    void CreateCommands();
    void ShowAbout();
    void OpenInBrowser(const std::string& url);
    void Unload();
    // The title names the active document and shows its "changed" mark.
    void FollowActiveDocument(DocumentWindow* window);
    void UpdateTitle();

    AppState& m_state;
    Prompt& m_prompt;
    QMdiArea* m_documentArea = nullptr;
    QDockWidget* m_propertiesDock = nullptr;
    PropertyPanel* m_propertyPanel = nullptr;
    CommandBars* m_bars = nullptr;
    Editor* m_editor = nullptr;
    QString m_commandLinePath;
    bool m_commandLineOpened = false;
    QPointer<WelcomeScreen> m_welcome;
    QMetaObject::Connection m_titleFollows;
    std::unique_ptr<CHTMLHelp> m_help;
};

} // namespace karvex
