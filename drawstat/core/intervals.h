// Interval patterns: how many numbers of each draw fall into 1-5, 6-10, 11-15 and 16-20.
#pragma once
#include "common/core/draws.h"

#include <QString>
#include <QStringList>
#include <array>

namespace dz::drawstat {

// Counts of a draw in the four intervals (slots 1..4; slot 0 unused). Number fields that do not
// read as 1..20 are skipped.
std::array<int, 5> intervalCounts(const dz::DrawRecord& r);
// c1 c2 c3 c4 read as a four-digit decimal number (2 2 2 2 -> 2222).
int patternCode(const std::array<int, 5>& counts);
// The draw's line: key, 5 blanks, the four counts ("_" for 0) 3 blanks apart.
QString intervalLine(const QString& drawKey, const std::array<int, 5>& counts);

struct IntervalResult {
    QStringList draws;        // one line per draw after W
    QStringList byCode;       // " 5 3 0 0  123", ascending pattern code
    QStringList byFrequency;  // " 123  5 3 0 0", rarest first (ascending text)
};

// Only draws whose 1-based index is greater than windowStart take part.
// joinedTally writes the code order's row without the blank between pattern and tally.
IntervalResult intervalPatterns(const dz::DrawFile& file, long long windowStart, bool joinedTally = false);

}  // namespace dz::drawstat
