#include "ticketclip/core/submission.h"
#include "common/core/textfile.h"
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"
#include <QFile>

#include <gtest/gtest.h>
#include <string>

using namespace dz::ticketclip;
using Outcome = KeyCheck::Outcome;

TEST(KeyCheck, RowsTheGameAccepts) {
    // Generated rows (a blank before and after), blank lines skipped, 00 passes, CR-only ends.
    const KeyCheck k = checkKey(" 01 02 03 04 05 06 07 08 \r\n\r\n   \r\n00 02 03 04 05 06 07 20\r"
                                "11 12 13 14 15 16 17 18\n",
                                32736);
    EXPECT_EQ(k.outcome, Outcome::Loaded);
    EXPECT_EQ(k.rows, QStringList({"01 02 03 04 05 06 07 08 ", "00 02 03 04 05 06 07 20", "11 12 13 14 15 16 17 18"}));
    EXPECT_EQ(k.lastCount, 8);
    const KeyCheck empty = checkKey("\r\n  \r\n", 32736);
    EXPECT_EQ(empty.outcome, Outcome::Loaded);
    EXPECT_TRUE(empty.rows.isEmpty());
    EXPECT_EQ(empty.lastCount, -1);
}

TEST(KeyCheck, RowsThatStopTheLoad) {
    struct Case {
        std::string bytes;
        Outcome outcome;
        QString badRow;
        QString message;
    };
    const QString type = "A kijelölt játék és a betöltendő kulcs, nem azonos típusú !\r";
    const QString number = "A kijelölt játékban nem megengedett szám van !\r";
    const Case cases[] = {
        {"01 02 03 04 05 06 07 08\r\n01 02 03 04 05 06 07\r\n", Outcome::WrongType, "01 02 03 04 05 06 07",
         type + "01 02 03 04 05 06 07"},
        {"01 02 03 04 05 06 07 08 09\r\n", Outcome::WrongType, "01 02 03 04 05 06 07 08 09", {}},
        {"01 02 03 04 05 06 07 21\r\n", Outcome::BadNumber, "01 02 03 04 05 06 07 21", number + "01 02 03 04 05 06 07 21"},
        {"01 02 03 04 05 06 07 -1\r\n", Outcome::BadNumber, "01 02 03 04 05 06 07 -1", {}},
        {"01 02 03 04 05 06 07 99 \r\n", Outcome::BadNumber, "01 02 03 04 05 06 07 99 ", {}},
        {"ab cd ef gh ij kl mn op\r\n", Outcome::Loaded, {}, {}},  // letters are 0, which passes
        {std::string("\x01\xff\x80\0zz\r\n", 7), Outcome::WrongType, {}, {}},
    };
    for (const Case& c : cases) {
        const KeyCheck k = checkKey(c.bytes, 32736);
        EXPECT_EQ(k.outcome, c.outcome) << c.bytes;
        if (c.outcome != Outcome::Loaded) {
            EXPECT_TRUE(k.rows.isEmpty()) << c.bytes;
            if (!c.badRow.isEmpty()) {
                EXPECT_EQ(k.badRow, c.badRow);
            }
            if (!c.message.isEmpty()) {
                EXPECT_EQ(keyMessage(k), c.message) << c.bytes;
            }
        }
    }
}

TEST(KeyCheck, ARowPastCapacityEndsTheLoadKeepingTheRowsBefore) {
    std::string bytes;
    for (int i = 0; i < 40000; ++i) bytes += "01 02 03 04 05 06 07 08\r\n";
    const KeyCheck k = checkKey(bytes, 32736);
    EXPECT_EQ(k.outcome, Outcome::Full);
    EXPECT_EQ(k.rows.size(), 32736);
    EXPECT_EQ(keyMessage(k), "Maximum 32736 sorú kulcsot lehet betölteni !");
    EXPECT_EQ(checkKey(bytes.substr(0, 25 * 10), 4).rows.size(), 4);
}

// The key file is read as a stream: a file without end costs no more than the rows the list can
// take, and the check ends with its outcome.
TEST(KeyCheck, EndlessFilesEndTheRead) {
    dz::testing::ProgramFolderFixture fx;
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), fx.path("zero.txt")));
    EXPECT_FALSE(readKeyFile(fx.path("zero.txt"), 32736));  // a device is not read
    {
        dz::testing::FedFile nul(fx.path("nul.txt"), "", std::string(1, '\0'));
        const auto line = readKeyFile(fx.path("nul.txt"), 32736);
        ASSERT_TRUE(line);
        EXPECT_EQ(line->outcome, Outcome::WrongType);
        EXPECT_EQ(size_t(line->badRow.size()), dz::kLineTextLimit);
        EXPECT_LT(nul.fed(), uint64_t(1) << 20);  // refused once the row is longer than any
    }

    dz::testing::FedFile fed(fx.path("fed.txt"), "", "01 02 03 04 05 06 07 08\r\n\r\n");
    const auto full = readKeyFile(fx.path("fed.txt"), 32000);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->outcome, Outcome::Full);
    EXPECT_EQ(full->rows.size(), 32000);
    EXPECT_LT(fed.fed(), uint64_t(4) << 20);
    EXPECT_FALSE(readKeyFile(fx.path("nincs.txt"), 10));
}
