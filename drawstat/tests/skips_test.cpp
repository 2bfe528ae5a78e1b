#include "drawstat/core/skips.h"
#include "common/core/synth.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A history where draw i (1-based) holds `number` exactly when i is in `hits`; the other numbers
// keep the draws at eight distinct numbers.
dz::DrawFile history(size_t count, int number, const std::vector<size_t>& hits) {
    std::string bytes;
    for (size_t i = 1; i <= count; ++i) {
        const bool hit = std::find(hits.begin(), hits.end(), i) != hits.end();
        int nums[8];
        int k = 0;
        for (int n = 1; n <= 20 && k < 8; ++n)
            if (n != number || hit) nums[k++] = n;
        if (hit && std::find(nums, nums + 8, number) == nums + 8) nums[7] = number;
        std::sort(nums, nums + 8);
        bytes += dz::drawRecordLine(2010, 1, 1 + int(i / 264), int(i % 264) + 1, nums, 1) + "\r\n";
    }
    return dz::DrawFile::fromBytes(bytes);
}

QString key(size_t i) { return QStringLiteral("201001%1 %2").arg(1 + int(i / 264), 2, 10, QLatin1Char('0')).arg(int(i % 264) + 1, 3, 10, QLatin1Char('0')); }

TEST(LifePath, SkipsStarsAndDistribution) {
    // 20 is in draws 3, 4 and 9 of 12: gaps 3, 1, 5, then 3 draws since.
    const auto f = history(12, 20, {3, 4, 9});
    const auto r = dz::drawstat::lifePath(f, 20, 1);
    EXPECT_EQ(r.appearanceTexts(), (QStringList{key(3) + "  2", key(4) + "  0*", key(9) + "  4", QString(13, ' ') + " 3"}));
    // skip 0 (gap 1) once, skip 2 (gap 3) once, skip 4 (gap 5) once; zero counts in between
    EXPECT_EQ(r.distribution, (QStringList{" 0     1", " 1     0", " 2     1", " 3     0", " 4     1"}));
}

TEST(LifePath, LatestDrawHasNoClosingLineAndWindowHidesEarlyDraws) {
    const auto f = history(10, 5, {2, 6, 10});
    // With W = 6 the appearances in draws 2 and 6 count but are not listed.
    const auto r = dz::drawstat::lifePath(f, 5, 6);
    EXPECT_EQ(r.appearanceTexts(), QStringList{key(10) + "  3"});
    EXPECT_EQ(r.distribution, (QStringList{" 0     0", " 1     1", " 2     0", " 3     2"}));
    // A listing from the first draw on (the partial-day build) shows every appearance.
    EXPECT_EQ(dz::drawstat::lifePath(f, 5, 0).appearanceTexts().size(), 3);
}

TEST(LifePath, NeverDrawnGivesOnlyTheClosingLine) {
    const auto f = history(7, 20, {});
    const auto r = dz::drawstat::lifePath(f, 20, 1);
    EXPECT_EQ(r.appearanceTexts(), QStringList{QString(13, ' ') + " 7"});
    EXPECT_TRUE(r.distribution.isEmpty());
    EXPECT_TRUE(dz::drawstat::lifePath(dz::DrawFile::fromBytes(""), 20, 1).appearanceTexts().isEmpty());
}

TEST(LifePath, LongGapIsListedWideButNotCounted) {
    // Gap 150: skip 149 fills three characters and the mark column moves on; gap 101 is out too.
    const auto f = history(252, 9, {1, 151, 252});
    const auto r = dz::drawstat::lifePath(f, 9, 1);
    EXPECT_EQ(r.appearanceTexts(), (QStringList{key(151) + " 149", key(252) + " 100"}));
    // only the first appearance (gap 1) is in the distribution
    EXPECT_EQ(r.distribution, QStringList{" 0     1"});
}

TEST(LifePath, KeepsTheLatestRowLimitLines) {
    // 7 in every draw: 40000 appearances after W = 1 are more than a list holds.
    std::string bytes;
    const int nums[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < 40000; ++i) bytes += dz::drawRecordLine(2010, 1, 1, i % 264 + 1, nums, 1) + "\r\n";
    const auto r = dz::drawstat::lifePath(dz::DrawFile::fromBytes(bytes), 7, 1);
    ASSERT_EQ(r.appearanceTexts().size(), dz::kRowLimit);
    EXPECT_EQ(r.appearanceTexts().last(), "20100101 136  0*");  // draw 40000
    EXPECT_EQ(r.distribution, QStringList{" 0 40000"});
    // a last draw without 7: the closing line takes the place of the oldest appearance
    const int other[8] = {1, 2, 3, 4, 5, 6, 8, 9};
    bytes += dz::drawRecordLine(2010, 1, 2, 1, other, 1) + "\r\n";
    const QStringList closed = dz::drawstat::lifePath(dz::DrawFile::fromBytes(bytes), 7, 1).appearanceTexts();
    ASSERT_EQ(closed.size(), dz::kRowLimit);
    EXPECT_EQ(closed.mid(0, dz::kRowLimit - 1), r.appearanceTexts().mid(1));
    EXPECT_EQ(closed.last(), dz::drawstat::closingLine(1));
}

TEST(LifePath, FaultyFieldsAndNumbersOutsideRangeAreHarmless) {
    const auto f = dz::DrawFile::fromBytes("20100101 001 01 02\r\nx\r\n20100101 003 99 20 00 05 06 07 08 09 01\r\n");
    EXPECT_EQ(dz::drawstat::lifePath(f, 20, 0).appearanceTexts(), QStringList{"20100101 003  2"});
    EXPECT_TRUE(dz::drawstat::lifePath(f, 0, 0).appearanceTexts().isEmpty());
    EXPECT_TRUE(dz::drawstat::lifePath(f, 21, 0).appearanceTexts().isEmpty());
}

TEST(SinceView, CountsAndThreshold) {
    std::array<long long, 21> last{};
    last[3] = 100;
    last[4] = 97;
    const auto since = dz::drawstat::drawsSince(100, last);
    EXPECT_EQ(since[3], 0);
    EXPECT_EQ(since[4], 3);
    EXPECT_EQ(since[5], 100);  // never came: N

    struct Case {
        const char* box;
        double value;
        const char* text;
    };
    for (const Case& c : {Case{"5", 5, "5"}, Case{"0", 1, "1"}, Case{"abc", 1, "1"}, Case{"", 1, "1"}, Case{"-3", 1, "1"}}) {
        const auto t = dz::drawstat::sinceThreshold(QString::fromUtf8(c.box));
        EXPECT_EQ(t.value, c.value) << c.box;
        EXPECT_EQ(t.text, QString::fromUtf8(c.text)) << c.box;
    }
    EXPECT_EQ(dz::drawstat::spinThreshold("1", -1), "1");
    EXPECT_EQ(dz::drawstat::spinThreshold("1", +1), "2");
    EXPECT_EQ(dz::drawstat::spinThreshold("abc", +1), "1");
    EXPECT_EQ(dz::drawstat::spinThreshold("2.5", +1), "3.5");
    EXPECT_EQ(dz::drawstat::spinThreshold("1e300", +1).contains('e'), false);
}

}  // namespace
