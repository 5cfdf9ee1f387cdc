#pragma once

// Conversions between the byte texts of the model and the QStrings widgets show.

#include <QString>
#include <string>

namespace karvex {

// UTF-8 bytes as they are, any other bytes read as Windows-1252.
QString ToDisplay(const std::string& bytes);
// Back to bytes: UTF-8, the form the model keeps for text users type.
std::string FromDisplay(const QString& text);

} // namespace karvex
