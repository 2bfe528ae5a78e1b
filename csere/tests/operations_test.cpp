// The workshop's logic without windows: row decoding, the key analysis and every operation.
#include "csere/core/keyrows.h"
#include "csere/core/operations.h"
#include "csere/tests/vazoztest.h"

#include <bit>
#include <gtest/gtest.h>

using namespace dz::csere;
using namespace dz::csere::testing;

namespace {
KeyAnalysis analysed(const QStringList& rows) {
    const AnalysisOutcome o = analyseKey(rows);
    EXPECT_FALSE(o.rejectedRow);
    return o.analysis;
}
}  // namespace

TEST(RowDecoding, CountRulesAndFields) {
    struct Case {
        const char* row;
        int rounded, integer;
    };
    for (const Case& c : {Case{"01 05 17", 3, 3}, Case{"01 05 17 ", 3, 3}, Case{"01 05 17  ", 4, 3}, Case{"", 0, 0},
                          Case{"0", 1, 0}, Case{"01 02 03 04 05 06 07 08 09 ", 9, 9}}) {
        EXPECT_EQ(fieldCount(QString::fromLatin1(c.row), CountRule::Rounded), c.rounded) << c.row;
        EXPECT_EQ(fieldCount(QString::fromLatin1(c.row), CountRule::IntegerPart), c.integer) << c.row;
    }
    struct F {
        const char* row;
        FieldKind kind;
        int number;
    };
    for (const F& f : {F{"05 ", FieldKind::Number, 5}, F{" 7 ", FieldKind::Number, 7}, F{"20", FieldKind::Number, 20},
                       F{"   ", FieldKind::Empty, 0}, F{"ab ", FieldKind::Empty, 0}, F{"00 ", FieldKind::Empty, 0},
                       F{"21 ", FieldKind::Bad, 0}, F{"-3 ", FieldKind::Bad, 0}, F{"1.5", FieldKind::Bad, 0}}) {
        const Field got = field(QString::fromLatin1(f.row), 1);
        EXPECT_EQ(got.kind, f.kind) << f.row;
        EXPECT_EQ(got.number, f.number) << f.row;
    }
    EXPECT_EQ(field(u"01 02", 3).kind, FieldKind::Empty);  // past the end
    EXPECT_EQ(producedRow(bits({3, 8, 14})), QStringLiteral("03 08 14 "));
}

TEST(KeyAnalysisTest, MixedLengthsAndTheLastRowsType) {
    const KeyAnalysis a = analysed(L({"01 02 03 04 05 06 ", "03 07 ", "02 05 09 "}));
    EXPECT_EQ(a.presence, bits({1, 2, 3, 4, 5, 6, 7, 9}));
    EXPECT_EQ(a.distinct, 8);
    EXPECT_EQ(a.gameType, 3);
    EXPECT_EQ(a.rowCount, 3);
    // letters and empty fields read as nothing
    EXPECT_EQ(analysed(L({"ab 05 "})).presence, bits({5}));
    EXPECT_EQ(presentNumbers(bits({1, 12})), L({"01", "12"}));
}

TEST(KeyAnalysisTest, ABadFieldRejectsTheWholeKeyAndLeavesNoFigures) {
    for (const char* bad : {"01 21 03", "01 -3 03", "01 1.5 3"}) {
        const AnalysisOutcome o = analyseKey(L({"01 02 03 ", bad, "04 05 06 "}));
        ASSERT_TRUE(o.rejectedRow) << bad;
        EXPECT_EQ(*o.rejectedRow, QString::fromLatin1(bad));
        EXPECT_EQ(o.analysis, KeyAnalysis{});
    }
    EXPECT_EQ(rejectedKeyMessage(QStringLiteral("01 21")), QStringLiteral("20-nél nagyobb szám van a kulcsban !\r01 21"));
    // removing a row skips bad values without a word; taking back takes the longest row's type
    EXPECT_EQ(reanalyseSkipping(L({"01 21 03 "})).presence, bits({1, 3}));
    EXPECT_EQ(analyseTakenBack(L({"01 02 03 04 05 06 07 08 ", "01 02 "})).gameType, 8);
}

