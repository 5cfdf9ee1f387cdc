#include "core/operations/document_save.h"

#include "core/formats/page_charset.h"
#include "core/operations/file_formats.h"
#include "core/util/charset.h"
#include "core/util/file_io.h"
#include "core/util/strings.h"
#include "core/util/text_codec.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <utility>

namespace karvex {

namespace {

// The texts of a document that a save may change before it knows it has succeeded.
struct SavedTexts
{
    std::string ImgTag;
    std::string SourceImgTag;
    std::string SourceMapCode;

    void PutBack(Document& doc) const
    {
        doc.ImgTag = ImgTag;
        doc.SourceImgTag = SourceImgTag;
        doc.SourceMapCode = SourceMapCode;
    }
};

// text, which is in charset from, in charset to; text that is not in charset from stays as it is.
std::string Recoded(const std::string& text, const std::string& from, const std::string& to)
{
    const CharsetText utf8 = DecodeToUtf8(text, from);
    if (!utf8.Ok)
        return text;
    CharsetText recoded = EncodeFromUtf8(utf8.Text, to);
    if (!recoded.Ok)
        return text;
    return std::move(recoded.Text);
}

// MergeIntoPage for a page in another charset than the document's: the map goes into the page
// in the page's charset, and the document keeps its texts in its own. The texts a later save
// searches for are the page's bytes, as they are after any merge.
MergeOutcome MergeInCharset(
    Document& doc, std::string& page, PageConflict onConflict, const std::string& pageCharset)
{
    const std::string docCharset = doc.Charset.empty() ? kUtf8Charset : doc.Charset;
    Document inPage = doc;
    inPage.ImgTag = Recoded(doc.ImgTag, docCharset, pageCharset);
    for (MapImage& image : inPage.Images) {
        image.MapTag = Recoded(image.MapTag, docCharset, pageCharset);
        image.MapEndTag = Recoded(image.MapEndTag, docCharset, pageCharset);
    }
    for (Hotspot& spot : inPage.Hotspots) {
        if (spot.Active)
            spot.AreaTag = Recoded(spot.AreaTag, docCharset, pageCharset);
    }
    const std::string imgTagInPage = inPage.ImgTag;
    const MergeOutcome outcome = MergeIntoPage(inPage, page, onConflict);
    doc.SourceImgTag = std::move(inPage.SourceImgTag);
    doc.SourceMapCode = std::move(inPage.SourceMapCode);
    if (inPage.ImgTag != imgTagInPage)
        doc.ImgTag = Recoded(inPage.ImgTag, pageCharset, docCharset);
    return outcome;
}

// The map of doc merged into the page fileName whose bytes are pageBytes; nothing (with the
// reason in result) when the page has no place for it. An empty text is no page: "" comes back,
// and the caller writes the file afresh.
std::optional<std::string> MergedPage(Document& doc, const std::string& fileName,
    const std::string& pageBytes, PageConflict onConflict, SaveResult& result)
{
    // A UTF-16 page is merged as the UTF-8 text it was read as, and written back in its own
    // encoding.
    const std::optional<Utf16Page> utf16 = DecodeUtf16Page(pageBytes);
    std::string text = utf16 ? utf16->Utf8 : pageBytes;
    if (text.empty())
        return std::string();
    // The page the document was read from has the document's charset; another page may not.
    const std::string pageCharset = utf16 ? kUtf8Charset : TextCharset(text);
    const std::string docCharset = doc.Charset.empty() ? kUtf8Charset : doc.Charset;
    const MergeOutcome outcome = pageCharset == docCharset
        ? MergeIntoPage(doc, text, onConflict)
        : MergeInCharset(doc, text, onConflict, pageCharset);
    if (outcome != MergeOutcome::Merged) {
        result.PageChanged = outcome == MergeOutcome::PageChanged;
        result.Error = "The image map or its picture in " + fileName
            + " was changed by another program since it was opened";
        result.Error += outcome == MergeOutcome::PageChanged
            ? "."
            : ", and the picture's IMG tag is no longer in the page: the map has no place there. "
              "Save it as another file.";
        return std::nullopt;
    }
    return utf16 ? EncodeUtf16Page(text, utf16->BigEndian, utf16->ByteOrderMark) : std::move(text);
}

// Copies a page's previous bytes to its backup beside it, with the page's permissions; why it
// could not, or "".
std::string WriteBackup(const std::string& fileName, const std::string& bytes)
{
    const std::string backup = BackupPathFor(fileName);
    if (const WriteResult written = WriteWholeFile(backup, bytes); !written)
        return "The backup " + backup
            + " of the previous version of the page could not be "
              "written.\r\nReason : "
            + written.Reason;
    std::error_code ec;
    const auto mode = std::filesystem::status(fileName, ec).permissions();
    if (!ec)
        std::filesystem::permissions(backup, mode, ec);
    return {};
}

// Composes the text of format for doc and writes it to fileName; false, with the reason in
// result, when nothing was written. The document's IMG tag and search texts may have changed
// either way: the caller puts them back on failure.
bool WriteDocument(Document& doc, const FileFormat& format, const std::string& fileName, bool fresh,
    PageConflict onConflict, bool backup, SaveResult& result)
{
    ApplyPicturePathMode(doc, fileName, doc.PathMode);

    std::string text;
    std::optional<std::string> previous;
    if (format.MergesIntoPage && (!fresh || backup) && FileExists(fileName)) {
        ReadResult page = ReadWholeFile(fileName);
        if (page.Ok)
            previous = std::move(page.Bytes);
        else if (!fresh) {
            result.Error
                = "The file " + fileName + " could not be read.\r\nReason : " + page.Reason;
            return false;
        } else {
            // A page replaced whole was read only for its backup.
            result.BackupError = "The previous version of " + fileName
                + " could not be read for its backup.\r\nReason : " + page.Reason;
        }
    }
    if (previous && !fresh) {
        std::optional<std::string> merged
            = MergedPage(doc, fileName, *previous, onConflict, result);
        if (!merged)
            return false;
        text = std::move(*merged);
    }
    // A page that has gone missing or is empty since it was loaded is written afresh.
    if (text.empty())
        text = format.Compose(doc);

    // The backup is in place before the page is replaced, so no moment passes in which only
    // the new version exists. A backup that fails does not stop the save; the user is told.
    if (backup && previous && !previous->empty() && *previous != text)
        result.BackupError = WriteBackup(fileName, *previous);
    if (const WriteResult written = WriteWholeFile(fileName, text); !written) {
        result.Error
            = "The file " + fileName + " could not be written.\r\nReason : " + written.Reason;
        return false;
    }
    return true;
}

} // namespace

std::string BackupPathFor(const std::string& page) { return page + "~"; }

SaveResult SaveDocumentFile(AppState& state, int docIndex, const std::string& fileName, bool fresh,
    bool copy, PageConflict onConflict)
{
    SaveResult result;
    if (docIndex < 1 || static_cast<std::size_t>(docIndex) >= state.Documents.size()) {
        result.Error = "There is no document to save.";
        return result;
    }
    Document* doc = &state.Documents[static_cast<std::size_t>(docIndex)];
    if (fileName.empty()) {
        result.Error = "No file name was given.";
        return result;
    }
    const FileFormat* format = FormatForPath(fileName);
    // A map file named ".txt", opened by what it holds, is saved back as what it holds.
    if (!format && !fresh)
        format = FormatForFile(fileName);
    if (!format) {
        result.Error = "Karvex saves image maps as " + FormatEndingsText() + " files; the name "
            + fileName + " has none of these endings.";
        return result;
    }
    const std::string slotText = std::to_string(docIndex);
    if (!copy) {
        const auto owner = state.OpenDocuments.Find(fileName);
        if (owner && *owner != slotText) {
            result.Error = "This file is already open, saving will be canceled.";
            return result;
        }
    }

    // A save changes only these texts of the document before it has succeeded, so only they
    // are kept to be put back; a copy of the whole document would copy every hotspot.
    const SavedTexts before { doc->ImgTag, doc->SourceImgTag, doc->SourceMapCode };
    bool written = false;
    // A preview copy is thrown away: it needs no backup of the copy before it.
    const bool backup = state.Settings.ini_BackupPage && !copy;
    try {
        written = WriteDocument(*doc, *format, fileName, fresh, onConflict, backup, result);
    } catch (const std::exception& error) {
        // Such as running out of memory for a huge page: the save fails like any other.
        result.Error
            = "The file " + fileName + " could not be written.\r\nReason : " + error.what();
    }
    if (!written) {
        before.PutBack(*doc);
        return result;
    }

    result.Ok = true;
    result.ImgTagChanged = doc->ImgTag != before.ImgTag;
    if (format->Notice)
        result.Notice = format->Notice(*doc);
    if (copy) {
        // A preview copy must not change what the next real save searches for in the page.
        doc->SourceMapCode = before.SourceMapCode;
        doc->SourceImgTag = before.SourceImgTag;
        return result;
    }
    const bool renamed = !EqualsNoCase(fileName, doc->Title);
    if (renamed && state.OpenDocuments.Find(doc->Title) == slotText)
        state.OpenDocuments.Remove(doc->Title);
    doc->Title = fileName;
    doc->FilePath = fileName;
    if (renamed)
        state.OpenDocuments.Add(doc->Title, slotText);
    return result;
}

} // namespace karvex
