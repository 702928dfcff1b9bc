// The Method Navigator window on a unit that declares 10,000 methods, on the offscreen
// platform: opening it (the editor read, the unit parsed, the list filled and drawn)
// and one keystroke in the filter until the list shows the new entries. The goals are
// one frame (16 ms) a keystroke, the one that clears the filter included, and 100 ms
// for opening.
//
//   build/bin/bench_navigator
#include "bench/parsing/BigUnit.h"
#include "expert/navigator/MNavExp.h"
#include "platform/ota/HeadlessHost.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

using namespace vesk;

const char* const UnitName = "/tmp/vesk-bench-navigator/Big.pas";

// The host with the big unit open in its editor, and a settings store of its own.
THeadlessHost& Host() {
    static THeadlessHost* host = [] {
        ::setenv("VESK_REGISTRY", "/tmp/vesk-bench-navigator/registry.reg", 1);
        auto* made = new THeadlessHost;
        made->AddModule(UnitName, bench::BigUnit(100, 100));
        made->SetCurrentFile(UnitName);
        return made;
    }();
    return *host;
}

// Until the list shows what it holds: its items laid out and its visible part drawn.
void Drawn(TMNavExpDlg& dialog) {
    dialog.lbMethod->doItemsLayout();
    dialog.lbMethod->viewport()->repaint();
}

TMNavExpDlg* OpenWindow() {
    auto* dialog = new TMNavExpDlg;
    dialog->show();
    Drawn(*dialog);
    return dialog;
}

void BM_Open(benchmark::State& state) {
    Host();
    for (auto _ : state) {
        TMNavExpDlg* dialog = OpenWindow();
        benchmark::DoNotOptimize(dialog->ItemIndex());
        state.PauseTiming();
        delete dialog;
        state.ResumeTiming();
    }
}

// Typing a filter letter by letter, then taking it back: the last backspace shows all
// 10,000 again.
void BM_Keystroke(benchmark::State& state, const std::string& typed) {
    Host();
    TMNavExpDlg* dialog = OpenWindow();
    QLineEdit* edit = dialog->edFilter;
    std::size_t step = 0;
    for (auto _ : state) {
        if (step < typed.size())
            QTest::keyClick(edit, typed[step]);
        else
            QTest::keyClick(edit, Qt::Key_Backspace);
        Drawn(*dialog);
        step = (step + 1) % (2 * typed.size());
    }
    state.counters["methods"] = dialog->Logic()->Methods().Count();
    delete dialog;
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Keystroke, name, std::string("handleevent42"))
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Keystroke, class_and_name, std::string("tgenerated7.h"))
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The worst keystrokes alone: from every method shown to none and back.
void BM_ClearingKeystroke(benchmark::State& state) {
    Host();
    TMNavExpDlg* dialog = OpenWindow();
    QTest::keyClick(dialog->edFilter, 'z'); // nothing shown
    Drawn(*dialog);
    for (auto _ : state) {
        QTest::keyClick(dialog->edFilter, Qt::Key_Backspace); // all 10,000 shown
        Drawn(*dialog);
        state.PauseTiming();
        QTest::keyClick(dialog->edFilter, 'z');
        Drawn(*dialog);
        state.ResumeTiming();
    }
    delete dialog;
}
BENCHMARK(BM_ClearingKeystroke)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
