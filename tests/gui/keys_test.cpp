// The desktop's keyboard conventions in the whole program: one owner per key, the Delete key
// kept by text editors, mnemonics, tooltips naming shortcuts and status tips.

#include "components/code_box/code_box.h"
#include "components/command_bars/command_bars.h"
#include "support/editor_session.h"
#include "support/grid_driver.h"
#include "ui/property_panel.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QWidgetAction>

using namespace karvex;

namespace {

// A shown and active program with one document holding one selected rectangle.
struct Drawn : test::Session
{
    int Slot = 0;

    bool Start()
    {
        Window->show();
        Window->activateWindow();
        if (!QTest::qWaitForWindowActive(Window.get()))
            return false;
        NewDocument(Picture("a.png"));
        Window->RunCommand("Rectangle");
        Drag({ 20, 20 }, { 120, 90 });
        Slot = State.CurrentHotspot;
        return Slot > 0 && Alive();
    }
    QWidget* Canvas() { return Surface().findChild<QWidget*>("Canvas"); }
    bool Alive() { return Current().Hotspots[static_cast<std::size_t>(Slot)].Active; }
    // Gives the widget the focus and presses the key there, as the keyboard does.
    void Press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        widget->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
};

// Menus reachable from the menu bar, sub-menus included.
QList<QMenu*> MenusOf(const QMenuBar* bar)
{
    QList<QMenu*> menus;
    QList<QAction*> pending = bar->actions();
    while (!pending.isEmpty()) {
        if (QMenu* menu = pending.takeFirst()->menu()) {
            menus << menu;
            pending += menu->actions();
        }
    }
    return menus;
}

} // namespace

class KeysTest : public QObject
{
    Q_OBJECT

private slots:
    void everyKeyHasOneOwnerAndCtrlWClosesTheDocument()
    {
        Drawn s;
        QVERIFY(s.Start());
        // The menu bar's mnemonics are keys of the window too.
        QHash<QKeySequence, QString> owners;
        for (const QAction* menu : s.Window->menuBar()->actions())
            owners.insert(QKeySequence::mnemonic(menu->text()), menu->text());
        for (const QAction* action : s.Window->findChildren<QAction*>()) {
            for (const QKeySequence& keys : action->shortcuts()) {
                QVERIFY2(!owners.contains(keys),
                    qPrintable(
                        keys.toString() + ": " + owners.value(keys) + " and " + action->text()));
                owners.insert(keys, action->text());
            }
        }
        s.Prompt.Answers.push_back(PromptAnswer::No); // do not save the new map
        s.Canvas()->setFocus();
        QTest::keySequence(s.Canvas(), QKeySequence("Ctrl+W"));
        QTRY_VERIFY(s.Window->DocumentArea()->subWindowList().isEmpty());
    }

    void deleteKeyDeletesTheHotspotOnlyWhereTheHotspotHasTheFocus()
    {
        Drawn s;
        QVERIFY(s.Start());
        test::GridDriver grid(s.Window->Panel().HotspotGrid());
        QVERIFY(grid.Open("Alt"));
        QTest::keyClicks(grid.Editor(), "left right");
        QTest::keyClick(grid.Editor(), Qt::Key_Home);
        s.Press(grid.Editor(), Qt::Key_Delete);
        s.Press(grid.Editor(), Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(s.Alive());
        QVERIFY(grid.Editor());
        QCOMPARE(grid.Editor()->text(), QString("right"));
        QVERIFY(grid.Type({}, Qt::Key_Escape));

        s.Surface().SelectPage(2);
        auto* code = s.Surface().findChild<CodeBox*>("ZQ_CodeBox1");
        QVERIFY(code && code->isVisible());
        s.Press(code, Qt::Key_Delete);
        QVERIFY(s.Alive());

        s.Surface().SelectPage(1);
        s.Press(s.Canvas(), Qt::Key_Delete);
        QVERIFY(!s.Alive());
        s.Window->RunCommand("Undo");
        QTRY_VERIFY(s.Alive());
        s.Surface().SelectFigure(s.Slot);
        s.Press(s.Canvas(), Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(!s.Alive());
    }

    void menusTooltipsAndStatusTipsFollowTheDesktopConventions()
    {
        test::Session s;
        const QMenuBar* bar = s.Window->menuBar();
        QSet<QKeySequence> barMnemonics;
        for (const QMenu* menu : MenusOf(bar)) {
            const QKeySequence mnemonic = QKeySequence::mnemonic(menu->title());
            QVERIFY2(!mnemonic.isEmpty(), qPrintable(menu->title()));
            if (bar->actions().contains(menu->menuAction())) {
                QVERIFY2(!barMnemonics.contains(mnemonic), qPrintable(menu->title()));
                barMnemonics.insert(mnemonic);
            }
        }

        // The menu tools with a shortcut by icon: a toolbar button with the same icon stands
        // for that tool.
        QHash<QString, const QAction*> byIcon;
        for (const QMenu* menu : MenusOf(bar)) {
            for (const QAction* action : menu->actions()) {
                if (!action->shortcut().isEmpty() && !action->icon().isNull())
                    byIcon.insert(action->property("iconKey").toString(), action);
            }
        }
        auto* toolbar = s.Window->findChild<QToolBar*>("Standard");
        int named = 0;
        for (const QAction* button : toolbar->actions()) {
            const QAction* twin = byIcon.value(button->property("iconKey").toString());
            if (!twin || button->isSeparator())
                continue;
            const QString keys = twin->shortcut().toString(QKeySequence::NativeText);
            QCOMPARE(button->toolTip(), button->iconText() + " (" + keys + ")");
            ++named;
        }
        QVERIFY(named >= 10);

        QList<QAction*> commands;
        for (const QMenu* menu : MenusOf(bar))
            commands += menu->actions();
        commands += toolbar->actions();
        commands += s.Window->findChild<QMenu*>("pop_Edit")->actions();
        commands += s.Window->findChild<QMenu*>("My_Zoom_Menu")->actions();
        commands << s.Bars().Tool("My_Zoom"); // on the toolbar inside its drop-down button
        for (const QAction* command : std::as_const(commands)) {
            if (!command->isSeparator() && !qobject_cast<const QWidgetAction*>(command))
                QVERIFY2(!command->statusTip().isEmpty(), qPrintable(command->objectName()));
        }
    }
};

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
