#include "keyeval/core/evaluation.h"
#include "keyeval/core/evalperiod.h"
#include "keyeval/core/keychoice.h"
#include "keyeval/core/subsetsums.h"
#include "keyeval/core/winnings.h"
#include "common/core/keyfile.h"
#include "common/core/random.h"
#include "common/core/synth.h"
#include "common/core/textfmt.h"
#include "keyeval/tests/support/reference.h"
#include "common/tests/drawref.h"
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <initializer_list>
#include <string>

using namespace dz;
using namespace dz::keyeval;
using namespace dz::keyeval::testing;

namespace {

std::string draw(int day, int drawNo, std::array<int, 8> numbers, int extra, int month = 5) {
    return drawRecordLine(2010, month, day, drawNo, numbers.data(), extra) + "\r\n";
}

DrawFile drawsOf(const std::string& bytes) { return DrawFile::fromBytes(bytes); }

struct RunOut {
    EvaluationResult result;
    QStringList lines;
};

RunOut runOver(const dz::testing::ProgramFolderFixture& fx, const std::string& drawBytes, const std::string& keyBytes,
            const RunSettings& s0) {
    fx.write(QStringLiteral("k.txt"), keyBytes);
    RunSettings s = s0;
    s.keyFile = fx.path(QStringLiteral("k.txt"));
    const auto draws = drawsOf(drawBytes);
    const auto in = gatherInput(s, draws);
    EXPECT_TRUE(in.has_value());
    RunOut r{evaluate(*in), {}};
    r.lines = hitLines(*in->draws, r.result.hits);
    return r;
}

const std::array<int, 8> kOneToEight{1, 2, 3, 4, 5, 6, 7, 8};

}  // namespace

TEST(EvalHitLine, LayoutOfPlusAndPlainLines) {
    EXPECT_EQ(hitLine("20100512 123", Hit{0, 14, 6, true}), QStringLiteral("2010 05 12 123  *6+  15"));
    EXPECT_EQ(hitLine("20100512 123", Hit{0, 14, 5, false}), QStringLiteral("2010 05 12 123  *5    15"));
    // The view buttons sort on characters 18 and 19: the hit count and "+" or a blank.
    EXPECT_EQ(mid(hitLine("20100512 007", Hit{0, 0, 8, true}), 18, 2), QStringLiteral("8+"));
    EXPECT_EQ(mid(hitLine("20100512 007", Hit{0, 0, 7, false}), 18, 2), QStringLiteral("7 "));
}

TEST(EvalHitLine, TallyLines) {
    EvaluationResult r;
    r.plainTally[1] = 12;
    r.plusTally[7] = 3;
    r.plainTally[9] = 5'000'000'000LL;  // a long period passes 32 bits
    const QStringList t = tallyLines(r);
    ASSERT_EQ(t.size(), 14);
    EXPECT_EQ(t[0], QStringLiteral(" 0    12"));
    EXPECT_EQ(t[8], QStringLiteral(" 8    5000000000"));
    EXPECT_EQ(t[11], QStringLiteral(" 6+  3"));
}

TEST(EvalOrder, ClassOrderThenDrawOrder) {
    const QStringList lines{
        QStringLiteral("2010 05 12 002  *6+  1"), QStringLiteral("2010 05 12 001  *5    2"),
        QStringLiteral("2010 05 12 001  *4+  3"), QStringLiteral("2010 05 12 001  *6    1"),
        QStringLiteral("2010 05 12 002  *5+  2"), QStringLiteral("2010 05 11 264  *5    9"),
    };
    const QStringList byClass = orderByClass(lines);
    const QStringList expected{
        QStringLiteral("2010 05 12 001  *4+  3"), QStringLiteral("2010 05 11 264  *5    9"),
        QStringLiteral("2010 05 12 001  *5    2"), QStringLiteral("2010 05 12 002  *5+  2"),
        QStringLiteral("2010 05 12 001  *6    1"), QStringLiteral("2010 05 12 002  *6+  1"),
    };
    EXPECT_EQ(byClass, expected);
    const QStringList byDraw = orderByDraw(byClass);
    EXPECT_EQ(byDraw.first(), QStringLiteral("2010 05 11 264  *5    9"));
    EXPECT_EQ(byDraw[1], QStringLiteral("2010 05 12 001  *4+  3"));
    EXPECT_EQ(byDraw.last(), QStringLiteral("2010 05 12 002  *6+  1"));
}

