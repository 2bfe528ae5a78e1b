#include "daystat/tests/support/cutbytes.h"

#include "common/core/draws.h"

namespace dz::daystat::testing {

namespace {
dz::DrawFile history(std::string_view bytes) { return dz::DrawFile::fromBytes(std::string(bytes)); }
}  // namespace

size_t countRecords(std::string_view bytes) { return history(bytes).size(); }

std::string lastRecords(std::string_view bytes, size_t n) { return copyLast(history(bytes), n); }

std::string recordsInRange(std::string_view bytes, std::string_view from, std::string_view to, long long& count) {
    return copyRange(history(bytes), from, to, count);
}

std::optional<HistoryBounds> historyBounds(std::string_view bytes) { return boundsOf(history(bytes)); }

}  // namespace dz::daystat::testing
