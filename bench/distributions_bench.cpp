// The main window's distributions and one back-test run over a real-sized history: the file read
// from disk, the pass, and the lists filled as the windows fill them.
#include "drawstat/core/distributions.h"
#include "common/core/synth.h"
#include "common/core/textfile.h"
#include "common/platform/widgets.h"

#include <benchmark/benchmark.h>

#include "bench/backtestpass.h"
#include "bench/benchutil.h"

namespace {

BENCHMARK(bench::fixedColumnPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::streamingPass)->Name("BM_StreamingPass")->Unit(benchmark::kMillisecond);

void BM_Sums(benchmark::State& st) {
    dz::ui::ListBox list2;
    for (auto _ : st) {
        const auto f = bench::openHistory();
        list2.setItems(dz::drawstat::sumsLines(f));
    }
}

// The result list, its backup and the nine class lists, as the main window fills them.
struct ClassLists {
    dz::ui::ListBox list2, list6;
    std::array<dz::ui::ListBox, 9> list5;
    void fill(const dz::drawstat::ClassResult& r) {
        list2.setSource(r.lines);
        list6.setSource(r.lines);
        for (size_t k = 0; k < 9; ++k) list5[k].setSource(r.classes[k]);
        list2.setTopIndex(r.topIndex());
    }
};

void BM_Identity(benchmark::State& st) {
    ClassLists lists;
    for (auto _ : st) {
        const auto f = bench::openHistory();
        lists.fill(dz::drawstat::identityDistribution(f, bench::windowStart()));
    }
}

void BM_Adhesion(benchmark::State& st) {
    ClassLists lists;
    for (auto _ : st) {
        const auto f = bench::openHistory();
        lists.fill(dz::drawstat::adhesionDistribution(f, bench::windowStart()));
    }
}

// Ten marked numbers, default bounds: the last 32736 draws are listed.
void BM_Backtest(benchmark::State& st) { bench::backtestPass(st, false); }

// The passes alone, over a history already in memory.
void BM_IdentityPassOnly(benchmark::State& st) {
    const auto f = bench::openHistory();
    for (auto _ : st) benchmark::DoNotOptimize(dz::drawstat::identityDistribution(f, bench::windowStart()).lines->count());
}

}  // namespace

BENCHMARK(BM_Sums)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Identity)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Adhesion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Backtest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdentityPassOnly)->Unit(benchmark::kMillisecond);
