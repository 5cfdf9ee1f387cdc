// Program entry: the Qt application, the program folder and the start routine.

#include "app/main_window.h"
#include "app/program_folder.h"
#include "app/startup.h"
#include "core/model/app_state.h"
#include "ui/qt_prompt.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Karvex");
    QApplication::setApplicationVersion("3.0");

    // The rest of the command line is one path, as a shell hands it over with or without
    // quotes around it.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const QString commandLine = arguments.join(' ');

    karvex::QtPrompt prompt;
    auto window = karvex::StartProgram(
        karvex::State(), prompt, karvex::ResolveProgramFolder(), commandLine);
    prompt.SetParent(window.get());
    return QApplication::exec();
}
