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
// types, a mask kept three times (its chain), a row naming a number twice, a row with a bit that
// is no number, draws of eight numbers and of fewer, every minimum.
TEST(RowIndex, FindsTheRowsARowByRowCountFinds) {
    Random rng(41);
    KeyRows key;
    for (int i = 0; i < 3000; ++i) key.masks.push_back(randomMask(rng, i % 7 == 0 ? 5 + i % 3 : 8));
    key.masks[10] = key.masks[500] = key.masks[2999] = key.masks[3];
    key.masks[20] = 0x1FEu | 1u;                       // bit 0: no number
    key.masks[30] = 0x0FEu;                            // fields 01 01 02 .. 07
    key.repeats.push_back({30u, {1, 1, 2, 3, 4, 5, 6, 7}});
    const RowIndex index(key);
    std::vector<uint32_t> cand(key.rowCount() + 8);
    for (int d = 0; d < 300; ++d) {
        const uint32_t dm = d == 0 ? key.masks[3] : d == 1 ? 0x1FEu : randomMask(rng, d % 10 == 0 ? 6 : 8);
        for (int minHits = 4; minHits <= 8; ++minHits) {
            const size_t n = index.find(key, dm, minHits, cand.data());
            ASSERT_EQ(std::vector<uint32_t>(cand.begin(), cand.begin() + long(n)), rowsFrom(key, dm, minHits))
                << "draw " << d << ", minimum " << minHits;
        }
    }
}

// The sets a look-up tries, and whether it pays against a scan of every row.
TEST(RowIndex, LookupsAndWhenTheyPay) {
    KeyRows eights;
    Random rng(3);
    for (int i = 0; i < 32736; ++i) eights.masks.push_back(randomMask(rng, 8));
    const RowIndex index(eights);
    const uint32_t draw = 0x1FEu;  // 1..8
    // A row of 8 with h of the draw's 8 numbers: C(8, h) C(12, 8 - h) sets.
    EXPECT_EQ(index.lookups(draw, 8), 1u);
    EXPECT_EQ(index.lookups(draw, 7), 97u);
    EXPECT_EQ(index.lookups(draw, 6), 1945u);
    EXPECT_TRUE(index.pays(draw, 8));
    EXPECT_TRUE(index.pays(draw, 7));
    EXPECT_FALSE(index.pays(draw, 4));
    EXPECT_FALSE(index.pays(0x1FFEu, 8));  // twelve numbers: no draw holds them, scanned

    KeyRows few;
    few.masks.assign(eights.masks.begin(), eights.masks.begin() + 50);
    EXPECT_FALSE(RowIndex(few).pays(draw, 7));  // 97 look-ups cost more than 50 rows
}
