#include "components/code_box/code_tokenizer.h"

namespace karvex {

namespace {

constexpr int kCommentLineKind = 2;

bool IsSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Collects spans and merges a span into the previous one when both have the same kind.
class TokenSink
{
public:
    void Push(int start, int length, CodeTokenKind kind)
    {
        if (length <= 0)
            return;
        if (!m_tokens.empty() && m_tokens.back().Kind == kind
            && m_tokens.back().Start + m_tokens.back().Length == start) {
            m_tokens.back().Length += length;
            return;
        }
        m_tokens.push_back({ start, length, kind });
    }

    std::vector<CodeToken> Take() { return std::move(m_tokens); }

private:
    std::vector<CodeToken> m_tokens;
};

// Length of the comment starting at start ("<!--" already matched), up to and with "-->".
int CommentLength(const QString& text, int start)
{
    const int close = static_cast<int>(text.indexOf(QStringLiteral("-->"), start + 4));
    return close < 0 ? static_cast<int>(text.size()) - start : close + 3 - start;
}

// Scans the inside of a tag from i (just after the element name) to its ">" inclusive or the
// end of the line, and returns the position after it.
int ScanTagBody(const QString& text, int i, TokenSink& sink)
{
    const int size = static_cast<int>(text.size());
    bool expectValue = false;
    while (i < size) {
        const QChar c = text[i];
        if (c == u'>') {
            sink.Push(i, 1, CodeTokenKind::ElementName);
            return i + 1;
        }
        if (c == u'/' && i + 1 < size && text[i + 1] == u'>') {
            sink.Push(i, 2, CodeTokenKind::ElementName);
            return i + 2;
        }
        if (IsSpace(c)) {
            sink.Push(i, 1, CodeTokenKind::Text);
            ++i;
            continue;
        }
        if (c == u'=') {
            sink.Push(i, 1, CodeTokenKind::Text);
            expectValue = true;
            ++i;
            continue;
        }
        int end = i;
        if (expectValue && (c == u'"' || c == u'\'')) {
            const int close = static_cast<int>(text.indexOf(c, i + 1));
            end = close < 0 ? size : close + 1;
        } else {
            while (end < size && !IsSpace(text[end]) && text[end] != u'>'
                && (expectValue || text[end] != u'=')
                && !(text[end] == u'/' && end + 1 < size && text[end + 1] == u'>'))
                ++end;
        }
        sink.Push(
            i, end - i, expectValue ? CodeTokenKind::AttributeValue : CodeTokenKind::AttributeName);
        expectValue = false;
        i = end;
    }
    return i;
}

} // namespace

std::vector<CodeToken> TokenizeTag(const QString& text)
{
    TokenSink sink;
    const int size = static_cast<int>(text.size());
    int i = 0;
    while (i < size) {
        if (text[i] != u'<') {
            const int next = static_cast<int>(text.indexOf(u'<', i));
            const int end = next < 0 ? size : next;
            sink.Push(i, end - i, CodeTokenKind::Text);
            i = end;
            continue;
        }
        if (text.mid(i, 4) == QStringLiteral("<!--")) {
            const int length = CommentLength(text, i);
            sink.Push(i, length, CodeTokenKind::Comment);
            i += length;
            continue;
        }
        int end = i + 1;
        if (end < size && text[end] == u'/')
            ++end;
        while (end < size && !IsSpace(text[end]) && text[end] != u'>' && text[end] != u'<'
            && !(text[end] == u'/' && end + 1 < size && text[end + 1] == u'>'))
            ++end;
        sink.Push(i, end - i, CodeTokenKind::ElementName);
        i = ScanTagBody(text, end, sink);
    }
    return sink.Take();
}

std::vector<CodeToken> TokenizeRegion(const QString& text, int kind)
{
    if (kind == kCommentLineKind) {
        if (text.isEmpty())
            return {};
        return { CodeToken { 0, static_cast<int>(text.size()), CodeTokenKind::Comment } };
    }
    return TokenizeTag(text);
}

} // namespace karvex
