#include "drawstat/core/backtest.h"
#include "common/core/synth.h"
#include "common/tests/drawref.h"
#include "common/core/textfmt.h"

#include <bit>
#include <gtest/gtest.h>

using namespace dz::drawstat;
using Status = BacktestOutcome::Status;

namespace {

uint32_t maskOf(std::initializer_list<int> numbers) {
    uint32_t m = 0;
    for (int n : numbers) m |= 1u << n;
    return m;
}

BacktestInput marked(std::initializer_list<int> numbers) {
    BacktestInput in;
    in.marked = maskOf(numbers);
    in.markedCount = int(numbers.size());
    return in;
}

dz::DrawFile synth(size_t n) { return dz::DrawFile::fromBytes(dz::synthDrawHistory(n)); }

// Hits of every draw of a file against the marks.
std::vector<int> hitsOf(const dz::DrawFile& f, uint32_t m) {
    std::vector<int> out;
    for (const auto& r : dz::testing::allRecords(f)) out.push_back(std::popcount(r.mask & m));
    return out;
}

}  // namespace

TEST(Backtest, DefaultsListEveryDrawAfterWWithStars) {
    const auto f = synth(40);
    auto in = marked({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    const auto out = runBacktest(in, f);
    ASSERT_EQ(out.status, Status::Done);
    // W = 1: the first draw is counted in the distribution, not listed
    ASSERT_EQ(dz::allLines(*out.hitLines).size(), 39);
    ASSERT_EQ(dz::allLines(*out.numberLines).size(), 39);
    const auto hits = hitsOf(f, in.marked);
    const auto lines = dz::testing::streamRead(f);
    for (int i = 0; i < 39; ++i) {
        const int h = hits[size_t(i) + 1];
        const std::string line = lines[size_t(i) + 1].line;
        EXPECT_EQ(dz::allLines(*out.hitLines)[i], QString::fromStdString(line.substr(0, 12)) + "  " + dz::str(h) + (h >= 4 ? " *" : ""));
        EXPECT_EQ(dz::allLines(*out.numberLines)[i].toStdString(), line.substr(12, 27));
    }
    long long total = 0;
    for (int h = 0; h <= 8; ++h) {
        EXPECT_EQ(out.distribution[h], QString::number(h) + "  " + QString::number(out.hitCounts[size_t(h)]));
        total += out.hitCounts[size_t(h)];
    }
    EXPECT_EQ(total, 40);
    EXPECT_EQ(out.level, QStringLiteral("0"));  // fewer than 32736 draws: complete from 0 hits
    EXPECT_EQ(out.listedCount, QStringLiteral("39"));
    EXPECT_EQ(out.hitTopIndex, 39 - 17);

    in.wholeHistory = true;
    in.fromText = "0";
    in.levelText = "0";  // a level of 0 counts as none: whole-history mode starts at 6
    const auto whole = runBacktest(in, f);
    EXPECT_EQ(whole.fromText, QStringLiteral("6"));
    long long six = 0;
    for (int h : hitsOf(f, in.marked)) six += h >= 6;
    EXPECT_EQ(dz::allLines(*whole.hitLines).size(), six);
}

TEST(Backtest, LineWithFiveHitsAndStarIs18Characters) {
    const int d[8] = {1, 2, 3, 4, 5, 16, 17, 18};
    const std::string bytes = dz::drawRecordLine(2010, 12, 31, 264, d, 3) + "\r\n";
    auto in = marked({1, 2, 3, 4, 5});
    in.wholeHistory = true;
    in.levelText = "5";
    const auto out = runBacktest(in, dz::DrawFile::fromBytes(bytes));
    ASSERT_EQ(dz::allLines(*out.hitLines).size(), 1);
    EXPECT_EQ(dz::allLines(*out.hitLines)[0], QStringLiteral("20101231 264   5 *"));
    EXPECT_EQ(dz::allLines(*out.numberLines)[0], QStringLiteral(" 01 02 03 04 05 16 17 18 03"));
    EXPECT_EQ(out.fromText, QStringLiteral("5"));  // the lower bound raised to the level
    EXPECT_FALSE(out.hitTopIndex);
}

TEST(Backtest, BoundsThresholdAndMarks) {
    const auto f = synth(30);
    struct Case {
        const char *from, *to;
        Status status;
    };
    for (const Case c : {Case{"9", "20", Status::Done}, Case{"20", "20", Status::Done}, Case{"9", "8", Status::BadBounds},
                         Case{"21", "30", Status::BadBounds}, Case{"-1", "8", Status::BadBounds},
                         Case{"5", "3", Status::BadBounds}, Case{"abc", "8", Status::Done}}) {
        auto in = marked({1, 2, 3});
        in.fromText = c.from;
        in.toText = c.to;
        const auto out = runBacktest(in, f);
        EXPECT_EQ(out.status, c.status) << c.from << " " << c.to;
        if (c.status == Status::Done && QString(c.from) != "abc") {
            // nothing has 9 or more hits, but the distribution and the level are still filled
            EXPECT_TRUE(dz::allLines(*out.hitLines).isEmpty());
            EXPECT_EQ(out.distribution.size(), 9);
            EXPECT_TRUE(out.level);
        }
        if (c.status == Status::BadBounds) {
            EXPECT_FALSE(out.listsCleared());
        }
    }

    for (const char* star : {"", "0", "abc"}) {
        auto in = marked({1});
        in.starText = star;
        EXPECT_EQ(runBacktest(in, f).starText, QStringLiteral("4")) << star;
    }
    auto none = marked({});
    none.starText = "";
    const auto out = runBacktest(none, f);
    EXPECT_EQ(out.status, Status::NoMarks);
    EXPECT_EQ(out.starText, QStringLiteral("4"));  // the threshold is settled before the marks
    EXPECT_FALSE(out.listsCleared());

    const auto missing = runBacktest(marked({1}), std::optional<dz::DrawFile>{});
    EXPECT_EQ(missing.status, Status::NoFile);
    EXPECT_TRUE(missing.listsCleared());
    EXPECT_TRUE(dz::allLines(*missing.hitLines).isEmpty());
    EXPECT_FALSE(missing.level);
}

TEST(Backtest, CompletenessLevelKeepsWholeHistoryListsUnderTheRowLimit) {
    const auto f = synth(40000);
    auto in = marked({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    in.windowStart = dz::drawWindowStart(40000);
    const auto first = runBacktest(in, f);
    ASSERT_TRUE(first.level);
    const int level = first.level->toInt();
    // the smallest h that fewer than 32736 draws reach or pass
    auto reaching = [&](int h) {
        long long n = 0;
        for (int x : hitsOf(f, in.marked)) n += x >= h;
        return n;
    };
    EXPECT_LT(reaching(level), dz::kRowLimit);
    EXPECT_GE(reaching(level - 1), dz::kRowLimit);
    // not whole-history: the last 32736 draws
    // every line as the file's draw makes it: key, hits and the star from 4 on; its numbers part
    const QStringList hitTexts = dz::allLines(*first.hitLines), numberTexts = dz::allLines(*first.numberLines);
    ASSERT_EQ(hitTexts.size(), dz::kRowLimit);
    ASSERT_EQ(numberTexts.size(), dz::kRowLimit);
    const auto lines = dz::testing::streamRead(f);
    const auto hits = hitsOf(f, in.marked);
    for (int i = 0; i < dz::kRowLimit; ++i) {
        const size_t d = size_t(40000 - dz::kRowLimit + i);
        const int h = hits[d];
        ASSERT_EQ(hitTexts[i], QString::fromStdString(lines[d].line.substr(0, 12)) + "  " + dz::str(h) + (h >= 4 ? " *" : "")) << i;
        ASSERT_EQ(numberTexts[i].toStdString(), lines[d].line.substr(12, 27)) << i;
    }

    in.wholeHistory = true;
    in.levelText = *first.level;
    const auto whole = runBacktest(in, f);
    EXPECT_EQ(whole.fromText, *first.level);
    EXPECT_EQ(dz::allLines(*whole.hitLines).size(), reaching(level));

    // every draw reaches 8 hits of all twenty: the level stays, and the list stops at the row limit
    auto all = marked({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    all.wholeHistory = true;
    const auto full = runBacktest(all, f);
    EXPECT_FALSE(full.level);
    EXPECT_EQ(full.hitCounts[8], 40000);
    EXPECT_EQ(dz::allLines(*full.hitLines).size(), dz::kRowLimit);
    EXPECT_EQ(dz::allLines(*full.numberLines).size(), dz::kRowLimit);
}

TEST(Backtest, ListsPastTheRowLimitKeepTheNewestDraws) {
    // more draws in the bounds than the list holds: every draw of the whole history at all twenty
    // marks, and the 32737 draws from W on (W = N - 32736) of daystat's rule at the defaults
    const auto f = synth(40000);
    const auto lines = dz::testing::streamRead(f);
    auto whole = marked({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    whole.wholeHistory = true;
    auto fromW = marked({1, 2, 3});
    fromW.fromWindow = true;
    fromW.windowStart = dz::drawWindowStart(40000);
    struct Case {
        const char* name;
        BacktestInput in;
        long long tallied;
    };
    for (const Case& c : {Case{"whole history", whole, 40000}, Case{"from W", fromW, 32737}}) {
        SCOPED_TRACE(c.name);
        const auto out = runBacktest(c.in, f);
        const QStringList hitTexts = dz::allLines(*out.hitLines), numberTexts = dz::allLines(*out.numberLines);
        ASSERT_EQ(hitTexts.size(), dz::kRowLimit);
        ASSERT_EQ(numberTexts.size(), dz::kRowLimit);
        EXPECT_EQ(out.listedCount, QString::number(dz::kRowLimit));
        long long tallied = 0;
        for (long long n : out.hitCounts) tallied += n;
        EXPECT_EQ(tallied, c.tallied);
        // the oldest are left out; the newest draw closes the list
        for (int i : {0, 1, dz::kRowLimit - 1}) {
            const size_t d = size_t(40000 - dz::kRowLimit + i);
            EXPECT_TRUE(hitTexts[i].startsWith(QString::fromStdString(lines[d].line.substr(0, 12)))) << i;
            EXPECT_EQ(numberTexts[i].toStdString(), lines[d].line.substr(12, 27)) << i;
        }
    }
}

TEST(Backtest, MalformedRecordsCountTheirFields) {
    // a duplicated field counts twice, a field above 20 never, a short line by what it holds
    const std::string bytes =
        "20101231 001 05 05 07 99 01 02 03 04 01\r\n"
        "20101231 002 05\r\n"
        "\r\n";
    auto in = marked({5, 7});
    in.wholeHistory = true;
    in.levelText = "1";
    const auto out = runBacktest(in, dz::DrawFile::fromBytes(bytes));
    EXPECT_EQ(dz::allLines(*out.hitLines), (QStringList{"20101231 001   3", "20101231 002   1"}));
    EXPECT_EQ(dz::allLines(*out.numberLines), (QStringList{" 05 05 07 99 01 02 03 04 01", " 05"}));
    EXPECT_EQ(out.hitCounts[0], 1);
}

TEST(ShownDraw, ReadsWhatTheLineHolds) {
    struct Case {
        const char* line;
        std::vector<int> numbers;
        std::optional<int> extra;
    };
    const Case cases[] = {
        {" 01 03 05 11 12 13 19 20 04", {1, 3, 5, 11, 12, 13, 19, 20}, 4},
        {" 01 03 05 11 12 13 19 20 07", {1, 3, 5, 11, 12, 13, 19, 20}, std::nullopt},
        {" 01 03 05 11 12 13 19 20 00", {1, 3, 5, 11, 12, 13, 19, 20}, std::nullopt},
        {" 00 25 xx  5 12 13 19 20 1 ", {5, 12, 13, 19, 20}, 1},
        {" 03 11", {3, 11}, std::nullopt},
        {" 03 1", {3}, std::nullopt},
        {"", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto d = readShownDraw(QString::fromLatin1(c.line));
        EXPECT_EQ(d.numbers, c.numbers) << c.line;
        EXPECT_EQ(d.extra, c.extra) << c.line;
    }
}
