#include "keyeval/core/evalbuild.h"
#include "common/core/keyfile.h"
#include "common/core/synth.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "common/platform/widgets.h"
#include "common/tests/testutil.h"
#include "common/tests/unreadable.h"
#include "common/tests/writerlessfifo.h"
#include "keyeval/ui/evaluationwindow.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <optional>
#include <gtest/gtest.h>

#include <array>
#include <memory>

using namespace dz;
using namespace dz::keyeval;
namespace seam = dz::ui::seam;

namespace {

std::string draw(int day, int drawNo, std::array<int, 8> numbers, int extra) {
    return drawRecordLine(2010, 5, day, drawNo, numbers.data(), extra) + "\r\n";
}

const std::string kRow = " 01 02 03 04 05 06 07 08 \r\n";

// A program folder with a draw file of three draws and two key files.
struct Folder : dz::testing::ProgramFolderFixture {
    explicit Folder(const Build& b = keyevalBuild()) : build(b) {
        write(b.drawFile, draw(11, 264, {1, 2, 3, 4, 5, 6, 7, 8}, 1) + draw(12, 1, {1, 2, 3, 4, 5, 6, 9, 10}, 2) +
                              draw(12, 5, {11, 12, 13, 14, 15, 16, 17, 18}, 3));
        write(QStringLiteral("kulcs.txt"), kRow + "01 02 03 04 05 06 19 20\r\n");
        write(QStringLiteral("hetes.txt"), "01 02 03 04 05 06 07\r\n");
    }
    std::unique_ptr<EvaluationWindow> open() {
        auto w = std::make_unique<EvaluationWindow>(build);
        w->setTextWidth([](const QString& s) { return int(s.size()) * 5; });
        EXPECT_TRUE(w->Form_Load());
        return w;
    }
    const Build& build;
};

void chooseKey(EvaluationWindow& w, const QString& name) {
    const QStringList shown = w.List4->items();
    for (int i = 0; i < shown.size(); ++i)
        if (shown[i].startsWith(name + QLatin1Char(' '))) return w.List4_Click(i);
    ADD_FAILURE() << "no entry " << name.toStdString();
}

void run(EvaluationWindow& w) {
    w.Command3D1_Click();
    ASSERT_TRUE(w.waitForRun());
}

void setPeriod(EvaluationWindow& w, std::array<const char*, 4> from, std::array<const char*, 4> to) {
    const int f[] = {1, 2, 3, 8}, t[] = {4, 5, 6, 9};
    for (int i = 0; i < 4; ++i) {
        w.Text[size_t(f[i])]->setText(QString::fromLatin1(from[size_t(i)]));
        w.Text[size_t(t[i])]->setText(QString::fromLatin1(to[size_t(i)]));
    }
}

}  // namespace

TEST(EvaluationWindowStart, ReadsTheDrawFileAndListsKeyFiles) {
    Folder fx;
    auto w = fx.open();
    EXPECT_EQ(w->Label13->text(), QStringLiteral("3"));
    EXPECT_EQ(w->Label10->text(), QStringLiteral(" 11 12 13 14 15 16 17 18 03"));
    for (int i : {1, 4}) EXPECT_EQ(w->Text[size_t(i)]->text(), QStringLiteral("2010"));
    for (int i : {2, 5}) EXPECT_EQ(w->Text[size_t(i)]->text(), QStringLiteral("5"));
    for (int i : {8, 9}) EXPECT_EQ(w->Text[size_t(i)]->text(), QStringLiteral("5"));
    EXPECT_EQ(w->Text[7]->text(), QStringLiteral("4"));
    ASSERT_EQ(w->List4->count(), 1);  // the 7-number key is left out
    EXPECT_TRUE(w->List4->item(0).startsWith(QStringLiteral("kulcs.txt ")));
    EXPECT_FALSE(w->Command3D4->isEnabled());
    EXPECT_EQ(w->windowTitle(), fx.build.caption);
    EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("Check3(2)"))->accessibleDescription(), QStringLiteral("Check3(2)"));
}

