#pragma once

// What the map-file reader promises about the project text it makes: every AREA has a COORDS
// value a browser reads (whole numbers, as many as its shape needs), a default area none.

#include "core/formats/tag_reader.h"
#include "core/util/strings.h"

#include <string>

namespace karvex::test {

inline bool MapAreasAreSound(const std::string& project)
{
    for (const std::string& line : Split(project, "\r\n")) {
        if (line.rfind("<AREA", 0) != 0)
            continue;
        const TagRecord tag = ParseTag(line);
        const std::string shape = GetAttribute(tag, "SHAPE", "");
        const std::string coords = GetAttribute(tag, "COORDS", "");
        if (shape == "default") {
            if (!coords.empty())
                return false;
            continue;
        }
        const std::vector<std::string> values = Split(coords, ",");
        for (const std::string& value : values) {
            if (value.empty() || !IsWholeNumber(value) || value.find(' ') != std::string::npos)
                return false;
        }
        const std::size_t count = values.size();
        const bool fits = shape == "RECT" ? count == 4
            : shape == "CIRCLE"           ? count == 3 && values[2].front() != '-'
            : shape == "POLY"             ? count >= 6 && count % 2 == 0
                                          : false;
        if (!fits)
            return false;
    }
    return true;
}

} // namespace karvex::test
