// keygen's windows offscreen: the main window's inputs, hints, files and export, the number
// choice window, and the generation's stop and busy rules.
#include "common/core/random.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "common/tests/filelimit.h"
#include "common/platform/numbergrid.h"
#include "common/platform/widgets.h"
#include "common/tests/testutil.h"
#include "common/tests/unreadable.h"
#include "keygen/ui/choicewindow.h"
#include "keygen/ui/mainwindow.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace dz::keygen;
namespace seam = dz::ui::seam;

namespace {

struct KeygenWindow : dz::testing::ProgramFolderFixture {
    MainWindow w;
    explicit KeygenWindow(bool group = false) : w(group) { w.show(); }

    template <class T = QWidget>
    T* get(const char* name) const {
        T* c = w.findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    dz::ui::ListBox* list(const char* name) const { return get<dz::ui::ListBox>(name); }
    QString text(const char* name) const {
        if (auto* l = w.findChild<QLabel*>(QLatin1String(name))) return l->text();
        return get<QLineEdit>(name)->text();
    }
    void setText(const char* name, const QString& t) const { get<QLineEdit>(name)->setText(t); }
    void click(const char* name) const { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
    void choose(std::initializer_list<int> ns) {
        for (int n : ns) w.state().chosen.set(n, true);
    }
    // Opens the modal choice window and runs f inside it.
    void inChoice(std::function<void(NumberChoiceWindow&)> f) {
        QTimer::singleShot(0, &w, [this, f] {
            auto* v = w.choice();
            ASSERT_NE(v, nullptr);
            ASSERT_TRUE(v->isVisible());
            f(*v);
            if (v->isVisible()) v->reject();
        });
        w.Command3D4_Click();
    }
};

void hover(QWidget* w) {
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &e);
}

}  // namespace

TEST(KeygenWindow, ControlsCaptionsAndHints) {
    KeygenWindow k;
    EXPECT_TRUE(k.w.windowTitle().contains(QStringLiteral("(minimum 1 eltérés !)")));
    EXPECT_TRUE(k.w.windowTitle().endsWith(QStringLiteral("     Vumo-Soft/2010")));
    const std::pair<const char*, const char*> buttons[] = {
        {"Command3D3", "Generálás"}, {"SSCommand1", "Állj"},   {"Command3D2", "Random teszt indul"},
        {"Command3D5", "Állományba ment"}, {"Command3D7", "Betölt"}, {"Command3D4", "Kijelöl"}, {"Command3D1", "Vége"}};
    for (const auto& [name, caption] : buttons) {
        SCOPED_TRACE(name);
        auto* b = k.get<QPushButton>(name);
        EXPECT_EQ(b->text(), QString::fromUtf8(caption));
        EXPECT_EQ(b->accessibleDescription(), QLatin1String(name));
    }
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text7"}) EXPECT_EQ(k.text(name), QString());
    EXPECT_TRUE(k.list("List1")->sorted());

    auto* panel = k.get<QLabel>("Panel3D1");
    hover(k.get("Command3D5"));
    EXPECT_EQ(panel->text(), QStringLiteral("A legenerált kulcsot elmenti -> nyomtatás,fix,stb.. ! "));
    hover(k.get("Check2"));
    EXPECT_EQ(panel->text(), QStringLiteral("Ha bejelölt, akkor a szelvényszámot módosítja az egyenletes számeloszlás érdekében !"));
    hover(k.get("Text7"));
    EXPECT_EQ(panel->text(), QStringLiteral("Itt kell megadni, hogy a generált kulcs sorai maximum hány elemben egyezhetnek meg !"));
    hover(&k.w);
    EXPECT_EQ(panel->text(), QString());
}

// The count labels hold their widest values whole and stay left of the key list: " 32736" rows
// and uses, " 163680" the slot index of a run (five slots a row).
TEST(KeygenWindow, CountLabelsHoldTheirWidestValues) {
    for (const bool group : {false, true}) {
        KeygenWindow k(group);
        const int listLeft = k.list("List1")->x();
        for (const auto& [name, widest] : {std::pair{"Label1", " 32736"}, {"Label4", " 32736"}, {"Label7", " 163680"}}) {
            SCOPED_TRACE(name);
            auto* l = k.get<QLabel>(name);
            l->setText(QLatin1String(widest));
            // a framed label without an indent of its own sets its text half an "x" in
            const int indent = l->indent() >= 0 ? l->indent() : l->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()) + indent, l->contentsRect().width());
            EXPECT_LT(l->geometry().right(), listLeft);
        }
    }
}

