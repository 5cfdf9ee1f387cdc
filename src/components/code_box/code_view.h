#pragma once

// The code box's scrolling surface: paints only the visible lines of the region list (gutter
// with line numbers and lock marks, coloured text, the selected line) and turns mouse and key
// input into selection changes and region events.

#include "components/code_box/region_store.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QIcon>
#include <array>

namespace karvex::codebox {

class CodeView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CodeView(QWidget* parent = nullptr);

    RegionStore& Store() { return m_store; }
    const RegionStore& Store() const { return m_store; }

    void SetTokenColor(CodeTokenKind kind, const QColor& color);
    void SetSelectedBackground(const QColor& color);
    void SetGutterColor(const QColor& color);
    void SetLockIcon(const QIcon& icon);
    void SetXpLook(bool on);

    // While suspended, changes do not repaint or re-measure; resuming does both once.
    void SetRedraw(bool on);
    bool RedrawOn() const { return m_redraw; }
    // Re-measures the lines and repaints (unless suspended).
    void Refresh();
    // Scrolls so that the line is fully visible.
    void EnsureVisible(int line);
    // The line's rectangle in viewport coordinates (may lie outside the viewport).
    QRect LineRect(int line) const;
    // The line under a viewport position, or -1.
    int LineAt(QPoint position) const;

signals:
    void LineClicked(int line);
    void LineDoubleClicked(int line);
    // Line is -1 when the pointer is over no line; button 1 left, 2 right, 4 middle and
    // modifiers 1 Shift, 2 Ctrl, 4 Alt.
    void MouseReleased(int button, int modifiers, int line);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int LineHeight() const { return m_lineHeight; }
    int GutterWidth() const;
    void UpdateMetrics();
    void UpdateScrollBars();
    void PaintGutter(QPainter& painter, int firstLine, int lastLine) const;
    void PaintLine(QPainter& painter, int line, int top) const;
    void PaintLockMark(QPainter& painter, const QRect& box, const QIcon& icon) const;
    void MoveSelection(int line);
    // Tells assistive technology which line is selected.
    void DescribeSelection();

    RegionStore m_store;
    std::array<QColor, 5> m_tokenColors;
    QColor m_selectedBackground;
    QColor m_gutterColor;
    QIcon m_lockIcon;
    bool m_redraw = true;
    int m_lineHeight = 16;
    int m_ascent = 12;
    int m_charWidth = 8;
};

} // namespace karvex::codebox
