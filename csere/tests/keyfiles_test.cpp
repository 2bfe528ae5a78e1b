// The workshop's files: key files read as the workshop reads them, saves with the pointer, the
// selection file.
#include "csere/core/keyfiles.h"
#include "csere/core/keyrows.h"
#include "common/core/textfile.h"
#include "common/tests/testutil.h"
#include "csere/tests/vazoztest.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace dz::csere;
using dz::csere::testing::bits;

namespace {
std::string manyRows(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "01 02 03 \r\n";
    return s;
}
}  // namespace

TEST(KeyLoadTest, ItemsLineEndsAndEmptyLines) {
    dz::testing::ProgramFolderFixture f;
    // generator rows (a blank before), a comma splitting a line, CR-only ends
    f.write("k.txt", " 01 02 03 \r\n05 07,09 11\r12 13 \n");
    KeyLoad l = loadKey(f.path("k.txt"));
    ASSERT_TRUE(l.opened);
    EXPECT_EQ(l.rows, (QStringList{"01 02 03 ", "05 07", "09 11", "12 13 "}));

    // an empty line ends another key, a shipped key goes on past it
    f.write("e.txt", "01 02 \r\n\r\n03 04 \r\n");
    EXPECT_EQ(loadKey(f.path("e.txt")).rows, QStringList{"01 02 "});
    EXPECT_EQ(loadKey(f.path("e.txt"), KeySource::Shipped).rows, (QStringList{"01 02 ", "03 04 "}));
    f.write("first.txt", "\r\n01 02 \r\n");
    l = loadKey(f.path("first.txt"));
    EXPECT_TRUE(l.opened);
    EXPECT_TRUE(l.rows.isEmpty());

    EXPECT_FALSE(loadKey(f.path("missing.txt")).opened);
    EXPECT_FALSE(loadKey(f.dir.path()).opened);
}

TEST(KeyLoadTest, TheRowLimit) {
    dz::testing::ProgramFolderFixture f;
    f.write("full.txt", manyRows(32736));
    KeyLoad l = loadKey(f.path("full.txt"));
    EXPECT_EQ(l.rows.size(), 32736);
    EXPECT_FALSE(l.truncated);
    f.write("over.txt", manyRows(40000));
    l = loadKey(f.path("over.txt"));
    EXPECT_EQ(l.rows.size(), 32736);
    EXPECT_TRUE(l.truncated);
}

TEST(KeySaveTest, KeyThenPointerAndAFailureThatChangesNothing) {
    dz::testing::ProgramFolderFixture f;
    ASSERT_EQ(saveKey(f.path("kulcs.txt"), {"01 02 03 ", "04 05 06 "}, f.dir.path()), KeySave::Saved);
    EXPECT_EQ(f.read("kulcs.txt"), "01 02 03 \r\n04 05 06 \r\n");
    EXPECT_EQ(f.read("filenev.txt"), f.path("kulcs.txt").toStdString() + "\r\n");

    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("dir.txt")));
    EXPECT_EQ(saveKey(f.path("dir.txt"), {"01 02 "}, f.dir.path()), KeySave::Failed);
    EXPECT_EQ(saveKey(f.path("nofolder/k.txt"), {"01 02 "}, f.dir.path()), KeySave::Failed);
    EXPECT_EQ(f.read("filenev.txt"), f.path("kulcs.txt").toStdString() + "\r\n");
}

TEST(SelectionFile, RoundTripAndWhatAnyFileMarks) {
    dz::testing::ProgramFolderFixture f;
    ASSERT_TRUE(writeSelection(f.path("jeloles.txt"), bits({3, 7, 11})));
    EXPECT_EQ(f.read("jeloles.txt"), "03 07 11 \r\n");
    SelectionLoad s = readSelection(f.path("jeloles.txt"));
    EXPECT_TRUE(s.opened);
    EXPECT_EQ(s.marks, bits({3, 7, 11}));

    ASSERT_TRUE(writeSelection(f.path("none.txt"), 0));
    EXPECT_EQ(f.read("none.txt"), "\r\n");
    EXPECT_EQ(readSelection(f.path("none.txt")).marks, 0u);

    // a key file marks every number it holds; bad values are skipped; a line cut short counts
    // only its whole fields (integer part of the count)
    f.write("key.txt", " 01 02 03 \r\n21 -3 1.5 04\r\n\r\n05 06,19 2");
    EXPECT_EQ(readSelection(f.path("key.txt")).marks, bits({1, 2, 3, 4, 5, 6, 19}));
    EXPECT_EQ(parseSelection("0"), 0u);
    EXPECT_EQ(parseSelection(std::string_view("\x00\xff\x01 7", 5)), bits({7}));
    EXPECT_FALSE(readSelection(f.path("missing.txt")).opened);
}
