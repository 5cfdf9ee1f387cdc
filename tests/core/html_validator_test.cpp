#include "core/code/html_validator.h"
#include "core/code/validator_messages.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace karvex {
namespace {

struct Expected
{
    std::int32_t code;
    std::int64_t position;
    std::string text;
};

std::string Describe(const std::vector<ValidatorError>& errors)
{
    std::string result;
    for (const auto& error : errors)
        result += std::to_string(error.Code) + "@" + std::to_string(error.Position) + " ["
            + error.Text + "] ";
    return result;
}

TEST(HtmlValidator, FindsExactlyTheExpectedErrors)
{
    struct Case
    {
        const char* text;
        std::vector<Expected> errors;
    };
    const std::string noOpen = "AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\">";
    const std::string noClose = "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\"";
    const Case cases[] = {
        { "Hello world", { { 6, 1, "Hello world" } } },
        { "", { { 6, 1, "" } } },
        { noOpen.c_str(), { { 2, 35, noOpen } } },
        { noClose.c_str(), { { 1, 36, noClose } } },
        { "<AREA SHAPE=\"circle\" COORDS=\"10,10,5\" HREF=\"a.html\">", {} },
        { "<area shape=rect coords=1,2,3,4 href=x.html>", {} },
        { "<AREA\r\nSHAPE=\"RECT\"\r\n\tCOORDS=\"1,2,3,4\">", {} },
        { "<AREA SHAPE=\"oval\" COORDS=\"10,10,5\">", { { 7, 13, "oval" }, { 5, 27, "10,10,5" } } },
        { "<AREA SHAPE=\"POLY\" COORDS=\"1,2,3,4,5,6,7\">", { { 5, 27, "1,2,3,4,5,6,7" } } },
        { "<AREA SHAPE=\"POLY\" COORDS=\"1,2,3,4\">", { { 5, 27, "1,2,3,4" } } },
        { "<AREA SHAPE=\"POLY\" COORDS=\"1,2,3,4,5,6,7,8\">", {} },
        { "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3\">", { { 5, 27, "1,2,3" } } },
        { "<AREA SHAPE=\"CIRCLE\" COORDS=\"1,2,3,4\">", { { 5, 29, "1,2,3,4" } } },
        // Without SHAPE the shape is "" and reported at the tag's "<".
        { "<AREA COORDS=\"1,2,3,4\">", { { 7, 1, "" }, { 5, 14, "1,2,3,4" } } },
        // Positions count from the start of the whole text.
        { "text <AREA SHAPE=\"oval\" COORDS=\"1,2,3\">",
            { { 7, 18, "oval" }, { 5, 32, "1,2,3" } } },
        { "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=\"x.html>",
            { { 8, 42, "\"x.html" }, { 3, 42, "\"x.html" } } },
        { "<A HREF=x\" TITLE=\"y\">", { { 3, 9, "x\" TITLE=\"" } } },
        { "<A HREF=a\"b>", { { 8, 9, "a\"b" }, { 4, 9, "a\"b" } } },
        { "<A HREF=\"a.html\">x</A><A HREF=\"b.html\">", {} },
        // After a repeated name nothing more of the tag is checked (the open quote of ALT).
        { "<A HREF=\"a\" href=\"b\" ALT=\"c>", { { 9, 13, "href" } } },
        { "<A HREF=\"x\">text>", { { 2, 17, ">text>" } } },
        { "<A HREF=\"x\"><B", { { 1, 15, "<B" } } },
        // A second "<" restarts the tag.
        { "<A <B HREF=\"x\">", {} },
    };
    for (const auto& c : cases) {
        HtmlValidator validator;
        validator.InsertCode(c.text);
        const auto& errors = validator.Errors();
        EXPECT_EQ(validator.ErrorFound(), !c.errors.empty()) << c.text;
        ASSERT_EQ(errors.size(), c.errors.size()) << c.text << " gave " << Describe(errors);
        for (std::size_t i = 0; i < errors.size(); ++i) {
            EXPECT_EQ(errors[i].Code, c.errors[i].code) << c.text << " #" << i;
            EXPECT_EQ(errors[i].Position, c.errors[i].position) << c.text << " #" << i;
            EXPECT_EQ(errors[i].Text, c.errors[i].text) << c.text << " #" << i;
        }
    }
}

TEST(HtmlValidator, ErrorMessagesTextAndItsReader)
{
    HtmlValidator validator;
    EXPECT_EQ(validator.ExtractErrorMessages(), "");
    validator.InsertCode("<A TITLE=\"a|b\" HREF=\"x>");
    validator.InsertCode("plain");
    const std::string text = validator.ExtractErrorMessages();
    EXPECT_EQ(text, "21|\"x|8\r\n21|\"x|3\r\n1|plain|6\r\n");

    const auto line = ParseErrorLine("12|a|b|7\r\n");
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->Position, 12);
    EXPECT_EQ(line->Text, "a|b");
    EXPECT_EQ(line->Code, 7);
    for (const char* bad : { "", "12|7", "x|a|7", "12|a|", "12|a|9x" })
        EXPECT_FALSE(ParseErrorLine(bad).has_value()) << bad;

    // An error text holding a line break still comes back as one record.
    HtmlValidator multiLine;
    multiLine.InsertCode("<A>\r\nx>");
    ASSERT_EQ(multiLine.Errors().size(), 1U);
    const auto parsed = ParseErrorMessages(multiLine.ExtractErrorMessages() + "\r\n1|z|6\r\n");
    ASSERT_EQ(parsed.size(), 2U);
    EXPECT_EQ(parsed[0].Text, ">\r\nx>");
    EXPECT_EQ(parsed[0].Code, 2);
    EXPECT_EQ(parsed[1].Text, "z");
}

