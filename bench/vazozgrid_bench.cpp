// The figures of vazoz's recording grid and shipped keys window:
//   a 999-row key loaded into the grid                       < 50 ms
//   the same grid checked and saved (file and pointer)       < 50 ms
//   1000 descriptions read and listed sorted, and the count-first view built   < 50 ms each
#include "common/core/folder.h"
#include "common/core/keyfile.h"
#include "csere/core/recordgrid.h"
#include "csere/core/shipped.h"
#include "common/core/textfile.h"
#include "common/platform/widgets.h"
#include "csere/ui/shippedkeys.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/benchutil.h"

namespace {

std::string fullKey() {
    std::string s;
    for (int r = 0; r < 999; ++r) s += "01 03 05 07 09 11 13 20 \r\n";
    return s;
}

void BM_GridLoad999(benchmark::State& state) {
    const std::string bytes = fullKey();
    dz::csere::RecordGrid g;
    for (auto _ : state) {
        auto r = g.load(bytes);
        benchmark::DoNotOptimize(r.rows);
        if (!bench::requireCount(state, r.rows, 999, "rows read")) break;
    }
}
BENCHMARK(BM_GridLoad999)->Unit(benchmark::kMillisecond);

void BM_GridSave999(benchmark::State& state) {
    QTemporaryDir dir;
    dz::csere::RecordGrid g;
    g.load(fullKey());
    const QString path = dir.path() + QStringLiteral("/tkulcs.txt");
    for (auto _ : state) {
        if (!bench::require(state, !g.check(), "check failed") ||
            !bench::require(state, dz::key::saveRows(path, g.keyRows()), "save failed"))
            break;
        dz::key::writeLastKeyPointer(dir.path(), path);
    }
    bench::requireCount(state, bench::fileLines(path), 999, "rows saved");
    bench::require(state, dz::key::readLastKeyPointer(dir.path()) == path, "pointer not written");
}
BENCHMARK(BM_GridSave999)->Unit(benchmark::kMillisecond);

struct Descriptions {
    QTemporaryDir dir;
    Descriptions() {
        QDir(dir.path()).mkdir(QStringLiteral("kulcsp"));
        QStringList lines;
        for (int i = 999; i >= 0; --i)
            lines << QStringLiteral("%1%2k%3.txt %4-ös kulcs, leírás %3")
                         .arg(5 + i % 4)
                         .arg(5 + i % 16, 2, 10, QLatin1Char('0'))
                         .arg(i, 4, 10, QLatin1Char('0'))
                         .arg(5 + i % 4);
        dz::writeLines(dir.path() + QStringLiteral("/kulcsp/vevud.inf"), lines);
        dz::setProgramFolder(dir.path());
    }
    ~Descriptions() { dz::setProgramFolder(QString()); }
};

void BM_ShippedList1000(benchmark::State& state) {
    Descriptions d;
    for (auto _ : state) {
        dz::csere::ShippedKeysWindow w;
        w.show();
        QApplication::processEvents();
        if (!bench::requireCount(state, w.findChild<dz::ui::ListBox*>(QStringLiteral("List1"))->count(), 1000, "descriptions listed"))
            break;
    }
}
BENCHMARK(BM_ShippedList1000)->Unit(benchmark::kMillisecond);

void BM_ShippedCountFirst1000(benchmark::State& state) {
    Descriptions d;
    dz::csere::ShippedKeysWindow w;
    w.show();
    QApplication::processEvents();
    auto* list = w.findChild<dz::ui::ListBox*>(QStringLiteral("List1"));
    for (auto _ : state) {
        w.Option1_Click(1);
        QApplication::processEvents();
        if (!bench::requireCount(state, list->count(), 1000, "count-first rows")) break;
        w.Option1_Click(0);
        QApplication::processEvents();
    }
    bench::requireCount(state, list->count(), 1000, "descriptions listed");
}
BENCHMARK(BM_ShippedCountFirst1000)->Unit(benchmark::kMillisecond);

}  // namespace
