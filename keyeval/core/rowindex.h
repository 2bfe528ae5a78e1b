// The rows of a key found by their number sets. A row with at least m hits in a draw holds some
// m of the draw's numbers, so rows kept under each set of m numbers they hold are found from the
// draw's own m-sets alone: 8 sets of a draw of eight for m = 7, 28 for m = 6. A row with more hits
// is under several of them and is taken from the first (its m lowest hit numbers).
#pragma once
#include "keyeval/core/evaluation.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace dz::keyeval {

class RowIndex {
public:
    // The rows of the key under each set of minHits numbers (1..8) they hold.
    RowIndex(const KeyRows& key, int minHits);

    // The entries an index of the key for this minimum holds: a row of k numbers is under C(k, m) sets.
    static size_t entriesFor(const KeyRows& key, int minHits);
    // What finding a draw's rows costs, in rows of a scan of every row, by the draw's distribution
    // (hist[h]: rows with h hits); the most there is for a draw that no index serves.
    static size_t cost(size_t oddRows, int minHits, uint32_t drawMask, const uint32_t hist[9]);
    // Whether finding the draw's rows this way costs less than scanning every row.
    bool pays(uint32_t drawMask, const uint32_t hist[9]) const {
        return cost(oddRows_.size(), minHits_, drawMask, hist) < rows_;
    }
    // Whether an index of the given entries, built now, costs less than the scans it saves over
    // this many draws like this one.
    static bool paysToBuild(const KeyRows& key, size_t entries, int minHits, uint32_t drawMask, const uint32_t hist[9],
                            size_t draws);
    // The rows of the key with at least minHits hits in the draw (rows that name a number twice
    // scored as they score), in row order, into cand; returns their count. cand has room for
    // every row.
    size_t find(const KeyRows& key, uint32_t drawMask, uint32_t* cand) const;

    int minHits() const { return minHits_; }
    size_t entries() const { return entries_; }

private:
    struct Entry {
        uint32_t mask, row;
    };
    int minHits_;
    size_t rows_;
    // The entries under set s (by its rank among the sets of minHits numbers) are
    // rowsOf_[first_[s] .. first_[s + 1]), in row order.
    std::vector<uint32_t> first_;
    std::unique_ptr<Entry[]> rowsOf_;  // each written once as it is built
    size_t entries_ = 0;
    // Rows that name a number twice or hold a bit that is no number: checked one by one.
    std::vector<uint32_t> oddRows_;
    // One bit a row and one a word of them, to put the rows found back in row order (all 0
    // between look-ups).
    mutable std::vector<uint64_t> seen_, words_;
};

}  // namespace dz::keyeval
