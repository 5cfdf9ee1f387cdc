#pragma once

// Splits one line of tag text into coloured spans for the code box: element names, attribute
// names, attribute values, comments and plain text. Pure and Qt-container free apart from QString.

#include <QString>
#include <vector>

namespace karvex {

enum class CodeTokenKind {
    Text,
    ElementName,
    AttributeName,
    AttributeValue,
    Comment,
};

// One span of a line: Start and Length in UTF-16 code units of the line.
struct CodeToken
{
    int Start = 0;
    int Length = 0;
    CodeTokenKind Kind = CodeTokenKind::Text;

    bool operator==(const CodeToken&) const = default;
};

// Spans covering the whole text in order, adjacent spans of one kind merged. "<" or "</" with
// the element name and the closing ">" or "/>" are element names; "<!-- ... -->" is a comment up
// to its end or the end of the line; whitespace and "=" inside a tag and text outside tags are
// plain text.
std::vector<CodeToken> TokenizeTag(const QString& text);

// The spans of a region's line: a comment line (kind 2) is one comment span, anything else is
// tokenized as tag text.
std::vector<CodeToken> TokenizeRegion(const QString& text, int kind);

} // namespace karvex
