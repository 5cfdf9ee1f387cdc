#include "app/html_help.h"

#include "app/help_window.h"
#include "core/util/prompt.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <algorithm>
#include <utility>

namespace karvex {

QString HelpTopicPage(int contextId)
{
    struct Topic
    {
        int ContextId;
        const char* Page;
    };
    static constexpr Topic kTopics[] = {
        { kHelpContents, "index.html" },
        { kOptionsExternalPreviewHelp, "options.html#ext-preview" },
        { kOptionsGeneralHelp, "options.html#general" },
        { kOptionsInternalPreviewHelp, "options.html#int-preview" },
        { kOptionsResetHelp, "options.html#reset" },
        { kOptionsLookHelp, "options.html#look" },
        { kOptionsDesignColorHelp, "options.html#design-color" },
        { kMapChooserHelp, "several-maps.html" },
        { kCodeEditHelp, "code.html#edit-dialog" },
        { kWizardHelp, "wizard.html" },
    };
    for (const Topic& topic : kTopics) {
        if (topic.ContextId == contextId)
            return topic.Page;
    }
    return "index.html";
}

namespace {

// A new help window fits on the owner's screen, centred over the owner.
void PlaceOver(QWidget& window, const QWidget& owner)
{
    if (const QScreen* screen = owner.screen()) {
        const QRect room = screen->availableGeometry();
        window.resize(window.size().boundedTo(room.size() * 9 / 10));
        QRect frame(QPoint(), window.size());
        frame.moveCenter(owner.frameGeometry().center());
        frame.moveTop(std::max(frame.top(), room.top()));
        frame.moveLeft(std::max(frame.left(), room.left()));
        window.move(frame.topLeft());
    }
}

} // namespace

CHTMLHelp::CHTMLHelp(std::string helpFile, Prompt& prompt, std::string title, QWidget* mainWindow)
    : m_helpFile(std::move(helpFile))
    , m_prompt(prompt)
    , m_title(std::move(title))
    , m_mainWindow(mainWindow)
{
}

CHTMLHelp::~CHTMLHelp() { CloseHelpWindow(); }

HelpWindow* CHTMLHelp::Window() const { return m_window; }

void CHTMLHelp::ShowContents(QWidget* owner) { Show(kHelpContents, owner); }

void CHTMLHelp::ShowHelpContents(int contextId)
{
    QWidget* dialog = QApplication::activeModalWidget();
    Show(contextId, dialog ? dialog : m_mainWindow);
}

void CHTMLHelp::CloseHelpWindow()
{
    QObject::disconnect(m_dialogClosed);
    if (m_window) {
        m_window->close();
        delete m_window.data();
    }
}

bool CHTMLHelp::FileExist(const std::string& path)
{
    const QString trimmed = ToDisplay(path).trimmed();
    if (trimmed.isEmpty())
        return false;
    QFile file(trimmed);
    return QFileInfo(trimmed).isFile() && file.open(QIODevice::ReadOnly);
}

void CHTMLHelp::Show(int contextId, QWidget* owner)
{
    if (!FileExist(m_helpFile)) {
        TellNotFound(m_helpFile);
        return;
    }
    if (!m_window) {
        const QString folder = QFileInfo(ToDisplay(m_helpFile).trimmed()).absolutePath();
        m_window = new HelpWindow(
            folder, [this](const QString& path) { TellNotFound(FromDisplay(path)); }, owner);
        PlaceOver(*m_window, *owner);
    }
    KeepInFront(owner);
    if (!m_window->ShowPage(HelpTopicPage(contextId)))
        return;
    // A help window the user minimised comes back for the new topic.
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void CHTMLHelp::TellNotFound(const std::string& path)
{
    m_prompt.Tell("Help File '" + path + "' not found.", m_title, PromptIcon::Information);
}

void CHTMLHelp::KeepInFront(QWidget* owner)
{
    if (!owner)
        owner = m_mainWindow;
    if (m_window->parentWidget() != owner) {
        const QRect geometry = m_window->geometry();
        const bool shown = m_window->isVisible();
        m_window->setParent(owner, Qt::Window);
        m_window->setGeometry(geometry);
        m_window->setVisible(shown);
    }
    QObject::disconnect(m_dialogClosed);
    if (auto* dialog = qobject_cast<QDialog*>(owner)) {
        m_dialogClosed = QObject::connect(
            dialog, &QDialog::finished, m_window.data(), [this] { KeepInFront(m_mainWindow); });
    }
}

} // namespace karvex
