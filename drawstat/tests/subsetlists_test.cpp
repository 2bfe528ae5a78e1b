// The subset lists: most drawn (threshold and sort), least drawn, never drawn, life path.
#include "drawstat/core/subsetlists.h"
#include "common/core/synth.h"
#include "drawstat/tests/support/drawstatsupport.h"

#include "common/tests/qtprint.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <array>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

namespace {

std::string line(int drawNo, std::array<int, 8> d) { return dz::drawRecordLine(2010, 5, 6, drawNo, d.data(), 1) + "\r\n"; }

// A list's lines as text.
template <class Source>
QStringList L(const std::shared_ptr<Source>& s) { return s ? dz::allLines(*s) : QStringList{}; }

CounterFile zeroed(int k) { return *CounterFile::fromBytes(k, zeroedCounterFile(k)); }

// Every record's row in the lists' text order (bytes), the order a sorted list keeps.
QStringList allRowsSorted(const CounterFile& f, bool drawnOnly) {
    std::vector<std::string> rows;
    for (int r = 1; r <= f.records(); ++r)
        if (!drawnOnly || f.count(r) > 0) rows.push_back(mostDrawnRow(f, r).toStdString());
    std::sort(rows.begin(), rows.end());
    QStringList out;
    for (const auto& s : rows) out << QString::fromStdString(s);
    return out;
}

}  // namespace

TEST(SubsetLists, RowLayouts) {
    CounterFile f = zeroed(4);
    f.setRecord(1, 7, "20100506 012");
    EXPECT_EQ(mostDrawnRow(f, 1), "    7 - 01 02 03 04  - 20100506 012");
    EXPECT_EQ(mostDrawnRow(f, 1).size(), 3 * 4 + 23);
    EXPECT_EQ(neverDrawnRow(f, 4845, false), "17 18 19 20 ");
    EXPECT_EQ(leastDrawnRowBytes(f, 1), "    7 - 01 02 03 04 ");
    CounterFile g = zeroed(8);
    g.setRecord(125970, 12345, "20991231 264");
    EXPECT_EQ(mostDrawnRow(g, 125970), "12345 - 13 14 15 16 17 18 19 20  - 20991231 264");
    EXPECT_EQ(neverDrawnRow(g, 1, true), " 01 02 03 04 05 06 07 08 ");
}

TEST(SubsetLists, ZeroedFileGivesEmptyThresholdListsAndTheTopOfTheSortedOrder) {
    for (int k = 4; k <= 6; ++k) {
        const MostDrawnResult r = mostDrawn(zeroed(k), drawstatSubsetProfile(k));
        EXPECT_TRUE(L(r.rows).isEmpty()) << k;
        EXPECT_EQ(r.latestKey, "00000000 000");
        EXPECT_EQ(mostDrawnHint(r, drawstatSubsetProfile(k)), " 0");
    }
    const CounterFile f8 = zeroed(8);
    const MostDrawnResult r8 = mostDrawn(f8, drawstatSubsetProfile(8));
    ASSERT_EQ(L(r8.rows).size(), 32736);
    EXPECT_EQ(L(r8.rows).first(), mostDrawnRow(f8, 93235));
    EXPECT_EQ(L(r8.rows).last(), mostDrawnRow(f8, 125970));
    EXPECT_EQ(mostDrawnHint(r8, drawstatSubsetProfile(8)), " 0  32736 ");

    const CounterFile f7 = zeroed(7);
    const MostDrawnResult r7 = mostDrawn(f7, drawstatSubsetProfile(7));
    EXPECT_EQ(L(r7.rows).first(), mostDrawnRow(f7, 44785));
    ASSERT_EQ(L(r7.leastPages[0]).size(), 32736);
    ASSERT_EQ(L(r7.leastPages[1]).size(), 12048);
    EXPECT_EQ(L(r7.leastPages[0]).first(), mostDrawnRow(f7, 12049));
    EXPECT_EQ(L(r7.leastPages[0]).last(), mostDrawnRow(f7, 44784));
    EXPECT_EQ(L(r7.leastPages[1]).first(), mostDrawnRow(f7, 1));
}

