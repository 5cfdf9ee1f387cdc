#include "core/formats/map_block.h"

#include "core/code/html_validator.h"
#include "core/formats/html_writer.h"
#include "core/formats/page_tags.h"
#include "core/formats/tag_reader.h"
#include "core/formats/tag_writer.h"
#include "core/util/strings.h"

#include <algorithm>

namespace karvex {

namespace {

constexpr auto kNone = std::string_view::npos;

bool IsLineBlank(char ch) { return ch == ' ' || ch == '\t'; }

bool AllBlank(std::string_view text) { return std::all_of(text.begin(), text.end(), IsLineBlank); }

// The MAP start tag named name; a tag whose first NAME or first ID is that name already is kept
// as written (a map named only by its ID stays so).
std::string NamedMapTag(std::string_view tag, const std::string& name)
{
    bool nameSeen = false;
    bool idSeen = false;
    for (const AttributeSpan& span : ScanAttributeSpans(tag, tag.size() - 1)) {
        const std::string_view attribute
            = tag.substr(span.NameStart, span.NameEnd - span.NameStart);
        bool& seen = EqualsNoCase(attribute, "NAME") ? nameSeen : idSeen;
        if ((!EqualsNoCase(attribute, "NAME") && !EqualsNoCase(attribute, "ID")) || seen)
            continue;
        seen = true;
        if (UnquotedValue(tag.substr(span.ValueStart, span.ValueEnd - span.ValueStart)) == name)
            return std::string(tag);
    }
    return SetAttributeInTag(std::string(tag), "NAME", name, "");
}

// The area code with each line break written as separator.
std::string AreaLines(std::string_view areaCode, const std::string& separator)
{
    return separator == "\r\n" ? std::string(areaCode) : ReplaceAll(areaCode, "\r\n", separator);
}

// The rebuilt text, with where its last line starts and whether that line is blank so far, kept
// as it grows: a block can hold tens of thousands of AREAs on one line.
class Output
{
public:
    std::string Text;

    void Append(std::string_view text)
    {
        Text += text;
        const std::size_t lf = text.find_last_of('\n');
        if (lf != kNone) {
            m_lineStart = Text.size() - text.size() + lf + 1;
            m_lineBlank = AllBlank(text.substr(lf + 1));
        } else {
            m_lineBlank = m_lineBlank && AllBlank(text);
        }
    }

    // Where the last line starts when it holds nothing but blanks; npos otherwise.
    std::size_t BlankLineStart() const { return m_lineBlank ? m_lineStart : kNone; }

    // Drops the last line, which is blank.
    void DropBlankLine() { Text.resize(m_lineStart); }

private:
    std::size_t m_lineStart = 0;
    bool m_lineBlank = true;
};

} // namespace

std::optional<std::string> RebuildBlockText(std::string_view oldBlock, const std::string& mapName,
    std::string_view areaCode, std::string_view pageLineEnd)
{
    HtmlTokenizer tokens(oldBlock);
    const std::size_t n = oldBlock.size();
    const std::string lineEnd(LineEndOf(oldBlock, pageLineEnd));
    Output out;
    out.Text.reserve(n + areaCode.size());
    bool inside = false;
    bool closed = false;
    std::size_t areaAt = kNone; // where the area code goes into out
    std::string indent;
    std::size_t closeAt = kNone; // where "</MAP>" starts in out
    std::size_t inlineUntil = 0; // AREAs before this share a line with other text
    for (std::size_t i = 0; i < n && !closed;) {
        const HtmlToken token = tokens.At(i);
        const std::string_view text = oldBlock.substr(token.Start, token.End - token.Start);
        i = token.End;
        if (!inside) {
            if (token.IsTag("MAP")) {
                out.Append(NamedMapTag(text, mapName));
                inside = true;
            }
            continue; // anything before the MAP tag is not part of the block
        }
        if (token.IsEndTag("MAP")) {
            closeAt = out.Text.size();
            out.Append(text);
            closed = true;
            continue;
        }
        if (!token.IsTag("AREA")) {
            out.Append(text);
            continue;
        }

        // An AREA that begins a line of nothing but AREA tags and blanks takes the whole line
        // with it, so that dropped AREAs leave no empty lines behind.
        const std::size_t lineStart = out.BlankLineStart();
        std::size_t k = i;
        std::size_t lineEndSize = 0;
        bool wholeLine = false;
        if (lineStart != kNone && token.Start >= inlineUntil) {
            while (true) {
                while (k < n && IsLineBlank(oldBlock[k]))
                    ++k;
                if (k >= n || oldBlock[k] != '<')
                    break;
                const HtmlToken next = tokens.At(k);
                if (!next.IsTag("AREA"))
                    break;
                k = next.End;
            }
            if (k >= n || oldBlock[k] == '\n' || oldBlock.compare(k, 2, "\r\n") == 0) {
                wholeLine = true;
                lineEndSize = k >= n ? 0 : (oldBlock[k] == '\n' ? 1 : 2);
            } else if (oldBlock[k] == '<' && tokens.At(k).IsEndTag("MAP")) {
                wholeLine = true;
            } else {
                inlineUntil = k;
            }
        }
        if (!wholeLine) {
            if (areaAt == kNone)
                areaAt = out.Text.size();
            continue;
        }
        if (areaAt == kNone) {
            indent = out.Text.substr(lineStart);
            areaAt = out.Text.size();
            out.Append(oldBlock.substr(k, lineEndSize));
        } else {
            out.DropBlankLine();
        }
        i = k + lineEndSize;
    }
    if (!inside)
        return std::nullopt;

    std::string& result = out.Text;
    // A map the page never closed stays open, as a browser reads it: it runs on to the end of
    // the page.
    if (!closed)
        closeAt = result.size();
    if (areaAt != kNone) {
        result.insert(areaAt, AreaLines(areaCode, lineEnd + indent));
        return std::move(result);
    }
    // A map without AREAs gets its new ones on lines of their own before "</MAP>", indented as
    // the end tag is.
    const std::size_t lf = result.find_last_of('\n', closeAt == 0 ? 0 : closeAt - 1);
    const std::size_t lineStart = lf == kNone ? 0 : lf + 1;
    std::string code;
    std::size_t insertAt = lineStart;
    if (lf != kNone && AllBlank(std::string_view(result).substr(lineStart, closeAt - lineStart))) {
        indent = result.substr(lineStart, closeAt - lineStart);
    } else {
        insertAt = closeAt;
        code = lineEnd;
    }
    code += indent + AreaLines(areaCode, lineEnd + indent) + lineEnd;
    result.insert(insertAt, code);
    return std::move(result);
}

} // namespace karvex