TEST(Swap, PairsAscendingNumbersRowByRowKeepingLengths) {
    const QStringList key = L({"02 05 09", "02 09 ", "05 "});
    const KeyAnalysis a = analysed(key);
    const OpResult r = swapNumbers(key, a, bits({4, 11, 20}));
    ASSERT_FALSE(r.msg);
    EXPECT_EQ(r.rows, L({"04 11 20 ", "04 20 ", "11 "}));
}

TEST(Swap, RefusalsInOrderWithTheirTitle) {
    const QStringList key = L({"01 02 03 04 05 06 "});
    const OpResult none = swapNumbers({}, KeyAnalysis{}, 0);
    EXPECT_EQ(none.msg.text(), QStringLiteral("Nincs kulcs kiválasztva !"));
    EXPECT_EQ(none.msg.title(), QStringLiteral("Számcsere"));
    const OpResult five = swapNumbers(key, analysed(key), bits({7, 8, 9, 10, 11}));
    EXPECT_EQ(five.msg.text(), QStringLiteral("Pontosan  6 számot kell kiválasztani !"));
    EXPECT_TRUE(five.rows.isEmpty());
}

TEST(Swap, AFieldWithoutPartnerStaysAsItIs) {
    // the fourth field of this row is blank: it has no partner and is written as it was
    const QStringList key = L({"01 02 03    "});
    const OpResult r = swapNumbers(key, analysed(key), bits({5, 6, 7}));
    ASSERT_FALSE(r.msg);
    EXPECT_EQ(r.rows, L({"05 06 07    "}));
}

TEST(ReplaceOne, RowsHoldingTheNumberTakeAllMarked) {
    const QStringList key = L({"02 05 09 ", "02 07 09"});
    const OpResult r = replaceOne(key, analysed(key), bits({12, 19}), 5);
    ASSERT_FALSE(r.msg);
    EXPECT_EQ(r.rows, L({"02 09 12 19 ", "02 07 09 "}));
}

TEST(ReplaceOne, RefusalsInOrder) {
    const QStringList key = L({"02 05 09 "});
    const KeyAnalysis a = analysed(key);
    struct Case {
        const QStringList* key;
        KeyAnalysis a;
        uint32_t marks;
        int x;
        const char* text;
    };
    const QStringList empty;
    for (const Case& c : {Case{&empty, {}, 0, 0, "Nincs CSERÉLENDŐ szám kiválasztva !"},
                          Case{&empty, {}, 0, 5, "Nincs kulcs kiválasztva !"},
                          Case{&key, a, 0, 5, "Nincs CSERE kiválasztva !"},
                          Case{&key, a, bits({5, 12}), 5, "Hibás CSERE kiválasztás !"},
                          Case{&key, a, bits({9}), 5, "Hibás CSERE kiválasztás !"}}) {
        const OpResult r = replaceOne(*c.key, c.a, c.marks, c.x);
        EXPECT_EQ(r.msg.text(), QString::fromUtf8(c.text));
        EXPECT_EQ(r.msg.title(), QStringLiteral("Számcsere"));
    }
}

TEST(Fix, AddsMarkedNumbersToEveryRowOfItsOwnLength) {
    // the longer first row keeps all its numbers, whatever the last row's type
    const QStringList key = L({"02 03 04 06 08 09 ", "05 07 "});
    const OpResult r = addFix(key, analysed(key), bits({1, 20}));
    ASSERT_FALSE(r.msg);
    EXPECT_EQ(r.rows, L({"01 02 03 04 06 08 09 20 ", "01 05 07 20 "}));

    EXPECT_EQ(addFix({}, KeyAnalysis{}, bits({1})).msg.text(), QStringLiteral("Nincs kulcs kiválasztva !"));
    EXPECT_EQ(addFix(key, analysed(key), 0).msg.text(), QStringLiteral("Nincs FIX kiválasztva !"));
    const OpResult clash = addFix(key, analysed(key), bits({1, 7, 9}));
    EXPECT_EQ(clash.msg.text(), QStringLiteral("Hibás FIX kiválasztás !\r7-s szám már szerepel a kulcsban !"));
    EXPECT_EQ(clash.msg.title(), QStringLiteral("Számcsere"));
}