TEST(EvalPlays, PlusAndPlainByTickedExtraNumbers) {
    dz::testing::ProgramFolderFixture fx;
    // A row of 6 hits, one of 4 hits and one of 3 hits against the draw 1..8 with extra number 2.
    const std::string drawBytes = draw(12, 123, kOneToEight, 2);
    const std::string key = "01 02 03 04 05 06 19 20\r\n01 02 03 04 15 16 19 20\r\n01 02 03 14 15 16 19 20\r\n";
    struct Case {
        std::initializer_list<int> extras;
        int minHits;
        QStringList lines;
        int plus6, plain6, plus4, plain4, plain3;
    };
    const Case cases[] = {
        {{2, 3}, 4,
         {"2010 05 12 123  *6+  1", "2010 05 12 123  *6    1", "2010 05 12 123  *4+  2"}, 1, 1, 1, 1, 1},
        {{1, 3}, 4, {"2010 05 12 123  *6    1", "2010 05 12 123  *6    1"}, 0, 2, 0, 2, 2},
        {{2}, 4, {"2010 05 12 123  *6+  1", "2010 05 12 123  *4+  2"}, 1, 0, 1, 0, 0},
        {{2}, 5, {"2010 05 12 123  *6+  1"}, 1, 0, 1, 0, 0},
        {{1, 2, 3, 4}, 7, {}, 1, 3, 1, 3, 3},
    };
    for (const Case& c : cases) {
        const RunOut r = runOver(fx, drawBytes, key, settings({}, c.extras, c.minHits));
        SCOPED_TRACE(r.lines.join(QLatin1Char('|')).toStdString());
        EXPECT_EQ(r.lines, c.lines);
        EXPECT_EQ(r.result.listedCount, c.lines.size());
        EXPECT_EQ(r.result.plusTally[7], c.plus6);
        EXPECT_EQ(r.result.plainTally[7], c.plain6);
        EXPECT_EQ(r.result.plusTally[5], c.plus4);
        EXPECT_EQ(r.result.plainTally[5], c.plain4);
        EXPECT_EQ(r.result.plainTally[4], c.plain3);
        EXPECT_EQ(r.result.rowCounter, 3);
    }
}

TEST(EvalPlays, ExtraNumberOutsideOneToFourPlaysPlain) {
    dz::testing::ProgramFolderFixture fx;
    const RunOut r = runOver(fx, draw(12, 1, kOneToEight, 7), "01 02 03 04 05 06 07 08\r\n", settings({}, {1, 2, 3, 4}));
    EXPECT_EQ(r.result.plainTally[9], 4);
    EXPECT_EQ(r.result.plusTally[9], 0);
}

TEST(EvalKey, LeadingBlanksRepeatsAndShortRows) {
    struct Case {
        const char* line;
        bool ok;
        int hits;  // against 1..8
    };
    const Case cases[] = {
        {"01 02 03 04 05 06 07 08", true, 8},
        {" 01 02 03 04 05 06 07 08 ", true, 8},
        {"  01 02 03 04 05 06 07 08", true, 8},  // two leading blanks score the real hits
        {"01 02 03 04 05 06 07", false, 0},      // seven numbers: 20 characters
        {"01 02 03 00 05 06 07 08", true, 3},    // a 00 ends the row
        {"01 01 01 21 05 06 07 08", true, 7},    // a number named thrice scores thrice, 21 is passed over
        {"01 02 03 04 05 06 07 08\t", false, 0},
        {"1  02 03 04 05 06 07 08", true, 8},    // a field is read by its value: "1  " is 1
        {"01020304 05 06 07 08 09", true, 5},    // "010" is 10, "203" is passed over
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto row = parseKeyLine(c.line);
        ASSERT_EQ(row.has_value(), c.ok);
        if (!c.ok) continue;
        KeyRows k;
        k.masks.push_back(row->mask);
        if (row->repeats) k.repeats.emplace_back(0u, row->fields);
        EXPECT_EQ(k.hits(0, 0x1FEu), c.hits);
        std::array<int64_t, 9> hist{};
        hitHistogram(k, 0x1FEu, hist);
        EXPECT_EQ(hist[size_t(c.hits)], 1);
    }
}

