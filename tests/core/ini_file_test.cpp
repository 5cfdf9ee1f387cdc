#include "core/settings/ini_file.h"
#include "core/util/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace karvex {
namespace {

struct FindCase
{
    const char* Name;
    std::string Text;
    const char* Section;
    const char* Key;
    std::optional<std::string> Expected;
};

TEST(IniFileTest, FindsValuesLikeTheProfileFunctions)
{
    const FindCase cases[] = {
        { "case-blind names", "[GENERAL]\r\nINI_LOOK=1\r\n", "general", "ini_Look", "1" },
        { "blanks and tabs trimmed", "[A]\r\n \tkey \t=  \t x y \t\r\n", "A", "key", "x y" },
        { "blanks in brackets", "[ A ]\nk=v\n", "A", "k", "v" },
        { "LF-only file", "[A]\nk=1\n[B]\nk=2\n", "B", "k", "2" },
        { "no line end at the end", "[A]\r\nk=7", "A", "k", "7" },
        { "double quotes dropped", "[A]\r\nk=\"a b\"\r\n", "A", "k", "a b" },
        { "single quotes dropped", "[A]\r\nk='a'\r\n", "A", "k", "a" },
        { "unpaired quote kept", "[A]\r\nk=\"a\r\n", "A", "k", "\"a" },
        { "value keeps later '='", "[A]\r\nk=a=b\r\n", "A", "k", "a=b" },
        { "empty value is present", "[A]\r\nk=\r\n", "A", "k", "" },
        { "comment is no key", "[A]\r\n;k=1\r\n", "A", "k", std::nullopt },
        { "key of another section", "[A]\r\nk=1\r\n[B]\r\n", "B", "k", std::nullopt },
        { "key before any section", "k=1\r\n[A]\r\n", "A", "k", std::nullopt },
        { "first key wins", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "1" },
        { "first section wins", "[A]\r\nx=1\r\n[a]\r\nk=2\r\n", "A", "k", std::nullopt },
        { "line without '='", "[A]\r\nk\r\n", "A", "k", std::nullopt },
        { "broken header", "[A\r\nk=1\r\n", "A", "k", std::nullopt },
        { "missing section", "[A]\r\nk=1\r\n", "C", "k", std::nullopt },
        { "empty text", "", "A", "k", std::nullopt },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindProfileValue(c.Text, c.Section, c.Key), c.Expected) << c.Name;
}

struct SetCase
{
    const char* Name;
    std::string Text;
    const char* Section;
    const char* Key;
    const char* Value;
    std::optional<std::string> Expected;
};

TEST(IniFileTest, WritesOneLineAndKeepsEveryOtherByte)
{
    const SetCase cases[] = {
        { "in place, CR LF", "; note\r\n[A]\r\nk=1\r\n  other = x \r\n\r\n[B]\r\nk=1\r\n", "a", "K",
            "22", "; note\r\n[A]\r\nk=22\r\n  other = x \r\n\r\n[B]\r\nk=1\r\n" },
        { "in place, LF only", "[A]\nk=1\nj=2\n", "A", "j", "3", "[A]\nk=1\nj=3\n" },
        { "keeps indent, spelling and blanks", "[A]\r\n  Key =  old  \r\n", "A", "KEY", "new",
            "[A]\r\n  Key =  new\r\n" },
        { "empty value to filled", "[A]\r\nk=\r\n", "A", "k", "v", "[A]\r\nk=v\r\n" },
        { "new key before the section's empty lines", "[A]\r\nk=1\r\n\r\n\r\n[B]\r\n", "A", "n",
            "5", "[A]\r\nk=1\r\nn=5\r\n\r\n\r\n[B]\r\n" },
        { "new key after a comment", "[A]\n;c\n\n[B]\n", "A", "n", "5", "[A]\n;c\nn=5\r\n\n[B]\n" },
        { "new key at an end without line end", "[A]\r\nk=1", "A", "n", "5",
            "[A]\r\nk=1\r\nn=5\r\n" },
        { "new section at the end", "[A]\r\nk=1", "B", "n", "5", "[A]\r\nk=1\r\n[B]\r\nn=5\r\n" },
        { "empty text", "", "B", "n", "5", "[B]\r\nn=5\r\n" },
        { "empty key", "[A]\r\n", "A", "", "5", std::nullopt },
        { "key with '='", "[A]\r\n", "A", "a=b", "5", std::nullopt },
        { "key like a comment", "[A]\r\n", "A", ";a", "5", std::nullopt },
        { "section with ']'", "", "A]", "k", "5", std::nullopt },
        { "value with a line break", "", "A", "k", "1\r\n[B]", std::nullopt },
    };
    for (const auto& c : cases) {
        const auto result = SetProfileValue(c.Text, c.Section, c.Key, c.Value);
        EXPECT_EQ(result, c.Expected) << c.Name;
        if (result) {
            EXPECT_EQ(FindProfileValue(*result, c.Section, c.Key), std::string(c.Value)) << c.Name;
        }
    }
}

TEST(IniFileTest, FileReadsAndWrites)
{
    test::TempDir dir;
    const std::string path = dir.File("kvx.ini");
    EXPECT_EQ(ReadProfileString(path, "A", "k", "fallback"), "fallback");

    ASSERT_TRUE(WriteProfileString(path, "A", "k", std::string(300, 'x')));
    EXPECT_EQ(ApiReadFile(path), "[A]\r\nk=" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(ReadProfileString(path, "a", "K"), std::string(kProfileValueMaxLength, 'x'));
    EXPECT_EQ(ReadProfileString(path, "A", "k", "", 3), "xxx");

    ASSERT_TRUE(WriteProfileString(path, "A", "k", ""));
    EXPECT_EQ(ReadProfileString(path, "A", "k", "fallback"), "");
    EXPECT_FALSE(WriteProfileString(dir.File("missing/kvx.ini"), "A", "k", "1"));
}

} // namespace
} // namespace karvex
