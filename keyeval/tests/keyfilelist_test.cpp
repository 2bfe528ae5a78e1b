#include "keyeval/core/keychoice.h"
#include "common/core/keyfile.h"
#include "keyeval/core/keyfilelist.h"
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"

#include <gtest/gtest.h>

using namespace dz;
using namespace dz::keyeval;

namespace {
// Ten units a character: a limit of 320 fits 32 characters.
int tenEach(const QString& s) { return int(s.size()) * 10; }
const QString kDate = QStringLiteral("2010.05.12. ");
}  // namespace

TEST(KeyFileEntry, NameCutToTheColumn) {
    const QString name40 = QStringLiteral("Abcdefghijklmnopqrstuvwxyz0123456789.txt");
    const QString name32 = QStringLiteral("abcdefghijklmnopqrstuvwxyz01.txt");
    struct Case {
        QString name;
        int limit;
        QString want;
    };
    const Case cases[] = {
        // 32 characters fit: a 40-character name shows 30 and "..", a 32-character name is whole.
        {name40, 320, QStringLiteral("abcdefghijklmnopqrstuvwxyz0123..")},
        {name32, 320, name32},
        {QStringLiteral("kulcs.txt"), 320, QStringLiteral("kulcs.txt") + QString(23, QLatin1Char(' '))},
        // 20 characters fit: long names end in "..", a short one keeps its blanks.
        {name32, 200, QStringLiteral("abcdefghijklmnopqr..")},
        {name40, 200, QStringLiteral("abcdefghijklmnopqr..")},
        {QStringLiteral("a.txt"), 200, QStringLiteral("a.txt") + QString(15, QLatin1Char(' '))},
    };
    for (const Case& c : cases) {
        const QString e = displayEntry(c.name, kDate, tenEach, c.limit);
        EXPECT_EQ(e, c.want + QLatin1Char('\t') + kDate) << c.name.toStdString() << " " << c.limit;
    }
}

TEST(KeyFileEntry, KeyRowItems) {
    EXPECT_TRUE(isKeyRowItem("01 02 03 04 05 06 07 08"));
    EXPECT_TRUE(isKeyRowItem("01 02 03 04 05 06 07 08 "));
    EXPECT_FALSE(isKeyRowItem("01 02 03 04 05 06 07"));
    EXPECT_FALSE(isKeyRowItem("0102 03 04 05 06 07 08 "));
    EXPECT_FALSE(isKeyRowItem("20100512 001 01 02 03 04 05 06 07 08 01"));
    EXPECT_FALSE(isKeyRowItem(""));
}

