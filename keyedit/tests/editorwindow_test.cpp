#include "common/platform/widgets.h"
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"
#include "common/tests/unreadable.h"
#include "common/tests/writerlessfifo.h"
#include "keyedit/ui/editorwindow.h"

#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace dz;
using namespace dz::keyedit;
namespace seam = dz::ui::seam;

namespace {
// Blanks around rows, an empty line, cp1250 letters: kept byte for byte.
const std::string kKey = " 01 02 03 04 05 06 07 08 \r\n\r\n11 12 13 14 15 16 17 18\r\n  \xf5\xfb \r\n";

struct Folder : dz::testing::ProgramFolderFixture {
    std::unique_ptr<KeyEditorWindow> w;
    Folder() {
        write("fleiras.txt", "kulcs.txt   nyolcas kulcs\r\nab\r\n            \r\n");
        write("kulcs.txt", kKey);
        w = std::make_unique<KeyEditorWindow>();
        w->Form_Load();
    }
    void load(const QString& name) {
        seam::queueFile(path(name));
        w->Command3D1_Click();
    }
};
}  // namespace

TEST(Editor, DescriptionsLendTheirNamesToTheOpenDialog) {
    Folder f;
    EXPECT_EQ(f.w->List1->items(), QStringList({"kulcs.txt   nyolcas kulcs", "ab", "            "}));
    f.w->List1_Click(1);
    EXPECT_EQ(f.w->dialogFileName(), "ab");
    EXPECT_TRUE(seam::fileDialogs().empty());
    seam::queueFile(f.path("kulcs.txt"));
    f.w->List1_DblClick(0);
    ASSERT_EQ(seam::fileDialogs().size(), 1u);
    EXPECT_EQ(seam::fileDialogs()[0].fileName, "kulcs.txt");
    EXPECT_EQ(seam::fileDialogs()[0].startFolder, f.dir.path());
    EXPECT_EQ(f.w->List2->count(), 4);

    dz::testing::ProgramFolderFixture empty;
    KeyEditorWindow w;
    w.Form_Load();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("  Kulcs szerkesztő                                           Vumo-Soft/2010"));
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_TRUE(seam::messages().empty());
}

TEST(Editor, LoadAndSaveKeepTheBytes) {
    Folder f;
    f.load("kulcs.txt");
    EXPECT_EQ(f.w->List2->item(3), QString::fromUtf8("  őű "));
    EXPECT_EQ(f.w->Label7->text(), "4");
    EXPECT_EQ(f.w->Label8->text(), "25");
    seam::queueAnswer(ui::Answer::Yes);
    seam::queueFile(f.path("copy.txt"));
    f.w->Command3D3_Click();
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"A baloldali kulcs-lista mentése !"}));
    EXPECT_EQ(seam::messages()[0].buttons, ui::Buttons::YesNo);
    const auto& save = seam::fileDialogs().back();
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.fileName, "mkulcs.txt");
    EXPECT_EQ(save.defaultSuffix, "txt");
    EXPECT_TRUE(save.confirmOverwrite);
    EXPECT_EQ(f.read("copy.txt"), kKey);
}

