// Painting and hit-testing a drawing surface that holds 5,000 figures on a 2,000 x 1,500 picture.

#include "components/drawing_surface/drawing_surface.h"
#include "components/drawing_surface/figure_store.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace karvex;

constexpr int kFigureCount = 5000;
constexpr int kWidth = 2000;
constexpr int kHeight = 1500;

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "surface_bench";
    static char* argv[] = { name, nullptr };
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)application;
}

QImage MakePicture()
{
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, kWidth, kHeight);
    gradient.setColorAt(0, QColor(40, 90, 160));
    gradient.setColorAt(1, QColor(230, 200, 120));
    painter.fillRect(picture.rect(), gradient);
    return picture;
}

// Rectangles, circles and polygons of 10 to 60 pixels, spread over the picture.
std::vector<std::pair<int, std::string>> MakeFigures()
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(0, kWidth - 70);
    std::uniform_int_distribution<int> y(0, kHeight - 70);
    std::uniform_int_distribution<int> size(10, 60);
    std::vector<std::pair<int, std::string>> figures;
    for (int i = 0; i < kFigureCount; ++i) {
        const int left = x(random);
        const int top = y(random);
        const int extent = size(random);
        const int kind = i % 3 + 1;
        std::string coords;
        if (kind == 1) {
            coords = std::to_string(left) + "," + std::to_string(top) + ","
                + std::to_string(left + extent) + "," + std::to_string(top + extent / 2);
        } else if (kind == 2) {
            coords = std::to_string(left + extent / 2) + "," + std::to_string(top + extent / 2)
                + "," + std::to_string(extent / 2);
        } else {
            coords = std::to_string(left) + "," + std::to_string(top) + ","
                + std::to_string(left + extent) + "," + std::to_string(top + extent / 3) + ","
                + std::to_string(left + extent / 2) + "," + std::to_string(top + extent) + ","
                + std::to_string(left + 5) + "," + std::to_string(top + extent / 2);
        }
        figures.emplace_back(kind, coords);
    }
    return figures;
}

// One surface shared by the benchmarks: building it is not what is measured.
DrawingSurface& Surface()
{
    EnsureApplication();
    static DrawingSurface* surface = [] {
        auto* made = new DrawingSurface;
        made->resize(1024, 768);
        made->SetRedraw(false);
        made->SetSurfacePicture(MakePicture());
        made->SetMapSize(kWidth, kHeight);
        int id = 0;
        for (const auto& [kind, coords] : MakeFigures())
            made->AddFigure(coords, kind, 0x0000FF, false, ++id);
        made->SetRedraw(true);
        made->SelectFigure(kFigureCount / 2);
        made->show();
        return made;
    }();
    return *surface;
}

QWidget& Canvas() { return *Surface().findChild<QWidget*>("Canvas"); }

void BM_PaintWholeCanvas(benchmark::State& state)
{
    Surface().SetZoomPercent(static_cast<int>(state.range(0)));
    QWidget& canvas = Canvas();
    QImage target(canvas.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        canvas.render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
    state.counters["figures"] = kFigureCount;
}
BENCHMARK(BM_PaintWholeCanvas)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

// What a scrolled window repaints: a viewport's worth of the canvas.
void BM_PaintViewport(benchmark::State& state)
{
    Surface().SetZoomPercent(static_cast<int>(state.range(0)));
    QWidget& canvas = Canvas();
    const QRect viewport(canvas.width() / 3, canvas.height() / 3, 1000, 700);
    QImage target(viewport.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        canvas.render(&target, QPoint(), QRegion(viewport));
        benchmark::DoNotOptimize(target.bits());
    }
}
BENCHMARK(BM_PaintViewport)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// The picture alone, for comparison.
void BM_PaintPictureOnly(benchmark::State& state)
{
    Surface().SetZoomPercent(100);
    Surface().ShowFigures(0);
    QWidget& canvas = Canvas();
    QImage target(canvas.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        canvas.render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
    Surface().ShowFigures(1);
}
BENCHMARK(BM_PaintPictureOnly)->Unit(benchmark::kMillisecond);

void BM_HitTest(benchmark::State& state)
{
    surface::FigureStore store;
    for (const auto& [kind, coords] : MakeFigures()) {
        surface::SurfaceFigure figure;
        figure.Geometry = surface::ShapeFromText(kind, coords);
        store.Add(figure);
    }
    std::mt19937 random(11);
    std::vector<QPointF> points;
    points.reserve(1024);
    for (int i = 0; i < 1024; ++i)
        points.emplace_back(random() % kWidth, random() % kHeight);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.HitTest(points[next], 3.0));
        next = (next + 1) % points.size();
    }
}
BENCHMARK(BM_HitTest);

// Pointer moves over the canvas: hit tests and hover events (the repaints they ask for are only
// scheduled here).
void BM_HoverMoves(benchmark::State& state)
{
    Surface().SetZoomPercent(100);
    QWidget& canvas = Canvas();
    std::mt19937 random(13);
    std::vector<QPoint> points;
    points.reserve(1024);
    for (int i = 0; i < 1024; ++i)
        points.emplace_back(random() % kWidth, random() % kHeight);
    std::size_t next = 0;
    for (auto _ : state) {
        const QPoint at = points[next];
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(canvas.mapToGlobal(at)),
            Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &move);
        next = (next + 1) % points.size();
    }
}
BENCHMARK(BM_HoverMoves);

} // namespace
