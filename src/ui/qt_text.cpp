#include "ui/qt_text.h"

#include "core/util/text_codec.h"

namespace karvex {

QString ToDisplay(const std::string& bytes)
{
    return QString::fromStdString(DecodeForDisplay(bytes));
}

std::string FromDisplay(const QString& text) { return text.toStdString(); }

} // namespace karvex
