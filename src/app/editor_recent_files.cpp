// The editor's recent files: kept in kvx.ini, shown in the Recent Files menu, opened from it.

#include "app/command_layout.h"
#include "app/editor.h"
#include "core/model/app_state.h"
#include "core/settings/recent_files.h"
#include "core/util/file_io.h"
#include "core/util/prompt.h"

namespace karvex {

void Editor::LoadRecentFiles()
{
    m_recentFiles = m_state.SettingsPath.empty() ? std::vector<std::string>()
                                                 : ::karvex::LoadRecentFiles(m_state.SettingsPath);
    ShowRecentFiles(m_bars, m_recentFiles);
}

void Editor::RememberRecentFile(const std::string& path)
{
    m_recentFiles = m_state.SettingsPath.empty() ? WithRecentFile(m_recentFiles, path)
                                                 : AddRecentFile(m_state.SettingsPath, path);
    ShowRecentFiles(m_bars, m_recentFiles);
}

void Editor::OpenRecentFile(int number)
{
    if (number < 1 || static_cast<std::size_t>(number) > m_recentFiles.size())
        return;
    // The entry goes before the open: the open may change the list itself.
    const std::string path = m_recentFiles[static_cast<std::size_t>(number) - 1];
    bool gone = false;
    if (!FileExists(path)) {
        m_prompt.Tell("The file " + path
                + " can no longer be found.\r\n\r\nIt has been taken off the Recent Files list.",
            m_state.AppTitle, PromptIcon::Critical);
        gone = true;
    } else {
        // Only a cancelled choice of map keeps a file that did not open on the list; the open
        // has told why the others failed.
        gone = !OpenDocument(path, false) && !m_lastOpenCancelled;
    }
    if (!gone)
        return;
    m_recentFiles = m_state.SettingsPath.empty() ? WithoutRecentFile(m_recentFiles, path)
                                                 : RemoveRecentFile(m_state.SettingsPath, path);
    ShowRecentFiles(m_bars, m_recentFiles);
}

} // namespace karvex
