#include "drawstat/core/distributions.h"
#include "drawstat/core/state.h"
#include "common/core/synth.h"
#include "common/core/textfmt.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "drawstat/tests/support/classlines_ref.h"
#include "common/tests/testutil.h"
#include "drawstat/ui/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;
using dz::drawstat::testing::ClassTexts;

namespace {

using Draw = std::array<int, 8>;

// Records of 31 December 2010, numbered from 1, extra number 1.
std::string records(const std::vector<Draw>& draws) { return dz::dayRecords(2010, 12, 31, draws); }
dz::DrawFile file(const std::vector<Draw>& draws) { return dz::DrawFile::fromBytes(records(draws)); }

// A draw that shares nothing with kOdd and holds no run.
constexpr Draw kEven{2, 4, 6, 8, 10, 12, 14, 16};
constexpr Draw kOdd{1, 3, 5, 7, 9, 11, 13, 15};

// 13 draws without runs, so that the draws after them have index W + 13 on with W = 1.
std::vector<Draw> padded(std::vector<Draw> tail) {
    std::vector<Draw> d(13, kEven);
    d.insert(d.end(), tail.begin(), tail.end());
    return d;
}

QString key(int drawNo) { return QStringLiteral("20101231 ") + dz::format(drawNo, "000"); }

QStringList tail(const QStringList& l, int n) { return l.mid(l.size() - n); }

ClassTexts identity(const dz::DrawFile& f, long long w) { return dz::drawstat::testing::texts(identityDistribution(f, w)); }
ClassTexts adhesion(const dz::DrawFile& f, long long w) { return dz::drawstat::testing::texts(adhesionDistribution(f, w)); }

}  // namespace

TEST(Sums, LinesInAscendingSumOrder) {
    // 1..8 twice (36), 13..20 once (132); a record with a field above 20 is not counted
    std::string bytes = records({{1, 2, 3, 4, 5, 6, 7, 8}, {13, 14, 15, 16, 17, 18, 19, 20}, {1, 2, 3, 4, 5, 6, 7, 8}}) +
                        "20101231 004 01 02 03 04 05 06 07 99 01\r\n";
    EXPECT_EQ(sumsLines(dz::DrawFile::fromBytes(bytes)), (QStringList{" 36    2", " 132    1"}));
    EXPECT_TRUE(sumsLines(dz::DrawFile::fromBytes("")).isEmpty());
}

TEST(Identity, LineLayoutAndDistribution) {
    // 1..8 shares 2 4 6 8 with the padding; equal draws in a row share all eight; then
    // 1 3 5 7 9 11 13 15 shares 1 3 5 7 with 1..8
    const auto r = identity(file(padded({{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}, kOdd})), 1);
    const QStringList draws = r.lines.mid(0, r.lines.size() - 12);
    EXPECT_EQ(draws, (QStringList{key(14) + "   * 4   02 04 06 08 ", key(15) + "   * 8   01 02 03 04 05 06 07 08 ",
                                  key(16) + "   * 4   01 03 05 07 "}));
    EXPECT_EQ(tail(r.lines, 12), (QStringList{"", "Azonosság eloszlása:", "", " 0   0", " 1   0", " 2   0", " 3   0",
                                              " 4   2", " 5   0", " 6   0", " 7   0", " 8   13"}));
    EXPECT_EQ(r.classes[8].size(), 13);  // draws 2..13 of the padding and draw 15
    EXPECT_EQ(r.classes[8].last(), key(15) + "   * 8   01 02 03 04 05 06 07 08 ");
    EXPECT_EQ(r.topIndex(), r.lines.size() - 16);
}

