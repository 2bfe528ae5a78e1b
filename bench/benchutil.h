// What the benchmarks share: one synthetic history of the real one's size, written once.
#pragma once
#include "core/draws.h"

#include <QString>
#include <vector>

namespace bench {

inline constexpr size_t kHistoryDraws = 1'500'000;

// The history as a "vevud.txt" on disk (written on first use, outside the timings when the
// benchmark main calls it first).
const QString& historyFile();
// The same history opened once (each pass reads it again).
const dz::DrawFile& history();
// Its records, read once.
const std::vector<dz::DrawRecord>& historyRecords();

}  // namespace bench
