// The command bars and the main window's command layout and state rules, on real widgets.

#include "app/command_layout.h"
#include "components/command_bars/command_bars.h"
#include "core/model/app_state.h"
#include "core/settings/settings.h"
#include "support/temp_dir.h"

#include <QAbstractButton>
#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace karvex;

namespace {

// A main window with the program's command layout and a properties dock.
struct Shell
{
    QMainWindow Window;
    CommandBars Bars { &Window };
    QDockWidget* Properties = new QDockWidget("Properties", &Window);

    Shell()
    {
        Properties->setObjectName("vfrm_Properties");
        Window.addDockWidget(Qt::RightDockWidgetArea, Properties);
        Bars.RegisterDock("vfrm_Properties", Properties);
        BuildCommandBars(Bars);
    }
    QToolBar* Standard() const { return Window.findChild<QToolBar*>("Standard"); }
    QMenu* Menu(const QString& key) const { return Window.findChild<QMenu*>(key); }
    QToolButton* ZoomButton() const { return Window.findChild<QToolButton*>("My_Zoom"); }
};

QStringList Entries(const QMenu* menu)
{
    QStringList entries;
    for (const QAction* action : menu->actions())
        entries << (action->isSeparator() ? QString("-") : action->text());
    return entries;
}

QStringList TickedZoomEntries(const CommandBars& bars)
{
    QStringList ticked;
    for (int level = 1; level <= 8; ++level) {
        if (bars.IsTicked(QString("Zoom%1").arg(level)))
            ticked << QString("Zoom%1").arg(level);
    }
    return ticked;
}

} // namespace

class CommandBarsTest : public QObject
{
    Q_OBJECT

private slots:
    void keysIgnoreCaseAndUnknownKeysAreHarmless()
    {
        QMainWindow window;
        CommandBars bars(&window);
        QAction* save = bars.AddTool("t_Save", "Save", "pic_Save", "tool_File");

        QCOMPARE(bars.Tool("T_SAVE"), save);
        QCOMPARE(bars.AddTool("T_save", "Save", "pic_Save", "tool_File"), save);
        QVERIFY(!save->icon().isNull());
        bars.SetEnabled("T_SAVE", false);
        QVERIFY(!bars.IsEnabled("t_save"));
        bars.SetTicked("t_SAVE", true);
        QVERIFY(bars.IsTicked("T_Save"));

        QCOMPARE(bars.Tool("Nothing"), nullptr);
        bars.SetEnabled("Nothing", true);
        bars.SetTicked("Nothing", true);
        QVERIFY(!bars.IsEnabled("Nothing"));
        QVERIFY(!bars.IsTicked("Nothing"));
        QCOMPARE(bars.AddMenu("Sub", "Sub", "NoParent"), nullptr);
    }

