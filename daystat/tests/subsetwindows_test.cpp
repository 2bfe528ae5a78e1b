// daystat's five subset windows: drawstat's window over "vevud.dat" and the ".dat" files, without
// life path, latest-draw label or least-drawn lists.
#include "daystat/core/profile.h"
#include "drawstat/core/state.h"
#include "drawstat/core/subsetfile.h"
#include "drawstat/core/subsetlists.h"
#include "common/core/synth.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/tests/testutil.h"
#include "drawstat/ui/mainwindow.h"
#include "drawstat/ui/subsetwindow.h"
#include "daystat/ui/cutrange.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using dz::drawstat::CounterFile;
using dz::drawstat::SubsetWindow;
using dz::drawstat::zeroedCounterFile;
using dz::ui::seam::messages;

namespace {

std::string line(int day, int drawNo, std::array<int, 8> d) {
    return dz::drawRecordLine(2010, 5, day, drawNo, d.data(), 1) + "\r\n";
}

const QString kFirstRun = QStringLiteral("Indítsa először az *Ujragenerálást* !");

struct DaystatSubsetTest : ::testing::Test {
    dz::testing::ProgramFolderFixture folder;
    DaystatSubsetTest() {
        dz::drawstat::resetState(dz::daystat::profile());
        dz::ui::seam::enable();
    }
    ~DaystatSubsetTest() override { dz::drawstat::testing::resetState(); }

    void writeCounter(int k, const std::function<int(int)>& count) {
        CounterFile c = *CounterFile::fromBytes(k, zeroedCounterFile(k));
        for (int r = 1; r <= c.records(); ++r)
            if (int n = count(r)) c.setRecord(r, n, "20100506 001");
        c.save(folder.path(QStringLiteral("vevud%1.dat").arg(k)));
    }
    void writeLines(const QString& name, const QStringList& lines) { dz::writeLines(folder.path(name), lines); }
    QStringList lines(const QString& name) { return dz::readLines(folder.path(name)).value_or(QStringList{"<missing>"}); }
    QString lastMessage() const { return messages().empty() ? QString() : messages().back().text; }
    CounterFile counter(int k) {
        CounterFile c;
        EXPECT_EQ(CounterFile::load(folder.path(QStringLiteral("vevud%1.dat").arg(k)), k, c), CounterFile::Status::Ok);
        return c;
    }
};

QStringList visibleRight(const SubsetWindow& w) {
    QStringList out;
    for (auto* l : w.List2)
        if (l->isVisibleTo(&w)) out << l->objectName();
    return out;
}

}  // namespace

TEST_F(DaystatSubsetTest, MenuOpensTheReducedWindowsOverTheDatFilesOnly) {
    // drawstat's files of the same sizes lie beside them and are never read
    writeLines("legt7.txt", {"drawstat"});
    writeLines("legk7.txt", {"drawstat least"});
    writeLines("utolso7.txt", {"20100506 001"});
    writeLines("legt7.dat", {"    2 - b", "    1 - a"});
    dz::drawstat::MainWindow main;
    dz::daystat::addValogatMenu(main);
    struct Expect {
        const char* item;
        QString caption;
        size_t lists;  // List2 elements: the pages only
    };
    const std::vector<Expect> items{
        {"nyolc", "  Szám 8-sok statisztikája." + QString(68, ' ') + "Vumo-Soft/2010", 4},
        {"het", "  Szám 7-sek statisztikája." + QString(69, ' ') + "Vumo-Soft/2010", 3},
        {"hat", "  Szám 6-sok statisztikája." + QString(69, ' ') + "Vumo-Soft/2010", 2},
        {"ot", "  Szám 5-sok statisztikája." + QString(68, ' ') + "Vumo-Soft/2010", 1},
        {"negy", "  Szám 4-sek statisztikája." + QString(68, ' ') + "Vumo-Soft/2010", 1}};
    for (const Expect& e : items) {
        ASSERT_TRUE(main.action(e.item)->isVisible()) << e.item;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<SubsetWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            seen = true;
            EXPECT_EQ(w->windowTitle(), e.caption);
            EXPECT_EQ(w->SSCommand1, nullptr);
            EXPECT_EQ(w->SSCheck1, nullptr);
            EXPECT_EQ(w->Label3, nullptr);
            EXPECT_EQ(w->List3, nullptr);
            EXPECT_EQ(w->List2.size(), e.lists);
            EXPECT_EQ(w->option(int(e.lists)), nullptr);
            if (e.lists > 1) EXPECT_NE(w->option(int(e.lists) - 1), nullptr);
            else EXPECT_EQ(w->option(0), nullptr);
            if (e.lists == 3) {
                // hetes: its own list file only, sorted; the hint without a trailing blank
                EXPECT_EQ(w->List1->items(), (QStringList{"    1 - a", "    2 - b"}));
                EXPECT_EQ(w->List1->toolTip(), " 2");
                for (auto* l : w->List2) EXPECT_EQ(l->count(), 0);
            } else {
                EXPECT_EQ(w->List1->count(), 0);
            }
            w->Command3D5->click();
        });
        main.action(e.item)->trigger();
        EXPECT_TRUE(seen) << e.item;
    }
    EXPECT_TRUE(messages().empty());
    // a separate window from drawstat's of the same size
    EXPECT_NE(SubsetWindow::instance(dz::daystat::subsetProfile(4)), nullptr);
    EXPECT_EQ(SubsetWindow::instance(dz::drawstat::drawstatSubsetProfile(4)), nullptr);
}

