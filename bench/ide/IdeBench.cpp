// vesk-ide's start-up and its editor on a large unit, on the offscreen platform:
//   BM_StartUp        the main window made, the packages Vesk and VeskExp loaded (their
//                     entries run, the "Vesk" menu built), the window shown on the sample
//                     project and painted; then everything unloaded again. Goal: 500 ms
//                     with the application's own start (reported once as "qapp_ms");
//                     "first_ms" is the first round, when nothing was loaded before.
//   BM_OpenLargeUnit  a 5 MB unit read, decoded, put in an editor tab and painted. Goal:
//                     300 ms.
//
//   build/bin/bench_ide
#include "bench/parsing/BigUnit.h"
#include "ide/app/IdeWindow.h"
#include "platform/forms/FormFile.h"
#include "platform/qt/QtHostServices.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace vesk;

const std::string Folder = "/tmp/vesk-bench-ide";
double QApplicationMs = 0;

TQtHostServices& Services() {
    static TQtHostServices* services = [] {
        std::filesystem::create_directories(Folder);
        std::filesystem::remove(Folder + "/registry.reg");
        auto* made = new TQtHostServices(TRegistryFile::Open(Folder + "/registry.reg"));
        SetHostServices(made);
        return made;
    }();
    return *services;
}

// Until the window is on the screen and drawn.
void Shown(QWidget& window) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        throw std::runtime_error("the window was not shown");
    window.repaint();
}

void BM_StartUp(benchmark::State& state) {
    Services();
    const std::string project = std::string(VESK_SOURCE_DIR) + "/examples/sample/Sample.dpr";
    bool first = true;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto window = std::make_unique<TIdeWindow>();
        window->Start();
        if (!window->OpenProject(project))
            state.SkipWithError("the sample project did not open");
        Shown(*window);
        benchmark::DoNotOptimize(window->Modules().size());
        state.PauseTiming();
        if (first) // the packages' first loading, with the files not yet mapped
            state.counters["first_ms"] =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        first = false;
        const int packages = static_cast<int>(window->Packages().Packages().size());
        window.reset();
        QApplication::processEvents();
        state.counters["packages"] = packages;
        state.ResumeTiming();
    }
    state.counters["qapp_ms"] = QApplicationMs;
}

void BM_OpenLargeUnit(benchmark::State& state) {
    Services();
    int classes = 100;
    std::string text = bench::BigUnit(classes, 100);
    while (text.size() < 5u << 20)
        text = bench::BigUnit(classes += 20, 100);
    const std::string file = Folder + "/Big.pas";
    WriteFileAtomic(file, text);
    TIdeWindow window;
    Shown(window);
    for (auto _ : state) {
        TIdeModule* module = window.OpenFile(file);
        if (!module) {
            state.SkipWithError("the unit did not open");
            break;
        }
        window.repaint();
        benchmark::DoNotOptimize(module->Editor()->Length());
        state.PauseTiming();
        window.CloseModule(module);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / (1 << 20);
}

BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OpenLargeUnit)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto start = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    QApplicationMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SetHostServices(nullptr);
    return 0;
}
