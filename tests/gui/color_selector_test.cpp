// The colour selector driven through its real popup: clicks on the cells, keys alone, what it
// tells assistive technology, and its layout.

#include "components/color_selector/color_selector.h"
#include "components/common/color.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <deque>

using namespace karvex;

namespace {

constexpr std::int32_t kRed = 0x0000FF; // cell 19: third row, second column

// A shown selector whose signals are recorded in the order they come.
struct Harness
{
    ColorSelector Selector;
    QStringList Events;

    Harness()
    {
        QObject::connect(&Selector, &ColorSelector::HexValueChanged,
            [this](const QString& hex) { Events << "hex " + hex; });
        QObject::connect(&Selector, &ColorSelector::ColorChanged,
            [this](std::int32_t color) { Events << "color " + QString::number(color); });
        QObject::connect(
            &Selector, &ColorSelector::TransparentChosen, [this] { Events << "transparent"; });
        // A font small enough for the popup's unscaled layout.
        QFont font = Selector.font();
        font.setPixelSize(11);
        Selector.setFont(font);
        Selector.resize(140, Selector.sizeHint().height());
        Selector.move(100, 100);
        Selector.show();
    }

    QWidget* Open()
    {
        Selector.ShowPopup();
        return Selector.Popup();
    }

    // A click on a cell of the open popup.
    void Click(int cell)
    {
        QWidget* popup = Selector.Popup();
        QVERIFY(popup && popup->isVisible());
        const QPoint centre = Selector.CellRect(cell).center();
        QTest::mousePress(popup, Qt::LeftButton, {}, centre);
        QTest::mouseRelease(popup, Qt::LeftButton, {}, centre);
    }

    // The cell that assistive technology is told has the focus; 0 for none.
    int FocusedCell() const
    {
        for (int cell = 1; cell <= ColorSelector::kCellCount; ++cell) {
            QAccessibleInterface* iface = CellInterface(cell);
            if (iface && iface->state().focused)
                return cell;
        }
        return 0;
    }

    QAccessibleInterface* CellInterface(int cell) const
    {
        QAccessibleInterface* popup = QAccessible::queryAccessibleInterface(Selector.Popup());
        for (int i = 0; popup && i < popup->childCount(); ++i) {
            QAccessibleInterface* child = popup->child(i);
            if (child
                && child->rect().center()
                    == Selector.Popup()->mapToGlobal(Selector.CellRect(cell).center()))
                return child;
        }
        return nullptr;
    }
};

// Keys as the keyboard sends them: to the open popup's focus, else to the focused widget.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(static_cast<QWidget*>(nullptr), key, modifiers);
}

} // namespace

class ColorSelectorTest : public QObject
{
    Q_OBJECT

private slots:
    void hexTextAndColourNumbers()
    {
        QCOMPARE(ColorSelector::Convert2Hex(255), QString("#FF0000"));
        QCOMPARE(ColorSelector::Convert2Hex(0), QString("#000000"));
        QCOMPARE(ColorSelector::Convert2Hex(0x00FF8040), QString("#4080FF"));
        QCOMPARE(ColorSelector::Convert2Hex(0x12345678), QString("#785634"));

        const QPalette palette = QGuiApplication::palette();
        QCOMPARE(ToQColor(0x7FFFFFFF), QColor(255, 255, 255));
        QCOMPARE(ToQColor(-5), palette.color(QPalette::WindowText));
        QCOMPARE(
            ToQColor(static_cast<std::int32_t>(0x80000019)), palette.color(QPalette::WindowText));
        QCOMPARE(ToQColor(static_cast<std::int32_t>(0x8000000F)), palette.color(QPalette::Button));
        QCOMPARE(ToQColor(static_cast<std::int32_t>(0x80000011)),
            palette.color(QPalette::Disabled, QPalette::Text));
        QCOMPARE(
            SystemColorName(static_cast<std::int32_t>(0x80000018)), QString("Info Background"));
        QCOMPARE(SystemColorName(0x18), QString());
    }

