#include "csere/core/operations.h"

#include "common/core/suite.h"
#include "common/core/combinations.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace dz::csere {

using dz::str;

QString Message::text() const {
    switch (code) {
    case Msg::None: return {};
    case Msg::NoKey: return QStringLiteral("Nincs kulcs kiválasztva !");
    case Msg::ExactCount: return QStringLiteral("Pontosan ") + str(arg) + QStringLiteral(" számot kell kiválasztani !");
    case Msg::NoReplaced: return QStringLiteral("Nincs CSERÉLENDŐ szám kiválasztva !");
    case Msg::NoSwapChosen: return QStringLiteral("Nincs CSERE kiválasztva !");
    case Msg::BadSwapChoice: return QStringLiteral("Hibás CSERE kiválasztás !");
    case Msg::NoFix: return QStringLiteral("Nincs FIX kiválasztva !");
    case Msg::BadFix:
        return QStringLiteral("Hibás FIX kiválasztás !") + QLatin1Char('\r') + QString::number(arg) +
               QStringLiteral("-s szám már szerepel a kulcsban !");
    case Msg::BadCount: return QStringLiteral("Hibás szám darab megadás !");
    case Msg::BadFrom: return QStringLiteral("Hibás - Tól: - megadás !");
    case Msg::BadTo: return QStringLiteral("Hibás - Ig: - megadás !");
    case Msg::BadRange: return QStringLiteral("Hibás intervallum <-> darab összefüggés !");
    case Msg::NoKeyLoaded: return QStringLiteral("Nincs kulcs betöltve !");
    case Msg::BadNewType:
        return QStringLiteral("Nincs jól megadva az új típus !") + QLatin1Char('\r') + QStringLiteral("Minimum: ") + str(arg);
    case Msg::MaxType8: return QStringLiteral("Maximum 8-s típus adható meg !");
    case Msg::NotEnoughMarked:
        return QStringLiteral("Nincs elég szám kijelölve !") + QLatin1Char('\r') + QStringLiteral("Minimum: ") + str(arg);
    case Msg::RowsLeftOut:
        return QStringLiteral("Nincs elég kijelölt szám a bővítéshez,") + str(arg) +
               QStringLiteral(" sor kimaradt az új kulcsból !");
    case Msg::NoVariedCount: return QStringLiteral("Nincs megadva, hogy hány számot variáljak !");
    case Msg::BadVariedCount: return QStringLiteral("Hibás variált szám megadás !");
    case Msg::Max20: return QStringLiteral("Maximum 20 szám adható meg !");
    case Msg::MaxRows: return QStringLiteral("Maximum 32736 soros kulcs generálható!");
    case Msg::NoRowI: return QStringLiteral("Nincs listasor (I.) kiválasztva ");
    case Msg::NoRowII: return QStringLiteral("Nincs listasor (II.) kiválasztva ");
    case Msg::NoRowIII: return QStringLiteral("Nincs listasor (III.) kiválasztva ");
    case Msg::UnpairedI: return QStringLiteral("Nincs minden listasor (I.) párosítva ");
    case Msg::UnpairedII: return QStringLiteral("Nincs minden listasor (II.) párosítva ");
    }
    return {};
}

QString Message::title() const {
    switch (code) {
    case Msg::NoKey:
    case Msg::ExactCount:
    case Msg::NoReplaced:
    case Msg::NoSwapChosen:
    case Msg::BadSwapChoice:
    case Msg::NoFix:
    case Msg::BadFix: return QStringLiteral("Számcsere");
    default: return dz::signature();
    }
}

namespace {
Message refuse(Msg code, long long arg = 0) { return Message{code, arg}; }

// The raw three characters of a field, padded to three (a field without a partner stays as it is).
void appendRawField(QString& out, QStringView row, int j) {
    const qsizetype start = 3 * qsizetype(j - 1);
    QStringView f = start < row.size() ? row.mid(start, std::min<qsizetype>(3, row.size() - start)) : QStringView();
    out += f;
    for (qsizetype k = f.size(); k < 3; ++k) out += QLatin1Char(' ');
}

void appendNumber(QString& out, int n) {
    out += QLatin1Char(char('0' + n / 10));
    out += QLatin1Char(char('0' + n % 10));
    out += QLatin1Char(' ');
}
}  // namespace

