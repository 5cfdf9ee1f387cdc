#include "components/drawing_surface/tip_balloon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>

namespace karvex::surface {

namespace {

constexpr int kTail = 10; // the tail's height
constexpr int kTailInset = 14; // from the balloon's corner to the tail's point
constexpr int kPadding = 8;
constexpr int kRadius = 8;
constexpr int kMaxTextWidth = 320;
constexpr int kPointerClearance = 20; // about the height of a mouse pointer

} // namespace

TipBalloon::TipBalloon(QWidget* parent)
    // A window under the pointer would take it from the canvas, which then ends the hover
    // and hides the balloon again: the balloon lets the pointer through, and keeps clear of it.
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput)
{
    setObjectName("TipBalloon");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TipBalloon::ShowAt(const QPoint& pointer, const QString& text)
{
    // The tail points just past the tip of the mouse pointer.
    const QPoint globalPoint = pointer + QPoint(kPointerClearance / 2, kPointerClearance);
    m_text = text;
    const QRect textBox = fontMetrics().boundingRect(
        QRect(0, 0, kMaxTextWidth, 10000), Qt::TextWordWrap | Qt::AlignLeft, text);
    const QSize size(textBox.width() + 2 * kPadding + 1, textBox.height() + 2 * kPadding + kTail);
    QRect area(0, 0, 100000, 100000);
    if (const QScreen* screen = QGuiApplication::screenAt(globalPoint))
        area = screen->availableGeometry();
    m_tailOnLeft = globalPoint.x() + size.width() - kTailInset <= area.right();
    m_tailOnTop = globalPoint.y() + size.height() <= area.bottom();
    const int x
        = m_tailOnLeft ? globalPoint.x() - kTailInset : globalPoint.x() - size.width() + kTailInset;
    const int y
        = m_tailOnTop ? globalPoint.y() : pointer.y() - kPointerClearance / 4 - size.height();
    setGeometry(QRect(QPoint(x, y), size));
    // The shape is cut out of the window, which needs no compositing desktop, unlike a
    // translucent background.
    setMask(QRegion(Outline().toFillPolygon().toPolygon().united(
        Outline().translated(0.5, 0.5).toFillPolygon().toPolygon())));
    show();
    update();
}

QPainterPath TipBalloon::Outline() const
{
    const QRectF box = QRectF(rect()).adjusted(
        0.5, m_tailOnTop ? kTail + 0.5 : 0.5, -0.5, m_tailOnTop ? -0.5 : -kTail - 0.5);
    QPainterPath path;
    path.addRoundedRect(box, kRadius, kRadius);
    const qreal tipX = m_tailOnLeft ? kTailInset : width() - kTailInset;
    const qreal baseY = m_tailOnTop ? box.top() + 1 : box.bottom() - 1;
    const qreal tipY = m_tailOnTop ? 0.5 : height() - 0.5;
    const qreal lean = m_tailOnLeft ? 1 : -1;
    QPainterPath tail;
    tail.moveTo(tipX, tipY);
    tail.lineTo(tipX + lean * 4, baseY);
    tail.lineTo(tipX + lean * 14, baseY);
    tail.closeSubpath();
    return path.united(tail);
}

void TipBalloon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::ToolTipText), 1));
    painter.setBrush(palette().color(QPalette::ToolTipBase));
    painter.drawPath(Outline());
    painter.setPen(palette().color(QPalette::ToolTipText));
    const int top = m_tailOnTop ? kTail : 0;
    painter.drawText(
        QRect(kPadding, top + kPadding, width() - 2 * kPadding, height() - kTail - 2 * kPadding),
        Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter, m_text);
}

} // namespace karvex::surface
