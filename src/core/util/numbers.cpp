#include "core/util/numbers.h"

#include "core/util/strings.h"

#include <algorithm>

namespace karvex {

std::int32_t ClampedNumber(std::string_view text, std::int32_t min, std::int32_t max)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ParseLeadingInt(text), min, max));
}

std::optional<std::int32_t> NumberInRange(std::string_view text, std::int32_t min, std::int32_t max)
{
    if (!IsWholeNumber(text))
        return std::nullopt;
    // ParseLeadingInt saturates, so a number of any length compares as out of range.
    const std::int64_t value = ParseLeadingInt(Trim(text));
    if (value < min || value > max)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace karvex
