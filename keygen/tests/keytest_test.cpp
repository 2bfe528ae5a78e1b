// The key test by random draws.
#include "keygen/core/keytest.h"
#include "common/core/textfmt.h"
#include "keygen/tests/scripted_random.h"

#include <gtest/gtest.h>

using namespace dz::keygen;
using dz::keygen::testing::FixedRandom;
using dz::keygen::testing::ScriptedRandom;
using dz::keygen::testing::firstNumbers;

namespace {
KeyTestInputs test(QStringList rows, int t, NumberMask chosen, double h, double trials) {
    KeyTestInputs in;
    in.rows = std::move(rows);
    in.type = t;
    in.chosen = chosen;
    in.hits = h;
    in.trials = trials;
    in.reseed = false;
    return in;
}
QString msg(const KeyTestInputs& in) {
    auto m = validateKeyTest(in);
    return m ? m->text : QString();
}
}  // namespace

TEST(KeyTest, Texts) {
    EXPECT_EQ(trialLine(7, {0, 2, 5, 1}), QStringLiteral("07   0  2  5  1  "));
    EXPECT_EQ(trialLine(100, {12, 0, 0, 0}), QStringLiteral("100   12  0  0  0  "));
    EXPECT_EQ(summaryLines({12, 0, 3, 1}),
              (QStringList{QStringLiteral("0 hiba :  12"), QStringLiteral("1 hiba :  0"), QStringLiteral("2 hiba :  3"),
                           QStringLiteral("3 hiba :  1")}));
    EXPECT_EQ(kTestHeads, QStringLiteral("hiba  0  1  2   3"));
}

