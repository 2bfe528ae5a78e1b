// keygengroup's windows offscreen: the grouped choice beside a disabled main window, its
// confirmation and file, the text file viewer, and the grouped generation driven by the window.
#include "common/core/cp1250.h"
#include "keygen/core/keytest.h"
#include "common/core/textfmt.h"
#include "common/platform/numbergrid.h"
#include "common/platform/widgets.h"
#include "common/tests/testutil.h"
#include "common/tests/unreadable.h"
#include "keygen/ui/groupchoice.h"
#include "keygen/ui/mainwindow.h"

#include <QAccessible>
#include <QCheckBox>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <bit>
#include <gtest/gtest.h>

using namespace dz::keygen;
namespace seam = dz::ui::seam;

namespace {

template <class T = QWidget>
T* get(const QWidget* parent, const QString& name) {
    T* c = parent->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
}

struct GroupWindows : dz::testing::ProgramFolderFixture {
    MainWindow w{true};
    GroupWindows() { w.show(); }

    group::GroupChoiceWindow* open() {
        w.Command3D4_Click();
        return w.groupChoice();
    }
    QString mainText(const char* name) const {
        if (auto* l = w.findChild<QLabel*>(QLatin1String(name))) return l->text();
        return get<QLineEdit>(&w, QLatin1String(name))->text();
    }
    void setMain(const char* name, const QString& t) const { get<QLineEdit>(&w, QLatin1String(name))->setText(t); }
    dz::ui::ListBox* list(const char* name) const { return get<dz::ui::ListBox>(&w, QLatin1String(name)); }

    // Chooses the numbers into group g and sets its limit boxes.
    static void group(group::GroupChoiceWindow* v, int g, std::initializer_list<int> ns, const QString& min, const QString& max) {
        QTest::mouseClick(get<QRadioButton>(v, QStringLiteral("Option3D1(%1)").arg(g - 1)), Qt::LeftButton);
        for (int n : ns) QTest::mouseClick(v->grid()->cell(n), Qt::LeftButton);
        get<QLineEdit>(v, QStringLiteral("Text1(%1)").arg(g - 1))->setText(min);
        get<QLineEdit>(v, QStringLiteral("Text2(%1)").arg(g - 1))->setText(max);
    }
    // A cell's look: its text colour, and "+" when it is emphasised.
    static QString look(group::GroupChoiceWindow* v, int n) {
        QPushButton* c = v->grid()->cell(n);
        return c->palette().color(QPalette::ButtonText).name() + (c->font().bold() ? QStringLiteral("+") : QString());
    }
    static void click(const QWidget* v, const char* name) {
        QTest::mouseClick(get<QPushButton>(v, QLatin1String(name)), Qt::LeftButton);
    }
};

}  // namespace

TEST(GroupWindows, OptionToggledByAssistiveTechnologyActsAsAClick) {
    GroupWindows k;
    auto* v = k.open();
    auto* option = get<QRadioButton>(v, QStringLiteral("Option3D1(2)"));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(option);
    ASSERT_TRUE(a && a->actionInterface());
    // The toggle action calls toggle(): toggled, no clicked.
    QSignalSpy clicked(option, &QAbstractButton::clicked);
    a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(option->isChecked());
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(k.w.state().groups.current, 3);
    QTest::mouseClick(v->grid()->cell(9), Qt::LeftButton);
    EXPECT_EQ(k.w.state().groups.groupOf[9], 3);
    v->close();
}

