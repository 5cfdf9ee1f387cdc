// The page, project and map-file readers and the save into an existing page, over generated
// pages of megabytes with tens of thousands of AREA tags, and the heap the page import needs.

#include "core/formats/html_import.h"
#include "core/formats/html_writer.h"
#include "core/formats/map_block.h"
#include "core/formats/map_file.h"
#include "core/formats/project_file.h"
#include "core/model/app_state.h"
#include "core/operations/document_save.h"
#include "core/util/file_io.h"
#include "generated_pages.h"

#include <benchmark/benchmark.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <new>
#include <string>
#include <unistd.h>

// Every allocation of the program is counted, so that a benchmark can read the heap's high
// water mark over one call. The benchmarks run on one thread, so plain counters do.
namespace {

bool g_countHeap = false; // only while a benchmark measures it, to keep the others' timing
std::int64_t g_heapNow = 0;
std::int64_t g_heapPeak = 0;

} // namespace

#if defined(__GLIBC__)
#include <malloc.h>

constexpr bool kHeapCounted = true;

// Kept out of line so that the compiler sees no malloc/free pairs across the replacement.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block)
        throw std::bad_alloc();
    if (g_countHeap) {
        g_heapNow += static_cast<std::int64_t>(malloc_usable_size(block));
        if (g_heapNow > g_heapPeak)
            g_heapPeak = g_heapNow;
    }
    return block;
}

[[gnu::noinline]] void operator delete(void* block) noexcept
{
    if (!block)
        return;
    if (g_countHeap)
        g_heapNow -= static_cast<std::int64_t>(malloc_usable_size(block));
    std::free(block);
}

[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}
#else
constexpr bool kHeapCounted = false;
#endif

