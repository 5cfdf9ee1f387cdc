// The drawing surface driven with real mouse and key events at picture coordinates, asserting
// on the events it reports; and the pure geometry under its gestures.

#include "components/common/color.h"
#include "components/drawing_surface/drawing_surface.h"
#include "components/drawing_surface/figure_geometry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolTip>
#include <cmath>
#include <map>
#include <memory>

using namespace karvex;
using namespace karvex::surface;

namespace {

QImage Picture()
{
    QImage picture(200, 150, QImage::Format_RGB32);
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 200; ++x)
            picture.setPixel(
                x, y, (x / 10 + y / 10) % 2 ? qRgb(70, 120, 180) : qRgb(230, 220, 190));
    }
    return picture;
}

// "rect 10,20,30,40": the kind and the coordinate text.
QString Text(int kind, const std::string& coords)
{
    static const char* const kKinds[] = { "?", "rect", "circle", "poly" };
    return QString(kKinds[kind >= 1 && kind <= 3 ? kind : 0]) + ' '
        + QString::fromStdString(coords);
}
QString Text(const Shape& shape) { return Text(shape.Kind, CoordsText(shape)); }
// "#4 rect 10,20,30,40": a figure's id, kind and coordinate text.
QString Text(const Figure& f) { return QString("#%1 ").arg(f.Id) + Text(f.Kind, f.Coordinates); }

QRect Box(const Figure& f) { return QRect(QPoint(f.X1, f.Y1), QPoint(f.X2, f.Y2)); }

// Every call of a spied signal: its arguments joined by blanks, figures written as Text writes
// them ("1 5 #5 rect 20,10,50,40").
QStringList Said(const QSignalSpy& spy)
{
    QStringList calls;
    for (const QList<QVariant>& call : spy) {
        QStringList arguments;
        for (const QVariant& argument : call)
            arguments << (argument.metaType() == QMetaType::fromType<Figure>()
                    ? Text(argument.value<Figure>())
                    : argument.metaType() == QMetaType::fromType<FigureAction>()
                    ? QString::number(static_cast<int>(argument.value<FigureAction>()))
                    : argument.toString());
        calls << arguments.join(' ');
    }
    return calls;
}

// A shown surface over a 200 x 150 picture, with a pointer that works in picture pixels and
// spies on all its events.
struct Fixture
{
    DrawingSurface Surface;
    QWidget* Canvas = nullptr;
    Qt::MouseButtons Held;
    std::map<QByteArray, std::unique_ptr<QSignalSpy>> Spies; // every signal, by name

    Fixture()
    {
        Surface.resize(640, 480);
        Surface.SetSurfacePicture(Picture());
        Surface.SetMapSize(200, 150);
        Surface.show();
        Canvas = Surface.findChild<QWidget*>("Canvas");
        const QMetaObject& meta = DrawingSurface::staticMetaObject;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            if (meta.method(i).methodType() == QMetaMethod::Signal)
                Spies[meta.method(i).name()]
                    = std::make_unique<QSignalSpy>(&Surface, meta.method(i));
        }
        QVERIFY(QTest::qWaitForWindowExposed(&Surface));
    }
    QSignalSpy& Spy(const char* signal) const { return *Spies.at(signal); }
    QStringList Said(const char* signal) const { return ::Said(Spy(signal)); }
    // How often each of the blank-separated signals was raised: "1 0 2".
    QString Counts(const QString& names) const
    {
        QStringList counts;
        for (const QString& signal : names.split(' '))
            counts << QString::number(Spy(qPrintable(signal)).count());
        return counts.join(' ');
    }
    Figure Last(const char* signal, int argument = 0) const
    {
        return Spy(signal).last().at(argument).value<Figure>();
    }

    // The canvas position at the middle of a picture pixel for the present zoom.
    QPoint At(QPoint picture) const
    {
        const double scale = Surface.ZoomPercent() / 100.0;
        return { static_cast<int>(std::floor((picture.x() + 0.5) * scale)),
            static_cast<int>(std::floor((picture.y() + 0.5) * scale)) };
    }

    void Send(QEvent::Type type, QPoint picture, Qt::MouseButton button = Qt::NoButton,
        Qt::KeyboardModifiers modifiers = {})
    {
        if (type == QEvent::MouseButtonPress)
            Held |= button;
        if (type == QEvent::MouseButtonRelease)
            Held &= ~Qt::MouseButtons(button);
        const QPoint at = At(picture);
        QMouseEvent event(
            type, QPointF(at), QPointF(Canvas->mapToGlobal(at)), button, Held, modifiers);
        QApplication::sendEvent(Canvas, &event);
    }
    void Press(QPoint p) { Send(QEvent::MouseButtonPress, p, Qt::LeftButton); }
    void Move(QPoint p) { Send(QEvent::MouseMove, p); }
    void Release(QPoint p) { Send(QEvent::MouseButtonRelease, p, Qt::LeftButton); }
    void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {})
    {
        Send(QEvent::MouseButtonPress, p, button, mods);
        Send(QEvent::MouseButtonRelease, p, button, mods);
    }
    void Drag(QPoint from, QPoint to)
    {
        Press(from);
        Move((from + to) / 2);
        Move(to);
        Release(to);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(Canvas, key, mods); }
};

} // namespace

