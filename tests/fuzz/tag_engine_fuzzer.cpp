// libFuzzer target over the tag engine: the validator, the attribute reader and setter, the tag
// reader and the URL decoder. Aborts when one of the engine's promises is broken.

#include "core/code/html_validator.h"
#include "core/code/validator_messages.h"
#include "core/formats/tag_reader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace karvex;
    // The first two bytes choose a reading position and an attribute name; the rest is the text.
    const std::int64_t position = size > 0 ? static_cast<std::int8_t>(data[0]) : 0;
    const char* const names[] = { "HREF", "SRC", "ALT", "coords", "=", "\"" };
    const char* name = names[size > 1 ? data[1] % 6 : 0];
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto length = static_cast<std::int64_t>(text.size());

    HtmlValidator validator;
    validator.InsertCode(text);
    bool breakInTexts = false;
    for (const ValidatorError& error : validator.Errors()) {
        Require(error.Position >= 1 && error.Position <= length + 1);
        Require(error.Code >= 1 && error.Code <= 9);
        MessageForError(error.Code, error.Position);
        breakInTexts = breakInTexts || error.Text.find_first_of("\r\n") != std::string::npos;
    }
    // A text without any bracket has exactly the one error that says so.
    const bool hasBracket = text.find_first_of("<>") != std::string::npos;
    Require((validator.Errors().size() == 1 && validator.Errors()[0].Code == 6) == !hasBracket);
    const auto parsed = ParseErrorMessages(validator.ExtractErrorMessages());
    if (!breakInTexts) {
        Require(parsed.size() == validator.Errors().size());
        for (std::size_t i = 0; i < parsed.size(); ++i)
            Require(parsed[i].Position == validator.Errors()[i].Position
                && parsed[i].Text == validator.Errors()[i].Text);
    }

    // A tag ends at its closing ">" (quoted ones do not count) or runs to the end of the text.
    const TagRecord record = ParseTag(text);
    Require(!record.Attributes.empty() && record.Attributes[0].Name.empty());
    if (text.find('<') != std::string::npos) {
        const std::string& tag = record.TagText;
        Require(tag.front() == '<' && text.find(tag) != std::string::npos);
        Require(tag.back() == '>' || text.compare(text.size() - tag.size(), tag.size(), tag) == 0);
    }
    // Only a value in single quotes keeps double quotes (onclick='show("big")').
    for (std::size_t i = 1; i < record.Attributes.size(); ++i) {
        const AttributePair& attribute = record.Attributes[i];
        Require(attribute.Name.find_first_of(" \t\r\n") == std::string::npos);
        const std::string& value = record.Attributes[i].Value;
        const bool singleQuoted
            = value.size() >= 2 && value.front() == '\'' && value.back() == '\'';
        Require(singleQuoted || UnquotedValue(value).find('"') == std::string::npos);
    }

    HtmlValidator setter;
    Require(setter.ReplaceTag(name, "fuzz", text).find("=\"fuzz\"") != std::string::npos);

    HtmlValidator reader;
    const std::int64_t start = reader.NextTagStart(text, position);
    Require(start == 0 || (start >= std::max<std::int64_t>(position, 1) && start <= length));
    reader.ReturnParameter(text, position);
    const std::int64_t last = reader.LastPosition();
    Require(last >= 1 && last <= length + 1);
    const std::string& read = reader.ExtractValue();
    Require(static_cast<std::size_t>(last - 1) >= read.size());
    Require(text.compare(static_cast<std::size_t>(last - 1) - read.size(), read.size(), read) == 0);

    const std::string decoded = UrlDecode(text);
    Require(decoded.size() <= text.size());
    Require(text.find('%') != std::string::npos || decoded.size() == text.size());
    return 0;
}
