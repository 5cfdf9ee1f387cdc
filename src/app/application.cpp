#include "app/application.h"

#include "core/util/prompt.h"
#include "karvex/version.h"

#include <cstdio>
#include <exception>
#include <new>

namespace karvex {

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    // Every command, panel edit and canvas gesture runs inside an event handler, so this is the
    // one place where none of them can end the program. The readers and writers change a
    // document only once they have succeeded, so a stopped action leaves it as it was.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        ReportStoppedAction("There was not enough memory to finish it.");
    } catch (const std::exception& error) {
        ReportStoppedAction(error.what());
    }
    return false;
}

void Application::ReportStoppedAction(const char* reason)
{
    const std::string text
        = std::string("Karvex could not finish this action and stopped it.\r\n\r\nReason : ")
        + reason;
    // A failure while the message is shown (a paint that keeps failing, say) goes to standard
    // error instead of opening a message box over the message box.
    if (!m_prompt || m_reporting) {
        std::fprintf(stderr, "karvex: %s\n", text.c_str());
        return;
    }
    m_reporting = true;
    try {
        m_prompt->Tell(text, kProgramTitle, PromptIcon::Critical);
    } catch (const std::exception&) {
        std::fprintf(stderr, "karvex: %s\n", text.c_str());
    }
    m_reporting = false;
}

} // namespace karvex
