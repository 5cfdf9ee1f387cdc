#include "components/command_bars/command_bars.h"

#include "components/common/program_icons.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace karvex {

namespace {

constexpr int kPanelMinimumChars = 9;

QString Upper(const QString& key) { return key.toUpper(); }

QString PlainCaption(const QAction* action) { return action->iconText(); }

// A toolbar button's name for assistive technology is its tool's caption, or its tooltip for a
// tool shown by icon alone, without the shortcut; the status tip describes it.
void DescribeButton(QWidget* button, const QAction* tool)
{
    if (!button)
        return;
    QString name = PlainCaption(tool);
    if (tool->text().isEmpty())
        name = tool->toolTip().section(" (", 0, 0);
    button->setAccessibleName(name);
    button->setAccessibleDescription(tool->statusTip());
}

} // namespace

CommandBars::CommandBars(QMainWindow* window)
    : QObject(window)
    , m_window(window)
    , m_iconProvider(ProgramIcon)
{
}

void CommandBars::SetIconProvider(std::function<QIcon(const QString& iconKey)> provider)
{
    m_iconProvider = provider ? std::move(provider) : ProgramIcon;
    for (QAction* action : std::as_const(m_tools)) {
        const QString iconKey = action->property("iconKey").toString();
        action->setIcon(iconKey.isEmpty() ? QIcon() : m_iconProvider(iconKey));
    }
}

QAction* CommandBars::AddTool(
    const QString& key, const QString& caption, const QString& iconKey, const QString& category)
{
    if (key.isEmpty())
        return nullptr;
    QAction* action = m_tools.value(Upper(key));
    if (!action) {
        action = new QAction(this);
        action->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, action] { OnTriggered(action); });
        m_tools.insert(Upper(key), action);
    }
    action->setText(caption);
    action->setProperty("iconKey", iconKey);
    action->setProperty("category", category);
    action->setIcon(iconKey.isEmpty() ? QIcon() : m_iconProvider(iconKey));
    return action;
}

QAction* CommandBars::Tool(const QString& key) const { return m_tools.value(Upper(key)); }

void CommandBars::SetShortcut(const QString& key, const QKeySequence& sequence)
{
    SetShortcuts(key, { sequence });
}

void CommandBars::SetShortcuts(const QString& key, const QList<QKeySequence>& sequences)
{
    QAction* action = Tool(key);
    if (!action)
        return;
    action->setShortcuts(sequences);
    // On the window itself the shortcut works whichever bar shows the tool, even a hidden one.
    m_window->addAction(action);
}

void CommandBars::ClaimKeysFrom(QWidget* widget) const
{
    if (!widget)
        return;
    QSet<QKeySequence> claimed;
    for (const QAction* tool : m_tools) {
        for (const QKeySequence& sequence : tool->shortcuts())
            claimed.insert(sequence);
    }
    QList<QAction*> actions = widget->findChildren<QAction*>();
    actions += widget->actions();
    for (QAction* action : std::as_const(actions)) {
        if (m_tools.value(Upper(action->objectName())) == action)
            continue;
        QList<QKeySequence> kept = action->shortcuts();
        if (kept.removeIf([&claimed](const QKeySequence& s) { return claimed.contains(s); }) > 0)
            action->setShortcuts(kept);
    }
}

void CommandBars::SetStatusTip(const QString& key, const QString& text)
{
    if (QAction* action = Tool(key)) {
        action->setStatusTip(text);
        for (QToolBar* bar : std::as_const(m_toolBars)) {
            if (QWidget* button = bar->widgetForAction(action))
                DescribeButton(button, action);
        }
        for (QToolButton* button : m_window->findChildren<QToolButton*>()) {
            if (button->defaultAction() == action && button->menu())
                DescribeButton(button, action);
        }
    }
    if (QMenu* menu = AnyMenu(key))
        menu->menuAction()->setStatusTip(text);
}

QMenu* CommandBars::AddMenu(
    const QString& key, const QString& caption, const QString& parentMenuKey)
{
    if (key.isEmpty())
        return nullptr;
    if (QMenu* existing = m_menus.value(Upper(key)))
        return existing;
    QMenu* parent = nullptr;
    if (!parentMenuKey.isEmpty()) {
        parent = AnyMenu(parentMenuKey);
        if (!parent)
            return nullptr;
    }
    auto* menu = new QMenu(caption, m_window);
    menu->setObjectName(key);
    menu->menuAction()->setObjectName(key);
    if (parent)
        parent->addMenu(menu);
    else
        m_window->menuBar()->addMenu(menu);
    m_menus.insert(Upper(key), menu);
    return menu;
}

