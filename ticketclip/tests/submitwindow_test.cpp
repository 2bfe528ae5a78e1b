#include "common/core/keyfile.h"
#include "common/core/textfmt.h"
#include "common/platform/widgets.h"
#include "common/tests/fedfile.h"
#include "common/tests/unreadable.h"
#include "common/tests/writerlessfifo.h"
#include "common/tests/testutil.h"
#include "ticketclip/ui/submitwindow.h"
#include "ticketclip/ui/paramwindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>

using namespace dz;
using namespace dz::ticketclip;
namespace seam = dz::ui::seam;

namespace {
std::string keyRows(int rows, int first = 1) {
    std::string s;
    for (int i = 0; i < rows; ++i) {
        const int n = (first + i - 1) % 13 + 1;  // numbers n .. n+7
        for (int j = 0; j < 8; ++j) {
            // appended piece by piece: GCC 12 at -O3 misreads the one concatenation as overlapping
            s += ' ';
            if (n + j < 10) s += '0';
            s += std::to_string(n + j);
        }
        s += " \r\n";
    }
    return s;
}

struct Folder : dz::testing::ProgramFolderFixture {
    std::unique_ptr<SubmitWindow> w;
    Folder() {
        write("online.txt", "Dizov\r\n\r\nKen\xf3\r\n");
        w = std::make_unique<SubmitWindow>();
        w->Form_Load();
    }
    // Loads a key file; the reset question, when asked, is answered with answer.
    void load(const QString& name, ui::Answer answer = ui::Answer::Ok) {
        if (w->List1->count() > 0) seam::queueAnswer(answer);
        seam::queueFile(path(name));
        w->Command3D4_Click();
    }
};
}  // namespace

TEST(SubmitWindow, StartUpReadsTheGameListAndWritesMissingParameters) {
    Folder f;
    EXPECT_EQ(f.w->List5->items(), QStringList({"Dizov", "", "Kenó"}));
    EXPECT_TRUE(f.w->List5->isVisibleTo(f.w.get()));
    EXPECT_FALSE(f.w->List2->isVisibleTo(f.w.get()));
    EXPECT_EQ(f.read("szrtpara.txt"), "4\r\n5\r\n5\r\n2\r\n200\r\n225\r\n225\r\n150\r\n7\r\n200000\r\n200\r\n");
    EXPECT_EQ(f.w->Check1->toolTip(), "Ha bejelölt, akkor nincs figyelmeztetés!");
    EXPECT_EQ(f.w->findChild<QRadioButton*>("Option2(3)")->text(), "10x");
    EXPECT_EQ(f.w->findChild<QCheckBox*>("Check3(0)")->text(), " 1");

    dz::testing::ProgramFolderFixture empty;  // no "online.txt": an empty list, no message
    SubmitWindow w;
    w.Form_Load();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("  DIZOV online szelvény feladás.              Vumo-Soft/2015"));
    EXPECT_EQ(w.List5->count(), 0);
    EXPECT_TRUE(seam::messages().empty());
}

TEST(SubmitWindow, LoadStartsAtThePointerAndPricesTheKey) {
    Folder f;
    f.write("k37.txt", keyRows(37));
    key::writeLastKeyPointer(f.dir.path(), f.path("k37.txt"));
    f.load("k37.txt");
    ASSERT_EQ(seam::fileDialogs().size(), 1u);
    EXPECT_EQ(seam::fileDialogs()[0].startFolder, f.dir.path());
    EXPECT_EQ(seam::fileDialogs()[0].fileName, "k37.txt");
    EXPECT_EQ(f.w->List1->count(), 37);
    EXPECT_EQ(f.w->List1->item(0), "01 02 03 04 05 06 07 08 ");
    EXPECT_EQ(f.w->Label4->text(), "37");
    EXPECT_EQ(f.w->Label13->text(), "2/0");
    EXPECT_EQ(f.w->Label6->text(), "8");
    EXPECT_EQ(f.w->Label9->text(), "7400");
    EXPECT_EQ(f.w->Label12->text(), "9400");

    // The choices of the worked example, one after another.
    f.w->Option1[1]->setChecked(true);
    EXPECT_EQ(f.w->Label9->text(), "14800");
    EXPECT_EQ(f.w->Label12->text(), "16800");
    f.w->Option2[3]->setChecked(true);
    EXPECT_EQ(f.w->Label9->text(), "148000");
    EXPECT_EQ(f.w->Label12->text(), "152000");
    f.w->Check3[0]->setChecked(true);
    EXPECT_TRUE(seam::messages().empty());
    f.w->Check3[2]->setChecked(true);
    EXPECT_EQ(f.w->Label9->text(), "296000");
    EXPECT_EQ(f.w->Label12->text(), "300000");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text,
              "A teljes kulcsot az SZRT. limit miatt 200000 Ft.\regy menetben, egy azonosítóra nem lehet feladni !");
    EXPECT_EQ(seam::messages()[0].icon, ui::Icon::Critical);
    f.w->Check3[0]->setChecked(false);
    f.w->Check3[2]->setChecked(false);  // none ticked: priced as one
    EXPECT_EQ(f.w->Label9->text(), "148000");
}

