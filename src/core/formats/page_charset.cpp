#include "core/formats/page_charset.h"

#include "core/formats/page_tags.h"
#include "core/formats/tag_reader.h"
#include "core/util/charset.h"
#include "core/util/strings.h"
#include "core/util/text_codec.h"

namespace karvex {

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\f'; }

// The label after "charset=" in a Content-Type value, as browsers extract it: the first
// "charset" followed by "=" (blanks allowed around it), then a quoted value or the text up to a
// blank or ";". "" when there is none.
std::string LabelInContentType(std::string_view content)
{
    const std::string lower = ToLower(content);
    for (std::size_t at = lower.find("charset"); at != std::string::npos;
         at = lower.find("charset", at)) {
        std::size_t i = at + 7;
        while (i < lower.size() && IsBlank(lower[i]))
            ++i;
        if (i >= lower.size() || lower[i] != '=') {
            at = i;
            continue;
        }
        ++i;
        while (i < lower.size() && IsBlank(lower[i]))
            ++i;
        if (i >= lower.size())
            return {};
        if (lower[i] == '"' || lower[i] == '\'') {
            const std::size_t close = lower.find(lower[i], i + 1);
            return close == std::string::npos ? std::string()
                                              : std::string(content.substr(i + 1, close - i - 1));
        }
        std::size_t end = i;
        while (end < lower.size() && !IsBlank(lower[end]) && lower[end] != ';')
            ++end;
        return std::string(content.substr(i, end - i));
    }
    return {};
}

// The charset a META tag declares, "" when it declares none that is known.
std::string MetaCharset(std::string_view tagText)
{
    const TagRecord tag = ParseOneTag(tagText);
    std::string label = DecodeAttributeValue(GetAttribute(tag, "charset", ""));
    if (label.empty()
        && EqualsNoCase(
            Trim(DecodeAttributeValue(GetAttribute(tag, "http-equiv", ""))), "content-type"))
        label = LabelInContentType(DecodeAttributeValue(GetAttribute(tag, "content", "")));
    std::string charset = CharsetForLabel(label);
    if (charset == kUtf16LeCharset || charset == kUtf16BeCharset)
        charset = kUtf8Charset;
    return charset;
}

} // namespace

std::string PageCharset(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return kUtf8Charset;
    if (bytes.starts_with("\xFF\xFE"))
        return kUtf16LeCharset;
    if (bytes.starts_with("\xFE\xFF"))
        return kUtf16BeCharset;
    HtmlTokenizer tokens(bytes);
    for (std::size_t at = 0; at < bytes.size() && at < kCharsetScanBytes;) {
        const HtmlToken token = tokens.At(at);
        if (token.IsTag("meta")) {
            std::string charset = MetaCharset(bytes.substr(token.Start, token.End - token.Start));
            if (!charset.empty())
                return charset;
        }
        at = token.End;
    }
    return {};
}

std::string TextCharset(std::string_view text)
{
    std::string charset = PageCharset(text);
    // Bytes that start like UTF-16 but did not read as UTF-16 are taken as single-byte text.
    if (charset == kUtf16LeCharset || charset == kUtf16BeCharset)
        charset.clear();
    if (!charset.empty())
        return charset;
    return IsValidUtf8(text) ? kUtf8Charset : kWindows1252Charset;
}

} // namespace karvex
