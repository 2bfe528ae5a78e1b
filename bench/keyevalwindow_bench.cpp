// keyeval's runs as a user waits for them: from the click on "Kezdés" or "Kiértékelés hozamra" to
// the last label written and the lists laid out, the real window shown offscreen over the
// real-sized history and a full key; beside each the engine alone, for "Kezdés" a subset-sum
// evaluator of the bench's own over the same files for every minimum 4..8, and one streaming
// pass of the same history, in the same run. The window runs count the CPU time of every thread
// (the run itself is on a worker). Each run checks that it produced its result.
#include "keyeval/core/evalbuild.h"
#include "keyeval/core/evaluation.h"
#include "common/core/folder.h"
#include "keyeval/core/winnings.h"
#include "keyeval/ui/fokep.h"

#include "common/core/draws.h"
#include "common/core/textfmt.h"
#include "common/platform/widgets.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/benchutil.h"
#include "bench/subsetsum_yardstick.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace dz::keyeval;

constexpr size_t kWindowDraws = 100'000;

// A program folder with the history and a full key, and the window opened on it.
struct Desk {
    QTemporaryDir dir;
    QString key;
    std::unique_ptr<FOKEP> w;

    Desk() {
        QFile::link(bench::historyFile(), dir.path() + QStringLiteral("/vevud.txt"));
        key = dir.path() + QStringLiteral("/kulcs.txt");
        bench::writeFullKey(key, 7);
        dz::setProgramFolder(dir.path());
        w = std::make_unique<FOKEP>(keyevalBuild());
        w->Form_Load();
        w->setKeyFile(key);
        w->Check3[0]->setChecked(true);
        w->Check3[1]->setChecked(true);
        w->Text[7]->setText(QStringLiteral("4"));
        w->show();
        QApplication::processEvents();
    }
    ~Desk() {
        w.reset();
        dz::setProgramFolder(QString());
    }
    // The period: the last `draws` draws of the history (the to fields stay at the last draw).
    void lastDraws(size_t draws) {
        const size_t first = bench::kHistoryDraws - draws;
        QString k;
        dz::DrawReader reader(bench::history(), first);
        for (auto batch = reader.next(); k.isEmpty() && !batch.empty(); batch = reader.next())
            for (const dz::DrawLine& l : batch)
                if (l.index == first) k = QString::fromLatin1(l.line.substr(0, 12));
        w->Text[1]->setText(k.mid(0, 4));
        w->Text[2]->setText(k.mid(4, 2));
        w->Text[3]->setText(k.mid(6, 2));
        w->Text[8]->setText(k.mid(9, 3));
    }
    // One click, waiting (without spinning) until the run's results are shown and the window
    // has handled what they left it to do (the lists' layout, the drawing).
    void click(QPushButton* b) {
        QEventLoop loop;
        QObject::connect(w.get(), &FOKEP::runEnded, &loop, &QEventLoop::quit);
        b->click();
        if (w->busy()) loop.exec();
        QApplication::processEvents();
    }
    RunSettings settings() { return *w->prepareRun(); }
};

// Made at first use and closed while the application still runs (a shown window must not outlive it).
Desk* g_desk = nullptr;
Desk& desk() {
    if (!g_desk) {
        g_desk = new Desk;
        qAddPostRoutine([] {
            delete g_desk;
            g_desk = nullptr;
        });
    }
    return *g_desk;
}

// The subset-sum yardstick over the same key, history and period, two extra numbers ticked.
bench::yardstick::Tallies yardstickRun(const Desk& d, int minHits) {
    const size_t first = bench::kHistoryDraws - kWindowDraws;
    std::string from;
    dz::DrawReader reader(bench::history(), first);
    for (auto batch = reader.next(); from.empty() && !batch.empty(); batch = reader.next())
        for (const dz::DrawLine& l : batch)
            if (l.index == first) from = std::string(l.line.substr(0, 12));
    return bench::yardstick::evaluate(d.key.toLocal8Bit().constData(), bench::historyFile().toLocal8Bit().constData(),
                                      {false, true, true, false, false}, minHits, from, "99999999 999");
}
// Its listed plays for a minimum, counted once, for the checks of the program's runs.
int64_t listedFor(int minHits) {
    static std::map<int, int64_t> listed;
    if (!listed.count(minHits)) listed[minHits] = yardstickRun(desk(), minHits).listed;
    return listed[minHits];
}

