#pragma once

// "About Karvex": the program's name and version, its licence, the credit for its icons, and
// where it keeps its settings file and start-up logs.

#include <QDialog>

namespace karvex {

struct AppState;

class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AboutWindow(const AppState& state, QWidget* parent = nullptr);
};

} // namespace karvex