TEST(GroupWindows, MainWindowIsDisabledWhileTheChoiceIsOpen) {
    GroupWindows k;
    auto* v = k.open();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->windowTitle(), QStringLiteral(" Skandináv LOTTÓ számkijelölés.   Vumo-Soft/2010"));
    EXPECT_TRUE(v->isVisible());
    EXPECT_TRUE(v->isEnabled());
    EXPECT_FALSE(k.w.isEnabled());

    // "Kiválaszt" with nothing chosen does nothing at all.
    k.click(v, "SSCommand1");
    EXPECT_TRUE(v->isVisible());
    EXPECT_FALSE(k.w.isEnabled());

    QTest::mouseClick(v->grid()->cell(4), Qt::LeftButton);
    k.click(v, "Command3D1");  // "Mégsem"
    EXPECT_FALSE(v->isVisible());
    EXPECT_TRUE(k.w.isEnabled());
    EXPECT_EQ(k.mainText("Label6"), QString());

    // The close box hands the main window back too, and the state stays for the next opening.
    EXPECT_EQ(k.open(), v);
    EXPECT_FALSE(k.w.isEnabled());
    EXPECT_EQ(k.look(v, 4), QStringLiteral("#0000ff+"));
    v->close();
    EXPECT_FALSE(v->isVisible());
    EXPECT_TRUE(k.w.isEnabled());
    EXPECT_EQ(k.w.state().groups.count, 1);
}

TEST(GroupWindows, ChoiceIsRedrawnFromTheSharedFlagsAfterAKeyLoad) {
    GroupWindows k;
    auto* v = k.open();
    k.group(v, 1, {1, 2}, QString(), QString());
    k.click(v, "Command3D1");
    k.write("k.txt", "02 03 04 \r\n");
    seam::queueFile(k.path("k.txt"));
    k.w.Command3D7_Click();
    ASSERT_EQ(k.open(), v);
    EXPECT_EQ(k.look(v, 1), QStringLiteral("#000000"));   // no longer chosen
    EXPECT_EQ(k.look(v, 2), QStringLiteral("#0000ff+"));  // chosen, still in group 1
    EXPECT_EQ(k.look(v, 3), QStringLiteral("#a0a0a4+"));  // chosen by the load, in no group
    EXPECT_EQ(v->grid()->cell(3)->text(), QStringLiteral(" 3 "));
    EXPECT_EQ(get<QLabel>(v, QStringLiteral("Label1"))->text(), QStringLiteral(" 3"));
    EXPECT_EQ(get<QLabel>(v, QStringLiteral("Label4(0)"))->text(), QStringLiteral("2"));
}

TEST(GroupWindows, ConfirmedChoiceReachesTheMainWindow) {
    GroupWindows k;
    auto* v = k.open();
    k.group(v, 1, {1, 2, 3}, QStringLiteral("1"), QStringLiteral("2"));
    k.group(v, 2, {4}, QString(), QString());
    EXPECT_EQ(k.look(v, 4), QStringLiteral("#ffff00+"));
    EXPECT_EQ(get<QLabel>(v, QStringLiteral("Label4(0)"))->text(), QStringLiteral("3"));
    EXPECT_EQ(get<QLabel>(v, QStringLiteral("Label1"))->text(), QStringLiteral(" 4"));
    k.click(v, "SSCommand1");
    EXPECT_FALSE(v->isVisible());
    EXPECT_TRUE(k.w.isEnabled());
    EXPECT_EQ(k.mainText("Label6"), QStringLiteral(" 4"));
    const GroupLimits& l = k.w.state().limits;
    EXPECT_EQ(l.min[1], 1);
    EXPECT_EQ(l.max[1], 2);
    EXPECT_EQ(l.min[2], 0);
    EXPECT_EQ(l.max[2], 20);
    EXPECT_EQ(l.minSum, 1);
    EXPECT_EQ(l.maxSum, 2);
    EXPECT_EQ(get<QLineEdit>(v, QStringLiteral("Text1(0)"))->text(), QStringLiteral(" 1"));
    EXPECT_EQ(get<QLineEdit>(v, QStringLiteral("Text2(0)"))->text(), QStringLiteral(" 2"));
    EXPECT_EQ(get<QLineEdit>(v, QStringLiteral("Text1(1)"))->text(), QString());
}

