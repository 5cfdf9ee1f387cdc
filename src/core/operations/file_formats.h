#pragma once

// The kinds of file the editor opens and saves, one entry each: the ending, the caption in the
// file dialogs, the reader and the writer. The open and save commands, the save itself and the
// command-line converter all take them from here, so a new kind of file is added in one place.

#include "core/formats/html_import.h"
#include "core/model/records.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace karvex {

enum class OpenRoute { Project, Html, MapFile, Picture, Unsupported };

struct FileFormat
{
    std::string Ending; // with its dot, compared without letter case
    std::string FilterCaption; // what the file dialogs call it, e.g. "HTML Files (*.html)"
    OpenRoute Route = OpenRoute::Unsupported;
    // Reads a file of this kind into a new document.
    std::function<ImportResult(const std::string& fileName, const ImportContext& context)> Read;
    // The whole text of a new file of this kind for doc.
    std::function<std::string(Document& doc)> Compose;
    // Saved back to the page it came from, the map goes into the page instead.
    bool MergesIntoPage = false;
    // What the user should know about a file of this kind just written for doc (what the kind
    // cannot hold), or ""; none for kinds that keep everything.
    std::function<std::string(const Document& doc)> Notice;
};

// In the order the file dialogs list them.
const std::vector<FileFormat>& FileFormats();

// Adds a kind of file after the others.
void AddFileFormat(FileFormat format);

// The kind of file a path names by its ending; nullptr for any other ending.
const FileFormat* FormatForPath(const std::string& path);

// The kind of file bytes hold, told by their content alone, whatever the file is called: a
// project (its "<KVX" lines or generated-code block), a server map file of either dialect
// (IsMapFileText) or an HTML page (a tag such as <html>, <img> or <map>, or a UTF-16 text);
// nullptr for anything else. Only the first 256 KiB are looked at.
const FileFormat* FormatForContent(std::string_view bytes);

// The kind of file path names by its ending, else by its content (a map file named ".txt" or
// ".cern-map"); nullptr when neither tells, or the file cannot be read.
const FileFormat* FormatForFile(const std::string& path);

// Which reader opens path: its format's, or the picture route for ".gif" and ".jpg" when
// pictures are allowed; Unsupported for everything else.
OpenRoute RouteForPath(const std::string& path, bool picturesAllowed);

// The filter of the open and save dialogs: "Caption|*.ending|..." for every format.
std::string DocumentFilter();

// The endings for a message: ".kvp, .html, .htm or .map".
std::string FormatEndingsText();

} // namespace karvex
