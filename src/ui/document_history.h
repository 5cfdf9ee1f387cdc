#pragma once

// One step of a document's edit history. A step keeps what it changed, before and after: the
// whole records of the hotspots it touched and, when it touched them, the picture and its tags.
// Undo and redo put those back through the document's model, which tells every view, so a step
// is undone the same way whether it came from the surface, the panel or the code edit dialog.

#include "core/model/records.h"

#include <QImage>
#include <QUndoCommand>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace karvex {

class DocumentModel;

// The picture and its tags as a step saw them.
struct MapState
{
    std::string ImgTag;
    std::vector<MapImage> Images;
    std::vector<AttributePair> ImgAttributes;
    PathModeKind PathMode = PathModeKind::Current;
    std::int32_t ServerType = 0;
    std::string WebProject;
    QImage Picture;

    // Pictures count as equal when they are the same loaded picture.
    bool operator==(const MapState& other) const;
};

struct HotspotState
{
    int Slot = 0;
    Hotspot Record; // a slot the document did not have yet reads as a deleted hotspot
};

// The part of a document one step changed.
struct DocumentState
{
    std::vector<HotspotState> Hotspots; // in slot order
    std::optional<MapState> Map;
};

class EditCommand : public QUndoCommand
{
public:
    // The change is already made when the step is recorded: the first redo does nothing.
    EditCommand(
        DocumentModel& model, const QString& text, DocumentState before, DocumentState after);

    void undo() override;
    void redo() override;

private:
    DocumentModel& m_model;
    DocumentState m_before;
    DocumentState m_after;
    bool m_applied = true;
};

} // namespace karvex
