#include "core/settings/ini_file.h"
#include "core/settings/option_values.h"
#include "core/settings/settings.h"
#include "core/util/file_io.h"
#include "core/util/strings.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace karvex {
namespace {

std::string WriteIni(const test::TempDir& dir, const std::string& text)
{
    std::string path = dir.File("kvx.ini");
    EXPECT_TRUE(WriteWholeFile(path, text));
    return path;
}

TEST(SettingsTest, DefaultTextMatchesTheGoldenFile)
{
    const std::string golden = ApiReadFile(KARVEX_TEST_DATA "/settings/default_kvx.ini");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(DefaultSettingsText(), golden);

    test::TempDir dir;
    const std::string path = WriteIni(dir, "[Recentfiles]\r\nRecentfile1=C:\\a.html\r\n");
    ASSERT_TRUE(WriteDefaultSettings(path));
    EXPECT_EQ(ApiReadFile(path), golden);
}

TEST(SettingsTest, EnsureWritesAMissingFileAndLoadsItsValues)
{
    test::TempDir dir;
    const std::string path = SettingsPathFor(dir.Path().string());
    EXPECT_EQ(std::filesystem::path(path), dir.Path() / "kvx.ini");

    GlobalSettings settings;
    ASSERT_TRUE(EnsureSettings(path, settings));
    EXPECT_EQ(ApiReadFile(path), DefaultSettingsText());
    EXPECT_FALSE(settings.ini_ErrorLog);
    EXPECT_TRUE(settings.ini_WelcomeScreen);
    EXPECT_EQ(settings.ini_Ruler, 14737632);
    EXPECT_EQ(settings.ini_CodeBox, kSystemColorButtonFace);
    EXPECT_EQ(settings.ini_FontColor, kSystemColorButtonShadow);
    EXPECT_EQ(settings.ini_SelectedBG, 14800078); // stored as ini_SelectedBg
    EXPECT_EQ(settings.ini_DocExisting, 1);
    EXPECT_FALSE(settings.ini_DocTmpFile);
    EXPECT_EQ(settings.ini_TestAction, 3);
    EXPECT_EQ(settings.ini_DocFilename, "kvxtmpdoc.html");

    // An existing file is left alone.
    WriteIni(dir, "[General]\r\nini_ErrorLog=1\r\n");
    ASSERT_TRUE(EnsureSettings(path, settings));
    EXPECT_EQ(ApiReadFile(path), "[General]\r\nini_ErrorLog=1\r\n");
    EXPECT_TRUE(settings.ini_ErrorLog);
}

TEST(SettingsTest, MissingKeysTakeTheMissingDefaults)
{
    test::TempDir dir;
    const std::string path = WriteIni(dir, "[General]\r\nini_ErrorLog=0\r\n");
    GlobalSettings s;
    LoadAllSettings(path, s);
    EXPECT_FALSE(s.ini_ErrorLog);
    for (bool on :
        { s.ini_MapNameCheck, s.ini_ChangeURL, s.ini_WelcomeScreen, s.ini_Search, s.CoolCursor,
            s.Toolbar, s.Statusbar, s.Properties, s.ini_ResetZoom, s.ini_StartExternal })
        EXPECT_TRUE(on);
    EXPECT_FALSE(s.ini_Look);
    EXPECT_FALSE(s.ini_Tooltip);
    EXPECT_EQ(s.ini_Ruler, -2147483633);
    EXPECT_EQ(s.ini_CodeBox, -2147483633);
    EXPECT_EQ(s.ini_Property, -2147483633);
    EXPECT_EQ(s.ini_Comment, -2147483633);
    EXPECT_EQ(s.ini_Shape, 0);
    EXPECT_EQ(s.ini_Border, 0);
    EXPECT_EQ(s.ini_FontColor, 0);
    EXPECT_EQ(s.ini_AttributeName, 255);
    EXPECT_EQ(s.ini_AttributeValue, 16711680);
    EXPECT_EQ(s.ini_ElementName, 65280);
    EXPECT_EQ(s.ini_SelectedBG, 14800078);
    EXPECT_EQ(s.ini_DocExisting, 1);
    EXPECT_EQ(s.ini_TestAction, 3);
    EXPECT_FALSE(s.ini_DocTmpFile);
    EXPECT_EQ(s.ini_DocFilename, "kvxtmpfile.html");
    EXPECT_EQ(ApiReadFile(path), "[General]\r\nini_ErrorLog=0\r\n");
}

TEST(SettingsTest, ConvertsStoredTexts)
{
    struct Case
    {
        const char* Lines;
        bool Look;
        int TestAction;
        std::int32_t Ruler;
    };
    const Case cases[] = {
        { "ini_Look= 1 \r\nini_TestAction=7\r\nini_Ruler=  \r\n", true, 3, kSystemColorButtonFace },
        { "ini_Look=TRUE\r\nini_TestAction=0\r\nini_Ruler=&H80000010\r\n", true, 1,
            kSystemColorButtonShadow },
        { "ini_Look=false\r\nini_TestAction=1\r\nini_Ruler=2147483664\r\n", false, 2,
            kSystemColorButtonShadow },
        { "ini_Look=-1\r\nini_TestAction=abc\r\nini_Ruler=red\r\n", true, 3,
            kSystemColorButtonFace },
        { "ini_Look=yes\r\nini_TestAction=2\r\nini_Ruler=99999999999\r\n", false, 3,
            kSystemColorButtonFace },
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        const std::string path = WriteIni(
            dir, std::string("[Interface]\r\n") + c.Lines + "[ExternalPreview]\r\n" + c.Lines);
        GlobalSettings s;
        LoadAllSettings(path, s);
        EXPECT_EQ(s.ini_Look, c.Look) << c.Lines;
        EXPECT_EQ(s.ini_TestAction, c.TestAction) << c.Lines;
        EXPECT_EQ(s.ini_Ruler, c.Ruler) << c.Lines;
    }
}

TEST(SettingsTest, DocTmpFileIsReadOnlyForTheWholeDocument)
{
    struct Case
    {
        const char* Lines;
        bool Before;
        int DocExisting;
        bool DocTmpFile;
    };
    const Case cases[] = {
        { "ini_DocExisting=0\r\nini_DocTmpFile=0\r\n", true, 1, true },
        { "ini_DocExisting=0\r\nini_DocTmpFile=0\r\n", false, 1, false },
        { "ini_DocTmpFile=0\r\n", false, 1, false },
        { "ini_DocExisting=1\r\nini_DocTmpFile=0\r\n", false, 2, true },
        { "ini_DocExisting=5\r\nini_DocTmpFile=1\r\n", true, 2, false },
        { "ini_DocExisting=1\r\n", true, 2, false },
        { "ini_DocExisting=x\r\nini_DocTmpFile=x\r\n", false, 2, true },
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        const std::string path = WriteIni(dir, std::string("[ExternalPreview]\r\n") + c.Lines);
        GlobalSettings s;
        s.ini_DocTmpFile = c.Before;
        LoadAllSettings(path, s);
        EXPECT_EQ(s.ini_DocExisting, c.DocExisting) << c.Lines;
        EXPECT_EQ(s.ini_DocTmpFile, c.DocTmpFile) << c.Lines;
    }
}

TEST(SettingsTest, SettingValueReadsAndWritesSingleKeys)
{
    test::TempDir dir;
    const std::string path = dir.File("kvx.ini");
    ASSERT_TRUE(WriteDefaultSettings(path));
    EXPECT_EQ(SettingValue(path, "HotspotWizard", "ini_StartIndex", SettingMode::Read, "9"), "1");
    EXPECT_EQ(SettingValue(path, "HotspotWizard", "ini_Missing", SettingMode::Read, "9"), "9");

    SettingValue(path, "colors", "ini_SelectedBG", SettingMode::Write, "123");
    SettingValue(path, "Interface", "Toolbar", SettingMode::Write, SettingText(false));
    SettingValue(path, "General", "ini_Extra", SettingMode::Write, "   ");
    std::string expected
        = ReplaceAll(DefaultSettingsText(), "SelectedBg=14800078", "SelectedBg=123");
    expected = ReplaceAll(expected, "Toolbar=1", "Toolbar=0");
    expected = ReplaceAll(expected, "ini_Search=1\r\n", "ini_Search=1\r\nini_Extra=   \r\n");
    EXPECT_EQ(ApiReadFile(path), expected);
    EXPECT_EQ(SettingValue(path, "General", "ini_Extra", SettingMode::Read, "d"), "d");
    EXPECT_FALSE(ReadBoolSetting(path, "Interface", "Toolbar", true));
    EXPECT_TRUE(ReadErrorLogSetting(dir.File("none.ini")));
    EXPECT_FALSE(ReadErrorLogSetting(path));

    SettingValue(path, "General", "ini_Extra", SettingMode::Write, " " + std::string(260, 'a'));
    EXPECT_EQ(
        SettingValue(path, "General", "ini_Extra", SettingMode::Read, ""), std::string(254, 'a'));
}

// A settings file that is there but cannot be read whole is never replaced by the few keys a
// write knows: here a sparse file over the read limit, which any user, root too, fails to read.
TEST(SettingsTest, WritesLeaveAFileTheyCannotReadAlone)
{
    test::TempDir dir;
    const std::string path = dir.File("kvx.ini");
    ASSERT_TRUE(WriteWholeFile(path, "[Recentfiles]\r\n"));
    const auto huge = std::uintmax_t { 2 } << 30;
    std::filesystem::resize_file(path, huge);

    EXPECT_FALSE(WriteProfileString(path, "Interface", "Toolbar", "0"));
    OptionValues values;
    const WriteResult written = WriteSettingEntries(path, OptionEntries(values));
    EXPECT_FALSE(written.Ok);
    EXPECT_EQ(written.Reason, "it could not be read (The file is larger than 1 GiB)");
    EXPECT_EQ(std::filesystem::file_size(path), huge);

    // No file at all (or a link to none) is a first write, not a failure.
    const WriteResult fresh = WriteSettingEntries(dir.File("new.ini"), OptionEntries(values));
    EXPECT_TRUE(fresh.Ok) << fresh.Reason;
}

} // namespace
} // namespace karvex
