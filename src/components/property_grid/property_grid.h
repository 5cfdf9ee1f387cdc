#pragma once

// The property grid: named entries in collapsible categories, each with a caption, a value,
// an in-place editor chosen by its kind and a description shown under the grid. The program
// addresses entries by key (letter case ignored) and hears about the user's edits through the
// signals below; values it writes itself never raise ValueChanged.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>

class QLabel;
class QModelIndex;
class QTreeWidgetItem;

namespace karvex {

namespace grid {
class PropertyDelegate;
class PropertyTree;
class ValueEditor;
} // namespace grid

// Stored by callers in their entry tables: do not renumber.
enum class PropertyKind { Heading = 0, Colour = 2, Number = 7, Text = 8, File = 10, Choice = 11 };

class PropertyGrid : public QWidget
{
    Q_OBJECT

public:
    explicit PropertyGrid(QWidget* parent = nullptr);
    ~PropertyGrid() override;

    // Appended under the last heading (a heading starts a new category). A key that is already
    // present is ignored.
    void AddItem(const QString& key, const QString& caption, PropertyKind kind,
        const QString& preset, const QString& description);
    // Shows the value; never raises ValueChanged. Unknown keys are ignored.
    void SetValue(const QString& key, const QString& value);
    QString Value(const QString& key) const; // "" for unknown keys
    // Removing a heading removes the entries of its category with it.
    void RemoveItem(const QString& key);
    void SetItemState(const QString& key, int state); // 1 greyed and read-only, 0 normal
    int ItemState(const QString& key) const;
    void ResetItems(); // empties every entry's value; headings stay
    void RedrawGrid();
    void SetUpdating(bool updating); // no repaint between true and false
    void SetBusy(bool busy); // while busy, user edits are shown but not reported
    bool IsBusy() const;
    int ItemCount() const; // entries and headings
    void SetGridEnabled(bool enabled);
    // Colour numbers as the settings hold them (negative numbers are system colours).
    void SetHeadingColor(std::int32_t color);
    void SetLineColor(std::int32_t color);
    // The grid's own line colour, from the palette, as before any SetLineColor.
    void ResetLineColor();
    void SetBackgroundColor(std::int32_t color);
    void CancelEdit(); // ends an in-place edit without committing it
    bool HasItem(const QString& key) const;
    // The name assistive technology (a screen reader) gives the grid, its list of entries and
    // its description box.
    void SetTitle(const QString& title);

signals:
    // After the user committed a changed value. A directly connected handler may rewrite value;
    // the grid then shows the rewritten value (unless the handler wrote the entry with
    // SetValue or ResetItems, which wins).
    void ValueChanged(QString& value, const QString& key);
    // Before a choice editor opens; the handler fills the list in display order. An empty list
    // lets the entry be edited as text.
    void ChoicesWanted(QStringList& choices, const QString& key);
    // The browse button of a file entry; a value the handler sets is shown and committed. A
    // handler that writes the entry with SetValue instead ends the edit without a commit.
    void BrowseClicked(QString& value, const QString& key);
    // Another entry became the current one (clicked, or reached with the keys); "" for none.
    void SelectionChanged(const QString& key);

private:
    void CommitUserValue(const QString& key, QString value);
    void OnBrowse(const QModelIndex& index, grid::ValueEditor* editor);
    void OnPickColour(const QModelIndex& index, grid::ValueEditor* editor);
    void FinishDialogValue(
        const QString& key, const QString& before, const QString& value, grid::ValueEditor* editor);
    void ShowDescription(QTreeWidgetItem* item);

    grid::PropertyTree* m_tree = nullptr;
    grid::PropertyDelegate* m_delegate = nullptr;
    QLabel* m_descriptionCaption = nullptr;
    QLabel* m_descriptionText = nullptr;
    bool m_busy = false;
    QString m_committingKey; // upper case, while ValueChanged is being raised
    bool m_writtenDuringCommit = false;
};

} // namespace karvex
