#pragma once

// The code box's list of named regions: ordered lines with a case-insensitive key index,
// constant-time lookup and removal (removed lines are compacted away lazily, once per batch),
// the selection, and each line's colour spans computed on first use.

#include "components/code_box/code_tokenizer.h"

#include <QHash>
#include <QIcon>
#include <QString>
#include <memory>
#include <vector>

namespace karvex::codebox {

struct CodeRegion
{
    QString Text;
    QString Key;
    QString Group;
    QIcon Icon;
    int Kind = 0;
    bool Locked = false;
    bool Alive = true;
    // Key upper-cased, as the index holds it.
    QString FoldedKey;
    // Position in the store's list; stays valid between compactions.
    int Line = 0;
    // Colour spans of Text, filled on first paint and dropped when the text changes.
    mutable std::vector<CodeToken> Tokens;
    mutable bool TokensReady = false;
};

class RegionStore
{
public:
    // Appends a region. Keys are meant to be unique; a repeated key (the empty start comment
    // lines share theirs) is kept, and lookups find the first live region with it.
    void Add(
        const QString& text, const QString& key, const QString& group, const QIcon& icon, int kind);
    // Each returns false, changing nothing, when no region has the key.
    bool UpdateText(const QString& key, const QString& text);
    bool Remove(const QString& key);
    bool Rename(const QString& oldKey, const QString& newKey);
    bool SetLocked(const QString& key, bool locked);
    void Clear();

    int Count() const { return m_liveCount; }
    // Line (0-based, top to bottom) of the region with the key, or -1.
    int LineOf(const QString& key) const;
    const CodeRegion& At(int line) const;
    const std::vector<CodeToken>& TokensAt(int line) const;
    // Length in characters of the longest line.
    int LongestLine() const;

    // Selected line or -1; selecting -1 or a line out of range clears the selection.
    int Selected() const;
    void Select(int line);

private:
    struct KeyEntry
    {
        CodeRegion* First = nullptr; // the first live region with the key
        int Count = 0; // live regions carrying the key
    };

    static QString Fold(const QString& key) { return key.toUpper(); }
    CodeRegion* Find(const QString& key) const;
    void AddKey(CodeRegion& region);
    void DropKey(CodeRegion& region);
    // Drops removed regions and renumbers the rest in one pass; the key index points at the
    // regions themselves, so it needs no change. Runs only when something was removed.
    void Compact() const;

    mutable std::vector<std::unique_ptr<CodeRegion>> m_regions;
    QHash<QString, KeyEntry> m_keys;
    mutable int m_deadCount = 0;
    const CodeRegion* m_selected = nullptr;
    int m_liveCount = 0;
    mutable int m_longest = 0;
    mutable bool m_longestDirty = false;
};

} // namespace karvex::codebox
