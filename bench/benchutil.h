// What the benchmarks share: one synthetic history of the real one's size, written once.
#pragma once
#include "core/draws.h"
#include "core/keyfile.h"
#include "core/random.h"
#include "core/textfile.h"

#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <bit>
#include <vector>

namespace bench {

inline constexpr size_t kHistoryDraws = 1'500'000;

// The history as a "vevud.txt" on disk (written on first use, outside the timings when the
// benchmark main calls it first).
const QString& historyFile();
// The same history opened once (each pass reads it again).
const dz::DrawFile& history();
// The history opened anew, as an analysis opens it at every run (timed with the run).
inline dz::DrawFile openHistory() { return *dz::DrawFile::load(historyFile()); }
// The draw window start W as Start leaves it for the history.
inline long long windowStart() { return dz::drawWindowStart(static_cast<long long>(kHistoryDraws)); }
// A pass over the history written apart from the reader, the yardstick of every pass: its own read
// loop over the file's bytes, each line's eight number fields read at their fixed columns, and the
// sum of the lines' number masks as its tally.
uint32_t plainPassTally(const QString& path);
// That tally of the history, counted once.
uint32_t historyTally();
inline void plainPass(benchmark::State& st) {
    const uint32_t want = historyTally();
    uint32_t acc = 0;
    for (auto _ : st) {
        acc = plainPassTally(historyFile());
        benchmark::DoNotOptimize(acc);
    }
    if (acc != want) st.SkipWithError("the plain pass did not read the history");
}
// One streaming pass of the history opened anew, the reader's share of every analysis.
inline void streamingPass(benchmark::State& st) {
    const uint32_t want = historyTally();
    uint32_t acc = 0;
    for (auto _ : st) {
        const dz::DrawFile f = openHistory();
        acc = 0;
        dz::forEachDraw(f, [&](const dz::DrawLine& l) { acc += l.record.mask; });
        benchmark::DoNotOptimize(acc);
    }
    if (acc != want) st.SkipWithError("the streaming pass did not read the history");
}
// Its records, read once.
const std::vector<dz::DrawRecord>& historyRecords();

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