TEST(GroupWindows, RefusedChoiceKeepsTheWindowAndTheTables) {
    GroupWindows k;
    auto* v = k.open();
    k.group(v, 1, {1, 2}, QString(), QStringLiteral("3"));
    k.click(v, "SSCommand1");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Hibás adat összefüggés az 1. csoportban !"));
    EXPECT_TRUE(v->isVisible());
    EXPECT_FALSE(k.w.isEnabled());
    EXPECT_EQ(k.w.state().limits, GroupLimits{});
    k.click(v, "Command3D1");
    EXPECT_TRUE(k.w.isEnabled());
    EXPECT_EQ(k.w.state().limits, GroupLimits{});
    EXPECT_EQ(k.mainText("Label6"), QString());
}

TEST(GroupWindows, ReleaseAndClearRedrawTheCells) {
    GroupWindows k;
    auto* v = k.open();
    k.group(v, 3, {7, 8}, QString(), QString());
    EXPECT_EQ(k.look(v, 7), QStringLiteral("#ff0000+"));
    // The pointer passing over a chosen cell leaves its emphasis alone.
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(v->grid()->cell(8), &enter);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(v->grid()->cell(8), &out);
    EXPECT_EQ(k.look(v, 8), QStringLiteral("#ff0000+"));
    k.group(v, 1, {7}, QString(), QString());  // a chosen cell is released, whatever group is current
    EXPECT_EQ(k.look(v, 7), QStringLiteral("#000000"));
    EXPECT_EQ(v->grid()->cell(7)->text(), QStringLiteral(" 7 "));
    EXPECT_EQ(get<QLabel>(v, QStringLiteral("Label4(2)"))->text(), QStringLiteral("1"));
    k.click(v, "SSCommand2");  // "Töröl"
    EXPECT_EQ(k.look(v, 8), QStringLiteral("#000000"));
    EXPECT_EQ(get<QLabel>(v, QStringLiteral("Label4(2)"))->text(), QString());
    EXPECT_EQ(get<QLabel>(v, QStringLiteral("Label1"))->text(), QString());
    EXPECT_TRUE(get<QRadioButton>(v, QStringLiteral("Option3D1(0)"))->isChecked());
}

TEST(GroupWindows, AFailedGroupedSaveSaysSo) {
    GroupWindows k;
    auto* v = k.open();
    k.group(v, 2, {5, 6}, QStringLiteral("1"), QStringLiteral("2"));
    const QString nowhere = k.path("nincs") + QStringLiteral("/jeloles2.txt");  // its folder is not there
    seam::queueFile(nowhere);
    k.click(v, "Command3D4");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Hiba a ") + nowhere + QStringLiteral(" mentésekor - sikertelen mentés !"));
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Critical);
}

TEST(GroupWindows, GroupedSelectionFileThroughTheWindow) {
    GroupWindows k;
    auto* v = k.open();
    k.click(v, "Command3D4");  // nothing chosen: no dialog
    EXPECT_TRUE(seam::fileDialogs().empty());
    k.group(v, 2, {5, 6}, QStringLiteral("1"), QStringLiteral("2"));
    seam::queueFile(k.path("jeloles2.txt"));
    k.click(v, "Command3D4");
    ASSERT_EQ(seam::fileDialogs().size(), 1u);
    EXPECT_EQ(seam::fileDialogs()[0].fileName, QStringLiteral("jeloles2.txt"));
    const auto lines = dz::readLines(k.path("jeloles2.txt"));
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 251);

    k.click(v, "SSCommand2");
    seam::queueFile(k.path("jeloles2.txt"));
    k.click(v, "Command3D3");
    EXPECT_EQ(k.look(v, 5), QStringLiteral("#ffff00+"));
    EXPECT_EQ(get<QLabel>(v, QStringLiteral("Label4(1)"))->text(), QStringLiteral("2"));
    EXPECT_EQ(get<QLineEdit>(v, QStringLiteral("Text2(1)"))->text(), QStringLiteral("2"));
    EXPECT_TRUE(get<QRadioButton>(v, QStringLiteral("Option3D1(1)"))->isChecked());
    EXPECT_EQ(get<QLabel>(v, QStringLiteral("Label1"))->text(), QStringLiteral(" 2"));

    k.write("key.txt", " 01 02 \r\n");
    seam::queueFile(k.path("key.txt"));
    k.click(v, "Command3D3");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Ez nem csoportosított kijelölés mentés file !"));
    EXPECT_EQ(k.look(v, 5), QStringLiteral("#000000"));
}

