// The rate of the key evaluation ("Kezdés"): row-draw evaluations a second over the shared
// history, with random 8-number keys, two extra numbers ticked and the hit list from 4 hits up.
// Each run checks that it evaluated its draws and that its tallies add up.
#include "common/core/draws.h"
#include "keyeval/core/evaluation.h"
#include "common/core/random.h"

#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

using namespace dz;
using namespace dz::keyeval;

namespace {

constexpr int kExtraCount = 2;

// The whole history as a period, read once.
std::shared_ptr<const PeriodDraws> history() {
    static const auto f = std::make_shared<const PeriodDraws>(
        readPeriod(bench::history(), QStringLiteral("0"), QStringLiteral("99999999 999")));
    return f;
}

std::shared_ptr<const KeyRows> randomKey(size_t rows) {
    auto k = std::make_shared<KeyRows>();
    Random rng(42);
    for (size_t i = 0; i < rows; ++i) {
        uint32_t m = 0;
        while (std::popcount(m) < 8) m |= 1u << rng.drawNumber(20);
        k->masks.push_back(m);
        k->numbers |= m;
    }
    return k;
}

// Whether a run's result is whole: every draw evaluated, each play of every row in every draw
// counted once in the tallies (a plus play in plusTally, the others in plainTally), and the hit
// list as long as the listed plays up to its cap.
bool requireWhole(benchmark::State& state, const EvaluationResult& r, size_t rows, size_t draws) {
    const auto sum = [](const auto& t) { return std::accumulate(t.begin(), t.end(), int64_t{0}); };
    const int64_t plays = sum(r.plainTally) + sum(r.plusTally);
    const int64_t due = int64_t(rows) * int64_t(draws) * kExtraCount;
    return bench::requireCount(state, (long long)r.drawsEvaluated, (long long)draws, "draws evaluated") &&
           bench::requireCount(state, plays, due, "plays tallied") &&
           bench::requireSome(state, sum(r.plusTally), "plus plays tallied") &&
           bench::requireSome(state, r.listedCount, "plays listed") &&
           bench::requireCount(state, (long long)r.hits.size(),
                               std::min<long long>(r.listedCount, (long long)kHitListCap), "hits kept");
}

// draws: the latest that many of the history (all of it when it holds fewer).
void run(benchmark::State& state, size_t rows, size_t wanted, bool vector = true) {
    EvaluationInput in;
    in.draws = history();
    in.key = randomKey(rows);
    in.settings.extra = {false, true, true, false, false};
    in.settings.extraCount = kExtraCount;
    in.settings.minHits = 4;
    in.settings.vectorScan = vector;
    const size_t total = in.draws->records.size();
    const size_t draws = std::min(wanted, total);
    if (!bench::requireSome(state, (long long)draws, "draws in the history")) return;
    in.span.reached = in.span.any = true;
    in.span.first = total - draws;
    in.span.last = total - 1;
    in.span.recordsRead = total;
    EvaluationResult r;
    for (auto _ : state) {
        r = evaluate(in);
        benchmark::DoNotOptimize(r.plainTally);
    }
    requireWhole(state, r, rows, draws);
    state.counters["row_draws_per_s"] =
        benchmark::Counter(double(rows) * double(draws), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["listed"] = double(r.listedCount);
}

// One day's 264 draws with a full key.
void BM_FullKeyOneDay(benchmark::State& s) { run(s, dz::kRowLimit, 264); }
// 100 000 draws with a full key.
void BM_FullKey100kDraws(benchmark::State& s) { run(s, dz::kRowLimit, 100'000); }
// The whole history with a 100-row key.
void BM_SmallKeyWholeHistory(benchmark::State& s) { run(s, 100, bench::kHistoryDraws); }
// The same runs on a processor with neither AVX2 nor POPCNT (the plain scan).
void BM_PlainScanFullKeyOneDay(benchmark::State& s) { run(s, dz::kRowLimit, 264, false); }
void BM_PlainScanSmallKeyWholeHistory(benchmark::State& s) { run(s, 100, bench::kHistoryDraws, false); }

}  // namespace

BENCHMARK(BM_FullKeyOneDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullKey100kDraws)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SmallKeyWholeHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainScanFullKeyOneDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainScanSmallKeyWholeHistory)->Unit(benchmark::kMillisecond);