TEST(Editor, LoadFailuresKeepTheRowsBeingEdited) {
    Folder f;
    f.load("kulcs.txt");
    QStringList out;
    f.w->Text3->setText("3");
    f.w->Command3D5_Click();
    ASSERT_EQ(f.w->List3->count(), 4);

    seam::queueFile(std::nullopt);  // Cancel
    f.w->Command3D1_Click();
    EXPECT_EQ(f.w->List2->count(), 4);
    EXPECT_EQ(f.w->Label7->text(), "4");
    EXPECT_TRUE(seam::messages().empty());

    // A pipe, a device, a folder, an unreadable or missing file: the open message, the rows stay.
    auto lists = [&] {
        return QStringList{f.w->List2->items().join('|'), f.w->List3->items().join('|'), f.w->Label7->text(),
                           f.w->Label8->text()};
    };
    const QStringList loaded = lists();
    dz::testing::forEachUnreadable(f.dir.path(), [&](const QString& path) {
        dz::testing::expectRefusedLoad(path, [&] { f.w->Command3D1_Click(); }, "Hibás file megnyitás !", lists, loaded);
    });

    // Another file: the cut of the old one goes with it.
    std::string big;
    for (int i = 0; i < 32737; ++i) big += "01 02\r\n";
    f.write("big.txt", big);
    seam::reset();
    f.load("big.txt");
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Lista betelt, maximum 32736 sor tölthető be !"}));
    EXPECT_EQ(f.w->List2->count(), 32736);
    EXPECT_EQ(f.w->Label7->text(), "32736");
    EXPECT_EQ(f.w->Label8->text(), "5");
    EXPECT_EQ(f.w->List3->count(), 0);

    f.write("empty.txt", "");
    f.load("empty.txt");
    EXPECT_EQ(f.w->Label7->text(), "0");
    EXPECT_EQ(f.w->Label8->text(), "0");
}

TEST(Editor, SaveChoosesTheListAndReportsAFailure) {
    Folder f;
    f.w->Command3D3_Click();  // both empty: nothing
    EXPECT_TRUE(seam::messages().empty() && seam::fileDialogs().empty());

    f.load("kulcs.txt");
    seam::queueAnswer(ui::Answer::No);
    f.w->Command3D3_Click();
    EXPECT_EQ(seam::fileDialogs().size(), 1u);  // only the open dialog

    f.w->Text4->setText("1");
    f.w->Command3D6_Click();
    seam::reset();
    seam::queueFile(f.path("cut.txt"));
    f.w->Command3D3_Click();  // the right list, without a question
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_EQ(f.read("cut.txt"), " 01 02 03 04 05 06 07 08\r\n\r\n11 12 13 14 15 16 17 1\r\n  \xf5\xfb\r\n");

    QDir(f.dir.path()).mkdir("folder.txt");
    seam::queueFile(f.path("folder.txt"));
    f.w->Command3D3_Click();
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Hiba a " + f.path("folder.txt") + " mentésekor - sikertelen mentés !"}));
    EXPECT_EQ(seam::messages()[0].icon, ui::Icon::Critical);

    // Copied back: the left list holds the cut rows and is asked about.
    seam::reset();
    f.w->Text7->setText("x");
    f.w->Command3D2_Click();
    EXPECT_EQ(f.w->List2->item(2), "11 12 13 14 15 16 17 1");
    EXPECT_EQ(f.w->Label8->text(), "24");
    EXPECT_EQ(f.w->List3->count(), 0);
    EXPECT_TRUE(f.w->Text7->text().isEmpty());
    EXPECT_EQ(f.w->Text4->text(), "1");
    seam::queueAnswer(ui::Answer::No);
    f.w->Command3D3_Click();
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"A baloldali kulcs-lista mentése !"}));
}

TEST(Editor, RowEditsThroughTheWindow) {
    Folder f;
    QString rows;
    for (int i = 1; i <= 10; ++i) rows += QString("%1\r\n").arg(i, 2, 10, QLatin1Char('0'));
    f.write("ten.txt", rows.toStdString());
    f.load("ten.txt");
    f.w->Text1->setText("3");
    f.w->Text2->setText("5");
    f.w->Command3D4_Click();
    EXPECT_EQ(f.w->List2->items(), QStringList({"01", "02", "06", "07", "08", "09", "10"}));
    EXPECT_EQ(f.w->Label7->text(), "7");
    EXPECT_EQ(f.w->List4->count(), 0);
    f.w->Text2->setText("abc");
    f.w->Command3D4_Click();
    EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Híbás tól: - ig: paraméterek !"}));

    // A refused cut leaves the last result.
    f.w->Text5->setText("1");
    f.w->Text6->setText("1");
    f.w->Command3D7_Click();
    EXPECT_EQ(f.w->List3->item(0), "1");
    f.w->Text3->setText("2");
    f.w->Command3D5_Click();
    EXPECT_EQ(dz::testing::shownTexts().last(), "Híbás bal: paraméter !");
    EXPECT_EQ(f.w->List3->item(0), "1");
    f.w->Text4->clear();  // empty box: the rows unchanged
    f.w->Command3D6_Click();
    EXPECT_EQ(f.w->List3->items(), f.w->List2->items());
}

