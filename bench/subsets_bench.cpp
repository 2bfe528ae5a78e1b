// The subset windows over the 1.5 million-draw history: count-in, regeneration, the lists and the
// life path, each with its file reads and writes and its lists filled.
#include "benchutil.h"

#include "core/folder.h"
#include "core/profile.h"
#include "core/subsetfile.h"
#include "core/subsetlists.h"
#include "core/textfile.h"
#include "platform/dialogs.h"
#include "platform/widgets.h"
#include "ui/subsetwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

using namespace drawstat;

namespace {

// A program folder with the history as "vevud.txt", and as daystat's partial-day file "vevud.dat".
const QTemporaryDir& folder() {
    static QTemporaryDir dir;
    static const bool once = [] {
        QFile::copy(bench::historyFile(), dir.path() + QStringLiteral("/vevud.txt"));
        QFile::copy(bench::historyFile(), dir.path() + QStringLiteral("/vevud.dat"));
        dz::setProgramFolder(dir.path());
        return true;
    }();
    (void)once;
    return dir;
}
QString path(const QString& name) { return folder().path() + QLatin1Char('/') + name; }

BENCHMARK(bench::plainPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::streamingPass)->Name("BM_StreamingPass")->Unit(benchmark::kMillisecond);

void countInFromFiles(const SubsetProfile& p) {
    const QString counter = path(p.counterFile);
    CounterFile f;
    CounterFile::load(counter, p.k, f);
    const auto draws = dz::DrawFile::load(path(p.drawFile));
    countIn(f, *draws);
    f.save(counter);
}
void countInFromFiles(int k) { countInFromFiles(drawstatSubsetProfile(k)); }

// A counter file with the whole history counted in (built once).
const CounterFile& counted(int k) {
    static std::map<int, CounterFile> files;
    auto it = files.find(k);
    if (it == files.end()) {
        CounterFile f = *CounterFile::fromBytes(k, zeroedCounterFile(k));
        countIn(f, *dz::DrawFile::load(bench::historyFile()));
        it = files.emplace(k, std::move(f)).first;
    }
    return it->second;
}

void BM_CountIn(benchmark::State& state) {
    const int k = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        dz::writeBytes(path(QStringLiteral("vevud%1.txt").arg(k)), zeroedCounterFile(k));
        state.ResumeTiming();
        countInFromFiles(k);
    }
}
BENCHMARK(BM_CountIn)->DenseRange(4, 8)->Unit(benchmark::kMillisecond);

// The whole "Begenerálás" handler for k = 4 in drawstat's window (0: "vevud.txt" into
// "vevud4.txt") and in daystat's (1: "vevud.dat" into "vevud4.dat"), over the same 1.5 M draws.
void BM_CountInWindow4(benchmark::State& state) {
    dz::ui::seam::enable();
    const SubsetProfile p = state.range(0) ? daystat::subsetProfile(4) : drawstatSubsetProfile(4);
    SubsetWindow w(p);
    for (auto _ : state) {
        state.PauseTiming();
        dz::writeBytes(path(p.counterFile), zeroedCounterFile(4));
        state.ResumeTiming();
        w.Command3D2_Click();
    }
    state.SetLabel(p.counterFile.toStdString());
}
BENCHMARK(BM_CountInWindow4)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CountInAllFiveSizes(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        for (int k = 4; k <= 8; ++k) dz::writeBytes(path(QStringLiteral("vevud%1.txt").arg(k)), zeroedCounterFile(k));
        state.ResumeTiming();
        for (int k = 4; k <= 8; ++k) countInFromFiles(k);
    }
}
BENCHMARK(BM_CountInAllFiveSizes)->Unit(benchmark::kMillisecond);

void BM_Regenerate8(benchmark::State& state) {
    for (auto _ : state) dz::writeBytes(path(QStringLiteral("vevud8.txt")), zeroedCounterFile(8));
}
BENCHMARK(BM_Regenerate8)->Unit(benchmark::kMillisecond);

void BM_MostDrawnIntoList(benchmark::State& state) {
    const int k = int(state.range(0));
    const QString file = path(QStringLiteral("vevud%1.txt").arg(k));
    counted(k).save(file);
    dz::ui::ListBox list(nullptr, /*sorted=*/k != 7);
    for (auto _ : state) {
        CounterFile f;
        CounterFile::load(file, k, f);
        const MostDrawnResult r = mostDrawn(f, drawstatSubsetProfile(k));
        list.setSource(r.rows);
        dz::writeBytes(path(QStringLiteral("legt%1.txt").arg(k)), mostDrawnFileBytes(f, r.rows->records()));
    }
}
BENCHMARK(BM_MostDrawnIntoList)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);