TEST(SubmitWindow, LoadFailures) {
    Folder f;
    // A pointer to a missing file: the dialog still opens in its folder; Cancel ends the load.
    key::writeLastKeyPointer(f.dir.path(), "C:\\DIZOV\\gone.txt");
    seam::queueFile(std::nullopt);
    f.w->Command3D4_Click();
    EXPECT_EQ(seam::fileDialogs()[0].startFolder, "C:\\DIZOV");
    EXPECT_EQ(seam::fileDialogs()[0].fileName, "gone.txt");
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Hiba a file kiválasztásakor !\r 32755"}));
    EXPECT_EQ(f.w->List1->count(), 0);

    seam::reset();
    f.load("nincs.txt");
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Hiba a file megnyitásakor !\r 53 - " + f.path("nincs.txt")}));
    EXPECT_EQ(seam::messages()[0].icon, ui::Icon::Warning);

    // A bad row empties the list, even of rows kept by a cancelled reset.
    f.write("k10.txt", keyRows(10));
    f.write("seven.txt", keyRows(3) + "01 02 03 04 05 06 07\r\n");
    f.load("k10.txt");
    seam::reset();
    f.load("seven.txt", ui::Answer::Cancel);
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Biztos, hogy törölni akarja a betöltött kulcsot?",
                                      "A kijelölt játék és a betöltendő kulcs, nem azonos típusú !\r01 02 03 04 05 06 07"}));
    EXPECT_EQ(f.w->List1->count(), 0);

    // An empty file: nothing loaded, one part shown, the Joker price alone.
    f.write("empty.txt", "\r\n \r\n");
    f.load("empty.txt");
    EXPECT_EQ(f.w->Label4->text(), "0");
    EXPECT_EQ(f.w->Label13->text(), "1/0");
    EXPECT_EQ(f.w->Label6->text(), "");
    EXPECT_EQ(f.w->Label9->text(), "0");
    EXPECT_EQ(f.w->Label12->text(), "200");

    // Too many rows: the first 32736 stay, with the message.
    f.write("big.txt", keyRows(40000));
    seam::reset();
    f.load("big.txt");
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Maximum 32736 sorú kulcsot lehet betölteni !",
                                      "A teljes kulcsot az SZRT. limit miatt 200000 Ft.\regy menetben, egy azonosítóra nem lehet feladni !"}));
    EXPECT_EQ(f.w->List1->count(), 32736);
    EXPECT_EQ(f.w->Label13->text(), "1170/0");
}

// A row of megabytes is quoted by its start only: the message box lays out no more than that.
TEST(SubmitWindow, AHugeRowIsQuotedByItsStart) {
    Folder f;
    std::string huge;
    while (huge.size() < (5u << 20)) huge += "01 ";
    f.write("huge.txt", keyRows(2) + huge + "\r\n");
    f.load("huge.txt");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, "A kijelölt játék és a betöltendő kulcs, nem azonos típusú !\r" +
                                            QString::fromLatin1(huge.substr(0, size_t(dz::kQuoted))) + "...");
    EXPECT_EQ(f.w->List1->count(), 0);
}

