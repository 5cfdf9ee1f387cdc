#pragma once

// The window of one document: it sets up the drawing surface and its pages, and turns the
// surface's events into changes of the model, the views and the commands.

#include "core/model/records.h"

#include <QImage>
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QCloseEvent;

namespace karvex {

class CodeBox;
class CodeView;
class DocumentHost;
class DrawingSurface;
class ModelViews;
struct Figure;

class DocumentWindow : public QWidget
{
    Q_OBJECT

public:
    DocumentWindow(DocumentHost& host, int slot, QWidget* parent = nullptr);
    ~DocumentWindow() override;

    int Slot() const { return m_slot; }
    DrawingSurface& Surface() const { return *m_surface; }
    QWidget& CodePage() const { return *m_codePage; }
    // The code box, filled with the document's code if it was not yet.
    CodeBox& Code() const;
    // The code page's regions follow the model through this.
    ModelViews& CodeRegions() const;

    // Hands the picture and the document's live hotspots to the surface (a filled record).
    void ShowDocument(const QImage& picture);
    // Removes the selected hotspot from the surface and the model.
    void DeleteHotspot(int slot);
    // Selects the hotspot's figure and shows it, as a click on the figure does.
    void SelectHotspot(int slot);
    // Clears the figure selection and shows the map, as a click beside the figures does.
    void SelectMap();
    // A new picture for the document, drawn at the image record's size.
    void ReplacePicture(const QImage& picture);
    // The window title: the document's file name, with "*" while changed.
    void RefreshCaption();

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
    void OnFigureStateChanged(int action, int id, const Figure& figure);
    void OnFigureChanged(const Figure& figure);
    void OnFigureSelected(const Figure& figure);
    void OnSelectionCleared();
    void OnLockChanged(bool locked);
    void OnFigureHover(int state, int id);
    void OnFigureActivated(int state, int id);
    void OnRotateEnded();
    void OnPageChanged(const QString& key);
    void Describe(const QString& text);

    // Takes a hotspot out of the live set, keeping its record so an undo can bring it back.
    void RetireHotspot(int slot);
    void RestoreHotspot(int slot, const Figure& figure);

    DocumentHost& m_host;
    const int m_slot;
    DrawingSurface* m_surface = nullptr;
    QWidget* m_codePage = nullptr;
    CodeBox* m_codeBox = nullptr;
    std::unique_ptr<CodeView> m_codeView;
    // Records of hotspots removed by delete or undo, latest last, by slot.
    std::map<int, std::vector<Hotspot>> m_retired;
};

} // namespace karvex
