// The skip, interval, map and most-frequent windows opened from the main window's menu.
#include "drawstat/core/state.h"
#include "common/core/synth.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/tests/testutil.h"
#include "drawstat/ui/interval.h"
#include "drawstat/ui/skipwindow.h"
#include "drawstat/ui/mostfrequentwindow.h"
#include "drawstat/ui/mainwindow.h"
#include "drawstat/ui/mapwindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

namespace {

std::string draws(std::initializer_list<std::array<int, 8>> list, int firstNo = 1) {
    std::string out;
    int k = firstNo;
    for (const auto& d : list) out += dz::drawRecordLine(2010, 5, 6, k++, d.data(), 1) + "\r\n";
    return out;
}

struct AnalysisWindowsTest : ::testing::Test {
    dz::testing::ProgramFolderFixture folder;
    std::unique_ptr<MainWindow> main;

    AnalysisWindowsTest() { resetState(); }
    ~AnalysisWindowsTest() override {
        main.reset();
        resetState();
    }
    void startWith(const std::string& bytes) {
        folder.write(QStringLiteral("vevud.txt"), bytes);
        main = std::make_unique<MainWindow>();
        main->start_Click();
    }
    // Runs f while the next modal window is shown; f must hide or close it.
    static void whileModal(std::function<void(QWidget*)> f) {
        QTimer::singleShot(0, [f] {
            QWidget* w = QApplication::activeModalWidget();
            ASSERT_NE(w, nullptr);
            f(w);
            if (w->isVisible()) w->hide();  // never leave a test waiting
        });
    }
};

const std::string kFour = draws({{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 6, 7, 11, 12, 16, 17}, {2, 5, 7, 11, 12, 15, 18, 20},
                                 {1, 2, 3, 4, 5, 6, 7, 8}});

TEST_F(AnalysisWindowsTest, MenuItemsAreShownAndEnabledByStart) {
    main = std::make_unique<MainWindow>();
    for (const char* n : {"leggyak1", "kihagy", "interval5", "terkepbe"}) {
        EXPECT_TRUE(main->action(n)->isVisible()) << n;
        EXPECT_FALSE(main->action(n)->isEnabled()) << n;
    }
    folder.write(QStringLiteral("vevud.txt"), kFour);
    main->start_Click();
    for (const char* n : {"leggyak1", "kihagy", "interval5", "terkepbe"}) EXPECT_TRUE(main->action(n)->isEnabled()) << n;
}

TEST_F(AnalysisWindowsTest, IntervalKilepHidesAndReopensWithoutRereadingCloseBoxUnloads) {
    startWith(kFour);
    QStringList first;
    whileModal([&](QWidget* w) {
        auto* iv = qobject_cast<IntervalWindow*>(w);
        ASSERT_NE(iv, nullptr);
        EXPECT_EQ(iv->windowTitle(), "  5-s intervallum statisztika");
        first = iv->List1->items();
        EXPECT_EQ(iv->List2->items(), (QStringList{" 2 1 3 2    1", " 2 2 2 2    1", " 5 3 0 0    1"}));
        EXPECT_EQ(iv->List3->items(), (QStringList{"   1  2 1 3 2", "   1  2 2 2 2", "   1  5 3 0 0"}));
        QTest::mouseClick(iv->Command3D1, Qt::LeftButton);
    });
    main->action("interval5")->trigger();
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(first[0], "20100506 002     2   2   2   2");
    ASSERT_NE(IntervalWindow::instance(), nullptr);  // hidden, still loaded

    folder.write(QStringLiteral("vevud.txt"), draws({{1, 2, 3, 4, 5, 6, 7, 8}}));
    whileModal([&](QWidget* w) {
        EXPECT_EQ(static_cast<IntervalWindow*>(w)->List1->items(), first);
        w->close();  // the close box
    });
    main->action("interval5")->trigger();
    EXPECT_EQ(IntervalWindow::instance(), nullptr);

    whileModal([&](QWidget* w) {
        EXPECT_TRUE(static_cast<IntervalWindow*>(w)->List1->items().isEmpty());  // computed afresh: only draw 1
        w->close();
    });
    main->action("interval5")->trigger();
}

TEST_F(AnalysisWindowsTest, MapTooltipExportAndLifecycle) {
    startWith(kFour);
    whileModal([&](QWidget* w) {
        auto* m = qobject_cast<MapWindow*>(w);
        ASSERT_NE(m, nullptr);
        ASSERT_EQ(m->List1->count(), 3);
        EXPECT_EQ(m->List1->item(1), "20100506 003   _o__o_o___oo__o__o_o");
        EXPECT_EQ(m->Label1[0]->text(), QString(23, ' ') + "12345678901234567890");
        QTest::mouseClick(m->List1->viewport(), Qt::LeftButton, {}, m->List1->visualRect(m->List1->model()->index(1, 0)).center());
        EXPECT_EQ(m->List1->toolTip(), "02 05 07 11 12 15 18 20 ");
        QTest::keyClick(m->List1, Qt::Key_L);
        QTest::mouseClick(m->SSCommand1, Qt::LeftButton);
    });
    main->action("terkepbe")->trigger();
    EXPECT_EQ(folder.read("lista001.txt"),
              "20100506 002   oo___oo___oo___oo___\r\n20100506 003   _o__o_o___oo__o__o_o\r\n"
              "20100506 004   oooooooo____________\r\n");
    ASSERT_EQ(dz::ui::seam::messages().size(), 1u);
    EXPECT_EQ(dz::ui::seam::messages()[0].title, "Vumo-Soft/2010");

    folder.write(QStringLiteral("vevud.txt"), "");
    whileModal([&](QWidget* w) {
        EXPECT_EQ(static_cast<MapWindow*>(w)->List1->count(), 3);  // the same map, the file not read
        QTest::keyClick(w, Qt::Key_Escape);                     // Esc hides, as "Kilép" does
    });
    main->action("terkepbe")->trigger();
    ASSERT_NE(MapWindow::instance(), nullptr);
    whileModal([&](QWidget* w) {
        EXPECT_EQ(static_cast<MapWindow*>(w)->List1->count(), 3);
        w->close();
    });
    main->action("terkepbe")->trigger();
    EXPECT_EQ(MapWindow::instance(), nullptr);
}

TEST_F(AnalysisWindowsTest, MostFrequentIsModelessAndKeepsItsListsWhenHidden) {
    startWith(kFour);
    main->action("leggyak1")->trigger();
    MostFrequentWindow* w = MostFrequentWindow::instance();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral(" Visszamenőleg: számok, párok, triádok. Vumo-Soft"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    QTest::mouseClick(w->Command1, Qt::LeftButton);  // empty box: nothing happens
    EXPECT_EQ(w->List5->count(), 0);
    w->Text1->setText("1");
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    ASSERT_EQ(w->List5->count(), 20);
    EXPECT_EQ(w->List5->item(0), " 01     1");
    EXPECT_EQ(w->List5->item(8), " 09     0");
    EXPECT_EQ(w->List2->items().last(), "     1   07  08");
    EXPECT_EQ(w->List4->count(), 1140);
    const QStringList triples = w->List3->items();

    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    folder.write(QStringLiteral("vevud.txt"), "");
    main->action("leggyak1")->trigger();
    ASSERT_EQ(MostFrequentWindow::instance(), w);
    EXPECT_EQ(w->Text1->text(), "1");
    EXPECT_EQ(w->List3->items(), triples);

    // L beyond N counts every draw of the file as it is now (empty): every count 0.
    w->Text1->setText("100");
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(w->List5->item(0), " 01     0");

    QTest::mouseDClick(w->Text1, Qt::LeftButton);
    EXPECT_EQ(w->Text1->text(), "");

    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MostFrequentWindow::instance(), nullptr);
    main->action("leggyak1")->trigger();
    ASSERT_NE(MostFrequentWindow::instance(), nullptr);
    EXPECT_EQ(MostFrequentWindow::instance()->List5->count(), 0);
    EXPECT_EQ(MostFrequentWindow::instance()->Text1->text(), "");
}

TEST_F(AnalysisWindowsTest, SkipWindowLifePathSinceViewAndFreshStart) {
    // 7 in draws 1, 2 and 4 of 5; 20 never.
    startWith(draws({{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 8, 9},
                     {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 8, 9}}));
    whileModal([&](QWidget* dlg) {
        auto* w = qobject_cast<SkipWindow*>(dlg);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("  Életút, kihagyás.") + QString(44, ' ') + "Vumo-Soft/2010");
        QTest::mouseClick(w->Command3D5, Qt::LeftButton);  // nothing marked
        ASSERT_EQ(dz::ui::seam::messages().size(), 1u);
        EXPECT_EQ(dz::ui::seam::messages()[0].text, "Pontosan egy számot kell kijelölni (click) !");
        EXPECT_EQ(dz::ui::seam::messages()[0].icon, dz::ui::Icon::Critical);

        QTest::mouseClick(w->grid->cell(7), Qt::LeftButton);
        QTest::mouseClick(w->grid->cell(20), Qt::LeftButton);
        QTest::mouseClick(w->Command3D5, Qt::LeftButton);  // two marked
        EXPECT_EQ(dz::ui::seam::messages().size(), 2u);
        EXPECT_EQ(w->List1->count(), 0);

        QTest::mouseClick(w->grid->cell(20), Qt::LeftButton);
        EXPECT_EQ(w->grid->cell(20)->text(), " 20 ");
        QTest::mouseClick(w->Command3D5, Qt::LeftButton);
        // draw 1 is never listed (W = 1); draw 2 came right after draw 1
        EXPECT_EQ(w->List1->items(), (QStringList{"20100506 002  0*", "20100506 004  1", QString(13, ' ') + " 1"}));
        EXPECT_EQ(w->List2->items(), (QStringList{" 0     2", " 1     1"}));

        // Since view with threshold 5: 20 never came (5 draws), 9 came last.
        w->Text1->setText("5");
        QTest::mouseClick(w->Command3D3, Qt::LeftButton);
        EXPECT_FALSE(w->numberView());
        EXPECT_EQ(w->grid->cell(20)->text(), "5");
        EXPECT_EQ(w->grid->cell(9)->text(), "0");
        EXPECT_EQ(w->grid->cell(7)->text(), "1");  // marked: the count over its picture
        EXPECT_TRUE(w->grid->showsImage(7));
        EXPECT_TRUE(w->grid->cell(20)->styleSheet().contains("#000000"));
        EXPECT_TRUE(w->grid->cell(9)->styleSheet().contains("#e0e0e0"));

        QTest::mouseClick(w->grid->cell(7), Qt::LeftButton);  // unmarking in the since view shows the count
        EXPECT_EQ(w->grid->cell(7)->text(), "1");
        EXPECT_FALSE(w->grid->showsImage(7));

        w->Text1->setText("1");
        emit w->Spin1->spinDown();
        EXPECT_EQ(w->Text1->text(), "1");
        emit w->Spin1->spinUp();
        EXPECT_EQ(w->Text1->text(), "2");
        w->Text1->setText("abc");
        QTest::mouseClick(w->Command3D3, Qt::LeftButton);
        EXPECT_EQ(w->Text1->text(), "1");

        QTest::mouseClick(w->grid->cell(3), Qt::LeftButton);
        QTest::mouseClick(w->Command3D4, Qt::LeftButton);  // Töröl
        EXPECT_TRUE(w->numberView());
        EXPECT_EQ(w->grid->selection().count(), 0);
        EXPECT_EQ(w->grid->cell(3)->text(), " 3 ");
        QTest::mouseClick(w->Command3D1, Qt::LeftButton);  // Vége
    });
    main->action("kihagy")->trigger();

