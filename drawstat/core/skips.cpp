#include "skips.h"

#include "core/cp1250.h"
#include "core/textfmt.h"

#include <cmath>

namespace drawstat {

QString appearanceLine(const QString& drawKey, long long gap) {
    QString line = drawKey + QLatin1Char(' ') + dz::format(gap - 1, "@@");
    if (gap == 1) line += QLatin1Char('*');
    return line;
}

QString closingLine(long long gap) { return QString(13, QLatin1Char(' ')) + dz::format(gap, "@@"); }

LifePath lifePath(const dz::DrawFile& file, int m, long long listFrom) {
    LifePath out;
    if (m < 1 || m > 20) return out;
    const uint32_t bit = 1u << m;
    std::array<int32_t, kMaxCountedGap + 1> dist{};
    // Only the latest kRowLimit lines stay, so the appearances are first marked, then the kept
    // ones are written: a long history never builds lines it throws away.
    std::vector<std::pair<uint32_t, long long>> hits;  // 0-based draw index, gap
    long long gap = 0;
    const auto& recs = file.records();
    for (size_t i = 0; i < recs.size(); ++i) {
        ++gap;
        if (!(recs[i].mask & bit)) continue;
        if (gap <= kMaxCountedGap) ++dist[size_t(gap)];
        if (static_cast<long long>(i) + 1 > listFrom) {
            hits.emplace_back(uint32_t(i), gap);
            // only the latest rows can stay: a build that lists every appearance keeps no more
            if (hits.size() >= 2 * size_t(dz::kRowLimit)) hits.erase(hits.begin(), hits.end() - dz::kRowLimit);
        }
        gap = 0;
    }
    const size_t total = hits.size() + (gap != 0 ? 1 : 0);
    const size_t drop = total > size_t(dz::kRowLimit) ? total - size_t(dz::kRowLimit) : 0;
    out.appearances.reserve(qsizetype(total - drop));
    for (size_t h = drop; h < hits.size(); ++h)
        out.appearances.append(appearanceLine(dz::cp1250::decode(dz::drawKey(file.item(hits[h].first))), hits[h].second));
    if (gap != 0) out.appearances.append(closingLine(gap));

    int top = -1;
    for (int g = kMaxCountedGap; g >= 0; --g)
        if (dist[size_t(g)] != 0) {
            top = g;
            break;
        }
    for (int g = 1; g <= top; ++g)
        out.distribution.append(dz::format(g - 1, "@@") + QLatin1Char(' ') + dz::format(dist[size_t(g)], "@@@@@"));
    return out;
}

std::array<long long, 21> drawsSince(long long drawCount, const std::array<long long, 21>& lastAppearance) {
    std::array<long long, 21> out{};
    for (int n = 1; n <= 20; ++n) out[size_t(n)] = drawCount - lastAppearance[size_t(n)];
    return out;
}

namespace {
// A threshold as the box shows it: whole values as integers, never an exponent form.
QString thresholdText(double v) {
    if (v >= 1e15) return QString::number(v, 'f', 0);
    if (std::floor(v) == v) return QString::number(static_cast<long long>(v));
    return QString::number(v, 'g', 15);
}
}  // namespace

Threshold sinceThreshold(const QString& boxText) {
    const double v = dz::val(boxText);
    if (v < 1) return {1, QStringLiteral("1")};
    return {v, boxText};
}

QString spinThreshold(const QString& boxText, int step) {
    double v = dz::val(boxText) + step;
    if (v < 1) v = 1;
    return thresholdText(v);
}

}  // namespace drawstat