// No draw file, or a named pipe that no process writes in its place (the start must not wait
// on it): the program says so and ends.
TEST(EvaluationWindowStart, MissingDrawFileEndsTheProgram) {
    for (const Build* b : {&keyevalBuild(), &keyevalDayBuild()})
        for (const bool pipe : {false, true}) {
            SCOPED_TRACE(b->missingAtStart.toStdString() + (pipe ? " (named pipe)" : ""));
            dz::testing::ProgramFolderFixture fx;
            std::optional<dz::testing::WriterlessFifo> fifo;
            if (pipe) {
                fifo.emplace(fx.path(b->drawFile));
                ASSERT_TRUE(fifo->made());
            }
            EvaluationWindow w(*b);
            EXPECT_FALSE(w.Form_Load());
            if (fifo) {
                EXPECT_FALSE(fifo->released()) << "the start waited on the pipe";
            }
            ASSERT_EQ(seam::messages().size(), 1u);
            EXPECT_EQ(seam::messages()[0].text, b->missingAtStart);
            EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
            EXPECT_EQ(seam::messages()[0].icon, ui::Icon::Critical);
        }
    EXPECT_EQ(keyevalDayBuild().missingAtStart, QStringLiteral("Nincs *vevud.dat* napi-rész állomány !"));
    EXPECT_EQ(keyevalBuild().missingAtStart, QStringLiteral("Nincs *vevud.txt* állomány !"));
    EXPECT_EQ(keyevalBuild().caption, QStringLiteral("  DIZOV kulcs kiértékelés                              Vumo-Soft/2013"));
    EXPECT_EQ(keyevalDayBuild().caption, QStringLiteral("  DIZOV kulcs kiértékelés napi.                        Vumo-Soft/2013"));
}

TEST(EvaluationWindowStart, SecondStartRefused) {
    dz::testing::ProgramFolderFixture fx;
    auto first = ui::lockSingleInstance(QStringLiteral("keyevalday"));
    ASSERT_TRUE(first);
    EXPECT_FALSE(ui::lockSingleInstance(QStringLiteral("keyevalday")));
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("keyevalday márt fut ! "));
    EXPECT_EQ(seam::messages()[0].icon, ui::Icon::Warning);
}

TEST(EvaluationWindowRun, SingleDrawWithTwoExtraNumbers) {
    Folder fx;
    auto w = fx.open();
    chooseKey(*w, QStringLiteral("kulcs.txt"));
    EXPECT_EQ(w->keyFile(), fx.path(QStringLiteral("kulcs.txt")));
    setPeriod(*w, {"2010", "05", "12", "1"}, {"2010", "5", "12", "1"});
    w->Check3[1]->setChecked(true);  // extra number 2: the draw's own
    w->Check3[2]->setChecked(true);
    w->Text[7]->setText(QStringLiteral("0"));
    run(*w);
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_EQ(w->Text[7]->text(), QStringLiteral("4"));
    // Row 1 hits 6 (1..6), row 2 hits 8 (1..6 and the draw's 9, 10 are not in it: 6).
    // The hit list holds records (read here without turning them into strings).
    ASSERT_NE(dynamic_cast<const HitList*>(w->List3->source()), nullptr);
    EXPECT_EQ(allLines(*w->List3->source()), QStringList({"2010 05 12 001  *6+  1", "2010 05 12 001  *6    1",
                                                          "2010 05 12 001  *6+  2", "2010 05 12 001  *6    2"}));
    EXPECT_EQ(w->List1->items(), QStringList({"   01 02 03 04 05 06 07 08 ", "  01 02 03 04 05 06 19 20"}));
    ASSERT_EQ(w->List2->count(), 14);
    EXPECT_EQ(w->List2->item(0), QStringLiteral(" 0    0"));
    EXPECT_EQ(w->List2->item(8), QStringLiteral(" 6    2"));
    EXPECT_EQ(w->List2->item(9), QStringLiteral(" 6+  2"));
    EXPECT_EQ(w->Label1->text(), QStringLiteral(" 2"));
    EXPECT_EQ(w->Label11->text(), QStringLiteral("10"));
    EXPECT_EQ(w->Label14->text(), QStringLiteral("3"));
    EXPECT_EQ(w->Label5->text(), QStringLiteral(" 6"));
    EXPECT_EQ(w->Label7->text(), QStringLiteral(" 01 02 03 04 05 06"));
    EXPECT_EQ(w->Label10->text(), QStringLiteral(" 01 02 03 04 05 06 09 10 02"));
    // The run writes the draw numbers of the keys it used, as the keys hold them; the dates stay.
    EXPECT_EQ(w->Text[2]->text(), QStringLiteral("05"));
    EXPECT_EQ(w->Text[8]->text(), QStringLiteral("001"));
    EXPECT_EQ(w->Text[9]->text(), QStringLiteral("001"));
    EXPECT_TRUE(w->Command1->isEnabled());

    // A click on a tally line selects its class in the hit list.
    w->List2_Click(9);
    const auto sel = w->List3->selectionModel()->selectedRows();
    ASSERT_EQ(sel.size(), 2);
    EXPECT_EQ(sel[0].row() + sel[1].row(), 0 + 2);
    // "Találat" then "Húzás".
    w->Command1_Click();
    EXPECT_EQ(w->List3->item(0), QStringLiteral("2010 05 12 001  *6    1"));
    EXPECT_EQ(w->List3->item(3), QStringLiteral("2010 05 12 001  *6+  2"));
    EXPECT_EQ(w->List3->model()->index(1, 0).data().toString(), QStringLiteral("2010 05 12 001  *6    2"));
    w->List2_Click(8);  // the plain 6s, now the first two lines
    const auto plain = w->List3->selectionModel()->selectedRows();
    ASSERT_EQ(plain.size(), 2);
    EXPECT_EQ(plain[0].row() + plain[1].row(), 0 + 1);
    w->Command2_Click();
    EXPECT_EQ(w->List3->item(0), QStringLiteral("2010 05 12 001  *6    1"));
    EXPECT_EQ(w->List3->item(1), QStringLiteral("2010 05 12 001  *6    2"));
    EXPECT_NE(dynamic_cast<const HitList*>(w->List3->source()), nullptr);
}

