// libFuzzer target over the tag engine: the validator, the attribute reader and setter, the tag
// reader and the URL decoder. Aborts when one of the engine's promises is broken.

#include "core/code/html_validator.h"
#include "core/code/validator_messages.h"
#include "core/formats/tag_reader.h"

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
    for (const ValidatorError& error : validator.Errors()) {
        Require(error.Position >= 1 && error.Position <= length + 1);
        Require(error.Code >= 1 && error.Code <= 9);
        MessageForError(error.Code, error.Position);
    }
    ParseErrorMessages(validator.ExtractErrorMessages());

    const TagRecord record = ParseTag(text, "C:\\TEMP\\");
    Require(!record.Attributes.empty());
    for (const AttributePair& attribute : record.Attributes)
        Require(GetAttribute(record, attribute.Name, "").find('"') == std::string::npos);

    HtmlValidator setter;
    Require(setter.ReplaceTag(name, "fuzz", text).find("=\"fuzz\"") != std::string::npos);

    HtmlValidator reader;
    const std::int64_t start = reader.NextTagStart(text, position);
    Require(start == 0 || (start >= 1 && start <= length));
    reader.ReturnParameter(text, position);
    Require(reader.LastPosition() >= 1 && reader.LastPosition() <= length + 1);

    Require(UrlDecode(text).size() <= text.size());
    return 0;
}
