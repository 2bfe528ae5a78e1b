// The subset counter file: layout, rank, regeneration and the count-in of new draws.
#include "common/core/draws.h"
#include "drawstat/core/subsetfile.h"
#include "common/core/synth.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/tests/testutil.h"

#include "common/tests/qtprint.h"

#include <gtest/gtest.h>
#include <array>
#include <string>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

namespace {

std::string line(int drawNo, std::array<int, 8> d, int day = 6) {
    return dz::drawRecordLine(2010, 5, day, drawNo, d.data(), 1) + "\r\n";
}

CounterFile zeroed(int k) { return *CounterFile::fromBytes(k, zeroedCounterFile(k)); }

std::string text(const CounterFile& f, int r) {
    return std::string(f.subsetField(r)) + std::string(f.countField(r)) + std::string(f.keyField(r));
}

}  // namespace

TEST(SubsetFile, BinomialIsExactAndAgreesWithTheDoubleProduct) {
    for (int n = 0; n <= 20; ++n)
        for (int m = 0; m <= 8; ++m) EXPECT_EQ(double(dz::binomial(n, m)), dz::countCombinations(n, m)) << n << " " << m;
    EXPECT_EQ(subsetCount(4), 4845);
    EXPECT_EQ(subsetCount(8), 125970);
}

TEST(SubsetFile, RankOfKnownSubsets) {
    struct Case {
        int k;
        std::array<int, 8> x;
        int rank;
    };
    for (const Case& c : std::initializer_list<Case>{{4, {1, 2, 3, 4}, 1},
                                                     {4, {1, 2, 3, 5}, 2},
                                                     {4, {2, 3, 4, 5}, 970},
                                                     {4, {3, 7, 11, 20}, 2143},
                                                     {4, {17, 18, 19, 20}, 4845},
                                                     {8, {1, 2, 3, 4, 5, 6, 7, 8}, 1},
                                                     {8, {13, 14, 15, 16, 17, 18, 19, 20}, 125970}})
        EXPECT_EQ(subsetRank(c.k, c.x.data()), c.rank) << c.k << " " << c.x[0];
}

TEST(SubsetFile, RegenerationWritesEverySubsetAtItsRankAndTheTrailer) {
    for (int k = 4; k <= 8; ++k) {
        const std::string bytes = zeroedCounterFile(k);
        const int n = subsetCount(k), len = recordLength(k);
        ASSERT_EQ(bytes.size(), size_t(n + 1) * size_t(len)) << k;
        const CounterFile f = zeroed(k);
        for (int r = 1; r <= n; ++r) {
            ASSERT_EQ(bytes[size_t(r - 1) * size_t(len)], char(2 * k + 17));
            ASSERT_EQ(bytes[size_t(r - 1) * size_t(len) + 1], char(0));
            int x[8];
            for (int i = 0; i < k; ++i) x[i] = (f.subsetField(r)[size_t(2 * i)] - '0') * 10 + (f.subsetField(r)[size_t(2 * i + 1)] - '0');
            ASSERT_EQ(subsetRank(k, x), r) << k << " " << text(f, r);
            ASSERT_EQ(f.countField(r), "00000");
            ASSERT_EQ(f.keyField(r), kZeroKey);
        }
        EXPECT_EQ(text(f, n + 1), std::string(size_t(2 * k), '0') + "00000" + "00000000 000") << k;
    }
    EXPECT_EQ(text(zeroed(8), 1), "0102030405060708" "00000" "00000000 000");
    EXPECT_EQ(text(zeroed(4), 4845), "17181920" "00000" "00000000 000");
}