TEST(EvaluationWindowRun, PeriodPastTheLastDrawIsReplaced) {
    Folder fx;
    auto w = fx.open();
    chooseKey(*w, QStringLiteral("kulcs.txt"));
    setPeriod(*w, {"2010", "5", "11", "1"}, {"2011", "1", "1", "1"});
    w->Check3[0]->setChecked(true);
    run(*w);
    EXPECT_EQ(w->Text[4]->text(), QStringLiteral("2010"));
    EXPECT_EQ(w->Text[5]->text(), QStringLiteral("5"));
    EXPECT_EQ(w->Text[6]->text(), QStringLiteral("12"));
    // The clamp writes the last draw's fields in plain form, and the end of the file keeps them.
    EXPECT_EQ(w->Text[9]->text(), QStringLiteral("5"));
    EXPECT_EQ(w->Text[8]->text(), QStringLiteral("264"));  // the first draw of the period, as its key holds it
    EXPECT_EQ(w->Label14->text(), QStringLiteral("3"));
    EXPECT_TRUE(w->Label5->text().isEmpty());
    EXPECT_TRUE(w->Label10->text().isEmpty());
    // 3 draws × 2 rows, one extra number: 6 plays; the first draw is 8 hits with its extra number.
    EXPECT_EQ(w->List3->item(0), QStringLiteral("2010 05 11 264  *8+  1"));
}

TEST(EvaluationWindowRun, ByteOrderMarksBeforeTheFirstLinesAreSkipped) {
    Folder fx;
    fx.write(fx.build.drawFile, "\xEF\xBB\xBF" + draw(11, 264, {1, 2, 3, 4, 5, 6, 7, 8}, 1) +
                                    draw(12, 1, {1, 2, 3, 4, 5, 6, 9, 10}, 2) +
                                    draw(12, 5, {11, 12, 13, 14, 15, 16, 17, 18}, 3));
    fx.write(QStringLiteral("bom.txt"), "\xEF\xBB\xBF" + kRow + "01 02 03 04 05 06 19 20\r\n");
    auto w = fx.open();
    chooseKey(*w, QStringLiteral("bom.txt"));
    setPeriod(*w, {"2010", "5", "11", "264"}, {"2010", "5", "12", "5"});
    w->Check3[0]->setChecked(true);
    run(*w);
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_EQ(w->Label1->text(), QStringLiteral(" 2"));
    EXPECT_EQ(w->Label14->text(), QStringLiteral("3"));
    ASSERT_GT(w->List3->count(), 0);
    EXPECT_EQ(w->List3->item(0), QStringLiteral("2010 05 11 264  *8+  1"));
    EXPECT_EQ(w->List1->item(0), QStringLiteral("   01 02 03 04 05 06 07 08 "));
}

