// The subset windows: load, regeneration, count-in, the lists, the life path, pages and keys.
#include "drawstat/core/state.h"
#include "drawstat/core/subsetfile.h"
#include "drawstat/core/subsetlists.h"
#include "common/core/synth.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "common/tests/testutil.h"
#include "common/tests/ownwrite.h"
#include "drawstat/ui/mainwindow.h"
#include "drawstat/ui/subsetwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include "common/tests/qtprint.h"

#include <gtest/gtest.h>
#include <functional>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;
using dz::ui::seam::messages;

namespace {

std::string line(int drawNo, std::array<int, 8> d) { return dz::drawRecordLine(2010, 5, 6, drawNo, d.data(), 1) + "\r\n"; }

const QString kFirstRun = QStringLiteral("Indítsa először az *Ujragenerálást* !");

struct SubsetWindowTest : ::testing::Test {
    dz::testing::ProgramFolderFixture folder;
    SubsetWindowTest() {
        resetState();
        dz::ui::seam::enable();
    }
    ~SubsetWindowTest() override { resetState(); }

    // A counter file with every count set by f(record).
    void writeCounter(int k, const std::function<int(int)>& count, const char* key = "20100506 001") {
        CounterFile c = *CounterFile::fromBytes(k, zeroedCounterFile(k));
        for (int r = 1; r <= c.records(); ++r)
            if (int n = count(r)) c.setRecord(r, n, key);
        c.save(folder.path(QStringLiteral("vevud%1.txt").arg(k)));
    }
    void writeLines(const QString& name, const QStringList& lines) { dz::writeLines(folder.path(name), lines); }
    QStringList lines(const QString& name) { return dz::readLines(folder.path(name)).value_or(QStringList{"<missing>"}); }
    QString lastMessage() const { return messages().empty() ? QString() : messages().back().text; }
};

// The visible right-hand lists, by object name.
QStringList visibleRight(const SubsetWindow& w) {
    QStringList out;
    for (auto* l : w.List2)
        if (l->isVisibleTo(&w)) out << l->objectName();
    if (w.List3 && w.List3->isVisibleTo(&w)) out << w.List3->objectName();
    return out;
}

}  // namespace

TEST_F(SubsetWindowTest, MenuOpensEachWindowModallyKilepKeepsItCloseBoxUnloadsIt) {
    MainWindow main;
    const std::vector<std::pair<const char*, QString>> items{
        {"nyolc", "  Szám 8-sok statisztikája (125970)." + QString(55, ' ') + "Vumo-Soft/2010"},
        {"het", "  Szám 7-sek statisztikája (77520)." + QString(69, ' ') + "Vumo-Soft/2010"},
        {"hat", " Szám 6-sok statisztikája (38760)." + QString(56, ' ') + "Vumo-Soft/2010"},
        {"ot", "  Szám 5-sok statisztikája (15504)." + QString(56, ' ') + "Vumo-Soft/2010"},
        {"negy", "  Szám 4-sek statisztikája (4845)." + QString(57, ' ') + "Vumo-Soft/2010"}};
    for (const auto& [name, caption] : items) {
        ASSERT_TRUE(main.action(name)->isVisible()) << name;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<SubsetWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            shown = w->windowTitle();
            EXPECT_EQ(w->List1->count(), 0);  // a fresh folder: empty lists, no message
            w->Command3D5->click();
        });
        main.action(name)->trigger();
        EXPECT_EQ(shown, caption);
    }
    EXPECT_TRUE(messages().empty());

    // "Kilép" keeps the window and its lists: the list file is not read again
    writeLines("legt4.txt", {"   1 - x", "   2 - y"});
    const SubsetProfile p4 = drawstatSubsetProfile(4);
    SubsetWindow* kept = SubsetWindow::instance(p4);
    ASSERT_NE(kept, nullptr);
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), kept);
        EXPECT_EQ(kept->List1->count(), 0);
        kept->close();  // the close box unloads it
    });
    main.action("negy")->trigger();
    EXPECT_EQ(SubsetWindow::instance(p4), nullptr);
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<SubsetWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->List1->items(), (QStringList{"   1 - x", "   2 - y"}));
        w->Command3D5->click();
    });
    main.action("negy")->trigger();
}

