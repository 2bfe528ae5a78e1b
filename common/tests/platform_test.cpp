// The platform layer under the offscreen platform: dialog seams, the real message box's text,
// the sorted list, the second-start lock, the spreadsheet start and the control names.
#include "common/core/cp1250.h"
#include "common/core/listexport.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"
#include "common/tests/testutil.h"
#include "common/tests/otheruser.h"
#include "common/tests/qtprint.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QCryptographicHash>
#include <QCursor>
#include <QDir>
#include <QSysInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace dz;
using namespace dz::ui;

TEST(Dialogs, MessageSeamRecordsAndAnswersFromTheQueue) {
    dz::testing::ProgramFolderFixture fx;
    seam::queueAnswer(Answer::No);
    EXPECT_EQ(message(nullptr, QStringLiteral("Első\rmásodik <b>sor</b>"), Icon::Critical,
                      QStringLiteral("Vumo-Soft/2010"), Buttons::YesNo),
              Answer::No);
    // Without a queued answer the first button answers.
    EXPECT_EQ(message(nullptr, QStringLiteral("k"), Icon::Question, QString(), Buttons::YesNo), Answer::Yes);
    EXPECT_EQ(message(nullptr, QStringLiteral("k"), Icon::Question, QString(), Buttons::OkCancel), Answer::Ok);
    EXPECT_EQ(message(nullptr, QStringLiteral("k"), Icon::Information), Answer::Ok);
    ASSERT_EQ(seam::messages().size(), 4u);
    const auto& m = seam::messages()[0];
    EXPECT_EQ(m.text, QStringLiteral("Első\rmásodik <b>sor</b>"));
    EXPECT_EQ(m.title, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(m.icon, Icon::Critical);
    EXPECT_EQ(m.buttons, Buttons::YesNo);
    EXPECT_EQ(seam::messages()[3].icon, Icon::Information);

    FileDialogRequest req;
    req.save = true;
    req.startFolder = fx.dir.path();
    req.fileName = QStringLiteral("kulcs.txt");
    req.defaultSuffix = QStringLiteral("txt");
    req.confirmOverwrite = true;
    seam::queueFile(fx.path("k.txt"));
    EXPECT_EQ(fileDialog(nullptr, req), fx.path("k.txt"));
    EXPECT_FALSE(fileDialog(nullptr, req));  // nothing queued: Cancel
    ASSERT_EQ(seam::fileDialogs().size(), 2u);
    EXPECT_TRUE(seam::fileDialogs()[0].save);
    EXPECT_EQ(seam::fileDialogs()[0].fileName, QStringLiteral("kulcs.txt"));
    EXPECT_TRUE(seam::fileDialogs()[0].confirmOverwrite);

    seam::queueInput(QStringLiteral("12"));
    EXPECT_EQ(inputBox(nullptr, QStringLiteral("Hány?"), QStringLiteral("T")), QStringLiteral("12"));
    EXPECT_FALSE(inputBox(nullptr, QStringLiteral("Hány?"), QStringLiteral("T")));
    EXPECT_EQ(seam::inputPrompts().size(), 2u);

    seam::reset();
    EXPECT_TRUE(seam::enabled());
    EXPECT_TRUE(seam::messages().empty());
    EXPECT_TRUE(seam::fileDialogs().empty());
}

namespace {
// Shows a real message box (the seam off) and hands it to look at before it is answered.
Answer showReal(const QString& text, const std::function<void(QMessageBox*)>& look, Icon icon = Icon::Critical) {
    seam::enable(false);
    int tries = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (++tries > 200)  // never hang the run
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* b = qobject_cast<QMessageBox*>(w)) b->reject();
            return;
        }
        look(box);
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    const Answer a = message(nullptr, text, icon, QStringLiteral("T"));
    poll.stop();
    seam::enable(true);
    return a;
}
}  // namespace

TEST(Dialogs, RealMessageBoxShowsPlainTextAndBreaksAtALoneCr) {
    dz::testing::ProgramFolderFixture fx;
    QString shownText, shownTitle;
    Qt::TextFormat format = Qt::RichText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    const Answer a = showReal(
        QStringLiteral("egy\rkettő\r\nhárom <b>x</b>"),
        [&](QMessageBox* box) {
            shownText = box->text();
            shownTitle = box->windowTitle();
            format = box->textFormat();
            icon = box->icon();
        },
        Icon::Warning);
    EXPECT_EQ(a, Answer::Ok);
    EXPECT_EQ(shownText, QStringLiteral("egy\nkettő\nhárom <b>x</b>"));
    EXPECT_EQ(shownTitle, QStringLiteral("T"));
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(icon, QMessageBox::Warning);
}


TEST(Dialogs, EveryLineOfAMessageIsCapped) {
    const QString cap(kShownLine, QLatin1Char('7'));
    const QString more = cap + QLatin1Char('8');
    const QString cut = QString(kShownLine - kShownEnd, QLatin1Char('7')) + QStringLiteral("...") +
                        QString(kShownEnd - 1, QLatin1Char('7')) + QLatin1Char('8');
    const QString smile = QString::fromUcs4(U"\U0001F600");
    const QString pair = QString(kShownLine - kShownEnd - 1, QLatin1Char('a')) + smile + QString(kShownEnd, QLatin1Char('b'));
    const QString endPair = QString(kShownLine, QLatin1Char('a')) + smile + QString(kShownEnd - 1, QLatin1Char('b'));
    struct Case {
        QString text, shown;
    };
    const Case cases[] = {
        {QString(), QString()},
        {QStringLiteral("Hiba\rsor"), QStringLiteral("Hiba\rsor")},
        {cap, cap},  // a line of the cap's length whole
        {more, cut},  // its start and its end
        {QStringLiteral("A sor:\r") + more + QStringLiteral("\r\n") + more + QStringLiteral("\n\nvége"),
         QStringLiteral("A sor:\r") + cut + QStringLiteral("\r\n") + cut + QStringLiteral("\n\nvége")},
        // never half a character
        {pair, QString(kShownLine - kShownEnd - 1, QLatin1Char('a')) + QStringLiteral("...") + QString(kShownEnd, QLatin1Char('b'))},
        {endPair, QString(kShownLine - kShownEnd, QLatin1Char('a')) + QStringLiteral("...") + QString(kShownEnd - 1, QLatin1Char('b'))},
    };
    for (const Case& c : cases) EXPECT_EQ(shownMessage(c.text), c.shown) << c.text.left(20).toStdString();

    // What the seam records and what the real box shows: a 5 MB line built without its cap loses
    // its middle, never the words that end it.
    const QString words = QStringLiteral(" mentésekor - sikertelen mentés !");
    const QString huge = QStringLiteral("Hiba a\r/") + QString(5 << 20, QLatin1Char('1')) + words;
    const QString want = QStringLiteral("Hiba a\r/") + QString(kShownLine - kShownEnd - 1, QLatin1Char('1')) +
                         QStringLiteral("...") + QString(kShownEnd - words.size(), QLatin1Char('1')) + words;
    seam::reset();
    message(nullptr, huge, Icon::Critical, QStringLiteral("T"));
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, want);
    QString shown;
    EXPECT_EQ(showReal(huge, [&](QMessageBox* box) { shown = box->text(); }), Answer::Ok);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Hiba a\n/"))) << shown.left(20).toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral(" mentésekor - sikertelen mentés\u00A0!")));
}

