// daystat's rules in drawstat's engines, over small fixtures.
#include "drawstat/core/backtest.h"
#include "drawstat/core/distributions.h"
#include "drawstat/core/intervals.h"
#include "daystat/core/profile.h"
#include "drawstat/core/skips.h"
#include "common/core/synth.h"
#include "drawstat/tests/support/classlines_ref.h"

#include <gtest/gtest.h>

#include <vector>

using namespace dz::drawstat;

namespace {
using Draw = std::array<int, 8>;
std::string records(const std::vector<Draw>& draws) { return dz::dayRecords(2010, 1, 5, draws); }
dz::DrawFile file(const std::vector<Draw>& draws) { return dz::DrawFile::fromBytes(records(draws)); }
QString key(int k) { return QStringLiteral("20100105 %1").arg(k, 3, 10, QLatin1Char('0')); }
constexpr Draw kRuns{1, 2, 3, 4, 10, 11, 12, 13};   // two runs of 4
constexpr Draw kEight{5, 6, 7, 8, 9, 10, 11, 12};   // one run of 8
constexpr Draw kEven{2, 4, 6, 8, 10, 12, 14, 16};
const Rules kDay = dz::daystat::profile().rules;
dz::drawstat::testing::ClassTexts identity(const dz::DrawFile& f, long long w, const Rules& r) {
    return dz::drawstat::testing::texts(identityDistribution(f, w, r));
}
dz::drawstat::testing::ClassTexts adhesion(const dz::DrawFile& f, long long w, const Rules& r) {
    return dz::drawstat::testing::texts(adhesionDistribution(f, w, r));
}
}  // namespace

TEST(DaystatIdentity, ListsFromTheSecondDrawUntilTheWindowStartPasses32722) {
    const auto f = file({kEven, kEven, kRuns});
    for (long long w : {0LL, 1LL, 32722LL}) {
        const auto r = identity(f, w, kDay);
        ASSERT_EQ(r.lines.size(), 2 + 12) << w;
        EXPECT_EQ(r.lines[0], key(2) + "   * 8   02 04 06 08 10 12 14 16 ");
        EXPECT_EQ(r.lines[1], key(3) + "   * 4   02 04 10 12 ");
        EXPECT_EQ(r.lines.last(), QStringLiteral(" 8   1"));
        for (const auto& c : r.classes) EXPECT_TRUE(c.isEmpty());
    }
    // past 32722 the listing start is W + 12, as drawstat's
    EXPECT_EQ(identity(f, 32723, kDay).lines.size(), 12);
    // one record: only the distribution block, all zeros
    const auto one = identity(file({kRuns}), 0, kDay);
    EXPECT_EQ(one.lines.size(), 12);
    EXPECT_EQ(one.lines[3], QStringLiteral(" 0   0"));
}

TEST(DaystatRuns, DigitBeforeStarAndDrawsFromTheWindowStart) {
    const auto f = file({kEight, kRuns, kEven, kRuns});
    const auto all = adhesion(f, 0, kDay);
    ASSERT_EQ(all.lines.size(), 5 + 8);
    EXPECT_EQ(all.lines[0], key(1) + "    8*   05  06  07  08  09  10  11  12");
    EXPECT_EQ(all.lines[1], key(2) + "    4*   01  02  03  04");
    EXPECT_EQ(all.lines[2], key(2) + "    4*   10  11  12  13");
    EXPECT_EQ(all.lines[8], QStringLiteral(" 4      4"));
    EXPECT_EQ(all.lines[12], QStringLiteral(" 8      1"));
    // W = 2 leaves the first draw out of rows and counts; W = 1 takes every draw
    const auto from2 = adhesion(f, 2, kDay);
    EXPECT_EQ(from2.lines.size(), 4 + 8);
    EXPECT_EQ(from2.lines.last(), QStringLiteral(" 8      0"));
    EXPECT_EQ(adhesion(f, 1, kDay).lines, all.lines);
    // a stale start from a longer file ends at the end of this one
    const auto stale = adhesion(f, 1000, kDay);
    EXPECT_EQ(stale.lines.size(), 8);
    EXPECT_EQ(stale.lines[3], QStringLiteral(" 4      0"));
}

