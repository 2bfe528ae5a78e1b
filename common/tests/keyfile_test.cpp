// Key rows, key files, the last key file pointer and the spreadsheet export file.
#include "common/core/keyfile.h"
#include "common/core/textfmt.h"
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"
#include "common/tests/qtprint.h"

#include <gtest/gtest.h>

using namespace dz;

namespace {
uint32_t maskOf(std::initializer_list<int> ns) {
    uint32_t m = 0;
    for (int n : ns) m |= 1u << n;
    return m;
}
}  // namespace

TEST(KeyRow, GeneratedRowsAndGameType) {
    EXPECT_EQ(key::generatedRow({3, 7, 11}), QStringLiteral(" 03 07 11 "));
    EXPECT_EQ(key::generatedRow({1, 2, 3, 4, 5}).size(), 16);
    EXPECT_EQ(key::generatedRow({1, 2, 3, 4, 5, 6, 7, 20}), QStringLiteral(" 01 02 03 04 05 06 07 20 "));
    EXPECT_EQ(key::generatedRowFromMask((1u << 3) | (1u << 7) | (1u << 11)), QStringLiteral(" 03 07 11 "));
    EXPECT_EQ(key::generatedRow({}), QStringLiteral(" "));
    // (length + 1) / 3 to the nearest whole number, with or without the trailing blank.
    struct Case {
        const char* row;
        int type;
    };
    const Case cases[] = {
        {"", 0},       {"5", 1},          {"03", 1},           {"03 ", 1},
        {"03 0", 2},   {"03 07", 2},      {"03 07 11", 3},     {"03 07 11 ", 3},
        {"03 07 11 1", 4}, {"01 02 03 04 05 06 07 08", 8}, {"01 02 03 04 05 06 07 08 ", 8},
    };
    for (const Case& c : cases) EXPECT_EQ(key::gameType(QString::fromLatin1(c.row)), c.type) << '"' << c.row << '"';
}

TEST(KeyRow, NumbersAndMask) {
    const QString row = QStringLiteral("03 07 11 ");
    EXPECT_EQ(key::rowNumber(row, 1), 3);
    EXPECT_EQ(key::rowNumber(row, 2), 7);
    EXPECT_EQ(key::rowNumber(row, 3), 11);
    EXPECT_EQ(key::rowNumber(row, 4), 0);
    EXPECT_EQ(key::rowNumber(row, 0), 0);
    EXPECT_EQ(key::rowNumber(row, -3), 0);
    EXPECT_EQ(key::rowNumber(QStringLiteral("99 "), 1), 99);
    EXPECT_EQ(key::rowNumber(QStringLiteral("999999999"), 1), 999);

    struct Case {
        const char* row;
        uint32_t mask;
        int type;
    };
    const Case cases[] = {
        {" 03 07 11 ", maskOf({3, 7, 11}), 3},
        {"03 07 11", maskOf({3, 7, 11}), 3},
        {" \t 01 02", maskOf({1, 2}), 2},  // leading blanks and tabs dropped first
        {"21 05 00", maskOf({5}), 3},      // above 20 and 0 are skipped
        {"-1 05 99 ", maskOf({5}), 3},
        {"20 19 18 17 16 15 14 13 ", maskOf({13, 14, 15, 16, 17, 18, 19, 20}), 8},
        {"05 05 05", maskOf({5}), 3},
        {"", 0, 0},
        {"   ", 0, 0},
        {"abc", 0, 1},
        {" 5 6", 0, 1},  // "5 6" is one three-character field: 56, above 20
    };
    for (const Case& c : cases) {
        int type = -1;
        EXPECT_EQ(key::rowMask(c.row, &type), c.mask) << '"' << c.row << '"';
        EXPECT_EQ(type, c.type) << '"' << c.row << '"';
    }
    EXPECT_EQ(key::rowMask(std::string(3000, '1')), maskOf({}));  // 111 and more: beyond 20
}

TEST(KeyFile, SaveAndLoadRoundTrip) {
    dz::testing::ProgramFolderFixture fx;
    const QStringList rows{key::generatedRow({1, 2, 3, 4, 5}), key::generatedRow({2, 4, 6, 8, 10}),
                           key::generatedRow({16, 17, 18, 19, 20})};
    ASSERT_TRUE(key::saveRows(fx.path("kulcs.txt"), rows));
    const std::string bytes = fx.read("kulcs.txt");
    EXPECT_EQ(bytes, " 01 02 03 04 05 \r\n 02 04 06 08 10 \r\n 16 17 18 19 20 \r\n");

    bool truncated = true;
    const auto back = key::loadRows(fx.path("kulcs.txt"), 32736, &truncated);
    ASSERT_TRUE(back);
    EXPECT_FALSE(truncated);
    // Read back without the leading blank, the trailing one kept.
    ASSERT_EQ(back->size(), 3);
    EXPECT_EQ(back->at(0), QStringLiteral("01 02 03 04 05 "));
    for (const QString& r : *back) EXPECT_EQ(key::gameType(r), 5);
}

