// The road of the suite over a small history: daystat cuts "vevud.dat" (the last N draws, then a
// range of keys), counts it into "vevud4.dat" and lists the most drawn 4-subsets; keyevalday
// evaluates a key over the same "vevud.dat". Expected values are worked out by hand below.
#include "keyeval/core/evalbuild.h"
#include "keyeval/core/evaluation.h"
#include "keyeval/core/hitlist.h"
#include "common/core/folder.h"
#include "daystat/core/profile.h"
#include "drawstat/core/state.h"
#include "drawstat/core/subsetfile.h"
#include "common/core/synth.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/tests/testutil.h"
#include "drawstat/ui/mainwindow.h"
#include "drawstat/ui/subsetwindow.h"
#include "daystat/ui/cutrange.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace seam = dz::ui::seam;

namespace {

std::string line(int day, int drawNo, std::array<int, 8> d) {
    return dz::drawRecordLine(2010, 5, day, drawNo, d.data(), 1) + "\r\n";
}

// Day 1 holds draws that the cuts leave out; days 2 and 3 the draws the road counts. D4 comes
// into the history after the first cut.
//   D1 = 20100502 001: 01 02 03 04 05 06 07 08
//   D2 = 20100502 002: 01 02 03 04 05 09 10 11
//   D3 = 20100502 003: 01 02 03 04 12 13 14 15
//   D4 = 20100503 001: 01 02 03 04 16 17 18 19
std::string history() {
    return line(1, 1, {13, 14, 15, 16, 17, 18, 19, 20}) + line(1, 2, {5, 6, 7, 8, 17, 18, 19, 20}) +
           line(2, 1, {1, 2, 3, 4, 5, 6, 7, 8}) + line(2, 2, {1, 2, 3, 4, 5, 9, 10, 11}) +
           line(2, 3, {1, 2, 3, 4, 12, 13, 14, 15});
}
std::string d4() { return line(3, 1, {1, 2, 3, 4, 16, 17, 18, 19}); }

struct RoadTest : ::testing::Test {
    dz::testing::ProgramFolderFixture folder;
    RoadTest() {
        dz::drawstat::resetState(dz::daystat::profile());
        seam::enable();
    }
    ~RoadTest() override { dz::drawstat::testing::resetState(); }

    // Opens daystat's "4-s" window from the menu, runs f in it and leaves it with "Kilép".
    void inNegyes(dz::drawstat::MainWindow& main, const std::function<void(dz::drawstat::SubsetWindow&)>& f) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<dz::drawstat::SubsetWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            f(*w);
            ran = true;
            w->Command3D5->click();
        });
        main.action("negy")->trigger();
        EXPECT_TRUE(ran);
    }
};

}  // namespace

