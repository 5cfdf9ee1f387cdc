#pragma once

// The options dialog's values: taken from the loaded settings when the dialog opens and
// written back as keys when it is accepted, all in one write of the settings file.

#include "core/settings/settings.h"
#include "core/util/file_io.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace karvex {

// The test-action choices as the dialog numbers them; None when no option is selected.
enum class TestAction { None = 0, Save = 1, Prompt = 2, DontSave = 3 };

// A code-text colour of the "Display Items:" list: its caption, where it is stored and the
// global setting that holds it.
struct CodeColorItem
{
    const char* Caption;
    const char* Section;
    const char* Key;
    std::int32_t GlobalSettings::*Setting;
};

inline constexpr std::size_t kCodeColorCount = 7;
extern const std::array<CodeColorItem, kCodeColorCount> kCodeColorItems;

// The item stored under key; kCodeColorCount for a key of none.
std::size_t CodeColorIndex(std::string_view key);

struct OptionValues
{
    bool WelcomeScreen = true;
    bool MapNameCheck = true;
    bool Search = true;
    bool StandardLook = false;
    std::int32_t Ruler = 0;
    std::int32_t Property = 0;
    bool CoolCursor = true;
    bool ResetZoom = true;
    bool StartExternal = true;
    bool StandardTooltip = false;
    bool WholeDocument = false; // false: the working image map only
    bool SaveOverDocument = true; // false: a temporary file named TempFileName
    std::string TempFileName;
    TestAction Testing = TestAction::Prompt;
    std::int32_t Shape = 0;
    std::int32_t Border = 0;
    std::array<std::int32_t, kCodeColorCount> CodeColors {}; // in kCodeColorItems order
};

OptionValues OptionValuesFrom(const GlobalSettings& settings);

struct SettingEntry
{
    std::string_view Section;
    std::string_view Key;
    std::string Value;
};

// The keys the dialog writes, in the order it writes them.
std::vector<SettingEntry> OptionEntries(const OptionValues& values);

// Sets every key in order and writes the file once, so a failure leaves it as it was.
WriteResult WriteSettingEntries(
    const std::string& settingsPath, const std::vector<SettingEntry>& entries);

} // namespace karvex
