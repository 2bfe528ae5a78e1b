#include "keyeval/core/subsetsums.h"

#include "common/core/popcountclones.h"
#include "common/core/combinations.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace dz::keyeval {

namespace {
constexpr uint32_t kNumbers = 20;
constexpr uint32_t kSets = 1u << kNumbers;
inline uint32_t setOf(uint32_t mask) { return (mask >> 1) & (kSets - 1); }
}  // namespace

namespace {
// Sums over supersets, one number at a time: c[s] becomes the rows that hold s.
template <class T>
void supersetSums(T* c) {
    for (uint32_t b = 0; b < kNumbers; ++b) {
        const uint32_t bit = 1u << b;
        for (uint32_t hi = 0; hi < kSets; hi += 2 * bit)
            for (uint32_t s = hi; s < hi + bit; ++s) c[s] = T(c[s] + c[s | bit]);
    }
}
}  // namespace

SubsetCounts::SubsetCounts(std::span<const uint32_t> rowMasks) {
    // A count never exceeds the rows, so a key of no more rows than 16 bits hold is summed in them.
    if (rowMasks.size() <= UINT16_MAX) {
        narrow_.assign(kSets, 0);
        for (uint32_t m : rowMasks) ++narrow_[setOf(m)];
        supersetSums(narrow_.data());
    } else {
        wide_.assign(kSets, 0);
        for (uint32_t m : rowMasks) ++wide_[setOf(m)];
        supersetSums(wide_.data());
    }
}

namespace {
// The subsets of a draw's (up to) eight numbers as two halves of four: set a of the low half and
// set b of the high half make the subset lo[a] | hi[b], of size |a| + |b|. For one b the sixteen
// sets a are summed by their size in registers, so the 256 look-ups carry no chain through memory.
struct Halves {
    uint32_t lo[16], hi[16];
    int top;  // the draw's numbers, 0..8
    explicit Halves(uint32_t d) : lo{}, hi{}, top(0) {
        uint32_t bit[8] = {};
        for (uint32_t r = d; r; r &= r - 1) bit[top++] = r & (0u - r);
        for (int a = 0; a < 16; ++a) {
            uint32_t l = 0, h = 0;
            for (int i = 0; i < 4; ++i)
                if (a >> i & 1) {
                    l |= bit[i];
                    h |= bit[4 + i];
                }
            lo[a] = l;
            hi[a] = h;
        }
    }
};
constexpr int kHalfSize[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

// M[j] for j = 0..8: the sum over the draw's j-number subsets of the rows holding them, which is
// the sum over rows of C(hits, j). Bits past a draw's numbers are 0, so a draw of fewer than
// eight numbers counts its subsets 2^(8 - n) times over: each half only over its own sets.
template <class T>
[[gnu::always_inline]] inline void momentsOf(const T* c, const Halves& h, int64_t m[9]) {
    const int nLo = std::min(h.top, 4), nHi = std::max(h.top - 4, 0);
    for (int j = 0; j <= 8; ++j) m[j] = 0;
    for (int b = 0; b < (1 << nHi); ++b) {
        const T* base = c + h.hi[b];
        const uint32_t* lo = h.lo;
        int64_t t[5] = {};
        if (nLo == 4) {
            t[0] = base[lo[0]];
            t[1] = int64_t(base[lo[1]]) + base[lo[2]] + base[lo[4]] + base[lo[8]];
            t[2] = int64_t(base[lo[3]]) + base[lo[5]] + base[lo[6]] + base[lo[9]] + base[lo[10]] + base[lo[12]];
            t[3] = int64_t(base[lo[7]]) + base[lo[11]] + base[lo[13]] + base[lo[14]];
            t[4] = base[lo[15]];
        } else {
            for (int a = 0; a < (1 << nLo); ++a) t[kHalfSize[a]] += base[lo[a]];
        }
        const int sb = kHalfSize[b];
        for (int i = 0; i <= 4; ++i) m[sb + i] += t[i];
    }
}
}  // namespace

namespace {
template <class T>
[[gnu::always_inline]] inline void histogramOf(const T* c, uint32_t drawMask, uint32_t hist[9]) {
    uint32_t d = setOf(drawMask);
    int64_t m[21] = {};
    int top = 0;
    if (std::popcount(d) <= 8) {
        const Halves h(d);
        top = h.top;
        momentsOf(c, h, m);
    } else {
        // More than eight numbers (no record holds them): every subset in turn.
        top = std::popcount(d);
        for (uint32_t s = d;; s = (s - 1) & d) {
            m[std::popcount(s)] += c[s];
            if (s == 0) break;
        }
    }
    for (int h = 0; h <= 8; ++h) {
        int64_t v = 0;
        for (int j = h; j <= top; ++j) v += ((j - h) & 1 ? -1 : 1) * binomial(j, h) * m[j];
        hist[h] = uint32_t(v);
    }
}

template <class T>
[[gnu::always_inline]] inline int64_t weightedSumOf(const T* c, uint32_t d, const SubsetCounts::Weights& w) {
    const Halves h(d);
    int64_t m[9];
    momentsOf(c, h, m);
    int64_t sum = 0;
    for (int j = w.from; j <= h.top; ++j) sum += m[j] * w.w[size_t(j)];
    return sum;
}
}  // namespace

// Called for every draw: with the processor's popcount where it has one.
DZ_POPCOUNT_CLONES void SubsetCounts::histogram(uint32_t drawMask, uint32_t hist[9]) const {
    if (!narrow_.empty()) histogramOf(narrow_.data(), drawMask, hist);
    else histogramOf(wide_.data(), drawMask, hist);
}

SubsetCounts::Weights SubsetCounts::weightsOf(const std::array<int64_t, 9>& weightByHits) {
    Weights r;
    r.weight = weightByHits;
    for (int h = 8; h >= 0; --h)
        if (weightByHits[size_t(h)] != 0) r.from = h;
    for (int j = 0; j <= 8; ++j) {
        int64_t v = 0;
        for (int h = 0; h <= j; ++h) v += ((j - h) & 1 ? -1 : 1) * binomial(j, h) * weightByHits[size_t(h)];
        r.w[size_t(j)] = v;
    }
    return r;
}

DZ_POPCOUNT_CLONES int64_t SubsetCounts::weightedSum(uint32_t drawMask, const Weights& w) const {
    const uint32_t d = setOf(drawMask);
    if (std::popcount(d) > 8) {
        // More than eight numbers (no record holds them): from the distribution.
        uint32_t hist[9];
        histogram(drawMask, hist);
        int64_t sum = 0;
        for (int h = 0; h <= 8; ++h) sum += int64_t(hist[h]) * w.weight[size_t(h)];
        return sum;
    }
    return !narrow_.empty() ? weightedSumOf(narrow_.data(), d, w) : weightedSumOf(wide_.data(), d, w);
}

bool SubsetCounts::pays(size_t rows, size_t draws) {
    // The table costs about 2^20 * 21 additions once; a draw's 256 scattered look-ups cost about
    // as much as scanning 2048 rows.
    constexpr double kDrawCost = 2048;
    const double scan = double(rows) * double(draws);
    const double subsets = 21.0 * double(kSets) + kDrawCost * double(draws);
    return rows >= size_t(kDrawCost) && subsets < scan;
}

}  // namespace dz::keyeval
