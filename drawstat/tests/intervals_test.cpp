#include "drawstat/core/intervals.h"
#include "common/core/synth.h"
#include "common/tests/drawref.h"

#include <gtest/gtest.h>

namespace {

std::string line(int drawNo, std::array<int, 8> nums) { return dz::drawRecordLine(2010, 3, 4, drawNo, nums.data(), 2) + "\r\n"; }

TEST(IntervalPattern, DigitsAndCodes) {
    struct Case {
        std::array<int, 8> nums;
        const char* digits;
        int code;
    };
    const Case cases[] = {
        {{1, 2, 3, 4, 5, 6, 7, 8}, "5   3   _   _", 5300},
        {{1, 2, 6, 7, 11, 12, 16, 17}, "2   2   2   2", 2222},
        {{6, 7, 8, 11, 12, 13, 14, 15}, "_   3   5   _", 350},
        {{13, 15, 16, 17, 18, 19, 20, 14}, "_   _   3   5", 35},
    };
    for (const Case& c : cases) {
        const auto f = dz::DrawFile::fromBytes(line(7, c.nums));
        const auto counts = dz::drawstat::intervalCounts(dz::testing::allRecords(f)[0]);
        EXPECT_EQ(dz::drawstat::patternCode(counts), c.code);
        const QString l = dz::drawstat::intervalLine("20100304 007", counts);
        EXPECT_EQ(l, QStringLiteral("20100304 007     ") + c.digits);
        EXPECT_EQ(l.size(), 30);
    }
}

TEST(IntervalPattern, ListsOnlyDrawsAfterWindowStartAndBothOrders) {
    std::string bytes = line(1, {1, 2, 3, 4, 5, 6, 7, 8});  // draw 1: never takes part with W = 1
    for (int i = 0; i < 3; ++i) bytes += line(2 + i, {1, 2, 6, 7, 11, 12, 16, 17});
    bytes += line(5, {1, 2, 3, 4, 5, 6, 7, 8});
    bytes += line(6, {6, 7, 8, 11, 12, 13, 14, 15});
    const auto r = dz::drawstat::intervalPatterns(dz::DrawFile::fromBytes(bytes), 1);
    ASSERT_EQ(r.draws.size(), 5);
    EXPECT_EQ(r.draws.first(), "20100304 002     2   2   2   2");
    EXPECT_EQ(r.draws.last(), "20100304 006     _   3   5   _");
    EXPECT_EQ(r.byCode, (QStringList{" 0 3 5 0    1", " 2 2 2 2    3", " 5 3 0 0    1"}));
    // rarest first, equal counts in ascending pattern order
    EXPECT_EQ(r.byFrequency, (QStringList{"   1  0 3 5 0", "   1  5 3 0 0", "   3  2 2 2 2"}));
    for (const QString& s : r.byCode) EXPECT_EQ(s.size(), 13);
}

TEST(IntervalPattern, FaultyRecordsStayInsideTheTable) {
    // Fields of 0, above 20 or repeated: skipped or counted without leaving the table.
    const auto f = dz::DrawFile::fromBytes(
        "20100304 001 01 02 03 04 05 06 07 08 01\r\n"
        "20100304 002 00 99 03 04 05 06 07 08 01\r\n"
        "20100304 003 01 01 01 01 01 01 01 01 01\r\n"
        "short\r\n");
    const auto r = dz::drawstat::intervalPatterns(f, 1);
    EXPECT_EQ(r.draws, (QStringList{"20100304 002     3   3   _   _", "20100304 003     8   _   _   _", "short     _   _   _   _"}));
    EXPECT_EQ(r.byCode, (QStringList{" 3 3 0 0    1", " 8 0 0 0    1"}));
    EXPECT_EQ(r.byFrequency.size(), r.byCode.size());
}

TEST(IntervalPattern, MissingWindowGivesEmptyLists) {
    const auto r = dz::drawstat::intervalPatterns(dz::DrawFile::fromBytes(line(1, {1, 2, 3, 4, 5, 6, 7, 8})), 1);
    EXPECT_TRUE(r.draws.isEmpty());
    EXPECT_TRUE(r.byCode.isEmpty());
    EXPECT_TRUE(r.byFrequency.isEmpty());
}

}  // namespace
