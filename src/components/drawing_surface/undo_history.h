#pragma once

// The drawing surface's undo and redo stacks: one entry per finished change of one figure,
// referring to the figure by its surface key so that ids assigned later stay valid.

#include "components/drawing_surface/figure_store.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace karvex::surface {

// What a change entry can alter; the figure's colour is the program's and is not kept here.
struct FigureState
{
    Shape Geometry;
    bool Locked = false;

    bool operator==(const FigureState& other) const = default;
};

struct HistoryEntry
{
    enum class Type { Create, Remove, Change };

    Type Kind = Type::Change;
    std::uint64_t Key = 0;
    // Create and Remove: the whole figure and its place in the drawing order while it is out of
    // the store (the entry is refreshed whenever the figure leaves the store).
    SurfaceFigure Figure;
    int Index = 0;
    // Change: the state before and after.
    FigureState Before;
    FigureState After;
    // Arrow-key moves of one figure in a row merge into one entry.
    bool Nudge = false;
};

class UndoHistory
{
public:
    explicit UndoHistory(std::size_t limit = 1000)
        : m_limit(limit)
    {
    }

    // Records a new change: the redo stack is dropped, the oldest entry goes past the limit.
    void Push(HistoryEntry entry);
    // The newest undo entry when it is a nudge of key with nothing undone since, for merging.
    HistoryEntry* MergeableNudge(std::uint64_t key);

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // Moves the newest entry to the other stack and returns it there for the caller to apply
    // (and to refresh); nullptr when there is none.
    HistoryEntry* StepBack();
    HistoryEntry* StepForward();
    void Clear();

private:
    std::vector<HistoryEntry> m_undo;
    std::vector<HistoryEntry> m_redo;
    std::size_t m_limit;
};

} // namespace karvex::surface