TEST(Identity, FirstDrawIsOnlyTheReferenceAndDrawLinesStartAtWPlus13) {
    // 14 draws, W = 1: draws 2..14 are counted and in their class lists, only draw 14 is listed
    std::vector<Draw> d;
    for (int i = 0; i < 14; ++i) d.push_back(i % 2 ? kOdd : kEven);
    const auto r = identity(file(d), 1);
    EXPECT_EQ(r.lines.size(), 13);
    EXPECT_EQ(r.lines[0], key(14) + "   * 0   ");
    EXPECT_EQ(r.lines[4], QStringLiteral(" 0   13"));
    EXPECT_EQ(r.classes[0].size(), 13);
    // a later window start moves the first listed draw
    EXPECT_EQ(identity(file(d), 0).lines[0], key(13) + "   * 0   ");

    for (const auto& f : {dz::DrawFile::fromBytes(""), file({kOdd})}) {
        const auto e = identity(f, 1);
        EXPECT_EQ(e.lines.size(), 12);
        EXPECT_EQ(e.lines.last(), QStringLiteral(" 8   0"));
        for (const auto& c : e.classes) EXPECT_TRUE(c.isEmpty());
    }
}

TEST(Adhesion, RunsAnywhereInTheDrawAreCountedAndListed) {
    struct Case {
        Draw draw;
        QStringList lines;       // draw lines in the result list
        std::array<int, 9> counts;  // runs by length
    };
    const QString h = key(14);
    const Case cases[] = {
        {{1, 2, 3, 4, 5, 6, 7, 8}, {h + "    *8   01  02  03  04  05  06  07  08"}, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        // two runs of 4: the first ends before the eighth number
        {{1, 2, 3, 4, 6, 7, 8, 9}, {h + "    *4   01  02  03  04", h + "    *4   06  07  08  09"}, {0, 0, 0, 0, 2}},
        {{1, 2, 3, 4, 5, 10, 12, 14}, {h + "    *5   01  02  03  04  05"}, {0, 0, 0, 0, 0, 1}},
        {{3, 5, 11, 12, 13, 14, 15, 20}, {h + "    *5   11  12  13  14  15"}, {0, 0, 0, 0, 0, 1}},
        {{1, 2, 3, 5, 6, 7, 9, 10}, {}, {}},
        {kEven, {}, {}},
        // a "00" field reads as 0 and starts a run as any value does
        {{0, 1, 2, 3, 8, 12, 16, 20}, {h + "    *4   00  01  02  03"}, {0, 0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        const auto r = adhesion(file(padded({c.draw})), 1);
        EXPECT_EQ(r.lines.mid(0, r.lines.size() - 8), c.lines) << c.draw[0];
        QStringList dist{"", "Tapadás eloszlása:", ""};
        for (int k = 4; k <= 8; ++k) dist << dz::str(k) + "  " + dz::format(c.counts[size_t(k)], "@@@@@");
        EXPECT_EQ(tail(r.lines, 8), dist);
        // every counted run is in the class list of its length, so the class lists agree with the counts
        for (int k = 4; k <= 8; ++k) EXPECT_EQ(r.classes[size_t(k)].size(), c.counts[size_t(k)]) << k;
    }
    // before index W + 13 a run is counted and in its class, not in the result list
    const auto early = adhesion(file({{1, 2, 3, 4, 6, 7, 8, 9}}), 1);
    EXPECT_EQ(early.lines.size(), 8);
    EXPECT_EQ(early.lines[3], QStringLiteral(" 4      2"));
    EXPECT_EQ(early.classes[4].size(), 2);
    EXPECT_EQ(adhesion(dz::DrawFile::fromBytes(""), 1).lines.last(), QStringLiteral(" 8      0"));
}

TEST(Distributions, RaggedLinesDoNotBreakThePasses) {
    const std::string bytes = "\r\nshort\n20101231 001 01 02 03 04 05 99 07 08 01\n\xff\xfe,\n" +
                              records({{1, 2, 3, 4, 5, 6, 7, 8}});
    const auto f = dz::DrawFile::fromBytes(bytes);
    EXPECT_EQ(identity(f, 1).lines.size(), 12);
    // 01..05 stays a run of 5 before the faulty field; 07 08 after it is no run
    const auto a = adhesion(f, 1);
    EXPECT_EQ(a.classes[5].size(), 1);
    EXPECT_EQ(a.classes[8].size(), 1);
    EXPECT_EQ(sumsLines(f), (QStringList{" 36    1"}));
    // a key of bytes outside ASCII is shown through the code page, one character a byte
    const auto odd = dz::DrawFile::fromBytes("2010123\xe1 001 01 02 03 04 05 06 07 08 01\r\n" + records({{1, 2, 3, 4, 5, 6, 7, 8}}));
    EXPECT_EQ(adhesion(odd, 0).classes[8].first(), QString::fromUtf8("2010123á 001    *8   01  02  03  04  05  06  07  08"));
    EXPECT_EQ(identity(odd, 0).classes[8].first(), key(1) + "   * 8   01 02 03 04 05 06 07 08 ");
}

TEST(Distributions, ClassListsStopAtTheRowLimit) {
    std::string bytes;
    const int eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < dz::kRowLimit + 20; ++i) bytes += dz::drawRecordLine(2010, 1, 1, 1, eight, 1) + "\r\n";
    const auto f = dz::DrawFile::fromBytes(bytes);
    const long long w = dz::drawWindowStart(static_cast<long long>(f.size()));
    const auto id = identity(f, w);
    EXPECT_EQ(id.classes[8].size(), dz::kRowLimit);
    EXPECT_LE(id.lines.size(), dz::kRowLimit);
    EXPECT_EQ(id.lines.last(), QStringLiteral(" 8   ") + QString::number(dz::kRowLimit + 19));
    const auto ad = adhesion(f, w);
    EXPECT_EQ(ad.classes[8].size(), dz::kRowLimit);
    EXPECT_LE(ad.lines.size(), dz::kRowLimit);
}

TEST(Distributions, ResultListsPastTheRowLimitKeepTheNewestDraws) {
    // 32737 draws with distinct keys, each holding two runs of four and sharing all eight numbers
    // with the draw before: more draw lines than the result lists hold
    const int n = 32737;
    const int d[8] = {1, 2, 3, 4, 10, 11, 12, 13};
    std::string bytes;
    auto keyOf = [](int i) {
        return QStringLiteral("2010%1%2 %3").arg(1 + (i / 2800) % 12, 2, 10, QLatin1Char('0')).arg(1 + (i / 100) % 28, 2, 10, QLatin1Char('0')).arg(1 + i % 100, 3, 10, QLatin1Char('0'));
    };
    for (int i = 0; i < n; ++i) bytes += dz::drawRecordLine(2010, 1 + (i / 2800) % 12, 1 + (i / 100) % 28, 1 + i % 100, d, 1) + "\r\n";
    const auto f = dz::DrawFile::fromBytes(bytes);
    Rules day;
    day.classLists = false, day.identityListsAll = true, day.runsFromWindow = true, day.runDigitFirst = true;
    struct Case {
        const char* name;
        bool identity;
        Rules rules;
        long long w;
        int tail;
        int firstDraw;  // 0-based index of the draw of the first line kept
    };
    // identity keeps one line a draw, adhesion two
    const int idKept = dz::kRowLimit - 12, adKept = dz::kRowLimit - 8;
    for (const Case& c : {Case{"daystat identity before Start", true, day, 0, 12, n - idKept},
                          Case{"daystat identity after Start", true, day, dz::drawWindowStart(n), 12, n - idKept},
                          Case{"drawstat adhesion", false, Rules{}, dz::drawWindowStart(n), 8, n - adKept / 2},
                          Case{"daystat adhesion", false, day, dz::drawWindowStart(n), 8, n - adKept / 2}}) {
        SCOPED_TRACE(c.name);
        const ClassTexts r = dz::drawstat::testing::texts(c.identity ? identityDistribution(f, c.w, c.rules)
                                                                 : adhesionDistribution(f, c.w, c.rules));
        ASSERT_EQ(r.lines.size(), dz::kRowLimit);
        const QStringList draws = r.lines.mid(0, dz::kRowLimit - c.tail);
        EXPECT_TRUE(draws.first().startsWith(keyOf(c.firstDraw)));
        EXPECT_TRUE(draws.last().startsWith(keyOf(n - 1)));
        if (!c.identity) {
            EXPECT_TRUE(draws.last().endsWith(QStringLiteral("10  11  12  13")));
        }
        EXPECT_EQ(r.lines.last(), c.identity ? QStringLiteral(" 8   ") + QString::number(n - 1)
                                             : QStringLiteral(" 8      0"));
    }
}

TEST(ClassListClick, OnlyTheUpperDistributionLinesOpenTheirClass) {
    const auto id = identity(file(padded({kOdd, kEven})), 1).lines;
    const int c = int(id.size());
    for (int rel = 1; rel <= 12; ++rel) {
        const auto k = classListForClick(id, c - rel);
        if (rel <= 5)
            EXPECT_EQ(k, std::optional<int>(9 - rel)) << rel;  // lines for 8..4
        else
            EXPECT_FALSE(k) << rel;  // lines for 3..0, the heading and the blanks
    }
    EXPECT_FALSE(classListForClick(id, 0));  // a draw line

    const auto ad = adhesion(file(padded({kOdd})), 1).lines;
    const int a = int(ad.size());
    for (int rel = 1; rel <= 8; ++rel) {
        const auto k = classListForClick(ad, a - rel);
        if (rel <= 4)
            EXPECT_EQ(k, std::optional<int>(9 - rel)) << rel;  // lines for 8..5
        else
            EXPECT_FALSE(k) << rel;
    }
    // sums, a class list, an empty list and indexes outside the list open nothing
    EXPECT_FALSE(classListForClick({" 36    2", " 40    1"}, 1));
    EXPECT_FALSE(classListForClick({}, 0));
    EXPECT_FALSE(classListForClick(id, c));
    EXPECT_FALSE(classListForClick(id, -1));
}

namespace {
struct DistributionWindowTest : ::testing::Test {
    dz::testing::ProgramFolderFixture folder;
    DistributionWindowTest() { resetState(); }
};
}  // namespace

TEST_F(DistributionWindowTest, ClassListRestoreAndSums) {
    folder.write("vevud.txt", records(padded({{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}})));
    MainWindow w;
    w.show();
    w.action("start")->trigger();
    w.Command3D2->click();
    const QStringList result = w.List2->items();
    EXPECT_EQ(w.List6->items(), result);
    EXPECT_FALSE(w.SSCommand2->isVisible());

    w.List2_Click(w.List2->count() - 1);  // the line for 8
    EXPECT_EQ(w.List2->items(), w.List5[8]->items());
    EXPECT_EQ(w.List2->count(), 13);
    EXPECT_TRUE(w.SSCommand2->isVisible());
    w.List2_Click(w.List2->count() - 1);  // a class list: nothing happens
    EXPECT_EQ(w.List2->count(), 13);

    // the L key exports the class list that is shown
    QTest::keyClick(w.List2, Qt::Key_L);
    std::string exported;
    for (const QString& l : w.List5[8]->items()) exported += l.toStdString() + "\r\n";
    EXPECT_EQ(folder.read("lista001.txt"), exported);

    // sums leave "Vissza" showing; it brings the identity result back
    w.action("osszeg")->trigger();
    EXPECT_EQ(w.List2->items(), (QStringList{" 36    2", " 72    13"}));
    EXPECT_TRUE(w.SSCommand2->isVisible());
    w.SSCommand2->click();
    EXPECT_EQ(w.List2->items(), result);
    EXPECT_FALSE(w.SSCommand2->isVisible());

    w.SSCommand1->click();
    EXPECT_EQ(w.List2->item(0).left(18), key(14) + "    *8");
    EXPECT_EQ(w.List6->items(), w.List2->items());
}

TEST_F(DistributionWindowTest, MissingFileClearsIdentityOnlyAndEmptyBackupRestoresNothing) {
    folder.write("vevud.txt", records(padded({kOdd})));
    MainWindow w;
    w.action("start")->trigger();
    w.SSCommand2_Click();  // nothing to restore yet
    EXPECT_EQ(w.List2->count(), 0);
    w.SSCommand1->click();
    const QStringList adhesion = w.List2->items();
    QFile::remove(folder.path("vevud.txt"));
    w.SSCommand1->click();
    w.action("osszeg")->trigger();
    EXPECT_EQ(w.List2->items(), adhesion);
    EXPECT_EQ(w.List6->items(), adhesion);
    w.Command3D2->click();
    EXPECT_EQ(w.List2->count(), 0);
    EXPECT_EQ(w.List6->count(), 0);
    for (auto* l : w.List5) EXPECT_EQ(l->count(), 0);
}

// Every line made from the records equals the line the string builder makes, over histories with
// lists below, at and above the row limit, for both builds' rules and a few window starts; the
// ragged fixture carries a non-ASCII key, short keys and faulty fields.
TEST(Distributions, RecordLinesEqualTheStringBuilt) {
    Rules day;
    day.classLists = false, day.identityListsAll = true, day.runsFromWindow = true, day.runDigitFirst = true;
    const std::string ragged = "\r\nshort\n2010123\xe1 001 01 02 03 04 05 99 07 08 01\n\xff\xfe,\n20101231 01 02 03 04 05 06 07 08\n"
                               // fields out of order, repeated, or a run of 4 read from "00"
                               "20101231 002 09 10 11 12 01 02 03 04 01\n20101231 003 05 06 07 07 08 09 10 11 01\n"
                               "20101231 004 00 01 02 03 05 06 07 08 02\n20101231 005 00 01 02 03 04 05 06 07 03\n" +
                               records(padded({{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 6, 7, 8, 9}, {0, 1, 2, 3, 8, 12, 16, 20}}));
    struct Case { std::string bytes; const char* name; };
    // keys of another form past the row limit: "20100101-001"
    std::string odd = dz::synthDrawHistory(34000);
    for (size_t at = 0; at + 8 < odd.size();) {
        odd[at + 8] = '-';
        const size_t end = odd.find('\n', at);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    const Case cases[] = {{ragged, "ragged"}, {dz::synthDrawHistory(300), "300"}, {dz::synthDrawHistory(70000), "70000"},
                          {odd, "odd keys"}};
    for (const Case& c : cases) {
        const auto f = dz::DrawFile::fromBytes(c.bytes);
        const long long n = static_cast<long long>(f.size());
        for (const Rules& rules : {Rules{}, day})
            for (long long w : {0LL, 1LL, dz::drawWindowStart(n), n + 5}) {
                const ClassTexts id = dz::drawstat::testing::texts(identityDistribution(f, w, rules));
                const ClassTexts idRef = dz::drawstat::testing::ref::identity(f, w, rules);
                const ClassTexts ad = dz::drawstat::testing::texts(adhesionDistribution(f, w, rules));
                const ClassTexts adRef = dz::drawstat::testing::ref::adhesion(f, w, rules);
                const std::string at = std::string(c.name) + " W " + std::to_string(w) + (rules.classLists ? "" : " day");
                ASSERT_EQ(id.lines, idRef.lines) << at;
                ASSERT_EQ(ad.lines, adRef.lines) << at;
                for (size_t k = 0; k < 9; ++k) {
                    ASSERT_EQ(id.classes[k], idRef.classes[k]) << at << " class " << k;
                    ASSERT_EQ(ad.classes[k], adRef.classes[k]) << at << " class " << k;
                }
            }
    }
}
