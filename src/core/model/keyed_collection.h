#pragma once

// An insertion-ordered collection whose text keys are compared without letter case.

#include "core/util/strings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace karvex {

template <typename Item> class KeyedCollection
{
public:
    struct Entry
    {
        std::string Key;
        Item Value;
    };

    std::size_t Count() const { return m_entries.size(); }
    bool Contains(const std::string& key) const { return m_index.count(ToUpper(key)) > 0; }

    // False (and nothing changes) when the key is already present.
    bool Add(const std::string& key, Item value)
    {
        if (!m_index.emplace(ToUpper(key), m_entries.size()).second)
            return false;
        m_entries.push_back({ key, std::move(value) });
        return true;
    }

    bool Remove(const std::string& key)
    {
        const auto it = m_index.find(ToUpper(key));
        if (it == m_index.end())
            return false;
        const std::size_t position = it->second;
        m_index.erase(it);
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(position));
        for (auto& [upperKey, index] : m_index) {
            if (index > position)
                --index;
        }
        return true;
    }

    std::optional<Item> Find(const std::string& key) const
    {
        const auto it = m_index.find(ToUpper(key));
        if (it == m_index.end())
            return std::nullopt;
        return m_entries[it->second].Value;
    }

    // Room for count entries, so that filling a large collection does not rehash.
    void Reserve(std::size_t count)
    {
        m_entries.reserve(count);
        m_index.reserve(count);
    }

    void Clear()
    {
        m_entries.clear();
        m_index.clear();
    }

    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
    std::unordered_map<std::string, std::size_t> m_index; // upper-cased key to position
};

} // namespace karvex