// The reset asks before the dialog, but clears only once a file has opened: Cancel, or a file
// that cannot be opened, keeps the key, its counts, its prices and the choices.
TEST(SubmitWindow, CancelledOrFailedLoadKeepsTheKey) {
    Folder f;
    f.write("k10.txt", keyRows(10));
    f.load("k10.txt");
    f.w->Option1[2]->setChecked(true);
    const QStringList rows = f.w->List1->items();
    const QString price = f.w->Label9->text(), parts = f.w->Label13->text();
    for (const std::optional<QString>& answer : {std::optional<QString>(), std::optional(f.path("nincs.txt"))}) {
        seam::reset();
        seam::queueAnswer(ui::Answer::Ok);
        seam::queueFile(answer);
        f.w->Command3D4_Click();
        ASSERT_EQ(seam::messages().size(), 2u);
        EXPECT_EQ(seam::messages()[0].text, "Biztos, hogy törölni akarja a betöltött kulcsot?");
        EXPECT_EQ(seam::messages()[1].icon, ui::Icon::Warning);
        EXPECT_EQ(f.w->List1->items(), rows);
        EXPECT_EQ(f.w->Label4->text(), "10");
        EXPECT_EQ(f.w->Label13->text(), parts);
        EXPECT_EQ(f.w->Label9->text(), price);
        EXPECT_TRUE(f.w->Option1[2]->isChecked());
    }
    // A file that opens then replaces the key, after the reset the question allowed.
    f.write("k3.txt", keyRows(3));
    f.load("k3.txt");
    EXPECT_EQ(f.w->List1->count(), 3);
    EXPECT_TRUE(f.w->Option1[0]->isChecked());
}

// A pipe, a device, a folder, an unreadable or missing file: the open message with its number
// (53 for a missing file, 75 for the others); the key and the window stay as they were.
TEST(SubmitWindow, KeyFilesThatCannotBeReadKeepTheKeyAndSaySo) {
    Folder f;
    f.write("k10.txt", keyRows(10));
    f.load("k10.txt");
    const QStringList rows = f.w->List1->items();
    dz::testing::forEachUnreadable(f.dir.path(), [&](const QString& path) {
        seam::reset();
        seam::queueAnswer(ui::Answer::Ok);
        seam::queueFile(path);
        f.w->Command3D4_Click();
        const QString error = path.endsWith(QStringLiteral("missing.txt")) ? " 53" : " 75";
        EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Biztos, hogy törölni akarja a betöltött kulcsot?",
                                                          "Hiba a file megnyitásakor !\r" + error + " - " + path}));
        EXPECT_EQ(f.w->List1->items(), rows);
        EXPECT_EQ(f.w->Label4->text(), "10");
    });
    // A refused row's control characters show as marks.
    f.write("ctl.txt", "01 02 03\x07 04\r\n");
    seam::reset();
    f.load("ctl.txt");
    EXPECT_EQ(dz::testing::shownTexts().last(),
              QStringLiteral("A kijelölt játék és a betöltendő kulcs, nem azonos típusú !\r01 02 03\u2407 04"));
}

TEST(SubmitWindow, CancelledResetAppendsTheNewRows) {
    Folder f;
    f.write("k10.txt", keyRows(10));
    f.load("k10.txt");
    f.load("k10.txt", ui::Answer::Cancel);
    EXPECT_EQ(f.w->List1->count(), 20);
    EXPECT_EQ(f.w->Label4->text(), "20");
}

