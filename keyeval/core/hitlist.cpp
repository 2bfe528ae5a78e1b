#include "keyeval/core/hitlist.h"

#include "common/core/textfmt.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace dz::keyeval {

namespace {

// A key whose date part is eight digits makes the pieces "YYYY MM DD" and its last four
// characters: 14 characters whose order as text is the order of the key's bytes.
bool plainKey(std::string_view key) {
    if (key.size() != 12) return false;
    for (size_t i = 0; i < 8; ++i)
        if (key[i] < '0' || key[i] > '9') return false;
    return true;
}

// The order of a row number's decimal text ("1" < "10" < "2"): each of its (at most ten) digits
// + 1 in base 11, the missing digits of a shorter number 0.
uint64_t rowTextRank(uint64_t n) {
    char d[24];
    int len = 0;
    do {
        d[len++] = char(n % 10);
        n /= 10;
    } while (n);
    uint64_t r = 0;
    for (int i = 0; i < 10; ++i) r = r * 11 + (i < len ? uint64_t(d[len - 1 - i]) + 1 : 0);
    return r;
}

}  // namespace

HitList::HitList(std::shared_ptr<const PeriodDraws> draws, std::vector<Hit> hits)
    : draws_(std::move(draws)), hits_(std::move(hits)) {}

QString HitList::line(int i) const {
    if (i < 0 || size_t(i) >= hits_.size() || !draws_) return {};
    const Hit& h = hits_[size_t(i)];
    return hitLine(draws_->key(h.draw), h);
}

QString HitList::classText(int i) const {
    if (i < 0 || size_t(i) >= hits_.size() || !draws_) return {};
    const Hit& h = hits_[size_t(i)];
    if (!plainKey(draws_->key(h.draw))) return mid(line(i), 18, 2);
    return QString(QChar(u'0' + h.hits())) + (h.plus() ? QLatin1Char('+') : QLatin1Char(' '));
}

std::shared_ptr<const HitList> HitList::sorted(bool classFirst) const {
    const size_t n = hits_.size();
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    bool plain = draws_ != nullptr;
    for (size_t i = 0; i < n && plain; ++i) plain = plainKey(draws_->key(hits_[i].draw)) && hits_[i].hits() <= 9;

    if (plain && n > 0) {
        // The draws ranked by their key's bytes (equal keys share a rank), then each record's place
        // as a tuple: the class, the draw's rank and the row's text in the order a line's text has.
        uint32_t lo = UINT32_MAX, hi = 0;
        for (const Hit& h : hits_) {
            lo = std::min(lo, h.draw);
            hi = std::max(hi, h.draw);
        }
        std::vector<uint32_t> draws;
        {
            std::vector<bool> seen(size_t(hi - lo) + 1);
            for (const Hit& h : hits_) seen[h.draw - lo] = true;
            for (size_t d = 0; d < seen.size(); ++d)
                if (seen[d]) draws.push_back(uint32_t(lo + d));
        }
        auto keyOf = [this](uint32_t d) { return draws_->key(d); };
        std::stable_sort(draws.begin(), draws.end(), [&](uint32_t a, uint32_t b) { return keyOf(a) < keyOf(b); });
        std::vector<uint32_t> rank(size_t(hi - lo) + 1);
        uint32_t r = 0;
        for (size_t i = 0; i < draws.size(); ++i) {
            if (i > 0 && keyOf(draws[i]) != keyOf(draws[i - 1])) ++r;
            rank[draws[i] - lo] = r;
        }
        struct Place {
            uint64_t major;  // class then rank, or rank then class
            uint64_t row;
            uint32_t index;
        };
        std::vector<Place> places(n);
        for (size_t i = 0; i < n; ++i) {
            const Hit& h = hits_[i];
            const uint64_t cls = uint64_t(h.hits()) * 2 + (h.plus() ? 1 : 0), dr = rank[h.draw - lo];
            places[i] = {classFirst ? cls << 32 | dr : dr << 8 | cls, rowTextRank(uint64_t(h.row()) + 1), uint32_t(i)};
        }
        std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
            if (a.major != b.major) return a.major < b.major;
            if (a.row != b.row) return a.row < b.row;
            return a.index < b.index;
        });
        for (size_t i = 0; i < n; ++i) order[i] = places[i].index;
    } else if (n > 0) {
        // A key in another form: its lines sorted as text, as the lines themselves.
        QStringList lines;
        lines.reserve(qsizetype(n));
        for (size_t i = 0; i < n; ++i) lines << line(int(i));
        const std::vector<size_t> o = textOrder(lines, classFirst);
        for (size_t i = 0; i < n; ++i) order[i] = uint32_t(o[i]);
    }
    std::vector<Hit> out;
    out.reserve(n);
    for (uint32_t i : order) out.push_back(hits_[i]);
    return std::make_shared<HitList>(draws_, std::move(out));
}

}  // namespace dz::keyeval
