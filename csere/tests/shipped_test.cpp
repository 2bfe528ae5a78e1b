// The shipped keys' descriptions: names, the count-first view, the file, and the keys we ship.
#include "common/core/cp1250.h"
#include "common/core/keyfile.h"
#include "csere/core/keyfiles.h"
#include "csere/core/shipped.h"
#include "common/core/textfile.h"
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"
#include "common/tests/ownwrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <set>

namespace shipped = dz::csere::shipped;

TEST(ShippedDescriptions, KeyFileNameIsTheTrimmedFirstTwelveColumns) {
    const std::pair<const char*, const char*> cases[] = {
        {"510vel01.txt 5-ös kulcs", "510vel01.txt"},
        {"510vel01.txtmore", "510vel01.txt"},
        {"5x.txt       leírás", "5x.txt"},
        {"6 a b.txt    x", "6 a b.txt"},  // blanks inside a name stay
        {"8", "8"},
        {"", ""},
        {"            leírás", ""},
    };
    for (const auto& [line, name] : cases) EXPECT_EQ(shipped::keyFileName(QString::fromUtf8(line)), QString::fromUtf8(name)) << line;
}

TEST(ShippedDescriptions, KeyFilesAreFoundCaseBlind) {
    dz::testing::ProgramFolderFixture f;
    QDir(f.dir.path()).mkdir(QStringLiteral("KULCSP"));
    f.write(QStringLiteral("KULCSP/510VEL01.TXT"), "01 02 03 04 05 \r\n");
    f.write(QStringLiteral("KULCSP/VEVUD.INF"), "510vel01.txt x\r\n");
    EXPECT_EQ(shipped::keyFilePath(f.dir.path(), QStringLiteral("510vel01.txt leírás")), f.path(QStringLiteral("KULCSP/510VEL01.TXT")));
    EXPECT_EQ(shipped::descriptionPath(f.dir.path()), f.path(QStringLiteral("KULCSP/VEVUD.INF")));
    EXPECT_EQ(shipped::keyFilePath(f.dir.path(), QStringLiteral("            leírás")), QString());
}

TEST(ShippedDescriptions, CountFirstRow) {
    const std::pair<const char*, const char*> cases[] = {
        {"510vel01.txt 5-ös kulcs", "105vel01.txt 5-ös kulcs"},
        {"807teljs.txt", "078teljs.txt"},
        {"x10abcde.txt", "100abcde.txt"},  // a type that is no digit counts as 0
        {"5ab", "005"},
        {"5", "005"},
        {"", "000"},
    };
    for (const auto& [line, row] : cases) EXPECT_EQ(shipped::countFirstRow(QString::fromUtf8(line)), QString::fromUtf8(row)) << line;
}

TEST(ShippedDescriptions, ReadAndWriteWhole) {
    dz::testing::ProgramFolderFixture f;
    EXPECT_EQ(shipped::readDescriptions(f.path(QStringLiteral("nincs.inf"))), QStringList());
    f.write(QStringLiteral("a.inf"), "\xEF\xBB\xBF" "510a.txt     \xE9kezet  \n612b.txt\r\n\r\nx\r");
    const QStringList lines = shipped::readDescriptions(f.path(QStringLiteral("a.inf")));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("510a.txt     ékezet  "), QStringLiteral("612b.txt"), QString(), QStringLiteral("x")}));
    ASSERT_TRUE(shipped::writeDescriptions(f.path(QStringLiteral("b.inf")), lines));
    EXPECT_EQ(f.read(QStringLiteral("b.inf")), "510a.txt     \xE9kezet  \r\n612b.txt\r\n\r\nx\r\n");
    // More than 1000 lines are all kept.
    QStringList many;
    for (int i = 0; i < 1500; ++i) many << QStringLiteral("510k%1.txt").arg(i, 4, 10, QLatin1Char('0'));
    ASSERT_TRUE(shipped::writeDescriptions(f.path(QStringLiteral("c.inf")), many));
    EXPECT_EQ(shipped::readDescriptions(f.path(QStringLiteral("c.inf"))).size(), 1500);
    EXPECT_FALSE(shipped::writeDescriptions(f.path(QStringLiteral("nincs/c.inf")), many));
}

