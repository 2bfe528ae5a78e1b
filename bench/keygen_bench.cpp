// The figures of issues 6 and 7: keygen's generation and key test, keygengroup's grouped run.
//   type 6 from 20, overlap 5, 32736 rows wanted          < 1 s
//   type 8 from 20, overlap 4, 1000 rows wanted (stalls)  < 1 s
//   key test of a 32736-row key, 1000 trials              < 1 s
//   grouped, infeasible limits, R = 1000 (budget out)     < 2 s
#include "core/generator.h"
#include "core/groups.h"
#include "core/keytest.h"
#include "core/random.h"

#include <benchmark/benchmark.h>

#include <atomic>

using namespace keygen;

namespace {

GenInputs plain(int t, int a, long long rows) {
    GenInputs in;
    in.chosen = kAllNumbers;
    in.type = t;
    in.overlap = a;
    in.rows = rows;
    return in;
}

// A run as the window makes it: validated inputs, a stop flag polled before every draw, progress.
void runGeneration(benchmark::State& state, const GenInputs& raw) {
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
    }
    state.counters["rows"] = double(rows);
    state.counters["end"] = double(int(end));  // 0 rows, 1 combinations, 2 slots, 3 draws, 4 stopped
}

void BM_Type6From20Overlap5Rows32736(benchmark::State& state) { runGeneration(state, plain(6, 5, 32736)); }
BENCHMARK(BM_Type6From20Overlap5Rows32736)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Type8From20Overlap4Rows1000(benchmark::State& state) { runGeneration(state, plain(8, 4, 1000)); }
BENCHMARK(BM_Type8From20Overlap4Rows1000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_KeyTest32736Rows1000Trials(benchmark::State& state) {
    // 32736 distinct type-6 rows over 1..20 (the first of the 38760)
    QStringList rows;
    for (uint32_t m = 0; m < (1u << 20) && rows.size() < kMaxRows; ++m)
        if (__builtin_popcount(m) == 6) rows << rowText(m << 1);
    KeyTestInputs in;
    in.rows = rows;
    in.type = 6;
    in.chosen = kAllNumbers;
    in.hits = 6;
    in.trials = 1000;
    dz::Random rng(7);
    long long c0 = 0;
    for (auto _ : state) {
        KeyTestResult r = runKeyTest(in, rng);
        c0 = r.classes[0];
        benchmark::DoNotOptimize(r);
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
    runGeneration(state, in);
}
BENCHMARK(BM_GroupedInfeasibleR1000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

