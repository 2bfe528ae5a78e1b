// The shipped keys window offscreen: the two orders, choosing, adding and deleting, and the
// description file written back only after a change.
#include "common/platform/widgets.h"
#include "common/tests/testutil.h"
#include "csere/ui/shippedkeys.h"
#include "csere/ui/workshop.h"

#include <QApplication>
#include <QTimer>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using dz::csere::ShippedKeysWindow;
namespace seam = dz::ui::seam;

namespace {

// Unsorted on purpose: the window sorts, the file keeps its order until a change.
const std::string kInf =
    "820b0001.txt nyolcas\r\n"
    "510a0001.txt otos\r\n"
    "612c0001.txt hatos\r\n"
    "x07z0001.txt no type\r\n"
    "612c0001.dat same eight\r\n";

struct ShippedFolder : dz::testing::ProgramFolderFixture {
    explicit ShippedFolder(bool withFolder = true) {
        seam::enable();
        if (withFolder) {
            QDir(dir.path()).mkdir(QStringLiteral("kulcsp"));
            write(QStringLiteral("kulcsp/vevud.inf"), kInf);
        }
    }
    template <class T = QWidget>
    static T* get(const ShippedKeysWindow& w, const char* name) {
        T* c = w.findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static dz::ui::ListBox* list(const ShippedKeysWindow& w, const char* name) { return get<dz::ui::ListBox>(w, name); }
};

}  // namespace

TEST(ShippedKeysWindow, BothOrdersAndChoosing) {
    ShippedFolder f;
    ShippedKeysWindow w;
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("  Eddigi beépített kulcsok !"));
    auto* l1 = f.list(w, "List1");
    EXPECT_EQ(l1->items(), (QStringList{QStringLiteral("510a0001.txt otos"), QStringLiteral("612c0001.dat same eight"),
                                        QStringLiteral("612c0001.txt hatos"), QStringLiteral("820b0001.txt nyolcas"),
                                        QStringLiteral("x07z0001.txt no type")}));
    EXPECT_EQ(f.get<QLabel>(w, "Label1")->text(), QStringLiteral("5"));

    f.get<QRadioButton>(w, "Option1(1)")->setChecked(true);
    auto* l2 = f.list(w, "List2");
    EXPECT_TRUE(l2->isVisible());
    EXPECT_FALSE(l1->isVisible());
    EXPECT_EQ(l2->items(), (QStringList{QStringLiteral("070z0001.txt no type"), QStringLiteral("105a0001.txt otos"),
                                        QStringLiteral("126c0001.dat same eight"), QStringLiteral("126c0001.txt hatos"),
                                        QStringLiteral("208b0001.txt nyolcas")}));
    EXPECT_FALSE(f.get<QPushButton>(w, "Command3D2")->isEnabled());
    EXPECT_FALSE(f.get<QPushButton>(w, "Command3D3")->isEnabled());
    // The row clicked is the row chosen, even where two rows begin alike.
    l2->setListIndex(3);
    EXPECT_EQ(f.get<QLineEdit>(w, "Text1")->text(), QStringLiteral("612c0001.txt hatos"));
    EXPECT_EQ(l1->listIndex(), 2);
    w.Command3D1_Click();
    EXPECT_TRUE(w.chosen());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.chosenLine(), QStringLiteral("612c0001.txt hatos"));
    EXPECT_EQ(w.chosenFileName(), QStringLiteral("612c0001.txt"));
    EXPECT_EQ(w.chosenPath(), f.path(QStringLiteral("kulcsp/612c0001.txt")));
    EXPECT_EQ(w.selectedIndex(), 2);
    EXPECT_EQ(f.read(QStringLiteral("kulcsp/vevud.inf")), kInf);  // unchanged: not written
}

TEST(ShippedKeysWindow, ChoosingNeedsASelection) {
    ShippedFolder f;
    ShippedKeysWindow w;
    w.show();
    w.Command3D1_Click();
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Nincs kulcs kiválasztva !"));
    EXPECT_TRUE(w.isVisible());
    w.Command3D2_Click();
    EXPECT_EQ(seam::messages().back().text, QStringLiteral("Nincs listasor kiválasztva "));
    w.Kilep_Click();
    EXPECT_FALSE(w.chosen());
    EXPECT_EQ(f.read(QStringLiteral("kulcsp/vevud.inf")), kInf);
}

TEST(ShippedKeysWindow, AddingAboveTheSelectionStillChoosesIt) {
    ShippedFolder f;
    ShippedKeysWindow w;
    w.show();
    auto* l1 = f.list(w, "List1");
    l1->setListIndex(3);  // 820b0001.txt
    auto* text1 = f.get<QLineEdit>(w, "Text1");
    text1->setText(QStringLiteral("505d0001.txt új ötös"));
    seam::queueAnswer(dz::ui::Answer::Ok);
    w.Command3D3_Click();
    EXPECT_EQ(text1->text(), QString());
    EXPECT_EQ(f.get<QLabel>(w, "Label1")->text(), QStringLiteral("6"));
    w.Command3D1_Click();
    EXPECT_EQ(w.chosenLine(), QStringLiteral("820b0001.txt nyolcas"));
    EXPECT_EQ(f.read(QStringLiteral("kulcsp/vevud.inf")),
              "505d0001.txt \xFAj \xF6t\xF6s\r\n510a0001.txt otos\r\n612c0001.dat same eight\r\n612c0001.txt hatos\r\n"
              "820b0001.txt nyolcas\r\nx07z0001.txt no type\r\n");
}

