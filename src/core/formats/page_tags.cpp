#include "core/formats/page_tags.h"

#include "core/code/html_validator.h"
#include "core/util/strings.h"

#include <algorithm>

namespace karvex {

namespace {

constexpr auto kNone = std::string_view::npos;

bool IsLetter(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }

// Elements whose content a browser does not read as tags (noscript with scripting on, as
// browsers run), and "plaintext", whose content runs to the end of the page.
constexpr std::string_view kRawTextElements[] = { "script", "style", "textarea", "title",
    "template", "xmp", "iframe", "noembed", "noframes", "noscript", "plaintext" };

// Where the raw text of element `name` that starts at `from` ends: the "<" of its end tag.
std::size_t RawTextEnd(std::string_view text, std::size_t from, std::string_view name)
{
    if (name == "plaintext")
        return text.size();
    for (std::size_t at = text.find("</", from); at != kNone; at = text.find("</", at + 2)) {
        const std::size_t after = at + 2 + name.size();
        if (EqualsNoCase(text.substr(at + 2, name.size()), name)
            && (after >= text.size() || IsTagBlank(text[after]) || text[after] == '>'
                || text[after] == '/'))
            return at;
    }
    return text.size();
}

} // namespace

bool HtmlToken::IsTag(std::string_view name) const
{
    return Kind == Type::Tag && !EndTag && EqualsNoCase(Name, name);
}

bool HtmlToken::IsEndTag(std::string_view name) const
{
    return Kind == Type::Tag && EndTag && EqualsNoCase(Name, name);
}

HtmlToken HtmlTokenizer::At(std::size_t at)
{
    const std::size_t n = m_text.size();
    HtmlToken token;
    token.Start = at;
    if (at == m_rawFrom) {
        token.End = m_rawTo;
        return token;
    }
    if (m_text.compare(at, 4, "<!--") == 0) {
        // "<!-->" and "<!--->" are whole (empty) comments.
        token.Kind = HtmlToken::Type::Comment;
        std::size_t end = kNone;
        if (m_text.compare(at + 4, 1, ">") == 0) {
            end = at + 5;
        } else if (m_text.compare(at + 4, 2, "->") == 0) {
            end = at + 6;
        } else {
            const std::size_t close = m_text.find("-->", at + 4);
            end = close == kNone ? n : close + 3;
        }
        token.End = end;
        return token;
    }
    const bool endTag = at + 2 < n && m_text[at + 1] == '/' && IsLetter(m_text[at + 2]);
    if (m_text[at] == '<' && (endTag || (at + 1 < n && IsLetter(m_text[at + 1])))) {
        token.Kind = HtmlToken::Type::Tag;
        token.EndTag = endTag;
        const std::size_t close = FindTagEnd(m_text, at, m_ends);
        token.End = close == kNone ? n : close + 1;
        const std::size_t nameStart = at + (endTag ? 2 : 1);
        std::size_t nameEnd = nameStart;
        while (nameEnd < token.End && !IsTagBlank(m_text[nameEnd]) && m_text[nameEnd] != '/'
            && m_text[nameEnd] != '>')
            ++nameEnd;
        token.Name = m_text.substr(nameStart, nameEnd - nameStart);
        if (!endTag) {
            for (const std::string_view raw : kRawTextElements) {
                if (EqualsNoCase(token.Name, raw)) {
                    m_rawFrom = token.End;
                    m_rawTo = RawTextEnd(m_text, token.End, raw);
                }
            }
        }
        return token;
    }
    if (m_text.compare(at, 2, "<!") == 0 || m_text.compare(at, 2, "<?") == 0) {
        // A bogus comment such as "<!DOCTYPE ...>" runs to the next ">".
        token.Kind = HtmlToken::Type::Comment;
        const std::size_t close = m_text.find('>', at + 2);
        token.End = close == kNone ? n : close + 1;
        return token;
    }
    const std::size_t next = m_text.find('<', at + 1);
    token.End = next == kNone ? n : next;
    return token;
}

PageTags::PageTags(std::string_view text)
{
    HtmlTokenizer tokens(text);
    for (std::size_t at = 0; at < text.size();) {
        const HtmlToken token = tokens.At(at);
        at = token.End;
        if (token.Kind != HtmlToken::Type::Tag)
            continue;
        const TagAt tag { token.Start, token.End };
        if (token.EndTag) {
            if (EqualsNoCase(token.Name, "map"))
                m_mapEnds.push_back(tag);
        } else if (EqualsNoCase(token.Name, "map")) {
            m_maps.push_back(tag);
        } else if (EqualsNoCase(token.Name, "img")) {
            m_images.push_back(tag);
        } else if (EqualsNoCase(token.Name, "area")) {
            m_areas.push_back(tag);
        }
    }
}

std::size_t PageTags::FirstFrom(const std::vector<TagAt>& list, std::size_t position)
{
    const auto found = std::lower_bound(list.begin(), list.end(), position,
        [](const TagAt& tag, std::size_t at) { return tag.Start < at; });
    return static_cast<std::size_t>(found - list.begin());
}

} // namespace karvex
