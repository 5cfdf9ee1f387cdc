#pragma once

// The item view behind the property grid: one row per entry, headings as top-level rows that
// span both columns, lookup by key, and the keyboard and mouse habits of a property grid
// (Enter or typing starts an edit, Tab moves to the next editable entry).

#include <QHash>
#include <QTreeWidget>
#include <vector>

namespace karvex::grid {

enum Role { KeyRole = Qt::UserRole + 1, KindRole, StateRole, DescriptionRole };

constexpr int kCaptionColumn = 0;
constexpr int kValueColumn = 1;

class PropertyTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit PropertyTree(QWidget* parent = nullptr);

    QTreeWidgetItem* ItemByKey(const QString& key) const;
    // nullptr when the key is taken.
    QTreeWidgetItem* AddEntry(const QString& key, const QString& caption, int kind,
        const QString& preset, const QString& description);
    void RemoveEntry(QTreeWidgetItem* item);
    std::vector<QTreeWidgetItem*> AllItems() const; // in display order
    int Count() const { return static_cast<int>(m_byKey.size()); }

    void SetState(QTreeWidgetItem* item, int state);
    void SetEditingAllowed(bool allowed);
    bool StartEdit(QTreeWidgetItem* item);
    void CancelEditor(QWidget* editor);
    // Whether the editor about to open was asked for by a typed key (then no popup opens).
    bool OpenedByKey() const { return m_openedByKey; }

    static bool IsHeading(const QTreeWidgetItem* item);
    static int KindOf(const QTreeWidgetItem* item);
    bool IsEditable(const QTreeWidgetItem* item) const;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void UpdateFlags(QTreeWidgetItem* item);
    QTreeWidgetItem* NextEditable(QTreeWidgetItem* from, bool forward) const;

    QHash<QString, QTreeWidgetItem*> m_byKey; // upper-case key
    bool m_editingAllowed = true;
    bool m_openedByKey = false;
    bool m_captionWidthSet = false; // the user dragged the column divider
};

} // namespace karvex::grid
