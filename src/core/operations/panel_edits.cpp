#include "core/operations/panel_edits.h"

#include "core/formats/area_import.h"
#include "core/formats/html_import.h"
#include "core/formats/img_import.h"
#include "core/formats/relative_paths.h"
#include "core/formats/tag_reader.h"
#include "core/formats/tag_writer.h"
#include "core/util/file_io.h"
#include "core/util/numbers.h"
#include "core/util/strings.h"

namespace karvex {

namespace {

std::string Squeezed(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n' && ch != '"')
            out += ch;
    }
    return ToUpper(out);
}

bool IsPageFile(const std::string& path)
{
    const std::string upper = ToUpper(path);
    const auto endsWith = [&upper](std::string_view ending) {
        return upper.size() >= ending.size()
            && upper.compare(upper.size() - ending.size(), ending.size(), ending) == 0;
    };
    return endsWith(".HTML") || endsWith(".HTM");
}

std::string SetImg(const Document& doc, const std::string& name, const std::string& value)
{
    return SetAttributeInTag(doc.ImgTag, name, value, "");
}

MapEdit ApplyUsemap(Document& doc, const std::string& value, bool checkMapNames)
{
    MapEdit edit;
    MapImage& image = doc.Images[1];
    const std::string name = Trim(UseMapTarget(value));
    if (checkMapNames && !name.empty() && IsPageFile(doc.FilePath)) {
        const std::string page = PageText(ApiReadFile(doc.FilePath));
        if (MapNameTaken(page, doc.SourceMapCode, name)) {
            edit.Refused = true;
            edit.Message = kUsemapTakenMessage;
            return edit;
        }
    }
    image.UseMap = name.empty() ? std::string() : "#" + name;
    doc.ImgTag = SetImg(doc, "USEMAP", image.UseMap);
    image.MapTag = SetAttributeInTag(
        image.MapTag.empty() ? "<MAP NAME=\"\">" : image.MapTag, "NAME", name, "");
    edit.Reread = true;
    edit.MapTagsChanged = true;
    return edit;
}

} // namespace

bool CleanPanelValue(std::string& value)
{
    if (value.find('"') == std::string::npos)
        return false;
    value = RemoveAll(value, '"');
    return true;
}

