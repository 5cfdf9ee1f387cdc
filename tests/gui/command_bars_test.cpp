// The command bars and the main window's command layout and state rules, on real widgets.

#include "app/command_layout.h"
#include "components/command_bars/command_bars.h"
#include "core/model/app_state.h"
#include "core/settings/settings.h"
#include "support/temp_dir.h"

#include <QAbstractButton>
#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace karvex;

namespace {

// A main window with command bars and a properties dock, and the program's command layout
// unless told otherwise.
struct Shell
{
    QMainWindow Window;
    CommandBars Bars { &Window };
    QDockWidget* Properties = new QDockWidget("Properties", &Window);

    explicit Shell(bool build = true)
    {
        Properties->setObjectName("vfrm_Properties");
        Window.addDockWidget(Qt::RightDockWidgetArea, Properties);
        Bars.RegisterDock("vfrm_Properties", Properties);
        if (build)
            BuildCommandBars(Bars);
    }
    QToolBar* Standard() const { return Window.findChild<QToolBar*>("Standard"); }
    QMenu* Menu(const QString& key) const { return Window.findChild<QMenu*>(key); }
    QToolButton* ZoomButton() const { return Window.findChild<QToolButton*>("My_Zoom"); }
    // The keys, in their order, that are enabled (or ticked).
    QStringList Enabled(const QStringList& keys) const
    {
        return Which(&CommandBars::IsEnabled, keys);
    }
    QStringList Ticked(const QStringList& keys) const
    {
        return Which(&CommandBars::IsTicked, keys);
    }
    QStringList Which(bool (CommandBars::*state)(const QString&) const, QStringList keys) const
    {
        keys.removeIf([&](const QString& key) { return !(Bars.*state)(key); });
        return keys;
    }
};

// The key of each reported click or bar.
QStringList Keys(const QSignalSpy& spy)
{
    QStringList keys;
    for (const QList<QVariant>& call : spy)
        keys << call.at(0).toString();
    return keys;
}

} // namespace

