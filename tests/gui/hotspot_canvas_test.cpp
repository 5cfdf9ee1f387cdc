// The canvas in the running editor: a page's default area under its other hotspots, the
// hotspot labels of the View menu, Escape during a drawing, and what the canvas tells
// assistive tools about the selected hotspot.

#include "components/command_bars/command_bars.h"
#include "core/util/file_io.h"
#include "support/editor_session.h"
#include "ui/document_model.h"

#include <QAccessible>
#include <QTest>

using namespace karvex;
using test::Session;

namespace {

// The default area comes last, where pages usually put it.
constexpr const char* kPage = "<html><body>\n"
                              "<img src=\"pic.png\" usemap=\"#nav\">\n"
                              "<map name=\"nav\">\n"
                              "<area shape=\"rect\" coords=\"10,10,150,100\" href=\"door.html\" "
                              "alt=\"The front door\">\n"
                              "<area shape=\"circle\" coords=\"250,150,40\" href=\"sun.html\">\n"
                              "<area shape=\"default\" href=\"elsewhere.html\">\n"
                              "</map>\n</body></html>\n";

void OpenPage(Session& app)
{
    app.Picture("pic.png", 320, 240);
    const std::string page = app.Home.File("page.html");
    QVERIFY(WriteWholeFile(page, kPage));
    QVERIFY(app.Docs().OpenDocument(page, false));
    QCOMPARE(app.Current().Hotspots.size(), std::size_t { 4 });
}

QWidget* Canvas(Session& app) { return app.Surface().findChild<QWidget*>("Canvas"); }

// What assistive tools read: the canvas's accessible description.
QString Told(QWidget* canvas)
{
    return QAccessible::queryAccessibleInterface(canvas)->text(QAccessible::Description);
}

} // namespace

class HotspotCanvasTest : public QObject
{
    Q_OBJECT

private slots:
    void defaultAreaIsHitOnlyWhereNoOtherHotspotIs()
    {
        Session app;
        OpenPage(app);
        QCOMPARE(app.Current().Hotspots[3].Coords, std::string("0,0,320,240"));
        // Inside the rectangle and the circle, which lie inside the default area too.
        app.Click(QPoint(50, 50));
        QCOMPARE(app.State.CurrentHotspot, 1);
        app.Click(QPoint(250, 150));
        QCOMPARE(app.State.CurrentHotspot, 2);
        app.Click(QPoint(300, 20));
        QCOMPARE(app.State.CurrentHotspot, 3);
        app.Click(QPoint(100, 60));
        QCOMPARE(app.State.CurrentHotspot, 1);
        // A rectangle drawn over the default area later still lies on top of it.
        app.Window->RunCommand("T_RECTANGLE");
        app.Drag(QPoint(200, 20), QPoint(240, 60));
        QCOMPARE(app.State.CurrentHotspot, 4);
        app.Click(QPoint(300, 20));
        app.Click(QPoint(220, 40));
        QCOMPARE(app.State.CurrentHotspot, 4);
    }

