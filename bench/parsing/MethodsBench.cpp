// The Method Navigator's hot paths on a unit that declares 10,000 methods:
// the parse when the window opens, and the filter on every keystroke.
#include "bench/parsing/BigUnit.h"
#include "expert/parsing/ParsPas.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const std::string& Unit() {
    static const std::string text = vesk::bench::BigUnit(100, 100);
    return text;
}

void Parse(benchmark::State& state) {
    for (auto _ : state) {
        vesk::TMethodList methods;
        methods.ParseText(Unit());
        benchmark::DoNotOptimize(methods.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Unit().size()));
}
BENCHMARK(Parse)->Unit(benchmark::kMillisecond);

// One keystroke: the filter as typed so far, from everything to a single method.
void Filter(benchmark::State& state, const char* filter) {
    vesk::TMethodList methods;
    methods.ParseText(Unit());
    for (auto _ : state) {
        auto shown = methods.GetMethods(filter);
        benchmark::DoNotOptimize(shown->Count());
    }
    state.counters["methods"] = methods.Count();
    state.counters["shown"] = static_cast<double>(methods.GetMethods(filter)->Count());
}
BENCHMARK_CAPTURE(Filter, empty_shows_all, "")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Filter, name_prefix, "handleevent1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Filter, class_and_name, "tgenerated42.handleevent7")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Filter, no_match, "zzz")->Unit(benchmark::kMicrosecond);

// Jump to the last method: the search runs through the whole implementation.
void JumpToLast(benchmark::State& state) {
    vesk::TMethodList methods;
    for (auto _ : state) {
        state.PauseTiming();
        methods.ParseText(Unit());
        methods.GetMethods("tgenerated99.handleevent99");
        state.ResumeTiming();
        vesk::TEditPos top, cursor;
        methods.GetMethodPos(0, top, cursor);
        benchmark::DoNotOptimize(top.Line);
    }
}
BENCHMARK(JumpToLast)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