void CommandBars::AddToMenu(const QString& menuKey, const QString& toolKey, bool separatorBefore)
{
    QMenu* menu = AnyMenu(menuKey);
    QAction* action = Tool(toolKey);
    if (!action) {
        if (QMenu* subMenu = m_menus.value(Upper(toolKey)); subMenu && subMenu != menu)
            action = subMenu->menuAction();
    }
    if (!menu || !action)
        return;
    if (separatorBefore)
        menu->addSeparator();
    menu->addAction(action);
}

QToolBar* CommandBars::AddToolBar(const QString& key, const QString& caption)
{
    if (key.isEmpty())
        return nullptr;
    if (QToolBar* existing = m_toolBars.value(Upper(key)))
        return existing;
    auto* bar = new QToolBar(caption, m_window);
    bar->setObjectName(key);
    m_window->addToolBar(bar);
    m_toolBars.insert(Upper(key), bar);
    WatchBar(key, bar, bar->toggleViewAction());
    return bar;
}

void CommandBars::AddToToolBar(const QString& barKey, const QString& toolKey, bool separatorBefore)
{
    QToolBar* bar = m_toolBars.value(Upper(barKey));
    QAction* action = Tool(toolKey);
    if (!bar || !action)
        return;
    if (separatorBefore)
        bar->addSeparator();
    bar->addAction(action);
    DescribeButton(bar->widgetForAction(action), action);
}

void CommandBars::AddDropDownToToolBar(const QString& barKey, const QString& toolKey,
    const QStringList& entryKeys, bool separatorBefore)
{
    QToolBar* bar = m_toolBars.value(Upper(barKey));
    QAction* tool = Tool(toolKey);
    if (!bar || !tool)
        return;

    auto* menu = new QMenu(m_window);
    menu->setObjectName(toolKey + "_Menu");
    DropDown dropDown { tool, {} };
    QString widest;
    for (const QString& entryKey : entryKeys) {
        QAction* entry = Tool(entryKey);
        if (!entry)
            continue;
        menu->addAction(entry);
        dropDown.EntryKeys.append(Upper(entryKey));
        if (PlainCaption(entry).size() > widest.size())
            widest = PlainCaption(entry);
    }

    auto* button = new QToolButton(bar);
    button->setObjectName(toolKey);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIconSize(bar->iconSize());
    connect(bar, &QToolBar::iconSizeChanged, button, &QToolButton::setIconSize);
    button->setDefaultAction(tool);
    // Wide enough for every entry, so the bar does not shift when the choice changes.
    const QString shown = tool->iconText();
    tool->setIconText(widest);
    button->setMinimumWidth(button->sizeHint().width());
    tool->setIconText(shown);
    if (separatorBefore)
        bar->addSeparator();
    bar->addWidget(button);
    DescribeButton(button, tool);

    m_dropDowns.append(dropDown);
    for (const QString& entryKey : std::as_const(dropDown.EntryKeys))
        UpdateDropDowns(entryKey);
}

QMenu* CommandBars::AddPopup(const QString& key)
{
    if (key.isEmpty())
        return nullptr;
    if (QMenu* existing = m_popups.value(Upper(key)))
        return existing;
    auto* popup = new QMenu(m_window);
    popup->setObjectName(key);
    m_popups.insert(Upper(key), popup);
    return popup;
}

void CommandBars::AddToPopup(const QString& popupKey, const QString& toolKey)
{
    QMenu* popup = m_popups.value(Upper(popupKey));
    QAction* action = Tool(toolKey);
    if (popup && action)
        popup->addAction(action);
}

void CommandBars::ShowPopup(const QString& key, const QPoint& globalPos)
{
    if (QMenu* popup = m_popups.value(Upper(key)))
        popup->popup(globalPos);
}

void CommandBars::AddStatusPanel(const QString& key, int stretch)
{
    if (key.isEmpty() || m_panels.contains(Upper(key)))
        return;
    QStatusBar* statusBar = m_window->statusBar();
    statusBar->setObjectName(kStatusBarKey);
    auto* panel = new QLabel(statusBar);
    panel->setObjectName(key);
    panel->setTextFormat(Qt::PlainText); // link addresses and hints are shown as typed
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMargin(1);
    panel->setIndent(4);
    if (stretch > 0) {
        // The stretching panel sits on the left, where menu hints may cover it for a moment.
        statusBar->addWidget(panel, stretch);
    } else {
        panel->setAlignment(Qt::AlignCenter);
        panel->setMinimumWidth(panel->fontMetrics().averageCharWidth() * kPanelMinimumChars);
        statusBar->addPermanentWidget(panel);
    }
    m_panels.insert(Upper(key), panel);
}

void CommandBars::SetPanelText(const QString& key, const QString& text)
{
    if (QLabel* panel = m_panels.value(Upper(key)))
        panel->setText(text);
}

QString CommandBars::PanelText(const QString& key) const
{
    const QLabel* panel = m_panels.value(Upper(key));
    return panel ? panel->text() : QString();
}