    void oneToolServesMenuToolbarAndPopup()
    {
        QMainWindow window;
        CommandBars bars(&window);
        QAction* save = bars.AddTool("t_Save", "Save", "pic_Save", "tool_File");
        bars.AddMenu("File", "&File");
        bars.AddToMenu("FILE", "t_save");
        QToolBar* bar = bars.AddToolBar("Standard", "Standard");
        bars.AddToToolBar("standard", "T_SAVE");
        QMenu* popup = bars.AddPopup("pop_Edit");
        bars.AddToPopup("POP_EDIT", "t_Save");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QSignalSpy clicks(&bars, &CommandBars::ToolClicked);
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(save));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).toString(), QString("t_Save"));

        bars.SetEnabled("t_Save", false);
        QVERIFY(!button->isEnabled());
        QCOMPARE(window.findChild<QMenu*>("File")->actions().value(0), save);
        QCOMPARE(popup->actions().value(0), save);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
    }

    void aClickLeavesTheTickToTheProgram()
    {
        QMainWindow window;
        CommandBars bars(&window);
        QAction* lock = bars.AddTool("t_Lock", "Lock", "pic_Lock", "tool_File");
        QToolBar* bar = bars.AddToolBar("Standard", "Standard");
        bars.AddToToolBar("Standard", "t_Lock");
        bars.SetTicked("t_Lock", false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(lock));

        QSignalSpy clicks(&bars, &CommandBars::ToolClicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QVERIFY(!bars.IsTicked("t_Lock"));
        QVERIFY(!lock->isChecked());
        QVERIFY(!button->isChecked());

        // The program ticks on every click: the button stays pressed, it does not flip back.
        connect(
            &bars, &CommandBars::ToolClicked, &bars, [&bars] { bars.SetTicked("t_Lock", true); });
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(lock->isChecked());
            QVERIFY(button->isChecked());
        }
        QCOMPARE(clicks.count(), 3);
    }

    void barsClosedByTheUserAreReportedButNotThoseHiddenByTheProgram()
    {
        Shell shell;
        shell.Window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shell.Window));
        QSignalSpy closed(&shell.Bars, &CommandBars::BarClosed);
        QSignalSpy shown(&shell.Bars, &CommandBars::BarShown);

        shell.Bars.SetBarVisible("STANDARD", false);
        shell.Bars.SetBarVisible("vfrm_properties", false);
        shell.Bars.SetBarVisible(kStatusBarKey, false);
        QVERIFY(!shell.Standard()->isVisible());
        QVERIFY(!shell.Window.statusBar()->isVisible());
        QVERIFY(!shell.Bars.IsBarVisible("vfrm_Properties"));
        QCOMPARE(closed.count(), 0);
        shell.Bars.SetBarVisible("Standard", true);
        shell.Bars.SetBarVisible("vfrm_Properties", true);
        QVERIFY(shell.Bars.IsBarVisible("Standard"));

        shell.Standard()->toggleViewAction()->trigger();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.at(0).at(0).toString(), QString("Standard"));
        QVERIFY(!shell.Bars.IsBarVisible("Standard"));
        shell.Standard()->toggleViewAction()->trigger();
        QCOMPARE(shown.count(), 1);

        auto* closeBox = shell.Properties->findChild<QAbstractButton*>("qt_dockwidget_closebutton");
        QVERIFY(closeBox);
        QTest::mouseClick(closeBox, Qt::LeftButton);
        QTRY_VERIFY(!shell.Bars.IsBarVisible("vfrm_Properties"));
        QCOMPARE(closed.count(), 2);
        QCOMPARE(closed.at(1).at(0).toString(), QString("vfrm_Properties"));
    }

    void lockNestsAndAnUnmatchedUnlockDoesNothing()
    {
        QMainWindow window;
        CommandBars bars(&window);
        bars.Lock(false);
        QVERIFY(window.updatesEnabled());
        bars.Lock(true);
        bars.Lock(true);
        bars.Lock(false);
        QVERIFY(!window.updatesEnabled());
        bars.Lock(false);
        QVERIFY(window.updatesEnabled());
    }

    void buildCreatesTheMenuTree()
    {
        Shell shell;
        QStringList titles;
        for (const QAction* action : shell.Window.menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, QStringList({ "&File", "&Edit", "Mapping", "View", "Help" }));

        const QStringList file { "New", "Open", "Recent Files", "-", "Save", "Save As...", "Close",
            "Close All", "-", "Option", "Exit" };
        QCOMPARE(Entries(shell.Menu("File")), file);
        QCOMPARE(shell.Menu("File")->actions().at(2)->menu(), shell.Menu("MnuRecent"));
        QCOMPARE(Entries(shell.Menu("Edit")),
            QStringList({ "Undo", "Redo", "-", "Cut", "Copy", "Paste", "Delete", "Lock Hotspots",
                "-", "Edit Hotspot", "Export Map to Clipboard" }));
        QCOMPARE(Entries(shell.Menu("Mapping")),
            QStringList({ "Pointer", "Rectangle", "Circle", "Polygon", "-", "Hotspot Wizard" }));
        QCOMPARE(
            Entries(shell.Menu("View")), QStringList({ "Properties", "Statusbar", "Toolbar" }));
        QCOMPARE(Entries(shell.Menu("Help")), QStringList({ "Help", "On the web", "-", "About" }));
        QCOMPARE(Entries(shell.Menu("MnuWeb")),
            QStringList({ "Karvex Homepage", "Karvex Feedback page", "Brindlemoor Bug Report Page",
                "-", "Brindlemoor Entertainment" }));
        QCOMPARE(Entries(shell.Menu("pop_Edit")),
            QStringList({ "Cut", "Copy", "Paste", "Delete", "Lock Hotspot", "Edit Hotspot" }));
        for (const char* view : { "ViewProperties", "ViewStatusbar", "ViewToolbar" })
            QVERIFY(shell.Bars.Tool(view)->isCheckable());
    }

    void buildCreatesTheToolbarAndStatusBar()
    {
        Shell shell;
        QStringList buttons;
        for (QAction* action : shell.Standard()->actions()) {
            QWidget* widget = shell.Standard()->widgetForAction(action);
            buttons << (action->isSeparator()        ? QString("-")
                    : widget->objectName().isEmpty() ? action->objectName()
                                                     : widget->objectName());
        }
        QCOMPARE(buttons.filter(QRegularExpression("^[^-]")),
            QStringList({ "t_New", "t_Open", "t_Save", "t_Cut", "t_Copy", "t_Paste", "t_Delete",
                "t_Undo", "t_Redo", "t_Lock", "t_Mouse", "t_Rectangle", "t_Circle", "t_Polygon",
                "t_Rotate", "My_Zoom", "t_Hotspot", "t_Support", "t_Hide", "t_Ruler",
                "t_Preview" }));
        for (QAction* action : shell.Standard()->actions()) {
            if (!action->isSeparator() && action->objectName().startsWith("t_"))
                QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
        }
        QCOMPARE(Entries(shell.ZoomButton()->menu()),
            QStringList({ "25%", "50%", "75%", "100%", "200%", "300%", "400%", "500%" }));

        QVERIFY(shell.Bars.IsTicked("t_Mouse"));
        QVERIFY(shell.Bars.IsTicked("Pointer"));
        QVERIFY(!shell.Bars.IsTicked("t_Rectangle"));
        QVERIFY(!shell.Bars.IsEnabled("t_Rotate"));
        QVERIFY(shell.Bars.IsEnabled("t_Mouse"));

        QStringList panels;
        for (const QLabel* panel : shell.Window.statusBar()->findChildren<QLabel*>())
            panels << panel->objectName();
        QCOMPARE(panels,
            QStringList(
                { "status_Description", "status_Rotate", "status_ImageSize", "status_ZoomLevel" }));
    }

    void shortcutsReachTheirTools()
    {
        Shell shell;
        shell.Window.show();
        shell.Window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&shell.Window));
        QSignalSpy clicks(&shell.Bars, &CommandBars::ToolClicked);
        const QByteArray closeKeys = shell.Bars.Tool("Close")->shortcut().toString().toLatin1();
        const std::pair<const char*, const char*> table[]
            = { { "New", "Ctrl+N" }, { "Open", "Ctrl+O" }, { "Save", "Ctrl+S" },
                  { "Exit", "Alt+Q" }, { "Undo", "Ctrl+Z" }, { "Redo", "Ctrl+Shift+Z" },
                  { "Cut", "Ctrl+X" }, { "Copy", "Ctrl+C" }, { "Paste", "Ctrl+V" },
                  { "Delete", "Ctrl+Del" }, { "Lock", "Ctrl+L" }, { "Edit_Fig", "Ctrl+E" },
                  { "Pointer", "Alt+M" }, { "Rectangle", "Alt+R" }, { "Circle", "Alt+C" },
                  { "Polygon", "Alt+P" }, { "Help1", "F1" }, { "Close", closeKeys.constData() } };
        for (const auto& [tool, keys] : table) {
            clicks.clear();
            QTest::keySequence(&shell.Window, QKeySequence(keys));
            QVERIFY2(clicks.count() == 1, tool); // also fails for a key two tools share
            QCOMPARE(clicks.at(0).at(0).toString(), QString(tool));
        }

        // A shortcut works while the menu of its entry is disabled.
        EnableDocumentCommands(shell.Bars, true);
        clicks.clear();
        QTest::keyClick(&shell.Window, Qt::Key_M, Qt::AltModifier);
        QCOMPARE(clicks.count(), 1);
    }

    void withoutDocumentOnlyFileViewHelpAndWebCommandsWork()
    {
        Shell shell;
        EnableDocumentCommands(shell.Bars, false);
        shell.Bars.SetTicked("t_Lock", true);
        EnableDocumentCommands(shell.Bars, true);
        EnableFileCommands(shell.Bars, false);
        for (const char* key : { "t_Cut", "t_Save", "t_Copy", "t_Paste", "t_Delete", "t_Undo",
                 "Undo", "Redo", "t_Redo", "t_Lock", "t_Rectangle", "t_Circle", "t_Polygon",
                 "t_Mouse", "t_Rotate", "My_Zoom", "t_Support", "t_Ruler", "t_Hide", "t_Preview",
                 "Save", "SaveAs", "Edit", "Mapping", "Wizard", "t_Hotspot", "Close", "CloseAll" })
            QVERIFY2(!shell.Bars.IsEnabled(key), key);
        QVERIFY(!shell.ZoomButton()->isEnabled());
        QVERIFY(!shell.Window.menuBar()->actions().at(1)->isEnabled()); // Edit on the bar
        QVERIFY(!shell.Bars.IsTicked("t_Lock"));
        for (const char* key : { "New", "Open", "t_New", "t_Open", "Option", "Exit", "File", "View",
                 "ViewToolbar", "Help", "Help1", "About", "Webpage1", "Report" })
            QVERIFY2(shell.Bars.IsEnabled(key), key);

        EnableDocumentCommands(shell.Bars, false);
        EnableFileCommands(shell.Bars, true);
        for (const char* key :
            { "t_Ruler", "Edit", "Mapping", "Wizard", "t_Hotspot", "Save", "SaveAs", "CloseAll" })
            QVERIFY2(shell.Bars.IsEnabled(key), key);
        QVERIFY(!shell.Bars.IsEnabled("t_Cut")); // follows the selection, not the document
    }

    void selectionAndToolRules()
    {
        Shell shell;
        UpdateEditCommands(shell.Bars, true, false);
        shell.Bars.SetTicked("Lock", true);
        QVERIFY(shell.Bars.IsEnabled("Delete"));
        QVERIFY(!shell.Bars.IsEnabled("Paste"));
        UpdateEditCommands(shell.Bars, false, true);
        for (const char* key : { "t_Delete", "Delete", "t_Copy", "Copy", "t_Cut", "Cut", "Edit_Fig",
                 "t_Lock", "Lock", "t_Rotate" })
            QVERIFY2(!shell.Bars.IsEnabled(key), key);
        QVERIFY(!shell.Bars.IsTicked("Lock"));
        QVERIFY(shell.Bars.IsEnabled("t_Paste"));
        QVERIFY(shell.Bars.IsEnabled("Paste"));

        SetToolState(shell.Bars, 2);
        QStringList ticked;
        for (const char* key : { "t_Mouse", "Pointer", "t_Rectangle", "Rectangle", "t_Circle",
                 "Circle", "t_Polygon", "Polygon", "t_Rotate" }) {
            if (shell.Bars.IsTicked(key))
                ticked << key;
        }
        QCOMPARE(ticked, QStringList({ "t_Circle", "Circle" }));
        SetToolState(shell.Bars, 4);
        SetToolState(shell.Bars, 9); // unknown: no change
        QVERIFY(shell.Bars.IsTicked("t_Rotate"));
        QVERIFY(!shell.Bars.IsTicked("t_Circle"));
    }

    void pageModeSetsTheCommandGroups()
    {
        // Per mode 0, 1, 2: E enabled, D disabled, U unchanged. A hotspot is selected and the
        // clipboard is empty, so the selection rule enables Cut and disables Paste.
        const std::pair<QStringList, const char*> table[] = {
            { { "t_Mouse", "t_Rectangle", "t_Circle", "t_Polygon", "t_Rotate", "Pointer",
                  "Rectangle", "Circle", "Polygon" },
                "EDD" },
            { { "t_Cut", "t_Copy", "t_Delete", "Cut", "Copy", "Delete", "Edit_Fig" }, "EUD" },
            { { "t_Paste", "Paste" }, "DUD" },
            { { "t_Support", "t_Hide" }, "EDD" },
            { { "My_Zoom" }, "EDE" },
            { { "t_Undo", "t_Redo", "Undo", "Redo" }, "UUD" },
            { { "t_Lock", "Lock" }, "EUD" },
            { { "t_Preview" }, "EEE" },
            { { "t_Ruler" }, "EDE" },
        };
        for (int mode = 0; mode < 3; ++mode) {
            for (const bool before : { true, false }) {
                Shell shell;
                for (const auto& [keys, states] : table) {
                    for (const QString& key : keys)
                        shell.Bars.SetEnabled(key, before);
                }
                SetPageModeCommands(shell.Bars, mode, true, false);
                for (const auto& [keys, states] : table) {
                    const char state = states[mode];
                    const bool expected = state == 'U' ? before : state == 'E';
                    for (const QString& key : keys) {
                        QVERIFY2(shell.Bars.IsEnabled(key) == expected,
                            qPrintable(QString("mode %1, %2").arg(mode).arg(key)));
                    }
                }
            }
        }

        Shell shell;
        SetPageModeCommands(shell.Bars, 0, false, true);
        QVERIFY(!shell.Bars.IsEnabled("t_Cut"));
        QVERIFY(!shell.Bars.IsEnabled("t_Rotate"));
        QVERIFY(shell.Bars.IsEnabled("t_Paste"));
    }

    void viewElementsPersistInTheSettingsFile()
    {
        test::TempDir home;
        AppState state;
        state.SettingsPath = home.File("kvx.ini");
        QVERIFY(WriteDefaultSettings(state.SettingsPath));
        auto stored = [&state](const char* key) {
            return SettingValue(state.SettingsPath, "Interface", key, SettingMode::Read, "?");
        };
        Shell shell;
        shell.Window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shell.Window));

        SetViewElement(shell.Bars, state, 2, 2);
        QVERIFY(shell.Bars.IsTicked("ViewStatusbar"));
        SetViewElement(shell.Bars, state, 2, 1);
        QCOMPARE(stored("Statusbar"), std::string("0"));
        QVERIFY(!state.Settings.Statusbar);
        QVERIFY(!shell.Bars.IsTicked("ViewStatusbar"));
        QVERIFY(!shell.Window.statusBar()->isVisible());

        SetViewElement(shell.Bars, state, 3, 1);
        QVERIFY(!shell.Properties->isVisible());
        QCOMPARE(stored("Properties"), std::string("0"));
        SetViewElement(shell.Bars, state, 1, 2);
        QCOMPARE(stored("Toolbar"), std::string("1"));
        QVERIFY(state.Settings.Toolbar);

        // Start-up applies the loaded flags and writes nothing.
        state.Settings = {};
        state.Settings.Properties = true;
        SetViewElement(shell.Bars, state, 99, 0);
        QVERIFY(!shell.Standard()->isVisible());
        QVERIFY(shell.Properties->isVisible());
        QVERIFY(shell.Bars.IsTicked("ViewProperties"));
        QVERIFY(!shell.Bars.IsTicked("ViewToolbar"));
        QCOMPARE(stored("Toolbar"), std::string("1"));
        QCOMPARE(stored("Properties"), std::string("0"));

        SetViewElement(shell.Bars, state, 4, 1); // no such element
        SetViewElement(shell.Bars, state, 1, 3); // no such action
        QCOMPARE(stored("Toolbar"), std::string("1"));
    }

    void zoomTicksItsEntryAndShowsThePercent()
    {
        Shell shell;
        ShowZoomInBars(shell.Bars, 200);
        QCOMPARE(TickedZoomEntries(shell.Bars), QStringList({ "Zoom5" }));
        QCOMPARE(shell.Bars.PanelText("status_ZoomLevel"), QString("200%"));
        QCOMPARE(shell.ZoomButton()->text(), QString("200%"));

        ShowZoomInBars(shell.Bars, 150);
        QVERIFY(TickedZoomEntries(shell.Bars).isEmpty());
        QCOMPARE(shell.Bars.PanelText("status_ZoomLevel"), QString("150%"));

        // Choosing an entry reports it and leaves the tick to the program.
        QSignalSpy clicks(&shell.Bars, &CommandBars::ToolClicked);
        shell.Bars.Tool("Zoom7")->trigger();
        QCOMPARE(clicks.value(0).value(0).toString(), QString("Zoom7"));
        QVERIFY(TickedZoomEntries(shell.Bars).isEmpty());
    }

    void statusTextGoesToItsPanel()
    {
        Shell shell;
        SetStatusText(shell.Bars, "45", 5);
        QCOMPARE(shell.Bars.PanelText("status_Rotate"), QString("45\u00B0"));
        SetStatusText(shell.Bars, "<b>x.html</b>", 4);
        QCOMPARE(shell.Bars.PanelText("status_Description"), QString("<b>x.html</b>"));
        SetStatusText(shell.Bars, "Hint", 0);
        SetStatusText(shell.Bars, "320 x 200", 1);
        SetStatusText(shell.Bars, "ignored", 3);
        QCOMPARE(shell.Bars.PanelText("status_Description"), QString("Hint"));
        QCOMPARE(shell.Bars.PanelText("status_ImageSize"), QString("320 x 200"));

        ShowDocumentPanels(shell.Bars, false);
        QVERIFY(!shell.Bars.IsPanelVisible("status_ZoomLevel"));
        QVERIFY(!shell.Bars.IsPanelVisible("status_ImageSize"));
        QVERIFY(shell.Bars.IsPanelVisible("status_Description"));
        ShowDocumentPanels(shell.Bars, true);
        QVERIFY(shell.Bars.IsPanelVisible("status_ImageSize"));
    }
};

QTEST_MAIN(CommandBarsTest)
#include "command_bars_test.moc"
