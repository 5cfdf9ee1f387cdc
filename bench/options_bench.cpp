// Options taking effect in an open page of 10,000 hotspots: the look, the ruler, shape,
// border and code colours and the cursor switched, applied to the document window, its
// code page and the property panel, and painted once (offscreen platform).

#include "components/code_box/code_box.h"
#include "editor_program.h"
#include "generated_pages.h"
#include "ui/document_window.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

using namespace karvex;

constexpr int kPageAreas = 10000;

struct Program : bench::EditorProgram
{
    DocumentWindow* Window10k = nullptr;

    Program()
        : EditorProgram("options-bench")
    {
        const std::string page = (Folder / "page.html").string();
        WriteWholeFile(page, bench::MakePage(kPageAreas, "world.png"));
        Window->show();
        if (Docs().OpenDocument(page, false)) {
            Window10k = Docs().ActiveWindow();
            Window10k->Code(); // the code page filled, so that it has to take the colours too
        }
        QApplication::processEvents();
    }
};

std::unique_ptr<Program> g_program;

Program& TheProgram()
{
    if (!g_program)
        g_program = std::make_unique<Program>();
    return *g_program;
}

void BM_ApplySettings(benchmark::State& state)
{
    Program& program = TheProgram();
    if (!program.Window10k || program.State.HotspotNames.Count() != kPageAreas) {
        state.SkipWithError("the page did not open");
        return;
    }
    GlobalSettings& settings = program.State.Settings;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        settings.ini_Look = flip;
        settings.ini_Ruler = flip ? 0x80FFFF : 0xE0E0E0;
        settings.ini_Shape = flip ? 0x0000FF : 0;
        settings.ini_Border = flip ? 0xFF0000 : 0;
        settings.ini_AttributeName = flip ? 0x008000 : 255;
        settings.CoolCursor = flip;
        program.Docs().ApplySettings();
        program.Window->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ApplySettings)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    return karvex::bench::RunEditorBenchmarks(argc, argv, g_program);
}
