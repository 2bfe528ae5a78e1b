// daystat over a real-sized history: the two cuts of "vevud.dat", and each analysis with
// daystat's rules beside the same analysis with drawstat's, over the same 1.5 M-draw file.
#include "daystat/core/cut.h"
#include "drawstat/core/distributions.h"
#include "drawstat/core/intervals.h"
#include "daystat/core/profile.h"
#include "drawstat/core/skips.h"
#include "common/core/textfile.h"
#include "common/platform/widgets.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/backtestpass.h"
#include "bench/benchutil.h"

namespace {

const dz::drawstat::Rules kDrawstat{};
const dz::drawstat::Rules kDaystat = dz::daystat::profile().rules;
const dz::drawstat::Rules& rulesOf(const benchmark::State& st) { return st.range(0) ? kDaystat : kDrawstat; }

QString outFile() {
    static QTemporaryDir dir;
    return dir.path() + QStringLiteral("/vevud.dat");
}

// "Húzás szám" with 264: count, cut, replace.
void BM_CutLast264(benchmark::State& st) {
    for (auto _ : st) {
        const auto count = dz::daystat::countFileRecords(bench::historyFile());
        const auto cut = dz::daystat::lastFileRecords(bench::historyFile(), 264);
        if (!bench::require(st, count && cut && dz::daystat::writeCut(outFile(), *cut), "cut not written")) break;
        benchmark::DoNotOptimize(count);
    }
    bench::requireCount(st, bench::fileLines(outFile()), std::min(264LL, bench::historyDraws()), "draws cut");
}

// "Leválogat" over the last day of the history.
void BM_CutOneDayRange(benchmark::State& st) {
    const auto bounds = dz::daystat::fileHistoryBounds(bench::historyFile());
    if (!bench::require(st, bounds && *bounds, "no draws to cut")) return;
    const std::string day = (*bounds)->last.key.substr(0, 8);
    long long count = 0;
    for (auto _ : st) {
        const auto out = dz::daystat::fileRecordsInRange(bench::historyFile(), day + " 001", day + " 264", count);
        if (!bench::require(st, out && dz::daystat::writeCut(outFile(), *out), "cut not written")) break;
    }
    bench::requireSome(st, count, "draws of the day");
    bench::requireCount(st, bench::fileLines(outFile()), count, "draws cut");
}

// Arg 0: drawstat's rules (with its class lists); 1: daystat's. W as Start sets it.
template <class Pass>
void classPass(benchmark::State& st, Pass pass) {
    dz::ui::ListBox list2;
    std::array<dz::ui::ListBox, 9> list5;
    for (auto _ : st) {
        const auto f = bench::openHistory();
        const dz::drawstat::ClassResult r = pass(f, bench::windowStart(), rulesOf(st));
        list2.setSource(r.lines);
        for (size_t k = 0; k < 9; ++k) list5[k].setSource(r.classes[k]);
        if (!bench::requireSome(st, static_cast<long long>(r.lines->records().size()), "draws listed")) break;
    }
}
void BM_Identity(benchmark::State& st) { classPass(st, dz::drawstat::identityDistribution); }
void BM_Runs(benchmark::State& st) { classPass(st, dz::drawstat::adhesionDistribution); }

void BM_Backtest(benchmark::State& st) { bench::backtestPass(st, rulesOf(st).backtestFromWindow); }

void BM_Interval(benchmark::State& st) {
    dz::ui::ListBox l1, l2, l3(nullptr, true);
    for (auto _ : st) {
        const auto f = bench::openHistory();
        auto r = dz::drawstat::intervalPatterns(f, bench::windowStart(), rulesOf(st).intervalTallyJoined);
        l1.setItems(std::move(r.draws));
        l2.setItems(std::move(r.byCode));
        l3.setItems(std::move(r.byFrequency));
        if (!bench::requireCount(st, l1.count(), bench::windowDraws(), "draws listed")) break;
    }
}

void BM_LifePath(benchmark::State& st) {
    dz::ui::ListBox l1, l2;
    for (auto _ : st) {
        const auto f = bench::openHistory();
        auto r = dz::drawstat::lifePath(f, 7, rulesOf(st).lifePathListsAll ? 0 : bench::windowStart());
        l1.setSource(std::move(r.appearances));
        l2.setItems(std::move(r.distribution));
        // the closing line and at least one appearance
        if (!bench::require(st, l1.count() > 1 && l2.count() > 0, "no appearances")) break;
    }
}

}  // namespace

BENCHMARK(BM_CutLast264)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CutOneDayRange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Identity)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Runs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Backtest)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Interval)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LifePath)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
