// The figures of issues 6 and 7: keygen's generation and key test, keygengroup's grouped run.
//   type 6 from 20, overlap 5, 32736 rows wanted          < 1 s
//   type 8 from 20, overlap 4, 1000 rows wanted (stalls)  < 1 s
//   key test of a 32736-row key, 1000 trials              < 1 s
//   grouped, infeasible limits, R = 1000 (budget out)     < 2 s
// Each run checks the key it made (every row of the type, of the chosen numbers, within the
// overlap, listed in order, its labels and use counts agreeing) and how its run ended; the key
// test checks that every trial was made and classed.
#include "keygen/core/generator.h"
#include "keygen/core/groups.h"
#include "keygen/core/keytest.h"
#include "common/core/random.h"
#include "common/core/textfmt.h"

#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <initializer_list>
#include <numeric>
#include <string>

using namespace dz::keygen;

namespace {

GenInputs plain(int t, int a, long long rows) {
    GenInputs in;
    in.chosen = kAllNumbers;
    in.type = t;
    in.overlap = a;
    in.rows = rows;
    return in;
}

// Whether a click's key is one the inputs allow: every row t chosen numbers sharing at most A
// with every other, the rows as texts in ascending order, Label7 and the use counts from them,
// and its run ended in one of the ends given (a key of R rows only by reaching R).
bool requireKey(benchmark::State& state, const GenInputs& in, const GenerationResult& r,
                std::initializer_list<RunEnd> ends) {
    if (!bench::require(state, r.runs > 0 && !r.stopped, "no run made") ||
        !bench::require(state, r.masks.size() == r.rows.size(), "masks and rows differ in number"))
        return false;
    OverlapSet overlap;
    overlap.reset(int(in.type), int(in.overlap));
    std::array<long long, 21> uses{};
    for (size_t i = 0; i < r.rows.size(); ++i) {
        const NumberMask m = r.masks[i];
        const bool fits = std::popcount(m) == in.type && (m & ~in.chosen) == 0 && r.rows[i] == rowText(m);
        if (!bench::require(state, fits, "row " + std::to_string(i + 1) + " is no row of the key") ||
            !bench::require(state, !overlap.overlaps(m), "row " + std::to_string(i + 1) + " overlaps another") ||
            !bench::require(state, i == 0 || r.rows[i - 1] < r.rows[i], "rows out of order"))
            return false;
        overlap.add(m);
        for (int n = 1; n <= 20; ++n) uses[size_t(n)] += (m >> n) & 1;
    }
    const long long rows = (long long)r.rows.size();
    const bool ended = std::find(ends.begin(), ends.end(), r.lastEnd) != ends.end();
    return bench::require(state, r.label7 == dz::str(rows), "Label7 is not the row count") &&
           bench::require(state, r.uses == uses, "use counts are not the key's") &&
           bench::require(state, ended && (r.lastEnd == RunEnd::Rows) == (rows == in.rows),
                          "run ended as " + std::to_string(int(r.lastEnd)) + " with " + std::to_string(rows) + " rows");
}

// A run as the window makes it: validated inputs, a stop flag polled before every draw, progress.
// check: what the benchmark asks of its key besides its soundness.
template <class Check>
void runGeneration(benchmark::State& state, const GenInputs& raw, std::initializer_list<RunEnd> ends, Check check) {
    dz::Random rng(2026);
    std::atomic<bool> stop{false};
    long long progressCalls = 0;
    ProgressFn progress = [&](const Progress&) { ++progressCalls; };
    const Validation v = validate(raw);
    if (!v.ok()) {
        state.SkipWithError("invalid inputs");
        return;
    }
    size_t rows = 0;
    RunEnd end = RunEnd::Rows;
    for (auto _ : state) {
        GenerationResult r = generate(v.inputs, rng, stopOn(stop), progress);
        rows = r.rows.size();
        end = r.lastEnd;
        benchmark::DoNotOptimize(r);
        state.PauseTiming();
        if (!requireKey(state, v.inputs, r, ends) || !check(r)) break;  // a failed run's timing stays paused
        state.ResumeTiming();
    }
    bench::requireSome(state, progressCalls, "progress reports");
    state.counters["rows"] = double(rows);
    state.counters["end"] = double(int(end));  // 0 rows, 1 combinations, 2 slots, 3 draws, 4 stopped
}

// Random rows of 6 out of 20 sharing at most 5 numbers are 32736 distinct 6-sets of the 38760:
// the run fills the key or nearly, until its slots run out.
void BM_Type6From20Overlap5Rows32736(benchmark::State& state) {
    runGeneration(state, plain(6, 5, dz::kRowLimit), {RunEnd::Rows, RunEnd::Slots},
                  [&](const GenerationResult& r) { return bench::requireSome(state, (long long)r.rows.size(), "rows"); });
}
BENCHMARK(BM_Type6From20Overlap5Rows32736)->Unit(benchmark::kMillisecond)->Iterations(5);

// No more than C(20,5)/C(8,5) = 276 rows of 8 can share at most 4 numbers: the run stalls.
void BM_Type8From20Overlap4Rows1000(benchmark::State& state) {
    runGeneration(state, plain(8, 4, 1000), {RunEnd::Slots, RunEnd::Draws},
                  [&](const GenerationResult& r) { return bench::requireSome(state, (long long)r.rows.size(), "rows"); });
}
BENCHMARK(BM_Type8From20Overlap4Rows1000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_KeyTest32736Rows1000Trials(benchmark::State& state) {
    // 32736 distinct type-6 rows over 1..20 (the first of the 38760)
    QStringList rows;
    for (uint32_t m = 0; m < (1u << 20) && rows.size() < dz::kRowLimit; ++m)
        if (__builtin_popcount(m) == 6) rows << rowText(m << 1);
    KeyTestInputs in;
    in.rows = rows;
    in.type = 6;
    in.chosen = kAllNumbers;
    in.hits = 6;
    in.trials = 1000;
    if (!bench::requireCount(state, rows.size(), dz::kRowLimit, "rows of the key")) return;
    dz::Random rng(7);
    long long c0 = 0;
    for (auto _ : state) {
        KeyTestResult r = runKeyTest(in, rng);
        c0 = r.classes[0];
        benchmark::DoNotOptimize(r);
        // every trial made (all 20 numbers chosen: none is given up), listed, and classed by its
        // best row, which never misses more than 3 numbers in a key of most of the 6-sets
        const long long classed = std::accumulate(r.classes.begin(), r.classes.end(), 0LL);
        if (!bench::requireCount(state, r.list4.size(), (long long)in.trials, "trials listed") ||
            !bench::requireCount(state, (long long)r.trials.size(), (long long)in.trials, "trials made") ||
            !bench::requireCount(state, classed, (long long)in.trials, "trials classed") ||
            !bench::requireCount(state, r.list5.size(), 4, "summary lines"))
            break;
    }
    state.counters["rows"] = double(rows.size());
    state.counters["c0"] = double(c0);
}
BENCHMARK(BM_KeyTest32736Rows1000Trials)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_GroupedInfeasibleR1000(benchmark::State& state) {
    // group 1 holds 3 numbers with minimum 3; one of them released after the confirmation
    GroupChoice c;
    c.current = 1;
    for (int n : {1, 2, 3}) clickCell(c, n);
    c.current = 2;
    for (int n = 4; n <= 20; ++n) clickCell(c, n);
    c.minText[1] = c.maxText[1] = QStringLiteral("3");
    c.maxText[2] = QStringLiteral("5");
    const ConfirmOutcome o = confirm(c);
    clickCell(c, 3);
    const GroupRule rule = GroupRule::from(c.groupOf, o.limits);
    GenInputs in;
    in.chosen = c.chosenMask();
    in.type = 6;
    in.overlap = 3;
    in.rows = 1000;
    in.groups = &rule;
    // the limits leave no row to make: the key stays empty until the slots are used up
    runGeneration(state, in, {RunEnd::Slots}, [&](const GenerationResult& r) {
        return bench::require(state, r.rows.empty(), std::to_string(r.rows.size()) + " rows where none fit");
    });
}
BENCHMARK(BM_GroupedInfeasibleR1000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

