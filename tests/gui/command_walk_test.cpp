// Every entry of the menus, the toolbar and the pop-up menu, and every command key, with a
// document open and without one: an entry the user can reach while it is enabled changes the
// documents or the window, or opens a dialog, a window or a web page. Each entry is tried on a
// fresh editor, so no entry hides behind what the one before it did.

#include "components/command_bars/command_bars.h"
#include "core/settings/recent_files.h"
#include "core/util/file_io.h"
#include "support/editor_session.h"
#include "ui/code_edit_dialog.h"
#include "ui/document_model.h"

#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QWidgetAction>

using namespace karvex;

namespace {

// Choices of one of several (a drawing tool, a zoom level): choosing the one already chosen
// rightly changes nothing.
const QSet<QString> kChoices = { "T_MOUSE", "POINTER", "T_RECTANGLE", "RECTANGLE", "T_CIRCLE",
    "CIRCLE", "T_POLYGON", "POLYGON", "T_ROTATE", "ZOOM1", "ZOOM2", "ZOOM3", "ZOOM4", "ZOOM5",
    "ZOOM6", "ZOOM7", "ZOOM8" };

// An editor with a recent file and, when asked, a document of two hotspots, the first on the
// program's clipboard and the second selected, so that the commands on hotspots are enabled.
struct Fixture : test::Session
{
    int Urls = 0;
    int CodeDialogs = 0;

    explicit Fixture(bool withDocument)
    {
        Picture("pic.png");
        const std::string page = Home.File("site.html");
        WriteWholeFile(page, test::kNavPage);
        AddRecentFile(State.SettingsPath, page);
        Docs().LoadRecentFiles();
        Docs().SetUrlOpener([this](const std::string&) { ++Urls; });
        Docs().SetCodeDialogRunner([this](CodeEditDialog&) {
            ++CodeDialogs;
            return false;
        });
        if (!withDocument)
            return;
        NewDocument(Home.File("pic.png"));
        const int first = AddRectangle("10,10,60,60");
        const int second = AddRectangle("80,80,140,140");
        Docs().ActiveWindow()->SelectHotspot(first);
        Window->RunCommand("Copy");
        Docs().ActiveWindow()->SelectHotspot(second);
    }

    // What a command can change, in one text.
    QString Snapshot()
    {
        QStringList out;
        out << QString("documents %1, current %2, hotspot %3")
                   .arg(State.OpenDocuments.Count())
                   .arg(State.CurrentDocument)
                   .arg(State.CurrentHotspot);
        for (std::size_t slot = 1; slot < State.Documents.size(); ++slot) {
            const Document& doc = State.Documents[slot];
            out << QString::fromStdString(doc.Title + doc.FilePath)
                    + QString(" changed %1 zoom %2 page %3 lines %4 rulers %5 hidden %6")
                          .arg(doc.Changed)
                          .arg(doc.Zoom)
                          .arg(static_cast<int>(doc.PageMode))
                          .arg(doc.SupportLines)
                          .arg(doc.RulerVisible)
                          .arg(doc.HideHotspots);
            for (const Hotspot& spot : doc.Hotspots)
                out << QString::fromStdString(spot.AreaTag)
                        + QString(" %1 %2").arg(spot.Active).arg(spot.Locked);
        }
        for (const Hotspot& spot : State.HotspotClipboard)
            out << "clip " + QString::fromStdString(spot.AreaTag);
        out << "desktop clip " + QApplication::clipboard()->text();
        out << QString("window %1, documents shown %2, tool %3")
                   .arg(Window->isVisible())
                   .arg(Window->DocumentArea()->subWindowList().size())
                   .arg(static_cast<int>(Docs().CurrentTool()));
        for (const QAction* action : Window->findChildren<QAction*>())
            out << action->objectName() + (action->isChecked() ? " ticked" : "");
        out << QString("bars %1 %2 %3")
                   .arg(Bars().IsBarVisible("Standard"))
                   .arg(Bars().IsBarVisible(kStatusBarKey))
                   .arg(Bars().IsBarVisible("vfrm_Properties"));
        out << QString("labels %1").arg(State.Settings.HotspotLabels);
        if (DocumentWindow* window = Docs().ActiveWindow()) {
            out << QString("history %1, selected %2, zoom %3")
                       .arg(window->Model().History().index())
                       .arg(window->Surface().SelectedFigureId())
                       .arg(window->Surface().ZoomPercent());
        }
        for (const std::string& path : Docs().RecentFiles())
            out << "recent " + QString::fromStdString(path);
        return out.join('\n');
    }

