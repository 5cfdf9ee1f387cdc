#include "core/util/numbers.h"
#include "core/util/strings.h"
#include "core/util/text_codec.h"

#include <gtest/gtest.h>

namespace karvex {
namespace {

TEST(TextCodec, Windows1252RoundTripsEveryByte)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToWindows1252(utf8), all);
    EXPECT_EQ(Windows1252ToUtf8("\x80\x93\x99"), "\xE2\x82\xAC\xE2\x80\x9C\xE2\x84\xA2");
}

TEST(TextCodec, DisplayKeepsUtf8AndReadsOtherBytesAsWindows1252)
{
    EXPECT_EQ(DecodeForDisplay("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(DecodeForDisplay("caf\xE9"), "caf\xC3\xA9");
    // Overlong forms, surrogates and cut sequences are not UTF-8.
    for (const char* bad : { "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82", "\xFF" })
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    EXPECT_EQ(Utf8ToWindows1252("\xE4\xB8\xAD|\xE2\x82"), "?|??");
}

TEST(TextCodec, Utf16PagesComeBackByteForByte)
{
    // "<p>" then U+1F600 (a surrogate pair) and "é", big-endian without a mark.
    const std::string big("\0<\0p\0>\xD8\x3D\xDE\x00\0\xE9", 12);
    const auto page = DecodeUtf16Page(big);
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->BigEndian);
    EXPECT_FALSE(page->ByteOrderMark);
    EXPECT_EQ(page->Utf8, "<p>\xF0\x9F\x98\x80\xC3\xA9");
    EXPECT_EQ(EncodeUtf16Page(page->Utf8, true, false), big);
    const std::string little("\xFF\xFE<\0", 4);
    ASSERT_TRUE(DecodeUtf16Page(little));
    EXPECT_EQ(EncodeUtf16Page(DecodeUtf16Page(little)->Utf8, false, true), little);
    // A lone surrogate, an odd length and plain bytes are not read as UTF-16.
    EXPECT_FALSE(DecodeUtf16Page(std::string("\xFF\xFE\x00\xDC", 4)));
    EXPECT_FALSE(DecodeUtf16Page(std::string("\xFF\xFE<\0>", 5)));
    EXPECT_FALSE(DecodeUtf16Page("<html>"));
}

TEST(Numbers, ClampedIntoTheirRanges)
{
    EXPECT_EQ(PictureNumber("999999999"), kMaxPictureSide);
    EXPECT_EQ(PictureNumber("-5"), 0);
    EXPECT_EQ(CoordinateNumber("-123456789012"), -kCoordinateLimit);
    EXPECT_EQ(NumberInRange(" 65535 ", 1, kMaxPictureSide), 65535);
    for (const char* refused : { "65536", "0", "99999999999999999999", "1.5", "" })
        EXPECT_FALSE(NumberInRange(refused, 1, kMaxPictureSide)) << refused;
}

TEST(Strings, CaseAndNumbers)
{
    EXPECT_EQ(ToUpper("href=\xE9"), "HREF=\xE9"); // ASCII only
    EXPECT_EQ(FindNoCase("<img SRC=x>", "src="), 5u);
    EXPECT_EQ(FindNoCase("abc", "d"), std::string::npos);
    EXPECT_EQ(ParseLeadingInt("  -42px"), -42);
    EXPECT_EQ(ParseLeadingInt("x1"), 0);
    EXPECT_EQ(ParseLeadingInt("99999999999999999999999"), ParseLeadingInt("999999999999999999999"));
    EXPECT_TRUE(IsWholeNumber(" 12 "));
    EXPECT_FALSE(IsWholeNumber("1 2"));
    EXPECT_FALSE(IsWholeNumber("-"));
    EXPECT_EQ(Split("a,,b", ",").size(), 3u);
    EXPECT_EQ(Trim("  a b  "), "a b");
}

} // namespace
} // namespace karvex
