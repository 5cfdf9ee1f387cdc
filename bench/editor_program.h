#pragma once

// The running editor on the offscreen platform, in a program folder of its own, for the
// benchmarks that measure what a user waits for.

#include "app/editor.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "core/model/app_state.h"
#include "core/util/file_io.h"
#include "core/util/prompt.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace karvex::bench {

// Answers every question with its default; the benchmarks never need another answer.
class QuietPrompt : public Prompt
{
public:
    PromptAnswer Ask(const PromptMessage& message) override { return message.Default; }
    std::optional<std::string> ChooseOpenFile(const FileRequest&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const FileRequest&) override { return {}; }
    std::optional<std::int32_t> ChooseColor(std::int32_t) override { return {}; }
    std::optional<std::string> InputText(
        const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }
};

struct EditorProgram
{
    std::filesystem::path Folder;
    AppState State;
    QuietPrompt Prompt;
    std::unique_ptr<MainWindow> Window;

    // An 800 x 600 picture "world.png" lies in the folder.
    explicit EditorProgram(const std::string& name)
        : Folder(std::filesystem::temp_directory_path()
            / ("karvex-" + name + "-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(Folder);
        WriteWholeFile(
            (Folder / "kvx.ini").string(), "[General]\r\nini_ErrorLog=0\r\nini_Search=0\r\n");
        QImage picture(800, 600, QImage::Format_RGB32);
        picture.fill(QColor(120, 160, 200));
        picture.save(QString::fromStdString(Picture()));
        Window = StartProgram(State, Prompt, QString::fromStdString(Folder.string()), {});
    }
    ~EditorProgram()
    {
        Window.reset();
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
    EditorProgram(const EditorProgram&) = delete;
    EditorProgram& operator=(const EditorProgram&) = delete;

    std::string Picture() const { return (Folder / "world.png").string(); }
    Editor& Docs() { return Window->DocumentEditor(); }
};

// The resident size now, as the system monitor shows it.
inline double ResidentMegabytes()
{
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

// main() of a benchmark program that drives the editor: the benchmarks run inside an offscreen
// application, and the program they made on first use ends while the application still exists.
template <typename Program>
int RunEditorBenchmarks(int argc, char** argv, std::unique_ptr<Program>& program)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    program.reset();
    return 0;
}

} // namespace karvex::bench
