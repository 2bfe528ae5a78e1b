// Loading a key for printing: rows as read, the row limit, ticket count and game type.
#include "keyprint/core/printkey.h"
#include "common/core/textfile.h"
#include "common/tests/fedfile.h"
#include "common/tests/qtprint.h"
#include "common/tests/testutil.h"

#include <gtest/gtest.h>

using namespace dz::keyprint;

TEST(KeyLoad, RowsKeepTheFileOrderAndTheirTrailingBlank) {
    dz::testing::ProgramFolderFixture f;
    std::string nine;
    for (int i = 0; i < 9; ++i) nine += " 01 02 03 04 05 06 07 08 \r\n";
    f.write("nine.txt", nine);
    auto k = loadKey(f.path("nine.txt"));
    ASSERT_TRUE(k);
    ASSERT_EQ(k->rows.size(), 9);
    EXPECT_EQ(k->rows[0], QStringLiteral("01 02 03 04 05 06 07 08 "));
    EXPECT_EQ(ticketCount(9), 3);
    EXPECT_EQ(gameTypeOf(k->rows.last()), 8);

    // An empty line is an empty row (game type 0); a comma splits a line; a BOM is no row text.
    f.write("odd.txt", "\xEF\xBB\xBF 03 07 11 \r\n03 07,11 12\r\n\r\n");
    k = loadKey(f.path("odd.txt"));
    ASSERT_TRUE(k);
    EXPECT_EQ(k->rows, (QStringList{QStringLiteral("03 07 11 "), QStringLiteral("03 07"), QStringLiteral("11 12"),
                                    QString()}));
    EXPECT_EQ(gameTypeOf(k->rows[0]), 3);
    EXPECT_EQ(gameTypeOf(k->rows.last()), 0);

    EXPECT_FALSE(loadKey(f.path("missing.txt")));
}

TEST(KeyLoad, StopsAtTheRowLimit) {
    dz::testing::ProgramFolderFixture f;
    std::string big;
    for (int i = 0; i < 40000; ++i) big += i % 3 ? "01 02 03 04 05 06 07 08 \r\n" : "xx 21 99\n";
    f.write("big.txt", big);
    auto k = loadKey(f.path("big.txt"));
    ASSERT_TRUE(k);
    EXPECT_TRUE(k->overLimit);
    EXPECT_EQ(k->rows.size(), dz::kRowLimit);
    EXPECT_EQ(ticketCount(dz::kRowLimit), 8184);

    std::string exact;
    for (int i = 0; i < dz::kRowLimit; ++i) exact += "01 02 \r\n";
    f.write("exact.txt", exact);
    k = loadKey(f.path("exact.txt"));
    ASSERT_TRUE(k);
    EXPECT_FALSE(k->overLimit);
    EXPECT_EQ(k->rows.size(), dz::kRowLimit);

    // A device is not read; a file without end no further than the rows kept can take.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), f.path("zero.txt")));
    EXPECT_FALSE(loadKey(f.path("zero.txt")));
    dz::testing::FedFile fed(f.path("fed.txt"), "", "01 02 03 04 05 06 07 08 \r\n");
    k = loadKey(f.path("fed.txt"));
    ASSERT_TRUE(k);
    EXPECT_TRUE(k->overLimit);
    EXPECT_EQ(k->rows.size(), dz::kRowLimit);
    EXPECT_LT(fed.fed(), uint64_t(4) << 20);
}

TEST(KeyLoad, CountsAndRowIndicator) {
    const std::pair<int, int> tickets[] = {{0, 0}, {1, 1}, {4, 1}, {5, 2}, {8, 2}, {9, 3}};
    for (auto [rows, forms] : tickets) EXPECT_EQ(ticketCount(rows), forms) << rows;
    EXPECT_EQ(gameTypeOf(QStringLiteral("03 07 11 ")), 3);
    EXPECT_EQ(gameTypeOf(QStringLiteral("03 07 11")), 3);
    EXPECT_EQ(gameTypeOf(QStringLiteral("03 07 11 1")), 3);  // the whole part, not rounded
    EXPECT_EQ(rowIndicator(0), QStringLiteral(" 1 / 1"));
    EXPECT_EQ(rowIndicator(4), QStringLiteral(" 5 / 2"));
    EXPECT_EQ(rowIndicator(8), QStringLiteral(" 9 / 3"));
}