// A save failure names a path of any length and still says that the save failed.
TEST(Dialogs, ALongPathKeepsTheMessagesWords) {
    const QString path = QStringLiteral("/home/") + QString(600, QLatin1Char('d')) + QStringLiteral("/nyomtatas.pdf");
    seam::reset();
    message(nullptr, dz::saveFailedMessage(path), Icon::Critical, QStringLiteral("T"));
    ASSERT_EQ(seam::messages().size(), 1u);
    const QString text = seam::messages()[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Hiba a /home/ddd")));
    EXPECT_TRUE(text.endsWith(QStringLiteral(".../nyomtatas.pdf mentésekor - sikertelen mentés !")));
    EXPECT_LE(text.size(), dz::kQuoted + 3 + 40);
}

// Lines that fit the screen show whole, each on its own line, however much wider than Qt's usual
// message width; a line too wide for the screen wraps inside it.
TEST(Dialogs, MessageLinesThatFitTheScreenShowWhole) {
    const QString line = QStringLiteral("A vágólap tartalmát a  Ctrl/V  billentyűk egyidejű lenyomásával, vagy az egér jobb");
    const QString text = QStringLiteral("Rövid sor !\r\r") + line + QLatin1Char('\r') + line;
    int labelWidth = 0, widest = 0, boxWidth = 0;
    EXPECT_EQ(showReal(text, [&](QMessageBox* box) {
                  auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                  ASSERT_TRUE(label);
                  labelWidth = label->width();
                  widest = label->fontMetrics().horizontalAdvance(line);
              }),
              Answer::Ok);
    EXPECT_GE(labelWidth, widest);

    const QString wide = QString(kShownLine, QLatin1Char('W'));
    EXPECT_EQ(showReal(wide, [&](QMessageBox* box) { boxWidth = box->width(); }), Answer::Ok);
    EXPECT_LE(boxWidth, QGuiApplication::primaryScreen()->availableGeometry().width());
}

namespace {
// The lines a message box's label lays its text out in, at the label's width.
QStringList laidOutLines(QMessageBox* box) {
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label) return {};
    QStringList out;
    for (const QString& para : label->text().split(QLatin1Char('\n'))) {
        QTextLayout layout(para, label->font());
        QTextOption o;
        o.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(o);
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(label->contentsRect().width());
            out << para.mid(l.textStart(), l.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return out;
}
}  // namespace

// A one-line message shows on one line: its last word ("!") never wraps alone below it. A line
// too wide for the screen wraps, its path after a "/", never leaving a "!" alone.
TEST(Dialogs, AMessagesLastWordStaysOnItsLine) {
    for (const QString& text : {QStringLiteral("Nincs elérhető nyomtató - a nyomtatás sikertelen !"),
                                dz::saveFailedMessage(QStringLiteral("/home/jatekos/dizov/nyomtatas.pdf")),
                                QStringLiteral("Nincs listasor kiválasztva ")}) {
        int height = 0, lineSpacing = 0;
        EXPECT_EQ(showReal(text, [&](QMessageBox* box) {
                      auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                      ASSERT_TRUE(label);
                      height = label->height();
                      lineSpacing = label->fontMetrics().lineSpacing();
                  }),
                  Answer::Ok);
        EXPECT_LT(height, 2 * lineSpacing) << text.toStdString();
    }

    const QString path = QStringLiteral("/home/jatekos/") + QString(150, QLatin1Char('d')) + QStringLiteral("/nyomtatas.pdf");
    QStringList lines;
    int labelWidth = 0, widestLine = 0, room = 0;
    EXPECT_EQ(showReal(dz::saveFailedMessage(path), [&](QMessageBox* box) {
                  lines = laidOutLines(box);
                  auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                  labelWidth = label->contentsRect().width();
                  for (const QString& l : lines) widestLine = std::max(widestLine, label->fontMetrics().horizontalAdvance(l));
                  room = box->screen()->availableGeometry().width();
              }),
              Answer::Ok);
    ASSERT_GE(lines.size(), 2);
    EXPECT_LE(widestLine, labelWidth) << "a line runs out of its label";
    EXPECT_GT(labelWidth, room / 2) << "the box takes the room it may have";
    for (const QString& l : lines) EXPECT_NE(l, QStringLiteral("!"));
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("mentés\u00A0!"))) << lines.last().toStdString();
}

