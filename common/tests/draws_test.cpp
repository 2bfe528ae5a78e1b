// The draw record, the draw files and the binomial coefficient.
#include "common/core/combinations.h"
#include "common/core/draws.h"
#include "common/core/synth.h"
#include "common/tests/drawref.h"
#include "common/tests/testutil.h"
#include "common/tests/qtprint.h"

#include <gtest/gtest.h>

#include <set>

using namespace dz;

namespace {
const int kNums[8] = {1, 2, 3, 5, 8, 13, 19, 20};
uint32_t maskOf(std::initializer_list<int> ns) {
    uint32_t m = 0;
    for (int n : ns) m |= 1u << n;
    return m;
}
}  // namespace

TEST(DrawRecord, LayoutAndFields) {
    const std::string line = drawRecordLine(2010, 12, 31, 264, kNums, 4);
    ASSERT_EQ(line, "20101231 264 01 02 03 05 08 13 19 20 04");
    ASSERT_EQ(line.size(), 39u);
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(fieldValue(line, numberColumn(i)), kNums[i - 1]) << i;
    EXPECT_EQ(numberColumn(1), 14u);
    EXPECT_EQ(numberColumn(8), 35u);
    EXPECT_EQ(fieldValue(line, 38), 4);
    EXPECT_EQ(drawKey(line), "20101231 264");
    EXPECT_EQ(numbersPart(line), " 01 02 03 05 08 13 19 20 04");
    EXPECT_EQ(numbersPart(line), std::string_view(line).substr(line.size() - 27));

    const DrawRecord r = parseDrawRecord(line);
    EXPECT_EQ(r.mask, maskOf({1, 2, 3, 5, 8, 13, 19, 20}));
    EXPECT_EQ(r.num, (std::array<int8_t, 8>{1, 2, 3, 5, 8, 13, 19, 20}));
    EXPECT_EQ(r.extra, 4);

    // " 5" reads as 5 wherever it stands.
    const DrawRecord b = parseDrawRecord("20101231 264  1  2  3  5  8 13 19 20  4");
    EXPECT_EQ(b.mask, r.mask);
    EXPECT_EQ(b.num, r.num);
    EXPECT_EQ(b.extra, 4);
}

TEST(DrawRecord, FaultyFieldsAreSkipped) {
    struct Case {
        const char* item;
        std::array<int8_t, 8> num;  // -1: not counted
        uint32_t mask;
        int8_t extra;
    };
    const Case cases[] = {
        // A short line: the missing fields read as 0 and count only in slot 0.
        {"20101231 264 01 02", {1, 2, 0, 0, 0, 0, 0, 0}, maskOf({1, 2}), 0},
        {"", {0, 0, 0, 0, 0, 0, 0, 0}, 0, 0},
        {"20101231 264 01 02 03 05 08 13 19 2", {1, 2, 3, 5, 8, 13, 19, 2}, maskOf({1, 2, 3, 5, 8, 13, 19}), 0},
        // Above 20 or negative: not counted; 00 and letters: slot 0.
        {"20101231 264 21 -1 00 ab 99 20 -0  7 25", {-1, -1, 0, 0, -1, 20, 0, 7}, maskOf({20, 7}), -1},
        {"20101231 264 01 02 03 05 08 13 19 20 -3", {1, 2, 3, 5, 8, 13, 19, 20}, maskOf({1, 2, 3, 5, 8, 13, 19, 20}), -1},
        // A value with a fraction goes through the whole-number conversion like a table index.
        {"20101231 264 .5 .6 1. 2e -. +5 5- 9x 01", {0, 1, 1, 2, 0, 5, 5, 9}, maskOf({1, 2, 5, 9}), 1},
        // A leading tab is skipped like a blank; control bytes read as no number.
        {"20101231 264 \t1 \x01\x02 03 05 08 13 19 20 04", {1, 0, 3, 5, 8, 13, 19, 20},
         maskOf({1, 3, 5, 8, 13, 19, 20}), 4},
    };
    for (const Case& c : cases) {
        const DrawRecord r = parseDrawRecord(c.item);
        EXPECT_EQ(r.num, c.num) << '"' << c.item << '"';
        EXPECT_EQ(r.mask, c.mask) << '"' << c.item << '"';
        EXPECT_EQ(r.extra, c.extra) << '"' << c.item << '"';
    }
    EXPECT_EQ(fieldValue("abc", 38), 0);
    EXPECT_EQ(fieldValue("20101231 264 1234567890123", 14, 10), 1000000);  // clamped, no overflow
}

TEST(DrawRecord, KeyAndNumbersPartOfShortItems) {
    EXPECT_EQ(drawKey(""), "");
    EXPECT_EQ(drawKey("2010"), "2010");
    EXPECT_EQ(drawKey("20101231 264 01"), "20101231 264");
    EXPECT_EQ(numbersPart("20101231 26"), "");
    EXPECT_EQ(numbersPart("20101231 264"), "");
    EXPECT_EQ(numbersPart("20101231 264 "), " ");
    EXPECT_EQ(numbersPart("20101231 264 01 02"), " 01 02");
    EXPECT_EQ(numbersPart(std::string(60, '7')).size(), 27u);
}

