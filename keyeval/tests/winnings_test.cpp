#include "keyeval/core/winnings.h"

#include "common/core/draws.h"
#include "common/core/keyfile.h"
#include "common/core/random.h"
#include "common/core/synth.h"
#include "common/core/textfmt.h"
#include "keyeval/tests/support/reference.h"
#include "common/tests/drawref.h"
#include "common/tests/testutil.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <initializer_list>
#include <string>
#include <vector>

using namespace dz;
using namespace dz::keyeval;
using namespace dz::keyeval::testing;

namespace {

std::string record(int day, int drawNo, std::array<int, 8> numbers, int extra) {
    return drawRecordLine(2010, 5, day, drawNo, numbers.data(), extra) + "\r\n";
}

uint32_t maskOf(std::initializer_list<int> numbers) {
    uint32_t m = 0;
    for (int n : numbers) m |= 1u << n;
    return m;
}

std::array<bool, 5> ticks(std::initializer_list<int> extras) {
    std::array<bool, 5> t{};
    for (int e : extras) t[size_t(e)] = true;
    return t;
}

WinningsResult run(const DrawFile& f, size_t first, size_t last, const std::vector<uint32_t>& rows,
                   std::initializer_list<int> extras, int minHits = 4) {
    return evaluateWinnings(dz::testing::allRecords(f), first, last, rows, {}, ticks(extras), minHits);
}

// The whole file as one period (its keys for the result lines).
PeriodDraws wholePeriod(const DrawFile& f) { return readPeriod(f, QStringLiteral("0"), QStringLiteral("99999999 999")); }

// The key row 01 02 .. 08 against a draw that holds the first `hits` of them.
DrawFile oneDraw(int hits, int extra) {
    std::array<int, 8> n{};
    for (int i = 0; i < 8; ++i) n[size_t(i)] = i < hits ? i + 1 : 13 + i;
    return DrawFile::fromBytes(record(12, 123, n, extra));
}
const std::vector<uint32_t> kRow1to8{maskOf({1, 2, 3, 4, 5, 6, 7, 8})};

}  // namespace

TEST(Winnings, NetOfOneDrawByHitsExtrasAndMinimum) {
    struct Case {
        int hits, drawExtra;
        std::initializer_list<int> ticked;
        int minHits;
        long long net;
    };
    const Case cases[] = {
        {6, 1, {1}, 4, -1 + 24},          // the plus play of 6
        {6, 1, {1, 2}, 4, -2 + 24 + 8},   // plus and plain play
        {6, 3, {1, 2}, 4, -2 + 8 + 8},    // the draw's extra not ticked: two plain plays
        {4, 1, {1}, 4, -1 + 1},           // 4 with the extra number earns 1 ...
        {4, 1, {1}, 5, -1},               // ... but not under a minimum of 5
        {4, 2, {1, 3}, 4, -2},            // a plain play of 4 never earns
        {5, 2, {1, 2, 3, 4}, 4, -4 + 4 + 3 * 2},
        {5, 2, {1, 2, 3, 4}, 6, -4},      // raising the minimum drops the smaller prizes
        {8, 4, {4}, 8, -1 + 10000},
        {8, 4, {1, 4}, 4, -2 + 10000 + 1000},
        {7, 2, {3}, 4, -1 + 50},
        {3, 1, {1}, 4, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "hits " << c.hits << " extra " << c.drawExtra << " min " << c.minHits);
        const DrawFile f = oneDraw(c.hits, c.drawExtra);
        const WinningsResult r = run(f, 0, 0, kRow1to8, c.ticked, c.minHits);
        ASSERT_EQ(r.nets.size(), 1u);
        EXPECT_EQ(r.nets[0], c.net);
        EXPECT_EQ(r.stake, static_cast<long long>(c.ticked.size()));
        EXPECT_EQ(r.balance, c.net);
        EXPECT_EQ(r.winnings, r.stake + c.net);
    }
}

TEST(Winnings, WorkedExampleLabelsAndLine) {
    const DrawFile f = oneDraw(6, 1);
    const WinningsResult r = run(f, 0, 0, kRow1to8, {1});
    EXPECT_EQ(r.stake, 1);
    EXPECT_EQ(r.winnings, 24);
    EXPECT_EQ(r.balance, 23);
    EXPECT_EQ(resultLines(wholePeriod(f), r), QStringList{QStringLiteral("2010 05 12 123    23")});
    EXPECT_EQ(resultLine("20100512 123", -16), QStringLiteral("2010 05 12 123   -16"));
}