    void labelsShowAltOrNameAndAreKept()
    {
        Session app;
        OpenPage(app);
        QVERIFY(app.Bars().IsEnabled("ViewLabels"));
        QVERIFY(!app.Bars().IsTicked("ViewLabels"));
        const QImage before = Canvas(app)->grab().toImage();
        app.Window->RunCommand("ViewLabels");
        QVERIFY(app.Bars().IsTicked("ViewLabels"));
        const QImage labelled = Canvas(app)->grab().toImage();
        // The labels sit in the middle of the rectangle ("The front door") and of the circle
        // (its name, as it has no ALT); the text is light on a dark plate.
        for (const QRect& middle : { QRect(50, 50, 60, 8), QRect(235, 147, 30, 8) }) {
            int changed = 0;
            int light = 0;
            for (int y = middle.top(); y <= middle.bottom(); ++y) {
                for (int x = middle.left(); x <= middle.right(); ++x) {
                    changed += before.pixel(x, y) != labelled.pixel(x, y) ? 1 : 0;
                    light += qGray(labelled.pixel(x, y)) > 200 ? 1 : 0;
                }
            }
            QVERIFY2(changed > middle.width() * middle.height() / 2,
                qPrintable(QString("%1 changed at %2").arg(changed).arg(middle.x())));
            QVERIFY(light > 10);
        }
        const std::string ini = ReadWholeFile(app.Home.File("kvx.ini")).Bytes;
        QVERIFY(ini.find("[Interface]\r\nHotspotLabels=1") != std::string::npos);

        // The next start shows them at once; switched off, they are gone and stay off.
        app.Window.reset();
        app.State = AppState();
        app.Window = StartProgram(
            app.State, app.Prompt, QString::fromStdString(app.Home.Path().string()), {});
        QVERIFY(app.Bars().IsTicked("ViewLabels"));
        QVERIFY(app.Docs().OpenDocument(app.Home.File("page.html"), false));
        QCOMPARE(Canvas(app)->grab().toImage(), labelled);
        app.Window->RunCommand("ViewLabels");
        QCOMPARE(Canvas(app)->grab().toImage(), before);
        QVERIFY(!app.Bars().IsTicked("ViewLabels"));
        QVERIFY(ReadWholeFile(app.Home.File("kvx.ini")).Bytes.find("HotspotLabels=0")
            != std::string::npos);
    }

    void escapeDropsADrawingUnderWay()
    {
        Session app;
        app.NewDocument(app.Picture("a.png"));
        QWidget* canvas = Canvas(app);
        app.Window->RunCommand("T_RECTANGLE");
        app.Mouse(QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
        app.Mouse(QEvent::MouseMove, QPoint(80, 90), Qt::NoButton, Qt::LeftButton);
        QTest::keyClick(canvas, Qt::Key_Escape);
        app.Mouse(QEvent::MouseButtonRelease, QPoint(80, 90), Qt::LeftButton, Qt::NoButton);
        app.Window->RunCommand("T_POLYGON");
        for (const QPoint at : { QPoint(10, 10), QPoint(90, 10), QPoint(50, 80) })
            app.Click(at);
        QTest::keyClick(canvas, Qt::Key_Escape);
        app.Click(QPoint(50, 120));
        QCOMPARE(app.Current().Hotspots.size(), std::size_t { 1 });
        QVERIFY(app.Bars().IsTicked("t_Mouse"));
        QVERIFY(!app.Bars().IsEnabled("t_Undo"));
    }

    void canvasTellsTheSelectedHotspotsNameShapeAndLink()
    {
        Session app;
        OpenPage(app);
        QWidget* canvas = Canvas(app);
        QCOMPARE(QAccessible::queryAccessibleInterface(canvas)->text(QAccessible::Name),
            QString("Picture and hotspots"));
        const QString help = Told(canvas);
        QVERIFY(help.contains("Tab"));

        app.Click(QPoint(50, 50));
        QCOMPARE(Told(canvas), QString("Selected: Rectangle1, rectangle, link door.html"));
        // Tab moves on, and a rename or a new link is told at once.
        QTest::keyClick(canvas, Qt::Key_Tab);
        QCOMPARE(Told(canvas), QString("Selected: Circle1, circle, link sun.html"));
        QVERIFY(app.Docs().RenameHotspot("Sun"));
        app.Docs().ActiveWindow()->Model().SetAttribute(2, "HREF", "");
        QCOMPARE(Told(canvas), QString("Selected: Sun, circle, no link"));
        QTest::keyClick(canvas, Qt::Key_Tab);
        QCOMPARE(Told(canvas), QString("Selected: Rectangle2, default area, link elsewhere.html"));
        app.Docs().ActiveWindow()->SelectMap();
        QCOMPARE(Told(canvas), help);
    }
};

QTEST_MAIN(HotspotCanvasTest)
#include "hotspot_canvas_test.moc"
