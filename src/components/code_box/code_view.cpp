#include "components/code_box/code_view.h"

#include "components/common/color.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <algorithm>

namespace karvex::codebox {

namespace {

constexpr int kMarkColumn = 18;
constexpr int kMarkSize = 12;
constexpr int kNumberPadding = 6;
constexpr int kTextIndent = 4;

int TokenIndex(CodeTokenKind kind) { return static_cast<int>(kind); }

int DigitCount(int value)
{
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

} // namespace

CodeView::CodeView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("CodeView"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("HTML code"));
    DescribeSelection();
    viewport()->setCursor(Qt::ArrowCursor);
    m_tokenColors.fill(palette().color(QPalette::Text));
    m_selectedBackground = palette().color(QPalette::Highlight).lighter(180);
    m_gutterColor = palette().color(QPalette::Button);
    SetXpLook(false);
    UpdateMetrics();
}

void CodeView::SetTokenColor(CodeTokenKind kind, const QColor& color)
{
    m_tokenColors[static_cast<std::size_t>(TokenIndex(kind))] = color;
    Refresh();
}

void CodeView::SetSelectedBackground(const QColor& color)
{
    m_selectedBackground = color;
    Refresh();
}

void CodeView::SetGutterColor(const QColor& color)
{
    m_gutterColor = color;
    Refresh();
}

void CodeView::SetLockIcon(const QIcon& icon)
{
    m_lockIcon = icon;
    Refresh();
}

void CodeView::SetXpLook(bool on)
{
    // The XP look is the flat single-line border; the classic look a sunken two-line frame.
    if (on) {
        setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
        setLineWidth(1);
    } else {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    }
}

void CodeView::SetRedraw(bool on)
{
    m_redraw = on;
    if (on)
        Refresh();
}

void CodeView::Refresh()
{
    if (!m_redraw)
        return;
    UpdateScrollBars();
    viewport()->update();
    DescribeSelection();
}

void CodeView::EnsureVisible(int line)
{
    if (line < 0 || line >= m_store.Count())
        return;
    UpdateScrollBars();
    QScrollBar* bar = verticalScrollBar();
    const int fullLines = std::max(1, viewport()->height() / LineHeight());
    if (line < bar->value())
        bar->setValue(line);
    else if (line >= bar->value() + fullLines)
        bar->setValue(line - fullLines + 1);
}

QRect CodeView::LineRect(int line) const
{
    const int top = (line - verticalScrollBar()->value()) * LineHeight();
    return QRect(0, top, viewport()->width(), LineHeight());
}

int CodeView::LineAt(QPoint position) const
{
    if (position.y() < 0)
        return -1;
    const int line = verticalScrollBar()->value() + position.y() / LineHeight();
    return line < m_store.Count() ? line : -1;
}

void CodeView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    painter.setFont(font());
    const int first = verticalScrollBar()->value();
    const int last = std::min(m_store.Count() - 1, first + (event->rect().bottom() / LineHeight()));
    const int gutter = GutterWidth();

    painter.save();
    painter.setClipRect(QRect(gutter, 0, viewport()->width() - gutter, viewport()->height()));
    for (int line = first + event->rect().top() / LineHeight(); line <= last; ++line)
        PaintLine(painter, line, (line - first) * LineHeight());
    painter.restore();
    PaintGutter(painter, first, last);
}

void CodeView::PaintLine(QPainter& painter, int line, int top) const
{
    const int gutter = GutterWidth();
    const int width = viewport()->width();
    const bool selected = line == m_store.Selected();
    if (selected)
        painter.fillRect(QRect(gutter, top, width - gutter, LineHeight()), m_selectedBackground);
    // The settings' colours were chosen for one background; each stays readable on this one.
    const QColor background = selected ? m_selectedBackground : palette().color(QPalette::Base);
    std::array<QColor, std::tuple_size_v<decltype(m_tokenColors)>> inks;
    for (std::size_t kind = 0; kind < inks.size(); ++kind)
        inks[kind] = ReadableOn(m_tokenColors[kind], background);

    const QString& text = m_store.At(line).Text;
    const QFontMetrics metrics(font());
    const int baseline = top + m_ascent + (LineHeight() - metrics.height()) / 2;
    int x = gutter + kTextIndent - horizontalScrollBar()->value();
    for (const CodeToken& token : m_store.TokensAt(line)) {
        if (x > width)
            break;
        const QString piece = text.mid(token.Start, token.Length);
        const int advance = metrics.horizontalAdvance(piece);
        if (x + advance >= gutter) {
            painter.setPen(inks[static_cast<std::size_t>(TokenIndex(token.Kind))]);
            painter.drawText(x, baseline, piece);
        }
        x += advance;
    }
}

void CodeView::PaintGutter(QPainter& painter, int firstLine, int lastLine) const
{
    const int gutter = GutterWidth();
    const int height = viewport()->height();
    painter.fillRect(QRect(0, 0, gutter, height), m_gutterColor);
    painter.setPen(m_gutterColor.darker(130));
    painter.drawLine(gutter - 1, 0, gutter - 1, height);

    painter.setPen(ReadableOn(
        m_gutterColor.lightness() > 128 ? m_gutterColor.darker(260) : m_gutterColor.lighter(260),
        m_gutterColor));
    for (int line = firstLine; line <= lastLine; ++line) {
        const int top = (line - firstLine) * LineHeight();
        const CodeRegion& region = m_store.At(line);
        if (region.Locked) {
            const QRect box((kMarkColumn - kMarkSize) / 2, top + (LineHeight() - kMarkSize) / 2,
                kMarkSize, kMarkSize);
            PaintLockMark(painter, box, region.Icon.isNull() ? m_lockIcon : region.Icon);
        }
        painter.drawText(
            QRect(kMarkColumn, top, gutter - kMarkColumn - kNumberPadding, LineHeight()),
            Qt::AlignRight | Qt::AlignVCenter, QString::number(line + 1));
    }
}

