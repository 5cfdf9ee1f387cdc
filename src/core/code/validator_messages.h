#pragma once

// The texts the code edit dialog shows for the validator's errors, and the reader of the
// validator's error list text.

#include "core/code/html_validator.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace karvex {

struct ValidatorMessage
{
    std::string Title;
    std::string Detail;
};

// Title and detail for an error code at a position. An unknown code gets the warning title
// and an empty detail.
ValidatorMessage MessageForError(std::int32_t code, std::int64_t position);

// Reads one line of ExtractErrorMessages (with or without its "\r\n"): the position before the
// first "|", the code behind the last "|", the text in between (which may hold "|" itself).
// Empty when the line has fewer than two "|" or position or code is not a whole number.
std::optional<ValidatorError> ParseErrorLine(std::string_view line);

// Reads a whole ExtractErrorMessages text. Empty lines are skipped; an error text that itself
// holds line breaks is joined back to one record.
std::vector<ValidatorError> ParseErrorMessages(std::string_view text);

} // namespace karvex
