// The Component Renamer over generated forms of 1,000 to 20,000 data-aware edits, each
// with a label whose FocusControl names it, and their unit: what `vesk rename` does
// between reading the files and writing them (read the form, rename the controls,
// rename the unit's fields, write both texts). The floor is the same form read and
// written back without renaming; the per-control time staying flat from 1,000 to 20,000
// controls shows the work grows linearly.
#include "expert/renamer/RenExp.h"
#include "platform/forms/UnitFields.h"
#include "platform/forms/FormFile.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct TGenerated {
    std::string Form;
    std::string Unit;
};

TGenerated Generate(int controls) {
    TGenerated g;
    g.Form = "object Form1: TForm1\r\n  Left = 0\r\n  Top = 0\r\n";
    g.Unit = "unit Generated;\r\n\r\ninterface\r\n\r\ntype\r\n  TForm1 = class(TForm)\r\n";
    for (int i = 0; i < controls; ++i) {
        const std::string n = std::to_string(i);
        g.Form += "  object Label" + n + ": TLabel\r\n    Caption = 'Field " + n +
                  "'\r\n    FocusControl = DBEdit" + n + "\r\n  end\r\n";
        g.Form += "  object DBEdit" + n +
                  ": TDBEdit\r\n    Left = 8\r\n    Top = " + std::to_string(i * 24) +
                  "\r\n    DataField = 'F" + n + "'\r\n  end\r\n";
        g.Unit += "    Label" + n + ": TLabel;\r\n    DBEdit" + n + ": TDBEdit;\r\n";
    }
    g.Form += "end\r\n";
    g.Unit += "  end;\r\n\r\nimplementation\r\n\r\nend.\r\n";
    return g;
}

void PerControl(benchmark::State& state) {
    state.SetComplexityN(state.range(0));
    state.counters["per_control"] = benchmark::Counter(
        static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Rename(benchmark::State& state) {
    const TGenerated g = Generate(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto form = vesk::TFormFile::Parse(g.Form);
        std::vector<vesk::TFieldRename> renames;
        for (const vesk::TRenameOutcome& o : vesk::RenameDataControls(*form->Root()))
            if (o.Renamed)
                renames.push_back({o.OldName, o.NewName});
        std::string unit = g.Unit;
        const auto missing = vesk::RenameClassFields(unit, form->Root()->ClassName(), renames);
        const std::string written = form->Save();
        benchmark::DoNotOptimize(written.data());
        benchmark::DoNotOptimize(unit.data());
        if (!missing.empty() || renames.size() != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("not every control was renamed");
    }
    PerControl(state);
}

void BM_ReadWriteFloor(benchmark::State& state) {
    const TGenerated g = Generate(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto form = vesk::TFormFile::Parse(g.Form);
        const std::string written = form->Save();
        benchmark::DoNotOptimize(written.data());
    }
    PerControl(state);
}

} // namespace

BENCHMARK(BM_Rename)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_ReadWriteFloor)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
