// keyeval's runs as a user waits for them: from the click on "Kezdés" or "Kiértékelés hozamra" to
// the last label written, the real window driven offscreen over the real-sized history and a full
// key; beside each the engine alone and one streaming pass of the same history, in the same run.
// The window runs count the CPU time of every thread (the run itself is on a worker).
#include "core/evalbuild.h"
#include "core/evaluation.h"
#include "core/folder.h"
#include "core/winnings.h"
#include "ui/fokep.h"

#include "core/draws.h"
#include "platform/widgets.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "benchutil.h"

#include <memory>

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
        w->Label8->setText(key);
        w->Check3[0]->setChecked(true);
        w->Check3[1]->setChecked(true);
        w->Text[7]->setText(QStringLiteral("4"));
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
    // One click, waiting (without spinning) until the run's results are shown.
    void click(QPushButton* b) {
        QEventLoop loop;
        QObject::connect(w.get(), &FOKEP::runEnded, &loop, &QEventLoop::quit);
        b->click();
        if (w->busy()) loop.exec();
    }
    RunSettings settings() { return *w->prepareRun(); }
};

Desk& desk() {
    static Desk d;
    return d;
}

// "Kezdés", 32736 rows over the last 100 000 draws, hits from 4.
void BM_KezdesWindow(benchmark::State& state) {
    Desk& d = desk();
    d.lastDraws(kWindowDraws);
    for (auto _ : state) d.click(d.w->Command3D1);
    state.counters["listed"] = d.w->List3->count();
    state.counters["records_read"] = d.w->Label14->text().toDouble();
}
BENCHMARK(BM_KezdesWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// The same run's engine: the file opened, key and period read, the hits counted and kept.
void BM_KezdesEngine(benchmark::State& state) {
    Desk& d = desk();
    d.lastDraws(kWindowDraws);
    const RunSettings st = d.settings();
    for (auto _ : state) {
        const dz::DrawFile f = bench::openHistory();
        const auto in = gatherInput(st, f);
        const EvaluationResult r = evaluate(*in);
        state.counters["draws"] = double(r.drawsEvaluated);
        benchmark::DoNotOptimize(r.listedCount);
    }
}
BENCHMARK(BM_KezdesEngine)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// The count alone, over the key and period read before.
void BM_KezdesEvaluate(benchmark::State& state) {
    Desk& d = desk();
    d.lastDraws(kWindowDraws);
    const dz::DrawFile f = bench::openHistory();
    const auto in = gatherInput(d.settings(), f);
    for (auto _ : state) benchmark::DoNotOptimize(evaluate(*in).listedCount);
}
BENCHMARK(BM_KezdesEvaluate)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// "Kiértékelés hozamra", 32736 rows over the whole history.
void BM_WinningsWindow(benchmark::State& state) {
    Desk& d = desk();
    d.lastDraws(bench::kHistoryDraws);
    for (auto _ : state) d.click(d.w->SSCommand1);
    state.counters["lines"] = d.w->List8->count();
}
BENCHMARK(BM_WinningsWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// Its engine: the file opened, the key read, the period streamed into the sums.
void BM_WinningsEngine(benchmark::State& state) {
    Desk& d = desk();
    d.lastDraws(bench::kHistoryDraws);
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
