#include "keyedit/core/rowedits.h"
#include "common/core/textfile.h"
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"

#include <gtest/gtest.h>
#include <string>

using namespace dz::keyedit;
using dz::kLineTextLimit;

namespace {
const QString kRow = "01 02 03 04 05 06 07 08 ";  // 24 characters, as the generators write rows

QStringList numbered(int n) {
    QStringList rows;
    for (int i = 1; i <= n; ++i) rows << QString::number(i);
    return rows;
}
}  // namespace

TEST(KeyText, LinesAreRowsCharacterForCharacter) {
    const LoadedText t = rowsOfText(" 01 02 \r\n\r\n  \r\nab\rcd\n\xf5\xe1\xfb\r\n");
    EXPECT_EQ(t.rows, QStringList({" 01 02 ", "", "  ", "ab", "cd", QString::fromUtf8("őáű")}));
    EXPECT_FALSE(t.overLimit);
    EXPECT_TRUE(rowsOfText("").rows.isEmpty());

    std::string full, over;
    for (int i = 0; i < 32736; ++i) full += "1\r\n";
    over = full + "2\r\n";
    EXPECT_EQ(rowsOfText(full).rows.size(), 32736);
    EXPECT_FALSE(rowsOfText(full).overLimit);
    const LoadedText o = rowsOfText(over);
    EXPECT_EQ(o.rows.size(), 32736);
    EXPECT_TRUE(o.overLimit);
    EXPECT_EQ(o.rows.last(), "1");

    // A line longer than a row may be refuses the file: the save would cut it.
    const std::string edge(kLineTextLimit, '7');
    EXPECT_EQ(size_t(rowsOfText(edge + "\r\nx").rows[0].size()), kLineTextLimit);
    const LoadedText tooLong = rowsOfText("01\r\n" + edge + "7\r\nx");
    EXPECT_TRUE(tooLong.tooLong);
    EXPECT_TRUE(tooLong.rows.isEmpty());
    // Past the row limit nothing counts: the file is cut there anyway.
    EXPECT_FALSE(rowsOfText(full + edge + "7").tooLong);
}

TEST(KeyText, DescriptionNamesAndBoxNumbers) {
    EXPECT_EQ(descriptionName("kulcs1.txt  nyolcas kulcs"), "kulcs1.txt");
    EXPECT_EQ(descriptionName("ab"), "ab");
    EXPECT_EQ(descriptionName("  x.txt"), "x.txt");
    EXPECT_EQ(descriptionName("            leírás név nélkül"), "");
    EXPECT_EQ(descriptionName(""), "");
    EXPECT_EQ(descriptionName("twelve_chars_and_more"), "twelve_chars");

    const std::pair<const char*, long long> boxes[] = {{"", 0},      {"abc", 0},  {"3", 3},    {" 7", 7},
                                                        {"12abc", 12}, {"-4", -4}, {"2.5", 2},  {"3.5", 4},
                                                        {"1e30", 1'000'000'000'000LL}, {"-1e30", -1'000'000'000'000LL}};
    for (const auto& [text, n] : boxes) EXPECT_EQ(boxNumber(QString::fromLatin1(text)), n) << text;
}

TEST(KeyText, SelectionGivesTheRowRange) {
    std::vector<bool> sel(10, false);
    EXPECT_FALSE(rangeOfSelection(sel, 4));
    for (int i = 2; i <= 6; ++i) sel[size_t(i)] = true;  // rows 3..7 dragged downwards
    auto r = rangeOfSelection(sel, 6);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->from, 3);
    EXPECT_EQ(r->to, 7);
    r = rangeOfSelection(sel, 2);  // made upwards: the current row is the top
    EXPECT_EQ(r->from, 3);
    EXPECT_EQ(r->to, 3);
    r = rangeOfSelection(sel, 8);  // the current row counts even when it is not selected
    EXPECT_EQ(r->from, 9);
    EXPECT_EQ(r->to, 9);
    std::vector<bool> one(10, false);
    one[4] = true;
    r = rangeOfSelection(one, 4);
    EXPECT_EQ(r->from, 5);
    EXPECT_EQ(r->to, 5);
    std::vector<bool> top(3, true);
    r = rangeOfSelection(top, 2);
    EXPECT_EQ(r->from, 1);
    EXPECT_EQ(r->to, 3);
}

TEST(RowEdits, DeleteRows) {
    struct Case {
        long long from, to;
        Refusal refusal;
        QStringList left;
    };
    const Case cases[] = {
        {3, 5, Refusal::None, {"1", "2", "6", "7", "8", "9", "10"}},
        {1, 10, Refusal::None, {}},
        {-2, 3, Refusal::None, {"4", "5", "6", "7", "8", "9", "10"}},
        {-5, -2, Refusal::None, numbered(10)},
        {5, 4, Refusal::Range, numbered(10)},
        {0, 3, Refusal::Range, numbered(10)},
        {3, 0, Refusal::Range, numbered(10)},
        {3, 11, Refusal::Range, numbered(10)},
        {1'000'000'000'000LL, 1'000'000'000'000LL, Refusal::Range, numbered(10)},
    };
    for (const Case& c : cases) {
        QStringList rows = numbered(10);
        EXPECT_EQ(deleteRows(rows, c.from, c.to), c.refusal) << c.from << ".." << c.to;
        EXPECT_EQ(rows, c.left) << c.from << ".." << c.to;
    }
    QStringList none;
    EXPECT_EQ(deleteRows(none, 1, 1), Refusal::Range);
}