// The keys that lie in "kulcsp" beside the programs: each description names a key whose rows
// have the game type of its first character and use as many numbers as its next two say.
TEST(ShippedKeys, EveryDescriptionNamesAMatchingKey) {
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
    const QString inf = shipped::descriptionPath(folder);
    ASSERT_TRUE(QFileInfo::exists(inf)) << inf.toStdString();
    const std::string bytes = *dz::readFileBytes(inf);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(dz::cp1250::encode(dz::cp1250::decode(bytes)).toStdString(), bytes);
    const QStringList lines = shipped::readDescriptions(inf);
    ASSERT_GE(lines.size(), 5);
    std::set<int> types;
    for (const QString& line : lines) {
        SCOPED_TRACE(line.toStdString());
        EXPECT_GT(line.size(), 13);
        const int type = line[0].digitValue();
        const int count = line.mid(1, 2).toInt();
        types.insert(type);
        const auto rows = dz::key::loadRows(shipped::keyFilePath(folder, line), 32736);
        ASSERT_TRUE(rows.has_value());
        ASSERT_FALSE(rows->isEmpty());
        uint32_t all = 0;
        for (const QString& r : *rows) {
            int t = 0;
            const uint32_t m = dz::key::rowMask(r.toStdString(), &t);
            EXPECT_EQ(t, type);
            EXPECT_EQ(__builtin_popcount(m), type);
            all |= m;
        }
        EXPECT_EQ(__builtin_popcount(all), count);
    }
    EXPECT_EQ(types, (std::set<int>{5, 6, 7, 8}));
}

// The descriptions and the selection file without end: their first lines count, no more is read.
TEST(Shipped, EndlessDescriptionsAndSelectionReadOnlyTheirHead) {
    dz::testing::ProgramFolderFixture f;
    for (const std::string& filler : {std::string("x"), std::string("k.txt  egy\r\n")}) {
        {
            dz::testing::FedFile feed(f.path("vevud.inf"), "nyolcas.txt 8-s kulcs\r\n", filler);
            const QStringList d = dz::csere::shipped::readDescriptions(f.path("vevud.inf"));
            ASSERT_FALSE(d.isEmpty());
            EXPECT_EQ(d[0], QStringLiteral("nyolcas.txt 8-s kulcs"));
            EXPECT_LE(size_t(d.size()), dz::kStartFileLines);
            EXPECT_LT(feed.fed(), uint64_t(dz::kStartFileLines) * (dz::kStartLineBytes + 2) + (1 << 17));
        }
        {
            dz::testing::FedFile feed(f.path("jeloles.txt"), "03 07 11\r\n", filler);
            const dz::csere::SelectionLoad s = dz::csere::readSelection(f.path("jeloles.txt"));
            EXPECT_TRUE(s.opened);
            EXPECT_EQ(s.marks & ((1u << 3) | (1u << 7) | (1u << 11)), (1u << 3) | (1u << 7) | (1u << 11));
            EXPECT_LT(feed.fed(), uint64_t(dz::kStartFileLines) * (dz::kStartLineBytes + 2) + (1 << 17));
        }
    }
}

TEST(ShippedDescriptions, AreNotWrittenThroughALinkToOtherThanAFile) {
    dz::testing::ProgramFolderFixture f;
    QDir(f.dir.path()).mkdir(QStringLiteral("kulcsp"));
    const QString folder = f.path("kulcsp");
    dz::testing::expectNameKept(folder, QStringLiteral("vevud.inf"), [&] {
        return dz::csere::shipped::writeDescriptions(folder + QStringLiteral("/vevud.inf"), {QStringLiteral("x")});
    });
}
