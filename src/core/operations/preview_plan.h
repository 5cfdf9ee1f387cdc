#pragma once

// Where a preview of a document in the browser is written, and how: a generated page beside the
// document (or in the program folder), a copy of the document's page, or the page itself.

#include "core/model/records.h"
#include "core/settings/settings.h"

#include <string>

namespace karvex {

// The generated page's name.
inline constexpr const char* kPreviewFileName = "kvx30preview.html";

enum class PreviewKind {
    GeneratedPage, // the IMG tag and the map, written afresh into kPreviewFileName
    CopyOfPage, // the document's page copied to the ini_DocFilename name, the map merged into it
    OwnPage, // the map saved into the document's own page: a real save
};

struct PreviewPlan
{
    PreviewKind Kind = PreviewKind::GeneratedPage;
    std::string Target; // the file the browser opens
    std::string Error; // for the user when no preview can be written; Target is then empty
};

// The USEMAP value of the document's IMG tag; a preview needs one.
std::string PreviewUseMap(const Document& doc);

// The plan for a preview of doc under the [ExternalPreview] settings. The page's own file, or a
// copy of it, is previewed only for a document saved as an HTML page; any other document gets the
// generated page, beside its file or, never saved, in programFolder. The copy goes into the
// page's folder under ini_DocFilename (a default name when it is empty); a name that is not a
// plain file name (a folder separator, "." or "..", a control character, 254 characters or more) is
// refused with an Error that quotes it. A target that is the document's own file is refused, so
// a preview never writes into the document's file unless the settings say so.
PreviewPlan PlanPreview(
    const Document& doc, const GlobalSettings& settings, const std::string& programFolder);

} // namespace karvex