TEST(KeyFile, LoadRowsKeepsEmptyLinesAndStopsAtTheLimit) {
    dz::testing::ProgramFolderFixture fx;
    // A byte order mark before the first line is no part of it.
    fx.write("k.txt", "\xEF\xBB\xBF\r\n 03 07 11 \r\n\r\n\t01 02 03\n   \r\n21 22\r\n");
    auto rows = key::loadRows(fx.path("k.txt"), 10);
    ASSERT_TRUE(rows);
    EXPECT_EQ(*rows, (QStringList{QString(), QStringLiteral("03 07 11 "), QString(), QStringLiteral("01 02 03"),
                                  QString(), QStringLiteral("21 22")}));

    bool truncated = false;
    rows = key::loadRows(fx.path("k.txt"), 2, &truncated);
    EXPECT_EQ(rows->size(), 2);
    EXPECT_TRUE(truncated);
    rows = key::loadRows(fx.path("k.txt"), 6, &truncated);
    EXPECT_EQ(rows->size(), 6);
    EXPECT_FALSE(truncated) << "the end after the last line is no row";

    rows = key::loadRows(fx.path("k.txt"), 10, &truncated, key::EmptyItem::Skip);
    EXPECT_EQ(*rows, (QStringList{QStringLiteral("03 07 11 "), QStringLiteral("01 02 03"), QStringLiteral("21 22")}));

    // Readers for which an empty line ends the key stop at the second line's gap.
    rows = key::loadRows(fx.path("k.txt"), 10, &truncated, key::EmptyItem::EndsRows);
    EXPECT_TRUE(rows->isEmpty()) << "the file starts with an empty line";
    fx.write("k2.txt", " 03 07 11 \r\n01 02\r\n\r\n21 22\r\n");
    rows = key::loadRows(fx.path("k2.txt"), 10, &truncated, key::EmptyItem::EndsRows);
    EXPECT_EQ(*rows, (QStringList{QStringLiteral("03 07 11 "), QStringLiteral("01 02")}));

    // The row limit of a list, on a file one row longer.
    QStringList many;
    for (int i = 0; i < 32737; ++i) many << key::generatedRow({1 + i % 20});
    ASSERT_TRUE(key::saveRows(fx.path("big.txt"), many));
    rows = key::loadRows(fx.path("big.txt"), 32736, &truncated);
    EXPECT_EQ(rows->size(), 32736);
    EXPECT_TRUE(truncated);

    EXPECT_FALSE(key::loadRows(fx.path("nincs.txt"), 10, &truncated));
    EXPECT_FALSE(truncated);
}

// A key chosen in a dialog may be any file: a huge one, or one line of a gigabyte, is read only as
// far as the rows kept can take, in every mode of empty lines; as a key, a row longer than any key
// row refuses the file at once. Whatever is no regular file is not read at all.
TEST(KeyFile, LoadRowsReadsNoMoreThanTheRowsKept) {
    dz::testing::ProgramFolderFixture fx;
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), fx.path("zero.txt")));
    for (const auto empty : {key::EmptyItem::Keep, key::EmptyItem::Skip, key::EmptyItem::EndsRows}) {
        bool truncated = true;
        EXPECT_FALSE(key::loadRows(fx.path("zero.txt"), 32736, &truncated, empty));
        EXPECT_EQ(key::loadKeyRows(fx.path("zero.txt"), 32736, empty).fault, key::KeyFault::CannotOpen);

        const dz::testing::FedFile nul(fx.path("nul.txt"), " 01 02 \r\n", std::string(1, '\0'));
        const auto cut = key::loadRows(fx.path("nul.txt"), 32736, &truncated, empty);
        ASSERT_TRUE(cut);
        ASSERT_EQ(cut->size(), 2);  // one endless line of NULs, cut
        EXPECT_EQ(size_t(cut->last().size()), kLineTextLimit);
        EXPECT_FALSE(truncated);
        const uint64_t fedBefore = nul.fed();
        const key::LoadedRows refused = key::loadKeyRows(fx.path("nul.txt"), 32736, empty);
        EXPECT_EQ(refused.fault, key::KeyFault::NotAKey);
        EXPECT_TRUE(refused.rows.isEmpty());
        EXPECT_EQ(refused.longRow, QString(kQuoted + 1, QChar(0)));
        EXPECT_LT(nul.fed() - fedBefore, uint64_t(1) << 20);

        const std::string row = " 01 02 03 04 05 06 07 08 \r\n";
        dz::testing::FedFile fed(fx.path("fed.txt"), "", row + "\r\n");
        const auto rows = key::loadRows(fx.path("fed.txt"), 32736, &truncated, empty);
        ASSERT_TRUE(rows);
        EXPECT_EQ(rows->size(), empty == key::EmptyItem::EndsRows ? 1 : 32736);
        EXPECT_EQ(truncated, empty != key::EmptyItem::EndsRows);
        EXPECT_LT(fed.fed(), uint64_t(4) << 20);
    }
    // Commas make many rows of one line: they count as rows, however long the line.
    dz::testing::FedFile fed(fx.path("fed.txt"), "", "01 02,");
    bool truncated = false;
    EXPECT_EQ(key::loadRows(fx.path("fed.txt"), 32736, &truncated)->size(), 32736);
    EXPECT_TRUE(truncated);
    EXPECT_LT(fed.fed(), uint64_t(4) << 20);
}