TEST(KeygenWindow, DoubleClickEmptiesAnInputBox) {
    KeygenWindow k;
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text7"}) {
        k.setText(name, QStringLiteral("12"));
        QTest::mouseDClick(k.get(name), Qt::LeftButton);
        EXPECT_EQ(k.text(name), QString()) << name;
    }
}

TEST(KeygenWindow, SaveWritesTheKeyAndThePointer) {
    KeygenWindow k;
    k.w.Command3D5_Click();  // empty key list: no dialog, no file
    EXPECT_TRUE(seam::fileDialogs().empty());

    k.list("List1")->setItems({QStringLiteral(" 03 07 11 "), QStringLiteral(" 01 02 03 ")});
    seam::queueFile(std::nullopt);  // Cancel
    k.click("Command3D5");
    ASSERT_EQ(seam::fileDialogs().size(), 1u);
    const auto& req = seam::fileDialogs()[0];
    EXPECT_TRUE(req.save);
    EXPECT_EQ(req.fileName, QStringLiteral("kulcs.txt"));
    EXPECT_EQ(req.startFolder, k.dir.path());
    EXPECT_EQ(req.defaultSuffix, QStringLiteral("txt"));
    EXPECT_TRUE(req.confirmOverwrite);
    EXPECT_EQ(k.read("filenev.txt"), "<missing>");

    seam::queueFile(k.path("kulcs.txt"));
    k.click("Command3D5");
    EXPECT_EQ(k.read("kulcs.txt"), " 01 02 03 \r\n 03 07 11 \r\n");
    EXPECT_EQ(k.read("filenev.txt"), k.path("kulcs.txt").toStdString() + "\r\n");
    EXPECT_TRUE(seam::messages().empty());

    // A save that fails says so and leaves the pointer as it was.
    QDir(k.dir.path()).mkdir(QStringLiteral("dir.txt"));
    seam::queueFile(k.path("dir.txt"));
    k.click("Command3D5");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Hiba a ") + k.path("dir.txt") + QStringLiteral(" mentésekor - sikertelen mentés !"));
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Critical);
    EXPECT_EQ(k.read("filenev.txt"), k.path("kulcs.txt").toStdString() + "\r\n");
}

// The key is saved when the pointer cannot be: keygen and keygengroup say that the pointer was not.
TEST(KeygenWindow, APointerThatCannotBeWrittenIsReported) {
    for (const bool group : {false, true}) {
        SCOPED_TRACE(group ? "keygengroup" : "keygen");
        KeygenWindow k(group);
        ASSERT_TRUE(QDir(k.dir.path()).mkdir(QStringLiteral("filenev.txt")));
        k.list("List1")->setItems({QStringLiteral(" 03 07 11 ")});
        seam::queueFile(k.path("kulcs.txt"));
        k.click("Command3D5");
        EXPECT_EQ(k.read("kulcs.txt"), " 03 07 11 \r\n");
        ASSERT_EQ(seam::messages().size(), 1u);
        EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Hiba a filenev.txt mentésekor - sikertelen mentés !"));
        EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Critical);
        EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
        EXPECT_TRUE(QFileInfo(k.path("filenev.txt")).isDir());
    }
}

