// The options dialog opened from the editor; what it saves is applied to everything open.

#include "app/editor.h"
#include "core/model/app_state.h"
#include "ui/options_dialog.h"

#include <QMdiArea>

namespace karvex {

void Editor::ShowOptions()
{
    OptionsDialog dialog(m_state, m_prompt, m_area.window());
    connect(&dialog, &OptionsDialog::HelpRequested, this, [this](int topic) { ShowHelp(topic); });
    dialog.exec();
    if (!dialog.SettingsChanged())
        return;
    // A reset rewrote the whole file, the recent-files list included.
    if (dialog.WasReset())
        LoadRecentFiles();
    ApplySettings();
}

} // namespace karvex
