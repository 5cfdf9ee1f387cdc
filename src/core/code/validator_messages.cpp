#include "core/code/validator_messages.h"

#include "core/util/strings.h"

#include <limits>

namespace karvex {

ValidatorMessage MessageForError(std::int32_t code, std::int64_t position)
{
    const std::string warning = "Warning at character " + std::to_string(position);
    switch (code) {
    case ValidatorUnclosedTag:
    case ValidatorStrayClose:
        return { warning, "You have forgotten an quotation mark." };
    case ValidatorHalfQuoted:
    case ValidatorInnerQuote:
        return { warning, "Check the value for improperly quoted attribute." };
    case ValidatorCoordsCount:
        return { warning, "The \"COORDS\" value are not correct, check the value again." };
    case ValidatorNoTag:
        return { "Incomplete HTML code", "Can't find a start and end tag quotation mark." };
    case ValidatorBadShape:
        return { warning, "The \"SHAPE\" attribute you have entered is invalid." };
    case ValidatorOpenQuote:
        return { warning, "There exist an improperly quoted attribute value." };
    case ValidatorDuplicateName:
        return { warning, "This attribute exist more than one time in the tag." };
    default:
        return { warning, "" };
    }
}

std::optional<ValidatorError> ParseErrorLine(std::string_view line)
{
    if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n")
        line.remove_suffix(2);
    const std::size_t first = line.find('|');
    const std::size_t last = line.rfind('|');
    if (first == std::string_view::npos || first == last)
        return std::nullopt;
    const std::string_view position = line.substr(0, first);
    const std::string_view code = line.substr(last + 1);
    if (!IsWholeNumber(position) || !IsWholeNumber(code))
        return std::nullopt;
    const std::int64_t codeValue = ParseLeadingInt(code);
    if (codeValue < std::numeric_limits<std::int32_t>::min()
        || codeValue > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return ValidatorError { ParseLeadingInt(position),
        std::string(line.substr(first + 1, last - first - 1)),
        static_cast<std::int32_t>(codeValue) };
}

std::vector<ValidatorError> ParseErrorMessages(std::string_view text)
{
    std::vector<ValidatorError> errors;
    std::string pending;
    bool hasPending = false;
    for (const std::string& piece : Split(text, "\r\n")) {
        if (!hasPending) {
            if (piece.empty())
                continue;
            if (auto error = ParseErrorLine(piece)) {
                errors.push_back(std::move(*error));
                continue;
            }
            pending = piece;
            hasPending = true;
            continue;
        }
        // A piece that does not complete a record alone may be the rest of an error text that
        // held a line break.
        std::string joined = pending;
        joined += "\r\n";
        joined += piece;
        if (auto error = ParseErrorLine(joined)) {
            errors.push_back(std::move(*error));
            hasPending = false;
        } else if (auto alone = ParseErrorLine(piece)) {
            errors.push_back(std::move(*alone));
            hasPending = false;
        } else {
            pending = std::move(joined);
        }
    }
    return errors;
}

} // namespace karvex
