// Hotspot creation and naming on documents with thousands of hotspots, as the wizard makes.

#include "core/model/hotspot_names.h"

#include <benchmark/benchmark.h>

namespace {

using namespace karvex;

Figure Square(int i)
{
    Figure figure;
    figure.Kind = ShapeRectangle;
    figure.X1 = (i % 100) * 10;
    figure.Y1 = (i / 100) * 10;
    figure.X2 = figure.X1 + 8;
    figure.Y2 = figure.Y1 + 8;
    figure.Coordinates = std::to_string(figure.X1) + "," + std::to_string(figure.Y1) + ","
        + std::to_string(figure.X2) + "," + std::to_string(figure.Y2);
    return figure;
}

// Drawing n hotspots one after another into an empty document.
void BM_AddHotspots(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Document doc;
        HotspotNameTable names;
        for (int i = 0; i < count; ++i)
            AddHotspotFromFigure(doc, names, Square(i));
        benchmark::DoNotOptimize(doc.Hotspots.size());
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_AddHotspots)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

// Unique names for an import into a document that already holds n names.
void BM_MakeHotspotName(benchmark::State& state)
{
    HotspotNameTable names;
    for (int i = 1; i <= state.range(0); ++i)
        names.Add("Rectangle" + std::to_string(i), i);
    for (auto _ : state) {
        std::int32_t start = 1;
        benchmark::DoNotOptimize(MakeHotspotName(names, ShapeRectangle, start));
    }
}
BENCHMARK(BM_MakeHotspotName)->Arg(10000);

} // namespace