TEST_F(DaystatSubsetTest, RegenerationCountInAndMostDrawnWorkOnTheDatSet) {
    SubsetWindow w(dz::daystat::subsetProfile(4));
    w.Check3D1->setChecked(true);
    dz::ui::seam::queueAnswer(dz::ui::Answer::Ok);
    w.Command3D1->click();
    EXPECT_EQ(lastMessage(), "Biztos, hogy törölni akarja a (rész-napi) szám-négyesek állományát ?");
    EXPECT_EQ(folder.read("vevud4.dat"), zeroedCounterFile(4));
    EXPECT_EQ(w.Label1->text(), "4846");

    // right after regeneration: an empty list, an empty file, the hint " 0"
    writeLines("legt4.dat", {"old"});
    w.Command3D3->click();
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_EQ(folder.read("legt4.dat"), "");
    EXPECT_EQ(w.List1->toolTip(), " 0");

    w.Command3D2->click();
    EXPECT_EQ(lastMessage(), "Nincs (napi-rész) *Dizov* állomány !");
    EXPECT_EQ(messages().back().icon, dz::ui::Icon::Critical);
    EXPECT_EQ(folder.read("vevud4.dat"), zeroedCounterFile(4));

    // counted without progress: Label2 keeps what it showed
    folder.write("vevud.dat", line(6, 1, {1, 2, 3, 4, 5, 6, 7, 8}) + line(6, 2, {1, 2, 3, 4, 9, 10, 11, 12}));
    folder.write("vevud.txt", line(6, 3, {13, 14, 15, 16, 17, 18, 19, 20}));  // drawstat's history: not read
    w.Label2->setText("x");
    w.Command3D2->click();
    EXPECT_EQ(w.Label2->text(), "x");
    EXPECT_EQ(counter(4).count(1), 2);
    EXPECT_EQ(counter(4).highWaterKey(), "20100506 002");
    w.Command3D3->click();
    ASSERT_EQ(w.List1->count(), 139);
    EXPECT_EQ(w.List1->item(138), "    2 - 01 02 03 04  - 20100506 002");
    EXPECT_EQ(w.List1->toolTip(), " 139");
    EXPECT_EQ(lines("legt4.dat"), w.List1->items());
    for (const char* none : {"utolso4.dat", "utolso4.txt", "vevud4.txt", "legt4.txt", "legk7.dat"})
        EXPECT_FALSE(QFile::exists(folder.path(none))) << none;

    // the messages of a missing counter file
    const std::vector<std::tuple<int, QString, QString>> missing{
        {8, "Nincs a számnyolcas állomány begenerálva !", "Nincs a számnyolcas állomány begenerálva !"},
        {5, "Nincs a számötös állomány begenerálva !", "Nincs a számötösök állomány begenerálva !"}};
    for (const auto& [k, countIn, mostDrawn] : missing) {
        SubsetWindow m(dz::daystat::subsetProfile(k));
        m.List1->setItems({"kept"});
        m.Command3D2->click();
        EXPECT_EQ(lastMessage(), countIn + "\r" + kFirstRun);
        m.Command3D3->click();
        EXPECT_EQ(lastMessage(), mostDrawn + "\r" + kFirstRun);
        EXPECT_EQ(m.List1->items(), QStringList{"kept"});
        m.Command3D4->click();
        EXPECT_EQ(lastMessage(), countIn + "\r" + kFirstRun);
    }
}

