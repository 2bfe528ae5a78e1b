#include "drawstat/core/mostfrequent.h"
#include "common/core/synth.h"
#include "common/tests/drawref.h"

#include <gtest/gtest.h>

#include <set>

namespace {

dz::drawstat::FrequencyLists listsFor(const dz::DrawFile& f, long long n, double l) {
    return dz::drawstat::frequencyLists(dz::drawstat::countFrequencies(f, dz::drawstat::firstCountedDraw(n, l)));
}

TEST(MostFrequent, WhichDrawsCount) {
    struct Case {
        long long n;
        double l;
        size_t first;
    };
    for (const Case& c : {Case{10, 1, 9}, Case{10, 10, 0}, Case{10, 25, 0}, Case{10, -3, 13}, Case{10, 2.5, 7},
                          Case{0, 5, 0}, Case{10, 1e300, 0}, Case{10, -1e300, size_t(1e15)}})
        EXPECT_EQ(dz::drawstat::firstCountedDraw(c.n, c.l), c.first) << c.n << " " << c.l;
}

TEST(MostFrequent, LastDrawOneToEight) {
    const int other[8] = {9, 10, 11, 12, 13, 14, 15, 16};
    const int last[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const auto f = dz::DrawFile::fromBytes(dz::drawRecordLine(2010, 1, 1, 1, other, 1) + "\r\n" +
                                           dz::drawRecordLine(2010, 1, 1, 2, last, 1) + "\r\n");
    const auto r = listsFor(f, 2, 1);
    ASSERT_EQ(r.numbers.size(), 20);
    EXPECT_EQ(r.numbers[0], " 01     1");
    EXPECT_EQ(r.numbers[8], " 09     0");
    EXPECT_EQ(r.numbersRanked.first(), "    0   09");
    EXPECT_EQ(r.numbersRanked.last(), "    1   08");
    ASSERT_EQ(r.pairs.size(), 190);
    EXPECT_EQ(r.pairs[0], "  01  02    1");
    EXPECT_EQ(r.pairs.last(), "  19  20    0");
    ASSERT_EQ(r.triples.size(), 1140);
    EXPECT_EQ(r.triples[0], "  01  02  03    1");
    EXPECT_EQ(r.triples.last(), "  18  19  20    0");
    // The 28 pairs and 56 triples inside 1..8 are last in the rankings, in ascending number order.
    EXPECT_EQ(r.pairsRanked[190 - 28], "     1   01  02");
    EXPECT_EQ(r.pairsRanked.last(), "     1   07  08");
    EXPECT_EQ(r.pairsRanked[190 - 29], "     0   19  20");
    EXPECT_EQ(r.triplesRanked[1140 - 56], "     1   01  02  03");
    EXPECT_EQ(r.triplesRanked.last(), "     1   06  07  08");
    EXPECT_EQ(r.triplesRanked.first(), "     0   01  02  09");
    EXPECT_EQ(r.numbersRanked[0].size(), 10);
    EXPECT_EQ(r.pairsRanked[0].size(), 15);
    EXPECT_EQ(r.triplesRanked[0].size(), 19);
}

TEST(MostFrequent, AgreesWithPlainCountingOverABlockBoundary) {
    // 10000 draws cross the counting blocks; L greater than N and equal to N give the same lists.
    const auto f = dz::DrawFile::fromBytes(dz::synthDrawHistory(10000));
    const auto c = dz::drawstat::countFrequencies(f, 123);
    std::array<int32_t, 21> nums{};
    std::vector<int32_t> pairs(190), triples(1140);
    const auto recs = dz::testing::allRecords(f);
    for (size_t d = 123; d < recs.size(); ++d) {
        const uint32_t m = recs[d].mask;
        size_t p = 0, t = 0;
        for (int i = 1; i <= 20; ++i) nums[size_t(i)] += (m >> i) & 1;
        for (int i = 1; i <= 19; ++i)
            for (int j = i + 1; j <= 20; ++j, ++p) {
                const bool ij = ((m >> i) & 1) && ((m >> j) & 1);
                pairs[p] += ij;
                for (int k = j + 1; k <= 20; ++k, ++t) triples[t] += ij && ((m >> k) & 1);
            }
    }
    EXPECT_EQ(c.numbers, nums);
    EXPECT_EQ(c.pairs, pairs);
    EXPECT_EQ(c.triples, triples);
    const auto all = listsFor(f, 10000, 10000);
    const auto more = listsFor(f, 10000, 99999);
    EXPECT_EQ(all.triplesRanked, more.triplesRanked);
    EXPECT_EQ(all.pairs, more.pairs);
}

TEST(MostFrequent, RankingHoldsWhenCountsPassFiveDigits) {
    dz::drawstat::FrequencyCounts c;
    c.pairs.assign(190, 99999);
    c.triples.assign(1140, 0);
    c.pairs[5] = 100000;
    c.pairs[6] = 5;
    c.numbers[3] = 7;
    const auto r = dz::drawstat::frequencyLists(c);
    EXPECT_EQ(r.pairsRanked.first(), "      5   01  08");
    EXPECT_EQ(r.pairsRanked.last(), " 100000   01  07");
    EXPECT_EQ(r.pairs[5], "  01  07100000");  // the number-order lists keep "@@@@@"
    // Below six digits the ranked lines are the plain layout.
    EXPECT_EQ(r.numbersRanked.last(), "    7   03");
}

TEST(MostFrequent, NoDrawsCountedListsEveryCountAsZero) {
    const auto f = dz::DrawFile::fromBytes(dz::synthDrawHistory(50));
    const auto r = listsFor(f, 50, -4);
    std::set<QString> counts;
    for (const QString& s : r.triples) counts.insert(s.right(5));
    EXPECT_EQ(counts, std::set<QString>{"    0"});
    EXPECT_EQ(r.numbers.size(), 20);
}

}  // namespace
