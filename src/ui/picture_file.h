#pragma once

// Loading a document's picture from its file, and the size a page should give it.

#include <QImage>
#include <string>

namespace karvex {

struct LoadedPicture
{
    QImage Image; // null when the picture cannot be read
    std::string Reason; // why not, for the user: the file's own problem or the decoder's
};

// The picture as stored (no rotation from embedded orientation tags). Pictures as large as the
// machine's memory allows are decoded, not only the few hundred megabytes Qt allows by default.
LoadedPicture LoadPicture(const std::string& path);

// The file dialogs' filter of pictures, in the "Caption|*.a;*.b|..." form: one entry for every
// kind of picture this machine's Qt reads, PNG first, then "All Picture Files" with them all.
std::string PictureFilter();

// The 1-based entry of PictureFilter() that lists every picture.
int AllPicturesFilterIndex();

// True when the path's ending names a kind of picture this machine's Qt reads.
bool IsPicturePath(const std::string& path);

// The size read from the file's header, or the decoded size for formats the header probe does
// not know (such as BMP).
QSize PictureSize(const std::string& path, const QImage& picture);

} // namespace karvex
