// What a user waits for in drawstat's main window: "Azonosság" after Start, from the click to the
// result in view (the real window, offscreen), beside the engine alone and one streaming pass of the
// same history in the same run.
#include "core/distributions.h"
#include "core/folder.h"
#include "core/state.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include "benchutil.h"

namespace {

// The identity engine alone: the file opened, the pass and the result, no window.
void BM_IdentityEngine(benchmark::State& st) {
    for (auto _ : st) {
        const auto f = bench::openHistory();
        benchmark::DoNotOptimize(drawstat::identityDistribution(f, bench::windowStart()).lines->count());
    }
}

// The click on "Azonosság" after Start until the window has shown the result.
void BM_AzonossagWindow(benchmark::State& st) {
    dz::setProgramFolder(QFileInfo(bench::historyFile()).absolutePath());
    drawstat::resetState();
    drawstat::MainWindow w;
    w.show();
    w.action("start")->trigger();
    QApplication::processEvents();
    for (auto _ : st) {
        w.Command3D2->click();
        QApplication::processEvents();  // the lists laid out and painted, as the user sees them
        benchmark::DoNotOptimize(w.List2->count());
    }
}

}  // namespace

BENCHMARK(bench::plainPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::streamingPass)->Name("BM_StreamingPass")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdentityEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AzonossagWindow)->Unit(benchmark::kMillisecond);