TEST(SubsetFile, LoadTellsMissingAndWrongSizeFiles) {
    dz::testing::ProgramFolderFixture folder;
    CounterFile f;
    EXPECT_EQ(CounterFile::load(folder.path("vevud4.txt"), 4, f), CounterFile::Status::Missing);
    std::string good = zeroedCounterFile(4);
    for (const std::string& bad : {std::string(), good.substr(0, good.size() - 1), good + "x", zeroedCounterFile(5),
                                   std::string(good.size() + 27, 'a')}) {
        folder.write("vevud4.txt", bad);
        EXPECT_EQ(CounterFile::load(folder.path("vevud4.txt"), 4, f), CounterFile::Status::WrongSize) << bad.size();
    }
    folder.write("vevud4.txt", good);
    EXPECT_EQ(CounterFile::load(folder.path("vevud4.txt"), 4, f), CounterFile::Status::Ok);
    EXPECT_EQ(f.records(), 4845);
}

TEST(SubsetFile, CountInRaisesTheRecordsOfEveryKSubsetOfADraw) {
    const std::array<int, 8> d{2, 5, 7, 11, 12, 15, 18, 20};
    const std::string draws = line(1, {1, 2, 3, 4, 5, 6, 7, 8}) + line(2, {13, 14, 15, 16, 17, 18, 19, 20}) + line(3, d);
    for (int k = 4; k <= 8; ++k) {
        CounterFile f = zeroed(k);
        const CountInResult r = countIn(f, draws);
        EXPECT_EQ(r.counted, 3);
        EXPECT_EQ(r.lastCountedKey, "20100506 003");
        EXPECT_EQ(f.highWaterKey(), "20100506 003");
        int raised = 0;
        for (int rec = 1; rec <= f.records(); ++rec) raised += f.count(rec);
        EXPECT_EQ(raised, 3 * dz::binomial(8, k)) << k;
        EXPECT_EQ(f.count(1), 1) << k;
        EXPECT_EQ(f.keyField(1), "20100506 001");
        EXPECT_EQ(f.count(f.records()), 1) << k;
        EXPECT_EQ(f.keyField(f.records()), "20100506 002");
        // the record of the draw's k smallest and of its k largest numbers
        EXPECT_EQ(f.count(subsetRank(k, d.data())), 1);
        EXPECT_EQ(f.count(subsetRank(k, d.data() + 8 - k)), 1);
        EXPECT_EQ(f.keyField(subsetRank(k, d.data() + 8 - k)), "20100506 003");
    }
}

