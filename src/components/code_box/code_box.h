#pragma once

// The code box: a read-only, coloured list of named regions, one line each, that shows a
// document's HTML. The program adds, updates, renames and removes regions by key (letter case
// ignored), selects them and marks locked ones, and hears back through the region events.
// Colours are the settings' colour numbers.

#include <QIcon>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>

namespace karvex {

namespace codebox {
class CodeView;
}

class CodeBox : public QWidget
{
    Q_OBJECT

public:
    explicit CodeBox(QWidget* parent = nullptr);

    // Appends a region. Kind 2 is a comment line, 0 code. A region added with an icon starts
    // with its lock mark shown, using that icon.
    void AddRegion(
        const QString& text, const QString& key, const QString& group, const QIcon& icon, int kind);
    void UpdateRegionText(const QString& key, const QString& text);
    void RemoveRegion(const QString& key);
    void RenameRegion(const QString& oldKey, const QString& newKey);
    // Selects the region and scrolls it into view; an unknown key changes nothing.
    void SelectRegion(const QString& key);
    void SetRegionLocked(const QString& key, bool locked, int unused = 0);
    bool IsRegionLocked(const QString& key) const;
    void SetLockIcon(const QIcon& icon);
    // False suspends repainting for a batch of changes; true resumes and repaints once.
    void CodeRedraw(bool on);
    void RefreshCode();
    void Clear();

    int RegionCount() const;
    QStringList RegionKeys() const;
    QString RegionText(const QString& key) const;
    QString RegionGroup(const QString& key) const;
    // The selected region's key, empty when none is selected.
    QString SelectedKey() const;
    // The region's line in the coordinates of the scrolling viewport (may lie outside it);
    // a null rectangle for an unknown key.
    QRect RegionRect(const QString& key) const;

    void SetSelectedBackground(std::int32_t color);
    void SetAttributeNameColor(std::int32_t color);
    void SetAttributeValueColor(std::int32_t color);
    void SetCommentColor(std::int32_t color);
    void SetElementNameColor(std::int32_t color);
    void SetFontColor(std::int32_t color);
    void SetGutterColor(std::int32_t color);
    void SetXpLook(bool on);

signals:
    void RegionClicked(const QString& key, const QString& group);
    void RegionDoubleClicked(const QString& key, const QString& group);
    // Button 1 left, 2 right, 4 middle; modifiers 1 Shift, 2 Ctrl, 4 Alt; the key and group
    // are empty when the pointer is over no region.
    void RegionMouseUp(int button, int modifiers, const QString& key, const QString& group);

private:
    codebox::CodeView* m_view = nullptr;
};

} // namespace karvex
