#include "core/formats/map_block.h"

#include "core/code/html_validator.h"
#include "core/formats/html_writer.h"
#include "core/formats/tag_reader.h"
#include "core/util/strings.h"

namespace karvex {

namespace {

constexpr auto kNone = std::string_view::npos;

enum class TokenKind {
    Text,
    Comment,
    Tag,
};

struct Token
{
    TokenKind Kind = TokenKind::Text;
    std::size_t Start = 0;
    std::size_t End = 0; // one past the last byte
    std::string_view Name; // a tag's name as written, "/" in front for an end tag
};

bool IsAsciiLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

// Reads a block token by token as a browser's tokenizer does, so that nothing inside a comment
// or inside a quoted value is taken for a tag.
class BlockReader
{
public:
    explicit BlockReader(std::string_view block)
        : m_block(block)
    {
    }

    Token At(std::size_t at)
    {
        const std::size_t n = m_block.size();
        Token token;
        token.Start = at;
        if (m_block.compare(at, 4, "<!--") == 0) {
            token.Kind = TokenKind::Comment;
            // "<!-->" and "<!--->" are whole (empty) comments.
            std::size_t close = kNone;
            if (m_block.compare(at + 4, 1, ">") == 0)
                close = at + 1;
            else if (m_block.compare(at + 4, 2, "->") == 0)
                close = at + 3;
            else
                close = m_block.find("-->", at + 4);
            token.End = close == kNone ? n : close + 3;
            return token;
        }
        const bool endTag = at + 2 < n && m_block[at + 1] == '/' && IsAsciiLetter(m_block[at + 2]);
        if (m_block[at] == '<' && (endTag || (at + 1 < n && IsAsciiLetter(m_block[at + 1])))) {
            token.Kind = TokenKind::Tag;
            const std::size_t close = FindTagEnd(m_block, at, m_ends);
            token.End = close == kNone ? n : close + 1;
            std::size_t nameEnd = at + (endTag ? 2 : 1);
            while (nameEnd < token.End && !IsTagBlank(m_block[nameEnd]) && m_block[nameEnd] != '/'
                && m_block[nameEnd] != '>')
                ++nameEnd;
            token.Name = m_block.substr(at + 1, nameEnd - at - 1);
            return token;
        }
        if (m_block.compare(at, 2, "<!") == 0 || m_block.compare(at, 2, "<?") == 0) {
            // A bogus comment such as "<!DOCTYPE ...>" runs to the next ">".
            token.Kind = TokenKind::Comment;
            const std::size_t close = m_block.find('>', at + 2);
            token.End = close == kNone ? n : close + 1;
            return token;
        }
        const std::size_t next = m_block.find('<', at + 1);
        token.End = next == kNone ? n : next;
        return token;
    }

