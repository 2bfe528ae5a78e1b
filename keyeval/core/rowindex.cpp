#include "keyeval/core/rowindex.h"

#include "common/core/combinations.h"

#include <algorithm>
#include <bit>

namespace dz::keyeval {

namespace {

constexpr uint32_t kNumbers = 0x1FFFFEu;  // bits 1..20

// A look-up costs about as much as scanning this many rows.
constexpr size_t kLookupRows = 24;

// The sets of r <= 2 of the given bits, each once.
template <class F>
void forFewCombination(const uint32_t* bits, int n, int r, F&& f) {
    switch (r) {
    case 0: f(0u); return;
    case 1:
        for (int i = 0; i < n; ++i) f(bits[i]);
        return;
    default:
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j) f(bits[i] | bits[j]);
        return;
    }
}

// The sets of r of the given bits, each once, in no fixed order.
template <class F>
void forEachCombination(const uint32_t* bits, int n, int r, F&& f) {
    if (r > n) return;
    if (r <= 2) return forFewCombination(bits, n, r, f);
    if (n - r <= 2) {
        // Most of the bits: each set is all of them but a few, which are cheaper to choose.
        uint32_t all = 0;
        for (int i = 0; i < n; ++i) all |= bits[i];
        return forFewCombination(bits, n, n - r, [&](uint32_t left) { f(all ^ left); });
    }
    // Gosper's next combination of places, mapped to the bits.
    for (uint32_t x = (1u << r) - 1; x < (1u << n);) {
        uint32_t set = 0;
        for (uint32_t y = x; y; y &= y - 1) set |= bits[std::countr_zero(y)];
        f(set);
        const uint32_t low = x & (0u - x), ripple = x + low;
        x = (((ripple ^ x) >> 2) / low) | ripple;
    }
}

inline uint32_t setBit(uint32_t mask) { return (mask >> 1) & 0xFFFFFu; }

// A mask's home slot in a table of 2^(32 - shift) slots: the top bits of its multiplicative hash.
inline uint32_t homeSlot(uint32_t mask, int shift) { return (mask * 0x9E3779B1u) >> shift; }

}  // namespace

RowIndex::RowIndex(const KeyRows& key) : rows_(key.rowCount()) {
    size_t cap = 16;
    int bits = 4;
    while (cap < 2 * rows_) {
        cap <<= 1;
        ++bits;
    }
    slots_.assign(cap, Slot{});
    slotMask_ = uint32_t(cap - 1);
    shift_ = 32 - bits;
    present_.assign((1u << 20) / 64, 0);
    const uint32_t* masks = key.masks.data();
    std::vector<bool> odd(rows_);
    for (const auto& r : key.repeats)
        if (r.first < rows_) odd[r.first] = true;
    for (size_t i = 0; i < rows_; ++i)
        if (masks[i] & ~kNumbers) odd[i] = true;
    // Rows go in from the last, so that each mask's chain runs in row order.
    for (size_t i = rows_; i-- > 0;) {
        if (odd[i]) continue;
        const uint32_t m = masks[i];
        types_ |= 1u << std::popcount(m);
        present_[setBit(m) >> 6] |= uint64_t(1) << (setBit(m) & 63);
        uint32_t s = homeSlot(m, shift_);
        while (slots_[s].row && slots_[s].mask != m) s = (s + 1) & slotMask_;
        if (slots_[s].row) {
            if (next_.empty()) next_.assign(rows_, 0);
            next_[i] = slots_[s].row;
        }
        slots_[s] = {m, uint32_t(i + 1)};
    }
    for (size_t i = 0; i < rows_; ++i)
        if (odd[i]) oddRows_.push_back(uint32_t(i));
}

size_t RowIndex::lookups(uint32_t drawMask, int minHits) const {
    const int d = std::popcount(drawMask & kNumbers), n = 20 - d;
    size_t sets = 0;
    for (uint32_t t = types_; t; t &= t - 1) {
        const int k = std::countr_zero(t);
        for (int h = std::max(minHits, k - n); h <= std::min(k, d); ++h) sets += size_t(binomial(d, h)) * size_t(binomial(n, k - h));
    }
    return sets;
}

bool RowIndex::pays(uint32_t drawMask, int minHits) const {
    // A draw holds at most eight numbers; anything else is scanned.
    if (std::popcount(drawMask & kNumbers) > 8) return false;
    return lookups(drawMask, minHits) * kLookupRows + oddRows_.size() < rows_;
}

template <class OnSet>
void RowIndex::forEachSet(uint32_t drawMask, int minHits, OnSet&& onSet) const {
    uint32_t in[20], out[20];
    int d = 0, n = 0;
    for (int b = 1; b <= 20; ++b) {
        const uint32_t bit = 1u << b;
        if (drawMask & bit) in[d++] = bit;
        else out[n++] = bit;
    }
    // A row of k numbers with h hits: h of the draw's numbers and k - h of the others.
    for (uint32_t t = types_; t; t &= t - 1) {
        const int k = std::countr_zero(t);
        for (int h = std::max(minHits, k - n); h <= std::min(k, d); ++h)
            forEachCombination(in, d, h, [&](uint32_t hit) {
                forEachCombination(out, n, k - h, [&](uint32_t rest) { onSet(hit | rest); });
            });
    }
}

size_t RowIndex::find(const KeyRows& key, uint32_t drawMask, int minHits, uint32_t* cand) const {
    size_t c = 0;
    forEachSet(drawMask, minHits, [&](uint32_t set) {
        const uint32_t b = setBit(set);
        if (!(present_[b >> 6] >> (b & 63) & 1u)) return;
        for (uint32_t s = homeSlot(set, shift_); slots_[s].row; s = (s + 1) & slotMask_) {
            if (slots_[s].mask != set) continue;
            for (uint32_t row = slots_[s].row; row; row = next_.empty() ? 0 : next_[row - 1]) cand[c++] = row - 1;
            break;
        }
    });
    for (uint32_t row : oddRows_)
        if (key.hits(row, drawMask) >= minHits) cand[c++] = row;
    std::sort(cand, cand + c);
    return c;
}

}  // namespace dz::keyeval
