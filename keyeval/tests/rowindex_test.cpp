#include "keyeval/core/evaluation.h"
#include "keyeval/core/rowindex.h"

#include "common/core/random.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

using namespace dz;
using namespace dz::keyeval;

namespace {

uint32_t randomMask(Random& rng, int numbers) {
    uint32_t m = 0;
    while (std::popcount(m) < numbers) m |= 1u << rng.drawNumber(20);
    return m;
}

// The rows with at least minHits hits, in row order, one by one.
std::vector<uint32_t> rowsFrom(const KeyRows& key, uint32_t dm, int minHits) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < key.rowCount(); ++i)
        if (key.hits(i, dm) >= minHits) out.push_back(uint32_t(i));
    return out;
}

}  // namespace

// Every row the index finds is one a row-by-row count finds, and none is missed: rows of several
// sizes (fewer numbers than the minimum too), a mask kept three times, a row naming a number
// twice, a row with a bit that is no number, draws of eight numbers and of fewer, every minimum;
// few rows found (sorted) and many (put in order through the bit map).
TEST(RowIndex, FindsTheRowsARowByRowCountFinds) {
    Random rng(41);
    KeyRows key;
    for (int i = 0; i < 3000; ++i) key.masks.push_back(randomMask(rng, i % 7 == 0 ? 3 + i % 6 : 8));
    key.masks[10] = key.masks[500] = key.masks[2999] = key.masks[3];
    key.masks[20] = 0x1FEu | 1u;                       // bit 0: no number
    key.masks[30] = 0x0FEu;                            // fields 01 01 02 .. 07
    key.repeats.push_back({30u, {1, 1, 2, 3, 4, 5, 6, 7}});
    std::vector<uint32_t> cand(key.rowCount() + 8);
    for (int minHits = 4; minHits <= 8; ++minHits) {
        const RowIndex index(key, minHits);
        for (int d = 0; d < 300; ++d) {
            const uint32_t dm = d == 0 ? key.masks[3] : d == 1 ? 0x1FEu : randomMask(rng, d % 10 == 0 ? 6 : 8);
            const size_t n = index.find(key, dm, cand.data());
            ASSERT_EQ(std::vector<uint32_t>(cand.begin(), cand.begin() + long(n)), rowsFrom(key, dm, minHits))
                << "draw " << d << ", minimum " << minHits;
        }
    }
}

// What a look-up costs against a scan of every row, by the draw's distribution (a full key of
// rows of 8 and a draw of 8 at each minimum, a small key, a draw of more numbers than any holds),
// and when an index pays for its building over the draws left to list.
TEST(RowIndex, WhenItPays) {
    KeyRows eights;
    Random rng(3);
    for (int i = 0; i < 32736; ++i) eights.masks.push_back(randomMask(rng, 8));
    const uint32_t draw = 0x1FEu;  // 1..8
    uint32_t hist[9] = {};
    for (uint32_t m : eights.masks) ++hist[std::popcount(m & draw)];
    struct Case {
        size_t rows;
        int minHits;
        uint32_t draw;
        bool pays;
    };
    for (const Case& c : {Case{32736, 8, draw, true}, Case{32736, 7, draw, true}, Case{32736, 6, draw, true},
                          Case{32736, 5, draw, false}, Case{32736, 4, draw, false}, Case{50, 7, draw, false},
                          Case{32736, 8, 0x1FFEu, false}}) {
        uint32_t h[9];
        for (int i = 0; i <= 8; ++i) h[i] = uint32_t(uint64_t(hist[i]) * c.rows / 32736);
        EXPECT_EQ(RowIndex::cost(0, c.minHits, c.draw, h) < c.rows, c.pays) << c.rows << " rows, minimum " << c.minHits;
    }
    // A row of 8 is under C(8, m) sets. At 7 the draws that fill the hit list (25 rows each) pay
    // for the index, at 6 (500 rows each) they do not; a single draw pays for none.
    const size_t seven = RowIndex::entriesFor(eights, 7), six = RowIndex::entriesFor(eights, 6);
    EXPECT_EQ(seven, 8u * 32736u);
    EXPECT_EQ(six, 28u * 32736u);
    EXPECT_EQ(RowIndex(eights, 7).entries(), seven);
    EXPECT_TRUE(RowIndex::paysToBuild(eights, seven, 7, draw, hist, 1'000'000 / 25));
    EXPECT_FALSE(RowIndex::paysToBuild(eights, six, 6, draw, hist, 1'000'000 / 500));
    EXPECT_FALSE(RowIndex::paysToBuild(eights, seven, 7, draw, hist, 1));
}
