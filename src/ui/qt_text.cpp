#include "ui/qt_text.h"

#include "core/util/text_codec.h"

namespace karvex {

QString ToDisplay(const std::string& bytes)
{
    const auto size = static_cast<qsizetype>(bytes.size());
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes.data(), size);
    const std::string utf8 = Windows1252ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromDisplay(const QString& text) { return text.toStdString(); }

} // namespace karvex
