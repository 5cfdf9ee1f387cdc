#include "core/settings/option_values.h"

#include "core/settings/ini_file.h"

namespace karvex {

const std::array<CodeColorItem, kCodeColorCount> kCodeColorItems = { {
    { "HTML Attribute Name", "Colors", "ini_AttributeName", &GlobalSettings::ini_AttributeName },
    { "HTML Attribute Value", "Colors", "ini_AttributeValue", &GlobalSettings::ini_AttributeValue },
    { "HTML Element Name", "Colors", "ini_ElementName", &GlobalSettings::ini_ElementName },
    { "HTML Comment", "Colors", "ini_Comment", &GlobalSettings::ini_Comment },
    { "Selected Background", "Colors", "ini_SelectedBG", &GlobalSettings::ini_SelectedBG },
    { "Gutter Color", "Interface", "ini_CodeBox", &GlobalSettings::ini_CodeBox },
    { "Font Color", "Colors", "ini_FontColor", &GlobalSettings::ini_FontColor },
} };

std::size_t CodeColorIndex(std::string_view key)
{
    for (std::size_t i = 0; i < kCodeColorCount; ++i) {
        if (kCodeColorItems[i].Key == key)
            return i;
    }
    return kCodeColorCount;
}

OptionValues OptionValuesFrom(const GlobalSettings& settings)
{
    OptionValues values;
    values.WelcomeScreen = settings.ini_WelcomeScreen;
    values.MapNameCheck = settings.ini_MapNameCheck;
    values.Search = settings.ini_Search;
    values.StandardLook = settings.ini_Look;
    values.Ruler = settings.ini_Ruler;
    values.Property = settings.ini_Property;
    values.CoolCursor = settings.CoolCursor;
    values.ResetZoom = settings.ini_ResetZoom;
    values.StartExternal = settings.ini_StartExternal;
    values.StandardTooltip = settings.ini_Tooltip;
    values.WholeDocument = settings.ini_DocExisting == 2;
    values.SaveOverDocument = settings.ini_DocTmpFile;
    values.TempFileName = settings.ini_DocFilename;
    values.Testing = settings.ini_TestAction >= 1 && settings.ini_TestAction <= 3
        ? static_cast<TestAction>(settings.ini_TestAction)
        : TestAction::None;
    values.Shape = settings.ini_Shape;
    values.Border = settings.ini_Border;
    for (std::size_t i = 0; i < kCodeColorCount; ++i)
        values.CodeColors[i] = settings.*kCodeColorItems[i].Setting;
    return values;
}

namespace {

std::string TestActionText(TestAction action)
{
    switch (action) {
    case TestAction::Save:
        return "0";
    case TestAction::Prompt:
        return "1";
    case TestAction::DontSave:
    case TestAction::None: // no option selected is stored as "don't save"
        break;
    }
    return "2";
}

} // namespace

std::vector<SettingEntry> OptionEntries(const OptionValues& values)
{
    const auto code = [&values](const char* key) {
        const std::size_t index = CodeColorIndex(key);
        const CodeColorItem& item = kCodeColorItems.at(index);
        return SettingEntry { item.Section, item.Key, std::to_string(values.CodeColors.at(index)) };
    };
    return {
        { "General", "ini_Search", SettingText(values.Search) },
        { "General", "ini_MapNameCheck", SettingText(values.MapNameCheck) },
        { "General", "ini_WelcomeScreen", SettingText(values.WelcomeScreen) },
        { "Interface", "ini_Look", SettingText(values.StandardLook) },
        { "Interface", "ini_Ruler", std::to_string(values.Ruler) },
        { "Interface", "ini_Property", std::to_string(values.Property) },
        { "Interface", "CoolCursor", SettingText(values.CoolCursor) },
        { "InternalPreview", "ini_ResetZoom", SettingText(values.ResetZoom) },
        { "InternalPreview", "ini_StartExternal", SettingText(values.StartExternal) },
        { "InternalPreview", "ini_Tooltip", SettingText(values.StandardTooltip) },
        { "ExternalPreview", "ini_DocExisting", values.WholeDocument ? "1" : "0" },
        { "ExternalPreview", "ini_DocTmpFile", values.SaveOverDocument ? "0" : "1" },
        { "ExternalPreview", "ini_DocFilename", values.TempFileName },
        { "ExternalPreview", "ini_TestAction", TestActionText(values.Testing) },
        { "Colors", "ini_Shape", std::to_string(values.Shape) },
        { "Colors", "ini_Border", std::to_string(values.Border) },
        code("ini_AttributeName"),
        code("ini_AttributeValue"),
        code("ini_ElementName"),
        code("ini_CodeBox"),
        code("ini_FontColor"),
        code("ini_Comment"),
        code("ini_SelectedBG"),
    };
}

WriteResult WriteSettingEntries(
    const std::string& settingsPath, const std::vector<SettingEntry>& entries)
{
    std::string reason;
    std::optional<std::string> old = ReadIniForUpdate(settingsPath, &reason);
    if (!old)
        return { false, "it could not be read (" + reason + ")" };
    std::string text = std::move(*old);
    for (const SettingEntry& entry : entries) {
        auto next = SetProfileValue(text, entry.Section, entry.Key, entry.Value);
        if (!next) {
            return { false,
                "the value of " + std::string(entry.Key) + " cannot be stored in a settings file" };
        }
        text = std::move(*next);
    }
    return WriteWholeFile(settingsPath, text);
}

} // namespace karvex
