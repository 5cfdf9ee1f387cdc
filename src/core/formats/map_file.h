#pragma once

// Server-side map files in the NCSA and CERN dialects: the writer, and the reader that turns a
// map file into project text for the project reader.

#include "core/formats/html_import.h"

#include <string>

namespace karvex {

// The map file text of doc: a comment header naming the picture and its size, then one line
// per live hotspot; serverType 0 writes NCSA, 1 CERN.
std::string WriteMapFile(const Document& doc, int serverType);

// The project text for a map file of either dialect (fileName names the map). Quoted menu text
// and comments after an entry are passed over; "default" becomes a default area, "point" a
// small circle; "base" lines, unknown shapes and entries with the wrong count of numbers make
// no area.
std::string MapFileToProjectText(const std::string& fileName, const std::string& text);

// A map file as a new document.
ImportResult ImportMapFile(const std::string& fileName, const ImportContext& context);

} // namespace karvex