    // Prompts, file dialogs, dialogs of the program's own, web pages: all that opened.
    int Opened() const
    {
        return static_cast<int>(Prompt.Messages.size() + Prompt.FileRequests.size()) + Urls
            + CodeDialogs;
    }
};

void CollectMenu(const QMenu* menu, QSet<QString>& keys)
{
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible() || !action->isEnabled())
            continue;
        if (action->menu())
            CollectMenu(action->menu(), keys);
        else
            keys.insert(action->objectName());
    }
}

// The keys of the entries a user can click, or reach by a shortcut key, right now.
QStringList ReachableCommands(Fixture& f, bool withDocument)
{
    QSet<QString> keys;
    for (const QAction* top : f.Window->menuBar()->actions()) {
        if (top->menu() && top->isEnabled())
            CollectMenu(top->menu(), keys);
    }
    for (const QToolBar* bar : f.Window->findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            if (qobject_cast<QWidgetAction*>(action)) {
                // The zoom drop-down: a button that opens the menu of its entries.
                const auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
                if (button && button->isEnabled() && button->menu())
                    CollectMenu(button->menu(), keys);
            } else if (action->isEnabled()) {
                keys.insert(action->objectName());
            }
        }
    }
    if (withDocument)
        CollectMenu(f.Window->findChild<QMenu*>("pop_Edit"), keys);
    for (const QAction* action : f.Window->actions()) {
        if (!action->shortcuts().isEmpty() && action->isEnabled())
            keys.insert(action->objectName());
    }
    QStringList sorted(keys.begin(), keys.end());
    sorted.sort();
    return sorted;
}

// Counts and closes every modal window that opens while it lives.
class ModalCloser
{
public:
    explicit ModalCloser(int& count)
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [&count] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++count;
                modal->close();
            }
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

// The keys among keys that are enabled and, clicked, change nothing and open nothing.
QStringList IdleCommands(const QStringList& keys, bool withDocument)
{
    QStringList idle;
    for (const QString& key : keys) {
        Fixture f(withDocument);
        QAction* action = f.Bars().Tool(key);
        if (!action) {
            idle << key + " (no tool)";
            continue;
        }
        if (kChoices.contains(key.toUpper()) && action->isChecked())
            continue;
        QApplication::clipboard()->clear();
        const QString before = f.Snapshot();
        const int opened = f.Opened();
        int modals = 0;
        {
            ModalCloser closer(modals);
            action->trigger();
            QApplication::processEvents();
        }
        if (modals == 0 && f.Opened() == opened && f.Snapshot() == before)
            idle << key;
    }
    return idle;
}

} // namespace

class CommandWalkTest : public QObject
{
    Q_OBJECT

private slots:
    void everyEnabledCommandDoesSomething_data()
    {
        QTest::addColumn<bool>("withDocument");
        QTest::addColumn<QStringList>("mustBeReachable");
        QTest::newRow("no document") << false
                                     << QStringList { "New", "Open", "Recentfile1", "Exit",
                                            "ViewToolbar", "About", "Webpage1", "Report" };
        QTest::newRow("a document") << true
                                    << QStringList { "Save", "SaveAs", "Close", "CloseAll", "Undo",
                                           "Cut", "Paste", "pop_Lock", "Edit_Fig", "Zoom5",
                                           "t_Rotate", "t_Ruler", "Exp_CopyMap", "Recentfile1" };
    }

    void everyEnabledCommandDoesSomething()
    {
        QFETCH(bool, withDocument);
        QFETCH(QStringList, mustBeReachable);
        QStringList keys;
        {
            Fixture f(withDocument);
            keys = ReachableCommands(f, withDocument);
        }
        for (const QString& key : mustBeReachable)
            QVERIFY2(keys.contains(key), qPrintable(key + " is not reachable"));
        const QStringList idle = IdleCommands(keys, withDocument);
        QVERIFY2(idle.isEmpty(), qPrintable("enabled, but doing nothing: " + idle.join(", ")));
    }
};

QTEST_MAIN(CommandWalkTest)
#include "command_walk_test.moc"
