#include "components/property_grid/property_delegate.h"

#include "components/property_grid/property_grid.h"
#include "components/property_grid/property_tree.h"
#include "components/property_grid/value_editor.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace karvex::grid {

namespace {

// Kinds as the tree stores them, from the grid's own enumeration.
constexpr int kColourKind = static_cast<int>(PropertyKind::Colour);
constexpr int kNumberKind = static_cast<int>(PropertyKind::Number);
constexpr int kFileKind = static_cast<int>(PropertyKind::File);
constexpr int kChoiceKind = static_cast<int>(PropertyKind::Choice);

// The band at the left of entries, in the heading colour, that sets categories apart.
constexpr int kGutter = 14;
constexpr int kPadding = 5;
constexpr int kSwatchWidth = 16;

int KindAt(const QModelIndex& index)
{
    return index.siblingAtColumn(kCaptionColumn).data(KindRole).toInt();
}

bool IsGreyed(const QStyleOptionViewItem& option, const QModelIndex& index)
{
    return !(option.state & QStyle::State_Enabled)
        || index.siblingAtColumn(kCaptionColumn).data(StateRole).toInt() == 1;
}

} // namespace

PropertyDelegate::PropertyDelegate(PropertyTree* tree, Hooks hooks)
    : QStyledItemDelegate(tree)
    , m_tree(tree)
    , m_hooks(std::move(hooks))
{
}

void PropertyDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    if (KindAt(index) == 0)
        PaintHeading(painter, option, index);
    else
        PaintCell(painter, option, index);
    painter->restore();
}

void PropertyDelegate::PaintHeading(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect rect = option.rect;
    painter->fillRect(rect, m_heading);
    QStyleOption arrow;
    arrow.initFrom(m_tree);
    arrow.rect = QRect(rect.left() + 3, rect.top() + (rect.height() - 10) / 2, 10, 10);
    arrow.palette.setColor(QPalette::ButtonText, option.palette.color(QPalette::WindowText));
    const auto primitive = m_tree->isExpanded(index.siblingAtColumn(kCaptionColumn))
        ? QStyle::PE_IndicatorArrowDown
        : QStyle::PE_IndicatorArrowRight;
    m_tree->style()->drawPrimitive(primitive, &arrow, painter, m_tree);

    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    const QFontMetrics metrics(bold);
    const QString caption = index.siblingAtColumn(kCaptionColumn).data().toString();
    QRect textRect = rect.adjusted(kGutter + kPadding, 0, -kPadding, 0);
    textRect.setWidth(
        std::min(textRect.width(), metrics.horizontalAdvance(caption) + 2 * kPadding));
    if (option.state & QStyle::State_Selected) {
        const auto group
            = (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
        painter->fillRect(textRect.adjusted(-kPadding / 2, 2, kPadding, -2),
            option.palette.color(group, QPalette::Highlight));
        painter->setPen(option.palette.color(group, QPalette::HighlightedText));
    } else {
        painter->setPen(option.palette.color(QPalette::WindowText));
    }
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
        metrics.elidedText(caption, Qt::ElideRight, rect.width() - kGutter - 2 * kPadding));
    painter->setPen(m_line);
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
}

void PropertyDelegate::PaintCell(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QRect rect = option.rect;
    painter->fillRect(rect, m_background);
    const bool greyed = IsGreyed(option, index);
    QColor textColour
        = option.palette.color(greyed ? QPalette::Disabled : QPalette::Active, QPalette::Text);
    const QString text = index.data().toString();

    if (index.column() == kCaptionColumn) {
        painter->fillRect(QRect(rect.left(), rect.top(), kGutter, rect.height()), m_heading);
        rect.setLeft(rect.left() + kGutter);
        if (option.state & QStyle::State_Selected) {
            const auto group
                = (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
            painter->fillRect(rect, option.palette.color(group, QPalette::Highlight));
            textColour = option.palette.color(group, QPalette::HighlightedText);
        }
    } else if (KindAt(index) == kColourKind && !text.isEmpty()) {
        const int side = rect.height() - 8;
        PaintSwatch(*painter,
            QRect(rect.left() + kPadding, rect.top() + (rect.height() - side) / 2, kSwatchWidth,
                side),
            ColourFromText(text));
        rect.setLeft(rect.left() + kSwatchWidth + kPadding);
    }

    painter->setPen(textColour);
    painter->setFont(option.font);
    const QRect textRect = rect.adjusted(kPadding, 0, -kPadding, 0);
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
        option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));

    painter->setPen(m_line);
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    if (index.column() == kCaptionColumn)
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
}

QSize PropertyDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(20, option.fontMetrics.height() + 7));
    return size;
}

QWidget* PropertyDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem& /*option*/, const QModelIndex& index) const
{
    const int kind = KindAt(index);
    const QPersistentModelIndex persistent(index);
    QWidget* editor = nullptr;
    if (kind == kChoiceKind) {
        const QStringList choices = m_hooks.Choices ? m_hooks.Choices(index) : QStringList();
        if (!choices.isEmpty()) {
            auto* combo = new QComboBox(parent);
            combo->setObjectName(QStringLiteral("ChoiceEditor"));
            combo->addItems(choices);
            auto* self = const_cast<PropertyDelegate*>(this);
            connect(combo, &QComboBox::activated, self, [self, combo] {
                emit self->commitData(combo);
                emit self->closeEditor(combo, QAbstractItemDelegate::SubmitModelCache);
            });
            // A click opens the list at once; a typed key picks an item instead.
            if (!m_tree->OpenedByKey()) {
                QTimer::singleShot(0, combo, [combo] {
                    if (combo->isVisible())
                        combo->showPopup();
                });
            }
            editor = combo;
        }
    }
    if (!editor) {
        const bool swatch = kind == kColourKind;
        auto* line = new ValueEditor(parent, swatch, swatch || kind == kFileKind);
        if (kind == kNumberKind)
            line->setValidator(MakeNumberValidator(line));
        if (kind == kColourKind)
            line->setValidator(MakeColourValidator(line));
        auto* self = const_cast<PropertyDelegate*>(this);
        connect(line, &ValueEditor::ButtonClicked, self, [self, line, persistent, kind] {
            const auto& hook
                = kind == kColourKind ? self->m_hooks.PickColour : self->m_hooks.Browse;
            if (hook && persistent.isValid())
                hook(persistent, line);
        });
        editor = line;
    }
    editor->setAutoFillBackground(true);
    m_editor = editor;
    return editor;
}

void PropertyDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString value = index.data().toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        combo->setCurrentIndex(combo->findText(value, Qt::MatchFixedString));
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(value);
}

void PropertyDelegate::setModelData(
    QWidget* editor, QAbstractItemModel* /*model*/, const QModelIndex& index) const
{
    QString value;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // Leaving a list that shows no choice keeps the old value.
        if (combo->currentIndex() < 0)
            return;
        value = combo->currentText();
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        value = line->text();
    } else {
        return;
    }
    if (KindAt(index) == kColourKind)
        value = NormalizeColourText(value);
    if (m_hooks.Commit)
        m_hooks.Commit(index, value);
}

void PropertyDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (editor == m_editor)
        m_editor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void PropertyDelegate::updateEditorGeometry(
    QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& /*index*/) const
{
    editor->setGeometry(option.rect.adjusted(1, 0, 0, -1));
}

bool PropertyDelegate::eventFilter(QObject* object, QEvent* event)
{
    if (m_dialogOpen && (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide))
        return false;
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace karvex::grid
