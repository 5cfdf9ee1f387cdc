#include "components/common/program_icons.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <algorithm>

// The icon set is compiled into this static library; nothing else refers to it, so the
// linker would drop it without this reference. Q_INIT_RESOURCE must stand outside a namespace.
static void InitProgramIcons()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)done;
}

namespace karvex {

namespace {

// The picture over a one-pixel halo of its own shape in a light grey.
QPixmap Outlined(const QImage& picture)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.size(), QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            int alpha = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < source.width() && ny < source.height())
                        alpha = std::max(alpha, qAlpha(source.pixel(nx, ny)));
                }
            }
            result.setPixel(x, y, qRgba(225, 225, 225, alpha * 3 / 4));
        }
    }
    QPainter painter(&result);
    painter.drawImage(0, 0, source);
    painter.end();
    return QPixmap::fromImage(result);
}

} // namespace

bool PaletteIsDark()
{
    const QPalette palette = QApplication::palette();
    return palette.color(QPalette::Window).lightness()
        < palette.color(QPalette::WindowText).lightness();
}

QIcon ProgramIcon(const QString& iconKey)
{
    InitProgramIcons();
    QIcon icon;
    if (iconKey.isEmpty())
        return icon;
    const bool outline = PaletteIsDark();
    for (const char* folder : { ":/icons/16/", ":/icons/", ":/icons/32/" }) {
        const QString path = QString::fromLatin1(folder) + iconKey + ".png";
        if (!QFile::exists(path))
            continue;
        if (outline)
            icon.addPixmap(Outlined(QImage(path)));
        else
            icon.addFile(path);
    }
    return icon;
}

} // namespace karvex