TEST(Editor, ProbeSelectionAndDoubleClicks) {
    Folder f;
    f.write("k.txt", "01 02 03\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n");
    f.load("k.txt");
    f.w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.w.get()));

    // A click on a row copies it into the probe and makes it the whole range.
    const QRect r0 = f.w->List2->visualRect(f.w->List2->model()->index(0, 0));
    QTest::mouseClick(f.w->List2->viewport(), Qt::LeftButton, {}, r0.center());
    EXPECT_EQ(f.w->Text7->text(), "01 02 03");
    EXPECT_EQ(f.w->Text1->text(), "1");
    EXPECT_EQ(f.w->Text2->text(), "1");
    // Shift-click further down: the block.
    const QRect r4 = f.w->List2->visualRect(f.w->List2->model()->index(4, 0));
    QTest::mouseClick(f.w->List2->viewport(), Qt::LeftButton, Qt::ShiftModifier, r4.center());
    EXPECT_EQ(f.w->Text1->text(), "1");
    EXPECT_EQ(f.w->Text2->text(), "5");

    EXPECT_EQ(f.w->Text7->text(), "e");
    f.w->Text7->setText("01 02 03");
    f.w->Text7->setCursorPosition(3);
    QTest::keyClick(f.w->Text7, Qt::Key_Shift);  // a key up in the probe box
    EXPECT_EQ(f.w->Label9->text(), "3");
    EXPECT_EQ(f.w->Label11->text(), "5");
    EXPECT_EQ(f.w->Text3->text(), "3");
    EXPECT_EQ(f.w->Text4->text(), "5");

    QTest::mouseDClick(f.w->Text1, Qt::LeftButton);
    EXPECT_TRUE(f.w->Text1->text().isEmpty());
}

// "Tól:" and "Ig:" follow the selection as the list shows it after the click: a click inside a
// dragged block leaves that row alone, and "Sor töröl" deletes only it.
TEST(Editor, RangeFollowsTheSelectionAfterTheClick) {
    Folder f;
    QString rows;
    for (int i = 1; i <= 10; ++i) rows += QString("%1\r\n").arg(i, 2, 10, QLatin1Char('0'));
    f.write("ten.txt", rows.toStdString());
    f.w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.w.get()));
    QWidget* view = f.w->List2->viewport();
    auto at = [&](int row1) { return f.w->List2->visualRect(f.w->List2->model()->index(row1 - 1, 0)).center(); };
    auto drag = [&](int from1, int to1) {
        QTest::mousePress(view, Qt::LeftButton, {}, at(from1));
        for (int r = from1; r != to1;) {
            r += to1 > from1 ? 1 : -1;
            QTest::mouseMove(view, at(r));
        }
        QTest::mouseRelease(view, Qt::LeftButton, {}, at(to1));
    };
    auto range = [&] { return std::pair(f.w->Text1->text(), f.w->Text2->text()); };
    using R = std::pair<QString, QString>;

    f.load("ten.txt");
    QTest::mouseClick(view, Qt::LeftButton, {}, at(5));
    EXPECT_EQ(range(), R("5", "5"));
    drag(3, 7);
    EXPECT_EQ(range(), R("3", "7"));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(5));
    EXPECT_EQ(f.w->List2->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(range(), R("5", "5"));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, at(8));
    EXPECT_EQ(range(), R("5", "8"));

    // Upwards: the current row is the top of the block; a click inside it again one row.
    drag(7, 3);
    EXPECT_EQ(range(), R("3", "3"));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(6));
    EXPECT_EQ(range(), R("6", "6"));

    drag(3, 7);
    QTest::mouseClick(view, Qt::LeftButton, {}, at(5));
    f.w->Command3D4_Click();
    EXPECT_EQ(f.w->List2->items(), QStringList({"01", "02", "03", "04", "06", "07", "08", "09", "10"}));
}

