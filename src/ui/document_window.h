#pragma once

// The window of one document: it sets up the drawing surface and its pages, turns the surface's
// events into operations of the document's model, and keeps the surface, the code page and the
// caption in step with the model's notices.

#include "core/model/records.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCloseEvent;

namespace karvex {

class CodeBox;
class CodeView;
class DocumentHost;
class DocumentModel;
class DrawingSurface;
struct Figure;
enum class FigureAction : int;

class DocumentWindow : public QWidget
{
    Q_OBJECT

public:
    DocumentWindow(DocumentHost& host, int slot, QWidget* parent = nullptr);
    ~DocumentWindow() override;

    int Slot() const { return m_slot; }
    // Every change to the document goes through the model.
    DocumentModel& Model() const { return *m_model; }
    DrawingSurface& Surface() const { return *m_surface; }
    QWidget& CodePage() const { return *m_codePage; }
    // The code box, filled with the document's code if it was not yet.
    CodeBox& Code() const;

    // Hands the picture and the document's live hotspots to the surface (a filled record).
    void ShowDocument(const QImage& picture);
    // Removes the selected hotspot from the surface and the model.
    void DeleteHotspot(int slot);
    // The selected hotspot's slot; 0 while the map is selected.
    int SelectedHotspot() const;
    // Selects the hotspot's figure and shows it, as a click on the figure does.
    void SelectHotspot(int slot);
    // Clears the figure selection and shows the map, as a click beside the figures does.
    void SelectMap();
    // Hotspots for figures the surface does not show yet (a paste, a generated grid): the
    // surface takes them over and the model adds them with one notice.
    QList<int> AddHotspots(const std::vector<Figure>& figures);
    // Whole hotspot records likewise, in one step of the history named stepText (see
    // DocumentModel::AddHotspotRecords). progress, when given, hears how many figures the
    // surface has taken so far.
    QList<int> AddHotspotRecords(std::vector<Hotspot> records, const QString& stepText,
        bool keepFreeNames = false, const std::function<void(int done)>& progress = {});
    // The part of the picture the user sees, in picture pixels.
    QRect VisiblePictureArea() const;
    // 1 X1, 2 Y1, 3 X2, 4 Y2 of the selected hotspot, as its figure on the surface reshapes.
    void SetSelectedCoordinate(int which, int value);
    // The window title: the document's file name, with "*" while changed.
    void RefreshCaption();
    // Shows the window in the global settings' colours and behaviour: the code box's colours and
    // frame, the surface's cursors, colours, rulers, labels and preview. Run when the window is
    // made and again whenever the settings are reloaded; repaints once.
    void ApplySettings();

signals:
    // What the window shows and selects, for the panel of the active window.
    void hotspotSelected(int slot);
    void mapSelected();
    void dragTracking(int x1, int y1, int x2, int y2);
    void panelEnabled(bool enabled);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Document& Doc() const;
    Hotspot* SpotFor(int id) const;
    void ConnectSurface();
    void SetUpSurface();
    void SetUpCodeBox();
    void OnRegionClicked(const QString& key, const QString& group);

    void OnFigureCreated(const Figure& figure);
    void OnFigureStateChanged(FigureAction action, int id, const Figure& figure);
    void OnFigureChanged(const Figure& figure);
    void OnFigureSelected(const Figure& figure);
    void OnSelectionCleared();
    void OnLockChanged(bool locked);
    void OnFigureHover(int state, int id);
    void OnFigureActivated(int state, int id);
    void OnRotateEnded();
    void OnPageChanged(const QString& key);
    void Describe(const QString& text);
    void ConnectModel();
    void OnStateRestored(const QList<int>& ids, bool map, bool many);
    // Hands every live hotspot to the surface as a figure, in slot order (inside a redraw batch,
    // so that the surface does not count it as an edit).
    void ShowFigures();
    // The figures of hotspots the model has just added, handed to the surface in one batch.
    void ShowAddedFigures(const QList<int>& ids, const std::function<void(int done)>& progress);
    // Brings a hotspot's figure in line with its record where the surface does not follow by
    // itself: lock and colour of the selected figure.
    void SyncSelectedFigure(int slot);
    // Hands the surface what only the record knows of a hotspot's figure: whether it is the
    // "default" area under all others, its label and its spoken description.
    void ShowFigureInfo(int slot);

    DocumentHost& m_host;
    const int m_slot;
    DrawingSurface* m_surface = nullptr;
    QWidget* m_codePage = nullptr;
    CodeBox* m_codeBox = nullptr;
    std::unique_ptr<CodeView> m_codeView;
    DocumentModel* m_model = nullptr;
};

} // namespace karvex
