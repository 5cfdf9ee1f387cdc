#include "core/formats/area_import.h"

#include "core/util/strings.h"

#include <array>

namespace karvex {

namespace {

// Attributes an AREA keeps in its tag text without listing them as extra attributes.
constexpr std::array kKnownAreaAttributes
    = { "HREF", "ALT", "TARGET", "ONCLICK", "ONDBLCLICK", "ONMOUSEDOWN", "ONMOUSEUP", "ONMOUSEOVER",
          "ONMOUSEMOVE", "ONMOUSEOUT", "ONKEYPRESS", "ONKEYDOWN", "ONBLUR", "ONFOCUS", "ONKEYUP",
          "ID", "NAME", "ALIGN", "CLASS", "DATASRC", "HSPACE", "VSPACE", "TITLE" };

// Removes the first "name=value" as written, with the blank in front of it.
std::string RemoveAttributeText(const std::string& tagText, const AttributePair& attribute)
{
    const std::string written = attribute.Name + "=" + attribute.Value;
    const auto at = tagText.find(written);
    if (at == std::string::npos)
        return tagText;
    std::size_t start = at;
    while (start > 0 && (tagText[start - 1] == ' ' || tagText[start - 1] == '\t'))
        --start;
    return tagText.substr(0, start) + tagText.substr(at + written.size());
}

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
    std::string text = tag.TagText;
    spot.Attributes.clear();
    for (std::size_t i = 1; i < tag.Attributes.size(); ++i) {
        const AttributePair& attribute = tag.Attributes[i];
        const std::string name = ToUpper(Trim(attribute.Name));
        const std::string value = UnquotedValue(attribute.Value);
        if (name == "##LOCKED") {
            spot.Locked = EqualsNoCase(Trim(value), "True") || ParseLeadingInt(value) != 0;
            text = RemoveAttributeText(text, attribute);
        } else if (name == "##COLOR") {
            spot.Color = value;
            text = RemoveAttributeText(text, attribute);
        } else if (name == "##NAME") {
            if (nameFromTag)
                *nameFromTag = value;
            text = RemoveAttributeText(text, attribute);
        } else if (name == "INDEX") {
            text = RemoveAttributeText(text, attribute);
        } else if (name == "SHAPE") {
            spot.Shape = ShapeFromKeyword(Trim(value));
        } else if (name == "COORDS") {
            spot.Coords = Trim(value);
        } else if (!name.empty() && !IsKnownAreaAttribute(name)) {
            spot.Attributes.push_back({ attribute.Name, value });
        }
    }
    const Bounds box = BoundsFromCoords(ShapeKeyword(spot.Shape), spot.Coords);
    spot.X1 = box.X1;
    spot.Y1 = box.Y1;
    spot.X2 = box.X2;
    spot.Y2 = box.Y2;
    spot.AreaTag = text;
    return text;
}

} // namespace karvex