TEST(DaystatBacktest, TalliesAndListsFromTheWindowStart) {
    const auto f = file({kEven, kRuns, kEight});
    BacktestInput in;
    in.marked = (1u << 2) | (1u << 4) | (1u << 10);
    in.markedCount = 3;
    in.fromWindow = true;
    struct Case { long long w; int listed; long long threeHits; };
    // hits of 2 4 10: kEven 3, kRuns 3, kEight 1
    for (const Case c : {Case{0, 3, 2}, Case{1, 3, 2}, Case{2, 2, 1}, Case{50, 0, 0}}) {
        in.windowStart = c.w;
        const auto out = runBacktest(in, std::optional<dz::DrawFile>(f));
        EXPECT_EQ(dz::allLines(*out.hitLines).size(), c.listed) << c.w;
        EXPECT_EQ(dz::allLines(*out.hitLines).size(), dz::allLines(*out.numberLines).size());
        EXPECT_EQ(out.hitCounts[3], c.threeHits) << c.w;
        EXPECT_EQ(out.distribution.size(), 9);
    }
    in.windowStart = 1;
    in.starText = QStringLiteral("3");
    EXPECT_EQ(dz::allLines(*runBacktest(in, std::optional<dz::DrawFile>(f)).hitLines)[0], key(1) + "   3 *");
}

TEST(DaystatIntervals, RowWithoutBlankBeforeTheTally) {
    const auto f = file({{1, 2, 3, 4, 5, 6, 7, 8}, {2, 4, 7, 9, 12, 13, 18, 20}});
    const auto r = intervalPatterns(f, 0, kDay.intervalTallyJoined);
    EXPECT_EQ(r.draws[0], key(1) + "     5   3   _   _");
    EXPECT_EQ(r.byCode, (QStringList{" 2 2 2 2   1", " 5 3 0 0   1"}));
    EXPECT_EQ(r.byFrequency[0], QStringLiteral("   1  2 2 2 2"));
    EXPECT_EQ(intervalPatterns(f, 1, true).draws.size(), 1);
    EXPECT_TRUE(intervalPatterns(f, 9, true).draws.isEmpty());
}

TEST(DaystatLifePath, EveryAppearanceIsListed) {
    const auto r = lifePath(file({kEven, kEven, kRuns, kEven}), 4, 0);
    EXPECT_EQ(r.appearanceTexts(), (QStringList{key(1) + "  0*", key(2) + "  0*", key(3) + "  0*", key(4) + "  0*"}));
    EXPECT_EQ(r.distribution, (QStringList{" 0     4"}));
}

TEST(DaystatLifePath, KeepsTheLatestRowsOfALongFile) {
    std::string bytes;
    for (int i = 0; i < 80000; ++i) bytes += dz::drawRecordLine(2010, 1 + i / 7000, 1, 1 + i % 264, kEven.data(), 1) + "\r\n";
    const auto f = dz::DrawFile::fromBytes(bytes);
    std::vector<QString> keys;
    dz::forEachDraw(f, [&](const dz::DrawLine& l) { keys.push_back(QString::fromLatin1(dz::drawKey(l.item))); });
    const auto keyAt = [&](size_t i) { return keys.at(i); };
    const auto r = lifePath(f, 4, 0);
    ASSERT_EQ(r.appearanceTexts().size(), 32736);
    EXPECT_EQ(r.appearanceTexts()[0], keyAt(80000 - 32736) + "  0*");
    EXPECT_EQ(r.appearanceTexts().last(), keyAt(79999) + "  0*");
    EXPECT_EQ(r.distribution, (QStringList{" 0 80000"}));
}