TEST(Winnings, StakeCountsDrawsOfThePeriodOnly) {
    std::string bytes;
    for (int i = 1; i <= 5; ++i) bytes += record(12, i, {1, 2, 3, 4, 5, 6, 7, 8}, 3);
    const DrawFile f = DrawFile::fromBytes(bytes);
    const std::vector<uint32_t> ten(10, maskOf({11, 12, 13, 14, 15, 16, 17, 18}));
    for (size_t last : {size_t(4), size_t(3)}) {  // ending at the last record and before it
        const WinningsResult r = run(f, last - 2, last, ten, {1, 2});
        EXPECT_EQ(r.draws, 3);
        EXPECT_EQ(r.stake, 60);
        EXPECT_EQ(r.balance, -60);
        EXPECT_EQ(r.keptFirst, last - 2);
    }
    // a range past the file is clamped; an inverted or empty one evaluates nothing
    EXPECT_EQ(run(f, 3, 99, ten, {1}).draws, 2);
    EXPECT_FALSE(run(f, 3, 2, ten, {1}).any);
    EXPECT_EQ(run(DrawFile{}, 0, 0, ten, {1}).draws, 0);
}

TEST(Winnings, ExtraNumberOutsideOneToFourPlaysPlain) {
    for (int extra : {0, 5, 20, 99}) {
        const DrawFile f = oneDraw(6, extra);
        EXPECT_EQ(run(f, 0, 0, kRow1to8, {1, 2, 3, 4}).nets.at(0), -4 + 4 * 8) << extra;
    }
}

// The whole run against a plain play-by-play reading of the rules, over more draws than the list
// keeps: the list holds the latest lines, the totals every draw.
TEST(Winnings, LongPeriodKeepsLatestLinesAndExactTotals) {
    const size_t draws = size_t(kRowLimit) + 7000;
    const DrawFile f = DrawFile::fromBytes(synthDrawHistory(draws));
    const std::vector<DrawRecord> recs = dz::testing::allRecords(f);
    Random rng(7);
    std::vector<uint32_t> rows;
    for (int i = 0; i < 150; ++i) {  // 2..8 numbers a row
        uint32_t m = 0;
        const int type = 2 + i % 7;
        while (std::popcount(m) < type) m |= 1u << rng.drawNumber(20);
        rows.push_back(m);
    }
    const auto extras = {1, 3};
    const std::array<bool, 5> ticked = ticks(extras);
    const int plusPrize[9] = {0, 0, 0, 0, 1, 4, 24, 150, 10000}, plainPrize[9] = {0, 0, 0, 0, 0, 2, 8, 50, 1000};
    const size_t first = 5, last = draws - 2;
    std::vector<long long> expected;
    long long total = 0;
    for (size_t d = first; d <= last; ++d) {
        const DrawRecord& rec = recs[d];
        long long net = -static_cast<long long>(rows.size()) * 2;
        for (uint32_t row : rows) {
            int hits = 0;
            for (int8_t n : rec.num) hits += n > 0 && (row >> n & 1u) ? 1 : 0;
            int e = rec.extra;
            for (int play = 0; play < 2; ++play) {
                if (e >= 1 && e <= 4 && ticked[size_t(e)]) {
                    net += plusPrize[hits];
                    e = 0;
                } else if (hits > 4) {
                    net += plainPrize[hits];
                }
            }
        }
        expected.push_back(net);
        total += net;
    }
    const WinningsResult r = run(f, first, last, rows, extras);
    EXPECT_EQ(r.draws, static_cast<long long>(last - first + 1));
    EXPECT_EQ(r.stake, r.draws * 150 * 2);
    EXPECT_EQ(r.balance, total);
    EXPECT_EQ(r.winnings, r.stake + total);
    ASSERT_EQ(r.nets.size(), size_t(kRowLimit));
    EXPECT_EQ(r.keptFirst, last + 1 - size_t(kRowLimit));
    EXPECT_TRUE(std::equal(r.nets.begin(), r.nets.end(), expected.end() - kRowLimit));

    const PeriodDraws period = wholePeriod(f);
    const QStringList lines = resultLines(period, r);
    ASSERT_EQ(lines.size(), kRowLimit);
    const std::string_view lastKey = period.key(last);
    ASSERT_EQ(lastKey.size(), 12u);
    EXPECT_EQ(lines.back(), resultLine(lastKey, expected.back()));
    EXPECT_EQ(lines.back().left(14), keyPieces(lastKey));

    // a stop asked for leaves nothing of the run
    Progress progress;
    progress.stop = true;
    const WinningsResult stopped = evaluateWinnings(recs, first, last, rows, {},
                                                    ticked, 4, &progress);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_TRUE(stopped.nets.empty());
    EXPECT_EQ(stopped.stake, 0);
}