TEST(SubsetLists, MostDrawnKeepsTheTrueTopInTextOrder) {
    // more drawn 6-subsets than a list holds, many equal counts: the result is the greatest 32736
    // rows in text order, ties at the boundary keeping the greater numbers
    CounterFile f = zeroed(6);
    for (int r = 1; r <= f.records(); ++r)
        if (r % 11) f.setRecord(r, 1 + (r * 7919) % 13, r % 3 ? "20100506 001" : "20110101 264");
    const MostDrawnResult r = mostDrawn(f, drawstatSubsetProfile(6));
    const QStringList all = allRowsSorted(f, true);
    ASSERT_GT(all.size(), 32736);
    EXPECT_EQ(L(r.rows), all.mid(all.size() - 32736));
    EXPECT_EQ(r.latestKey, "20110101 264");
    EXPECT_EQ(mostDrawnHint(r, drawstatSubsetProfile(6)), " 32736");

    CounterFile g = zeroed(8);
    for (int rr = 1; rr <= g.records(); rr += 3) g.setRecord(rr, 1 + rr % 5, "20100506 001");
    const MostDrawnResult r8 = mostDrawn(g, drawstatSubsetProfile(8));
    const QStringList all8 = allRowsSorted(g, false);
    EXPECT_EQ(L(r8.rows), all8.mid(all8.size() - 32736));
    EXPECT_EQ(r8.drawn, 41990);
}

TEST(SubsetLists, HandEditedRecordOrderKeepsTheTopInTextOrder) {
    // every subset drawn once, the first and the last record's subsets swapped: the greatest
    // numbers stand first in the file, the smallest last
    for (int k = 6; k <= 8; ++k) {
        SCOPED_TRACE(k);
        const SubsetProfile p = drawstatSubsetProfile(k);
        CounterFile f = zeroed(k);
        const int n = f.records();
        for (int r = 1; r <= n; ++r) f.setRecord(r, 1, "20100506 001");
        std::string bytes = f.bytes();
        const size_t len = size_t(recordLength(k)), at1 = 2, atN = size_t(n - 1) * len + 2;
        std::swap_ranges(bytes.begin() + long(at1), bytes.begin() + long(at1 + size_t(2 * k)), bytes.begin() + long(atN));
        f = *CounterFile::fromBytes(k, bytes);
        const QStringList all = allRowsSorted(f, false);
        const MostDrawnResult r = mostDrawn(f, p);
        const QStringList rows = L(r.rows);
        // (whole lists compared as one value: a failure does not print a hundred thousand rows)
        ASSERT_TRUE(rows == all.mid(n - 32736));
        EXPECT_EQ(rows.last(), mostDrawnRow(f, 1));  // the greatest numbers, first in the file
        EXPECT_FALSE(rows.contains(mostDrawnRow(f, n)));
        if (p.leastDrawn == LeastDrawn::Pages) {
            EXPECT_TRUE(L(r.leastPages[0]) == all.mid(n - 2 * 32736, 32736));
            EXPECT_TRUE(L(r.leastPages[1]) == all.mid(0, n - 2 * 32736));
        }
        if (k == 6) {
            // the least-drawn fallback: every row below the first most-drawn row
            QStringList below;
            for (const QString& row : all.mid(0, n - 32736)) below << row.left(26);
            EXPECT_TRUE(L(leastDrawn(f, rows.first(), true)) == below);
        }
    }
}

TEST(SubsetLists, NeverDrawnPages) {
    struct Case {
        int k;
        std::vector<int> sizes;
    };
    for (const Case& c : std::initializer_list<Case>{{4, {4845}}, {5, {15504}}, {6, {32736, 6024}},
                                                     {7, {32736, 32736, 12048}}, {8, {32736, 32736, 32736, 27762}}}) {
        const NeverDrawnResult r = neverDrawn(zeroed(c.k), drawstatSubsetProfile(c.k));
        EXPECT_EQ(r.total, subsetCount(c.k));
        std::vector<int> sizes;
        for (const auto& p : r.pages) sizes.push_back(p->count());
        while (sizes.size() > c.sizes.size() && sizes.back() == 0) sizes.pop_back();
        EXPECT_EQ(sizes, c.sizes) << c.k;
    }
    CounterFile f = zeroed(4);
    countIn(f, line(1, {1, 2, 3, 4, 5, 6, 7, 8}));
    const NeverDrawnResult r = neverDrawn(f, drawstatSubsetProfile(4));
    EXPECT_EQ(r.total, 4845 - 70);
    EXPECT_EQ(L(r.pages[0]).first(), "01 02 03 09 ");  // record order, the drawn ones left out
    EXPECT_TRUE(anyNeverDrawn(f));
    EXPECT_EQ(L(neverDrawn(zeroed(8), drawstatSubsetProfile(8)).pages[3]).last(), " 13 14 15 16 17 18 19 20 ");
}

