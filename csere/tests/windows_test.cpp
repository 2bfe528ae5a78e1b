// vazoz's windows offscreen: the board, loading and saving through the one dialog, the
// operations as the buttons run them, and the windows `teljesk` and `vezetes`.
#include "csere/core/keyrows.h"
#include "common/core/random.h"
#include "common/core/textfmt.h"
#include "common/platform/numbergrid.h"
#include "common/platform/widgets.h"
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"
#include "common/tests/unreadable.h"
#include "csere/tests/vazoztest.h"
#include "csere/ui/shippedkeys.h"
#include "csere/ui/keyrecording.h"
#include "csere/ui/fullcombinations.h"
#include "csere/ui/substitution.h"
#include "csere/ui/workshop.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace dz::csere;
namespace seam = dz::ui::seam;

namespace {

struct Vazoz : dz::testing::ProgramFolderFixture {
    WorkshopWindow w;
    Vazoz() { w.show(); }

    template <class T = QWidget>
    T* get(const QString& name) const {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    QString label(const char* name) const { return get<QLabel>(QLatin1String(name))->text(); }
    QPushButton* cell(int n) const { return w.grid()->cell(n); }
    void mark(std::initializer_list<int> ns) const {
        for (int n : ns) QTest::mouseClick(cell(n), Qt::LeftButton);
    }
    QStringList items(int i) const { return w.list(i)->items(); }
    void load(const std::string& bytes) {
        write("key.txt", bytes);
        seam::queueFile(path("key.txt"));
        w.Command3D7_Click();
    }
    QString lastMessage() const { return seam::messages().empty() ? QString() : seam::messages().back().text; }
    // Runs f in the modal window the action opens.
    template <class W>
    void inModal(std::function<void(W&)> f, std::function<void()> action) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* m = qobject_cast<W*>(QApplication::activeModalWidget());
            ASSERT_NE(m, nullptr);
            ran = true;
            f(*m);
            if (m->isVisible()) m->reject();
        });
        action();
        EXPECT_TRUE(ran);
    }
};

}  // namespace

TEST(VazozBoard, CellsRowButtonsAndTheCount) {
    Vazoz v;
    EXPECT_EQ(v.cell(7)->text(), QStringLiteral(" 7 "));
    EXPECT_EQ(v.cell(7)->objectName(), QStringLiteral("Command3D2(7)"));
    for (int r = 0; r < 4; ++r) EXPECT_NE(v.w.findChild<QPushButton*>(QStringLiteral("Command3D21(%1)").arg(r)), nullptr);
    // cells on their 365-twip pitch, the row buttons beside the rows
    EXPECT_EQ(v.cell(2)->x(), dz::ui::twips(6645 + 2 * 365));
    EXPECT_EQ(v.cell(20)->y(), dz::ui::twips(180 + 3 * 365));
    EXPECT_EQ(v.cell(1)->width(), dz::ui::twips(315));
    EXPECT_EQ(v.get<QPushButton>(QStringLiteral("Command3D21(3)"))->y(), dz::ui::twips(225 + 3 * 370));

    v.mark({7});
    EXPECT_EQ(v.label("Label4"), QStringLiteral(" 1"));
    EXPECT_TRUE(v.cell(7)->text().isEmpty());
    QTest::mouseClick(v.get<QPushButton>(QStringLiteral("Command3D21(1)")), Qt::LeftButton);
    EXPECT_EQ(v.w.grid()->selection().mask(), (1u << 6) | (1u << 8) | (1u << 9) | (1u << 10));
    EXPECT_EQ(v.cell(7)->text(), QStringLiteral(" 7 "));  // a row button unmarks as a click does
    EXPECT_EQ(v.label("Label4"), QStringLiteral(" 4"));
    v.w.Command3D3_Click();
    EXPECT_EQ(v.label("Label4"), QString());
    EXPECT_EQ(v.w.grid()->selection().count(), 0);
}

