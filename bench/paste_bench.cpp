// Pasting one copied hotspot 250, 500 and 1,000 times into a document through the editor's own
// paste (figure, record, names, code page and panel), on the offscreen platform: the time per
// paste should stay the same as the document fills.

#include "core/model/figure.h"
#include "editor_program.h"
#include "ui/document_window.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

using namespace karvex;

std::unique_ptr<bench::EditorProgram> g_program;

bench::EditorProgram& TheProgram()
{
    if (!g_program)
        g_program = std::make_unique<bench::EditorProgram>("paste-bench");
    return *g_program;
}

// A fresh document with one rectangle on the clipboard.
bool StartDocument(bench::EditorProgram& program)
{
    Editor& docs = program.Docs();
    docs.CloseAllDocuments();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    docs.NewDocumentFromPicture(program.Picture());
    DocumentWindow* window = docs.ActiveWindow();
    if (!window)
        return false;
    Figure figure;
    figure.Kind = ShapeRectangle;
    figure.Coordinates = "20,20,60,50";
    const QList<int> ids = window->AddHotspots({ figure });
    window->SelectHotspot(ids.front());
    docs.CopyHotspot();
    return true;
}

void BM_PasteHotspot(benchmark::State& state)
{
    bench::EditorProgram& program = TheProgram();
    const auto pastes = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        if (!StartDocument(program)) {
            state.SkipWithError("no document");
            break;
        }
        state.ResumeTiming();
        for (int64_t i = 0; i < pastes; ++i)
            program.Docs().PasteHotspot();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * pastes);
    state.counters["us_per_paste"]
        = benchmark::Counter(static_cast<double>(state.iterations() * pastes),
            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PasteHotspot)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return karvex::bench::RunEditorBenchmarks(argc, argv, g_program);
}
