#pragma once

// Paints the property grid's rows (category headings, captions, values with colour swatches,
// grid lines, greyed entries) and makes the in-place editor for each kind of entry.

#include <QColor>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>
#include <QStyledItemDelegate>
#include <functional>

namespace karvex::grid {

class PropertyTree;
class ValueEditor;

class PropertyDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // What the grid does for the editors; the delegate only knows the view.
    struct Hooks
    {
        std::function<void(const QModelIndex&, const QString&)> Commit;
        std::function<QStringList(const QModelIndex&)> Choices;
        std::function<void(const QModelIndex&, ValueEditor*)> Browse;
        std::function<void(const QModelIndex&, ValueEditor*)> PickColour;
    };

    PropertyDelegate(PropertyTree* tree, Hooks hooks);

    void SetHeadingColour(const QColor& colour) { m_heading = colour; }
    void SetLineColour(const QColor& colour) { m_line = colour; }
    void SetBackgroundColour(const QColor& colour) { m_background = colour; }
    QWidget* OpenEditor() const { return m_editor; }
    // While a dialog started from an editor is open, losing focus does not end the edit.
    void SetDialogOpen(bool open) { m_dialogOpen = open; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(
        QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void PaintHeading(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void PaintCell(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    PropertyTree* m_tree;
    Hooks m_hooks;
    QColor m_heading;
    QColor m_line;
    QColor m_background;
    bool m_dialogOpen = false;
    // The one editor open at a time (mutable: Qt creates editors through a const function).
    mutable QPointer<QWidget> m_editor;
};

} // namespace karvex::grid