    bool IsTag(const Token& token, std::string_view name) const
    {
        return token.Kind == TokenKind::Tag && EqualsNoCase(token.Name, name);
    }

private:
    std::string_view m_block;
    TagEndMemo m_ends;
};

bool IsLineBlank(char ch) { return ch == ' ' || ch == '\t'; }

// The line end the block uses: CR LF unless its first line ends with LF alone.
std::string LineEndOf(std::string_view block)
{
    const std::size_t lf = block.find('\n');
    return lf != kNone && (lf == 0 || block[lf - 1] != '\r') ? "\n" : "\r\n";
}

// The MAP start tag named name; a tag that has that name already is kept as written.
std::string NamedMapTag(std::string_view tag, const std::string& name)
{
    for (const AttributeSpan& span : ScanAttributeSpans(tag, tag.size() - 1)) {
        if (!EqualsNoCase(tag.substr(span.NameStart, span.NameEnd - span.NameStart), "NAME"))
            continue;
        if (UnquotedValue(tag.substr(span.ValueStart, span.ValueEnd - span.ValueStart)) == name)
            return std::string(tag);
        break;
    }
    return SetAttributeInTag(std::string(tag), "NAME", name, "");
}

// The area code with each line break written as separator.
std::string AreaLines(std::string_view areaCode, const std::string& separator)
{
    return separator == "\r\n" ? std::string(areaCode) : ReplaceAll(areaCode, "\r\n", separator);
}

// Where the line that ends at out's end begins, when that line holds nothing but blanks;
// npos otherwise.
std::size_t BlankLineStart(const std::string& out)
{
    const std::size_t lf = out.find_last_of('\n');
    const std::size_t start = lf == std::string::npos ? 0 : lf + 1;
    for (std::size_t i = start; i < out.size(); ++i) {
        if (!IsLineBlank(out[i]))
            return std::string::npos;
    }
    return start;
}

} // namespace

std::optional<std::string> RebuildBlockText(
    std::string_view oldBlock, const std::string& mapName, std::string_view areaCode)
{
    BlockReader reader(oldBlock);
    const std::size_t n = oldBlock.size();
    const std::string lineEnd = LineEndOf(oldBlock);
    std::string out;
    out.reserve(n + areaCode.size());
    bool inside = false;
    bool closed = false;
    std::size_t areaAt = std::string::npos; // where the area code goes into out
    std::string indent;
    std::size_t closeAt = std::string::npos; // where "</MAP>" starts in out
    for (std::size_t i = 0; i < n && !closed;) {
        const Token token = reader.At(i);
        const std::string_view text = oldBlock.substr(token.Start, token.End - token.Start);
        i = token.End;
        if (!inside) {
            if (reader.IsTag(token, "MAP")) {
                out += NamedMapTag(text, mapName);
                inside = true;
            }
            continue; // anything before the MAP tag is not part of the block
        }
        if (reader.IsTag(token, "/MAP")) {
            closeAt = out.size();
            out += text;
            closed = true;
            continue;
        }
        if (!reader.IsTag(token, "AREA")) {
            out += text;
            continue;
        }

        // An AREA that begins a line of nothing but AREA tags and blanks takes the whole line
        // with it, so that dropped AREAs leave no empty lines behind.
        const std::size_t lineStart = BlankLineStart(out);
        std::size_t k = i;
        std::size_t lineEndSize = 0;
        bool wholeLine = false;
        if (lineStart != std::string::npos) {
            while (true) {
                while (k < n && IsLineBlank(oldBlock[k]))
                    ++k;
                if (k >= n || oldBlock[k] != '<')
                    break;
                const Token next = reader.At(k);
                if (!reader.IsTag(next, "AREA"))
                    break;
                k = next.End;
            }
            if (k >= n || oldBlock[k] == '\n' || oldBlock.compare(k, 2, "\r\n") == 0) {
                wholeLine = true;
                lineEndSize = k >= n ? 0 : (oldBlock[k] == '\n' ? 1 : 2);
            } else if (oldBlock[k] == '<' && reader.IsTag(reader.At(k), "/MAP")) {
                wholeLine = true;
            }
        }
        if (!wholeLine) {
            if (areaAt == std::string::npos)
                areaAt = out.size();
            continue;
        }
        if (areaAt == std::string::npos) {
            indent = out.substr(lineStart);
            areaAt = out.size();
            out.append(oldBlock.substr(k, lineEndSize));
        } else {
            out.resize(lineStart);
        }
        i = k + lineEndSize;
    }
    if (!inside)
        return std::nullopt;

    // A map the page never closed stays open, as a browser reads it: it runs on to the end of
    // the page.
    if (!closed)
        closeAt = out.size();
    if (areaAt != std::string::npos) {
        out.insert(areaAt, AreaLines(areaCode, lineEnd + indent));
        return out;
    }
    // A map without AREAs gets its new ones on lines of their own before "</MAP>", indented as
    // the end tag is.
    const std::string before = out.substr(0, closeAt);
    std::size_t insertAt = BlankLineStart(before);
    std::string code;
    if (insertAt == std::string::npos) {
        insertAt = closeAt;
        code = lineEnd;
    } else {
        indent = before.substr(insertAt);
    }
    code += indent + AreaLines(areaCode, lineEnd + indent) + lineEnd;
    out.insert(insertAt, code);
    return out;
}

} // namespace karvex
