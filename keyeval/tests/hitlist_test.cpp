// The hit list as records against the lines the list was built of as strings: every line, the
// class of every line, and the "Találat" and "Húzás" orders, byte for byte.
#include "keyeval/core/evaluation.h"
#include "keyeval/core/hitlist.h"
#include "common/core/cp1250.h"
#include "common/core/random.h"
#include "common/core/synth.h"
#include "common/core/textfmt.h"
#include "keyeval/tests/support/reference.h"
#include "common/tests/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <string>

using namespace dz;
using namespace dz::keyeval;
using namespace dz::keyeval::testing;

namespace {

// The list as it was built before it was kept as records: every line made at once, in the order
// found, and sorted as strings.
QStringList referenceLines(const PeriodDraws& draws, const std::vector<Hit>& hits) {
    QStringList out;
    for (const Hit& h : hits) {
        QString s = keyPieces(draws.key(h.draw));
        s += QStringLiteral("  *") + QChar(u'0' + h.hits());
        s += h.plus() ? QStringLiteral("+ ") : QStringLiteral("   ");
        s += str(h.row() + 1LL);
        out << s;
    }
    return out;
}

QStringList referenceByClass(const QStringList& lines) {
    std::vector<std::pair<QString, qsizetype>> keyed;
    for (qsizetype i = 0; i < lines.size(); ++i) keyed.emplace_back(mid(lines[i], 18, 2) + lines[i], i);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return dz::cp1250::less(a.first, b.first); });
    QStringList out;
    for (const auto& k : keyed) out << lines[k.second];
    return out;
}

QStringList referenceByDraw(QStringList lines) {
    std::stable_sort(lines.begin(), lines.end(), dz::cp1250::less);
    return lines;
}

// A key of random rows: most of eight numbers, some of fewer (filled with 00), some naming a
// number twice.
std::string randomKey(int rows, unsigned seed) {
    Random rng(seed);
    std::string out;
    for (int i = 0; i < rows; ++i) {
        int f[8];
        uint32_t m = 0;
        for (int& n : f) {
            do n = rng.drawNumber(20);
            while (m >> n & 1u);
            m |= 1u << n;
        }
        if (i % 17 == 3) f[7] = 0;
        if (i % 23 == 5) f[6] = f[0];
        std::string line;
        for (int j = 0; j < 8; ++j) line += (j ? " " : "") + std::string(format(f[j], "00").toLatin1());
        out += (i % 5 == 0 ? " " : "") + line + "\r\n";
    }
    return out;
}

struct Case {
    const char* what;
    int keyRows;
    std::initializer_list<int> extras;
    int minHits;
    bool oddKeys;  // draw keys that are not eight digits, a blank and a number
};

}  // namespace

TEST(HitList, LinesClassesAndOrdersAsTheStringListMadeThem) {
    const Case cases[] = {
        {"small key, two extra numbers", 40, {1, 3}, 4, false},
        {"mid-size key, one extra number, from 5", 1500, {2}, 5, false},
        {"mid-size key, every extra number", 600, {1, 2, 3, 4}, 4, false},
        {"odd draw keys", 300, {1, 2}, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dz::testing::ProgramFolderFixture fx;
        SynthOptions o;
        o.drawsPerDay = 7;
        std::string draws = synthDrawHistory(80, o);
        // A draw listed twice: equal keys, equal lines.
        const size_t cut = draws.find("\r\n", 1000) + 2;
        draws.insert(cut, draws.substr(cut, draws.find("\r\n", cut) + 2 - cut));
        if (c.oddKeys) {
            draws[2 * 41 + 7] = 'x';   // "2010010x 003": no date of eight digits
            draws[5 * 41 + 0] = '-';   // a negative date
            draws[9 * 41 + 11] = '\xe9';  // a draw number of a cp1250 letter
        }
        fx.write(QStringLiteral("k.txt"), randomKey(c.keyRows, unsigned(c.keyRows)));
        RunSettings s;
        s.keyFile = fx.path(QStringLiteral("k.txt"));
        for (int e : c.extras) {
            s.extra[size_t(e)] = true;
            ++s.extraCount;
        }
        s.minHits = c.minHits;
        s.fromKey = QStringLiteral("20100101 001");
        s.toKey = QStringLiteral("20101231 264");
        const DrawFile file = DrawFile::fromBytes(draws);
        const auto in = gatherInput(s, file);
        ASSERT_TRUE(in.has_value());
        const EvaluationResult r = evaluate(*in);
        ASSERT_GT(r.hits.size(), 100u);
        const QStringList ref = referenceLines(*in->draws, r.hits);
        const HitList list(in->draws, r.hits);

        EXPECT_EQ(list.count(), ref.size());
        EXPECT_EQ(allLines(list), ref);
        for (int i = 0; i < list.count(); ++i) ASSERT_EQ(list.classText(i), mid(ref[i], 18, 2)) << i;
        EXPECT_EQ(list.line(list.count()), QString());

        const QStringList byClass = referenceByClass(ref), byDraw = referenceByDraw(ref);
        EXPECT_NE(byClass, ref);
        EXPECT_EQ(allLines(*list.byClass()), byClass);
        EXPECT_EQ(allLines(*list.byDraw()), byDraw);
        // The buttons work on what the list holds: one order after the other.
        EXPECT_EQ(allLines(*list.byClass()->byDraw()), referenceByDraw(byClass));
        EXPECT_EQ(allLines(*list.byDraw()->byClass()), referenceByClass(byDraw));
        // The string orders kept for lines of any form agree.
        EXPECT_EQ(orderByClass(ref), byClass);
        EXPECT_EQ(orderByDraw(byClass), referenceByDraw(byClass));
    }
}

// Past a million listed plays the list keeps the first million, the count goes on; the kept
// records are a few bytes each and their lines are made as they are read.
TEST(HitList, KeepsTheFirstMillionAndCountsOn) {
    dz::testing::ProgramFolderFixture fx;
    std::string key;
    for (int i = 0; i < 2000; ++i) key += "01 02 03 04 05 06 07 08\r\n";
    fx.write(QStringLiteral("k.txt"), key);
    std::string draws;
    const int numbers[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int d = 1; d <= 130; ++d) draws += drawRecordLine(2010, 5, 12, d, numbers, 1) + "\r\n";
    RunSettings s;
    s.keyFile = fx.path(QStringLiteral("k.txt"));
    s.extra = {false, true, true, true, true};
    s.extraCount = 4;
    s.fromKey = QStringLiteral("20100512 001");
    s.toKey = QStringLiteral("20100512 130");
    const DrawFile file = DrawFile::fromBytes(draws);
    const auto in = gatherInput(s, file);
    ASSERT_TRUE(in.has_value());
    EvaluationResult r = evaluate(*in);
    EXPECT_EQ(r.listedCount, 130 * 2000 * 4);  // one plus and three plain plays a row and draw
    ASSERT_EQ(r.hits.size(), kHitListCap);
    const HitList list(in->draws, std::move(r.hits));
    EXPECT_EQ(list.count(), int(kHitListCap));
    // 8000 lines a draw: the millionth is draw 125's row 2000, its last plain play.
    EXPECT_EQ(list.line(int(kHitListCap) - 1), QStringLiteral("2010 05 12 125  *8    2000"));
    EXPECT_EQ(list.line(0), QStringLiteral("2010 05 12 001  *8+  1"));
}
