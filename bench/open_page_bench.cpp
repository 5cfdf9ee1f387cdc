// Opening a page of 20,000 or 50,000 areas in the running editor, until its window has been
// shown: the reader, the figures, the name tables and the property panel (offscreen platform).
// Run with GLIBC_TUNABLES=glibc.malloc.hugetlb=1, as the editor sets it for itself at start.

#include "editor_program.h"
#include "generated_pages.h"

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

using namespace karvex;
namespace fs = std::filesystem;

struct Program : bench::EditorProgram
{
    Program()
        : EditorProgram("open-bench")
    {
    }

    std::string Page(int areas)
    {
        std::string path = (Folder / ("page" + std::to_string(areas) + ".html")).string();
        if (!fs::exists(path))
            WriteWholeFile(path, bench::MakePage(areas, "world.png"));
        return path;
    }
};

// Made on first use and ended in main, while the application still exists.
std::unique_ptr<Program> g_program;

Program& TheProgram()
{
    if (!g_program)
        g_program = std::make_unique<Program>();
    return *g_program;
}

void BM_OpenPage(benchmark::State& state)
{
    Program& program = TheProgram();
    const int areas = static_cast<int>(state.range(0));
    const std::string page = program.Page(areas);
    double resident = 0;
    for (auto _ : state) {
        const bool opened = program.Window->DocumentEditor().OpenDocument(page, false);
        QApplication::processEvents();
        benchmark::DoNotOptimize(opened);
        state.PauseTiming();
        resident = std::max(resident, bench::ResidentMegabytes());
        if (!opened)
            state.SkipWithError("the page did not open");
        program.Window->DocumentEditor().CloseAllDocuments();
        // Closed windows are deleted later, by the event loop this program never enters.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["areas/s"]
        = benchmark::Counter(static_cast<double>(areas) * static_cast<double>(state.iterations()),
            benchmark::Counter::kIsRate);
    state.counters["page_MB"] = static_cast<double>(fs::file_size(page)) / 1e6;
    state.counters["resident_MB"] = resident;
}
BENCHMARK(BM_OpenPage)->Arg(20000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return karvex::bench::RunEditorBenchmarks(argc, argv, g_program);
}
