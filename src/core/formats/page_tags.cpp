#include "core/formats/page_tags.h"

#include "core/code/html_validator.h"
#include "core/formats/tag_reader.h"
#include "core/util/strings.h"

#include <algorithm>

namespace karvex {

namespace {

constexpr auto kNone = std::string_view::npos;

bool IsLetter(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }

// Elements whose content a browser does not read as tags.
constexpr std::string_view kRawTextElements[]
    = { "script", "style", "textarea", "title", "template", "xmp" };

// One past the end of a comment that starts at `at`; "<!-->" and "<!--->" are whole comments.
std::size_t CommentEnd(std::string_view text, std::size_t at)
{
    if (text.compare(at + 4, 1, ">") == 0)
        return at + 5;
    if (text.compare(at + 4, 2, "->") == 0)
        return at + 6;
    const std::size_t close = text.find("-->", at + 4);
    return close == kNone ? text.size() : close + 3;
}

// Where the raw text of element `name` that starts at `from` ends: the "<" of its end tag.
std::size_t RawTextEnd(std::string_view text, std::size_t from, std::string_view name)
{
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

PageTags::PageTags(std::string_view text)
{
    TagEndMemo ends;
    std::size_t at = text.find('<');
    while (at != kNone && at < text.size()) {
        if (text.compare(at, 4, "<!--") == 0) {
            at = text.find('<', CommentEnd(text, at));
            continue;
        }
        const bool endTag = at + 2 < text.size() && text[at + 1] == '/' && IsLetter(text[at + 2]);
        if (!endTag && !(at + 1 < text.size() && IsLetter(text[at + 1]))) {
            at = text.find('<', at + 1);
            continue;
        }
        const std::size_t close = FindTagEnd(text, at, ends);
        const TagAt tag { at, close == kNone ? text.size() : close + 1 };
        const std::size_t nameStart = at + (endTag ? 2 : 1);
        std::size_t nameEnd = nameStart;
        while (nameEnd < tag.End && !IsTagBlank(text[nameEnd]) && text[nameEnd] != '>'
            && text[nameEnd] != '/')
            ++nameEnd;
        const std::string_view name = text.substr(nameStart, nameEnd - nameStart);
        std::size_t next = tag.End;
        if (endTag) {
            if (EqualsNoCase(name, "map"))
                m_mapEnds.push_back(tag);
        } else if (EqualsNoCase(name, "map")) {
            m_maps.push_back(tag);
        } else if (EqualsNoCase(name, "img")) {
            m_images.push_back(tag);
        } else if (EqualsNoCase(name, "area")) {
            m_areas.push_back(tag);
        } else {
            for (const std::string_view raw : kRawTextElements) {
                if (EqualsNoCase(name, raw))
                    next = RawTextEnd(text, tag.End, raw);
            }
        }
        if (close == kNone)
            break;
        at = text.find('<', next);
    }
}

std::size_t PageTags::FirstFrom(const std::vector<TagAt>& list, std::size_t position)
{
    const auto found = std::lower_bound(list.begin(), list.end(), position,
        [](const TagAt& tag, std::size_t at) { return tag.Start < at; });
    return static_cast<std::size_t>(found - list.begin());
}

} // namespace karvex