TEST(KeyFileList, ViewsOpenTheFileTheyShow) {
    // Equal dates and names that differ in case: each view position names the file it shows.
    KeyFileList l;
    const QString older = QStringLiteral("2010.05.11. ");
    l.add(QStringLiteral("Beta.txt"), kDate, tenEach, 320);
    l.add(QStringLiteral("alpha.txt"), kDate, tenEach, 320);
    l.add(QStringLiteral("ALPHA.txt"), kDate, tenEach, 320);
    l.add(QStringLiteral("zeta.txt"), older, tenEach, 320);
    for (auto v : {KeyFileList::View::Name, KeyFileList::View::Date}) {
        const QStringList shown = l.entries(v);
        ASSERT_EQ(shown.size(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(shown[i].startsWith(l.nameAt(v, i).toLower() + QLatin1Char(' '))) << shown[i].toStdString();
    }
    EXPECT_EQ(l.nameAt(KeyFileList::View::Date, 0), QStringLiteral("zeta.txt"));
    EXPECT_EQ(l.nameAt(KeyFileList::View::Name, 0), QStringLiteral("ALPHA.txt"));
    EXPECT_EQ(l.nameAt(KeyFileList::View::Name, 1), QStringLiteral("alpha.txt"));
    EXPECT_EQ(l.nameAt(KeyFileList::View::Name, 4), QString());

    // Deleting in the name view keeps the date view in step.
    l.removeFromNameView({0, 2});
    EXPECT_EQ(l.size(), 2);
    EXPECT_EQ(l.nameAt(KeyFileList::View::Name, 0), QStringLiteral("alpha.txt"));
    EXPECT_EQ(l.nameAt(KeyFileList::View::Name, 1), QStringLiteral("zeta.txt"));
    EXPECT_EQ(l.nameAt(KeyFileList::View::Date, 0), QStringLiteral("zeta.txt"));
    EXPECT_EQ(l.nameAt(KeyFileList::View::Date, 1), QStringLiteral("alpha.txt"));
}

TEST(KeyFileList, ScanTakesKeyFilesOnly) {
    dz::testing::ProgramFolderFixture fx;
    fx.write(QStringLiteral("kulcs.txt"), " 01 02 03 04 05 06 07 08 \r\n");
    fx.write(QStringLiteral("Upper.TXT"), "01 02 03 04 05 06 07 08\r\n");
    fx.write(QStringLiteral("seven.txt"), " 01 02 03 04 05 06 07 \r\n");  // 7 numbers: not listed
    fx.write(QStringLiteral("vevud.txt"), "20100512 001 01 02 03 04 05 06 07 08 01\r\n");
    fx.write(QStringLiteral("key.dat"), "01 02 03 04 05 06 07 08\r\n");
    fx.write(QStringLiteral("empty.txt"), "");
    KeyFileList l;
    l.scan(fx.dir.path(), tenEach, 320);
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(l.nameAt(KeyFileList::View::Name, 0), QStringLiteral("kulcs.txt"));
    EXPECT_EQ(l.nameAt(KeyFileList::View::Name, 1), QStringLiteral("Upper.TXT"));
    EXPECT_EQ(dateText(QDateTime(QDate(2010, 5, 12), QTime(13, 45))), QStringLiteral("2010.05.12. "));
}

TEST(KeyChoice, PointerSplit) {
    dz::testing::ProgramFolderFixture fx;
    const QString folder = fx.dir.path();
    key::DialogStart d = key::dialogStart(folder);
    EXPECT_EQ(d.folder, folder);
    EXPECT_EQ(d.name, QString());
    struct Case {
        QString pointer, folder, name;
    };
    const Case cases[] = {
        {QStringLiteral("/home/u/keys/k1.txt"), QStringLiteral("/home/u/keys"), QStringLiteral("k1.txt")},
        {QStringLiteral("C:\\dizov\\a,b.txt"), QStringLiteral("C:\\dizov"), QStringLiteral("a,b.txt")},
        {QStringLiteral("kulcs.txt"), folder, QStringLiteral("kulcs.txt")},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(key::writeLastKeyPointer(folder, c.pointer));
        d = key::dialogStart(folder);
        EXPECT_EQ(d.folder, c.folder);
        EXPECT_EQ(d.name, c.name);
    }
}

TEST(KeyChoice, LoadStopsAtAnEmptyLineAndAtTheLimit) {
    dz::testing::ProgramFolderFixture fx;
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += " 01 02 03 04 05 06 07 08 \r\n";
    fx.write(QStringLiteral("a.txt"), ten + "\r\n01 02 03 04 05 06 07 08\r\n");
    auto k = loadKeyList(fx.path(QStringLiteral("a.txt")));
    ASSERT_TRUE(k);
    EXPECT_EQ(k->rows.size(), 10);
    EXPECT_FALSE(k->overLimit);
    EXPECT_EQ(k->rows[0], QStringLiteral("01 02 03 04 05 06 07 08 "));

    std::string big;
    for (int i = 0; i < 32737; ++i) big += "01 02 03 04 05 06 07 08\r\n";
    fx.write(QStringLiteral("b.txt"), big);
    k = loadKeyList(fx.path(QStringLiteral("b.txt")));
    ASSERT_TRUE(k);
    EXPECT_EQ(k->rows.size(), 32736);
    EXPECT_TRUE(k->overLimit);
    EXPECT_FALSE(loadKeyList(fx.path(QStringLiteral("none.txt"))));
}

// A key file without end in the folder's list: its first item is read, and no more of the file.
TEST(KeyFileList, EndlessFileGivesItsFirstItemOnly) {
    dz::testing::ProgramFolderFixture f;
    for (const std::string& filler : {std::string("x"), std::string(" 01 02 03 04 05 06 07 08\r\n")}) {
        dz::testing::FedFile feed(f.path("nagy.txt"), " 01 02 03 04 05 06 07 08 \r\n", filler);
        EXPECT_EQ(firstLineItem(f.path("nagy.txt")), QStringLiteral("01 02 03 04 05 06 07 08 "));
        EXPECT_LT(feed.fed(), uint64_t(1) << 20);
    }
}