TEST_F(DaystatSubsetTest, HighWaterKeyNeverGoesDownAcrossCuts) {
    writeCounter(8, [](int) { return 0; });
    SubsetWindow w(dz::daystat::subsetProfile(8));
    const auto a = std::array<int, 8>{1, 2, 3, 4, 5, 6, 7, 8};
    const int ra = dz::drawstat::testing::subsetRank(8, a.data());
    // a later stretch first
    folder.write("vevud.dat", line(7, 1, a) + line(7, 2, a));
    w.Command3D2->click();
    EXPECT_EQ(counter(8).count(ra), 2);
    EXPECT_EQ(counter(8).highWaterKey(), "20100507 002");
    // a cut from an earlier stretch counts nothing and does not lower the key
    folder.write("vevud.dat", line(6, 1, a) + line(6, 2, a));
    w.Command3D2->click();
    EXPECT_EQ(counter(8).highWaterKey(), "20100507 002");
    // so the later stretch again counts nothing twice
    folder.write("vevud.dat", line(7, 1, a) + line(7, 2, a));
    w.Command3D2->click();
    EXPECT_EQ(counter(8).count(ra), 2);
    // a cut that begins below the key and ends above it: only the draws above it
    folder.write("vevud.dat", line(7, 2, a) + line(7, 3, a) + line(8, 1, a) + "junk\r\n");
    w.Command3D2->click();
    const CounterFile c = counter(8);
    EXPECT_EQ(c.count(ra), 4);
    EXPECT_EQ(c.keyField(ra), "20100508 001");
    EXPECT_EQ(c.highWaterKey(), "20100508 001");
    // each counted draw raised exactly one record
    long long total = 0;
    for (int r = 1; r <= c.records(); ++r) total += c.count(r);
    EXPECT_EQ(total, 4);
    // an empty file leaves the trailer
    folder.write("vevud.dat", "");
    w.Command3D2->click();
    EXPECT_EQ(counter(8).highWaterKey(), "20100508 001");
}

TEST_F(DaystatSubsetTest, MostDrawnKeepsTheTrueTop32736ForEverySize) {
    // every 7-subset drawn, counts spread: the threshold list is the top of the sorted order
    writeCounter(7, [](int r) { return 1 + (r * 7919) % 97; });
    SubsetWindow w(dz::daystat::subsetProfile(7));
    w.Command3D3->click();
    ASSERT_EQ(w.List1->count(), 32736);
    const CounterFile c = counter(7);
    EXPECT_EQ(w.List1->items(), dz::allLines(*dz::drawstat::testing::mostDrawn(c, dz::drawstat::drawstatSubsetProfile(7)).rows));
    EXPECT_EQ(w.List1->toolTip(), " 32736");
    EXPECT_EQ(lines("legt7.dat").size(), 32736);
    EXPECT_EQ(w.List2[0]->count(), 0);  // no least-drawn pages
    EXPECT_FALSE(QFile::exists(folder.path("legk7.dat")));
}

