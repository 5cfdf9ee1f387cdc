#pragma once

// Loading a document's picture from its file, and the size a page should give it.

#include <QImage>
#include <string>

namespace karvex {

// The picture as stored (no rotation from embedded orientation tags); null when it cannot be
// read.
QImage LoadPicture(const std::string& path);

// The size read from the file's header, or the decoded size for formats the header probe does
// not know (such as BMP).
QSize PictureSize(const std::string& path, const QImage& picture);

} // namespace karvex
