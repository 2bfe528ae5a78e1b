// Start's statistics and the full list over a history of the real one's size (1.5 million draws).
#include "common/core/draws.h"
#include "drawstat/core/startstats.h"
#include "common/core/synth.h"
#include "common/core/textfile.h"
#include "common/platform/widgets.h"

#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

namespace {
BENCHMARK(bench::fixedColumnPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::streamingPass)->Name("BM_StreamingPass")->Unit(benchmark::kMillisecond);

void BM_StartStatistics(benchmark::State& st) {
    const QString path = bench::historyFile();
    for (auto _ : st) {
        const auto file = dz::DrawFile::load(path);
        const auto s = dz::drawstat::computeStart(*file);
        dz::ui::ListBox list1, list3(nullptr, true);
        list1.setItems(s.byNumber);
        list3.setItems(s.byCount);
        benchmark::DoNotOptimize(s.drawCount);
    }
}
BENCHMARK(BM_StartStatistics)->Unit(benchmark::kMillisecond);

void BM_FullList(benchmark::State& st) {
    const QString path = bench::historyFile();
    dz::ui::ListBox list2;
    for (auto _ : st) {
        const auto file = dz::DrawFile::load(path);
        list2.setSource(dz::drawstat::fullListLines(*file));
        list2.setTopIndex(list2.count() - 1);
        benchmark::DoNotOptimize(list2.count());
    }
}
BENCHMARK(BM_FullList)->Unit(benchmark::kMillisecond);
}  // namespace
