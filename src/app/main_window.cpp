#include "app/main_window.h"

#include "core/model/app_state.h"
#include "core/util/prompt.h"
#include "ui/qt_text.h"

#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace karvex {

namespace {

constexpr int kPropertiesWidth = 190;

QString InProgramFolder(const AppState& state, const QString& relative)
{
    return QDir::toNativeSeparators(ToDisplay(state.AppPath) + "/" + relative);
}

} // namespace

MainWindow::MainWindow(AppState& state, Prompt& prompt, QWidget* parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_prompt(prompt)
{
    setObjectName("TMPMainForm");
    resize(1100, 760);
}

void MainWindow::Load(const QString& commandLine)
{
    auto& log = m_state.Log;

    log.WriteLogEntry("#FRM_LOAD_Start", "#1");
    m_state.AppTitle = "Karvex 3";
    m_state.HelpFile = FromDisplay(InProgramFolder(m_state, "help/index.html"));
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
    BuildMenus();
    ApplyInterfaceSettings();

    log.WriteLogEntry("#FRM_LOAD", "#8");
    statusBar()->clearMessage();

    log.WriteLogEntry("#FRM_LOAD", "#9");
    m_commandLinePath = QString(commandLine).remove('"').trimmed();
    if (!m_commandLinePath.isEmpty())
        OpenDocument(m_commandLinePath, true);

    log.WriteLogEntry("#FRM_LOAD", "#10");
    log.WriteLogEntry("#FRM_LOAD_Finished", "#11");
}

void MainWindow::CreatePropertiesDock()
{
    m_propertiesDock = new QDockWidget("Properties", this);
    m_propertiesDock->setObjectName("vfrm_Properties");
    m_propertiesDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    // Stands in for the property panel until a document is open.
    auto* placeholder = new QWidget(m_propertiesDock);
    auto* layout = new QVBoxLayout(placeholder);
    auto* note = new QLabel("No image map open", placeholder);
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    note->setEnabled(false);
    layout->addWidget(note);
    m_propertiesDock->setWidget(placeholder);

    addDockWidget(Qt::RightDockWidgetArea, m_propertiesDock);
    resizeDocks({ m_propertiesDock }, { kPropertiesWidth }, Qt::Horizontal);
}

void MainWindow::BuildMenus()
{
    QMenu* fileMenu = menuBar()->addMenu("&File");
    QAction* exitAction = fileMenu->addAction("Exit");
    exitAction->setObjectName("Exit");
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::ApplyInterfaceSettings()
{
    statusBar()->setVisible(m_state.Settings.Statusbar);
    m_propertiesDock->setVisible(m_state.Settings.Properties);
}

bool MainWindow::OpenDocument(const QString& path, bool allowPictures)
{
    // No reader is wired in yet, so every file is one the editor cannot open.
    Q_UNUSED(path);
    Q_UNUSED(allowPictures);
    m_prompt.Tell("You try to open an file type that Karvex not support. Loading has been canceled",
        m_state.AppTitle, PromptIcon::Critical);
    return false;
}

bool MainWindow::QueryUnload()
{
    for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
        if (!window->close())
            return false;
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!QueryUnload()) {
        event->ignore();
        return;
    }
    Unload();
    event->accept();
}

void MainWindow::Unload()
{
    // Dialogs that stay loaded between uses are released here as they are added.
}

} // namespace karvex
