// Every window of drawstat as the user sees it after a run: controls inside the window, no two
// controls on top of each other, captions and list lines shown whole.
#include "drawstat/core/state.h"
#include "common/core/synth.h"
#include "common/core/textfile.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/tests/testutil.h"
#include "drawstat/ui/subsetwindow.h"
#include "drawstat/ui/backtest.h"
#include "drawstat/ui/interval.h"
#include "drawstat/ui/skipwindow.h"
#include "drawstat/ui/mostfrequentwindow.h"
#include "drawstat/ui/mainwindow.h"
#include "drawstat/ui/mapwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

namespace {

bool isControl(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const dz::ui::ListBox*>(w) ||
           qobject_cast<const dz::ui::SpinButton*>(w);
}

// The faults a user sees at once, as readable lines ("Label12: text cut").
std::string layoutFaults(QWidget* window) {
    QStringList faults;
    window->show();
    QApplication::processEvents();
    const QRect inside = window->rect();
    const auto all = window->findChildren<QWidget*>();
    QList<QWidget*> controls;
    for (QWidget* w : all)
        if (isControl(w) && w->isVisibleTo(window) && !qobject_cast<const dz::ui::SpinButton*>(w->parentWidget()))
            controls << w;
    for (QWidget* w : controls) {
        const QString name = w->objectName();
        const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
        if (!inside.contains(r)) faults << name + QStringLiteral(": outside the window");
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty() && l->sizeHint().width() > l->width())
            faults << name + QStringLiteral(": text cut");
        if (auto* b = qobject_cast<QPushButton*>(w); b && b->icon().isNull() &&
                                                     b->fontMetrics().horizontalAdvance(b->text().trimmed()) + 4 > b->width())
            faults << name + QStringLiteral(": caption cut");
        if (auto* c = qobject_cast<QCheckBox*>(w); c && c->sizeHint().width() > c->width())
            faults << name + QStringLiteral(": caption cut");
        if (auto* list = qobject_cast<dz::ui::ListBox*>(w)) {
            const int room = list->viewport()->width();
            for (const QString& line : list->items())
                if (list->fontMetrics().horizontalAdvance(line) + 4 > room) {
                    faults << name + QStringLiteral(": line cut: ") + line;
                    break;
                }
        }
        for (QWidget* o : controls)
            if (o != w && o->parentWidget() == w->parentWidget() && o->geometry().intersects(w->geometry()) &&
                name < o->objectName())
                faults << name + QStringLiteral(" overlaps ") + o->objectName();
    }
    return faults.join(QStringLiteral("; ")).toStdString();
}

struct LayoutTest : ::testing::Test {
    dz::testing::ProgramFolderFixture folder;
    MainWindow* main = nullptr;
    LayoutTest() {
        resetState();
        // a synthetic history with a run of eight, the widest line of the result list
        const int run[8] = {13, 14, 15, 16, 17, 18, 19, 20};
        folder.write(QStringLiteral("vevud.txt"),
                     dz::synthDrawHistory(600) + dz::drawRecordLine(2011, 1, 1, 1, run, 4) + "\r\n");
        main = new MainWindow;
        main->start_Click();
    }
    ~LayoutTest() override {
        delete main;
        resetState();
    }
};

TEST_F(LayoutTest, MainWindowAfterAdhesion) {
    main->show();
    main->teteles_Click();
    QApplication::processEvents();
    EXPECT_GT(main->List2->topIndex(), 500);  // the end of the full list in view
    main->osszeg_Click();
    QApplication::processEvents();
    EXPECT_EQ(main->List2->topIndex(), 0);  // the sums from their first line, not where the full list was
    main->SSCommand1_Click();
    EXPECT_EQ(layoutFaults(main), "");
    main->List2_Click(int(main->List2->count()) - 1);  // the class list of runs of eight
    EXPECT_TRUE(main->SSCommand2->isVisibleTo(main));
    EXPECT_EQ(layoutFaults(main), "");
}

TEST_F(LayoutTest, BacktestWindowAfterARun) {
    BacktestWindow w(main);
    for (int n : {1, 2, 3, 7, 12}) w.grid->toggle(n);
    w.Command3D4_Click();
    ASSERT_GT(w.List1->count(), 0);
    EXPECT_FALSE(w.Label5->text().isEmpty());
    EXPECT_EQ(layoutFaults(&w), "");
}

TEST_F(LayoutTest, SkipWindowInBothViews) {
    QImage mark(16, 16, QImage::Format_RGB32);
    mark.fill(Qt::red);
    ASSERT_TRUE(mark.save(folder.path(QStringLiteral("XX.BMP")), "BMP"));
    SkipWindow w(main);
    w.Command3D2_Click(7);
    w.Command3D5_Click();
    ASSERT_GT(w.List1->count(), 0);
    EXPECT_EQ(layoutFaults(&w), "");
    w.Command3D3_Click();
    EXPECT_EQ(layoutFaults(&w), "");
    // the marked cell's count stands over its picture, not squeezed beside it
    QPushButton* seven = w.grid->cell(7);
    EXPECT_FALSE(seven->text().isEmpty());
    EXPECT_TRUE(seven->icon().isNull());
    EXPECT_TRUE(seven->styleSheet().contains(QStringLiteral("border-image")));
    w.Command3D2_Click(7);
    EXPECT_FALSE(seven->styleSheet().contains(QStringLiteral("border-image")));
}

TEST_F(LayoutTest, IntervalMapAndMostFrequentWindows) {
    auto* iv = new IntervalWindow(main);
    EXPECT_GT(iv->List1->count(), 0);
    EXPECT_EQ(layoutFaults(iv), "");
    auto* map = new MapWindow(main);
    EXPECT_GT(map->List1->count(), 0);
    EXPECT_EQ(layoutFaults(map), "");
    auto* lg = new MostFrequentWindow(main);
    lg->Text1->setText(QStringLiteral("600"));
    lg->Command1_Click();
    EXPECT_EQ(lg->List4->count(), 1140);
    EXPECT_EQ(layoutFaults(lg), "");
    delete lg;
    delete map;
    delete iv;
}

}  // namespace

// hetes' least-drawn rows (44 characters) show whole in its right-hand pages, and the window still
// holds every control.
TEST_F(LayoutTest, SubsetWindowLeastDrawnRowsShowWhole) {
    QStringList least;
    for (int i = 0; i < 40; ++i) least << QStringLiteral("%1 - 01 02 03 04 05 06 07  - 20101231 999").arg(i + 1, 5);
    ASSERT_EQ(least[0].size(), 44);
    dz::writeLines(folder.path("legt7.txt"), least);
    dz::writeLines(folder.path("legk7.txt"), least);
    SubsetWindow w(drawstatSubsetProfile(7));
    EXPECT_EQ(w.List2[0]->count(), 40);
    EXPECT_EQ(layoutFaults(&w), "");
    EXPECT_FALSE(w.List2[0]->horizontalScrollBar()->isVisible());
    EXPECT_EQ(w.List2[1]->geometry(), w.List2[0]->geometry());
}
