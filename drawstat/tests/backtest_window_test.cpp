#include "common/core/random.h"
#include "drawstat/core/state.h"
#include "common/core/synth.h"
#include "common/core/textfmt.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/tests/testutil.h"
#include "drawstat/ui/backtest.h"
#include "drawstat/ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

namespace {

struct BacktestWindowTest : ::testing::Test {
    dz::testing::ProgramFolderFixture folder;
    BacktestWindowTest() { resetState(); }
};

// Which grid picture a button shows (the drawn stand-ins when the folder holds no images).
bool shows(QPushButton* b, const QString& image) {
    if (b->icon().isNull()) return false;
    const QSize sz = b->iconSize();
    const auto a = b->icon().pixmap(sz).toImage().convertToFormat(QImage::Format_ARGB32);
    return a == dz::ui::gridImage(image, sz.width()).toImage().convertToFormat(QImage::Format_ARGB32);
}

std::string draw(int no, std::array<int, 8> d, int extra) {
    return dz::drawRecordLine(2010, 12, 31, no, d.data(), extra) + "\r\n";
}

std::vector<int> markedNumbers(const BacktestWindow& w) {
    std::vector<int> out;
    for (int n = 1; n <= 20; ++n)
        if (w.grid->selection().marked(n)) out.push_back(n);
    return out;
}

}  // namespace

TEST_F(BacktestWindowTest, NoMarkedNumberBeepsAndSaysSo) {
    folder.write("vevud.txt", dz::synthDrawHistory(20));
    BacktestWindow w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" DIZOV") + QString(76, ' ') + QStringLiteral("Vumo-Soft/2010"));
    w.Text3->clear();
    w.Command3D4->click();
    EXPECT_EQ(dz::ui::seam::beeps(), 1);
    ASSERT_EQ(dz::ui::seam::messages().size(), 1u);
    const auto& m = dz::ui::seam::messages()[0];
    EXPECT_EQ(m.text, QStringLiteral("Minimum 1 szám választandó ki !"));
    EXPECT_EQ(m.title, QStringLiteral("KENO"));
    EXPECT_EQ(m.icon, dz::ui::Icon::Critical);
    EXPECT_EQ(w.Text3->text(), QStringLiteral("4"));
    EXPECT_EQ(w.List2->count(), 0);
}

