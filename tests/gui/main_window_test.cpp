// Start-up and shutdown of the main window, driven through the real start routine.

#include "app/main_window.h"
#include "app/startup.h"
#include "core/model/app_state.h"
#include "core/util/file_io.h"
#include "karvex/version.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <QDockWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <filesystem>

using namespace karvex;

namespace {

std::vector<std::filesystem::path> LogFiles(const test::TempDir& home)
{
    std::vector<std::filesystem::path> files;
    const auto folder = home.Path() / "Errors";
    if (std::filesystem::exists(folder)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            files.push_back(entry.path());
    }
    return files;
}

struct Started
{
    test::TempDir Home;
    AppState State;
    test::ScriptedPrompt Prompt;
    std::unique_ptr<MainWindow> Window;

    void Start(const QString& commandLine = {})
    {
        Window = StartProgram(
            State, Prompt, QString::fromStdString(Home.Path().string()), commandLine);
    }
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartWritesDefaultSettings()
    {
        Started app;
        app.Start();

        QCOMPARE(ApiReadFile(app.Home.File("kvx.ini")), DefaultSettingsText());
        QCOMPARE(app.Window->windowTitle(), QString(kProgramTitle));
        QCOMPARE(app.State.AppTitle, std::string(kProgramTitle));
        QCOMPARE(app.State.SettingsPath, app.Home.File("kvx.ini"));
        QCOMPARE(app.State.Documents.size(), std::size_t { 1 });
        QCOMPARE(app.State.CurrentImage, 1);
        QVERIFY(app.Prompt.Messages.empty());

        // Loaded from the new file: the defaults of a written file, not of missing keys.
        QCOMPARE(app.State.Settings.ini_Ruler, 14737632);
        QVERIFY(!app.State.Settings.ini_ErrorLog);

        QVERIFY(app.Window->PropertiesDock()->isVisible());
        QCOMPARE(app.Window->PropertiesDock()->windowTitle(), QString("Properties"));
        QVERIFY(app.Window->menuBar()->actions().size() >= 1);
        QCOMPARE(app.Window->menuBar()->actions().first()->text(), QString("&File"));
        QVERIFY(app.Window->DocumentArea()->subWindowList().isEmpty());

        // No settings file yet means logging is on until the new file switches it off.
        const auto logs = LogFiles(app.Home);
        QCOMPARE(logs.size(), std::size_t { 1 });
        QCOMPARE(ApiReadFile(logs.front().string()),
            std::string("Logging: #START:#1 STATUS=OK\r\n"
                        "Logging: #Debugmode:#2 STATUS=OK\r\n"
                        "Logging: #StartMode:#3 STATUS=OK\r\n"
                        "Logging: #FRM_LOAD_Start:#1 STATUS=OK\r\n"
                        "Logging: #FRM_LOAD:#2 STATUS=OK\r\n"));
    }

    void loggingOnWritesEveryCheckpointInOrder()
    {
        Started app;
        QVERIFY(WriteWholeFile(app.Home.File("kvx.ini"), "[General]\r\nini_WelcomeScreen=0\r\n"));
        app.Start();

        std::string expected = "Logging: #START:#1 STATUS=OK\r\n"
                               "Logging: #Debugmode:#2 STATUS=OK\r\n"
                               "Logging: #StartMode:#3 STATUS=OK\r\n"
                               "Logging: #FRM_LOAD_Start:#1 STATUS=OK\r\n";
        for (int step = 2; step <= 10; ++step)
            expected += "Logging: #FRM_LOAD:#" + std::to_string(step) + " STATUS=OK\r\n";
        expected += "Logging: #FRM_LOAD_Finished:#11 STATUS=OK\r\n"
                    "Logging: #Start Finished:#4 STATUS=OK\r\n";

        const auto logs = LogFiles(app.Home);
        QCOMPARE(logs.size(), std::size_t { 1 });
        QCOMPARE(logs.front().filename().string(), "ErrorLog" + app.State.Log.Stamp() + ".TXT");
        QCOMPARE(ApiReadFile(logs.front().string()), expected);
        // An existing file is read, not replaced.
        QCOMPARE(ApiReadFile(app.Home.File("kvx.ini")),
            std::string("[General]\r\nini_WelcomeScreen=0\r\n"));
    }

    void loggingOffWritesNothingAndMissingKeysTakeTheirDefaults()
    {
        Started app;
        QVERIFY(WriteWholeFile(app.Home.File("kvx.ini"), "[General]\r\nini_ErrorLog=0\r\n"));
        app.Start();

        QVERIFY(!std::filesystem::exists(app.Home.Path() / "Errors"));
        QCOMPARE(app.State.Settings.ini_Ruler, kSystemColorButtonFace);
        QCOMPARE(app.State.Settings.ini_AttributeValue, 16711680);
        QVERIFY(app.State.Settings.ini_WelcomeScreen);
        QVERIFY(app.Window->statusBar()->isVisible());
    }

    void savedViewChoicesApply()
    {
        Started app;
        QVERIFY(WriteWholeFile(app.Home.File("kvx.ini"),
            "[General]\r\nini_ErrorLog=0\r\n[Interface]\r\nStatusbar=0\r\nProperties=0\r\n"));
        app.Start();
        QVERIFY(!app.Window->statusBar()->isVisible());
        QVERIFY(!app.Window->PropertiesDock()->isVisible());
    }

    void commandLinePathWithoutQuotesIsReportedUnsupported()
    {
        Started app;
        QVERIFY(WriteWholeFile(app.Home.File("kvx.ini"), "[General]\r\nini_ErrorLog=0\r\n"));
        app.Start("\"/home/ann/my maps/notes.txt\"");

        QCOMPARE(app.Window->CommandLinePath(), QString("/home/ann/my maps/notes.txt"));
        QCOMPARE(app.Prompt.Messages.size(), std::size_t { 1 });
        const PromptMessage& message = app.Prompt.Messages.front();
        QCOMPARE(message.Text,
            std::string("You try to open an file type that Karvex not support. Loading has been "
                        "canceled"));
        QVERIFY(message.Icon == PromptIcon::Critical);
        QVERIFY(app.Window->isVisible());
        QCOMPARE(app.State.Documents.size(), std::size_t { 1 });
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
