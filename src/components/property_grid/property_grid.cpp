#include "components/property_grid/property_grid.h"

#include "components/common/color.h"
#include "components/property_grid/property_delegate.h"
#include "components/property_grid/property_tree.h"
#include "components/property_grid/value_editor.h"

#include <QColorDialog>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace karvex {

using grid::kCaptionColumn;
using grid::kValueColumn;

namespace {

QString KeyAt(const QModelIndex& index)
{
    return index.siblingAtColumn(kCaptionColumn).data(grid::KeyRole).toString();
}

} // namespace

PropertyGrid::PropertyGrid(QWidget* parent)
    : QWidget(parent)
{
    m_tree = new grid::PropertyTree(this);
    grid::PropertyDelegate::Hooks hooks;
    hooks.Commit = [this](const QModelIndex& index, const QString& value) {
        CommitUserValue(KeyAt(index), value);
    };
    hooks.Choices = [this](const QModelIndex& index) {
        QStringList choices;
        emit ChoicesWanted(choices, KeyAt(index));
        return choices;
    };
    hooks.Browse
        = [this](const QModelIndex& index, grid::ValueEditor* editor) { OnBrowse(index, editor); };
    hooks.PickColour = [this](const QModelIndex& index, grid::ValueEditor* editor) {
        OnPickColour(index, editor);
    };
    m_delegate = new grid::PropertyDelegate(m_tree, std::move(hooks));
    m_tree->setItemDelegate(m_delegate);

    auto* description = new QFrame(this);
    description->setObjectName(QStringLiteral("DescriptionBox"));
    description->setFrameShape(QFrame::StyledPanel);
    m_descriptionCaption = new QLabel(description);
    m_descriptionCaption->setObjectName(QStringLiteral("DescriptionCaption"));
    QFont bold = m_descriptionCaption->font();
    bold.setBold(true);
    m_descriptionCaption->setFont(bold);
    m_descriptionText = new QLabel(description);
    m_descriptionText->setObjectName(QStringLiteral("DescriptionText"));
    m_descriptionText->setWordWrap(true);
    m_descriptionText->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* descriptionLayout = new QVBoxLayout(description);
    descriptionLayout->setContentsMargins(6, 4, 6, 4);
    descriptionLayout->setSpacing(2);
    descriptionLayout->addWidget(m_descriptionCaption);
    descriptionLayout->addWidget(m_descriptionText, 1);
    description->setFixedHeight(fontMetrics().height() * 4 + 14);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(m_tree, 1);
    layout->addWidget(description);

    SetTitle(tr("Properties"));

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        ShowDescription(current);
        emit SelectionChanged(
            current ? current->data(kCaptionColumn, grid::KeyRole).toString() : QString());
    });

    SetHeadingColor(FromQColor(palette().color(QPalette::Window).darker(108)));
    ResetLineColor();
    SetBackgroundColor(FromQColor(palette().color(QPalette::Base)));
}

// An editor still open is dropped, not committed: ~QWidget closes a top-level grid, the focus
// leaves the editor, and its commit would call into a grid that is already half destroyed.
PropertyGrid::~PropertyGrid() { CancelEdit(); }

void PropertyGrid::AddItem(const QString& key, const QString& caption, PropertyKind kind,
    const QString& preset, const QString& description)
{
    m_tree->AddEntry(key, caption, static_cast<int>(kind), preset, description);
}

void PropertyGrid::SetValue(const QString& key, const QString& value)
{
    QTreeWidgetItem* item = m_tree->ItemByKey(key);
    if (!item)
        return;
    if (!m_committingKey.isEmpty() && key.toUpper() == m_committingKey)
        m_writtenDuringCommit = true;
    item->setText(kValueColumn, value);
}

QString PropertyGrid::Value(const QString& key) const
{
    const QTreeWidgetItem* item = m_tree->ItemByKey(key);
    return item ? item->text(kValueColumn) : QString();
}

void PropertyGrid::RemoveItem(const QString& key)
{
    if (QTreeWidgetItem* item = m_tree->ItemByKey(key))
        m_tree->RemoveEntry(item);
}

void PropertyGrid::SetItemState(const QString& key, int state)
{
    QTreeWidgetItem* item = m_tree->ItemByKey(key);
    if (!item)
        return;
    if (state == 1 && m_tree->currentItem() == item)
        CancelEdit();
    m_tree->SetState(item, state);
}

int PropertyGrid::ItemState(const QString& key) const
{
    const QTreeWidgetItem* item = m_tree->ItemByKey(key);
    return item ? item->data(kCaptionColumn, grid::StateRole).toInt() : 0;
}

void PropertyGrid::ResetItems()
{
    if (!m_committingKey.isEmpty())
        m_writtenDuringCommit = true;
    for (QTreeWidgetItem* item : m_tree->AllItems()) {
        if (!grid::PropertyTree::IsHeading(item))
            item->setText(kValueColumn, QString());
    }
}

void PropertyGrid::RedrawGrid()
{
    m_tree->viewport()->update();
    ShowDescription(m_tree->currentItem());
}

void PropertyGrid::SetUpdating(bool updating)
{
    m_tree->setUpdatesEnabled(!updating);
    if (!updating)
        m_tree->viewport()->update();
}