TEST(GroupWindows, ViewerShowsItemsAndKeepsThemOnCancel) {
    GroupWindows k;
    auto* v = k.open();
    k.click(v, "Command3D5");  // "Segít"
    auto* viewer = v->viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral(" Segéd lista megjelenítése            Vumo-Soft/2010"));
    auto* list = get<dz::ui::ListBox>(viewer, QStringLiteral("List1"));

    k.write("v.txt", dz::cp1250::encode(QStringLiteral("első,második\r\n 03 07 11 \r\n")).toStdString());
    seam::queueFile(k.path("v.txt"));
    k.click(viewer, "Command3D1");
    EXPECT_EQ(list->items(), (QStringList{QStringLiteral("első"), QStringLiteral("második"), QStringLiteral("03 07 11 ")}));

    k.click(viewer, "Command3D2");  // "Vége" hides and keeps the lines
    EXPECT_FALSE(viewer->isVisible());
    k.click(v, "Command3D5");
    EXPECT_EQ(v->viewer(), viewer);
    EXPECT_EQ(list->count(), 3);

    // Cancel keeps the lines shown; so does a file that cannot be read, with the message.
    seam::queueFile(std::nullopt);
    k.click(viewer, "Command3D1");
    EXPECT_EQ(list->count(), 3);
    EXPECT_TRUE(seam::messages().empty());
    auto lines = [&] { return list->items(); };
    const QStringList shown = lines();
    dz::testing::forEachUnreadable(k.dir.path(), [&](const QString& path) {
        dz::testing::expectRefusedLoad(path, [&] { k.click(viewer, "Command3D1"); }, QStringLiteral("Hibás file megnyitás !"),
                                       lines, shown);
    });

    // Any text file can be viewed: a line longer than a list shows is shown cut.
    k.write("long.txt", dz::testing::keyWithALongLine());
    seam::reset();
    seam::queueFile(k.path("long.txt"));
    k.click(viewer, "Command3D1");
    EXPECT_TRUE(seam::messages().empty());
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(size_t(list->items()[1].size()), dz::kLineTextLimit);
}

TEST(GroupWindows, GroupedSelectionThatCannotBeReadSaysSoAndKeepsTheChoice) {
    GroupWindows k;
    auto* v = k.open();
    k.group(v, 2, {5, 6}, QStringLiteral("1"), QStringLiteral("2"));
    auto choice = [&] {
        return QStringList{k.look(v, 5), k.look(v, 6), get<QLabel>(v, QStringLiteral("Label1"))->text(),
                           get<QLineEdit>(v, QStringLiteral("Text2(1)"))->text()};
    };
    const QStringList chosen = choice();
    ASSERT_EQ(chosen[2], QStringLiteral(" 2"));
    dz::testing::forEachUnreadable(k.dir.path(), [&](const QString& path) {
        dz::testing::expectRefusedLoad(path, [&] { k.click(v, "Command3D3"); }, QStringLiteral("Hibás file megnyitás !"),
                                       choice, chosen);
    });
}