void CommandBars::SetPanelVisible(const QString& key, bool visible)
{
    if (QLabel* panel = m_panels.value(Upper(key)))
        panel->setVisible(visible);
}

bool CommandBars::IsPanelVisible(const QString& key) const
{
    const QLabel* panel = m_panels.value(Upper(key));
    return panel && !panel->isHidden();
}

void CommandBars::SetEnabled(const QString& key, bool enabled)
{
    if (QAction* action = Tool(key))
        action->setEnabled(enabled);
    if (QMenu* menu = AnyMenu(key))
        menu->menuAction()->setEnabled(enabled);
}

bool CommandBars::IsEnabled(const QString& key) const
{
    if (const QAction* action = Tool(key))
        return action->isEnabled();
    if (const QMenu* menu = AnyMenu(key))
        return menu->menuAction()->isEnabled();
    return false;
}

void CommandBars::SetTicked(const QString& key, bool ticked)
{
    QAction* action = Tool(key);
    if (!action)
        return;
    const QString upper = Upper(key);
    if (ticked)
        m_ticked.insert(upper);
    else
        m_ticked.remove(upper);
    action->setCheckable(true);
    action->setChecked(ticked);
    UpdateDropDowns(upper);
}

bool CommandBars::IsTicked(const QString& key) const { return m_ticked.contains(Upper(key)); }

void CommandBars::SetBarVisible(const QString& key, bool visible)
{
    QWidget* bar = Bar(key);
    if (!bar)
        return;
    m_closingBar = nullptr;
    bar->setVisible(visible);
}

bool CommandBars::IsBarVisible(const QString& key) const
{
    const QWidget* bar = Bar(key);
    return bar && !bar->isHidden();
}

void CommandBars::RegisterDock(const QString& key, QDockWidget* dock)
{
    if (key.isEmpty() || !dock || m_docks.contains(Upper(key)))
        return;
    m_docks.insert(Upper(key), dock);
    WatchBar(key, dock, dock->toggleViewAction());
}

void CommandBars::Lock(bool locked)
{
    if (locked) {
        if (m_lockDepth++ == 0)
            m_window->setUpdatesEnabled(false);
    } else if (m_lockDepth > 0) {
        if (--m_lockDepth == 0)
            m_window->setUpdatesEnabled(true);
    }
}

bool CommandBars::eventFilter(QObject* watched, QEvent* event)
{
    // A close box (or close()) sends Close and then hides the bar; the bar is reported once it
    // is hidden, so a bar whose close was refused is not reported.
    if (event->type() == QEvent::Close) {
        auto* bar = qobject_cast<QWidget*>(watched);
        m_closingBar = (bar && !bar->isHidden()) ? bar : nullptr;
    } else if (event->type() == QEvent::HideToParent && watched == m_closingBar) {
        m_closingBar = nullptr;
        emit BarClosed(m_barKeys.value(static_cast<QWidget*>(watched)));
    }
    return QObject::eventFilter(watched, event);
}

void CommandBars::OnTriggered(QAction* action)
{
    if (action->isCheckable()) {
        // Qt flipped the check mark on the click; the program decides it with SetTicked.
        const QSignalBlocker blocker(action);
        action->setChecked(m_ticked.contains(Upper(action->objectName())));
    }
    emit ToolClicked(action->objectName());
}

void CommandBars::WatchBar(const QString& key, QWidget* bar, QAction* toggleViewAction)
{
    m_barKeys.insert(bar, key);
    bar->installEventFilter(this);
    // The window's bar menu (right click on the bars) shows bars through this action; it hides
    // them with close(), which the event filter reports.
    connect(toggleViewAction, &QAction::triggered, this, [this, key](bool shown) {
        if (shown)
            emit BarShown(key);
    });
}

void CommandBars::UpdateDropDowns(const QString& upperEntryKey)
{
    for (const DropDown& dropDown : std::as_const(m_dropDowns)) {
        if (!dropDown.EntryKeys.contains(upperEntryKey))
            continue;
        QString caption;
        for (const QString& entryKey : dropDown.EntryKeys) {
            if (m_ticked.contains(entryKey)) {
                caption = PlainCaption(m_tools.value(entryKey));
                break;
            }
        }
        dropDown.Tool->setIconText(caption);
    }
}

QWidget* CommandBars::Bar(const QString& key) const
{
    const QString upper = Upper(key);
    if (upper == Upper(kStatusBarKey))
        return m_window->statusBar();
    if (QToolBar* bar = m_toolBars.value(upper))
        return bar;
    return m_docks.value(upper);
}

QMenu* CommandBars::AnyMenu(const QString& key) const
{
    const QString upper = Upper(key);
    if (QMenu* menu = m_menus.value(upper))
        return menu;
    return m_popups.value(upper);
}

} // namespace karvex
