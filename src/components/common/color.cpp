#include "components/common/color.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <array>
#include <cmath>

namespace karvex {

namespace {

struct SystemColor
{
    const char* Name;
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

// The system colour indexes (the low bits of &H80000000 to &H80000018), in order, with the
// palette role that plays the same part in a Qt look. Stored in settings: do not reorder.
constexpr std::array<SystemColor, kSystemColorCount> kSystemColors { {
    { "Scroll Bar", QPalette::Active, QPalette::Midlight },
    { "Desktop", QPalette::Active, QPalette::Dark },
    { "Active Caption", QPalette::Active, QPalette::Highlight },
    { "Inactive Caption", QPalette::Active, QPalette::Mid },
    { "Menu", QPalette::Active, QPalette::Window },
    { "Window", QPalette::Active, QPalette::Base },
    { "Window Frame", QPalette::Active, QPalette::Shadow },
    { "Menu Text", QPalette::Active, QPalette::WindowText },
    { "Window Text", QPalette::Active, QPalette::Text },
    { "Caption Text", QPalette::Active, QPalette::HighlightedText },
    { "Active Border", QPalette::Active, QPalette::Window },
    { "Inactive Border", QPalette::Active, QPalette::Window },
    { "Application Workspace", QPalette::Active, QPalette::Dark },
    { "Highlight", QPalette::Active, QPalette::Highlight },
    { "Highlight Text", QPalette::Active, QPalette::HighlightedText },
    { "Button Face", QPalette::Active, QPalette::Button },
    { "Button Shadow", QPalette::Active, QPalette::Dark },
    { "Grey Text", QPalette::Disabled, QPalette::Text },
    { "Button Text", QPalette::Active, QPalette::ButtonText },
    { "Inactive Caption Text", QPalette::Disabled, QPalette::WindowText },
    { "Button Highlight", QPalette::Active, QPalette::Light },
    { "3D Dark Shadow", QPalette::Active, QPalette::Shadow },
    { "3D Light", QPalette::Active, QPalette::Midlight },
    { "Info Text", QPalette::Active, QPalette::ToolTipText },
    { "Info Background", QPalette::Active, QPalette::ToolTipBase },
} };

} // namespace

int SystemColorIndex(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    if (!(bits & 0x80000000u))
        return -1;
    const std::uint32_t index = bits & 0x7FFFFFFFu;
    return index < kSystemColorCount ? static_cast<int>(index) : -1;
}

QString SystemColorName(std::int32_t value)
{
    const int index = SystemColorIndex(value);
    return index < 0 ? QString() : QString::fromLatin1(kSystemColors.at(index).Name);
}

QColor ToQColor(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    if (bits & 0x80000000u) {
        const QPalette palette = QGuiApplication::palette();
        const int index = SystemColorIndex(value);
        // An unknown system colour still needs an ink that shows on the window.
        if (index < 0)
            return palette.color(QPalette::Active, QPalette::WindowText);
        const SystemColor& system = kSystemColors.at(index);
        return palette.color(system.Group, system.Role);
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
