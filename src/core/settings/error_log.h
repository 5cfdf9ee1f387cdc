#pragma once

// The start-up checkpoint log: one text file per program start under the program folder's
// "Errors" folder, one line per checkpoint, written only while logging is switched on.

#include <ctime>
#include <string>
#include <string_view>

namespace karvex {

// Hour, minute, second, "-", day, month, year, in decimal without leading zeros or
// separators: 14:05:09 on 4 December 2026 gives "1459-4122026".
std::string MakeLogStamp(const std::tm& time);

// The time of day as the log writes it: "HH:MM:SS" (24-hour clock, two digits each).
std::string FormatTimeOfDay(const std::tm& time);

// The current local time.
std::tm LocalTimeNow();

// One log line without its line end. The error form names the checkpoint number twice and
// carries timeText; the normal form ignores timeText.
std::string FormatLogEntry(
    std::string_view tag, std::string_view number, bool error, std::string_view timeText);

// The logging switch, the stamp of this start and the folder the log lives under.
class ErrorLog
{
public:
    // Remembers the program folder and the switch; makes the stamp from now only when
    // logging is on, so a log switched on later writes to "ErrorLog.TXT".
    void Start(const std::string& programFolder, bool enabled, const std::tm& now);

    // The switch is read again each time all settings are loaded; the stamp stays.
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool Enabled() const { return m_enabled; }
    const std::string& Stamp() const { return m_stamp; }

    // programFolder/Errors/ErrorLog<stamp>.TXT with the native separator.
    std::string LogFilePath() const;

    // Appends one line and CR LF to the log file, creating the "Errors" folder when needed.
    // Does nothing while logging is off or before Start named a folder; any failure to make
    // the folder or write the file is silent, since logging must never stop the program.
    void WriteLogEntry(std::string_view tag, std::string_view number, bool error = false);

private:
    std::string m_programFolder;
    std::string m_stamp;
    bool m_enabled = false;
};

} // namespace karvex