TEST(ShippedKeysWindow, DeletingAsksAndKilepWritesBack) {
    ShippedFolder f;
    ShippedKeysWindow w;
    w.show();
    auto* l1 = f.list(w, "List1");
    l1->setListIndex(0);
    seam::queueAnswer(dz::ui::Answer::Cancel);
    w.Command3D2_Click();
    EXPECT_EQ(l1->count(), 5);
    EXPECT_FALSE(w.modified());
    l1->setListIndex(0);
    seam::queueAnswer(dz::ui::Answer::Ok);
    w.Command3D2_Click();
    EXPECT_EQ(seam::messages().back().text, QStringLiteral("Biztos, hogy törölni akarja a kiválasztott kulcsleírást ?"));
    EXPECT_EQ(l1->count(), 4);
    w.Kilep_Click();
    EXPECT_FALSE(w.chosen());
    EXPECT_EQ(f.read(QStringLiteral("kulcsp/vevud.inf")),
              "612c0001.dat same eight\r\n612c0001.txt hatos\r\n820b0001.txt nyolcas\r\nx07z0001.txt no type\r\n");
}

TEST(ShippedKeysWindow, AMissingFolderGivesAnEmptyListAndAReportedWrite) {
    ShippedFolder f(false);
    ShippedKeysWindow w;
    w.show();
    EXPECT_EQ(f.list(w, "List1")->count(), 0);
    EXPECT_EQ(f.get<QLabel>(w, "Label1")->text(), QString());
    f.get<QLineEdit>(w, "Text1")->setText(QStringLiteral("510a.txt"));
    seam::queueAnswer(dz::ui::Answer::Ok);
    w.Command3D3_Click();
    w.Kilep_Click();
    ASSERT_FALSE(seam::messages().empty());
    EXPECT_TRUE(seam::messages().back().text.startsWith(QStringLiteral("Hiba a ")));
    EXPECT_TRUE(seam::messages().back().text.endsWith(QStringLiteral(" mentésekor - sikertelen mentés !")));
    EXPECT_FALSE(w.isVisible());
}

TEST(ShippedKeysWindow, OddLinesAreShownKeptAndChosenWithoutAPath) {
    dz::testing::ProgramFolderFixture f;
    seam::enable();
    QDir(f.dir.path()).mkdir(QStringLiteral("kulcsp"));
    const std::string inf = "5\r\n            blank name\r\n\r\n612c0001.txt\r\n";
    f.write(QStringLiteral("kulcsp/vevud.inf"), inf);
    ShippedKeysWindow w;
    w.show();
    auto* l1 = ShippedFolder::list(w, "List1");
    EXPECT_EQ(l1->count(), 4);
    ShippedFolder::get<QRadioButton>(w, "Option1(1)")->setChecked(true);
    EXPECT_EQ(ShippedFolder::list(w, "List2")->items(),
              (QStringList{QStringLiteral("000"), QStringLiteral("000     ") + QStringLiteral("    blank name"),
                           QStringLiteral("005"), QStringLiteral("126c0001.txt")}));
    ShippedFolder::list(w, "List2")->setListIndex(1);
    w.Command3D1_Click();
    EXPECT_TRUE(w.chosen());
    EXPECT_EQ(w.chosenFileName(), QString());
    EXPECT_EQ(w.chosenPath(), QString());  // nothing to load
    EXPECT_EQ(f.read(QStringLiteral("kulcsp/vevud.inf")), inf);
}

// The workshop's "Dizov kulcs betölt" opens this window and loads the chosen key.
TEST(ShippedKeysWindow, TheWorkshopLoadsTheChosenKey) {
    ShippedFolder f;
    f.write(QStringLiteral("kulcsp/612C0001.TXT"), "01 02 03 04 05 06 \r\n\r\n07 08 09 10 11 12 \r\n");
    dz::csere::WorkshopWindow main;
    main.show();
    QTimer::singleShot(0, &main, [] {
        auto* g = qobject_cast<ShippedKeysWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(g, nullptr);
        ShippedFolder::list(*g, "List1")->setListIndex(2);  // 612c0001.txt hatos
        g->Command3D1_Click();
    });
    main.Command3D8_Click();
    EXPECT_EQ(main.list(1)->count(), 2);
    EXPECT_EQ(main.findChild<QLabel*>(QStringLiteral("Label6"))->text(), QStringLiteral("612c0001.txt hatos"));
}
