#pragma once

// The kinds of file the editor opens and saves, one entry each: the ending, the caption in the
// file dialogs, the reader and the writer. The open and save commands, the save itself and the
// command-line converter all take them from here, so a new kind of file is added in one place.

#include "core/formats/html_import.h"
#include "core/model/records.h"

#include <functional>
#include <string>
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
};

// In the order the file dialogs list them.
const std::vector<FileFormat>& FileFormats();

// Adds a kind of file after the others.
void AddFileFormat(FileFormat format);

// The kind of file a path names by its ending; nullptr for any other ending.
const FileFormat* FormatForPath(const std::string& path);

// Which reader opens path: its format's, or the picture route for ".gif" and ".jpg" when
// pictures are allowed; Unsupported for everything else.
OpenRoute RouteForPath(const std::string& path, bool picturesAllowed);

// The filter of the open and save dialogs: "Caption|*.ending|..." for every format.
std::string DocumentFilter();

// The endings for a message: ".kvp, .html, .htm or .map".
std::string FormatEndingsText();

} // namespace karvex
