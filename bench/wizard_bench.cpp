// The hotspot wizard making a 100 x 100 grid (10,000 hotspots) in an open page of 1,000
// hotspots: from the press of Complete until the surface holds every figure and the code page
// shows every AREA, with the wizard's progress bar painted along the way (offscreen platform).
// Run with GLIBC_TUNABLES=glibc.malloc.hugetlb=1, as the editor sets it for itself at start.

#include "components/code_box/code_box.h"
#include "components/drawing_surface/drawing_surface.h"
#include "editor_program.h"
#include "generated_pages.h"
#include "ui/document_window.h"
#include "ui/wizard_dialog.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
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

constexpr int kPageAreas = 1000;
constexpr int kSide = 100;
constexpr std::size_t kGridSize = std::size_t { kSide } * kSide;

struct Program : bench::EditorProgram
{
    std::string Page = (Folder / "page.html").string();

    Program()
        : EditorProgram("wizard-bench")
    {
        WriteWholeFile(Page, bench::MakePage(kPageAreas, "world.png"));
        Window->show();
    }

    void CloseAll()
    {
        Window->DocumentEditor().CloseAllDocuments();
        // Closed windows are deleted later, by the event loop this program never enters.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
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

void BM_WizardGrid(benchmark::State& state)
{
    Program& program = TheProgram();
    double resident = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!program.Window->DocumentEditor().OpenDocument(program.Page, false)) {
            state.SkipWithError("the page did not open");
            break;
        }
        DocumentWindow* window = program.Window->DocumentEditor().ActiveWindow();
        window->Code(); // the code page filled, so that it has to take the grid in too
        QApplication::processEvents();
        const std::size_t before = program.State.HotspotNames.Count();
        auto wizard = std::make_unique<WizardDialog>(
            program.State, program.Prompt, *window, nullptr, program.Window.get());
        wizard->show();
        const auto box
            = [&wizard](const char* name) { return wizard->findChild<QLineEdit*>(name); };
        box("Text5")->setText(QString::number(kSide));
        box("Text6")->setText(QString::number(kSide));
        box("Text7")->setText("1");
        for (int i = 0; i < 3; ++i)
            wizard->findChild<QPushButton*>("NextButton")->click();
        QApplication::processEvents();
        state.ResumeTiming();

        wizard->findChild<QPushButton*>("CompleteButton")->click();
        QApplication::processEvents();

        state.PauseTiming();
        const std::size_t added = program.State.HotspotNames.Count() - before;
        const bool shown
            = window->Code().RegionText(QString("myHotspot%1").arg(kGridSize)).startsWith("<AREA");
        window->Surface().SelectFigure(static_cast<int>(before + added));
        if (added != kGridSize || !shown || window->Surface().SelectedFigureId() == 0)
            state.SkipWithError("the grid did not arrive whole");
        resident = std::max(resident, bench::ResidentMegabytes());
        wizard.reset();
        program.CloseAll();
        state.ResumeTiming();
    }
    state.counters["hotspots/s"] = benchmark::Counter(
        static_cast<double>(kGridSize) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    state.counters["resident_MB"] = resident;
}
BENCHMARK(BM_WizardGrid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return karvex::bench::RunEditorBenchmarks(argc, argv, g_program);
}
