#include "components/drawing_surface/figure_store.h"

#include <algorithm>
#include <cmath>

namespace karvex::surface {

int FigureStore::Add(SurfaceFigure figure) { return Insert(Count(), std::move(figure)); }

int FigureStore::Insert(int index, SurfaceFigure figure)
{
    if (figure.Key == 0)
        figure.Key = m_nextKey++;
    else
        m_nextKey = std::max(m_nextKey, figure.Key + 1);
    figure.Box = Bounds(figure.Geometry);
    const int at = std::clamp(index, 0, Count());
    const bool appended = at == Count();
    m_figures.insert(m_figures.begin() + at, std::move(figure));
    // An append keeps the lookup tables in step; anything else shifts indexes.
    if (appended && !m_indexStale) {
        const SurfaceFigure& added = m_figures.back();
        m_indexOfKey[added.Key] = at;
        m_indexOfId[added.Id] = at;
    } else {
        m_indexStale = true;
    }
    return at;
}

SurfaceFigure FigureStore::Remove(int index)
{
    SurfaceFigure figure = std::move(m_figures[static_cast<std::size_t>(index)]);
    m_figures.erase(m_figures.begin() + index);
    m_indexStale = true;
    return figure;
}

void FigureStore::Clear()
{
    m_figures.clear();
    m_indexOfKey.clear();
    m_indexOfId.clear();
    m_indexStale = false;
}

void FigureStore::Reindex() const
{
    m_indexOfKey.clear();
    m_indexOfId.clear();
    // Later figures overwrite earlier ones, so an id finds its topmost figure.
    for (int i = 0; i < Count(); ++i) {
        m_indexOfKey[At(i).Key] = i;
        m_indexOfId[At(i).Id] = i;
    }
    m_indexStale = false;
}

int FigureStore::IndexOfKey(std::uint64_t key) const
{
    if (m_indexStale)
        Reindex();
    const auto found = m_indexOfKey.find(key);
    return found == m_indexOfKey.end() ? -1 : found->second;
}

int FigureStore::IndexOfId(int id) const
{
    if (m_indexStale)
        Reindex();
    const auto found = m_indexOfId.find(id);
    return found == m_indexOfId.end() ? -1 : found->second;
}

int FigureStore::LargestId() const
{
    int largest = 0;
    for (const SurfaceFigure& figure : m_figures)
        largest = std::max(largest, figure.Id);
    return largest;
}

void FigureStore::SetGeometry(int index, const Shape& geometry)
{
    SurfaceFigure& figure = m_figures[static_cast<std::size_t>(index)];
    figure.Geometry = geometry;
    figure.Box = Bounds(geometry);
}

void FigureStore::SetLocked(int index, bool locked)
{
    m_figures[static_cast<std::size_t>(index)].Locked = locked;
}

void FigureStore::SetColor(int index, std::int32_t color)
{
    m_figures[static_cast<std::size_t>(index)].Color = color;
}

void FigureStore::SetId(int index, int id)
{
    m_figures[static_cast<std::size_t>(index)].Id = id;
    m_indexStale = true;
}

void FigureStore::SetUnderlay(int index, bool underlay)
{
    m_figures[static_cast<std::size_t>(index)].Underlay = underlay;
}

void FigureStore::SetText(int index, const QString& label, const QString& description)
{
    SurfaceFigure& figure = m_figures[static_cast<std::size_t>(index)];
    figure.Label = label;
    figure.Description = description;
}

int FigureStore::HitTest(QPointF point, double tolerance) const
{
    // The box test rejects almost every figure with four comparisons.
    const double reach = tolerance + 1.0;
    int underlay = -1;
    for (int i = Count() - 1; i >= 0; --i) {
        const SurfaceFigure& figure = At(i);
        const QRect& box = figure.Box;
        if (box.isNull() || point.x() < box.left() - reach || point.x() > box.right() + reach
            || point.y() < box.top() - reach || point.y() > box.bottom() + reach)
            continue;
        if (!Contains(figure.Geometry, point, tolerance))
            continue;
        if (!figure.Underlay)
            return i;
        if (underlay < 0)
            underlay = i;
    }
    return underlay;
}

} // namespace karvex::surface
