#pragma once

// The main window's command bars: tools with a key, caption, icon, category and shortcut, one
// QAction each, shared by the menus, toolbars and pop-up menus; the status bar panels; the
// visibility of toolbars, the status bar and docked windows. Keys are compared without case;
// clicks come back as ToolClicked with the tool's key.

#include <QHash>
#include <QIcon>
#include <QKeySequence>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;
class QPoint;
class QToolBar;
class QWidget;

namespace karvex {

// The key of the main window's status bar for SetBarVisible and IsBarVisible.
inline constexpr char kStatusBarKey[] = "vfrm_Statusbar";

class CommandBars : public QObject
{
    Q_OBJECT

public:
    // Works on window's menu bar, toolbars, status bar and docked windows; icons come from the
    // program's own icon set until SetIconProvider replaces it.
    explicit CommandBars(QMainWindow* window);

    // Icons by "pic_..." key; also applied to the tools already created.
    void SetIconProvider(std::function<QIcon(const QString& iconKey)> provider);

    // A tool, created once per key (a second call updates caption, icon and category). An
    // empty iconKey means no icon.
    QAction* AddTool(const QString& key, const QString& caption, const QString& iconKey,
        const QString& category);
    QAction* Tool(const QString& key) const; // nullptr when unknown
    void SetShortcut(const QString& key, const QKeySequence& sequence);
    // Several keys for one tool; menus show the first.
    void SetShortcuts(const QString& key, const QList<QKeySequence>& sequences);
    // Takes every key a tool uses away from the other actions of widget and its children, so
    // the key reaches the tool instead of being ambiguous (a document sub-window's own menu
    // closes on Ctrl+W, for one).
    void ClaimKeysFrom(QWidget* widget) const;
    // The sentence the status bar shows while the pointer rests on a tool or sub-menu.
    void SetStatusTip(const QString& key, const QString& text);

    // A menu on the menu bar (empty parent) or a sub-menu appended to the parent menu;
    // nullptr when the parent is unknown.
    QMenu* AddMenu(const QString& key, const QString& caption, const QString& parentMenuKey = {});
    // Appends a tool (or a menu created with AddMenu) to a menu.
    void AddToMenu(const QString& menuKey, const QString& toolKey, bool separatorBefore = false);

    QToolBar* AddToolBar(const QString& key, const QString& caption);
    void AddToToolBar(const QString& barKey, const QString& toolKey, bool separatorBefore = false);
    // A button showing the tool's icon that opens a menu of the entry tools; the button shows
    // the caption of the first ticked entry beside the icon.
    void AddDropDownToToolBar(const QString& barKey, const QString& toolKey,
        const QStringList& entryKeys, bool separatorBefore = false);

    QMenu* AddPopup(const QString& key);
    void AddToPopup(const QString& popupKey, const QString& toolKey);
    void ShowPopup(const QString& key, const QPoint& globalPos);

    // A framed text panel of the status bar; panels with a stretch fill the free width.
    void AddStatusPanel(const QString& key, int stretch = 0);
    void SetPanelText(const QString& key, const QString& text);
    QString PanelText(const QString& key) const;
    void SetPanelVisible(const QString& key, bool visible);
    bool IsPanelVisible(const QString& key) const;

    // Tools and menus by key; unknown keys are ignored (and are neither enabled nor ticked).
    void SetEnabled(const QString& key, bool enabled);
    bool IsEnabled(const QString& key) const;
    // The ticked state is the program's: a click reports ToolClicked and leaves it as it was.
    // Toolbars show a ticked tool pressed. Unticking a tool makes it show an empty check.
    void SetTicked(const QString& key, bool ticked);
    bool IsTicked(const QString& key) const;

    // Toolbars, the status bar (kStatusBarKey) and registered docked windows.
    void SetBarVisible(const QString& key, bool visible);
    bool IsBarVisible(const QString& key) const;
    void RegisterDock(const QString& key, QDockWidget* dock);

    // Holds back repainting of the window while a batch of changes is made; calls nest, and an
    // unlock without a lock does nothing.
    void Lock(bool locked);

signals:
    void ToolClicked(const QString& key);
    // A toolbar or docked window closed by the user (its close box or the window's bar menu).
    void BarClosed(const QString& key);
    // A toolbar or docked window shown again by the user through the window's bar menu.
    void BarShown(const QString& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct DropDown
    {
        QAction* Tool = nullptr;
        QStringList EntryKeys; // upper-cased
    };

    void OnTriggered(QAction* action);
    void WatchBar(const QString& key, QWidget* bar, QAction* toggleViewAction);
    void UpdateDropDowns(const QString& upperEntryKey);
    QWidget* Bar(const QString& key) const;
    QMenu* AnyMenu(const QString& key) const;

    QMainWindow* m_window;
    std::function<QIcon(const QString&)> m_iconProvider;
    QHash<QString, QAction*> m_tools; // by upper-cased key
    QSet<QString> m_ticked;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, QMenu*> m_popups;
    QHash<QString, QToolBar*> m_toolBars;
    QHash<QString, QDockWidget*> m_docks;
    QHash<QWidget*, QString> m_barKeys; // toolbars and docks, key as given
    QHash<QString, QLabel*> m_panels;
    QList<DropDown> m_dropDowns;
    QWidget* m_closingBar = nullptr;
    int m_lockDepth = 0;
};

} // namespace karvex