TEST(Services, QtsOwnDialogsSpeakHungarian) {
    // The set-up installs Qt's Hungarian translation; every program loads it at start.
    initApplication(*qApp);
    const auto translators = qApp->findChildren<QTranslator*>();
    ASSERT_FALSE(translators.isEmpty()) << "qtbase_hu.qm is missing: run scripts/setup.sh";
    QMessageBox box(QMessageBox::Question, QStringLiteral("T"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Mégse"));
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Igen"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("File &name:"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Save As"));
    for (QTranslator* t : translators) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    QMessageBox english(QMessageBox::Question, QStringLiteral("T"), QStringLiteral("x"), QMessageBox::Cancel);
    EXPECT_EQ(english.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancel"));
}

TEST(Widgets, LongLinesAreShownCut) {
    ListBox list;
    const QString huge(3 * int(kLineTextLimit), QLatin1Char('7'));
    list.setItems({huge, QStringLiteral("rövid")});
    EXPECT_EQ(list.item(0), huge) << "the list keeps its line";
    const QString shown = list.model()->index(0, 0).data().toString();
    EXPECT_EQ(shown.size(), qsizetype(kLineTextLimit));
    EXPECT_EQ(list.model()->index(1, 0).data().toString(), QStringLiteral("rövid"));
}

TEST(Widgets, ListOverRecordsFormatsOnlyTheLinesRead) {
    struct Rec {
        int draw;
        char cls;
    };
    int formatted = 0;
    std::vector<Rec> recs;
    for (int i = 0; i < 200000; ++i) recs.push_back({i, char('a' + i % 3)});
    auto src = std::make_shared<RecordLines<Rec>>(std::move(recs), [&formatted](const Rec& r) {
        ++formatted;
        return QStringLiteral("%1 %2").arg(r.draw).arg(QLatin1Char(r.cls));
    });
    ListBox list;
    list.resize(200, 120);
    list.setSource(src);
    list.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(list.count(), 200000);
    EXPECT_LT(formatted, 1000) << "a view asks only for the lines it shows";
    EXPECT_EQ(list.item(199999), QStringLiteral("199999 b"));
    EXPECT_EQ(list.item(200000), QString());
    EXPECT_EQ(list.model()->index(5, 0).data().toString(), QStringLiteral("5 c"));
    EXPECT_EQ(list.source(), src.get());
    EXPECT_EQ(allLines(*src).size(), 200000);
    // An export takes every line and leaves the list over its records.
    EXPECT_EQ(list.items().at(7), QStringLiteral("7 b"));
    EXPECT_EQ(list.source(), src.get());

    // Editing a line turns the source into strings, which keep the same lines.
    list.removeItem(0);
    EXPECT_EQ(list.source(), nullptr);
    EXPECT_EQ(list.count(), 199999);
    EXPECT_EQ(list.item(0), QStringLiteral("1 b"));
    list.setSource(std::make_shared<StringLines>(QStringList{QStringLiteral("x")}));
    EXPECT_EQ(list.items(), QStringList{QStringLiteral("x")});
}

// Qt's model checker watches the list's model through every kind of change the windows make: lines
// as strings, lines over records, single edits on either, a sorted insert, a source swapped for
// another and for strings, and an empty list. Reading every line leaves a source in place.
TEST(Widgets, ListModelKeepsQtsModelRulesThroughEveryChange) {
    for (const bool sorted : {false, true}) {
        ListBox list(nullptr, sorted);
        QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        list.setItems({QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")});
        list.addItem(QStringLiteral("bb"));
        list.removeItem(0);
        list.appendItems({QStringLiteral("d"), QStringLiteral("a")});
        std::vector<int> recs(500);
        for (int i = 0; i < 500; ++i) recs[size_t(i)] = i;
        auto src = std::make_shared<RecordLines<int>>(std::move(recs),
                                                      [](const int& r) { return QStringLiteral("%1").arg(r, 4, 10, QLatin1Char('0')); });
        list.setSource(src);
        EXPECT_EQ(list.items().size(), 500);
        EXPECT_EQ(list.source(), src.get()) << "reading every line keeps the source";
        list.setSource(std::make_shared<StringLines>(QStringList{QStringLiteral("x"), QStringLiteral("y")}));
        list.addItem(QStringLiteral("xa"));
        EXPECT_EQ(list.source(), nullptr) << "an edit turns the list editable";
        EXPECT_EQ(list.items(), (QStringList{QStringLiteral("x"), sorted ? QStringLiteral("xa") : QStringLiteral("y"),
                                             sorted ? QStringLiteral("y") : QStringLiteral("xa")}));
        list.setSource(src);
        list.removeItem(499);
        list.setItems({});
        list.clear();
        EXPECT_EQ(list.count(), 0);
    }
}

// Lines kept as bytes come back whole and in order across block ends, a line longer than a block
// included, each through the decoder.
TEST(Widgets, ByteLinesKeepEveryLineAcrossBlocks) {
    dz::ByteLines lines(&dz::decodeCapped);
    std::vector<std::string> in;
    for (int i = 0; i < 3000; ++i) in.push_back(std::to_string(i) + std::string(size_t(i % 41), 'x') + "\xe1");
    in.insert(in.begin() + 1000, std::string(20000, 'y'));
    in.insert(in.begin() + 1001, "");
    for (const auto& l : in) lines.append(l);
    ASSERT_EQ(lines.count(), int(in.size()));
    for (size_t i = 0; i < in.size(); ++i) ASSERT_EQ(lines.line(int(i)), dz::decodeCapped(in[i])) << i;
}

TEST(Widgets, SortedListKeepsAscendingByteOrderWithDuplicates) {
    ListBox list(nullptr, true);
    const QStringList in{QStringLiteral(" 12"), QStringLiteral("Árvíz"), QStringLiteral("Zebra"), QStringLiteral(" 3"),
                         QStringLiteral("abc"), QStringLiteral(" 12"), QStringLiteral("ab"), QStringLiteral("őz"),
                         QStringLiteral("oz"), QStringLiteral(""), QStringLiteral("Árvíz")};
    for (const QString& s : in) {
        const int at = list.addItem(s);
        EXPECT_EQ(list.item(at), s);
    }
    // The expected order: the cp1250 bytes compared as unsigned.
    std::vector<QByteArray> bytes;
    for (const QString& s : in) bytes.push_back(cp1250::encode(s));
    std::sort(bytes.begin(), bytes.end(), [](const QByteArray& x, const QByteArray& y) {
        return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                            [](char p, char q) { return uchar(p) < uchar(q); });
    });
    QStringList want;
    for (const auto& b : bytes) want << cp1250::decode(b);
    EXPECT_EQ(list.items(), want);
    EXPECT_EQ(list.count(), in.size());
    EXPECT_EQ(list.items().count(QStringLiteral(" 12")), 2);
    EXPECT_LT(list.items().indexOf(QStringLiteral("Zebra")), list.items().indexOf(QStringLiteral("Árvíz")));
    EXPECT_LT(list.items().indexOf(QStringLiteral("oz")), list.items().indexOf(QStringLiteral("őz")));

    // setItems fills in one call, sorted the same way.
    ListBox again(nullptr, true);
    QSignalSpy reset(again.model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(again.model(), &QAbstractItemModel::rowsInserted);
    QStringList reversed = in;
    std::reverse(reversed.begin(), reversed.end());
    again.setItems(reversed);
    EXPECT_EQ(again.items(), want);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    again.appendItems({QStringLiteral(" 0")});
    EXPECT_EQ(again.item(1), QStringLiteral(" 0"));  // after the empty line, before " 12"

    // An unsorted list keeps the order it is given.
    ListBox plain;
    plain.setItems(in);
    plain.addItem(QStringLiteral(" 0"));
    EXPECT_EQ(plain.items(), in + QStringList{QStringLiteral(" 0")});
}

TEST(Widgets, TopIndexSelectionAndTypedKeys) {
    ListBox list;
    QStringList lines;
    for (int i = 0; i < 200; ++i) lines << QString::number(i);
    list.setItems(lines);
    list.resize(200, 120);
    list.show();
    QApplication::processEvents();
    list.setTopIndex(50);
    QApplication::processEvents();
    EXPECT_EQ(list.topIndex(), 50);
    list.setTopIndex(-5);
    QApplication::processEvents();
    EXPECT_EQ(list.topIndex(), 0);
    list.setTopIndex(100000);  // clamped: the end is in view
    QApplication::processEvents();
    EXPECT_GT(list.topIndex(), 150);
    EXPECT_TRUE(list.viewport()->rect().intersects(list.visualRect(list.model()->index(199, 0))));

    EXPECT_EQ(list.listIndex(), -1);
    list.setListIndex(7);
    EXPECT_EQ(list.listIndex(), 7);
    list.setListIndex(500);
    EXPECT_EQ(list.listIndex(), -1);

    QSignalSpy typed(&list, &ListBox::keyTyped);
    QTest::keyClick(&list, 'L');
    QTest::keyClick(&list, 'l');
    ASSERT_EQ(typed.count(), 2);
    EXPECT_EQ(typed[0][0].toInt(), 76);
    EXPECT_EQ(typed[1][0].toInt(), 108);

    list.setItems(lines);  // refilled: back at its first line
    QApplication::processEvents();
    EXPECT_EQ(list.topIndex(), 0);

    ListBox empty;
    empty.setTopIndex(3);  // nothing to scroll, no fault
    EXPECT_EQ(empty.topIndex(), 0);
}

namespace {
// Lines made when read, counting every question the list asks.
class CountingLines : public LineSource {
public:
    explicit CountingLines(int n) : n_(n) {}
    int count() const override {
        ++asked;
        return n_;
    }
    QString line(int i) const override {
        ++asked;
        return QStringLiteral("%1 sor").arg(i);
    }
    mutable long long asked = 0;

private:
    int n_;
};
}  // namespace

// A million lines cost the list what it shows, not what it holds: filled while shown, clicked,
// paged, scrolled to the end, resized and shift-clicked there, it asks its source a few thousand
// questions, not one a line.
TEST(Widgets, AMillionLinesCostWhatTheListShows) {
    constexpr int kLines = 1'000'000;
    auto src = std::make_shared<CountingLines>(kLines);
    ListBox list;
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.resize(200, 120);
    list.show();
    QApplication::processEvents();
    QStringList steps;
    auto step = [&](const char* what) {
        QApplication::processEvents();
        steps << QStringLiteral("%1: %2").arg(QLatin1String(what)).arg(src->asked);
    };
    auto rowAt = [&](int row) { return list.visualRect(list.model()->index(row, 0)).center(); };

    list.setSource(src);
    step("filled");
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowAt(3));
    step("clicked");
    EXPECT_EQ(list.listIndex(), 3);
    QTest::keyClick(&list, Qt::Key_PageDown);
    step("paged");
    EXPECT_GT(list.currentIndex().row(), 3);
    list.scrollToBottom();
    step("at the end");
    list.resize(260, 150);
    step("resized");
    EXPECT_TRUE(list.viewport()->rect().contains(list.visualRect(list.model()->index(kLines - 1, 0))));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ShiftModifier, rowAt(kLines - 2));
    step("shift-clicked");
    const QItemSelectionModel* sel = list.selectionModel();
    EXPECT_TRUE(sel->isSelected(list.model()->index(kLines / 2, 0)));
    EXPECT_TRUE(sel->isSelected(list.model()->index(kLines - 2, 0)));
    EXPECT_FALSE(sel->isSelected(list.model()->index(kLines - 1, 0)));
    EXPECT_EQ(list.currentIndex().row(), kLines - 2);
    EXPECT_LT(src->asked, 5000) << steps.join(QStringLiteral(", ")).toStdString();
}

namespace {
// A list box and, in a window of its own, a QListView as the box was before it placed its lines
// itself: uniform item sizes over the same lines, no edits, the same selection mode.
struct Twins {
    QWidget boxWindow, refWindow;
    ListBox* box = new ListBox(&boxWindow);
    QListView* ref = new QListView(&refWindow);
    LinesModel refLines;

    Twins(const QStringList& lines, QSize size, QAbstractItemView::SelectionMode mode) {
        ref->setModel(&refLines);
        ref->setUniformItemSizes(true);
        ref->setEditTriggers(QAbstractItemView::NoEditTriggers);
        int x = 0;
        for (QAbstractItemView* v : views()) {
            v->setSelectionMode(mode);
            linesOf(v).setLines(lines);
            v->window()->setGeometry(20 + x, 20, size.width() + 20, size.height() + 20);
            v->setGeometry(10, 10, size.width(), size.height());
            v->window()->show();
            x += size.width() + 60;
        }
        QApplication::processEvents();
    }
    std::array<QAbstractItemView*, 2> views() { return {box, ref}; }
    LinesModel& linesOf(QAbstractItemView* v) { return v == box ? *static_cast<LinesModel*>(box->model()) : refLines; }
    void both(const std::function<void(QAbstractItemView*, LinesModel&)>& f) {
        for (QAbstractItemView* v : views()) {
            f(v, linesOf(v));
            QApplication::processEvents();
        }
    }
    // What a view shows and answers, as text; drawn with and without the keyboard focus.
    static QString state(QAbstractItemView* v, QImage* unfocused, QImage* focused) {
        QStringList s;
        for (QScrollBar* b : {v->verticalScrollBar(), v->horizontalScrollBar()})
            s << QStringLiteral("bar %1..%2=%3 step %4 page %5 shown %6")
                     .arg(b->minimum()).arg(b->maximum()).arg(b->value()).arg(b->singleStep()).arg(b->pageStep())
                     .arg(b->isVisible());
        s << QStringLiteral("viewport %1x%2 current %3").arg(v->viewport()->width()).arg(v->viewport()->height())
                 .arg(v->currentIndex().row());
        for (const QItemSelectionRange& r : v->selectionModel()->selection())
            s << QStringLiteral("selected %1..%2").arg(r.top()).arg(r.bottom());
        const int n = v->model()->rowCount();
        for (int row : {0, 1, n / 2, n - 2, n - 1, n}) {
            const QRect r = v->visualRect(v->model()->index(row, 0));
            s << QStringLiteral("row %1 at %2,%3 %4x%5").arg(row).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        }
        QStringList at;
        const QSize vp = v->viewport()->size();
        for (int y = -3; y <= vp.height() + 3; y += 2)
            for (int x : {-1, 0, 3, vp.width() - 1, vp.width() + 2, 1000}) at << QString::number(v->indexAt(QPoint(x, y)).row());
        s << QStringLiteral("index at ") + at.join(QLatin1Char(' '));
        v->window()->activateWindow();
        v->clearFocus();
        QApplication::processEvents();
        *unfocused = v->grab().toImage();
        v->setFocus();
        QApplication::processEvents();
        *focused = v->grab().toImage();
        return s.join(QLatin1Char('\n'));
    }
    void expectSame(const QString& step) {
        QImage boxPlain, boxFocused, refPlain, refFocused;
        const QString boxState = state(box, &boxPlain, &boxFocused);
        const QString refState = state(ref, &refPlain, &refFocused);
        EXPECT_EQ(boxState, refState) << step.toStdString();
        EXPECT_TRUE(boxPlain == refPlain) << step.toStdString() << ": drawn differently";
        EXPECT_TRUE(boxFocused == refFocused) << step.toStdString() << ": drawn differently with the focus";
    }
};

QPoint rowCentre(QAbstractItemView* v, int row) { return v->visualRect(v->model()->index(row, 0)).center(); }

void press(QAbstractItemView* v, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    v->setFocus();
    QTest::keyClick(v, key, mods);
}

void wheel(QAbstractItemView* v, int notches) {
    const QPoint p = v->viewport()->rect().center();
    QWheelEvent e(p, v->viewport()->mapToGlobal(p), QPoint(), QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(v->viewport(), &e);
}
}  // namespace

// The list box places, scrolls, selects, moves and draws its lines as a QListView with uniform
// item sizes does: after each step of each case the two views agree in their scroll bars, lines'
// places, hit tests, current line, selection and pixels.
TEST(Widgets, ListBoxBehavesAsTheListViewItStandsFor) {
    QStringList many;
    for (int i = 0; i < 200; ++i) many << QStringLiteral("%1 sor").arg(i, 4);
    QStringList wideLast = many.mid(0, 30);
    wideLast << QStringLiteral("egy hosszú utolsó sor, amely szélesebb a listánál, hogy görgetni kelljen");
    QStringList wideFirst = wideLast;
    std::reverse(wideFirst.begin(), wideFirst.end());
    using Step = std::function<void(QAbstractItemView*, LinesModel&)>;
    struct Action {
        const char* what;
        Step run;
    };
    auto key = [](Qt::Key k, Qt::KeyboardModifiers m = {}) {
        return [=](QAbstractItemView* v, LinesModel&) { press(v, k, m); };
    };
    auto click = [](std::function<QPoint(QAbstractItemView*)> at, Qt::KeyboardModifiers m = {}) {
        return [=](QAbstractItemView* v, LinesModel&) { QTest::mouseClick(v->viewport(), Qt::LeftButton, m, at(v)); };
    };
    auto onRow = [](int row) { return [=](QAbstractItemView* v) { return rowCentre(v, row); }; };
    const std::vector<Action> script = {
        {"first paint", [](QAbstractItemView*, LinesModel&) {}},
        {"Down", key(Qt::Key_Down)},
        {"Down", key(Qt::Key_Down)},
        {"PageDown", key(Qt::Key_PageDown)},
        {"PageDown", key(Qt::Key_PageDown)},
        {"Up", key(Qt::Key_Up)},
        {"PageUp", key(Qt::Key_PageUp)},
        {"End", key(Qt::Key_End)},
        {"PageUp", key(Qt::Key_PageUp)},
        {"Shift+PageUp", key(Qt::Key_PageUp, Qt::ShiftModifier)},
        {"Left", key(Qt::Key_Left)},
        {"Home", key(Qt::Key_Home)},
        {"Shift+Down", key(Qt::Key_Down, Qt::ShiftModifier)},
        {"Shift+PageDown", key(Qt::Key_PageDown, Qt::ShiftModifier)},
        {"Ctrl+A", key(Qt::Key_A, Qt::ControlModifier)},
        {"click line 1", click(onRow(1))},
        {"shift-click line 4", click(onRow(4), Qt::ShiftModifier)},
        {"ctrl-click line 2", click(onRow(2), Qt::ControlModifier)},
        {"click below the lines", click([](QAbstractItemView* v) { return QPoint(5, v->viewport()->height() - 1); })},
        {"click right of the text", click([](QAbstractItemView* v) { return QPoint(v->viewport()->width() - 2, 5); })},
        {"wheel down", [](QAbstractItemView* v, LinesModel&) { wheel(v, 2); }},
        {"wheel up", [](QAbstractItemView* v, LinesModel&) { wheel(v, -1); }},
        {"drag down", [](QAbstractItemView* v, LinesModel&) {
             QTest::mousePress(v->viewport(), Qt::LeftButton, {}, rowCentre(v, 1));
             QTest::mouseMove(v->viewport(), rowCentre(v, 3) + QPoint(0, 2));
             QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, rowCentre(v, 3) + QPoint(0, 2));
         }},
        {"drag up", [](QAbstractItemView* v, LinesModel&) {
             QTest::mousePress(v->viewport(), Qt::LeftButton, {}, rowCentre(v, 3));
             QTest::mouseMove(v->viewport(), rowCentre(v, 0) - QPoint(0, 3));
             QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, rowCentre(v, 0) - QPoint(0, 3));
         }},
        {"scroll across", [](QAbstractItemView* v, LinesModel&) { v->horizontalScrollBar()->setValue(37); }},
        {"scroll to the bottom", [](QAbstractItemView* v, LinesModel&) { v->scrollToBottom(); }},
        {"bar a page up", [](QAbstractItemView* v, LinesModel&) {
             v->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
         }},
        {"line 25 at the top", [](QAbstractItemView* v, LinesModel& m) { v->scrollTo(m.index(25), QAbstractItemView::PositionAtTop); }},
        {"line 10 at the bottom", [](QAbstractItemView* v, LinesModel& m) { v->scrollTo(m.index(10), QAbstractItemView::PositionAtBottom); }},
        {"line 20 centred", [](QAbstractItemView* v, LinesModel& m) { v->scrollTo(m.index(20), QAbstractItemView::PositionAtCenter); }},
        {"line 2 visible", [](QAbstractItemView* v, LinesModel& m) { v->scrollTo(m.index(2)); }},
        {"last line visible", [](QAbstractItemView* v, LinesModel& m) { v->scrollTo(m.index(m.count() - 1)); }},
        {"line 3 current", [](QAbstractItemView* v, LinesModel& m) { v->setCurrentIndex(m.index(3)); }},
        {"smaller", [](QAbstractItemView* v, LinesModel&) { v->resize(v->width() - 30, v->height() - 17); }},
        {"larger", [](QAbstractItemView* v, LinesModel&) { v->resize(v->width() + 80, v->height() + 60); }},
        {"a line inserted", [](QAbstractItemView*, LinesModel& m) { m.insertLine(std::min(2, m.count()), QStringLiteral("új")); }},
        {"a wide line appended", [](QAbstractItemView*, LinesModel& m) {
             m.appendLines({QStringLiteral("a hozzáfűzött sor is szélesebb, mint a lista maga, bizony")});
         }},
        {"the last line removed", [](QAbstractItemView*, LinesModel& m) { m.removeLine(m.count() - 1); }},
        {"the first line removed", [](QAbstractItemView*, LinesModel& m) { m.removeLine(0); }},
        {"a larger font", [](QAbstractItemView* v, LinesModel&) {
             QFont f = v->font();
             f.setPointSize(f.pointSize() + 5);
             v->setFont(f);
         }},
        {"the same lines again", [](QAbstractItemView*, LinesModel& m) { m.setLines(m.lines()); }},
        {"End again", key(Qt::Key_End)},
        {"refilled wider and scrolled to its end at once", [](QAbstractItemView* v, LinesModel& m) {
             m.setLines(m.lines() + QStringList{QStringLiteral("egy utolsó, a listánál jóval szélesebb sor a végén, ami görgetést kér")});
             v->scrollTo(m.index(m.count() - 1), QAbstractItemView::PositionAtBottom);
         }},
        {"emptied", [](QAbstractItemView*, LinesModel& m) { m.setLines({}); }},
        {"one line", [](QAbstractItemView*, LinesModel& m) { m.setLines({QStringLiteral("egyetlen")}); }},
        {"PageDown over one", key(Qt::Key_PageDown)},
    };
    struct Case {
        const char* what;
        QStringList lines;
        QSize size;
        QAbstractItemView::SelectionMode mode;
    };
    const Case cases[] = {
        {"many lines", many, QSize(200, 120), QAbstractItemView::SingleSelection},
        {"many lines, extended selection", many, QSize(200, 120), QAbstractItemView::ExtendedSelection},
        {"the last line wider than the list", wideLast, QSize(200, 120), QAbstractItemView::ExtendedSelection},
        {"the first line wider than the list", wideFirst, QSize(200, 120), QAbstractItemView::SingleSelection},
        {"two lines high", many, QSize(150, 40), QAbstractItemView::SingleSelection},
        {"lower than a line", many, QSize(150, 12), QAbstractItemView::ExtendedSelection},
        {"lines that fit", many.mid(0, 3), QSize(200, 120), QAbstractItemView::ExtendedSelection},
        {"no lines", {}, QSize(200, 120), QAbstractItemView::SingleSelection},
    };
    for (const Case& c : cases) {
        Twins t(c.lines, c.size, c.mode);
        for (const Action& a : script) {
            t.both(a.run);
            t.expectSame(QStringLiteral("%1, after %2").arg(QLatin1String(c.what), QLatin1String(a.what)));
            if (::testing::Test::HasFailure()) return;
        }
    }
}

