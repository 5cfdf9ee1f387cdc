#include "components/color_selector/color_popup.h"

#include "components/color_selector/color_selector.h"
#include "components/common/color.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QToolTip>
#include <cstdlib>
#include <limits>
#include <utility>

namespace karvex::colorselector {

namespace {

// A ring two pixels wide just inside the area, inset further by the given margin. The
// style's own focus frame shows only after keyboard use; the popup's focus must always show.
void PaintFocusRing(QPainter& painter, const QRect& area, const QColor& color, int inset)
{
    const QRect outer = area.adjusted(inset, inset, -inset, -inset);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(color);
    painter.drawRect(outer.adjusted(0, 0, -1, -1));
    painter.drawRect(outer.adjusted(1, 1, -2, -2));
    painter.restore();
}

bool IsCustomCell(int cell)
{
    return cell >= ColorSelector::kFirstCustomCell && cell <= ColorSelector::kLastCustomCell;
}

} // namespace

// The face as a combo box whose value is the colour's text; its press action opens the popup.
class FaceAccessible : public QAccessibleWidget
{
public:
    explicit FaceAccessible(ColorSelector* face)
        : QAccessibleWidget(face, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Face()->FaceText();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        return QStringList { showMenuAction() } + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (name == showMenuAction() || name == pressAction())
            Face()->ShowPopup();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    ColorSelector* Face() const { return static_cast<ColorSelector*>(widget()); }
};

namespace {

// A cell as a list item (a colour) or a button, with the popup's focus and the current colour
// or palette as its states.
class CellAccessible : public QAccessibleWidget
{
public:
    explicit CellAccessible(ColorCell* cell)
        : QAccessibleWidget(cell, cell->IsButton() ? QAccessible::Button : QAccessible::ListItem)
    {
    }

    QStringList actionNames() const override
    {
        return QStringList { pressAction() } + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (name == pressAction())
            Cell()->Press();
        else
            QAccessibleWidget::doAction(name);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        auto* popup = static_cast<ColorPopup*>(Cell()->parentWidget());
        const ColorSelector* owner = popup->Owner();
        const int cell = Cell()->Cell();
        state.focusable = true;
        state.focused = popup->isVisible() && popup->FocusCell() == cell;
        if (cell == ColorSelector::kNormalCell || cell == ColorSelector::kSystemCell) {
            state.checkable = true;
            state.checked = owner->IsSystemPalette() == (cell == ColorSelector::kSystemCell);
        } else if (!Cell()->IsButton()) {
            state.selectable = true;
            state.selected = owner->CellColor(cell) == owner->SelectedColor();
        }
        return state;
    }

private:
    ColorCell* Cell() const { return static_cast<ColorCell*>(widget()); }
};

QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("karvex::colorselector::ColorCell"))
        return new CellAccessible(static_cast<ColorCell*>(object));
    if (className == QLatin1String("karvex::ColorSelector"))
        return new FaceAccessible(static_cast<ColorSelector*>(object));
    return nullptr;
}

} // namespace

void InstallAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(&AccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

ColorCell::ColorCell(ColorPopup* popup, int cell)
    : QWidget(popup)
    , m_popup(popup)
    , m_cell(cell)
{
    // The popup finds the cell under the pointer itself, testing the cells in their order.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

bool ColorCell::IsButton() const
{
    return m_cell == ColorSelector::kTransparentCell || m_cell >= ColorSelector::kNormalCell;
}

void ColorCell::Press() { m_popup->Owner()->ChooseCell(m_cell); }

void ColorCell::SetPressed(bool pressed)
{
    if (m_pressed == pressed)
        return;
    m_pressed = pressed;
    update();
}

void ColorCell::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const bool focused = m_popup->FocusCell() == m_cell;
    if (IsButton())
        PaintButton(painter, focused);
    else
        PaintColor(painter, focused);
}

void ColorCell::PaintButton(QPainter& painter, bool focused)
{
    const ColorSelector* owner = m_popup->Owner();
    QStyleOptionButton option;
    option.initFrom(this);
    option.state &= ~QStyle::State_HasFocus;
    if (focused)
        option.state |= QStyle::State_HasFocus;
    // The button of the palette shown stays pushed in.
    const bool current = (m_cell == ColorSelector::kNormalCell && !owner->IsSystemPalette())
        || (m_cell == ColorSelector::kSystemCell && owner->IsSystemPalette());
    option.state |= (m_pressed || current) ? QStyle::State_Sunken : QStyle::State_Raised;
    if (current) {
        // Bold as well: a pushed-in button hardly shows on some palettes.
        option.state |= QStyle::State_On;
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        option.fontMetrics = QFontMetrics(bold);
    }
    option.text
        = option.fontMetrics.elidedText(m_popup->CellName(m_cell), Qt::ElideRight, width() - 6);
    QStyleOptionButton shown = option;
    style()->drawControl(QStyle::CE_PushButton, &shown, &painter, this);
    if (focused)
        PaintFocusRing(painter, rect(), palette().color(QPalette::Highlight), 3);
}

void ColorCell::PaintColor(QPainter& painter, bool focused)
{
    const ColorSelector* owner = m_popup->Owner();
    const QPalette& colors = palette();
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    const bool empty = IsCustomCell(m_cell)
        && !owner->CustomColors().at(
            static_cast<std::size_t>(m_cell - ColorSelector::kFirstCustomCell));
    painter.setBrush(Qt::NoBrush);
    if (empty) {
        // An empty custom slot: the popup's own background inside a dotted outline.
        QColor outline = colors.color(QPalette::WindowText);
        outline.setAlpha(90);
        painter.setPen(QPen(outline, 1, Qt::DotLine));
        painter.drawRect(inner.adjusted(0, 0, -1, -1));
    } else {
        const std::int32_t value = owner->CellColor(m_cell);
        painter.fillRect(inner, ToQColor(value));
        // A faint outline keeps a colour close to the background visible on any palette.
        QColor outline = colors.color(QPalette::WindowText);
        outline.setAlpha(110);
        painter.setPen(outline);
        painter.drawRect(inner.adjusted(0, 0, -1, -1));
        if (value == owner->SelectedColor()) {
            painter.setPen(colors.color(QPalette::WindowText));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    if (focused)
        PaintFocusRing(painter, rect(), colors.color(QPalette::Highlight), 0);
}

ColorPopup::ColorPopup(ColorSelector* owner)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint)
    , m_owner(owner)
{
    InstallAccessibleFactory();
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Colours"));
    for (int cell = 1; cell <= ColorSelector::kCellCount; ++cell)
        m_cells.at(static_cast<std::size_t>(cell)) = new ColorCell(this, cell);
}

QString ColorPopup::CellName(int cell) const
{
    switch (cell) {
    case ColorSelector::kTransparentCell:
        return m_owner->TextTransparent();
    case ColorSelector::kNormalCell:
        return m_owner->TextNormal();
    case ColorSelector::kSystemCell:
        return m_owner->TextSystem();
    case ColorSelector::kMoreColorCell:
        return m_owner->TextMoreColor();
    default:
        break;
    }
    if (IsCustomCell(cell)) {
        const int slot = cell - ColorSelector::kFirstCustomCell + 1;
        const auto value = m_owner->CustomColors().at(static_cast<std::size_t>(slot - 1));
        return value ? tr("Custom colour %1 %2").arg(slot).arg(ColorSelector::Convert2Hex(*value))
                     : tr("Empty custom slot %1").arg(slot);
    }
    const std::int32_t value = m_owner->CellColor(cell);
    const QString system = SystemColorName(value);
    return system.isEmpty() ? ColorSelector::Convert2Hex(value) : system;
}

void ColorPopup::Sync()
{
    for (int cell = 1; cell <= ColorSelector::kCellCount; ++cell) {
        ColorCell* widget = m_cells.at(static_cast<std::size_t>(cell));
        const QRect& area = m_owner->m_cellRects.at(static_cast<std::size_t>(cell));
        widget->setVisible(!area.isNull());
        if (area.isNull())
            continue;
        widget->setGeometry(area);
        const QString name = CellName(cell);
        widget->setAccessibleName(name);
        widget->update();
    }
    setFixedSize(m_owner->m_popupSize);
    if (m_focusCell == 0 || m_owner->CellRect(m_focusCell).isNull())
        SetFocusCell(ColorSelector::kFirstPaletteCell);
    update();
}

void ColorPopup::SetFocusCell(int cell)
{
    if (cell < 1 || cell > ColorSelector::kCellCount || m_owner->CellRect(cell).isNull())
        return;
    const int old = std::exchange(m_focusCell, cell);
    if (old != 0)
        m_cells.at(static_cast<std::size_t>(old))->update();
    ColorCell* widget = m_cells.at(static_cast<std::size_t>(cell));
    widget->update();
    // Real focus on the cell lets assistive technology follow the arrow keys.
    if (isVisible())
        widget->setFocus(Qt::OtherFocusReason);
}

int ColorPopup::CellAt(const QPoint& pos) const
{
    for (int cell = 1; cell <= ColorSelector::kCellCount; ++cell) {
        if (m_owner->CellRect(cell).contains(pos))
            return cell;
    }
    return 0;
}

int ColorPopup::Neighbour(int from, int dx, int dy) const
{
    const QRect origin = m_owner->CellRect(from);
    if (origin.isNull())
        return from;
    int best = from;
    long bestScore = std::numeric_limits<long>::max();
    for (int cell = 1; cell <= ColorSelector::kCellCount; ++cell) {
        const QRect other = m_owner->CellRect(cell);
        if (cell == from || other.isNull())
            continue;
        const int across = std::abs(other.center().x() - origin.center().x());
        long score = 0;
        if (dx != 0) {
            const bool sameRow
                = other.center().y() >= origin.top() && other.center().y() <= origin.bottom();
            const int step = other.center().x() - origin.center().x();
            if (!sameRow || step * dx <= 0)
                continue;
            score = across;
        } else {
            const int gap = dy > 0 ? other.top() - origin.bottom() : origin.top() - other.bottom();
            if (gap <= 0)
                continue;
            // The nearest row first, then the cell nearest in that row.
            score = static_cast<long>(gap) * 100000 + across;
        }
        if (score < bestScore) {
            bestScore = score;
            best = cell;
        }
    }
    return best;
}

bool ColorPopup::event(QEvent* event)
{
    // The cells let the mouse through to the popup, so their tips are shown from here.
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int cell = CellAt(help->pos());
        if (cell != 0)
            QToolTip::showText(help->globalPos(), CellName(cell), this, m_owner->CellRect(cell));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void ColorPopup::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = 1;
    style()->drawPrimitive(QStyle::PE_FrameMenu, &frame, &painter, this);
}

void ColorPopup::mousePressEvent(QMouseEvent* event)
{
    m_openingRelease = false;
    const QPoint pos = event->position().toPoint();
    if (!rect().contains(pos)) {
        // A press on the face closes the popup; it must not open it again at once.
        const QRect face(m_owner->mapToGlobal(QPoint(0, 0)), m_owner->size());
        if (face.contains(event->globalPosition().toPoint()))
            setAttribute(Qt::WA_NoMouseReplay);
        m_owner->HidePopup();
        return;
    }
    const int cell = CellAt(pos);
    if (cell == 0)
        return;
    SetFocusCell(cell);
    if (m_cells.at(static_cast<std::size_t>(cell))->IsButton()) {
        m_pressedCell = cell;
        m_cells.at(static_cast<std::size_t>(cell))->SetPressed(true);
    }
}

void ColorPopup::mouseMoveEvent(QMouseEvent* event)
{
    const int cell = CellAt(event->position().toPoint());
    if (cell != 0)
        SetFocusCell(cell);
    if (m_pressedCell != 0)
        m_cells.at(static_cast<std::size_t>(m_pressedCell))->SetPressed(cell == m_pressedCell);
}

void ColorPopup::ReleasePressedCell()
{
    if (m_pressedCell != 0)
        m_cells.at(static_cast<std::size_t>(m_pressedCell))->SetPressed(false);
    m_pressedCell = 0;
}

void ColorPopup::mouseReleaseEvent(QMouseEvent* event)
{
    const bool opening = std::exchange(m_openingRelease, false);
    ReleasePressedCell();
    const QPoint pos = event->position().toPoint();
    const int cell = CellAt(pos);
    if (cell != 0)
        m_owner->ChooseCell(cell);
    else if (!rect().contains(pos) && !opening)
        m_owner->HidePopup();
}

void ColorPopup::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_F4:
        m_owner->HidePopup();
        break;
    case Qt::Key_Up:
        if (alt)
            m_owner->HidePopup();
        else
            SetFocusCell(Neighbour(m_focusCell, 0, -1));
        break;
    case Qt::Key_Down:
        if (alt)
            m_owner->HidePopup();
        else
            SetFocusCell(Neighbour(m_focusCell, 0, 1));
        break;
    case Qt::Key_Left:
        SetFocusCell(Neighbour(m_focusCell, -1, 0));
        break;
    case Qt::Key_Right:
        SetFocusCell(Neighbour(m_focusCell, 1, 0));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_focusCell != 0)
            m_owner->ChooseCell(m_focusCell);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool ColorPopup::focusNextPrevChild(bool next)
{
    // Tab walks the visible cells in their numbered order, round the end.
    for (int step = 1; step <= ColorSelector::kCellCount; ++step) {
        const int offset = next ? step : -step;
        const int cell = ((m_focusCell - 1 + offset + ColorSelector::kCellCount * 2)
                             % ColorSelector::kCellCount)
            + 1;
        if (!m_owner->CellRect(cell).isNull()) {
            SetFocusCell(cell);
            return true;
        }
    }
    return true;
}

void ColorPopup::hideEvent(QHideEvent* event)
{
    ReleasePressedCell();
    m_openingRelease = false;
    QWidget::hideEvent(event);
    m_owner->OnPopupHidden();
}

} // namespace karvex::colorselector
