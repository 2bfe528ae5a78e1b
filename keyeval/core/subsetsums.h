// Hit distributions of a large key by subset sums: for every set S of numbers, the rows that
// hold all of S are counted once per key; a draw's 8 numbers have 256 subsets, and the sums of
// their counts by size are the binomial moments of the draw's hit distribution, which give the
// distribution exactly. A draw then costs 256 look-ups whatever the key's size.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace dz::keyeval {

class SubsetCounts {
public:
    // Rows as masks: bit n for number n (1..20).
    explicit SubsetCounts(std::span<const uint32_t> rowMasks);
    // hist[h] = rows holding exactly h of the drawn numbers (h = 0..8; a draw mask holds at most
    // eight numbers).
    void histogram(uint32_t drawMask, uint32_t hist[9]) const;

    // The sum over rows of weight[hits]: with w[j] = sum over h <= j of weight[h] (-1)^(j-h) C(j, h)
    // (see weightsOf), the sum over the draw's subsets S of w[|S|] times the rows holding S. Weights
    // that are 0 below some hit count need no moment below it.
    struct Weights {
        std::array<int64_t, 9> w{};
        std::array<int64_t, 9> weight{};
        int from = 9;  // the smallest subset size whose w is needed
    };
    static Weights weightsOf(const std::array<int64_t, 9>& weightByHits);
    int64_t weightedSum(uint32_t drawMask, const Weights& w) const;

    // Whether the subset sums beat the row-by-row scan for a run of this size.
    static bool pays(size_t rows, size_t draws);

private:
    // The rows that hold each set of numbers 1..20 (bit n - 1): in 16 bits when the key has no
    // more rows than that holds, so that the table takes 2 MB of cache, not 4.
    std::vector<uint16_t> narrow_;
    std::vector<uint32_t> wide_;
};

}  // namespace dz::keyeval