// The chart takes the nets from the result records, large ones as they are; a line of a short key
// (whose net stands before the 18th character) still gives its own.
TEST(Winnings, ResultRecordsGiveTheChartValues) {
    auto row = [](std::string_view key, long long net) {
        ResultRow r;
        std::copy(key.begin(), key.end(), r.key.begin());
        r.keySize = uint8_t(key.size());
        r.net = net;
        return r;
    };
    const ResultLines lines({row("20100512 001", 40000), row("20100512 002", -70000), row("1", 5)});
    EXPECT_EQ(lines.nets(), (std::vector<long long>{40000, -70000, 5}));
    EXPECT_EQ(lines.line(0), QStringLiteral("2010 05 12 001    40000"));
    EXPECT_EQ(lines.line(1), QStringLiteral("2010 05 12 002   -70000"));
}

// The key as the evaluation reads it from its file: blank lines are no rows, a row naming a number
// twice scores it twice, a line of the wrong length stops the run before any result.
TEST(Winnings, KeyFileRowsAsTheEvaluationReadsThem) {
    dz::testing::ProgramFolderFixture folder;
    auto input = [&](const std::string& keyBytes) {
        folder.write(QStringLiteral("k.txt"), keyBytes);
        EvaluationInput in;
        in.settings.extra = ticks({1, 2});
        in.settings.extraCount = 2;
        in.settings.minHits = 4;
        in.draws = std::make_shared<const PeriodDraws>(readPeriod(
            DrawFile::fromBytes(record(12, 1, {1, 2, 3, 4, 5, 6, 9, 10}, 1) + record(12, 2, {1, 2, 3, 4, 5, 6, 9, 10}, 2) +
                                record(12, 3, {1, 2, 3, 4, 5, 6, 9, 10}, 3)),
            QStringLiteral("20100512 001"), QStringLiteral("20100512 002")));
        auto key = readKey(folder.path(QStringLiteral("k.txt")));
        EXPECT_TRUE(key.has_value());
        in.key = std::make_shared<const KeyRows>(key.value_or(KeyRows{}));
        in.span = in.draws->span;
        return in;
    };
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += (i == 4 ? "\r\n" : "") + std::string(" 11 12 13 14 15 16 17 18 \r\n");
    WinningsResult r = evaluateWinnings(input(ten));
    EXPECT_EQ(r.rows, 10);
    EXPECT_EQ(r.draws, 2);
    EXPECT_EQ(r.stake, 2 * 10 * 2);

    r = evaluateWinnings(input("  01 02 03 04 05 06 07 08\r\n"));  // two leading blanks: the real 6 hits
    ASSERT_EQ(r.nets.size(), 2u);
    EXPECT_EQ(r.nets[0], -2 + 24 + 8);
    EXPECT_EQ(r.nets[1], -2 + 24 + 8);

    r = evaluateWinnings(input("01 01 02 03 04 05 06 07\r\n"));  // 01 drawn and counted twice: 7 hits
    ASSERT_EQ(r.nets.size(), 2u);
    EXPECT_EQ(r.nets[0], -2 + 150 + 50);

    r = evaluateWinnings(input("01 02 03 04 05 06 07 08\r\n01 02 03 04 05 06 07\r\n"));
    EXPECT_TRUE(r.badLine);
    EXPECT_TRUE(r.nets.empty());
    EXPECT_EQ(r.stake, 0);
}

// Both runs read a draw line whole: a comma inside it (which ends the line's first input item)
// changes nothing for either.
TEST(Winnings, DrawLineWithACommaReadWholeByBothRuns) {
    dz::testing::ProgramFolderFixture folder;
    folder.write(QStringLiteral("k.txt"), "01 02 03 04 05 06 07 08\r\n");
    std::string line = record(12, 1, {1, 2, 3, 4, 5, 6, 7, 8}, 1);
    line[15] = ',';  // the blank after the first number
    EvaluationInput in;
    in.settings.keyFile = folder.path(QStringLiteral("k.txt"));
    in.settings.extra = ticks({1});
    in.settings.extraCount = 1;
    ASSERT_EQ(dz::testing::allRecords(DrawFile::fromBytes(line))[0].mask, maskOf({1}));  // the first item alone
    in.draws = std::make_shared<const PeriodDraws>(
        readPeriod(DrawFile::fromBytes(line), QStringLiteral("20100512 001"), QStringLiteral("20100512 001")));
    in.key = std::make_shared<const KeyRows>(readKey(in.settings.keyFile).value());
    in.span = in.draws->span;
    EXPECT_EQ(evaluate(in).plusTally[9], 1);
    const WinningsResult r = evaluateWinnings(in);
    ASSERT_EQ(r.nets.size(), 1u);
    EXPECT_EQ(r.nets[0], -1 + 10000);
}

