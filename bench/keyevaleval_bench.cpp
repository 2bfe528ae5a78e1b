// The rate of the key evaluation ("Kezdés"): row-draw evaluations a second over synthetic draws,
// with random 8-number keys, two extra numbers ticked and the hit list from 4 hits up.
#include "core/draws.h"
#include "core/evaluation.h"
#include "core/random.h"
#include "core/synth.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <memory>
#include <vector>

using namespace dz;
using namespace dz::keyeval;

namespace {

std::shared_ptr<const PeriodDraws> history() {
    static const auto f = std::make_shared<const PeriodDraws>(
        readPeriod(DrawFile::fromBytes(synthDrawHistory(1'500'000)), QStringLiteral("0"), QStringLiteral("99999999 999")));
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

void run(benchmark::State& state, size_t rows, size_t draws, bool vector = true) {
    EvaluationInput in;
    in.draws = history();
    in.key = randomKey(rows);
    in.settings.extra = {false, true, true, false, false};
    in.settings.extraCount = 2;
    in.settings.minHits = 4;
    in.settings.vectorScan = vector;
    in.span.reached = in.span.any = true;
    in.span.first = in.draws->records.size() - draws;
    in.span.last = in.draws->records.size() - 1;
    in.span.recordsRead = in.draws->records.size();
    int64_t listed = 0;
    for (auto _ : state) {
        const EvaluationResult r = evaluate(in);
        listed = r.listedCount;
        benchmark::DoNotOptimize(r.plainTally);
    }
    state.counters["row_draws_per_s"] =
        benchmark::Counter(double(rows) * double(draws), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["listed"] = double(listed);
}

// One day's 264 draws with a full key.
void BM_FullKeyOneDay(benchmark::State& s) { run(s, 32736, 264); }
// 100 000 draws with a full key.
void BM_FullKey100kDraws(benchmark::State& s) { run(s, 32736, 100'000); }
// The whole history with a 100-row key.
void BM_SmallKeyWholeHistory(benchmark::State& s) { run(s, 100, 1'500'000); }
// The same runs on a processor with neither AVX2 nor POPCNT (the plain scan).
void BM_PlainScanFullKeyOneDay(benchmark::State& s) { run(s, 32736, 264, false); }
void BM_PlainScanSmallKeyWholeHistory(benchmark::State& s) { run(s, 100, 1'500'000, false); }

}  // namespace

BENCHMARK(BM_FullKeyOneDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullKey100kDraws)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SmallKeyWholeHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainScanFullKeyOneDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainScanSmallKeyWholeHistory)->Unit(benchmark::kMillisecond);


