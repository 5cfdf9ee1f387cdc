#include "core/util/charset.h"

#include "core/util/strings.h"
#include "core/util/text_codec.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <iconv.h>
#include <initializer_list>
#include <string_view>

namespace karvex {

namespace {

// A character set this program converts: the name documents keep, the converter's name for it
// and the labels pages write for it.
struct CharsetEntry
{
    const char* Name;
    const char* ConverterName;
    std::initializer_list<std::string_view> Labels;
};

// Labels as browsers take them. Where browsers read a charset as a larger one (EUC-KR as
// Windows-949, Shift_JIS as Windows-31J, GBK as GB18030, Big5 with the Hong Kong additions),
// the larger one converts it.
const std::array<CharsetEntry, 32> kCharsets = { {
    { "UTF-8", "UTF-8",
        { "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "utf-8", "utf8",
            "x-unicode20utf8" } },
    { "UTF-16LE", "UTF-16LE",
        { "csunicode", "iso-10646-ucs-2", "ucs-2", "unicode", "unicodefeff", "utf-16",
            "utf-16le" } },
    { "UTF-16BE", "UTF-16BE", { "unicodefffe", "utf-16be" } },
    { "windows-1252", "CP1252",
        { "ansi_x3.4-1968", "ascii", "cp1252", "cp819", "csisolatin1", "ibm819", "iso-8859-1",
            "iso-ir-100", "iso8859-1", "iso88591", "iso_8859-1", "iso_8859-1:1987", "l1", "latin1",
            "us-ascii", "windows-1252", "x-cp1252" } },
    { "windows-1250", "CP1250", { "cp1250", "windows-1250", "x-cp1250" } },
    { "windows-1251", "CP1251", { "cp1251", "windows-1251", "x-cp1251" } },
    { "windows-1253", "CP1253", { "cp1253", "windows-1253", "x-cp1253" } },
    { "windows-1254", "CP1254",
        { "cp1254", "csisolatin5", "iso-8859-9", "iso-ir-148", "iso8859-9", "iso88599",
            "iso_8859-9", "iso_8859-9:1989", "l5", "latin5", "windows-1254", "x-cp1254" } },
    { "windows-1255", "CP1255", { "cp1255", "windows-1255", "x-cp1255" } },
    { "windows-1256", "CP1256", { "cp1256", "windows-1256", "x-cp1256" } },
    { "windows-1257", "CP1257", { "cp1257", "windows-1257", "x-cp1257" } },
    { "windows-1258", "CP1258", { "cp1258", "windows-1258", "x-cp1258" } },
    { "windows-874", "CP874",
        { "dos-874", "iso-8859-11", "iso8859-11", "iso885911", "tis-620", "windows-874" } },
    { "ISO-8859-2", "ISO-8859-2",
        { "csisolatin2", "iso-8859-2", "iso-ir-101", "iso8859-2", "iso88592", "iso_8859-2",
            "iso_8859-2:1987", "l2", "latin2" } },
    { "ISO-8859-3", "ISO-8859-3",
        { "csisolatin3", "iso-8859-3", "iso-ir-109", "iso8859-3", "iso88593", "iso_8859-3",
            "iso_8859-3:1988", "l3", "latin3" } },
    { "ISO-8859-4", "ISO-8859-4",
        { "csisolatin4", "iso-8859-4", "iso-ir-110", "iso8859-4", "iso88594", "iso_8859-4",
            "iso_8859-4:1988", "l4", "latin4" } },
    { "ISO-8859-5", "ISO-8859-5",
        { "csisolatincyrillic", "cyrillic", "iso-8859-5", "iso-ir-144", "iso8859-5", "iso88595",
            "iso_8859-5", "iso_8859-5:1988" } },
    { "ISO-8859-6", "ISO-8859-6",
        { "arabic", "asmo-708", "csiso88596e", "csiso88596i", "csisolatinarabic", "ecma-114",
            "iso-8859-6", "iso-8859-6-e", "iso-8859-6-i", "iso-ir-127", "iso8859-6", "iso88596",
            "iso_8859-6", "iso_8859-6:1987" } },
    { "ISO-8859-7", "ISO-8859-7",
        { "csisolatingreek", "ecma-118", "elot_928", "greek", "greek8", "iso-8859-7", "iso-ir-126",
            "iso8859-7", "iso88597", "iso_8859-7", "iso_8859-7:1987", "sun_eu_greek" } },
    { "ISO-8859-8", "ISO-8859-8",
        { "csiso88598e", "csisolatinhebrew", "hebrew", "iso-8859-8", "iso-8859-8-e", "iso-ir-138",
            "iso8859-8", "iso88598", "iso_8859-8", "iso_8859-8:1988", "visual", "csiso88598i",
            "iso-8859-8-i", "logical" } },
    { "ISO-8859-10", "ISO-8859-10",
        { "csisolatin6", "iso-8859-10", "iso-ir-157", "iso8859-10", "iso885910", "l6", "latin6" } },
    { "ISO-8859-13", "ISO-8859-13", { "iso-8859-13", "iso8859-13", "iso885913" } },
    { "ISO-8859-14", "ISO-8859-14", { "iso-8859-14", "iso8859-14", "iso885914" } },
    { "ISO-8859-15", "ISO-8859-15",
        { "csisolatin9", "iso-8859-15", "iso8859-15", "iso885915", "iso_8859-15", "l9" } },
    { "ISO-8859-16", "ISO-8859-16", { "iso-8859-16" } },
    { "KOI8-R", "KOI8-R", { "cskoi8r", "koi", "koi8", "koi8-r", "koi8_r" } },
    { "KOI8-U", "KOI8-U", { "koi8-ru", "koi8-u" } },
    { "EUC-KR", "CP949",
        { "cseuckr", "csksc56011987", "euc-kr", "iso-ir-149", "korean", "ks_c_5601-1987",
            "ks_c_5601-1989", "ksc5601", "ksc_5601", "windows-949" } },
    { "Shift_JIS", "CP932",
        { "csshiftjis", "ms932", "ms_kanji", "shift-jis", "shift_jis", "sjis", "windows-31j",
            "x-sjis" } },
    { "EUC-JP", "EUC-JP", { "cseucpkdfmtjapanese", "euc-jp", "x-euc-jp" } },
    { "GB18030", "GB18030",
        { "chinese", "csgb2312", "csiso58gb231280", "gb18030", "gb2312", "gb_2312", "gb_2312-80",
            "gbk", "iso-ir-58", "x-gbk" } },
    { "Big5", "BIG5-HKSCS", { "big5", "big5-hkscs", "cn-big5", "csbig5", "x-x-big5" } },
} };

const CharsetEntry* EntryNamed(const std::string& charset)
{
    for (const CharsetEntry& entry : kCharsets) {
        if (charset == entry.Name)
            return &entry;
    }
    return nullptr;
}

// Closes a converter when it goes out of scope.
class Converter
{
public:
    Converter(const char* to, const char* from)
        : m_handle(iconv_open(to, from))
    {
    }
    ~Converter()
    {
        if (Ok())
            iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // iconv_open fails with (iconv_t)-1.
    bool Ok() const { return reinterpret_cast<std::intptr_t>(m_handle) != -1; }
    iconv_t Handle() const { return m_handle; }

private:
    iconv_t m_handle;
};

std::string HexByte(unsigned char byte)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    return { kDigits[byte >> 4], kDigits[byte & 0x0F] };
}

CharsetText Failure(std::string reason)
{
    CharsetText result;
    result.Reason = std::move(reason);
    return result;
}

// Converts text with iconv. With references, a character the target lacks is written as a
// numeric character reference; without, it fails the conversion.
CharsetText Convert(std::string_view text, const char* from, const char* to,
    const std::string& charset, bool references)
{
    Converter converter(to, from);
    if (!converter.Ok())
        return Failure("the system cannot convert " + charset + " text");
    CharsetText result;
    std::string& out = result.Text;
    out.resize(text.size() * 2 + 16);
    std::size_t used = 0;
    // iconv takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(text.data()); // NOLINT(cppcoreguidelines-pro-type-const-cast)
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* outAt = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const std::size_t converted = iconv(converter.Handle(), &in, &inLeft, &outAt, &outLeft);
        used = static_cast<std::size_t>(outAt - out.data());
        if (converted != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        const std::size_t at = text.size() - inLeft;
        if (!references) {
            return Failure("the byte 0x" + HexByte(static_cast<unsigned char>(text[at]))
                + " at offset " + std::to_string(at) + " is not " + charset + " text");
        }
        char32_t codePoint = 0;
        const std::size_t length = DecodeUtf8At(text, at, codePoint);
        const std::string reference
            = length == 0 ? std::string("?") : "&#" + std::to_string(codePoint) + ";";
        in += length == 0 ? 1 : length;
        inLeft -= length == 0 ? 1 : length;
        if (out.size() < used + reference.size())
            out.resize((used + reference.size()) * 2);
        out.replace(used, reference.size(), reference);
        used += reference.size();
    }
    out.resize(used);
    result.Ok = true;
    return result;
}

bool IsAscii(std::string_view bytes)
{
    for (const char ch : bytes) {
        if (static_cast<unsigned char>(ch) >= 0x80)
            return false;
    }
    return true;
}

bool IsUtf16(const std::string& charset)
{
    return charset == kUtf16LeCharset || charset == kUtf16BeCharset;
}

} // namespace

std::string CharsetForLabel(std::string_view label)
{
    constexpr std::string_view kBlanks = " \t\r\n\f";
    const std::size_t first = label.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = label.find_last_not_of(kBlanks);
    const std::string wanted = ToLower(label.substr(first, last - first + 1));
    for (const CharsetEntry& entry : kCharsets) {
        for (const std::string_view known : entry.Labels) {
            if (known == wanted)
                return entry.Name;
        }
    }
    return {};
}

CharsetText DecodeToUtf8(std::string_view bytes, const std::string& charset)
{
    if (charset == kUtf8Charset) {
        if (IsValidUtf8(bytes))
            return { true, std::string(bytes), {} };
        return Failure("the text is not valid UTF-8");
    }
    // Windows-1252 has its own table: every byte is a character in it, the five that the code
    // page leaves unassigned included, so a page comes back byte for byte.
    if (charset == kWindows1252Charset)
        return { true, Windows1252ToUtf8(bytes), {} };
    const CharsetEntry* entry = EntryNamed(charset);
    if (!entry)
        return Failure("the character set \"" + charset + "\" is not known");
    return Convert(bytes, entry->ConverterName, "UTF-8", charset, false);
}

CharsetText EncodeFromUtf8(std::string_view utf8, const std::string& charset)
{
    if (charset == kUtf8Charset)
        return { true, std::string(utf8), {} };
    if (charset == kWindows1252Charset) {
        CharsetText result { true, {}, {} };
        result.Text.reserve(utf8.size());
        for (std::size_t i = 0; i < utf8.size();) {
            char32_t codePoint = 0;
            const std::size_t length = DecodeUtf8At(utf8, i, codePoint);
            i += length == 0 ? 1 : length;
            if (length == 0)
                result.Text += '?';
            else if (const auto byte = Windows1252Byte(codePoint))
                result.Text += *byte;
            else
                result.Text += "&#" + std::to_string(codePoint) + ";";
        }
        return result;
    }
    const CharsetEntry* entry = EntryNamed(charset);
    if (!entry)
        return Failure("the character set \"" + charset + "\" is not known");
    return Convert(utf8, "UTF-8", entry->ConverterName, charset, true);
}

std::string DisplayText(std::string_view bytes, const std::string& charset)
{
    // ASCII reads the same in every charset a page can declare; most names, links and tags are.
    if (charset.empty() || (IsAscii(bytes) && !IsUtf16(charset)))
        return DecodeForDisplay(bytes);
    CharsetText decoded = DecodeToUtf8(bytes, charset);
    return decoded.Ok ? std::move(decoded.Text) : DecodeForDisplay(bytes);
}

std::string StoredText(std::string_view utf8, const std::string& charset)
{
    if (charset.empty() || (IsAscii(utf8) && !IsUtf16(charset)))
        return std::string(utf8);
    CharsetText encoded = EncodeFromUtf8(utf8, charset);
    return encoded.Ok ? std::move(encoded.Text) : std::string(utf8);
}

} // namespace karvex
