#pragma once

// The code page of one document: fills the code box with the map's regions and keeps single
// regions in step with hotspot, IMG tag and MAP tag changes without rebuilding the list.
// The box is filled on first use.

#include "core/model/records.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <string>

namespace karvex {

struct AppState;
class CodeBox;

class CodeView
{
public:
    CodeView(CodeBox& box, AppState& state, int slot, QIcon lockIcon);

    void FillCodeView();
    // The code box is filled when it is first needed (a document of many hotspots opens
    // without the cost); until then changes have nothing to update.
    void Invalidate();
    void EnsureFilled();
    bool IsFilled() const { return m_filled; }
    // The regions of new hotspots, added in one batch.
    void AddHotspotRegions(const QList<int>& ids);
    // After the hotspot left the live set; the placeholder comes back for the last one.
    void RemoveHotspotRegion(const std::string& name);
    void UpdateHotspotRegion(int slot);
    void RenameHotspotRegion(int slot, const std::string& oldName);
    void UpdateImageTagRegion();
    void UpdateMapTagRegions();
    void SelectHotspotRegion(int slot);
    void SelectMapRegion();

private:
    const Document& Doc() const;
    // A text of the document as the code box shows it.
    QString Shown(const std::string& bytes) const;
    const Hotspot* Live(int slot) const;
    int LiveCount() const;
    // Adds an area line before "</MAP>" and the end comment, which stay the last two lines.
    void AddAreaLine(const QString& text, const QString& key, const QIcon& icon);

    CodeBox& m_box;
    AppState& m_state;
    int m_slot;
    QIcon m_lockIcon;
    bool m_filled = false;
};

} // namespace karvex
