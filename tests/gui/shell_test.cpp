// The program's shell as a user meets it: the recent files across starts, the welcome screen,
// the About window, bars shown again from the window's bar menu, the code edit dialog's refusal
// of pasted text, and the preview's zoom and tip settings.

#include "app/about_window.h"
#include "app/command_dispatch.h"
#include "app/welcome_screen.h"
#include "components/command_bars/command_bars.h"
#include "components/drawing_surface/tip_balloon.h"
#include "core/settings/recent_files.h"
#include "core/settings/settings.h"
#include "core/util/file_io.h"
#include "karvex/version.h"
#include "support/editor_session.h"
#include "support/modal_answer.h"
#include "ui/code_edit_dialog.h"
#include "ui/map_chooser_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <filesystem>

using namespace karvex;
using test::Session;

namespace {

constexpr const char* kPage = "<html><body>\n<img src=\"pic.png\" usemap=\"#nav\">\n"
                              "<map name=\"nav\">\n<area shape=\"rect\" coords=\"10,10,110,110\" "
                              "href=\"a.html\" alt=\"Door\">\n</map>\n</body></html>\n";
constexpr const char* kTwoMaps = "<html><body>\n<img src=\"pic.png\" usemap=\"#one\">\n"
                                 "<map name=\"one\"></map>\n<img src=\"pic.png\" usemap=\"#two\">\n"
                                 "<map name=\"two\"></map>\n</body></html>\n";

std::string Ini(const Session& s) { return ApiReadFile(s.State.SettingsPath); }

void Restart(Session& s, const QString& commandLine = {})
{
    s.Window.reset();
    s.State = AppState();
    s.Window = StartProgram(
        s.State, s.Prompt, QString::fromStdString(s.Home.Path().string()), commandLine);
}

QString Caption(Session& s, int number)
{
    const QAction* entry = s.Bars().Tool("Recentfile" + QString::number(number));
    return entry && entry->isVisible() ? entry->text() : QString();
}

} // namespace

class ShellTest : public QObject
{
    Q_OBJECT

private slots:
    void recentFilesFollowOpensAndSavesAcrossStarts()
    {
        Session s;
        s.Picture("pic.png");
        const std::string page = s.Home.File("site.html");
        const std::string two = s.Home.File("two.html");
        const std::string mapFile = s.Home.File("area.map");
        WriteWholeFile(page, kPage);
        WriteWholeFile(two, kTwoMaps);
        WriteWholeFile(mapFile, "rect a.html 0,0 10,10\n");
        s.Picture("area.png");
        // A new user sees the empty list as such.
        QVERIFY(s.Bars().Tool("Recentfile")->isVisible());
        QVERIFY(!s.Bars().IsEnabled("Recentfile"));
        QVERIFY(Caption(s, 1).isEmpty());

        QVERIFY(s.Docs().OpenDocument(page, false));
        test::AnswerModal<MapChooserDialog>([](MapChooserDialog& chooser) {
            chooser.List().setCurrentRow(1);
            chooser.OkButton().click();
        });
        QVERIFY(s.Docs().OpenDocument(two, false));
        QVERIFY(s.Docs().OpenDocument(mapFile, false));
        s.NewDocument(s.Home.File("pic.png"));
        const std::string project = s.Home.File("made.kvp");
        s.Prompt.Files.push_back(project);
        s.Window->RunCommand("SaveAs");
        QCOMPARE(
            s.Docs().RecentFiles(), (std::vector<std::string> { project, mapFile, two, page }));
        QCOMPARE(Caption(s, 1), "&1 " + QString::fromStdString(project));
        QCOMPARE(Caption(s, 4), "&4 " + QString::fromStdString(page));
        QVERIFY(Caption(s, 5).isEmpty());
        QVERIFY(!s.Bars().Tool("Recentfile")->isVisible());

        // The next start finds the list, and its entries open.
        Restart(s);
        QCOMPARE(s.Docs().RecentFiles().size(), std::size_t(4));
        QCOMPARE(Caption(s, 2), "&2 " + QString::fromStdString(mapFile));
        s.Bars().Tool("Recentfile2")->trigger();
        QCOMPARE(QString::fromStdString(s.Current().Title), QString::fromStdString(mapFile));
        QCOMPARE(s.Docs().RecentFiles().front(), mapFile); // opened again: first now

        // A cancelled choice of map keeps the entry; a file that has gone is taken off.
        test::AnswerModal<MapChooserDialog>(
            [](MapChooserDialog& chooser) { chooser.CancelButton().click(); });
        s.Bars().Tool("Recentfile3")->trigger();
        QCOMPARE(s.Docs().RecentFiles().size(), std::size_t(4));
        std::filesystem::remove(page);
        const std::size_t told = s.Prompt.Messages.size();
        s.Bars().Tool("Recentfile4")->trigger();
        QCOMPARE(s.Prompt.Messages.size(), told + 1);
        QCOMPARE(QString::fromStdString(s.Prompt.Messages.back().Text),
            QString::fromStdString("The file " + page
                + " can no longer be found.\r\n\r\nIt has been taken off the Recent Files list."));
        QCOMPARE(LoadRecentFiles(s.State.SettingsPath),
            (std::vector<std::string> { mapFile, project, two }));
        QVERIFY(Caption(s, 4).isEmpty());
    }

