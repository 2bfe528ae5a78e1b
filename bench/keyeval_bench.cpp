// keyeval: the evaluation for winnings over a real-sized history, and the chart window.
#include "core/synth.h"
#include "core/winnings.h"
#include "support/reference.h"
#include "core/evalbuild.h"
#include "core/folder.h"
#include "ui/chartwindow.h"
#include "ui/fokep.h"

#include "core/draws.h"
#include "core/random.h"

#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QApplication>
#include <benchmark/benchmark.h>

#include "benchutil.h"

#include <bit>
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

// Row-draw evaluations a second: every row of the key against every draw of the whole history,
// two extra numbers ticked.
void BM_WinningsRun(benchmark::State& state) {
    const auto& f = bench::historyRecords();
    const std::vector<uint32_t> key = randomKey(size_t(state.range(0)));
    const std::array<bool, 5> extra{false, true, false, true, false};
    long long balance = 0;
    for (auto _ : state) {
        const auto r = dz::keyeval::evaluateWinnings(f, 0, f.size() - 1, key, {}, extra, 4);
        balance = r.balance;
        benchmark::DoNotOptimize(balance);
    }
    const double evaluations = double(f.size()) * double(key.size());
    state.counters["row_draws_per_s"] =
        benchmark::Counter(evaluations, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["draws"] = double(f.size());
}
BENCHMARK(BM_WinningsRun)->Arg(8)->Arg(100)->Arg(1000)->Arg(32736)->Unit(benchmark::kMillisecond)->UseRealTime();

// The result list of a full run: 32736 lines made at once.
void BM_ResultLines(benchmark::State& state) {
    const auto period = dz::keyeval::readPeriod(history(), QStringLiteral("0"), QStringLiteral("99999999 999"));
    const std::vector<uint32_t> key = randomKey(50);
    const auto r = dz::keyeval::evaluateWinnings(period.records, 0, period.records.size() - 1, key, {},
                                                 {false, true, false, false, false}, 4);
    for (auto _ : state) benchmark::DoNotOptimize(dz::keyeval::resultLines(period, r));
}
BENCHMARK(BM_ResultLines)->Unit(benchmark::kMillisecond);

// The chart window from construction to its first drawing with 32736 values, and closed again.
void BM_ChartWindowOpen(benchmark::State& state) {
    std::vector<long long> values(size_t(dz::kRowLimit));
    dz::Random rng(5);
    for (long long& v : values) v = rng.drawNumber(400) - 300;
    for (auto _ : state) {
        dz::keyeval::diagramm w(values);
        w.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.grab());  // the whole window drawn once
        w.close();
    }
}
BENCHMARK(BM_ChartWindowOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

// keyeval's start-up over the real-sized history: the window built, the draw file's count and
// first and last records read, the window shown and drawn once; beside it a bare window shown
// and drawn the same way.
void BM_KeyevalStartUp(benchmark::State& state) {
    QTemporaryDir dir;
    QFile::link(bench::historyFile(), dir.path() + QStringLiteral("/vevud.txt"));
    dz::setProgramFolder(dir.path());
    for (auto _ : state) {
        dz::keyeval::FOKEP w(dz::keyeval::keyevalBuild());
        if (!w.Form_Load()) state.SkipWithError("no draw file");
        w.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.grab());
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
        benchmark::DoNotOptimize(w.grab());
    }
}
BENCHMARK(BM_BareWindowShown)->Unit(benchmark::kMillisecond)->UseRealTime();

// One drawing of each chart type over 32736 values, as the space key steps through them.
void BM_ChartTypesDrawn(benchmark::State& state) {
    std::vector<long long> values(size_t(dz::kRowLimit));
    dz::Random rng(6);
    for (long long& v : values) v = rng.drawNumber(400) - 300;
    dz::keyeval::diagramm w(values);
    w.show();
    QApplication::processEvents();
    for (auto _ : state) {
        w.Graph1_KeyPress(' ');
        benchmark::DoNotOptimize(w.Graph1->grab());
    }
}
BENCHMARK(BM_ChartTypesDrawn)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
