#include "subsetlists.h"

#include "core/cp1250.h"
#include "core/draws.h"
#include "core/textfmt.h"

#include <algorithm>
#include <cstring>

namespace drawstat {

namespace {

void appendCount(std::string& s, int count) {
    char buf[8];
    int n = 0;
    do {
        buf[n++] = char('0' + count % 10);
        count /= 10;
    } while (count && n < 5);
    s.append(size_t(5 - n), ' ');
    while (n) s += buf[--n];
}

void appendNumbers(std::string& s, std::string_view subset) {
    for (size_t i = 0; i + 1 < subset.size(); i += 2) {
        s.append(subset.substr(i, 2));
        s += ' ';
    }
}

QString decode(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return dz::cp1250::decode(s);
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

// (count, record) ordered as the rows' text orders them: ascending count, then ascending numbers.
inline uint64_t orderKey(int count, int r) { return (uint64_t(uint32_t(count)) << 32) | uint32_t(r); }

}  // namespace

QString mostDrawnRow(const CounterFile& f, int r) {
    std::string s;
    s.reserve(size_t(3 * f.k() + 23));
    appendCount(s, f.count(r));
    s += " - ";
    appendNumbers(s, f.subsetField(r));
    s += " - ";
    s.append(f.keyField(r));
    return decode(s);
}

QString neverDrawnRow(const CounterFile& f, int r, bool leadingBlank) {
    std::string s;
    if (leadingBlank) s += ' ';
    appendNumbers(s, f.subsetField(r));
    return decode(s);
}

std::string leastDrawnRowBytes(const CounterFile& f, int r) {
    std::string s;
    appendCount(s, f.count(r));
    s += " - ";
    appendNumbers(s, f.subsetField(r));
    return s;
}

MostDrawnResult mostDrawn(const CounterFile& f, const SubsetProfile& p) {
    MostDrawnResult res;
    const int n = f.records();
    std::string_view latest;
    std::vector<uint64_t> order;
    order.reserve(size_t(p.sortMethod ? n : 1024));
    for (int r = 1; r <= n; ++r) {
        const std::string_view key = f.keyField(r);
        if (key > latest) latest = key;
        const int c = f.count(r);
        if (c != 0) ++res.drawn;
        if (p.sortMethod || c >= 1) order.push_back(orderKey(c, r));
    }
    res.latestKey = decode(std::string(latest));
    std::sort(order.begin(), order.end());
    const size_t top = std::min<size_t>(order.size(), size_t(dz::kRowLimit));
    const size_t from = order.size() - top;
    res.rows.reserve(qsizetype(top));
    for (size_t i = from; i < order.size(); ++i) res.rows << mostDrawnRow(f, int(order[i] & 0xFFFFFFFFu));
    if (p.leastDrawnPages) {
        // the rows just below the most-drawn list on page 0, the least drawn on page 1
        const size_t lowFrom = from > size_t(dz::kRowLimit) ? from - size_t(dz::kRowLimit) : 0;
        for (size_t i = lowFrom; i < from; ++i) res.leastPages[0] << mostDrawnRow(f, int(order[i] & 0xFFFFFFFFu));
        for (size_t i = 0; i < lowFrom; ++i) res.leastPages[1] << mostDrawnRow(f, int(order[i] & 0xFFFFFFFFu));
    }
    return res;
}

QString mostDrawnHint(const MostDrawnResult& r, const SubsetProfile& p) {
    if (p.hintWithDrawn) return dz::str(r.drawn) + QLatin1Char(' ') + dz::str(r.rows.size()) + QLatin1Char(' ');
    return dz::str(r.rows.size());
}

NeverDrawnResult neverDrawn(const CounterFile& f, const SubsetProfile& p) {
    NeverDrawnResult res;
    res.pages.resize(size_t(std::max(1, p.pageCount)));
    size_t page = 0;
    for (int r = 1; r <= f.records(); ++r) {
        if (f.count(r) > 0) continue;
        if (res.pages[page].size() >= dz::kRowLimit && page + 1 < res.pages.size()) ++page;
        res.pages[page] << neverDrawnRow(f, r, p.neverDrawnLeadingBlank);
        ++res.total;
    }
    return res;
}

bool anyNeverDrawn(const CounterFile& f) {
    for (int r = 1; r <= f.records(); ++r)
        if (f.count(r) == 0) return true;
    return false;
}

QStringList leastDrawn(const CounterFile& f, const QString& firstMostDrawnRow) {
    const double v = dz::val(dz::mid(firstMostDrawnRow, 1, 5));
    const int m = int(dz::roundHalfEven(std::clamp(v, -1.0, double(kMaxHitCount))));
    const QByteArray bound = dz::cp1250::encode(dz::mid(firstMostDrawnRow, 1, 25) + QLatin1Char(' '));
    const std::string_view s0(bound.constData(), size_t(bound.size()));
    QStringList out;
    for (int r = 1; r <= f.records(); ++r) {
        if (f.count(r) > m) continue;
        const std::string s = leastDrawnRowBytes(f, r);
        if (std::string_view(s) < s0) out << decode(s);
    }
    return out;
}

QString lifePathNumberText(const QString& row, int k) {
    const qsizetype dash = row.indexOf(QLatin1Char('-'));
    qsizetype start = dash + 3;  // 1-based: two after the dash
    if (dash < 0) {
        start = 1;
        for (qsizetype i = 0; i < row.size(); ++i)
            if (row[i].isDigit()) {
                start = i + 1;
                break;
            }
    }
    return dz::mid(row, start, 3 * k - 1);
}

namespace {

// A two-character field: its digits, blanks ignored; reading stops at anything else.
int twoCharValue(std::string_view s, size_t pos0) {
    int v = 0;
    for (size_t i = pos0; i < pos0 + 2 && i < s.size(); ++i) {
        const char c = s[i];
        if (c == ' ') continue;
        if (c < '0' || c > '9') break;
        v = v * 10 + (c - '0');
    }
    return v;
}

}  // namespace

LifePathResult lifePath(const dz::DrawFile& draws, const SubsetProfile& p, const QString& numberText) {
    LifePathResult res;
    const int k = p.k;
    const QByteArray wantBytes = dz::cp1250::encode(numberText);
    const std::string_view want(wantBytes.constData(), size_t(wantBytes.size()));
    int x[8] = {};
    for (int i = 0; i < k && i < 8; ++i) x[i] = twoCharValue(want, size_t(3 * i));
    long long lastHit = 0;
    std::string row;
    dz::forEachDraw(draws, [&](const dz::DrawLine& l) {
        ++res.draws;
        const std::string_view item = l.item;
        const std::string_view numbers = item.size() > 13 ? item.substr(13, 23) : std::string_view{};
        bool hit;
        if (k == 8) {
            hit = numbers == want;
        } else {
            int d[8];
            for (int j = 0; j < 8; ++j) d[j] = twoCharValue(numbers, size_t(3 * j));
            int pos = 0;
            hit = true;
            for (int i = 0; i < k && hit; ++i) {
                while (pos < 8 && d[pos] != x[i]) ++pos;
                hit = pos < 8;
            }
        }
        if (!hit) return;
        row.assign(1, ' ');
        row.append(item.substr(0, 13));
        row += "  ";
        res.rows << decode(row) + dz::str(res.draws - lastHit);
        ++res.hits;
        lastHit = res.draws;
    });
    res.rows << p.closingLead + dz::str(res.hits) + p.closingSpacer + dz::str(res.draws - lastHit);
    return res;
}

LifePathResult lifePath(std::string_view drawBytes, const SubsetProfile& p, const QString& numberText) {
    return lifePath(dz::DrawFile::fromBytes(std::string(drawBytes)), p, numberText);
}

}  // namespace drawstat
