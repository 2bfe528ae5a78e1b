// keygen's generation, type 6 of 20, overlap 5, 32736 rows wanted, three ways in one run:
//   BM_KeygenReference  a plain loop of the same rule written here, apart from the engine
//   BM_KeygenGenerator  the engine as the window calls it (stop flag, progress), same seed
//   BM_KeygenWindow     "Generálás" clicked in the shown window, to the last label written
// The reference and the engine must make the same key from the same seed; the window's key must
// obey the rule and fill the list its labels count. A run that makes anything else fails.
// The window run counts the CPU time of every thread (the generation runs on a worker).
#include "keygen/core/generator.h"
#include "common/core/random.h"
#include "keygen/core/state.h"
#include "common/core/textfmt.h"
#include "keygen/ui/mainwindow.h"

#include "common/platform/widgets.h"

#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int kType = 6, kOverlap = 5, kRows = dz::kRowLimit;
constexpr uint64_t kSeed = 2026;

// ---------------------------------------------------------------------------------------------
// The rule, written plainly: numbers Int(Rnd * 20 + 1) from a Mersenne twister in single
// precision, redrawn while not chosen, already in the row, or used Q = ceil(t·R/N) times; at most
// 1000 draws for a row; a row kept when it shares at most A numbers with every kept row, else
// its numbers given back and drawn again, 10 tries a slot; 5·R slots; done at R rows or at every
// combination.
namespace reference {

struct Key {
    std::vector<uint32_t> rows;  // in the order kept
    int end = 0;                 // 0 rows, 1 combinations, 2 slots, 3 draws
};

Key generate(uint64_t seed, uint32_t chosen, int t, int a, long long r) {
    std::mt19937_64 engine(seed);
    auto draw = [&engine] {
        const float f = static_cast<float>(static_cast<double>(engine() >> 11) * 0x1.0p-53);
        return std::min(20, static_cast<int>(f * 20.0f + 1.0f));
    };
    const int n = std::popcount(chosen);
    const long long quota = (t * r + n - 1) / n;
    double p = 1, q = 1;
    for (int i = t + 1; i <= n; ++i) p *= i;
    for (int i = 1; i <= n - t; ++i) q *= i;
    const long long combinations = std::llround(p / q);

    // Every (A+1)-subset of a kept row, marked: a candidate sharing more than A numbers with a
    // kept row holds one of them.
    std::vector<bool> taken(size_t(1) << 21);
    auto subsets = [a](uint32_t row, auto&& visit) {
        int pos[20], c = 0;
        for (int i = 1; i <= 20; ++i)
            if (row & (1u << i)) pos[c++] = i;
        int idx[8];
        const int k = a + 1;
        for (int i = 0; i < k; ++i) idx[i] = i;
        for (;;) {
            uint32_t s = 0;
            for (int i = 0; i < k; ++i) s |= 1u << pos[idx[i]];
            if (visit(s)) return true;
            int i = k - 1;
            while (i >= 0 && idx[i] == c - k + i) --i;
            if (i < 0) return false;
            ++idx[i];
            for (int j = i + 1; j < k; ++j) idx[j] = idx[j - 1] + 1;
        }
    };

    Key key;
    std::array<long long, 21> uses{};
    for (long long slot = 1; slot <= 5 * r; ++slot) {
        for (int attempt = 1; attempt <= 10; ++attempt) {
            uint32_t row = 0;
            int filled = 0, draws = 0;
            while (filled < t && ++draws <= 1000) {
                const int x = draw();
                const uint32_t bit = 1u << x;
                if (!(chosen & bit) || (row & bit) || uses[size_t(x)] == quota) continue;
                row |= bit;
                ++uses[size_t(x)];
                ++filled;
            }
            const bool full = filled == t;
            if (full && !subsets(row, [&](uint32_t s) { return bool(taken[s]); })) {
                subsets(row, [&](uint32_t s) { return taken[s] = true, false; });
                key.rows.push_back(row);
                break;
            }
            for (int x = 1; x <= 20; ++x)
                if (row & (1u << x)) --uses[size_t(x)];
            if (!full) {
                key.end = 3;
                return key;
            }
        }
        if (static_cast<long long>(key.rows.size()) == r) return key.end = 0, key;
        if (static_cast<long long>(key.rows.size()) == combinations) return key.end = 1, key;
    }
    key.end = 2;
    return key;
}

}  // namespace reference

