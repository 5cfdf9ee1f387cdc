#include "components/drawing_surface/surface_editor.h"

#include "components/drawing_surface/drawing_surface.h"
#include "core/formats/tag_reader.h"
#include "core/util/strings.h"

namespace karvex::surface {

namespace {

int KindOfShapeWord(const std::string& word)
{
    const std::string upper = ToUpper(Trim(word));
    if (upper == "CIRCLE" || upper == "CIRC")
        return kCircle;
    if (upper == "POLY" || upper == "POLYGON")
        return kPolygon;
    return kRectangle;
}

} // namespace

SurfaceEditor::SurfaceEditor(DrawingSurface& events, std::function<void(const QRect&)> changed)
    : m_events(events)
    , m_changed(std::move(changed))
{
}

Figure SurfaceEditor::ToFigure(const SurfaceFigure& figure) const
{
    Figure out;
    out.Id = figure.Id;
    out.Kind = figure.Geometry.Kind;
    out.Color = figure.Color;
    out.Locked = figure.Locked;
    out.Coordinates = CoordsText(figure.Geometry);
    if (!figure.Box.isNull()) {
        out.X1 = figure.Box.left();
        out.Y1 = figure.Box.top();
        out.X2 = figure.Box.right();
        out.Y2 = figure.Box.bottom();
    }
    return out;
}

int SurfaceEditor::SelectedIndex() const
{
    return m_selectedKey == 0 ? -1 : m_figures.IndexOfKey(m_selectedKey);
}

const SurfaceFigure* SurfaceEditor::Selected() const
{
    const int index = SelectedIndex();
    return index < 0 ? nullptr : &m_figures.At(index);
}

void SurfaceEditor::Select(int index, bool notify)
{
    if (index < 0 || index >= m_figures.Count())
        return;
    m_selectedKey = m_figures.At(index).Key;
    m_allSelected = false;
    m_changed({});
    if (notify)
        emit m_events.FigureSelected(ToFigure(m_figures.At(index)));
}

void SurfaceEditor::ClearSelection()
{
    m_selectedKey = 0;
    m_allSelected = false;
    m_changed({});
}

void SurfaceEditor::SetAllSelected(bool selected)
{
    m_allSelected = selected && m_figures.Count() > 0;
    if (!selected)
        m_selectedKey = 0;
    m_changed({});
}

void SurfaceEditor::LoadAreaTags(const std::string& tags)
{
    m_figures.Clear();
    m_selectedKey = 0;
    m_allSelected = false;
    m_createdKey = 0;
    ClearHistory();
    const bool crlf = tags.find("\r\n") != std::string::npos;
    int id = 0;
    for (const std::string& line : Split(tags, crlf ? "\r\n" : "\n")) {
        if (line.find('<') == std::string::npos)
            continue;
        const TagRecord tag = ParseTag(line);
        const int kind = KindOfShapeWord(GetAttribute(tag, "SHAPE", "RECT"));
        SurfaceFigure figure;
        figure.Id = ++id;
        figure.Geometry = ShapeFromText(kind, GetAttribute(tag, "COORDS", ""));
        figure.Color = m_newColor;
        m_figures.Add(std::move(figure));
    }
    m_changed({});
}

int SurfaceEditor::AddFigure(
    const Shape& geometry, std::int32_t color, bool locked, int id, bool record)
{
    if (id <= 0)
        id = m_figures.LargestId() + 1;
    if (const int existing = m_figures.IndexOfId(id); existing >= 0)
        m_figures.Remove(existing);
    SurfaceFigure figure;
    figure.Id = id;
    figure.Geometry = geometry;
    figure.Color = color;
    figure.Locked = locked;
    const int index = m_figures.Add(std::move(figure));
    if (record) {
        HistoryEntry entry;
        entry.Kind = HistoryEntry::Type::Create;
        entry.Key = m_figures.At(index).Key;
        m_history.Push(std::move(entry));
        ReportUndoState();
    }
    m_changed({});
    return id;
}

void SurfaceEditor::CreateDrawn(const Shape& geometry)
{
    SurfaceFigure figure;
    figure.Geometry = geometry;
    figure.Color = m_newColor;
    const int index = m_figures.Add(std::move(figure));
    const std::uint64_t key = m_figures.At(index).Key;
    HistoryEntry entry;
    entry.Kind = HistoryEntry::Type::Create;
    entry.Key = key;
    m_history.Push(std::move(entry));
    m_createdKey = key;
    m_selectedKey = key;
    m_allSelected = false;
    m_changed({});
    emit m_events.FigureCreated(ToFigure(m_figures.At(index)));
    // The program may have changed the figures while handling the event.
    if (const int now = m_figures.IndexOfKey(key); now >= 0) {
        if (m_selectedKey == key)
            emit m_events.FigureSelected(ToFigure(m_figures.At(now)));
    }
    ReportUndoState();
}

void SurfaceEditor::AssignId(int id)
{
    const int index = m_createdKey == 0 ? -1 : m_figures.IndexOfKey(m_createdKey);
    if (index >= 0)
        m_figures.SetId(index, id);
    m_createdKey = 0;
}

void SurfaceEditor::Preview(int index, const Shape& geometry)
{
    const QRect before = m_figures.At(index).Box;
    m_figures.SetGeometry(index, geometry);
    m_changed(before | m_figures.At(index).Box);
}

FigureState SurfaceEditor::StateOf(int index) const
{
    const SurfaceFigure& figure = m_figures.At(index);
    return { figure.Geometry, figure.Locked };
}

void SurfaceEditor::Commit(int index, const FigureState& before, bool nudge)
{
    const FigureState after = StateOf(index);
    if (after == before)
        return;
    const std::uint64_t key = m_figures.At(index).Key;
    if (HistoryEntry* last = nudge ? m_history.MergeableNudge(key) : nullptr) {
        last->After = after;
    } else {
        HistoryEntry entry;
        entry.Kind = HistoryEntry::Type::Change;
        entry.Key = key;
        entry.Before = before;
        entry.After = after;
        entry.Nudge = nudge;
        m_history.Push(std::move(entry));
    }
    m_changed({});
    if (!(after.Geometry == before.Geometry))
        emit m_events.FigureChanged(ToFigure(m_figures.At(index)));
    ReportUndoState();
}

void SurfaceEditor::Change(int index, const FigureState& after, bool report)
{
    const FigureState before = StateOf(index);
    m_figures.SetGeometry(index, after.Geometry);
    m_figures.SetLocked(index, after.Locked);
    if (report) {
        Commit(index, before);
        return;
    }
    if (!(after == before)) {
        HistoryEntry entry;
        entry.Kind = HistoryEntry::Type::Change;
        entry.Key = m_figures.At(index).Key;
        entry.Before = before;
        entry.After = after;
        m_history.Push(std::move(entry));
        m_changed({});
        ReportUndoState();
    }
}

void SurfaceEditor::SetColor(int index, std::int32_t color)
{
    m_figures.SetColor(index, color);
    m_changed({});
}

void SurfaceEditor::SetUnderlay(int index, bool underlay)
{
    m_figures.SetUnderlay(index, underlay);
    m_changed({});
}

void SurfaceEditor::SetText(int index, const QString& label, const QString& description)
{
    m_figures.SetText(index, label, description);
    m_changed(m_figures.At(index).Box);
}

void SurfaceEditor::DeleteSelected()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    HistoryEntry entry;
    entry.Kind = HistoryEntry::Type::Remove;
    entry.Key = m_figures.At(index).Key;
    entry.Index = index;
    entry.Figure = m_figures.Remove(index);
    m_history.Push(std::move(entry));
    m_selectedKey = 0;
    m_allSelected = false;
    m_changed({});
    ReportUndoState();
}

