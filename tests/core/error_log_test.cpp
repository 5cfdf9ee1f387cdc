#include "core/settings/error_log.h"
#include "core/util/file_io.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <string>

namespace karvex {
namespace {

std::tm MakeTime(int hour, int minute, int second, int day, int month, int year)
{
    std::tm time {};
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    time.tm_mday = day;
    time.tm_mon = month - 1;
    time.tm_year = year - 1900;
    return time;
}

TEST(ErrorLogTest, StampAndEntryTexts)
{
    EXPECT_EQ(MakeLogStamp(MakeTime(14, 5, 9, 4, 12, 2026)), "1459-4122026");
    EXPECT_EQ(MakeLogStamp(MakeTime(9, 30, 0, 1, 3, 2027)), "9300-132027");
    EXPECT_EQ(MakeLogStamp(MakeTime(10, 7, 3, 15, 11, 2026)), "1073-15112026");
    EXPECT_EQ(MakeLogStamp(MakeTime(0, 0, 0, 31, 1, 2030)), "000-3112030");
    EXPECT_EQ(FormatTimeOfDay(MakeTime(9, 5, 3, 1, 1, 2026)), "09:05:03");

    EXPECT_EQ(FormatLogEntry("#START", "#1", false, "12:00:00"), "Logging: #START:#1 STATUS=OK");
    EXPECT_EQ(FormatLogEntry("#FRM_LOAD", "#7", true, "12:00:01"),
        "Logging: #FRM_LOAD:#7  Err.at:#7 Err.Time:12:00:01 STATUS=ERROR");
}

TEST(ErrorLogTest, DisabledLogMakesNoFolderOrFile)
{
    test::TempDir dir;
    ErrorLog log;
    log.Start(dir.Path().string(), false, MakeTime(10, 7, 3, 15, 11, 2026));
    log.WriteLogEntry("#START", "#1");
    log.WriteLogEntry("#FRM_LOAD", "#2", true);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Errors"));
    EXPECT_EQ(log.Stamp(), "");

    // Switched on later without a stamp of this start: the entries still land in one file.
    log.SetEnabled(true);
    log.WriteLogEntry("#FRM_LOAD", "#3");
    EXPECT_EQ(ApiReadFile((dir.Path() / "Errors" / "ErrorLog.TXT").string()),
        "Logging: #FRM_LOAD:#3 STATUS=OK\r\n");
}

TEST(ErrorLogTest, EntriesAreAppendedInOrderToTheFileOfTheStart)
{
    test::TempDir dir;
    ErrorLog log;
    log.Start(dir.Path().string(), true, MakeTime(10, 7, 3, 15, 11, 2026));
    const auto expectedPath = dir.Path() / "Errors" / "ErrorLog1073-15112026.TXT";
    EXPECT_EQ(std::filesystem::path(log.LogFilePath()), expectedPath);

    log.WriteLogEntry("#START", "#1");
    log.WriteLogEntry("#Debugmode", "#2");
    log.WriteLogEntry("#FRM_LOAD", "#9", true);
    log.WriteLogEntry("#Start Finished", "#4");

    const std::string text = ApiReadFile(expectedPath.string());
    const std::regex expected("Logging: #START:#1 STATUS=OK\r\n"
                              "Logging: #Debugmode:#2 STATUS=OK\r\n"
                              "Logging: #FRM_LOAD:#9  Err\\.at:#9 Err\\.Time:"
                              "[0-2][0-9]:[0-5][0-9]:[0-6][0-9] STATUS=ERROR\r\n"
                              "Logging: #Start Finished:#4 STATUS=OK\r\n");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path() / "Errors"),
                  std::filesystem::directory_iterator()),
        1);
}

TEST(ErrorLogTest, UnusableFolderIsSilent)
{
    test::TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.File("Errors"), "not a folder"));
    ErrorLog log;
    log.Start(dir.Path().string(), true, MakeTime(1, 2, 3, 4, 5, 2026));
    log.WriteLogEntry("#START", "#1");
    EXPECT_EQ(ApiReadFile(dir.File("Errors")), "not a folder");
    EXPECT_FALSE(std::filesystem::exists(log.LogFilePath()));
}

} // namespace
} // namespace karvex
