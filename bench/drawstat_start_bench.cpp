// Start's statistics and the full list over a history of the real one's size (1.5 million draws).
#include "core/draws.h"
#include "core/startstats.h"
#include "core/synth.h"
#include "core/textfile.h"
#include "platform/widgets.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
const QString& historyFile() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.path() + QStringLiteral("/vevud.txt");
        dz::writeBytes(p, dz::synthDrawHistory(1'500'000));
        return p;
    }();
    return path;
}

void BM_StartStatistics(benchmark::State& st) {
    const QString path = historyFile();
    for (auto _ : st) {
        const auto file = dz::DrawFile::load(path);
        const auto s = drawstat::computeStart(*file);
        dz::ui::ListBox list1, list3(nullptr, true);
        list1.setItems(s.byNumber);
        list3.setItems(s.byCount);
        benchmark::DoNotOptimize(s.drawCount);
    }
}
BENCHMARK(BM_StartStatistics)->Unit(benchmark::kMillisecond);

void BM_FullList(benchmark::State& st) {
    const QString path = historyFile();
    dz::ui::ListBox list2;
    for (auto _ : st) {
        const auto file = dz::DrawFile::load(path);
        list2.setItems(drawstat::fullListLines(*file));
        list2.setTopIndex(list2.count() - 1);
        benchmark::DoNotOptimize(list2.count());
    }
}
BENCHMARK(BM_FullList)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