class DrawingSurfaceTest : public QObject
{
    Q_OBJECT

private slots:
    void geometryReadsAndWritesCoordinateText()
    {
        const std::tuple<int, const char*, const char*, QRect> cases[] = {
            { 1, "10,20,30,40", "rect 10,20,30,40", QRect(10, 20, 21, 21) },
            { 1, "30,40,10,20", "rect 10,20,30,40", QRect(10, 20, 21, 21) }, // corners swapped
            { 2, "50, 60, 10", "circle 50,60,10", QRect(40, 50, 21, 21) },
            { 3, "1,2 5,2 3,9 7", "poly 1,2,5,2,3,9", QRect(1, 2, 5, 8) }, // an odd count
            { 1, "5,x", "rect 0,0,5,0", QRect(0, 0, 6, 1) }, // missing numbers are 0
            { 2, "99999999999,0,-3", "circle 1000000,0,3", QRect(999997, -3, 7, 7) }, // limited
            { 9, "1,2,3,4", "rect 1,2,3,4", QRect(1, 2, 3, 3) }, // an unknown kind: rectangle
        };
        for (const auto& [kind, coords, written, box] : cases) {
            const Shape shape = ShapeFromText(kind, coords);
            QCOMPARE(Text(shape), QString(written));
            QCOMPARE(Bounds(shape), box);
        }
    }

    void geometryShapesFromEveryOperation()
    {
        const QSize area(100, 100);
        const Shape rect = ShapeFromText(kRectangle, "10,10,50,30");
        const Shape square = ShapeFromText(kPolygon, "0,0,10,0,10,10,0,10");
        const Shape corner = ShapeFromText(kPolygon, "0,0,10,0,10,10");
        const std::pair<Shape, const char*> cases[] = {
            { ClampInside(ShapeFromText(kPolygon, "-5,3,120,90,50,50"), QSize(100, 80)),
                "poly 0,3,99,79,50,50" },
            // Dragging the top-left corner past the bottom-right flips into a proper rectangle.
            { DragHandle(rect, 0, QPoint(70, 40), area), "rect 50,30,70,40" },
            { DragHandle(rect, 3, QPoint(80, 0), area), "rect 10,10,80,30" },
            { DragHandle(ShapeFromText(kCircle, "50,50,10"), 1, QPoint(50, 75), area),
                "circle 50,50,25" },
            { DragHandle(ShapeFromText(kCircle, "50,50,10"), 1, QPoint(50, 50), area),
                "circle 50,50,1" },
            { WithCornerRemoved(square, 0), "poly 10,0,10,10,0,10" },
            { Rotated(ShapeFromText(kCircle, "5,5,3"), 45.0, QSize()), "circle 5,5,3" },
            { ConvertedKind(rect, kPolygon), "poly 10,10,50,10,50,30,10,30" },
            { ConvertedKind(ShapeFromText(kPolygon, "0,0,8,2,4,9"), kRectangle), "rect 0,0,8,9" },
            { WithBound(rect, 3, 5), "rect 5,10,10,30" },
            { WithBound(rect, 2, 0), "rect 10,0,50,30" },
            { WithBound(rect, 7, 1), "rect 10,10,50,30" },
            // A polygon stretches with its box; it never mirrors past the opposite side.
            { WithBound(corner, 3, 20), "poly 0,0,20,0,20,10" },
            { WithBound(corner, 1, 30), "poly 10,0,10,0,10,10" },
            { WithBound(ShapeFromText(kCircle, "20,20,10"), 3, 50), "circle 30,20,20" },
        };
        for (const auto& [shape, written] : cases)
            QCOMPARE(Text(shape), QString(written));
        QCOMPARE(ConvertedKind(ShapeFromText(kCircle, "20,20,10"), kPolygon).Points.size(), 8u);
        QCOMPARE(EdgeNear(square, QPointF(5, 10.5), 1.0), 2);
        QCOMPARE(EdgeNear(square, QPointF(5, 5), 1.0), -1);
    }