TEST(KeygenWindow, LoadDerivesTheChoiceAndCancelKeepsTheKey) {
    // keygen and keygengroup load alike; Cancel in the dialog leaves the key, its counts and its
    // choice as they were (an unsaved key is not lost).
    for (const bool group : {false, true}) {
        SCOPED_TRACE(group ? "keygengroup" : "keygen");
        KeygenWindow k(group);
        k.write("k.txt", " 03 07 11 \r\n\r\n 03 11 25 \r\n");
        seam::queueFile(k.path("k.txt"));
        k.click("Command3D7");
        // The empty line is an empty row, first in the sorted list, and counts.
        const QStringList rows{QString(), QStringLiteral("03 07 11 "), QStringLiteral("03 11 25 ")};
        EXPECT_EQ(k.list("List1")->items(), rows);
        auto same = [&] {
            EXPECT_EQ(k.list("List1")->items(), rows);
            EXPECT_EQ(k.text("Label6"), QStringLiteral(" 3"));
            EXPECT_EQ(k.text("Label7"), QStringLiteral(" 3"));
            EXPECT_EQ(k.text("Text1"), QStringLiteral(" 3"));
            EXPECT_EQ(k.text("Text2"), QStringLiteral("3"));
            EXPECT_EQ(k.w.state().chosenMask(), (1u << 3) | (1u << 7) | (1u << 11));
            EXPECT_EQ(k.w.state().gameType, 3);
        };
        same();
        seam::queueFile(std::nullopt);
        k.click("Command3D7");
        same();
        EXPECT_TRUE(seam::messages().empty());
    }
}

TEST(KeygenWindow, FilesThatCannotBeReadOrAreNoKeyKeepTheKeyAndSaySo) {
    // Whatever the "Betölt" dialog names: a pipe, a device, a folder, an unreadable or missing
    // file gives "Hibás file megnyitás !", a line longer than any key row "Hibás kulcsformátum !";
    // the key, its counts and its choice stay.
    for (const bool group : {false, true}) {
        SCOPED_TRACE(group ? "keygengroup" : "keygen");
        KeygenWindow k(group);
        k.write("k.txt", " 03 07 11 \r\n 03 11 20 \r\n");
        seam::queueFile(k.path("k.txt"));
        k.click("Command3D7");
        auto state = [&] {
            return QStringList{k.list("List1")->items().join(QLatin1Char('|')), k.text("Label6"), k.text("Label7"),
                               k.text("Text1"), k.text("Text2"), QString::number(k.w.state().chosenMask()),
                               QString::number(k.w.state().gameType)};
        };
        const QStringList loaded = state();
        ASSERT_EQ(loaded[0], QStringLiteral("03 07 11 |03 11 20 "));
        auto refused = [&](const QString& path, const QString& message) {
            dz::testing::expectRefusedLoad(path, [&] { k.click("Command3D7"); }, message, state, loaded);
        };
        dz::testing::forEachUnreadable(k.dir.path(), [&](const QString& path) {
            refused(path, QStringLiteral("Hibás file megnyitás !"));
        });
        k.write("long.txt", dz::testing::keyWithALongLine());
        refused(k.path("long.txt"), QStringLiteral("Hibás kulcsformátum !"));
        k.write("nul.txt", std::string(8 << 20, '\0'));
        refused(k.path("nul.txt"), QStringLiteral("Hibás kulcsformátum !"));
        // The longest row a reader keeps still loads.
        k.write("edge.txt", std::string(dz::kLineTextLimit, '1') + "\r\n");
        seam::reset();
        seam::queueFile(k.path("edge.txt"));
        k.click("Command3D7");
        EXPECT_TRUE(seam::messages().empty());
        EXPECT_EQ(k.list("List1")->count(), 1);
    }
}

