#include "keyeval/core/rowindex.h"

#include <algorithm>
#include <array>
#include <bit>
#include <utility>

namespace dz::keyeval {

namespace {

constexpr uint32_t kNumbers = 0x1FFFFEu;  // bits 1..20

// binom[n][k] for n = 0..20, k = 0..8.
constexpr auto kBinom = [] {
    std::array<std::array<uint32_t, 9>, 21> b{};
    for (int n = 0; n <= 20; ++n) {
        b[size_t(n)][0] = 1;
        for (int k = 1; k <= 8 && k <= n; ++k) b[size_t(n)][size_t(k)] = b[size_t(n - 1)][size_t(k - 1)] + (k < n ? b[size_t(n - 1)][size_t(k)] : 0);
    }
    return b;
}();

// What a step costs, counted in rows of the scan: a set's rank and its first entry, one entry
// looked at, one row found put back in row order.
constexpr size_t kLookupRows = 64, kEntryRows = 12, kOrderRows = 8;
// What building costs, an entry.
constexpr size_t kBuildRows = 48;

// The rank of a set of numbers among the sets of its size (colex: the sum of C(p, i) over its
// numbers' places p = n - 1, i = 1, 2, .. from the lowest).
inline uint32_t rankOf(uint32_t set) {
    uint32_t r = 0;
    size_t i = 1;
    for (uint32_t x = set; x; x &= x - 1, ++i) r += kBinom[size_t(std::countr_zero(x) - 1)][i];
    return r;
}

// Every set of r of the bits 1..20 of mask and its rank, each once, in no fixed order. A set of
// all the bits but one or two is ranked from sums over the bits' places kept for the mask.
template <class F>
void forEachSubset(uint32_t mask, int r, F&& f) {
    const int n = std::popcount(mask), left = n - r;
    if (left < 0 || r < 0) return;
    uint32_t bits[20], at[21], one[21], two[21];
    at[0] = one[0] = two[0] = 0;
    // at, one, two: sums over the first i places of C(p, place), C(p, place - 1), C(p, place - 2)
    // (places from 1): the terms of a place that keeps its position, or moves down one or two.
    int k = 0;
    for (uint32_t x = mask; x; x &= x - 1, ++k) {
        bits[k] = x & (0u - x);
        const size_t p = size_t(std::countr_zero(x) - 1), place = size_t(k + 1);
        at[k + 1] = at[k] + kBinom[p][place];
        if (left >= 1) one[k + 1] = one[k] + kBinom[p][place - 1];
        if (left == 2) two[k + 1] = two[k] + (place >= 2 ? kBinom[p][place - 2] : 0);
    }
    switch (left) {
    case 0: f(mask, at[n]); return;
    case 1:
        for (int i = 0; i < n; ++i) f(mask ^ bits[i], at[i] + one[n] - one[i + 1]);
        return;
    case 2:
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                f(mask ^ bits[i] ^ bits[j], at[i] + one[j] - one[i + 1] + two[n] - two[j + 1]);
        return;
    default: break;
    }
    // Gosper's next combination of places, mapped to the bits.
    for (uint64_t x = (uint64_t(1) << r) - 1; x < (uint64_t(1) << n);) {
        uint32_t set = 0;
        for (uint64_t y = x; y; y &= y - 1) set |= bits[std::countr_zero(y)];
        f(set, rankOf(set));
        const uint64_t low = x & (0 - x), ripple = x + low;
        x = (((ripple ^ x) >> 2) / low) | ripple;
    }
}

bool oddRow(const KeyRows& key, size_t i, const std::vector<bool>& repeats) {
    return repeats[i] || (key.masks[i] & ~kNumbers);
}

std::vector<bool> repeatRows(const KeyRows& key) {
    std::vector<bool> odd(key.rowCount());
    for (const auto& r : key.repeats)
        if (r.first < odd.size()) odd[r.first] = true;
    return odd;
}

}  // namespace

size_t RowIndex::entriesFor(const KeyRows& key, int minHits) {
    if (minHits < 1 || minHits > 8) return 0;
    size_t entries = 0;
    for (uint32_t m : key.masks) entries += kBinom[size_t(std::popcount(m & kNumbers))][size_t(minHits)];
    return entries;
}

RowIndex::RowIndex(const KeyRows& key, int minHits)
    : minHits_(std::clamp(minHits, 1, 8)), rows_(key.rowCount()), seen_((rows_ + 63) / 64), words_((seen_.size() + 63) / 64) {
    const std::vector<bool> repeats = repeatRows(key);
    // Counted, then placed: each set's rows in row order.
    first_.assign(kBinom[20][size_t(minHits_)] + 1, 0);
    for (size_t i = 0; i < rows_; ++i) {
        if (oddRow(key, i, repeats)) {
            oddRows_.push_back(uint32_t(i));
            continue;
        }
        forEachSubset(key.masks[i], minHits_, [&](uint32_t, uint32_t r) { ++first_[r + 1]; });
    }
    for (size_t s = 1; s < first_.size(); ++s) first_[s] += first_[s - 1];
    entries_ = first_.back();
    rowsOf_ = std::make_unique_for_overwrite<Entry[]>(entries_);
    std::vector<uint32_t> next(first_.begin(), first_.end() - 1);
    for (size_t i = 0; i < rows_; ++i) {
        if (oddRow(key, i, repeats)) continue;
        const uint32_t m = key.masks[i];
        forEachSubset(m, minHits_, [&](uint32_t, uint32_t r) { rowsOf_[next[r]++] = {m, uint32_t(i)}; });
    }
}

size_t RowIndex::cost(size_t oddRows, int minHits, uint32_t drawMask, const uint32_t hist[9]) {
    const int d = std::popcount(drawMask & kNumbers);
    // A draw holds at most eight numbers; anything else is scanned.
    if (d > 8 || minHits < 1 || minHits > 8) return SIZE_MAX;
    size_t entries = 0, found = 0;
    for (int h = minHits; h <= 8; ++h) {
        entries += size_t(kBinom[size_t(h)][size_t(minHits)]) * hist[h];
        found += hist[h];
    }
    return kBinom[size_t(d)][size_t(minHits)] * kLookupRows + entries * kEntryRows + found * kOrderRows + oddRows * 2;
}

bool RowIndex::paysToBuild(const KeyRows& key, size_t entries, int minHits, uint32_t drawMask, const uint32_t hist[9],
                           size_t draws) {
    const size_t c = cost(key.repeats.size(), minHits, drawMask, hist), rows = key.rowCount();
    return c < rows && (rows - c) * draws > entries * kBuildRows;
}

size_t RowIndex::find(const KeyRows& key, uint32_t drawMask, uint32_t* cand) const {
    size_t c = 0;
    const uint32_t dm = drawMask & kNumbers;
    // A row is taken under its lowest minHits hit numbers: none of its other hits lies below the
    // set's highest number.
    auto take = [&](uint32_t set, uint32_t from, uint32_t to) {
        const uint32_t below = (uint32_t(1) << (31 - std::countl_zero(set)) << 1) - 1;
        for (uint32_t e = from; e < to; ++e) {
            const Entry& x = rowsOf_[e];
            cand[c] = x.row;
            c += (((x.mask & dm) ^ set) & below) == 0;
        }
    };
    if (std::popcount(dm) <= 8) {
        // A draw's sets (at most C(8, 4)) and their entries' bounds first, so that the reads of
        // the tables overlap instead of waiting on each other.
        uint32_t sets[70], from[70], to[70];
        size_t n = 0;
        forEachSubset(dm, minHits_, [&](uint32_t set, uint32_t r) {
            sets[n] = set;
            from[n] = first_[r];
            to[n++] = first_[r + 1];
        });
        for (size_t i = 0; i < n; ++i) __builtin_prefetch(rowsOf_.get() + from[i]);
        for (size_t i = 0; i < n; ++i) take(sets[i], from[i], to[i]);
    } else {
        forEachSubset(dm, minHits_, [&](uint32_t set, uint32_t r) { take(set, first_[r], first_[r + 1]); });
    }
    for (uint32_t row : oddRows_)
        if (key.hits(row, drawMask) >= minHits_) cand[c++] = row;
    // Back in row order through a bit a row, and a bit for each word of them that holds one.
    for (size_t i = 0; i < c; ++i) {
        const uint32_t row = cand[i];
        seen_[row >> 6] |= uint64_t(1) << (row & 63);
        words_[row >> 12] |= uint64_t(1) << (row >> 6 & 63);
    }
    size_t out = 0;
    for (size_t g = 0; g < words_.size(); ++g)
        for (uint64_t ws = std::exchange(words_[g], 0); ws; ws &= ws - 1) {
            const size_t w = g * 64 + size_t(std::countr_zero(ws));
            for (uint64_t bits = std::exchange(seen_[w], 0); bits; bits &= bits - 1)
                cand[out++] = uint32_t(w * 64 + size_t(std::countr_zero(bits)));
        }
    return out;
}

}  // namespace dz::keyeval
