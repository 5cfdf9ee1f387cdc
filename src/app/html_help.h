#pragma once

// The program's help: the pages in the help folder, shown by context id in the help window.
// One instance lives from the first help request until the main window unloads.

#include "ui/help_topics.h"

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <string>

class QWidget;

namespace karvex {

class HelpWindow;
class Prompt;

// The page of a topic, "name.html" or "name.html#part"; an unknown id gives the contents.
QString HelpTopicPage(int contextId);

class CHTMLHelp
{
public:
    // helpFile is the contents page; the other pages lie beside it. mainWindow owns the help
    // window while no dialog is open.
    CHTMLHelp(std::string helpFile, Prompt& prompt, std::string title, QWidget* mainWindow);
    // Closes the help window.
    ~CHTMLHelp();
    CHTMLHelp(const CHTMLHelp&) = delete;
    CHTMLHelp& operator=(const CHTMLHelp&) = delete;

    // The contents, in a help window kept in front of owner.
    void ShowContents(QWidget* owner);
    // A topic, in front of the dialog being shown, else of the main window.
    void ShowHelpContents(int contextId);
    void CloseHelpWindow();
    // True when the trimmed path names a file that can be read.
    static bool FileExist(const std::string& path);

    // The help window; null until a topic was shown, and after it was closed.
    HelpWindow* Window() const;

private:
    void Show(int contextId, QWidget* owner);
    void TellNotFound(const std::string& path);
    // A dialog's help window would be blocked by the dialog unless the dialog owns it; it goes
    // back to the main window when the dialog closes.
    void KeepInFront(QWidget* owner);

    std::string m_helpFile;
    Prompt& m_prompt;
    std::string m_title;
    QWidget* m_mainWindow;
    QPointer<HelpWindow> m_window;
    QMetaObject::Connection m_dialogClosed;
};

} // namespace karvex