void SurfaceEditor::Undo()
{
    HistoryEntry* entry = m_history.StepBack();
    if (!entry)
        return;
    if (entry->Kind == HistoryEntry::Type::Create)
        TakeOut(*entry);
    else if (entry->Kind == HistoryEntry::Type::Remove)
        PutBack(*entry);
    else
        ApplyState(entry->Key, entry->Before);
    ReportUndoState();
}

void SurfaceEditor::Redo()
{
    HistoryEntry* entry = m_history.StepForward();
    if (!entry)
        return;
    if (entry->Kind == HistoryEntry::Type::Create)
        PutBack(*entry);
    else if (entry->Kind == HistoryEntry::Type::Remove)
        TakeOut(*entry);
    else
        ApplyState(entry->Key, entry->After);
    ReportUndoState();
}

void SurfaceEditor::ClearHistory()
{
    m_history.Clear();
    ReportUndoState();
}

void SurfaceEditor::TakeOut(HistoryEntry& entry)
{
    const int index = m_figures.IndexOfKey(entry.Key);
    if (index < 0)
        return;
    entry.Index = index;
    entry.Figure = m_figures.Remove(index);
    if (m_selectedKey == entry.Key)
        m_selectedKey = 0;
    if (m_createdKey == entry.Key)
        m_createdKey = 0;
    m_changed({});
    emit m_events.FigureStateChanged(
        FigureAction::Removed, entry.Figure.Id, ToFigure(entry.Figure));
}

void SurfaceEditor::PutBack(HistoryEntry& entry)
{
    // A handler of the events below may record new history, which moves the entry.
    const std::uint64_t key = entry.Key;
    if (entry.Figure.Key == 0 || m_figures.IndexOfKey(key) >= 0)
        return;
    const int index = m_figures.Insert(entry.Index, entry.Figure);
    const Figure restored = ToFigure(m_figures.At(index));
    m_selectedKey = key;
    m_allSelected = false;
    m_changed({});
    emit m_events.FigureStateChanged(FigureAction::Restored, restored.Id, restored);
    if (const int now = m_figures.IndexOfKey(key); now >= 0)
        emit m_events.FigureSelected(ToFigure(m_figures.At(now)));
}

void SurfaceEditor::ApplyState(std::uint64_t key, const FigureState& state)
{
    const int index = m_figures.IndexOfKey(key);
    if (index < 0)
        return;
    const FigureState old = StateOf(index);
    m_figures.SetGeometry(index, state.Geometry);
    m_figures.SetLocked(index, state.Locked);
    m_selectedKey = key;
    m_allSelected = false;
    m_changed({});
    // The program's current hotspot follows the selection, so select before reporting.
    const Figure figure = ToFigure(m_figures.At(index));
    emit m_events.FigureSelected(figure);
    if (old.Geometry.Kind != state.Geometry.Kind)
        emit m_events.FigureStateChanged(FigureAction::ShapeChanged, figure.Id, figure);
    if (old.Locked != state.Locked)
        emit m_events.LockChanged(state.Locked);
    if (!(old.Geometry == state.Geometry))
        emit m_events.FigureChanged(figure);
}

void SurfaceEditor::ReportUndoState()
{
    const bool canUndo = m_history.CanUndo();
    const bool canRedo = m_history.CanRedo();
    if (canUndo == m_reportedUndo && canRedo == m_reportedRedo)
        return;
    m_reportedUndo = canUndo;
    m_reportedRedo = canRedo;
    emit m_events.UndoStateChanged(canUndo, canRedo);
}

} // namespace karvex::surface
