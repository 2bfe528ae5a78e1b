// The program folder and its case-blind names.
#include "common/core/folder.h"
#include "common/tests/testutil.h"
#include "common/tests/qtprint.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

using namespace dz;

TEST(Folder, CaseBlindLookup) {
    dz::testing::ProgramFolderFixture fx;
    const QString f = fx.dir.path();
    fx.write("TT.BMP", "x");
    fx.write("xxk.bmp", "y");
    ASSERT_TRUE(QDir(f).mkpath(QStringLiteral("KulcsP/Sub")));
    fx.write("KulcsP/Sub/Abc.TXT", "z");

    EXPECT_EQ(inFolder(f, QStringLiteral("tt.BMP")), f + QStringLiteral("/TT.BMP"));
    EXPECT_EQ(inFolder(f, QStringLiteral("TT.BMP")), f + QStringLiteral("/TT.BMP"));
    EXPECT_EQ(inFolder(f, QStringLiteral("XXK.BMP")), f + QStringLiteral("/xxk.bmp"));
    EXPECT_EQ(inFolder(f, QStringLiteral("kulcsp")), f + QStringLiteral("/KulcsP"));
    EXPECT_EQ(inFolder(f, QStringLiteral("kulcsp/sub/abc.txt")), f + QStringLiteral("/KulcsP/Sub/Abc.TXT"));
    // Nothing matches: the name as written, to be created or reported missing.
    EXPECT_EQ(inFolder(f, QStringLiteral("vevud.txt")), f + QStringLiteral("/vevud.txt"));
    EXPECT_EQ(inFolder(f, QStringLiteral("kulcsp/nincs.txt")), f + QStringLiteral("/kulcsp/nincs.txt"));
    EXPECT_EQ(inFolder(f + QStringLiteral("/nincs"), QStringLiteral("tt.bmp")), f + QStringLiteral("/nincs/tt.bmp"));

    // Both spellings present: each name finds its own file.
    fx.write("tt.BMP", "w");
    EXPECT_EQ(inFolder(f, QStringLiteral("tt.BMP")), f + QStringLiteral("/tt.BMP"));
    EXPECT_EQ(inFolder(f, QStringLiteral("TT.BMP")), f + QStringLiteral("/TT.BMP"));
}

TEST(Folder, ProgramFolderIsTheExecutablesUnlessSet) {
    {
        dz::testing::ProgramFolderFixture fx;
        fx.write("XX.BMP", "x");
        EXPECT_EQ(programFolder(), fx.dir.path());
        EXPECT_EQ(programFile(QStringLiteral("xx.bmp")), fx.path("XX.BMP"));
    }
    EXPECT_EQ(programFolder(), QCoreApplication::applicationDirPath());
}