TEST(RandomSelectionTest, RefusalsOfTheBoxes) {
    FixedRandom rng(1);
    struct Case {
        const char *count, *from, *to, *text;
    };
    for (const Case& c : {Case{"0", "1", "20", "Hibás szám darab megadás !"},
                          Case{"21", "1", "20", "Hibás szám darab megadás !"},
                          Case{"", "1", "20", "Hibás szám darab megadás !"},
                          Case{"1.5", "1", "20", "Hibás szám darab megadás !"},
                          Case{"-2", "1", "20", "Hibás szám darab megadás !"},
                          Case{"x", "1", "20", "Hibás szám darab megadás !"},
                          Case{"3", "0", "20", "Hibás - Tól: - megadás !"},
                          Case{"3", "a", "20", "Hibás - Tól: - megadás !"},
                          Case{"3", "1", "21", "Hibás - Ig: - megadás !"},
                          Case{"1", "5", "5", "Hibás - Ig: - megadás !"},
                          Case{"1", "9", "5", "Hibás - Ig: - megadás !"},
                          Case{"4", "3", "5", "Hibás intervallum <-> darab összefüggés !"}}) {
        const RandomSelection r = randomSelection(QString::fromLatin1(c.count), QString::fromLatin1(c.from),
                                                  QString::fromLatin1(c.to), rng);
        EXPECT_EQ(r.msg.text(), QString::fromUtf8(c.text)) << c.count << " " << c.from << " " << c.to;
        EXPECT_EQ(r.msg.title(), QStringLiteral("Vumo-Soft/2010"));
        EXPECT_EQ(r.marks, 0u);
    }
}

TEST(RandomSelectionTest, MarksDistinctNumbersOfTheRangeRepeatably) {
    FixedRandom rng(1);
    EXPECT_EQ(randomSelection(u"20"_qs, u"1"_qs, u"20"_qs, rng).marks, 0x1FFFFEu);
    const uint32_t three = randomSelection(u" 3 "_qs, u"3"_qs, u"5"_qs, rng).marks;
    EXPECT_EQ(three, bits({3, 4, 5}));
    FixedRandom a(7), b(7);
    const uint32_t first = randomSelection(u"6"_qs, u"4"_qs, u"15"_qs, a).marks;
    EXPECT_EQ(std::popcount(first), 6);
    EXPECT_EQ(first & ~bits({4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}), 0u);
    EXPECT_EQ(randomSelection(u"6"_qs, u"4"_qs, u"15"_qs, b).marks, first);
}

TEST(Extension, RefusalsInOrder) {
    FixedRandom rng(1);
    const QStringList key = L({"01 02 03 04 05 06 "});
    EXPECT_EQ(extendRandom({}, 6, u"7"_qs, bits({9}), rng).msg.text(), QStringLiteral("Nincs kulcs betöltve !"));
    EXPECT_EQ(extendRandom(key, 6, u"6"_qs, bits({9}), rng).msg.text(),
              QStringLiteral("Nincs jól megadva az új típus !\rMinimum:  7"));
    EXPECT_EQ(extendRandom(key, 6, u"7.5"_qs, bits({9}), rng).msg.code, Msg::BadNewType);
    EXPECT_EQ(extendRandom(key, 6, u"9"_qs, bits({9, 10, 11}), rng).msg.text(),
              QStringLiteral("Maximum 8-s típus adható meg !"));
    EXPECT_EQ(extendRandom(key, 6, u"8"_qs, bits({9}), rng).msg.text(),
              QStringLiteral("Nincs elég szám kijelölve !\rMinimum:  2"));
}

TEST(Extension, RowsGrowByDistinctMarkedNumbersTheyLack) {
    FixedRandom rng(3);
    // exactly the needed marked numbers outside every row: every row gets them
    const OpResult exact = extendRandom(L({"01 02 ", "03 04 "}), 2, u"4"_qs, bits({19, 20}), rng);
    ASSERT_FALSE(exact.msg);
    EXPECT_EQ(exact.rows, L({"01 02 19 20 ", "03 04 19 20 "}));

    const QStringList key = L({"01 02 03 04 05 ", "06 07 08 09 10 ", "01 06 11 16 20 "});
    const uint32_t marks = bits({1, 2, 3, 11, 12, 13, 14, 15, 16, 17, 18, 19});
    const OpResult r = extendRandom(key, 5, u"8"_qs, marks, rng);
    ASSERT_FALSE(r.msg);
    ASSERT_EQ(r.rows.size(), 3);
    for (int i = 0; i < 3; ++i) {
        int t = 0;
        const uint32_t m = rowMask(r.rows[i], CountRule::IntegerPart, &t);
        EXPECT_EQ(t, 8);
        EXPECT_EQ(std::popcount(m), 8);
        const uint32_t old = rowMask(key[i], CountRule::IntegerPart);
        EXPECT_EQ(m & old, old);
        EXPECT_EQ(m & ~old & ~marks, 0u);
        EXPECT_EQ(r.rows[i], producedRow(m));  // ascending, a blank after each number
    }
}

