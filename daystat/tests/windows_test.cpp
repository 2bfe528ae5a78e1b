// daystat's windows: the main window built with daystat's profile, its "Válogat" menu and the
// range window.
#include "daystat/core/profile.h"
#include "drawstat/core/state.h"
#include "common/core/synth.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/tests/testutil.h"
#include "drawstat/ui/backtest.h"
#include "drawstat/ui/mainwindow.h"
#include "daystat/ui/cutrange.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace dz::daystat;
namespace seam = dz::ui::seam;

namespace {

std::string line(int day, int drawNo, std::array<int, 8> d = {1, 2, 3, 4, 10, 11, 12, 13}) {
    return dz::drawRecordLine(2010, 1, day, drawNo, d.data(), 1) + "\r\n";
}
// Three days of three draws.
std::string history() {
    std::string s;
    for (int d = 1; d <= 3; ++d)
        for (int k = 1; k <= 3; ++k) s += line(d, k);
    return s;
}

struct DaystatWindowTest : ::testing::Test {
    dz::testing::ProgramFolderFixture folder;
    DaystatWindowTest() { dz::drawstat::resetState(dz::daystat::profile()); }
    ~DaystatWindowTest() override { dz::drawstat::testing::resetState(); }
};

}  // namespace

TEST_F(DaystatWindowTest, MainWindowIsDrawstatsWithDaystatsMenuAndRules) {
    dz::drawstat::MainWindow w;
    addValogatMenu(w);
    EXPECT_TRUE(w.windowTitle().endsWith(QString(40, ' ') + QStringLiteral("Vumo-Soft/2010")));
    const auto bar = w.menuBar()->actions();
    ASSERT_GE(bar.size(), 2);
    EXPECT_EQ(bar[0]->text(), QStringLiteral("Válogat"));
    EXPECT_EQ(bar[1]->objectName(), QStringLiteral("start"));
    const QStringList sub = {bar[0]->menu()->actions()[0]->text(), bar[0]->menu()->actions()[1]->text()};
    EXPECT_EQ(sub, (QStringList{"Tól: Ig:", "Húzás szám"}));
    // every analysis is offered at once; no sums
    for (const char* n : {"leggyak1", "kihagy", "vissza", "interval5", "terkepbe"}) EXPECT_TRUE(w.action(n)->isEnabled()) << n;
    EXPECT_TRUE(w.Command3D2->isEnabled() && w.SSCommand1->isEnabled());
    EXPECT_FALSE(w.action("osszeg")->isVisible());
    for (const char* n : {"nyolc", "het", "hat", "ot", "negy"}) EXPECT_TRUE(w.action(n)->isVisible()) << n;
}

TEST_F(DaystatWindowTest, LastNDrawsAskAgainUntilTheAnswerFitsThenReplaceTheFile) {
    folder.write("vevud.txt", history());
    dz::drawstat::MainWindow w;
    seam::queueInput(QStringLiteral("0"));
    seam::queueInput(QStringLiteral("10"));
    seam::queueInput(QStringLiteral("2"));
    huzassz_Click(&w);
    ASSERT_EQ(seam::inputPrompts().size(), 3u);
    EXPECT_TRUE(seam::inputPrompts()[0].endsWith(QStringLiteral("Maximum :  9")));
    EXPECT_EQ(folder.read("vevud.dat"), line(3, 2) + line(3, 3));
    // Cancel leaves it; so does an empty history, without a question
    seam::reset();
    huzassz_Click(&w);
    EXPECT_EQ(folder.read("vevud.dat"), line(3, 2) + line(3, 3));
    folder.write("vevud.txt", "");
    seam::reset();
    huzassz_Click(&w);
    EXPECT_TRUE(seam::inputPrompts().empty());
    EXPECT_EQ(folder.read("vevud.dat"), line(3, 2) + line(3, 3));
    // "Tételes" lists every line of the cut
    w.teteles_Click();
    EXPECT_EQ(w.List2->items(), (QStringList{QString::fromStdString(line(3, 2)).trimmed(), QString::fromStdString(line(3, 3)).trimmed()}));
}

TEST_F(DaystatWindowTest, ACutThatCannotBeWrittenSaysSoAndLeavesNothingHalfDone) {
    folder.write("vevud.txt", history());
    QDir(folder.dir.path()).mkdir(QStringLiteral("vevud.dat"));  // a folder in the file's place
    dz::drawstat::MainWindow w;
    seam::queueInput(QStringLiteral("3"));
    huzassz_Click(&w);
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Hiba a vevud.dat mentésekor - sikertelen mentés !"));
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Critical);
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
}

