// The key list's files: the key file and its pointer, the load's derived choice, the row limit.
#include "common/core/keyfile.h"
#include "keygen/core/keyload.h"
#include "common/core/textfile.h"
#include "common/tests/testutil.h"

#include <QDir>
#include <bit>
#include <gtest/gtest.h>

using namespace dz::keygen;

namespace {
uint32_t bits(std::initializer_list<int> ns) {
    uint32_t m = 0;
    for (int n : ns) m |= 1u << n;
    return m;
}
}  // namespace

TEST(KeyFile, GeneratedRowsSaveWithTheirBlanksAndLoadBackWithoutTheLeadingOne) {
    dz::testing::ProgramFolderFixture f;
    const QStringList generated{QStringLiteral(" 01 02 03 04 05 "), QStringLiteral(" 01 02 03 04 06 "),
                                QStringLiteral(" 03 07 11 15 19 ")};
    ASSERT_EQ(saveKey(f.path("kulcs.txt"), generated, f.dir.path()), KeySave::Saved);
    EXPECT_EQ(f.read("kulcs.txt"), " 01 02 03 04 05 \r\n 01 02 03 04 06 \r\n 03 07 11 15 19 \r\n");
    EXPECT_EQ(f.read("filenev.txt"), f.path("kulcs.txt").toStdString() + "\r\n");

    const KeyLoad load = loadKeyFile(f.path("kulcs.txt"));
    ASSERT_TRUE(load.opened);
    EXPECT_FALSE(load.truncated);
    ASSERT_EQ(load.rows.size(), 3);
    EXPECT_EQ(load.rows[0], QStringLiteral("01 02 03 04 05 "));

    // A loaded row is written back as it was read: without its leading blank.
    ASSERT_EQ(saveKey(f.path("back.txt"), load.rows, f.dir.path()), KeySave::Saved);
    EXPECT_EQ(f.read("back.txt"), "01 02 03 04 05 \r\n01 02 03 04 06 \r\n03 07 11 15 19 \r\n");
    EXPECT_EQ(f.read("filenev.txt"), f.path("back.txt").toStdString() + "\r\n");
}

TEST(KeyFile, PointerKeepsAPathWithACommaAndAccents) {
    dz::testing::ProgramFolderFixture f;
    const QString name = f.path(QStringLiteral("kulcs, ősz és tél.txt"));
    ASSERT_EQ(saveKey(name, {QStringLiteral(" 03 07 11 ")}, f.dir.path()), KeySave::Saved);
    const auto pointer = dz::key::readLastKeyPointer(f.dir.path());
    ASSERT_TRUE(pointer);
    EXPECT_EQ(*pointer, name);
    const auto split = dz::key::splitPath(*pointer);
    EXPECT_EQ(split.folder, f.dir.path());
    EXPECT_EQ(split.name, QStringLiteral("kulcs, ősz és tél.txt"));
}

TEST(KeyFile, FailedSaveKeepsTheOldFileAndThePointer) {
    dz::testing::ProgramFolderFixture f;
    f.write("filenev.txt", "/old/kulcs.txt\r\n");
    // A folder where the key file should be: the save cannot replace it.
    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("kulcs.txt")));
    EXPECT_EQ(saveKey(f.path("kulcs.txt"), {QStringLiteral(" 01 02 ")}, f.dir.path()), KeySave::Failed);
    EXPECT_EQ(f.read("filenev.txt"), "/old/kulcs.txt\r\n");
    EXPECT_EQ(saveKey(f.path("nosuchfolder/kulcs.txt"), {QStringLiteral(" 01 02 ")}, f.dir.path()), KeySave::Failed);
    EXPECT_EQ(f.read("filenev.txt"), "/old/kulcs.txt\r\n");
}

TEST(KeyLoad, DerivesNumbersTypeAndRowCount) {
    struct Case {
        const char* name;
        QStringList rows;
        uint32_t mask;
        std::optional<int> type;
    };
    const Case cases[] = {
        {"one generated row", {QStringLiteral("03 07 11 ")}, bits({3, 7, 11}), 3},
        {"no trailing blank", {QStringLiteral("03 07 11")}, bits({3, 7, 11}), 3},
        {"numbers above 20 and 0 mark nothing", {QStringLiteral("03 25 00 20 ")}, bits({3, 20}), 4},
        {"the last row's type stays", {QStringLiteral("01 02 03 04 05 "), QStringLiteral("09 10 ")}, bits({1, 2, 3, 4, 5, 9, 10}), 2},
        {"stray text", {QStringLiteral("xx yy 05")}, bits({5}), 3},
        {"empty key", {}, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const KeyChoice k = deriveChoice(c.rows);
        EXPECT_EQ(k.chosenMask, c.mask);
        EXPECT_EQ(k.chosenCount, std::popcount(c.mask));
        EXPECT_EQ(k.gameType, c.type);
        EXPECT_EQ(k.rowCount, c.rows.size());
    }
}

TEST(KeyLoad, EmptyLinesAreEmptyRowsAndLeadingBlanksGo) {
    dz::testing::ProgramFolderFixture f;
    f.write("k.txt", "\r\n  01 02 03 \r\n\r\n\t04 05 06\n\n");
    const KeyLoad load = loadKeyFile(f.path("k.txt"));
    ASSERT_TRUE(load.opened);
    EXPECT_EQ(load.rows, (QStringList{QString(), QStringLiteral("01 02 03 "), QString(), QStringLiteral("04 05 06"),
                                      QString()}));
    const KeyChoice k = deriveChoice(load.rows);
    EXPECT_EQ(k.rowCount, 5);
    EXPECT_EQ(k.chosenMask, bits({1, 2, 3, 4, 5, 6}));
}

TEST(KeyLoad, ALineLongerThanAnyRowIsNoKey) {
    dz::testing::ProgramFolderFixture f;
    f.write("nul.txt", " 01 02 \r\n" + std::string(3 << 20, '\0'));
    const KeyLoad load = loadKeyFile(f.path("nul.txt"));
    EXPECT_TRUE(load.opened);
    EXPECT_TRUE(load.notAKey);
    EXPECT_TRUE(load.rows.isEmpty());
    f.write("edge.txt", " 01 02 \r\n" + std::string(dz::kLineTextLimit, '1'));
    const KeyLoad edge = loadKeyFile(f.path("edge.txt"));
    EXPECT_FALSE(edge.notAKey);
    EXPECT_EQ(edge.rows.size(), 2);
}

TEST(KeyLoad, StopsAtTheRowLimit) {
    dz::testing::ProgramFolderFixture f;
    std::string bytes;
    for (int i = 0; i < 32737; ++i) bytes += " 01 02 03 \r\n";
    f.write("big.txt", bytes);
    const KeyLoad load = loadKeyFile(f.path("big.txt"));
    EXPECT_TRUE(load.truncated);
    EXPECT_EQ(load.rows.size(), 32736);
    EXPECT_EQ(rowLimitMessage(), QStringLiteral("Maximum 32736 sor adható meg !"));

    bytes.resize(bytes.size() - 12);  // exactly the limit
    f.write("full.txt", bytes);
    const KeyLoad full = loadKeyFile(f.path("full.txt"));
    EXPECT_FALSE(full.truncated);
    EXPECT_EQ(full.rows.size(), 32736);
}

TEST(KeyLoad, MissingFileOrFolderIsNotOpened) {
    dz::testing::ProgramFolderFixture f;
    EXPECT_FALSE(loadKeyFile(f.path("none.txt")).opened);
    EXPECT_FALSE(loadKeyFile(f.dir.path()).opened);
}