TEST(Extension, RowsThatCannotReachTheTypeAreLeftOutAndCounted) {
    FixedRandom rng(5);
    // the second row holds both marked numbers already; the third is longer than the new type
    const QStringList key = L({"01 02 ", "05 06 ", "01 02 03 04 05 ", "03 04 "});
    const OpResult r = extendRandom(key, 2, u"4"_qs, bits({5, 6}), rng);
    EXPECT_EQ(r.rows, L({"01 02 05 06 ", "03 04 05 06 "}));
    EXPECT_EQ(r.msg.code, Msg::RowsLeftOut);
    EXPECT_TRUE(r.msg.notice());
    EXPECT_EQ(r.msg.arg, 2);
    EXPECT_EQ(r.msg.title(), QStringLiteral("Vumo-Soft/2010"));
}

TEST(Distribution, CountsEveryNumberOfTheKey) {
    EXPECT_EQ(distribution(L({"05 07 ", "05 12", "ab 05 "})), L({"  05   3", "  07   1", "  12   1"}));
    EXPECT_TRUE(distribution({}).isEmpty());
}

TEST(FullCombinations, RowsInLexicographicOrder) {
    Combinations c = fullCombinations(u"3"_qs, 2);
    ASSERT_FALSE(c.msg);
    EXPECT_EQ(c.rows, L({"01 02", "01 03", "02 03"}));
    c = fullCombinations(u" 8"_qs, 8);
    EXPECT_EQ(c.rows, L({"01 02 03 04 05 06 07 08"}));
    EXPECT_EQ(*c.countShown, 1);
    // the row count at every progress step: 1000 rows from type 5, 100 below it
    std::vector<long long> steps;
    c = fullCombinations(u"17"_qs, 8, [&](long long rows) { steps.push_back(rows); });
    EXPECT_EQ(c.rows.size(), 24310);
    ASSERT_EQ(steps.size(), 24u);
    EXPECT_EQ(steps.front(), 1000);
    EXPECT_EQ(steps.back(), 24000);
    steps.clear();
    fullCombinations(u"20"_qs, 3, [&](long long rows) { steps.push_back(rows); });
    ASSERT_EQ(steps.size(), 11u);
    EXPECT_EQ(steps.back(), 1100);
    EXPECT_EQ(c.rows.last(), QStringLiteral("10 11 12 13 14 15 16 17"));
    EXPECT_EQ(fullCombinations(u"8.5"_qs, 8).rows.size(), 1);  // halves to even
    EXPECT_EQ(fullCombinations(u"20"_qs, 3).rows.size(), 1140);
}

TEST(FullCombinations, RefusalsInOrder) {
    struct Case {
        const char* count;
        int type;
        const char* text;
        long long shown;  // -1: not shown
    };
    for (const Case& c : {Case{"", 2, "Nincs megadva, hogy hány számot variáljak !", -1},
                          Case{"abc", 5, "Nincs megadva, hogy hány számot variáljak !", -1},
                          Case{"5", 6, "Hibás variált szám megadás !", -1},
                          Case{"-3", 2, "Hibás variált szám megadás !", -1},
                          Case{"-99999999999", 2, "Hibás variált szám megadás !", -1},
                          Case{"21", 2, "Maximum 20 szám adható meg !", -1},
                          Case{"1e300", 2, "Maximum 20 szám adható meg !", -1},
                          Case{"20", 6, "Maximum 32736 soros kulcs generálható!", 38760},
                          Case{"18", 8, "Maximum 32736 soros kulcs generálható!", 43758}}) {
        const Combinations r = fullCombinations(QString::fromLatin1(c.count), c.type);
        EXPECT_EQ(r.msg.text(), QString::fromUtf8(c.text)) << c.count;
        EXPECT_EQ(r.msg.title(), QStringLiteral("Vumo-Soft/2010"));
        EXPECT_EQ(r.countShown.value_or(-1), c.shown) << c.count;
        EXPECT_TRUE(r.rows.isEmpty());
    }
    EXPECT_EQ(fullCombinations(u"19"_qs, 6).rows.size(), 27132);
    EXPECT_EQ(fullCombinations(u"18"_qs, 7).rows.size(), 31824);
}

