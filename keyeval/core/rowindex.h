// The rows of a key found by their number sets. A row with at least m hits in a draw is some
// m..k of the draw's numbers and the rest of its k numbers from outside the draw, so for a high
// minimum the sets such a row can be are few (for rows of 8 and a draw of 8: one set for 8 hits,
// 96 from 7, 1 945 from 6), and looking them up finds the rows without scanning all of them.
#pragma once
#include "keyeval/core/evaluation.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dz::keyeval {

class RowIndex {
public:
    explicit RowIndex(const KeyRows& key);

    // The sets a look-up for this draw and minimum tries.
    size_t lookups(uint32_t drawMask, int minHits) const;
    // Whether a look-up costs less than scanning every row.
    bool pays(uint32_t drawMask, int minHits) const;
    // The rows of the key with at least minHits hits in the draw (rows that name a number twice
    // scored as they score), in row order, into cand; returns their count. cand has room for
    // every row.
    size_t find(const KeyRows& key, uint32_t drawMask, int minHits, uint32_t* cand) const;

private:
    template <class OnSet>
    void forEachSet(uint32_t drawMask, int minHits, OnSet&& onSet) const;

    // Open addressing by mask: the mask and the first row of that mask + 1 (0 when empty).
    struct Slot {
        uint32_t mask = 0, row = 0;
    };
    std::vector<Slot> slots_;
    uint32_t slotMask_ = 0;
    int shift_ = 0;  // a mask's home slot: its hash's top bits
    // One bit a set of numbers (bit n - 1 for n): some row of the table is that set. Most sets a
    // look-up tries are no row, and this tells so in one read.
    std::vector<uint64_t> present_;
    // The next row of the same mask + 1 (0: none), only when some mask occurs twice.
    std::vector<uint32_t> next_;
    uint32_t types_ = 0;             // bit k: some row of k numbers is in the table
    // Rows that name a number twice or hold a bit that is no number: checked one by one.
    std::vector<uint32_t> oddRows_;
    size_t rows_ = 0;
};

}  // namespace dz::keyeval
