#include "core/formats/img_import.h"

#include "core/util/numbers.h"
#include "core/util/strings.h"

#include <array>

namespace karvex {

namespace {

constexpr auto kNone = std::string::npos;

// IMG attributes the panel offers as entries of their own; they stay in ImgTag as written.
constexpr std::array kRewrittenImgAttributes = { "LOWSRC", "ONCLICK", "ONDBLCLICK", "ONMOUSEDOWN",
    "ONMOUSEUP", "ONMOUSEOVER", "ONMOUSEMOVE", "ONMOUSEOUT", "ONKEYPRESS", "ONKEYDOWN", "ONKEYUP",
    "ID", "NAME", "ALIGN", "CLASS", "DATASRC", "HSPACE", "VSPACE", "TITLE" };

bool IsRewritten(const std::string& upperName)
{
    for (const char* name : kRewrittenImgAttributes) {
        if (upperName == name)
            return true;
    }
    return false;
}

bool IsAbsolute(const std::string& path, PathStyle style)
{
    if (style == PathStyle::Posix)
        return !path.empty() && path.front() == '/';
    return (path.size() >= 2 && path[1] == ':') || path.rfind("\\\\", 0) == 0;
}

// "file:///C:/x" becomes "C:/x"; on POSIX "file:///home/x" becomes "/home/x".
std::string StripFileScheme(const std::string& value, PathStyle style)
{
    const std::size_t at = FindNoCase(value, "FILE:");
    if (at == kNone)
        return value;
    const std::size_t nextColon = value.find(':', at + 5);
    if (style == PathStyle::Windows && nextColon != kNone && nextColon >= at + 2)
        return value.substr(0, at) + value.substr(nextColon - 1);
    std::size_t end = at + 5;
    if (value.compare(end, 2, "//") == 0)
        end += 2;
    return value.substr(0, at) + value.substr(end);
}

std::string FolderOf(const std::string& path, const std::string& separator)
{
    const std::size_t cut = path.find_last_of("/\\");
    if (cut == kNone)
        return {};
    std::string folder = path.substr(0, cut);
    return folder.empty() ? separator : folder;
}

} // namespace

ResolvedPath ResolveSrcPath(const std::string& src, const std::string& pageFile, PathStyle style)
{
    const std::string separator = PathSeparator(style);
    const char sep = separator.front();
    std::string value = StripFileScheme(DecodeAttributeValue(src), style);
    if (style == PathStyle::Windows) {
        if (const std::size_t at = value.find(":/"); at != kNone && at > 0)
            value.erase(0, at - 1);
    }
    if (value.find_first_of("%+") != kNone)
        value = UrlDecode(value);

    const std::string fileName = GetFileName(value);
    std::string folder = value.substr(0, value.size() - fileName.size());
    if (!folder.empty())
        folder.pop_back(); // the separator in front of the file name
    std::string whole = value;
    for (char& ch : whole) {
        if (ch == '/' || ch == '\\')
            ch = sep;
    }
    for (char& ch : folder) {
        if (ch == '/' || ch == '\\')
            ch = sep;
    }

    // A relative reference means what a browser makes of it: a file beside the page, never one
    // in whatever folder the program was started from.
    ResolvedPath result;
    if (IsAbsolute(whole, style)) {
        result.Path = whole;
        return result;
    }
    result
        = ResolvePath(folder.empty() ? fileName : folder, FolderOf(pageFile, separator), separator);
    if (result.Ok() && !folder.empty()) {
        const std::size_t n = fileName.size();
        const bool endsWithName = result.Path.size() >= n
            && EqualsNoCase(std::string_view(result.Path).substr(result.Path.size() - n), fileName);
        if (!endsWithName) {
            if (result.Path.empty() || result.Path.back() != sep)
                result.Path += separator;
            result.Path += fileName;
        }
    }
    return result;
}

ImgReread RereadImgTag(Document& doc, const TagRecord& tag, PathStyle style)
{
    ImgReread result;
    MapImage& image = doc.Images[1];
    doc.ImgAttributes.clear();
    // Relative references are looked up beside the saved document, or beside the picture of
    // a document that has not been saved yet.
    const std::string base = doc.FilePath.empty() ? image.Src : doc.FilePath;
    for (std::size_t i = 1; i < tag.Attributes.size(); ++i) {
        const AttributePair& attribute = tag.Attributes[i];
        const std::string name = ToUpper(Trim(attribute.Name));
        const std::string value = UnquotedValue(attribute.Value);
        if (name == "SRC") {
            const ResolvedPath path = ResolveSrcPath(Trim(value), base, style);
            if (path.Ok() && path.Path != image.Src) {
                image.Src = path.Path;
                result.PictureChanged = true;
                result.PicturePath = path.Path;
            }
        } else if (name == "HEIGHT") {
            image.Height = PictureNumber(value);
        } else if (name == "WIDTH") {
            image.Width = PictureNumber(value);
        } else if (name == "BORDER") {
            image.Border = PictureNumber(value);
        } else if (name == "ALT") {
            image.AltText = value;
        } else if (name == "USEMAP" || IsRewritten(name)) {
            continue; // kept in ImgTag exactly as written
        } else if (!name.empty()) {
            doc.ImgAttributes.push_back({ Trim(attribute.Name), value });
        }
    }
    return result;
}

} // namespace karvex
