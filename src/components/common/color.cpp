#include "components/common/color.h"

#include <QGuiApplication>
#include <QPalette>

namespace karvex {

QColor ToQColor(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    if (bits & 0x80000000u) {
        const QPalette palette = QGuiApplication::palette();
        switch (bits & 0xFFu) {
        case 0x0F:
            return palette.color(QPalette::Button);
        case 0x10:
            return palette.color(QPalette::Dark);
        default:
            return palette.color(QPalette::WindowText);
        }
    }
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
        static_cast<int>((bits >> 16) & 0xFFu));
}

std::int32_t FromQColor(const QColor& color)
{
    return color.red() + 256 * color.green() + 65536 * color.blue();
}

} // namespace karvex