TEST(EvalKey, HistogramMatchesPopcountPerRow) {
    // Key sizes around the vector width and the flush interval, rows with stray high bits too.
    Random rng(11);
    for (int vector = 0; vector < 2; ++vector)
    for (size_t rows : {0u, 1u, 7u, 8u, 9u, 119u, 120u, 121u, 1003u, 32736u}) {
        KeyRows k;
        for (size_t i = 0; i < rows; ++i) k.masks.push_back(uint32_t(rng.next() * 4294967296.0) & 0x1FFFFEu);
        for (int t = 0; t < 20; ++t) {
            const uint32_t dm = uint32_t(rng.next() * 4294967296.0) & 0x1FFFFEu;
            std::array<int64_t, 9> want{}, got{};
            for (uint32_t m : k.masks) {
                const int h = std::popcount(m & dm);
                if (h <= 8) ++want[size_t(h)];
            }
            if (std::popcount(dm) > 8) continue;  // a draw holds at most 8 numbers
            hitHistogram(k, dm, got, vector == 1);
            ASSERT_EQ(got, want) << rows << " rows, vector " << vector;
        }
    }
}

TEST(EvalKey, ReadStopsAtTheFirstBadLine) {
    dz::testing::ProgramFolderFixture fx;
    // CR LF, LF and a lone CR end lines alike; the short fourth row stops the reading.
    fx.write(QStringLiteral("k.txt"), " 01 02 03 04 05 06 07 08 \r\n\r\n09 10 11 12 13 14 15 16\n17 18 19 20 01 02 03 04\r"
                                      "01 02 03\r\n17 18 19 20 01 02 03 04");
    auto k = readKey(fx.path(QStringLiteral("k.txt")));
    ASSERT_TRUE(k);
    EXPECT_EQ(k->rowCount(), 3u);
    EXPECT_TRUE(k->badLine);
    EXPECT_EQ(k->fileLines, 5);
    EXPECT_EQ(allLines(*k->shown), QStringList({QStringLiteral("   01 02 03 04 05 06 07 08 "), QStringLiteral("  09 10 11 12 13 14 15 16"),
                                     QStringLiteral("  17 18 19 20 01 02 03 04")}));
    EXPECT_EQ(std::popcount(k->numbers), 20);
    // Without a bad line every line is counted, blank ones too.
    fx.write(QStringLiteral("k.txt"), "01 02 03 04 05 06 07 08\r\n\r\n01 02 03 04 05 06 07 08");
    k = readKey(fx.path(QStringLiteral("k.txt")));
    ASSERT_TRUE(k);
    EXPECT_FALSE(k->badLine);
    EXPECT_EQ(k->rowCount(), 2u);
    EXPECT_EQ(k->fileLines, 3);
    EXPECT_FALSE(readKey(fx.path(QStringLiteral("none.txt"))));
}

TEST(EvalRun, SevenNumberRowStopsInTheFirstDraw) {
    dz::testing::ProgramFolderFixture fx;
    const std::string draws = draw(12, 1, kOneToEight, 1) + draw(12, 2, kOneToEight, 1);
    const RunOut r = runOver(fx, draws, "01 02 03 04 05 06 07 08\r\n01 02 03 04 05 06 07\r\n01 02 03 04 05 06 07 08\r\n",
                          settings({}, {1}));
    EXPECT_TRUE(r.result.badLine);
    EXPECT_EQ(r.result.drawsEvaluated, 1u);
    EXPECT_EQ(r.lines, QStringList({QStringLiteral("2010 05 12 001  *8+  1")}));
}

