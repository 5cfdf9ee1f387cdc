#pragma once

// The drawing surface's figures in drawing order (the last one is on top), with lookup by the
// surface's own key or by the program's id, and hit testing that first compares bounding boxes.

#include "components/drawing_surface/figure_geometry.h"

#include <QRect>
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace karvex::surface {

// One figure. Key is the surface's own, never reused, and is what the undo history refers to;
// Id is the program's hotspot slot (0 until the program assigns one to a drawn figure).
struct SurfaceFigure
{
    std::uint64_t Key = 0;
    int Id = 0;
    Shape Geometry;
    std::int32_t Color = 0;
    bool Locked = false;
    QRect Box; // Bounds(Geometry), kept in step by the store
    // Lies under every other figure and is hit only where no other one is (a "default" AREA,
    // which covers the whole picture).
    bool Underlay = false;
    QString Label; // drawn on the figure while labels are shown
    QString Description; // announced when the figure is selected
};

class FigureStore
{
public:
    // Appends (or inserts at index) a figure; a figure without a key gets a new one. Returns
    // the figure's index.
    int Add(SurfaceFigure figure);
    int Insert(int index, SurfaceFigure figure);
    SurfaceFigure Remove(int index);
    void Clear();

    int Count() const { return static_cast<int>(m_figures.size()); }
    const SurfaceFigure& At(int index) const { return m_figures[static_cast<std::size_t>(index)]; }
    const std::vector<SurfaceFigure>& All() const { return m_figures; }

    // -1 when absent. Ids are looked up from the top so the newest figure with an id wins. Both
    // take constant time while figures are only appended.
    int IndexOfKey(std::uint64_t key) const;
    int IndexOfId(int id) const;
    int LargestId() const;

    void SetGeometry(int index, const Shape& geometry);
    void SetLocked(int index, bool locked);
    void SetColor(int index, std::int32_t color);
    void SetId(int index, int id);
    void SetUnderlay(int index, bool underlay);
    void SetText(int index, const QString& label, const QString& description);

    // The topmost figure whose outline (widened by tolerance) holds point, or -1; an underlay
    // only where no other figure holds it.
    int HitTest(QPointF point, double tolerance) const;

private:
    void Reindex() const;

    std::vector<SurfaceFigure> m_figures;
    std::uint64_t m_nextKey = 1;
    // Lookup tables, rebuilt on the next lookup after a change that shifted indexes.
    mutable std::unordered_map<std::uint64_t, int> m_indexOfKey;
    mutable std::unordered_map<int, int> m_indexOfId;
    mutable bool m_indexStale = false;
};

} // namespace karvex::surface