TEST(KeygenWindow, LoadStopsAtTheRowLimitWithTheMessage) {
    KeygenWindow k;
    std::string bytes;
    for (int i = 0; i < 32740; ++i) bytes += " 01 02 \r\n";
    k.write("big.txt", bytes);
    seam::queueFile(k.path("big.txt"));
    k.click("Command3D7");
    EXPECT_EQ(k.list("List1")->count(), 32736);
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Maximum 32736 sor adható meg !"));
    EXPECT_EQ(k.text("Label7"), QStringLiteral(" 32736"));
}

TEST(KeygenWindow, LAndLowerLExportAndStartTheSpreadsheetOtherKeysNot) {
    KeygenWindow k;
    auto* list = k.list("List1");
    list->setItems({QStringLiteral(" 01 02 "), QStringLiteral("03 04 ")});
    QTest::keyClick(list, Qt::Key_X);
    EXPECT_TRUE(seam::started().empty());
    EXPECT_EQ(k.read("minimum.txt"), "<missing>");
    QTest::keyClick(list, Qt::Key_L);  // "l"
    ASSERT_EQ(seam::started().size(), 1u);
    EXPECT_EQ(seam::started()[0].file, k.path("minimum.txt"));
    EXPECT_EQ(k.read("minimum.txt"), " 01 02 \r\n03 04 \r\n");
    QTest::keyClick(list, Qt::Key_L, Qt::ShiftModifier);  // "L"
    EXPECT_EQ(seam::started().size(), 2u);
}

TEST(KeygenWindow, FailedExportSaysSoAndStartsNothing) {
    KeygenWindow k;
    k.write("minimum.txt", "old\r\n");
    auto* list = k.list("List1");
    list->setItems({QStringLiteral(" 01 02 03 04 05 06 07 08 ")});
    {
        const dz::testing::FileSizeLimit fullDisk(8);
        QTest::keyClick(list, Qt::Key_L);
    }
    EXPECT_TRUE(seam::started().empty());
    EXPECT_EQ(k.read("minimum.txt"), "old\r\n");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Hiba a minimum.txt mentésekor - sikertelen mentés !"));
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Critical);
}

TEST(KeygenWindow, ChoiceMarksCountsAndHandsTheCountBackOnlyOnAccept) {
    KeygenWindow k;
    k.inChoice([&](NumberChoiceWindow& v) {
        EXPECT_EQ(v.windowTitle(), QStringLiteral("Sszám kijelölés.                      Vumo-Soft/2010"));
        auto* grid = v.grid();
        for (int n : {3, 7, 11, 5}) QTest::mouseClick(grid->cell(n), Qt::LeftButton);
        QTest::mouseClick(grid->cell(5), Qt::LeftButton);  // twice: back to its caption
        EXPECT_EQ(grid->cell(5)->text(), QStringLiteral(" 5 "));
        EXPECT_TRUE(grid->showsImage(3));
        EXPECT_EQ(grid->cell(3)->text(), QString());
        EXPECT_EQ(v.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral(" 3"));
        QTest::mouseClick(v.findChild<QPushButton*>(QStringLiteral("Command3D4")), Qt::LeftButton);
        EXPECT_FALSE(v.isVisible());
    });
    EXPECT_EQ(k.text("Label6"), QStringLiteral(" 3"));
    EXPECT_EQ(k.w.state().chosen.mask(), (1u << 3) | (1u << 7) | (1u << 11));

    // "Mégsem": the flags keep the change, Label6 does not; the marks are there at the next opening.
    k.inChoice([&](NumberChoiceWindow& v) {
        EXPECT_TRUE(v.grid()->showsImage(7));
        QTest::mouseClick(v.grid()->cell(20), Qt::LeftButton);
        QTest::mouseClick(v.findChild<QPushButton*>(QStringLiteral("Command3D1")), Qt::LeftButton);
    });
    EXPECT_EQ(k.text("Label6"), QStringLiteral(" 3"));
    EXPECT_EQ(k.w.state().chosen.count(), 4);
    ASSERT_NE(k.w.choice(), nullptr);

    // The close box unloads it: the next opening starts with nothing chosen.
    k.inChoice([&](NumberChoiceWindow& v) { v.close(); });
    EXPECT_EQ(k.w.choice(), nullptr);
    k.inChoice([&](NumberChoiceWindow& v) {
        EXPECT_EQ(k.w.state().chosen.count(), 0);
        EXPECT_FALSE(v.grid()->showsImage(3));
    });
}

