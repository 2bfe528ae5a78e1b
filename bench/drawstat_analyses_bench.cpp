// drawstat's analyses over a real-sized history: the file read from disk, the pass, and the lists
// filled as the windows fill them.
#include "core/drawmap.h"
#include "core/intervals.h"
#include "core/mostfrequent.h"
#include "core/skips.h"
#include "core/synth.h"
#include "core/textfile.h"
#include "platform/widgets.h"

#include <benchmark/benchmark.h>

#include "benchutil.h"

namespace {

BENCHMARK(bench::plainPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::streamingPass)->Name("BM_StreamingPass")->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State& st) {
    bench::historyFile();  // written once, outside the timing
    for (auto _ : st) benchmark::DoNotOptimize(bench::openHistory().size());
}

void BM_LifePath(benchmark::State& st) {
    dz::ui::ListBox l1, l2;
    for (auto _ : st) {
        const auto f = bench::openHistory();
        auto r = drawstat::lifePath(f, 7, bench::windowStart());
        l1.setSource(std::move(r.appearances));
        l2.setItems(std::move(r.distribution));
        l1.setTopIndex(l1.count() - 14);
    }
}

void BM_IntervalLoad(benchmark::State& st) {
    dz::ui::ListBox l1, l2, l3(nullptr, true);
    for (auto _ : st) {
        const auto f = bench::openHistory();
        auto r = drawstat::intervalPatterns(f, bench::windowStart());
        l1.setItems(std::move(r.draws));
        l2.setItems(std::move(r.byCode));
        l3.setItems(std::move(r.byFrequency));
        l1.setTopIndex(l1.count() - 15);
    }
}

void BM_MapLoad(benchmark::State& st) {
    dz::ui::ListBox l1;
    for (auto _ : st) {
        const auto f = bench::openHistory();
        l1.setItems(drawstat::drawMap(f, bench::windowStart()));
        l1.setTopIndex(l1.count() - 20);
    }
}

void BM_MostFrequentAll(benchmark::State& st) {
    dz::ui::ListBox l5, l6(nullptr, true), l1, l2(nullptr, true), l3, l4(nullptr, true);
    for (auto _ : st) {
        const auto f = bench::openHistory();
        const auto c = drawstat::countFrequencies(f, drawstat::firstCountedDraw(static_cast<long long>(bench::kHistoryDraws), double(bench::kHistoryDraws)));
        auto r = drawstat::frequencyLists(c);
        l5.setItems(std::move(r.numbers));
        l6.setItems(std::move(r.numbersRanked));
        l1.setItems(std::move(r.pairs));
        l2.setItems(std::move(r.pairsRanked));
        l3.setItems(std::move(r.triples));
        l4.setItems(std::move(r.triplesRanked));
    }
}

// The passes alone, over a history already in memory.
void BM_CountFrequenciesOnly(benchmark::State& st) {
    const auto f = bench::openHistory();
    for (auto _ : st) benchmark::DoNotOptimize(drawstat::countFrequencies(f, 0).triples[0]);
}

}  // namespace

BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LifePath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntervalLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MostFrequentAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountFrequenciesOnly)->Unit(benchmark::kMillisecond);