OpResult swapNumbers(const QStringList& key, const KeyAnalysis& a, uint32_t marks) {
    if (a.distinct == 0) return {refuse(Msg::NoKey), {}};
    if (a.distinct != std::popcount(marks & 0x1FFFFEu)) return {refuse(Msg::ExactCount, a.distinct), {}};
    // Both tables ascending: the k-th key number becomes the k-th marked number.
    std::array<int, 21> partner{};
    int k = 1;
    std::array<int, 21> fresh{};
    for (int n = 1; n <= 20; ++n)
        if (marks & (1u << n)) fresh[size_t(k++)] = n;
    k = 1;
    for (int n = 1; n <= 20; ++n)
        if (a.presence & (1u << n)) partner[size_t(n)] = fresh[size_t(k++)];
    OpResult r;
    r.rows.reserve(key.size());
    for (const QString& row : key) {
        const int t = fieldCount(row, CountRule::IntegerPart);
        QString out;
        out.reserve(3 * t);
        for (int j = 1; j <= t; ++j) {
            const Field f = field(row, j);
            if (f.kind == FieldKind::Number && partner[size_t(f.number)])
                appendNumber(out, partner[size_t(f.number)]);
            else
                appendRawField(out, row, j);
        }
        r.rows << out;
    }
    return r;
}

OpResult replaceOne(const QStringList& key, const KeyAnalysis& a, uint32_t marks, int x) {
    marks &= 0x1FFFFEu;
    if (x == 0) return {refuse(Msg::NoReplaced), {}};
    if (a.distinct == 0) return {refuse(Msg::NoKey), {}};
    if (marks == 0) return {refuse(Msg::NoSwapChosen), {}};
    if (marks & a.presence) return {refuse(Msg::BadSwapChoice), {}};
    const uint32_t xbit = (x >= 1 && x <= 20) ? 1u << x : 0;
    OpResult r;
    r.rows.reserve(key.size());
    for (const QString& row : key) {
        uint32_t m = rowMask(QStringView(row).trimmed(), CountRule::Rounded);
        if (m & xbit) m = (m & ~xbit) | marks;
        r.rows << producedRow(m);
    }
    return r;
}

OpResult addFix(const QStringList& key, const KeyAnalysis& a, uint32_t marks) {
    marks &= 0x1FFFFEu;
    if (a.distinct == 0) return {refuse(Msg::NoKey), {}};
    if (marks == 0) return {refuse(Msg::NoFix), {}};
    if (const uint32_t clash = marks & a.presence) return {refuse(Msg::BadFix, std::countr_zero(clash)), {}};
    OpResult r;
    r.rows.reserve(key.size());
    for (const QString& row : key) r.rows << producedRow(marks | rowMask(QStringView(row).trimmed(), CountRule::Rounded));
    return r;
}

std::optional<long long> wholeNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 12) return std::nullopt;
    qsizetype i = (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+')) ? 1 : 0;
    if (i == t.size()) return std::nullopt;
    for (qsizetype k = i; k < t.size(); ++k)
        if (t[k] < QLatin1Char('0') || t[k] > QLatin1Char('9')) return std::nullopt;
    return t.toLongLong();
}

RandomSelection randomSelection(const QString& countText, const QString& fromText, const QString& toText,
                                dz::Random& rng) {
    const auto inRange = [](const std::optional<long long>& v) { return v && *v >= 1 && *v <= 20; };
    const auto count = wholeNumber(countText), from = wholeNumber(fromText), to = wholeNumber(toText);
    if (!inRange(count)) return {refuse(Msg::BadCount)};
    if (!inRange(from)) return {refuse(Msg::BadFrom)};
    if (!inRange(to) || *from >= *to) return {refuse(Msg::BadTo)};
    const int lo = int(*from), size = int(*to - *from + 1);
    if (*count > size) return {refuse(Msg::BadRange)};
    uint32_t marks = 0;
    int k = 0;
    while (k < *count) {
        const int n = std::clamp(lo + int(std::floor(size * rng.next() + 1)) - 1, lo, lo + size - 1);
        if (marks & (1u << n)) continue;
        marks |= 1u << n;
        ++k;
    }
    return {Message{}, marks};
}