TEST(KeygenWindow, ChoiceIsRedrawnFromTheFlagsAfterAKeyLoad) {
    KeygenWindow k;
    k.inChoice([&](NumberChoiceWindow& v) { QTest::mouseClick(v.grid()->cell(1), Qt::LeftButton); });
    k.write("k.txt", "04 05 06 \r\n");
    seam::queueFile(k.path("k.txt"));
    k.click("Command3D7");
    k.inChoice([&](NumberChoiceWindow& v) {
        EXPECT_FALSE(v.grid()->showsImage(1));
        for (int n : {4, 5, 6}) EXPECT_TRUE(v.grid()->showsImage(n)) << n;
        EXPECT_EQ(v.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral(" 3"));
    });
}

TEST(KeygenWindow, ChoiceSavesAndLoadsTheSelectionFile) {
    KeygenWindow k;
    k.inChoice([&](NumberChoiceWindow& v) {
        for (int n : {11, 3, 7}) QTest::mouseClick(v.grid()->cell(n), Qt::LeftButton);
        seam::queueFile(std::nullopt);
        v.Command3D8_Click();  // Cancel: nothing written
        seam::queueFile(k.path("jeloles1.txt"));
        v.Command3D8_Click();
        EXPECT_EQ(seam::fileDialogs().back().fileName, QStringLiteral("jeloles1.txt"));
        EXPECT_EQ(k.read("jeloles1.txt"), "kulcs1\r\n03 07 11 \r\n");

        // A load starts by clearing: Cancel leaves the grid empty.
        seam::queueFile(std::nullopt);
        v.Command3D5_Click();
        EXPECT_EQ(k.w.state().chosen.count(), 0);
        EXPECT_FALSE(v.grid()->showsImage(3));
        EXPECT_EQ(v.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QString());

        seam::queueFile(k.path("jeloles1.txt"));
        v.Command3D5_Click();
        EXPECT_EQ(k.w.state().chosen.mask(), (1u << 3) | (1u << 7) | (1u << 11));
        EXPECT_TRUE(v.grid()->showsImage(11));

        k.write("key.txt", " 01 02 03 \r\n");
        seam::queueFile(k.path("key.txt"));
        v.Command3D5_Click();
        ASSERT_EQ(seam::messages().size(), 1u);
        EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Ez nem kijelölés mentés file !"));
        EXPECT_EQ(k.w.state().chosen.count(), 0);

        QDir(k.dir.path()).mkdir(QStringLiteral("d.txt"));
        QTest::mouseClick(v.grid()->cell(2), Qt::LeftButton);
        seam::queueFile(k.path("d.txt"));
        v.Command3D8_Click();
        EXPECT_EQ(seam::messages().back().text,
                  QStringLiteral("Hiba a ") + k.path("d.txt") + QStringLiteral(" mentésekor - sikertelen mentés !"));
    });
    EXPECT_EQ(k.text("Label6"), QString());  // never accepted
}

TEST(KeygenWindow, ChoiceSaysWhenASelectionFileCannotBeRead) {
    // "Kijel.vissza" clears the choice before its dialog; a name it cannot read then says so.
    KeygenWindow k;
    k.inChoice([&](NumberChoiceWindow& v) {
        auto count = [&] { return QStringList{QString::number(k.w.state().chosen.count())}; };
        dz::testing::forEachUnreadable(k.dir.path(), [&](const QString& path) {
            QTest::mouseClick(v.grid()->cell(4), Qt::LeftButton);
            dz::testing::expectRefusedLoad(path, [&] { v.Command3D5_Click(); }, QStringLiteral("Hibás file megnyitás !"),
                                           count, {QStringLiteral("0")});
        });
    });
}

