#pragma once

// Help topics by context id: the contents, the options dialog's tabs, the map chooser, the code
// edit dialog and the Hotspot Wizard. The help window maps each to its page.

namespace karvex {

inline constexpr int kHelpContents = 0;
inline constexpr int kOptionsExternalPreviewHelp = 1001;
inline constexpr int kOptionsGeneralHelp = 1002;
inline constexpr int kOptionsInternalPreviewHelp = 1003;
inline constexpr int kOptionsResetHelp = 1004;
inline constexpr int kOptionsLookHelp = 1005;
inline constexpr int kOptionsDesignColorHelp = 1006;
inline constexpr int kMapChooserHelp = 2006;
inline constexpr int kCodeEditHelp = 3003;
inline constexpr int kWizardHelp = 7001;

} // namespace karvex
