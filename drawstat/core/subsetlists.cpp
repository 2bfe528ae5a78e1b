#include "drawstat/core/subsetlists.h"

#include "common/core/cp1250.h"
#include "common/core/draws.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <cstring>

namespace dz::drawstat {

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

// (count, rank) ordered as the rows' text orders them when rank is the record's place in the text
// order of the numbers: ascending count, then ascending numbers. The count is right-aligned in five
// characters (a blank before a digit) and the other fields have fixed widths.
inline uint64_t orderKey(int count, int r) { return (uint64_t(uint32_t(count)) << 32) | uint32_t(r); }

}  // namespace

namespace {

void appendMostDrawnRow(std::string& s, const CounterFile& f, int r) {
    appendCount(s, f.count(r));
    s += " - ";
    appendNumbers(s, f.subsetField(r));
    s += " - ";
    s.append(f.keyField(r));
}

}  // namespace

QString mostDrawnRow(const CounterFile& f, int r) {
    std::string s;
    s.reserve(size_t(3 * f.k() + 23));
    appendMostDrawnRow(s, f, r);
    return decode(s);
}

std::string mostDrawnFileBytes(const CounterFile& f, const std::vector<int32_t>& records) {
    std::string out;
    out.reserve(records.size() * size_t(3 * f.k() + 25));
    for (const int32_t r : records) {
        appendMostDrawnRow(out, f, r);
        out += "\r\n";
    }
    return out;
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

namespace {

SubsetRowsPtr mostDrawnRows(const SharedCounter& f, std::vector<int32_t> rows) {
    return std::make_shared<const SubsetRows>(std::move(rows), [f](const int32_t& r) { return mostDrawnRow(*f, r); });
}

// The records in the text order of their numbers, then keys; empty when record order is that
// order already, as in every generated file (strictly ascending subsets). A file edited by hand
// is ranked here, so that which rows the row limit keeps follows the text as well.
std::vector<int32_t> recordsInTextOrder(const CounterFile& f) {
    const int n = f.records();
    bool inOrder = true;
    for (int r = 1; r < n && inOrder; ++r) inOrder = f.subsetField(r) < f.subsetField(r + 1);
    if (inOrder) return {};
    std::vector<int32_t> byText(static_cast<size_t>(n));
    for (int r = 1; r <= n; ++r) byText[size_t(r - 1)] = r;
    std::stable_sort(byText.begin(), byText.end(), [&f](int32_t a, int32_t b) {
        const int c = f.subsetField(a).compare(f.subsetField(b));
        return c != 0 ? c < 0 : f.keyField(a) < f.keyField(b);
    });
    return byText;
}

// The records of order[from, to), whose low halves hold text ranks (record numbers when byText
// is empty).
std::vector<int32_t> recordsOf(const std::vector<uint64_t>& order, size_t from, size_t to,
                               const std::vector<int32_t>& byText) {
    std::vector<int32_t> rows;
    rows.reserve(to - from);
    for (size_t i = from; i < to; ++i) {
        const int32_t rank = int32_t(order[i] & 0xFFFFFFFFu);
        rows.push_back(byText.empty() ? rank : byText[size_t(rank - 1)]);
    }
    return rows;
}

}  // namespace

MostDrawnResult mostDrawn(SharedCounter fp, const SubsetProfile& p) {
    const CounterFile& f = *fp;
    MostDrawnResult res;
    const int n = f.records();
    std::string_view latest;
    // (count, text rank): the rows' text order, so that the greatest rows are the last
    const std::vector<int32_t> byText = recordsInTextOrder(f);
    std::vector<uint64_t> order;
    const bool everyRecord = p.mostDrawn.method == MostDrawnRules::Method::SortAll;
    order.reserve(size_t(everyRecord ? n : 1024));
    for (int rank = 1; rank <= n; ++rank) {
        const int r = byText.empty() ? rank : byText[size_t(rank - 1)];
        const std::string_view key = f.keyField(r);
        if (key > latest) latest = key;
        const int c = f.count(r);
        if (c != 0) ++res.drawn;
        if (everyRecord || c >= 1) order.push_back(orderKey(c, rank));
    }
    res.latestKey = decode(std::string(latest));
    std::sort(order.begin(), order.end());
    const size_t top = std::min<size_t>(order.size(), size_t(dz::kRowLimit));
    const size_t from = order.size() - top;
    res.rows = mostDrawnRows(fp, recordsOf(order, from, order.size(), byText));
    if (p.leastDrawn == LeastDrawn::Pages) {
        // the rows just below the most-drawn list on page 0, the least drawn on page 1
        const size_t lowFrom = from > size_t(dz::kRowLimit) ? from - size_t(dz::kRowLimit) : 0;
        res.leastPages[0] = mostDrawnRows(fp, recordsOf(order, lowFrom, from, byText));
        res.leastPages[1] = mostDrawnRows(fp, recordsOf(order, 0, lowFrom, byText));
    }
    return res;
}

QString mostDrawnHint(const MostDrawnResult& r, const SubsetProfile& p) {
    const int rows = rowCount(r.rows);
    if (p.mostDrawn.hint == MostDrawnRules::Hint::DrawnAndRows) return dz::str(r.drawn) + QLatin1Char(' ') + dz::str(rows) + QLatin1Char(' ');
    return dz::str(rows);
}

NeverDrawnResult neverDrawn(SharedCounter fp, const SubsetProfile& p) {
    const CounterFile& f = *fp;
    NeverDrawnResult res;
    std::vector<std::vector<int32_t>> pages(size_t(std::max(1, p.pageCount)));
    size_t page = 0;
    for (int r = 1; r <= f.records(); ++r) {
        if (f.count(r) > 0) continue;
        if (pages[page].size() >= size_t(dz::kRowLimit) && page + 1 < pages.size()) ++page;
        pages[page].push_back(r);
        ++res.total;
    }
    const bool blank = p.neverDrawn.leadingBlank;
    for (auto& rows : pages)
        res.pages.push_back(std::make_shared<const SubsetRows>(
            std::move(rows), [fp, blank](const int32_t& r) { return neverDrawnRow(*fp, r, blank); }));
    return res;
}

bool anyNeverDrawn(const CounterFile& f) {
    for (int r = 1; r <= f.records(); ++r)
        if (f.count(r) == 0) return true;
    return false;
}

SubsetRowsPtr leastDrawn(SharedCounter fp, const QString& firstMostDrawnRow, bool inTextOrder) {
    const CounterFile& f = *fp;
    const double v = dz::val(dz::mid(firstMostDrawnRow, 1, 5));
    const int m = int(dz::roundHalfEven(std::clamp(v, -1.0, double(kMaxHitCount))));
    const QByteArray bound = dz::cp1250::encode(dz::mid(firstMostDrawnRow, 1, 25) + QLatin1Char(' '));
    const std::string_view s0(bound.constData(), size_t(bound.size()));
    // a sorted list takes the records in the text order of their numbers, then by count
    const std::vector<int32_t> byText = inTextOrder ? recordsInTextOrder(f) : std::vector<int32_t>{};
    std::vector<int32_t> rows;
    std::string s;
    for (int rank = 1; rank <= f.records(); ++rank) {
        const int r = byText.empty() ? rank : byText[size_t(rank - 1)];
        if (f.count(r) > m) continue;
        s.clear();
        appendCount(s, f.count(r));
        s += " - ";
        appendNumbers(s, f.subsetField(r));
        if (std::string_view(s) < s0) rows.push_back(r);
    }
    if (inTextOrder)
        std::stable_sort(rows.begin(), rows.end(), [&f](int32_t a, int32_t b) { return f.count(a) < f.count(b); });
    return std::make_shared<const SubsetRows>(std::move(rows),
                                              [fp](const int32_t& r) { return decode(leastDrawnRowBytes(*fp, r)); });
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

QString LifePathLines::line(int i) const {
    if (i == int(hits_.size())) return closing_;
    const Hit& h = hits_[size_t(i)];
    std::string row(1, ' ');
    row.append(h.item, h.size);
    row += "  ";
    return decode(row) + dz::str(h.since);
}

LifePathResult lifePath(const dz::DrawFile& draws, const SubsetProfile& p, const QString& numberText) {
    LifePathResult res;
    const int k = p.k;
    const QByteArray wantBytes = dz::cp1250::encode(numberText);
    const std::string_view want(wantBytes.constData(), size_t(wantBytes.size()));
    int x[8] = {};
    for (int i = 0; i < k && i < 8; ++i) x[i] = twoCharValue(want, size_t(3 * i));
    // A record whose fields are all two digits holds a subset of numbers 1..20 only when its mask
    // holds every one of them: most draws are passed over by that alone.
    uint32_t wanted = 0;
    bool byMask = k < 8;
    for (int i = 0; i < k && i < 8; ++i) {
        byMask = byMask && x[i] >= 1 && x[i] <= 20;
        if (byMask) wanted |= 1u << x[i];
    }
    long long lastHit = 0;
    std::vector<LifePathLines::Hit> hits;
    dz::forEachDraw(draws, [&](const dz::DrawLine& l) {
        ++res.draws;
        if (byMask && l.record.twoDigits && (l.record.mask & wanted) != wanted) return;
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
        LifePathLines::Hit h;
        h.size = uint8_t(std::min<size_t>(item.size(), sizeof h.item));
        std::memcpy(h.item, item.data(), h.size);
        h.since = res.draws - lastHit;
        hits.push_back(h);
        ++res.hits;
        lastHit = res.draws;
    });
    const LifePathRules rules = p.lifePath.value_or(LifePathRules{});
    res.rows = std::make_shared<const LifePathLines>(
        std::move(hits), rules.closingLead + dz::str(res.hits) + rules.closingSpacer + dz::str(res.draws - lastHit));
    return res;
}

}  // namespace dz::drawstat
