#include "app/main_window.h"

#include "app/about_window.h"
#include "app/command_dispatch.h"
#include "app/command_layout.h"
#include "app/delete_key_guard.h"
#include "app/editor.h"
#include "app/html_help.h"
#include "app/program_folder.h"
#include "app/welcome_screen.h"
#include "components/command_bars/command_bars.h"
#include "core/model/app_state.h"
#include "core/util/prompt.h"
#include "karvex/version.h"
#include "ui/document_window.h"
#include "ui/property_panel.h"
#include "ui/qt_text.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

namespace karvex {

namespace {

constexpr int kPropertiesWidth = 290;

} // namespace

MainWindow::MainWindow(AppState& state, Prompt& prompt, QWidget* parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_prompt(prompt)
{
    setObjectName("TMPMainForm");
    setAcceptDrops(true);
    resize(1100, 760);
}

MainWindow::~MainWindow() = default;

void MainWindow::Load(const QString& commandLine)
{
    auto& log = m_state.Log;

    log.WriteLogEntry("#FRM_LOAD_Start", "#1");
    m_state.AppTitle = kProgramTitle;
    m_state.HelpFile = FromDisplay(ResolveHelpFile(ToDisplay(m_state.AppPath)));
    setWindowTitle(ToDisplay(m_state.AppTitle));
    m_state.SettingsPath = SettingsPathFor(m_state.AppPath);

    log.WriteLogEntry("#FRM_LOAD", "#2");
    EnsureSettings(m_state.SettingsPath, m_state.Settings);
    m_state.ErrorLogEnabled = m_state.Settings.ini_ErrorLog;
    log.SetEnabled(m_state.ErrorLogEnabled);

    log.WriteLogEntry("#FRM_LOAD", "#3");
    m_documentArea = new QMdiArea(this);
    m_documentArea->setObjectName("DocumentArea");
    m_documentArea->setViewMode(QMdiArea::TabbedView);
    m_documentArea->setTabsClosable(true);
    m_documentArea->setDocumentMode(true);
    setCentralWidget(m_documentArea);

    log.WriteLogEntry("#FRM_LOAD", "#4");
    m_state.Documents.assign(1, Document {});
    m_state.HotspotClipboard.assign(1, Hotspot {});
    m_state.CurrentImage = 1;

    log.WriteLogEntry("#FRM_LOAD", "#5");
    log.WriteLogEntry("#FRM_LOAD", "#6");
    CreatePropertiesDock();

    log.WriteLogEntry("#FRM_LOAD", "#7");
    CreateCommands();

    log.WriteLogEntry("#FRM_LOAD", "#8");
    ShowDocumentPanels(*m_bars, false);
    m_editor->LoadRecentFiles();
    SetStatusText(*m_bars, {}, StatusPanel::Description);

    log.WriteLogEntry("#FRM_LOAD", "#9");
    m_commandLinePath = QString(commandLine).remove('"').trimmed();
    if (!m_commandLinePath.isEmpty())
        m_commandLineOpened = m_editor->OpenDocument(FromDisplay(m_commandLinePath), true);

    log.WriteLogEntry("#FRM_LOAD", "#10");
    log.WriteLogEntry("#FRM_LOAD_Finished", "#11");
}

void MainWindow::CreatePropertiesDock()
{
    m_propertiesDock = new QDockWidget("Properties", this);
    m_propertiesDock->setObjectName("vfrm_Properties");
    m_propertiesDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    m_propertyPanel = new PropertyPanel(m_state, m_propertiesDock);
    m_propertiesDock->setWidget(m_propertyPanel);

    addDockWidget(Qt::RightDockWidgetArea, m_propertiesDock);
    resizeDocks({ m_propertiesDock }, { kPropertiesWidth }, Qt::Horizontal);
}

void MainWindow::CreateCommands()
{
    m_bars = new CommandBars(this);
    BuildCommandBars(*m_bars);
    m_bars->RegisterDock("vfrm_Properties", m_propertiesDock);
    m_editor = new Editor(m_state, m_prompt, *m_bars, *m_documentArea, this);
    m_propertyPanel->SetHost(m_editor);
    connect(m_editor, &Editor::documentActivated, m_propertyPanel, &PropertyPanel::FollowDocument);
    connect(m_editor, &Editor::documentClosed, m_propertyPanel, &PropertyPanel::DocumentClosed);
    connect(m_editor, &Editor::settingsApplied, m_propertyPanel, &PropertyPanel::ApplySettings);
    connect(m_editor, &Editor::documentActivated, this, &MainWindow::FollowActiveDocument);
    connect(m_editor, &Editor::documentClosed, this, [this](int, bool anyOpen) {
        if (!anyOpen)
            FollowActiveDocument(nullptr);
    });
    m_editor->SetUrlOpener([this](const std::string& url) { OpenInBrowser(url); });
    m_editor->SetHelpOpener([this](int contextId) { ShowHelpTopic(contextId); });
    connect(m_bars, &CommandBars::ToolClicked, this, &MainWindow::RunCommand);
    // A document's sub-window brings its own menu with Ctrl+W; the Close tool keeps that key.
    connect(m_documentArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window)
            m_bars->ClaimKeysFrom(window);
    });
    new DeleteKeyGuard(m_documentArea, this);
    connect(m_bars, &CommandBars::BarClosed, this,
        [this](const QString& key) { HandleBarClosed(key, *m_editor, *m_bars); });
    connect(m_bars, &CommandBars::BarShown, this,
        [this](const QString& key) { HandleBarShown(key, *m_editor, *m_bars); });

