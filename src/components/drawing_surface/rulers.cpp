#include "components/drawing_surface/rulers.h"

#include "components/drawing_surface/canvas_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace karvex::surface {

Ruler::Ruler(Qt::Orientation orientation, const Canvas& canvas, QWidget* parent)
    : QWidget(parent)
    , m_orientation(orientation)
    , m_canvas(canvas)
{
    setObjectName(orientation == Qt::Horizontal ? "TopRuler" : "LeftRuler");
    if (orientation == Qt::Horizontal)
        setFixedHeight(kThickness);
    else
        setFixedWidth(kThickness);
    QFont small = font();
    small.setPointSizeF(7.0);
    setFont(small);
}

void Ruler::SetColor(QColor color)
{
    m_color = color;
    update();
}

void Ruler::SetPointer(int position)
{
    if (position == m_pointer)
        return;
    m_pointer = position;
    update();
}

int Ruler::MajorStep(double scale, int minimumPixels)
{
    for (const int step : { 1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000, 2000, 5000 }) {
        if (step * scale >= minimumPixels)
            return step;
    }
    return 10000;
}

int Ruler::Origin() const
{
    // The canvas scrolls inside its viewport; the ruler measures from the canvas's left (top).
    const QPoint canvasAt = m_canvas.mapTo(window(), QPoint(0, 0));
    const QPoint rulerAt = mapTo(window(), QPoint(0, 0));
    return m_orientation == Qt::Horizontal ? canvasAt.x() - rulerAt.x()
                                           : canvasAt.y() - rulerAt.y();
}

double Ruler::ScreenPosition(int picture) const
{
    const QPointF at = m_canvas.ToScreen(QPoint(picture, picture));
    return Origin() + (m_orientation == Qt::Horizontal ? at.x() : at.y());
}

void Ruler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int extent = horizontal ? width() : height();
    painter.fillRect(rect(), m_color.darker(112));

    const double scale = m_canvas.Scale();
    const QSize area = m_canvas.Area();
    const int length = horizontal ? area.width() : area.height();
    const int origin = Origin();
    // The stretch that lies over the picture is lighter than the rest.
    const int start = std::max(origin, 0);
    const int end = std::min(origin + static_cast<int>(std::ceil(length * scale)), extent);
    if (end > start) {
        painter.fillRect(horizontal ? QRect(start, 0, end - start, height())
                                    : QRect(0, start, width(), end - start),
            m_color);
    }

    const int major = MajorStep(scale, horizontal ? 50 : 40);
    int minor = major % 10 == 0 ? major / 10 : major % 5 == 0 ? major / 5 : major / 2;
    if (minor < 1 || minor * scale < 4) {
        const int fifth = major / 5; // taken only when major is a multiple of 5
        minor = major % 5 == 0 && fifth * scale >= 4 ? fifth : major;
    }
    const int first = std::max(0, static_cast<int>(std::floor(-origin / scale)) - 1);
    const int last = std::min(length, static_cast<int>(std::ceil((extent - origin) / scale)) + 1);
    const QColor ink = m_color.lightness() < 110 ? QColor(Qt::white) : QColor(Qt::black);
    painter.setPen(ink);
    for (int p = first - first % minor; p <= last; p += minor) {
        if (p < 0 || p >= length)
            continue;
        const int at = static_cast<int>(std::floor(ScreenPosition(p)));
        const bool labelled = p % major == 0;
        const bool half = !labelled && (2 * p) % major == 0;
        const int tick = labelled ? kThickness - 2 : half ? kThickness / 2 : kThickness / 4;
        if (horizontal) {
            painter.drawLine(at, kThickness - tick, at, kThickness - 1);
            if (labelled)
                painter.drawText(QPoint(at + 2, 9), QString::number(p));
        } else {
            painter.drawLine(kThickness - tick, at, kThickness - 1, at);
            if (labelled) {
                painter.save();
                painter.translate(9, at + 2);
                painter.rotate(-90);
                painter.drawText(
                    QPoint(-painter.fontMetrics().horizontalAdvance(QString::number(p)), 0),
                    QString::number(p));
                painter.restore();
            }
        }
    }

    painter.setPen(m_color.darker(150));
    if (horizontal)
        painter.drawLine(0, height() - 1, width(), height() - 1);
    else
        painter.drawLine(width() - 1, 0, width() - 1, height());

    if (m_pointer >= 0 && m_pointer < length) {
        const int at = static_cast<int>(std::floor(ScreenPosition(m_pointer)));
        painter.setPen(QPen(QColor(220, 0, 0), 1));
        if (horizontal)
            painter.drawLine(at, 0, at, kThickness);
        else
            painter.drawLine(0, at, kThickness, at);
    }
}

} // namespace karvex::surface
