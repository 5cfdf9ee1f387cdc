#pragma once

// The Qt application object of the editor: it stops an exception that an event handler lets
// out, so that a failed action ends with a message instead of ending the program.

#include <QApplication>

namespace karvex {

class Prompt;

class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    // Where the message about a stopped action goes; without one it goes to standard error.
    void SetPrompt(Prompt* prompt) { m_prompt = prompt; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void ReportStoppedAction(const char* reason);

    Prompt* m_prompt = nullptr;
    bool m_reporting = false; // a message about a stopped action is on screen
};

} // namespace karvex
