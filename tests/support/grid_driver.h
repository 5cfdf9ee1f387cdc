#pragma once

// Drives a property grid as a user does: clicks on its rows, keys in its in-place editors,
// picks from its choice lists and presses its browse buttons.

#include "components/property_grid/property_grid.h"
#include "components/property_grid/property_tree.h"
#include "components/property_grid/value_editor.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QTest>
#include <QToolButton>

namespace karvex::test {

class GridDriver
{
public:
    explicit GridDriver(PropertyGrid& grid)
        : m_grid(grid)
        , m_tree(grid.findChild<grid::PropertyTree*>("PropertyTree"))
    {
    }

    grid::PropertyTree* View() const { return m_tree; }

    // Clicks the row's value, or its caption.
    void Click(const QString& key, bool caption = false) const
    {
        m_tree->scrollToItem(m_tree->ItemByKey(key));
        const int x = caption ? 40 : m_tree->header()->sectionPosition(1) + 30;
        const int y = m_tree->visualItemRect(m_tree->ItemByKey(key)).center().y();
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, QPoint(x, y));
    }
    // The open in-place editor; nullptr when none is open.
    grid::ValueEditor* Editor() const
    {
        for (auto* editor : m_tree->findChildren<grid::ValueEditor*>()) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
    }
    QToolButton* Button() const { return Editor()->findChild<QToolButton*>("BrowseButton"); }
    bool Closed() const
    {
        return QTest::qWaitFor([this] { return !Editor(); });
    }
    // Clicks the value and waits for its editor.
    bool Open(const QString& key) const
    {
        Click(key);
        return QTest::qWaitFor([this] { return Editor() != nullptr; });
    }
    // Types into the open editor, ends with the key and waits for the editor to close.
    bool Type(const QString& text, Qt::Key end = Qt::Key_Return) const
    {
        if (!Editor())
            return false;
        QTest::keyClicks(Editor(), text);
        QTest::keyClick(Editor(), end);
        return Closed();
    }
    bool Edit(const QString& key, const QString& text, Qt::Key end = Qt::Key_Return) const
    {
        return Open(key) && Type(text, end);
    }
    // Types a new value over the old one and commits it; returns what the grid then shows.
    QString Replace(const QString& key, const QString& text) const
    {
        if (!Open(key))
            return "(no editor)";
        QTest::keyClick(Editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Editor(), Qt::Key_Delete);
        return Type(text) ? m_grid.Value(key) : "(editor still open)";
    }
    // Opens a choice entry's list and clicks the item with that text; returns what the grid
    // then shows.
    QString Pick(const QString& key, const QString& text) const
    {
        Click(key);
        QComboBox* combo = nullptr;
        if (!QTest::qWaitFor([&] {
                combo = m_tree->findChild<QComboBox*>("ChoiceEditor");
                return combo && combo->view()->isVisible();
            }))
            return "(no list)";
        const int row = combo->findText(text);
        if (row < 0)
            return "(not offered)";
        QAbstractItemView* list = combo->view();
        const QRect item = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        const bool closed
            = QTest::qWaitFor([this] { return !m_tree->findChild<QComboBox*>("ChoiceEditor"); });
        return closed ? m_grid.Value(key) : "(list still open)";
    }

private:
    PropertyGrid& m_grid;
    grid::PropertyTree* m_tree;
};

// Opens a combo box's list from the keyboard and clicks the item at that row. (A list opened by
// a mouse press ignores a release that follows at once, as a real click's would be.)
inline bool PickFromCombo(QComboBox& combo, int row)
{
    combo.setFocus();
    QTest::keyClick(&combo, Qt::Key_F4);
    QAbstractItemView* list = combo.view();
    if (!QTest::qWaitFor([list] { return list->isVisible(); }))
        return false;
    const QRect item = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    return QTest::qWaitFor([list] { return !list->isVisible(); });
}

} // namespace karvex::test
