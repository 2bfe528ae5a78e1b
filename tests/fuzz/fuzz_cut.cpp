// libFuzzer target over the cut of the partial-day file: counting, the last N records, the key
// range, the first and last record's key fields and the range check with its clamps. The records
// a cut writes must be the history's lines, whole and in order.
#include "tests/fuzz/fuzzfault.h"
#include "daystat/core/cut.h"
#include "daystat/tests/support/cutbytes.h"

#include "common/core/textfile.h"


namespace {
[[noreturn]] void fail(const char* what) { dz::fuzz::fault("cut", what); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // the first bytes choose N and the range boxes; the rest is the history
    const size_t n = size > 0 ? size_t(data[0]) : 0;
    std::string_view history = size > 1 ? bytes.substr(1) : std::string_view{};
    // splitLines drops a byte order mark at the start, as the cut does, and only that one
    const auto lines = dz::splitLines(history);
    if (dz::daystat::testing::countRecords(history) != lines.size()) fail("count");
    std::string all;
    for (auto l : lines) all.append(l).append("\r\n");
    if (dz::daystat::testing::lastRecords(history, lines.size()) != all) fail("whole copy");
    const std::string last = dz::daystat::testing::lastRecords(history, n);
    if (last.size() > all.size() || all.compare(all.size() - last.size(), last.size(), last) != 0) fail("tail");

    const auto bounds = dz::daystat::testing::historyBounds(history);
    if (bounds.has_value() != !lines.empty()) fail("bounds");
    dz::daystat::RangeBoxes boxes;
    const std::string_view f = history.substr(0, 16);
    for (int i = 0; i < 4; ++i) {
        boxes.from[i] = QString::fromLatin1(f.substr(std::min<size_t>(f.size(), size_t(i) * 2), 2).data(),
                                            qsizetype(f.substr(std::min<size_t>(f.size(), size_t(i) * 2), 2).size()));
        boxes.to[i] = QString::fromLatin1(f.substr(std::min<size_t>(f.size(), 8 + size_t(i) * 2), 2).data(),
                                          qsizetype(f.substr(std::min<size_t>(f.size(), 8 + size_t(i) * 2), 2).size()));
    }
    const auto check = dz::daystat::checkRange(boxes, bounds);
    if (check.fromKey.size() < 12 || check.toKey.size() < 12) fail("key layout");
    long long count = -1;
    const std::string cut = dz::daystat::testing::recordsInRange(history, check.fromKey, check.toKey, count);
    size_t cutLines = 0;
    for (auto l : dz::splitLines(cut)) {
        (void)l;
        ++cutLines;
    }
    if (count < 0 || size_t(count) != cutLines || cut.size() > all.size()) fail("range");
    (void)dz::daystat::spinStep(boxes.from[0], n % 2 ? 1 : -1, 1, 264);
    return 0;
}
