// The drawing surface driven with real mouse and key events at picture coordinates, asserting
// on the events it reports; and the pure geometry under its gestures.

#include "components/drawing_surface/drawing_surface.h"
#include "components/drawing_surface/figure_geometry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <cmath>

using namespace karvex;
using namespace karvex::surface;

namespace {

QImage Picture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(
                x, y, ((x / 10 + y / 10) % 2) ? qRgb(70, 120, 180) : qRgb(230, 220, 190));
    }
    return picture;
}

Figure FigureOf(const QSignalSpy& spy, int call, int argument = 0)
{
    return spy.at(call).at(argument).value<Figure>();
}

// A shown surface over a 200 x 150 picture, with a pointer that works in picture pixels.
struct Fixture
{
    DrawingSurface Surface;
    QWidget* Canvas = nullptr;
    Qt::MouseButtons Held;

    Fixture()
    {
        Surface.resize(640, 480);
        Surface.SetSurfacePicture(Picture(200, 150));
        Surface.SetMapSize(200, 150);
        Surface.show();
        Canvas = Surface.findChild<QWidget*>("Canvas");
    }

    // The canvas position at the middle of a picture pixel for the present zoom.
    QPoint At(QPoint picture) const
    {
        const double scale = Surface.ZoomPercent() / 100.0;
        return { static_cast<int>(std::floor((picture.x() + 0.5) * scale)),
            static_cast<int>(std::floor((picture.y() + 0.5) * scale)) };
    }

    void Send(
        QEvent::Type type, QPoint picture, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
    {
        const QPoint at = At(picture);
        QMouseEvent event(
            type, QPointF(at), QPointF(Canvas->mapToGlobal(at)), button, Held, modifiers);
        QApplication::sendEvent(Canvas, &event);
    }
    void Press(QPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {})
    {
        Held |= button;
        Send(QEvent::MouseButtonPress, p, button, mods);
    }
    void Move(QPoint p, Qt::KeyboardModifiers mods = {})
    {
        Send(QEvent::MouseMove, p, Qt::NoButton, mods);
    }
    void Release(QPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {})
    {
        Held &= ~Qt::MouseButtons(button);
        Send(QEvent::MouseButtonRelease, p, button, mods);
    }
    void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {})
    {
        Press(p, button, mods);
        Release(p, button, mods);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {})
    {
        Press(from, Qt::LeftButton, mods);
        Move((from + to) / 2, mods);
        Move(to, mods);
        Release(to, Qt::LeftButton, mods);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(Canvas, key, mods); }
};

} // namespace

