#pragma once

// The drawing surface's editing core: its figures, the selection, the undo history and every
// change the program or a gesture makes, with the events each change reports.

#include "components/drawing_surface/figure_store.h"
#include "components/drawing_surface/undo_history.h"
#include "core/model/figure.h"

#include <QRect>
#include <QSize>
#include <cstdint>
#include <functional>
#include <string>

namespace karvex {
class DrawingSurface;
}

namespace karvex::surface {

class SurfaceEditor
{
public:
    // Events go out as the surface's signals; changed runs after every visible change with the
    // picture area to redraw (a null rectangle for everything).
    SurfaceEditor(DrawingSurface& events, std::function<void(const QRect&)> changed);

    const FigureStore& Figures() const { return m_figures; }
    Figure ToFigure(const SurfaceFigure& figure) const;

    // The picture's size in pixels; gestures keep figures inside it.
    QSize Area() const { return m_area; }
    void SetArea(QSize area) { m_area = area; }
    // The colour a newly drawn figure gets.
    void SetNewFigureColor(std::int32_t color) { m_newColor = color; }

    int SelectedIndex() const;
    const SurfaceFigure* Selected() const;
    bool AllSelected() const { return m_allSelected; }
    // notify: report the selection with FigureSelected (gestures do, program calls do not).
    void Select(int index, bool notify);
    void ClearSelection();
    void SetAllSelected(bool selected);

    // Replaces every figure by one per AREA tag (separated by CR LF), ids 1, 2, 3...
    void LoadAreaTags(const std::string& tags);
    // A figure with the program's id (a new one when id <= 0, replacing a figure with that id);
    // record makes it undoable.
    int AddFigure(const Shape& geometry, std::int32_t color, bool locked, int id, bool record);
    // A figure the user finished drawing: reported with FigureCreated (id 0), then selected.
    void CreateDrawn(const Shape& geometry);
    // Gives the figure of the last FigureCreated the program's id.
    void AssignId(int id);

    // Shows a gesture's intermediate geometry without recording or reporting it.
    void Preview(int index, const Shape& geometry);
    // Records the change of figure index from before to its present state and reports it with
    // FigureChanged when its geometry changed. Nothing happens when nothing changed.
    void Commit(int index, const FigureState& before, bool nudge = false);
    FigureState StateOf(int index) const;
    // Sets a new state and commits it (program operations on one figure).
    void Change(int index, const FigureState& after, bool report);
    void SetColor(int index, std::int32_t color);
    void SetUnderlay(int index, bool underlay);
    void SetText(int index, const QString& label, const QString& description);
    void DeleteSelected();

    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    void Undo();
    void Redo();
    void ClearHistory();

private:
    void TakeOut(HistoryEntry& entry);
    void PutBack(HistoryEntry& entry);
    void ApplyState(std::uint64_t key, const FigureState& state);
    void ReportUndoState();

    DrawingSurface& m_events;
    std::function<void(const QRect&)> m_changed;
    FigureStore m_figures;
    UndoHistory m_history;
    QSize m_area;
    std::int32_t m_newColor = 0;
    std::uint64_t m_selectedKey = 0;
    bool m_allSelected = false;
    std::uint64_t m_createdKey = 0;
    bool m_reportedUndo = false;
    bool m_reportedRedo = false;
};

} // namespace karvex::surface
