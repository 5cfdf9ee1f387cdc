#pragma once

// The program's start routine: logging first, then the main window and its load sequence.

#include <QString>
#include <memory>

namespace karvex {

struct AppState;
class MainWindow;
class Prompt;

// Runs the start routine over state and returns the shown main window. commandLine is the
// raw text after the program name; programFolder holds kvx.ini and Errors/.
std::unique_ptr<MainWindow> StartProgram(
    AppState& state, Prompt& prompt, const QString& programFolder, const QString& commandLine);

} // namespace karvex
