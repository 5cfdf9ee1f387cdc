#include "core/model/records.h"

#include "core/util/numbers.h"
#include "core/util/strings.h"

#include <algorithm>
#include <cstdio>

namespace karvex {

namespace {

std::int32_t ClampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

std::string ConvertShape(const std::string& value, bool toNumber)
{
    if (toNumber) {
        // Browsers also take "rectangle", "circ" and "polygon".
        const std::string upper = ToUpper(value);
        if (upper == "RECT" || upper == "RECTANGLE")
            return "1";
        if (upper == "POLY" || upper == "POLYGON")
            return "3";
        if (upper == "CIRCLE" || upper == "CIRC")
            return "2";
        return {};
    }
    if (!IsWholeNumber(value))
        return {};
    switch (ParseLeadingInt(value)) {
    case ShapeRectangle:
        return "Rectangle";
    case ShapeCircle:
        return "Circle";
    case ShapePolygon:
        return "Polygon";
    default:
        return {};
    }
}

std::string ShapeKeyword(std::int32_t shape)
{
    switch (shape) {
    case ShapeRectangle:
        return "RECT";
    case ShapeCircle:
        return "CIRCLE";
    case ShapePolygon:
        return "POLY";
    default:
        return {};
    }
}

std::int32_t ShapeFromKeyword(const std::string& keyword)
{
    const std::string number = ConvertShape(keyword, true);
    return number.empty() ? 0 : static_cast<std::int32_t>(ParseLeadingInt(number));
}

Bounds BoundsFromCoords(const std::string& shapeKeyword, const std::string& coords)
{
    std::vector<std::int32_t> values;
    for (const auto& part : Split(coords, ","))
        values.push_back(CoordinateNumber(part));
    auto at = [&values](std::size_t i) { return i < values.size() ? values[i] : 0; };

    Bounds box;
    switch (ShapeFromKeyword(shapeKeyword)) {
    case ShapeRectangle:
        box = { at(0), at(1), at(2), at(3) };
        break;
    case ShapeCircle: {
        const std::int64_t cx = at(0), cy = at(1), r = at(2);
        const auto limited = [](std::int64_t value) {
            return static_cast<std::int32_t>(
                std::clamp<std::int64_t>(value, -kCoordinateLimit, kCoordinateLimit));
        };
        box = { limited(cx - r), limited(cy - r), limited(cx + r), limited(cy + r) };
        break;
    }
    case ShapePolygon: {
        // The smallest-value search starts from 50000 and the largest from 0, so a
        // polygon without corners keeps those starting values.
        box = { 50000, 50000, 0, 0 };
        for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
            box.X1 = std::min(box.X1, values[i]);
            box.X2 = std::max(box.X2, values[i]);
            box.Y1 = std::min(box.Y1, values[i + 1]);
            box.Y2 = std::max(box.Y2, values[i + 1]);
        }
        break;
    }
    default:
        break;
    }
    return box;
}

std::string ColorToHtml(const std::string& value)
{
    const auto v = static_cast<std::uint32_t>(ClampToInt32(ParseLeadingInt(value)));
    char text[8];
    std::snprintf(
        text, sizeof text, "#%02X%02X%02X", v & 0xFFu, (v >> 8) & 0xFFu, (v >> 16) & 0xFFu);
    return text;
}

std::string HtmlToColor(const std::string& text, const std::string& delimiter)
{
    if (text.size() != 6)
        return {};
    std::string result;
    for (std::size_t i = 0; i < 6; i += 2) {
        const int high = HexDigitValue(text[i]);
        const int low = HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0)
            return {};
        if (i > 0)
            result += delimiter;
        result += std::to_string(16 * high + low);
    }
    return result;
}

} // namespace karvex