TEST(FullCombinations, SpinSteps) {
    EXPECT_EQ(spinText(u""_qs, -1), u"1"_qs);
    EXPECT_EQ(spinText(u""_qs, +1), u"1"_qs);
    EXPECT_EQ(spinText(u"20"_qs, +1), u"21"_qs);
    EXPECT_EQ(spinText(u"8"_qs, -1), u"7"_qs);
    EXPECT_EQ(spinText(u"-4"_qs, -1), u"1"_qs);
}

TEST(PairingTest, PairUndoAndTheirRefusals) {
    Pairing p(bits({4, 11, 20}), bits({2, 5, 9}));
    EXPECT_EQ(p.listI(), L({"04", "11", "20"}));
    EXPECT_EQ(p.listII(), L({"02", "05", "09"}));
    EXPECT_EQ(p.pair(-1, 0).text(), QStringLiteral("Nincs listasor (I.) kiválasztva "));
    EXPECT_EQ(p.pair(0, -1).text(), QStringLiteral("Nincs listasor (II.) kiválasztva "));
    EXPECT_EQ(p.undo(-1).text(), QStringLiteral("Nincs listasor (III.) kiválasztva "));
    EXPECT_FALSE(p.pair(1, 2));  // 09 -> 11
    EXPECT_FALSE(p.pair(0, 0));  // 02 -> 04
    EXPECT_EQ(p.listIII(), L({"02  04", "09  11"}));
    EXPECT_EQ(p.substitute({}).msg.text(), QStringLiteral("Nincs minden listasor (I.) párosítva "));
    EXPECT_FALSE(p.undo(1));
    EXPECT_EQ(p.listI(), L({"11", "20"}));  // back in their sorted places
    EXPECT_EQ(p.listII(), L({"05", "09"}));
    EXPECT_EQ(p.listIII(), L({"02  04"}));
}

TEST(PairingTest, SubstitutionResortsRowsAndListsThePairs) {
    Pairing p(bits({3, 11, 15}), bits({2, 5, 9}));
    p.pair(2, 0);  // 02 -> 15
    p.pair(0, 0);  // 05 -> 03
    p.pair(0, 0);  // 09 -> 11
    const auto s = p.substitute(L({"02 05 09", "02 09 ", "05 09 02 05 "}));
    ASSERT_FALSE(s.msg);
    EXPECT_EQ(s.rows, L({"03 11 15 ", "11 15 ", "03 03 11 15 "}));
    EXPECT_EQ(s.pairLines, L({" 02  15", " 05  03", " 09  11"}));

    Pairing rev(bits({1, 20}), bits({1, 20}));
    rev.pair(1, 0);  // 01 -> 20
    rev.pair(0, 0);  // 20 -> 01
    EXPECT_EQ(rev.substitute(L({"01 20 ", "01 "})).rows, L({"01 20 ", "20 "}));
}

TEST(PairingTest, RandomPairingPairsEverythingAndKeepsHandPairs) {
    FixedRandom rng(11);
    Pairing p(bits({1, 2, 3, 4, 5, 6}), bits({10, 11, 12, 13, 14, 15}));
    p.pair(0, 5);  // 15 -> 01 by hand
    p.pairRandomly(rng);
    EXPECT_TRUE(p.listI().isEmpty());
    EXPECT_TRUE(p.listII().isEmpty());
    ASSERT_EQ(p.listIII().size(), 6);
    EXPECT_EQ(p.listIII().last(), QStringLiteral("15  01"));
    uint32_t to = 0;
    for (const QString& row : p.listIII()) to |= 1u << row.right(2).toInt();
    EXPECT_EQ(to, bits({1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(p.substitute(L({"10 11 12 13 14 15 "})).msg);
    // empty lists: nothing
    Pairing none(0, 0);
    none.pairRandomly(rng);
    EXPECT_TRUE(none.listIII().isEmpty());
}
