// The subset windows over the 1.5 million-draw history: count-in, regeneration, the lists and the
// life path, each with its file reads and writes and its lists filled.
#include "bench/benchutil.h"

#include "common/core/folder.h"
#include "daystat/core/profile.h"
#include "drawstat/core/subsetfile.h"
#include "drawstat/core/subsetlists.h"
#include "common/core/textfile.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/platform/dialogs.h"
#include "common/platform/widgets.h"
#include "drawstat/ui/subsetwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

namespace {

// The program folder, with the history as "vevud.txt", and as daystat's partial-day file "vevud.dat"
// (asked for at every use: a benchmark that reads it reads the history).
const QString& folder() {
    static const bool set = (dz::setProgramFolder(bench::historyFolder()), true);
    (void)set;
    return bench::historyFolder();
}
QString path(const QString& name) { return folder() + QLatin1Char('/') + name; }

BENCHMARK(bench::fixedColumnPass)->Name("BM_PlainPass")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::streamingPass)->Name("BM_StreamingPass")->Unit(benchmark::kMillisecond);

// The draws counted in, -1 when the counter file or the draws could not be read or the file not saved.
long long countInFromFiles(const SubsetProfile& p) {
    const QString counter = path(p.counterFile);
    CounterFile f;
    if (CounterFile::load(counter, p.k, f) != CounterFile::Status::Ok) return -1;
    const auto draws = dz::DrawFile::load(path(p.drawFile));
    if (!draws) return -1;
    const long long counted = countIn(f, *draws).counted;
    return f.save(counter) ? counted : -1;
}
long long countInFromFiles(int k) { return countInFromFiles(drawstatSubsetProfile(k)); }

// The key of the history's last draw, which a count-in leaves as the counter file's high-water key.
const std::string& lastDrawKey() {
    static const std::string key = [] {
        dz::DrawReader r = dz::DrawReader::tail(bench::history(), 1);
        const auto lines = r.next();
        return lines.empty() ? std::string() : std::string(dz::drawKey(lines.back().item));
    }();
    return key;
}

// Whether a counter file holds the whole history counted in: its high-water key is the last draw's.
bool countedIn(const CounterFile& f) { return !lastDrawKey().empty() && f.highWaterKey() == lastDrawKey(); }
// The same for the counter file of size k a run wrote, failing the run when it does not.
bool requireCountedIn(benchmark::State& st, const QString& file, int k) {
    CounterFile f;
    const bool read = CounterFile::load(file, k, f) == CounterFile::Status::Ok;
    return bench::require(st, read && countedIn(f),
                          "history not counted into " + file.toStdString() + " (high-water key \"" +
                              (read ? std::string(f.highWaterKey()) : std::string()) + "\")");
}
void settle() { QApplication::processEvents(); }

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
        if (!bench::requireSome(state, countInFromFiles(k), "draws counted in")) break;
    }
    requireCountedIn(state, path(QStringLiteral("vevud%1.txt").arg(k)), k);
}
BENCHMARK(BM_CountIn)->DenseRange(4, 8)->Unit(benchmark::kMillisecond);

// The whole "Begenerálás" handler for k = 4 in drawstat's window (0: "vevud.txt" into
// "vevud4.txt") and in daystat's (1: "vevud.dat" into "vevud4.dat"), over the same 1.5 M draws.
void BM_CountInWindow4(benchmark::State& state) {
    dz::ui::seam::enable();
    const SubsetProfile p = state.range(0) ? dz::daystat::subsetProfile(4) : drawstatSubsetProfile(4);
    SubsetWindow w(p);
    w.show();
    settle();
    for (auto _ : state) {
        state.PauseTiming();
        dz::writeBytes(path(p.counterFile), zeroedCounterFile(4));
        state.ResumeTiming();
        w.Command3D2_Click();
        settle();
    }
    state.SetLabel(p.counterFile.toStdString());
    requireCountedIn(state, path(p.counterFile), 4);
}
BENCHMARK(BM_CountInWindow4)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CountInAllFiveSizes(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        for (int k = 4; k <= 8; ++k) dz::writeBytes(path(QStringLiteral("vevud%1.txt").arg(k)), zeroedCounterFile(k));
        state.ResumeTiming();
        bool all = true;
        for (int k = 4; k <= 8; ++k) all = countInFromFiles(k) > 0 && all;
        if (!bench::require(state, all, "draws not counted in")) break;
    }
    for (int k = 4; k <= 8; ++k) requireCountedIn(state, path(QStringLiteral("vevud%1.txt").arg(k)), k);
}
BENCHMARK(BM_CountInAllFiveSizes)->Unit(benchmark::kMillisecond);