TEST(KeyFile, LastKeyPointerRoundTrip) {
    dz::testing::ProgramFolderFixture fx;
    const QString folder = fx.dir.path();
    struct Case {
        QString full, folder, name;
    };
    const Case cases[] = {
        {QStringLiteral("C:\\Játékok, új\\kulcs ő.txt"), QStringLiteral("C:\\Játékok, új"), QStringLiteral("kulcs ő.txt")},
        {QStringLiteral("/home/ű/a,b/Kulcs.TXT"), QStringLiteral("/home/ű/a,b"), QStringLiteral("Kulcs.TXT")},
        {QStringLiteral("C:\\a/b\\c.txt"), QStringLiteral("C:\\a/b"), QStringLiteral("c.txt")},
        {QStringLiteral("D:/x\\y/z.txt"), QStringLiteral("D:/x\\y"), QStringLiteral("z.txt")},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(key::writeLastKeyPointer(folder, c.full));
        const auto back = key::readLastKeyPointer(folder);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, c.full);
        const key::SplitName s = key::splitPath(*back);
        EXPECT_EQ(s.folder, c.folder);
        EXPECT_EQ(s.name, c.name);
    }
    // One line, cp1250, CR LF; a second save rewrites it.
    ASSERT_TRUE(key::writeLastKeyPointer(folder, QStringLiteral("C:\\ő\\k.txt")));
    EXPECT_EQ(fx.read("filenev.txt"), "C:\\\xF5\\k.txt\r\n");

    // A pointer from elsewhere: only its first line counts.
    fx.write("filenev.txt", "/a/b.txt\n/c/d.txt\n");
    EXPECT_EQ(key::readLastKeyPointer(folder), QStringLiteral("/a/b.txt"));
    fx.write("filenev.txt", "");
    EXPECT_FALSE(key::readLastKeyPointer(folder));
    fx.write("filenev.txt", "   \r\n");
    EXPECT_FALSE(key::readLastKeyPointer(folder));
    EXPECT_FALSE(key::readLastKeyPointer(fx.path("nincs")));
    EXPECT_FALSE(key::writeLastKeyPointer(fx.path("nincs"), QStringLiteral("/x.txt")));
}

TEST(KeyFile, SplitPath) {
    struct Case {
        const char* full;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\a\\b.txt", "C:\\a", "b.txt"}, {"/x/y/z.txt", "/x/y", "z.txt"}, {"kulcs.txt", "", "kulcs.txt"},
        {"/kulcs.txt", "/", "kulcs.txt"},   {"\\kulcs.txt", "\\", "kulcs.txt"}, {"dir/", "dir", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const key::SplitName s = key::splitPath(QString::fromLatin1(c.full));
        EXPECT_EQ(s.folder, QString::fromLatin1(c.folder)) << c.full;
        EXPECT_EQ(s.name, QString::fromLatin1(c.name)) << c.full;
    }
}

TEST(KeyFile, SpreadsheetExport) {
    dz::testing::ProgramFolderFixture fx;
    fx.write("minimum.txt", std::string(1000, 'z'));
    QString path;
    ASSERT_TRUE(key::writeSpreadsheetExport(fx.dir.path(), {QStringLiteral("03 07 11 "), QStringLiteral(" 01 02 ")}, &path));
    EXPECT_EQ(path, fx.path("minimum.txt"));
    EXPECT_EQ(fx.read("minimum.txt"), "03 07 11 \r\n 01 02 \r\n");
    ASSERT_TRUE(key::writeSpreadsheetExport(fx.dir.path(), {}));
    EXPECT_EQ(fx.read("minimum.txt"), "");
    EXPECT_FALSE(key::writeSpreadsheetExport(fx.path("nincs"), {QStringLiteral("x")}, &path));
    EXPECT_EQ(path, fx.path("nincs") + QStringLiteral("/minimum.txt"));
}

// The pointer without end: its first line, no more of the file.
TEST(KeyFile, EndlessPointerGivesItsFirstLine) {
    dz::testing::ProgramFolderFixture f;
    for (const std::string& filler : {std::string("x"), std::string("/a/b.txt\r\n")}) {
        dz::testing::FedFile feed(f.path("filenev.txt"), "/home/j/kulcs.txt\r\n", filler);
        EXPECT_EQ(dz::key::readLastKeyPointer(f.dir.path()), QStringLiteral("/home/j/kulcs.txt"));
        EXPECT_LT(feed.fed(), uint64_t(1) << 20);
    }
}
