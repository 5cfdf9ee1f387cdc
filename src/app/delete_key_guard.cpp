#include "app/delete_key_guard.h"

#include "components/code_box/code_box.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace karvex {

namespace {

bool EditsText(const QWidget* widget)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return !line->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget))
        return !text->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return !plain->isReadOnly();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->isEditable();
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

} // namespace

DeleteKeyGuard::DeleteKeyGuard(QMdiArea* documentArea, QObject* parent)
    : QObject(parent)
    , m_documentArea(documentArea)
{
    qApp->installEventFilter(this);
}

bool DeleteKeyGuard::DeleteKeyIsCommand(const QWidget* focus, Qt::KeyboardModifiers modifiers) const
{
    if (EditsText(focus))
        return false;
    if (modifiers & Qt::ControlModifier)
        return true;
    // Plain Del: only where a hotspot is what the user is working on.
    for (const QWidget* widget = focus; widget; widget = widget->parentWidget()) {
        if (qobject_cast<const CodeBox*>(widget))
            return false;
        if (widget == m_documentArea)
            return true;
    }
    return false;
}

bool DeleteKeyGuard::eventFilter(QObject* watched, QEvent* event)
{
    // Accepting the override hands the key to the focused widget as an ordinary key press
    // instead of firing the shortcut. The override travels on from the focused widget to its
    // parents; the answer depends on the focused widget alone.
    if (event->type() == QEvent::ShortcutOverride) {
        const QWidget* focus = QApplication::focusWidget();
        if (!focus)
            focus = qobject_cast<const QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Delete
            && (modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier)
            && !DeleteKeyIsCommand(focus, modifiers)) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace karvex