// Clicks on a line are signalled with its row; to assistive technology the box is a list whose
// children are its lines.
TEST(Widgets, ListBoxSignalsItsLinesAndIsAListToAssistiveTechnology) {
    ListBox list;
    list.setItems({QStringLiteral("egy"), QStringLiteral("kettő"), QStringLiteral("három")});
    list.resize(200, 120);
    list.show();
    QApplication::processEvents();
    QSignalSpy clicked(&list, &ListBox::itemClicked), doubled(&list, &ListBox::itemDoubleClicked),
        released(&list, &ListBox::mouseReleased);
    const QPoint second = list.visualRect(list.model()->index(1, 0)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(released.count(), 1);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, second);
    ASSERT_GE(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 1);
    ASSERT_EQ(doubled.count(), 1);
    EXPECT_EQ(doubled[0][0].toInt(), 1);
    EXPECT_EQ(list.listIndex(), 1);

    EXPECT_EQ(qobject_cast<QListView*>(&list), &list);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&list);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->role(), QAccessible::List);
    ASSERT_EQ(a->childCount(), 3);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(a->child(i));
        EXPECT_EQ(a->child(i)->text(QAccessible::Name), list.item(i));
        EXPECT_EQ(a->child(i)->rect().center(), list.viewport()->mapToGlobal(list.visualRect(list.model()->index(i, 0)).center()));
    }
}