TEST(DrawFile, EveryLineIsOneDraw) {
    const std::string rec = drawRecordLine(2010, 12, 31, 264, kNums, 4);
    // An empty line, a short line, a comma, leading blanks, binary bytes and LF-only lines all count.
    const std::string bytes = rec + "\r\n\r\n2010\r\n" + rec.substr(0, 20) + ",02 03\r\n  " + rec + "\n" +
                              std::string("\x00\xff\x80", 3) + "\n" + rec;
    const DrawFile f = DrawFile::fromBytes(bytes);
    ASSERT_EQ(f.size(), 7u);
    const auto l = dz::testing::streamRead(f);
    ASSERT_EQ(l.size(), 7u);
    EXPECT_EQ(l[0].line, rec);
    EXPECT_EQ(l[0].record.mask, maskOf({1, 2, 3, 5, 8, 13, 19, 20}));
    EXPECT_EQ(l[1].line, "");
    EXPECT_EQ(l[1].record.mask, 0u);
    EXPECT_EQ(l[3].item, rec.substr(0, 20));  // the line read as one field ends at the comma
    EXPECT_EQ(l[3].record.mask, maskOf({1, 2}));
    EXPECT_EQ(l[4].line, "  " + rec);       // the full list shows the line unchanged
    EXPECT_EQ(l[4].item, rec);              // the field skips the leading blanks
    EXPECT_EQ(l[4].record.mask, l[0].record.mask);
    EXPECT_EQ(l[6].line, rec);

    EXPECT_TRUE(DrawFile::fromBytes("").empty());
    EXPECT_EQ(DrawFile::fromBytes("\r\n").size(), 1u);
}

TEST(DrawFile, DrawWindowStart) {
    struct Case {
        long long n, w;
    };
    const Case cases[] = {{0, 1}, {1, 1}, {32736, 1}, {32737, 1}, {32738, 2}, {40000, 7264}, {1500000, 1467264}};
    for (const Case& c : cases) EXPECT_EQ(drawWindowStart(c.n), c.w) << c.n;
    // The same from files of those lengths.
    const std::string history = synthDrawHistory(32738);
    for (const Case& c : {Case{32736, 1}, Case{32737, 1}, Case{32738, 2}}) {
        const DrawFile f = DrawFile::fromBytes(history.substr(0, size_t(c.n) * 41));
        ASSERT_EQ(f.size(), size_t(c.n));
        EXPECT_EQ(drawWindowStart(static_cast<long long>(f.size())), c.w) << c.n;
    }
}

TEST(DrawFile, KeysCompareInDrawOrder) {
    const int* n = kNums;
    const std::string k263 = std::string(drawKey(drawRecordLine(2010, 12, 31, 263, n, 1)));
    const std::string k264 = std::string(drawKey(drawRecordLine(2010, 12, 31, 264, n, 1)));
    const std::string next = std::string(drawKey(drawRecordLine(2011, 1, 1, 1, n, 1)));
    EXPECT_LT(k263, k264);
    EXPECT_LT(k264, next);
    EXPECT_LT(std::string(drawKey(drawRecordLine(2010, 1, 31, 264, n, 1))),
              std::string(drawKey(drawRecordLine(2010, 2, 1, 1, n, 1))));
    EXPECT_LT(std::string(drawKey(drawRecordLine(2010, 1, 1, 99, n, 1))),
              std::string(drawKey(drawRecordLine(2010, 1, 1, 100, n, 1))));

    // A synthetic history across a year's end (and February of a leap year) keeps strict key order.
    SynthOptions o;
    o.year = 2011;
    o.month = 12;
    o.day = 30;
    const auto f = dz::testing::streamRead(DrawFile::fromBytes(synthDrawHistory(264 * 3, o)));
    ASSERT_EQ(f.size(), 264u * 3);
    for (size_t i = 1; i < f.size(); ++i) ASSERT_LT(f[i - 1].line.substr(0, 12), f[i].line.substr(0, 12)) << i;
    EXPECT_EQ(drawKey(f[263].line), "20111230 264");
    EXPECT_EQ(drawKey(f[528].line), "20120101 001");
    o = {};
    o.year = 2012;
    o.month = 2;
    o.day = 29;
    o.drawsPerDay = 1;
    const auto leap = dz::testing::streamRead(DrawFile::fromBytes(synthDrawHistory(2, o)));
    EXPECT_EQ(drawKey(leap[1].line), "20120301 001");
}

TEST(Binomial, CountCombinations) {
    EXPECT_EQ(countCombinations(3, 5), 0);
    EXPECT_EQ(countCombinations(7, 7), 1);
    EXPECT_EQ(countCombinations(20, 4), 4845);
    EXPECT_EQ(countCombinations(20, 5), 15504);
    EXPECT_EQ(countCombinations(20, 6), 38760);
    EXPECT_EQ(countCombinations(20, 7), 77520);
    EXPECT_EQ(countCombinations(20, 8), 125970);
    // Exact against Pascal's triangle for every 0 <= k <= n <= 20, the integer table too.
    double row[21] = {1};
    for (int n = 0; n <= 20; ++n) {
        if (n > 0)
            for (int k = n; k >= 1; --k) row[k] += row[k - 1];
        for (int k = 0; k <= n; ++k) {
            ASSERT_EQ(countCombinations(n, k), row[k]) << n << "," << k;
            ASSERT_EQ(double(binomial(n, k)), row[k]) << n << "," << k;
        }
    }
    for (auto [n, k] : {std::pair{3, 5}, {5, -1}, {-1, 0}, {21, 3}}) EXPECT_EQ(binomial(n, k), 0) << n << "," << k;
}