TEST(ValidatorMessages, TitleAndDetailByCode)
{
    const std::string warning = "Warning at character 17";
    const char* quoting = "Check the value for improperly quoted attribute.";
    const std::pair<std::int32_t, ValidatorMessage> expected[] = {
        { 1, { warning, "You have forgotten an quotation mark." } },
        { 2, { warning, "You have forgotten an quotation mark." } },
        { 3, { warning, quoting } },
        { 4, { warning, quoting } },
        { 5, { warning, "The \"COORDS\" value are not correct, check the value again." } },
        { 6, { "Incomplete HTML code", "Can't find a start and end tag quotation mark." } },
        { 7, { warning, "The \"SHAPE\" attribute you have entered is invalid." } },
        { 8, { warning, "There exist an improperly quoted attribute value." } },
        { 9, { warning, "This attribute exist more than one time in the tag." } },
        { 42, { warning, "" } },
    };
    for (const auto& [code, message] : expected) {
        const ValidatorMessage actual = MessageForError(code, 17);
        EXPECT_EQ(actual.Title, message.Title) << code;
        EXPECT_EQ(actual.Detail, message.Detail) << code;
    }
}

TEST(HtmlValidator, AttributeReaderWalksATag)
{
    const std::string tag = "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=x.html>";
    HtmlValidator reader;
    EXPECT_EQ(reader.NextTagStart(tag, 1), 6);
    reader.ReturnParameter(tag, 6);
    EXPECT_EQ(reader.ExtractTagName(), "SHAPE");
    EXPECT_EQ(reader.ExtractValue(), "\"RECT\"");
    EXPECT_EQ(reader.LastPosition(), 19);
    EXPECT_EQ(reader.NextTagStart(tag, 19), 19);
    reader.ReturnParameter(tag, 19);
    EXPECT_EQ(reader.ExtractTagName(), "COORDS");
    EXPECT_EQ(reader.LastPosition(), 36);
    reader.ReturnParameter(tag, 36);
    EXPECT_EQ(reader.ExtractTagName(), "HREF");
    EXPECT_EQ(reader.ExtractValue(), "x.html");
    EXPECT_EQ(reader.LastPosition(), 48); // the ">"
    EXPECT_EQ(reader.NextTagStart(tag, 48), 48);
    EXPECT_EQ(reader.NextTagStart(tag, 49), 0);
    reader.ReturnParameter(tag, 48);
    EXPECT_EQ(reader.ExtractTagName(), "");
    EXPECT_EQ(reader.LastPosition(), 49);
    EXPECT_FALSE(reader.ErrorFound());

    // An unquoted value ends at the blank before the next name; a later "=" with no blank
    // before it stays in the value.
    reader.ReturnParameter("<A HREF=a.html?x=1 ALT=b>", -3);
    EXPECT_EQ(reader.ExtractValue(), "a.html?x=1");
    EXPECT_EQ(reader.LastPosition(), 19);

    reader.ReturnParameter("<A HREF=\"x>", 3);
    EXPECT_EQ(reader.ExtractValue(), "\"x");
    ASSERT_EQ(reader.Errors().size(), 1U);
    EXPECT_EQ(reader.Errors()[0].Code, 8);
    EXPECT_EQ(reader.Errors()[0].Position, 3);
}

TEST(HtmlValidator, ReplaceTagSetsOneAttribute)
{
    struct Case
    {
        const char* name;
        const char* value;
        const char* tag;
        const char* result;
    };
    const Case cases[] = {
        { "HREF", "new.html", "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=\"old.html\">",
            "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=\"new.html\">" },
        { "HREF", "new.html", "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\">",
            "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=\"new.html\">" },
        // The first occurrence of the letters counts: SRC finds LOWSRC.
        { "SRC", "new.gif", "<IMG LOWSRC=\"low.gif\" SRC=\"pic.gif\">",
            "<IMG LOWSRC=\"new.gif\" SRC=\"pic.gif\">" },
        { "HREF", "c", "<area href=a alt=b>", "<area href=\"c\" alt=b>" },
        { "USEMAP", "", "<IMG SRC=\"a.gif\" USEMAP=\"#m\">", "<IMG SRC=\"a.gif\" USEMAP=\"\">" },
        // Every occurrence of the old attribute text is replaced.
        { "ALT", "2", "<A ALT=\"1\" ><B ALT=\"1\" >", "<A ALT=\"2\" ><B ALT=\"2\" >" },
        { "HREF", "c", "<AREA HREF=\"a\"\r\nALT=\"b\">", "<AREA HREF=\"c\"\r\nALT=\"b\">" },
        { "HREF", "c", "<A HREF=\"a\"ALT=\"b\">", "<A HREF=\"c\" ALT=\"b\">" },
        { "HREF", "c", "<A HREF=\"a>", "<A HREF=\"c\">" },
        { "ISMAP", "1", "<IMG SRC=\"a.gif\" ISMAP>", "<IMG SRC=\"a.gif\" ISMAP=\"1\">" },
        // Text behind the first ">" is dropped when the attribute is added.
        { "ALT", "x", "<IMG SRC=a.gif> tail", "<IMG SRC=a.gif ALT=\"x\">" },
        // A tag without ">" gets the attribute and a closing ">".
        { "HREF", "x", "<AREA SHAPE=\"RECT\"", "<AREA SHAPE=\"RECT\" HREF=\"x\">" },
        { "", "x", "<AREA>", "<AREA>" },
    };
    for (const auto& c : cases) {
        HtmlValidator validator;
        EXPECT_EQ(validator.ReplaceTag(c.name, c.value, c.tag), c.result) << c.tag;
    }
}

} // namespace
} // namespace karvex
