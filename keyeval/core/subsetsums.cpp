#include "keyeval/core/subsetsums.h"

#include "common/core/combinations.h"

#include <bit>
#include <cstdint>

namespace dz::keyeval {

namespace {
constexpr uint32_t kNumbers = 20;
constexpr uint32_t kSets = 1u << kNumbers;
inline uint32_t setOf(uint32_t mask) { return (mask >> 1) & (kSets - 1); }
}  // namespace

SubsetCounts::SubsetCounts(std::span<const uint32_t> rowMasks) : wide_(kSets, 0) {
    uint32_t* c = wide_.data();
    for (uint32_t m : rowMasks) ++c[setOf(m)];
    // Sums over supersets, one number at a time.
    for (uint32_t b = 0; b < kNumbers; ++b) {
        const uint32_t bit = 1u << b;
        for (uint32_t hi = 0; hi < kSets; hi += 2 * bit)
            for (uint32_t s = hi; s < hi + bit; ++s) c[s] += c[s | bit];
    }
    if (rowMasks.size() <= UINT16_MAX) {
        narrow_.assign(wide_.begin(), wide_.end());
        std::vector<uint32_t>().swap(wide_);
    }
}

namespace {
// The 256 subsets of 8 places, ordered by size, and where each size starts.
struct SubsetOrder {
    uint8_t bySize[256] = {};
    uint16_t start[10] = {};
    constexpr SubsetOrder() {
        int n = 0;
        for (int size = 0; size <= 8; ++size) {
            start[size] = uint16_t(n);
            for (int k = 0; k < 256; ++k) {
                int pc = 0;
                for (int b = 0; b < 8; ++b) pc += (k >> b) & 1;
                if (pc == size) bySize[n++] = uint8_t(k);
            }
        }
        start[9] = uint16_t(n);
    }
};
constexpr SubsetOrder kOrder;
}  // namespace

namespace {
template <class T>
void histogramOf(const T* c, uint32_t drawMask, uint32_t hist[9]) {
    uint32_t d = setOf(drawMask);
    // M[j]: the sum over the draw's j-number subsets of the rows holding them, which is the sum
    // over rows of C(hits, j).
    int64_t m[21] = {};
    int top = 0;
    if (std::popcount(d) <= 8) {
        // The subsets as sets of numbers: subset k of the draw's (up to) 8 numbers.
        uint32_t bit[8] = {};
        for (uint32_t r = d; r; r &= r - 1) bit[top++] = r & (0u - r);
        uint32_t sub[256];
        sub[0] = 0;
        const int count = 1 << top;
        for (int k = 1; k < count; ++k) sub[k] = sub[k & (k - 1)] | bit[std::countr_zero(unsigned(k))];
        for (int j = 0; j <= top; ++j) {
            int64_t acc = 0;
            for (int i = kOrder.start[j]; i < kOrder.start[j + 1]; ++i) {
                const int k = kOrder.bySize[i];
                if (k < count) acc += c[sub[k]];
            }
            m[j] = acc;
        }
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
int64_t weightedSumOf(const T* c, uint32_t d, const SubsetCounts::Weights& w) {
    uint32_t bit[8] = {};
    int top = 0;
    for (uint32_t r = d; r; r &= r - 1) bit[top++] = r & (0u - r);
    uint32_t sub[256];
    sub[0] = 0;
    const int count = 1 << top;
    for (int k = 1; k < count; ++k) sub[k] = sub[k & (k - 1)] | bit[std::countr_zero(unsigned(k))];
    int64_t sum = 0;
    for (int j = w.from; j <= top; ++j) {
        int64_t acc = 0;
        if (top == 8) {
            for (int i = kOrder.start[j]; i < kOrder.start[j + 1]; ++i) acc += c[sub[kOrder.bySize[i]]];
        } else {
            for (int i = kOrder.start[j]; i < kOrder.start[j + 1]; ++i) {
                const int k = kOrder.bySize[i];
                if (k < count) acc += c[sub[k]];
            }
        }
        sum += acc * w.w[size_t(j)];
    }
    return sum;
}
}  // namespace

void SubsetCounts::histogram(uint32_t drawMask, uint32_t hist[9]) const {
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

int64_t SubsetCounts::weightedSum(uint32_t drawMask, const Weights& w) const {
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
