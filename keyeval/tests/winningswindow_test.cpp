#include "keyeval/ui/chartwindow.h"
#include "keyeval/ui/evaluationwindow.h"

#include "keyeval/core/evalbuild.h"
#include "common/core/synth.h"
#include "common/platform/dialogs.h"
#include "common/platform/widgets.h"
#include "common/tests/testutil.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <memory>

using namespace dz;
using namespace dz::keyeval;

namespace {

std::string record(int drawNo, int extra) {
    const int n[8] = {1, 2, 3, 4, 5, 6, 9, 10};  // 6 hits for the row 01..08
    return drawRecordLine(2010, 5, 12, drawNo, n, extra) + "\r\n";
}

// The evaluation window over three draws (extra numbers 1, 2, 3) and a one-row key, the whole
// file as the period and extra numbers 1 and 2 ticked.
struct MoneyWindow {
    dz::testing::ProgramFolderFixture folder;
    std::unique_ptr<EvaluationWindow> w;

    explicit MoneyWindow(const std::string& key = "01 02 03 04 05 06 07 08\r\n") {
        folder.write(QStringLiteral("vevud.txt"), record(1, 1) + record(2, 2) + record(3, 3));
        folder.write(QStringLiteral("egy.txt"), key);
        w = std::make_unique<EvaluationWindow>(keyevalBuild());
        EXPECT_TRUE(w->Form_Load());
        w->setKeyFile(folder.path(QStringLiteral("egy.txt")));
        const char* from[] = {"2010", "5", "12", "1"};
        const int boxes[] = {1, 2, 3, 8};
        for (int i = 0; i < 4; ++i) w->Text[size_t(boxes[i])]->setText(QString::fromLatin1(from[i]));
        w->Check3[0]->setChecked(true);
        w->Check3[1]->setChecked(true);
    }
};

// "Kiértékelés hozamra" and the end of its run.
void money(EvaluationWindow& w) {
    w.SSCommand1->click();
    ASSERT_TRUE(w.waitForRun());
}

}  // namespace

TEST(WinningsWindow, ListsEveryDrawAndShowsTheMoneyLabels) {
    MoneyWindow m;
    money(*m.w);
    EXPECT_EQ(m.w->List8->items(), (QStringList{QStringLiteral("2010 05 12 001    30"),
                                                QStringLiteral("2010 05 12 002    30"),
                                                QStringLiteral("2010 05 12 003    14")}));
    EXPECT_EQ(m.w->Label16->text(), QStringLiteral(" 6"));
    EXPECT_EQ(m.w->Label18->text(), QStringLiteral(" 80"));
    EXPECT_EQ(m.w->Label21->text(), QStringLiteral(" 74"));
    EXPECT_EQ(m.w->Label14->text(), QStringLiteral("3"));
    EXPECT_TRUE(ui::seam::messages().empty());

    // a minimum of 7 leaves every prize out; the stake stays
    m.w->Text[7]->setText(QStringLiteral("7"));
    money(*m.w);
    EXPECT_EQ(m.w->Label16->text(), QStringLiteral(" 6"));
    EXPECT_EQ(m.w->Label18->text(), QStringLiteral(" 0"));
    EXPECT_EQ(m.w->Label21->text(), QStringLiteral("-6"));
}

TEST(WinningsWindow, FailuresKeepTheLastResults) {
    MoneyWindow m;
    money(*m.w);
    ASSERT_EQ(m.w->List8->count(), 3);

    m.w->Check3[0]->setChecked(false);
    m.w->Check3[1]->setChecked(false);
    money(*m.w);
    ASSERT_EQ(ui::seam::messages().size(), 1u);
    EXPECT_EQ(ui::seam::messages()[0].text, QStringLiteral("Nincs pótszám megadva !"));
    EXPECT_EQ(ui::seam::messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(m.w->Label21->text(), QStringLiteral(" 74"));

    m.w->Check3[3]->setChecked(true);
    m.folder.write(QStringLiteral("egy.txt"), "01 02 03 04 05 06 07 08\r\n01 02 03 04 05 06 07\r\n");
    money(*m.w);
    ASSERT_EQ(ui::seam::messages().size(), 2u);
    EXPECT_EQ(ui::seam::messages()[1].text, QStringLiteral("Hibás kulcsformátum !"));
    EXPECT_EQ(ui::seam::messages()[1].title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(m.w->List8->count(), 0);
    EXPECT_EQ(m.w->Label16->text(), QStringLiteral(" 6"));

    // no key file: nothing happens at all
    m.w->setKeyFile(m.folder.path(QStringLiteral("nincs.txt")));
    money(*m.w);
    EXPECT_EQ(ui::seam::messages().size(), 2u);
    // and with the result list empty the chart button opens nothing
    m.w->SSCommand2->click();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(WinningsWindow, TwoLeadingBlanksScoreTheRealHits) {
    MoneyWindow m("  01 02 03 04 05 06 07 08\r\n");
    money(*m.w);
    EXPECT_EQ(m.w->List8->items(), (QStringList{QStringLiteral("2010 05 12 001    30"),
                                                QStringLiteral("2010 05 12 002    30"),
                                                QStringLiteral("2010 05 12 003    14")}));
    EXPECT_EQ(m.w->Label21->text(), QStringLiteral(" 74"));
}

TEST(WinningsWindow, EmptyPeriodEvaluatesNothing) {
    dz::testing::ProgramFolderFixture folder;
    folder.write(QStringLiteral("vevud.txt"), record(1, 1) + record(5, 2));
    folder.write(QStringLiteral("egy.txt"), "01 02 03 04 05 06 07 08\r\n");
    EvaluationWindow w(keyevalBuild());
    ASSERT_TRUE(w.Form_Load());
    w.setKeyFile(folder.path(QStringLiteral("egy.txt")));
    w.Check3[0]->setChecked(true);
    w.Text[8]->setText(QStringLiteral("2"));  // 2010.05.12 draws 2..4: none was drawn
    w.Text[9]->setText(QStringLiteral("4"));
    money(w);
    EXPECT_TRUE(ui::seam::messages().empty());
    EXPECT_EQ(w.List8->count(), 0);
    for (QLabel* l : {w.Label16, w.Label18, w.Label21}) EXPECT_EQ(l->text(), QStringLiteral(" 0"));
    EXPECT_EQ(w.Text[8]->text(), QStringLiteral("2"));
    EXPECT_EQ(w.Text[9]->text(), QStringLiteral("4"));
}

TEST(WinningsWindow, ChartButtonChartsTheResultList) {
    MoneyWindow m;
    money(*m.w);
    std::vector<long long> charted;
    QTimer safety;
    QObject::connect(&safety, &QTimer::timeout, [] {
        if (auto* modal = QApplication::activeModalWidget()) modal->close();
    });
    safety.start(10000);
    QTimer::singleShot(0, [&] {
        if (auto* chart = qobject_cast<ChartWindow*>(QApplication::activeModalWidget())) {
            charted = chart->view().values();
            QTest::mouseDClick(chart->Graph1, Qt::LeftButton);
        }
    });
    m.w->SSCommand2->click();
    EXPECT_EQ(charted, (std::vector<long long>{30, 30, 14}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