TEST_F(BacktestWindowTest, DrawDisplayShowsHitsMissesAndTheExtraNumber) {
    folder.write("vevud.txt", draw(1, {2, 4, 6, 8, 10, 12, 14, 16}, 1) + draw(2, {1, 2, 3, 4, 5, 6, 7, 11}, 2) +
                                  draw(3, {1, 2, 3, 4, 5, 6, 7, 11}, 4));
    BacktestWindow w;
    w.Command3D7->click();  // an empty list: nothing happens
    EXPECT_TRUE(dz::ui::seam::messages().empty());
    for (int n : {3, 11, 20}) w.grid->cell(n)->click();
    w.grid->extraCell(2)->click();
    w.Command3D4->click();
    ASSERT_EQ(w.List1->count(), 2);  // W = 1: the first draw is not listed
    EXPECT_EQ(w.List1->item(0), QStringLiteral("20101231 002   2"));
    EXPECT_EQ(w.Label3->text(), QStringLiteral("2"));
    EXPECT_EQ(w.Label5->text(), QStringLiteral("0"));
    EXPECT_EQ(w.List2->item(2), QStringLiteral("2  2"));

    w.Command3D7->click();  // no line selected
    ASSERT_EQ(dz::ui::seam::messages().size(), 1u);
    EXPECT_EQ(dz::ui::seam::messages()[0].text,
              QStringLiteral("Válassza ki (click a kiértékelő listára), hogy melyik húzás nyerőszámait akarja látni !"));
    EXPECT_EQ(dz::ui::seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(dz::ui::seam::messages()[0].icon, dz::ui::Icon::Critical);

    w.List1->setListIndex(0);
    w.Command3D7->click();
    for (int n : {3, 11}) EXPECT_TRUE(shows(w.grid->cell(n), "tx.BMP")) << n;
    EXPECT_FALSE(shows(w.grid->cell(3), "tt.BMP"));
    EXPECT_FALSE(shows(w.grid->cell(3), "XX.BMP"));
    for (int n : {1, 2, 4, 5, 6, 7}) {
        EXPECT_TRUE(shows(w.grid->cell(n), "tt.BMP")) << n;
        EXPECT_TRUE(w.grid->cell(n)->text().isEmpty());
    }
    EXPECT_TRUE(shows(w.grid->cell(20), "XX.BMP"));
    EXPECT_EQ(w.grid->cell(12)->text(), QStringLiteral(" 12 "));
    EXPECT_TRUE(shows(w.grid->extraCell(2), "TX.BMP"));
    EXPECT_EQ(markedNumbers(w), (std::vector<int>{3, 11, 20}));

    // the next draw: the grid is redrawn from the flags first; extra 4 is not marked
    w.List1->setListIndex(1);
    w.Command3D7->click();
    EXPECT_TRUE(shows(w.grid->extraCell(2), "XX.BMP"));
    EXPECT_TRUE(shows(w.grid->extraCell(4), "TT.BMP"));
    EXPECT_FALSE(shows(w.grid->extraCell(4), "XX.BMP"));
    // a cell that shows a draw's image counts as showing one: a click clears it
    w.grid->extraCell(4)->click();
    EXPECT_FALSE(w.grid->extraShowsImage(4));
    EXPECT_FALSE(w.grid->extraMarked(4));
    EXPECT_EQ(w.grid->extraCell(4)->text(), QStringLiteral(" 4 "));
}

TEST_F(BacktestWindowTest, ShortRecordShowsWhatItCanRead) {
    folder.write("vevud.txt", std::string("x\r\n20101231 002 03 11\r\n20101231 003 01 02 03 04 05 06 07 08 09\r\n"));
    BacktestWindow w;
    w.grid->cell(3)->click();
    w.Command3D4->click();
    ASSERT_EQ(w.List1->count(), 2);
    for (int i : {0, 1}) {
        w.List1->setListIndex(i);
        w.Command3D7->click();
        EXPECT_TRUE(shows(w.grid->cell(3), "tx.BMP"));
    }
    for (int p = 1; p <= 4; ++p) EXPECT_FALSE(w.grid->extraShowsImage(p));
}

TEST_F(BacktestWindowTest, RowAndColumnToolsInvertTheirNumbers) {
    BacktestWindow w;
    w.grid->cell(7)->click();
    w.grid->cell(7)->click();
    EXPECT_EQ(w.grid->cell(7)->text(), QStringLiteral(" 7 "));
    EXPECT_EQ(w.Label1->text(), QStringLiteral(" 0"));

    w.grid->cell(6)->click();
    w.grid->cell(8)->click();
    w.grid->rowTool(2)->click();
    EXPECT_EQ(markedNumbers(w), (std::vector<int>{7, 9, 10}));
    EXPECT_EQ(w.Label1->text(), QStringLiteral(" 3"));
    EXPECT_EQ(w.grid->cell(6)->text(), QStringLiteral("6"));  // a tool unmarks to the bare digits
    EXPECT_TRUE(shows(w.grid->cell(9), "XX.BMP"));

    w.grid->columnTool(5)->click();
    EXPECT_EQ(markedNumbers(w), (std::vector<int>{5, 7, 9, 15, 20}));
    w.grid->columnTool(5)->click();
    EXPECT_EQ(markedNumbers(w), (std::vector<int>{7, 9, 10}));

    w.grid->extraCell(1)->click();
    w.Command3D5->click();  // "Töröl"
    EXPECT_TRUE(markedNumbers(w).empty());
    EXPECT_FALSE(w.grid->extraMarked(1));
    EXPECT_EQ(w.Label1->text(), QString());
    EXPECT_EQ(w.grid->cell(6)->text(), QStringLiteral(" 6 "));
}

TEST_F(BacktestWindowTest, RandomPickClearsMarksPicksAndRunsTheBacktest) {
    folder.write("vevud.txt", dz::synthDrawHistory(50));
    BacktestWindow w;
    struct Case {
        const char* text;
        const char* after;
        int count;
    };
    for (const Case c : {Case{"25", "8", 8}, Case{"0", "8", 8}, Case{"abc", "8", 8}, Case{"20", "20", 20},
                         Case{"3.7", "3.7", 3}, Case{" 5", " 5", 5}}) {
        w.grid->extraCell(3)->click();
        w.Text1->setText(c.text);
        w.Command3D3->click();
        EXPECT_EQ(w.Text1->text(), QString(c.after)) << c.text;
        EXPECT_EQ(int(markedNumbers(w).size()), c.count) << c.text;
        EXPECT_EQ(w.Label1->text(), dz::str(c.count));
        EXPECT_FALSE(w.grid->extraMarked(3));
        EXPECT_EQ(w.List2->count(), 9);  // the back-test ran
        EXPECT_EQ(w.List1->count(), 49);
    }
}

TEST_F(BacktestWindowTest, BoundsWholeHistoryAndTextBoxes) {
    folder.write("vevud.txt", dz::synthDrawHistory(50));
    BacktestWindow w;
    w.grid->cell(1)->click();
    w.Command3D4->click();
    const QStringList before = w.List1->items();
    w.Text2->setText("5");
    w.Text4->setText("3");
    w.Command3D4->click();
    EXPECT_EQ(w.List1->items(), before);  // a silent end keeps the results

    w.Text4->setText("8");
    w.Text2->setText("0");
    w.Check1->setChecked(true);
    w.Command3D4->click();
    // the last run's level is 0, which counts as none: the lower bound is raised to 6
    EXPECT_EQ(w.Text2->text(), QStringLiteral("6"));
    EXPECT_EQ(w.List1->count(), 0);  // one marked number never hits six times

    QTest::mouseDClick(w.Text2, Qt::LeftButton);
    EXPECT_EQ(w.Text2->text(), QString());
}

TEST_F(BacktestWindowTest, LoadSetsTheWindowStartAndLKeyExportsBothLists) {
    state().windowStart = 77;
    { BacktestWindow w; }
    EXPECT_EQ(state().windowStart, 77);  // no file: left as Start set it
    folder.write("vevud.txt", dz::synthDrawHistory(40000));
    BacktestWindow w;
    EXPECT_EQ(state().windowStart, 40000 - 32736);
    w.grid->cell(1)->click();
    w.Command3D4->click();
    EXPECT_EQ(w.List1->count(), 32736);
    QTest::keyClick(w.List1, Qt::Key_L);
    QTest::keyClick(w.List2, Qt::Key_L, Qt::ShiftModifier);
    QTest::keyClick(w.List2, Qt::Key_K);
    ASSERT_EQ(dz::ui::seam::messages().size(), 2u);
    EXPECT_EQ(dz::ui::seam::messages()[1].text,
              QStringLiteral("A mentés az ") + folder.dir.path() + QStringLiteral("/lista002.txt file-ba történt !"));
    std::string dist;
    for (const QString& l : w.List2->items()) dist += l.toStdString() + "\r\n";
    EXPECT_EQ(folder.read("lista002.txt"), dist);
    // one marked number: every line is the key, two blanks and " 0" or " 1", no star
    EXPECT_EQ(folder.read("lista001.txt").size(), size_t(32736) * (16 + 2));
}

TEST_F(BacktestWindowTest, MenuItemOpensTheWindowModally) {
    folder.write("vevud.txt", dz::synthDrawHistory(20));
    MainWindow m;
    m.action("start")->trigger();
    ASSERT_TRUE(m.action("vissza")->isVisible());
    ASSERT_TRUE(m.action("vissza")->isEnabled());
    QString seen;
    QTimer::singleShot(0, [&] {
        if (auto* w = qobject_cast<BacktestWindow*>(QApplication::activeModalWidget())) {
            seen = w->objectName();
            w->Command3D1->click();  // "Kilép"
        }
    });
    m.action("vissza")->trigger();
    EXPECT_EQ(seen, QStringLiteral("kiertekel"));
    // unloaded when closed (a focused cell's last focus-out must not reach the grid, gone by then)
    EXPECT_TRUE(m.findChildren<BacktestWindow*>().isEmpty());
}

TEST_F(BacktestWindowTest, HoverLabelFollowsThePointer) {
    BacktestWindow w;
    w.show();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w.grid->cell(5), &enter);
    EXPECT_EQ(w.Label13->text(), QStringLiteral(" 5"));
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &move);  // the background empties the hover label
    EXPECT_EQ(w.Label13->text(), QString());
}
