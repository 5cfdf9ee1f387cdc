#pragma once

// The program's own icon set (Tango), by "pic_..." key, in every size it has.

#include <QIcon>
#include <QString>

namespace karvex {

// The icon in 16, 24 and 32 pixels, so menus, toolbars and dense screens each get a drawn
// picture rather than a scaled one; a null icon for an empty or unknown key. On a dark palette
// every picture gets a thin light outline, since several icons are dark drawings that would
// vanish on a dark bar.
QIcon ProgramIcon(const QString& iconKey);

// Whether the application's palette is a dark one (light text on dark windows).
bool PaletteIsDark();

} // namespace karvex