TEST(RowEdits, Cuts) {
    const QStringList rows = {kRow, "11 12 13 14 15 16 17 18 "};
    struct Case {
        const char* what;
        Refusal (*cut)(const QStringList&, long long, long long, QStringList*);
        long long a, b;
        Refusal refusal;
        QStringList out;
    };
    auto left = [](const QStringList& r, long long n, long long, QStringList* o) { return cutLeft(r, n, o); };
    auto right = [](const QStringList& r, long long n, long long, QStringList* o) { return cutRight(r, n, o); };
    const Case cases[] = {
        {"left 3", left, 3, 0, Refusal::None, {"02 03 04 05 06 07 08 ", "12 13 14 15 16 17 18 "}},
        {"left 23", left, 23, 0, Refusal::None, {" ", " "}},
        {"left 24", left, 24, 0, Refusal::Left, {"old"}},
        {"left 0", left, 0, 0, Refusal::None, rows},
        {"left -5", left, -5, 0, Refusal::None, rows},
        {"right 3", right, 3, 0, Refusal::None, {"01 02 03 04 05 06 07 ", "11 12 13 14 15 16 17 "}},
        {"right 24", right, 24, 0, Refusal::Right, {"old"}},
        {"right -1", right, -1, 0, Refusal::None, rows},
        {"middle 4..6", cutMiddle, 4, 6, Refusal::None, {"01 03 04 05 06 07 08 ", "11 13 14 15 16 17 18 "}},
        {"middle 1..24", cutMiddle, 1, 24, Refusal::None, {"", ""}},
        {"middle -3..2", cutMiddle, -3, 2, Refusal::None, {" 02 03 04 05 06 07 08 ", " 12 13 14 15 16 17 18 "}},
        {"middle 4..25", cutMiddle, 4, 25, Refusal::Range, {"old"}},
        {"middle 0..3", cutMiddle, 0, 3, Refusal::Range, {"old"}},
        {"middle 6..4", cutMiddle, 6, 4, Refusal::Range, {"old"}},
    };
    for (const Case& c : cases) {
        QStringList out = {"old"};
        EXPECT_EQ(c.cut(rows, c.a, c.b, &out), c.refusal) << c.what;
        EXPECT_EQ(out, c.out) << c.what;
    }
    EXPECT_EQ(refusalMessage(Refusal::Range), "Híbás tól: - ig: paraméterek !");
    EXPECT_EQ(refusalMessage(Refusal::Left), "Híbás bal: paraméter !");
    EXPECT_EQ(refusalMessage(Refusal::Right), "Híbás jobb: paraméter !");
}

TEST(RowEdits, ShortRowsBecomeEmptyAndNeverWhole) {
    // Later rows shorter than the first: what a cut takes beyond their end leaves them empty.
    const QStringList rows = {kRow, "01 02", ""};
    QStringList out;
    ASSERT_EQ(cutRight(rows, 10, &out), Refusal::None);
    EXPECT_EQ(out, QStringList({"01 02 03 04 05", "", ""}));
    ASSERT_EQ(cutLeft(rows, 10, &out), Refusal::None);
    EXPECT_EQ(out, QStringList({"4 05 06 07 08 ", "", ""}));
    ASSERT_EQ(cutMiddle(rows, 7, 24, &out), Refusal::None);
    EXPECT_EQ(out, QStringList({"01 02 ", "01 02", ""}));
    EXPECT_EQ(cutLeft({"", "x"}, 0, &out), Refusal::Left);  // an empty first row refuses even 0
    EXPECT_EQ(cutLeft({}, 3, &out), Refusal::None);
}

// The load reads a stream: a file without end costs no more than the rows it can take.
TEST(KeyText, EndlessFilesEndTheLoad) {
    dz::testing::ProgramFolderFixture fx;
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), fx.path("zero.txt")));
    EXPECT_FALSE(loadText(fx.path("zero.txt")));  // a device is not read
    {
        dz::testing::FedFile nul(fx.path("nul.txt"), "", std::string(1, '\0'));
        const auto line = loadText(fx.path("nul.txt"));
        ASSERT_TRUE(line);
        EXPECT_TRUE(line->tooLong);
        EXPECT_TRUE(line->rows.isEmpty());
    }

    dz::testing::FedFile fed(fx.path("fed.txt"), "", "01 02 03 04 05 06 07 08\r\n");
    const auto rows = loadText(fx.path("fed.txt"));
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->rows.size(), 32736);
    EXPECT_TRUE(rows->overLimit);
    EXPECT_LT(fed.fed(), uint64_t(4) << 20);
}