TEST_F(SubsetWindowTest, LoadReadsTheListFilesAsTheyAre) {
    writeLines("legt4.txt", {"  x  ", "    2 - 01 02 03 04  - 20100506 001", "    1 - 17 18 19 20  - 20100506 002"});
    writeLines("utolso4.txt", {"20100506 002", "ignored"});
    SubsetWindow w4(drawstatSubsetProfile(4));
    EXPECT_EQ(w4.List1->item(0), "    1 - 17 18 19 20  - 20100506 002");  // sorted
    EXPECT_EQ(w4.List1->item(2), "  x  ");
    EXPECT_EQ(w4.List1->toolTip(), " 3");
    EXPECT_EQ(w4.Label3->text(), "20100506 002");
    EXPECT_EQ(visibleRight(w4), QStringList{"List2"});

    // nyolcas sets its hint only once the latest-draw file was read
    writeLines("legt8.txt", {"a"});
    {
        SubsetWindow w8(drawstatSubsetProfile(8));
        EXPECT_EQ(w8.List1->count(), 1);
        EXPECT_TRUE(w8.List1->toolTip().isEmpty());
        EXPECT_TRUE(w8.Label3->text().isEmpty());
    }
    writeLines("utolso8.txt", {"k"});
    EXPECT_EQ(SubsetWindow(drawstatSubsetProfile(8)).List1->toolTip(), " 1");

    // hetes: the least-drawn pages of "legk7.txt", 32736 rows a page; its List1 keeps file order
    writeLines("legt7.txt", {"b", "a"});
    QStringList least;
    for (int i = 0; i < 40000; ++i) least << QString::number(i);
    writeLines("legk7.txt", least);
    SubsetWindow w7(drawstatSubsetProfile(7));
    EXPECT_EQ(w7.List1->items(), (QStringList{"b", "a"}));
    EXPECT_EQ(w7.List1->toolTip(), " 2 ");
    EXPECT_EQ(w7.List2[0]->count(), 32736);
    EXPECT_EQ(w7.List2[1]->count(), 7264);
    EXPECT_EQ(w7.List2[0]->toolTip(), " 32736 ");
    EXPECT_EQ(w7.List2[1]->toolTip(), " 7264 ");
    EXPECT_FALSE(w7.option(2)->isEnabled());
    EXPECT_TRUE(messages().empty());
}

TEST_F(SubsetWindowTest, RegenerationAsksAndWritesTheZeroedFile) {
    SubsetWindow w(drawstatSubsetProfile(4));
    const QString path = folder.path("vevud4.txt");
    folder.write("vevud4.txt", "old");
    w.Command3D1->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Ha valóban törölni akar, akkor a jelölő négyzetet jelölje be !");
    EXPECT_EQ(messages()[0].icon, dz::ui::Icon::Critical);
    EXPECT_EQ(messages()[0].title, "Vumo-Soft/2010");
    w.Check3D1->setChecked(true);
    dz::ui::seam::queueAnswer(dz::ui::Answer::Cancel);
    w.Command3D1->click();
    EXPECT_EQ(lastMessage(), "Biztos, hogy törölni akarja a szám-négyesek állományát ?");
    EXPECT_EQ(messages().back().buttons, dz::ui::Buttons::OkCancel);
    EXPECT_EQ(messages().back().icon, dz::ui::Icon::Question);
    EXPECT_EQ(folder.read("vevud4.txt"), "old");
    EXPECT_TRUE(w.Label1->text().isEmpty());
    dz::ui::seam::queueAnswer(dz::ui::Answer::Ok);
    w.Command3D1->click();
    EXPECT_EQ(folder.read("vevud4.txt"), zeroedCounterFile(4));
    EXPECT_EQ(w.Label1->text(), "4846");
    EXPECT_TRUE(w.Check3D1->isChecked());

    // a file that cannot be written: the message, and the old one stays
    SubsetWindow w8(drawstatSubsetProfile(8));
    QDir(folder.dir.path()).mkdir("vevud8.txt");
    w8.Check3D1->setChecked(true);
    w8.Command3D1->click();
    EXPECT_EQ(lastMessage(), "Hiba a " + folder.path("vevud8.txt") + " mentésekor - sikertelen mentés !");
    EXPECT_TRUE(QFileInfo(folder.path("vevud8.txt")).isDir());
    EXPECT_TRUE(w8.Label1->text().isEmpty());
}