TEST(SubsetLists, LeastDrawnRanksBelowTheFirstMostDrawnRow) {
    CounterFile f = zeroed(6);
    for (int r = 1; r <= f.records(); ++r) f.setRecord(r, 5, "20100506 001");
    f.setRecord(1, 3, "20100506 001");
    f.setRecord(2, 4, "20100506 001");
    f.setRecord(38760, 4, "20100506 001");
    f.setRecord(3, 4, "20100506 001");
    // the first most-drawn row: count 4, numbers of record 3
    const QStringList least = L(leastDrawn(f, mostDrawnRow(f, 3)));
    EXPECT_EQ(least, (QStringList{"    3 - 01 02 03 04 05 06 ", "    4 - 01 02 03 04 05 07 "}));
    // an empty most-drawn list or a first row without a count: nothing, and no second try
    EXPECT_TRUE(L(leastDrawn(f, QString())).isEmpty());
    EXPECT_TRUE(L(leastDrawn(f, QStringLiteral("abc"))).isEmpty());
}

TEST(SubsetLists, LifePathNumberTextFromEveryKindOfRow) {
    struct Case {
        int k;
        const char* row;
        const char* numbers;
    };
    for (const Case& c : std::initializer_list<Case>{
             {4, "    7 - 01 02 03 04  - 20100506 012", "01 02 03 04"},
             {6, "    3 - 01 02 03 04 05 06 ", "01 02 03 04 05 06"},
             {7, "01 02 03 04 05 06 07 ", "01 02 03 04 05 06 07"},  // a never-drawn page row has no dash
             {8, "12345 - 13 14 15 16 17 18 19 20  - 20991231 264", "13 14 15 16 17 18 19 20"},
             {4, "", ""},
             {4, "-", ""}})
        EXPECT_EQ(lifePathNumberText(QString::fromLatin1(c.row), c.k), QString::fromLatin1(c.numbers)) << c.row;
}

TEST(SubsetLists, LifePathRowsAndClosingRow) {
    // k = 8, drawn in the 57th and the 60th of 120 records
    std::string draws;
    for (int i = 1; i <= 120; ++i)
        draws += line(i, i == 57 || i == 60 ? std::array<int, 8>{1, 2, 3, 4, 5, 6, 7, 8} : std::array<int, 8>{1, 2, 3, 4, 5, 6, 7, 9});
    const LifePathResult r8 = lifePath(draws, drawstatSubsetProfile(8), QStringLiteral("01 02 03 04 05 06 07 08"));
    EXPECT_EQ(L(r8.rows), (QStringList{" 20100506 057    57", " 20100506 060    3", QString(14, ' ') + "*  2      60"}));

    const SubsetProfile p4 = drawstatSubsetProfile(4);
    // first record hit: " 1"; last record hit: closing " 0"
    const LifePathResult r4 = lifePath(draws, p4, QStringLiteral("06 07 09 01"));  // order of the row, not sorted
    EXPECT_EQ(L(r4.rows).size(), 1);
    const LifePathResult a = lifePath(draws, p4, QStringLiteral("01 02 03 09"));
    EXPECT_EQ(L(a.rows).first(), " 20100506 001    1");
    EXPECT_EQ(L(a.rows).last(), QString(13, ' ') + "*  118    0");
    // never drawn: only the closing row with the draws of the file
    EXPECT_EQ(L(lifePath(draws, p4, QStringLiteral("17 18 19 20")).rows), QStringList{QString(13, ' ') + "*  0    120"});
    // an empty file counts no draw; an empty line counts as one that holds nothing
    EXPECT_EQ(L(lifePath("", p4, QStringLiteral("01 02 03 04")).rows), QStringList{QString(13, ' ') + "*  0    0"});
    const LifePathResult e = lifePath(line(1, {1, 2, 3, 4, 5, 6, 7, 8}) + "\r\n" + line(3, {1, 2, 3, 4, 5, 6, 7, 8}), p4,
                                      QStringLiteral("01 02 03 04"));
    EXPECT_EQ(L(e.rows).at(1), " 20100506 003    2");
    // " 5" is 5 for k < 8; k = 8 compares the text
    const std::string blank = "20100506 001  1  2  3  4  5  6  7  8 01\r\n";
    EXPECT_EQ(lifePath(blank, p4, QStringLiteral("01 02 03 04")).hits, 1);
    EXPECT_EQ(lifePath(blank, drawstatSubsetProfile(8), QStringLiteral("01 02 03 04 05 06 07 08")).hits, 0);
}