namespace {

using namespace karvex;
using bench::Num;

namespace fs = std::filesystem;

// A folder for the picture and the pages, removed when the program ends.
class BenchFolder
{
public:
    BenchFolder()
        : m_path(fs::temp_directory_path() / ("karvex-import-bench-" + std::to_string(getpid())))
    {
        fs::create_directories(m_path);
        // A GIF header is all the size probe reads.
        std::string gif = "GIF89a";
        gif += static_cast<char>(800 & 0xFF);
        gif += static_cast<char>(800 >> 8);
        gif += static_cast<char>(600 & 0xFF);
        gif += static_cast<char>(600 >> 8);
        gif += std::string(32, '\0');
        WriteWholeFile(File("world map.gif"), gif);
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

BenchFolder& Folder()
{
    static BenchFolder folder;
    return folder;
}

const std::string& Page(int areas)
{
    static std::map<int, std::string> pages;
    auto& page = pages[areas];
    if (page.empty())
        page = bench::MakePage(areas, "world map.gif");
    return page;
}

ImportContext Context()
{
    ImportContext context;
    context.Style = PathStyle::Posix;
    return context;
}

// The page imported, as the document window gets it.
ImportResult Imported(int areas)
{
    return ImportHtmlText(Folder().File("page.html"), Page(areas), Context());
}

void SetRates(benchmark::State& state, std::size_t bytes, int areas)
{
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
    state.counters["areas/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * areas, benchmark::Counter::kIsRate);
    state.SetComplexityN(areas);
}

// A document is freed when its window closes, not while it is read: the result is destroyed
// with the clock stopped.
void DropUntimed(benchmark::State& state, ImportResult&& result)
{
    benchmark::DoNotOptimize(result.Doc.Hotspots.data());
    state.PauseTiming();
    {
        const ImportResult dropped = std::move(result);
    }
    state.ResumeTiming();
}

void BM_ImportHtmlText(benchmark::State& state)
{
    const auto areas = static_cast<int>(state.range(0));
    const std::string& page = Page(areas);
    const std::string file = Folder().File("page.html");
    const ImportContext context = Context();
    for (auto _ : state) {
        ImportResult result = ImportHtmlText(file, page, context);
        if (result.Doc.Hotspots.size() != static_cast<std::size_t>(areas) + 1)
            state.SkipWithError("the import lost hotspots");
        DropUntimed(state, std::move(result));
    }
    SetRates(state, page.size(), areas);
}
BENCHMARK(BM_ImportHtmlText)
    ->Arg(20000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_FindMapCandidates(benchmark::State& state)
{
    const auto areas = static_cast<int>(state.range(0));
    const std::string& page = Page(areas);
    for (auto _ : state) {
        const auto candidates = FindMapCandidates(page, true);
        benchmark::DoNotOptimize(candidates.data());
    }
    SetRates(state, page.size(), areas);
}
BENCHMARK(BM_FindMapCandidates)
    ->Arg(20000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The save of an imported page back into itself: read, merge, write through a temporary file.
void BM_SaveIntoPage(benchmark::State& state)
{
    const auto areas = static_cast<int>(state.range(0));
    const std::string file = Folder().File("save" + Num(areas) + ".html");
    WriteWholeFile(file, Page(areas));
    AppState app;
    ImportResult imported = ImportHtmlText(file, Page(areas), Context());
    app.Documents.push_back(std::move(imported.Doc));
    app.CurrentDocument = 1;
    app.OpenDocuments.Add(file, "1");
    for (auto _ : state) {
        const SaveResult saved = SaveDocumentFile(app, 1, file, false, false);
        if (!saved.Ok)
            state.SkipWithError(saved.Error.c_str());
    }
    SetRates(state, Page(areas).size(), areas);
}
BENCHMARK(BM_SaveIntoPage)
    ->Arg(20000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// A map whose AREAs share one line with other text, as minified pages write them: the rebuild
// must stay linear in the number of AREAs on a line.
void BM_RebuildOneLineBlock(benchmark::State& state)
{
    const auto areas = static_cast<int>(state.range(0));
    std::string block = "<map name=\"m\">\n  ";
    for (int i = 0; i < areas; ++i) {
        std::string area = bench::AreaLine(i);
        area.back() = ' ';
        block += area;
    }
    block += "<span>end</span>\n</map>";
    for (auto _ : state) {
        auto rebuilt = RebuildBlockText(block, "m", "<area shape=\"rect\" coords=\"1,1,2,2\">");
        benchmark::DoNotOptimize(rebuilt);
    }
    SetRates(state, block.size(), areas);
}
BENCHMARK(BM_RebuildOneLineBlock)
    ->Arg(20000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

AppState StateWith(Document doc)
{
    AppState app;
    app.Documents.push_back(std::move(doc));
    app.CurrentDocument = 1;
    return app;
}

void BM_ProjectText(benchmark::State& state)
{
    const auto areas = static_cast<int>(state.range(0));
    AppState app = StateWith(Imported(areas).Doc);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = ProjectText(app.Documents[1], "2026-01-01 12:00:00");
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    SetRates(state, bytes, areas);
}
BENCHMARK(BM_ProjectText)
    ->Arg(20000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_LoadProjectText(benchmark::State& state)
{
    const auto areas = static_cast<int>(state.range(0));
    AppState app = StateWith(Imported(areas).Doc);
    const std::string text = ProjectText(app.Documents[1], "2026-01-01 12:00:00");
    const std::string file = Folder().File("world.kvp");
    const ImportContext context = Context();
    for (auto _ : state) {
        ImportResult result = LoadProjectText(file, text, context);
        if (result.Doc.Hotspots.size() != static_cast<std::size_t>(areas) + 1)
            state.SkipWithError("the project lost hotspots");
        DropUntimed(state, std::move(result));
    }
    SetRates(state, text.size(), areas);
}
BENCHMARK(BM_LoadProjectText)
    ->Arg(20000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// An NCSA map file with one line per hotspot, as other editors and servers write them.
std::string MapFile(int lines)
{
    std::string text = "# <IMG Src=\"" + Folder().File("world map.gif")
        + "\">\n# <IMG Width=\"800\">\n# <IMG Height=\"600\">\n";
    for (int i = 0; i < lines; ++i) {
        const int x = (i * 37) % 760;
        const int y = (i * 53) % 560;
        switch (i % 3) {
        case 0:
            text += "rect /products/item" + Num(i) + ".html " + Num(x) + "," + Num(y) + " "
                + Num(x + 30) + "," + Num(y + 20) + "\n";
            break;
        case 1:
            text += "circle /people/p" + Num(i) + ".html " + Num(x + 20) + "," + Num(y + 20) + " "
                + Num(x + 20) + "," + Num(y + 35) + "\n";
            break;
        default:
            text += "poly /regions/r" + Num(i) + ".html " + Num(x) + "," + Num(y) + " "
                + Num(x + 30) + "," + Num(y) + " " + Num(x + 15) + "," + Num(y + 25) + "\n";
        }
    }
    return text + "default /index.html\n";
}

void BM_ReadMapFile(benchmark::State& state)
{
    const auto lines = static_cast<int>(state.range(0));
    const std::string text = MapFile(lines);
    const std::string file = Folder().File("world.map");
    const ImportContext context = Context();
    for (auto _ : state) {
        ImportResult result = LoadProjectText(file, MapFileToProjectText(file, text), context);
        if (result.Doc.Hotspots.size() != static_cast<std::size_t>(lines) + 1)
            state.SkipWithError("the map file lost hotspots");
        DropUntimed(state, std::move(result));
    }
    SetRates(state, text.size(), lines);
}
BENCHMARK(BM_ReadMapFile)
    ->Arg(20000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The heap the page import needs above the page text it is given: its high water mark during
// the call, and what the finished document keeps.
void BM_ImportPeakHeap(benchmark::State& state)
{
    if (!kHeapCounted) {
        state.SkipWithError("the heap is counted with glibc only");
        return;
    }
    const auto areas = static_cast<int>(state.range(0));
    const std::string& page = Page(areas);
    const std::string file = Folder().File("page.html");
    const ImportContext context = Context();
    std::int64_t peak = 0;
    std::int64_t kept = 0;
    for (auto _ : state) {
        // Blocks freed while counting were allocated while counting, so the sums stay right.
        g_heapNow = 0;
        g_heapPeak = 0;
        g_countHeap = true;
        {
            const ImportResult result = ImportHtmlText(file, page, context);
            kept = g_heapNow;
            benchmark::DoNotOptimize(result.Doc.Hotspots.data());
        }
        g_countHeap = false;
        peak = g_heapPeak;
    }
    constexpr double kMegabyte = 1024.0 * 1024.0;
    state.counters["page_MB"] = static_cast<double>(page.size()) / kMegabyte;
    state.counters["peak_heap_MB"] = static_cast<double>(peak) / kMegabyte;
    state.counters["kept_MB"] = static_cast<double>(kept) / kMegabyte;
}
BENCHMARK(BM_ImportPeakHeap)->Arg(20000)->Arg(50000)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
