// The recording grid window offscreen: its controls, keys through the real widgets, loading,
// saving with the pointer, the save refusals, rows, and leaving.
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"
#include "common/tests/unreadable.h"
#include "csere/ui/keyrecording.h"
#include "csere/ui/workshop.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using dz::csere::KeyRecordingWindow;
using dz::csere::RecordGrid;
namespace seam = dz::ui::seam;

namespace {

struct GridWindow : dz::testing::ProgramFolderFixture {
    KeyRecordingWindow w;
    GridWindow() {
        seam::enable();
        w.show();
    }
    template <class T = QWidget>
    T* get(const char* name) const {
        T* c = w.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QWidget* focused() const {
        return w.grid().focus() == RecordGrid::Focus::Editor ? static_cast<QWidget*>(get<QLineEdit>("Text2"))
                                                               : static_cast<QWidget*>(w.table());
    }
    // Each key is pressed where the focus is and released where the focus is then, as the
    // window system delivers it.
    void keys(const char* s) {
        for (; *s; ++s) {
            Qt::Key k = Qt::Key(QChar::fromLatin1(*s).toUpper().unicode());
            if (*s == '\n') k = Qt::Key_Return;
            if (*s == '>') k = Qt::Key_Right;
            if (*s == '<') k = Qt::Key_Left;
            const QString text = (*s >= '0' && *s <= '9') || (*s >= 'a' && *s <= 'z') ? QString(QLatin1Char(*s)) : QString();
            QTest::sendKeyEvent(QTest::Press, focused(), k, text, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, focused(), k, text, Qt::NoModifier);
        }
    }
    QString cell(int row, int col) const {
        return w.table()->model()->index(row - 1, col - 1).data().toString();
    }
    void click(const char* name) const { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
};

}  // namespace

TEST(KeyRecordingWindow, ControlsAndHeaders) {
    GridWindow g;
    EXPECT_EQ(g.w.windowTitle(), QStringLiteral("  DIZOV kulcsok rögzítése"));
    const std::pair<const char*, const char*> buttons[] = {
        {"Command3D1", "Sor beszúr"}, {"Command3D2", "Sor kihagy"}, {"Betölt", "Betölt"},  {"Command3D6", "Töröl"},
        {"Command3D4", "Rögzít"},     {"Command3D3", "Rögzít és kilép"}, {"Command3D5", "Mégsem"}};
    for (const auto& [name, caption] : buttons) {
        auto* b = g.get<QPushButton>(name);
        EXPECT_EQ(b->text(), QString::fromUtf8(caption));
        EXPECT_EQ(b->accessibleDescription(), QString::fromUtf8(name));
    }
    EXPECT_EQ(g.get<QLabel>("Label7")->text(), QStringLiteral("cella érték"));
    EXPECT_EQ(g.get<QLabel>("Label1")->text(), QStringLiteral("Sor vége"));
    EXPECT_EQ(g.get<QLineEdit>("Text3")->text(), QStringLiteral("8"));
    EXPECT_EQ(g.get<QLineEdit>("Text2")->toolTip(), QStringLiteral(" Számok bevitele "));
    auto* m = g.w.table()->model();
    EXPECT_EQ(m->rowCount(), 999);
    EXPECT_EQ(m->columnCount(), 8);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("01"));
    EXPECT_EQ(m->headerData(7, Qt::Horizontal).toString(), QStringLiteral("08"));
    EXPECT_EQ(m->headerData(998, Qt::Vertical).toString(), QStringLiteral("999"));
    EXPECT_EQ(g.w.table()->editTriggers(), QAbstractItemView::NoEditTriggers);
    bool corner = false;
    for (auto* l : g.w.table()->findChildren<QLabel*>()) corner |= l->text() == QStringLiteral("Ssz.");
    EXPECT_TRUE(corner);
}

TEST(KeyRecordingWindow, TypingThroughTheWidgets) {
    GridWindow g;
    auto* text3 = g.get<QLineEdit>("Text3");
    text3->setText(QStringLiteral("3"));
    g.w.Text3_LostFocus();
    g.keys("3\n9\nx14\n");  // a letter is dropped
    EXPECT_EQ(g.cell(1, 1), QStringLiteral("03"));
    EXPECT_EQ(g.cell(1, 2), QStringLiteral("09"));
    EXPECT_EQ(g.cell(1, 3), QStringLiteral("14"));
    EXPECT_EQ(g.w.grid().current(), (RecordGrid::Cell{2, 1}));
    EXPECT_EQ(g.w.table()->currentIndex(), g.w.table()->model()->index(1, 0));
    g.keys("257");
    EXPECT_EQ(g.get<QLineEdit>("Text2")->text(), QStringLiteral("25"));
    EXPECT_EQ(g.cell(2, 1), QStringLiteral("25"));
    g.keys("<");  // Left commits a value above 20 as it is
    EXPECT_EQ(g.cell(2, 1), QStringLiteral("25"));
    text3->setText(QStringLiteral("-2"));
    g.w.Text3_LostFocus();
    EXPECT_EQ(text3->text(), QStringLiteral("8"));
}

TEST(KeyRecordingWindow, LoadShowsTheFileAndItsFaults) {
    GridWindow g;
    g.write(QStringLiteral("k.txt"), " 01 05 17 \r\n02 03\r\n05 21 30\r\n04\r\n");
    seam::queueFile(g.path(QStringLiteral("k.txt")));
    g.w.Betolt_Click();
    ASSERT_EQ(seam::fileDialogs().size(), 1u);
    EXPECT_EQ(seam::fileDialogs()[0].fileName, QStringLiteral("tkulcs.txt"));
    EXPECT_EQ(seam::fileDialogs()[0].startFolder, g.dir.path());
    EXPECT_EQ(g.w.windowTitle(), g.path(QStringLiteral("k.txt")));
    EXPECT_EQ(g.cell(1, 3), QStringLiteral("17"));
    EXPECT_EQ(g.cell(3, 1), QStringLiteral("05"));
    EXPECT_EQ(g.cell(3, 2), QString());
    EXPECT_EQ(g.cell(4, 1), QString());
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("20-nál nagyobb szám van a kulcsban !\r05 21 30"));
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Critical);
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
    // Cancel leaves the grid as it is; so does a name that cannot be read, with the message.
    seam::queueFile(std::nullopt);
    g.w.Betolt_Click();
    EXPECT_EQ(seam::messages().size(), 1u);
    auto grid = [&] { return QStringList{g.cell(1, 1), g.cell(1, 3), g.w.windowTitle()}; };
    const QStringList loaded = grid();
    dz::testing::forEachUnreadable(g.dir.path(), [&](const QString& path) {
        dz::testing::expectRefusedLoad(path, [&] { g.w.Betolt_Click(); }, QStringLiteral("Hibás file megnyitás !"), grid,
                                       loaded);
    });

    // A file without end is read no further than the grid's rows: the grid's message, or its one
    // row for a line that never ends.
    dz::testing::FedFile fed(g.path("fed.txt"), "", "01 02 03\r\n");
    seam::queueFile(g.path("fed.txt"));
    g.w.Betolt_Click();
    EXPECT_EQ(seam::messages().back().text, QStringLiteral("999 sornál nagyobb kulcs !"));
    EXPECT_EQ(g.cell(999, 3), QStringLiteral("03"));
    EXPECT_LT(fed.fed(), uint64_t(1) << 20);
}