TEST_F(DaystatWindowTest, RangeWindowOpensOnTheLastDrawAndCutsTheRange) {
    folder.write("vevud.txt", "\xEF\xBB\xBF" + history());
    CutRangeWindow v;
    EXPECT_EQ(v.windowTitle(), QStringLiteral("  DIZOV húzások leválogatása.") + QString(25, ' ') + QStringLiteral("Vumo-Soft/2010"));
    EXPECT_TRUE(v.historyFound());
    for (QLineEdit* t : {v.Text1, v.Text4}) EXPECT_EQ(t->text(), QStringLiteral("2010"));
    for (QLineEdit* t : {v.Text3, v.Text6, v.Text8, v.Text9}) EXPECT_EQ(t->text(), QStringLiteral("3"));
    EXPECT_EQ(v.Text2->text(), QStringLiteral("1"));
    // FROM = TO on a draw: exactly that record
    v.Command3D1->click();
    EXPECT_EQ(folder.read("vevud.dat"), line(3, 3));
    EXPECT_EQ(v.Label1->text(), QStringLiteral("1"));
    // empty FROM boxes start at the first record, and are filled with its fields
    for (QLineEdit* t : {v.Text1, v.Text2, v.Text3, v.Text8}) t->clear();
    v.Text6->setText(QStringLiteral("2"));
    v.Command3D1->click();
    EXPECT_EQ(v.Label1->text(), QStringLiteral("6"));
    EXPECT_EQ(v.Text3->text(), QStringLiteral("1"));
    EXPECT_EQ(folder.read("vevud.dat"), history().substr(0, 6 * 41));
    // a wrong setting says so and leaves the file
    v.Text9->setText(QStringLiteral("265"));
    v.Command3D1->click();
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Hibás tól-; ig- beállítás !"));
    EXPECT_EQ(folder.read("vevud.dat"), history().substr(0, 6 * 41));
    // spin buttons: the year stops at the history's years, the draw number at 264
    v.Text1->setText(QStringLiteral("2012"));
    v.Spin_SpinDown(1);
    EXPECT_EQ(v.Text1->text(), QStringLiteral("2011"));
    v.Text1->clear();
    v.Spin_SpinDown(1);
    EXPECT_EQ(v.Text1->text(), QStringLiteral("2010"));
    v.Text9->setText(QStringLiteral("264"));
    v.Spin_SpinUp(8);
    EXPECT_EQ(v.Text9->text(), QStringLiteral("264"));
}

TEST_F(DaystatWindowTest, RangeWindowWithoutOrOnAnEmptyHistory) {
    {
        CutRangeWindow v;
        EXPECT_FALSE(v.historyFound());
    }
    dz::drawstat::MainWindow w;
    tolig_Click(&w);
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Nincs *vevud.txt* állomány !"));
    seam::reset();
    folder.write("vevud.txt", "");
    folder.write("vevud.dat", "old\r\n");
    CutRangeWindow v;
    EXPECT_TRUE(v.historyFound());
    EXPECT_TRUE(v.Text1->text().isEmpty());
    v.Command3D1->click();
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Hibás tól-; ig- beállítás !"));
    EXPECT_EQ(folder.read("vevud.dat"), "old\r\n");
}

// A last line that is no draw record opens the window on fields that rebuild no key of the history:
// each side takes its one pull, the range is then wrong, and the day's file keeps its bytes.
TEST_F(DaystatWindowTest, RangeOverAHistoryEndingInANonRecordLeavesTheFile) {
    const std::string old = line(2, 1) + "r\xe9gi\r\n";
    for (const char* last : {"\r\n", "-- vege --\r\n"}) {
        SCOPED_TRACE(last);
        seam::reset();
        folder.write("vevud.txt", history() + last);
        folder.write("vevud.dat", old);
        CutRangeWindow v;
        v.Command3D1->click();
        EXPECT_EQ(dz::testing::shownTexts(), QStringList{QStringLiteral("Hibás tól-; ig- beállítás !")});
        EXPECT_EQ(folder.read("vevud.dat"), old);
    }
}