void BM_KezdesYardstick(benchmark::State& state) {
    Desk& d = desk();
    const int minHits = int(state.range(0));
    bench::yardstick::Tallies t;
    for (auto _ : state) t = yardstickRun(d, minHits);
    if (t.draws != int64_t(kWindowDraws) || t.listed <= 0) state.SkipWithError("the yardstick counted no plays");
    state.counters["listed"] = double(t.listed);
}
BENCHMARK(BM_KezdesYardstick)->DenseRange(4, 8)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// "Kezdés", 32736 rows over the last 100 000 draws, from the click to the lists laid out.
void BM_KezdesWindow(benchmark::State& state) {
    Desk& d = desk();
    const int minHits = int(state.range(0));
    const int64_t want = listedFor(minHits);
    d.lastDraws(kWindowDraws);
    d.w->Text[7]->setText(QString::number(minHits));
    for (auto _ : state) {
        d.w->List3->clear();
        d.w->Label1->clear();
        d.click(d.w->Command3D1);
    }
    const int shown = d.w->List3->count();
    if (shown != int(std::min<int64_t>(want, int64_t(kHitListCap))) || d.w->Label14->text() != QString::number(bench::kHistoryDraws) ||
        d.w->Label1->text() != dz::str(dz::kRowLimit) || d.w->List2->count() != 14)
        state.SkipWithError("the run did not fill the lists and labels");
    state.counters["listed"] = double(want);
    state.counters["shown"] = shown;
}
BENCHMARK(BM_KezdesWindow)->DenseRange(4, 8)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// The same run's engine: the file opened, key and period read, the hits counted and kept.
void BM_KezdesEngine(benchmark::State& state) {
    Desk& d = desk();
    const int minHits = int(state.range(0));
    const int64_t want = listedFor(minHits);
    d.lastDraws(kWindowDraws);
    d.w->Text[7]->setText(QString::number(minHits));
    const RunSettings st = d.settings();
    EvaluationResult r;
    for (auto _ : state) {
        const dz::DrawFile f = bench::openHistory();
        const auto in = gatherInput(st, f);
        r = evaluate(*in);
    }
    if (r.drawsEvaluated != kWindowDraws || r.listedCount != want ||
        r.hits.size() != size_t(std::min<int64_t>(want, int64_t(kHitListCap))))
        state.SkipWithError("the engine's plays differ from the yardstick's");
    state.counters["draws"] = double(r.drawsEvaluated);
}
BENCHMARK(BM_KezdesEngine)->DenseRange(4, 8)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// The count alone, over the key and period read before.
void BM_KezdesEvaluate(benchmark::State& state) {
    Desk& d = desk();
    d.lastDraws(kWindowDraws);
    d.w->Text[7]->setText(QString::number(state.range(0)));
    const dz::DrawFile f = bench::openHistory();
    const auto in = gatherInput(d.settings(), f);
    int64_t listed = 0;
    for (auto _ : state) listed = evaluate(*in).listedCount;
    if (listed != listedFor(int(state.range(0)))) state.SkipWithError("the plays differ from the yardstick's");
}
BENCHMARK(BM_KezdesEvaluate)->DenseRange(4, 8)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// "Kiértékelés hozamra", 32736 rows over the whole history.
void BM_WinningsWindow(benchmark::State& state) {
    Desk& d = desk();
    d.lastDraws(bench::kHistoryDraws);
    d.w->Text[7]->setText(QStringLiteral("4"));
    for (auto _ : state) d.click(d.w->SSCommand1);
    state.counters["lines"] = d.w->List8->count();
}
BENCHMARK(BM_WinningsWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// Its engine: the file opened, the key read, the period streamed into the sums.
void BM_WinningsEngine(benchmark::State& state) {
    Desk& d = desk();
    d.lastDraws(bench::kHistoryDraws);
    d.w->Text[7]->setText(QStringLiteral("4"));
    const RunSettings st = d.settings();
    for (auto _ : state) {
        const dz::DrawFile f = bench::openHistory();
        const auto key = readKey(st.keyFile);
        benchmark::DoNotOptimize(streamWinnings(f, st, *key).money.balance);
    }
}
BENCHMARK(BM_WinningsEngine)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

BENCHMARK(bench::streamingPass)->Name("BM_HistoryPass")->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

}  // namespace