TEST(VazozBoard, HintsAndCaptions) {
    Vazoz v;
    const auto hover = [](QWidget* w) {
        QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(w, &e);
    };
    hover(v.get(QStringLiteral("Command3D24")));
    EXPECT_EQ(v.label("Panel3D1"), QStringLiteral("A kulcs egy kijelölt elemének egy vagy több számmal történő cseréje !"));
    hover(v.get(QStringLiteral("Text1(2)")));
    EXPECT_EQ(v.label("Panel3D1"), QStringLiteral("A véletlen kijelölés darabszáma, kezdő és végértéke !"));
    hover(v.cell(3));  // a cell writes no hint
    EXPECT_EQ(v.label("Panel3D1"), QStringLiteral("A véletlen kijelölés darabszáma, kezdő és végértéke !"));
    hover(&v.w);
    EXPECT_EQ(v.label("Panel3D1"), QString());
    EXPECT_EQ(v.get<QPushButton>(QStringLiteral("Command3D11"))->text(), QStringLiteral(" <- Vissza"));
    EXPECT_EQ(v.label("Label7"), QStringLiteral("Db.     Tól:    Ig:"));
    EXPECT_TRUE(v.w.list(1)->sorted());
    EXPECT_TRUE(v.w.list(2)->sorted());
    EXPECT_EQ(v.w.windowTitle(), QStringLiteral("Vazoz - kulcsok átalakítása          Vumo-Soft/2010"));
}

TEST(VazozBoard, ShowingAListsNumbers) {
    Vazoz v;
    v.load("01 05 17 \r\n01 05 17\r\n");
    v.mark({2});
    v.w.Command3D30_Click();  // List2 empty: List1's numbers; the marks are cleared
    EXPECT_EQ(v.w.grid()->selection().count(), 0);
    for (int n : {1, 5, 17}) EXPECT_TRUE(v.w.grid()->isShown(n)) << n;
    EXPECT_FALSE(v.w.grid()->isShown(2));
    v.mark({5});  // a shown cell marks
    EXPECT_EQ(v.w.grid()->selection().mask(), 1u << 5);

    v.w.list(2)->setItems({QStringLiteral("03 04 ")});
    v.w.Command3D30_Click();
    EXPECT_TRUE(v.w.grid()->isShown(3));
    EXPECT_FALSE(v.w.grid()->isShown(1));
}

TEST(VazozKeys, LoadAnalysesAndARejectedKeyLeavesNothing) {
    Vazoz v;
    v.load("03 07 11 15 \r\n01 02 03 \r\n");
    EXPECT_EQ(v.items(1), (QStringList{"01 02 03 ", "03 07 11 15 "}));
    EXPECT_EQ(v.label("Label1"), QStringLiteral("4"));  // the last row in text order
    EXPECT_EQ(v.label("Label2"), QStringLiteral(" 6"));
    EXPECT_EQ(v.label("Label3"), QStringLiteral(" 2"));
    auto* combo = v.get<QComboBox>(QStringLiteral("Combo1"));
    EXPECT_EQ(combo->count(), 6);
    EXPECT_EQ(combo->currentText(), QStringLiteral("01"));

    v.load("01 02 03 \r\n04 25 06 \r\n");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("20-nél nagyobb szám van a kulcsban !\r04 25 06 "));
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_TRUE(v.items(1).isEmpty());
    EXPECT_EQ(combo->count(), 0);
    EXPECT_EQ(v.w.analysis(), KeyAnalysis{});
    // so the operations refuse instead of running on the old key's figures
    v.mark({1, 2, 3, 4, 5, 6});
    v.w.Command3D4_Click();
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Nincs kulcs kiválasztva !"));

    // an empty first line: an empty key, the type shown before stays
    v.load("01 02 \r\n");
    v.load("\r\n01 02 \r\n");
    EXPECT_EQ(v.label("Label1"), QStringLiteral("2"));
    EXPECT_EQ(v.label("Label2"), QStringLiteral(" 0"));

    // a cancelled dialog changes nothing
    v.load("01 02 03 \r\n");
    seam::queueFile(std::nullopt);
    v.w.Command3D7_Click();
    EXPECT_EQ(v.items(1), QStringList{"01 02 03 "});
    EXPECT_EQ(v.label("Label1"), QStringLiteral("3"));
    EXPECT_EQ(v.label("Label2"), QStringLiteral(" 3"));
    EXPECT_EQ(v.label("Label3"), QStringLiteral(" 1"));
}