TEST(EvalRun, PeriodSpanAndRecordsRead) {
    dz::testing::ProgramFolderFixture fx;
    const std::string draws = draw(12, 1, kOneToEight, 1) + draw(12, 2, kOneToEight, 1) + draw(12, 5, kOneToEight, 1) +
                              draw(13, 1, kOneToEight, 1);
    const auto f = DrawFile::fromBytes(draws);
    struct Case {
        const char *from, *to;
        bool reached, any;
        size_t first, last, read;
    };
    const Case cases[] = {
        {"20100512 001", "20100513 001", true, true, 0, 3, 4},
        {"20100512 002", "20100512 005", true, true, 1, 2, 4},
        {"20100512 003", "20100512 004", true, false, 2, 0, 3},  // no draw in the period
        {"20100514 001", "20100514 001", false, false, 0, 0, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        const Span s = findSpan(f, QString::fromLatin1(c.from), QString::fromLatin1(c.to));
        EXPECT_EQ(s.reached, c.reached);
        EXPECT_EQ(s.any, c.any);
        if (s.any) {
            EXPECT_EQ(s.first, c.first);
            EXPECT_EQ(s.last, c.last);
        }
        EXPECT_EQ(s.recordsRead, c.read);
    }
    // An empty period evaluates nothing.
    const RunOut r = runOver(fx, draws, "01 02 03 04 05 06 07 08\r\n", settings({}, {1}, 4, "20100512 003", "20100512 004"));
    EXPECT_EQ(r.result.drawsEvaluated, 0u);
    EXPECT_TRUE(r.lines.isEmpty());
    EXPECT_EQ(r.result.rowCounter, 0);
}

TEST(EvalRun, StrayLinesInThePeriodScoreNothing) {
    dz::testing::ProgramFolderFixture fx;
    // Lines that are no records inside the period: each counts as a draw with no numbers.
    const std::string draws = draw(12, 1, kOneToEight, 1) + "20100512 002\xff\xfe,xx yy\r\n" + "20100512 003 99 -1 xx\r\n" +
                              draw(12, 4, kOneToEight, 1);
    const RunOut r = runOver(fx, draws, "01 02 03 04 05 06 07 08\r\n", settings({}, {1}, 4, "20100512 001", "20100512 004"));
    EXPECT_EQ(r.result.drawsEvaluated, 4u);
    EXPECT_EQ(r.result.plusTally[9], 2);
    EXPECT_EQ(r.result.plainTally[1], 2);  // the stray lines: 0 hits, no extra number
    EXPECT_EQ(r.lines, QStringList({"2010 05 12 001  *8+  1", "2010 05 12 004  *8+  1"}));
    EXPECT_EQ(keyPieces("x"), QStringLiteral("0000 00 00x"));
}

TEST(EvalRun, EmptyKeyTalliesNothing) {
    dz::testing::ProgramFolderFixture fx;
    const RunOut r = runOver(fx, draw(12, 1, kOneToEight, 1), "", settings({}, {1, 2}));
    EXPECT_EQ(r.result.drawsEvaluated, 1u);
    EXPECT_EQ(r.result.rowCounter, 0);
    for (int64_t t : r.result.plainTally) EXPECT_EQ(t, 0);
    EXPECT_EQ(tallyLines(r.result)[0], QStringLiteral(" 0    0"));
}

TEST(EvalRun, MatchesARowByRowCountOverAHistory) {
    // The fast scan against a plain per-row count over synthetic draws and a random key.
    dz::testing::ProgramFolderFixture fx;
    const std::string hist = synthDrawHistory(3000);
    const auto draws = drawsOf(hist);
    std::string key;
    Random rng(7);
    for (int i = 0; i < 301; ++i) {
        std::vector<int> row;
        while (row.size() < 8) {
            const int n = rng.drawNumber(20);
            if (std::find(row.begin(), row.end(), n) == row.end()) row.push_back(n);
        }
        std::sort(row.begin(), row.end());
        key += key::generatedRow(row).toStdString() + "\r\n";
    }
    const RunOut r = runOver(fx, hist, key, settings({}, {1, 3}, 4));
    RunSettings noVector = settings({}, {1, 3}, 4);
    noVector.vectorScan = false;
    const RunOut plainScan = runOver(fx, hist, key, noVector);
    EXPECT_EQ(plainScan.lines, r.lines);
    // The distributions by subset sums and the listed rows collected by a scan of their own, vector
    // or plain, at every minimum.
    for (int minHits = 4; minHits <= 8; ++minHits) {
        RunSettings scan = settings({}, {1, 3}, minHits);
        scan.hitMethod = HitMethod::Scan;
        const RunOut want = runOver(fx, hist, key, scan);
        for (const bool vector : {true, false}) {
            RunSettings s = scan;
            s.hitMethod = HitMethod::SubsetSums;
            s.rowLookup = RowLookup::Scan;
            s.vectorScan = vector;
            EXPECT_EQ(runOver(fx, hist, key, s).lines, want.lines) << "minimum " << minHits << ", vector " << vector;
        }
    }
    const auto k = readKey(fx.path(QStringLiteral("k.txt")));
    std::array<int64_t, 12> plain{}, plus{};
    int64_t listed = 0;
    for (const DrawRecord& rec : dz::testing::allRecords(draws)) {
        const bool p = rec.extra == 1 || rec.extra == 3;
        for (size_t i = 0; i < k->rowCount(); ++i) {
            const int h = std::popcount(k->masks[i] & rec.mask);
            if (p) ++plus[size_t(h + 1)];
            plain[size_t(h + 1)] += p ? 1 : 2;
            listed += (p && h >= 4) + (h >= 5 ? (p ? 1 : 2) : 0);
        }
    }
    EXPECT_EQ(r.result.plainTally, plain);
    EXPECT_EQ(r.result.plusTally, plus);
    EXPECT_EQ(r.result.listedCount, listed);
    EXPECT_EQ(int64_t(r.result.hits.size()), listed);
    EXPECT_EQ(r.result.drawsEvaluated, 3000u);
}

TEST(EvalPeriod, MinimumHitClamp) {
    const std::pair<const char*, int> cases[] = {{"", 4}, {"0", 4}, {"4", 4}, {"6", 6}, {"12", 8}, {"abc", 4}, {"-3", 4}};
    for (const auto& [text, want] : cases) EXPECT_EQ(minimumHits(QString::fromLatin1(text)), want) << text;
}

TEST(EvalPeriod, ClampToTheFileAndRangeCheck) {
    const std::string bytes = draw(3, 17, kOneToEight, 1, 1) + draw(12, 7, kOneToEight, 2);
    const DrawBounds b = drawBounds(DrawFile::fromBytes(bytes));
    ASSERT_TRUE(b.any);
    EXPECT_EQ(b.first.key, QStringLiteral("20100103 017"));
    EXPECT_EQ(b.last.key, QStringLiteral("20100512 007"));
    EXPECT_EQ(b.lastNumbers, QStringLiteral(" 01 02 03 04 05 06 07 08 02"));

    // A to date past the last record and a from date before the first: both replaced, plain form.
    PeriodFields f{{"2009", "12", "31", "300"}, {"2012", "1", "1", "1"}};
    PeriodKeys k = periodKeys(f, b);
    EXPECT_EQ(k.status, PeriodStatus::Ok);
    EXPECT_EQ(f.to, (std::array<QString, 4>{"2010", "5", "12", "7"}));
    EXPECT_EQ(f.from, (std::array<QString, 4>{"2010", "1", "3", "17"}));
    EXPECT_EQ(k.fromKey, QStringLiteral("20100103 017"));
    EXPECT_EQ(k.toKey, QStringLiteral("20100512 007"));

    struct Wrong {
        PeriodFields f;
    };
    const Wrong wrong[] = {
        {{{"2010", "5", "12", "7"}, {"2010", "5", "12", "6"}}},   // from after to
        {{{"2010", "13", "1", "1"}, {"2010", "5", "12", "7"}}},   // month 13
        {{{"2010", "1", "32", "1"}, {"2010", "5", "12", "7"}}},   // day 32
    };
    for (Wrong w : wrong) EXPECT_EQ(periodKeys(w.f, b).status, PeriodStatus::Wrong);

    PeriodFields empty{{"", "", "", ""}, {"", "", "", ""}};
    fillEmptyFields(empty);
    EXPECT_EQ(empty.from[0], QStringLiteral("1"));
    EXPECT_EQ(empty.to[3], QStringLiteral("1"));
}

TEST(EvalPeriod, ClampEndsOnFilesWithoutSoundEnds) {
    // The last line is no record, the first a record with a draw number past 264, or no record at
    // all: the clamp must end.
    const std::string good = draw(12, 7, kOneToEight, 2);
    const std::string files[] = {good + "garbage\r\n\r\n", "20100101 300 01 02 03 04 05 06 07 08 01\r\n" + good,
                                 "\r\nxx\r\n", "", "20100101 300 01 02 03 04 05 06 07 08 01\r\n"};
    for (const std::string& bytes : files) {
        const DrawBounds b = drawBounds(DrawFile::fromBytes(bytes));
        PeriodFields f{{"1990", "1", "1", "1"}, {"2099", "12", "31", "264"}};
        const PeriodKeys k = periodKeys(f, b);
        if (!b.any) {
            EXPECT_EQ(k.status, PeriodStatus::NoRecord);
            continue;
        }
        EXPECT_LE(k.toKey, b.last.key);
    }
}

TEST(EvalPeriod, SpinSteps) {
    struct Case {
        const char* text;
        int delta, floor, ceiling;
        const char* want;
    };
    const Case cases[] = {
        {"12", +1, 1, 12, "12"}, {"1", -1, 1, 31, "1"},    {"264", +1, 1, 264, "264"}, {"2010", -1, 2010, 2012, "2010"},
        {"", +1, 1, 31, "1"},    {"abc", -1, 1, 12, "1"}, {"5", +1, 1, 12, "6"},      {"40", -1, 1, 12, "39"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(spinStep(QString::fromLatin1(c.text), c.delta, c.floor, c.ceiling), QString::fromLatin1(c.want)) << c.text;
}

TEST(EvalPeriod, DrawNoOfKey) { EXPECT_EQ(drawNoOfKey("20100512 007"), QStringLiteral("007")); }

// The subset sums give every draw's hit distribution exactly: random keys of every row type
// (empty rows, repeated rows, rows of one to eight numbers) against random draws, full and short.
TEST(SubsetSums, DistributionsMatchTheRowByRowCount) {
    Random rng(2010);
    auto randomMask = [&](int numbers) {
        uint32_t m = 0;
        while (std::popcount(m) < numbers) m |= 1u << rng.drawNumber(20);
        return m;
    };
    for (size_t rows : {size_t(1), size_t(37), size_t(2000)}) {
        std::vector<uint32_t> key;
        for (size_t i = 0; i < rows; ++i) key.push_back(i % 11 == 10 ? 0u : randomMask(1 + rng.drawNumber(8) % 8));
        if (rows > 1) key[rows / 2] = key[0];
        const SubsetCounts counts(key);
        for (int d = 0; d < 300; ++d) {
            const uint32_t drawn = randomMask(d % 10 == 0 ? int(d / 10 % 9) : 8);
            uint32_t want[9] = {}, got[9];
            for (uint32_t m : key) ++want[std::popcount(m & drawn)];
            counts.histogram(drawn, got);
            for (int h = 0; h <= 8; ++h) ASSERT_EQ(got[h], want[h]) << rows << " rows, draw " << d << ", class " << h;
            // Weighted sums, as the winnings take them: prizes from some hit count up, or all weights.
            for (const std::array<int64_t, 9>& weight : {std::array<int64_t, 9>{0, 0, 0, 0, 1, 6, 32, 200, 11000},
                                                         std::array<int64_t, 9>{0, 0, 0, 0, 0, 0, 0, 0, 3},
                                                         std::array<int64_t, 9>{-1, 2, -3, 4, 5, 6, 7, 8, 9}}) {
                int64_t sum = 0;
                for (int h = 0; h <= 8; ++h) sum += int64_t(want[h]) * weight[size_t(h)];
                ASSERT_EQ(counts.weightedSum(drawn, SubsetCounts::weightsOf(weight)), sum) << rows << " rows, draw " << d;
            }
        }
    }
}

// Both evaluations give the same results by subset sums as by scanning the rows, with rows that
// name a number twice among them.
TEST(SubsetSums, RunsMatchTheScan) {
    dz::testing::ProgramFolderFixture fx;
    const std::string hist = synthDrawHistory(600);
    std::string key;
    Random rng(11);
    for (int i = 0; i < 300; ++i) {
        std::vector<int> row;
        const size_t type = size_t(4 + i % 5);
        while (row.size() < type) {
            const int n = rng.drawNumber(20);
            if (std::find(row.begin(), row.end(), n) == row.end()) row.push_back(n);
        }
        std::sort(row.begin(), row.end());
        row.resize(8, 0);  // a 00 field ends a shorter row
        std::string line;
        for (int n : row) line += (line.empty() ? "" : " ") + std::string(1, char('0' + n / 10)) + char('0' + n % 10);
        key += line + "\r\n";
        if (i == 5) key += "01 01 02 03 04 05 06 07\r\n";  // a row naming a number twice
        if (i % 50 == 7) key += line + "\r\n";           // a row kept twice
    }
    // From 5 hits most draws have rows to list; from 8 hardly any. The listed rows are found by
    // a scan or by their number sets, the same rows in the same order either way, also for draws
    // with a number named twice or out of range.
    const std::string drawBytes = hist + draw(30, 1, {1, 1, 2, 3, 4, 5, 6, 7}, 1, 12) +
                                  draw(30, 2, {1, 2, 3, 4, 5, 6, 7, 33}, 3, 12);
    for (int minHits = 4; minHits <= 8; ++minHits) {
        RunSettings s = settings({}, {1, 3}, minHits);
        s.hitMethod = HitMethod::Scan;
        const RunOut scan = runOver(fx, drawBytes, key, s);
        s.hitMethod = HitMethod::SubsetSums;
        for (const RowLookup lookup : {RowLookup::Scan, RowLookup::Index, RowLookup::BySize}) {
            s.rowLookup = lookup;
            const RunOut fast = runOver(fx, drawBytes, key, s);
            SCOPED_TRACE(::testing::Message() << "minimum " << minHits << ", look-up " << int(lookup));
            EXPECT_FALSE(fast.result.badLine);
            EXPECT_EQ(fast.result.drawsEvaluated, 602u);
            EXPECT_EQ(fast.result.plainTally, scan.result.plainTally);
            EXPECT_EQ(fast.result.plusTally, scan.result.plusTally);
            EXPECT_EQ(fast.result.listedCount, scan.result.listedCount);
            EXPECT_EQ(fast.lines, scan.lines);
        }
    }

    RunSettings ws = settings({}, {1, 3}, 4);
    ws.keyFile = fx.path(QStringLiteral("k.txt"));
    auto in = gatherInput(ws, drawsOf(hist));
    ASSERT_TRUE(in);
    ASSERT_FALSE(in->key->repeats.empty());
    in->settings.hitMethod = HitMethod::SubsetSums;
    const WinningsResult money = evaluateWinnings(*in);
    in->settings.hitMethod = HitMethod::Scan;
    const WinningsResult moneyScan = evaluateWinnings(*in);
    EXPECT_EQ(money.balance, moneyScan.balance);
    EXPECT_EQ(money.nets, moneyScan.nets);
}

// Both readers of a chosen key read a stream: a file without end costs no more than the rows a key
// holds, and its reading ends.
TEST(KeyReaders, EndlessFilesEndTheirRead) {
    dz::testing::ProgramFolderFixture fx;
    // A device is not read; one endless line is no key.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), fx.path("zero.txt")));
    EXPECT_FALSE(loadKeyList(fx.path("zero.txt")));
    EXPECT_FALSE(readKey(fx.path("zero.txt")));
    {
        dz::testing::FedFile nul(fx.path("nul.txt"), "", std::string(1, '\0'));
        const auto list = loadKeyList(fx.path("nul.txt"));
        ASSERT_TRUE(list);
        EXPECT_TRUE(list->notAKey);
        EXPECT_TRUE(list->rows.isEmpty());
        EXPECT_FALSE(list->overLimit);
        const auto key = readKey(fx.path("nul.txt"));
        ASSERT_TRUE(key);
        EXPECT_TRUE(key->badLine);
        EXPECT_EQ(key->rowCount(), 0u);
    }

    const std::string row = "01 02 03 04 05 06 07 08\r\n";
    {
        dz::testing::FedFile fed(fx.path("fed.txt"), "", row);
        const auto rows = loadKeyList(fx.path("fed.txt"));
        ASSERT_TRUE(rows);
        EXPECT_EQ(rows->rows.size(), kRowLimit);
        EXPECT_TRUE(rows->overLimit);
        EXPECT_LT(fed.fed(), uint64_t(4) << 20);
    }
    dz::testing::FedFile fed(fx.path("fed.txt"), "", row);
    const auto rows = readKey(fx.path("fed.txt"));
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->rowCount(), size_t(kRowLimit));
    EXPECT_EQ(rows->fileLines, kRowLimit);
    EXPECT_FALSE(rows->badLine);
    EXPECT_LT(fed.fed(), uint64_t(4) << 20);
}

// "Kezdés" streamed from the draw file gives what the run over the read period gives: the same
// tallies, labels and hit lines, with the keys of the listing draws alone kept. The long period
// passes the draws a streamed run holds back until it knows the run's length.
TEST(EvalStream, MatchesTheRunOverTheReadPeriod) {
    dz::testing::ProgramFolderFixture fx;
    const size_t n = 70'000;
    const std::string bytes = synthDrawHistory(n);
    const DrawFile f = DrawFile::fromBytes(bytes);
    const std::string rows = randomRowsText(5, 40) + "01 01 02 03 04 05 06 07\r\n";  // and a repeated number
    for (const HitMethod method : {HitMethod::Scan, HitMethod::SubsetSums}) {
        for (const PeriodCase& c : streamedPeriods(bytes, n, rows)) {
            SCOPED_TRACE(::testing::Message() << c.what << ", method " << int(method));
            fx.write(QStringLiteral("k.txt"), c.key);
            RunSettings s = settings(fx.path(QStringLiteral("k.txt")), {1, 3}, 6);
            s.fromKey = c.from;
            s.toKey = c.to;
            s.hitMethod = method;
            const auto in = gatherInput(s, f);
            ASSERT_TRUE(in.has_value());
            const EvaluationResult want = evaluate(*in);
            const StreamedEvaluation got = streamEvaluation(f, s, *in->key);
            ASSERT_TRUE(got.draws);
            const EvaluationResult& r = got.result;
            EXPECT_EQ(got.span.reached, in->span.reached);
            EXPECT_EQ(got.span.any, in->span.any);
            if (in->span.any) {
                EXPECT_EQ(got.firstKey, in->draws->key(in->span.first));
            }
            if (in->span.any && !in->key->badLine) {
                EXPECT_EQ(got.span.last, in->span.last);
                EXPECT_EQ(got.lastKey, in->draws->key(in->span.last));
            }
            EXPECT_EQ(got.draws->firstNumbers, in->draws->firstNumbers);
            EXPECT_EQ(r.badLine, want.badLine);
            EXPECT_EQ(r.recordsRead, want.recordsRead);
            EXPECT_EQ(r.drawsEvaluated, want.drawsEvaluated);
            EXPECT_EQ(r.plainTally, want.plainTally);
            EXPECT_EQ(r.plusTally, want.plusTally);
            EXPECT_EQ(r.listedCount, want.listedCount);
            EXPECT_EQ(r.rowCounter, want.rowCounter);
            EXPECT_EQ(r.lastDrawMask, want.lastDrawMask);
            EXPECT_EQ(hitLines(*got.draws, r.hits), hitLines(*in->draws, want.hits));
            EXPECT_LE(got.draws->keys.size(), r.hits.size());
        }
    }
    // A stop asked for ends the run as stopped.
    Progress progress;
    progress.stop = true;
    const auto key = readKey(fx.path(QStringLiteral("k.txt")));
    EXPECT_TRUE(streamEvaluation(f, settings({}, {1}, 4, "20100101 001", "99999999 999"), *key, &progress).result.stopped);
}
