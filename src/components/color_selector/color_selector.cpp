#include "components/color_selector/color_selector.h"

#include "components/color_selector/color_popup.h"
#include "components/common/color.h"

#include <QAccessible>
#include <QColorDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <cmath>
#include <utility>

namespace karvex {

namespace {

// The fixed palette, rows of eight from the top left, as colour numbers (&HBBGGRR).
constexpr std::array<std::int32_t, 48> kNormalPalette {
    0xFFFFFF,
    0xC0C0FF,
    0xC0E0FF,
    0xC0FFFF,
    0xC0FFC0,
    0xFFFFC0,
    0xFFC0C0,
    0xFFC0FF, //
    0xE0E0E0,
    0x8080FF,
    0x80C0FF,
    0x80FFFF,
    0x80FF80,
    0xFFFF80,
    0xFF8080,
    0xFF80FF, //
    0xC0C0C0,
    0x0000FF,
    0x0080FF,
    0x00FFFF,
    0x00FF00,
    0xFFFF00,
    0xFF0000,
    0xFF00FF, //
    0x808080,
    0x0000C0,
    0x0040C0,
    0x00C0C0,
    0x00C000,
    0xC0C000,
    0xC00000,
    0xC000C0, //
    0x404040,
    0x000080,
    0x004080,
    0x008080,
    0x008000,
    0x808000,
    0x800000,
    0x800080, //
    0x000000,
    0x000040,
    0x404080,
    0x004040,
    0x004000,
    0x404000,
    0x400000,
    0x400040,
};

constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kFirstSystemColor = 0x80000000u;

// The layout's own units: left margin 4, right edge 139, so the popup is 143 wide, and the
// content ends 4 below the running top, with a margin of 4 under it.
constexpr int kMargin = 4;
constexpr int kPopupWidth = 143;
constexpr int kButtonHeight = 21;
constexpr double kMaxLayoutScale = 3.0;

// The default "More Color" dialog: Qt's colour dialog (it always shows its custom-colour
// part) with its sixteen custom colours cleared to white.
std::optional<QColor> RunColorDialog(const QColor& initial, QWidget* parent)
{
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, QColor(Qt::white));
    QColorDialog dialog(initial, parent);
    dialog.setWindowTitle(QObject::tr("More Colors"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

QColor Blend(const QColor& first, const QColor& second)
{
    return QColor((first.red() + second.red()) / 2, (first.green() + second.green()) / 2,
        (first.blue() + second.blue()) / 2);
}

// A checkerboard of the field's colour and a shade of the ink: the usual sign for "no colour".
void PaintCheckerboard(QPainter& painter, const QRect& area, const QColor& back, const QColor& ink)
{
    const QColor shade = Blend(Blend(ink, back), back);
    painter.fillRect(area, back);
    const int square = std::max(3, area.height() / 3);
    painter.save();
    painter.setClipRect(area);
    for (int y = area.top(); y <= area.bottom(); y += square) {
        for (int x = area.left() + ((y - area.top()) / square % 2) * square; x <= area.right();
             x += 2 * square)
            painter.fillRect(QRect(x, y, square, square), shade);
    }
    painter.restore();
}

} // namespace

ColorSelector::ColorSelector(QWidget* parent)
    : QWidget(parent)
    , m_colorDialog(&RunColorDialog)
{
    colorselector::InstallAccessibleFactory();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setAccessibleName(tr("Colour"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // Another program taking the focus closes the popup, as a click elsewhere does.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
        [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive)
                HidePopup();
        });
    LayOutCells();
}

ColorSelector::~ColorSelector()
{
    // The popup tells this face when it hides; it must go while the face is still whole.
    delete std::exchange(m_popup, nullptr);
}

QString ColorSelector::Convert2Hex(std::int32_t color)
{
    const auto bits = static_cast<std::uint32_t>(color);
    return QStringLiteral("#%1%2%3")
        .arg(bits & 0xFFu, 2, 16, QLatin1Char('0'))
        .arg((bits >> 8) & 0xFFu, 2, 16, QLatin1Char('0'))
        .arg((bits >> 16) & 0xFFu, 2, 16, QLatin1Char('0'))
        .toUpper();
}

void ColorSelector::SetSelectedColor(std::int32_t color)
{
    m_selectedColor = color;
    update();
    if (m_popup)
        m_popup->update();
    AnnounceValue();
    if (color == kTransparent)
        return;
    emit HexValueChanged(Convert2Hex(color));
    emit ColorChanged(color);
}

void ColorSelector::SetAppearance(int appearance)
{
    m_appearance = appearance;
    update();
}

void ColorSelector::SetControlBorder(bool on)
{
    m_controlBorder = on;
    updateGeometry();
    update();
}

void ColorSelector::SetBackColor(std::int32_t color)
{
    m_backColor = color;
    update();
}

void ColorSelector::SetViewColor(int viewColor)
{
    m_viewColor = viewColor;
    update();
}

void ColorSelector::SetDisplayHexValue(bool on)
{
    m_displayHexValue = on;
    updateGeometry();
    update();
}

void ColorSelector::SetShowTransparent(bool on)
{
    m_showTransparent = on;
    LayOutCells();
}

void ColorSelector::SetShowMoreColor(bool on)
{
    m_showMoreColor = on;
    LayOutCells();
}

void ColorSelector::SetShowNormalColor(bool on)
{
    m_showNormalColor = on;
    LayOutCells();
}

void ColorSelector::SetShowCustomColor(bool on)
{
    m_showCustomColor = on;
    LayOutCells();
}

void ColorSelector::SetTextNormal(const QString& text)
{
    m_textNormal = text;
    LayOutCells();
}

void ColorSelector::SetTextSystem(const QString& text)
{
    m_textSystem = text;
    LayOutCells();
}

void ColorSelector::SetTextMoreColor(const QString& text)
{
    m_textMoreColor = text;
    LayOutCells();
}

void ColorSelector::SetTextTransparent(const QString& text)
{
    m_textTransparent = text;
    LayOutCells();
    update();
}

void ColorSelector::SetColorDialog(ColorDialog dialog)
{
    m_colorDialog = dialog ? std::move(dialog) : ColorDialog(&RunColorDialog);
}

void ColorSelector::Refresh() { update(); }

void ColorSelector::AddCustomColor(std::int32_t color)
{
    m_customColors.at(static_cast<std::size_t>(m_nextCustomSlot - 1)) = color;
    m_nextCustomSlot = m_nextCustomSlot % kCustomSlots + 1;
    if (m_popup)
        m_popup->Sync();
}

std::int32_t ColorSelector::CellColor(int cell) const
{
    if (cell >= kFirstPaletteCell && cell <= kLastPaletteCell) {
        const int index = cell - kFirstPaletteCell;
        if (!m_systemPalette)
            return kNormalPalette.at(static_cast<std::size_t>(index));
        return index < kSystemColorCount
            ? static_cast<std::int32_t>(kFirstSystemColor + static_cast<std::uint32_t>(index))
            : kWhite;
    }
    if (cell >= kFirstCustomCell && cell <= kLastCustomCell)
        return m_customColors.at(static_cast<std::size_t>(cell - kFirstCustomCell))
            .value_or(kTransparent);
    return kTransparent;
}

QRect ColorSelector::CellRect(int cell) const
{
    if (cell < 1 || cell > kCellCount)
        return {};
    return m_cellRects.at(static_cast<std::size_t>(cell));
}

double ColorSelector::LayoutScale() const
{
    // The layout is drawn for buttons 21 high, 64 wide (Normal, System) and 135 wide
    // (Transparent, More Color). A button needs its font's line height plus 4 and its
    // caption's width plus 8; when a visible button lacks either, the whole layout grows by
    // the largest such ratio (at most 3, longer captions are then elided), so the cells keep
    // their proportions.
    // Captions are measured in bold, as the button of the palette shown draws its caption.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    double scale = 1.0;
    const auto fit = [&](const QString& caption, int width) {
        scale = std::max(scale, (metrics.height() + 4) / static_cast<double>(kButtonHeight));
        scale = std::max(
            scale, (metrics.horizontalAdvance(caption) + 8) / static_cast<double>(width));
    };
    if (m_showTransparent)
        fit(m_textTransparent, 135);
    if (m_showNormalColor) {
        fit(m_textNormal, 64);
        fit(m_textSystem, 64);
    }
    if (m_showMoreColor)
        fit(m_textMoreColor, 135);
    return std::min(scale, kMaxLayoutScale);
}

void ColorSelector::LayOutCells()
{
    const double scale = LayoutScale();
    const auto scaled = [scale](int x, int y, int width, int height) {
        return QRect(
            qRound(x * scale), qRound(y * scale), qRound(width * scale), qRound(height * scale));
    };
    const auto place = [this](int cell, const QRect& area) {
        m_cellRects.at(static_cast<std::size_t>(cell)) = area;
    };
    m_cellRects.fill(QRect());

    int top = 0;
    if (m_showTransparent) {
        place(kTransparentCell, scaled(kMargin, 4, 135, 22));
        top += 26;
    }
    for (int cell = kFirstPaletteCell; cell <= kLastPaletteCell; ++cell) {
        const int column = (cell - kFirstPaletteCell) % 8;
        const int row = (cell - kFirstPaletteCell) / 8;
        place(cell, scaled(kMargin + 17 * column, top + 4 + 17 * row, 16, 16));
    }
    top += 101;
    if (m_showCustomColor) {
        top += 7;
        for (int cell = kFirstCustomCell; cell <= kLastCustomCell; ++cell)
            place(cell, scaled(kMargin + 17 * (cell - kFirstCustomCell), top + 2, 16, 16));
        top += 15;
    }
    if (m_showMoreColor)
        top += 3;
    if (m_showNormalColor) {
        place(kNormalCell, scaled(kMargin, top + 5, 64, kButtonHeight));
        place(kSystemCell, scaled(75, top + 5, 64, kButtonHeight));
        top += 26;
    }
    if (m_showMoreColor) {
        place(kMoreColorCell, scaled(kMargin, top + 4, 135, 22));
        top += 22;
    }
    m_popupSize = QSize(qRound(kPopupWidth * scale), qRound((top + 2 * kMargin) * scale));
    if (m_popup)
        m_popup->Sync();
}

void ColorSelector::ChooseCell(int cell)
{
    if (CellRect(cell).isNull())
        return;
    switch (cell) {
    case kTransparentCell:
        HidePopup();
        SetSelectedColor(kTransparent);
        emit TransparentChosen();
        return;
    case kNormalCell:
        SetPaletteMode(false);
        return;
    case kSystemCell:
        SetPaletteMode(true);
        return;
    case kMoreColorCell:
        ChooseMoreColor();
        return;
    default:
        break;
    }
    // An empty custom slot holds no colour to take.
    if (cell >= kFirstCustomCell
        && !m_customColors.at(static_cast<std::size_t>(cell - kFirstCustomCell)))
        return;
    HidePopup();
    SetSelectedColor(CellColor(cell));
}

void ColorSelector::ChooseMoreColor()
{
    HidePopup();
    const QColor initial
        = m_selectedColor == kTransparent ? QColor(Qt::white) : ToQColor(m_selectedColor);
    const std::optional<QColor> chosen = m_colorDialog(initial, this);
    if (!chosen || !chosen->isValid()) {
        if (m_keepColorOnCancel)
            return;
        // Cancelled: no colour, but also not a choice of "Transparent".
        m_selectedColor = kTransparent;
        update();
        AnnounceValue();
        return;
    }
    const std::int32_t color = FromQColor(*chosen);
    SetSelectedColor(color);
    AddCustomColor(color);
}

void ColorSelector::SetPaletteMode(bool system)
{
    if (m_systemPalette == system)
        return;
    m_systemPalette = system;
    if (m_popup)
        m_popup->Sync();
    emit PaletteSwitched(system);
}

int ColorSelector::InitialFocusCell() const
{
    for (int cell = kFirstPaletteCell; cell <= kLastPaletteCell; ++cell) {
        if (CellColor(cell) == m_selectedColor)
            return cell;
    }
    return kFirstPaletteCell;
}

void ColorSelector::ShowPopup()
{
    if (!isEnabled())
        return;
    if (!m_popup)
        m_popup = new colorselector::ColorPopup(this);
    m_popup->setFont(font());
    m_popup->setPalette(palette());
    LayOutCells();

    // Below the face; above it when the screen has no room below.
    const QSize size = m_popupSize;
    QPoint pos = mapToGlobal(QPoint(0, height()));
    if (const QScreen* shown = screen()) {
        const QRect area = shown->availableGeometry();
        if (pos.y() + size.height() > area.bottom() + 1) {
            const int above = mapToGlobal(QPoint(0, 0)).y() - size.height();
            if (above >= area.top())
                pos.setY(above);
        }
        pos.setX(std::clamp(
            pos.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    }
    m_popup->move(pos);
    m_popup->show();
    m_popup->SetFocusCell(InitialFocusCell());
    update();
}

void ColorSelector::HidePopup()
{
    if (m_popup && m_popup->isVisible())
        m_popup->hide();
}

bool ColorSelector::IsPopupVisible() const { return m_popup && m_popup->isVisible(); }

QWidget* ColorSelector::Popup() const { return m_popup; }

void ColorSelector::OnPopupHidden()
{
    if (!m_popup)
        return;
    update();
    if (isVisible() && isEnabled())
        setFocus(Qt::PopupFocusReason);
}

QString ColorSelector::FaceText() const
{
    if (m_selectedColor == kTransparent)
        return m_textTransparent;
    const QString system = SystemColorName(m_selectedColor);
    return system.isEmpty() ? Convert2Hex(m_selectedColor) : system;
}

void ColorSelector::AnnounceValue()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, FaceText());
    QAccessible::updateAccessibility(&event);
}

void ColorSelector::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = false;
    option.frame = m_controlBorder;
    if (IsPopupVisible())
        option.state |= QStyle::State_On;
    const QRect field
        = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (m_appearance == 0) {
        // Flat: a plain field with an arrow, outlined when the border is on.
        painter.fillRect(rect(), palette().color(QPalette::Button));
        if (m_controlBorder) {
            painter.setPen(palette().color(QPalette::Mid));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
        QStyleOption arrow;
        arrow.initFrom(this);
        const QRect button
            = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
        arrow.rect = button;
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    } else {
        style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
    }

    const QColor back = ToQColor(m_backColor);
    painter.fillRect(field, back);
    // Under the swatch and the text, so its tint never changes the colour shown.
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = field.adjusted(1, 1, -1, -1);
        focus.backgroundColor = back;
        focus.state |= QStyle::State_KeyboardFocusChange;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
    const bool transparent = m_selectedColor == kTransparent;
    const QColor swatchColor = ToQColor(m_selectedColor);
    // The field has the container's colour, which need not suit the palette: black or white
    // ink, whichever stands out more, half faded when disabled.
    QColor ink = ContrastRatio(Qt::black, back) >= ContrastRatio(Qt::white, back)
        ? QColor(Qt::black)
        : QColor(Qt::white);
    if (!isEnabled())
        ink = Blend(ink, back);

    // ViewColor 1 fills the whole field with the colour; otherwise a box comes before the text.
    const bool wholeField = m_viewColor == 1 || !m_displayHexValue;
    const QRect inner = field.adjusted(2, 2, -2, -2);
    QRect swatch = inner;
    if (!wholeField)
        swatch.setWidth(std::min(inner.width(), inner.height() * 3 / 2 + 4));
    if (transparent)
        PaintCheckerboard(painter, swatch, back, ink);
    else
        painter.fillRect(swatch, isEnabled() ? swatchColor : swatchColor.toHsl().lighter(115));
    painter.setPen(ink);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));