TEST(KeyRecordingWindow, SaveWritesTheKeyAndThePointer) {
    GridWindow g;
    g.keys("1\n5\n17\n");
    g.w.grid().click(2, 1);
    g.keys("2\n3");  // the last number is still in the editor
    const QString key = g.path(QStringLiteral("uj.txt"));
    seam::queueFile(key);
    g.click("Command3D4");
    ASSERT_EQ(seam::fileDialogs().size(), 1u);
    EXPECT_TRUE(seam::fileDialogs()[0].save);
    EXPECT_TRUE(seam::fileDialogs()[0].confirmOverwrite);
    EXPECT_EQ(seam::fileDialogs()[0].defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(g.read(QStringLiteral("uj.txt")), "01 05 17 \r\n02 03 \r\n");
    EXPECT_EQ(g.read(QStringLiteral("filenev.txt")), key.toStdString() + "\r\n");
    EXPECT_TRUE(g.w.isVisible());  // "Rögzít" stays
    EXPECT_TRUE(seam::messages().empty());

    // A failed write says so and leaves the pointer alone.
    seam::queueFile(g.path(QStringLiteral("nincs/uj2.txt")));
    g.click("Command3D3");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text,
              QStringLiteral("Hiba a ") + g.path(QStringLiteral("nincs/uj2.txt")) + QStringLiteral(" mentésekor - sikertelen mentés !"));
    EXPECT_EQ(g.read(QStringLiteral("filenev.txt")), key.toStdString() + "\r\n");
    EXPECT_TRUE(g.w.isVisible());

    // "Rögzít és kilép" closes after a good save.
    seam::queueFile(g.path(QStringLiteral("uj3.txt")));
    g.click("Command3D3");
    EXPECT_FALSE(g.w.isVisible());
    EXPECT_EQ(g.w.result(), QDialog::Accepted);
    EXPECT_EQ(g.w.savedFile(), g.path(QStringLiteral("uj3.txt")));
}

