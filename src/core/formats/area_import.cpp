#include "core/formats/area_import.h"

#include "core/code/html_validator.h"
#include "core/util/strings.h"

#include <array>
#include <utility>
#include <vector>

namespace karvex {

namespace {

// Attributes an AREA keeps in its tag text without listing them as extra attributes.
constexpr std::array kKnownAreaAttributes
    = { "HREF", "ALT", "TARGET", "ONCLICK", "ONDBLCLICK", "ONMOUSEDOWN", "ONMOUSEUP", "ONMOUSEOVER",
          "ONMOUSEMOVE", "ONMOUSEOUT", "ONKEYPRESS", "ONKEYDOWN", "ONBLUR", "ONFOCUS", "ONKEYUP",
          "ID", "NAME", "ALIGN", "CLASS", "DATASRC", "HSPACE", "VSPACE", "TITLE" };

} // namespace

bool IsKnownAreaAttribute(std::string_view upperName)
{
    for (const char* known : kKnownAreaAttributes) {
        if (upperName == known)
            return true;
    }
    return false;
}

std::string ReadAreaTagInto(Hotspot& spot, const TagRecord& tag, std::string* nameFromTag)
{
    const std::string& text = tag.TagText;
    // The spans line up with tag.Attributes[1..], which were read from the same text.
    const std::vector<AttributeSpan> spans = ScanAttributeSpans(text, text.size());
    std::vector<std::pair<std::size_t, std::size_t>> removed;
    const auto remove = [&](std::size_t i) {
        if (i - 1 >= spans.size())
            return;
        std::size_t start = spans[i - 1].NameStart;
        while (start > 0 && IsTagBlank(text[start - 1]))
            --start;
        removed.emplace_back(start, spans[i - 1].ValueEnd);
    };
    spot.Attributes.clear();
    for (std::size_t i = 1; i < tag.Attributes.size(); ++i) {
        const AttributePair& attribute = tag.Attributes[i];
        const std::string name = ToUpper(Trim(attribute.Name));
        const std::string value = UnquotedValue(attribute.Value);
        if (name == "##LOCKED") {
            spot.Locked = EqualsNoCase(Trim(value), "True") || ParseLeadingInt(value) != 0;
            remove(i);
        } else if (name == "##COLOR") {
            spot.Color = value;
            remove(i);
        } else if (name == "##NAME") {
            if (nameFromTag)
                *nameFromTag = value;
            remove(i);
        } else if (name == "INDEX") {
            remove(i);
        } else if (name == "SHAPE") {
            spot.Shape = ShapeFromKeyword(Trim(value));
        } else if (name == "COORDS") {
            spot.Coords = Trim(value);
        } else if (!name.empty() && !IsKnownAreaAttribute(name)) {
            spot.Attributes.push_back({ attribute.Name, value });
        }
    }
    std::string kept;
    kept.reserve(text.size());
    std::size_t at = 0;
    for (const auto& [start, end] : removed) {
        kept.append(text, at, start - at);
        at = end;
    }
    kept.append(text, at, std::string::npos);
    const Bounds box = BoundsFromCoords(ShapeKeyword(spot.Shape), spot.Coords);
    spot.X1 = box.X1;
    spot.Y1 = box.Y1;
    spot.X2 = box.X2;
    spot.Y2 = box.Y2;
    spot.AreaTag = kept;
    return kept;
}

} // namespace karvex