TEST(Editor, HintsFollowThePointer) {
    Folder f;
    f.w->show();
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(f.w->Command3D3, &enter);
    EXPECT_EQ(f.w->Panel3D1->text(),
              "A szerkesztett kulcsot menthetjük el a jobboldali listából (üres esetén baloldali) !");
    // Over a label the hint stays; over the bare background it goes.
    const QPoint onLabel = f.w->Label10->geometry().center();
    QMouseEvent overLabel(QEvent::MouseMove, onLabel, f.w->mapToGlobal(onLabel), Qt::NoButton, {}, {});
    QCoreApplication::sendEvent(f.w.get(), &overLabel);
    EXPECT_FALSE(f.w->Panel3D1->text().isEmpty());
    QMouseEvent bare(QEvent::MouseMove, QPointF(1, 1), f.w->mapToGlobal(QPointF(1, 1)), Qt::NoButton, {}, {});
    QCoreApplication::sendEvent(f.w.get(), &bare);
    EXPECT_TRUE(f.w->Panel3D1->text().isEmpty());
}

TEST(Editor, BadFilesLoadWithoutHarm) {
    Folder f;
    f.w->show();
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += char(i * 37 % 256);
    f.write("binary.bin", binary);
    f.write("cr.txt", "01 02\r03 04\r05 06");
    for (const char* name : {"binary.bin", "cr.txt"}) {
        f.load(name);
        QCoreApplication::processEvents();
        f.w->grab();  // drawn once with every row in view
        f.w->List2_Click(1);
        seam::queueFile(f.path(QString(name) + ".out"));
        seam::queueAnswer(ui::Answer::Yes);
        f.w->Command3D3_Click();
    }
    EXPECT_TRUE(seam::messages().size() == 2);
    EXPECT_EQ(f.read("cr.txt.out"), "01 02\r\n03 04\r\n05 06\r\n");
    EXPECT_EQ(f.w->Text7->text(), "03 04");
}

// A save writes back the rows the list holds: a file whose line is longer than a list row can be
// (a line of a megabyte, or just past the limit) is refused, never cut, and the rows being edited stay.
TEST(Editor, FilesTooBigToHoldAreRefusedWhole) {
    Folder f;
    f.load("kulcs.txt");
    ASSERT_EQ(f.w->List2->count(), 4);
    const std::string longLine(1 << 20, '7');
    f.write("long.txt", "01 02\r\n" + longLine + "\r\nx");
    f.write("past.txt", dz::testing::keyWithALongLine());
    for (const char* name : {"long.txt", "past.txt"}) {
        seam::reset();
        f.load(name);
        EXPECT_EQ(dz::testing::shownTexts(), QStringList({"Az állomány túl nagy, nem tölthető be !"})) << name;
        EXPECT_EQ(f.w->List2->count(), 4) << name;
        EXPECT_EQ(f.w->Label7->text(), "4") << name;
        EXPECT_EQ(f.w->Label8->text(), "25") << name;
    }
    // The longest line a row holds loads whole.
    f.write("edge.txt", std::string(dz::kLineTextLimit, '5') + "\r\n");
    seam::reset();
    f.load("edge.txt");
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_EQ(size_t(f.w->List2->item(0).size()), dz::kLineTextLimit);
}

