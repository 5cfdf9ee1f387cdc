#pragma once

// Character sets of pages: the names their labels stand for, and conversion of their text to
// UTF-8 for display and back, through the system's converter (iconv).

#include <string>
#include <string_view>

namespace karvex {

inline constexpr const char* kUtf8Charset = "UTF-8";
inline constexpr const char* kWindows1252Charset = "windows-1252";
inline constexpr const char* kUtf16LeCharset = "UTF-16LE";
inline constexpr const char* kUtf16BeCharset = "UTF-16BE";

// The name of the character set a label in a page stands for, as browsers read labels ("latin1"
// and "us-ascii" are windows-1252, "ks_c_5601-1987" is EUC-KR, "gb2312" is GBK); blanks around
// the label and letter case do not count. "" for a label this program does not convert.
std::string CharsetForLabel(std::string_view label);

// The outcome of a conversion: the converted text, or why there is none.
struct CharsetText
{
    bool Ok = false;
    std::string Text;
    std::string Reason;
};

// bytes in charset (a name CharsetForLabel gives) as UTF-8. Fails on bytes that are not text in
// that charset and on a charset that cannot be converted.
CharsetText DecodeToUtf8(std::string_view bytes, const std::string& charset);

// UTF-8 text in charset. A character the charset lacks becomes a numeric character reference
// ("&#50504;"): the texts converted here are tags and attribute values of pages, where a browser
// reads the reference as the character itself, so the page stays correct in its own charset.
// Fails only on a charset that cannot be converted.
CharsetText EncodeFromUtf8(std::string_view utf8, const std::string& charset);

// What widgets show of a document's text: its bytes decoded by the document's charset; bytes
// that are not text in it (and any bytes when the charset is "" or unknown) are shown as UTF-8
// when they are valid UTF-8, else as Windows-1252.
std::string DisplayText(std::string_view bytes, const std::string& charset);

// Text the user typed (UTF-8) as the bytes a document in charset keeps: UTF-8 itself when the
// charset is "" or cannot be converted.
std::string StoredText(std::string_view utf8, const std::string& charset);

} // namespace karvex