TEST(VazozKeys, FilesThatCannotBeReadOrAreNoKeyKeepTheKeyAndSaySo) {
    // "Egyéb kulcs betölt" and the selection's "Betölt": a pipe, a device, a folder, an unreadable
    // or missing file gives "Hibás file megnyitás !"; a key line longer than any key row gives the
    // row message "8-nál több szám van a sorban !" with the row's start. What was loaded stays.
    Vazoz v;
    v.load("01 02 03 \r\n04 05 06 \r\n");
    v.mark({3, 7});
    auto state = [&] {
        return QStringList{v.items(1).join(QLatin1Char('|')), v.label("Label1"), v.label("Label2"), v.label("Label3"),
                           v.get<QComboBox>(QStringLiteral("Combo1"))->currentText(), v.label("Label4"),
                           QString::number(v.w.grid()->selection().mask())};
    };
    const QStringList loaded = state();
    auto refused = [&](void (WorkshopWindow::*handler)(), const QString& path, const QString& message) {
        dz::testing::expectRefusedLoad(path, [&] { (v.w.*handler)(); }, message, state, loaded);
    };
    for (auto handler : {&WorkshopWindow::Command3D7_Click, &WorkshopWindow::Command3D13_Click}) {
        SCOPED_TRACE(handler == &WorkshopWindow::Command3D7_Click ? "key" : "selection");
        dz::testing::forEachUnreadable(v.dir.path(), [&](const QString& path) {
            refused(handler, path, QStringLiteral("Hibás file megnyitás !"));
        });
        for (const char* name : {"fifo.txt", "zero.txt", "locked.txt"}) QFile::remove(v.path(QLatin1String(name)));
        QDir(v.dir.path()).rmdir(QStringLiteral("dir.txt"));
    }
    v.write("long.txt", dz::testing::keyWithALongLine());
    refused(&WorkshopWindow::Command3D7_Click, v.path("long.txt"),
            QStringLiteral("8-nál több szám van a sorban !\r") + QString(dz::kQuoted, QLatin1Char('1')) + QStringLiteral("..."));
}

TEST(VazozKeys, MessagesShowControlCharactersOfARowAsMarks) {
    Vazoz v;
    v.load(std::string("01 25\x01\x1b 03\t\r\n"));
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("20-nél nagyobb szám van a kulcsban !\r01 25\u2401\u241b 03\u2409"));
}

TEST(VazozKeys, TheRowLimitMessage) {
    Vazoz v;
    std::string s;
    for (int i = 0; i < 32737; ++i) s += "01 02 \r\n";
    v.load(s);
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Lista betelt, maximum 32736 sor tölthető be !"));
    EXPECT_EQ(v.label("Label3"), QStringLiteral(" 32736"));

    // A file without end is read no further than the rows kept can take.
    seam::reset();
    dz::testing::FedFile fed(v.path("fed.txt"), "", "01 02 03 \r\n");
    seam::queueFile(v.path("fed.txt"));
    v.w.Command3D7_Click();
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Lista betelt, maximum 32736 sor tölthető be !"));
    EXPECT_EQ(v.label("Label3"), QStringLiteral(" 32736"));
    EXPECT_LT(fed.fed(), uint64_t(4) << 20);
}

TEST(VazozKeys, SwapSaveAndThePointer) {
    Vazoz v;
    v.load("02 05 09 \r\n02 09 \r\n");
    v.mark({4, 11});
    v.w.Command3D4_Click();
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Pontosan  3 számot kell kiválasztani !"));
    EXPECT_EQ(seam::messages().back().title, QStringLiteral("Számcsere"));
    v.mark({20});
    v.w.Command3D4_Click();
    EXPECT_EQ(v.items(2), (QStringList{"04 11 20 ", "04 20 "}));

    seam::queueFile(v.path("uj.txt"));
    v.w.Command3D5_Click();
    ASSERT_FALSE(seam::fileDialogs().empty());
    EXPECT_EQ(seam::fileDialogs().back().fileName, QStringLiteral("kulcs.txt"));
    EXPECT_TRUE(seam::fileDialogs().back().confirmOverwrite);
    EXPECT_EQ(v.read("uj.txt"), "04 11 20 \r\n04 20 \r\n");
    EXPECT_EQ(v.read("filenev.txt"), v.path("uj.txt").toStdString() + "\r\n");
    EXPECT_EQ(v.w.dialogFileName(), v.path("uj.txt"));

    // a save that fails says so and leaves the pointer
    seam::queueFile(v.path("nofolder/x.txt"));
    v.w.Command3D5_Click();
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Hiba a ") + v.path("nofolder/x.txt") +
                                   QStringLiteral(" mentésekor - sikertelen mentés !"));
    EXPECT_EQ(v.read("filenev.txt"), v.path("uj.txt").toStdString() + "\r\n");

    // an empty new key shows no dialog
    v.w.Command3D27_Click();
    const size_t dialogs = seam::fileDialogs().size();
    v.w.Command3D5_Click();
    EXPECT_EQ(seam::fileDialogs().size(), dialogs);
}