void CodeView::PaintLockMark(QPainter& painter, const QRect& box, const QIcon& icon) const
{
    if (!icon.isNull()) {
        icon.paint(&painter, box);
        return;
    }
    // Without a lock icon a small padlock is drawn: a shackle over a gold body.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body(box.left() + 1.5, box.top() + box.height() * 0.45, box.width() - 3.0,
        box.height() * 0.55 - 0.5);
    QPainterPath shackle;
    const qreal inset = box.width() * 0.28;
    shackle.moveTo(body.left() + inset - 1, body.top());
    shackle.lineTo(body.left() + inset - 1, box.top() + 3.5);
    shackle.arcTo(QRectF(body.left() + inset - 1, box.top() + 0.5, body.width() - 2 * inset + 2, 6),
        180, -180);
    shackle.lineTo(body.right() - inset + 1, body.top());
    painter.setPen(QPen(QColor(90, 90, 90), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shackle);
    painter.setPen(QPen(QColor(140, 100, 10), 1));
    painter.setBrush(QColor(230, 180, 40));
    painter.drawRoundedRect(body, 1.5, 1.5);
    painter.restore();
}

void CodeView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CodeView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    const int line = LineAt(event->position().toPoint());
    if (line >= 0)
        MoveSelection(line);
}

void CodeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int line = LineAt(event->position().toPoint());
    if (line < 0)
        return;
    m_store.Select(line);
    viewport()->update();
    DescribeSelection();
    emit LineDoubleClicked(line);
}

void CodeView::mouseReleaseEvent(QMouseEvent* event)
{
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton:
        button = 1;
        break;
    case Qt::RightButton:
        button = 2;
        break;
    case Qt::MiddleButton:
        button = 4;
        break;
    default:
        return;
    }
    const Qt::KeyboardModifiers held = event->modifiers();
    const int modifiers = (held.testFlag(Qt::ShiftModifier) ? 1 : 0)
        | (held.testFlag(Qt::ControlModifier) ? 2 : 0) | (held.testFlag(Qt::AltModifier) ? 4 : 0);
    emit MouseReleased(button, modifiers, LineAt(event->position().toPoint()));
}

void CodeView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        const int selected = m_store.Selected();
        if (selected >= 0)
            QGuiApplication::clipboard()->setText(m_store.At(selected).Text);
        return;
    }
    const int count = m_store.Count();
    const int selected = m_store.Selected();
    const int page = std::max(1, viewport()->height() / LineHeight() - 1);
    switch (event->key()) {
    case Qt::Key_Up:
        MoveSelection(selected < 0 ? count - 1 : std::max(0, selected - 1));
        return;
    case Qt::Key_Down:
        MoveSelection(selected < 0 ? 0 : std::min(count - 1, selected + 1));
        return;
    case Qt::Key_PageUp:
        MoveSelection(std::max(0, selected - page));
        return;
    case Qt::Key_PageDown:
        MoveSelection(std::min(count - 1, std::max(0, selected + page)));
        return;
    case Qt::Key_Home:
        MoveSelection(0);
        return;
    case Qt::Key_End:
        MoveSelection(count - 1);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void CodeView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateMetrics();
        Refresh();
    }
}

int CodeView::GutterWidth() const
{
    return kMarkColumn + DigitCount(std::max(m_store.Count(), 99)) * m_charWidth + kNumberPadding
        + 4;
}

void CodeView::UpdateMetrics()
{
    const QFontMetrics metrics(font());
    m_lineHeight = metrics.height() + 3;
    m_ascent = metrics.ascent();
    m_charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
}

void CodeView::UpdateScrollBars()
{
    const int fullLines = std::max(1, viewport()->height() / LineHeight());
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, m_store.Count() - fullLines));
    vertical->setPageStep(fullLines);
    vertical->setSingleStep(1);

    const int textWidth = std::max(0, viewport()->width() - GutterWidth());
    const int contentWidth = m_store.LongestLine() * m_charWidth + 2 * kTextIndent;
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, contentWidth - textWidth));
    horizontal->setPageStep(std::max(1, textWidth));
    horizontal->setSingleStep(m_charWidth);
}

void CodeView::MoveSelection(int line)
{
    if (line < 0 || line >= m_store.Count())
        return;
    m_store.Select(line);
    EnsureVisible(line);
    viewport()->update();
    DescribeSelection();
    emit LineClicked(line);
}

void CodeView::DescribeSelection()
{
    const int selected = m_store.Selected();
    const QString description = selected >= 0 && selected < m_store.Count()
        ? tr("Line %1 of %2: %3")
              .arg(selected + 1)
              .arg(m_store.Count())
              .arg(m_store.At(selected).Text)
        : tr("The map's HTML code, one line per tag. Arrow keys select a line; double-click a "
             "hotspot's line to edit it.");
    if (description != accessibleDescription())
        setAccessibleDescription(description);
}

} // namespace karvex::codebox
