#include "core/operations/hotspot_grid.h"

#include "core/formats/area_import.h"
#include "core/formats/tag_reader.h"
#include "core/settings/settings.h"
#include "core/util/numbers.h"
#include "core/util/strings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_set>

namespace karvex {

namespace {

constexpr std::string_view kSection = "HotspotWizard";
constexpr std::string_view kIndex = "%INDEX%";
constexpr std::string_view kCoords = "%COORDS%";

// The keys of the seven numbers, stored in kvx.ini: do not rename.
struct NumberKey
{
    const char* Key;
    std::int32_t GridNumbers::*Field;
};
constexpr NumberKey kNumberKeys[] = {
    { "ini_HorizontalStart", &GridNumbers::HorizontalStart },
    { "ini_VerticalStart", &GridNumbers::VerticalStart },
    { "ini_HorizontalSpace", &GridNumbers::HorizontalSpace },
    { "ini_VerticalSpace", &GridNumbers::VerticalSpace },
    { "ini_HorizontalHotspots", &GridNumbers::Columns },
    { "ini_VerticalHotspots", &GridNumbers::Rows },
    { "ini_StartIndex", &GridNumbers::FirstIndex },
};

// A value of a coordinate text as a number, read as far as it is one: "12.5" and "12px" give
// 12.5 and 12, text without a number gives 0.
double NumberOf(std::string_view text)
{
    const std::string trimmed = Trim(text);
    std::string_view view = trimmed;
    if (!view.empty() && view.front() == '+')
        view.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(view.data(), view.data() + view.size(), value);
    return result.ec == std::errc() && std::isfinite(value) ? value : 0;
}

std::vector<double> NumbersOf(std::string_view coords)
{
    std::vector<double> values;
    for (const std::string& part : Split(coords, ","))
        values.push_back(NumberOf(part));
    return values;
}

// To the nearest whole number, a half to the even neighbour (2.5 gives 2, 3.5 gives 4).
double RoundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

double Limited(double value)
{
    return std::clamp(
        value, -static_cast<double>(kCoordinateLimit), static_cast<double>(kCoordinateLimit));
}

std::string NumberText(double value)
{
    value = Limited(value);
    if (value == std::floor(value))
        return std::to_string(static_cast<std::int64_t>(value));
    char buffer[32];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(std::begin(buffer), result.ptr);
}

std::string JoinNumbers(const std::vector<double>& values)
{
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += ',';
        text += NumberText(values[i]);
    }
    return text;
}

// The name pattern as the value of "##NAME": as it is when the tag reader reads it back whole,
// else in double quotes and encoded (the reader decodes it).
std::string NameValue(const std::string& pattern)
{
    const bool plain
        = !pattern.empty() && pattern.find_first_of(" \t\r\n\f\"'<>=`&/") == std::string::npos;
    if (plain)
        return pattern;
    // Appended piece by piece: GCC 12 misreads "\"" + string&& as an overlapping copy.
    std::string quoted(1, '"');
    quoted += EncodeRawValue(pattern);
    quoted += '"';
    return quoted;
}

} // namespace

GridNumbers ReadGridNumbers(const std::string& settingsPath)
{
    GridNumbers numbers;
    for (const NumberKey& entry : kNumberKeys) {
        const std::int32_t value
            = ReadIntSetting(settingsPath, kSection, entry.Key, numbers.*entry.Field);
        numbers.*entry.Field = std::clamp(value, 0, kGridNumberLimit);
    }
    return numbers;
}

void SaveGridNumbers(const std::string& settingsPath, const GridNumbers& numbers)
{
    for (const NumberKey& entry : kNumberKeys) {
        SettingValue(settingsPath, kSection, entry.Key, SettingMode::Write,
            std::to_string(numbers.*entry.Field));
    }
}

GridTemplate TakeTemplate(const Hotspot& spot, std::int32_t originX, std::int32_t originY)
{
    std::vector<double> values = NumbersOf(spot.Coords);
    if (spot.Shape == ShapeCircle) {
        const double radius = values.size() >= 3 ? RoundHalfEven(values[2]) : 0;
        values.assign(3, radius);
    } else {
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] -= i % 2 == 0 ? originX : originY;
    }
    return { JoinNumbers(values), spot.Shape };
}

std::int32_t GetHotspotInfo(std::string_view coords, bool horizontal)
{
    const std::vector<double> values = NumbersOf(coords);
    double extent = 0;
    if (values.size() == 3) {
        extent = 2 * values[1];
    } else if (values.size() == 4) {
        extent = horizontal ? values[2] : values[3];
    } else {
        for (std::size_t i = horizontal ? 0 : 1; i < values.size(); i += 2)
            extent = std::max(extent, values[i]);
    }
    return static_cast<std::int32_t>(RoundHalfEven(Limited(extent)));
}

