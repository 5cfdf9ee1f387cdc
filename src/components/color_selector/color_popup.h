#pragma once

// The colour selector's popup: a Qt::Popup window holding one small widget per numbered cell,
// so that every cell has its own accessible name, role and keyboard focus.

#include <QWidget>
#include <array>

namespace karvex {
class ColorSelector;
}

namespace karvex::colorselector {

class ColorPopup;

// One numbered cell of the popup: a colour square or a button. It paints itself from the
// selector's state; the popup handles its mouse and keys.
class ColorCell : public QWidget
{
    Q_OBJECT

public:
    ColorCell(ColorPopup* popup, int cell);

    int Cell() const { return m_cell; }
    bool IsButton() const;
    // Chooses the cell as a click would (for assistive technology's press action).
    void Press();
    // A pressed button shows sunken until the mouse is released.
    void SetPressed(bool pressed);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintButton(QPainter& painter, bool focused);
    void PaintColor(QPainter& painter, bool focused);

    ColorPopup* m_popup;
    int m_cell;
    bool m_pressed = false;
};

class ColorPopup : public QWidget
{
    Q_OBJECT

public:
    explicit ColorPopup(ColorSelector* owner);

    ColorSelector* Owner() const { return m_owner; }
    // Takes the cell rectangles, colours and names from the selector.
    void Sync();
    int FocusCell() const { return m_focusCell; }
    void SetFocusCell(int cell);
    // The press on the face that opened the popup is still down: its release over no cell
    // leaves the popup open.
    void ExpectOpeningRelease() { m_openingRelease = true; }
    // The visible cell under a point, testing cells 1 to 60 in order; 0 for none.
    int CellAt(const QPoint& pos) const;
    QString CellName(int cell) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // The nearest visible cell in a direction: along the row for dx, the next row for dy.
    int Neighbour(int from, int dx, int dy) const;
    void ReleasePressedCell();

    ColorSelector* m_owner;
    std::array<ColorCell*, 61> m_cells {}; // index 0 unused
    int m_focusCell = 0;
    int m_pressedCell = 0;
    bool m_openingRelease = false;
};

// Installs the accessible interfaces of the face and the cells, once.
void InstallAccessibleFactory();

} // namespace karvex::colorselector