// The key is saved when the pointer cannot be, and the window says that the pointer was not.
TEST(VazozKeys, APointerThatCannotBeWrittenIsReported) {
    Vazoz v;
    ASSERT_TRUE(QDir(v.dir.path()).mkdir(QStringLiteral("filenev.txt")));
    v.load("02 05 09 \r\n");
    v.mark({4, 11, 20});
    v.w.Command3D4_Click();  // the swapped key, which the save writes
    seam::reset();
    seam::queueFile(v.path("uj.txt"));
    v.w.Command3D5_Click();
    EXPECT_EQ(v.read("uj.txt"), "04 11 20 \r\n");
    EXPECT_EQ(dz::testing::shownTexts(), QStringList{QStringLiteral("Hiba a filenev.txt mentésekor - sikertelen mentés !")});
    EXPECT_EQ(seam::messages().back().icon, dz::ui::Icon::Critical);
}

TEST(VazozKeys, ReplaceFixAndTakeBack) {
    Vazoz v;
    v.load("02 05 09 \r\n02 07 09 \r\n");
    v.w.Command3D24_Click();
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Nincs CSERÉLENDŐ szám kiválasztva !"));
    auto* combo = v.get<QComboBox>(QStringLiteral("Combo1"));
    combo->setCurrentIndex(1);
    emit combo->textActivated(combo->currentText());
    EXPECT_EQ(v.label("Label9"), QStringLiteral("05"));
    v.mark({12, 19});
    v.w.Command3D24_Click();
    EXPECT_EQ(v.items(2), (QStringList{"02 07 09 ", "02 09 12 19 "}));

    v.w.Command3D11_Click();  // take back
    EXPECT_TRUE(v.items(2).isEmpty());
    EXPECT_EQ(v.items(1), (QStringList{"02 07 09 ", "02 09 12 19 "}));
    EXPECT_EQ(v.label("Label1"), QStringLiteral("4"));
    EXPECT_EQ(v.label("Label2"), QStringLiteral(" 5"));
    EXPECT_EQ(v.label("Label9"), QString());
    EXPECT_EQ(v.w.grid()->selection().count(), 0);

    v.mark({1, 20});
    v.w.Command3D10_Click();
    EXPECT_EQ(v.items(2), (QStringList{"01 02 07 09 20 ", "01 02 09 12 19 20 "}));
    v.mark({20});
    v.mark({9});
    v.w.Command3D10_Click();
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Hibás FIX kiválasztás !\r9-s szám már szerepel a kulcsban !"));

    // the empty new key taken back changes nothing, not even the board
    v.w.Command3D27_Click();
    v.w.Command3D11_Click();
    EXPECT_EQ(v.w.grid()->selection().count(), 2);
    EXPECT_EQ(v.items(1).size(), 2);
}