TEST_F(SubsetWindowTest, CountInMessagesAndResult) {
    SubsetWindow w(drawstatSubsetProfile(4));
    w.Command3D2->click();
    EXPECT_EQ(lastMessage(), "Nincs a számnégyes állomány begenerálva !\r" + kFirstRun);
    EXPECT_FALSE(QFile::exists(folder.path("vevud4.txt")));
    // a counter file of the wrong size is no counter file
    for (const std::string& bad : {zeroedCounterFile(4).substr(100), zeroedCounterFile(4) + "\r\n", zeroedCounterFile(5)}) {
        folder.write("vevud4.txt", bad);
        folder.write("vevud.txt", line(1, {1, 2, 3, 4, 5, 6, 7, 8}));
        const size_t before = messages().size();
        w.Command3D2->click();
        EXPECT_EQ(messages().size(), before + 1);
        EXPECT_EQ(lastMessage(), "Nincs a számnégyes állomány begenerálva !\r" + kFirstRun);
        EXPECT_EQ(folder.read("vevud4.txt"), bad);
    }
    folder.write("vevud4.txt", zeroedCounterFile(4));
    QFile::remove(folder.path("vevud.txt"));
    w.Command3D2->click();
    EXPECT_EQ(lastMessage(), "Nincs *Dizov* állomány !");
    EXPECT_EQ(messages().back().icon, dz::ui::Icon::Critical);

    folder.write("vevud.txt", line(1, {1, 2, 3, 4, 5, 6, 7, 8}) + line(2, {1, 2, 3, 4, 5, 6, 7, 9}) + "\r\n");
    const size_t before = messages().size();
    w.Command3D2->click();
    EXPECT_EQ(messages().size(), before);
    EXPECT_EQ(w.Label2->text(), "20100506 002");
    CounterFile c;
    ASSERT_EQ(CounterFile::load(folder.path("vevud4.txt"), 4, c), CounterFile::Status::Ok);
    EXPECT_EQ(c.count(1), 2);
    EXPECT_EQ(c.highWaterKey(), "20100506 002");
}

TEST_F(SubsetWindowTest, CountInKeepsTheWindowLiveIgnoresOtherButtonsAndTheCloseBoxStopsIt) {
    folder.write("vevud4.txt", zeroedCounterFile(4));
    folder.write("vevud.txt", dz::synthDrawHistory(400000));
    auto* w = new SubsetWindow(drawstatSubsetProfile(4));
    QPointer<SubsetWindow> guard(w);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    w->Check3D1->setChecked(true);
    bool sawRun = false;
    QTimer::singleShot(0, [&] {
        sawRun = w->counting();
        w->Command3D1->click();  // ignored: no message, no question
        w->Command3D3->click();
        w->Command3D5->click();  // "Kilép" too
        EXPECT_TRUE(w->isVisible());
        w->close();  // stops the run first
        EXPECT_TRUE(guard);
    });
    w->Command3D2_Click();
    EXPECT_TRUE(sawRun);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(folder.read("vevud4.txt"), zeroedCounterFile(4));  // stopped: unchanged
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard);
}

