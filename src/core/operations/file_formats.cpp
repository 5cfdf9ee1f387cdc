#include "core/operations/file_formats.h"

#include "core/formats/html_writer.h"
#include "core/formats/map_file.h"
#include "core/formats/project_file.h"
#include "core/settings/error_log.h"
#include "core/util/file_io.h"
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
            [](Document& doc) { return ProjectText(doc, SaveTimeText()); }, false, nullptr });
        list.push_back({ ".html", "HTML Files (*.html)", OpenRoute::Html, ImportHtmlFile, html,
            true, nullptr });
        list.push_back(
            { ".htm", "HTM Files (*.htm)", OpenRoute::Html, ImportHtmlFile, html, true, nullptr });
        // A map file is written in the dialect of the document's server type.
        list.push_back({ ".map", "Map file (*.map)", OpenRoute::MapFile, ImportMapFile,
            [](Document& doc) { return WriteMapFile(doc, doc.ServerType == 1 ? 1 : 0); }, false,
            MapFileNotice });
        return list;
    }();
    return formats;
}

bool EndsWithNoCase(const std::string& path, const std::string& ending)
{
    return path.size() >= ending.size()
        && EqualsNoCase(std::string_view(path).substr(path.size() - ending.size()), ending);
}

const FileFormat* FirstFormatOf(OpenRoute route)
{
    for (const FileFormat& format : Formats()) {
        if (format.Route == route)
            return &format;
    }
    return nullptr;
}

// A project: its first line that is not blank is a KVX line, or it holds the block of
// generated code that only projects have.
bool IsProjectText(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return (first != std::string_view::npos && FindNoCase(text.substr(first, 4), "<KVX") == 0)
        || FindNoCase(text, "<Zozivirera>") != std::string_view::npos;
}

// A page: a tag that only HTML has, or text in UTF-16, which the page reader decodes.
bool IsHtmlText(std::string_view text)
{
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))
        return true;
    for (const char* tag :
        { "<html", "<!doctype html", "<head", "<body", "<img", "<map", "<area" }) {
        if (FindNoCase(text, tag) != std::string_view::npos)
            return true;
    }
    return false;
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

const FileFormat* FormatForContent(std::string_view bytes)
{
    constexpr std::size_t kLookedAt = std::size_t { 256 } * 1024;
    std::string_view text = bytes.substr(0, kLookedAt);
    // A line cut in two could read as a broken map line.
    if (bytes.size() > kLookedAt && text.rfind('\n') != std::string_view::npos)
        text = text.substr(0, text.rfind('\n'));
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (IsProjectText(text))
        return FirstFormatOf(OpenRoute::Project);
    // Before the page test: Karvex's own map files name their picture in an IMG tag comment.
    if (IsMapFileText(text))
        return FirstFormatOf(OpenRoute::MapFile);
    if (IsHtmlText(text))
        return FirstFormatOf(OpenRoute::Html);
    return nullptr;
}

const FileFormat* FormatForFile(const std::string& path)
{
    if (const FileFormat* format = FormatForPath(path))
        return format;
    const ReadResult file = ReadWholeFile(path);
    return file.Ok ? FormatForContent(file.Bytes) : nullptr;
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