TEST(KeygenWindow, GenerationFillsTheKeyAndAsksAboutTheAdjustment) {
    KeygenWindow k;
    k.choose({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    k.setText("Text1", QStringLiteral("10"));
    k.setText("Text2", QStringLiteral("5"));
    k.setText("Text7", QStringLiteral("4"));
    k.get<QCheckBox>("Check2")->setChecked(true);
    QSignalSpy done(&k.w, &MainWindow::generationFinished);
    k.click("Command3D3");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Question);
    EXPECT_EQ(seam::messages()[0].text,
              QStringLiteral("A szelvényszámot módosítottam, hogy generáláskor\rminden szám kb. ugyanannyiszor szerepelhessen !"));
    EXPECT_EQ(k.text("Text1"), QStringLiteral("12"));
    ASSERT_TRUE(done.count() > 0 || done.wait(10000));
    EXPECT_FALSE(k.w.busy());
    EXPECT_TRUE(k.get("Text1")->isEnabled());
    const QStringList rows = k.list("List1")->items();
    EXPECT_GT(rows.size(), 0);
    EXPECT_EQ(k.text("Label7"), dz::str(rows.size()));
    EXPECT_EQ(k.text("Label4"), QStringLiteral(" 5"));
    // List2 agrees with the key.
    std::array<int, 21> uses{};
    for (const QString& r : rows)
        for (int j = 1; j <= 5; ++j) ++uses[size_t(dz::val(QStringView(r).mid(3 * (j - 1) + 1, 3)))];
    QStringList expected;
    for (int n = 1; n <= 20; ++n)
        if (uses[size_t(n)]) expected << dz::format(n, "00") + QStringLiteral("  ") + dz::str(uses[size_t(n)]);
    EXPECT_EQ(k.list("List2")->items(), expected);
}

TEST(KeygenWindow, AdjustmentPastTheRowLimitRunsOnWithTheRaisedCount) {
    for (const char* wanted : {"32736", "32735"}) {
        SCOPED_TRACE(wanted);
        KeygenWindow k;
        k.choose({1, 2, 3, 4, 5, 6, 7});
        k.setText("Text1", QString::fromLatin1(wanted));
        k.setText("Text2", QStringLiteral("3"));
        k.setText("Text7", QStringLiteral("2"));
        k.get<QCheckBox>("Check2")->setChecked(true);
        QSignalSpy done(&k.w, &MainWindow::generationFinished);
        k.click("Command3D3");
        ASSERT_EQ(seam::messages().size(), 1u);
        EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Question);
        EXPECT_EQ(k.text("Text1"), QStringLiteral("32739"));
        ASSERT_TRUE(done.count() > 0 || done.wait(30000));
        EXPECT_EQ(seam::messages().size(), 1u) << "no row limit message after the adjustment";
        // Every one of the C(7, 3) = 35 rows.
        EXPECT_EQ(k.list("List1")->count(), 35);
        EXPECT_EQ(k.text("Label7"), QStringLiteral(" 35"));
        EXPECT_EQ(k.list("List2")->count(), 7);
    }
}

TEST(KeygenWindow, ValidationMessageLeavesTheKeyEmpty) {
    KeygenWindow k;
    k.list("List1")->setItems({QStringLiteral(" 01 02 ")});
    k.setText("Text2", QStringLiteral("1"));
    k.click("Command3D3");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("A játéktipus 2-8 közötti lehet !"));
    EXPECT_EQ(k.list("List1")->count(), 0);
    EXPECT_FALSE(k.w.busy());
}