TEST_F(SubsetWindowTest, MostDrawnListsSavesAndHints) {
    SubsetWindow w(drawstatSubsetProfile(4));
    w.Command3D3->click();
    EXPECT_EQ(lastMessage(), "Nincs a számnégyesek állomány begenerálva !\r" + kFirstRun);
    folder.write("vevud4.txt", zeroedCounterFile(4));
    folder.write("vevud.txt", line(1, {1, 2, 3, 4, 5, 6, 7, 8}) + line(2, {1, 2, 3, 4, 9, 10, 11, 12}));
    w.Command3D2->click();
    // a read-only list file: root replaces it; a plain user gets the save-failure message and keeps it
    writeLines("legt4.txt", {"old"});
    QFile::setPermissions(folder.path("legt4.txt"), QFileDevice::ReadOwner);
    const bool mayWrite = dz::testing::userMayWrite(folder.path("legt4.txt"));
    const size_t shown = messages().size();
    w.Command3D3->click();
    if (mayWrite) {
        EXPECT_EQ(messages().size(), shown);
        EXPECT_EQ(lines("legt4.txt"), w.List1->items());
    } else {
        ASSERT_EQ(messages().size(), shown + 1);
        EXPECT_EQ(lastMessage(), "Hiba a " + folder.path("legt4.txt") + " mentésekor - sikertelen mentés !");
        EXPECT_EQ(lines("legt4.txt"), QStringList{"old"});
    }
    ASSERT_EQ(w.List1->count(), 139);
    EXPECT_EQ(w.List1->item(138), "    2 - 01 02 03 04  - 20100506 002");
    EXPECT_EQ(w.List1->item(0), "    1 - 01 02 03 05  - 20100506 001");
    EXPECT_EQ(w.Label3->text(), "20100506 002");
    EXPECT_EQ(w.List1->toolTip(), " 139");
    EXPECT_EQ(lines("utolso4.txt"), QStringList{"20100506 002"});

    // hetes on a zeroed file: the top of the sorted order, the least-drawn pages and "legk7.txt"
    folder.write("vevud7.txt", zeroedCounterFile(7));
    SubsetWindow w7(drawstatSubsetProfile(7));
    w7.Command3D3->click();
    EXPECT_EQ(w7.List1->count(), 32736);
    EXPECT_EQ(w7.List2[0]->count(), 32736);
    EXPECT_EQ(w7.List2[1]->count(), 12048);
    EXPECT_EQ(w7.List2[2]->count(), 0);
    EXPECT_FALSE(w7.option(2)->isEnabled());
    EXPECT_TRUE(w7.option(1)->isEnabled());
    EXPECT_EQ(w7.Label2->text(), "44784");
    EXPECT_EQ(w7.List1->toolTip(), " 0  32736 ");
    EXPECT_EQ(w7.List2[1]->toolTip(), " 12048 ");
    EXPECT_EQ(lines("legk7.txt").size(), 44784);
    EXPECT_EQ(lines("utolso7.txt"), QStringList{"00000000 000"});
    // a never-drawn run that fills page 2 enables it again
    w7.Command3D4->click();
    EXPECT_TRUE(w7.option(2)->isEnabled());
    EXPECT_EQ(w7.List2[2]->count(), 12048);
}

TEST_F(SubsetWindowTest, NeverDrawnSingleListAndPages) {
    folder.write("vevud5.txt", zeroedCounterFile(5));
    SubsetWindow w5(drawstatSubsetProfile(5));
    w5.Command3D4->click();
    EXPECT_EQ(w5.List2[0]->count(), 15504);
    EXPECT_EQ(w5.Label2->text(), "15504");
    EXPECT_EQ(visibleRight(w5), QStringList{"List2"});

    SubsetWindow w6(drawstatSubsetProfile(6));
    w6.Command3D4->click();
    EXPECT_EQ(lastMessage(), "Nincs a számhatos állomány begenerálva !\r" + kFirstRun);

    folder.write("vevud8.txt", zeroedCounterFile(8));
    SubsetWindow w8(drawstatSubsetProfile(8));
    w8.option(2)->click();
    w8.Command3D4->click();
    EXPECT_EQ(visibleRight(w8), QStringList{"List2(0)"});
    EXPECT_EQ(w8.Option1->chosen(), 0);
    EXPECT_EQ(w8.List2[3]->count(), 27762);
    EXPECT_EQ(w8.List2[0]->item(0), " 01 02 03 04 05 06 07 08 ");
    EXPECT_EQ(w8.Label2->text(), "125970");

    // every subset drawn: empty pages, all disabled with their options
    writeCounter(8, [](int) { return 1; });
    w8.Command3D4->click();
    EXPECT_EQ(w8.Label2->text(), "0");
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(w8.option(i)->isEnabled()) << i;
        EXPECT_FALSE(w8.List2[size_t(i)]->isEnabled()) << i;
    }

    // hetes with none never drawn: "0", the pages keep what they held
    writeLines("legk7.txt", {"x"});
    writeLines("legt7.txt", {});
    writeCounter(7, [](int) { return 2; });
    SubsetWindow w7(drawstatSubsetProfile(7));
    w7.Command3D4->click();
    EXPECT_EQ(w7.Label2->text(), "0");
    EXPECT_EQ(w7.List2[0]->items(), QStringList{"x"});
}

