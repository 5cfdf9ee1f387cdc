#pragma once

// Reading image maps from HTML pages into new document records, with the IMG and AREA importers
// that the project and map-file readers share. The readers look for tags by plain text search and
// take pages as browsers do: tag and attribute names in any letter case, values in double, single
// or no quotes, blanks around "=", LF or CR LF line ends. Stored tag texts stay exactly as written
// in the page.

#include "core/formats/relative_paths.h"
#include "core/formats/tag_reader.h"
#include "core/model/records.h"
#include "karvex/version.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace karvex {

class Prompt;

// One picture of a page that could be edited, or one map of the page that no picture uses.
struct MapCandidate
{
    // "<MAP" of the matching map through "</MAP>" (through its last AREA when it is never
    // closed), or empty. Filled only for the chooser.
    std::string MapBlock;
    std::string ImgTag; // empty for a map no picture uses
    // 2 for an IMG tag with a USEMAP attribute, 0 for one without, 1 for a map no picture uses
    int Kind = 0;
    // A browser connects the picture to its map: the first MAP whose NAME or ID equals the
    // USEMAP value after its first "#", in the same letter case.
    bool MapFound = false;
    // The picture's map was found only as this editor has always found it (in any letter case,
    // or from a USEMAP without "#"): it opens, but a browser does not connect the two.
    bool LooseMatch = false;
    std::string MapName; // NAME and ID of the map found, as written in the page
    std::string MapId;
    std::size_t AreaCount = 0; // AREA tags of the map found
    std::string Charset; // of the page's texts, for a chooser to show them
};

inline constexpr int kCandidateWithMap = 2;
inline constexpr int kCandidateWithoutMap = 0;
inline constexpr int kCandidateMapOnly = 1;

// The pictures of a page: every IMG with a USEMAP, with searchWithoutMap every other IMG, and
// after them every map that no picture uses and a USEMAP could name.
std::vector<MapCandidate> FindMapCandidates(std::string_view text, bool searchWithoutMap);

// What identifies a candidate to the chooser and the import: its USEMAP value, or its SRC
// value when it has none; for a map no picture uses, "#" and the map's NAME (else its ID).
std::string CandidateKey(const MapCandidate& candidate);

// The sentence that tells the user a picture's map was found although a browser will not
// connect the two.
std::string LooseMatchWarning(const MapCandidate& candidate);

inline constexpr const char* kPictureFilter = "GIF Files (*.gif)|*.gif|JPEG Files "
                                              "(*.jpg)|*.jpg|BMP Files (*.bmp)|*.bmp|All Picture "
                                              "Files|*.jpg;*.gif;*.bmp";

// What the readers need from the world around them.
struct ImportContext
{
    // Asks whether to look for a missing picture and shows the picture dialog; without one a
    // missing picture fails the import.
    Prompt* Ask = nullptr;
    // Picks one of several candidates and returns its key; "" cancels. Without one the first
    // candidate is taken.
    std::function<std::string(const std::vector<MapCandidate>&)> ChooseMap;
    bool SearchWithoutMap = false; // the ini_Search setting
    std::string Title = kProgramTitle; // of the question about a missing picture
    PathStyle Style = kNativePathStyle;
    // The filter of the dialog that looks for a missing picture; its last entry lists them all.
    std::string PictureFilter = kPictureFilter;
    // The picture to use whatever the IMG tag names (the converter's --picture).
    std::string Picture;
    // A picture that cannot be found is kept as the path the IMG tag names (even none), without
    // asking: the size then comes from WIDTH and HEIGHT (the converter, which needs no pixels).
    bool KeepMissingPicture = false;
    // The charset of a page's text when the caller knows it better than the page's own
    // declaration (a UTF-16 page handed over as UTF-8); "" takes what the text declares.
    std::string Charset;
};

// The result of a reader: a filled document record that is not yet part of any state.
struct ImportResult
{
    bool Ok = false;
    bool Cancelled = false; // the user cancelled the map choice: no message is due
    std::string Message; // the failure message for the user
    Document Doc;
    std::string AreaTexts; // the AREA texts of the new hotspots, each followed by CR LF
    // What the user should know about a document that did open: lines that could not be read,
    // a map a browser would not connect. One sentence each.
    std::vector<std::string> Warnings;
};

inline constexpr const char* kLoadErrorMessage
    = "There has been an error while trying to open the file. Loading has been canceled.";
