#pragma once

// Answers a modal dialog from inside its event loop. The answer waits until a dialog of the
// wanted type is the active modal widget; a watchdog closes whatever modal widget is still open
// after the patience runs out, so a test whose dialog never comes, or comes as another type,
// fails on its next check instead of hanging in the dialog's loop.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <QtGlobal>

namespace karvex::test {

template <class Dialog, class Answer> void AnswerModal(Answer answer, int patienceMs = 10000)
{
    auto* poll = new QTimer(qApp);
    QElapsedTimer waited;
    waited.start();
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, waited, patienceMs, answer]() mutable {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(*dialog);
            return;
        }
        if (waited.elapsed() < patienceMs)
            return;
        poll->stop();
        poll->deleteLater();
        QWidget* stray = QApplication::activeModalWidget();
        qWarning("AnswerModal: the expected dialog did not come within %d ms", patienceMs);
        if (stray)
            stray->close();
    });
    poll->start();
}

} // namespace karvex::test