// The whole "Legtöbbször" handler of drawstat's k-s window over the counted history: the counter
// file read, List1 filled, its list file (and the latest-key file) written.
void BM_MostDrawnWindow(benchmark::State& state) {
    dz::ui::seam::enable();
    const int k = int(state.range(0));
    const SubsetProfile p = drawstatSubsetProfile(k);
    counted(k).save(path(p.counterFile));
    SubsetWindow w(p);
    for (auto _ : state) w.Command3D3_Click();
    state.counters["rows"] = double(w.List1->count());
}
BENCHMARK(BM_MostDrawnWindow)->Arg(4)->Arg(7)->Unit(benchmark::kMillisecond);

// The whole "Nemhúzottak" handler of drawstat's 8-s window: 0 over a regenerated file (every
// subset never drawn, four full pages), 1 over the counted history.
void BM_NeverDrawnWindow8(benchmark::State& state) {
    dz::ui::seam::enable();
    const SubsetProfile p = drawstatSubsetProfile(8);
    if (state.range(0)) counted(8).save(path(p.counterFile));
    else dz::writeBytes(path(p.counterFile), zeroedCounterFile(8));
    SubsetWindow w(p);
    long long rows = 0;
    for (auto _ : state) {
        w.Command3D4_Click();
        rows = w.Label2->text().toLongLong();
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_NeverDrawnWindow8)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_NeverDrawn8Zeroed(benchmark::State& state) {
    const QString file = path(QStringLiteral("vevud8z.txt"));
    dz::writeBytes(file, zeroedCounterFile(8));
    std::vector<std::unique_ptr<dz::ui::ListBox>> pages;
    for (int i = 0; i < 4; ++i) pages.push_back(std::make_unique<dz::ui::ListBox>());
    for (auto _ : state) {
        CounterFile f;
        CounterFile::load(file, 8, f);
        const NeverDrawnResult r = neverDrawn(f, drawstatSubsetProfile(8));
        for (size_t i = 0; i < 4; ++i) pages[i]->setSource(r.pages[i]);
    }
}
BENCHMARK(BM_NeverDrawn8Zeroed)->Unit(benchmark::kMillisecond);

void BM_LifePath(benchmark::State& state) {
    const int k = int(state.range(0));
    const QString numbers = k == 8 ? QStringLiteral("01 04 06 09 12 15 17 20") : QStringLiteral("03 07 11 20");
    dz::ui::ListBox list;
    long long rows = 0;
    for (auto _ : state) {
        const auto draws = dz::DrawFile::load(path(QStringLiteral("vevud.txt")));
        const LifePathResult r = lifePath(*draws, drawstatSubsetProfile(k), numbers);
        list.setSource(r.rows);
        rows = list.count();
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_LifePath)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// The whole "<k>-s életút" handler of drawstat's k-s window, shown, over the history: the first
// most-drawn row's life path from the click until its list is in view.
void BM_LifePathWindow(benchmark::State& state) {
    dz::ui::seam::enable();
    const int k = int(state.range(0));
    const SubsetProfile p = drawstatSubsetProfile(k);
    counted(k).save(path(p.counterFile));
    SubsetWindow w(p);
    w.show();
    w.Command3D3_Click();
    w.List1->setListIndex(0);
    QApplication::processEvents();
    for (auto _ : state) {
        w.SSCommand1->click();
        QApplication::processEvents();  // the list laid out and painted, as the user sees it
    }
    const dz::ui::ListBox* life = w.lifePathList();
    if (life->count() < 2 || !life->isVisible() || !life->item(life->count() - 1).startsWith(p.closingLead))
        state.SkipWithError("no life path shown");
    state.counters["rows"] = double(life->count());
}
BENCHMARK(BM_LifePathWindow)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// The window during a count-in of the whole history for k = 4: the longest time between two
// turns of its event loop.
void BM_CountInWindowLongestGap(benchmark::State& state) {
    dz::ui::seam::enable();
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dz::writeBytes(path(QStringLiteral("vevud4.txt")), zeroedCounterFile(4));
        SubsetWindow w(drawstatSubsetProfile(4));
        w.show();
        QElapsedTimer gap;
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            worst = std::max(worst, double(gap.nsecsElapsed()) / 1e6);
            gap.restart();
        });
        state.ResumeTiming();
        tick.start();
        gap.start();
        w.Command3D2_Click();
        tick.stop();
    }
    state.counters["longest_gap_ms"] = worst;
}
BENCHMARK(BM_CountInWindowLongestGap)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
