#pragma once

// The project file: one document with every hotspot's name, colour and locked state, kept as
// HTML-like tag lines, and the reader that makes a new document of it.

#include "core/formats/html_import.h"

#include <string>

namespace karvex {

// The MAP start tag, each live hotspot's AREA tag with "##LOCKED", "##COLOR" and "##NAME" set,
// and "</MAP>", joined by CR LF.
std::string ProjectAreaCode(const Document& doc);

// The whole project text of document docIndex; saveTime is written into the LastSave line.
// Generating the embedded map code stores its map part in the document's SourceMapCode.
std::string ProjectText(Document& doc, const std::string& saveTime);

// A project text (the file's own or one made from a map file) as a new document; fileName
// names the document and anchors relative picture paths.
ImportResult LoadProjectText(
    const std::string& fileName, const std::string& text, const ImportContext& context);
ImportResult LoadProjectFile(const std::string& fileName, const ImportContext& context);

} // namespace karvex
