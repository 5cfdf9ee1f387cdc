#pragma once

// The desktop's clipboard as the editor uses it: text in and text out. Tests put their own in
// its place.

#include <QString>

namespace karvex {

class SystemClipboard
{
public:
    virtual ~SystemClipboard() = default;
    virtual QString Text() const = 0;
    // Replaces what the clipboard held by markup: as plain text, and as HTML for web editors
    // that take pasted markup as markup.
    virtual void SetMarkup(const QString& markup) = 0;
};

// The application's clipboard (QGuiApplication::clipboard()).
SystemClipboard& DesktopClipboard();

} // namespace karvex
