#pragma once

// One open document as the windows see it: every change to the document goes through one of its
// operations, and each operation says what it changed through the signals below, once. The code
// page, the property panel, the drawing surface and the caption follow those notices; the
// "changed" mark follows from them too. Every change is also a step of the document's history,
// which undo and redo walk.

#include "core/model/figure.h"
#include "core/model/records.h"
#include "core/operations/hotspot_ops.h"
#include "core/operations/panel_edits.h"
#include "ui/document_history.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QUndoStack;

namespace karvex {

struct AppState;

class DocumentModel : public QObject
{
    Q_OBJECT

public:
    DocumentModel(AppState& state, int slot, QObject* parent = nullptr);
    ~DocumentModel() override;

    // Groups the changes made while it lives into one step of the history; a step begun inside
    // another joins it. Every operation below is a step of its own when no step is open.
    class EditStep
    {
    public:
        EditStep(DocumentModel& model, const QString& text);
        ~EditStep();
        EditStep(const EditStep&) = delete;
        EditStep& operator=(const EditStep&) = delete;

    private:
        DocumentModel& m_model;
    };

    // The document's undo and redo history.
    QUndoStack& History() const { return *m_history; }

    int Slot() const { return m_slot; }
    Document& Doc() const;
    // The live hotspot in slot; nullptr for a deleted or unknown one.
    Hotspot* LiveHotspot(int slot) const;

    // Hotspots. A figure the surface drew, and figures added in bulk (one notice for all).
    int AddDrawnHotspot(const Figure& figure);
    QList<int> AddHotspots(const std::vector<Figure>& figures);
    // Whole hotspot records added in bulk (a paste, an AREA tag from the clipboard, a generated
    // grid), one step named stepText and one notice for all: each takes the next free slot and
    // the first free name of its shape; with keepFreeNames a record keeps its own name unless a
    // live hotspot has it.
    QList<int> AddHotspotRecords(
        std::vector<Hotspot> records, const QString& stepText, bool keepFreeNames = false);
    // Takes a hotspot out of the live set, keeping its record so that an undo can bring it back.
    void RetireHotspot(int slot);
    void RestoreHotspot(int slot, const Figure& figure);
    void ApplyFigure(const Figure& figure);
    bool ChangeShape(int slot, const std::string& value);
    void SetLocked(int slot, bool locked);
    void SetColor(int slot, std::int32_t color);
    void SetAttribute(int slot, const std::string& name, const std::string& value);
    RenameCheck Rename(int slot, const std::string& newName);
    // An AREA tag typed in the code edit dialog: attributes, coordinates, name and lock.
    void ApplyAreaTag(int slot, const std::string& text);

    // The picture and its map.
    MapEdit ApplyMapValue(const std::string& key, const std::string& value, bool checkMapNames);
    // A new picture (loaded by the caller), written as srcText into the IMG tag.
    void ReplacePicture(
        const std::string& srcText, const std::string& fullPath, const QImage& image);
    // After a save rewrote the IMG tag's picture path.
    void ImgTagRewritten();
    // The picture the document window shows, kept so that a step can give it back.
    void KeepPicture(const QImage& picture) { m_picture = picture; }

    // The "changed" mark: set by every change, cleared by a save. The history's clean state is
    // the saved one, so undoing back to it clears the mark; a document that was never saved
    // (modified true) has no clean state.
    void SetModified(bool modified);
    // Drops every step of the history. A changed document stays changed: no undo can bring it
    // back to its saved state any more.
    void ForgetHistory();

signals:
    void hotspotsAdded(const QList<int>& ids);
    void hotspotRemoved(int slot, const QString& name);
    void hotspotChanged(int slot);
    void hotspotRenamed(int slot, const QString& oldName);
    // The IMG tag changed, and with mapTags the MAP start tag too.
    void imageTagChanged(bool mapTags);
    void pictureReplaced(const QImage& picture);
    // The picture's size in the IMG tag changed: the drawing area follows.
    void pictureSizeChanged(int width, int height);
    void modifiedChanged(bool modified);
    // An undo or redo put back the records of the hotspots ids (their notices above went out
    // first) and, with map, the picture and its tags. With many the hotspot notices were left
    // out: the views rebuild from the records instead.
    void stateRestored(const QList<int>& ids, bool map, bool many);

private:
    friend class EditCommand;

    void HotspotChanged(int slot);
    void Changed();
    void ApplyModified(bool modified);
    void BeginStep(const QString& text);
    void EndStep();
    // Remember a hotspot's or the picture's state before the open step first changes it.
    void Touch(int slot);
    void TouchMap();
    HotspotState RecordOf(int slot) const;
    MapState CurrentMap() const;
    void Restore(const DocumentState& state);

    AppState& m_state;
    const int m_slot;
    // Records of hotspots removed by delete or undo, latest last, by slot.
    std::map<int, std::vector<Hotspot>> m_retired;
    QUndoStack* m_history = nullptr;
    QImage m_picture;
    // The open step: its depth, name, and the states before it of what it touched.
    int m_stepDepth = 0;
    QString m_stepText;
    std::map<int, Hotspot> m_touched;
    std::optional<MapState> m_mapBefore;
    bool m_restoring = false;
    bool m_forgetting = false;
};

} // namespace karvex
