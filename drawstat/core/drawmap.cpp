#include "drawstat/core/drawmap.h"

#include "common/core/cp1250.h"
#include "common/core/textfmt.h"

namespace dz::drawstat {

QString mapLine(const QString& drawKey, uint32_t mask) {
    QString line;
    line.reserve(drawKey.size() + 23);
    line += drawKey;
    line += QStringLiteral("   ");
    for (int n = 1; n <= 20; ++n) line += (mask >> n) & 1u ? QLatin1Char('o') : QLatin1Char('_');
    return line;
}

QStringList drawMap(const dz::DrawFile& file, long long windowStart) {
    QStringList out;
    const size_t first = windowStart < 0 ? 0 : size_t(windowStart);
    dz::forEachDraw(
        file, [&](const dz::DrawLine& l) { out.append(mapLine(dz::cp1250::decode(dz::drawKey(l.item)), l.record.mask)); },
        first);
    return out;
}

QString mapTooltip(const QString& line) {
    QString text;
    if (line.size() < 20) return text;
    const qsizetype base = line.size() - 20;
    for (int n = 1; n <= 20; ++n)
        if (line[base + n - 1] == QLatin1Char('o')) text += dz::format(n, "00") + QLatin1Char(' ');
    return text;
}

}  // namespace dz::drawstat
