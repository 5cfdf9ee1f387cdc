#pragma once

// The model side of the document lifecycle: finding an open document, taking a slot for a new
// document, and the name tables kept in step when documents are activated and closed.

#include "core/formats/relative_paths.h"
#include "core/model/app_state.h"
#include "core/model/records.h"

#include <optional>
#include <string>

namespace karvex {

class Prompt;

// The slot of the open document whose title is path (case-blind), if any.
std::optional<int> FindOpenDocument(const AppState& state, const std::string& path);

// The IMG tag of a new document, its values encoded for the tag.
std::string NewImgTag(
    const std::string& src, std::int32_t width, std::int32_t height, const std::string& useMap);

// Makes a new document for a picture in a fresh slot (slots are never reused), makes it current
// and registers its title "Untitled" + slot in OpenDocuments. Returns the slot. prompt hears of
// a picture that could be read only in part.
int CreateDocumentFromPicture(
    AppState& state, const std::string& picturePath, Prompt* prompt = nullptr);

// Makes slot the current document and fills HotspotNames with its live hotspots' names.
void ActivateDocumentNames(AppState& state, int slot);

// Drops a closed document from OpenDocuments and releases its record (the slot stays taken);
// when it was current, nothing is current anymore.
void ForgetDocument(AppState& state, int slot);

// The window caption: the title without its folder, with "*" while there are unsaved changes.
// Windows titles are cut at the last "\"; POSIX titles at the last "/" or "\".
std::string WindowCaption(const Document& doc, PathStyle style = kNativePathStyle);

} // namespace karvex
