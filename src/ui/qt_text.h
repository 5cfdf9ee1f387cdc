#pragma once

// Conversions between the byte texts of the model and the QStrings widgets show.

#include <QString>
#include <string>

namespace karvex {

// UTF-8 bytes as they are, any other bytes read as Windows-1252: for paths and the program's
// own texts.
QString ToDisplay(const std::string& bytes);
// Back to bytes as UTF-8: for paths and texts that are no document's.
std::string FromDisplay(const QString& text);

// A document's text, decoded by the document's charset (Document::Charset).
QString ToDisplay(const std::string& bytes, const std::string& charset);
// Text typed for a document, encoded in the document's charset; a character the charset lacks
// becomes a numeric character reference.
std::string FromDisplay(const QString& text, const std::string& charset);

} // namespace karvex
