#pragma once

// The HTML map writer: joins a document's stored IMG, MAP and AREA tag texts into image-map
// code, writes it as a fresh fragment or into the page the document came from, and rewrites
// the picture path of the IMG tag for the target file.

#include "core/formats/relative_paths.h"
#include "core/model/app_state.h"
#include "core/model/records.h"

#include <span>
#include <string>
#include <string_view>

namespace karvex {

// Named in the third comment line of every generated map.
inline constexpr const char* kMakerAddress = "https://karvex.example.org";

// Mode 1: ImgTag without blanks at either end; mode 2: the AREA tags of the live hotspots in
// slot order, one per line; any other mode: "".
std::string GetDocumentCode(const Document& doc, int mode);

// The map code of a document: with comments, two empty lines, the visit line, the IMG tag, the
// MAP block (none without live hotspots) and the end comment; without, the bare MAP block.
// Stores the map part in SourceMapCode, and ImgTag in SourceImgTag when storeImgTag is set.
std::string GenerateMapCode(AppState& state, int docIndex, bool withComments, bool storeImgTag);

// A MAP block shaped like oldBlock: its MAP start tag (NAME taken from the USEMAP of ImgTag),
// everything inside the map kept byte for byte but the AREA tags, whose place areaCode takes,
// then "</MAP>" (see RebuildBlockText). An empty old block, or one without a MAP tag, gives
// the document's own bare MAP block. pageLineEnd is the line end of a block without any.
std::string RebuildMapBlock(AppState& state, int docIndex, const std::string& oldBlock,
    const std::string& areaCode, std::string_view pageLineEnd = "\r\n");

// The first of "KvxMap1", "KvxMap2", ... that does not occur in text, compared case-blind.
std::string FindFreeMapName(const std::string& text);

// Sets one attribute in the first tag of text that begins with tagStart (case-blind; the tag at
// the start of text when tagStart is empty). The value is written in double quotes, encoded by
// EncodeAttributeValue so that it stays inside its attribute. Only that attribute changes:
// the rest of the tag and the text outside it are kept; a text without such a tag comes back
// unchanged.
std::string SetAttributeInTag(const std::string& text, const std::string& name,
    const std::string& value, const std::string& tagStart);

// SetAttributeInTag (tagStart empty) for each attribute in turn, with the same result; a tag
// that holds none of them and is plainly quoted gets them all in one pass.
std::string SetAttributesInTag(const std::string& text, std::span<const AttributePair> attributes);

// Rewrites the SRC attribute of the IMG tag (and nothing else) for a save to targetFile: mode 0
// relative to the target's folder, mode 1 the picture's full path; other modes, or a document
// without a picture path, change nothing.
void ApplyPicturePathMode(
    Document& doc, const std::string& targetFile, int mode, PathStyle style = kNativePathStyle);

// The writer kind for a file name: 1 ".KVP", 2 "HTML"/".HTM", 3 ".MAP" with NCSA (server type
// other than 1), 4 ".MAP" with CERN (server type 1), 0 for any other ending.
int WriterKindForPath(const std::string& path, int serverType);

struct SaveResult
{
    bool Ok = false;
    std::string Error; // sentences for the user when Ok is false, with the reason when known
    bool ImgTagChanged = false; // the save rewrote ImgTag, so code shown for it is stale
    // The page no longer holds the map (or the edited IMG tag) the document last saw there:
    // another program changed it. Nothing was written; PageConflict::Replace writes anyway.
    bool PageChanged = false;
};

// What a save into a page does when another program has changed the page's map or the IMG tag
// the document edits: refuse (and say so), or find the page's map of the same name and the IMG
// tag that uses it and replace them.
enum class PageConflict {
    Refuse,
    Replace,
};

// Points the texts a save into a page searches for (SourceMapCode, SourceImgTag) at what page
// holds now for the document's map: the block of the map of the same name (the name in
// SourceMapCode, else the USEMAP of ImgTag) and the first IMG tag that uses it. Texts the page
// still holds are kept. False when the page has neither that map nor such an IMG tag.
bool FindDocumentCodeInPage(Document& doc, std::string_view page);

// Writes document docIndex to fileName as writer kind `kind`. Kind 2 writes a fresh fragment
// when fresh is set, else merges the map into the existing page. Unless copy is set, the
// document then takes fileName as its Title and FilePath; a copy leaves the document's
// identity and the texts a later save searches for as they were. On failure neither the file
// nor the document changes.
SaveResult SaveDocumentFile(AppState& state, int docIndex, const std::string& fileName, int kind,
    bool fresh, bool copy, PageConflict onConflict = PageConflict::Refuse);

} // namespace karvex