TEST(EvaluationWindowRun, MessagesThatEndARun) {
    Folder fx;
    auto w = fx.open();
    w->Command3D1_Click();  // no key chosen: nothing
    EXPECT_TRUE(seam::messages().empty());

    chooseKey(*w, QStringLiteral("kulcs.txt"));
    w->Command3D1_Click();
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Nincs pótszám megadva !"));
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));

    w->Check3[3]->setChecked(true);
    setPeriod(*w, {"2010", "5", "12", "5"}, {"2010", "5", "12", "1"});
    w->Command3D1_Click();
    ASSERT_EQ(seam::messages().size(), 2u);
    EXPECT_EQ(seam::messages()[1].text, QStringLiteral("Hibás tól-; ig- beállítás !"));
    EXPECT_FALSE(w->busy());

    // A 7-number row stops the run: the rows before it stay listed, no tallies.
    fx.write(QStringLiteral("bad.txt"), kRow + "01 02 03 04 05 06 07\r\n" + kRow);
    w->setKeyFile(fx.path(QStringLiteral("bad.txt")));
    setPeriod(*w, {"2010", "5", "11", "264"}, {"2010", "5", "12", "5"});
    run(*w);
    ASSERT_EQ(seam::messages().size(), 3u);
    EXPECT_EQ(seam::messages()[2].text, QStringLiteral("Hibás kulcsformátum !"));
    EXPECT_EQ(seam::messages()[2].icon, ui::Icon::Critical);
    EXPECT_EQ(w->List1->count(), 1);
    EXPECT_EQ(w->List3->items(), QStringList({"2010 05 11 264  *8    1"}));
    EXPECT_EQ(w->List2->count(), 0);
    EXPECT_TRUE(w->Label1->text().isEmpty());

    // The same when the first line is the bad one (the key file list leaves such a file out,
    // the dialog takes it).
    w->setKeyFile(fx.path(QStringLiteral("hetes.txt")));
    run(*w);
    ASSERT_EQ(seam::messages().size(), 4u);
    EXPECT_EQ(seam::messages()[3].text, QStringLiteral("Hibás kulcsformátum !"));
    EXPECT_EQ(w->List1->count(), 0);
    EXPECT_EQ(w->List3->count(), 0);
}

TEST(EvaluationWindowRun, EmptyPeriodEvaluatesNothing) {
    Folder fx;
    auto w = fx.open();
    chooseKey(*w, QStringLiteral("kulcs.txt"));
    w->Check3[0]->setChecked(true);
    setPeriod(*w, {"2010", "5", "12", "2"}, {"2010", "5", "12", "4"});
    run(*w);
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_EQ(w->List3->count(), 0);
    EXPECT_EQ(w->List1->count(), 0);
    ASSERT_EQ(w->List2->count(), 14);
    EXPECT_EQ(w->List2->item(0), QStringLiteral(" 0    0"));
    EXPECT_EQ(w->Label1->text(), QStringLiteral(" 0"));
    EXPECT_EQ(w->Label11->text(), QStringLiteral("0"));
    EXPECT_EQ(w->Text[8]->text(), QStringLiteral("2"));  // no draw was used: the boxes stay
    EXPECT_EQ(w->Text[9]->text(), QStringLiteral("4"));
}

TEST(EvaluationWindowRun, PartialDayDrawFileGoneAtRun) {
    Folder fx(keyevalDayBuild());
    auto w = fx.open();
    chooseKey(*w, QStringLiteral("kulcs.txt"));
    w->Check3[0]->setChecked(true);
    QFile::remove(fx.path(QStringLiteral("vevud.dat")));
    w->Command3D1_Click();
    EXPECT_FALSE(w->busy());
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Nincs napi-rész DIZOV állomány!"));
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2018"));
}

TEST(EvaluationWindowRun, ManyListedLinesDisableTheViews) {
    Folder fx;
    std::string key;
    for (int i = 0; i < 32737; ++i) key += "01 02 03 04 05 06 07 08\r\n";
    fx.write(QStringLiteral("big.txt"), key);
    auto w = fx.open();
    w->setKeyFile(fx.path(QStringLiteral("big.txt")));
    w->Check3[0]->setChecked(true);
    w->Check3[1]->setChecked(true);
    setPeriod(*w, {"2010", "5", "11", "264"}, {"2010", "5", "11", "264"});
    run(*w);
    // A key holds the row limit's rows: the run reads no row past them, as the key choice loads none.
    EXPECT_EQ(w->List3->count(), 2 * 32736);
    EXPECT_EQ(w->List1->count(), 32736);
    EXPECT_EQ(w->Label1->text(), QStringLiteral(" 32736"));
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_FALSE(w->Command2->isEnabled());
}