    EnableDocumentCommands(*m_bars, true);
    EnableFileCommands(*m_bars, false);
    ApplyViewElements(*m_bars, m_state);
}

void MainWindow::RunCommand(const QString& key)
{
    DispatchCommand(key, *m_editor, *m_bars, { [this] { close(); }, [this] { ShowAbout(); } });
}

void MainWindow::ShowAbout()
{
    AboutWindow about(m_state, this);
    about.exec();
}

bool MainWindow::WelcomeScreenDue() const
{
    return m_state.Settings.ini_WelcomeScreen && !m_commandLineOpened;
}

void MainWindow::ShowWelcomeScreen()
{
    if (m_welcome)
        return;
    m_welcome = new WelcomeScreen(
        *m_editor, *m_bars, [this](const QString& key) { RunCommand(key); }, this);
    m_welcome->setAttribute(Qt::WA_DeleteOnClose);
    m_welcome->open();
}

void MainWindow::OpenInBrowser(const std::string& url)
{
    QUrl target(ToDisplay(url));
    // A link relative to the page is looked up beside the document's file.
    if (target.isRelative() && m_state.CurrentDocument > 0) {
        const auto& doc = m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)];
        if (!doc.FilePath.empty()) {
            const QString folder = QFileInfo(ToDisplay(doc.FilePath)).absolutePath() + "/";
            target = QUrl::fromLocalFile(folder).resolved(target);
        }
    }
    QDesktopServices::openUrl(target);
}

void MainWindow::ShowHelpTopic(int contextId)
{
    if (!m_help)
        m_help = std::make_unique<CHTMLHelp>(m_state.HelpFile, m_prompt, m_state.AppTitle, this);
    m_help->ShowHelpContents(contextId);
}

bool MainWindow::QueryUnload() { return m_editor->CloseAllDocuments(); }

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!QueryUnload()) {
        event->ignore();
        return;
    }
    Unload();
    event->accept();
}

void MainWindow::FollowActiveDocument(DocumentWindow* window)
{
    disconnect(m_titleFollows);
    // The document window's caption changes with its name and its "changed" mark.
    if (window)
        m_titleFollows
            = connect(window, &QWidget::windowTitleChanged, this, &MainWindow::UpdateTitle);
    UpdateTitle();
}

void MainWindow::UpdateTitle()
{
    const QString program = ToDisplay(m_state.AppTitle);
    if (!m_editor || !m_editor->ActiveWindow()) {
        setWindowFilePath({});
        setWindowModified(false);
        setWindowTitle(program);
        return;
    }
    const Document& doc = m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)];
    const QString name = QFileInfo(ToDisplay(doc.Title)).fileName();
    setWindowFilePath(ToDisplay(doc.FilePath));
    setWindowTitle(name + "[*] " + QChar(0x2014) + " " + program);
    setWindowModified(doc.Changed);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            m_editor->OpenDocument(FromDisplay(QDir::toNativeSeparators(url.toLocalFile())), true);
    }
}

void MainWindow::Unload()
{
    // Settings and the recent files were written as they changed; what is left is the
    // welcome screen, when the user quits past it, and the help, whose release closes its
    // window.
    if (m_welcome)
        m_welcome->close();
    m_help.reset();
}

} // namespace karvex
