// The print window through the dialog and print seams: start-up, settings, key choice, the row
// indicator, the print buttons and their messages.
#include "common/core/keyfile.h"
#include "common/platform/printsurface.h"
#include "common/tests/qtprint.h"
#include "common/tests/testutil.h"
#include "common/tests/unreadable.h"
#include "common/tests/writerlessfifo.h"
#include "keyprint/ui/printwindow.h"
#include "common/platform/widgets.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace dz::keyprint;
namespace seam = dz::ui::seam;

namespace {
struct Window : dz::testing::ProgramFolderFixture {
    std::unique_ptr<PrintWindow> w;
    void open() { w = std::make_unique<PrintWindow>(); }
    template <class T = QWidget>
    T* c(const char* name) const {
        return w->findChild<T*>(QLatin1String(name));
    }
    QString text(const char* name) const {
        if (auto* e = c<QLineEdit>(name)) return e->text();
        return c<QLabel>(name)->text();
    }
    void setText(const char* name, const QString& t) const { c<QLineEdit>(name)->setText(t); }
    void tick(const char* name, bool on = true) const { c<QAbstractButton>(name)->setChecked(on); }
    void click(const char* name) const { c<QPushButton>(name)->click(); }
    // Writes a key file and loads it through the dialog.
    void load(int rows, const std::string& row = " 01 02 03 04 05 06 07 08 \r\n") {
        std::string bytes;
        for (int i = 0; i < rows; ++i) bytes += row;
        write("kulcs.txt", bytes);
        seam::queueFile(path("kulcs.txt"));
        click("Command3D4");
    }
    std::vector<QString> messages() const {
        std::vector<QString> out;
        for (const auto& m : seam::messages()) out.push_back(m.text);
        return out;
    }
};
}  // namespace

TEST(PrintWindow, StartsWithTheInitialStateOrTheSettingsFile) {
    Window f;
    f.open();
    EXPECT_EQ(f.w->windowTitle(), QStringLiteral("  DIZOV szelvény kitöltő (álló).              Vumo-Soft/2010"));
    EXPECT_EQ(f.text("Text1"), QStringLiteral("0"));
    EXPECT_EQ(f.text("Text2"), QStringLiteral("0"));
    EXPECT_EQ(f.text("Text5"), QStringLiteral("60"));
    EXPECT_TRUE(f.c<QRadioButton>("Option3(1)")->isChecked());
    EXPECT_TRUE(f.c<QRadioButton>("Option1(0)")->isChecked());
    EXPECT_TRUE(f.c<QRadioButton>("Option2(0)")->isChecked());
    for (const char* n : {"Check3(0)", "Check3(1)", "Check3(2)", "Check3(3)", "Check1", "Check2"})
        EXPECT_FALSE(f.c<QCheckBox>(n)->isChecked()) << n;
    EXPECT_EQ(f.w->stakeChoice(), 1);
    EXPECT_EQ(f.w->drawCountChoice(), 1);
    EXPECT_EQ(f.w->size(), QSize(dz::ui::twips(6690), dz::ui::twips(6750)));

    f.write("beallp.txt", "3,-2,0,2\r\n");
    f.open();
    EXPECT_EQ(f.text("Text1"), QStringLiteral("3"));
    EXPECT_EQ(f.text("Text2"), QStringLiteral("-2"));
    EXPECT_EQ(f.text("Text5"), QStringLiteral("60"));
    EXPECT_TRUE(f.c<QRadioButton>("Option3(2)")->isChecked());
    EXPECT_EQ(f.c<QRadioButton>("Option3(2)")->text(), QString(QChar(0x2022)));
}

