#include "convert/convert.h"
#include "core/formats/html_import.h"
#include "core/formats/page_charset.h"
#include "core/formats/tag_reader.h"
#include "core/model/app_state.h"
#include "core/operations/document_save.h"
#include "core/operations/panel_edits.h"
#include "core/util/charset.h"
#include "core/util/file_io.h"
#include "core/util/text_codec.h"
#include "support/gif_bytes.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace karvex {
namespace {

// Korean words in UTF-8 and in EUC-KR.
constexpr const char* kSeoulUtf8 = "\xEC\x84\x9C\xEC\x9A\xB8";
constexpr const char* kSeoulEucKr = "\xBC\xAD\xBF\xEF";
constexpr const char* kHelloUtf8 = "\xEC\x95\x88\xEB\x85\x95\xED\x95\x98\xEC\x84\xB8\xEC\x9A\x94";
constexpr const char* kHelloEucKr = "\xBE\xC8\xB3\xE7\xC7\xCF\xBC\xBC\xBF\xE4";
constexpr const char* kMapUtf8 = "\xEC\xA7\x80\xEB\x8F\x84";
constexpr const char* kMapEucKr = "\xC1\xF6\xB5\xB5";

TEST(Charset, LabelsNameTheCharsetsBrowsersReadThemAs)
{
    const struct
    {
        const char* Label;
        const char* Charset;
    } cases[] = {
        { "euc-kr", "EUC-KR" },
        { " KS_C_5601-1987\t", "EUC-KR" },
        { "x-sjis", "Shift_JIS" },
        { "gb2312", "GB18030" },
        { "latin1", "windows-1252" },
        { "us-ascii", "windows-1252" },
        { "iso-8859-9", "windows-1254" },
        { "ISO-8859-2", "ISO-8859-2" },
        { "utf8", "UTF-8" },
        { "utf-16", "UTF-16LE" },
        { "utf-7", "" },
        { "euc-kr-ish", "" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CharsetForLabel(c.Label), c.Charset) << c.Label;
}

TEST(Charset, TextComesBackInItsOwnBytes)
{
    const struct
    {
        const char* Charset;
        std::string Bytes;
        std::string Utf8;
    } cases[] = {
        { "EUC-KR", kHelloEucKr, kHelloUtf8 },
        // The second byte of a Shift_JIS character can be an ASCII one ("{" here).
        { "Shift_JIS", "\x93\xFA\x96\x7B", "\xE6\x97\xA5\xE6\x9C\xAC" },
        { "GB18030", "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87" },
        { "windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2",
            "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82" },
        { "ISO-8859-7", "\xC5\xEB\xEB\xDC\xE4\xE1",
            "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1" },
        // The bytes the code page leaves unassigned are kept too.
        { "windows-1252", "caf\xE9 \x80\x81\x9D", "caf\xC3\xA9 \xE2\x82\xAC\xC2\x81\xC2\x9D" },
        { "UTF-16BE", std::string("\xC1\x20\0a", 4),
            "\xEC\x84\xA0"
            "a" },
    };
    for (const auto& c : cases) {
        const CharsetText decoded = DecodeToUtf8(c.Bytes, c.Charset);
        ASSERT_TRUE(decoded.Ok) << c.Charset << ": " << decoded.Reason;
        EXPECT_EQ(decoded.Text, c.Utf8) << c.Charset;
        EXPECT_EQ(DisplayText(c.Bytes, c.Charset), c.Utf8) << c.Charset;
        const CharsetText encoded = EncodeFromUtf8(c.Utf8, c.Charset);
        ASSERT_TRUE(encoded.Ok) << c.Charset << ": " << encoded.Reason;
        EXPECT_EQ(encoded.Text, c.Bytes) << c.Charset;
        EXPECT_EQ(StoredText(c.Utf8, c.Charset), c.Bytes) << c.Charset;
    }
}

TEST(Charset, CharactersACharsetLacksBecomeReferences)
{
    // U+1F600 is in no legacy charset; the euro sign is not in ISO-8859-2.
    EXPECT_EQ(StoredText(std::string(kSeoulUtf8) + " \xF0\x9F\x98\x80", "EUC-KR"),
        std::string(kSeoulEucKr) + " &#128512;");
    EXPECT_EQ(StoredText("a\xE2\x82\xAC"
                         "b",
                  "ISO-8859-2"),
        "a&#8364;b");
    EXPECT_EQ(StoredText(kSeoulUtf8, "windows-1252"), "&#49436;&#50872;");
    // Long runs of them, and of bytes that are no UTF-8 (each once grew the buffer twofold).
    std::string faces;
    std::string references;
    for (int i = 0; i < 200; ++i) {
        faces += "\xF0\x9F\x98\x80";
        references += "&#128512;";
    }
    EXPECT_EQ(StoredText(faces + std::string(200, '\xFF'), "Shift_JIS"),
        references + std::string(200, '?'));
    EXPECT_EQ(StoredText(kSeoulUtf8, ""), kSeoulUtf8);
    EXPECT_EQ(StoredText(kSeoulUtf8, "no-such-charset"), kSeoulUtf8);
}

TEST(Charset, BytesThatAreNotTextInTheCharsetAreShownByTheOldRule)
{
    // A lead byte without its second byte, and a second byte that cannot follow its lead.
    for (const char* bytes : { "ab\xC8", "\xC8\x20" }) {
        const CharsetText decoded = DecodeToUtf8(bytes, "EUC-KR");
        EXPECT_FALSE(decoded.Ok) << bytes;
        EXPECT_FALSE(decoded.Reason.empty());
        EXPECT_EQ(DisplayText(bytes, "EUC-KR"), DecodeForDisplay(bytes));
    }
    EXPECT_EQ(
        DecodeToUtf8("\xC8\x20", "EUC-KR").Reason, "the byte 0xC8 at offset 0 is not EUC-KR text");
    EXPECT_FALSE(DecodeToUtf8("caf\xE9", "UTF-8").Ok);
    EXPECT_EQ(DisplayText("caf\xE9", "UTF-8"), "caf\xC3\xA9");
    EXPECT_FALSE(DecodeToUtf8("abc", "klingon").Ok);
    EXPECT_EQ(DisplayText(kHelloEucKr, "klingon"), Windows1252ToUtf8(kHelloEucKr));
    EXPECT_EQ(DisplayText(kHelloUtf8, ""), kHelloUtf8);
}

TEST(PageCharset, FoundAsBrowsersFindItBeforeReading)
{
    const std::string pad(1100, ' ');
    const struct
    {
        std::string Page;
        const char* Charset;
    } cases[] = {
        { "<html><head><meta charset=\"euc-kr\">", "EUC-KR" },
        { "<HTML><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">",
            "Shift_JIS" },
        { "<meta http-equiv=content-type content='text/html;charset = \"gb2312\"'>", "GB18030" },
        { "<meta content=\"text/html; charset=iso-8859-7\" http-equiv=\"content-type\">",
            "ISO-8859-7" },
        // Only a Content-Type value declares a charset.
        { "<meta http-equiv=\"refresh\" content=\"0; charset=euc-kr\">", "" },
        { "<meta name=\"description\" content=\"charset=euc-kr\">", "" },
        // A label this program does not know is passed over; the next META can still declare.
        { "<meta charset=\"x-klingon\"><meta charset=\"koi8-r\">", "KOI8-R" },
        { "<!-- <meta charset=\"euc-kr\"> --><p>", "" },
        { "<title><meta charset=\"euc-kr\"></title>", "" },
        { "<img alt=\"<meta charset=euc-kr>\">", "" },
        { "<meta charset=\"utf-16\">", "UTF-8" },
        { pad + "<meta charset=\"euc-kr\">", "" },
        { "\xEF\xBB\xBF<meta charset=\"euc-kr\">", "UTF-8" },
        { "\xFF\xFE<", "UTF-16LE" },
        { "\xFE\xFF", "UTF-16BE" },
        { "<p>no declaration</p>", "" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageCharset(c.Page), c.Charset) << c.Page;

    EXPECT_EQ(TextCharset("<meta charset=\"euc-kr\">"), "EUC-KR");
    EXPECT_EQ(TextCharset(std::string("<p>") + kHelloUtf8), "UTF-8");
    EXPECT_EQ(TextCharset(std::string("<p>") + kHelloEucKr), "windows-1252");
    EXPECT_EQ(TextCharset("\xFF\xFE<p>"), "windows-1252");
}

class PageInItsCharset : public ::testing::Test
{
protected:
    void SetUp() override { WriteWholeFile(dir.File("logo.gif"), test::GifBytes(120, 60)); }

    // Opens the page as the editor does and makes it the one open document.
    Document& Open(const std::string& bytes)
    {
        WriteWholeFile(file, bytes);
        ImportContext context;
        ImportResult result = ImportHtmlFile(file, context);
        EXPECT_TRUE(result.Ok) << result.Message;
        state.Documents.push_back(std::move(result.Doc));
        state.CurrentDocument = 1;
        state.OpenDocuments.Add(file, "1");
        return state.Documents[1];
    }

    std::string SaveBack()
    {
        const SaveResult saved = SaveDocumentFile(state, 1, file, false, false);
        EXPECT_TRUE(saved.Ok) << saved.Error;
        return ApiReadFile(file);
    }

    test::TempDir dir;
    std::string file = dir.File("page.html");
    AppState state;
};

const std::string kEucKrPage = std::string("<html><head>\n")
    + "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=euc-kr\">\n<title>"
    + kMapEucKr + "</title></head>\n<body><p>" + kHelloEucKr
    + "</p>\n<img src=\"logo.gif\" usemap=\"#m\" alt=\"" + kMapEucKr + "\">\n"
    + "<map name=\"m\">\n  <area shape=rect coords=\"1,1,5,5\" href=x.html alt=\"" + kSeoulEucKr
    + "\">\n  <area shape=circle coords=\"20,20,5\" href=\"y.html\" alt=\"" + kHelloEucKr
    + "\">\n</map>\n<p>" + kSeoulEucKr + "</p></body></html>\n";

TEST_F(PageInItsCharset, EucKrPageShowsItsTextAndSavesBackOnlyTheEditedLink)
{
    Document& doc = Open(kEucKrPage);
    ASSERT_EQ(doc.Charset, "EUC-KR");
    ASSERT_EQ(doc.Hotspots.size(), 3U);
    EXPECT_EQ(DisplayText(GetAttribute(ParseTag(doc.Hotspots[1].AreaTag), "ALT", ""), doc.Charset),
        kSeoulUtf8);
    EXPECT_EQ(DisplayText(GetAttribute(ParseTag(doc.ImgTag), "ALT", ""), doc.Charset), kMapUtf8);

    // The page comes back unchanged, and with a changed link only the link differs.
    EXPECT_EQ(SaveBack(), kEucKrPage);
    SetHotspotAttribute(doc.Hotspots[1], "HREF", "z.html");
    std::string expected = kEucKrPage;
    expected.replace(expected.find("href=x.html"), 11, "href=\"z.html\"");
    EXPECT_EQ(SaveBack(), expected);
}

TEST_F(PageInItsCharset, TypedTextIsWrittenInThePagesCharset)
{
    Document& doc = Open(kEucKrPage);
    // What the property panel does with a typed ALT text: encoded in the page's charset.
    const std::string typed = std::string(kMapUtf8) + " \xF0\x9F\x98\x80";
    SetHotspotAttribute(doc.Hotspots[2], "ALT", StoredText(typed, doc.Charset));
    std::string expected = kEucKrPage;
    const std::string oldAlt = std::string("alt=\"") + kHelloEucKr + "\"";
    expected.replace(
        expected.find(oldAlt), oldAlt.size(), std::string("alt=\"") + kMapEucKr + " &#128512;\"");
    EXPECT_EQ(SaveBack(), expected);
}

TEST_F(PageInItsCharset, MapPutIntoAPageOfAnotherCharsetIsWrittenInThatCharset)
{
    Document& doc = Open(kEucKrPage);
    const std::string head
        = std::string("<html><head><meta charset=\"utf-8\"></head>\n<p>") + kHelloUtf8 + "</p>\n";
    const std::string other = dir.File("other.html");
    WriteWholeFile(other, head + "</body></html>\n");
    ASSERT_TRUE(SaveDocumentFile(state, 1, other, false, false, PageConflict::Insert).Ok);
    const std::string saved = ApiReadFile(other);
    EXPECT_EQ(saved.substr(0, head.size()), head);
    EXPECT_NE(saved.find(std::string("alt=\"") + kSeoulUtf8 + "\""), std::string::npos) << saved;
    EXPECT_NE(saved.find(std::string("alt=\"") + kMapUtf8 + "\""), std::string::npos) << saved;
    EXPECT_TRUE(IsValidUtf8(saved));

    // The document keeps its own bytes, and saves into that page again without a conflict.
    EXPECT_EQ(doc.Charset, "EUC-KR");
    EXPECT_NE(doc.Hotspots[1].AreaTag.find(kSeoulEucKr), std::string::npos);
    SetHotspotAttribute(doc.Hotspots[1], "HREF", "z.html");
    ASSERT_TRUE(SaveDocumentFile(state, 1, other, false, false).Ok);
    std::string expected = saved;
    expected.replace(expected.find("href=x.html"), 11, "href=\"z.html\"");
    EXPECT_EQ(ApiReadFile(other), expected);

    // Into a Windows-1252 page, Hangul goes as character references.
    const std::string latin = dir.File("latin.html");
    WriteWholeFile(latin, "<p>caf\xE9</p>\n");
    ASSERT_TRUE(SaveDocumentFile(state, 1, latin, false, true, PageConflict::Insert).Ok);
    EXPECT_NE(ApiReadFile(latin).find("alt=\"&#49436;&#50872;\""), std::string::npos);
}

TEST_F(PageInItsCharset, PagesWithoutADeclarationKeepTheOldRule)
{
    // Not UTF-8 and no META: Windows-1252, in which typed text is now stored too.
    const std::string page
        = "<img src=\"logo.gif\" usemap=\"#m\" alt=\"caf\xE9\">\n<map name=\"m\">"
          "<area shape=rect coords=\"1,1,5,5\" href=x.html></map>\n";
    EXPECT_EQ(Open(page).Charset, "windows-1252");
    EXPECT_EQ(StoredText("na\xC3\xAFve", state.Documents[1].Charset), "na\xEFve");
}

TEST_F(PageInItsCharset, Utf16PageIsTextInUtf8WhateverItsMetaSays)
{
    const std::string text
        = "<meta charset=\"windows-1252\"><img src=\"logo.gif\" usemap=\"#m\" alt=\""
        + std::string(kSeoulUtf8) + "\"><map name=\"m\"><area shape=rect coords=\"1,1,5,5\" alt=\""
        + kSeoulUtf8 + "\"></map>";
    const std::string bytes = EncodeUtf16Page(text, false, true);
    Document& doc = Open(bytes);
    EXPECT_EQ(doc.Charset, "UTF-8");
    EXPECT_EQ(DisplayText(GetAttribute(ParseTag(doc.ImgTag), "ALT", ""), doc.Charset), kSeoulUtf8);

    // The converter reads it so too: the page put into itself comes back unchanged.
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunConvert({ file, "--into", file }, out, err), 0) << err.str();
    EXPECT_EQ(ApiReadFile(file), bytes);
}

} // namespace
} // namespace karvex