    if (m_displayHexValue || transparent) {
        QRect textArea = inner.adjusted(swatch.width() + 4, 0, 0, 0);
        QColor textInk = ink;
        if (wholeField) {
            textArea = inner.adjusted(4, 0, -2, 0);
            textInk = ReadableOn(ink, transparent ? back : swatchColor);
        }
        painter.setPen(textInk);
        painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter,
            fontMetrics().elidedText(FaceText(), Qt::ElideRight, textArea.width()));
    }
}

void ColorSelector::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    ShowPopup();
    if (m_popup)
        m_popup->ExpectOpeningRelease();
}

void ColorSelector::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    const int key = event->key();
    if ((alt && (key == Qt::Key_Down || key == Qt::Key_Up)) || key == Qt::Key_F4
        || (key == Qt::Key_Space && !alt)) {
        ShowPopup();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ColorSelector::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        updateGeometry();
        LayOutCells();
        break;
    case QEvent::EnabledChange:
        if (!isEnabled())
            HidePopup();
        break;
    default:
        break;
    }
}

QSize ColorSelector::sizeHint() const
{
    const QFontMetrics metrics(fontMetrics());
    const int line = metrics.height();
    int width = line * 3 / 2 + 8;
    if (m_displayHexValue)
        width += std::max(metrics.horizontalAdvance(QStringLiteral("#DDDDDD")),
                     metrics.horizontalAdvance(m_textTransparent))
            + 8;
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.frame = m_controlBorder;
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(width, line + 4), this);
}

QSize ColorSelector::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.frame = m_controlBorder;
    return style()->sizeFromContents(
        QStyle::CT_ComboBox, &option, QSize(line * 3 / 2 + 8, line + 4), this);
}

} // namespace karvex
