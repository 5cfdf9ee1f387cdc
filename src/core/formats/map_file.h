#pragma once

// Server-side map files in the NCSA and CERN dialects: the writer, and the reader that turns a
// map file into project text for the project reader.

#include "core/formats/html_import.h"

#include <string>
#include <string_view>
#include <vector>

namespace karvex {

// The map file text of doc: a comment header naming the picture and its size, then one line
// per live hotspot; serverType 0 writes NCSA, 1 CERN. An NCSA circle is its centre and a point
// on its edge ("circle a.html 30,30 40,30"), a CERN circle its centre and radius
// ("circle (30,30) 10 a.html"); links are percent-encoded where a blank, a control character
// or a quote would break the line. A hotspot without a link (or with too few coordinates for
// its shape) is a comment line that names it.
std::string WriteMapFile(const Document& doc, int serverType);

// What a map file written for doc leaves out, for the user: ALT texts, TARGETs and hotspots
// without a link; "" when it leaves out none of them.
std::string MapFileNotice(const Document& doc);

// Whether text reads as a map file of either dialect: no line of it is a tag, at least one line
// makes an area, and no more lines make none.
bool IsMapFileText(std::string_view text);

// The dialect of a map file's text as a server type: 1 (CERN) when more of its areas give
// bracketed coordinates before the link than give the link first, else 0 (NCSA).
int MapFileDialect(std::string_view text);

// The project text for a map file of either dialect (fileName names the map), its lines read
// as servers read them (ReadMapLine): "default" becomes a default area after all the others
// (servers use it only where no area is), "point" a small circle; comments and "base" lines make
// nothing. Each line that no server reads as an area is passed
// over with a warning naming it, added to warnings when given. A CERN file's project says so
// (server type 1). A map file that names no picture takes the one beside it with its name.
std::string MapFileToProjectText(const std::string& fileName, const std::string& text,
    std::vector<std::string>* warnings = nullptr);

// A map file as a new document, with a warning for each line that makes no area.
ImportResult ImportMapFile(const std::string& fileName, const ImportContext& context);

} // namespace karvex
