// drawstat's analyses over a real-sized history: the file read from disk, the pass, and the lists
// filled as the windows fill them.
#include "drawstat/core/drawmap.h"
#include "drawstat/core/intervals.h"
#include "drawstat/core/mostfrequent.h"
#include "drawstat/core/skips.h"
#include "common/core/synth.h"
#include "common/core/textfile.h"
#include "common/platform/widgets.h"

#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

namespace {

BENCHMARK(bench::fixedColumnPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::streamingPass)->Name("BM_StreamingPass")->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State& st) {
    bench::historyFile();  // written once, outside the timing
    for (auto _ : st) {
        const size_t n = bench::openHistory().size();
        benchmark::DoNotOptimize(n);
        if (!bench::requireCount(st, static_cast<long long>(n), bench::historyDraws(), "draws")) break;
    }
}

void BM_LifePath(benchmark::State& st) {
    dz::ui::ListBox l1, l2;
    for (auto _ : st) {
        const auto f = bench::openHistory();
        auto r = dz::drawstat::lifePath(f, 7, bench::windowStart());
        l1.setSource(std::move(r.appearances));
        l2.setItems(std::move(r.distribution));
        l1.setTopIndex(l1.count() - 14);
        // the closing line and at least one appearance
        if (!bench::require(st, l1.count() > 1 && l2.count() > 0, "no appearances")) break;
    }
}

void BM_IntervalLoad(benchmark::State& st) {
    dz::ui::ListBox l1, l2, l3(nullptr, true);
    for (auto _ : st) {
        const auto f = bench::openHistory();
        auto r = dz::drawstat::intervalPatterns(f, bench::windowStart());
        l1.setItems(std::move(r.draws));
        l2.setItems(std::move(r.byCode));
        l3.setItems(std::move(r.byFrequency));
        l1.setTopIndex(l1.count() - 15);
        if (!bench::requireCount(st, l1.count(), bench::windowDraws(), "draws listed") ||
            !bench::requireSome(st, l2.count(), "patterns listed"))
            break;
    }
}

void BM_MapLoad(benchmark::State& st) {
    dz::ui::ListBox l1;
    for (auto _ : st) {
        const auto f = bench::openHistory();
        l1.setItems(dz::drawstat::drawMap(f, bench::windowStart()));
        l1.setTopIndex(l1.count() - 20);
        if (!bench::requireCount(st, l1.count(), bench::windowDraws(), "draws mapped")) break;
    }
}

long long numbersCounted(const dz::drawstat::FrequencyCounts& c) {
    long long n = 0;
    for (int v : c.numbers) n += v;
    return n;
}

void BM_MostFrequentAll(benchmark::State& st) {
    dz::ui::ListBox l5, l6(nullptr, true), l1, l2(nullptr, true), l3, l4(nullptr, true);
    for (auto _ : st) {
        const auto f = bench::openHistory();
        const auto c = dz::drawstat::countFrequencies(f, dz::drawstat::firstCountedDraw(bench::historyDraws(), double(bench::historyDraws())));
        auto r = dz::drawstat::frequencyLists(c);
        l5.setItems(std::move(r.numbers));
        l6.setItems(std::move(r.numbersRanked));
        l1.setItems(std::move(r.pairs));
        l2.setItems(std::move(r.pairsRanked));
        l3.setItems(std::move(r.triples));
        l4.setItems(std::move(r.triplesRanked));
        if (!bench::requireSome(st, numbersCounted(c), "numbers counted") ||
            !bench::require(st, l5.count() == 20 && l1.count() == dz::drawstat::kPairCount && l3.count() == dz::drawstat::kTripleCount,
                            "lists not filled"))
            break;
    }
}

// The passes alone, over a history already in memory.
void BM_CountFrequenciesOnly(benchmark::State& st) {
    const auto f = bench::openHistory();
    long long counted = 0;
    for (auto _ : st) {
        const auto c = dz::drawstat::countFrequencies(f, 0);
        benchmark::DoNotOptimize(c.triples[0]);
        counted = numbersCounted(c);
    }
    bench::requireSome(st, counted, "numbers counted");
}

}  // namespace

BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LifePath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntervalLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MostFrequentAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountFrequenciesOnly)->Unit(benchmark::kMillisecond);
