// Printing into a PDF file as a user without a printer does, read back with pdftotext and pdfinfo:
// the marks where the forms have their boxes, the pages, the A4 list's columns.
#include "keyprint/core/a4list.h"
#include "keyprint/core/tickets.h"
#include "common/platform/printsurface.h"
#include "common/tests/filelimit.h"
#include "keyprint/tests/pdftools.h"
#include "common/tests/qtprint.h"
#include "common/tests/testutil.h"
#include "keyprint/ui/printwindow.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace dz::keyprint;
using namespace dz::keyprint::testing;

namespace {
struct Word {
    int page;
    double xMin, yMin, xMax;
    QString text;
};

std::vector<Word> words(const QString& pdf) {
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    std::vector<Word> out;
    int page = -1;
    static const QRegularExpression re(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        out.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                       m.captured(4)});
    }
    return out;
}

constexpr double kPt = 72.0 / 25.4;  // points a millimetre
constexpr double kTenthMm = 0.1 * kPt;

bool hasWordAt(const std::vector<Word>& ws, const QString& text, double xMm, double yMm, int page = 0) {
    for (const Word& w : ws)
        if (w.page == page && w.text == text && std::abs(w.xMin - xMm * kPt) <= kTenthMm &&
            std::abs(w.yMin - yMm * kPt) <= kTenthMm)
            return true;
    return false;
}

}  // namespace

TEST(PdfPrint, TicketMarksAtTheirBoxesAndOneFormAPage) {
    if (!toolsPresent()) GTEST_SKIP() << "poppler-utils missing";
    dz::testing::ProgramFolderFixture f;
    // Through the window, as a user prints: DIZOV_PRINT_PDF names the file.
    const QString pdf = f.path(QStringLiteral("tickets.pdf"));
    qputenv("DIZOV_PRINT_PDF", pdf.toLocal8Bit());
    dz::ui::seam::setPrintJobFactory([] { return std::shared_ptr<dz::PrintSurface>(dz::ui::openQtPrintJob("t")); });
    std::string key;
    for (int i = 0; i < 8; ++i) key += " 01 05 06 20 \r\n";
    f.write("kulcs.txt", key);
    PrintWindow w;
    dz::ui::seam::queueFile(f.path("kulcs.txt"));
    w.findChild<QPushButton*>(QStringLiteral("Command3D4"))->click();
    w.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("3.5"));
    w.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("3"));
    w.findChild<QAbstractButton*>(QStringLiteral("Check3(1)"))->setChecked(true);
    w.findChild<QAbstractButton*>(QStringLiteral("Option2(5)"))->setChecked(true);
    w.findChild<QPushButton*>(QStringLiteral("Command3D1"))->click();
    qunsetenv("DIZOV_PRINT_PDF");
    dz::ui::seam::setPrintJobFactory(nullptr);
    EXPECT_TRUE(dz::ui::seam::messages().empty());

    EXPECT_EQ(pages(pdf), 2);  // two forms, no trailing blank page
    const auto ws = words(pdf);
    const QString m = QStringLiteral("*");
    for (int page : {0, 1}) {
        EXPECT_TRUE(hasWordAt(ws, QString::number(page + 1), 15, 15, page));  // form number
        EXPECT_TRUE(hasWordAt(ws, m, 15, 31.5, page));    // stake 1, field 1
        EXPECT_TRUE(hasWordAt(ws, m, 71.9, 90.5, page));  // draw count "50x"
        EXPECT_TRUE(hasWordAt(ws, m, 23.2, 31.5, page));  // number 1, field 1
        EXPECT_TRUE(hasWordAt(ws, m, 40.0, 44.1, page));  // number 20, field 1
        EXPECT_TRUE(hasWordAt(ws, m, 46, 35.7, page));    // extra number 2, field 1
        EXPECT_TRUE(hasWordAt(ws, m, 71.8, 73.4, page));  // number 20, field 4
        EXPECT_TRUE(hasWordAt(ws, m, 86.2, 60.8, page));  // stake 1, field 4
        EXPECT_TRUE(hasWordAt(ws, m, 77.8, 65.0, page));  // extra number 2, field 4
    }

    // The sheet feed's blank first page stays.
    const QString fed = f.path(QStringLiteral("fed.pdf"));
    {
        auto job = dz::ui::openPdfPrintJob(fed, QStringLiteral("t"));
        ASSERT_TRUE(job);
        TicketChoices c;
        c.extras = {true, false, false, false};
        c.sheetFeed = true;
        EXPECT_TRUE(printTickets(*job, QStringList(8, QStringLiteral("01 02 ")), 0, 7, false, c));
    }
    EXPECT_EQ(pages(fed), 3);
}

