// What a user waits for in drawstat's windows, from the click to the last list or label written and
// in view (the real windows, offscreen): Start, "Azonosság" and "Tapadás" after Start, and the
// back-test of five numbers; beside the identity engine alone, the plain pass and one streaming pass
// of the same history in the same run. Each fails when its run did not show its result.
#include "drawstat/core/distributions.h"
#include "common/core/folder.h"
#include "common/core/textfmt.h"
#include "drawstat/core/state.h"
#include "drawstat/ui/backtest.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "drawstat/ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

namespace {

// The identity engine alone: the file opened, the pass and the result, no window.
void BM_IdentityEngine(benchmark::State& st) {
    for (auto _ : st) {
        const auto f = bench::openHistory();
        benchmark::DoNotOptimize(dz::drawstat::identityDistribution(f, bench::windowStart()).lines->count());
    }
}

// The main window over a program folder that holds the history as "vevud.txt", shown; after Start
// unless fresh.
struct Shown {
    dz::drawstat::MainWindow w;
    explicit Shown(bool start) {
        dz::setProgramFolder(bench::historyFolder());
        dz::drawstat::testing::resetState();
        w.show();
        if (start) w.action("start")->trigger();
        QApplication::processEvents();
    }
};

// The lines of a full identity (12 after the draws) or adhesion (8) result with its heading.
bool classResultShown(const dz::drawstat::MainWindow& w, int tail, const QString& heading) {
    const int n = w.List2->count();
    return n > tail + 1000 && w.List2->item(n - tail + 1) == heading;
}

// Start: its pass, both lists and the tooltip.
void BM_StartWindow(benchmark::State& st) {
    Shown s(false);
    for (auto _ : st) {
        dz::drawstat::state().started = false;  // Start runs once a program run
        s.w.action("start")->trigger();
        QApplication::processEvents();  // the lists laid out and painted, as the user sees them
    }
    if (s.w.List1->count() != 20 || s.w.List3->count() != 20 || s.w.List1->toolTip() != dz::str(bench::historyDraws()))
        st.SkipWithError("Start did not show its lists");
}

// The click on "Azonosság" after Start until the window has shown the result.
void BM_AzonossagWindow(benchmark::State& st) {
    Shown s(true);
    for (auto _ : st) {
        s.w.Command3D2->click();
        QApplication::processEvents();
    }
    if (!classResultShown(s.w, 12, dz::drawstat::identityHeading())) st.SkipWithError("no identity result shown");
}

// The click on "Tapadás" after Start until the window has shown the result.
void BM_TapadasWindow(benchmark::State& st) {
    Shown s(true);
    for (auto _ : st) {
        s.w.SSCommand1->click();
        QApplication::processEvents();
    }
    if (!classResultShown(s.w, 8, dz::drawstat::adhesionHeading())) st.SkipWithError("no adhesion result shown");
}

// The back-test window after Start, five numbers marked, default bounds: the click on "Vizsgál"
// until the hit list, the distribution and the labels are shown.
void BM_BacktestWindow(benchmark::State& st) {
    Shown s(true);
    dz::drawstat::BacktestWindow w;
    w.show();
    for (int n : {2, 7, 11, 15, 19}) w.grid->cell(n)->click();
    QApplication::processEvents();
    for (auto _ : st) {
        w.Command3D4->click();
        QApplication::processEvents();
    }
    if (w.List1->count() < 1000 || w.List2->count() != 9 || w.Label3->text() != QString::number(w.List1->count()))
        st.SkipWithError("the back-test did not show its lists");
}

}  // namespace

BENCHMARK(bench::fixedColumnPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::streamingPass)->Name("BM_StreamingPass")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdentityEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AzonossagWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TapadasWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BacktestWindow)->Unit(benchmark::kMillisecond);
