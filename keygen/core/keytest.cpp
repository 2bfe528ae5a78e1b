#include "keygen/core/keytest.h"

#include "common/core/popcountclones.h"
#include "common/core/suite.h"
#include "common/core/random.h"
#include "common/core/textfmt.h"

#include <bit>
#include <limits>

namespace dz::keygen {

std::optional<Message> validateKeyTest(const KeyTestInputs& in) {
    auto fail = [](const char* text) { return Message{QString::fromUtf8(text), dz::signature(), MessageIcon::Critical}; };
    if (in.rows.isEmpty()) return fail("Nincs kombináció generálva !");
    if (in.hits == 0) return fail("Nincs megadva, hogy hány számot találtam el !");
    if (in.hits > countOf(in.chosen)) return fail("A találat nem lehet nagyobb a kiválasztott számok számától !");
    if (in.trials == 0) return fail("Nincs megadva, hogy hányszor teszteljem !");
    return std::nullopt;
}

QString trialLine(long long trial, const std::array<int, 4>& misses) {
    QString s = dz::format(trial, "00") + QStringLiteral("   ");
    for (int c : misses) s += QString::number(c) + QStringLiteral("  ");
    return s;
}

QStringList summaryLines(const std::array<long long, 4>& c) {
    QStringList out;
    for (int i = 0; i < 4; ++i) out << QString::number(i) + QStringLiteral(" hiba : ") + dz::str(c[size_t(i)]);
    return out;
}

NumberMask testRowMask(const QString& row, long long type) {
    NumberMask m = 0;
    for (long long a = 1; a <= type; ++a) {
        const long long start = 3 * (a - 1) + 1;
        if (start > row.size()) break;  // the cells after the row's end are empty: value 0
        const double v = dz::val(QStringView(dz::mid(row, qsizetype(start), 3)));
        if (!(v > -1e9 && v < 1e9)) continue;  // an overflowing cell: the fault is passed over
        const long long n = dz::roundHalfEven(v);
        if (n >= 1 && n <= 20) m |= 1u << n;  // outside the table: skipped
    }
    return m;
}

namespace {
// The rows missing 0..3 numbers of a draw.  Built twice, the hardware popcount clone chosen at
// load time where the processor has the instruction.
DZ_POPCOUNT_CLONES
void countMisses(const NumberMask* masks, size_t n, NumberMask drawn, long long t, int tableTop,
                 std::array<int, 4>& misses) {
    for (size_t i = 0; i < n; ++i) {
        const long long entry = t - std::popcount(masks[i] & drawn) + 1;
        // entries 1..4 are the columns; an entry outside the table is not counted, and the
        // other entries are neither shown nor used
        if (entry >= 1 && entry <= 4 && entry <= tableTop) ++misses[size_t(entry - 1)];
    }
}
}  // namespace

KeyTestResult runKeyTest(const KeyTestInputs& in, dz::Random& rng) {
    KeyTestResult res;
    if (validateKeyTest(in)) return res;
    if (in.reseed) rng.reseedFromClock();

    std::vector<NumberMask> masks;
    masks.reserve(size_t(in.rows.size()));
    for (const QString& r : in.rows) masks.push_back(testRowMask(r, in.type));
    const NumberMask chosen = in.chosen & kAllNumbers;

    // T rounded to a whole number; the trial counter is 32-bit.
    const double tr = in.trials;
    long long trials = 0;
    if (tr >= double(std::numeric_limits<int32_t>::max())) trials = std::numeric_limits<int32_t>::max();
    else if (tr > 0) trials = dz::roundHalfEven(tr);
    const long long t = in.type;
    const double h = in.hits;

    for (long long trial = 1; trial <= trials; ++trial) {
        NumberMask drawn = 0;
        int draws = 0, got = 0;
        bool gaveUp = false;
        do {
            if (++draws > 10000) {
                gaveUp = true;
                break;
            }
            const int n = drawNumber(rng);
            const NumberMask bit = 1u << n;
            if ((chosen & bit) && !(drawn & bit)) {
                drawn |= bit;
                ++got;
            }
        } while (!(got == h));
        if (gaveUp) {
            ++res.givenUp;
            continue;
        }
        Trial tl;
        tl.number = trial;
        countMisses(masks.data(), masks.size(), drawn, t, in.tableTop, tl.misses);
        for (int c = 0; c < 4; ++c)
            if (tl.misses[size_t(c)] > 0) {
                tl.missClass = c;
                ++res.classes[size_t(c)];
                break;
            }
        res.list4 << trialLine(trial, tl.misses);
        res.trials.push_back(tl);
    }
    res.list5 = summaryLines(res.classes);
    return res;
}

}  // namespace dz::keygen