inline constexpr const char* kNoImagesReason
    = "Reason : There has not been found any images in the file.";
inline constexpr const char* kPictureReason
    = "Reason : There was an error while trying to load the picture.";
inline constexpr const char* kMissingPictureQuestion
    = "The picture in this file can't be found, do you want to search for it?";

// The warnings of an import for the user: the file's name, then one line each, the first
// kShownWarnings of them and how many more there are.
inline constexpr std::size_t kShownWarnings = 20;
std::string ImportWarningsText(
    const std::vector<std::string>& warnings, const std::string& fileName);

// The load error message; after two line ends, "File : " and the file's name when given, then
// the reason line when there is one.
std::string LoadErrorMessage(const std::string& reason, const std::string& fileName = {});

// The reason line for a picture that cannot be loaded, with what went wrong after it.
std::string PictureReason(const std::string& detail);

// The reason line for the picture of an IMG tag in fileName that was not found: the path that
// was looked for, or that the tag names none.
std::string MissingPictureReason(
    const TagRecord& img, const std::string& fileName, PathStyle style = kNativePathStyle);

// Sets up doc from an IMG tag of the page fileName: picture path, size, map name, ALT text and
// the extra attributes. With newDocument the record starts afresh. False when the picture
// cannot be found and the user does not pick another.
bool ImportImgTag(Document& doc, const TagRecord& tag, const std::string& fileName,
    bool newDocument, const ImportContext& context);

// Hotspot names taken so far, compared without letter case. An open-addressing table that can
// be sized up front: a page can bring tens of thousands of names, and a node per name made the
// look-ups a tenth of a page import.
class TakenNames
{
public:
    bool Contains(std::string_view name) const;
    // Takes the name; false (and nothing changes) when it is taken already.
    bool Insert(std::string_view name);
    void Reserve(std::size_t count);

private:
    std::size_t SlotOf(const std::string& upperName, std::uint64_t hash) const;
    void Rehash(std::size_t slotCount);

    std::vector<std::string> m_upperNames;
    std::vector<std::uint64_t> m_hashes; // of m_upperNames, for rehashing
    // Power-of-two table of the high half of a name's hash and 1 + its index; 0 is free.
    std::vector<std::uint64_t> m_slots;
};

// The names given out so far while a document is read, so that every hotspot's name is unique.
struct ImportNames
{
    TakenNames Taken;
    std::int32_t Next[4] = { 1, 1, 1, 1 }; // the next number to try, per shape
};

// Adds one hotspot to doc from an AREA tag and returns its AREA text (without the editor's
// "##" attributes and INDEX). A hotspot without a name, or with a taken one, gets the next
// free name of its shape. An AREA whose shape is not one of the three (such as "default") is
// drawn as a rectangle over the whole picture; its tag text keeps its own shape.
std::string ImportAreaTag(Document& doc, const TagRecord& tag, ImportNames& names);

// ImportAreaTag for readers of many AREAs: returns the new hotspot, whose AreaTag is the text
// ImportAreaTag would return, so that no copy of it is made. spans, when given, must be
// ScanAttributeSpans of tag.TagText (as ParseOneTag hands them out).
Hotspot& AddImportedArea(Document& doc, const TagRecord& tag, ImportNames& names,
    const std::vector<AttributeSpan>* spans = nullptr);

// The page text of fileName as a new document: the one map the user chooses.
ImportResult ImportHtmlText(
    const std::string& fileName, const std::string& text, const ImportContext& context);
ImportResult ImportHtmlFile(const std::string& fileName, const ImportContext& context);

// The block ("<MAP" through "</MAP>", or through its last AREA when it is never closed) of the
// first map of a page, outside comments, whose NAME or ID is name; nothing when there is none.
std::optional<std::string_view> FindMapBlock(std::string_view page, std::string_view name);

// The first IMG tag of a page, outside comments, whose USEMAP names the map name.
std::optional<std::string_view> FindImgTagUsing(std::string_view page, std::string_view name);

// The text of a page's bytes the readers work on: a UTF-16 page as UTF-8, any other page as it
// is (its bytes are kept end to end).
std::string PageText(std::string bytes);

// Reads a whole file for a reader; false (with the load error message in result) when the file
// cannot be read.
bool ReadFileForImport(const std::string& fileName, std::string& text, ImportResult& result);

} // namespace karvex