TEST(Widgets, SpinButtonSignalsItsArrows) {
    SpinButton spin;
    QSignalSpy up(&spin, &SpinButton::spinUp), down(&spin, &SpinButton::spinDown);
    spin.upButton()->click();
    spin.upButton()->click();
    spin.downButton()->click();
    EXPECT_EQ(up.count(), 2);
    EXPECT_EQ(down.count(), 1);
}

TEST(Services, SecondLockIsRefusedWithTheWarning) {
    dz::testing::ProgramFolderFixture fx;
    auto first = lockSingleInstance(QStringLiteral("kulcsgen"), QStringLiteral("Vumo-Soft/2010"));
    ASSERT_TRUE(first);
    EXPECT_TRUE(seam::messages().empty());
    auto second = lockSingleInstance(QStringLiteral("kulcsgen"), QStringLiteral("Vumo-Soft/2010"));
    EXPECT_FALSE(second);
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("kulcsgen márt fut ! "));
    EXPECT_EQ(seam::messages()[0].icon, Icon::Warning);
    EXPECT_EQ(seam::messages()[0].title, QStringLiteral("Vumo-Soft/2010"));
    // Another program has its own lock; the lock goes with the program.
    EXPECT_TRUE(lockSingleInstance(QStringLiteral("kulcsnyomt")));
    first.reset();
    EXPECT_TRUE(lockSingleInstance(QStringLiteral("kulcsgen")));
}

