#pragma once

// The settings file kvx.ini: reading and writing single keys, the default file, and the
// global settings loaded from it that the rest of the program consults.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace karvex {

// Stored by callers as 1 and 2: do not renumber.
enum class SettingMode { Read = 1, Write = 2 };

// Windows system colours (&H80000000 + index), stored in kvx.ini as negative numbers.
inline constexpr std::int32_t kSystemColorBase = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int32_t kSystemColorButtonFace = kSystemColorBase + 0x0F; // &H8000000F
inline constexpr std::int32_t kSystemColorButtonShadow = kSystemColorBase + 0x10; // &H80000010

// The settings file name inside the program folder.
inline constexpr std::string_view kSettingsFileName = "kvx.ini";

// Every global setting, named as its key. The initial values are the program's state before
// the settings are loaded (all off and zero), as LoadAllSettings keeps ini_DocTmpFile when
// it does not read it.
struct GlobalSettings
{
    // [General]
    bool ini_MapNameCheck = false;
    bool ini_ChangeURL = false; // loaded, but nothing depends on it
    bool ini_WelcomeScreen = false;
    bool ini_ErrorLog = false;
    bool ini_Search = false;
    // A save over an existing page first copies its previous bytes to the page's name + "~".
    // Not in the default file: a missing key means on.
    bool ini_BackupPage = false;
    // [Interface]
    bool ini_Look = false; // true: standard look, false: XP look
    std::int32_t ini_Ruler = 0;
    std::int32_t ini_CodeBox = 0;
    bool CoolCursor = false;
    bool Toolbar = false;
    bool Statusbar = false;
    bool Properties = false;
    bool HotspotLabels = false; // each hotspot's ALT text or name shown on the picture
    std::int32_t ini_Property = 0;
    // [InternalPreview]
    bool ini_ResetZoom = false;
    bool ini_StartExternal = false;
    bool ini_Tooltip = false; // true: standard tooltip, false: balloon
    // [ExternalPreview]
    int ini_DocExisting = 0; // 1 working map only, 2 whole document; 0 before loading
    bool ini_DocTmpFile = false; // true: save over the document, false: temporary file
    std::string ini_DocFilename;
    int ini_TestAction = 0; // 1 save, 2 prompt, 3 don't save; 0 before loading
    // [Colors]
    std::int32_t ini_Shape = 0;
    std::int32_t ini_Border = 0;
    std::int32_t ini_AttributeName = 0;
    std::int32_t ini_FontColor = 0;
    std::int32_t ini_AttributeValue = 0;
    std::int32_t ini_ElementName = 0;
    std::int32_t ini_Comment = 0;
    std::int32_t ini_SelectedBG = 0;
};

// programFolder joined with kvx.ini by the native separator.
std::string SettingsPathFor(const std::string& programFolder);

// Read: the key's value (at most 254 characters, spaces trimmed), or valueOrDefault unchanged
// when the key is missing, empty or blank. Write: stores valueOrDefault under the key and
// returns "" (a failed write is silent, as nobody uses the result).
std::string SettingValue(const std::string& settingsPath, std::string_view section,
    std::string_view key, SettingMode mode, std::string_view valueOrDefault);

// Text conversions of stored values. Nothing when the text is not of the kind:
// - booleans: "True"/"False" in any case, or a whole number (0 is false, any other true);
// - whole numbers: an optional sign and decimal digits, or "&H" and up to eight hex digits,
//   within the signed 32-bit range;
// - colours: as whole numbers, and also 2147483648 to 4294967295 (the same 32 bits written
//   unsigned), which become the negative form.
std::optional<bool> ParseSettingBool(std::string_view text);
std::optional<std::int32_t> ParseSettingInt(std::string_view text);
std::optional<std::int32_t> ParseSettingColor(std::string_view text);

// "1" or "0", the stored form of a boolean.
std::string SettingText(bool value);

// Typed reads: the key's converted value, or missingDefault when the key is missing, blank or
// holds text of another kind.
bool ReadBoolSetting(const std::string& settingsPath, std::string_view section,
    std::string_view key, bool missingDefault);
std::int32_t ReadIntSetting(const std::string& settingsPath, std::string_view section,
    std::string_view key, std::int32_t missingDefault);
std::int32_t ReadColorSetting(const std::string& settingsPath, std::string_view section,
    std::string_view key, std::int32_t missingDefault);

// The logging switch as the program entry reads it before anything else: on when missing.
bool ReadErrorLogSetting(const std::string& settingsPath);

// The text of a newly written kvx.ini, every line ended by CR LF.
std::string DefaultSettingsText();

// Replaces the file at settingsPath with the default text. False when it cannot be written.
bool WriteDefaultSettings(const std::string& settingsPath);

// Reads every global setting, taking the defaults for missing keys, and stores it in
// settings. ini_DocTmpFile is read only when the file's ini_DocExisting is not 0; otherwise
// it keeps its value.
void LoadAllSettings(const std::string& settingsPath, GlobalSettings& settings);

// Writes the default file when there is none, then loads all settings. False when the
// missing file could not be written (the settings are loaded with their defaults anyway).
bool EnsureSettings(const std::string& settingsPath, GlobalSettings& settings);

} // namespace karvex
