#include "core/settings/settings.h"

#include "core/settings/ini_file.h"
#include "core/util/file_io.h"
#include "core/util/strings.h"

#include <filesystem>
#include <limits>

namespace karvex {

namespace {

constexpr std::int64_t kUnsigned32Max = 4294967295LL;

std::optional<std::int64_t> ParseHex(std::string_view text)
{
    if (text.size() < 3 || text.size() > 10 || text[0] != '&' || (text[1] != 'H' && text[1] != 'h'))
        return std::nullopt;
    std::int64_t value = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

// Whole numbers as written in the file; hex text is taken as 32 bits, so &H8000000F is the
// same colour as -2147483633.
std::optional<std::int64_t> ParseWide(std::string_view text)
{
    const std::string trimmed = Trim(text);
    if (IsWholeNumber(trimmed))
        return ParseLeadingInt(trimmed);
    if (const auto hex = ParseHex(trimmed))
        return static_cast<std::int64_t>(
            static_cast<std::int32_t>(static_cast<std::uint32_t>(*hex)));
    return std::nullopt;
}

bool FitsInt32(std::int64_t value)
{
    return value >= std::numeric_limits<std::int32_t>::min()
        && value <= std::numeric_limits<std::int32_t>::max();
}

// The three preview keys compare their stored number; text that is no number counts as
// "some other value".
bool StoredNumberIs(std::string_view text, std::int32_t number)
{
    const auto value = ParseSettingInt(text);
    return value && *value == number;
}

std::string Read(const std::string& path, std::string_view section, std::string_view key,
    std::string_view missingDefault)
{
    return SettingValue(path, section, key, SettingMode::Read, missingDefault);
}

} // namespace

std::string SettingsPathFor(const std::string& programFolder)
{
    return (std::filesystem::path(programFolder) / kSettingsFileName).string();
}

std::string SettingValue(const std::string& settingsPath, std::string_view section,
    std::string_view key, SettingMode mode, std::string_view valueOrDefault)
{
    switch (mode) {
    case SettingMode::Read: {
        std::string text = Trim(ReadProfileString(settingsPath, section, key));
        if (text.empty())
            return std::string(valueOrDefault);
        return text;
    }
    case SettingMode::Write:
        WriteProfileString(settingsPath, section, key, valueOrDefault);
        return {};
    }
    return {};
}

std::optional<bool> ParseSettingBool(std::string_view text)
{
    const std::string trimmed = Trim(text);
    if (EqualsNoCase(trimmed, "True"))
        return true;
    if (EqualsNoCase(trimmed, "False"))
        return false;
    if (const auto value = ParseWide(trimmed))
        return *value != 0;
    return std::nullopt;
}

std::optional<std::int32_t> ParseSettingInt(std::string_view text)
{
    const auto value = ParseWide(text);
    if (!value || !FitsInt32(*value))
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::optional<std::int32_t> ParseSettingColor(std::string_view text)
{
    const auto value = ParseWide(text);
    if (!value)
        return std::nullopt;
    if (FitsInt32(*value))
        return static_cast<std::int32_t>(*value);
    if (*value > 0 && *value <= kUnsigned32Max)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
    return std::nullopt;
}

std::string SettingText(bool value) { return value ? "1" : "0"; }

bool ReadBoolSetting(const std::string& settingsPath, std::string_view section,
    std::string_view key, bool missingDefault)
{
    return ParseSettingBool(Read(settingsPath, section, key, {})).value_or(missingDefault);
}

std::int32_t ReadIntSetting(const std::string& settingsPath, std::string_view section,
    std::string_view key, std::int32_t missingDefault)
{
    return ParseSettingInt(Read(settingsPath, section, key, {})).value_or(missingDefault);
}

std::int32_t ReadColorSetting(const std::string& settingsPath, std::string_view section,
    std::string_view key, std::int32_t missingDefault)
{
    return ParseSettingColor(Read(settingsPath, section, key, {})).value_or(missingDefault);
}

bool ReadErrorLogSetting(const std::string& settingsPath)
{
    return ReadBoolSetting(settingsPath, "General", "ini_ErrorLog", true);
}

std::string DefaultSettingsText()
{
    static constexpr std::string_view kLines[] = {
        "[Recentfiles]",
        "",
        "[General]",
        "ini_MapNameCheck=1",
        "ini_ChangeURL=1",
        "ini_WelcomeScreen=1",
        "ini_ErrorLog=0",
        "ini_Search=1",
        "",
        "[Interface]",
        "ini_Look=0",
        "ini_Ruler=14737632",
        "ini_CodeBox=-2147483633",
        "CoolCursor=1",
        "Toolbar=1",
        "Statusbar=1",
        "Properties=1",
        "ini_Property=14737632",
        "",
        "[InternalPreview]",
        "ini_ResetZoom=1",
        "ini_StartExternal=1",
        "ini_Tooltip=0",
        "",
        "[ExternalPreview]",
        "ini_DocStatus=0",
        "ini_DocExisting=0",
        "ini_DocTmpFile=1",
        "ini_DocFilename=kvxtmpdoc.html",
        "ini_TestAction=2",
        "",
        "[Colors]",
        "ini_Shape=0",
        "ini_Border=0",
        "ini_AttributeName=255",
        "ini_FontColor=-2147483632",
        "ini_AttributeValue=8421376",
        "ini_ElementName=16744576",
        "ini_Comment=8421504",
        "ini_SelectedBg=14800078",
        "",
        "[HotspotWizard]",
        "ini_HorizontalStart=10",
        "ini_VerticalStart=10",
        "ini_HorizontalSpace=3",
        "ini_VerticalSpace=3",
        "ini_HorizontalHotspots=3",
        "ini_VerticalHotspots=3",
        "ini_StartIndex=1",
    };
    std::string text;
    for (const auto line : kLines)
        text.append(line).append("\r\n");
    return text;
}

bool WriteDefaultSettings(const std::string& settingsPath)
{
    return WriteWholeFile(settingsPath, DefaultSettingsText()).Ok;
}

void LoadAllSettings(const std::string& settingsPath, GlobalSettings& settings)
{
    const std::string& path = settingsPath;
    settings.ini_Search = ReadBoolSetting(path, "General", "ini_Search", true);
    settings.ini_MapNameCheck = ReadBoolSetting(path, "General", "ini_MapNameCheck", true);
    settings.ini_ChangeURL = ReadBoolSetting(path, "General", "ini_ChangeURL", true);
    settings.ini_WelcomeScreen = ReadBoolSetting(path, "General", "ini_WelcomeScreen", true);
    settings.ini_ErrorLog = ReadBoolSetting(path, "General", "ini_ErrorLog", true);
    settings.ini_BackupPage = ReadBoolSetting(path, "General", "ini_BackupPage", true);

    settings.ini_Look = ReadBoolSetting(path, "Interface", "ini_Look", false);
    settings.ini_Ruler = ReadColorSetting(path, "Interface", "ini_Ruler", kSystemColorButtonFace);
    settings.ini_CodeBox
        = ReadColorSetting(path, "Interface", "ini_CodeBox", kSystemColorButtonFace);
    settings.ini_Property
        = ReadColorSetting(path, "Interface", "ini_Property", kSystemColorButtonFace);
    settings.Toolbar = ReadBoolSetting(path, "Interface", "Toolbar", true);
    settings.Statusbar = ReadBoolSetting(path, "Interface", "Statusbar", true);
    settings.Properties = ReadBoolSetting(path, "Interface", "Properties", true);
    settings.HotspotLabels = ReadBoolSetting(path, "Interface", "HotspotLabels", false);
    settings.CoolCursor = ReadBoolSetting(path, "Interface", "CoolCursor", true);

    settings.ini_ResetZoom = ReadBoolSetting(path, "InternalPreview", "ini_ResetZoom", true);
    settings.ini_StartExternal
        = ReadBoolSetting(path, "InternalPreview", "ini_StartExternal", true);
    settings.ini_Tooltip = ReadBoolSetting(path, "InternalPreview", "ini_Tooltip", false);

    settings.ini_Shape = ReadColorSetting(path, "Colors", "ini_Shape", 0);
    settings.ini_FontColor = ReadColorSetting(path, "Colors", "ini_FontColor", 0);
    settings.ini_Border = ReadColorSetting(path, "Colors", "ini_Border", 0);
    settings.ini_AttributeName = ReadColorSetting(path, "Colors", "ini_AttributeName", 255);
    settings.ini_AttributeValue = ReadColorSetting(path, "Colors", "ini_AttributeValue", 16711680);
    settings.ini_ElementName = ReadColorSetting(path, "Colors", "ini_ElementName", 65280);
    settings.ini_Comment = ReadColorSetting(path, "Colors", "ini_Comment", kSystemColorButtonFace);
    settings.ini_SelectedBG = ReadColorSetting(path, "Colors", "ini_SelectedBG", 14800078);

    // The three preview keys are converted from their text, defaults included.
    const std::string testAction = Read(path, "ExternalPreview", "ini_TestAction", "2");
    settings.ini_TestAction
        = StoredNumberIs(testAction, 0) ? 1 : (StoredNumberIs(testAction, 1) ? 2 : 3);
    const std::string docExisting = Read(path, "ExternalPreview", "ini_DocExisting", "0");
    const bool wholeDocument = !StoredNumberIs(docExisting, 0);
    settings.ini_DocExisting = wholeDocument ? 2 : 1;
    if (wholeDocument) {
        const std::string docTmpFile = Read(path, "ExternalPreview", "ini_DocTmpFile", "1");
        settings.ini_DocTmpFile = !StoredNumberIs(docTmpFile, 1);
    }
    settings.ini_DocFilename = Read(path, "ExternalPreview", "ini_DocFilename", "kvxtmpfile.html");
}

bool EnsureSettings(const std::string& settingsPath, GlobalSettings& settings)
{
    bool written = true;
    if (!FileExists(settingsPath))
        written = WriteDefaultSettings(settingsPath);
    LoadAllSettings(settingsPath, settings);
    return written;
}

} // namespace karvex