// The run read straight from the draw file against the run over the whole period read first:
// the same totals, kept nets, lines and span, for long periods (past the kept lines, in several
// blocks), periods that end early, hold no draw or are never reached, a bad key line, a stop, and
// both ways of counting.
TEST(Winnings, StreamedRunMatchesTheRunOverTheReadPeriod) {
    dz::testing::ProgramFolderFixture folder;
    const size_t n = size_t(kRowLimit) * 2 + 500;
    std::string bytes = synthDrawHistory(n);
    bytes[7 * 41 + 15] = ',';  // a comma ends the first input item of a line in the period
    const DrawFile f = DrawFile::fromBytes(bytes);
    auto keyAt = [&](size_t line) { return QString::fromLatin1(bytes.substr(line * 41, 12)); };
    std::string rows = randomRowsText(11, 40);
    rows += "01 01 02 03 04 05 06 07\r\n\r\n";  // a repeated number, a blank line
    for (const HitMethod method : {HitMethod::Scan, HitMethod::SubsetSums}) {
        for (const PeriodCase& c : streamedPeriods(bytes, n, rows)) {
            SCOPED_TRACE(c.what);
            folder.write(QStringLiteral("k.txt"), c.key);
            RunSettings s = settings(folder.path(QStringLiteral("k.txt")), {1, 3}, 4, c.from, c.to);
            s.hitMethod = method;
            const auto in = gatherInput(s, f);
            ASSERT_TRUE(in.has_value());
            const WinningsResult want = evaluateWinnings(*in);
            const KeyRows key = readKey(s.keyFile).value();
            const StreamedWinnings got = streamWinnings(f, s, key);
            const WinningsResult& r = got.money;
            EXPECT_EQ(got.span.reached, in->span.reached);
            EXPECT_EQ(got.span.any, in->span.any);
            EXPECT_EQ(got.span.first, in->span.first);
            // A bad key line ends the run in the first draw: the rest of the period is not read.
            if (!key.badLine) {
                EXPECT_EQ(got.span.recordsRead, in->span.recordsRead);
            }
            if (in->span.any && !key.badLine) {
                EXPECT_EQ(got.span.last, in->span.last);
                EXPECT_EQ(got.lastKey, in->draws->key(in->span.last));
            }
            if (in->span.reached) {
                EXPECT_EQ(got.firstKey, std::string(bytes.substr(in->span.first * 41, 12)));
            }
            EXPECT_EQ(r.any, want.any);
            EXPECT_EQ(r.badLine, want.badLine);
            EXPECT_EQ(r.recordsRead, want.recordsRead);
            EXPECT_EQ(r.rows, want.rows);
            EXPECT_EQ(r.draws, want.draws);
            EXPECT_EQ(r.stake, want.stake);
            EXPECT_EQ(r.winnings, want.winnings);
            EXPECT_EQ(r.balance, want.balance);
            EXPECT_EQ(r.nets, want.nets);
            if (!want.nets.empty()) {
                EXPECT_EQ(r.keptFirst, want.keptFirst);
            }
            // The kept records: each draw's own key and its net, oldest first.
            ASSERT_EQ(got.rows.size(), want.nets.size());
            for (size_t i = 0; i < got.rows.size(); ++i) {
                const ResultRow& row = got.rows[i];
                ASSERT_EQ(std::string(row.key.data(), row.keySize), in->draws->key(want.keptFirst + i)) << i;
                ASSERT_EQ(row.net, want.nets[i]) << i;
            }
            EXPECT_EQ(ResultLines(got.rows).nets(), want.nets);
        }
    }

    // A stop asked for leaves nothing of the run.
    folder.write(QStringLiteral("k.txt"), rows);
    const RunSettings s = settings(QString(), {1}, 4, keyAt(0), keyAt(n - 1));
    Progress progress;
    progress.stop = true;
    const StreamedWinnings stopped = streamWinnings(f, s, readKey(folder.path(QStringLiteral("k.txt"))).value(), &progress);
    EXPECT_TRUE(stopped.money.stopped);
    EXPECT_TRUE(stopped.rows.empty());
    EXPECT_EQ(stopped.money.stake, 0);
}
