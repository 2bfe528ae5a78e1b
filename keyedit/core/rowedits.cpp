#include "keyedit/core/rowedits.h"

#include "common/core/cp1250.h"
#include "common/core/draws.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <algorithm>

namespace dz::keyedit {

namespace {
// One line after another as the load takes them; false once it has stopped.
bool takeLine(LoadedText& t, std::string_view line, bool cut) {
    if (t.rows.size() >= kRowLimit) {
        t.overLimit = true;
        return false;
    }
    if (cut) {
        // The save writes back what the list holds: a row cut here would cut the file.
        t.tooLong = true;
        t.rows.clear();
        return false;
    }
    t.rows << cp1250::decode(line);
    return true;
}
}  // namespace

LoadedText rowsOfText(std::string_view bytes) {
    LoadedText t;
    for (const std::string_view line : splitLines(bytes))
        if (!takeLine(t, line.substr(0, std::min(line.size(), kLineTextLimit)), line.size() > kLineTextLimit)) break;
    return t;
}

std::optional<LoadedText> loadText(const QString& path) {
    LoadedText t;
    // A line past the limit tells that there are more; no more of the file can be of use.
    const bool opened = forEachLine(path, kLineTextLimit, readBudget(size_t(kRowLimit) + 1, kLineTextLimit),
                                    [&](std::string_view line, bool cut) { return takeLine(t, line, cut); });
    if (!opened) return std::nullopt;
    return t;
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