OpResult extendRandom(const QStringList& key, int cur, const QString& newTypeText, uint32_t marks, dz::Random& rng) {
    marks &= 0x1FFFFEu;
    if (key.isEmpty()) return {refuse(Msg::NoKeyLoaded), {}};
    const auto parsed = wholeNumber(newTypeText);
    if (!parsed || cur >= *parsed) return {refuse(Msg::BadNewType, cur + 1LL), {}};
    const long long target = *parsed;
    if (target > 8) return {refuse(Msg::MaxType8), {}};
    if (cur + std::popcount(marks) < target) return {refuse(Msg::NotEnoughMarked, target - cur), {}};
    rng.reseedFromClock();
    OpResult r;
    r.rows.reserve(key.size());
    long long leftOut = 0;
    for (const QString& row : key) {
        uint32_t m = rowMask(row, CountRule::IntegerPart);
        const int needed = int(target) - std::popcount(m);
        uint32_t avail = marks & ~m;
        if (needed < 0 || std::popcount(avail) < needed) {
            ++leftOut;
            continue;
        }
        // A uniform draw among the numbers still allowed: what drawing 1..20 and redrawing gives.
        for (int added = 0; added < needed; ++added) {
            const int c = std::popcount(avail);
            int pick = std::clamp(int(std::floor(rng.next() * c)), 0, c - 1);
            uint32_t rest = avail;
            while (pick-- > 0) rest &= rest - 1;
            const uint32_t bit = rest & (~rest + 1);
            m |= bit;
            avail &= ~bit;
        }
        r.rows << producedRow(m);
    }
    if (leftOut) r.msg = Message{Msg::RowsLeftOut, leftOut};
    return r;
}

QStringList distribution(const QStringList& key) {
    std::array<long long, 21> count{};
    for (const QString& row : key) {
        const int t = fieldCount(row, CountRule::IntegerPart);
        for (int j = 1; j <= t; ++j) {
            const Field f = field(row, j);
            if (f.kind == FieldKind::Number) ++count[size_t(f.number)];
        }
    }
    QStringList out;
    for (int n = 1; n <= 20; ++n)
        if (count[size_t(n)]) out << QStringLiteral("  ") + twoDigits(n) + QStringLiteral("  ") + str(count[size_t(n)]);
    return out;
}

Combinations fullCombinations(const QString& countText, int t, const std::function<void(long long rows)>& progress) {
    Combinations c;
    const double v = dz::val(QStringView(countText));
    // Far outside any count: refused as too many (or, when negative, too few) without converting.
    const long long n = std::fabs(v) > 1e9 ? (v > 0 ? 1000000000LL : -1000000000LL) : dz::roundHalfEven(v);
    if (n == 0) return {refuse(Msg::NoVariedCount), {}, {}};
    if (n < t) return {refuse(Msg::BadVariedCount), {}, {}};
    if (n > 20) return {refuse(Msg::Max20), {}, {}};
    const long long total = dz::binomial(int(n), t);
    c.countShown = total;
    if (total > kRowLimit) {
        c.msg = refuse(Msg::MaxRows);
        return c;
    }
    c.rows.reserve(qsizetype(total));
    std::array<int, 9> a{};
    for (int j = 0; j < t; ++j) a[size_t(j)] = j + 1;
    const int N = int(n);
    const long long step = t <= 4 ? 100 : 1000;
    for (;;) {
        QString row;
        row.reserve(3 * t - 1);
        for (int j = 0; j < t; ++j) {
            if (j) row += QLatin1Char(' ');
            row += QLatin1Char(char('0' + a[size_t(j)] / 10));
            row += QLatin1Char(char('0' + a[size_t(j)] % 10));
        }
        c.rows << row;
        if (progress && c.rows.size() % step == 0) progress(c.rows.size());
        // the innermost position varies fastest
        int j = t - 1;
        while (j >= 0 && a[size_t(j)] == N - t + j + 1) --j;
        if (j < 0) break;
        ++a[size_t(j)];
        for (int i = j + 1; i < t; ++i) a[size_t(i)] = a[size_t(i - 1)] + 1;
    }
    return c;
}