TEST(KeyTest, MessagesInOrder) {
    // an empty key list is refused before any input is looked at
    EXPECT_EQ(msg(test({}, 5, 0, 0, 0)), QStringLiteral("Nincs kombináció generálva !"));
    const QStringList key{QStringLiteral(" 01 02 03 04 05 ")};
    EXPECT_EQ(msg(test(key, 5, firstNumbers(5), 0, 0)), QStringLiteral("Nincs megadva, hogy hány számot találtam el !"));
    EXPECT_EQ(msg(test(key, 5, firstNumbers(5), 6, 0)),
              QStringLiteral("A találat nem lehet nagyobb a kiválasztott számok számától !"));
    EXPECT_EQ(msg(test(key, 5, firstNumbers(5), 5, 0)), QStringLiteral("Nincs megadva, hogy hányszor teszteljem !"));
    EXPECT_EQ(msg(test(key, 5, firstNumbers(5), 5, 3)), QString());
    auto m = validateKeyTest(test({}, 5, 0, 0, 0));
    EXPECT_EQ(m->title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(m->icon, MessageIcon::Critical);
}

TEST(KeyTest, OneRowAllHit) {
    FixedRandom r(1);
    KeyTestResult res = runKeyTest(test({QStringLiteral(" 01 02 03 04 05 ")}, 5, firstNumbers(5), 5, 12), r);
    ASSERT_EQ(res.list4.size(), 12);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(res.list4[i], dz::format(i + 1, "00") + QStringLiteral("   1  0  0  0  "));
    EXPECT_EQ(res.classes, (std::array<long long, 4>{12, 0, 0, 0}));
    EXPECT_EQ(res.list5[0], QStringLiteral("0 hiba :  12"));
}

TEST(KeyTest, OneRowThreeHitsIsTwoMisses) {
    FixedRandom r(2);
    KeyTestResult res = runKeyTest(test({QStringLiteral(" 01 02 03 04 05 ")}, 5, firstNumbers(5), 3, 50), r);
    EXPECT_EQ(res.classes, (std::array<long long, 4>{0, 0, 50, 0}));
    for (const QString& l : res.list4) EXPECT_TRUE(l.endsWith(QStringLiteral("   0  0  1  0  ")));
}

TEST(KeyTest, HundredTrialsNumbered) {
    FixedRandom r(3);
    KeyTestResult res = runKeyTest(test({QStringLiteral(" 01 02 03 ")}, 3, firstNumbers(8), 4, 100), r);
    ASSERT_EQ(res.list4.size(), 100);
    EXPECT_TRUE(res.list4[0].startsWith(QStringLiteral("01   ")));
    EXPECT_TRUE(res.list4[98].startsWith(QStringLiteral("99   ")));
    EXPECT_TRUE(res.list4[99].startsWith(QStringLiteral("100   ")));
}

TEST(KeyTest, ClassesOnASmallKey) {
    // Key 01 02 03 / 04 05 06 over 1..6, h = 3, scripted draws.
    ScriptedRandom r;
    r.numbers({1, 2, 4});      // misses 1 and 2 -> class 1
    r.numbers({1, 2, 3});      // misses 0 and 3 -> class 0
    r.numbers({1, 4, 1, 20, 5});  // repeated and unchosen numbers are drawn again; 1 4 5: misses 2 and 1 -> class 1
    r.numbers({1, 4, 6});      // misses 2 and 1 -> class 1
    const QStringList key{QStringLiteral(" 01 02 03 "), QStringLiteral(" 04 05 06 ")};
    KeyTestResult res = runKeyTest(test(key, 3, firstNumbers(6), 3, 4), r);
    ASSERT_EQ(res.trials.size(), 4u);
    EXPECT_EQ(res.trials[0].misses, (std::array<int, 4>{0, 1, 1, 0}));
    EXPECT_EQ(res.trials[0].missClass, 1);
    EXPECT_EQ(res.trials[1].misses, (std::array<int, 4>{1, 0, 0, 1}));
    EXPECT_EQ(res.trials[1].missClass, 0);
    EXPECT_EQ(res.trials[2].missClass, 1);
    EXPECT_EQ(res.list4[0], QStringLiteral("01   0  1  1  0  "));
    EXPECT_EQ(res.list4[1], QStringLiteral("02   1  0  0  1  "));
    EXPECT_EQ(res.classes, (std::array<long long, 4>{1, 3, 0, 0}));
    // a row missing all its three numbers of a type-8 key: 4+ misses appear in no column
    ScriptedRandom r2;
    r2.numbers({9, 10});
    KeyTestResult far = runKeyTest(test({QStringLiteral(" 01 02 03 04 05 06 07 08 ")}, 8, firstNumbers(10), 2, 1), r2);
    EXPECT_EQ(far.list4, QStringList{QStringLiteral("01   0  0  0  0  ")});
    EXPECT_EQ(far.trials[0].missClass, -1);
    EXPECT_EQ(far.classes, (std::array<long long, 4>{0, 0, 0, 0}));
}

TEST(KeyTest, FractionalHitsGiveEveryTrialUp) {
    FixedRandom r(4);
    KeyTestResult res = runKeyTest(test({QStringLiteral(" 01 02 03 ")}, 3, firstNumbers(6), 2.5, 5), r);
    EXPECT_TRUE(res.list4.isEmpty());
    EXPECT_EQ(res.givenUp, 5);
    EXPECT_EQ(res.classes, (std::array<long long, 4>{0, 0, 0, 0}));
    EXPECT_EQ(res.list5.size(), 4);
    KeyTestResult neg = runKeyTest(test({QStringLiteral(" 01 02 03 ")}, 3, firstNumbers(6), -1, 2), r);
    EXPECT_TRUE(neg.list4.isEmpty());
}

TEST(KeyTest, LoadedRowsAreSafe) {
    // loaded rows have no leading blank; values above 20, zero, text and a type that does not match
    EXPECT_EQ(testRowMask(QStringLiteral("03 25 07"), 3), (1u << 3) | (1u << 7));
    EXPECT_EQ(testRowMask(QStringLiteral(" 03 25 07 "), 3), (1u << 3) | (1u << 7));
    EXPECT_EQ(testRowMask(QStringLiteral("00 xx 99999999999999999999 -4"), 4), 0u);
    EXPECT_EQ(testRowMask(QStringLiteral("01 02"), 40), (1u << 1) | (1u << 2));
    EXPECT_EQ(testRowMask(QStringLiteral("01 02"), -3), 0u);
    FixedRandom r(5);
    const QStringList odd{QStringLiteral("03 25 07"), QStringLiteral("99 98 97 96"), QString(), QStringLiteral("01")};
    for (long long t : {-5LL, 0LL, 1LL, 3LL, 12LL, 30LL, 100000LL}) {
        KeyTestResult res = runKeyTest(test(odd, t, firstNumbers(8), 3, 20), r);
        EXPECT_EQ(res.list4.size(), 20);
    }
}

TEST(KeyTest, TwelveNumberRowsSameInBothPrograms) {
    // A loaded key whose rows hold 12 numbers: keygen (table 0..21) and keygengroup (0..11) agree.
    const QStringList key{QStringLiteral("01 02 03 04 05 06 07 08 09 10 11 12"),
                          QStringLiteral("05 06 07 08 09 10 11 12 13 14 15 16")};
    KeyTestInputs in = test(key, 12, firstNumbers(16), 12, 200);
    FixedRandom a(6), b(6);
    KeyTestResult k = runKeyTest(in, a);
    in.tableTop = 11;
    KeyTestResult g = runKeyTest(in, b);
    EXPECT_EQ(k.list4, g.list4);
    EXPECT_EQ(k.list5, g.list5);
    EXPECT_GT(k.classes[0] + k.classes[1] + k.classes[2] + k.classes[3], 0);
}
