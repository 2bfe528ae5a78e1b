// The print settings file: what a start shows of it, what a save writes, a failed save.
#include "keyprint/core/printsettings.h"
#include "common/tests/fedfile.h"
#include "common/tests/qtprint.h"
#include "common/tests/testutil.h"
#include "common/tests/ownwrite.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace dz::keyprint;

namespace {
const QString kBullet = QString(QChar(0x2022));
}

TEST(Settings, StartShowsTheFileAsTheBoxesHoldIt) {
    struct Case {
        const char* file;
        const char* down;
        const char* right;
        const char* rows;
        int mark;
    };
    const Case cases[] = {
        {"3,-2,0,2\r\n", "3", "-2", "60", 2},
        {"2.5,-1,60,1\r\n", "2.5", "-1", "60", 1},
        {"\xEF\xBB\xBF" "1,2,45,0\r\n", "1", "2", "45", 0},           // a byte order mark
        {"\"2.5\",\" -1 \",\"30\",\"2\"\n", "2.5", "-1", "30", 2},   // quoted items
        {"1,2\r\n", "1", "2", "60", 0},                               // too short: empty, 60, "x"
        {"", "", "", "60", 0},
        {"4,5,12.5,1.5\r", "4", "5", "12.5", 2},                     // a half rounds to even
        {"4,5,12,0.5", "4", "5", "12", 0},
        {"1,1,1,abc", "1", "1", "1", 1},                              // no number: the mark stays "*"
        {"1,1,1,3", "1", "1", "1", 1},                                // no such option
        {"1,1,1,-1", "1", "1", "1", 1},
        {"abc,1x,xyz,1", "abc", "1x", "60", 1},                       // letters stay as typed
        {"1e400,-1e400,1e5,1", "179769313486232e294", "-179769313486232e294", "100000", 1},
        {"-0,0.00,-0.0,2", "0", "0", "60", 2},
        {"1\n2\n3\n1\n", "1", "2", "3", 1},                           // one item a line
        {"\"\"#-2,1e-13,1e-13,1", "", "0", "60", 1},                   // found by fuzzing: a tiny count is 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Settings s = parseSettings(c.file);
        if (std::string_view(c.down).find('e') != std::string_view::npos) {
            // Beyond the double range the value is the largest double, written so that it reads back.
            EXPECT_TRUE(s.down.contains(QLatin1Char('e')));
            EXPECT_EQ(s.right.left(1), QStringLiteral("-"));
        } else {
            EXPECT_EQ(s.down, QString::fromUtf8(c.down));
            EXPECT_EQ(s.right, QString::fromUtf8(c.right));
        }
        EXPECT_EQ(s.rowsPerPage, QString::fromUtf8(c.rows));
        EXPECT_EQ(s.mark, c.mark);
    }
}

TEST(Settings, MissingFileGivesTheWindowsInitialState) {
    dz::testing::ProgramFolderFixture f;
    const Settings s = loadSettings(f.dir.path());
    EXPECT_EQ(s.down, QStringLiteral("0"));
    EXPECT_EQ(s.right, QStringLiteral("0"));
    EXPECT_EQ(s.rowsPerPage, QStringLiteral("60"));
    EXPECT_EQ(s.mark, 1);
    EXPECT_EQ(markText(s.mark), QStringLiteral("*"));
    EXPECT_EQ(markText(2), kBullet);
}

TEST(Settings, SaveWritesTheBoxesAsPrintingReadsThem) {
    struct Case {
        const char* down;
        const char* right;
        const char* rows;
        int mark;
        const char* line;
    };
    const Case cases[] = {
        {"2.5", "abc", "45", 0, "2.5,0,45,0"},
        {"2,5", " -1,25 ", "60", 1, "2.5,-1.25,60,1"},  // a decimal comma, as the print run reads it
        {"1,5,5", "3", "", 2, "1.5,3,0,2"},
        {"-0", "-0.0", "-0", 1, "0,0,0,1"},              // never "-0"
        {"200000", "0.1", "12.5", 1, "200000,0.1,12.5,1"},
        {"", "", "abc", 0, "0,0,0,0"},
        {"0.00001", "1e-20", "60", 1, "0.00001,0,60,1"},  // never an exponent; far below a print dot, 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(settingsLine(QString::fromUtf8(c.down), QString::fromUtf8(c.right), QString::fromUtf8(c.rows), c.mark),
                  QString::fromUtf8(c.line));
    }
}