TEST(VazozKeys, RowRemovalExportSelectionAndDeletion) {
    Vazoz v;
    v.load("01 02 \r\n03 04 \r\n");
    v.w.List1_DblClick(0);
    EXPECT_EQ(v.label("Label3"), QStringLiteral(" 1"));
    EXPECT_EQ(v.label("Label2"), QStringLiteral(" 2"));

    v.w.List1_KeyPress('x');
    EXPECT_TRUE(seam::started().empty());
    v.w.List1_KeyPress('L');
    EXPECT_EQ(v.read("minimum.txt"), "03 04 \r\n");
    ASSERT_EQ(seam::started().size(), 1u);
    EXPECT_EQ(seam::started()[0].file, v.path("minimum.txt"));
    // an export that cannot write says so and starts nothing
    std::remove(v.path("minimum.txt").toLocal8Bit().constData());
    ASSERT_TRUE(QDir(v.dir.path()).mkdir(QStringLiteral("minimum.txt")));
    v.w.List1_KeyPress('l');
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Hiba a ") + v.path("minimum.txt") +
                                   QStringLiteral(" mentésekor - sikertelen mentés !"));
    EXPECT_EQ(seam::started().size(), 1u);

    v.mark({3, 7, 11});
    seam::queueFile(v.path("jeloles.txt"));
    v.w.Command3D14_Click();
    EXPECT_EQ(seam::fileDialogs().back().fileName, QStringLiteral("jeloles.txt"));
    EXPECT_EQ(v.read("jeloles.txt"), "03 07 11 \r\n");
    v.w.Command3D3_Click();
    seam::queueFile(v.path("jeloles.txt"));
    v.w.Command3D13_Click();
    // the name carries from the save into the next dialog that sets none
    EXPECT_EQ(seam::fileDialogs().back().fileName, v.path("jeloles.txt"));
    EXPECT_EQ(v.w.grid()->selection().mask(), (1u << 3) | (1u << 7) | (1u << 11));
    EXPECT_EQ(v.label("Label4"), QStringLiteral(" 3"));

    seam::queueFile(v.path("jeloles.txt"));
    seam::queueAnswer(dz::ui::Answer::Cancel);
    v.w.Command3D15_Click();
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Biztos, hogy törölni akarja a ") + v.path("jeloles.txt"));
    EXPECT_EQ(v.read("jeloles.txt"), "03 07 11 \r\n");
    seam::queueFile(v.path("jeloles.txt"));
    seam::queueAnswer(dz::ui::Answer::Ok);
    v.w.Command3D15_Click();
    EXPECT_EQ(v.read("jeloles.txt"), "<missing>");
    seam::queueFile(v.path("jeloles.txt"));
    seam::queueAnswer(dz::ui::Answer::Ok);
    v.w.Command3D15_Click();
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Sikertelen törlés"));
    EXPECT_EQ(seam::messages().back().title, v.path("jeloles.txt"));
}

TEST(VazozWindows, FullCombinationsIntoTheKeyList) {
    Vazoz v;
    v.inModal<FullCombinationsWindow>(
        [&](FullCombinationsWindow& t) {
            auto* text = t.findChild<QLineEdit*>(QStringLiteral("Text1"));
            auto* l5 = t.findChild<QLabel*>(QStringLiteral("Label5"));
            t.generate(3);
            EXPECT_EQ(v.lastMessage(), QStringLiteral("Nincs megadva, hogy hány számot variáljak !"));
            text->setText(QStringLiteral("20"));
            t.generate(6);
            EXPECT_EQ(l5->text(), QStringLiteral("38760"));
            EXPECT_EQ(v.lastMessage(), QStringLiteral("Maximum 32736 soros kulcs generálható!"));
            EXPECT_TRUE(v.items(1).isEmpty());
            t.Spin1_SpinDown();
            EXPECT_EQ(text->text(), QStringLiteral("19"));
            text->setText(QStringLiteral("5"));
            t.generate(3);
            EXPECT_EQ(t.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("10"));
        },
        [&] { v.w.Command3D9_Click(); });
    EXPECT_EQ(v.items(1).size(), 10);
    EXPECT_EQ(v.items(1).front(), QStringLiteral("01 02 03"));
    EXPECT_EQ(v.label("Label1"), QStringLiteral("3"));
    EXPECT_EQ(v.label("Label2"), QStringLiteral(" 5"));
    EXPECT_TRUE(v.cell(1)->isEnabled());
}