TEST(PrintWindow, ChoicesDoubleClickAndSave) {
    Window f;
    f.open();
    f.tick("Option2(4)");
    EXPECT_EQ(f.w->drawCountChoice(), 5);
    f.tick("Option1(2)");
    EXPECT_EQ(f.w->stakeChoice(), 3);
    QTest::mouseDClick(f.c<QLineEdit>("Text3"), Qt::LeftButton);
    f.setText("Text3", QStringLiteral("7"));
    QTest::mouseDClick(f.c<QLineEdit>("Text3"), Qt::LeftButton);
    EXPECT_EQ(f.text("Text3"), QString());

    f.setText("Text1", QStringLiteral("2,5"));
    f.setText("Text2", QStringLiteral("abc"));
    f.setText("Text5", QStringLiteral("45"));
    f.tick("Option3(0)");
    f.click("Command3D3");
    EXPECT_EQ(f.read("beallp.txt"), "2.5,0,45,0\r\n");
    EXPECT_TRUE(seam::messages().empty());

    QFile::remove(f.path("beallp.txt"));
    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("beallp.txt")));
    f.click("Command3D3");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("Hiba a beallp.txt mentésekor - sikertelen mentés !"));
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Critical);
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
}

TEST(PrintWindow, KeyChoiceFromThePointer) {
    Window f;
    f.open();
    // No pointer: the program folder, no name.
    f.load(9);
    ASSERT_EQ(seam::fileDialogs().size(), 1u);
    EXPECT_EQ(seam::fileDialogs()[0].startFolder, f.dir.path());
    EXPECT_EQ(seam::fileDialogs()[0].fileName, QString());
    EXPECT_EQ(f.w->list()->count(), 9);
    EXPECT_EQ(f.text("Label4"), QStringLiteral(" 3"));
    EXPECT_EQ(f.text("Label6"), QStringLiteral(" 8"));

    // Cancel: the key and its labels stay.
    f.click("Command3D4");
    EXPECT_EQ(seam::fileDialogs()[1].fileName, QStringLiteral("kulcs.txt"));  // the run's last name
    seam::queueFile(f.path(QStringLiteral("nincs.txt")));
    f.click("Command3D4");
    EXPECT_EQ(f.w->list()->count(), 9);
    EXPECT_EQ(f.text("Label4"), QStringLiteral(" 3"));
    EXPECT_EQ(f.text("Label6"), QStringLiteral(" 8"));
    EXPECT_EQ(f.messages(), std::vector<QString>{QStringLiteral("Hibás file megnyitás !")});

    // A pointer in another folder; one without a folder; one naming a missing file.
    const QString other = f.path(QStringLiteral("keys"));
    QDir().mkpath(other);
    ASSERT_TRUE(dz::key::writeLastKeyPointer(f.dir.path(), other + QStringLiteral("/ten.txt")));
    f.click("Command3D4");
    EXPECT_EQ(seam::fileDialogs()[3].startFolder, other);
    EXPECT_EQ(seam::fileDialogs()[3].fileName, QStringLiteral("ten.txt"));
    ASSERT_TRUE(dz::key::writeLastKeyPointer(f.dir.path(), QStringLiteral("kulcs.txt")));
    f.click("Command3D4");
    EXPECT_EQ(seam::fileDialogs()[4].startFolder, f.dir.path());
    EXPECT_EQ(seam::fileDialogs()[4].fileName, QStringLiteral("kulcs.txt"));
    seam::queueFile(other + QStringLiteral("/ten.txt"));  // missing: the key stays
    f.click("Command3D4");
    EXPECT_EQ(f.w->list()->count(), 9);
    EXPECT_EQ(f.messages().size(), 2u);
    seam::reset();

    // An empty key: no rows, no forms, type 0.
    f.load(0);
    EXPECT_EQ(f.text("Label4"), QStringLiteral(" 0"));
    EXPECT_EQ(f.text("Label6"), QStringLiteral(" 0"));

    // Over the row limit: the first rows stay, one message, the count of the kept rows.
    f.load(32737);
    EXPECT_EQ(f.w->list()->count(), 32736);
    EXPECT_EQ(f.messages(), std::vector<QString>{QStringLiteral("Maximum 32736 sorú kulcsot lehet nyomtatni !")});
    EXPECT_EQ(f.text("Label4"), QStringLiteral(" 8184"));
}