    void welcomeScreenOffersTheFirstStepsAndRemembersTheSwitch()
    {
        Session s;
        s.Picture("pic.png");
        const std::string page = s.Home.File("site.html");
        WriteWholeFile(page, kPage);
        SettingValue(s.State.SettingsPath, "General", "ini_WelcomeScreen", SettingMode::Write, "1");
        std::vector<std::string> urls;
        Restart(s);
        s.Docs().SetUrlOpener([&urls](const std::string& url) { urls.push_back(url); });
        WelcomeScreen* welcome = s.Window->Welcome();
        QVERIFY(welcome && welcome->isVisible() && welcome->isModal());
        QCOMPARE(welcome->windowTitle(), QString("Welcome"));
        auto* help = welcome->findChild<QPushButton*>("ChoiceButton3");
        QCOMPARE(help->isEnabled(), s.Bars().IsEnabled("Help1"));
        welcome->findChild<QPushButton*>("ChoiceButton4")->click();
        QCOMPARE(urls, std::vector<std::string> { WebPageAddress("Webpage3").toStdString() });

        // The box writes the setting at once, both ways.
        auto* dontShow = welcome->findChild<QCheckBox*>("Check1");
        QVERIFY(!dontShow->isChecked());
        QTest::mouseClick(dontShow, Qt::LeftButton);
        QVERIFY(Ini(s).find("ini_WelcomeScreen=0") != std::string::npos);
        QTest::mouseClick(dontShow, Qt::LeftButton);
        QVERIFY(Ini(s).find("ini_WelcomeScreen=1") != std::string::npos);

        // A cancelled picture dialog leaves the window open and usable; a picture closes it.
        auto* startNew = welcome->findChild<QPushButton*>("ChoiceButton1");
        startNew->click();
        QVERIFY(welcome->isVisible() && welcome->isEnabled());
        QCOMPARE(s.State.OpenDocuments.Count(), 0);
        s.Prompt.Files.push_back(s.Home.File("pic.png"));
        startNew->click();
        QCOMPARE(s.State.OpenDocuments.Count(), 1);
        QTRY_VERIFY(!s.Window->Welcome());

        // Opening a file closes it too; a file on the command line is opened instead of it,
        // unless it does not open.
        Restart(s);
        QVERIFY(s.Window->Welcome());
        s.Prompt.Files.push_back(page);
        s.Window->Welcome()->findChild<QPushButton*>("ChoiceButton2")->click();
        QTRY_VERIFY(!s.Window->Welcome());
        QCOMPARE(QString::fromStdString(s.Current().Title), QString::fromStdString(page));
        Restart(s, "\"" + QString::fromStdString(page) + "\"");
        QCOMPARE(s.State.OpenDocuments.Count(), 1);
        QVERIFY(!s.Window->Welcome());
        Restart(s, QString::fromStdString(s.Home.File("gone.html")));
        QVERIFY(s.Window->Welcome());

        // Ticked and closed with OK: the next start shows none.
        QTest::mouseClick(s.Window->Welcome()->findChild<QCheckBox*>("Check1"), Qt::LeftButton);
        s.Window->Welcome()->findChild<QPushButton*>("Command1")->click();
        QTRY_VERIFY(!s.Window->Welcome());
        Restart(s);
        QVERIFY(!s.Window->Welcome());
    }