TEST(SubsetFile, CountInCountsEachDrawOnceOverRepeatedRuns) {
    std::string draws;
    for (int i = 1; i <= 12; ++i) draws += line(i, {1, 2, 3, 4, 9, 10, 11, 12 + i % 8});
    CounterFile f = zeroed(4);
    countIn(f, draws);
    const std::array<int, 4> s{1, 2, 3, 4};
    EXPECT_EQ(f.countField(subsetRank(4, s.data())), "00012");
    EXPECT_EQ(f.keyField(subsetRank(4, s.data())), "20100506 012");
    const std::string before = f.bytes();
    // no new line: nothing changes; a line whose key equals the high-water key is skipped
    const CountInResult again = countIn(f, draws + line(12, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(again.changed);
    EXPECT_EQ(again.counted, 0);
    EXPECT_EQ(f.bytes(), before);
    // only the lines above the high-water key count
    countIn(f, draws + line(13, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(f.countField(subsetRank(4, s.data())), "00013");
}

TEST(SubsetFile, HighWaterKeyNeverGoesDownAndIgnoresLinesWithoutAKey) {
    CounterFile f = zeroed(8);
    // a short last line and empty lines leave the key of the last draw
    countIn(f, line(5, {1, 2, 3, 4, 5, 6, 7, 8}) + line(9, {1, 2, 3, 4, 5, 6, 7, 9}) + "2010050\r\n\r\n   \r\n");
    EXPECT_EQ(f.highWaterKey(), "20100506 009");
    // a file whose last key is lower than the old one counts its new lines and keeps the old key
    countIn(f, line(2, {1, 2, 3, 4, 5, 6, 7, 10}) + line(10, {1, 2, 3, 4, 5, 6, 7, 11}) + line(3, {1, 2, 3, 4, 5, 6, 7, 12}));
    EXPECT_EQ(f.highWaterKey(), "20100506 009");
    EXPECT_EQ(f.count(3), 0);  // 1..7, 10 lay below the high-water key
    EXPECT_EQ(f.count(4), 1);
    EXPECT_EQ(f.count(5), 0);
    // an empty draw file leaves the trailer as it was
    countIn(f, "");
    EXPECT_EQ(f.highWaterKey(), "20100506 009");
}

TEST(SubsetFile, LinesThatAreNoDrawsAreSkipped) {
    const std::string key = "20100506 ";
    const std::string bad = key + "001 01 02 03 04 05 06 07 21 01\r\n"   // out of range
                            + key + "002 00 02 03 04 05 06 07 08 01\r\n"  // zero
                            + key + "003 02 01 03 04 05 06 07 08 01\r\n"  // not ascending
                            + key + "004 01 01 03 04 05 06 07 08 01\r\n"  // repeated
                            + key + "005 01 02 03 04 05 06 07\r\n"        // short
                            + "2010O506 006 01 02 03 04 05 06 07 08 01\r\n"  // not a draw key
                            + key + "007 01 02 03 04 05 06 07 ab 01\r\n" + "\xff\xfe\x00\x01 garbage\r\n";
    for (int k = 4; k <= 8; ++k) {
        CounterFile f = zeroed(k);
        const std::string before = f.bytes();
        const CountInResult r = countIn(f, bad);
        EXPECT_EQ(r.counted, 0) << k;
        EXPECT_EQ(f.bytes().substr(0, before.size() - size_t(recordLength(k))),
                  before.substr(0, before.size() - size_t(recordLength(k))));
        EXPECT_EQ(f.highWaterKey(), "20100506 007");
        EXPECT_EQ(f.bytes().size(), before.size());
    }
    // " 5" reads as 5, as the runtime reads the field
    CounterFile f = zeroed(8);
    EXPECT_EQ(countIn(f, key + "008  1  2  3  4  5  6  7  8 01\r\n").counted, 1);
    EXPECT_EQ(f.count(1), 1);
}

TEST(SubsetFile, CountsSaturateAndLettersReadAsZero) {
    CounterFile f = zeroed(8);
    f.setRecord(1, 99998, kZeroKey);
    std::string bytes = f.bytes();
    const size_t rec2 = size_t(recordLength(8)) + 2 + 16;
    bytes.replace(rec2, 5, "ab#!z");
    f = *CounterFile::fromBytes(8, bytes);
    countIn(f, line(1, {1, 2, 3, 4, 5, 6, 7, 8}) + line(2, {1, 2, 3, 4, 5, 6, 7, 8}) + line(3, {1, 2, 3, 4, 5, 6, 7, 8}) +
                   line(4, {1, 2, 3, 4, 5, 6, 7, 9}));
    EXPECT_EQ(f.countField(1), "99999");
    EXPECT_EQ(f.keyField(1), "20100506 003");
    EXPECT_EQ(f.countField(2), "00001");
    EXPECT_EQ(f.bytes().size(), bytes.size());
}

TEST(SubsetFile, AStoppedCountInLeavesTheFileAsItWas) {
    const std::string draws = dz::synthDrawHistory(20000);
    CounterFile f = zeroed(5);
    const std::string before = f.bytes();
    int slices = 0;
    const CountInResult r = countIn(f, draws, [&](std::string_view key) {
        EXPECT_TRUE(key.empty() || isDrawKey(key));
        return ++slices < 2;
    });
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(f.bytes(), before);
    // run to its end with a slice that never stops: the same as without one
    CounterFile g = zeroed(5), h = zeroed(5);
    countIn(g, draws, [](std::string_view) { return true; });
    countIn(h, draws);
    EXPECT_EQ(g.bytes(), h.bytes());
    long long total = 0;
    for (int rec = 1; rec <= g.records(); ++rec) total += g.count(rec);
    EXPECT_EQ(total, 20000LL * 56);
}