    void geometryNumbersAndHitTests()
    {
        QCOMPARE(KindForCount(kPolygon, 6), kPolygon);
        QCOMPARE(KindForCount(kRectangle, 3), kCircle);
        QCOMPARE(KindForCount(kCircle, 4), kRectangle);
        QCOMPARE(KindForCount(kRectangle, 8), kPolygon);
        QCOMPARE(KindForCount(kCircle, 5), kCircle);
        // A figure already sticking out may come back in but not go further out.
        QCOMPARE(LimitMove(QRect(-5, 0, 10, 10), QPoint(-3, 0), QSize(100, 80)), QPoint(0, 0));
        QCOMPARE(LimitMove(QRect(-5, 0, 10, 10), QPoint(4, 0), QSize(100, 80)), QPoint(4, 0));
        QCOMPARE(qRound(AngleDegrees(QPointF(0, 0), QPointF(10, 0), QPointF(0, -10))), -90);
        const Shape triangle = ShapeFromText(kPolygon, "0,0,20,0,0,20");
        QVERIFY(Contains(triangle, QPointF(3, 3), 0));
        QVERIFY(!Contains(triangle, QPointF(15, 15), 0));
        QVERIFY(Contains(triangle, QPointF(11, 11), 2));
        QVERIFY(Contains(ShapeFromText(kCircle, "10,10,5"), QPointF(14, 12), 0));
        QVERIFY(!Contains(ShapeFromText(kCircle, "10,10,5"), QPointF(15, 15), 0));
        QVERIFY(Contains(ShapeFromText(kRectangle, "5,5,6,6"), QPointF(6, 6), 0));
        QVERIFY(!Contains(ShapeFromText(kPolygon, ""), QPointF(0, 0), 5));
    }

