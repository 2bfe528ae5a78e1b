// The back-test run of the benchmarks: ten marked numbers, default bounds, the hit list, the
// number lines and the distribution filled as the back-test window fills them. It fails unless
// the run was made and listed draws.
#pragma once
#include "bench/benchutil.h"
#include "common/platform/widgets.h"
#include "drawstat/core/backtest.h"

#include <benchmark/benchmark.h>

namespace bench {

// fromWindow: draws below W neither tallied nor listed (daystat's rule).
inline void backtestPass(benchmark::State& st, bool fromWindow) {
    dz::ui::ListBox list1, list2, list3;
    dz::drawstat::BacktestInput in;
    for (int n : {1, 3, 5, 7, 9, 12, 14, 16, 18, 20}) in.marked |= 1u << n;
    in.markedCount = 10;
    in.fromWindow = fromWindow;
    for (auto _ : st) {
        in.windowStart = windowStart();
        const auto out = dz::drawstat::runBacktest(in, historyFile());
        list1.setSource(out.hitLines);
        list3.setSource(out.numberLines);
        list2.setItems(out.distribution);
        if (out.hitTopIndex) list1.setTopIndex(*out.hitTopIndex);
        if (!require(st, out.status == dz::drawstat::BacktestOutcome::Status::Done, "no run") ||
            !requireSome(st, list1.count(), "draws listed"))
            break;
    }
}

}  // namespace bench