TEST(VazozWindows, DirectedSubstitutionByHandAndAtRandom) {
    Vazoz v;
    v.load("02 05 09 \r\n");
    v.w.list(2)->setItems({QStringLiteral("01 ")});
    v.w.Command3D17_Click();
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Pontosan  3 számot kell kiválasztani !"));
    v.mark({3, 11, 15});
    // "Mégse" keeps the new key the user had
    v.inModal<SubstitutionWindow>([](SubstitutionWindow& z) { z.Command3D3_Click(); }, [&] { v.w.Command3D17_Click(); });
    EXPECT_EQ(v.items(2), QStringList{"01 "});

    v.inModal<SubstitutionWindow>(
        [&](SubstitutionWindow& z) {
            EXPECT_EQ(z.windowTitle(), QStringLiteral(" Irányitott kulcs-behelyettesítés     Vumo-Soft/2010"));
            EXPECT_EQ(z.list(1)->items(), (QStringList{"03", "11", "15"}));
            EXPECT_EQ(z.list(2)->items(), (QStringList{"02", "05", "09"}));
            z.Command3D1_Click();
            EXPECT_EQ(v.lastMessage(), QStringLiteral("Nincs listasor (I.) kiválasztva "));
            z.list(1)->setListIndex(2);
            z.list(2)->setListIndex(0);
            z.Command3D1_Click();  // 02 -> 15
            EXPECT_EQ(z.list(3)->items(), QStringList{"02  15"});
            z.Command3D2_Click();
            EXPECT_EQ(v.lastMessage(), QStringLiteral("Nincs minden listasor (I.) párosítva "));
            z.list(1)->setListIndex(0);
            z.list(2)->setListIndex(0);
            z.Command3D1_Click();  // 05 -> 03
            z.list(1)->setListIndex(0);
            z.list(2)->setListIndex(0);
            z.Command3D1_Click();  // 09 -> 11
            z.Command3D2_Click();
            EXPECT_FALSE(z.isVisible());
        },
        [&] { v.w.Command3D17_Click(); });
    EXPECT_EQ(v.items(2), QStringList{"03 11 15 "});
    EXPECT_EQ(v.items(4), (QStringList{" 02  15", " 05  03", " 09  11"}));
    EXPECT_TRUE(v.w.list(4)->isVisible());

    v.inModal<SubstitutionWindow>([](SubstitutionWindow& z) { z.Command3D5_Click(); }, [&] { v.w.Command3D17_Click(); });
    ASSERT_EQ(v.items(2).size(), 1);
    EXPECT_EQ(rowMask(v.items(2)[0], CountRule::IntegerPart), (1u << 3) | (1u << 11) | (1u << 15));
    EXPECT_EQ(v.items(4).size(), 3);
}

TEST(VazozWindows, RandomSelectionExtensionAndDistribution) {
    Vazoz v;
    dz::programRandom().seed(99);
    auto* count = v.get<QLineEdit>(QStringLiteral("Text1(0)"));
    auto* from = v.get<QLineEdit>(QStringLiteral("Text1(1)"));
    auto* to = v.get<QLineEdit>(QStringLiteral("Text1(2)"));
    count->setText(QStringLiteral("4"));
    from->setText(QStringLiteral("3"));
    to->setText(QStringLiteral("5"));
    v.w.Command3D19_Click();
    EXPECT_EQ(v.lastMessage(), QStringLiteral("Hibás intervallum <-> darab összefüggés !"));
    count->setText(QStringLiteral("5"));
    from->setText(QStringLiteral("11"));
    to->setText(QStringLiteral("20"));
    v.w.Command3D19_Click();
    EXPECT_EQ(v.w.grid()->selection().count(), 5);
    EXPECT_EQ(v.w.grid()->selection().mask() & 0x7FEu, 0u);
    EXPECT_EQ(v.label("Label4"), QStringLiteral("5"));

    v.load("01 02 \r\n03 04 \r\n");
    v.get<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("4"));
    v.w.Command3D23_Click();
    ASSERT_EQ(v.items(2).size(), 2);
    for (const QString& row : v.items(2)) EXPECT_EQ(row.size(), 12) << row.toStdString();

    v.w.Command3D18_Click();
    EXPECT_EQ(v.items(5), (QStringList{"  01   1", "  02   1", "  03   1", "  04   1"}));
    EXPECT_TRUE(v.w.list(5)->isVisible());
    EXPECT_FALSE(v.w.list(4)->isVisible());
    v.w.List5_DblClick();  // List4 is empty: List5 stays
    EXPECT_TRUE(v.w.list(5)->isVisible());
}

