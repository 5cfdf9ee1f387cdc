// Random and mangled tag texts through the tag engine: no read past the end (checked by the
// sanitizer build) and the invariants below hold for any input.

#include "core/code/html_validator.h"
#include "core/code/validator_messages.h"
#include "core/formats/tag_reader.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>

namespace karvex {
namespace {

const char* const kSeeds[] = {
    "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=\"a.html\" ALT=\"x\">",
    "<area shape=poly coords=1,2,3,4,5,6 href=b.html target=_top>",
    "<IMG LOWSRC=\"low.gif\" SRC=\"file:///C:/My%20Pics/a+b.gif\" USEMAP=\"#m\" WIDTH=10>",
    "<MAP NAME=\"m\">\r\n<AREA\r\nSHAPE=\"circle\"\tCOORDS=\"5,5,3\">\r\n</MAP>",
    "<A HREF=\"x\"ALT=\"y\" TITLE=a=b ONCLICK=\"f('>')\">",
};

class TagEngineFuzz : public ::testing::Test
{
protected:
    std::string RandomText()
    {
        static const std::string kTagBytes = "<>=\" \t\r\n,%+#/|AaHhRrEeFfSsCcOoDd0123456789";
        std::string text(Pick(0, 80), '\0');
        for (char& ch : text)
            ch = Pick(0, 3) == 0 ? static_cast<char>(Pick(0, 255))
                                 : kTagBytes[Pick(0, static_cast<int>(kTagBytes.size()) - 1)];
        return text;
    }

    std::string MangledSeed()
    {
        std::string text = kSeeds[Pick(0, static_cast<int>(std::size(kSeeds)) - 1)];
        for (int edits = Pick(0, 4); edits > 0 && !text.empty(); --edits) {
            const auto at = static_cast<std::size_t>(Pick(0, static_cast<int>(text.size()) - 1));
            switch (Pick(0, 3)) {
            case 0:
                text.erase(at, 1);
                break;
            case 1:
                text.insert(at, 1, "<>=\" "[Pick(0, 4)]);
                break;
            case 2:
                text[at] = static_cast<char>(Pick(0, 255));
                break;
            default:
                text.resize(at); // truncation
            }
        }
        return text;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    std::mt19937 m_random { 20240917 };
};

TEST_F(TagEngineFuzz, InvariantsHoldForArbitraryText)
{
    const char* const kNames[] = { "HREF", "SRC", "ALT", "coords", "X", "=", "\"" };
    for (int round = 0; round < 4000; ++round) {
        const std::string text = round % 2 == 0 ? RandomText() : MangledSeed();
        const auto length = static_cast<std::int64_t>(text.size());
        SCOPED_TRACE(::testing::PrintToString(text));

        HtmlValidator validator;
        validator.InsertCode(text);
        bool breakInTexts = false;
        for (const ValidatorError& error : validator.Errors()) {
            EXPECT_GE(error.Position, 1);
            EXPECT_LE(error.Position, length + 1);
            EXPECT_GE(error.Code, 1);
            EXPECT_LE(error.Code, 9);
            breakInTexts = breakInTexts || error.Text.find_first_of("\r\n") != std::string::npos;
        }
        const bool hasBracket = text.find_first_of("<>") != std::string::npos;
        EXPECT_EQ(validator.Errors().size() == 1 && validator.Errors()[0].Code == 6, !hasBracket);
        if (!breakInTexts) {
            const auto parsed = ParseErrorMessages(validator.ExtractErrorMessages());
            ASSERT_EQ(parsed.size(), validator.Errors().size());
            for (std::size_t i = 0; i < parsed.size(); ++i) {
                EXPECT_EQ(parsed[i].Position, validator.Errors()[i].Position);
                EXPECT_EQ(parsed[i].Text, validator.Errors()[i].Text);
            }
        }

        const TagRecord record = ParseTag(text, "C:\\TEMP\\");
        ASSERT_FALSE(record.Attributes.empty());
        EXPECT_TRUE(record.Attributes[0].Name.empty() && record.Attributes[0].Value.empty());
        if (text.find('<') != std::string::npos) {
            EXPECT_EQ(record.TagText.front(), '<');
            EXPECT_NE(text.find(record.TagText), std::string::npos);
            // A tag ends at its closing ">" (quoted ones do not count) or runs to the end.
            const bool closed = record.TagText.back() == '>';
            const bool toEnd = text.size() >= record.TagText.size()
                && text.compare(
                       text.size() - record.TagText.size(), record.TagText.size(), record.TagText)
                    == 0;
            EXPECT_TRUE(closed || toEnd);
        }
        for (std::size_t i = 1; i < record.Attributes.size(); ++i) {
            const std::string& name = record.Attributes[i].Name;
            EXPECT_EQ(std::find_if(name.begin(), name.end(), IsTagBlank), name.end());
            EXPECT_EQ(GetAttribute(record, name, "").find('"'), std::string::npos);
        }

        const std::string name = kNames[Pick(0, static_cast<int>(std::size(kNames)) - 1)];
        // Built by append: GCC 12 at -O3 warns falsely (-Wrestrict) on "v" + std::string.
        std::string value = "v";
        value += std::to_string(round);
        HtmlValidator setter;
        const std::string replaced = setter.ReplaceTag(name, value, text);
        EXPECT_NE(replaced.find("=\"" + value + "\""), std::string::npos);

        const std::int64_t position = Pick(-3, static_cast<int>(length) + 3);
        HtmlValidator reader;
        const std::int64_t start = reader.NextTagStart(text, position);
        EXPECT_TRUE(
            start == 0 || (start >= std::max<std::int64_t>(position, 1) && start <= length));
        reader.ReturnParameter(text, position);
        const std::int64_t last = reader.LastPosition();
        EXPECT_GE(last, 1);
        EXPECT_LE(last, length + 1);
        const std::string& read = reader.ExtractValue();
        const auto valueAt = static_cast<std::size_t>(last - 1) - read.size();
        EXPECT_EQ(text.compare(valueAt, read.size(), read), 0);

        const std::string decoded = UrlDecode(text);
        EXPECT_LE(decoded.size(), text.size());
        if (text.find('%') == std::string::npos) {
            EXPECT_EQ(decoded.size(), text.size());
        }
    }
}

} // namespace
} // namespace karvex