TEST_F(RoadTest, CutCountListAndEvaluateOverThePartialDayFile) {
    folder.write("vevud.txt", history());
    dz::drawstat::MainWindow main;
    dz::daystat::addValogatMenu(main);

    // The last three draws: D1, D2, D3.
    seam::queueInput(QStringLiteral("3"));
    main.findChild<QAction*>(QStringLiteral("huzassz"))->trigger();
    EXPECT_EQ(folder.read("vevud.dat"), history().substr(2 * 41, 3 * 41));

    // Regenerate, count in, list. D1 and D2 share 01..05 (5 subsets), D1 and D3 and D2 and D3
    // share 01..04 (1 each), all three share 01..04: 3 x 70 - 7 + 1 = 204 subsets drawn.
    // 01 02 03 04 was drawn 3 times; the four other 4-subsets of 01..05 twice (last in D2).
    inNegyes(main, [](dz::drawstat::SubsetWindow& w) {
        w.Check3D1->setChecked(true);
        seam::queueAnswer(dz::ui::Answer::Ok);
        w.Command3D1->click();
        w.Command3D2->click();
        w.Command3D3->click();
        ASSERT_EQ(w.List1->count(), 204);
        EXPECT_EQ(w.List1->toolTip(), " 204");
        EXPECT_EQ(w.List1->item(0), "    1 - 01 02 03 06  - 20100502 001");
        EXPECT_EQ(w.List1->items().mid(199), (QStringList{"    2 - 01 02 03 05  - 20100502 002",
                                                          "    2 - 01 02 04 05  - 20100502 002",
                                                          "    2 - 01 03 04 05  - 20100502 002",
                                                          "    2 - 02 03 04 05  - 20100502 002",
                                                          "    3 - 01 02 03 04  - 20100502 003"}));
    });
    EXPECT_EQ(dz::readLines(folder.path("legt4.dat"))->size(), 204);

    // D4 is drawn. A key range, D2 .. D4: only D4 lies above the high-water key 20100502 003, so 01 02 03 04
    // rises to 4 and D4's 69 other subsets join the list once each: 273 rows.
    folder.write("vevud.txt", history() + d4());
    {
        dz::daystat::CutRangeWindow v;
        v.Text1->setText("2010"), v.Text2->setText("5"), v.Text3->setText("2"), v.Text8->setText("2");
        v.Text4->setText("2010"), v.Text5->setText("5"), v.Text6->setText("3"), v.Text9->setText("1");
        v.Command3D1->click();
        EXPECT_EQ(v.Label1->text(), "3");
    }
    EXPECT_EQ(folder.read("vevud.dat"), history().substr(3 * 41) + d4());
    inNegyes(main, [](dz::drawstat::SubsetWindow& w) {
        w.Command3D2->click();
        w.Command3D3->click();
        ASSERT_EQ(w.List1->count(), 273);
        EXPECT_EQ(w.List1->items().last(), "    4 - 01 02 03 04  - 20100503 001");
        EXPECT_EQ(w.List1->item(268), "    2 - 01 02 03 05  - 20100502 002");
    });
    dz::drawstat::CounterFile c;
    ASSERT_EQ(dz::drawstat::CounterFile::load(folder.path("vevud4.dat"), 4, c), dz::drawstat::CounterFile::Status::Ok);
    EXPECT_EQ(c.highWaterKey(), "20100503 001");
    EXPECT_EQ(dz::testing::shownTexts(), QStringList{"Biztos, hogy törölni akarja a (rész-napi) szám-négyesek állományát ?"});

    // keyevalday over the same "vevud.dat" (D2, D3, D4), extra number 1 played (every draw's):
    //   row 1 = 01..08 hits 5, 4, 4;   row 2 = 09..16 hits 3, 4, 1.
    using namespace dz::keyeval;
    const Build& day = keyevalDayBuild();
    ASSERT_EQ(day.drawFile, QStringLiteral("vevud.dat"));
    folder.write("kulcs.txt", "01 02 03 04 05 06 07 08\r\n09 10 11 12 13 14 15 16\r\n");
    RunSettings s;
    s.keyFile = folder.path("kulcs.txt");
    s.extra[1] = true;
    s.extraCount = 1;
    s.minHits = 4;
    s.fromKey = QStringLiteral("20100502 002");
    s.toKey = QStringLiteral("20100503 001");
    const auto draws = dz::DrawFile::load(dz::programFile(day.drawFile));
    ASSERT_TRUE(draws);
    const auto in = gatherInput(s, *draws);
    ASSERT_TRUE(in);
    EvaluationResult r = evaluate(*in);
    EXPECT_EQ(r.drawsEvaluated, 3u);
    std::array<int64_t, 12> plus{};
    plus[1 + 1] = 1, plus[3 + 1] = 1, plus[4 + 1] = 3, plus[5 + 1] = 1;
    EXPECT_EQ(r.plusTally, plus);
    EXPECT_EQ(r.plainTally, (std::array<int64_t, 12>{}));  // one extra number: only plus plays
    EXPECT_EQ(dz::allLines(HitList(in->draws, std::move(r.hits))), (QStringList{"2010 05 02 002  *5+  1", "2010 05 02 003  *4+  1",
                                                         "2010 05 02 003  *4+  2", "2010 05 03 001  *4+  1"}));
}
