#pragma once

// The tags of a page that the readers look for, found in one pass as a browser's tokenizer finds
// them: text inside comments, inside another tag (a quoted value can hold "<img ...>") and inside
// elements whose content is not markup (script, style, textarea, title, template, xmp) is passed
// over.

#include <cstddef>
#include <string_view>
#include <vector>

namespace karvex {

struct TagAt
{
    std::size_t Start = std::string_view::npos; // the "<"
    std::size_t End = std::string_view::npos; // one past the ">" (or the end of the text)
};

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