TEST(PrintWindow, KeyFilesThatCannotBeReadOrAreNoKeyKeepTheKeyAndSaySo) {
    // A pipe, a device, a folder, an unreadable or missing file: "Hibás file megnyitás !"; a line
    // longer than any key row: "Hibás kulcsformátum !". The rows, the form count and the type stay.
    Window f;
    f.open();
    f.load(5, "01 02 03 \r\n");
    auto state = [&] { return QStringList{f.w->list()->items().join(QLatin1Char('|')), f.text("Label4"), f.text("Label6")}; };
    const QStringList loaded = state();
    ASSERT_EQ(loaded[1], QStringLiteral(" 2"));
    auto refused = [&](const QString& path, const QString& message) {
        dz::testing::expectRefusedLoad(path, [&] { f.click("Command3D4"); }, message, state, loaded);
    };
    dz::testing::forEachUnreadable(f.dir.path(), [&](const QString& path) {
        refused(path, QStringLiteral("Hibás file megnyitás !"));
    });
    f.write("long.txt", dz::testing::keyWithALongLine());
    refused(f.path("long.txt"), QStringLiteral("Hibás kulcsformátum !"));
}

TEST(PrintWindow, RowIndicator) {
    Window f;
    f.open();
    f.load(12);
    f.w->list()->setListIndex(8);
    EXPECT_EQ(f.text("Label9"), QStringLiteral(" 9 / 3"));
    f.w->list()->clearSelection();
    EXPECT_EQ(f.text("Label9"), QStringLiteral(" 9 / 3"));
    f.w->list()->setListIndex(0);
    EXPECT_EQ(f.text("Label9"), QStringLiteral(" 1 / 1"));
}

// The indicator of a full key's last row shows every digit inside its label.
TEST(PrintWindow, RowIndicatorShowsWhole) {
    Window f;
    f.open();
    f.load(32736);
    f.w->list()->setListIndex(32735);
    auto* label = f.c<QLabel>("Label9");
    EXPECT_EQ(label->text(), QStringLiteral(" 32736 / 8184"));
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->contentsRect().width());
    f.w->list()->setListIndex(0);
    EXPECT_EQ(label->font(), f.c<QLabel>("Label4")->font()) << "a short indicator has the window's font";
}

TEST(PrintWindow, PrintButtons) {
    Window f;
    f.open();
    // Nothing loaded: the all-rows button's message; the A4 button does nothing.
    f.tick("Check3(0)");
    f.click("Command3D1");
    EXPECT_EQ(f.messages(), std::vector<QString>{QStringLiteral("Először egy elmentett kulcsot kell kiválasztani !")});
    f.click("Command3D6");
    EXPECT_EQ(seam::messages().size(), 1u);
    EXPECT_TRUE(seam::printJobs().empty());

    f.load(6);
    seam::reset();
    f.click("Command3D1");
    ASSERT_EQ(seam::printJobs().size(), 1u);
    EXPECT_EQ(seam::printJobs()[0]->printedPages(), 2);
    EXPECT_TRUE(seam::printJobs()[0]->ended());
    EXPECT_TRUE(seam::messages().empty());

    // The selected row: none selected, then the fifth row, printed as field 1 of form 2.
    f.click("Command3D5");
    EXPECT_EQ(f.messages(), std::vector<QString>{QStringLiteral("Nincs listasor kiválasztva ")});
    f.w->list()->setListIndex(4);
    f.click("Command3D5");
    ASSERT_EQ(seam::printJobs().size(), 2u);
    bool formTwo = false;
    for (const auto& t : seam::printJobs()[1]->texts()) formTwo = formTwo || t.text == QStringLiteral("2");
    EXPECT_TRUE(formTwo);

    // The range clamps To into Text4, also when it is refused.
    seam::reset();
    f.setText("Text3", QStringLiteral("1"));
    f.setText("Text4", QStringLiteral("100"));
    f.click("Command3D9");
    EXPECT_EQ(f.text("Text4"), QStringLiteral("6"));
    EXPECT_EQ(seam::printJobs().size(), 3u);
    f.setText("Text3", QStringLiteral("7"));
    f.setText("Text4", QStringLiteral("100"));
    f.click("Command3D9");
    EXPECT_EQ(f.text("Text4"), QStringLiteral("6"));
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Question);

    // No printer: said so, not passed over.
    seam::reset();
    seam::setPrintJobFactory([] { return std::shared_ptr<dz::PrintSurface>(); });
    f.click("Command3D1");
    EXPECT_EQ(f.messages(), std::vector<QString>{QStringLiteral("Nincs elérhető nyomtató - a nyomtatás sikertelen !")});
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Critical);
    seam::setPrintJobFactory(nullptr);

    // No extra number: the message and nothing printed; the sheet-feed notice before it.
    seam::reset();
    const size_t jobs = seam::printJobs().size();
    f.tick("Check3(0)", false);
    f.tick("Check1");
    f.click("Command3D1");
    EXPECT_EQ(f.messages(), (std::vector<QString>{QStringLiteral("A nyomtatás egy szelvény lap-dobásával indul !"),
                                                  QStringLiteral("Nincs pótszám(ok) megadva !")}));
    EXPECT_EQ(seam::printJobs().size(), jobs);
}