std::string OffsetCoords(std::string_view coords, std::int64_t dx, std::int64_t dy)
{
    std::vector<double> values = NumbersOf(coords);
    const auto x = static_cast<double>(dx);
    const auto y = static_cast<double>(dy);
    if (values.size() == 3) {
        values = { RoundHalfEven(values[0] + x), RoundHalfEven(values[1] + y),
            RoundHalfEven(values[2]) };
    } else if (values.size() == 4) {
        values = { RoundHalfEven(values[0] + x), RoundHalfEven(values[1] + y), values[2] + x,
            values[3] + y };
    } else {
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] += i % 2 == 0 ? x : y;
    }
    return JoinNumbers(values);
}

std::string GridCodeTemplate(std::int32_t shape, const std::vector<AttributePair>& attributes)
{
    const std::string keyword = ShapeKeyword(shape);
    std::string text = "<AREA SHAPE=\"" + (keyword.empty() ? std::string("RECT") : keyword)
        + "\" COORDS=" + std::string(kCoords) + " ";
    for (const AttributePair& attribute : attributes)
        text += attribute.Name + "=\"" + EncodeAttributeValue(attribute.Value) + "\" ";
    text += ">";
    if (text.ends_with(" >"))
        text.erase(text.size() - 2, 1);
    return text;
}

GridCode GenerateGridCode(const GridRequest& request)
{
    const GridNumbers& numbers = request.Numbers;
    GridCode grid;
    if (numbers.Columns <= 0 || numbers.Rows <= 0)
        return grid;
    std::string pattern = request.NameTemplate;
    if (pattern.find(kIndex) == std::string::npos)
        pattern += kIndex;
    const std::string tail = std::string("##LOCKED=") + (request.Locked ? "TRUE" : "FALSE")
        + " ##COLOR=" + std::to_string(request.Color) + " ##NAME=" + NameValue(pattern);
    const std::string expanded = ReplaceAll(request.CodeTemplate, ">", " " + tail + ">");
    const std::int64_t width = GetHotspotInfo(request.Template.Coords, true);
    const std::int64_t height = GetHotspotInfo(request.Template.Coords, false);

    const auto count
        = static_cast<std::size_t>(numbers.Columns) * static_cast<std::size_t>(numbers.Rows);
    grid.Names.reserve(count);
    grid.Code.reserve(count * (expanded.size() + 32));
    std::int64_t dy = numbers.VerticalStart;
    std::int64_t index = numbers.FirstIndex;
    for (std::int32_t row = 0; row < numbers.Rows; ++row) {
        std::int64_t dx = numbers.HorizontalStart;
        for (std::int32_t column = 0; column < numbers.Columns; ++column) {
            const std::string coords = OffsetCoords(request.Template.Coords, dx, dy);
            dx += width + numbers.HorizontalSpace;
            const std::string indexText = std::to_string(index);
            grid.Code += ReplaceAll(ReplaceAll(expanded, kCoords, coords), kIndex, indexText);
            grid.Code += "\r\n";
            // The name as the tag's "##NAME" will carry it.
            grid.Names.push_back(
                ReplaceAll(ReplaceAll(pattern, kCoords, coords), kIndex, indexText));
            ++index;
        }
        dy += height + numbers.VerticalSpace;
    }
    return grid;
}

bool GridNamesClash(const HotspotNameTable& names, const std::vector<std::string>& generated)
{
    std::unordered_set<std::string> upper;
    upper.reserve(generated.size());
    for (const std::string& name : generated)
        upper.insert(ToUpper(name));
    return std::ranges::any_of(names.Entries(),
        [&upper](const auto& entry) { return upper.contains(ToUpper(entry.Key)); });
}

std::vector<Hotspot> ReadGridHotspots(std::string_view code)
{
    std::vector<Hotspot> spots;
    std::size_t at = 0;
    while (at < code.size()) {
        std::size_t end = code.find("\r\n", at);
        if (end == std::string_view::npos)
            end = code.size();
        const std::string_view line = code.substr(at, end - at);
        at = end + 2;
        const TagRecord tag = ParseTag(line);
        if (!EqualsNoCase(tag.TagName, "AREA"))
            continue;
        Hotspot& spot = spots.emplace_back();
        std::string name;
        FillHotspotFromAreaTag(spot, tag, &name);
        spot.Name = std::move(name);
        spot.Active = true;
    }
    return spots;
}

} // namespace karvex