TEST(KeygenWindow, StopAnswersAtOnceAndOtherHandlersWaitMeanwhile) {
    KeygenWindow k;
    k.choose({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    k.setText("Text1", QStringLiteral("200"));
    k.setText("Text2", QStringLiteral("6"));
    k.setText("Text7", QStringLiteral("5"));
    k.setText("Text3", QStringLiteral("100000000"));  // reruns without end
    k.get<QCheckBox>("Check1")->setChecked(true);
    QSignalSpy done(&k.w, &MainWindow::generationFinished);
    k.click("Command3D3");
    ASSERT_TRUE(k.w.busy());
    EXPECT_FALSE(k.get("Text1")->isEnabled());
    EXPECT_FALSE(k.get("Check1")->isEnabled());
    EXPECT_TRUE(k.get("Check2")->isEnabled());
    // The hourglass everywhere but over "Állj", the disabled boxes included.
    EXPECT_EQ(k.w.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(k.get("Text4")->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(k.get("List1")->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(k.get("SSCommand1")->cursor().shape(), Qt::ArrowCursor);
    QTest::qWait(150);
    ASSERT_EQ(done.count(), 0);

    // Busy: saving, loading, choosing, the export, "Vége" and the double click do nothing.
    k.w.Command3D5_Click();
    k.w.Command3D7_Click();
    k.w.Command3D4_Click();
    k.w.Command3D2_Click();
    QTest::keyClick(k.list("List1"), Qt::Key_L);
    k.w.Command3D1_Click();
    QTest::mouseDClick(k.get("Text4"), Qt::LeftButton);
    EXPECT_TRUE(seam::fileDialogs().empty());
    EXPECT_TRUE(seam::started().empty());
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_EQ(k.w.choice(), nullptr);
    EXPECT_TRUE(k.w.isVisible());

    // The engine sees the flag before its next draw (its own tests count that); here only the
    // round trip through a loaded scheduler is timed, with room for the sanitizers.
    k.click("SSCommand1");
    ASSERT_TRUE(done.count() > 0 || done.wait(10000));
    EXPECT_FALSE(k.w.busy());
    EXPECT_TRUE(k.get("Text1")->isEnabled());
    EXPECT_EQ(k.get("Text4")->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(k.w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(k.text("Label7"), dz::str(k.list("List1")->count()));

    k.click("Command3D1");  // "Vége" when idle ends at once
    EXPECT_FALSE(k.w.isVisible());
}

TEST(KeygenWindow, CloseBoxStopsARunFirst) {
    KeygenWindow k;
    k.choose({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    k.setText("Text1", QStringLiteral("200"));
    k.setText("Text2", QStringLiteral("6"));
    k.setText("Text7", QStringLiteral("5"));
    k.setText("Text3", QStringLiteral("100000000"));
    k.get<QCheckBox>("Check1")->setChecked(true);
    k.click("Command3D3");
    ASSERT_TRUE(k.w.busy());
    QTest::qWait(50);
    EXPECT_TRUE(k.w.close());  // waits for the worker, which stops at its next draw
    EXPECT_FALSE(k.w.isVisible());
}

TEST(KeygenWindow, KeyTestOverALoadedKey) {
    KeygenWindow k;
    k.setText("Text4", QStringLiteral("5"));
    k.setText("Text5", QStringLiteral("12"));
    k.click("Command3D2");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Nincs kombináció generálva !"));

    k.write("k.txt", " 01 02 03 04 05 \r\n");
    seam::queueFile(k.path("k.txt"));
    k.click("Command3D7");
    k.click("Command3D2");
    EXPECT_EQ(seam::messages().size(), 1u);
    ASSERT_EQ(k.list("List4")->count(), 12);
    EXPECT_EQ(k.list("List4")->item(0), QStringLiteral("01   1  0  0  0  "));
    EXPECT_EQ(k.list("List5")->items(), (QStringList{QStringLiteral("0 hiba :  12"), QStringLiteral("1 hiba :  0"),
                                                     QStringLiteral("2 hiba :  0"), QStringLiteral("3 hiba :  0")}));
    EXPECT_FALSE(k.w.busy());
}

TEST(KeygenWindow, SecondStartIsRefused) {
    dz::testing::ProgramFolderFixture f;
    auto first = dz::ui::lockSingleInstance(QStringLiteral("keygen"));
    ASSERT_TRUE(first);
    // The lock is held against any other open of the file, as another process makes it.
    EXPECT_FALSE(dz::testing::lockableElsewhere(f.path("keygen.lock")));
    EXPECT_EQ(dz::ui::lockSingleInstance(QStringLiteral("keygen")), nullptr);
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("keygen márt fut ! "));
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Warning);
    first.reset();
    EXPECT_TRUE(dz::testing::lockableElsewhere(f.path("keygen.lock")));
    EXPECT_TRUE(dz::ui::lockSingleInstance(QStringLiteral("keygen")));
    EXPECT_EQ(seam::messages().size(), 1u);
}

TEST(KeygenWindow, RaggedKeyFileLoadsTestsAndIsRefusedSafely) {
    KeygenWindow k;
    std::string bytes = "\t 01 02,03 04\r\n\r\n   \r\n21 22 23 24\n05 06 07\r07 08\r\n";
    bytes += std::string("\x00\x01\xff abc\r\n", 9);
    bytes += std::string(3000, '9') + "\r\n";  // one long row, last in order: game type 1000
    k.write("r.txt", bytes);
    seam::queueFile(k.path("r.txt"));
    k.click("Command3D7");
    const QStringList items = k.list("List1")->items();
    ASSERT_EQ(items.size(), 9);
    EXPECT_EQ(items.mid(0, 2), QStringList(2, QString()));  // the empty line and the blank one
    EXPECT_EQ(items[2].left(2), QString(QChar(0)) + QChar(1));  // byte order: the stray bytes next
    EXPECT_EQ(items.mid(3, 5), (QStringList{QStringLiteral("01 02"), QStringLiteral("03 04"), QStringLiteral("05 06 07"),
                                            QStringLiteral("07 08"), QStringLiteral("21 22 23 24")}));
    EXPECT_EQ(k.text("Label6"), QStringLiteral(" 8"));  // 1..8; cells above 20 mark nothing
    EXPECT_EQ(k.text("Text2"), QStringLiteral("1000"));

    // The test over such a type counts no row in any column; the generation refuses the type.
    k.setText("Text4", QStringLiteral("3"));
    k.setText("Text5", QStringLiteral("5"));
    k.click("Command3D2");
    ASSERT_EQ(k.list("List4")->count(), 5);
    EXPECT_EQ(k.list("List4")->item(4), QStringLiteral("05   0  0  0  0  "));
    k.setText("Text1", QStringLiteral("10"));
    k.setText("Text7", QStringLiteral("2"));
    k.click("Command3D3");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("A játéktipus 2-8 közötti lehet !"));
    EXPECT_FALSE(k.w.busy());
}

// The generation on the worker draws from a source of its own: the program's stays where it was.
TEST(KeygenWindow, GenerationLeavesTheProgramsSourceAlone) {
    KeygenWindow k;
    k.choose({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    k.setText("Text1", QStringLiteral("50"));
    k.setText("Text2", QStringLiteral("5"));
    k.setText("Text7", QStringLiteral("3"));
    dz::programRandom().seed(4242);
    QSignalSpy done(&k.w, &MainWindow::generationFinished);
    k.click("Command3D3");
    ASSERT_TRUE(done.count() > 0 || done.wait(10000));
    EXPECT_GT(k.list("List1")->count(), 0);
    dz::Random fresh(4242);
    EXPECT_EQ(dz::programRandom().next(), fresh.next());
}
