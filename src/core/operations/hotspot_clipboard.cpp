#include "core/operations/hotspot_clipboard.h"

#include "core/formats/html_import.h"
#include "core/formats/tag_reader.h"
#include "core/formats/tag_writer.h"
#include "core/util/numbers.h"
#include "core/util/strings.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace karvex {

namespace {

std::vector<long long> Numbers(const std::string& coords)
{
    std::vector<long long> numbers;
    for (const std::string& part : Split(coords, ","))
        numbers.push_back(CoordinateNumber(part));
    return numbers;
}

std::string Joined(const std::vector<long long>& numbers)
{
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += ',';
        text += std::to_string(numbers[i]);
    }
    return text;
}

// Every x moved by dx and every y by dy; a circle's radius stays.
std::string Moved(std::int32_t shape, const std::string& coords, long long dx, long long dy)
{
    std::vector<long long> numbers = Numbers(coords);
    const std::size_t moved
        = shape == ShapeCircle ? std::min<std::size_t>(2, numbers.size()) : numbers.size();
    for (std::size_t i = 0; i < moved; ++i)
        numbers[i] = std::clamp<long long>(
            numbers[i] + (i % 2 == 0 ? dx : dy), -kCoordinateLimit, kCoordinateLimit);
    return Joined(numbers);
}

Hotspot WithCoords(const Hotspot& spot, const std::string& coords)
{
    Hotspot result = spot;
    result.Coords = coords;
    result.AreaTag = SetAttributeInTag(result.AreaTag, "COORDS", coords, "");
    return result;
}

} // namespace

std::string RelativeCoords(const Hotspot& spot)
{
    if (spot.Shape == ShapeCircle) {
        const std::vector<long long> numbers = Numbers(spot.Coords);
        const std::string r = std::to_string(numbers.size() >= 3 ? numbers[2] : 0);
        return r + "," + r + "," + r;
    }
    return Moved(spot.Shape, spot.Coords, -static_cast<long long>(spot.X1),
        -static_cast<long long>(spot.Y1));
}

Hotspot ClipboardEntry(const Hotspot& spot) { return WithCoords(spot, RelativeCoords(spot)); }

Hotspot PlaceClipboardEntry(const Hotspot& entry, int x, int y)
{
    Hotspot placed = WithCoords(entry, Moved(entry.Shape, entry.Coords, x, y));
    const Bounds box = BoundsFromCoords(ShapeKeyword(placed.Shape), placed.Coords);
    placed.X1 = box.X1;
    placed.Y1 = box.Y1;
    placed.X2 = box.X2;
    placed.Y2 = box.Y2;
    return placed;
}

PictureCorner PasteCorner(const Document& doc, const Hotspot& entry, const PictureArea& visible)
{
    const std::int32_t width = entry.X2 - entry.X1;
    const std::int32_t height = entry.Y2 - entry.Y1;
    PictureCorner corner { entry.X1, entry.Y1 };
    const bool fits = corner.X >= visible.Left && corner.Y >= visible.Top
        && corner.X + width <= visible.Right && corner.Y + height <= visible.Bottom;
    if (!fits) {
        corner.X = visible.Left + std::clamp(visible.Right - visible.Left - width, 0, kPasteStep);
        corner.Y = visible.Top + std::clamp(visible.Bottom - visible.Top - height, 0, kPasteStep);
    }
    std::unordered_set<std::string> taken;
    for (std::size_t i = 1; i < doc.Hotspots.size(); ++i) {
        const Hotspot& spot = doc.Hotspots[i];
        if (spot.Active && spot.Shape == entry.Shape)
            taken.insert(spot.Coords);
    }
    for (int step = 0; step < kPasteCascade
         && taken.count(Moved(entry.Shape, entry.Coords, corner.X, corner.Y)) > 0;
         ++step) {
        corner.X += kPasteStep;
        corner.Y += kPasteStep;
    }
    return corner;
}

std::optional<Hotspot> HotspotFromClipboardText(std::string_view text)
{
    if (text.size() > kMaxClipboardTag || text.find('\0') != std::string_view::npos)
        return std::nullopt;
    // Blanks and line ends around the tag come with copied text.
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::string tagText(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
    // Exactly one tag: it starts the text and its ">" ends it.
    if (tagText.front() != '<' || FindTagEnd(tagText, 0) + 1 != tagText.size())
        return std::nullopt;
    const TagRecord tag = ParseOneTag(tagText);
    if (ToUpper(tag.TagName) != "AREA")
        return std::nullopt;
    const std::string shape = ToUpper(Trim(GetAttribute(tag, "SHAPE", "")));
    const std::size_t count = Split(GetAttribute(tag, "COORDS", ""), ",").size();
    const bool fits = (shape == "RECT" && count == 4) || (shape == "CIRCLE" && count == 3)
        || (shape == "POLY" && count >= 6 && count % 2 == 0);
    if (!fits)
        return std::nullopt;
    Document scratch;
    ImportNames names;
    Hotspot spot = AddImportedArea(scratch, tag, names);
    // A name the importer made up is no name of the tag's own.
    std::string own;
    for (std::size_t i = 1; i < tag.Attributes.size(); ++i) {
        if (ToUpper(Trim(tag.Attributes[i].Name)) == "##NAME")
            own = Trim(UnquotedValue(tag.Attributes[i].Value));
    }
    spot.Name = own;
    return spot;
}

} // namespace karvex
