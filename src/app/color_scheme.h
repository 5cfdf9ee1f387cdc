#pragma once

// The program's colour scheme. It follows the desktop's palette as Qt reports it; on a
// desktop without a theme that Qt reads, KARVEX_COLOR_SCHEME=dark asks for a dark one.

#include <QPalette>

namespace karvex {

// A dark palette for the Fusion style, every role and group set.
QPalette DarkPalette();

// Applies KARVEX_COLOR_SCHEME ("dark"; anything else leaves the desktop's palette) to the
// running application. Call before the first window is made.
void ApplyColorSchemeFromEnvironment();

} // namespace karvex