TEST(Settings, SavedFileReadsBackAndPrintsWhereThisStartDid) {
    dz::testing::ProgramFolderFixture f;
    ASSERT_TRUE(saveSettings(f.dir.path(), QStringLiteral("2,5"), QStringLiteral("-1"), QString(), 2));
    EXPECT_EQ(f.read("beallp.txt"), "2.5,-1,0,2\r\n");
    const Settings s = loadSettings(f.dir.path());
    EXPECT_EQ(s.down, QStringLiteral("2.5"));
    EXPECT_EQ(shiftValue(s.down), 2.5);
    EXPECT_EQ(s.right, QStringLiteral("-1"));
    EXPECT_EQ(s.rowsPerPage, QStringLiteral("60"));  // an empty box was saved as 0
    EXPECT_EQ(s.mark, 2);
}

TEST(Settings, SaveOverAReadOnlyFileOrAFolderReportsWhatFailed) {
    dz::testing::ProgramFolderFixture f;
    f.write("beallp.txt", "9,9,9,1\r\n");
    QFile::setPermissions(f.path("beallp.txt"), QFile::ReadOwner);
    // Root replaces a read-only file; a plain user gets false and keeps the old file whole.
    const bool mayWrite = dz::testing::userMayWrite(f.path("beallp.txt"));
    EXPECT_EQ(saveSettings(f.dir.path(), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), 0), mayWrite);
    EXPECT_EQ(f.read("beallp.txt"), mayWrite ? "1,2,3,0\r\n" : "9,9,9,1\r\n");

    // A folder in the file's place cannot be replaced: false, and it stays.
    dz::testing::ProgramFolderFixture g;
    ASSERT_TRUE(QDir(g.dir.path()).mkdir(QStringLiteral("beallp.txt")));
    EXPECT_FALSE(saveSettings(g.dir.path(), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), 0));
    EXPECT_TRUE(QFileInfo(g.path("beallp.txt")).isDir());
}

// A settings file without end (a huge file in its place): its first line counts, the rest is not read.
TEST(PrintSettings, EndlessFileReadsOnlyItsHead) {
    dz::testing::ProgramFolderFixture f;
    for (const std::string& filler : {std::string("x"), std::string("9,9,9,9\r\n")}) {
        dz::testing::FedFile feed(f.path("beallp.txt"), "3,-2,0,2\r\n", filler);
        const Settings s = loadSettings(f.dir.path());
        EXPECT_EQ(s.down, QStringLiteral("3"));
        EXPECT_EQ(s.right, QStringLiteral("-2"));
        EXPECT_EQ(s.rowsPerPage, QStringLiteral("60"));
        EXPECT_EQ(s.mark, 2);
        EXPECT_LT(feed.fed(), uint64_t(1) << 20);
    }
    dz::testing::FedFile feed(f.path("beallp.txt"), "", "1");  // one endless number
    const Settings s = loadSettings(f.dir.path());
    EXPECT_LE(s.down.size(), 600);
    EXPECT_EQ(s.mark, 0);  // the other items count as empty
    EXPECT_LT(feed.fed(), uint64_t(1) << 20);
}

TEST(Settings, SaveIsNotWrittenThroughALinkToOtherThanAFile) {
    dz::testing::ProgramFolderFixture f;
    dz::testing::expectNameKept(f.dir.path(), QStringLiteral("beallp.txt"), [&] {
        return saveSettings(f.dir.path(), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), 0);
    });
}