TEST_F(DaystatSubsetTest, NeverDrawnKeepsThePageInViewAndHasNoFallback) {
    writeCounter(8, [](int r) { return r == 1 ? 3 : 0; });
    SubsetWindow w8(dz::daystat::subsetProfile(8));
    w8.option(2)->click();
    ASSERT_EQ(visibleRight(w8), QStringList{"List2(2)"});
    w8.Command3D4->click();
    EXPECT_EQ(visibleRight(w8), QStringList{"List2(2)"});
    EXPECT_EQ(w8.Option1->chosen(), 2);
    EXPECT_EQ(w8.List2[0]->item(0), "01 02 03 04 05 06 07 09 ");  // no leading blank
    EXPECT_EQ(w8.List2[3]->count(), 125969 - 3 * 32736);
    EXPECT_EQ(w8.Label2->text(), "125969");
    // L on a page: the first export of the run, "lista001.dat", said so
    QTest::keyClick(w8.List2[2], Qt::Key_L);
    EXPECT_EQ(lines("lista001.dat"), w8.List2[2]->items());
    EXPECT_TRUE(lastMessage().endsWith("001.dat file-ba történt !")) << lastMessage().toStdString();

    // hatos with every subset drawn: empty disabled pages, "0", the caption kept
    writeCounter(6, [](int) { return 1; });
    SubsetWindow w6(dz::daystat::subsetProfile(6));
    w6.List2[1]->setItems({"old"});
    w6.Command3D4->click();
    EXPECT_EQ(w6.Label2->text(), "0");
    EXPECT_EQ(w6.Command3D4->text(), "Nemhúzottak");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w6.List2[size_t(i)]->count(), 0);
        EXPECT_FALSE(w6.List2[size_t(i)]->isEnabled());
        EXPECT_FALSE(w6.option(i)->isEnabled());
    }
    // a later listing that fills a page enables it again
    writeCounter(6, [](int r) { return r > 2 ? 1 : 0; });
    w6.Command3D4->click();
    EXPECT_TRUE(w6.List2[0]->isEnabled() && w6.option(0)->isEnabled());
    EXPECT_EQ(w6.Label2->text(), "2");

    // the single list neither hides nor shows
    writeCounter(5, [](int r) { return r == 1 ? 0 : 1; });
    SubsetWindow w5(dz::daystat::subsetProfile(5));
    w5.List2[0]->hide();
    w5.Command3D4->click();
    EXPECT_EQ(w5.List2[0]->items(), QStringList{"01 02 03 04 05 "});
    EXPECT_FALSE(w5.List2[0]->isVisibleTo(&w5));
}

TEST_F(DaystatSubsetTest, BadDatFilesNeitherCrashNorCount) {
    // stray bytes, a huge line, NULs and short lines in every file a window reads
    std::string junk = "\xEF\xBB\xBF" + std::string(70000, 'x') + "\r\n" + std::string(30, '\0') + "\n\r2010\r\n";
    junk += line(6, 1, {1, 2, 3, 4, 5, 6, 7, 8}).substr(0, 30) + "\r\n";
    junk += "20100506 002 20 19 18 17 16 15 14 13 01\r\n";  // not ascending
    junk += "20100506 003 01 02 03 04 05 06 07 21 01\r\n";  // out of range
    folder.write("vevud.dat", junk + line(6, 4, {1, 2, 3, 4, 5, 6, 7, 8}));
    folder.write("legt8.dat", junk);
    folder.write("vevud8.dat", zeroedCounterFile(8));
    SubsetWindow w(dz::daystat::subsetProfile(8));
    EXPECT_GT(w.List1->count(), 0);
    w.Command3D2->click();
    const CounterFile c = counter(8);
    long long total = 0;
    for (int r = 1; r <= c.records(); ++r) total += c.count(r);
    EXPECT_EQ(total, 1);
    EXPECT_EQ(c.highWaterKey(), "20100506 004");
    // a counter file of the wrong size, or the other program's layout, is not generated
    for (const std::string& bad : {zeroedCounterFile(8).substr(35), junk, zeroedCounterFile(7)}) {
        folder.write("vevud8.dat", bad);
        w.Command3D2->click();
        EXPECT_EQ(lastMessage(), "Nincs a számnyolcas állomány begenerálva !\r" + kFirstRun);
        w.Command3D3->click();
        w.Command3D4->click();
        EXPECT_EQ(folder.read("vevud8.dat"), bad);
    }
}
