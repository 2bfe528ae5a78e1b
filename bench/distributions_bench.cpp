// The main window's distributions and one back-test run over a real-sized history: the file read
// from disk, the pass, and the lists filled as the windows fill them.
#include "drawstat/core/backtest.h"
#include "drawstat/core/distributions.h"
#include "common/core/synth.h"
#include "common/core/textfile.h"
#include "common/platform/widgets.h"

#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

namespace {

BENCHMARK(bench::plainPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
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
void BM_Backtest(benchmark::State& st) {
    dz::ui::ListBox list1, list2, list3;
    dz::drawstat::BacktestInput in;
    in.marked = 0;
    for (int n : {1, 3, 5, 7, 9, 12, 14, 16, 18, 20}) in.marked |= 1u << n;
    in.markedCount = 10;
    for (auto _ : st) {
        in.windowStart = bench::windowStart();
        const auto out = dz::drawstat::runBacktest(in, bench::historyFile());
        list1.setSource(out.hitLines);
        list3.setSource(out.numberLines);
        list2.setItems(out.distribution);
        if (out.hitTopIndex) list1.setTopIndex(*out.hitTopIndex);
    }
}

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