TEST_F(SubsetWindowTest, HatosFallsBackToTheLeastDrawnList) {
    writeCounter(6, [](int r) { return r <= 3 ? 1 : 2; });
    SubsetWindow w(drawstatSubsetProfile(6));
    // an empty most-drawn list: one pass, "0", an empty least-drawn list shown, caption kept
    w.Command3D4->click();
    EXPECT_EQ(w.Label2->text(), "0");
    EXPECT_EQ(visibleRight(w), QStringList{"List3"});
    EXPECT_EQ(w.List3->count(), 0);
    EXPECT_EQ(w.Command3D4->text(), "Nemhúzottak");
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(w.option(i)->isEnabled());
    EXPECT_TRUE(w.List2[2]->isEnabled());  // the life path list stays usable

    w.List1->setItems({"    1 - 01 02 03 04 05 08  - 20100506 001"});
    w.Command3D4->click();
    EXPECT_EQ(w.List3->items(), (QStringList{"    1 - 01 02 03 04 05 06 ", "    1 - 01 02 03 04 05 07 "}));
    EXPECT_EQ(w.Label2->text(), "2");
    EXPECT_EQ(w.Command3D4->text(), "Legkevesebb.");
    EXPECT_EQ(visibleRight(w), QStringList{"List3"});
}

TEST_F(SubsetWindowTest, LifePathFromTheSelectedRow) {
    std::string draws;
    for (int i = 1; i <= 120; ++i)
        draws += line(i, i == 57 || i == 60 ? std::array<int, 8>{1, 2, 3, 4, 5, 6, 7, 8} : std::array<int, 8>{1, 2, 3, 4, 5, 6, 7, 9});
    folder.write("vevud.txt", draws);
    writeLines("legt8.txt", {"    2 - 01 02 03 04 05 06 07 08  - 20100506 060"});
    SubsetWindow w(drawstatSubsetProfile(8));
    w.SSCommand1->click();
    EXPECT_EQ(lastMessage(), "Nincs számnyolcas kijelölve !");
    EXPECT_EQ(visibleRight(w), QStringList{"List2(0)"});
    w.List1->setListIndex(0);
    w.SSCommand1->click();
    EXPECT_EQ(w.List2[4]->items(),
              (QStringList{" 20100506 057    57", " 20100506 060    3", QString(14, ' ') + "*  2      60"}));
    EXPECT_EQ(visibleRight(w), QStringList{"List2(4)"});
    EXPECT_EQ(w.Option1->chosen(), -1);
    // an option click is the way back
    w.option(2)->click();
    EXPECT_EQ(visibleRight(w), QStringList{"List2(2)"});

    // missing draw file: the message, the lists as they were
    QFile::remove(folder.path("vevud.txt"));
    w.SSCommand1->click();
    EXPECT_EQ(lastMessage(), "Nincs *Dizov* állomány !");
    EXPECT_EQ(visibleRight(w), QStringList{"List2(2)"});
    EXPECT_EQ(w.List2[4]->count(), 3);
}