    whileModal([&](QWidget* dlg) {
        auto* w = static_cast<SkipWindow*>(dlg);
        EXPECT_EQ(w->List1->count(), 0);  // a fresh window
        EXPECT_EQ(w->Text1->text(), "1");
        EXPECT_EQ(w->grid->cell(7)->text(), " 7 ");
        w->close();
    });
    main->action("kihagy")->trigger();
}

TEST_F(AnalysisWindowsTest, SinceViewShowsLongCountsWhole) {
    state().drawCount = 33000;
    state().lastAppearance = {};
    state().lastAppearance[5] = 33000;
    SkipWindow w;
    w.show();
    const int normalPx = QFontInfo(w.grid->cell(5)->font()).pixelSize();
    QTest::mouseClick(w.Command3D3, Qt::LeftButton);
    for (int n : {1, 5}) {
        QPushButton* cell = w.grid->cell(n);
        cell->ensurePolished();
        const QString want = n == 5 ? "0" : "33000";
        EXPECT_EQ(cell->text(), want);
        EXPECT_LE(QFontMetrics(cell->font()).horizontalAdvance(want), cell->width() - 4) << n;
    }
    EXPECT_EQ(QFontInfo(w.grid->cell(5)->font()).pixelSize(), normalPx) << "a short count keeps the font";
    QTest::mouseClick(w.Command3D4, Qt::LeftButton);
    w.grid->cell(1)->ensurePolished();
    EXPECT_EQ(QFontInfo(w.grid->cell(1)->font()).pixelSize(), normalPx) << "the number view grows back";
}

