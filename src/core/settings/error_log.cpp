#include "core/settings/error_log.h"

#include "core/util/file_io.h"

#include <array>
#include <filesystem>
#include <system_error>

namespace karvex {

namespace fs = std::filesystem;

std::string MakeLogStamp(const std::tm& time)
{
    return std::to_string(time.tm_hour) + std::to_string(time.tm_min) + std::to_string(time.tm_sec)
        + "-" + std::to_string(time.tm_mday) + std::to_string(time.tm_mon + 1)
        + std::to_string(time.tm_year + 1900);
}

std::string FormatTimeOfDay(const std::tm& time)
{
    std::array<char, 32> buffer {};
    const auto length = std::strftime(buffer.data(), buffer.size(), "%H:%M:%S", &time);
    return std::string(buffer.data(), length);
}

std::tm LocalTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

std::string FormatLogEntry(
    std::string_view tag, std::string_view number, bool error, std::string_view timeText)
{
    std::string line = "Logging: ";
    line.append(tag).append(":").append(number);
    if (!error)
        return line.append(" STATUS=OK");
    line.append(" ").append(" Err.at:").append(number);
    line.append(" Err.Time:").append(timeText).append(" STATUS=ERROR");
    return line;
}

void ErrorLog::Start(const std::string& programFolder, bool enabled, const std::tm& now)
{
    m_programFolder = programFolder;
    m_enabled = enabled;
    if (enabled)
        m_stamp = MakeLogStamp(now);
}

std::string ErrorLog::LogFilePath() const
{
    return (fs::path(m_programFolder) / "Errors" / ("ErrorLog" + m_stamp + ".TXT")).string();
}

void ErrorLog::WriteLogEntry(std::string_view tag, std::string_view number, bool error)
{
    if (!m_enabled || m_programFolder.empty())
        return;
    const fs::path folder = fs::path(m_programFolder) / "Errors";
    std::error_code ec;
    fs::create_directory(folder, ec);
    if (!fs::is_directory(folder, ec))
        return;
    const std::string path = LogFilePath();
    std::string text = ApiReadFile(path);
    text += FormatLogEntry(tag, number, error, error ? FormatTimeOfDay(LocalTimeNow()) : "");
    text += "\r\n";
    WriteWholeFile(path, text);
}

} // namespace karvex
