#include "csere/core/keyrows.h"

#include "common/core/keyfile.h"
#include "common/core/textfmt.h"

#include <bit>
#include <cmath>

namespace dz::csere {

int fieldCount(QStringView row, CountRule rule) {
    const qsizetype len = row.size();
    if (rule == CountRule::IntegerPart) return static_cast<int>((len + 1) / 3);
    return static_cast<int>(dz::roundHalfEven(static_cast<double>(len + 1) / 3.0));
}

Field field(QStringView row, int j) {
    const qsizetype start = 3 * qsizetype(j - 1);
    if (j < 1 || start >= row.size()) return {};
    const double v = dz::val(row.mid(start, std::min<qsizetype>(3, row.size() - start)));
    if (v == 0) return {};
    if (v < 1 || v > 20 || v != std::floor(v)) return {FieldKind::Bad, 0};
    return {FieldKind::Number, static_cast<int>(v)};
}

uint32_t rowMask(QStringView row, CountRule rule, int* count) {
    const int t = fieldCount(row, rule);
    if (count) *count = t;
    uint32_t m = 0;
    for (int j = 1; j <= t; ++j) {
        const Field f = field(row, j);
        if (f.kind == FieldKind::Number) m |= 1u << f.number;
    }
    return m;
}

QString twoDigits(int n) {
    const QChar d[2] = {QLatin1Char(char('0' + (n / 10) % 10)), QLatin1Char(char('0' + n % 10))};
    return QString(d, 2);
}

QString producedRow(uint32_t mask) {
    // the generators' row without its leading blank
    return dz::key::generatedRowFromMask(mask & 0x1FFFFEu).mid(1);
}

namespace {
KeyAnalysis finish(KeyAnalysis a, int rows) {
    a.presence &= 0x1FFFFEu;
    a.distinct = std::popcount(a.presence);
    a.rowCount = rows;
    return a;
}
}  // namespace

AnalysisOutcome analyseKey(const QStringList& rows) {
    KeyAnalysis a;
    for (const QString& row : rows) {
        const int t = fieldCount(row, CountRule::Rounded);
        a.gameType = t;
        for (int j = 1; j <= t; ++j) {
            const Field f = field(row, j);
            if (f.kind == FieldKind::Bad) return {KeyAnalysis{}, row};
            if (f.kind == FieldKind::Number) a.presence |= 1u << f.number;
        }
    }
    return {finish(a, int(rows.size())), std::nullopt};
}

QString rejectedKeyMessage(const QString& row) {
    // a row of any length may stand in a file; the message shows its start
    return QStringLiteral("20-nél nagyobb szám van a kulcsban !") + QLatin1Char('\r') + dz::quoted(row);
}

QString longRowMessage(const QString& row) {
    return QStringLiteral("8-nál több szám van a sorban !") + QLatin1Char('\r') + dz::quoted(row);
}

KeyAnalysis reanalyseSkipping(const QStringList& rows) {
    KeyAnalysis a;
    for (const QString& row : rows) a.presence |= rowMask(row, CountRule::Rounded, &a.gameType);
    return finish(a, int(rows.size()));
}

KeyAnalysis analyseTakenBack(const QStringList& rows) {
    KeyAnalysis a;
    for (const QString& row : rows) {
        int t = 0;
        a.presence |= rowMask(row, CountRule::Rounded, &t);
        a.gameType = std::max(a.gameType, t);
    }
    return finish(a, int(rows.size()));
}

QStringList presentNumbers(uint32_t presence) {
    QStringList out;
    for (int n = 1; n <= 20; ++n)
        if (presence & (1u << n)) out << twoDigits(n);
    return out;
}

QString rowLimitMessage() { return QStringLiteral("Lista betelt, maximum 32736 sor tölthető be !"); }

}  // namespace dz::csere
