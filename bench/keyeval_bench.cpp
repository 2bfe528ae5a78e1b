// keyeval: the evaluation for winnings over a real-sized history, and the chart window. Each run
// checks that it produced its result: the sums of every draw, the lines made, the window shown
// and drawn with its labels written.
#include "keyeval/core/winnings.h"
#include "keyeval/tests/support/reference.h"
#include "keyeval/core/evalbuild.h"
#include "common/core/folder.h"
#include "keyeval/ui/chartwindow.h"
#include "keyeval/ui/evaluationwindow.h"

#include "common/core/draws.h"
#include "common/core/random.h"
#include "common/platform/dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

namespace {

using bench::history;

std::vector<uint32_t> randomKey(size_t rows) {
    dz::Random rng(99);
    std::vector<uint32_t> key(rows);
    for (uint32_t& m : key)
        while (std::popcount(m) < 8) m |= 1u << rng.drawNumber(20);
    return key;
}

// Whether a winnings run summed every draw of its period for every row: the stake is one unit a
// play, the balance the winnings less the stake, and the latest nets kept.
bool requireSums(benchmark::State& state, const dz::keyeval::WinningsResult& r, long long draws, long long rows,
                 long long extraCount) {
    return bench::requireCount(state, r.draws, draws, "draws evaluated") &&
           bench::requireCount(state, r.rows, rows, "rows played") &&
           bench::requireCount(state, r.stake, draws * rows * extraCount, "stake") &&
           bench::requireSome(state, r.winnings, "winnings") &&
           bench::require(state, r.balance == r.winnings - r.stake, "balance is not winnings less stake") &&
           bench::requireCount(state, (long long)r.nets.size(), std::min<long long>(draws, dz::kRowLimit), "nets kept");
}

// Whether a window is on screen and drew something.
bool requireShown(benchmark::State& state, const QWidget& w, const QPixmap& drawn, const std::string& what) {
    return bench::require(state, w.isVisible() && !drawn.isNull() && !drawn.size().isEmpty(), what + " not shown");
}

// Row-draw evaluations a second: every row of the key against every draw of the whole history,
// two extra numbers ticked.
void BM_WinningsRun(benchmark::State& state) {
    const auto& f = bench::historyRecords();
    const std::vector<uint32_t> key = randomKey(size_t(state.range(0)));
    const std::array<bool, 5> extra{false, true, false, true, false};
    dz::keyeval::WinningsResult r;
    for (auto _ : state) {
        r = dz::keyeval::testing::evaluateWinnings(f, 0, f.size() - 1, key, {}, extra, 4);
        benchmark::DoNotOptimize(r.balance);
    }
    requireSums(state, r, (long long)f.size(), (long long)key.size(), 2);
    const double evaluations = double(f.size()) * double(key.size());
    state.counters["row_draws_per_s"] =
        benchmark::Counter(evaluations, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["draws"] = double(f.size());
}
BENCHMARK(BM_WinningsRun)->Arg(8)->Arg(100)->Arg(1000)->Arg(dz::kRowLimit)->Unit(benchmark::kMillisecond)->UseRealTime();

// The result list of a full run: 32736 lines made at once.
void BM_ResultLines(benchmark::State& state) {
    const auto period = dz::keyeval::readPeriod(history(), QStringLiteral("0"), QStringLiteral("99999999 999"));
    const std::vector<uint32_t> key = randomKey(50);
    const auto r = dz::keyeval::testing::evaluateWinnings(period.records, 0, period.records.size() - 1, key, {},
                                                 {false, true, false, false, false}, 4);
    if (!requireSums(state, r, (long long)period.records.size(), (long long)key.size(), 1)) return;
    QStringList lines;
    for (auto _ : state) {
        lines = dz::keyeval::testing::resultLines(period, r);
        benchmark::DoNotOptimize(lines);
    }
    bench::requireCount(state, lines.size(), (long long)r.nets.size(), "result lines");
}
BENCHMARK(BM_ResultLines)->Unit(benchmark::kMillisecond);

// The chart window from construction to its first drawing with 32736 values, and closed again.
void BM_ChartWindowOpen(benchmark::State& state) {
    std::vector<long long> values(size_t(dz::kRowLimit));
    dz::Random rng(5);
    for (long long& v : values) v = rng.drawNumber(400) - 300;
    for (auto _ : state) {
        dz::keyeval::ChartWindow w(values);
        w.show();
        QApplication::processEvents();
        const QPixmap drawn = w.grab();  // the whole window drawn once
        benchmark::DoNotOptimize(drawn);
        if (!requireShown(state, w, drawn, "chart") ||
            !bench::requireCount(state, (long long)w.view().values().size(), (long long)values.size(), "values charted"))
            break;
        w.close();
    }
}
BENCHMARK(BM_ChartWindowOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

// keyeval's start-up over the real-sized history: the window built, the draw file's count and
// first and last records read, the window shown and drawn once; beside it a bare window shown
// and drawn the same way.
void BM_KeyevalStartUp(benchmark::State& state) {
    dz::ui::seam::enable();  // a missing draw file's message is recorded, not waited on
    dz::setProgramFolder(bench::historyFolder());
    for (auto _ : state) {
        dz::keyeval::EvaluationWindow w(dz::keyeval::keyevalBuild());
        const bool loaded = w.Form_Load();
        w.show();
        QApplication::processEvents();
        const QPixmap drawn = w.grab();
        benchmark::DoNotOptimize(drawn);
        if (!bench::require(state, loaded, "no draw file") || !requireShown(state, w, drawn, "keyeval") ||
            !bench::requireCount(state, w.Label13->text().toLongLong(), bench::historyDraws(), "draws counted") ||
            !bench::require(state, !w.Label10->text().isEmpty(), "last draw's numbers not shown"))
            break;
    }
    dz::setProgramFolder(QString());
}
BENCHMARK(BM_KeyevalStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BareWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        QWidget w;
        w.resize(800, 600);
        w.show();
        QApplication::processEvents();
        const QPixmap drawn = w.grab();
        benchmark::DoNotOptimize(drawn);
        if (!requireShown(state, w, drawn, "bare window")) break;
    }
}
BENCHMARK(BM_BareWindowShown)->Unit(benchmark::kMillisecond)->UseRealTime();

// One drawing of each chart type over 32736 values, as the space key steps through them.
void BM_ChartTypesDrawn(benchmark::State& state) {
    std::vector<long long> values(size_t(dz::kRowLimit));
    dz::Random rng(6);
    for (long long& v : values) v = rng.drawNumber(400) - 300;
    dz::keyeval::ChartWindow w(values);
    w.show();
    QApplication::processEvents();
    if (!requireShown(state, w, w.grab(), "chart")) return;
    for (auto _ : state) {
        const dz::keyeval::ChartType before = w.view().type();
        w.Graph1_KeyPress(' ');
        const QPixmap drawn = w.Graph1->grab();
        benchmark::DoNotOptimize(drawn);
        if (!bench::require(state, w.view().type() != before, "chart type unchanged") ||
            !requireShown(state, *w.Graph1, drawn, "chart"))
            break;
    }
}
BENCHMARK(BM_ChartTypesDrawn)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
