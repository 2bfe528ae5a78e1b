#include "startstats.h"

#include "core/textfile.h"
#include "core/textfmt.h"

namespace drawstat {

StartStats computeStart(const dz::DrawFile& file) {
    StartStats s;
    const auto& recs = file.records();
    long long count = 0;
    for (const dz::DrawRecord& r : recs) {
        ++count;
        for (int8_t v : r.num) {
            if (v < 0) continue;  // a field outside 0..20 is not counted
            s.lastAppearance[size_t(v)] = count;
            ++s.frequency[size_t(v)];
        }
    }
    s.drawCount = count;
    s.tooltip = dz::str(count);
    s.byNumber.reserve(20);
    s.byCount.reserve(20);
    for (int n = 1; n <= 20; ++n) {
        s.byNumber << dz::format(n, "00") + QStringLiteral("  ") + dz::format(s.frequency[size_t(n)], "@@@@@@");
        s.byCount << dz::format(s.frequency[size_t(n)], "@@@@@@") + QStringLiteral("    ") + dz::format(n, "00");
    }
    return s;
}

QStringList fullListLines(const dz::DrawFile& file) {
    const size_t n = file.size();
    const size_t first = n > size_t(dz::kFullListLimit) ? n - size_t(dz::kFullListLimit) : 0;
    QStringList out;
    out.reserve(qsizetype(n - first));
    for (size_t i = first; i < n; ++i) out << dz::decodeCapped(file.line(i));
    return out;
}

}  // namespace drawstat
