#include "components/property_grid/property_tree.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace karvex::grid {

namespace {

constexpr int kHeadingKind = 0;
// The expand arrow of a heading sits in this many pixels at the row's left.
constexpr int kArrowWidth = 18;

// A row that names itself for assistive technology: the value cell is read as "Caption: value"
// (an empty value as "empty"), and both cells carry the row's description.
class PropertyItem : public QTreeWidgetItem
{
public:
    QVariant data(int column, int role) const override
    {
        if (role == Qt::AccessibleTextRole && column == kValueColumn) {
            const QString value = text(kValueColumn);
            return text(kCaptionColumn) + ": " + (value.isEmpty() ? QObject::tr("empty") : value);
        }
        if (role == Qt::AccessibleDescriptionRole)
            return QTreeWidgetItem::data(kCaptionColumn, DescriptionRole);
        return QTreeWidgetItem::data(column, role);
    }
};

} // namespace

PropertyTree::PropertyTree(QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("PropertyTree"));
    setColumnCount(2);
    setHeaderLabels({ tr("Property"), tr("Value") });
    header()->setSectionResizeMode(kCaptionColumn, QHeaderView::Interactive);
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
    header()->resizeSection(kCaptionColumn, 140);
    // Values are cut at the column's edge like in any property list; no sideways scrolling.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(header(), &QHeaderView::sectionResized, this, [this](int section) {
        if (section == kCaptionColumn && header()->isVisible() && QApplication::mouseButtons())
            m_captionWidthSet = true;
    });
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setExpandsOnDoubleClick(true);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
        | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
}

void PropertyTree::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    // Captions take a little under half the width until the user sets the divider.
    if (!m_captionWidthSet)
        header()->resizeSection(kCaptionColumn, std::max(70, viewport()->width() * 9 / 20));
}

QTreeWidgetItem* PropertyTree::ItemByKey(const QString& key) const
{
    return m_byKey.value(key.toUpper(), nullptr);
}

QTreeWidgetItem* PropertyTree::AddEntry(const QString& key, const QString& caption, int kind,
    const QString& preset, const QString& description)
{
    const QString upper = key.toUpper();
    if (m_byKey.contains(upper))
        return nullptr;
    auto* item = new PropertyItem;
    item->setText(kCaptionColumn, caption);
    item->setData(kCaptionColumn, KeyRole, key);
    item->setData(kCaptionColumn, KindRole, kind);
    item->setData(kCaptionColumn, StateRole, 0);
    item->setData(kCaptionColumn, DescriptionRole, description);
    if (kind == kHeadingKind) {
        addTopLevelItem(item);
        item->setFirstColumnSpanned(true);
        item->setExpanded(true);
    } else {
        item->setText(kValueColumn, preset);
        QTreeWidgetItem* lastHeading = nullptr;
        for (int i = topLevelItemCount() - 1; i >= 0 && !lastHeading; --i) {
            if (IsHeading(topLevelItem(i)))
                lastHeading = topLevelItem(i);
        }
        if (lastHeading)
            lastHeading->addChild(item);
        else
            addTopLevelItem(item);
    }
    m_byKey.insert(upper, item);
    UpdateFlags(item);
    return item;
}

void PropertyTree::RemoveEntry(QTreeWidgetItem* item)
{
    for (QTreeWidgetItem* child : item->takeChildren()) {
        m_byKey.remove(child->data(kCaptionColumn, KeyRole).toString().toUpper());
        delete child;
    }
    m_byKey.remove(item->data(kCaptionColumn, KeyRole).toString().toUpper());
    delete item;
}

std::vector<QTreeWidgetItem*> PropertyTree::AllItems() const
{
    std::vector<QTreeWidgetItem*> items;
    items.reserve(m_byKey.size());
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = topLevelItem(i);
        items.push_back(top);
        for (int c = 0; c < top->childCount(); ++c)
            items.push_back(top->child(c));
    }
    return items;
}