// Both evaluations run on the worker: clicks are ignored meanwhile (the buttons that start work
// and the spin buttons disabled, the lists and boxes through the gate), the progress label follows,
// and the close box ("Vége" alike) stops the run before the window goes.
TEST(EvaluationWindowRun, CloseDuringARunStopsIt) {
    dz::testing::ProgramFolderFixture fx;
    std::string rows;
    for (int i = 0; i < 32736; ++i) rows += "01 02 03 04 05 06 07 08\r\n";
    fx.write(QStringLiteral("k.txt"), rows);
    for (const bool winnings : {false, true}) {
        SCOPED_TRACE(winnings ? "Kiértékelés hozamra" : "Kezdés");
        // A run has to last past the first progress report: on a fast machine a history four times
        // as long is tried until one does.
        bool caught = false;
        for (size_t draws = 300000; draws <= 4800000 && !caught; draws *= 4) {
            fx.write(QStringLiteral("vevud.txt"), synthDrawHistory(draws));
            EvaluationWindow w(keyevalBuild());
            ASSERT_TRUE(w.Form_Load());
            w.setKeyFile(fx.path(QStringLiteral("k.txt")));
            for (QCheckBox* c : w.Check3) c->setChecked(true);
            w.Text[1]->setText(QStringLiteral("2000"));  // the whole history
            w.Text[4]->setText(QStringLiteral("2100"));
            if (winnings) w.SSCommand1_Click();
            else w.Command3D1_Click();
            ASSERT_TRUE(w.busy());
            // Clicks during the run are ignored.
            const QString key = w.keyFile(), to = w.Text[4]->text(), row = w.Label2->text();
            const int files = w.List4->count();
            ASSERT_GT(files, 0);
            for (QPushButton* b : {w.Command3D1, w.Command1, w.Command2, w.Command3D3, w.Command3D4, w.Command3D5,
                                   w.SSCommand1, w.SSCommand2})
                b->click();
            w.List4->setListIndex(0);
            QTest::keyRelease(w.List4, Qt::Key_Delete);
            QTest::mouseClick(w.Spin[1]->upButton(), Qt::LeftButton);
            QTest::mouseDClick(w.Text[4], Qt::LeftButton);
            emit w.List4->itemDoubleClicked(0);
            emit w.List1->itemClicked(3);
            EXPECT_EQ(w.Text[1]->text(), QStringLiteral("2010"));
            EXPECT_EQ(w.Text[4]->text(), to);
            EXPECT_EQ(w.keyFile(), key);
            EXPECT_EQ(w.Label2->text(), row);
            EXPECT_EQ(w.List4->count(), files);
            EXPECT_TRUE(seam::messages().empty());
            EXPECT_TRUE(w.Command3D2->isEnabled());
            // The progress label follows the run.
            QElapsedTimer t;
            t.start();
            while (w.busy() && w.Label14->text().toLongLong() == 0 && t.elapsed() < 5000)
                QApplication::processEvents(QEventLoop::AllEvents, 20);
            if (!w.busy()) continue;  // over before its first report: a longer history
            caught = true;
            EXPECT_GT(w.Label14->text().toLongLong(), 0);
            t.restart();
            if (winnings) w.Command3D2->click();
            else w.close();
            QApplication::processEvents();
            EXPECT_FALSE(w.busy());
            // The disabled controls are as they were before the run.
            EXPECT_TRUE(w.Command3D1->isEnabled());
            EXPECT_FALSE(w.Command3D4->isEnabled());
            EXPECT_TRUE(w.Command3D5->isEnabled());
            EXPECT_TRUE(w.Spin[1]->isEnabled());
            // Closing ends the run within a few hundredths (the bound leaves room for a loaded
            // machine running the test cases side by side).
            EXPECT_LT(t.elapsed(), 1500);
            EXPECT_EQ(w.List8->count(), 0);
            EXPECT_TRUE(w.Label16->text().isEmpty());
        }
        EXPECT_TRUE(caught) << "no run lasted past its first progress report";
    }
}

