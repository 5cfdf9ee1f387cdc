// The code box holding a document of 10,000 hotspot regions: filling it in one batch, updating
// and removing one region, and painting what the window shows.

#include "components/code_box/code_box.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace karvex;

constexpr int kRegionCount = 10000;

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "code_box_bench";
    static char* argv[] = { name, nullptr };
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)application;
}

QString AreaTag(int i)
{
    const int left = (i * 37) % 1900;
    const int top = (i * 53) % 1400;
    return QStringLiteral("<AREA SHAPE=\"RECT\" COORDS=\"%1,%2,%3,%4\" HREF=\"page%5.html\" "
                          "ALT=\"Hotspot number %5\" TARGET=\"_blank\">")
        .arg(left)
        .arg(top)
        .arg(left + 60)
        .arg(top + 40)
        .arg(i);
}

QString Key(int i) { return QStringLiteral("Rectangle%1").arg(i); }

// The lines of a document around its hotspots, added as the code view fills a window.
void Fill(CodeBox& box, const std::vector<QString>& tags)
{
    box.CodeRedraw(false);
    box.AddRegion(QString(), QString(), QStringLiteral("StartComment"), QIcon(), 2);
    box.AddRegion(QString(), QString(), QStringLiteral("StartComment"), QIcon(), 2);
    box.AddRegion(QStringLiteral("<IMG SRC=\"big.jpg\" USEMAP=\"#big\" BORDER=\"0\">"),
        QStringLiteral("IMAGE_TAG"), QStringLiteral("Map_Image"), QIcon(), 0);
    box.AddRegion(QStringLiteral("<MAP NAME=\"big\">"), QStringLiteral("MAP_AREA_START"),
        QStringLiteral("MAP_START"), QIcon(), 0);
    for (int i = 0; i < kRegionCount; ++i)
        box.AddRegion(
            tags[static_cast<std::size_t>(i)], Key(i), QStringLiteral("Map_Area"), QIcon(), 0);
    box.AddRegion(QStringLiteral("</MAP>"), QStringLiteral("MAP_AREA_END"),
        QStringLiteral("MAP_END"), QIcon(), 0);
    box.CodeRedraw(true);
}

const std::vector<QString>& Tags()
{
    static const std::vector<QString> tags = [] {
        std::vector<QString> made;
        made.reserve(kRegionCount);
        for (int i = 0; i < kRegionCount; ++i)
            made.push_back(AreaTag(i));
        return made;
    }();
    return tags;
}

// One filled, shown code box shared by the benchmarks that do not measure filling.
CodeBox& FilledBox()
{
    EnsureApplication();
    static CodeBox* box = [] {
        auto* made = new CodeBox;
        made->resize(900, 600);
        Fill(*made, Tags());
        made->show();
        return made;
    }();
    return *box;
}

void BM_AddRegionsInBatch(benchmark::State& state)
{
    EnsureApplication();
    CodeBox box;
    box.resize(900, 600);
    const std::vector<QString>& tags = Tags();
    for (auto _ : state) {
        box.Clear();
        Fill(box, tags);
        benchmark::DoNotOptimize(box.RegionCount());
    }
    state.counters["regions"] = kRegionCount;
}
BENCHMARK(BM_AddRegionsInBatch)->Unit(benchmark::kMillisecond);

void BM_UpdateOneRegion(benchmark::State& state)
{
    CodeBox& box = FilledBox();
    const QString key = Key(kRegionCount / 2);
    const QString texts[] = { AreaTag(1), AreaTag(2) };
    int next = 0;
    for (auto _ : state) {
        box.CodeRedraw(false);
        box.UpdateRegionText(key, texts[next]);
        box.CodeRedraw(true);
        next = 1 - next;
    }
}
BENCHMARK(BM_UpdateOneRegion)->Unit(benchmark::kMicrosecond);

// Removing a region in the middle; reading the selection afterwards makes the box settle its
// line list as the next repaint would.
void BM_RemoveMiddleRegion(benchmark::State& state)
{
    CodeBox& box = FilledBox();
    int i = kRegionCount / 2;
    for (auto _ : state) {
        box.CodeRedraw(false);
        box.RemoveRegion(Key(i));
        box.CodeRedraw(true);
        benchmark::DoNotOptimize(box.SelectedKey());
        state.PauseTiming();
        box.AddRegion(AreaTag(i), Key(i), QStringLiteral("Map_Area"), QIcon(), 0);
        i = i + 1 < kRegionCount ? i + 1 : kRegionCount / 2;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RemoveMiddleRegion)->Unit(benchmark::kMicrosecond);

// What the window repaints: the whole box, scrolled to the top or to the middle.
void BM_PaintViewport(benchmark::State& state)
{
    CodeBox& box = FilledBox();
    box.SelectRegion(state.range(0) == 0 ? QStringLiteral("IMAGE_TAG") : Key(kRegionCount / 2));
    QImage target(box.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        box.render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
}
BENCHMARK(BM_PaintViewport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
