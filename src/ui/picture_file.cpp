#include "ui/picture_file.h"

#include "core/formats/image_size.h"
#include "ui/qt_text.h"

#include <QImageReader>

namespace karvex {

QImage LoadPicture(const std::string& path)
{
    QImageReader reader(ToDisplay(path));
    reader.setAutoTransform(false);
    return reader.read();
}

QSize PictureSize(const std::string& path, const QImage& picture)
{
    const ImageSize probed = UnpackImageSize(GetImageSize(path));
    if (probed.Width > 0 && probed.Height > 0)
        return { probed.Width, probed.Height };
    return picture.size();
}

} // namespace karvex
