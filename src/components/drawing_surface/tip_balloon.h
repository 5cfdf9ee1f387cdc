#pragma once

// The balloon the preview shows over a hotspot: its text in a rounded box whose tail points
// at the mouse pointer, the other of the two tip styles beside the desktop's plain tooltip.

#include <QPainterPath>
#include <QString>
#include <QWidget>

namespace karvex::surface {

class TipBalloon : public QWidget
{
    Q_OBJECT

public:
    explicit TipBalloon(QWidget* parent);

    // Shows text with the tail pointing at the mouse pointer at pointer (global), just clear of
    // it: the balloon hangs below and to the right, or goes above and left where the screen ends.
    void ShowAt(const QPoint& pointer, const QString& text);
    QString Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPainterPath Outline() const;

    QString m_text;
    bool m_tailOnTop = true;
    bool m_tailOnLeft = true;
};

} // namespace karvex::surface
