#include "components/drawing_surface/undo_history.h"

namespace karvex::surface {

void UndoHistory::Push(HistoryEntry entry)
{
    m_redo.clear();
    m_undo.push_back(std::move(entry));
    if (m_undo.size() > m_limit)
        m_undo.erase(m_undo.begin());
}

HistoryEntry* UndoHistory::MergeableNudge(std::uint64_t key)
{
    if (m_undo.empty() || !m_redo.empty())
        return nullptr;
    HistoryEntry& last = m_undo.back();
    return last.Nudge && last.Key == key ? &last : nullptr;
}

HistoryEntry* UndoHistory::StepBack()
{
    if (m_undo.empty())
        return nullptr;
    m_redo.push_back(std::move(m_undo.back()));
    m_undo.pop_back();
    m_redo.back().Nudge = false;
    return &m_redo.back();
}

HistoryEntry* UndoHistory::StepForward()
{
    if (m_redo.empty())
        return nullptr;
    m_undo.push_back(std::move(m_redo.back()));
    m_redo.pop_back();
    return &m_undo.back();
}

void UndoHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
}

} // namespace karvex::surface