void PropertyGrid::SetBusy(bool busy) { m_busy = busy; }

bool PropertyGrid::IsBusy() const { return m_busy; }

int PropertyGrid::ItemCount() const { return m_tree->Count(); }

void PropertyGrid::SetGridEnabled(bool enabled)
{
    if (!enabled)
        CancelEdit();
    m_tree->SetEditingAllowed(enabled);
    m_tree->setEnabled(enabled);
}

void PropertyGrid::SetHeadingColor(std::int32_t color)
{
    m_delegate->SetHeadingColour(ToQColor(color));
    m_tree->viewport()->update();
}

void PropertyGrid::SetLineColor(std::int32_t color)
{
    m_delegate->SetLineColour(ToQColor(color));
    m_tree->viewport()->update();
}

void PropertyGrid::ResetLineColor()
{
    SetLineColor(FromQColor(palette().color(QPalette::Mid).lighter(135)));
}

void PropertyGrid::SetBackgroundColor(std::int32_t color)
{
    const QColor background = ToQColor(color);
    m_delegate->SetBackgroundColour(background);
    // The rows below the last entry take the same colour.
    QPalette palette = m_tree->palette();
    palette.setColor(QPalette::Base, background);
    m_tree->setPalette(palette);
    m_tree->viewport()->update();
}

void PropertyGrid::CancelEdit()
{
    if (QWidget* editor = m_delegate->OpenEditor())
        m_tree->CancelEditor(editor);
}

bool PropertyGrid::HasItem(const QString& key) const { return m_tree->ItemByKey(key) != nullptr; }

void PropertyGrid::CommitUserValue(const QString& key, QString value)
{
    QTreeWidgetItem* item = m_tree->ItemByKey(key);
    if (!item || item->text(kValueColumn) == value)
        return;
    item->setText(kValueColumn, value);
    if (m_busy)
        return;
    const QString upper = key.toUpper();
    // A handler may itself lead to another commit; keep the outer one's bookkeeping.
    const QString outerKey = m_committingKey;
    const bool outerWritten = m_writtenDuringCommit;
    m_committingKey = upper;
    m_writtenDuringCommit = false;
    emit ValueChanged(value, key);
    const bool written = m_writtenDuringCommit;
    m_committingKey = outerKey;
    m_writtenDuringCommit = outerWritten || (written && outerKey == upper);
    // The handler may have removed the entry, so it is looked up again.
    if (QTreeWidgetItem* again = m_tree->ItemByKey(upper); again && !written)
        again->setText(kValueColumn, value);
}

void PropertyGrid::OnBrowse(const QModelIndex& index, grid::ValueEditor* editor)
{
    const QString key = KeyAt(index);
    QString value = editor->text();
    const QString before = value;
    QPointer<grid::ValueEditor> guard(editor);
    m_delegate->SetDialogOpen(true);
    // The browse handler counts as a commit of this entry: a SetValue on it is noticed.
    const QString outerKey = m_committingKey;
    const bool outerWritten = m_writtenDuringCommit;
    m_committingKey = key.toUpper();
    m_writtenDuringCommit = false;
    emit BrowseClicked(value, key);
    const bool written = m_writtenDuringCommit;
    m_committingKey = outerKey;
    m_writtenDuringCommit = outerWritten;
    m_delegate->SetDialogOpen(false);
    // A handler that wrote the entry itself has done the work: the editor's old text must not
    // be committed over it.
    if (value == before && written) {
        CancelEdit();
        return;
    }
    FinishDialogValue(key, before, value, guard);
}

void PropertyGrid::OnPickColour(const QModelIndex& index, grid::ValueEditor* editor)
{
    const QString key = KeyAt(index);
    const QString before = editor->text();
    QPointer<grid::ValueEditor> guard(editor);
    m_delegate->SetDialogOpen(true);
    const QColor initial = grid::ColourFromText(before);
    const QColor chosen
        = QColorDialog::getColor(initial.isValid() ? initial : QColor(Qt::white), this);
    m_delegate->SetDialogOpen(false);
    FinishDialogValue(key, before, chosen.isValid() ? grid::ColourText(chosen) : before, guard);
}

void PropertyGrid::FinishDialogValue(
    const QString& key, const QString& before, const QString& value, grid::ValueEditor* editor)
{
    if (value == before) {
        if (editor)
            editor->setFocus();
        return;
    }
    CancelEdit();
    CommitUserValue(key, value);
}

void PropertyGrid::SetTitle(const QString& title)
{
    setAccessibleName(title);
    m_tree->setAccessibleName(title);
    m_tree->setAccessibleDescription(
        tr("Each row is a property and its value; press F2 or start typing to change a value."));
    m_descriptionCaption->setAccessibleDescription(tr("The selected property of %1").arg(title));
    m_descriptionText->setAccessibleDescription(
        tr("What the selected property of %1 means").arg(title));
}

void PropertyGrid::ShowDescription(QTreeWidgetItem* item)
{
    m_descriptionCaption->setText(item ? item->text(kCaptionColumn) : QString());
    m_descriptionText->setText(
        item ? item->data(kCaptionColumn, grid::DescriptionRole).toString() : QString());
}

} // namespace karvex