void PropertyTree::SetState(QTreeWidgetItem* item, int state)
{
    item->setData(kCaptionColumn, StateRole, state);
    UpdateFlags(item);
}

void PropertyTree::SetEditingAllowed(bool allowed)
{
    m_editingAllowed = allowed;
    for (QTreeWidgetItem* item : AllItems())
        UpdateFlags(item);
}

bool PropertyTree::StartEdit(QTreeWidgetItem* item)
{
    if (!IsEditable(item))
        return false;
    setCurrentItem(item);
    m_openedByKey = false;
    return QTreeWidget::edit(indexFromItem(item, kValueColumn), AllEditTriggers, nullptr);
}

void PropertyTree::CancelEditor(QWidget* editor)
{
    closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool PropertyTree::IsHeading(const QTreeWidgetItem* item)
{
    return item && KindOf(item) == kHeadingKind;
}

int PropertyTree::KindOf(const QTreeWidgetItem* item)
{
    return item->data(kCaptionColumn, KindRole).toInt();
}

bool PropertyTree::IsEditable(const QTreeWidgetItem* item) const
{
    return item && m_editingAllowed && !IsHeading(item)
        && item->data(kCaptionColumn, StateRole).toInt() != 1;
}

void PropertyTree::UpdateFlags(QTreeWidgetItem* item)
{
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsEditable(item))
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
}

bool PropertyTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // Whatever cell was hit, the value is what gets edited.
    const QModelIndex value = index.isValid() ? index.siblingAtColumn(kValueColumn) : index;
    if (trigger != NoEditTriggers && !IsEditable(itemFromIndex(value)))
        return false;
    m_openedByKey = trigger == AnyKeyPressed;
    return QTreeWidget::edit(value, trigger, event);
}

void PropertyTree::keyPressEvent(QKeyEvent* event)
{
    QTreeWidgetItem* item = currentItem();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (item && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (IsHeading(item))
            item->setExpanded(!item->isExpanded());
        else
            StartEdit(item);
        event->accept();
        return;
    }
    // Typed text goes into the entry before the view can read '+', '-' or '*' as folding keys.
    if (item && plain && !IsHeading(item) && !event->text().isEmpty()
        && event->text().at(0).isPrint()) {
        if (edit(indexFromItem(item, kValueColumn), AnyKeyPressed, event))
            return;
    }
    QTreeWidget::keyPressEvent(event);
}

void PropertyTree::mousePressEvent(QMouseEvent* event)
{
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (item && IsHeading(item) && event->button() == Qt::LeftButton
        && event->position().x() < kArrowWidth) {
        item->setExpanded(!item->isExpanded());
        setCurrentItem(item);
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
    // One click on a value starts editing it, as in other property grids.
    if (item && event->button() == Qt::LeftButton && IsEditable(item)
        && columnAt(event->position().toPoint().x()) == kValueColumn)
        StartEdit(item);
}

QModelIndex PropertyTree::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (action == MoveNext || action == MovePrevious) {
        QTreeWidgetItem* next = NextEditable(currentItem(), action == MoveNext);
        return next ? indexFromItem(next, kCaptionColumn) : QModelIndex();
    }
    return QTreeWidget::moveCursor(action, modifiers);
}

QTreeWidgetItem* PropertyTree::NextEditable(QTreeWidgetItem* from, bool forward) const
{
    const std::vector<QTreeWidgetItem*> items = AllItems();
    const auto at = std::find(items.begin(), items.end(), from);
    if (at == items.end())
        return nullptr;
    auto position = at - items.begin();
    const auto count = static_cast<decltype(position)>(items.size());
    for (position += forward ? 1 : -1; position >= 0 && position < count;
         position += forward ? 1 : -1) {
        QTreeWidgetItem* candidate = items[static_cast<std::size_t>(position)];
        const QTreeWidgetItem* parent = candidate->parent();
        if (IsEditable(candidate) && (!parent || parent->isExpanded()))
            return candidate;
    }
    return nullptr;
}

} // namespace karvex::grid