TEST_F(AnalysisWindowsTest, MissingFileLeavesEveryWindowQuiet) {
    startWith(kFour);
    QFile::remove(folder.path(QStringLiteral("vevud.txt")));
    whileModal([&](QWidget* w) {
        EXPECT_EQ(static_cast<IntervalWindow*>(w)->List1->count(), 0);
        w->close();
    });
    main->action("interval5")->trigger();
    whileModal([&](QWidget* w) {
        EXPECT_EQ(static_cast<MapWindow*>(w)->List1->count(), 0);
        w->close();
    });
    main->action("terkepbe")->trigger();
    whileModal([&](QWidget* dlg) {
        auto* w = static_cast<SkipWindow*>(dlg);
        QTest::mouseClick(w->grid->cell(4), Qt::LeftButton);
        QTest::mouseClick(w->Command3D5, Qt::LeftButton);
        EXPECT_EQ(w->List1->count(), 0);
        w->close();
    });
    main->action("kihagy")->trigger();
    main->action("leggyak1")->trigger();
    MostFrequentWindow::instance()->Text1->setText("3");
    QTest::mouseClick(MostFrequentWindow::instance()->Command1, Qt::LeftButton);
    EXPECT_EQ(MostFrequentWindow::instance()->List5->count(), 0);
    EXPECT_TRUE(dz::ui::seam::messages().empty());
}

}  // namespace
