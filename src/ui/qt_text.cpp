#include "ui/qt_text.h"

#include "core/util/charset.h"
#include "core/util/text_codec.h"

namespace karvex {

namespace {

QString FromUtf8(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

QString ToDisplay(const std::string& bytes)
{
    if (IsValidUtf8(bytes))
        return FromUtf8(bytes);
    return FromUtf8(Windows1252ToUtf8(bytes));
}

std::string FromDisplay(const QString& text) { return text.toStdString(); }

QString ToDisplay(const std::string& bytes, const std::string& charset)
{
    return FromUtf8(DisplayText(bytes, charset));
}

std::string FromDisplay(const QString& text, const std::string& charset)
{
    return StoredText(text.toStdString(), charset);
}

} // namespace karvex
