#include "rowedits.h"

#include "core/cp1250.h"
#include "core/draws.h"
#include "core/textfile.h"
#include "core/textfmt.h"

#include <algorithm>

namespace dz::keyedit {

LoadedText rowsOfText(std::string_view bytes) {
    LoadedText t;
    const auto lines = splitLines(bytes);
    const size_t taken = std::min(lines.size(), size_t(kRowLimit));
    t.overLimit = lines.size() > taken;
    t.rows.reserve(qsizetype(taken));
    for (size_t i = 0; i < taken; ++i) t.rows << cp1250::decode(lines[i]);
    return t;
}

std::optional<LoadedText> loadText(const QString& path) {
    const auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    return rowsOfText(*bytes);
}

bool saveText(const QString& path, const QStringList& rows) { return writeLines(path, rows); }

QString descriptionName(const QString& line) {
    QStringView name = QStringView(line).left(12);
    while (!name.isEmpty() && name.front() == QLatin1Char(' ')) name = name.mid(1);
    while (!name.isEmpty() && name.back() == QLatin1Char(' ')) name.chop(1);
    return name.toString();
}

long long boxNumber(const QString& text) {
    // Far beyond any row count or row length, and far from wrapping in the sums below.
    constexpr long long kClamp = 1'000'000'000'000LL;
    return std::clamp(roundHalfEven(val(QStringView(text))), -kClamp, kClamp);
}

std::optional<RowRange> rangeOfSelection(const std::vector<bool>& selected, int currentRow0) {
    if (std::find(selected.begin(), selected.end(), true) == selected.end()) return std::nullopt;
    if (currentRow0 < 0) return std::nullopt;
    RowRange r;
    r.to = currentRow0 + 1;
    long long row = currentRow0;  // 1-based number of the row above the current one
    while (row >= 1 && size_t(row - 1) < selected.size() && selected[size_t(row - 1)]) --row;
    r.from = row + 1;
    return r;
}

QString refusalMessage(Refusal r) {
    switch (r) {
    case Refusal::Range: return QStringLiteral("Híbás tól: - ig: paraméterek !");
    case Refusal::Left: return QStringLiteral("Híbás bal: paraméter !");
    case Refusal::Right: return QStringLiteral("Híbás jobb: paraméter !");
    case Refusal::None: break;
    }
    return {};
}

namespace {
bool badRange(long long from, long long to, long long limit) { return to < from || from == 0 || to == 0 || to > limit; }

// Characters [start, start + count) of a row, clamped to the row: never "the whole row" for a
// negative count.
QString part(const QString& row, long long start, long long count) {
    const long long len = row.size();
    start = std::clamp(start, 0LL, len);
    count = std::clamp(count, 0LL, len - start);
    return row.mid(qsizetype(start), qsizetype(count));
}

template <class F>
QStringList eachRow(const QStringList& rows, F f) {
    QStringList out;
    out.reserve(rows.size());
    for (const QString& r : rows) out << f(r);
    return out;
}
}  // namespace

Refusal deleteRows(QStringList& rows, long long from, long long to) {
    if (badRange(from, to, rows.size())) return Refusal::Range;
    // The rows kept are those outside from..to: a from below 1 deletes from the first row on,
    // a to below 1 deletes nothing.
    const long long first = std::max(from, 1LL) - 1;
    if (to > first) rows.erase(rows.begin() + qsizetype(first), rows.begin() + qsizetype(to));
    return Refusal::None;
}

Refusal cutLeft(const QStringList& rows, long long n, QStringList* out) {
    if (rows.isEmpty()) return Refusal::None;
    if (n >= rows.front().size()) return Refusal::Left;
    *out = eachRow(rows, [n](const QString& r) { return part(r, std::max(n, 0LL), r.size()); });
    return Refusal::None;
}

Refusal cutRight(const QStringList& rows, long long n, QStringList* out) {
    if (rows.isEmpty()) return Refusal::None;
    if (n >= rows.front().size()) return Refusal::Right;
    *out = eachRow(rows, [n](const QString& r) { return part(r, 0, r.size() - std::max(n, 0LL)); });
    return Refusal::None;
}

Refusal cutMiddle(const QStringList& rows, long long from, long long to, QStringList* out) {
    if (rows.isEmpty()) return Refusal::None;
    if (badRange(from, to, rows.front().size())) return Refusal::Range;
    *out = eachRow(rows, [from, to](const QString& r) { return part(r, 0, from - 1) + part(r, to, r.size()); });
    return Refusal::None;
}

}  // namespace dz::keyedit