TEST(Services, FolderWithoutLockFilesStillRefusesASecondStart) {
    dz::testing::ProgramFolderFixture fx;
    setProgramFolder(fx.path("gone"));  // no lock file can be made there
    auto first = lockSingleInstance(QStringLiteral("kulcsert"));
    ASSERT_TRUE(first);
    EXPECT_TRUE(seam::messages().empty()) << "a folder without locks is no running instance";
    EXPECT_FALSE(lockSingleInstance(QStringLiteral("kulcsert")));
    ASSERT_EQ(seam::messages().size(), 1u);
    EXPECT_EQ(seam::messages()[0].text, QStringLiteral("kulcsert márt fut ! "));
    first.reset();
    EXPECT_TRUE(lockSingleInstance(QStringLiteral("kulcsert")));
}

// Only a copy that runs refuses the start: no content of the lock file, no leftover of a crash,
// and no file that cannot be locked stops a program.
TEST(Services, OnlyARunningCopyRefusesTheStart) {
    dz::testing::ProgramFolderFixture fx;
    const QString lockFile = fx.path("kulcsgen.lock");
    const std::string thisMachine = std::to_string(QCoreApplication::applicationPid()) + "\nkulcsgen\n" +
                                    QSysInfo::machineHostName().toStdString() + "\n";
    const std::pair<const char*, std::string> contents[] = {
        {"empty", ""},
        {"garbled", std::string("\x00\xff\x13garbage\r\n\r\n", 14)},
        {"another machine's", "4242\nkulcsgen\ngep-a-masik-irodaban\n"},
        {"a live process of this machine", thisMachine},
    };
    for (const auto& [what, bytes] : contents) {
        SCOPED_TRACE(what);
        fx.write("kulcsgen.lock", bytes);
        auto lock = lockSingleInstance(QStringLiteral("kulcsgen"));
        ASSERT_TRUE(lock);
        EXPECT_TRUE(lock->held());
        EXPECT_FALSE(dz::testing::lockableElsewhere(lockFile));
    }
    EXPECT_TRUE(seam::messages().empty());

    // A running copy: refused with the message; killed, it leaves nothing that refuses.
    {
        dz::testing::LockingProcess other(lockFile);
        ASSERT_TRUE(other.holds());
        EXPECT_FALSE(lockSingleInstance(QStringLiteral("kulcsgen")));
        ASSERT_EQ(seam::messages().size(), 1u);
        EXPECT_EQ(seam::messages()[0].text, QStringLiteral("kulcsgen márt fut ! "));
        other.kill();
        auto lock = lockSingleInstance(QStringLiteral("kulcsgen"));
        ASSERT_TRUE(lock);
        EXPECT_TRUE(lock->held());
        EXPECT_EQ(seam::messages().size(), 1u);
    }

    // A lock file that cannot be locked lets the program start.
    ASSERT_TRUE(QDir(fx.dir.path()).mkdir(QStringLiteral("kulcsert.lock")));
    EXPECT_TRUE(lockSingleInstance(QStringLiteral("kulcsert")));
    fx.write("kulcsnyomt.lock", "1\n");
    QFile::setPermissions(fx.path("kulcsnyomt.lock"), {});  // no permission (root still may)
    EXPECT_TRUE(lockSingleInstance(QStringLiteral("kulcsnyomt")));
    EXPECT_EQ(seam::messages().size(), 1u);
}

