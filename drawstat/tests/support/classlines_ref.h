// The identity and adhesion lines as strings, made the way the passes made them before they kept
// records: the reference every record line must equal, and the texts of a result for the tests.
#pragma once
#include "common/core/cp1250.h"
#include "drawstat/core/distributions.h"
#include "common/core/textfmt.h"

#include <bit>

namespace dz::drawstat::testing {

// A result's lines as text.
struct ClassTexts {
    QStringList lines;
    std::array<QStringList, 9> classes;
    int topIndex() const { return int(lines.size()) - 16; }
};

inline ClassTexts texts(const ClassResult& r) {
    ClassTexts t;
    t.lines = dz::allLines(*r.lines);
    for (size_t k = 0; k < 9; ++k) t.classes[k] = dz::allLines(*r.classes[k]);
    return t;
}

namespace ref {

inline QString keyText(const dz::DrawLine& l) { return dz::cp1250::decode(dz::drawKey(l.item)); }
// The result list keeps the newest draw lines that fit beside its distribution.
inline QStringList newest(const QStringList& lines, int limit) {
    return lines.size() > limit ? lines.mid(lines.size() - limit) : lines;
}
inline QString two(int v) { return QString::number(v / 10) + QString::number(v % 10); }

inline ClassTexts identity(const dz::DrawFile& file, long long windowStart, const Rules& rules = {}) {
    ClassTexts r;
    std::array<long long, 9> counts{};
    uint32_t prev = 0;
    const long long limit = rules.identityListsAll && windowStart <= 32722 ? 0 : windowStart + 12;
    dz::forEachDraw(file, [&](const dz::DrawLine& l) {
        const long long index = static_cast<long long>(l.index) + 1;
        const uint32_t shared = prev & l.record.mask;
        prev = l.record.mask;
        if (l.index == 0) return;
        const int k = std::popcount(shared);
        ++counts[size_t(k)];
        QString line = keyText(l) + QStringLiteral("   * ") + QString::number(k) + QStringLiteral("   ");
        for (uint32_t m = shared & 0x1FFFFEu; m; m &= m - 1) line += two(std::countr_zero(m)) + QLatin1Char(' ');
        if (index > limit) r.lines << line;
        if (rules.classLists && r.classes[size_t(k)].size() < dz::kRowLimit) r.classes[size_t(k)] << line;
    });
    r.lines = newest(r.lines, dz::kRowLimit - 12);
    r.lines << QString() << identityHeading() << QString();
    for (int k = 0; k <= 8; ++k) r.lines << dz::str(k) + QStringLiteral("  ") + dz::str(counts[size_t(k)]);
    return r;
}

inline ClassTexts adhesion(const dz::DrawFile& file, long long windowStart, const Rules& rules = {}) {
    ClassTexts r;
    std::array<long long, 9> counts{};
    const long long limit = rules.runsFromWindow ? 0 : windowStart + 12;
    const qsizetype starAt = rules.runDigitFirst ? 17 : 16, digitAt = rules.runDigitFirst ? 16 : 17;
    dz::forEachDraw(file, [&](const dz::DrawLine& l) {
        const long long index = static_cast<long long>(l.index) + 1;
        if (rules.runsFromWindow && index < windowStart) return;
        const auto& num = l.record.num;
        int start = 0, run = 1;
        for (int j = 1; j <= 8; ++j) {
            if (j < 8 && num[j - 1] >= 0 && num[j] == num[j - 1] + 1) {
                ++run;
                continue;
            }
            if (run >= 4) {
                ++counts[size_t(run)];
                QString line = keyText(l) + QString(7, QLatin1Char(' '));
                for (int m = start; m < start + run; ++m) line += QStringLiteral("  ") + two(num[size_t(m)]);
                if (line.size() > starAt) line[starAt] = QLatin1Char('*');
                if (line.size() > digitAt) line[digitAt] = QLatin1Char(char('0' + run));
                if (index > limit) r.lines << line;
                if (rules.classLists && r.classes[size_t(run)].size() < dz::kRowLimit) r.classes[size_t(run)] << line;
            }
            start = j;
            run = 1;
        }
    });
    r.lines = newest(r.lines, dz::kRowLimit - 8);
    r.lines << QString() << adhesionHeading() << QString();
    for (int k = 4; k <= 8; ++k) r.lines << dz::str(k) + QStringLiteral("  ") + dz::format(counts[size_t(k)], "@@@@@");
    return r;
}

}  // namespace ref
}  // namespace dz::drawstat::testing
