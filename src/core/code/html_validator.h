#pragma once

// The HTML validator and attribute engine: checks hand-typed tags, and reads and sets single
// attributes inside stored tag texts. A small scanner of angle brackets, quotes and equals
// signs, not an HTML parser.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace karvex {

// Codes of the problems the validator records; the code edit dialog picks its texts by them,
// so do not renumber.
enum ValidatorCode : std::int32_t {
    ValidatorUnclosedTag = 1, // the text ends while a tag is open
    ValidatorStrayClose = 2, // a ">" while no tag is open
    ValidatorHalfQuoted = 3, // a value quoted at one end only
    ValidatorInnerQuote = 4, // a further double quote inside a value
    ValidatorCoordsCount = 5, // wrong number of COORDS values for the AREA's shape
    ValidatorNoTag = 6, // neither "<" nor ">" in the whole text
    ValidatorBadShape = 7, // AREA SHAPE none of RECT, CIRCLE, POLY
    ValidatorOpenQuote = 8, // a value opens a double quote that is never closed
    ValidatorDuplicateName = 9, // an attribute name a second time in one tag
};

struct ValidatorError
{
    // 1-based, counted from the start of the text given to InsertCode (or to ReturnParameter),
    // so the code edit dialog can put the cursor there.
    std::int64_t Position = 0;
    std::string Text;
    std::int32_t Code = 0;
};

// The characters that separate a tag name and attributes: blank, tab, CR and LF.
bool IsTagBlank(char ch);

// Checks one piece of HTML and serves as the attribute reader and setter of the tag texts.
// Positions in and out are 1-based, as the tag texts are addressed throughout the program.
class HtmlValidator
{
public:
    // Runs the whole check over text; errors accumulate over several calls.
    void InsertCode(std::string_view text);

    bool ErrorFound() const { return !m_errors.empty(); }
    const std::vector<ValidatorError>& Errors() const { return m_errors; }

    // One line "position|text|code\r\n" per error in the order found; "" when there is none.
    std::string ExtractErrorMessages() const;

    // Where the attribute at or after position begins: the last blank (or else "<") between
    // position and the next "="; position itself when there is neither. Without a further "=",
    // the position of the next ">" at or after position, 0 when there is none. The search never
    // reaches back before position, so a scan that continues at LastPosition always moves on.
    std::int64_t NextTagStart(std::string_view text, std::int64_t position) const;

    // Reads the attribute whose "=" is the first at or after position. Records error 8 at
    // position when its value opens a double quote that is never closed. Without any "=",
    // name and value are empty and LastPosition is one past the end of text.
    void ReturnParameter(std::string_view text, std::int64_t position);
    const std::string& ExtractTagName() const { return m_lastName; }
    const std::string& ExtractValue() const { return m_lastValue; }
    // The position of the character just behind the last value read.
    std::int64_t LastPosition() const { return m_lastPosition; }

    // Returns tag with the attribute name set to the double-quoted value. The first case-blind
    // occurrence of name's letters counts, wherever it stands; every occurrence of the old
    // attribute text is replaced. A missing attribute is appended before the first ">" (a tag
    // without ">" gets the attribute and a closing ">" at its end). An empty name changes nothing.
    std::string ReplaceTag(std::string_view name, std::string_view value, std::string_view tag);

private:
    void AddError(std::int64_t position, std::string_view text, std::int32_t code);
    // offset: the 0-based index of the tag's "<" in the checked text.
    void CheckTag(std::string_view tag, std::size_t offset);
    void CheckArea(std::string_view tag, std::size_t offset);

    std::vector<ValidatorError> m_errors;
    std::vector<std::string> m_seenNames; // upper-cased names of the tag being checked
    std::string m_lastName;
    std::string m_lastValue;
    std::int64_t m_lastPosition = 0;
};

} // namespace karvex
