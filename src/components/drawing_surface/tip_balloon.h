#pragma once

// The balloon the preview shows over a hotspot: its text in a rounded box whose tail points
// at the mouse pointer, the other of the two tip styles beside the desktop's plain tooltip.

#include <QString>
#include <QWidget>

namespace karvex::surface {

class TipBalloon : public QWidget
{
    Q_OBJECT

public:
    explicit TipBalloon(QWidget* parent);

    // Shows text with the tail's point at globalPoint (the balloon hangs below and to the right,
    // or moves over and left where the screen ends).
    void ShowAt(const QPoint& globalPoint, const QString& text);
    QString Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    bool m_tailOnTop = true;
    bool m_tailOnLeft = true;
};

} // namespace karvex::surface