TEST_F(SubsetWindowTest, HatosOptionsLeaveTheLifePathAndItsDoubleClickGoesBack) {
    folder.write("vevud.txt", line(1, {1, 2, 3, 4, 5, 6, 7, 8}));
    writeLines("legt6.txt", {"    1 - 01 02 03 04 05 06  - 20100506 001"});
    SubsetWindow w(drawstatSubsetProfile(6));
    w.List1->setListIndex(0);
    w.SSCheck1->setChecked(true);
    w.SSCommand1->click();
    EXPECT_EQ(lastMessage(), "Nincs számhatos kijelölve (legkevesebbet) !");
    w.SSCheck1->setChecked(false);
    w.Label2->setText("x");
    w.SSCommand1->click();
    EXPECT_TRUE(w.Label2->text().isEmpty());
    EXPECT_EQ(w.List2[2]->items(), (QStringList{" 20100506 001    1", QString(14, ' ') + "*  1      0"}));
    w.option(0)->click();
    EXPECT_EQ(visibleRight(w), (QStringList{"List2(0)", "List2(2)"}));
    // the life path list lies on top of the page it shares its place with
    ASSERT_EQ(w.List2[2]->geometry(), w.List2[0]->geometry());
    QWidget* top = w.childAt(w.List2[0]->geometry().center());
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(top == w.List2[2] || top->parentWidget() == w.List2[2]);
    w.List2_DblClick(0);  // not the life path list: nothing
    EXPECT_EQ(visibleRight(w), (QStringList{"List2(0)", "List2(2)"}));
    emit w.List2[2]->itemDoubleClicked(0);
    EXPECT_EQ(w.Option1->chosen(), 1);
    EXPECT_EQ(visibleRight(w), (QStringList{"List2(1)", "List3"}));
}

TEST_F(SubsetWindowTest, HetesLifePathFromALeastDrawnOrNeverDrawnPage) {
    folder.write("vevud.txt", line(1, {1, 2, 3, 4, 5, 6, 7, 8}) + line(2, {1, 2, 3, 4, 5, 6, 7, 9}));
    SubsetWindow w(drawstatSubsetProfile(7));
    w.SSCheck1->setChecked(true);
    w.SSCommand1->click();
    EXPECT_EQ(lastMessage(), "Nincs számhetes kijelölve (legkevesebbet) !");
    w.SSCheck1->setChecked(false);
    w.SSCommand1->click();
    EXPECT_EQ(lastMessage(), "Nincs számhetes kijelölve (legtöbbet) !");
    // a never-drawn row has no dash: read from its first digit
    w.List2[1]->setItems({"01 02 03 04 05 06 07 "});
    w.option(1)->click();
    w.List2[1]->setListIndex(0);
    w.SSCheck1->setChecked(true);
    w.SSCommand1->click();
    EXPECT_EQ(w.List2[3]->items().first(), " 20100506 001    1");
    EXPECT_EQ(w.List2[3]->count(), 3);
    // "l" exports the life path list, the closing row last; "L" on List1 exports nothing
    QTest::keyClick(w.List2[3], Qt::Key_L);
    QTest::keyClick(w.List1, Qt::Key_L, Qt::ShiftModifier);
    ASSERT_EQ(lines("lista001.txt"), w.List2[3]->items());
    EXPECT_FALSE(QFile::exists(folder.path("lista002.txt")));
    QTest::keyClick(w.List2[0], Qt::Key_L, Qt::ShiftModifier);
    EXPECT_TRUE(QFile::exists(folder.path("lista002.txt")));
}

TEST_F(SubsetWindowTest, SingleListWindowsShowTheLifePathOverTheNeverDrawnList) {
    folder.write("vevud.txt", line(1, {1, 2, 3, 4, 5, 6, 7, 8}));
    folder.write("vevud4.txt", zeroedCounterFile(4));
    writeLines("legt4.txt", {"    1 - 01 02 03 04  - 20100506 001"});
    SubsetWindow w(drawstatSubsetProfile(4));
    w.List1->setListIndex(0);
    w.SSCommand1->click();
    EXPECT_EQ(visibleRight(w), QStringList{"List3"});
    EXPECT_EQ(w.List3->items().last(), QString(13, ' ') + "*  1    0");
    // pressing L in the life path list of negyes exports nothing; the never-drawn listing goes back
    QTest::keyClick(w.List3, Qt::Key_L);
    EXPECT_TRUE(messages().empty());
    w.Command3D4->click();
    EXPECT_EQ(visibleRight(w), QStringList{"List2"});
    QTest::keyClick(w.List2[0], Qt::Key_L);
    EXPECT_EQ(lines("lista001.txt").size(), 4845);
}