// The lock file may be deleted, or renamed over, while a copy runs: the next start still finds
// that copy, and once it has ended, a start locks the file that the name now points to.
TEST(Services, ADeletedOrReplacedLockFileStillRefusesTheStart) {
    dz::testing::ProgramFolderFixture fx;
    const QString lockFile = fx.path("kulcsgen.lock");
    for (const bool replaced : {false, true}) {
        SCOPED_TRACE(replaced ? "replaced by a rename" : "deleted");
        seam::reset();
        auto running = lockSingleInstance(QStringLiteral("kulcsgen"));
        ASSERT_TRUE(running);
        if (replaced) {
            fx.write("uj.lock", "");
            ASSERT_EQ(::rename(QFile::encodeName(fx.path("uj.lock")).constData(),
                               QFile::encodeName(lockFile).constData()),
                      0);
        } else {
            ASSERT_TRUE(QFile::remove(lockFile));
        }
        EXPECT_FALSE(lockSingleInstance(QStringLiteral("kulcsgen")));
        EXPECT_EQ(dz::testing::shownTexts(), QStringList{QStringLiteral("kulcsgen márt fut ! ")});
        EXPECT_TRUE(dz::testing::lockableElsewhere(lockFile)) << "a refused start leaves no lock behind";
        running.reset();
        auto next = lockSingleInstance(QStringLiteral("kulcsgen"));
        ASSERT_TRUE(next);
        EXPECT_FALSE(dz::testing::lockableElsewhere(lockFile));
    }
}

namespace {
// Sets (or, with nullptr, unsets) an environment variable for the life of the guard.
struct ScopedEnv {
    const char* name;
    QByteArray old;
    bool had;
    ScopedEnv(const char* n, const char* value) : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n)) {
        if (value) qputenv(name, value);
        else qunsetenv(name);
    }
    ~ScopedEnv() {
        if (had) qputenv(name, old);
        else qunsetenv(name);
    }
};

QString sha1Hex(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}
}  // namespace

