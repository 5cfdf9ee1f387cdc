#pragma once

// The HTML map writer: joins a document's stored IMG, MAP and AREA tag texts into image-map
// code, merges it into the page the document came from, and rewrites the picture path of the
// IMG tag for the target file.

#include "core/formats/relative_paths.h"
#include "core/model/records.h"

#include <string>
#include <string_view>

namespace karvex {

// Named in the third comment line of every generated map.
inline constexpr const char* kMakerAddress = "https://karvex.example.org";

enum class CodePart : int {
    ImgTag = 1, // the IMG tag without blanks at either end
    AreaCode = 2, // the AREA tags of the live hotspots in slot order, one per line
};

std::string GetDocumentCode(const Document& doc, CodePart part);

// The map code of a document: with comments, two empty lines, the visit line, the IMG tag, the
// MAP block (none without live hotspots) and the end comment; without, the bare MAP block.
// Stores the map part in SourceMapCode, and ImgTag in SourceImgTag when storeImgTag is set.
std::string GenerateMapCode(Document& doc, bool withComments, bool storeImgTag);

// A MAP block shaped like oldBlock: its MAP start tag (NAME taken from the USEMAP of ImgTag),
// everything inside the map kept byte for byte but the AREA tags, whose place areaCode takes,
// then "</MAP>" (see RebuildBlockText). An empty old block, or one without a MAP tag, gives
// the document's own bare MAP block. pageLineEnd is the line end of a block without any.
std::string RebuildMapBlock(Document& doc, const std::string& oldBlock, const std::string& areaCode,
    std::string_view pageLineEnd = "\r\n");

// The first of "KvxMap1", "KvxMap2", ... that does not occur in text, compared case-blind.
std::string FindFreeMapName(const std::string& text);

// Rewrites the SRC attribute of the IMG tag (and nothing else) for a save to targetFile: relative
// to the target's folder, or the picture's full path; the current path, or a document without a
// picture path, changes nothing.
void ApplyPicturePathMode(Document& doc, const std::string& targetFile, PathModeKind mode,
    PathStyle style = kNativePathStyle);

// What a save into a page does when another program has changed the page's map or the IMG tag
// the document edits: refuse (and say so), or find the page's map of the same name and the IMG
// tag that uses it and replace them. Insert is for a page the document did not come from: its
// map of the same name (and the IMG tag using it) are replaced as with Replace, and a page that
// has neither gets the IMG tag and the map before its closing BODY tag (at its end without one).
enum class PageConflict {
    Refuse,
    Replace,
    Insert,
};

// Points the texts a save into a page searches for (SourceMapCode, SourceImgTag) at what page
// holds now for the document's map: the block of the map of the same name (the name in
// SourceMapCode, else the USEMAP of ImgTag) and the first IMG tag that uses it. Texts the page
// still holds are kept. False when the page has neither that map nor such an IMG tag.
bool FindDocumentCodeInPage(Document& doc, std::string_view page);

enum class MergeOutcome {
    Merged,
    PageChanged, // the page's map or IMG tag is not the one the document last saw
    NoPlace, // the page has no IMG tag for the map any more
};

// The save into an existing page, on the page's text: the IMG tag and the map the page got last
// time are replaced where they stand as the page's markup; a page whose picture has no map yet
// gets one on the line after the IMG tag. When the page no longer holds the map or the edited IMG
// tag the document last saw, nothing is merged unless onConflict says to find them again. The
// document's IMG tag and search texts follow what was written.
MergeOutcome MergeIntoPage(Document& doc, std::string& page, PageConflict onConflict);

} // namespace karvex