TEST_F(SubsetWindowTest, NyolcasHintsPageSizesAndOptionsMayStandUnchosen) {
    SubsetWindow w(drawstatSubsetProfile(8));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(w.List2[3], &enter);
    EXPECT_EQ(w.List2[3]->toolTip(), " 0");
    // setting an option from code runs its handler; clearing leaves none chosen
    w.Option1->clear();
    EXPECT_EQ(w.Option1->chosen(), -1);
    w.Option1->setChosen(3);
    EXPECT_EQ(visibleRight(w), QStringList{"List2(3)"});
    w.option(3)->click();  // a click on the chosen option keeps it
    EXPECT_EQ(w.Option1->chosen(), 3);
}

TEST_F(SubsetWindowTest, BadDrawFilesAndCounterFilesNeverFaultNorGrowTheFile) {
    std::string binary;
    for (int i = 0; i < 5000; ++i) binary += char((i * 7919 + i / 13) & 0xFF);
    const std::vector<std::string> drawFiles{
        "",
        binary,
        "20101231 001\r\n\r\n,,,\r\n20101231 002 99 -5 ab 04 05 06 07 08 09\r\n\t 20101231 006 20 20\r\nx\r" +
            line(7, {1, 2, 3, 4, 5, 6, 7, 8}),
        std::string(1 << 20, '7'),
        "\xEF\xBB\xBF" + line(1, {13, 14, 15, 16, 17, 18, 19, 20}) + "20991231 999 01 02 03 04 05 06 07 08"};
    for (int k : {4, 8}) {
        SubsetWindow w(drawstatSubsetProfile(k));
        for (const auto& d : drawFiles) {
            // rows edited by hand
            w.List1->setItems({"x", "-", QString(300, '-'), "    1 - 01 02 03 04 05 06 07 08  - 20100506 001"});
            folder.write("vevud.txt", d);
            folder.write(QStringLiteral("vevud%1.txt").arg(k), zeroedCounterFile(k));
            w.Command3D2_Click();
            EXPECT_EQ(folder.read(QStringLiteral("vevud%1.txt").arg(k)).size(), zeroedCounterFile(k).size());
            for (int row = 0; row < w.List1->count(); ++row) {
                w.List1->setListIndex(row);
                w.SSCommand1_Click();
                EXPECT_GE(w.lifePathList()->count(), 1);
            }
            w.Command3D3_Click();
            w.Command3D4_Click();
        }
        EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
    }
    // the last file counts its two draws; the byte order mark is no part of the first key
    CounterFile c;
    ASSERT_EQ(CounterFile::load(folder.path("vevud8.txt"), 8, c), CounterFile::Status::Ok);
    EXPECT_EQ(c.count(125970), 1);
    EXPECT_EQ(c.count(1), 1);
    EXPECT_EQ(c.highWaterKey(), "20991231 999");

    // a counter file full of letters: the lists read its counts as 0
    folder.write("vevud4.txt", std::string(zeroedCounterFile(4).size(), 'a'));
    SubsetWindow w(drawstatSubsetProfile(4));
    w.Command3D3_Click();
    w.Command3D4_Click();
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_EQ(w.List2[0]->count(), 4845);
    EXPECT_TRUE(messages().empty());
}

// The counter file and the list files are written only to files or links to files: anything else
// of that name stays, and the click says the save failed.
TEST_F(SubsetWindowTest, CounterAndListFilesAreNotWrittenThroughLinksToOtherThanAFile) {
    SubsetWindow w(drawstatSubsetProfile(4));
    w.Check3D1->setChecked(true);
    auto failed = [&](const char* name) {
        return dz::testing::shownTexts().contains("Hiba a " + folder.path(name) + " mentésekor - sikertelen mentés !");
    };
    dz::testing::expectNameKept(folder.dir.path(), QStringLiteral("vevud4.txt"), [&] {
        dz::ui::seam::reset();
        dz::ui::seam::queueAnswer(dz::ui::Answer::Ok);
        w.Command3D1->click();
        return !failed("vevud4.txt");
    });
    folder.write("vevud4.txt", zeroedCounterFile(4));
    for (const char* name : {"legt4.txt", "utolso4.txt"})
        dz::testing::expectNameKept(folder.dir.path(), QLatin1String(name), [&] {
            dz::ui::seam::reset();
            w.Command3D3->click();
            return !failed(name);
        });
}