TEST(PdfPrint, A4ListColumnsAndHeader) {
    if (!toolsPresent()) GTEST_SKIP() << "poppler-utils missing";
    dz::testing::ProgramFolderFixture f;
    const QString pdf = f.path(QStringLiteral("list.pdf"));
    {
        auto job = dz::ui::openPdfPrintJob(pdf, QStringLiteral("t"));
        ASSERT_TRUE(job);
        EXPECT_TRUE(printKeyList(*job, QStringList(100, QStringLiteral("01 02 03 04 05 06 07 08 ")), QStringLiteral("20"),
                                 [] { return QDate(2026, 3, 7); }));
    }
    EXPECT_EQ(pages(pdf), 2);
    const auto ws = words(pdf);
    auto find = [&](const QString& t, int page) -> const Word* {
        for (const Word& w : ws)
            if (w.page == page && w.text == t) return &w;
        return nullptr;
    };
    constexpr double kTwip = 1.0 / 20;  // points a twip
    for (int page : {0, 1}) {
        const Word* sig = find(QStringLiteral("Vumo-Soft/2010"), page);
        const Word* date = find(QStringLiteral("2026-03-07"), page);
        ASSERT_TRUE(sig && date) << page;
        EXPECT_NEAR(sig->xMin, 1200 * kTwip, 0.3);
        EXPECT_NEAR(date->xMin, 7200 * kTwip, 0.3);
    }
    // Row numbers end at 600 twips plus the column's place; the first row of a column at 1200.
    const Word* r1 = find(QStringLiteral("1."), 0);
    const Word* r21 = find(QStringLiteral("21."), 0);
    const Word* r41 = find(QStringLiteral("41."), 0);
    const Word* r61 = find(QStringLiteral("61."), 1);
    ASSERT_TRUE(r1 && r21 && r41 && r61);
    EXPECT_NEAR(r1->yMin, 1200 * kTwip, 0.3);
    EXPECT_NEAR(r21->yMin, 1200 * kTwip, 0.3);
    EXPECT_NEAR(r21->xMax - r1->xMax, 3600 * kTwip, 0.3);
    EXPECT_NEAR(r41->xMax - r1->xMax, 7200 * kTwip, 0.3);
    EXPECT_NEAR(r61->xMax, r1->xMax, 0.3);
    EXPECT_LT(r1->xMin, 600 * kTwip);
    EXPECT_GT(r1->xMax, 600 * kTwip);  // the number, then its dot
    // The row's text follows on the same line, its numbers as they stand in the key.
    std::vector<QString> row1;
    for (const Word& w : ws)
        if (w.page == 0 && std::abs(w.yMin - r1->yMin) < 0.3 && w.xMin > r1->xMax && w.xMin < r21->xMin) row1.push_back(w.text);
    EXPECT_EQ(row1, (std::vector<QString>{"01", "02", "03", "04", "05", "06", "07", "08"}));
}

namespace {
QByteArray readAll(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

// A PDF that cannot be written whole says so, names the file, and leaves the one that stood there;
// a PDF file that cannot be opened at all is not a missing printer either.
TEST(PdfPrint, FailedWriteKeepsTheOldFileAndSaysSo) {
    if (!toolsPresent()) GTEST_SKIP() << "poppler-utils missing";
    dz::testing::ProgramFolderFixture f;
    dz::ui::seam::setPrintJobFactory([] { return std::shared_ptr<dz::PrintSurface>(dz::ui::openQtPrintJob("t")); });
    std::string key;
    for (int i = 0; i < 40; ++i) key += " 01 05 06 20 \r\n";
    f.write("kulcs.txt", key);
    PrintWindow w;
    dz::ui::seam::queueFile(f.path("kulcs.txt"));
    w.findChild<QPushButton*>(QStringLiteral("Command3D4"))->click();
    w.findChild<QAbstractButton*>(QStringLiteral("Check3(0)"))->setChecked(true);
    auto press = [&](const char* button, const QString& pdf) {
        qputenv("DIZOV_PRINT_PDF", pdf.toLocal8Bit());
        dz::ui::seam::reset();
        w.findChild<QPushButton*>(QString::fromLatin1(button))->click();
        qunsetenv("DIZOV_PRINT_PDF");
    };

    const QString pdf = f.path(QStringLiteral("out.pdf"));
    press("Command3D1", pdf);
    ASSERT_TRUE(dz::ui::seam::messages().empty());
    ASSERT_EQ(pages(pdf), 10);
    const QByteArray good = readAll(pdf);
    const QString failed = QStringLiteral("Hiba a ") + pdf + QStringLiteral(" mentésekor - sikertelen mentés !");

    for (const char* button : {"Command3D1", "Command3D6"}) {  // "Szelv. kitölt", "A4-s lapra nyomtat"
        {
            dz::testing::FileSizeLimit full(4096);
            press(button, pdf);
        }
        const auto& shown = dz::ui::seam::messages();
        ASSERT_FALSE(shown.empty()) << button;
        EXPECT_EQ(shown.back().text, failed) << button;
        EXPECT_EQ(shown.back().icon, dz::ui::Icon::Critical);
        EXPECT_EQ(shown.back().title, QStringLiteral("Vumo-Soft/2010"));
        EXPECT_EQ(readAll(pdf), good) << button;
        EXPECT_EQ(QDir(f.path(QString())).entryList(QDir::Files).filter(QStringLiteral("out")),
                  QStringList{QStringLiteral("out.pdf")})
            << "no temporary file left";
    }

    // No such folder, a folder in the file's place.
    const QString nowhere = f.path(QStringLiteral("nincs/out.pdf"));
    QDir(f.path(QString())).mkdir(QStringLiteral("mappa.pdf"));
    const QString folder = f.path(QStringLiteral("mappa.pdf"));
    for (const QString& target : {nowhere, folder})
        for (const char* button : {"Command3D1", "Command3D6"}) {
            press(button, target);
            const auto& shown = dz::ui::seam::messages();
            ASSERT_FALSE(shown.empty());
            EXPECT_EQ(shown.back().text, QStringLiteral("Hiba a ") + target + QStringLiteral(" mentésekor - sikertelen mentés !"))
                << button;
        }
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // Written whole after all: the new document replaces the old one.
    press("Command3D6", pdf);
    EXPECT_TRUE(dz::ui::seam::messages().size() == 1u);  // only the A4 question
    EXPECT_EQ(pages(pdf), 1);
    dz::ui::seam::setPrintJobFactory(nullptr);
}
