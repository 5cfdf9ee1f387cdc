// What assistive technology (a screen reader) is told about the toolbar, the property grid
// and the code page.

#include "components/code_box/code_box.h"
#include "components/command_bars/command_bars.h"
#include "support/editor_session.h"
#include "support/grid_driver.h"
#include "ui/property_panel.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QLabel>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace karvex;

namespace {

QString Name(QObject* object)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : "(none)";
}

QString Description(QObject* object)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Description) : "(none)";
}

// The first descendant of iface, depth first, whose name starts with the text.
QAccessibleInterface* Find(QAccessibleInterface* iface, const QString& start)
{
    for (int i = 0; iface && i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child)
            continue;
        if (child->text(QAccessible::Name).startsWith(start))
            return child;
        if (QAccessibleInterface* found = Find(child, start))
            return found;
    }
    return nullptr;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void toolbarGridAndCodePageAreNamedAndDescribed()
    {
        test::Session s;
        s.Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(s.Window.get()));
        s.NewDocument(s.Picture("a.png"));
        const int slot = s.AddRectangle("10,10,90,60");
        s.Docs().ActiveWindow()->SelectHotspot(slot);

        auto* toolbar = s.Window->findChild<QToolBar*>("Standard");
        QWidget* save = toolbar->widgetForAction(s.Bars().Tool("t_Save"));
        QCOMPARE(Name(save), QString("Save"));
        QVERIFY(Description(save).startsWith("Saves"));
        auto* zoom = toolbar->findChild<QToolButton*>("My_Zoom");
        QCOMPARE(Name(zoom), QString("Zoom"));
        QVERIFY(!Description(zoom).isEmpty());

        PropertyGrid& grid = s.Window->Panel().HotspotGrid();
        test::GridDriver driver(grid);
        QCOMPARE(Name(driver.View()), QString("Hotspot properties"));
        QVERIFY(driver.Edit("Href", "page.html"));
        QAccessibleInterface* href
            = Find(QAccessible::queryAccessibleInterface(driver.View()), "Href: ");
        QVERIFY(href);
        QCOMPARE(href->text(QAccessible::Name), QString("Href: page.html"));
        QVERIFY(href->text(QAccessible::Description).contains("address"));
        auto* described = grid.findChild<QLabel*>("DescriptionText");
        QVERIFY(Name(described).contains("address"));
        QVERIFY(!Description(described).isEmpty());

        CodeBox* code = &s.Docs().ActiveWindow()->Code();
        QWidget* lines = code->focusProxy();
        QCOMPARE(Name(lines), QString("HTML code"));
        code->SelectRegion(
            QString::fromStdString(s.Current().Hotspots[static_cast<std::size_t>(slot)].Name));
        QVERIFY2(Description(lines).contains("page.html"), qPrintable(Description(lines)));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
