#pragma once

#include <string>

namespace karvex {

// One extra attribute of an IMG or AREA tag, kept as written apart from its quotes.
struct AttributePair
{
    std::string Name;
    std::string Value;

    bool operator==(const AttributePair& other) const = default;
};

} // namespace karvex