std::vector<uint32_t> sorted(std::vector<uint32_t> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// Rows of type t over chosen numbers only, no two sharing more than A numbers (for A = t - 1:
// all different).
bool obeysRule(std::vector<uint32_t> rows) {
    for (uint32_t m : rows)
        if (std::popcount(m) != kType || (m & ~dz::keygen::kAllNumbers)) return false;
    rows = sorted(std::move(rows));
    return std::adjacent_find(rows.begin(), rows.end()) == rows.end();
}

const reference::Key& referenceKey() {
    static const reference::Key k = reference::generate(kSeed, dz::keygen::kAllNumbers, kType, kOverlap, kRows);
    return k;
}

void BM_KeygenReference(benchmark::State& state) {
    reference::Key key;
    for (auto _ : state) {
        key = reference::generate(kSeed, dz::keygen::kAllNumbers, kType, kOverlap, kRows);
        benchmark::DoNotOptimize(key.rows.data());
    }
    if (key.rows.size() < 32000 || !obeysRule(key.rows)) state.SkipWithError("the reference made no full key");
    state.counters["rows"] = double(key.rows.size());
    state.counters["end"] = key.end;
}
BENCHMARK(BM_KeygenReference)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(false);

void BM_KeygenGenerator(benchmark::State& state) {
    dz::keygen::GenInputs in;
    in.chosen = dz::keygen::kAllNumbers;
    in.type = kType;
    in.overlap = kOverlap;
    in.rows = kRows;
    in.reseedEachRun = false;  // the seed below, at every iteration
    const dz::keygen::Validation v = dz::keygen::validate(in);
    std::atomic<bool> stop{false};
    long long reports = 0;
    const dz::keygen::ProgressFn progress = [&](const dz::keygen::Progress&) { ++reports; };
    dz::keygen::GenerationResult r;
    for (auto _ : state) {
        dz::Random rng(kSeed);
        r = dz::keygen::generate(v.inputs, rng, dz::keygen::stopOn(stop), progress);
        benchmark::DoNotOptimize(r.rows.data());
    }
    const reference::Key& ref = referenceKey();
    if (!v.ok() || r.masks.size() < 32000 || sorted(r.masks) != sorted(ref.rows) || int(r.lastEnd) != ref.end ||
        reports == 0)
        state.SkipWithError("the engine's key differs from the reference's");
    state.counters["rows"] = double(r.masks.size());
}
BENCHMARK(BM_KeygenGenerator)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(false);

void BM_KeygenWindow(benchmark::State& state) {
    dz::keygen::MainWindow w(false);
    w.show();
    w.state().setChosen(dz::keygen::kAllNumbers);
    auto text = [&w](const char* name) { return w.findChild<QLineEdit*>(QLatin1String(name)); };
    text("Text1")->setText(QString::number(kRows));
    text("Text2")->setText(QString::number(kType));
    text("Text7")->setText(QString::number(kOverlap));
    auto* go = w.findChild<QPushButton*>(QStringLiteral("Command3D3"));
    auto* list = w.findChild<dz::ui::ListBox*>(QStringLiteral("List1"));
    auto* label7 = w.findChild<QLabel*>(QStringLiteral("Label7"));
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&w, &dz::keygen::MainWindow::generationFinished, &loop, &QEventLoop::quit);
        go->click();
        if (w.busy()) loop.exec();
    }
    const QStringList shown = list->items();
    std::vector<uint32_t> rows;
    rows.reserve(size_t(shown.size()));
    for (const QString& s : shown) rows.push_back(dz::key::rowMask(s.toStdString()));
    if (shown.size() < 32000 || label7->text() != dz::str(shown.size()) || !obeysRule(rows))
        state.SkipWithError("the window showed no full key");
    state.counters["rows"] = double(shown.size());
}
BENCHMARK(BM_KeygenWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(false);

}  // namespace
