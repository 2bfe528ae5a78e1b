// Hit distributions of a large key by subset sums: for every set S of numbers, the rows that
// hold all of S are counted once per key; a draw's 8 numbers have 256 subsets, and the sums of
// their counts by size are the binomial moments of the draw's hit distribution, which give the
// distribution exactly. A draw then costs 256 look-ups whatever the key's size.
#pragma once
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

    // Whether the subset sums beat the row-by-row scan for a run of this size.
    static bool pays(size_t rows, size_t draws);

private:
    std::vector<uint32_t> rowsHolding_;  // by set of numbers 1..20 (bit n - 1)
};

}  // namespace dz::keyeval
