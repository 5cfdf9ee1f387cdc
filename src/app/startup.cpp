#include "app/startup.h"

#include "app/main_window.h"
#include "core/model/app_state.h"
#include "core/settings/settings.h"
#include "ui/qt_text.h"

namespace karvex {

std::unique_ptr<MainWindow> StartProgram(
    AppState& state, Prompt& prompt, const QString& programFolder, const QString& commandLine)
{
    state.AppPath = FromDisplay(programFolder);
    // Logging is decided before the settings file is made, so a first start logs by default.
    state.ErrorLogEnabled = ReadErrorLogSetting(SettingsPathFor(state.AppPath));
    state.Log.Start(state.AppPath, state.ErrorLogEnabled, LocalTimeNow());
    state.Log.WriteLogEntry("#START", "#1");
    state.Log.WriteLogEntry("#Debugmode", "#2");
    state.Log.WriteLogEntry("#StartMode", "#3");

    auto window = std::make_unique<MainWindow>(state, prompt);
    window->Load(commandLine);
    window->show();
    if (window->WelcomeScreenDue())
        window->ShowWelcomeScreen();

    state.Log.WriteLogEntry("#Start Finished", "#4");
    return window;
}

} // namespace karvex
