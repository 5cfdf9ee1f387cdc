#pragma once

// A ruler along the top or left of the canvas, in picture pixels, following zoom and scrolling
// and marking the pointer's position.

#include <QColor>
#include <QWidget>

namespace karvex::surface {

class Canvas;

class Ruler : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kThickness = 20;

    Ruler(Qt::Orientation orientation, const Canvas& canvas, QWidget* parent);

    void SetColor(QColor color);
    // The picture coordinate under the pointer along this ruler, or -1 for none.
    void SetPointer(int position);

    // The picture distance between labelled ticks at a scale, at least minimumPixels apart on
    // screen.
    static int MajorStep(double scale, int minimumPixels);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int Origin() const;
    double ScreenPosition(int picture) const;

    Qt::Orientation m_orientation;
    const Canvas& m_canvas;
    QColor m_color { 224, 224, 224 };
    int m_pointer = -1;
};

} // namespace karvex::surface
