#include "core/formats/area_import.h"

#include "core/code/html_validator.h"
#include "core/util/strings.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace karvex {

using namespace std::string_view_literals;

namespace {

// Attributes an AREA keeps in its tag text without listing them as extra attributes.
// Views, so that a comparison checks the length before any byte.
constexpr std::array kKnownAreaAttributes = { "HREF"sv, "ALT"sv, "TARGET"sv, "ONCLICK"sv,
    "ONDBLCLICK"sv, "ONMOUSEDOWN"sv, "ONMOUSEUP"sv, "ONMOUSEOVER"sv, "ONMOUSEMOVE"sv,
    "ONMOUSEOUT"sv, "ONKEYPRESS"sv, "ONKEYDOWN"sv, "ONBLUR"sv, "ONFOCUS"sv, "ONKEYUP"sv, "ID"sv,
    "NAME"sv, "ALIGN"sv, "CLASS"sv, "DATASRC"sv, "HSPACE"sv, "VSPACE"sv, "TITLE"sv };

// Trim without the copy.
std::string_view TrimmedView(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

bool IsKnownAreaAttribute(std::string_view upperName)
{
    for (const std::string_view known : kKnownAreaAttributes) {
        if (upperName == known)
            return true;
    }
    return false;
}

void FillHotspotFromAreaTag(Hotspot& spot, const TagRecord& tag, std::string* nameFromTag,
    const std::vector<AttributeSpan>* givenSpans)
{
    const std::string& text = tag.TagText;
    // The spans line up with tag.Attributes[1..], which were read from the same text; unless
    // the caller has them, they are read only when an attribute has to be taken out, which a
    // page's AREAs rarely need.
    std::vector<AttributeSpan> ownSpans;
    const std::vector<AttributeSpan>* spans = givenSpans;
    std::vector<std::pair<std::size_t, std::size_t>> removed;
    const auto remove = [&](std::size_t i) {
        if (!spans) {
            ownSpans = ScanAttributeSpans(text, text.size());
            spans = &ownSpans;
        }
        if (removed.empty())
            removed.reserve(tag.Attributes.size());
        if (i - 1 >= spans->size())
            return;
        std::size_t start = (*spans)[i - 1].NameStart;
        while (start > 0 && IsTagBlank(text[start - 1]))
            --start;
        removed.emplace_back(start, (*spans)[i - 1].ValueEnd);
    };
    spot.Attributes.clear();
    for (std::size_t i = 1; i < tag.Attributes.size(); ++i) {
        const AttributePair& attribute = tag.Attributes[i];
        const std::string upper = ToUpper(TrimmedView(attribute.Name));
        // Compared as views: the length is checked before any byte.
        const std::string_view name = upper;
        if (name == "##LOCKED"sv) {
            const std::string value = UnquotedValue(attribute.Value);
            spot.Locked = EqualsNoCase(Trim(value), "True") || ParseLeadingInt(value) != 0;
            remove(i);
        } else if (name == "##COLOR"sv) {
            spot.Color = UnquotedValue(attribute.Value);
            remove(i);
        } else if (name == "##NAME"sv) {
            // The project writer encodes names like every attribute value.
            if (nameFromTag)
                *nameFromTag = DecodeAttributeValue(UnquotedValue(attribute.Value));
            remove(i);
        } else if (name == "INDEX"sv) {
            remove(i);
        } else if (name == "SHAPE"sv) {
            spot.Shape = ShapeFromKeyword(Trim(UnquotedValue(attribute.Value)));
        } else if (name == "COORDS"sv) {
            spot.Coords = Trim(UnquotedValue(attribute.Value));
        } else if (!name.empty() && !IsKnownAreaAttribute(name)) {
            spot.Attributes.push_back({ attribute.Name, UnquotedValue(attribute.Value) });
        }
    }
    const Bounds box = BoundsFromCoords(ShapeKeyword(spot.Shape), spot.Coords);
    spot.X1 = box.X1;
    spot.Y1 = box.Y1;
    spot.X2 = box.X2;
    spot.Y2 = box.Y2;
    if (removed.empty()) {
        spot.AreaTag = text;
        return;
    }
    std::string kept;
    kept.reserve(text.size());
    std::size_t at = 0;
    for (const auto& [start, end] : removed) {
        kept.append(text, at, start - at);
        at = end;
    }
    kept.append(text, at, std::string::npos);
    spot.AreaTag = std::move(kept);
}

std::string ReadAreaTagInto(Hotspot& spot, const TagRecord& tag, std::string* nameFromTag)
{
    FillHotspotFromAreaTag(spot, tag, nameFromTag);
    return spot.AreaTag;
}

} // namespace karvex
