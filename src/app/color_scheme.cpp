#include "app/color_scheme.h"

#include <QApplication>
#include <QStyleFactory>

namespace karvex {

QPalette DarkPalette()
{
    const QColor window(53, 53, 53);
    const QColor text(232, 232, 232);
    const QColor greyed(128, 128, 128);
    QPalette palette(text, window, QColor(82, 82, 82), QColor(24, 24, 24), QColor(40, 40, 40), text,
        QColor(255, 255, 255), QColor(36, 36, 36), window);
    palette.setColor(QPalette::AlternateBase, QColor(44, 44, 44));
    palette.setColor(QPalette::Highlight, QColor(42, 120, 200));
    palette.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    palette.setColor(QPalette::Link, QColor(90, 160, 240));
    palette.setColor(QPalette::LinkVisited, QColor(170, 130, 230));
    palette.setColor(QPalette::ToolTipBase, QColor(40, 40, 40));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, greyed);
    for (const QPalette::ColorRole role :
        { QPalette::WindowText, QPalette::Text, QPalette::ButtonText }) {
        palette.setColor(QPalette::Disabled, role, greyed);
    }
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, greyed);
    return palette;
}

void ApplyColorSchemeFromEnvironment()
{
    if (qEnvironmentVariable("KARVEX_COLOR_SCHEME").compare("dark", Qt::CaseInsensitive) != 0)
        return;
    // Fusion draws every control from the palette; native styles may not.
    if (QStyle* fusion = QStyleFactory::create("Fusion"))
        QApplication::setStyle(fusion);
    QApplication::setPalette(DarkPalette());
}

} // namespace karvex