// The row count and the first row's length at five digits each: both whole, and apart by at
// least a digit's width, so that they do not read as one number.
TEST(Editor, CountsShowWholeAndApart) {
    Folder f;
    f.w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.w.get()));
    const QString five = QStringLiteral("32736");
    const QFontMetrics fm(f.w->Label7->font());
    const int textWidth = fm.horizontalAdvance(five);
    const int indent8 = std::max(0, f.w->Label8->indent());
    EXPECT_LE(textWidth, f.w->Label7->contentsRect().width());
    EXPECT_LE(indent8 + textWidth, f.w->Label8->contentsRect().width());
    const int end7 = f.w->Label7->x() + textWidth;  // left-aligned
    const int start8 = f.w->Label8->x() + indent8;
    EXPECT_GE(start8 - end7, fm.horizontalAdvance(QLatin1Char('0')));
    // Both stay where they stood, before the "<- Vissza" button.
    EXPECT_EQ(f.w->Label7->pos(), QPoint(ui::twips(1680), ui::twips(4500)));
    EXPECT_EQ(f.w->Label8->pos(), QPoint(ui::twips(2295), ui::twips(4500)));
    EXPECT_LE(f.w->Label8->geometry().right(), f.w->Command3D2->x());
}

// Counts of any size show every digit inside their labels: a first row of the longest length a file
// may hold and a full key's row count, and the probe's counts for that row.
TEST(Editor, LongCountsShowEveryDigit) {
    Folder f;
    std::string bytes = std::string(4096, '7') + "\r\n";
    for (int i = 1; i < 32736; ++i) bytes += "01 02\r\n";
    f.write("hosszu.txt", bytes);
    f.load(QStringLiteral("hosszu.txt"));
    f.w->Text7->setText(f.w->List2->item(0));
    f.w->Text7->setCursorPosition(1234);
    f.w->Text7_Click();
    struct Case {
        QLabel* label;
        QString text;
    };
    const QString right = QString::number(f.w->Text7->text().size() - 1234);  // the box holds what it can
    for (const Case& c : {Case{f.w->Label7, "32736"}, Case{f.w->Label8, "4096"}, Case{f.w->Label9, "1234"},
                          Case{f.w->Label11, right}}) {
        EXPECT_EQ(c.label->text(), c.text);
        const int width = QFontMetrics(c.label->font()).horizontalAdvance(c.label->text());
        EXPECT_LE(std::max(0, c.label->indent()) + width, c.label->contentsRect().width()) << c.text.toStdString();
    }
    // A short count has the label's own font again.
    f.load(QStringLiteral("kulcs.txt"));
    EXPECT_EQ(f.w->Label8->font(), f.w->Label10->font());
}

// A description list without end: as many lines as a list holds, each cut, and no more of the file.
TEST(Editor, EndlessDescriptionListShowsItsHead) {
    dz::testing::ProgramFolderFixture f;
    for (const std::string& filler : {std::string("x"), std::string("mkulcs.txt  sok\r\n")}) {
        dz::testing::FedFile feed(f.path("fleiras.txt"), "kulcs.txt   nyolcas kulcs\r\n", filler);
        KeyEditorWindow w;
        w.Form_Load();
        ASSERT_GE(w.List1->count(), 2);
        EXPECT_LE(size_t(w.List1->count()), kStartFileLines);
        EXPECT_EQ(w.List1->items()[0], QStringLiteral("kulcs.txt   nyolcas kulcs"));
        for (const QString& l : w.List1->items()) EXPECT_LE(size_t(l.size()), kStartLineBytes);
        // The window reads small files of its own (fonts, translations) on the way.
        EXPECT_LT(feed.fed(), uint64_t(kStartFileLines) * (kStartLineBytes + 2) + (1 << 20));
    }
}

// A named pipe that no process writes in place of the description list: the window is up at once,
// with an empty list as without the file.
TEST(Editor, ANamedPipeForTheDescriptionListCountsAsNoFile) {
    dz::testing::ProgramFolderFixture f;
    dz::testing::WriterlessFifo fifo(f.path("fleiras.txt"));
    ASSERT_TRUE(fifo.made());
    KeyEditorWindow w;
    w.Form_Load();
    EXPECT_FALSE(fifo.released()) << "the start waited on the pipe";
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_TRUE(seam::messages().empty());
}