TEST(VazozKeys, BadKeyFilesLoadOrAreRefusedAndTheOperationsStaySound) {
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;  // nullptr: none
        int rows;
    };
    std::string many;
    for (int i = 0; i < 40000; ++i) many += "01 02 03 \n";
    const Case cases[] = {
        {"one number", "07\r\n", nullptr, 1},
        {"nine numbers", "01 02 03 04 05 06 07 08 09 \r\n", nullptr, 1},
        {"mixed lengths", "01 02 03 04 05 06 07 08 \r\n09 10 \r\n", nullptr, 2},
        {"letters", "ab cd 05\r\n", nullptr, 1},
        {"negative", "01 -3 05\r\n", "20-nél nagyobb szám van a kulcsban !\r01 -3 05", 0},
        {"fraction", "01 1.5 05\r\n", "20-nél nagyobb szám van a kulcsban !\r01 1.5 05", 0},
        {"comma", "01 02,03 04\r\n", nullptr, 2},
        {"40000 rows", many, "Lista betelt, maximum 32736 sor tölthető be !", 32736},
        {"CR only", "01 02\r03 04\r", nullptr, 2},
        {"binary", std::string("\x01\xff\x00 05 \xfe\r\n", 10), nullptr, 1},
        {"a very long line", std::string(100000, '1'), "8-nál több szám van a sorban !\r111", 0},
        {"a 5 MB line", std::string(5 << 20, '1') + "\r\n01 02\r\n", "8-nál több szám van a sorban !\r111", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Vazoz v;
        v.load(c.bytes);
        if (c.message) {
            EXPECT_TRUE(v.lastMessage().startsWith(QString::fromUtf8(c.message))) << v.lastMessage().toStdString();
            EXPECT_LT(v.lastMessage().size(), 300);  // a huge row is cut in the message
        } else {
            EXPECT_TRUE(seam::messages().empty());
        }
        EXPECT_EQ(v.items(1).size(), c.rows);
        // every operation on what was loaded: a refusal or a sound new key, never a crash
        v.w.grid()->clearAll();
        for (int n = 1; n <= 20; ++n)
            if (v.w.analysis().presence & (1u << n)) v.w.grid()->setMarked(n, true);
        v.w.Command3D4_Click();
        for (const QString& row : v.items(2)) EXPECT_EQ(row.size() % 3, 0) << row.toStdString();
        v.w.Command3D10_Click();
        v.get<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("8"));
        v.w.Command3D23_Click();
        v.w.Command3D18_Click();
        v.w.Command3D30_Click();
        v.w.Command3D11_Click();
        EXPECT_EQ(v.w.analysis().presence & ~0x1FFFFEu, 0u);
    }
}

TEST(VazozWindows, AShippedKeyChosenLoadsThroughTheKeyLoad) {
    Vazoz v;
    QDir(v.dir.path()).mkdir(QStringLiteral("kulcsp"));
    v.write(QStringLiteral("kulcsp/vevud.inf"), "510a0001.txt otos\r\n");
    v.write(QStringLiteral("kulcsp/510a0001.txt"), "01 02 03 04 05 \r\n\r\n06 07 08 09 10 \r\n");
    v.w.list(2)->setItems({QStringLiteral("01 ")});
    v.inModal<dz::csere::ShippedKeysWindow>(
        [](dz::csere::ShippedKeysWindow& g) {
            g.findChild<dz::ui::ListBox*>(QStringLiteral("List1"))->setListIndex(0);
            g.List1_Click(0);
            g.Command3D1_Click();
        },
        [&] { v.w.Command3D8_Click(); });
    EXPECT_TRUE(v.w.shippedKeyChosen());
    EXPECT_EQ(v.label("Label6"), QStringLiteral("510a0001.txt otos"));
    // a shipped key goes on past its empty line
    EXPECT_EQ(v.items(1), (QStringList{"01 02 03 04 05 ", "06 07 08 09 10 "}));
    EXPECT_EQ(v.label("Label3"), QStringLiteral(" 2"));
    EXPECT_EQ(v.w.dialogFileName(), v.path("kulcsp/510a0001.txt"));
    EXPECT_EQ(v.items(2), QStringList{"01 "});  // loading never touches the new key

    // closing without a choice changes nothing
    v.inModal<dz::csere::ShippedKeysWindow>([](dz::csere::ShippedKeysWindow& g) { g.Kilep_Click(); }, [&] { v.w.Command3D8_Click(); });
    EXPECT_EQ(v.items(1).size(), 2);

    v.inModal<dz::csere::KeyRecordingWindow>([](dz::csere::KeyRecordingWindow&) {}, [&] { v.w.Command3D6_Click(); });
}
