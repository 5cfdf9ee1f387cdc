#pragma once

// Turns command keys from menus, toolbar and pop-up menu into the editor's operations.

#include <QString>
#include <functional>

namespace karvex {

class CommandBars;
class Editor;

// What the main window itself does for a command.
struct ShellActions
{
    std::function<void()> Exit;
    std::function<void()> About;
};

// Keys compare without letter case; the first matching row acts; unknown keys do nothing.
void DispatchCommand(
    const QString& key, Editor& editor, CommandBars& bars, const ShellActions& shell);

// A bar the user closed with its close box: the View menu and the setting follow.
void HandleBarClosed(const QString& key, Editor& editor, CommandBars& bars);
// A bar the user showed again from the window's bar menu: the same, the other way.
void HandleBarShown(const QString& key, Editor& editor, CommandBars& bars);

// The product's pages on the web.
QString WebPageAddress(const QString& key);

} // namespace karvex
