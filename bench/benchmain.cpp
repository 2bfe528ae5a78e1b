// The benchmarks' main: an offscreen application, since many of them fill real list widgets.
#include "benchutil.h"

#include "core/synth.h"
#include "core/textfile.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace bench {

const QString& historyFile() {
    static QTemporaryDir dir;
    static const QString path = [] {
        // A history written before (tools/mkdraws), so that a memory measurement of one benchmark
        // does not count the making of the history.
        const QString given = qEnvironmentVariable("DIZOV_BENCH_HISTORY");
        if (!given.isEmpty() && QFile::exists(given)) return given;
        const QString p = dir.path() + QStringLiteral("/vevud.txt");
        dz::writeBytes(p, dz::synthDrawHistory(kHistoryDraws));
        return p;
    }();
    return path;
}

const dz::DrawFile& history() {
    static const dz::DrawFile f = *dz::DrawFile::load(historyFile());
    return f;
}

const std::vector<dz::DrawRecord>& historyRecords() {
    static const std::vector<dz::DrawRecord> recs = [] {
        std::vector<dz::DrawRecord> out;
        dz::forEachDraw(history(), [&](const dz::DrawLine& l) { out.push_back(l.record); });
        return out;
    }();
    return recs;
}

}  // namespace bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::historyFile();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
