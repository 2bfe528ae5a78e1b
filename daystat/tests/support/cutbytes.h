// The cut over a history held in memory: the tests' and fuzz targets' way in, read exactly as the
// program reads "vevud.txt".
#pragma once
#include "daystat/core/cut.h"

#include <string>
#include <string_view>

namespace dz::daystat::testing {

// How many records the text holds: every line counts.
size_t countRecords(std::string_view bytes);
// The last n records (all of them when n is at least the count), each line ended by CR LF.
std::string lastRecords(std::string_view bytes, size_t n);
// Every record whose draw key lies in from..to; count receives the number of records.
std::string recordsInRange(std::string_view bytes, std::string_view from, std::string_view to, long long& count);
// The first and the last record (nullopt: an empty history).
std::optional<HistoryBounds> historyBounds(std::string_view bytes);

}  // namespace dz::daystat::testing
