// The figures of vazoz's issues, each under 50 ms, lists filled:
//   load and analyse a 32736-row key
//   full combinations: N = 20 type 7 (refused), N = 17 type 8 (24310 rows) with the analysis
//   every operation on a 32736-row key: swap, one-to-many, FIX, take back, row removal,
//   showing the numbers, distribution, save, directed substitution, random extension
//   (type 5 to type 8 from 12 marked numbers)
// The workshop is shown offscreen and its events are processed after every press, so that the
// lists are laid out as a user sees them.
#include "common/core/folder.h"
#include "csere/core/keyrows.h"
#include "csere/core/operations.h"
#include "common/core/random.h"
#include "common/core/textfile.h"
#include "common/platform/dialogs.h"
#include "common/platform/numbergrid.h"
#include "common/platform/widgets.h"
#include "bench/benchutil.h"
#include "csere/ui/workshop.h"
#include "csere/ui/fullcombinations.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <bit>

using namespace dz::csere;

namespace {

// 32736 rows of type t over 1..top: the t-subsets in order, repeated where there are fewer.
QString keyFile(int t, int top = 20) {
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/key%1_%2.txt").arg(t).arg(top);
    if (QFile::exists(path)) return path;
    QStringList rows;
    while (rows.size() < dz::kRowLimit)
        for (uint32_t m = 0; m < (1u << top) && rows.size() < dz::kRowLimit; ++m)
            if (std::popcount(m) == t) rows << producedRow(m << 1);
    dz::writeLines(path, rows);
    return path;
}

struct Workshop {
    QTemporaryDir folder;
    WorkshopWindow w;
    explicit Workshop(int t) {
        dz::setProgramFolder(folder.path());
        dz::ui::seam::enable();
        dz::ui::seam::reset();
        w.loadKeyFile(keyFile(t));
        w.show();
        QApplication::processEvents();
    }
    void mark(uint32_t marks) {
        w.grid()->clearAll();
        for (int n = 1; n <= 20; ++n)
            if (marks & (1u << n)) w.grid()->setMarked(n, true);
    }
};

// The lines the press left in List<list>, which fail the run unless they are `rows`; a message
// fails it too, but where `messages` are due (one a press of a refused run).
void report(benchmark::State& state, const Workshop& s, int list, long long rows, long long messages = 0) {
    const long long shown = s.w.list(list)->count();
    const long long said = static_cast<long long>(dz::ui::seam::messages().size());
    state.counters["rows"] = double(shown);
    state.counters["messages"] = double(said);
    if (bench::requireCount(state, shown, rows, "List" + std::to_string(list) + " lines"))
        bench::require(state, said == messages, "messages: " + std::to_string(said));
}
void settle() { QApplication::processEvents(); }

void BM_LoadAndAnalyse32736(benchmark::State& state) {
    Workshop s(6);
    for (auto _ : state) {
        s.w.loadKeyFile(keyFile(6));
        settle();
    }
    report(state, s, 1, dz::kRowLimit);
}
BENCHMARK(BM_LoadAndAnalyse32736)->Unit(benchmark::kMillisecond);

void BM_FullCombinations20Type7Refused(benchmark::State& state) {
    Workshop s(6);
    FullCombinationsWindow t(s.w.list(1));
    t.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("20"));
    t.show();
    settle();
    for (auto _ : state) {
        t.generate(7);
        settle();
    }
    // the key stays as it was, and each press says why
    report(state, s, 1, dz::kRowLimit, static_cast<long long>(state.iterations()));
}
BENCHMARK(BM_FullCombinations20Type7Refused)->Unit(benchmark::kMillisecond);

void BM_FullCombinations17Type8WithAnalysis(benchmark::State& state) {
    Workshop s(6);
    FullCombinationsWindow t(s.w.list(1));
    t.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("17"));
    t.show();
    settle();
    for (auto _ : state) {
        t.generate(8);
        benchmark::DoNotOptimize(analyseKey(s.w.list(1)->items()));
        settle();
    }
    report(state, s, 1, 24310);  // C(17, 8)
}
BENCHMARK(BM_FullCombinations17Type8WithAnalysis)->Unit(benchmark::kMillisecond);

void BM_Swap32736(benchmark::State& state) {
    Workshop s(6);
    s.mark(s.w.analysis().presence);
    for (auto _ : state) {
        s.w.Command3D4_Click();
        settle();
    }
    report(state, s, 2, dz::kRowLimit);
}
BENCHMARK(BM_Swap32736)->Unit(benchmark::kMillisecond);

