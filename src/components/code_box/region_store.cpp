#include "components/code_box/region_store.h"

#include <algorithm>

namespace karvex::codebox {

void RegionStore::Add(
    const QString& text, const QString& key, const QString& group, const QIcon& icon, int kind)
{
    auto region = std::make_unique<CodeRegion>();
    region->Text = text;
    region->Key = key;
    region->FoldedKey = Fold(key);
    region->Group = group;
    region->Icon = icon;
    region->Kind = kind;
    // A hotspot that is locked when its line is added arrives with the lock icon.
    region->Locked = !icon.isNull();
    region->Line = static_cast<int>(m_regions.size());
    AddKey(*region);
    m_regions.push_back(std::move(region));
    ++m_liveCount;
    if (!m_longestDirty)
        m_longest = std::max(m_longest, static_cast<int>(text.size()));
}

bool RegionStore::UpdateText(const QString& key, const QString& text)
{
    CodeRegion* region = Find(key);
    if (!region)
        return false;
    if (region->Text.size() >= m_longest && text.size() < region->Text.size())
        m_longestDirty = true;
    region->Text = text;
    region->TokensReady = false;
    region->Tokens.clear();
    if (!m_longestDirty)
        m_longest = std::max(m_longest, static_cast<int>(text.size()));
    return true;
}

bool RegionStore::Remove(const QString& key)
{
    CodeRegion* region = Find(key);
    if (!region)
        return false;
    region->Alive = false;
    DropKey(*region);
    if (region->Text.size() >= m_longest)
        m_longestDirty = true;
    if (m_selected == region)
        m_selected = nullptr;
    ++m_deadCount;
    --m_liveCount;
    return true;
}

bool RegionStore::Rename(const QString& oldKey, const QString& newKey)
{
    CodeRegion* region = Find(oldKey);
    if (!region)
        return false;
    DropKey(*region);
    region->Key = newKey;
    region->FoldedKey = Fold(newKey);
    AddKey(*region);
    return true;
}

bool RegionStore::SetLocked(const QString& key, bool locked)
{
    CodeRegion* region = Find(key);
    if (!region)
        return false;
    region->Locked = locked;
    return true;
}

void RegionStore::Clear()
{
    m_regions.clear();
    m_keys.clear();
    m_deadCount = 0;
    m_selected = nullptr;
    m_liveCount = 0;
    m_longest = 0;
    m_longestDirty = false;
}

int RegionStore::LineOf(const QString& key) const
{
    Compact();
    const CodeRegion* region = Find(key);
    return region ? region->Line : -1;
}

const CodeRegion& RegionStore::At(int line) const
{
    Compact();
    return *m_regions[static_cast<std::size_t>(line)];
}

const std::vector<CodeToken>& RegionStore::TokensAt(int line) const
{
    const CodeRegion& region = At(line);
    if (!region.TokensReady) {
        region.Tokens = TokenizeRegion(region.Text, region.Kind);
        region.TokensReady = true;
    }
    return region.Tokens;
}

int RegionStore::LongestLine() const
{
    if (m_longestDirty) {
        m_longest = 0;
        for (const auto& region : m_regions) {
            if (region->Alive)
                m_longest = std::max(m_longest, static_cast<int>(region->Text.size()));
        }
        m_longestDirty = false;
    }
    return m_longest;
}

int RegionStore::Selected() const
{
    Compact();
    return m_selected ? m_selected->Line : -1;
}

void RegionStore::Select(int line)
{
    Compact();
    m_selected = line >= 0 && line < m_liveCount ? m_regions[static_cast<std::size_t>(line)].get()
                                                 : nullptr;
}

CodeRegion* RegionStore::Find(const QString& key) const
{
    const auto found = m_keys.constFind(Fold(key));
    return found == m_keys.constEnd() ? nullptr : found->First;
}

void RegionStore::AddKey(CodeRegion& region)
{
    KeyEntry& entry = m_keys[region.FoldedKey];
    if (entry.Count == 0 || region.Line < entry.First->Line)
        entry.First = &region;
    ++entry.Count;
}

void RegionStore::DropKey(CodeRegion& region)
{
    auto found = m_keys.find(region.FoldedKey);
    if (found == m_keys.end())
        return;
    if (--found->Count == 0) {
        m_keys.erase(found);
        return;
    }
    if (found->First != &region)
        return;
    // Only repeated keys get here: the next live region with the key takes the entry over.
    for (std::size_t i = static_cast<std::size_t>(region.Line) + 1; i < m_regions.size(); ++i) {
        CodeRegion& other = *m_regions[i];
        if (other.Alive && other.FoldedKey == region.FoldedKey) {
            found->First = &other;
            return;
        }
    }
}

void RegionStore::Compact() const
{
    if (m_deadCount == 0)
        return;
    std::erase_if(
        m_regions, [](const std::unique_ptr<CodeRegion>& region) { return !region->Alive; });
    for (std::size_t i = 0; i < m_regions.size(); ++i)
        m_regions[i]->Line = static_cast<int>(i);
    m_deadCount = 0;
}

} // namespace karvex::codebox