// Another user, who may read the program folder but not write it, stops a start only by holding
// the folder's own lock file (he then uses the folder): no name he takes elsewhere first (a local
// socket name, a lock file in the temporary folder, the user's private folder's name) does.
TEST(Services, AnotherUserStopsAStartOnlyThroughTheFoldersLockFile) {
    if (const std::string why = dz::testing::noOtherUser(); !why.empty()) GTEST_SKIP() << why;
    struct Case {
        const char* what;
        bool folderLocks;  // whether the program folder takes a lock file
        std::function<std::unique_ptr<dz::testing::OtherUserProcess>(const QString& folder, const QString& tmp)> take;
        bool refused;
    };
    using dz::testing::OtherUserProcess;
    const Case cases[] = {
        {"the local socket name of the folder and program", true,
         [](const QString& folder, const QString&) {
             const QByteArray id = QFile::encodeName(QFileInfo(folder).canonicalFilePath()) + '\0' + "kulcsgen";
             return std::make_unique<OtherUserProcess>("bind", QStringLiteral("dizov-") + sha1Hex(id));
         },
         false},
        {"a lock file in the temporary folder", false,
         [](const QString& folder, const QString& tmp) {
             return std::make_unique<OtherUserProcess>(
                 "lock", tmp + QStringLiteral("/dizov-") + sha1Hex(folder.toUtf8()).left(16) + QStringLiteral("-kulcsgen.lock"));
         },
         false},
        {"the name of the user's own folder in the temporary folder", false,
         [](const QString&, const QString& tmp) {
             const QString own = tmp + QStringLiteral("/dizov-") + QString::number(::geteuid());
             if (!QDir().mkdir(own) || ::chown(QFile::encodeName(own).constData(), dz::testing::kOtherUid,
                                               dz::testing::kOtherUid) != 0)
                 return std::unique_ptr<OtherUserProcess>();
             return std::make_unique<OtherUserProcess>("lock", own + QStringLiteral("/held.lock"));
         },
         false},
        {"the folder's own lock file", true,
         [](const QString& folder, const QString&) {
             return std::make_unique<OtherUserProcess>("lock", folder + QStringLiteral("/kulcsgen.lock"));
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dz::testing::ProgramFolderFixture fx;
        QTemporaryDir tmp;  // the temporary folder, which every user may write, as /tmp
        ASSERT_EQ(::chmod(QFile::encodeName(tmp.path()).constData(), 01777), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(fx.dir.path()).constData(), 0755), 0);  // readable by all
        const ScopedEnv tmpdir("TMPDIR", QFile::encodeName(tmp.path()).constData());
        const ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
        fx.write("kulcsgen.lock", "");  // left by an earlier run, readable by all
        if (!c.folderLocks) setProgramFolder(fx.path("gone"));
        const auto other = c.take(programFolder(), tmp.path());
        ASSERT_TRUE(other && other->holds());
        auto lock = lockSingleInstance(QStringLiteral("kulcsgen"));
        if (c.refused) {
            EXPECT_FALSE(lock);
            EXPECT_EQ(dz::testing::shownTexts(), QStringList{QStringLiteral("kulcsgen márt fut ! ")});
        } else {
            EXPECT_TRUE(lock);
            EXPECT_TRUE(seam::messages().empty());
        }
    }
}

// A link in the lock file's place (only a user who may write the folder can make one) is not
// followed: nothing is made where it points. The program starts on its private lock, which still
// refuses the same user's second copy.
TEST(Services, ALinkInTheLockFilesPlaceIsNotFollowed) {
    dz::testing::ProgramFolderFixture fx;
    const QString target = fx.path("cel.lock");
    ASSERT_TRUE(QFile::link(target, fx.path("kulcsgen.lock")));
    auto first = lockSingleInstance(QStringLiteral("kulcsgen"));
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->held());
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(QFileInfo(fx.path("kulcsgen.lock")).symLinkTarget(), target);
    EXPECT_FALSE(lockSingleInstance(QStringLiteral("kulcsgen")));
    EXPECT_EQ(dz::testing::shownTexts(), QStringList{QStringLiteral("kulcsgen márt fut ! ")});
    first.reset();
    EXPECT_TRUE(lockSingleInstance(QStringLiteral("kulcsgen")));
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST(Services, SpreadsheetStartIsRecordedUnderTheSeam) {
    dz::testing::ProgramFolderFixture fx;
    const QByteArray saved = qgetenv("DIZOV_SPREADSHEET");
    qunsetenv("DIZOV_SPREADSHEET");
    startSpreadsheet(fx.path("minimum.txt"));
    qputenv("DIZOV_SPREADSHEET", "/opt/calc/bin/mycalc --norestore");
    startSpreadsheet(fx.path("minimum.txt"));
    if (saved.isNull()) qunsetenv("DIZOV_SPREADSHEET");
    else qputenv("DIZOV_SPREADSHEET", saved);
    ASSERT_EQ(seam::started().size(), 2u);
    EXPECT_EQ(seam::started()[0].file, fx.path("minimum.txt"));
    EXPECT_FALSE(seam::started()[0].program.isEmpty());
    EXPECT_EQ(seam::started()[1].program, QStringLiteral("/opt/calc/bin/mycalc"));
    seam::resetServices();
    EXPECT_TRUE(seam::started().empty());
}

TEST(Services, ControlNamesBecomeAccessibleDescriptions) {
    QWidget form;
    form.setObjectName(QStringLiteral("kiertekel"));
    auto* list = new ListBox(&form);
    list->setObjectName(QStringLiteral("List1"));
    auto* button = new QPushButton(QStringLiteral("Állományba ment"), &form);
    button->setObjectName(QStringLiteral("Command3D5"));
    auto* nested = new QLabel(button);
    nested->setObjectName(QStringLiteral("Label6"));
    auto* unnamed = new QLabel(&form);
    nameControls(&form);
    EXPECT_EQ(form.accessibleDescription(), QStringLiteral("kiertekel"));
    EXPECT_EQ(list->accessibleDescription(), QStringLiteral("List1"));
    EXPECT_EQ(button->accessibleDescription(), QStringLiteral("Command3D5"));
    EXPECT_EQ(nested->accessibleDescription(), QStringLiteral("Label6"));
    EXPECT_TRUE(unnamed->accessibleDescription().isEmpty());
    EXPECT_TRUE(list->viewport()->accessibleDescription().isEmpty());  // Qt's own parts stay unnamed
    EXPECT_TRUE(button->accessibleName().isEmpty());                   // the caption still names it
    nameControls(nullptr);
}

TEST(Services, HourglassAndBeep) {
    dz::testing::ProgramFolderFixture fx;
    {
        BusyCursor busy;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    beep();
    EXPECT_EQ(seam::beeps(), 1);
}