TEST_F(DaystatWindowTest, AnalysesRunOverThePartialDayFileWithDaystatsRules) {
    folder.write("vevud.dat", line(5, 1) + line(5, 2));
    dz::drawstat::MainWindow w;
    // only List2 is written: no copy list, no class lists
    auto onlyList2 = [&w] {
        EXPECT_EQ(w.List6->count(), 0);
        for (auto* l : w.List5) EXPECT_EQ(l->count(), 0);
    };
    w.SSCommand1->click();  // W = 0 before Start: every draw
    EXPECT_EQ(w.List2->item(0), QStringLiteral("20100105 001    4*   01  02  03  04"));
    EXPECT_EQ(w.List2->count(), 4 + 8);
    onlyList2();
    w.Command3D2->click();
    EXPECT_EQ(w.List2->item(0), QStringLiteral("20100105 002   * 8   01 02 03 04 10 11 12 13 "));
    onlyList2();
    w.List2_Click(w.List2->count() - 1);  // no class list behind a line
    EXPECT_EQ(w.List2->item(0), QStringLiteral("20100105 002   * 8   01 02 03 04 10 11 12 13 "));
    // the L key writes the daystat-named list file
    w.List2_KeyPress('L');
    EXPECT_TRUE(QFile::exists(folder.path("lista001.dat")));
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_TRUE(seam::messages()[0].text.endsWith(QStringLiteral("/lista001.dat file-ba történt !")));
    // Start reads the file again after a new cut
    w.start_Click();
    EXPECT_EQ(dz::drawstat::state().drawCount, 2);
    EXPECT_EQ(dz::drawstat::state().windowStart, 1);
    folder.write("vevud.dat", line(5, 1));
    w.start_Click();
    EXPECT_EQ(dz::drawstat::state().drawCount, 1);
}

TEST_F(DaystatWindowTest, BacktestWindowHasNoWholeHistoryModeAndKeepsExtraMarks) {
    folder.write("vevud.dat", line(5, 1) + line(5, 2));
    dz::drawstat::BacktestWindow k;
    EXPECT_EQ(dz::drawstat::state().windowStart, 1);  // set from the partial-day file at opening
    EXPECT_TRUE(k.Check1->isHidden());
    k.grid->extraCell(2)->click();
    k.Command3D3->click();  // "Véletlen" with 8
    EXPECT_TRUE(k.grid->extraMarked(2));
    EXPECT_EQ(k.List1->count() + 0, k.Label3->text().toInt());
    EXPECT_TRUE(k.Label5->text().isEmpty());
    EXPECT_EQ(k.List2->count(), 9);
}

TEST_F(DaystatWindowTest, ListsPastTheRowLimitShowTheNewestDrawsAndCountThem) {
    const std::string bytes = dz::synthDrawHistory(40000);
    folder.write("vevud.dat", bytes);
    const std::string lastKey = bytes.substr(bytes.rfind('\n', bytes.size() - 2) + 1, 12);
    // the back-test from W = N - 32736 on gives 32737 rows: the oldest is left out
    dz::drawstat::BacktestWindow k;
    k.Command3D3->click();  // "Véletlen": eight numbers, every hit count listed
    ASSERT_EQ(k.List1->count(), dz::kRowLimit);
    EXPECT_EQ(k.Label3->text(), QString::number(dz::kRowLimit));
    EXPECT_EQ(k.List1->item(dz::kRowLimit - 1).left(12).toStdString(), lastKey);
    // identity before Start lists every draw after the first: the newest that fit
    dz::drawstat::MainWindow w;
    w.Command3D2->click();
    ASSERT_EQ(w.List2->count(), dz::kRowLimit);
    EXPECT_EQ(w.List2->item(dz::kRowLimit - 13).left(12).toStdString(), lastKey);
}

TEST_F(DaystatWindowTest, BinaryAndRaggedFilesNeitherCrashNorHang) {
    std::string junk = "\xEF\xBB\xBF" + std::string("2010\x00\x01,,\r\r\n", 11) + std::string(5000, '\xff') + "\n" + line(1, 1).substr(0, 20) +
                       "\n20100101 00x 01 02\n" + line(2, 2).substr(0, 39);  // the last line has no end
    junk[20] = '\0';
    folder.write("vevud.txt", junk);
    folder.write("vevud.dat", junk);
    dz::drawstat::MainWindow w;
    w.start_Click();
    w.Command3D2->click();
    w.SSCommand1->click();
    w.teteles_Click();
    EXPECT_EQ(w.List2->count(), 6);
    seam::queueInput(QStringLiteral("2"));
    huzassz_Click(&w);
    EXPECT_EQ(folder.read("vevud.dat"), "20100101 00x 01 02\r\n" + line(2, 2));
    {
        CutRangeWindow v;
        v.Command3D1->click();
    }
    dz::drawstat::BacktestWindow k;
    k.grid->cell(1)->click();
    k.Command3D4->click();
    EXPECT_EQ(k.List2->count(), 9);
}