    void drawingReportsTheFigureAndSelectsIt_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QRect>("box");
        QTest::newRow("rectangle")
            << 1 << QPoint(60, 50) << "rect 20,30,60,50" << QRect(20, 30, 41, 21);
        // Dragged from the centre; the radius is cut to keep the circle inside the picture.
        QTest::newRow("circle") << 2 << QPoint(65, 30) << "circle 20,30,20" << QRect(0, 10, 41, 41);
    }
    void drawingReportsTheFigureAndSelectsIt()
    {
        QFETCH(int, tool);
        QFETCH(QPoint, to);
        QFETCH(QString, figure);
        Fixture f;
        f.Surface.SetShapeColor(0x00FF00);
        connect(&f.Surface, &DrawingSurface::FigureCreated, &f.Surface,
            [&f] { f.Surface.AssignFigureId(4); });
        f.Surface.SetDrawTool(static_cast<DrawTool>(tool));
        f.Drag(QPoint(20, 30), to);
        QCOMPARE(f.Said("FigureCreated"), QStringList { "#0 " + figure });
        QTEST(Box(f.Last("FigureCreated")), "box");
        QCOMPARE(f.Last("FigureCreated").Color, 0x00FF00);
        QCOMPARE(f.Counts("DragRectStarted"), "1");
        // The new figure is selected under the id the program gave it.
        QCOMPARE(f.Said("FigureSelected"), QStringList { "#4 " + figure });
        // The tool goes back to the pointer: the next drag moves the figure instead of drawing.
        f.Drag(QPoint(30, 40), QPoint(35, 40));
        QCOMPARE(f.Counts("FigureCreated FigureChanged"), "1 1");
        QCOMPARE(f.Last("FigureChanged").Id, 4);
        QCOMPARE(f.Last("FigureChanged").X1, f.Last("FigureCreated").X1 + 5);
    }

    void drawingsEndWithAFigureOrWithout()
    {
        Fixture f;
        f.Surface.SetDrawTool(DrawTool::Polygon);
        // A repeated corner counts once.
        for (const QPoint at : { QPoint(10, 10), QPoint(40, 12), QPoint(40, 12), QPoint(25, 60) }) {
            f.Move(at);
            f.Click(at);
        }
        QCOMPARE(f.Counts("PolygonStarted FigureCreated"), "1 0");
        f.Click(QPoint(100, 100), Qt::RightButton);
        QCOMPARE(f.Said("FigureCreated"), QStringList { "#0 poly 10,10,40,12,25,60" });
        QCOMPARE(Box(f.Last("FigureCreated")), QRect(QPoint(10, 10), QPoint(40, 60)));
        QCOMPARE(f.Counts("PolygonEnded"), "1");
        // The right button that ends a polygon does not open the pop-up menu.
        QCOMPARE(f.Said("SurfaceMouseUp").filter(QRegularExpression("^2 ")), QStringList());
        // A double-click also ends one, adding its own corner.
        f.Surface.SetDrawTool(DrawTool::Polygon);
        f.Click(QPoint(120, 10));
        f.Click(QPoint(150, 10));
        f.Send(QEvent::MouseButtonDblClick, QPoint(150, 40), Qt::LeftButton);
        QCOMPARE(f.Said("FigureCreated").mid(1), QStringList { "#0 poly 120,10,150,10,150,40" });

        // Escape, a polygon of two corners, or a twitch of the mouse leave no figure.
        f.Surface.SetDrawTool(DrawTool::Polygon);
        for (const QPoint at : { QPoint(10, 10), QPoint(60, 10), QPoint(60, 60) })
            f.Click(at);
        f.Key(Qt::Key_Escape);
        f.Click(QPoint(10, 60), Qt::RightButton);
        QCOMPARE(f.Counts("PolygonEnded DrawingEnded"), "3 1");
        f.Surface.SetDrawTool(DrawTool::Polygon);
        f.Click(QPoint(10, 10));
        f.Click(QPoint(60, 10));
        f.Click(QPoint(60, 10), Qt::RightButton);
        QCOMPARE(f.Counts("DrawingEnded"), "2");
        f.Surface.SetDrawTool(DrawTool::Rectangle);
        f.Drag(QPoint(50, 50), QPoint(52, 51));
        QCOMPARE(f.Counts("DrawingEnded"), "2");
        f.Press(QPoint(50, 50));
        f.Move(QPoint(80, 90));
        f.Key(Qt::Key_Escape);
        f.Release(QPoint(80, 90));
        QCOMPARE(f.Counts("DrawingEnded FigureCreated"), "3 2");
    }

    void selectingAndMovingReportOnRelease()
    {
        Fixture f;
        f.Surface.AddFigure("10,10,80,80", 1, 0, false, 3);
        f.Surface.AddFigure("50,50,20", 2, 0, false, 7); // on top of the rectangle
        f.Click(QPoint(50, 50));
        f.Click(QPoint(15, 15));
        QCOMPARE(
            f.Said("FigureSelected"), QStringList({ "#7 circle 50,50,20", "#3 rect 10,10,80,80" }));
        f.Press(QPoint(20, 20));
        f.Move(QPoint(25, 22));
        f.Move(QPoint(35, 30));
        QCOMPARE(f.Counts("FigureChanged MoveStarted"), "0 1");
        QCOMPARE(f.Said("DragTracking").last(), "25 20 95 90");
        f.Release(QPoint(35, 30));
        QCOMPARE(f.Said("FigureChanged"), QStringList { "#3 rect 25,20,95,90" });
        QCOMPARE(Box(f.Last("FigureChanged")), QRect(QPoint(25, 20), QPoint(95, 90)));
        QCOMPARE(f.Counts("MoveEnded"), "1");

        f.Click(QPoint(150, 130));
        QCOMPARE(f.Counts("SelectionCleared"), "1");
        QCOMPARE(f.Surface.SelectedFigureId(), 0);
        // Hidden figures cannot be hit.
        f.Surface.ShowFigures(0);
        f.Click(QPoint(30, 30));
        f.Surface.ShowFigures(1);
        QCOMPARE(f.Counts("SelectionCleared FigureSelected"), "2 2");
        f.Click(QPoint(30, 30));
        QCOMPARE(f.Counts("FigureSelected"), "3");
    }

    void arrowKeysNudgeAndMergeIntoOneUndoStep()
    {
        Fixture f;
        f.Surface.AddFigure("10,10,20,20", 1, 0, false, 1);
        f.Surface.SelectFigure(1);
        f.Canvas->setFocus();
        f.Key(Qt::Key_Right);
        f.Key(Qt::Key_Down, Qt::ShiftModifier);
        f.Key(Qt::Key_Left, Qt::ShiftModifier);
        f.Key(Qt::Key_Left, Qt::ShiftModifier); // stops at the picture's edge
        QCOMPARE(f.Said("FigureChanged"),
            QStringList({ "#1 rect 11,10,21,20", "#1 rect 11,20,21,30", "#1 rect 1,20,11,30",
                "#1 rect 0,20,10,30" }));
        f.Surface.Undo();
        QCOMPARE(f.Surface.SelectedCoords(), std::string("10,10,20,20"));
        f.Surface.Redo();
        QCOMPARE(f.Surface.SelectedCoords(), std::string("0,20,10,30"));
    }

    void lockedFiguresStaySelectableButDoNotChange()
    {
        Fixture f;
        f.Surface.AddFigure("10,10,60,60", 1, 0, false, 2);
        f.Surface.SelectFigure(2);
        f.Surface.LockSelected(true);
        f.Surface.SetAllSelected(false);
        f.Drag(QPoint(30, 30), QPoint(90, 90));
        QCOMPARE(f.Said("FigureSelected"), QStringList { "#2 rect 10,10,60,60" });
        f.Drag(QPoint(60, 60), QPoint(100, 100)); // the corner handle does not resize it either
        f.Key(Qt::Key_Right);
        f.Surface.SetDrawTool(DrawTool::Rotate);
        f.Drag(QPoint(55, 35), QPoint(35, 55));
        QCOMPARE(f.Counts("FigureChanged RotateStarted"), "0 0");
        QCOMPARE(f.Surface.SelectedCoords(), std::string("10,10,60,60"));
        // Unlocking is undoable, and undoing it reports the lock with the figure selected.
        f.Surface.LockSelected(false);
        f.Spy("FigureSelected").clear();
        f.Surface.Undo();
        QCOMPARE(f.Said("LockChanged"), QStringList { "true" });
        QCOMPARE(f.Said("FigureSelected"), QStringList { "#2 rect 10,10,60,60" });
    }

    void rotatingARectangleMakesItAPolygon()
    {
        Fixture f;
        f.Surface.AddFigure("40,50,80,70", 1, 0, false, 6);
        f.Surface.AddFigure("150,100,20", 2, 0, false, 8);
        f.Surface.SetDrawTool(DrawTool::Rotate);
        // About the centre (60, 60): from straight right to straight down is +90 degrees.
        f.Press(QPoint(75, 60));
        f.Move(QPoint(72, 68));
        f.Move(QPoint(60, 75));
        QCOMPARE(f.Said("StatusNote").last(), "90");
        f.Release(QPoint(60, 75));
        QCOMPARE(f.Said("FigureChanged"), QStringList { "#6 poly 70,40,70,80,50,80,50,40" });
        QCOMPARE(f.Counts("RotateEnded"), "1");
        QCOMPARE(f.Surface.SelectedFigureId(), 6);
        f.Surface.Undo();
        QCOMPARE(f.Said("FigureStateChanged"), QStringList { "4 6 #6 rect 40,50,80,70" });
        QCOMPARE(f.Said("FigureChanged").mid(1), QStringList { "#6 rect 40,50,80,70" });
        // Circles are never rotated.
        f.Surface.SetDrawTool(DrawTool::Rotate);
        f.Drag(QPoint(165, 100), QPoint(150, 115));
        QCOMPARE(f.Surface.SelectedFigureId(), 8);
        QCOMPARE(f.Counts("FigureChanged RotateEnded"), "2 1");
    }

    void undoAndRedoReportRestoredRemovedAndChanged()
    {
        Fixture f;
        connect(&f.Surface, &DrawingSurface::FigureCreated, &f.Surface,
            [&f] { f.Surface.AssignFigureId(5); });
        f.Surface.SetDrawTool(DrawTool::Rectangle);
        f.Drag(QPoint(10, 10), QPoint(40, 40));
        QCOMPARE(f.Said("UndoStateChanged"), QStringList { "true false" });
        f.Drag(QPoint(20, 20), QPoint(30, 20));
        f.Surface.DeleteSelected();
        QCOMPARE(f.Surface.SelectedFigureId(), 0);

        f.Surface.Undo(); // the delete
        QCOMPARE(f.Said("FigureStateChanged"), QStringList { "1 5 #5 rect 20,10,50,40" });
        QCOMPARE(f.Surface.SelectedFigureId(), 5);
        QCOMPARE(f.Said("UndoStateChanged").last(), "true true");
        f.Spy("FigureSelected").clear();
        f.Surface.Undo(); // the move: the figure is selected, then changed
        QCOMPARE(f.Counts("FigureSelected"), "1");
        QCOMPARE(f.Said("FigureChanged").last(), "#5 rect 10,10,40,40");
        f.Surface.Undo(); // the drawing
        QCOMPARE(f.Said("FigureStateChanged").last(), "3 5 #5 rect 10,10,40,40");
        QCOMPARE(f.Said("UndoStateChanged").last(), "false true");
        f.Surface.Redo();
        QCOMPARE(f.Said("FigureStateChanged").last(), "1 5 #5 rect 10,10,40,40");
        f.Surface.Redo();
        f.Surface.Redo();
        QCOMPARE(f.Said("FigureStateChanged").last(), "3 5 #5 rect 20,10,50,40");
        QCOMPARE(f.Said("UndoStateChanged").last(), "true false");
    }

    void programChangesAreUndoable()
    {
        Fixture f;
        f.Surface.SetRedraw(false);
        f.Surface.AddFigure("10,10,50,50", 1, 255, false, 1); // loading: not an edit
        f.Surface.SetRedraw(true);
        QVERIFY(!f.Surface.CanUndo());
        f.Surface.ChangeFigureShape(1, 2);
        QCOMPARE(f.Said("FigureChanged"), QStringList { "#1 circle 30,30,20" });
        f.Surface.Undo();
        QCOMPARE(f.Said("FigureStateChanged"), QStringList { "4 1 #1 rect 10,10,50,50" });
        QCOMPARE(f.Last("FigureStateChanged", 2).Color, 255);

        f.Surface.SelectFigure(1);
        f.Surface.SetSelectedCoordinate(3, 500); // kept inside the 200 pixel wide picture
        QCOMPARE(f.Said("FigureChanged").last(), "#1 rect 10,10,199,50");
        f.Surface.SetFigureCoords(1, "5,5,25");
        QCOMPARE(f.Surface.SelectedCoords(), std::string("5,5,25"));
        f.Surface.Undo();
        QCOMPARE(f.Surface.SelectedCoords(), std::string("10,10,199,50"));

        QCOMPARE(f.Surface.AddFigure("0,0,10,10", 1, 0, false, 9), 9);
        f.Surface.Undo();
        QCOMPARE(f.Said("FigureStateChanged").last(), "3 9 #9 rect 0,0,10,10");
        f.Surface.FinishBulkAdd();
        f.Surface.AfterBulkAdd();
        QVERIFY(!f.Surface.CanUndo());
        QVERIFY(!f.Surface.CanRedo());
    }

    void resizingByHandlesAndEditingCorners()
    {
        Fixture f;
        f.Surface.AddFigure("20,20,60,50", 1, 0, false, 1);
        f.Surface.AddFigure("140,60,20", 2, 0, false, 2);
        f.Surface.AddFigure("100,110,150,110,150,140", 3, 0, false, 3);
        f.Surface.AddFigure("10,100,40,100,40,140,10,140", 3, 0, false, 4);
        f.Surface.SelectFigure(1);
        f.Drag(QPoint(60, 50), QPoint(90, 70)); // the bottom-right corner
        f.Drag(QPoint(20, 45), QPoint(5, 45)); // the handle in the middle of the left edge
        f.Surface.SelectFigure(2);
        f.Drag(QPoint(160, 60), QPoint(170, 60)); // the radius handle on the east
        f.Surface.SelectFigure(3);
        f.Drag(QPoint(150, 140), QPoint(150, 145));
        QCOMPARE(f.Counts("PointMoveEnded"), "4");
        // Ctrl + click on an edge adds a corner, on a corner removes it; a triangle keeps three.
        for (const QPoint at : { QPoint(125, 110), QPoint(150, 110), QPoint(125, 110) })
            f.Click(at, Qt::LeftButton, Qt::ControlModifier);
        // Delete removes the corner last clicked.
        f.Surface.SelectFigure(4);
        f.Click(QPoint(40, 140));
        f.Canvas->setFocus();
        f.Key(Qt::Key_Delete);
        QCOMPARE(f.Said("FigureChanged"),
            QStringList({ "#1 rect 20,20,90,70", "#1 rect 5,20,90,70", "#2 circle 140,60,30",
                "#3 poly 100,110,150,110,150,145", "#3 poly 100,110,125,110,150,110,150,145",
                "#3 poly 100,110,125,110,150,145", "#4 poly 10,100,40,100,10,140" }));
    }

    void coordinatesArePicturePixelsInsideThePictureAtAnyZoom()
    {
        Fixture f;
        f.Surface.SetDrawTool(DrawTool::Rectangle);
        f.Drag(QPoint(150, 100), QPoint(260, 400));
        QCOMPARE(f.Said("SurfaceMouseUp").last(), "1 0 199 149");
        f.Drag(QPoint(160, 120), QPoint(100, 160)); // down is blocked by the edge
        f.Drag(QPoint(120, 130), QPoint(-300, -300));
        QCOMPARE(f.Said("FigureChanged"),
            QStringList({ "#0 rect 90,100,139,149", "#0 rect 0,0,49,49" }));
        f.Click(QPoint(120, 120), Qt::RightButton, Qt::ShiftModifier);
        QCOMPARE(f.Said("SurfaceMouseUp").last(), "2 1 120 120");

        f.Surface.SetZoomPercent(400);
        QCOMPARE(f.Canvas->size(), QSize(800, 600));
        f.Surface.SetDrawTool(DrawTool::Rectangle);
        f.Drag(QPoint(10, 12), QPoint(30, 20));
        f.Surface.SetZoomPercent(25);
        QCOMPARE(f.Canvas->size(), QSize(50, 38));
        f.Surface.SetDrawTool(DrawTool::Rectangle);
        f.Drag(QPoint(100, 40), QPoint(180, 120));
        QCOMPARE(f.Said("FigureCreated"),
            QStringList(
                { "#0 rect 150,100,199,149", "#0 rect 10,12,30,20", "#0 rect 100,40,180,120" }));
        f.Surface.SetZoomPercent(1000);
        QCOMPARE(f.Surface.ZoomPercent(), 500);
        QCOMPARE(f.Said("ZoomChanged"), QStringList({ "400", "25", "500" }));
    }

    void previewHoversAndActivatesWithoutEditing()
    {
        Fixture f;
        f.Surface.AddFigure("20,20,60,60", 1, 0, false, 4);
        connect(&f.Surface, &DrawingSurface::FigureHover, &f.Surface, [&f](int state, int) {
            if (state == 1)
                f.Surface.ShowTip("Go home");
        });
        f.Surface.SetViewMode(SurfaceMode::Preview);
        f.Move(QPoint(100, 100));
        f.Move(QPoint(30, 30));
        QTRY_COMPARE(QToolTip::text(), QString("Go home"));
        f.Move(QPoint(35, 30));
        QCOMPARE(f.Said("FigureHover"), QStringList { "1 4" });
        f.Click(QPoint(35, 30));
        f.Drag(QPoint(30, 30), QPoint(80, 80)); // released outside the figure: no activation
        QCOMPARE(f.Said("FigureActivated"), QStringList { "1 4" });
        QCOMPARE(f.Counts("FigureChanged FigureSelected"), "0 0");
        f.Move(QPoint(150, 120));
        QCOMPARE(f.Said("FigureHover").last(), "0 4");
        // Design mode reports hovering too.
        f.Surface.SetViewMode(SurfaceMode::Design);
        f.Move(QPoint(30, 30));
        QCOMPARE(f.Said("FigureHover").last(), "1 4");
    }

    void loadFiguresReplacesAllWithIdsInTagOrder()
    {
        Fixture f;
        f.Surface.AddFigure("0,0,5,5", 1, 0, false, 7);
        f.Surface.LoadFigures(2,
            "<AREA SHAPE=\"circle\" COORDS=\"50,50,10\" HREF=\"a.html\">\r\n"
            "<area shape=\"POLYGON\" coords=\"1,1,20,1,20,20\">\r\n"
            "<AREA COORDS=\"5,6,7,8\">\r\n");
        QVERIFY(!f.Surface.CanUndo());
        const char* coords[] = { "50,50,10", "1,1,20,1,20,20", "5,6,7,8" };
        for (int id = 1; id <= 3; ++id) {
            f.Surface.SelectFigure(id);
            QCOMPARE(f.Surface.SelectedCoords(), std::string(coords[id - 1]));
        }
        f.Surface.SelectFigure(4);
        f.Surface.SelectFigure(7);
        QCOMPARE(f.Surface.SelectedFigureId(), 3);
    }

    void crowdedViewsDrawPlainOutlines()
    {
        Fixture f;
        f.Surface.SetShapeColor(255);
        f.Surface.AddFigure("20,20,120,120", 1, 0, false, 1);
        const QPoint inside = f.At(QPoint(70, 70));
        const QRgb plain = Picture().pixel(70, 70);
        QVERIFY(f.Canvas->grab().toImage().pixel(inside) != plain); // tinted
        // Past 2,000 figures in view only the selected one keeps its tint.
        f.Surface.SetRedraw(false);
        for (int id = 2; id <= 2002; ++id)
            f.Surface.AddFigure("150,10,152,12", 1, 0, false, id);
        f.Surface.SetRedraw(true);
        QCOMPARE(f.Canvas->grab().toImage().pixel(inside), plain);
        f.Surface.SelectFigure(1);
        QVERIFY(f.Canvas->grab().toImage().pixel(inside) != plain);
    }

    void hotspotsShowOnLightAndDarkPictures_data()
    {
        QTest::addColumn<QRgb>("picture");
        QTest::addColumn<int>("color"); // the hotspot's colour number
        QTest::newRow("black on black") << qRgb(0, 0, 0) << 0;
        QTest::newRow("white on white") << qRgb(255, 255, 255) << 0xFFFFFF;
        QTest::newRow("red on dark red") << qRgb(90, 0, 0) << 0x0000FF;
    }
    void hotspotsShowOnLightAndDarkPictures()
    {
        QFETCH(QRgb, picture);
        QFETCH(int, color);
        Fixture f;
        QImage plain(200, 150, QImage::Format_RGB32);
        plain.fill(picture);
        f.Surface.SetSurfacePicture(plain);
        f.Surface.SetShapeColor(color);
        f.Surface.AddFigure("40,40,100,100", 1, color, false, 1);
        f.Surface.AddFigure("150,75,30", 2, color, false, 2);
        const QImage shot = f.Canvas->grab().toImage();
        // Across the left edge of the rectangle and the circle, neither selected nor hovered:
        // some pixels stand out from the picture, and the hotspot's own colour is among them.
        for (const auto& [from, to] :
            { std::pair(QPoint(36, 70), QPoint(44, 70)), { QPoint(116, 75), QPoint(124, 75) } }) {
            int differing = 0;
            bool ownColor = false;
            for (int x = from.x(); x <= to.x(); ++x) {
                const QRgb pixel = shot.pixel(f.At(QPoint(x, from.y())));
                differing += pixel != picture ? 1 : 0;
                ownColor = ownColor || pixel == ToQColor(color).rgb();
            }
            QVERIFY2(differing >= 3, qPrintable(QString("%1 pixels differ").arg(differing)));
            QVERIFY(ownColor);
        }
        // The inside differs from the picture too.
        QVERIFY(shot.pixel(f.At(QPoint(70, 70))) != picture);
    }

    void tabWalksThroughTheFiguresInIdOrder()
    {
        Fixture f;
        for (const int id : { 3, 1, 2 })
            f.Surface.AddFigure(QString("%1,10,%2,40").arg(id * 40).arg(id * 40 + 30).toStdString(),
                1, 0, false, id);
        QStringList walk;
        const auto step = [&](Qt::Key key, Qt::KeyboardModifiers mods = {}) {
            f.Key(key, mods);
            walk << QString::number(f.Surface.SelectedFigureId());
        };
        for (int i = 0; i < 4; ++i)
            step(Qt::Key_Tab);
        step(Qt::Key_Backtab, Qt::ShiftModifier);
        step(Qt::Key_Tab, Qt::ShiftModifier);
        step(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(walk.join(' '), QString("1 2 3 1 3 2 1"));
        QCOMPARE(f.Counts("FigureSelected"), "7");
        // Shift+Tab with nothing selected starts from the last one; a drawing under way keeps
        // the selection.
        f.Click(QPoint(190, 140));
        step(Qt::Key_Backtab, Qt::ShiftModifier);
        f.Surface.SetDrawTool(DrawTool::Rectangle);
        f.Press(QPoint(20, 60));
        f.Move(QPoint(60, 100));
        step(Qt::Key_Tab);
        f.Key(Qt::Key_Escape);
        f.Release(QPoint(60, 100));
        QCOMPARE(walk.mid(7).join(' '), QString("3 3"));
        QCOMPARE(f.Counts("FigureCreated DrawingEnded"), "0 1");
    }

    void pagesSwitchBetweenCanvasAndContainers()
    {
        Fixture f;
        auto* code = new QWidget;
        f.Surface.AddPage("Design", "Design", nullptr, QIcon());
        f.Surface.AddPage("Code", "Code", code, QIcon());
        f.Surface.AddPage("Preview", "Preview", nullptr, QIcon());
        f.Surface.SelectPage(1);
        f.Surface.SelectPage(2);
        QVERIFY(code->isVisible());
        QVERIFY(!f.Canvas->isVisible());
        auto* tabs = f.Surface.findChild<QTabBar*>("Pages");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        QVERIFY(f.Canvas->isVisible());
        f.Surface.SelectPage(9);
        QCOMPARE(f.Said("PageChanged"), QStringList({ "Design", "Code", "Preview" }));
    }
};

QTEST_MAIN(DrawingSurfaceTest)
#include "drawing_surface_test.moc"
