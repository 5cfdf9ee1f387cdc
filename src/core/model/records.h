#pragma once

// The document and hotspot records: plain structs the whole program reads and writes.

#include "core/model/attribute_pair.h"

#include <cstdint>
#include <string>
#include <vector>

namespace karvex {

// Stored in project files and tag texts: do not renumber.
enum ShapeKind : std::int32_t {
    ShapeRectangle = 1,
    ShapeCircle = 2,
    ShapePolygon = 3,
};

// The page a document window shows.
enum class DocumentPage : std::int32_t {
    Design = 0,
    Code = 1,
    Preview = 2,
};

// Which picture path form a save writes. Stored in project files: do not renumber.
enum class PathModeKind : std::int32_t {
    Current = 0,
    Relative = 1,
    Direct = 2,
};

struct Hotspot
{
    bool Active = false;
    std::string Coords;
    std::string Name;
    std::int32_t Shape = 0;
    std::string Color; // decimal text of a red + 256 * green + 65536 * blue value
    bool Locked = false;
    std::int32_t X1 = 0;
    std::int32_t Y1 = 0;
    std::int32_t X2 = 0;
    std::int32_t Y2 = 0;
    std::int32_t Id = 0; // own slot in Document::Hotspots, and the surface's figure id
    std::vector<AttributePair> Attributes;
    std::string AreaTag;

    bool operator==(const Hotspot& other) const = default;
};

struct MapImage
{
    std::string Src;
    std::string UseMap;
    std::string MapName;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t Border = 0;
    std::string AltText;
    std::string MapTag;
    std::string MapEndTag;

    bool operator==(const MapImage& other) const = default;
};

// One open image map. The loaded picture itself belongs to the document window; the record
// keeps its path and size.
struct Document
{
    std::string Title;
    std::string FilePath;
    std::vector<Hotspot> Hotspots = std::vector<Hotspot>(1); // slot 0 holds no hotspot
    std::string ImgTag;
    std::string SourceImgTag;
    std::string SourceMapCode;
    std::vector<MapImage> Images = std::vector<MapImage>(2); // entry 1 is the picture
    bool Changed = false;
    std::string WebProject;
    bool SupportLines = false;
    bool RulerVisible = true;
    std::vector<AttributePair> ImgAttributes;
    std::int32_t PanelMode = 0;
    std::int32_t Zoom = 100;
    bool HideHotspots = false;
    DocumentPage PageMode = DocumentPage::Design;
    PathModeKind PathMode = PathModeKind::Current;
    std::int32_t ServerType = 0;
    // The character set of the texts above, which stay the file's own bytes: what widgets decode
    // them by and encode typed text in. "" for a map not read from a file: typed text is UTF-8.
    std::string Charset;
};

// "RECT"/"POLY"/"POLYGON"/"CIRCLE" (any case) to "1"/"3"/"2" when toNumber is true, else
// 1/2/3 to "Rectangle"/"Circle"/"Polygon"; anything else gives "".
std::string ConvertShape(const std::string& value, bool toNumber);

// The keyword written into AREA tags for a shape kind: "RECT", "CIRCLE", "POLY"; "" otherwise.
std::string ShapeKeyword(std::int32_t shape);

// A shape kind read from a SHAPE keyword, 0 when the keyword is none of the accepted ones.
std::int32_t ShapeFromKeyword(const std::string& keyword);

// Bounding values of a figure given by its SHAPE keyword and COORDS text.
struct Bounds
{
    std::int32_t X1 = 0;
    std::int32_t Y1 = 0;
    std::int32_t X2 = 0;
    std::int32_t Y2 = 0;
};
Bounds BoundsFromCoords(const std::string& shapeKeyword, const std::string& coords);

// "#RRGGBB" for a colour value held as decimal text (empty counts as 0).
std::string ColorToHtml(const std::string& value);
// Red, green and blue of six hex digits as decimal numbers joined by delimiter
// ("FF0000", "," gives "255,0,0"); "" when the text is not six hex digits.
std::string HtmlToColor(const std::string& text, const std::string& delimiter);

} // namespace karvex