void BM_Regenerate8(benchmark::State& state) {
    for (auto _ : state)
        if (!bench::require(state, dz::writeBytes(path(QStringLiteral("vevud8.txt")), zeroedCounterFile(8)), "not written")) break;
    CounterFile f;
    bench::require(state, CounterFile::load(path(QStringLiteral("vevud8.txt")), 8, f) == CounterFile::Status::Ok &&
                              f.records() == subsetCount(8) && f.highWaterKey() == kZeroKey,
                   "no regenerated file");
}
BENCHMARK(BM_Regenerate8)->Unit(benchmark::kMillisecond);

void BM_MostDrawnIntoList(benchmark::State& state) {
    const int k = int(state.range(0));
    const QString file = path(QStringLiteral("vevud%1.txt").arg(k));
    counted(k).save(file);
    const QString listFile = path(QStringLiteral("legt%1.txt").arg(k));
    dz::ui::ListBox list(nullptr, /*sorted=*/k != 7);
    if (!bench::require(state, countedIn(counted(k)), "history not counted in")) return;
    for (auto _ : state) {
        CounterFile f;
        CounterFile::load(file, k, f);
        const MostDrawnResult r = mostDrawn(f, drawstatSubsetProfile(k));
        list.setSource(r.rows);
        if (!bench::require(state, dz::writeBytes(listFile, mostDrawnFileBytes(f, r.rows->records())), "list file not written") ||
            !bench::requireCount(state, list.count(), std::min<long long>(subsetCount(k), dz::kRowLimit), "rows listed"))
            break;
    }
    bench::requireSome(state, bench::fileLines(listFile), "rows in " + listFile.toStdString());
}
BENCHMARK(BM_MostDrawnIntoList)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);

// The whole "Legtöbbször" handler of drawstat's k-s window over the counted history: the counter
// file read, List1 filled, its list file (and the latest-key file) written.
void BM_MostDrawnWindow(benchmark::State& state) {
    dz::ui::seam::enable();
    const int k = int(state.range(0));
    const SubsetProfile p = drawstatSubsetProfile(k);
    counted(k).save(path(p.counterFile));
    if (!bench::require(state, countedIn(counted(k)), "history not counted in")) return;
    SubsetWindow w(p);
    w.show();
    settle();
    for (auto _ : state) {
        w.Command3D3_Click();
        settle();
    }
    state.counters["rows"] = double(w.List1->count());
    bench::requireCount(state, w.List1->count(), std::min<long long>(subsetCount(k), dz::kRowLimit), "List1 rows");
}
BENCHMARK(BM_MostDrawnWindow)->Arg(4)->Arg(7)->Unit(benchmark::kMillisecond);

// The whole "Nemhúzottak" handler of drawstat's 8-s window: 0 over a regenerated file (every
// subset never drawn, four full pages), 1 over the counted history.
void BM_NeverDrawnWindow8(benchmark::State& state) {
    dz::ui::seam::enable();
    const SubsetProfile p = drawstatSubsetProfile(8);
    const bool overHistory = state.range(0) != 0;
    if (overHistory) counted(8).save(path(p.counterFile));
    else dz::writeBytes(path(p.counterFile), zeroedCounterFile(8));
    if (overHistory && !bench::require(state, countedIn(counted(8)), "history not counted in")) return;
    SubsetWindow w(p);
    w.show();
    settle();
    w.Label2->clear();
    QString total;
    for (auto _ : state) {
        w.Command3D4_Click();
        settle();
        total = w.Label2->text();
    }
    state.counters["rows"] = double(total.toLongLong());
    // every 8-subset of a regenerated file is never drawn; the synthetic history draws them all
    // (a history of another making may leave some)
    if (bench::require(state, !total.isEmpty(), "no count shown") && !overHistory)
        bench::requireCount(state, total.toLongLong(), subsetCount(8), "never drawn");
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
        long long rows = 0;
        for (const auto& page : pages) rows += page->count();
        if (!bench::requireCount(state, rows, subsetCount(8), "never drawn")) break;
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
    bench::requireSome(state, rows - 1, "hits listed");  // the closing line follows the hits
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
    if (life->count() < 2 || !life->isVisible() || !life->item(life->count() - 1).startsWith(p.lifePath->closingLead))
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
        settle();
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
    requireCountedIn(state, path(QStringLiteral("vevud4.txt")), 4);
}
BENCHMARK(BM_CountInWindowLongestGap)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
