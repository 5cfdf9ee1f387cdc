#pragma once

// The colour selector: a face showing the chosen colour (a swatch, its #RRGGBB text and a
// drop-down button) and a popup of 60 numbered cells: 1 "Transparent", 2-49 the palette (48
// fixed colours, or the 25 system colours followed by white), 50-57 the custom row, 58
// "Normal", 59 "System", 60 "More Color". Colours are the settings' colour numbers (red in
// the low byte; the high bit set for a system colour); -1 means transparent.

#include <QColor>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace karvex {

namespace colorselector {
class ColorPopup;
class FaceAccessible;
} // namespace colorselector

class ColorSelector : public QWidget
{
    Q_OBJECT

public:
    static constexpr std::int32_t kTransparent = -1;
    static constexpr int kCellCount = 60;
    static constexpr int kTransparentCell = 1;
    static constexpr int kFirstPaletteCell = 2;
    static constexpr int kLastPaletteCell = 49;
    static constexpr int kFirstCustomCell = 50;
    static constexpr int kLastCustomCell = 57;
    static constexpr int kNormalCell = 58;
    static constexpr int kSystemCell = 59;
    static constexpr int kMoreColorCell = 60;
    static constexpr int kCustomSlots = 8;

    // The "More Color" dialog: the chosen colour, or nothing when cancelled. The default
    // opens QColorDialog; tests replace it.
    using ColorDialog
        = std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

    explicit ColorSelector(QWidget* parent = nullptr);
    ~ColorSelector() override;

    // "#" and the red, green and blue bytes as two upper-case hex digits each.
    static QString Convert2Hex(std::int32_t color);

    // Setting a colour other than -1 raises HexValueChanged, then ColorChanged, also when it
    // equals the current one.
    std::int32_t SelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(std::int32_t color);

    int Appearance() const { return m_appearance; }
    void SetAppearance(int appearance);
    bool ControlBorder() const { return m_controlBorder; }
    void SetControlBorder(bool on);
    std::int32_t BackColor() const { return m_backColor; }
    void SetBackColor(std::int32_t color);
    int ViewColor() const { return m_viewColor; }
    void SetViewColor(int viewColor);
    bool DisplayHexValue() const { return m_displayHexValue; }
    void SetDisplayHexValue(bool on);

    bool ShowTransparent() const { return m_showTransparent; }
    void SetShowTransparent(bool on);
    bool ShowMoreColor() const { return m_showMoreColor; }
    void SetShowMoreColor(bool on);
    bool ShowNormalColor() const { return m_showNormalColor; }
    void SetShowNormalColor(bool on);
    bool ShowCustomColor() const { return m_showCustomColor; }
    void SetShowCustomColor(bool on);

    QString TextNormal() const { return m_textNormal; }
    void SetTextNormal(const QString& text);
    QString TextSystem() const { return m_textSystem; }
    void SetTextSystem(const QString& text);
    QString TextMoreColor() const { return m_textMoreColor; }
    void SetTextMoreColor(const QString& text);
    QString TextTransparent() const { return m_textTransparent; }
    void SetTextTransparent(const QString& text);

    void SetColorDialog(ColorDialog dialog);
    // Off (the default): a cancelled "More Color" leaves no colour chosen (-1). On: the colour
    // stays as it was, for containers whose value cannot be transparent.
    bool KeepColorOnCancel() const { return m_keepColorOnCancel; }
    void SetKeepColorOnCancel(bool on) { m_keepColorOnCancel = on; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Redraws the face.
    void Refresh();

    // Writes the colour into the next custom slot (1 to 8, then 1 again).
    void AddCustomColor(std::int32_t color);
    // Slot 1 first; empty slots hold nothing.
    std::array<std::optional<std::int32_t>, kCustomSlots> CustomColors() const
    {
        return m_customColors;
    }
    // The slot the next custom colour goes into, 1 to 8.
    int NextCustomSlot() const { return m_nextCustomSlot; }

    // The popup, opened below the face (or above it when the screen has no room below).
    void ShowPopup();
    void HidePopup();
    bool IsPopupVisible() const;
    // The popup widget, created on first use; nullptr before the first ShowPopup.
    QWidget* Popup() const;
    bool IsSystemPalette() const { return m_systemPalette; }
    // A cell's colour (the palette shown now) and its rectangle inside the popup; a null
    // rectangle for a cell the Show switches hide.
    std::int32_t CellColor(int cell) const;
    QRect CellRect(int cell) const;
    // Chooses a cell as a click on it would.
    void ChooseCell(int cell);

signals:
    void HexValueChanged(const QString& hex);
    void ColorChanged(std::int32_t color);
    void TransparentChosen();
    // Palette cells 2 to 49 were repainted for a switch between the normal and system palette.
    void PaletteSwitched(bool system);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class colorselector::ColorPopup;
    friend class colorselector::FaceAccessible;

    void SetPaletteMode(bool system);
    // Places the cells for the Show switches and the font; the popup follows when open.
    void LayOutCells();
    double LayoutScale() const;
    // What the face says about the colour: its #RRGGBB text, a system colour's name, or the
    // transparent caption.
    QString FaceText() const;
    // The cell of the current colour in the palette shown, else the first palette cell.
    int InitialFocusCell() const;
    void ChooseMoreColor();
    void AnnounceValue();
    void OnPopupHidden();

    std::int32_t m_selectedColor = 0xFFFFFF;
    int m_appearance = 1;
    bool m_controlBorder = true;
    std::int32_t m_backColor = 0xFFFFFF;
    int m_viewColor = 0;
    bool m_displayHexValue = true;
    bool m_showTransparent = true;
    bool m_showMoreColor = true;
    bool m_showNormalColor = true;
    bool m_showCustomColor = true;
    QString m_textNormal = QStringLiteral("Normal");
    QString m_textSystem = QStringLiteral("System");
    QString m_textMoreColor = QStringLiteral("More Color");
    QString m_textTransparent = QStringLiteral("Transparent");
    bool m_systemPalette = false;
    std::array<std::optional<std::int32_t>, kCustomSlots> m_customColors {};
    int m_nextCustomSlot = 1;
    std::array<QRect, kCellCount + 1> m_cellRects {}; // index 0 unused
    QSize m_popupSize;
    ColorDialog m_colorDialog;
    bool m_keepColorOnCancel = false;
    colorselector::ColorPopup* m_popup = nullptr;
};

} // namespace karvex