// A key deep in folders: the label shows its name capped, the run reads the file by its full name.
TEST(EvaluationWindowKeys, ALongPathIsShownCappedAndRunWhole) {
    Folder fx;
    auto w = fx.open();
    QString deep = fx.dir.path();
    while (deep.size() <= 3 * dz::kQuoted) deep += QStringLiteral("/mappa-") + QString(40, QLatin1Char('m'));
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString path = deep + QStringLiteral("/kulcs.txt");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kRow.c_str());
    }
    seam::queueFile(path);
    w->Command3D3_Click();
    EXPECT_EQ(w->keyFile(), path);
    EXPECT_EQ(w->Label8->text(), dz::quotedPath(path));
    EXPECT_LE(w->Label8->text().size(), dz::kQuoted + 3);
    EXPECT_TRUE(w->Label8->text().endsWith(QStringLiteral("/kulcs.txt")));
    setPeriod(*w, {"2010", "05", "12", "1"}, {"2010", "5", "12", "1"});
    w->Check3[1]->setChecked(true);
    run(*w);
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_EQ(allLines(*w->List3->source()), QStringList({"2010 05 12 001  *6+  1"}));
}

TEST(EvaluationWindowKeys, ChoiceThroughTheDialog) {
    Folder fx;
    auto w = fx.open();
    const QString other = fx.path(QStringLiteral("sub"));
    QDir().mkpath(other);
    std::string rows;
    for (int i = 0; i < 10; ++i) rows += kRow;
    fx.write(QStringLiteral("sub/ten.txt"), rows + "\r\n" + kRow);
    ASSERT_TRUE(key::writeLastKeyPointer(fx.dir.path(), other + QStringLiteral("/ten.txt")));
    seam::queueFile(other + QStringLiteral("/ten.txt"));
    w->Command3D3_Click();
    ASSERT_EQ(seam::fileDialogs().size(), 1u);
    EXPECT_EQ(seam::fileDialogs()[0].startFolder, other);
    EXPECT_EQ(seam::fileDialogs()[0].fileName, QStringLiteral("ten.txt"));
    EXPECT_EQ(w->keyFile(), other + QStringLiteral("/ten.txt"));
    EXPECT_EQ(w->Label8->text(), w->keyFile());  // a short name shows whole
    EXPECT_EQ(w->List1->count(), 10);
    EXPECT_EQ(w->Label2->text(), QStringLiteral(" 10"));
    w->List1_Click(3);
    EXPECT_EQ(w->Label2->text(), QStringLiteral("4"));

    // Over the limit: 32736 rows and the message.
    std::string big;
    for (int i = 0; i < 32737; ++i) big += "01 02 03 04 05 06 07 08\r\n";
    fx.write(QStringLiteral("big.txt"), big);
    seam::queueFile(fx.path(QStringLiteral("big.txt")));
    w->Command3D3_Click();
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Maximum 32736 sorú kulcs tölthető be!"));
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("(Vumo-Soft/2010"));
    EXPECT_EQ(w->Label2->text(), QStringLiteral(" 32736"));

    // Cancel changes nothing: the key chosen, its rows, its count.
    seam::queueFile(std::nullopt);
    w->Command3D3_Click();
    EXPECT_EQ(w->keyFile(), fx.path(QStringLiteral("big.txt")));
    EXPECT_EQ(w->List1->count(), 32736);
    EXPECT_EQ(w->Label2->text(), QStringLiteral(" 32736"));
    EXPECT_EQ(seam::messages().size(), 1u);
}

TEST(EvaluationWindowKeys, ChosenFilesThatCannotBeReadOrAreNoKeyKeepTheKeyAndSaySo) {
    // A pipe, a device, a folder, an unreadable or missing file: "Hibás file megnyitás !"; a line
    // longer than any key row: "Hibás kulcsformátum !". The key chosen, its rows, its count and
    // its name stay, in both programs.
    for (const Build* b : {&keyevalBuild(), &keyevalDayBuild()}) {
        SCOPED_TRACE(b->exeName.toStdString());
        Folder fx(*b);
        auto w = fx.open();
        seam::queueFile(fx.path(QStringLiteral("kulcs.txt")));
        w->Command3D3_Click();
        auto state = [&] {
            return QStringList{w->keyFile(), w->Label8->text(), w->Label2->text(), w->List1->items().join(QLatin1Char('|'))};
        };
        const QStringList chosen = state();
        ASSERT_EQ(w->List1->count(), 2);
        auto refused = [&](const QString& path, const QString& message) {
            dz::testing::expectRefusedLoad(path, [&] { w->Command3D3_Click(); }, message, state, chosen);
        };
        dz::testing::forEachUnreadable(fx.dir.path(), [&](const QString& path) {
            refused(path, QStringLiteral("Hibás file megnyitás !"));
        });
        fx.write(QStringLiteral("long.txt"), dz::testing::keyWithALongLine());
        refused(fx.path(QStringLiteral("long.txt")), QStringLiteral("Hibás kulcsformátum !"));
        fx.write(QStringLiteral("nul.txt"), std::string(8 << 20, '\0'));
        refused(fx.path(QStringLiteral("nul.txt")), QStringLiteral("Hibás kulcsformátum !"));

        // A key chosen from the list and then replaced by a pipe: "Kezdés" does nothing, at once.
        seam::reset();
        w->Check3[0]->setChecked(true);
        dz::testing::WriterlessFifo fifo(fx.path(QStringLiteral("kulcs.txt")));
        w->setKeyFile(fx.path(QStringLiteral("kulcs.txt")));
        run(*w);
        EXPECT_FALSE(fifo.released());
        EXPECT_TRUE(seam::messages().empty());
        EXPECT_EQ(w->List1->count(), 2);
    }
}

