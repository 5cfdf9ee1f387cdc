#include "ui/document_history.h"

#include "ui/document_model.h"

namespace karvex {

bool MapState::operator==(const MapState& other) const
{
    return ImgTag == other.ImgTag && Images == other.Images && ImgAttributes == other.ImgAttributes
        && PathMode == other.PathMode && ServerType == other.ServerType
        && WebProject == other.WebProject && Picture.cacheKey() == other.Picture.cacheKey();
}

EditCommand::EditCommand(
    DocumentModel& model, const QString& text, DocumentState before, DocumentState after)
    : QUndoCommand(text)
    , m_model(model)
    , m_before(std::move(before))
    , m_after(std::move(after))
{
}

void EditCommand::undo()
{
    m_model.Restore(m_before);
    m_applied = false;
}

void EditCommand::redo()
{
    if (!m_applied)
        m_model.Restore(m_after);
    m_applied = true;
}

} // namespace karvex
