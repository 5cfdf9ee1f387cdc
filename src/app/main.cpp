// Program entry: the Qt application, the program folder and the start routine.

#include "app/application.h"
#include "app/color_scheme.h"
#include "app/main_window.h"
#include "app/program_folder.h"
#include "app/startup.h"
#include "core/model/app_state.h"
#include "karvex/version.h"
#include "ui/qt_prompt.h"

#include <QApplication>
#include <QStringList>
#include <cstdlib>

#if defined(__linux__) && defined(__GLIBC__)
#include <unistd.h>
#endif

namespace {

// A map of tens of thousands of hotspots touches tens of megabytes at once; glibc's malloc
// backed by transparent huge pages takes a fraction of the page faults for that. The setting
// is read at process start, so the program starts itself again once with it, unless the user
// chose malloc settings of their own.
void UseHugePagesForTheHeap(char* argv[])
{
#if defined(__linux__) && defined(__GLIBC__)
    if (std::getenv("GLIBC_TUNABLES") != nullptr)
        return;
    setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 0);
    execv("/proc/self/exe", argv);
    // Not started again (no /proc): go on as we are.
#else
    (void)argv;
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    UseHugePagesForTheHeap(argv);
    karvex::Application app(argc, argv);
    QApplication::setApplicationName("Karvex");
    QApplication::setApplicationVersion(karvex::kShortVersion);
    // The installed desktop entry's name, so that the desktop shows the program's icon for it.
    QGuiApplication::setDesktopFileName("org.example.karvex");
    karvex::ApplyColorSchemeFromEnvironment();

    // The rest of the command line is one path, as a shell hands it over with or without
    // quotes around it.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const QString commandLine = arguments.join(' ');

    karvex::QtPrompt prompt;
    auto window = karvex::StartProgram(
        karvex::State(), prompt, karvex::ResolveProgramFolder(), commandLine);
    prompt.SetParent(window.get());
    app.SetPrompt(&prompt);
    return QApplication::exec();
}