TEST(EvaluationWindowKeys, DeleteAndViews) {
    Folder fx;
    fx.write(QStringLiteral("Alpha.txt"), kRow);
    fx.write(QStringLiteral("beta.txt"), kRow);
    auto w = fx.open();
    ASSERT_EQ(w->List4->count(), 3);

    // Date view (equal dates, names in mixed case): every entry opens the file it shows.
    w->Command3D5_Click();
    EXPECT_TRUE(w->keyFile().isEmpty());
    EXPECT_TRUE(w->Command3D4->isEnabled());
    for (int i = 0; i < 3; ++i) {
        w->List4_Click(i);
        const QString name = QFileInfo(w->keyFile()).fileName();
        EXPECT_TRUE(w->List4->item(i).startsWith(name.toLower() + QLatin1Char(' '))) << w->List4->item(i).toStdString();
        EXPECT_TRUE(QFile::exists(w->keyFile()));
    }
    w->List4->setListIndex(0);
    QTest::keyClick(w->List4, Qt::Key_Delete);
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Csak NÉV szerinti rendezettségnél törölhet !"));
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2011"));
    EXPECT_EQ(w->List4->count(), 3);

    // Name view: the two selected go, the first remaining is chosen.
    w->Command3D4_Click();
    auto* sm = w->List4->selectionModel();
    sm->select(w->List4->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    sm->select(w->List4->model()->index(1, 0), QItemSelectionModel::Select);
    QTest::keyClick(w->List4, Qt::Key_Delete);
    ASSERT_EQ(w->List4->count(), 1);
    EXPECT_TRUE(w->List4->item(0).startsWith(QStringLiteral("kulcs.txt ")));
    EXPECT_EQ(w->keyFile(), fx.path(QStringLiteral("kulcs.txt")));
    w->Command3D5_Click();
    ASSERT_EQ(w->List4->count(), 1);
    w->List4_Click(0);
    EXPECT_EQ(w->keyFile(), fx.path(QStringLiteral("kulcs.txt")));
    EXPECT_TRUE(QFile::exists(fx.path(QStringLiteral("Alpha.txt"))));
}

TEST(EvaluationWindowKeys, SpinButtonsAndDoubleClicks) {
    Folder fx;
    auto w = fx.open();
    w->Text[2]->setText(QStringLiteral("12"));
    w->spinUp(2);
    EXPECT_EQ(w->Text[2]->text(), QStringLiteral("12"));
    w->Text[3]->setText(QStringLiteral("1"));
    w->spinDown(3);
    EXPECT_EQ(w->Text[3]->text(), QStringLiteral("1"));
    w->spinUp(7);  // Text8 holds 5
    EXPECT_EQ(w->Text[8]->text(), QStringLiteral("6"));
    w->Text[9]->setText(QStringLiteral("264"));
    w->spinUp(8);
    EXPECT_EQ(w->Text[9]->text(), QStringLiteral("264"));
    w->spinDown(1);  // the first draw's year
    EXPECT_EQ(w->Text[1]->text(), QStringLiteral("2010"));
    QTest::mouseClick(w->Spin[4]->downButton(), Qt::LeftButton);
    EXPECT_EQ(w->Text[4]->text(), QStringLiteral("2010"));
    QTest::mouseDClick(w->Text[7], Qt::LeftButton);
    EXPECT_TRUE(w->Text[7]->text().isEmpty());
}

// Files that break their layout: an empty draw file ends both runs quietly, a key that is no key
// (ragged rows, binary bytes) stops them with the format message, and nothing crashes.
TEST(EvaluationWindowBadFiles, EmptyDrawFileAndKeysThatAreNoKeys) {
    for (const Build* b : {&keyevalBuild(), &keyevalDayBuild()}) {
        SCOPED_TRACE(b->exeName.toStdString());
        dz::testing::ProgramFolderFixture fx;
        fx.write(b->drawFile, "");
        fx.write(QStringLiteral("kulcs.txt"), kRow);
        EvaluationWindow w(*b);
        ASSERT_TRUE(w.Form_Load());
        EXPECT_EQ(w.Label13->text(), QStringLiteral("0"));
        EXPECT_EQ(w.Text[4]->text(), QStringLiteral("0"));
        w.setKeyFile(fx.path(QStringLiteral("kulcs.txt")));
        w.Check3[0]->setChecked(true);
        run(w);
        w.SSCommand1_Click();
        ASSERT_TRUE(w.waitForRun());
        EXPECT_TRUE(seam::messages().empty());
        EXPECT_EQ(w.List2->count(), 0);
        EXPECT_EQ(w.List8->count(), 0);
        EXPECT_TRUE(w.Label16->text().isEmpty());
    }

    Folder fx;
    // A garbage line and an empty line among the draws: they are read and score nothing.
    fx.write(fx.build.drawFile, draw(11, 264, {1, 2, 3, 4, 5, 6, 7, 8}, 1) + "garbage\r\n\r\n" +
                                    draw(12, 5, {11, 12, 13, 14, 15, 16, 17, 18}, 3));
    std::string binary;
    for (int i = 0; i < 70000; ++i) binary += char((i * 7919) % 256);
    const std::pair<const char*, std::string> keys[] = {
        {"ragged", kRow + "01 02 03 04 05 06 07 08 09\r\n" + kRow},
        {"lone CR", "01 02 03 04 05 06 07 08\n01 02\r01 02 03 04 05 06 07 08\n"},
        {"binary", binary},
    };
    auto w = fx.open();
    w->Check3[0]->setChecked(true);
    w->Text[1]->setText(QStringLiteral("2000"));
    for (const auto& [name, bytes] : keys) {
        SCOPED_TRACE(name);
        seam::reset();
        fx.write(QStringLiteral("bad.txt"), bytes);
        w->setKeyFile(fx.path(QStringLiteral("bad.txt")));
        run(*w);
        w->SSCommand1_Click();
        ASSERT_TRUE(w->waitForRun());
        ASSERT_EQ(seam::messages().size(), 2u);
        for (const auto& m : seam::messages()) EXPECT_EQ(m.text, QStringLiteral("Hibás kulcsformátum !"));
        EXPECT_EQ(w->List2->count(), 0);
        // The dialog loads whatever items the file holds, unchecked.
        seam::queueFile(fx.path(QStringLiteral("bad.txt")));
        w->Command3D3_Click();
        EXPECT_EQ(w->Label2->text(), str(w->List1->count()));
    }
}

// Every run reads the draw file again: a file replaced by another program with one of the same
// size and modification time (as cuts of the last draws are) gives the new file's results.
TEST(EvaluationWindowRun, ReadsTheDrawFileAgainAtEveryRun) {
    Folder fx;
    auto w = fx.open();
    chooseKey(*w, QStringLiteral("kulcs.txt"));
    w->Check3[0]->setChecked(true);
    setPeriod(*w, {"2010", "5", "11", "264"}, {"2010", "5", "12", "5"});
    run(*w);
    const QStringList before = w->List2->items();

    const QString path = fx.path(QStringLiteral("vevud.txt"));
    const QDateTime stamp = QFileInfo(path).lastModified();
    const qint64 size = QFileInfo(path).size();
    fx.write(QStringLiteral("vevud.txt"), draw(11, 264, {11, 12, 13, 14, 15, 16, 17, 18}, 1) +
                                              draw(12, 1, {11, 12, 13, 14, 15, 16, 17, 18}, 2) +
                                              draw(12, 5, {11, 12, 13, 14, 15, 16, 17, 18}, 3));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    ASSERT_EQ(QFileInfo(path).size(), size);
    ASSERT_EQ(QFileInfo(path).lastModified(), stamp);
    run(*w);
    EXPECT_NE(w->List2->items(), before);
    EXPECT_EQ(w->List3->count(), 0);  // no row hits 4 of 11..18
    EXPECT_EQ(w->List2->items()[0], QStringLiteral(" 0    4"));  // two draws without a plus play, two rows
}
