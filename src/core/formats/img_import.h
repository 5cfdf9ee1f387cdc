#pragma once

// Reading an IMG tag into a document: resolving its SRC value to a picture file, and bringing
// an open document in line with an IMG tag the user edited.

#include "core/formats/relative_paths.h"
#include "core/formats/tag_reader.h"
#include "core/model/records.h"

#include <string>

namespace karvex {

// The picture file a SRC value names, for a page stored at pageFile: file URLs and URL escapes
// are undone; a path that exists as written is taken as it is, anything else is looked up from
// the page's folder. A reference that climbs above the root gives kErrTooManySteps.
ResolvedPath ResolveSrcPath(
    const std::string& src, const std::string& pageFile, PathStyle style = kNativePathStyle);

struct ImgReread
{
    bool PictureChanged = false; // the image record's Src now names another file
    std::string PicturePath;
};

// Brings doc in line with its edited IMG tag (read into tag): picture path, size, border and
// ALT text of the image record; the attributes the panel offers stay in ImgTag as written;
// every other attribute is listed in ImgAttributes. USEMAP is left to the caller.
ImgReread RereadImgTag(Document& doc, const TagRecord& tag, PathStyle style = kNativePathStyle);

} // namespace karvex
