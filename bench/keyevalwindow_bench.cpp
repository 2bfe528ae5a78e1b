// keyeval's runs as a user waits for them: from the click on "Kezdés" or "Kiértékelés hozamra" to
// the last label written and the lists laid out, the real window shown offscreen over the
// real-sized history and a full key, extra number 1 ticked; beside each the engine alone, a
// subset-sum evaluator of the bench's own over the same files (for "Kezdés" at every minimum 4..8,
// for the winnings over the whole history), and one streaming pass of the same history, in the
// same run. The evaluator is checked once against a count row by row, every run against it. The window runs count the CPU time of every thread
// (the run itself is on a worker). Each run checks that it produced its result.
#include "keyeval/core/evalbuild.h"
#include "keyeval/core/evaluation.h"
#include "common/core/folder.h"
#include "keyeval/core/winnings.h"
#include "keyeval/ui/evaluationwindow.h"

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
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace {

using namespace dz::keyeval;

constexpr size_t kWindowDraws = 100'000;

// A program folder with the history and a full key, and the window opened on it.
struct Desk {
    QTemporaryDir dir;
    QString key;
    std::unique_ptr<EvaluationWindow> w;

    Desk() {
        QFile::link(bench::historyFile(), dir.path() + QStringLiteral("/vevud.txt"));
        key = dir.path() + QStringLiteral("/kulcs.txt");
        bench::writeFullKey(key, 7);
        dz::setProgramFolder(dir.path());
        w = std::make_unique<EvaluationWindow>(keyevalBuild());
        w->Form_Load();
        w->setKeyFile(key);
        w->Check3[0]->setChecked(true);
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
        const size_t first = size_t(std::max(0LL, bench::historyDraws() - (long long)draws));
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
        QObject::connect(w.get(), &EvaluationWindow::runEnded, &loop, &QEventLoop::quit);
        b->click();
        if (w->busy()) loop.exec();
        QApplication::processEvents();
    }
    // "Kezdés" clicked once a round over a hit list emptied before it, the peak memory of the
    // rounds reported.
    void runKezdes(benchmark::State& state) {
        w->List3->clear();
        const bench::PeakMemory peak;
        for (auto _ : state) {
            w->List3->clear();
            w->Label1->clear();
            click(w->Command3D1);
        }
        peak.report(state);
    }
    // The run's settings; nullopt when the window refuses the run (an empty history).
    std::optional<RunSettings> settings() { return w->prepareRun(); }
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

// Extra number 1 ticked, as in the window.
constexpr std::array<bool, 5> kExtra{false, true, false, false, false};

// The from key of the last kWindowDraws draws, empty when the history holds none.
std::string windowFrom() {
    const size_t first = size_t(std::max(0LL, bench::historyDraws() - (long long)kWindowDraws));
    std::string from;
    dz::DrawReader reader(bench::history(), first);
    for (auto batch = reader.next(); from.empty() && !batch.empty(); batch = reader.next())
        for (const dz::DrawLine& l : batch)
            if (l.index == first) from = std::string(l.line.substr(0, 12));
    return from;
}

// The subset-sum yardstick over the same key, history and period.
bench::yardstick::Tallies yardstickRun(const Desk& d, int minHits) {
    static const std::string from = windowFrom();
    return bench::yardstick::evaluate(d.key.toLocal8Bit().constData(), bench::historyFile().toLocal8Bit().constData(),
                                      kExtra, minHits, from, "99999999 999");
}
// Its tallies for a minimum, counted once and checked against a count row by row (done once for
// every minimum: the classes do not depend on it); nullopt when they differ or count nothing.
const std::optional<bench::yardstick::Tallies>& tallyFor(int minHits) {
    static std::map<int, std::optional<bench::yardstick::Tallies>> tallies;
    if (!tallies.count(minHits)) {
        static const bench::yardstick::Classes plain = bench::yardstick::rowByRow(
            desk().key.toLocal8Bit().constData(), bench::historyFile().toLocal8Bit().constData(), kExtra, windowFrom(),
            "99999999 999");
        const bench::yardstick::Tallies t = yardstickRun(desk(), minHits);
        const bool ok = t == bench::yardstick::talliesOf(plain, kExtra, minHits) &&
                        t.draws == std::min<long long>(bench::historyDraws(), (long long)kWindowDraws) && t.listed > 0;
        tallies[minHits] = ok ? std::optional(t) : std::nullopt;
    }
    return tallies[minHits];
}
// The engine's tallies against the yardstick's.
bool sameTallies(const EvaluationResult& r, const bench::yardstick::Tallies& t) {
    for (int h = 0; h <= 8; ++h)
        if (r.plainTally[size_t(h + 1)] != t.plain[size_t(h)] || r.plusTally[size_t(h + 1)] != t.plus[size_t(h)]) return false;
    return r.listedCount == t.listed && (long long)r.drawsEvaluated == t.draws;
}

void BM_KezdesYardstick(benchmark::State& state) {
    Desk& d = desk();
    const int minHits = int(state.range(0));
    const auto& want = tallyFor(minHits);
    if (!want) return state.SkipWithError("the yardstick differs from the count row by row");
    bench::yardstick::Tallies t;
    for (auto _ : state) t = yardstickRun(d, minHits);
    if (t != *want) state.SkipWithError("the yardstick counted other plays");
    state.counters["listed"] = double(t.listed);
}
BENCHMARK(BM_KezdesYardstick)->DenseRange(4, 8)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// "Kezdés", 32736 rows over the last 100 000 draws, from the click to the lists laid out.
void BM_KezdesWindow(benchmark::State& state) {
    Desk& d = desk();
    const int minHits = int(state.range(0));
    const auto& want = tallyFor(minHits);
    if (!want) return state.SkipWithError("the yardstick differs from the count row by row");
    d.lastDraws(kWindowDraws);
    d.w->Text[7]->setText(QString::number(minHits));
    d.runKezdes(state);
    const int shown = d.w->List3->count();
    QStringList tallies;
    for (int h = 0; h <= 8; ++h) tallies << dz::str(h) + QStringLiteral("   ") + dz::str(want->plain[size_t(h)]);
    for (int h = 4; h <= 8; ++h) tallies << dz::str(h) + QStringLiteral("+ ") + dz::str(want->plus[size_t(h)]);
    tallies.sort();
    QStringList listed = d.w->List2->items();
    listed.sort();
    if (shown != int(std::min<int64_t>(want->listed, int64_t(kHitListCap))) ||
        d.w->Label14->text() != QString::number(bench::historyDraws()) || d.w->Label1->text() != dz::str(dz::kRowLimit) ||
        listed != tallies)
        state.SkipWithError("the run did not fill the lists and labels");
    state.counters["listed"] = double(want->listed);
    state.counters["shown"] = shown;
}
BENCHMARK(BM_KezdesWindow)->DenseRange(4, 8)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// "Kezdés" over the whole history at minimum 4 (the period whose memory peaks), against the
// yardstick's listed plays over the same draws. Both window runs report their peak memory.
void BM_KezdesWindowWholeHistory(benchmark::State& state) {
    Desk& d = desk();
    static const bench::yardstick::Tallies want = bench::yardstick::evaluate(
        d.key.toLocal8Bit().constData(), bench::historyFile().toLocal8Bit().constData(), kExtra, 4, "", "99999999 999");
    d.lastDraws(size_t(bench::historyDraws()));
    d.w->Text[7]->setText(QStringLiteral("4"));
    d.runKezdes(state);
    if (want.draws != bench::historyDraws() || d.w->List3->count() != int(std::min<int64_t>(want.listed, int64_t(kHitListCap))) ||
        d.w->Label14->text() != QString::number(bench::historyDraws()) || d.w->Label1->text() != dz::str(dz::kRowLimit))
        state.SkipWithError("the run did not fill the lists and labels");
}
BENCHMARK(BM_KezdesWindowWholeHistory)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// The same run's engine as the window runs it: the file opened, the key read, the period streamed
// through the count, the hits kept.
void BM_KezdesEngine(benchmark::State& state) {
    Desk& d = desk();
    const int minHits = int(state.range(0));
    const auto& want = tallyFor(minHits);
    if (!want) return state.SkipWithError("the yardstick differs from the count row by row");
    d.lastDraws(kWindowDraws);
    d.w->Text[7]->setText(QString::number(minHits));
    const auto st = d.settings();
    if (!st) return state.SkipWithError("the window refused the run");
    EvaluationResult r;
    for (auto _ : state) {
        const dz::DrawFile f = bench::openHistory();
        const auto key = readKey(st->keyFile);
        if (!key) return state.SkipWithError("no key");
        r = streamEvaluation(f, *st, *key).result;
    }
    if (!sameTallies(r, *want) || r.hits.size() != size_t(std::min<int64_t>(want->listed, int64_t(kHitListCap))))
        state.SkipWithError("the engine's plays differ from the yardstick's");
    state.counters["draws"] = double(r.drawsEvaluated);
}
BENCHMARK(BM_KezdesEngine)->DenseRange(4, 8)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// The count alone, over the key and period read before.
void BM_KezdesEvaluate(benchmark::State& state) {
    Desk& d = desk();
    const auto& want = tallyFor(int(state.range(0)));
    if (!want) return state.SkipWithError("the yardstick differs from the count row by row");
    d.lastDraws(kWindowDraws);
    d.w->Text[7]->setText(QString::number(state.range(0)));
    const auto st = d.settings();
    if (!st) return state.SkipWithError("the window refused the run");
    const dz::DrawFile f = bench::openHistory();
    const auto in = gatherInput(*st, f);
    if (!in) return state.SkipWithError("no key");
    EvaluationResult r;
    for (auto _ : state) r = evaluate(*in);
    if (!sameTallies(r, *want)) state.SkipWithError("the plays differ from the yardstick's");
}
BENCHMARK(BM_KezdesEvaluate)->DenseRange(4, 8)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// The yardstick's winnings over the whole history, counted once for the checks.
bench::yardstick::Money yardstickMoney() {
    return bench::yardstick::winnings(desk().key.toLocal8Bit().constData(),
                                      bench::historyFile().toLocal8Bit().constData(), kExtra, 4, "", "99999999 999");
}
const bench::yardstick::Money& moneyWanted() {
    static const bench::yardstick::Money m = yardstickMoney();
    return m;
}

void BM_WinningsYardstick(benchmark::State& state) {
    const bench::yardstick::Money& want = moneyWanted();
    bench::yardstick::Money m;
    for (auto _ : state) m = yardstickMoney();
    if (m != want || m.draws == 0 || m.draws != bench::historyDraws()) state.SkipWithError("the yardstick summed other draws");
}
BENCHMARK(BM_WinningsYardstick)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// "Kiértékelés hozamra", 32736 rows over the whole history.
void BM_WinningsWindow(benchmark::State& state) {
    Desk& d = desk();
    const bench::yardstick::Money& want = moneyWanted();
    d.lastDraws(size_t(bench::historyDraws()));
    d.w->Text[7]->setText(QStringLiteral("4"));
    for (auto _ : state) {
        d.w->Label16->clear();
        d.click(d.w->SSCommand1);
    }
    const int lines = d.w->List8->count();
    if (want.draws == 0 || lines != int(want.lastNets.size()) || d.w->Label16->text() != dz::str(want.stake) ||
        d.w->Label18->text() != dz::str(want.winnings) || d.w->Label21->text() != dz::str(want.winnings - want.stake) ||
        !d.w->List8->item(lines - 1).endsWith(QStringLiteral("   ") + dz::str(want.lastNets.back())))
        state.SkipWithError("the run's labels and lines differ from the yardstick's");
    state.counters["lines"] = lines;
}
BENCHMARK(BM_WinningsWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

// Its engine: the file opened, the key read, the period streamed into the sums.
void BM_WinningsEngine(benchmark::State& state) {
    Desk& d = desk();
    const bench::yardstick::Money& want = moneyWanted();
    d.lastDraws(size_t(bench::historyDraws()));
    d.w->Text[7]->setText(QStringLiteral("4"));
    const auto st = d.settings();
    if (!st) return state.SkipWithError("the window refused the run");
    WinningsResult r;
    for (auto _ : state) {
        const dz::DrawFile f = bench::openHistory();
        const auto key = readKey(st->keyFile);
        if (!key) return state.SkipWithError("no key");
        r = streamWinnings(f, *st, *key).money;
    }
    if (want.draws == 0 || r.draws != want.draws || r.stake != want.stake || r.winnings != want.winnings)
        state.SkipWithError("the engine's sums differ from the yardstick's");
}
BENCHMARK(BM_WinningsEngine)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

BENCHMARK(bench::streamingPass)->Name("BM_HistoryPass")->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);

}  // namespace