class DrawingSurfaceTest : public QObject
{
    Q_OBJECT

private slots:
    void geometryReadsAndWritesCoordinateText_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("coords");
        QTest::addColumn<int>("resultKind");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QRect>("box");
        QTest::newRow("rectangle")
            << 1 << "10,20,30,40" << 1 << "10,20,30,40" << QRect(10, 20, 21, 21);
        QTest::newRow("rectangle corners swapped")
            << 1 << "30,40,10,20" << 1 << "10,20,30,40" << QRect(10, 20, 21, 21);
        QTest::newRow("circle") << 2 << "50, 60, 10" << 2 << "50,60,10" << QRect(40, 50, 21, 21);
        QTest::newRow("polygon odd count")
            << 3 << "1,2 5,2 3,9 7" << 3 << "1,2,5,2,3,9" << QRect(1, 2, 5, 8);
        QTest::newRow("missing numbers are 0") << 1 << "5,x" << 1 << "0,0,5,0" << QRect(0, 0, 6, 1);
        QTest::newRow("huge numbers are limited")
            << 2 << "99999999999,0,-3" << 2 << "1000000,0,3" << QRect(999997, -3, 7, 7);
        QTest::newRow("unknown kind reads as rectangle")
            << 9 << "1,2,3,4" << 1 << "1,2,3,4" << QRect(1, 2, 3, 3);
    }
    void geometryReadsAndWritesCoordinateText()
    {
        QFETCH(int, kind);
        QFETCH(QString, coords);
        const Shape shape = ShapeFromText(kind, coords.toStdString());
        QTEST(shape.Kind, "resultKind");
        QTEST(QString::fromStdString(CoordsText(shape)), "written");
        QTEST(Bounds(shape), "box");
    }

    void geometryKindForCount()
    {
        QCOMPARE(KindForCount(kPolygon, 6), kPolygon);
        QCOMPARE(KindForCount(kRectangle, 3), kCircle);
        QCOMPARE(KindForCount(kCircle, 4), kRectangle);
        QCOMPARE(KindForCount(kRectangle, 8), kPolygon);
        QCOMPARE(KindForCount(kCircle, 5), kCircle);
    }

    void geometryKeepsFiguresInsideThePicture()
    {
        const QSize area(100, 80);
        QCOMPARE(LimitMove(QRect(10, 10, 20, 20), QPoint(-50, 200), area), QPoint(-10, 50));
        // A figure already sticking out may come back in but not go further out.
        QCOMPARE(LimitMove(QRect(-5, 0, 10, 10), QPoint(-3, 0), area), QPoint(0, 0));
        QCOMPARE(LimitMove(QRect(-5, 0, 10, 10), QPoint(4, 0), area), QPoint(4, 0));
        const Shape circle = CircleFromDrag(QPoint(10, 40), QPoint(90, 40), area);
        QCOMPARE(circle.Radius, 10);
        QCOMPARE(ClampPoint(QPoint(150, -4), area), QPoint(99, 0));
        QCOMPARE(CoordsText(ClampInside(ShapeFromText(kPolygon, "-5,3,120,90,50,50"), area)),
            std::string("0,3,99,79,50,50"));
    }

    void geometryHandlesReshape()
    {
        const Shape rect = ShapeFromText(kRectangle, "10,10,50,30");
        // Dragging the top-left corner past the bottom-right flips into a proper rectangle.
        QCOMPARE(CoordsText(DragHandle(rect, 0, QPoint(70, 40), QSize(100, 100))),
            std::string("50,30,70,40"));
        QCOMPARE(CoordsText(DragHandle(rect, 3, QPoint(80, 0), QSize(100, 100))),
            std::string("10,10,80,30"));
        const Shape circle = ShapeFromText(kCircle, "50,50,10");
        QCOMPARE(DragHandle(circle, 1, QPoint(50, 75), QSize(100, 100)).Radius, 25);
        QCOMPARE(DragHandle(circle, 1, QPoint(50, 50), QSize(100, 100)).Radius, 1);
        const Shape triangle = ShapeFromText(kPolygon, "0,0,10,0,0,10");
        QCOMPARE(WithCornerRemoved(triangle, 1), triangle);
        const Shape square = WithCornerInserted(triangle, 1, QPoint(10, 10));
        QCOMPARE(CoordsText(square), std::string("0,0,10,0,10,10,0,10"));
        QCOMPARE(CoordsText(WithCornerRemoved(square, 0)), std::string("10,0,10,10,0,10"));
        QCOMPARE(EdgeNear(square, QPointF(5, 10.5), 1.0), 2);
        QCOMPARE(EdgeNear(square, QPointF(5, 5), 1.0), -1);
    }

    void geometryRotatesAndConverts()
    {
        const Shape rect = ShapeFromText(kRectangle, "10,20,30,30");
        const Shape turned = Rotated(rect, 90.0, QSize(100, 100));
        QCOMPARE(turned.Kind, kPolygon);
        QCOMPARE(CoordsText(turned), std::string("25,15,25,35,15,35,15,15"));
        QCOMPARE(Rotated(ShapeFromText(kCircle, "5,5,3"), 45.0, QSize()).Kind, kCircle);
        QCOMPARE(qRound(AngleDegrees(QPointF(0, 0), QPointF(10, 0), QPointF(0, 10))), 90);
        QCOMPARE(qRound(AngleDegrees(QPointF(0, 0), QPointF(10, 0), QPointF(0, -10))), -90);
        QCOMPARE(CoordsText(ConvertedKind(rect, kCircle)), std::string("20,25,5"));
        QCOMPARE(CoordsText(ConvertedKind(rect, kPolygon)), std::string("10,20,30,20,30,30,10,30"));
        QCOMPARE(CoordsText(ConvertedKind(ShapeFromText(kPolygon, "0,0,8,2,4,9"), kRectangle)),
            std::string("0,0,8,9"));
        QCOMPARE(ConvertedKind(ShapeFromText(kCircle, "20,20,10"), kPolygon).Points.size(),
            std::size_t(8));
    }

    void geometrySetsBoundingValues()
    {
        const Shape rect = ShapeFromText(kRectangle, "10,10,50,30");
        QCOMPARE(CoordsText(WithBound(rect, 3, 5)), std::string("5,10,10,30"));
        QCOMPARE(CoordsText(WithBound(rect, 2, 0)), std::string("10,0,50,30"));
        // A polygon stretches with its box; it never mirrors past the opposite side.
        const Shape polygon = ShapeFromText(kPolygon, "0,0,10,0,10,10");
        QCOMPARE(CoordsText(WithBound(polygon, 3, 20)), std::string("0,0,20,0,20,10"));
        QCOMPARE(CoordsText(WithBound(polygon, 1, 30)), std::string("10,0,10,0,10,10"));
        QCOMPARE(CoordsText(WithBound(ShapeFromText(kCircle, "20,20,10"), 3, 50)),
            std::string("30,20,20"));
        QCOMPARE(WithBound(rect, 7, 1), rect);
    }

    void geometryHitTests()
    {
        const Shape triangle = ShapeFromText(kPolygon, "0,0,20,0,0,20");
        QVERIFY(Contains(triangle, QPointF(3, 3), 0));
        QVERIFY(!Contains(triangle, QPointF(15, 15), 0));
        QVERIFY(Contains(triangle, QPointF(11, 11), 2));
        QVERIFY(Contains(ShapeFromText(kCircle, "10,10,5"), QPointF(14, 12), 0));
        QVERIFY(!Contains(ShapeFromText(kCircle, "10,10,5"), QPointF(15, 15), 0));
        QVERIFY(Contains(ShapeFromText(kRectangle, "5,5,6,6"), QPointF(6, 6), 0));
        QVERIFY(!Contains(ShapeFromText(kPolygon, ""), QPointF(0, 0), 5));
    }

    void drawingEachKindReportsItsFigure_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("coords");
        QTest::addColumn<QRect>("box");
        QTest::newRow("rectangle")
            << 1 << QPoint(60, 50) << 1 << "20,30,60,50" << QRect(20, 30, 41, 21);
        // Dragged from the centre; the radius is cut to keep the circle inside the picture.
        QTest::newRow("circle") << 2 << QPoint(65, 30) << 2 << "20,30,20" << QRect(0, 10, 41, 41);
    }
    void drawingEachKindReportsItsFigure()
    {
        QFETCH(int, tool);
        QFETCH(QPoint, to);
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.SetShapeColor(0x00FF00);
        QSignalSpy created(&f.Surface, &DrawingSurface::FigureCreated);
        QSignalSpy started(&f.Surface, &DrawingSurface::DragRectStarted);
        QSignalSpy tracking(&f.Surface, &DrawingSurface::DragTracking);
        QSignalSpy selected(&f.Surface, &DrawingSurface::FigureSelected);
        connect(&f.Surface, &DrawingSurface::FigureCreated, &f.Surface,
            [&f] { f.Surface.AssignFigureId(4); });
        f.Surface.SetDrawTool(tool);
        f.Drag(QPoint(20, 30), to);

        QCOMPARE(created.count(), 1);
        const Figure figure = FigureOf(created, 0);
        QCOMPARE(figure.Id, 0);
        QTEST(figure.Kind, "kind");
        QTEST(QString::fromStdString(figure.Coordinates), "coords");
        QTEST(QRect(QPoint(figure.X1, figure.Y1), QPoint(figure.X2, figure.Y2)), "box");
        QCOMPARE(figure.Color, 0x00FF00);
        QCOMPARE(started.count(), 1);
        QVERIFY(!tracking.isEmpty());
        // The new figure is selected under the id the program gave it.
        QCOMPARE(selected.count(), 1);
        QCOMPARE(FigureOf(selected, 0).Id, 4);
        QCOMPARE(f.Surface.SelectedFigureId(), 4);
        QCOMPARE(f.Surface.SelectedCoords(), figure.Coordinates);

        // The tool goes back to the pointer: the next drag moves the figure instead of drawing.
        QSignalSpy changed(&f.Surface, &DrawingSurface::FigureChanged);
        f.Drag(QPoint(30, 40), QPoint(35, 40));
        QCOMPARE(created.count(), 1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(FigureOf(changed, 0).Id, 4);
        QCOMPARE(FigureOf(changed, 0).X1, figure.X1 + 5);
    }

    void polygonIsClickedAndEndedWithTheRightButton()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        QSignalSpy created(&f.Surface, &DrawingSurface::FigureCreated);
        QSignalSpy started(&f.Surface, &DrawingSurface::PolygonStarted);
        QSignalSpy ended(&f.Surface, &DrawingSurface::PolygonEnded);
        QSignalSpy mouseUp(&f.Surface, &DrawingSurface::SurfaceMouseUp);
        f.Surface.SetDrawTool(3);
        f.Click(QPoint(10, 10));
        f.Move(QPoint(40, 12));
        f.Click(QPoint(40, 12));
        f.Click(QPoint(40, 12)); // a repeated corner counts once
        f.Click(QPoint(25, 60));
        QCOMPARE(started.count(), 1);
        QCOMPARE(created.count(), 0);
        f.Click(QPoint(100, 100), Qt::RightButton);

        QCOMPARE(created.count(), 1);
        QCOMPARE(FigureOf(created, 0).Kind, 3);
        QCOMPARE(FigureOf(created, 0).Coordinates, std::string("10,10,40,12,25,60"));
        QCOMPARE(FigureOf(created, 0).X2, 40);
        QCOMPARE(FigureOf(created, 0).Y2, 60);
        QCOMPARE(ended.count(), 1);
        // The right button that ends a polygon does not open the pop-up menu.
        for (const QList<QVariant>& call : mouseUp)
            QVERIFY(call.at(0).toInt() != 2);

        // A double-click also ends one, adding its own corner.
        f.Surface.SetDrawTool(3);
        f.Click(QPoint(120, 10));
        f.Click(QPoint(150, 10));
        f.Send(QEvent::MouseButtonDblClick, QPoint(150, 40), Qt::LeftButton, {});
        QCOMPARE(created.count(), 2);
        QCOMPARE(FigureOf(created, 1).Coordinates, std::string("120,10,150,10,150,40"));
    }

    void escapeAndTinyDragsCreateNothing()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        QSignalSpy created(&f.Surface, &DrawingSurface::FigureCreated);
        QSignalSpy drawingEnded(&f.Surface, &DrawingSurface::DrawingEnded);
        QSignalSpy polygonEnded(&f.Surface, &DrawingSurface::PolygonEnded);

        f.Surface.SetDrawTool(1);
        f.Drag(QPoint(50, 50), QPoint(52, 51)); // an accidental twitch
        QCOMPARE(created.count(), 0);
        QCOMPARE(drawingEnded.count(), 0);

        f.Press(QPoint(50, 50));
        f.Move(QPoint(80, 90));
        f.Key(Qt::Key_Escape);
        f.Release(QPoint(80, 90));
        QCOMPARE(created.count(), 0);
        QCOMPARE(drawingEnded.count(), 1);

        f.Surface.SetDrawTool(3);
        f.Click(QPoint(10, 10));
        f.Click(QPoint(60, 10));
        f.Click(QPoint(60, 60));
        f.Key(Qt::Key_Escape);
        f.Click(QPoint(10, 60), Qt::RightButton);
        QCOMPARE(created.count(), 0);
        QCOMPARE(polygonEnded.count(), 1);
        QCOMPARE(drawingEnded.count(), 2);

        // Two corners are no polygon.
        f.Surface.SetDrawTool(3);
        f.Click(QPoint(10, 10));
        f.Click(QPoint(60, 10));
        f.Click(QPoint(60, 10), Qt::RightButton);
        QCOMPARE(created.count(), 0);
        QCOMPARE(drawingEnded.count(), 3);
    }

    void selectingAndMovingReportOnRelease()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.AddFigure("10,10,80,80", 1, 0, false, 3);
        f.Surface.AddFigure("50,50,20", 2, 0, false, 7); // on top of the rectangle
        QSignalSpy selected(&f.Surface, &DrawingSurface::FigureSelected);
        QSignalSpy changed(&f.Surface, &DrawingSurface::FigureChanged);
        QSignalSpy cleared(&f.Surface, &DrawingSurface::SelectionCleared);
        QSignalSpy moveStarted(&f.Surface, &DrawingSurface::MoveStarted);
        QSignalSpy moveEnded(&f.Surface, &DrawingSurface::MoveEnded);
        QSignalSpy tracking(&f.Surface, &DrawingSurface::DragTracking);

        f.Click(QPoint(50, 50));
        QCOMPARE(selected.count(), 1);
        QCOMPARE(FigureOf(selected, 0).Id, 7);
        f.Click(QPoint(15, 15));
        QCOMPARE(FigureOf(selected, 1).Id, 3);
        QCOMPARE(changed.count(), 0);

        f.Press(QPoint(20, 20));
        f.Move(QPoint(25, 22));
        f.Move(QPoint(35, 30));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(moveStarted.count(), 1);
        QCOMPARE(tracking.last().at(0).toInt(), 25);
        f.Release(QPoint(35, 30));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(moveEnded.count(), 1);
        const Figure moved = FigureOf(changed, 0);
        QCOMPARE(moved.Id, 3);
        QCOMPARE(moved.Coordinates, std::string("25,20,95,90"));
        QCOMPARE(moved.X1, 25);
        QCOMPARE(moved.Y2, 90);

        f.Click(QPoint(150, 130));
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(f.Surface.SelectedFigureId(), 0);
    }

    void arrowKeysNudgeAndMergeIntoOneUndoStep()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.AddFigure("10,10,20,20", 1, 0, false, 1);
        f.Surface.SelectFigure(1);
        f.Canvas->setFocus();
        QSignalSpy changed(&f.Surface, &DrawingSurface::FigureChanged);
        f.Key(Qt::Key_Right);
        f.Key(Qt::Key_Down, Qt::ShiftModifier);
        f.Key(Qt::Key_Left, Qt::ShiftModifier);
        f.Key(Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(changed.count(), 4);
        QCOMPARE(FigureOf(changed, 2).Coordinates, std::string("1,20,11,30"));
        // The second move to the left stops at the picture's edge.
        QCOMPARE(FigureOf(changed, 3).Coordinates, std::string("0,20,10,30"));
        f.Surface.Undo();
        QCOMPARE(f.Surface.SelectedCoords(), std::string("10,10,20,20"));
        f.Surface.Redo();
        QCOMPARE(f.Surface.SelectedCoords(), std::string("0,20,10,30"));
    }

    void lockedFiguresStaySelectableButDoNotMove()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.AddFigure("10,10,60,60", 1, 0, false, 2);
        f.Surface.SelectFigure(2);
        f.Surface.LockSelected(true);
        f.Surface.SetAllSelected(false);
        QSignalSpy selected(&f.Surface, &DrawingSurface::FigureSelected);
        QSignalSpy changed(&f.Surface, &DrawingSurface::FigureChanged);
        QSignalSpy rotateStarted(&f.Surface, &DrawingSurface::RotateStarted);

        f.Drag(QPoint(30, 30), QPoint(90, 90));
        QCOMPARE(selected.count(), 1);
        f.Drag(QPoint(60, 60), QPoint(100, 100)); // the corner handle does not resize it either
        f.Key(Qt::Key_Right);
        f.Surface.SetDrawTool(5);
        f.Drag(QPoint(55, 35), QPoint(35, 55));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(rotateStarted.count(), 0);
        QCOMPARE(f.Surface.SelectedCoords(), std::string("10,10,60,60"));

        // Unlocking is undoable, and undoing it reports the lock with the figure selected.
        QSignalSpy lock(&f.Surface, &DrawingSurface::LockChanged);
        f.Surface.LockSelected(false);
        const int selectedBefore = selected.count();
        f.Surface.Undo();
        QCOMPARE(lock.count(), 1);
        QCOMPARE(lock.at(0).at(0).toBool(), true);
        QCOMPARE(selected.count(), selectedBefore + 1);
        QCOMPARE(FigureOf(selected, selectedBefore).Id, 2);
    }

    void rotatingARectangleMakesItAPolygon()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.AddFigure("40,50,80,70", 1, 0, false, 6);
        f.Surface.AddFigure("150,100,20", 2, 0, false, 8);
        QSignalSpy changed(&f.Surface, &DrawingSurface::FigureChanged);
        QSignalSpy notes(&f.Surface, &DrawingSurface::StatusNote);
        QSignalSpy rotateEnded(&f.Surface, &DrawingSurface::RotateEnded);
        QSignalSpy state(&f.Surface, &DrawingSurface::FigureStateChanged);
        f.Surface.SetDrawTool(5);
        // About the centre (60, 60): from straight right to straight down is +90 degrees.
        f.Press(QPoint(75, 60));
        f.Move(QPoint(72, 68));
        f.Move(QPoint(60, 75));
        QCOMPARE(notes.last().at(0).toString(), QString("90"));
        f.Release(QPoint(60, 75));

        QCOMPARE(changed.count(), 1);
        QCOMPARE(FigureOf(changed, 0).Kind, 3);
        QCOMPARE(FigureOf(changed, 0).Id, 6);
        QCOMPARE(FigureOf(changed, 0).Coordinates, std::string("70,40,70,80,50,80,50,40"));
        QCOMPARE(rotateEnded.count(), 1);
        QCOMPARE(f.Surface.SelectedFigureId(), 6);

        f.Surface.Undo();
        QCOMPARE(state.count(), 1);
        QCOMPARE(state.at(0).at(0).toInt(), 4);
        QCOMPARE(state.at(0).at(1).toInt(), 6);
        QCOMPARE(FigureOf(state, 0, 2).Kind, 1);
        QCOMPARE(FigureOf(changed, 1).Coordinates, std::string("40,50,80,70"));

        // Circles are never rotated.
        f.Surface.SetDrawTool(5);
        f.Drag(QPoint(165, 100), QPoint(150, 115));
        QCOMPARE(f.Surface.SelectedFigureId(), 8);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rotateEnded.count(), 1);
    }

    void undoAndRedoReportRestoredRemovedAndChanged()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        QSignalSpy undoState(&f.Surface, &DrawingSurface::UndoStateChanged);
        QSignalSpy state(&f.Surface, &DrawingSurface::FigureStateChanged);
        QSignalSpy selected(&f.Surface, &DrawingSurface::FigureSelected);
        QSignalSpy changed(&f.Surface, &DrawingSurface::FigureChanged);
        connect(&f.Surface, &DrawingSurface::FigureCreated, &f.Surface,
            [&f] { f.Surface.AssignFigureId(5); });
        f.Surface.SetDrawTool(1);
        f.Drag(QPoint(10, 10), QPoint(40, 40));
        QCOMPARE(undoState.count(), 1);
        QCOMPARE(undoState.at(0), (QList<QVariant> { true, false }));

        f.Drag(QPoint(20, 20), QPoint(30, 20));
        f.Surface.DeleteSelected();
        QCOMPARE(f.Surface.SelectedFigureId(), 0);

        f.Surface.Undo(); // the delete
        QCOMPARE(state.count(), 1);
        QCOMPARE(state.at(0).at(0).toInt(), 1);
        QCOMPARE(state.at(0).at(1).toInt(), 5);
        QCOMPARE(FigureOf(state, 0, 2).Coordinates, std::string("20,10,50,40"));
        QCOMPARE(f.Surface.SelectedFigureId(), 5);
        QCOMPARE(undoState.last(), (QList<QVariant> { true, true }));

        const int selectedBefore = selected.count();
        f.Surface.Undo(); // the move: the figure is selected first, then changed
        QCOMPARE(selected.count(), selectedBefore + 1);
        QCOMPARE(FigureOf(changed, changed.count() - 1).Coordinates, std::string("10,10,40,40"));

        f.Surface.Undo(); // the drawing
        QCOMPARE(state.last().at(0).toInt(), 3);
        QCOMPARE(state.last().at(1).toInt(), 5);
        QCOMPARE(undoState.last(), (QList<QVariant> { false, true }));
        QVERIFY(!f.Surface.CanUndo());

        f.Surface.Redo();
        QCOMPARE(state.last().at(0).toInt(), 1);
        QCOMPARE(state.last().at(1).toInt(), 5);
        f.Surface.Redo();
        f.Surface.Redo();
        QCOMPARE(state.last().at(0).toInt(), 3);
        QCOMPARE(undoState.last(), (QList<QVariant> { true, false }));
    }

    void programChangesAreUndoable()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.SetRedraw(false);
        f.Surface.AddFigure("10,10,50,50", 1, 255, false, 1); // loading: not an edit
        f.Surface.SetRedraw(true);
        QVERIFY(!f.Surface.CanUndo());

        QSignalSpy changed(&f.Surface, &DrawingSurface::FigureChanged);
        QSignalSpy state(&f.Surface, &DrawingSurface::FigureStateChanged);
        f.Surface.ChangeFigureShape(1, 2);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(FigureOf(changed, 0).Kind, 2);
        QCOMPARE(FigureOf(changed, 0).Coordinates, std::string("30,30,20"));
        f.Surface.Undo();
        QCOMPARE(state.count(), 1);
        QCOMPARE(state.at(0).at(0).toInt(), 4);
        QCOMPARE(FigureOf(state, 0, 2).Kind, 1);
        QCOMPARE(FigureOf(state, 0, 2).Color, 255);

        f.Surface.SelectFigure(1);
        f.Surface.SetSelectedCoordinate(3, 500); // kept inside the 200 pixel wide picture
        QCOMPARE(FigureOf(changed, changed.count() - 1).Coordinates, std::string("10,10,199,50"));
        f.Surface.SetFigureCoords(1, "5,5,25");
        QCOMPARE(f.Surface.SelectedCoords(), std::string("5,5,25"));
        f.Surface.Undo();
        QCOMPARE(f.Surface.SelectedCoords(), std::string("10,10,199,50"));

        const int pasted = f.Surface.AddFigure("0,0,10,10", 1, 0, false, 9);
        QCOMPARE(pasted, 9);
        f.Surface.Undo();
        QCOMPARE(state.last().at(0).toInt(), 3);
        QCOMPARE(state.last().at(1).toInt(), 9);
        f.Surface.FinishBulkAdd();
        f.Surface.AfterBulkAdd();
        QVERIFY(!f.Surface.CanUndo());
        QVERIFY(!f.Surface.CanRedo());
    }

    void resizingByHandlesAndEditingCorners()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.AddFigure("20,20,60,50", 1, 0, false, 1);
        f.Surface.AddFigure("140,60,20", 2, 0, false, 2);
        f.Surface.AddFigure("100,110,150,110,150,140", 3, 0, false, 3);
        QSignalSpy changed(&f.Surface, &DrawingSurface::FigureChanged);
        QSignalSpy pointMoved(&f.Surface, &DrawingSurface::PointMoveEnded);

        f.Surface.SelectFigure(1);
        f.Drag(QPoint(60, 50), QPoint(90, 70)); // bottom-right corner
        QCOMPARE(FigureOf(changed, 0).Coordinates, std::string("20,20,90,70"));
        f.Drag(QPoint(20, 45), QPoint(5, 45)); // the handle in the middle of the left edge
        QCOMPARE(FigureOf(changed, 1).Coordinates, std::string("5,20,90,70"));

        f.Surface.SelectFigure(2);
        f.Drag(QPoint(160, 60), QPoint(170, 60)); // the radius handle on the east
        QCOMPARE(FigureOf(changed, 2).Coordinates, std::string("140,60,30"));

        f.Surface.SelectFigure(3);
        f.Drag(QPoint(150, 140), QPoint(150, 145));
        QCOMPARE(FigureOf(changed, 3).Coordinates, std::string("100,110,150,110,150,145"));
        QCOMPARE(pointMoved.count(), 4);
        // Ctrl + click on an edge adds a corner, Ctrl + click on a corner removes it again.
        f.Click(QPoint(125, 110), Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(FigureOf(changed, 4).Coordinates, std::string("100,110,125,110,150,110,150,145"));
        f.Click(QPoint(150, 110), Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(FigureOf(changed, 5).Coordinates, std::string("100,110,125,110,150,145"));
        f.Click(QPoint(125, 110), Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(changed.count(), 6); // a triangle keeps its three corners
        // Delete removes the corner last clicked.
        f.Surface.AddFigure("10,100,40,100,40,140,10,140", 3, 0, false, 4);
        f.Surface.SelectFigure(4);
        f.Click(QPoint(40, 140));
        f.Canvas->setFocus();
        f.Key(Qt::Key_Delete);
        QCOMPARE(FigureOf(changed, 6).Coordinates, std::string("10,100,40,100,10,140"));
    }

    void zoomKeepsCoordinatesInPicturePixels()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        QSignalSpy zoom(&f.Surface, &DrawingSurface::ZoomChanged);
        QSignalSpy created(&f.Surface, &DrawingSurface::FigureCreated);
        f.Surface.SetZoomPercent(400);
        QCOMPARE(zoom.count(), 1);
        QCOMPARE(zoom.at(0).at(0).toInt(), 400);
        QCOMPARE(f.Canvas->size(), QSize(800, 600));
        f.Surface.SetDrawTool(1);
        f.Drag(QPoint(10, 12), QPoint(30, 20));
        QCOMPARE(FigureOf(created, 0).Coordinates, std::string("10,12,30,20"));

        f.Surface.SetZoomPercent(25);
        QCOMPARE(f.Canvas->size(), QSize(50, 38));
        f.Surface.SetDrawTool(1);
        f.Drag(QPoint(100, 40), QPoint(180, 120));
        QCOMPARE(FigureOf(created, 1).Coordinates, std::string("100,40,180,120"));

        f.Surface.SetZoomPercent(1000);
        QCOMPARE(f.Surface.ZoomPercent(), 500);
        QCOMPARE(zoom.last().at(0).toInt(), 500);
    }

    void coordinatesStayInsideThePicture()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        QSignalSpy created(&f.Surface, &DrawingSurface::FigureCreated);
        QSignalSpy changed(&f.Surface, &DrawingSurface::FigureChanged);
        QSignalSpy mouseUp(&f.Surface, &DrawingSurface::SurfaceMouseUp);
        f.Surface.SetDrawTool(1);
        f.Drag(QPoint(150, 100), QPoint(260, 400));
        QCOMPARE(FigureOf(created, 0).Coordinates, std::string("150,100,199,149"));
        QCOMPARE(mouseUp.last(), (QList<QVariant> { 1, 0, 199, 149 }));
        f.Drag(QPoint(160, 120), QPoint(100, 160)); // down is blocked by the edge
        QCOMPARE(FigureOf(changed, 0).Coordinates, std::string("90,100,139,149"));
        f.Drag(QPoint(120, 130), QPoint(-300, -300));
        QCOMPARE(FigureOf(changed, 1).Coordinates, std::string("0,0,49,49"));

        f.Click(QPoint(120, 120), Qt::RightButton, Qt::ShiftModifier);
        QCOMPARE(mouseUp.last(), (QList<QVariant> { 2, 1, 120, 120 }));
    }

    void previewHoversAndActivatesWithoutEditing()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.AddFigure("20,20,60,60", 1, 0, false, 4);
        QSignalSpy hover(&f.Surface, &DrawingSurface::FigureHover);
        QSignalSpy activated(&f.Surface, &DrawingSurface::FigureActivated);
        QSignalSpy changed(&f.Surface, &DrawingSurface::FigureChanged);
        QSignalSpy selected(&f.Surface, &DrawingSurface::FigureSelected);
        connect(&f.Surface, &DrawingSurface::FigureHover, &f.Surface, [&f](int state, int) {
            if (state == 1)
                f.Surface.ShowTip("Go home");
        });
        f.Surface.SetViewMode(2);

        f.Move(QPoint(100, 100));
        QCOMPARE(hover.count(), 0);
        f.Move(QPoint(30, 30));
        QCOMPARE(hover.count(), 1);
        QCOMPARE(hover.at(0), (QList<QVariant> { 1, 4 }));
        f.Move(QPoint(35, 30));
        QCOMPARE(hover.count(), 1);
        f.Click(QPoint(35, 30));
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0), (QList<QVariant> { 1, 4 }));
        f.Drag(QPoint(30, 30), QPoint(80, 80));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(selected.count(), 0);
        QCOMPARE(activated.count(), 1); // released outside the figure: no activation
        f.Move(QPoint(150, 120));
        QCOMPARE(hover.last(), (QList<QVariant> { 0, 4 }));

        // Design mode reports hovering too.
        f.Surface.SetViewMode(1);
        f.Move(QPoint(30, 30));
        QCOMPARE(hover.last(), (QList<QVariant> { 1, 4 }));
    }

    void hiddenFiguresCannotBeHit()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.AddFigure("20,20,60,60", 1, 0, false, 4);
        QSignalSpy selected(&f.Surface, &DrawingSurface::FigureSelected);
        QSignalSpy cleared(&f.Surface, &DrawingSurface::SelectionCleared);
        f.Surface.ShowFigures(0);
        f.Click(QPoint(30, 30));
        QCOMPARE(selected.count(), 0);
        QCOMPARE(cleared.count(), 1);
        f.Surface.ShowFigures(1);
        f.Click(QPoint(30, 30));
        QCOMPARE(selected.count(), 1);
    }

    void loadFiguresGivesIdsInTagOrder()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.LoadFigures(2,
            "<AREA SHAPE=\"circle\" COORDS=\"50,50,10\" HREF=\"a.html\">\r\n"
            "<area shape=\"POLYGON\" coords=\"1,1,20,1,20,20\">\r\n"
            "<AREA COORDS=\"5,6,7,8\">\r\n");
        f.Surface.SelectFigure(1);
        QCOMPARE(f.Surface.SelectedCoords(), std::string("50,50,10"));
        f.Surface.SelectFigure(2);
        QCOMPARE(f.Surface.SelectedCoords(), std::string("1,1,20,1,20,20"));
        f.Surface.SelectFigure(3);
        QCOMPARE(f.Surface.SelectedCoords(), std::string("5,6,7,8"));
        f.Surface.SelectFigure(4);
        QCOMPARE(f.Surface.SelectedFigureId(), 3);
        QVERIFY(!f.Surface.CanUndo());
    }

    void crowdedViewsDrawPlainOutlines()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        f.Surface.SetShapeColor(255);
        f.Surface.AddFigure("20,20,120,120", 1, 0, false, 1);
        const QPoint inside = f.At(QPoint(70, 70));
        const QRgb plain = Picture(200, 150).pixel(70, 70);
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

    void pagesSwitchBetweenCanvasAndContainers()
    {
        Fixture f;
        auto* code = new QWidget;
        code->setObjectName("Picture1");
        QSignalSpy page(&f.Surface, &DrawingSurface::PageChanged);
        f.Surface.AddPage("Design", "Design", nullptr, QIcon());
        f.Surface.AddPage("Code", "Code", code, QIcon());
        f.Surface.AddPage("Preview", "Preview", nullptr, QIcon());
        QVERIFY(QTest::qWaitForWindowExposed(&f.Surface));
        QCOMPARE(page.count(), 0);
        f.Surface.SelectPage(1);
        QCOMPARE(page.last().at(0).toString(), QString("Design"));
        f.Surface.SelectPage(2);
        QCOMPARE(page.last().at(0).toString(), QString("Code"));
        QVERIFY(code->isVisible());
        QVERIFY(!f.Canvas->isVisible());

        auto* tabs = f.Surface.findChild<QTabBar*>("Pages");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        QCOMPARE(page.last().at(0).toString(), QString("Preview"));
        QVERIFY(f.Canvas->isVisible());
        f.Surface.SelectPage(9);
        QCOMPARE(page.count(), 3);
    }
};

QTEST_MAIN(DrawingSurfaceTest)
#include "drawing_surface_test.moc"
