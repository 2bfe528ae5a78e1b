#include "daystat/core/cut.h"
#include "daystat/tests/support/cutbytes.h"
#include "common/core/synth.h"
#include "common/core/textfile.h"
#include "common/tests/testutil.h"
#include "common/tests/ownwrite.h"

#include <gtest/gtest.h>

using namespace dz::daystat;
using namespace dz::daystat::testing;

namespace {
std::string line(int day, int drawNo) {
    const int nums[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    return dz::drawRecordLine(2010, 1, day, drawNo, nums, 1);
}
// Three days of three draws, CR LF ended.
std::string history() {
    std::string s;
    for (int d = 1; d <= 3; ++d)
        for (int k = 1; k <= 3; ++k) s += line(d, k) + "\r\n";
    return s;
}
}  // namespace

TEST(Cut, CountsEveryLineWhateverItsEnd) {
    struct Case { std::string bytes; size_t count; };
    for (const Case& c : {Case{"", 0}, Case{"a", 1}, Case{"a\r\n", 1}, Case{"a\nb", 2}, Case{"a\rb\r", 2},
                          Case{"\r\n\r\n", 2}, Case{"a\r\r\nb\n", 3},
                          Case{"\n ", 2} /* an LF first in the file */})
        EXPECT_EQ(countRecords(c.bytes), c.count) << c.bytes;
}

TEST(Cut, LastRecordsAreTheTailByteForByte) {
    const std::string h = history();
    EXPECT_EQ(lastRecords(h, 1), line(3, 3) + "\r\n");
    EXPECT_EQ(lastRecords(h, 9), h);
    EXPECT_EQ(lastRecords(h, 50), h);
    EXPECT_EQ(lastRecords(h, 0), "");
    // LF and lone CR ends, and a last line without its end, come out CR LF ended
    EXPECT_EQ(lastRecords("a\nb\rc", 2), "b\r\nc\r\n");
    EXPECT_EQ(lastRecords("a\r\n\r\nb", 2), "\r\nb\r\n");
}

TEST(Cut, RangeTakesTheClosedKeyRange) {
    const std::string h = history();
    long long n = 0;
    EXPECT_EQ(recordsInRange(h, "20100102 002", "20100103 001", n), line(2, 2) + "\r\n" + line(2, 3) + "\r\n" + line(3, 1) + "\r\n");
    EXPECT_EQ(n, 3);
    EXPECT_EQ(recordsInRange(h, "20100102 002", "20100102 002", n), line(2, 2) + "\r\n");
    EXPECT_EQ(n, 1);
    // an all-zero FROM lies below every record; keys that name no draw still bound the range
    EXPECT_EQ(recordsInRange(h, "00000000 000", "20100101 999", n).size(), 3 * 41u);
    EXPECT_EQ(recordsInRange(h, "20100104 000", "20100199 000", n), "");
    EXPECT_EQ(n, 0);
}

TEST(Cut, LastCountAnswers) {
    // nullopt: the cut ends; 0: the box asks again
    struct Case { std::optional<QString> answer; std::optional<long long> taken; };
    for (const Case& c : {Case{std::nullopt, std::nullopt}, Case{QString(), std::nullopt}, Case{"abc", std::nullopt},
                          Case{"0", 0}, Case{"10", 0}, Case{"-2", 0}, Case{"2.5", 0}, Case{"9", 9}, Case{" 1", 1}})
        EXPECT_EQ(lastCountAnswer(c.answer, 9), c.taken) << c.answer.value_or("<cancel>").toStdString();
    EXPECT_EQ(lastCountPrompt(264),
              QStringLiteral("Kérem adja meg , hogy az utolsó hány húzást válogassam le !\rMaximum :  264"));
}

TEST(Cut, KeysAndBounds) {
    EXPECT_EQ(buildKey(2010, 5, 7, 12), "20100507 012");
    EXPECT_EQ(buildKey(0, 0, 0, 0), "00000000 000");
    ASSERT_FALSE(historyBounds("").has_value());
    const auto b2 = historyBounds(history());
    ASSERT_TRUE(b2.has_value());
    EXPECT_EQ(b2->first.key, "20100101 001");
    EXPECT_EQ(b2->last.year, 2010);
    EXPECT_EQ(b2->last.month, 1);
    EXPECT_EQ(b2->last.day, 3);
    EXPECT_EQ(b2->last.draw, 3);
    EXPECT_EQ(b2->count, 9);
}

TEST(Cut, RangeCheckClampsEachSideOnceAndValidates) {
    const auto bounds = historyBounds(history());
    auto boxes = [](std::array<const char*, 4> f, std::array<const char*, 4> t) {
        RangeBoxes b;
        for (int i = 0; i < 4; ++i) {
            b.from[i] = QString::fromLatin1(f[size_t(i)]);
            b.to[i] = QString::fromLatin1(t[size_t(i)]);
        }
        return b;
    };
    // TO after the last draw is pulled back, FROM before the first forward
    RangeBoxes b = boxes({"2009", "1", "1", "1"}, {"2011", "1", "1", "1"});
    RangeCheck r = checkRange(b, bounds);
    EXPECT_TRUE(r.ok && r.toClamped && r.fromClamped);
    EXPECT_EQ(r.fromKey, "20100101 001");
    EXPECT_EQ(r.toKey, "20100103 003");
    EXPECT_EQ(b.to[2], QStringLiteral("3"));
    EXPECT_EQ(b.from[0], QStringLiteral("2010"));
    // empty FROM boxes: key of zeros, pulled to the first record
    b = boxes({"", "", "", ""}, {"2010", "1", "2", "3"});
    EXPECT_TRUE(checkRange(b, bounds).ok);
    // wrong settings: empty TO (below FROM), month 13, day 32, draw 265; month 0 is no fault
    for (auto [f, t] : std::initializer_list<std::pair<std::array<const char*, 4>, std::array<const char*, 4>>>{
             {{"2010", "1", "1", "1"}, {"", "", "", ""}},
             {{"2010", "13", "1", "1"}, {"2010", "1", "3", "1"}},
             {{"2010", "1", "2", "1"}, {"2010", "0", "32", "1"}},
             {{"2010", "1", "1", "265"}, {"2010", "1", "3", "1"}},
             {{"2010", "1", "2", "1"}, {"2010", "1", "1", "1"}}}) {
        b = boxes(f, t);
        EXPECT_FALSE(checkRange(b, bounds).ok) << f[1] << " " << t[2];
    }
    b = boxes({"2010", "0", "1", "1"}, {"2010", "1", "3", "1"});
    EXPECT_TRUE(checkRange(b, bounds).ok);
    // over a whole year a day of 32 is inside the key bounds and still wrong
    HistoryBounds year;
    year.first.key = "20100101 001";
    year.last.key = "20101231 264";
    b = boxes({"2010", "1", "32", "1"}, {"2010", "2", "1", "1"});
    EXPECT_FALSE(checkRange(b, year).ok);
    b = boxes({"2010", "1", "31", "1"}, {"2010", "2", "1", "1"});
    EXPECT_TRUE(checkRange(b, year).ok);
    // a last line that is no draw record cannot rebuild its key: the clamp is tried once, the cut goes on
    const auto bad = historyBounds(history() + "2010010\r\n");
    b = boxes({"2010", "1", "1", "1"}, {"2099", "1", "1", "1"});
    r = checkRange(b, bad);
    EXPECT_TRUE(r.toClamped);
    EXPECT_FALSE(r.ok);  // TO of zeros is below FROM
    // an empty history: nothing bounds the range, every setting is wrong
    b = boxes({"2010", "1", "1", "1"}, {"2010", "1", "3", "1"});
    EXPECT_FALSE(checkRange(b, std::nullopt).ok);
}

TEST(Cut, SpinStepsHoldOnlyTheSideTheyMoveTo) {
    struct Case { const char* text; int step; long long lo, hi; const char* out; };
    for (const Case& c : {Case{"12", +1, 1, 12, "12"}, Case{"1", -1, 1, 264, "1"}, Case{"", +1, 1, 12, "1"},
                          Case{"", -1, 2005, 2010, "2005"}, Case{"", +1, 2005, 2010, "1"}, Case{"40", -1, 1, 31, "39"},
                          Case{"0", +1, 1, 12, "1"}, Case{"2.5", +1, 1, 12, "3.5"}})
        EXPECT_EQ(spinStep(QString::fromLatin1(c.text), c.step, c.lo, c.hi), QString::fromLatin1(c.out)) << c.text << c.step;
}

TEST(Cut, FileReadInChunksSplitsLikeTheWholeText) {
    dz::testing::ProgramFolderFixture folder;
    // Lines of many lengths and all three ends, so that ends (a CR LF too) and the byte order
    // mark fall on the 1 MB chunk borders in many ways; splitLines of the whole text is the oracle.
    std::string bytes = "\xEF\xBB\xBF";
    const char* ends[] = {"\r\n", "\n", "\r"};
    for (int i = 0; bytes.size() < 2'300'000; ++i)
        bytes += line(1 + i % 28, 1 + i % 264) + std::string(size_t(i % 7), 'x') + ends[i % 3];
    for (size_t cut : {size_t(1) << 20, (size_t(1) << 20) - 1, size_t(2) << 20}) {
        // a CR right before the border and its LF right after it
        std::string b = bytes;
        b.replace(cut - 1, 2, "\r\n");
        folder.write("h.txt", b);
        const auto expected = dz::splitLines(std::string_view(b).substr(3));
        EXPECT_EQ(countFileRecords(folder.path("h.txt")), expected.size());
        EXPECT_EQ(countRecords(std::string_view(b).substr(3)), expected.size());
        std::string tail;
        for (size_t i = expected.size() - 5000; i < expected.size(); ++i) tail += std::string(expected[i]) + "\r\n";
        EXPECT_EQ(lastFileRecords(folder.path("h.txt"), 5000), tail);
        long long n1 = 0, n2 = 0;
        EXPECT_EQ(fileRecordsInRange(folder.path("h.txt"), "20100105 000", "20100107 999", n1),
                  recordsInRange(std::string_view(b).substr(3), "20100105 000", "20100107 999", n2));
        EXPECT_EQ(n1, n2);
        EXPECT_GT(n1, 0);
    }
    EXPECT_FALSE(countFileRecords(folder.path("missing.txt")).has_value());
    EXPECT_FALSE(fileHistoryBounds(folder.path("missing.txt")).has_value());
}

TEST(Cut, OnlyTheByteOrderMarkAtTheStartIsDropped) {
    // a second mark is a record's first bytes, and is copied with it
    const std::string bytes = "\xEF\xBB\xBF\xEF\xBB\xBF" "x\r\n";
    EXPECT_EQ(countRecords(bytes), 1u);
    EXPECT_EQ(lastRecords(bytes, 1), "\xEF\xBB\xBF" "x\r\n");
    EXPECT_EQ(countRecords("\xEF\xBB\xBF"), 0u);
}

TEST(Cut, TheDaysFileIsNotWrittenThroughALinkToOtherThanAFile) {
    dz::testing::ProgramFolderFixture f;
    dz::testing::expectNameKept(f.dir.path(), QStringLiteral("vevud.dat"),
                                [&] { return writeCut(f.path("vevud.dat"), "20100101 001\r\n"); });
}