TEST(PrintWindow, A4ListAsksFirst) {
    Window f;
    f.open();
    f.load(100);
    seam::queueAnswer(dz::ui::Answer::Cancel);
    f.click("Command3D6");
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("A betöltött kulcs A4-s lapra nyomtatása !"));
    EXPECT_EQ(seam::messages()[0].buttons, dz::ui::Buttons::OkCancel);
    EXPECT_EQ(seam::messages()[0].icon, dz::ui::Icon::Question);
    EXPECT_TRUE(seam::printJobs().empty());

    f.setText("Text5", QStringLiteral("20"));
    f.click("Command3D6");
    ASSERT_EQ(seam::printJobs().size(), 1u);
    EXPECT_EQ(seam::printJobs()[0]->printedPages(), 2);
}

// Every stake and draw-count caption shows whole beside its circle and ends short of the next
// option's circle, at the options' own places.
TEST(PrintWindow, OptionCaptionsEndBeforeTheNextCircle) {
    Window f;
    f.open();
    for (const char* group : {"Option1(%1)", "Option2(%1)"}) {
        for (int i = 0;; ++i) {
            auto* o = f.w->findChild<QRadioButton*>(QString::fromLatin1(group).arg(i));
            if (!o) break;
            QStyleOptionButton opt;
            opt.initFrom(o);
            opt.text = o->text();
            const QRect text = o->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, o);
            const int end = text.left() + o->fontMetrics().horizontalAdvance(o->text());
            EXPECT_LE(end + 3, o->width()) << o->objectName().toStdString() << " " << o->text().toStdString();
        }
    }
}

// A named pipe that no process writes in place of the settings file: the window is up at once,
// in the state it has without the file.
TEST(PrintWindow, ANamedPipeForTheSettingsFileCountsAsNoFile) {
    Window f;
    dz::testing::WriterlessFifo fifo(f.path("beallp.txt"));
    ASSERT_TRUE(fifo.made());
    f.open();
    EXPECT_FALSE(fifo.released()) << "the start waited on the pipe";
    EXPECT_EQ(f.text("Text1"), QStringLiteral("0"));
    EXPECT_EQ(f.text("Text2"), QStringLiteral("0"));
    EXPECT_EQ(f.text("Text5"), QStringLiteral("60"));
    EXPECT_TRUE(f.c<QRadioButton>("Option3(1)")->isChecked());
    EXPECT_TRUE(seam::messages().empty());
}