TEST(SubmitWindow, PartsOfASeventyRowKey) {
    Folder f;
    f.write("k70.txt", keyRows(70));
    f.load("k70.txt");
    EXPECT_EQ(f.w->Label13->text(), "3/0");
    // No extra number ticked: the message, and nothing changes.
    f.w->SSCommand2_Click();
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Nincs PÓTSZÁM(ok) kijelölve !"}));
    EXPECT_EQ(f.w->List1->count(), 70);
    EXPECT_TRUE(f.w->Frame1->isEnabled());

    f.w->Check3[1]->setChecked(true);
    const QStringList all = f.w->List1->items();
    struct Step {
        int first, rows;
        const char *label15, *label4, *label13;
    };
    const Step steps[] = {{0, 28, "7", "42", "3/1"}, {28, 28, "7", "14", "3/2"}, {56, 14, "4", "0", "3/3"}};
    for (const Step& s : steps) {
        f.w->SSCommand2_Click();
        EXPECT_EQ(f.w->List2->items(), all.mid(s.first, s.rows));
        EXPECT_EQ(f.w->Label2->text(), QString::number(s.rows));
        EXPECT_EQ(f.w->Label15->text(), s.label15);
        EXPECT_EQ(f.w->Label4->text(), s.label4);
        EXPECT_EQ(f.w->Label13->text(), s.label13);
    }
    EXPECT_FALSE(f.w->List5->isVisibleTo(f.w.get()));
    for (QWidget* c : std::initializer_list<QWidget*>{f.w->Frame1, f.w->Frame2, f.w->Frame4, f.w->Option1[2],
                                                      f.w->Option2[5], f.w->Check3[3]})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    f.w->SSCommand2_Click();  // nothing left
    EXPECT_EQ(f.w->Label13->text(), "3/3");
    EXPECT_EQ(f.w->List2->count(), 14);

    // Locked choices neither change the part nor the prices.
    const QString price = f.w->Label9->text();
    f.w->Option1[4]->setChecked(true);
    EXPECT_EQ(f.w->Label9->text(), price);

    // Reset after the last part asks nothing and restores the choices.
    seam::reset();
    f.w->SSCommand3_Click();
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_EQ(f.w->List2->count(), 0);
    EXPECT_TRUE(f.w->Frame4->isEnabled() && f.w->Check3[1]->isEnabled());
    EXPECT_FALSE(f.w->Check3[1]->isChecked());
    EXPECT_TRUE(f.w->Option1[0]->isChecked() && f.w->Option2[0]->isChecked());
    EXPECT_EQ(f.w->choices().stake, 1);
    EXPECT_EQ(f.w->choices().extraCount(), 1);
    for (QLabel* l : {f.w->Label2, f.w->Label4, f.w->Label9, f.w->Label12, f.w->Label13, f.w->Label15})
        EXPECT_TRUE(l->text().isEmpty());
}

TEST(SubmitWindow, ResetAnsweredWithCancelChangesNothing) {
    Folder f;
    f.write("k30.txt", keyRows(30));
    f.load("k30.txt");
    f.w->Check3[0]->setChecked(true);
    f.w->SSCommand2_Click();
    seam::queueAnswer(ui::Answer::Cancel);
    f.w->SSCommand3_Click();
    EXPECT_EQ(f.w->List1->count(), 2);
    EXPECT_EQ(f.w->List2->count(), 28);
    EXPECT_FALSE(f.w->Frame4->isEnabled());
    // A second press without copying drops the first part.
    f.w->SSCommand2_Click();
    EXPECT_EQ(f.w->List2->count(), 2);
    EXPECT_EQ(f.w->List1->count(), 0);
    EXPECT_EQ(f.w->Label13->text(), "2/2");
}

TEST(SubmitWindow, CopyPutsTheQuickTicketLinesOnTheClipboardAndMinimises) {
    Folder f;
    f.write("k5.txt", keyRows(5));
    f.load("k5.txt");
    f.w->show();
    f.w->SSCommand1_Click();  // no part yet: nothing happens
    EXPECT_FALSE(f.w->isMinimized());
    EXPECT_TRUE(seam::messages().empty());

    f.w->Option2[5]->setChecked(true);
    f.w->Option1[1]->setChecked(true);
    f.w->Check3[3]->setChecked(true);
    f.w->Check3[0]->setChecked(true);
    f.w->SSCommand2_Click();
    seam::reset();  // the Joker warning of 50 draws
    QGuiApplication::clipboard()->setText("old");
    f.w->SSCommand1_Click();
    const QString expected =
        "PT50,2,1,2,3,4,5,6,7,8,B,1,4,,2,2,3,4,5,6,7,8,9,B,1,4,,2,3,4,5,6,7,8,9,10,B,1,4,,2,4,5,6,7,8,9,10,11,B,1,4\r\n"
        "PT50,2,5,6,7,8,9,10,11,12,B,1,4\r\n";
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    EXPECT_EQ(f.w->List3->items().join("\r\n") + "\r\n", expected);
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].icon, ui::Icon::Information);
    EXPECT_TRUE(seam::messages()[0].text.startsWith("A program most icon állapotban a TÁLCÁRA kerül !\r\r"));
    EXPECT_TRUE(f.w->windowState() & Qt::WindowMinimized);

    // Again with Check1 ticked: the same text, no message, minimised all the same.
    f.w->showNormal();
    f.w->Check1->setChecked(true);
    seam::reset();
    f.w->SSCommand1_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_TRUE(f.w->windowState() & Qt::WindowMinimized);
}

