#pragma once

// The in-place line editor of the property grid: plain for text and numbers, with a colour
// swatch for colours and a "..." button for colours and file names; plus the value rules
// those kinds share with the grid's painting.

#include <QColor>
#include <QLineEdit>
#include <QString>

class QToolButton;
class QValidator;

namespace karvex::grid {

class ValueEditor : public QLineEdit
{
    Q_OBJECT

public:
    ValueEditor(QWidget* parent, bool swatch, bool button);
    QToolButton* Button() const { return m_button; }

signals:
    void ButtonClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QToolButton* m_button = nullptr;
    bool m_swatch = false;
};

// The colour of a "#RRGGBB" text (the '#' may be missing); invalid when it is not one.
QColor ColourFromText(const QString& text);
// "#RRGGBB" in upper case for a colour text, the text unchanged when it is not one.
QString NormalizeColourText(const QString& text);
QString ColourText(const QColor& colour);
// Whole numbers, negative allowed, empty allowed.
QValidator* MakeNumberValidator(QObject* parent);
// Up to six hexadecimal digits after an optional '#'; only six (or none) are acceptable.
QValidator* MakeColourValidator(QObject* parent);
// The swatch drawn in front of a colour value, in the grid and in the editor.
void PaintSwatch(QPainter& painter, const QRect& rect, const QColor& colour);

} // namespace karvex::grid