class CommandBarsTest : public QObject
{
    Q_OBJECT

private slots:
    void oneToolInAnyCaseServesMenuToolbarAndPopupAndLeavesTheTick()
    {
        Shell shell(false);
        CommandBars& bars = shell.Bars;
        QAction* lock = bars.AddTool("t_Lock", "Lock", "pic_Lock", "tool_File");
        QCOMPARE(bars.AddTool("T_LOCK", "Lock", "pic_Lock", "tool_File"), lock);
        QCOMPARE(bars.Tool("T_lock"), lock);
        QVERIFY(!lock->icon().isNull());
        bars.AddMenu("File", "&File");
        bars.AddToMenu("FILE", "t_lock");
        QToolBar* bar = bars.AddToolBar("Standard", "Standard");
        bars.AddToToolBar("standard", "T_LOCK");
        bars.AddPopup("pop_Edit");
        bars.AddToPopup("POP_EDIT", "t_Lock");
        QCOMPARE(shell.Menu("File")->actions(), QList<QAction*> { lock });
        QCOMPARE(shell.Menu("pop_Edit")->actions(), QList<QAction*> { lock });
        bars.SetTicked("t_Lock", false);
        shell.Window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shell.Window));
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(lock));
        QVERIFY(button);

        QSignalSpy clicks(&bars, &CommandBars::ToolClicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(Keys(clicks), QStringList { "t_Lock" });
        QVERIFY(!bars.IsTicked("t_Lock") && !lock->isChecked() && !button->isChecked());
        // The program ticks on every click: the button stays pressed, it does not flip back.
        connect(
            &bars, &CommandBars::ToolClicked, &bars, [&bars] { bars.SetTicked("T_LOCK", true); });
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(bars.IsTicked("t_lock") && lock->isChecked() && button->isChecked());
        }
        bars.SetEnabled("T_LOCK", false);
        QVERIFY(!bars.IsEnabled("t_lock"));
        QVERIFY(!button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 3);

        // Unknown keys are ignored and are neither enabled nor ticked.
        QCOMPARE(bars.Tool("Nothing"), nullptr);
        bars.SetEnabled("Nothing", true);
        bars.SetTicked("Nothing", true);
        QVERIFY(!bars.IsEnabled("Nothing") && !bars.IsTicked("Nothing"));
        QCOMPARE(bars.AddMenu("Sub", "Sub", "NoParent"), nullptr);
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
        shell.Bars.SetBarVisible("Standard", true);
        shell.Bars.SetBarVisible("vfrm_Properties", true);
        QVERIFY(shell.Bars.IsBarVisible("Standard"));

        shell.Standard()->toggleViewAction()->trigger();
        QVERIFY(!shell.Bars.IsBarVisible("Standard"));
        shell.Standard()->toggleViewAction()->trigger();
        auto* closeBox = shell.Properties->findChild<QAbstractButton*>("qt_dockwidget_closebutton");
        QVERIFY(closeBox);
        QTest::mouseClick(closeBox, Qt::LeftButton);
        QTRY_VERIFY(!shell.Bars.IsBarVisible("vfrm_Properties"));
        QCOMPARE(Keys(closed), QStringList({ "Standard", "vfrm_Properties" }));
        QCOMPARE(Keys(shown), QStringList { "Standard" });
    }

    void lockNestsAndAnUnmatchedUnlockDoesNothing()
    {
        QMainWindow window;
        CommandBars bars(&window);
        // Each call and whether the window repaints after it.
        const std::pair<bool, bool> steps[] = { { false, true }, { true, false }, { true, false },
            { false, false }, { false, true } };
        for (const auto& [locked, repaints] : steps) {
            bars.Lock(locked);
            QCOMPARE(window.updatesEnabled(), repaints);
        }
    }

    void toolbarButtonsHaveIconsAndThePointerStartsTicked()
    {
        Shell shell;
        for (QAction* action : shell.Standard()->actions()) {
            if (action->objectName().startsWith("t_"))
                QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
        }
        QCOMPARE(shell.Ticked({ "t_Mouse", "Pointer", "t_Rectangle" }),
            QStringList({ "t_Mouse", "Pointer" }));
        QCOMPARE(shell.Enabled({ "t_Rotate", "t_Mouse" }), QStringList { "t_Mouse" });
    }

    void shortcutsReachTheirTools()
    {
        Shell shell;
        shell.Window.show();
        shell.Window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&shell.Window));
        QSignalSpy clicks(&shell.Bars, &CommandBars::ToolClicked);
        const QByteArray closeKeys = shell.Bars.Tool("Close")->shortcut().toString().toLatin1();
        const std::pair<const char*, const char*> table[] = { { "New", "Ctrl+N" },
            { "Open", "Ctrl+O" }, { "Save", "Ctrl+S" }, { "Exit", "Alt+Q" }, { "Undo", "Ctrl+Z" },
            { "Redo", "Ctrl+Shift+Z" }, { "Delete", "Ctrl+Del" }, { "Lock", "Ctrl+L" },
            { "Edit_Fig", "Ctrl+E" }, { "Pointer", "Alt+M" }, { "Rectangle", "Alt+R" },
            { "Circle", "Alt+C" }, { "Polygon", "Alt+P" }, { "Close", closeKeys.constData() },
            { "SaveAs", "Ctrl+Shift+S" }, { "Exit", "Ctrl+Q" }, { "Redo", "Ctrl+Y" },
            { "Delete", "Del" }, { "Cut", "Ctrl+X" }, { "Copy", "Ctrl+C" }, { "Paste", "Ctrl+V" },
            { "Exp_Copy", "Ctrl+Shift+C" }, { "Imp_Paste", "Ctrl+Shift+V" } };
        for (const auto& [tool, keys] : table) {
            clicks.clear();
            QTest::keySequence(&shell.Window, QKeySequence(keys));
            QCOMPARE(Keys(clicks), QStringList { tool }); // also fails for a key two tools share
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
        QCOMPARE(shell.Enabled({ "t_Cut", "t_Save", "t_Copy", "t_Paste", "t_Delete", "t_Undo",
                     "Undo", "Redo", "t_Redo", "t_Lock", "t_Rectangle", "t_Circle", "t_Polygon",
                     "t_Mouse", "t_Rotate", "My_Zoom", "t_Support", "t_Ruler", "t_Hide",
                     "t_Preview", "Save", "SaveAs", "Edit", "Mapping", "Wizard", "t_Hotspot",
                     "Close", "CloseAll", "Paste", "pop_Paste", "Exp_CopyMap", "Imp_Paste" }),
            QStringList());
        QVERIFY(!shell.ZoomButton()->isEnabled());
        QVERIFY(!shell.Window.menuBar()->actions().at(1)->isEnabled()); // Edit on the bar
        QVERIFY(!shell.Bars.IsTicked("t_Lock"));
        const QStringList always { "New", "Open", "t_New", "t_Open", "Exit", "File", "View",
            "ViewToolbar", "Help", "About", "Webpage1", "Report" };
        QCOMPARE(shell.Enabled(always), always);

        EnableDocumentCommands(shell.Bars, false);
        EnableFileCommands(shell.Bars, true);
        const QStringList open { "t_Ruler", "Edit", "Mapping", "Save", "SaveAs", "CloseAll" };
        QCOMPARE(shell.Enabled(open), open);
        QVERIFY(!shell.Bars.IsEnabled("t_Cut")); // follows the selection, not the document
    }

    void selectionAndToolRules()
    {
        Shell shell;
        UpdateEditCommands(shell.Bars, true, false);
        shell.Bars.SetTicked("Lock", true);
        QCOMPARE(shell.Enabled({ "Delete", "Edit_Fig" }), QStringList({ "Delete", "Edit_Fig" }));
        UpdateEditCommands(shell.Bars, false, true);
        QCOMPARE(shell.Enabled({ "t_Delete", "Delete", "Edit_Fig", "t_Lock", "Lock", "t_Rotate" }),
            QStringList());
        QVERIFY(!shell.Bars.IsTicked("Lock"));

        const QStringList tools { "t_Mouse", "Pointer", "t_Rectangle", "Rectangle", "t_Circle",
            "Circle", "t_Polygon", "Polygon", "t_Rotate" };
        SetToolState(shell.Bars, Tool::Circle);
        QCOMPARE(shell.Ticked(tools), QStringList({ "t_Circle", "Circle" }));
        SetToolState(shell.Bars, Tool::Rotate);
        SetToolState(shell.Bars, static_cast<Tool>(9)); // unknown: no change
        QCOMPARE(shell.Ticked(tools), QStringList { "t_Rotate" });
    }

    void pageModeSetsTheCommandGroups()
    {
        // Per mode 0, 1, 2: E enabled, D disabled, U unchanged. A hotspot is selected and the
        // clipboard is empty, so the selection rule enables Cut and disables Paste.
        const std::pair<QStringList, const char*> table[] = {
            { { "t_Mouse", "t_Rectangle", "t_Circle", "t_Polygon", "t_Rotate", "Pointer",
                  "Rectangle", "Circle", "Polygon" },
                "EDD" },
            { { "t_Delete", "Delete", "Edit_Fig", "Exp_Copy" }, "EUD" },
            { { "t_Support", "t_Hide" }, "EDD" },
            { { "My_Zoom" }, "EDE" },
            { { "t_Undo", "t_Redo", "Undo", "Redo" }, "UUD" },
            { { "t_Lock", "Lock" }, "EUD" },
            { { "t_Ruler" }, "EDE" },
        };
        for (int mode = 0; mode < 3; ++mode) {
            for (const bool before : { true, false }) {
                Shell shell;
                for (const auto& [keys, states] : table) {
                    for (const QString& key : keys)
                        shell.Bars.SetEnabled(key, before);
                }
                SetPageModeCommands(shell.Bars, static_cast<DocumentPage>(mode), true, false);
                for (const auto& [keys, states] : table) {
                    const char state = states[mode];
                    const bool expected = state == 'U' ? before : state == 'E';
                    QCOMPARE(shell.Enabled(keys), expected ? keys : QStringList());
                }
            }
        }
        Shell shell;
        SetPageModeCommands(shell.Bars, DocumentPage::Design, false, true);
        QCOMPARE(shell.Enabled({ "t_Delete", "t_Rotate", "t_Mouse" }), QStringList { "t_Mouse" });
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

        SetViewElement(shell.Bars, state, ViewElement::Statusbar, true);
        QVERIFY(shell.Bars.IsTicked("ViewStatusbar"));
        SetViewElement(shell.Bars, state, ViewElement::Statusbar, false);
        QCOMPARE(stored("Statusbar"), std::string("0"));
        QVERIFY(!state.Settings.Statusbar);
        QVERIFY(!shell.Bars.IsTicked("ViewStatusbar"));
        QVERIFY(!shell.Window.statusBar()->isVisible());
        SetViewElement(shell.Bars, state, ViewElement::Properties, false);
        QVERIFY(!shell.Properties->isVisible());
        QCOMPARE(stored("Properties"), std::string("0"));
        SetViewElement(shell.Bars, state, ViewElement::Toolbar, true);
        QCOMPARE(stored("Toolbar"), std::string("1"));
        QVERIFY(state.Settings.Toolbar);

        // Start-up applies the loaded flags and writes nothing.
        state.Settings = {};
        state.Settings.Properties = true;
        ApplyViewElements(shell.Bars, state);
        QVERIFY(!shell.Standard()->isVisible());
        QVERIFY(shell.Properties->isVisible());
        QCOMPARE(
            shell.Ticked({ "ViewProperties", "ViewToolbar" }), QStringList { "ViewProperties" });
        QCOMPARE(stored("Toolbar"), std::string("1"));
        QCOMPARE(stored("Properties"), std::string("0"));
    }

    void zoomAndStatusTextGoToTheirPanels()
    {
        Shell shell;
        QStringList zooms;
        for (int level = 1; level <= 8; ++level)
            zooms << QString("Zoom%1").arg(level);
        ShowZoomInBars(shell.Bars, 200);
        QCOMPARE(shell.Ticked(zooms), QStringList { "Zoom5" });
        QCOMPARE(shell.Bars.PanelText("status_ZoomLevel"), QString("200%"));
        QCOMPARE(shell.ZoomButton()->text(), QString("200%"));
        ShowZoomInBars(shell.Bars, 150);
        QCOMPARE(shell.Ticked(zooms), QStringList());
        QCOMPARE(shell.Bars.PanelText("status_ZoomLevel"), QString("150%"));
        // Choosing an entry reports it and leaves the tick to the program.
        QSignalSpy clicks(&shell.Bars, &CommandBars::ToolClicked);
        shell.Bars.Tool("Zoom7")->trigger();
        QCOMPARE(Keys(clicks), QStringList { "Zoom7" });
        QCOMPARE(shell.Ticked(zooms), QStringList());

        SetStatusText(shell.Bars, "45", StatusPanel::Rotation);
        QCOMPARE(shell.Bars.PanelText("status_Rotate"), QString("45\u00B0"));
        SetStatusText(shell.Bars, "<b>x.html</b>", StatusPanel::Link);
        QCOMPARE(shell.Bars.PanelText("status_Description"), QString("<b>x.html</b>"));
        SetStatusText(shell.Bars, "Hint", StatusPanel::Description);
        SetStatusText(shell.Bars, "320 x 200", StatusPanel::PictureSize);
        SetStatusText(shell.Bars, "ignored", static_cast<StatusPanel>(3));
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