TEST(KeyRecordingWindow, APointerThatCannotBeWrittenIsReported) {
    GridWindow g;
    ASSERT_TRUE(QDir(g.dir.path()).mkdir(QStringLiteral("filenev.txt")));
    g.keys("1\n5\n17\n");
    seam::queueFile(g.path(QStringLiteral("uj.txt")));
    g.click("Command3D3");
    EXPECT_EQ(g.read(QStringLiteral("uj.txt")), "01 05 17 \r\n");
    EXPECT_EQ(dz::testing::shownTexts(), QStringList{QStringLiteral("Hiba a filenev.txt mentésekor - sikertelen mentés !")});
    EXPECT_FALSE(g.w.isVisible());  // the key is saved: "Rögzít és kilép" closes
}

TEST(KeyRecordingWindow, AFaultyGridIsNotSaved) {
    GridWindow g;
    g.w.grid().setText(1, 1, "04");
    g.w.grid().setText(1, 2, "02");
    for (const char* button : {"Command3D4", "Command3D3"}) {
        seam::reset();
        g.click(button);
        ASSERT_EQ(seam::messages().size(), 1u);
        EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Hiba a 1 sorban"));
        EXPECT_TRUE(seam::fileDialogs().empty());
        EXPECT_TRUE(g.w.isVisible());
    }
    EXPECT_EQ(g.read(QStringLiteral("filenev.txt")), "<missing>");
}

TEST(KeyRecordingWindow, InsertAndRemoveNeedAWholeRow) {
    GridWindow g;
    for (int r = 1; r <= 5; ++r) g.w.grid().setText(r, 1, std::to_string(r));
    g.click("Command3D1");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Nincs sor kíválasztva !"));
    // A click on the row header selects the row.
    auto* vh = g.w.table()->verticalHeader();
    QTest::mouseClick(vh->viewport(), Qt::LeftButton, {}, QPoint(vh->width() / 2, vh->sectionViewportPosition(2) + vh->sectionSize(2) / 2));
    g.click("Command3D1");
    EXPECT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(g.cell(3, 1), QString());
    EXPECT_EQ(g.cell(4, 1), QStringLiteral("3"));
    EXPECT_EQ(g.cell(6, 1), QStringLiteral("5"));
    g.w.table()->selectRow(0);
    g.click("Command3D2");
    EXPECT_EQ(g.cell(1, 1), QStringLiteral("2"));
    EXPECT_EQ(g.w.grid().lastUsedRow(), 5);
}

TEST(KeyRecordingWindow, LeavingAsksFirst) {
    GridWindow g;
    seam::queueAnswer(dz::ui::Answer::Cancel);
    g.click("Command3D5");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Biztos, hogy mentés nélkül lép ki ?"));
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Critical);
    EXPECT_EQ(seam::messages()[0].buttons, dz::ui::Buttons::OkCancel);
    EXPECT_TRUE(g.w.isVisible());
    seam::queueAnswer(dz::ui::Answer::Ok);
    g.click("Command3D5");
    EXPECT_FALSE(g.w.isVisible());
    EXPECT_EQ(g.w.result(), QDialog::Rejected);
}

// The workshop's "Uj kulcs rögzítése" opens the grid modally.
TEST(KeyRecordingWindow, TheWorkshopOpensIt) {
    dz::testing::ProgramFolderFixture f;
    seam::enable();
    dz::csere::WorkshopWindow main;
    main.show();
    bool opened = false;
    QTimer::singleShot(0, &main, [&opened] {
        auto* k = qobject_cast<KeyRecordingWindow*>(QApplication::activeModalWidget());
        opened = k != nullptr;
        if (k) k->close();  // the close box does not ask
    });
    main.Command3D6_Click();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(seam::messages().empty());
}
