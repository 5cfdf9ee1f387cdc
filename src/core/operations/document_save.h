#pragma once

// Saving a document to a file of any kind the editor writes: the picture path for the target,
// the text of its kind (or the map merged into the page it came from), the safe write, and the
// document's new identity.

#include "core/formats/html_writer.h"
#include "core/model/app_state.h"

#include <string>

namespace karvex {

struct SaveResult
{
    bool Ok = false;
    std::string Error; // sentences for the user when Ok is false, with the reason when known
    bool ImgTagChanged = false; // the save rewrote ImgTag, so code shown for it is stale
    // The page no longer holds the map (or the edited IMG tag) the document last saw there:
    // another program changed it. Nothing was written; PageConflict::Replace writes anyway.
    bool PageChanged = false;
    // Saved, but the backup of the page's previous version could not be written: why, for the
    // user.
    std::string BackupError;
    // Saved, and what the user should know about the file written: what its kind cannot hold
    // (a map file has no ALT, TARGET or areas without links). "" when there is nothing to tell.
    std::string Notice;
};

// Where a save over an existing page (an HTML file) keeps the page's previous bytes when the
// ini_BackupPage setting is on: the page's name + "~", beside it.
std::string BackupPathFor(const std::string& page);

// Writes document docIndex to fileName in the kind of file its ending names; a document saved
// back (fresh not set) to a file of another ending, opened by its content, keeps the kind that
// file holds. A page (an HTML file) is written as a fresh fragment when fresh is set, else the
// map is merged into the existing page. Unless copy is set, the document then takes fileName as
// its Title and FilePath; a copy leaves the document's identity and the texts a later save
// searches for as they were, and keeps no backup of the file it replaces. On failure neither the
// file nor the document changes.
SaveResult SaveDocumentFile(AppState& state, int docIndex, const std::string& fileName, bool fresh,
    bool copy, PageConflict onConflict = PageConflict::Refuse);

} // namespace karvex