TEST(SubmitWindow, SavedParametersRepriceTheKeyWithTheChosenMultipliers) {
    Folder f;
    f.write("k37.txt", keyRows(37));
    f.load("k37.txt");
    f.w->Option1[1]->setChecked(true);
    f.w->Option2[3]->setChecked(true);
    f.w->setParamWindowDriver([](ParameterWindow& d) {
        d.Text1[kPricePerField]->setText("250");
        d.SSCommand4_Click();
        d.SSCommand1_Click();
    });
    f.w->SSCommand4_Click();
    EXPECT_EQ(f.w->params().pricePerField[1], 250);
    EXPECT_EQ(f.w->Label9->text(), "185000");      // 37 x 250 x 2 x 10
    EXPECT_EQ(f.w->Label12->text(), "189000");     // + 10 tickets x 200 x 2
    EXPECT_TRUE(f.w->Option1[1]->isChecked());
    EXPECT_EQ(f.w->choices().draws, 10);

    // Over the limit: warned about.
    f.w->setParamWindowDriver([](ParameterWindow& d) {
        d.Text1[kMaxStake]->setText("100000");
        d.SSCommand4_Click();
    });
    f.w->SSCommand4_Click();
    EXPECT_EQ(dz::testing::shownTexts().last(),
              "A teljes kulcsot az SZRT. limit miatt 100000 Ft.\regy menetben, egy azonosítóra nem lehet feladni !");

    // With a part prepared the prices stay.
    f.w->Check3[0]->setChecked(true);
    f.w->SSCommand2_Click();
    const QString price = f.w->Label9->text();
    f.w->setParamWindowDriver([](ParameterWindow& d) {
        d.Text1[kPricePerField]->setText("100");
        d.SSCommand4_Click();
    });
    f.w->SSCommand4_Click();
    EXPECT_EQ(f.w->params().pricePerField[1], 100);
    EXPECT_EQ(f.w->Label9->text(), price);
}

TEST(SubmitWindow, ExitAsksWhileRowsAreLeft) {
    Folder f;
    f.w->show();
    f.write("k3.txt", keyRows(3));
    f.load("k3.txt");
    seam::reset();
    seam::queueAnswer(ui::Answer::Cancel);
    f.w->Command3D2_Click();
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Biztos, hogy ki akar lépni ?\r\nA feltöltés nem fejeződött be !"}));
    EXPECT_TRUE(f.w->isVisible());
    EXPECT_EQ(f.w->List1->count(), 3);
    seam::queueAnswer(ui::Answer::Ok);
    f.w->Command3D2_Click();
    EXPECT_FALSE(f.w->isVisible());
}

// A game list without end: its first lines are shown, each cut, and the rest is not read.
TEST(SubmitWindow, EndlessGameListShowsItsHead) {
    dz::testing::ProgramFolderFixture f;
    dz::testing::FedFile feed(f.path("online.txt"), "Dizov\r\n", "x");
    SubmitWindow w;
    w.Form_Load();
    const QStringList games = w.List5->items();
    ASSERT_EQ(games.size(), 2);
    EXPECT_EQ(games[0], QStringLiteral("Dizov"));
    EXPECT_EQ(size_t(games[1].size()), kStartLineBytes);
    // The window reads small files of its own (fonts, translations) on the way.
    EXPECT_LT(feed.fed(), uint64_t(kStartFileLines) * (kStartLineBytes + 2) + (1 << 20));
}

// A named pipe that no process writes in place of a file read at start: the window is up at once
// and does what it does without that file (the default parameters hold, the game list stays
// empty), and the pipe stays as it is.
TEST(SubmitWindow, ANamedPipeForAStartFileCountsAsNoFile) {
    for (const char* name : {"szrtpara.txt", "online.txt"}) {
        SCOPED_TRACE(name);
        dz::testing::ProgramFolderFixture f;
        dz::testing::WriterlessFifo fifo(f.path(QString::fromLatin1(name)));
        ASSERT_TRUE(fifo.made());
        SubmitWindow w;
        w.Form_Load();
        EXPECT_FALSE(fifo.released()) << "the start waited on the pipe";
        EXPECT_EQ(w.List5->count(), 0);
        EXPECT_TRUE(seam::messages().empty());
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(f.path(QString::fromLatin1(name))).constData(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe was replaced";
    }
}