    void clickedCellSetsColourWithHexFirst()
    {
        Harness h;
        h.Selector.SetSelectedColor(0x123456);
        h.Selector.SetSelectedColor(0x123456);
        h.Selector.SetSelectedColor(ColorSelector::kTransparent);
        QCOMPARE(h.Events,
            QStringList({ "hex #563412", "color 1193046", "hex #563412", "color 1193046" }));
        h.Events.clear();

        // The press on the face opens the popup; its release over the face keeps it open.
        QTest::mousePress(&h.Selector, Qt::LeftButton);
        QWidget* popup = h.Selector.Popup();
        QVERIFY(popup && popup->isVisible());
        QCOMPARE(
            popup->geometry().topLeft(), h.Selector.mapToGlobal(QPoint(0, h.Selector.height())));
        QTest::mouseRelease(
            popup, Qt::LeftButton, {}, popup->mapFromGlobal(h.Selector.mapToGlobal(QPoint(5, 5))));
        QVERIFY(popup->isVisible());

        // A release outside closes it without a change.
        QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(-20, popup->height() + 30));
        QVERIFY(!popup->isVisible());
        QCOMPARE(h.Selector.SelectedColor(), ColorSelector::kTransparent);

        h.Open();
        h.Click(19);
        QVERIFY(!popup->isVisible());
        QCOMPARE(h.Selector.SelectedColor(), kRed);
        QCOMPARE(h.Events, QStringList({ "hex #FF0000", "color 255" }));
    }

    void transparentAndCancelledMoreColour()
    {
        Harness h;
        h.Selector.SetSelectedColor(kRed);
        h.Events.clear();
        h.Open();
        h.Click(ColorSelector::kTransparentCell);
        QCOMPARE(h.Selector.SelectedColor(), ColorSelector::kTransparent);
        QCOMPARE(h.Events, QStringList({ "transparent" }));
        QVERIFY(!h.Selector.IsPopupVisible());

        h.Selector.SetSelectedColor(kRed);
        h.Events.clear();
        QColor offered;
        h.Selector.SetColorDialog([&offered](const QColor& initial, QWidget*) {
            offered = initial;
            return std::optional<QColor>();
        });
        h.Open();
        h.Click(ColorSelector::kMoreColorCell);
        QCOMPARE(offered, QColor(Qt::red));
        QCOMPARE(h.Selector.SelectedColor(), ColorSelector::kTransparent);
        QVERIFY(h.Events.isEmpty());
        QVERIFY(!h.Selector.IsPopupVisible());
        QVERIFY(!h.Selector.CustomColors().at(0));

        // A container that cannot store "no colour" keeps the colour it had.
        h.Selector.SetSelectedColor(kRed);
        h.Events.clear();
        h.Selector.SetKeepColorOnCancel(true);
        h.Open();
        h.Click(ColorSelector::kMoreColorCell);
        QCOMPARE(h.Selector.SelectedColor(), kRed);
        QVERIFY(h.Events.isEmpty());
    }

    void moreColourFillsTheCustomRowRoundRobin()
    {
        Harness h;
        // An empty slot holds nothing to choose: the popup stays open.
        h.Open();
        h.Click(ColorSelector::kFirstCustomCell);
        QVERIFY(h.Selector.IsPopupVisible());
        QVERIFY(h.Events.isEmpty());

        std::deque<QColor> answers;
        for (int i = 1; i <= 9; ++i)
            answers.emplace_back(i * 20, 0, 255 - i * 20);
        h.Selector.SetColorDialog([&answers](const QColor&, QWidget*) {
            const QColor next = answers.front();
            answers.pop_front();
            return std::optional<QColor>(next);
        });
        for (int i = 1; i <= 9; ++i) {
            h.Open();
            h.Click(ColorSelector::kMoreColorCell);
        }
        const std::int32_t ninth = FromQColor(QColor(180, 0, 75));
        const std::int32_t second = FromQColor(QColor(40, 0, 215));
        QCOMPARE(h.Selector.SelectedColor(), ninth);
        QCOMPARE(h.Selector.CustomColors().at(0), std::optional(ninth));
        QCOMPARE(h.Selector.CustomColors().at(1), std::optional(second));
        QCOMPARE(h.Selector.NextCustomSlot(), 2);

        h.Events.clear();
        h.Open();
        QCOMPARE(h.CellInterface(51)->text(QAccessible::Name), "Custom colour 2 #2800D7");
        h.Click(51);
        QCOMPARE(h.Selector.SelectedColor(), second);
        QCOMPARE(h.Events, QStringList({ "hex #2800D7", "color " + QString::number(second) }));
    }

    void paletteSwitchesOnlyWhenItChanges()
    {
        Harness h;
        QSignalSpy switched(&h.Selector, &ColorSelector::PaletteSwitched);
        h.Open();
        h.Click(ColorSelector::kNormalCell);
        QCOMPARE(switched.count(), 0);
        h.Click(ColorSelector::kSystemCell);
        h.Click(ColorSelector::kSystemCell);
        QCOMPARE(switched.count(), 1);
        QCOMPARE(switched.at(0).at(0).toBool(), true);
        QVERIFY(h.Selector.IsPopupVisible());
        QCOMPARE(h.CellInterface(17)->text(QAccessible::Name), "Button Face");
        QCOMPARE(h.Selector.CellColor(27), 0xFFFFFF);

        h.Click(17);
        QCOMPARE(h.Selector.SelectedColor(), static_cast<std::int32_t>(0x8000000F));
        h.Open();
        h.Click(ColorSelector::kNormalCell);
        QCOMPARE(switched.count(), 2);
        QCOMPARE(switched.at(1).at(0).toBool(), false);
        QCOMPARE(h.Selector.CellColor(2), 0xFFFFFF);
        QCOMPARE(h.Selector.CellColor(19), kRed);
    }

    void layoutFollowsTheShowSwitchesAndTheFont()
    {
        Harness h;
        QCOMPARE(h.Selector.CellRect(1), QRect(4, 4, 135, 22));
        QCOMPARE(h.Selector.CellRect(2), QRect(4, 30, 16, 16));
        QCOMPARE(h.Selector.CellRect(49), QRect(123, 115, 16, 16));
        QCOMPARE(h.Selector.CellRect(57), QRect(123, 136, 16, 16));
        QCOMPARE(h.Selector.CellRect(59), QRect(75, 157, 64, 21));
        QCOMPARE(h.Selector.CellRect(60), QRect(4, 182, 135, 22));
        QCOMPARE(h.Open()->size(), QSize(143, 208));

        h.Selector.SetShowTransparent(false);
        h.Selector.SetShowMoreColor(false);
        h.Selector.SetShowNormalColor(false);
        h.Selector.SetShowCustomColor(false);
        QCOMPARE(h.Selector.Popup()->size(), QSize(143, 101 + 8));
        int shown = 0;
        for (int cell = 1; cell <= ColorSelector::kCellCount; ++cell)
            shown += h.Selector.CellRect(cell).isNull() ? 0 : 1;
        QCOMPARE(shown, 48);
        QCOMPARE(h.Selector.CellRect(2), QRect(4, 4, 16, 16));
        h.Selector.ChooseCell(ColorSelector::kTransparentCell);
        QCOMPARE(h.Selector.SelectedColor(), 0xFFFFFF);

        // A large font scales the whole layout so the captions fit the buttons.
        h.Selector.SetShowNormalColor(true);
        QFont large = h.Selector.font();
        large.setPixelSize(30);
        h.Selector.setFont(large);
        const QRect system = h.Selector.CellRect(ColorSelector::kSystemCell);
        large.setBold(true);
        const QFontMetrics metrics(large);
        QVERIFY(system.height() >= metrics.height() + 4);
        // The button of the palette shown has its caption in bold.
        QVERIFY(system.width() >= metrics.horizontalAdvance("Normal") + 8);
        QVERIFY(system.width() >= metrics.horizontalAdvance("System") + 8);
        QCOMPARE(h.Selector.CellRect(ColorSelector::kNormalCell).size(), system.size());
        QVERIFY(h.Selector.CellRect(2).width() > 16);
    }

    void popupOpensAboveWhenNoRoomBelow()
    {
        Harness h;
        const QRect screen = h.Selector.screen()->availableGeometry();
        h.Selector.hide();
        h.Selector.move(screen.left() + 10, screen.bottom() - h.Selector.height() - 5);
        h.Selector.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.Selector));
        QWidget* popup = h.Open();
        QCOMPARE(popup->geometry().bottom() + 1, h.Selector.mapToGlobal(QPoint(0, 0)).y());
    }

    void keyboardAloneChoosesAColour()
    {
        Harness h;
        h.Selector.SetSelectedColor(kRed);
        h.Events.clear();
        h.Selector.activateWindow();
        h.Selector.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&h.Selector));
        QTRY_COMPARE(QApplication::focusWidget(), &h.Selector);

        Press(Qt::Key_Down, Qt::AltModifier);
        QVERIFY(h.Selector.IsPopupVisible());
        QCOMPARE(h.FocusedCell(), 19);
        Press(Qt::Key_Right);
        Press(Qt::Key_Right);
        Press(Qt::Key_Down);
        QCOMPARE(h.FocusedCell(), 29);
        Press(Qt::Key_Escape);
        QVERIFY(!h.Selector.IsPopupVisible());
        QCOMPARE(h.Selector.SelectedColor(), kRed);
        QVERIFY(h.Events.isEmpty());
        QCOMPARE(QApplication::focusWidget(), &h.Selector);

        // From the palette down to the custom row, the Normal button and More Color.
        bool asked = false;
        h.Selector.SetColorDialog([&asked](const QColor&, QWidget*) {
            asked = true;
            return std::optional<QColor>(QColor(1, 2, 3));
        });
        QTRY_COMPARE(QGuiApplication::focusWindow(), h.Selector.windowHandle());
        Press(Qt::Key_Space);
        for (int i = 0; i < 5; ++i)
            Press(Qt::Key_Down);
        QCOMPARE(h.FocusedCell(), ColorSelector::kNormalCell);
        Press(Qt::Key_Down);
        Press(Qt::Key_Return);
        QVERIFY(asked);
        QCOMPARE(h.Selector.SelectedColor(), 0x030201);
        QTRY_COMPARE(QGuiApplication::focusWindow(), h.Selector.windowHandle());

        // Up from the top palette row reaches Transparent, Down comes back below its middle.
        h.Selector.SetSelectedColor(0xFFFFFF);
        Press(Qt::Key_F4);
        Press(Qt::Key_Up);
        QCOMPARE(h.FocusedCell(), ColorSelector::kTransparentCell);
        Press(Qt::Key_Down);
        Press(Qt::Key_Right);
        Press(Qt::Key_Enter);
        QCOMPARE(h.Selector.SelectedColor(), 0xFFFFC0);
        QCOMPARE(QApplication::focusWidget(), &h.Selector);
    }

    void assistiveTechnologyHearsNamesAndValue()
    {
        Harness h;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&h.Selector);
        QCOMPARE(face->role(), QAccessible::ComboBox);
        QCOMPARE(face->text(QAccessible::Name), "Colour");
        h.Selector.SetSelectedColor(kRed);
        QCOMPARE(face->text(QAccessible::Value), "#FF0000");
        h.Selector.SetSelectedColor(static_cast<std::int32_t>(0x80000005));
        QCOMPARE(face->text(QAccessible::Value), "Window");

        h.Open();
        QAccessibleInterface* red = h.CellInterface(19);
        QCOMPARE(red->text(QAccessible::Name), "#FF0000");
        QCOMPARE(red->role(), QAccessible::ListItem);
        QCOMPARE(h.CellInterface(50)->text(QAccessible::Name), "Empty custom slot 1");
        QAccessibleInterface* transparent = h.CellInterface(ColorSelector::kTransparentCell);
        QCOMPARE(transparent->role(), QAccessible::Button);
        QCOMPARE(transparent->text(QAccessible::Name), "Transparent");
        transparent->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(h.Events.last(), "transparent");
        QCOMPARE(face->text(QAccessible::Value), "Transparent");
    }
};

QTEST_MAIN(ColorSelectorTest)
#include "color_selector_test.moc"
