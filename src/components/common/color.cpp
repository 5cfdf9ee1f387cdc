#include "components/common/color.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

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

namespace {

// Below this ratio text is hard to read; 3 is the usual floor for large text and UI marks.
constexpr double kReadableContrast = 3.0;

double Luminance(const QColor& color)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF())
        + 0.0722 * linear(color.blueF());
}

} // namespace

double ContrastRatio(const QColor& first, const QColor& second)
{
    const double a = Luminance(first);
    const double b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor ReadableOn(const QColor& ink, const QColor& background)
{
    if (ContrastRatio(ink, background) >= kReadableContrast)
        return ink;
    const bool lighten
        = ContrastRatio(Qt::white, background) >= ContrastRatio(Qt::black, background);
    const QColor hsl = ink.toHsl();
    const int hue = hsl.hslHue();
    const int saturation = hsl.hslSaturation();
    for (int lightness = hsl.lightness(); lightness >= 0 && lightness <= 255;
         lightness += lighten ? 8 : -8) {
        const QColor candidate = QColor::fromHsl(hue, saturation, lightness);
        if (ContrastRatio(candidate, background) >= kReadableContrast)
            return candidate;
    }
    return lighten ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace karvex
