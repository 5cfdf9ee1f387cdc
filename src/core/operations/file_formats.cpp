#include "core/operations/file_formats.h"

#include "core/formats/html_writer.h"
#include "core/formats/map_file.h"
#include "core/formats/project_file.h"
#include "core/settings/error_log.h"
#include "core/util/strings.h"

#include <ctime>
#include <utility>

namespace karvex {

namespace {

// The moment of a save as the project's LastSave line gives it.
std::string SaveTimeText()
{
    const std::tm local = LocalTimeNow();
    char buffer[32] = {};
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

std::vector<FileFormat>& Formats()
{
    static std::vector<FileFormat> formats = [] {
        const auto html = [](Document& doc) { return GenerateMapCode(doc, true, true); };
        std::vector<FileFormat> list;
        list.push_back({ ".kvp", "KVX Project Files (*.kvp)", OpenRoute::Project, LoadProjectFile,
            [](Document& doc) { return ProjectText(doc, SaveTimeText()); }, false });
        list.push_back(
            { ".html", "HTML Files (*.html)", OpenRoute::Html, ImportHtmlFile, html, true });
        list.push_back(
            { ".htm", "HTM Files (*.htm)", OpenRoute::Html, ImportHtmlFile, html, true });
        // A map file is written in the dialect of the document's server type.
        list.push_back({ ".map", "Map file (*.map)", OpenRoute::MapFile, ImportMapFile,
            [](Document& doc) { return WriteMapFile(doc, doc.ServerType == 1 ? 1 : 0); }, false });
        return list;
    }();
    return formats;
}

bool EndsWithNoCase(const std::string& path, const std::string& ending)
{
    return path.size() >= ending.size()
        && EqualsNoCase(std::string_view(path).substr(path.size() - ending.size()), ending);
}

} // namespace

const std::vector<FileFormat>& FileFormats() { return Formats(); }

void AddFileFormat(FileFormat format) { Formats().push_back(std::move(format)); }

const FileFormat* FormatForPath(const std::string& path)
{
    for (const FileFormat& format : Formats()) {
        if (EndsWithNoCase(path, format.Ending))
            return &format;
    }
    return nullptr;
}

OpenRoute RouteForPath(const std::string& path, bool picturesAllowed)
{
    if (const FileFormat* format = FormatForPath(path))
        return format->Route;
    if (picturesAllowed && (EndsWithNoCase(path, ".gif") || EndsWithNoCase(path, ".jpg")))
        return OpenRoute::Picture;
    return OpenRoute::Unsupported;
}

std::string DocumentFilter()
{
    std::string filter;
    for (const FileFormat& format : Formats()) {
        if (!filter.empty())
            filter += '|';
        filter += format.FilterCaption + "|*" + format.Ending;
    }
    return filter;
}

std::string FormatEndingsText()
{
    std::string text;
    const std::vector<FileFormat>& formats = Formats();
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (i > 0)
            text += i + 1 == formats.size() ? " or " : ", ";
        text += formats[i].Ending;
    }
    return text;
}

} // namespace karvex