    void aboutWindowNamesVersionLicenceCreditsAndFiles()
    {
        Session s;
        QString text;
        test::AnswerModal<AboutWindow>([&text](AboutWindow& about) {
            for (const QLabel* label : about.findChildren<QLabel*>())
                text += label->text() + "\n";
            about.accept();
        });
        s.Window->RunCommand("About");
        QVERIFY2(text.contains(kProgramTitle), qPrintable(text));
        QVERIFY(text.contains(QString("Version ") + kVersion));
        QVERIFY(text.contains("Licence"));
        QVERIFY(text.contains("Tango"));
        QVERIFY(text.contains(QString::fromStdString(s.State.SettingsPath)));
        QVERIFY(text.contains(QString::fromStdString((s.Home.Path() / "Errors").string())));
    }

    void barsShownAgainFromTheBarMenuKeepTheViewMenuAndSettings()
    {
        Session s;
        auto* toolbar = s.Window->findChild<QToolBar*>("Standard");
        QDockWidget* dock = s.Window->PropertiesDock();
        for (QAction* toggle : { toolbar->toggleViewAction(), dock->toggleViewAction() }) {
            const char* tick
                = toggle == dock->toggleViewAction() ? "ViewProperties" : "ViewToolbar";
            const char* key = toggle == dock->toggleViewAction() ? "Properties=" : "Toolbar=";
            toggle->trigger();
            QVERIFY(!s.Bars().IsTicked(tick));
            QVERIFY(Ini(s).find(std::string(key) + "0") != std::string::npos);
            toggle->trigger();
            QVERIFY(s.Bars().IsTicked(tick));
            QVERIFY(Ini(s).find(std::string(key) + "1") != std::string::npos);
        }
    }

    void codeEditDialogTakesNoPastedOrDroppedText()
    {
        CodeEditDialog dialog;
        dialog.SetCode("<AREA HREF=\"a.html\">");
        QApplication::clipboard()->setText("<b>pasted</b>");
        QMenu* menu = dialog.Editor().createStandardContextMenu();
        const QList<QAction*> actions = menu->actions();
        const auto paste = std::find_if(actions.begin(), actions.end(),
            [](const QAction* a) { return a->objectName() == "edit-paste"; });
        QVERIFY(paste != actions.end());
        QVERIFY(!(*paste)->isEnabled());
        delete menu;

        QMimeData data;
        data.setText("dropped");
        QWidget* viewport = dialog.Editor().viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QVERIFY(!enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        QCOMPARE(dialog.Code(), QString("<AREA HREF=\"a.html\">"));
    }

    void previewFollowsTheResetZoomAndTipSettings()
    {
        Session s;
        s.Picture("pic.png");
        const std::string page = s.Home.File("site.html");
        WriteWholeFile(page, kPage);
        for (const bool reset : { true, false }) {
            s.State.Settings.ini_ResetZoom = reset;
            s.State.Settings.ini_Tooltip = !reset; // balloon tips with the first window
            QVERIFY(s.Docs().OpenDocument(page, false));
            s.Window->RunCommand("Zoom5");
            s.Surface().SelectPage(3);
            QCOMPARE(s.Surface().ZoomPercent(), reset ? 100 : 200);
            QCOMPARE(s.Bars().IsTicked("Zoom4"), reset);

            s.Mouse(QEvent::MouseMove, QPoint(50, 50), Qt::NoButton, Qt::NoButton);
            auto* balloon = s.Surface().findChild<surface::TipBalloon*>();
            QCOMPARE(balloon && balloon->isVisible(), reset);
            if (reset)
                QCOMPARE(balloon->Text(), QString("Door"));
            s.Mouse(QEvent::MouseMove, QPoint(200, 200), Qt::NoButton, Qt::NoButton);
            QVERIFY(!balloon || !balloon->isVisible());
            s.Window->RunCommand("Close");
        }
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
