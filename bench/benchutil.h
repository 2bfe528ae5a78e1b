// What the benchmarks share: one history of the real one's size (the file DIZOV_BENCH_HISTORY
// names, else a synthetic one written once), a program folder that holds it under the names the
// windows read, and the checks that fail a run that did not produce its result.
//
// A run over a history with no draws has timed nothing. Every way to the history below
// (historyFile, history, historyRecords, historyFolder and all that is built on them) notes that
// the running benchmark read it, and when it holds no draws the main reports that benchmark as
// failed ("the history holds no draws", the binary ends 1), whatever the benchmark checked itself.
// A history that cannot be opened stops the binary before any benchmark (it ends 2).
#pragma once
#include "common/core/draws.h"
#include "common/core/keyfile.h"
#include "common/core/random.h"
#include "common/core/textfile.h"

#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <bit>
#include <string>
#include <vector>

namespace bench {

// The size of the synthetic history.
inline constexpr size_t kHistoryDraws = 1'500'000;

// The history on disk: the file DIZOV_BENCH_HISTORY names, whatever its name, else a synthetic
// "vevud.txt" (written on first use, outside the timings since the benchmark main calls it first).
const QString& historyFile();
// The same history opened once (each pass reads it again).
const dz::DrawFile& history();
// Its draw count.
inline long long historyDraws() { return static_cast<long long>(history().size()); }
// The history opened anew, as an analysis opens it at every run (timed with the run). The main has
// checked that it opens.
inline dz::DrawFile openHistory() { return *dz::DrawFile::load(historyFile()); }
// The draw window start W as Start leaves it for the history.
inline long long windowStart() { return dz::drawWindowStart(historyDraws()); }
// The draws after W, which the analyses that honour it list one a line.
inline long long windowDraws() { return std::max(0LL, historyDraws() - windowStart()); }
// Its records, read once.
const std::vector<dz::DrawRecord>& historyRecords();

// Copies the history into folder as "vevud.txt" and as the partial-day "vevud.dat", so that a
// window reading either from its program folder finds it; false when that failed.
bool placeHistory(const QString& folder);
// A program folder of the binary's own with the history placed in it (made once).
const QString& historyFolder();

// Fails the benchmark when its run did not produce its result: the run is reported as an error
// and the binary ends non-zero. Returns ok, so that a loop can leave: if (!require(...)) break;
inline bool require(benchmark::State& st, bool ok, const std::string& what) {
    if (!ok && !st.error_occurred()) st.SkipWithError(what.c_str());
    return ok;
}
// The same for a count: got must be want, and a want of 0 fails too (a run over nothing is no result).
inline bool requireCount(benchmark::State& st, long long got, long long want, const std::string& what) {
    return require(st, got == want && want > 0,
                   what + ": " + std::to_string(got) + " where " + std::to_string(want) + " were due");
}
// A count that only has to be above zero.
inline bool requireSome(benchmark::State& st, long long got, const std::string& what) {
    return require(st, got > 0, what + ": none");
}
// The lines of a text file written by the run (0 when it is missing), read outside the timing.
inline long long fileLines(const QString& path) {
    const auto n = dz::countLines(path);
    return n ? static_cast<long long>(*n) : 0;
}

// The process's peak memory over a benchmark's runs: the peak is set back to what the process
// holds when this is made (Linux's clear_refs), and report() gives the peak since as the counter
// peakMB, and the part of it the runs added as runMB. Nothing is reported where the peak cannot be
// set back.
class PeakMemory {
public:
    PeakMemory();
    void report(benchmark::State& st) const;

private:
    long startKb_ = -1;
};

// The yardstick of every pass (BM_PlainPass), written apart from the reader: its own read loop
// over the file's bytes, each line's eight number fields read at their fixed columns, and the sum
// of the lines' number masks as its tally.
uint32_t fixedColumnTally(const QString& path);
// That tally of the history, counted once.
uint32_t historyTally();
inline void fixedColumnPass(benchmark::State& st) {
    const uint32_t want = historyTally();
    uint32_t acc = 0;
    for (auto _ : st) {
        acc = fixedColumnTally(historyFile());
        benchmark::DoNotOptimize(acc);
    }
    require(st, acc == want, "the fixed-column pass did not read the history");
}
// One streaming pass of the history opened anew, the reader's share of every analysis, with the
// line scan given.
inline void streamingPassWith(benchmark::State& st, dz::LineScan scan) {
    const uint32_t want = historyTally();
    uint32_t acc = 0;
    for (auto _ : st) {
        const dz::DrawFile f = openHistory();
        acc = 0;
        long long lines = 0;
        dz::forEachDraw(
            f,
            [&](const dz::DrawLine& l) {
                acc += l.record.mask;
                ++lines;
            },
            0, scan);
        benchmark::DoNotOptimize(acc);
        if (!requireCount(st, lines, historyDraws(), "draws read")) break;
    }
    require(st, acc == want, "the streaming pass did not read the history");
}
// The same with the processor's best scan.
inline void streamingPass(benchmark::State& st) { streamingPassWith(st, dz::LineScan::Best); }

// A full key of random eight-number rows, as the generators write it, saved to path.
inline void writeFullKey(const QString& path, unsigned seed) {
    dz::Random rng(seed);
    QStringList rows;
    rows.reserve(dz::kRowLimit);
    for (int i = 0; i < dz::kRowLimit; ++i) {
        uint32_t m = 0;
        while (std::popcount(m) < 8) m |= 1u << rng.drawNumber(20);
        rows << dz::key::generatedRowFromMask(m);
    }
    dz::writeLines(path, rows);
}

}  // namespace bench