void BM_OneToMany32736(benchmark::State& state) {
    // a key over 1..14, 5 replaced by 15..20
    Workshop s(6);
    s.w.loadKeyFile(keyFile(6, 14));
    s.w.findChild<QLabel*>(QStringLiteral("Label9"))->setText(QStringLiteral("05"));
    s.mark(0x1F8000u);  // 15..20
    for (auto _ : state) {
        s.w.Command3D24_Click();
        settle();
    }
    report(state, s, 2, dz::kRowLimit);
}
BENCHMARK(BM_OneToMany32736)->Unit(benchmark::kMillisecond);

void BM_Fix32736(benchmark::State& state) {
    // a key over 1..18, FIX 19 and 20
    Workshop s(5);
    s.w.loadKeyFile(keyFile(5, 18));
    s.mark((1u << 19) | (1u << 20));
    for (auto _ : state) {
        s.w.Command3D10_Click();
        settle();
    }
    report(state, s, 2, dz::kRowLimit);
}
BENCHMARK(BM_Fix32736)->Unit(benchmark::kMillisecond);

void BM_TakeBack32736(benchmark::State& state) {
    Workshop s(6);
    const QStringList rows = s.w.list(1)->items();
    for (auto _ : state) {
        state.PauseTiming();
        s.w.list(2)->setItems(rows);
        state.ResumeTiming();
        s.w.Command3D11_Click();
        settle();
    }
    report(state, s, 1, dz::kRowLimit);
}
BENCHMARK(BM_TakeBack32736)->Unit(benchmark::kMillisecond);

void BM_RowRemoval32736(benchmark::State& state) {
    Workshop s(6);
    for (auto _ : state) {
        s.w.List1_DblClick(0);
        settle();
    }
    report(state, s, 1, dz::kRowLimit - static_cast<long long>(state.iterations()));
}
BENCHMARK(BM_RowRemoval32736)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_ShowNumbers32736(benchmark::State& state) {
    Workshop s(6);
    for (auto _ : state) {
        s.w.Command3D30_Click();
        settle();
    }
    int shown = 0;
    for (int n = 1; n <= 20; ++n) shown += s.w.grid()->isShown(n);
    bench::requireCount(state, shown, 20, "numbers shown");
    report(state, s, 1, dz::kRowLimit);
}
BENCHMARK(BM_ShowNumbers32736)->Unit(benchmark::kMillisecond);

void BM_Distribution32736(benchmark::State& state) {
    Workshop s(6);
    for (auto _ : state) {
        s.w.Command3D18_Click();
        settle();
    }
    report(state, s, 5, 20);
}
BENCHMARK(BM_Distribution32736)->Unit(benchmark::kMillisecond);

void BM_SaveNewKey32736(benchmark::State& state) {
    Workshop s(6);
    s.mark(s.w.analysis().presence);
    s.w.Command3D4_Click();
    const QString file = s.folder.path() + QStringLiteral("/uj.txt");
    for (auto _ : state) {
        dz::ui::seam::queueFile(file);
        s.w.Command3D5_Click();
        settle();
    }
    bench::requireCount(state, bench::fileLines(file), dz::kRowLimit, "rows saved");
    report(state, s, 2, dz::kRowLimit);
}
BENCHMARK(BM_SaveNewKey32736)->Unit(benchmark::kMillisecond);

void BM_DirectedSubstitution32736(benchmark::State& state) {
    Workshop s(6);
    dz::Random rng(5);
    Pairing p(s.w.analysis().presence, s.w.analysis().presence);
    p.pairRandomly(rng);
    const QStringList key = s.w.list(1)->items();
    for (auto _ : state) {
        const Pairing::Substitution sub = p.substitute(key);
        s.w.list(2)->setItems(sub.rows);
        s.w.list(4)->setItems(sub.pairLines);
        settle();
    }
    bench::requireSome(state, s.w.list(4)->count(), "List4 pairs");
    report(state, s, 2, dz::kRowLimit);
}
BENCHMARK(BM_DirectedSubstitution32736)->Unit(benchmark::kMillisecond);

void BM_ExtendType5To8From12(benchmark::State& state) {
    Workshop s(5);
    s.mark(0x1FFEu);  // 1..12
    s.w.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("8"));
    for (auto _ : state) {
        s.w.Command3D23_Click();
        settle();
    }
    report(state, s, 2, dz::kRowLimit);
}
BENCHMARK(BM_ExtendType5To8From12)->Unit(benchmark::kMillisecond);

}  // namespace
