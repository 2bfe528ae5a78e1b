// The L-key list export: numbered files, the message, daystat's variant and failures.
#include "common/core/listexport.h"
#include "common/tests/filelimit.h"
#include "common/tests/testutil.h"
#include "common/tests/qtprint.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>


using namespace dz;

TEST(ListExport, NumbersTheExportsOfARun) {
    dz::testing::ProgramFolderFixture fx;
    const QString folder = fx.dir.path();
    fx.write("lista002.txt", std::string(300, 'r'));  // from an earlier run: overwritten
    ListExporter ex;
    const QStringList lists[3] = {{QStringLiteral(" 1   125")}, {QStringLiteral("a"), QStringLiteral("ő")}, {}};
    for (int i = 0; i < 3; ++i) {
        const auto r = ex.save(folder, lists[i]);
        const QString num = QStringLiteral("00") + QString::number(i + 1);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.path, folder + QStringLiteral("/lista") + num + QStringLiteral(".txt"));
        // The message names the file as it lies on disk: "LISTA001.TXT" would be another file.
        EXPECT_EQ(r.message, QStringLiteral("A mentés az ") + r.path + QStringLiteral(" file-ba történt !"));
        EXPECT_TRUE(QFileInfo::exists(r.path));
    }
    EXPECT_EQ(ex.counter(), 3);
    EXPECT_EQ(fx.read("lista001.txt"), " 1   125\r\n");
    EXPECT_EQ(fx.read("lista002.txt"), "a\r\n\xF5\r\n");
    EXPECT_EQ(fx.read("lista003.txt"), "");  // an empty list gives an empty file
    EXPECT_EQ(ListExporter::title(), QStringLiteral("Vumo-Soft/2010"));

    // A new run starts again at 001, over the old file.
    ListExporter again;
    EXPECT_TRUE(again.save(folder, {QStringLiteral("új")}).ok);
    EXPECT_EQ(fx.read("lista001.txt"), "\xFAj\r\n");
}

TEST(ListExport, DaystatWritesDatNames) {
    dz::testing::ProgramFolderFixture fx;
    ListExporter ex(QStringLiteral(".dat"));
    const auto r = ex.save(fx.dir.path(), {QStringLiteral("x")});
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.path, fx.path("lista001.dat"));
    EXPECT_EQ(r.message, QStringLiteral("A mentés az ") + fx.dir.path() + QStringLiteral("/lista001.dat file-ba történt !"));
    EXPECT_EQ(fx.read("lista001.dat"), "x\r\n");
    EXPECT_EQ(QDir(fx.dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("lista001.dat")});
}

TEST(ListExport, AFailedWriteClaimsNoSuccess) {
    dz::testing::ProgramFolderFixture fx;
    ListExporter ex;
    const QString missing = fx.path("nincs");
    auto r = ex.save(missing, {QStringLiteral("a")});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("Hiba a ") + missing + QStringLiteral("/lista001.txt mentésekor - sikertelen mentés !"));
    EXPECT_EQ(saveFailedMessage(QStringLiteral("/x/k.txt")), QStringLiteral("Hiba a /x/k.txt mentésekor - sikertelen mentés !"));

    // A full disk while an old export of that number lies there: it stays as it was.
    fx.write("lista002.txt", "old\r\n");
    {
        dz::testing::FileSizeLimit full(16);
        r = ex.save(fx.dir.path(), QStringList(50, QStringLiteral("a line that does not fit")));
    }
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, saveFailedMessage(fx.path("lista002.txt")));
    EXPECT_EQ(fx.read("lista002.txt"), "old\r\n");
}
