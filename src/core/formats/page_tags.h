#pragma once

// Reading a page as a browser's tokenizer reads it, and the tags of a page the readers look for.
// Text inside comments, inside another tag (a quoted value can hold "<img ...>") and inside
// elements whose content is not markup (script, style, textarea, title, template, xmp, iframe,
// noembed, noframes, noscript, plaintext) is no tag.

#include "core/formats/tag_reader.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace karvex {

struct HtmlToken
{
    enum class Type {
        Text,
        Comment, // also "<!...>" and "<?...>"
        Tag,
    };
    Type Kind = Type::Text;
    std::size_t Start = 0;
    std::size_t End = 0; // one past the last byte
    std::string_view Name; // a tag's name as written, without "<" or "</"
    bool EndTag = false;

    bool IsTag(std::string_view name) const;
    bool IsEndTag(std::string_view name) const;
};

// Reads a text token by token, in order: call At with 0, then with each token's End.
class HtmlTokenizer
{
public:
    explicit HtmlTokenizer(std::string_view text)
        : m_text(text)
    {
    }

    HtmlToken At(std::size_t at);

private:
    std::string_view m_text;
    TagEndMemo m_ends;
    std::size_t m_rawFrom = std::string_view::npos; // the content of a raw-text element
    std::size_t m_rawTo = std::string_view::npos;
};

struct TagAt
{
    std::size_t Start = std::string_view::npos; // the "<"
    std::size_t End = std::string_view::npos; // one past the ">" (or the end of the text)
};

// The MAP, /MAP, IMG and AREA tags of a page, found in one pass.
class PageTags
{
public:
    explicit PageTags(std::string_view text);

    // Each list in page order.
    const std::vector<TagAt>& Maps() const { return m_maps; }
    const std::vector<TagAt>& MapEnds() const { return m_mapEnds; } // "</MAP>"
    const std::vector<TagAt>& Images() const { return m_images; }
    const std::vector<TagAt>& Areas() const { return m_areas; }

    // The index of the first tag of list that starts at or after position (list.size() when
    // there is none).
    static std::size_t FirstFrom(const std::vector<TagAt>& list, std::size_t position);

private:
    std::vector<TagAt> m_maps;
    std::vector<TagAt> m_mapEnds;
    std::vector<TagAt> m_images;
    std::vector<TagAt> m_areas;
};

} // namespace karvex