TEST(GroupWindows, MainWindowDifferences) {
    GroupWindows k;
    EXPECT_EQ(k.w.findChild<QWidget*>(QStringLiteral("Check2")), nullptr);
    EXPECT_EQ(MainWindow::hint(true, QStringLiteral("Command3D2")), QStringLiteral("A feltételek JÓ megadása után a tesz indítása"));
    EXPECT_EQ(MainWindow::hint(true, QStringLiteral("Text4")), QStringLiteral("A kiválasztott számok közül hányat találtam el !"));
    k.list("List1")->setItems({QStringLiteral(" 01 02 ")});
    QTest::keyClick(k.list("List1"), Qt::Key_L, Qt::ShiftModifier);
    EXPECT_TRUE(seam::started().empty());
    EXPECT_EQ(k.read("minimum.txt"), "<missing>");

    // Groups never confirmed: the generation refuses, and the key list keeps what it held.
    k.setMain("Text2", QStringLiteral("5"));
    k.w.Command3D3_Click();
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Először a *kijelöl* gombot válassza !"));
    EXPECT_EQ(k.list("List1")->count(), 1);

    // A key load passes the confirmation check; the sums in force (none confirmed) then refuse.
    k.write("k.txt", "01 02 03 04 05 \r\n");
    seam::queueFile(k.path("k.txt"));
    k.w.Command3D7_Click();
    EXPECT_EQ(k.mainText("Label6"), QStringLiteral(" 5"));
    k.w.Command3D3_Click();
    ASSERT_EQ(seam::messages().size(), 2u);
    EXPECT_EQ(seam::messages()[1].text, QStringLiteral("A játéktipus maximuma a csoportok maximumának összege !\r") +
                                            QString(35, QLatin1Char(' ')) + QStringLiteral(" 0"));
}

TEST(GroupWindows, FeasibleRunKeepsEveryGroupBetweenItsLimits) {
    GroupWindows k;
    auto* v = k.open();
    k.group(v, 1, {1, 2, 3, 4, 5}, QStringLiteral("2"), QStringLiteral("3"));
    k.group(v, 2, {6, 7, 8, 9, 10}, QStringLiteral("2"), QStringLiteral("3"));
    k.click(v, "SSCommand1");
    ASSERT_TRUE(k.w.isEnabled());
    k.setMain("Text1", QStringLiteral("20"));
    k.setMain("Text2", QStringLiteral("5"));
    k.setMain("Text7", QStringLiteral("4"));
    QSignalSpy done(&k.w, &MainWindow::generationFinished);
    k.w.Command3D3_Click();
    EXPECT_TRUE(seam::messages().empty());
    ASSERT_TRUE(done.count() > 0 || done.wait(10000));
    const QStringList rows = k.list("List1")->items();
    EXPECT_EQ(rows.size(), 20);
    for (const QString& r : rows) {
        const uint32_t m = testRowMask(r, 5);
        EXPECT_EQ(std::popcount(m), 5) << r.toStdString();
        const int first = std::popcount(m & 0x3Eu), second = std::popcount(m & 0x7C0u);
        EXPECT_TRUE(first >= 2 && first <= 3 && second >= 2 && second <= 3) << r.toStdString();
    }
    EXPECT_EQ(k.mainText("Label7"), QStringLiteral(" 20"));
}

TEST(GroupWindows, StopEndsAGroupedRun) {
    GroupWindows k;
    auto* v = k.open();
    k.group(v, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, QStringLiteral("1"), QStringLiteral("8"));
    k.click(v, "SSCommand1");
    k.setMain("Text1", QStringLiteral("1000"));
    k.setMain("Text2", QStringLiteral("8"));
    k.setMain("Text7", QStringLiteral("7"));
    k.setMain("Text3", QStringLiteral("100000000"));
    k.w.findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
    QSignalSpy done(&k.w, &MainWindow::generationFinished);
    k.w.Command3D3_Click();
    ASSERT_TRUE(k.w.busy());
    QTest::qWait(100);
    k.w.Command3D4_Click();  // "Kijelöl" while busy does nothing
    EXPECT_TRUE(k.w.isEnabled());
    EXPECT_FALSE(v->isVisible());
    k.w.SSCommand1_Click();
    ASSERT_TRUE(done.count() > 0 || done.wait(10000));
    EXPECT_FALSE(k.w.busy());
}
