#include "core/util/text_codec.h"

#include <array>
#include <cstdint>

namespace karvex {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls
    = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
          0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
          0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

std::size_t DecodeUtf8At(std::string_view bytes, std::size_t i, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

std::optional<char> Windows1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t k = 0; k < kHighControls.size(); ++k) {
        if (kHighControls[k] == cp)
            return static_cast<char>(0x80 + k);
    }
    return std::nullopt;
}

bool IsValidUtf8(std::string_view bytes)
{
    char32_t cp = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = DecodeUtf8At(bytes, i, cp);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        AppendUtf8(out, byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte);
    }
    return out;
}

std::string Utf8ToWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8At(utf8, i, cp);
        if (length == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += length;
        out.push_back(Windows1252Byte(cp).value_or('?'));
    }
    return out;
}

std::string DecodeForDisplay(std::string_view bytes)
{
    return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

namespace {

// Where UTF-16 text starts and in which byte order, judged from its first bytes.
std::optional<Utf16Page> Utf16Start(std::string_view bytes, std::size_t& start)
{
    Utf16Page page;
    const auto at = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2
        && ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF))) {
        page.BigEndian = at(0) == 0xFE;
        page.ByteOrderMark = true;
        start = 2;
        return page;
    }
    // Without a mark: the first character that is not a blank is "<" in two bytes.
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const bool little = at(i + 1) == 0;
        const bool big = at(i) == 0;
        const unsigned char ch = little ? at(i) : at(i + 1);
        if (!little && !big)
            return std::nullopt;
        if (ch == '<' && little != big) {
            page.BigEndian = big;
            start = 0;
            return page;
        }
        if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n')
            return std::nullopt;
    }
    return std::nullopt;
}

void AppendUtf16(std::string& out, char32_t unit, bool bigEndian)
{
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
}

} // namespace

std::optional<Utf16Page> DecodeUtf16Page(std::string_view bytes)
{
    std::size_t start = 0;
    std::optional<Utf16Page> page = Utf16Start(bytes, start);
    if (!page || (bytes.size() - start) % 2 != 0)
        return std::nullopt;
    page->Utf8.reserve(bytes.size());
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(
            page->BigEndian ? (first << 8) | second : (second << 8) | first);
    };
    for (std::size_t i = start; i < bytes.size(); i += 2) {
        char32_t unit = unitAt(i);
        if (unit >= 0xDC00 && unit < 0xE000)
            return std::nullopt; // a low surrogate without its high one
        if (unit >= 0xD800 && unit < 0xDC00) {
            if (i + 3 >= bytes.size())
                return std::nullopt;
            const char32_t low = unitAt(i + 2);
            if (low < 0xDC00 || low >= 0xE000)
                return std::nullopt;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        AppendUtf8(page->Utf8, unit);
    }
    return page;
}

std::string EncodeUtf16Page(std::string_view utf8, bool bigEndian, bool byteOrderMark)
{
    std::string out;
    out.reserve(utf8.size() * 2 + 2);
    if (byteOrderMark)
        AppendUtf16(out, 0xFEFF, bigEndian);
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8At(utf8, i, cp);
        if (length == 0) {
            cp = 0xFFFD; // not from a UTF-16 page: text typed in is always valid UTF-8
            i += 1;
        } else {
            i += length;
        }
        if (cp >= 0x10000) {
            AppendUtf16(out, 0xD800 + ((cp - 0x10000) >> 10), bigEndian);
            AppendUtf16(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), bigEndian);
        } else {
            AppendUtf16(out, cp, bigEndian);
        }
    }
    return out;
}

} // namespace karvex
