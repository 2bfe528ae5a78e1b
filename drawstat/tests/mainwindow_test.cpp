#include "drawstat/core/startstats.h"
#include "drawstat/core/state.h"
#include "common/core/synth.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/tests/drawref.h"
#include "common/tests/testutil.h"
#include "drawstat/ui/mainwindow.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

namespace {
std::string records(std::initializer_list<std::array<int, 9>> draws) {
    std::string out;
    int k = 1;
    for (const auto& d : draws) {
        out += dz::drawRecordLine(2010, 12, 31, k++, d.data(), d[8]) + "\r\n";
    }
    return out;
}

struct MainWindowTest : ::testing::Test {
    dz::testing::ProgramFolderFixture folder;
    MainWindowTest() { resetState(); }
};
}  // namespace

TEST(StartStats, CountsFrequenciesAndLastAppearance) {
    // the second record has " 5" in place of 05 and a field above 20, which is not counted
    std::string bytes = records({{{1, 2, 3, 4, 5, 6, 7, 8, 1}}}) +
                        "20101231 002  2  5 09 10 11 12 13 99 04\r\n";
    const auto s = computeStart(dz::DrawFile::fromBytes(bytes));
    EXPECT_EQ(s.drawCount, 2);
    EXPECT_EQ(s.frequency[5], 2);
    EXPECT_EQ(s.lastAppearance[5], 2);
    EXPECT_EQ(s.lastAppearance[1], 1);
    EXPECT_EQ(s.frequency[13], 1);
    EXPECT_EQ(s.tooltip, QStringLiteral(" 2"));
    EXPECT_EQ(s.byNumber[4], QStringLiteral("05       2"));
    EXPECT_EQ(s.byCount[4], QStringLiteral("     2    05"));
    EXPECT_EQ(s.byNumber[19], QStringLiteral("20       0"));
}

TEST(StartStats, EmptyFile) {
    const auto s = computeStart(dz::DrawFile::fromBytes(""));
    EXPECT_EQ(s.drawCount, 0);
    EXPECT_EQ(s.tooltip, QStringLiteral(" 0"));
    EXPECT_EQ(s.byNumber[0], QStringLiteral("01       0"));
}

TEST(FullList, ShortFileShowsEveryLineLongFileTheLast32700) {
    struct Case { size_t lines; size_t first; };
    for (const Case c : {Case{3, 0}, Case{32700, 0}, Case{32702, 2}, Case{40000, 7300}}) {
        const auto f = dz::DrawFile::fromBytes(dz::synthDrawHistory(c.lines));
        const QStringList l = dz::allLines(*fullListLines(f));
        ASSERT_EQ(size_t(l.size()), std::min<size_t>(c.lines, 32700)) << c.lines;
        const auto lines = dz::testing::streamRead(f);
        EXPECT_EQ(l.first().toStdString(), lines[c.first].line) << c.lines;
        EXPECT_EQ(l.last().toStdString(), lines[c.lines - 1].line);
    }
}

TEST_F(MainWindowTest, StartFillsListsOnceAndEnablesAnalyses) {
    folder.write("vevud.txt", dz::synthDrawHistory(40000));
    MainWindow w;
    EXPECT_FALSE(w.Command3D2->isEnabled());
    w.action("start")->trigger();
    EXPECT_EQ(w.List1->count(), 20);
    EXPECT_EQ(w.List3->count(), 20);
    EXPECT_EQ(w.List1->toolTip(), QStringLiteral(" 40000"));
    EXPECT_EQ(state().drawCount, 40000);
    EXPECT_EQ(state().windowStart, 40000 - 32736);
    EXPECT_TRUE(w.Command3D2->isEnabled());
    w.action("kihagy")->setVisible(true);  // a hidden action reads as disabled
    EXPECT_TRUE(w.action("kihagy")->isEnabled());
    // ranked from least to most drawn
    for (int i = 1; i < 20; ++i) EXPECT_LE(w.List3->item(i - 1).left(6).trimmed().toInt(), w.List3->item(i).left(6).trimmed().toInt());
    w.action("start")->trigger();
    EXPECT_EQ(w.List1->count(), 20);
}

TEST_F(MainWindowTest, MissingFileChangesNothingAndStartCanBeRetried) {
    MainWindow w;
    w.action("start")->trigger();
    w.action("teteles")->trigger();
    EXPECT_FALSE(state().started);
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_TRUE(dz::ui::seam::messages().empty());
    folder.write("vevud.txt", dz::synthDrawHistory(10));
    w.action("start")->trigger();
    EXPECT_TRUE(state().started);
}

TEST_F(MainWindowTest, RaggedAndBinaryFilesDoNotStopStart) {
    static const char ragged[] = "\x01\x02garbage\r\n\r\nshort\n20101231 001 01 02,03\xff\xfe\n";
    folder.write("vevud.txt", std::string(ragged, sizeof ragged - 1));
    MainWindow w;
    w.action("start")->trigger();
    EXPECT_EQ(state().drawCount, 4);
    w.action("teteles")->trigger();
    EXPECT_EQ(w.List2->count(), 4);
}

TEST_F(MainWindowTest, LKeyExportsTheResultListWithItsMessage) {
    folder.write("vevud.txt", dz::synthDrawHistory(5));
    MainWindow w;
    w.action("teteles")->trigger();
    QTest::keyClick(w.List2, Qt::Key_L);
    QTest::keyClick(w.List2, Qt::Key_X);
    QTest::keyClick(w.List2, Qt::Key_L, Qt::ShiftModifier);
    ASSERT_EQ(dz::ui::seam::messages().size(), 2u);
    const auto& m = dz::ui::seam::messages()[1];
    EXPECT_EQ(m.text, QStringLiteral("A mentés az ") + folder.dir.path() + QStringLiteral("/lista002.txt file-ba történt !"));
    EXPECT_EQ(m.title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(m.icon, dz::ui::Icon::Information);
    EXPECT_EQ(folder.read("lista001.txt"), dz::synthDrawHistory(5));
}

TEST_F(MainWindowTest, ExportThatCannotBeWrittenSaysSo) {
    folder.write("vevud.txt", dz::synthDrawHistory(5));
    MainWindow w;
    w.action("teteles")->trigger();
    // a program folder that is a plain file cannot take the list file, whoever runs the test
    folder.write("plain", "x");
    dz::setProgramFolder(folder.path("plain"));
    QTest::keyClick(w.List2, Qt::Key_L);
    ASSERT_EQ(dz::ui::seam::messages().size(), 1u);
    EXPECT_EQ(dz::ui::seam::messages()[0].icon, dz::ui::Icon::Critical);
    EXPECT_EQ(dz::ui::seam::messages()[0].text,
              QStringLiteral("Hiba a ") + folder.path("plain") + QStringLiteral("/lista001.txt mentésekor - sikertelen mentés !"));
}
