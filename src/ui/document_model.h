#pragma once

// One open document as the windows see it: every change to the document goes through one of its
// operations, and each operation says what it changed through the signals below, once. The code
// page, the property panel, the drawing surface and the caption follow those notices; the
// "changed" mark follows from them too.

#include "core/model/figure.h"
#include "core/model/records.h"
#include "core/operations/hotspot_ops.h"
#include "core/operations/panel_edits.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <map>
#include <string>
#include <vector>

namespace karvex {

struct AppState;

class DocumentModel : public QObject
{
    Q_OBJECT

public:
    DocumentModel(AppState& state, int slot, QObject* parent = nullptr);

    int Slot() const { return m_slot; }
    Document& Doc() const;
    // The live hotspot in slot; nullptr for a deleted or unknown one.
    Hotspot* LiveHotspot(int slot) const;

    // Hotspots. A figure the surface drew, and figures added in bulk (one notice for all).
    int AddDrawnHotspot(const Figure& figure);
    QList<int> AddHotspots(const std::vector<Figure>& figures);
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

    // The "changed" mark: set by every change, cleared by a save.
    void SetModified(bool modified);

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

private:
    void HotspotChanged(int slot);
    void Changed();

    AppState& m_state;
    const int m_slot;
    // Records of hotspots removed by delete or undo, latest last, by slot.
    std::map<int, std::vector<Hotspot>> m_retired;
};

} // namespace karvex