QString spinText(const QString& text, int step) {
    double v = dz::val(QStringView(text)) + step;
    if (step < 0 && v < 1) v = 1;
    if (std::fabs(v) < 1e15 && v == std::floor(v)) return QString::number(static_cast<long long>(v));
    return QString::number(v, 'g', 15);
}

// --- pairing ---------------------------------------------------------------------------------

namespace {
void insertSorted(QStringList& list, const QString& item) {
    list.insert(std::upper_bound(list.begin(), list.end(), item), item);
}
}  // namespace

Pairing::Pairing(uint32_t marks, uint32_t presence) {
    i_ = presentNumbers(marks & 0x1FFFFEu);
    ii_ = presentNumbers(presence & 0x1FFFFEu);
}

Message Pairing::pair(int a, int b) {
    if (i_.isEmpty() || ii_.isEmpty()) return {};
    if (a < 0 || a >= i_.size()) return refuse(Msg::NoRowI);
    if (b < 0 || b >= ii_.size()) return refuse(Msg::NoRowII);
    insertSorted(iii_, ii_[b] + QStringLiteral("  ") + i_[a]);
    i_.removeAt(a);
    ii_.removeAt(b);
    return {};
}

Message Pairing::undo(int c) {
    if (c < 0 || c >= iii_.size()) return refuse(Msg::NoRowIII);
    const QString row = iii_.takeAt(c);
    insertSorted(ii_, row.left(2));
    insertSorted(i_, row.right(2));
    return {};
}

void Pairing::pairRandomly(dz::Random& rng) {
    if (i_.isEmpty() || ii_.isEmpty()) return;
    rng.reseedFromClock();
    while (!i_.isEmpty() && !ii_.isEmpty()) {
        // single precision, as the window computed it; a product that rounds up is the last item
        const auto pick = [&rng](qsizetype n) {
            return std::clamp(int(std::floor(float(rng.next()) * float(n))), 0, int(n) - 1);
        };
        const int a = pick(i_.size());
        const int b = pick(ii_.size());
        pair(a, b);
    }
}

Pairing::Substitution Pairing::substitute(const QStringList& key) const {
    Substitution s;
    if (!i_.isEmpty()) return {refuse(Msg::UnpairedI), {}, {}};
    if (!ii_.isEmpty()) return {refuse(Msg::UnpairedII), {}, {}};
    std::array<int, 21> to{};
    for (const QString& p : iii_) {
        const auto from = dz::roundHalfEven(dz::val(QStringView(p).left(2)));
        const auto into = dz::roundHalfEven(dz::val(QStringView(p).right(2)));
        if (from >= 1 && from <= 20 && into >= 1 && into <= 20) to[size_t(from)] = int(into);
    }
    s.rows.reserve(key.size());
    std::vector<int> nums;
    for (const QString& row : key) {
        const int t = fieldCount(row, CountRule::Rounded);
        nums.clear();
        for (int j = 1; j <= t; ++j) {
            const Field f = field(row, j);
            // an empty field, or one without a pair, adds nothing
            if (f.kind == FieldKind::Number && to[size_t(f.number)]) nums.push_back(to[size_t(f.number)]);
        }
        std::sort(nums.begin(), nums.end());
        QString out;
        out.reserve(qsizetype(3 * nums.size()));
        for (int n : nums) appendNumber(out, n);
        s.rows << out;
    }
    for (const QString& p : iii_) s.pairLines << QStringLiteral(" ") + p;
    return s;
}

}  // namespace dz::csere
