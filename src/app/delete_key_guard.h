#pragma once

// Decides who gets the Delete key. The Delete command answers to Del and Ctrl+Del window-wide,
// but text editors keep both keys for themselves, and plain Del deletes a hotspot only while
// the focus is in the document area outside the code page (the canvas, the page tabs).

#include <QObject>
#include <QPointer>

class QMdiArea;

namespace karvex {

class DeleteKeyGuard : public QObject
{
    Q_OBJECT

public:
    // Watches every key of the application while it lives.
    explicit DeleteKeyGuard(QMdiArea* documentArea, QObject* parent = nullptr);

    // Whether Delete with these modifiers, pressed with focus on this widget, is the command's.
    bool DeleteKeyIsCommand(const QWidget* focus, Qt::KeyboardModifiers modifiers) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QMdiArea> m_documentArea;
};

} // namespace karvex
