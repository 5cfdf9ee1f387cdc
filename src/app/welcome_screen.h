#pragma once

// "Welcome": the first steps offered at start-up (a new image map from a picture, opening a
// file), help, the maker's web site, and the switch that turns the window off for later starts.

#include <QDialog>
#include <functional>

class QCheckBox;
class QPushButton;

namespace karvex {

class CommandBars;
class Editor;

class WelcomeScreen : public QDialog
{
    Q_OBJECT

public:
    // runCommand runs a command key as the menus do; help and the web site go through it, and
    // the Help choice is offered only while the Help command is available.
    WelcomeScreen(Editor& editor, const CommandBars& bars,
        std::function<void(const QString& key)> runCommand, QWidget* parent = nullptr);

private:
    void StartNew();
    void OpenExisting();
    void WriteShowSetting(bool dontShow);

    Editor& m_editor;
    std::function<void(const QString&)> m_runCommand;
    QCheckBox* m_dontShow = nullptr;
};

} // namespace karvex
