#pragma once

// The docked property panel: a chooser for the map or one of the current document's hotspots,
// and a property grid for each. It shows the active document and follows its model's notices;
// every value the user commits becomes a request to the document's model or the editor.

#include "core/model/attribute_pair.h"
#include "ui/document_host.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

class QComboBox;
class QStackedLayout;
class QStackedWidget;

namespace karvex {

struct Document;
struct GlobalSettings;
struct Hotspot;
class PropertyGrid;

class DocumentWindow;

class PropertyPanel : public QWidget
{
    Q_OBJECT

public:
    explicit PropertyPanel(AppState& state, QWidget* parent = nullptr);

    // The editor the panel asks for model changes; set once the editor exists.
    void SetHost(DocumentHost* host) { m_host = host; }

    void ShowHotspotProperties(int slot);
    void ShowMapProperties();
    // The chooser: "[Map Properties]", then the current document's live hotspots in slot order.
    void RebuildHotspotChooser();
    // X2 and Y2 are read-only for a polygon, whose box follows its points.
    void UpdateCoordinateItems(int slot);

    QComboBox& Chooser() const { return *m_chooser; }
    PropertyGrid& HotspotGrid() const { return *m_hotspotGrid; }
    PropertyGrid& MapGrid() const { return *m_mapGrid; }
    // The grid in front: the hotspot grid while a hotspot is shown.
    PropertyGrid& GridInFront() const;

    // Shows the window's document and follows its model and selection from now on.
    void FollowDocument(DocumentWindow* window);
    // A document window closed; with none left open the panel is emptied.
    void DocumentClosed(int slot, bool anyOpen);
    void DragTracking(int x1, int y1, int x2, int y2);
    void SetPanelEnabled(bool enabled);
    // Styles both grids for the global settings again (the look and its line colour), as
    // after a reload of the settings.
    void ApplySettings();
    // The look of a property grid under the settings; the hotspot wizard's grid shares it.
    static void StyleGrid(PropertyGrid& grid, const GlobalSettings& settings);

private:
    // Extra attributes shown under a "Customs" heading at the end of a grid.
    struct CustomSection
    {
        int BaseItemCount = 0;
        std::vector<QString> Keys;
    };

    void BuildGrids();
    Document* CurrentDoc() const;
    // The charset the current document's texts are shown and typed in.
    std::string Charset() const;
    Hotspot* LiveSpot(int slot) const;
    void ShowDocumentPage(bool hasDocument);
    void WriteHotspotValues(const Hotspot& spot);
    void WriteMapValues();
    void ShowCustoms(PropertyGrid& grid, CustomSection& section,
        const std::vector<AttributePair>& attributes, bool rebuild);
    void RemoveCustoms(PropertyGrid& grid, CustomSection& section);
    int ChooserIndexFor(int slot) const;
    void OnHotspotsAdded(const QList<int>& ids);
    void OnHotspotRemoved(int slot, const QString& name);
    void OnHotspotChanged(int slot);
    void OnHotspotRenamed(int slot, const QString& oldName);

    // Removes double quotes from a typed value, with the warning; false when there were none.
    bool CleanValue(QString& value);
    void OnHotspotValue(QString& value, const QString& key);
    void OnMapValue(QString& value, const QString& key);
    void OnChoicesWanted(QStringList& choices, const QString& key);
    void OnBrowse(QString& value, const QString& key);
    void OnChooserActivated(int index);
    // A typed picture path, looked up like a SRC value; false when it could not be loaded.
    bool UseTypedPicture(const std::string& typed);
    // Makes the picture at fullPath the document's picture, written as srcText in the IMG tag.
    bool UsePicture(const std::string& srcText, const std::string& fullPath);

    AppState& m_state;
    DocumentHost* m_host = nullptr;
    QStackedWidget* m_pages = nullptr;
    QComboBox* m_chooser = nullptr;
    QStackedLayout* m_grids = nullptr;
    PropertyGrid* m_hotspotGrid = nullptr;
    PropertyGrid* m_mapGrid = nullptr;
    CustomSection m_hotspotCustoms;
    CustomSection m_mapCustoms;
    int m_shownSlot = 0; // the hotspot in the hotspot grid; 0 while the map is shown
    std::vector<QMetaObject::Connection> m_followed; // to the followed window and its model
};

} // namespace karvex
