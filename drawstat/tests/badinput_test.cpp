// Every handler of every drawstat window over draw files that break the record layout: none may
// fault, and none tells the user anything but the messages of its own checks.
#include "drawstat/core/state.h"
#include "common/core/synth.h"
#include "common/core/textfile.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/tests/testutil.h"
#include "drawstat/ui/backtest.h"
#include "drawstat/ui/interval.h"
#include "drawstat/ui/skipwindow.h"
#include "drawstat/ui/mostfrequentwindow.h"
#include "drawstat/ui/mainwindow.h"
#include "drawstat/ui/mapwindow.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

namespace {

struct BadFile {
    const char* name;
    std::string bytes;
    bool folder = false;  // "vevud.txt" is a folder: it cannot be opened
};

std::vector<BadFile> badFiles() {
    std::string binary;
    for (int i = 0; i < 4000; ++i) binary += char((i * 7919 + i / 13) & 0xFF);
    std::string huge(1 << 20, '7');  // one line of a megabyte, no line end
    return {
        {"empty", ""},
        {"binary", binary},
        {"ragged",
         "20101231 001\r\n\r\n,,,\r\n20101231 002 99 -5 ab 04 05 06 07 08 09\r\n20101231 003 01 02 03 04 05 06 07 08 77\r\n"
         "x\r20101231 004 00 00 00 00 00 00 00 00 00\n20101231 005 01 01 01 01 01 01 01 01 01\r\n\t 20101231 006 20 20\r\n"},
        {"huge", huge},
        {"folder", "", true},
    };
}

void runEveryHandler() {
    MainWindow main;
    main.start_Click();
    main.teteles_Click();
    main.osszeg_Click();
    for (auto run : {&MainWindow::Command3D2_Click, &MainWindow::SSCommand1_Click}) {
        (main.*run)();
        for (int i = 0; i < main.List2->count(); ++i) {
            main.List2_Click(i);
            main.SSCommand2_Click();
        }
    }
    {
        BacktestWindow w(&main);
        for (int n : {1, 7, 20}) w.grid->toggle(n);
        w.Check1->setChecked(true);
        w.Command3D4_Click();
        w.Check1->setChecked(false);
        w.Command3D4_Click();
        for (int i = 0; i < w.List1->count() && i < 50; ++i) {
            w.List1->setListIndex(i);
            w.Command3D7_Click();
        }
        w.Text1->setText(QStringLiteral("3"));
        w.Command3D3_Click();
    }
    {
        SkipWindow w(&main);
        for (int n = 1; n <= 20; ++n) {
            w.Command3D2_Click(n);
            w.Command3D5_Click();
            w.Command3D2_Click(n);
        }
        w.Command3D3_Click();
        w.Spin1_SpinDown();
    }
    {
        IntervalWindow iv(&main);
        MapWindow map(&main);
        for (int i = 0; i < map.List1->count() && i < 50; ++i) map.List1_Click(i);
    }
    auto* lg = new MostFrequentWindow(&main);
    for (const char* l : {"5", "1e9", "-3", "0.5"}) {
        lg->Text1->setText(QLatin1String(l));
        lg->Command1_Click();
    }
    delete lg;
}

TEST(BadInput, EveryWindowOverEveryBrokenFile) {
    for (const BadFile& f : badFiles()) {
        SCOPED_TRACE(f.name);
        dz::testing::ProgramFolderFixture folder;
        resetState();
        if (f.folder)
            QDir(folder.dir.path()).mkdir(QStringLiteral("vevud.txt"));
        else
            folder.write(QStringLiteral("vevud.txt"), f.bytes);
        runEveryHandler();
        // The files are only read, and nothing but the back-test's own check speaks.
        if (!f.folder) {
            EXPECT_EQ(folder.read(QStringLiteral("vevud.txt")), f.bytes);
        }
        EXPECT_TRUE(dz::ui::seam::messages().empty());
        resetState();
    }
}

TEST(BadInput, HugeLineIsListedCut) {
    dz::testing::ProgramFolderFixture folder;
    resetState();
    folder.write(QStringLiteral("vevud.txt"), std::string(32 << 20, '\0'));
    MainWindow main;
    main.show();
    main.teteles_Click();
    ASSERT_EQ(main.List2->count(), 1);
    EXPECT_EQ(size_t(main.List2->item(0).size()), dz::kLineTextLimit);
    main.List2->grab();
    resetState();
}

TEST(BadInput, ByteOrderMarkIsNoPartOfTheFirstRecord) {
    dz::testing::ProgramFolderFixture folder;
    resetState();
    const std::string line = "20100506 001 01 02 03 04 05 06 07 08 01";
    folder.write(QStringLiteral("vevud.txt"), "\xEF\xBB\xBF" + line + "\r\n");
    MainWindow main;
    main.start_Click();
    EXPECT_EQ(main.List1->item(0), QStringLiteral("01       1"));
    main.teteles_Click();
    EXPECT_EQ(main.List2->items(), QStringList{QString::fromLatin1(line.c_str())});
    resetState();
}

TEST(BadInput, EmptyFileGivesTheEmptyResults) {
    dz::testing::ProgramFolderFixture folder;
    resetState();
    folder.write(QStringLiteral("vevud.txt"), "");
    MainWindow main;
    main.start_Click();
    EXPECT_TRUE(state().started);
    EXPECT_EQ(main.List1->toolTip(), QStringLiteral(" 0"));
    EXPECT_EQ(main.List1->item(4), QStringLiteral("05       0"));
    main.osszeg_Click();
    EXPECT_EQ(main.List2->count(), 0);
    main.Command3D2_Click();
    EXPECT_EQ(main.List2->count(), 12);
    main.SSCommand1_Click();
    EXPECT_EQ(main.List2->count(), 8);
    EXPECT_EQ(main.List2->item(3), QStringLiteral(" 4      0"));
    BacktestWindow w(&main);
    w.grid->toggle(5);
    w.Command3D4_Click();
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_EQ(w.List2->count(), 9);
    EXPECT_EQ(w.Label5->text(), QStringLiteral("0"));
    EXPECT_EQ(w.Label3->text(), QStringLiteral("0"));
    w.Command3D7_Click();  // nothing listed: nothing to show, no message
    EXPECT_TRUE(dz::ui::seam::messages().empty());
    resetState();
}

}  // namespace