std::optional<std::int32_t> PanelColorValue(std::string_view value)
{
    if (value.size() < 6)
        return std::nullopt;
    const std::string_view digits = value.substr(value.size() - 6);
    std::int32_t channels[3] = {};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const int high = HexDigitValue(digits[pair * 2]);
        const int low = HexDigitValue(digits[pair * 2 + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        channels[pair] = high * 16 + low;
    }
    return channels[0] + 256 * channels[1] + 65536 * channels[2];
}

void SetHotspotAttribute(Hotspot& spot, const std::string& name, const std::string& value)
{
    spot.AreaTag = SetAttributeInTag(spot.AreaTag, name, value, "");
    if (IsKnownAreaAttribute(ToUpper(name)))
        return;
    for (AttributePair& pair : spot.Attributes) {
        if (EqualsNoCase(pair.Name, name)) {
            pair.Value = value;
            return;
        }
    }
    spot.Attributes.push_back({ name, value });
}

std::string PathModeText(PathModeKind mode)
{
    switch (mode) {
    case PathModeKind::Relative:
        return "Relative Path";
    case PathModeKind::Direct:
        return "Direct path";
    default:
        return "Current Path";
    }
}

std::string ServerTypeText(std::int32_t type) { return type == 1 ? "CERN" : "NCSA"; }

bool MapNameTaken(
    const std::string& pageText, const std::string& ownMapCode, const std::string& name)
{
    std::string page = pageText;
    // The document's own map is replaced by the next save, so its name is free to keep.
    if (!ownMapCode.empty()) {
        if (const std::size_t at = FindNoCase(page, ownMapCode); at != std::string::npos)
            page.erase(at, ownMapCode.size());
    }
    return Squeezed(page).find("MAPNAME=" + Squeezed(name)) != std::string::npos;
}

MapEdit ApplyMapValue(
    Document& doc, const std::string& key, const std::string& value, bool checkMapNames)
{
    const std::string upperKey = ToUpper(key);
    MapEdit edit;
    MapImage& image = doc.Images[1];
    if (upperKey == "SERVERTYPE") {
        if (value == "NCSA" || value == "CERN")
            doc.ServerType = value == "CERN" ? 1 : 0;
        else
            edit.Refused = true;
    } else if (upperKey == "RELATIVEPATH") {
        if (value == "Current Path")
            doc.PathMode = PathModeKind::Current;
        else if (value == "Relative Path")
            doc.PathMode = PathModeKind::Relative;
        else if (value == "Direct path")
            doc.PathMode = PathModeKind::Direct;
        else
            edit.Refused = true;
    } else if (upperKey == "WIDTH" || upperKey == "HEIGHT") {
        const auto number = NumberInRange(value, 1, kMaxPictureSide);
        if (!number) {
            edit.Refused = true;
            return edit;
        }
        const bool width = upperKey == "WIDTH";
        doc.ImgTag = SetImg(doc, width ? "Width" : "Height", std::to_string(*number));
        (width ? image.Width : image.Height) = *number;
        edit.SizeChanged = true;
    } else if (upperKey == "BORDERSIZE") {
        const auto border = NumberInRange(value, 0, kMaxPictureSide);
        if (!border) {
            edit.Refused = true;
            return edit;
        }
        image.Border = *border;
        doc.ImgTag = SetImg(doc, "BORDER", std::to_string(image.Border));
        edit.Reread = true;
    } else if (upperKey == "WEBPROJECT") {
        doc.WebProject = value;
        edit.Reread = true;
    } else if (upperKey == "USEMAP") {
        return ApplyUsemap(doc, value, checkMapNames);
    } else if (upperKey == "MAPNAME") {
        image.MapName = value;
        edit.Reread = true;
    } else if (upperKey == "ALTTEXT") {
        image.AltText = value;
        doc.ImgTag = SetImg(doc, "ALT", value);
        edit.Reread = true;
    } else if (upperKey == "LOWSRC") {
        doc.ImgTag = SetImg(doc, "LOWSRC", value);
    } else if (!upperKey.empty()) {
        doc.ImgTag = SetImg(doc, key, value);
        edit.Reread = true;
    }
    return edit;
}

MapEdit EditMapValue(
    Document& doc, const std::string& key, const std::string& value, bool checkMapNames)
{
    MapEdit edit = ApplyMapValue(doc, key, value, checkMapNames);
    if (edit.Refused || !edit.Reread)
        return edit;
    const MapImage before = doc.Images[1];
    RereadImgTag(doc, ParseTag(doc.ImgTag));
    const MapImage& after = doc.Images[1];
    edit.SizeChanged
        = edit.SizeChanged || after.Width != before.Width || after.Height != before.Height;
    return edit;
}

bool UsePicture(Document& doc, const std::string& srcText, const std::string& fullPath,
    std::int32_t width, std::int32_t height)
{
    MapImage& image = doc.Images[1];
    image.Src = fullPath;
    image.Width = width;
    image.Height = height;
    doc.ImgTag = SetAttributeInTag(doc.ImgTag, "SRC", srcText, "");
    doc.ImgTag = SetAttributeInTag(doc.ImgTag, "Height", std::to_string(height), "");
    doc.ImgTag = SetAttributeInTag(doc.ImgTag, "Width", std::to_string(width), "");
    if (!GetAttribute(ParseTag(doc.ImgTag), "USEMAP", "").empty())
        return false;
    const std::string mapName = GetFileName(fullPath);
    image.UseMap = "#" + mapName;
    doc.ImgTag = SetAttributeInTag(doc.ImgTag, "UseMap", EncodeRawValue(image.UseMap), "");
    image.MapTag = SetAttributeInTag(image.MapTag.empty() ? "<MAP NAME=\"\">" : image.MapTag,
        "NAME", EncodeRawValue(mapName), "");
    return true;
}

} // namespace karvex
