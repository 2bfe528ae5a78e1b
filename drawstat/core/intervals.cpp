#include "drawstat/core/intervals.h"

#include "common/core/cp1250.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <vector>

namespace dz::drawstat {

std::array<int, 5> intervalCounts(const dz::DrawRecord& r) {
    std::array<int, 5> c{};
    for (int8_t n : r.num)
        if (n >= 1 && n <= 20) ++c[size_t((n - 1) / 5 + 1)];
    return c;
}

int patternCode(const std::array<int, 5>& c) { return c[1] * 1000 + c[2] * 100 + c[3] * 10 + c[4]; }

QString intervalLine(const QString& drawKey, const std::array<int, 5>& c) {
    QString line = drawKey + QStringLiteral("     ");
    for (int k = 1; k <= 4; ++k) {
        if (k > 1) line += QStringLiteral("   ");
        line += c[size_t(k)] == 0 ? QLatin1Char('_') : QLatin1Char(char('0' + c[size_t(k)]));
    }
    return line;
}

IntervalResult intervalPatterns(const dz::DrawFile& file, long long windowStart, bool joinedTally) {
    IntervalResult out;
    // A well-formed draw has at most 5 in an interval (codes up to 5500); a record with repeated
    // numbers can reach 8, so the table covers every four-digit code. 32-bit: a daystat build or
    // a longer window never wraps a count.
    std::vector<int32_t> freq(10000, 0);
    const size_t first = windowStart < 0 ? 0 : size_t(windowStart);
    dz::forEachDraw(
        file,
        [&](const dz::DrawLine& l) {
            const auto c = intervalCounts(l.record);
            out.draws.append(intervalLine(dz::cp1250::decode(dz::drawKey(l.item)), c));
            ++freq[size_t(patternCode(c))];
        },
        first);
    for (int code = 1; code < 10000; ++code) {
        const int32_t f = freq[size_t(code)];
        if (f == 0) continue;
        const QString pattern = dz::format(code, "0 0 0 0");
        const QString count = dz::format(f, "@@@@");
        out.byCode.append(QLatin1Char(' ') + pattern + (joinedTally ? QString() : QStringLiteral(" ")) + count);
        out.byFrequency.append(count + QStringLiteral("  ") + pattern);
    }
    std::stable_sort(out.byFrequency.begin(), out.byFrequency.end());
    return out;
}

}  // namespace dz::drawstat
