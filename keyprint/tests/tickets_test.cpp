// Ticket forms on the recording surface: the run's checks, the print frame, every mark's place,
// fonts and pages.
#include "keyprint/core/tickets.h"
#include "common/tests/qtprint.h"

#include <gtest/gtest.h>

using namespace dz::keyprint;
using dz::RecordingSurface;

namespace {
const QString kRow8 = QStringLiteral("01 02 03 04 05 06 07 08 ");

TicketChoices choices(const char* down = "0", const char* right = "0") {
    TicketChoices c;
    c.down = QString::fromUtf8(down);
    c.right = QString::fromUtf8(right);
    c.extras = {true, false, true, false};
    return c;
}

QStringList rows(int n, const QString& row = kRow8) { return QStringList(n, row); }

struct Mark {
    double x, y;
};
// The places of a text on a page, in print order.
std::vector<Mark> placesOf(const RecordingSurface& s, const QString& text, int page = 0) {
    std::vector<Mark> out;
    for (const auto& t : s.texts())
        if (t.page == page && t.text == text) out.push_back({t.x, t.y});
    return out;
}
bool printedAt(const RecordingSurface& s, const QString& text, double x, double y, int page = 0) {
    for (const auto& m : placesOf(s, text, page))
        if (std::abs(m.x - x) < 1e-4 && std::abs(m.y - y) < 1e-4) return true;
    return false;
}
int newPages(const RecordingSurface& s) { return s.count(RecordingSurface::Op::NewPage); }
}  // namespace

TEST(TicketRun, ChecksInOrderWithTheirMessages) {
    const QString noRow = QStringLiteral("Nincs listasor kiválasztva ");
    const QString badRange = QStringLiteral("Hibás Tól: - Ig: beállítás !");
    const QString empty = QStringLiteral("Először egy elmentett kulcsot kell kiválasztani !");
    const QString feed = QStringLiteral("A nyomtatás egy szelvény lap-dobásával indul !");
    const QString noExtra = QStringLiteral("Nincs pótszám(ok) megadva !");
    struct Case {
        Selector sel;
        int rows, selected;
        const char *from, *to;
        bool feed, extras;
        std::vector<QString> notices;
        bool print;
        std::optional<QString> to2;
        int first, last;
    };
    using S = Selector;
    const Case cases[] = {
        {S::AllRows, 6, -1, "", "", false, true, {}, true, {}, 0, 5},
        {S::AllRows, 0, -1, "", "", false, true, {empty}, false, {}, 0, 0},
        {S::SelectedRow, 0, -1, "", "", true, false, {noRow}, false, {}, 0, 0},
        {S::SelectedRow, 12, 9, "", "", false, true, {}, true, {}, 9, 9},
        {S::Range, 10, -1, "3", "6", false, true, {}, true, {}, 2, 5},
        {S::Range, 20, -1, " 3", " 1 2", false, true, {}, true, {}, 2, 11},  // blanks skipped anywhere
        {S::Range, 57, -1, "1", "100", false, true, {}, true, QStringLiteral("57"), 0, 56},
        {S::Range, 57, -1, "1", "100.5", false, true, {}, true, QStringLiteral("57"), 0, 56},
        {S::Range, 10, -1, "5", "3", false, true, {badRange}, false, {}, 0, 0},
        {S::Range, 10, -1, "", "3", false, true, {badRange}, false, {}, 0, 0},
        {S::Range, 10, -1, "abc", "3", false, true, {badRange}, false, {}, 0, 0},
        {S::Range, 0, -1, "1", "4", false, true, {badRange}, false, QStringLiteral("0"), 0, 0},
        // Row numbers are whole numbers from 1.
        {S::Range, 10, -1, "-1", "4", false, true, {badRange}, false, {}, 0, 0},
        {S::Range, 10, -1, "1.5", "4", false, true, {badRange}, false, {}, 0, 0},
        {S::Range, 10, -1, "2", "3.5", false, true, {badRange}, false, {}, 0, 0},
        {S::Range, 10, -1, "1e300", "4", false, true, {badRange}, false, {}, 0, 0},
        // The sheet-feed notice comes after the list checks and before the extra numbers.
        {S::AllRows, 4, -1, "", "", true, false, {feed, noExtra}, false, {}, 0, 0},
        {S::AllRows, 4, -1, "", "", true, true, {feed}, true, {}, 0, 3},
        {S::AllRows, 4, -1, "", "", false, false, {noExtra}, false, {}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.sel) << " rows " << c.rows << " " << c.from << ".." << c.to);
        RunRequest r;
        r.selector = c.sel;
        r.rowCount = c.rows;
        r.selectedIndex = c.selected;
        r.from = QString::fromUtf8(c.from);
        r.to = QString::fromUtf8(c.to);
        r.sheetFeed = c.feed;
        r.extras = {false, c.extras, false, false};
        const RunCheck k = checkRun(r);
        std::vector<QString> texts;
        for (const Notice& n : k.notices) texts.push_back(n.text);
        EXPECT_EQ(texts, c.notices);
        EXPECT_EQ(k.print, c.print);
        EXPECT_EQ(k.to, c.to2);
        if (c.print) {
            EXPECT_EQ(k.first, c.first);
            EXPECT_EQ(k.last, c.last);
        }
        for (const Notice& n : k.notices)
            EXPECT_EQ(n.icon, n.text == badRange ? NoticeIcon::Question : NoticeIcon::Critical);
    }
}

TEST(TicketFrame, OffsetsMarkAndGameType) {
    struct Case {
        const char *down, *right;
        float downOffset, rightOffset;
    };
    const Case cases[] = {
        {"2,5", "-1", -1.0f, -4.0f}, {"1,5,5", "0", -2.0f, -3.0f}, {"", "", -3.5f, -3.0f},
        {" 3.5 ", "abc", 0.0f, -3.0f}, {"0", "3", -3.5f, 0.0f},
    };
    for (const Case& c : cases) {
        const TicketFrame f = ticketFrame(choices(c.down, c.right), kRow8);
        EXPECT_FLOAT_EQ(f.down, c.downOffset) << c.down;
        EXPECT_FLOAT_EQ(f.right, c.rightOffset) << c.right;
    }
    EXPECT_EQ(ticketFrame(choices(), kRow8).gameType, 8);
    EXPECT_EQ(ticketFrame(choices(), QStringLiteral(" 01 02 03 04 05 06 07 08 ")).gameType, 8);
    EXPECT_EQ(ticketFrame(choices(), QStringLiteral(" 03 07 11 ")).gameType, 3);
    EXPECT_EQ(ticketFrame(choices(), QStringLiteral("1")).gameType, 0);
}

TEST(TicketMarks, FirstRowWithBothBoxesAtZero) {
    // Down offset -3.5, right offset -3.0; stake 1, draw count "1x", extra numbers 1 and 3.
    RecordingSurface s;
    ASSERT_TRUE(printTickets(s, rows(4, QStringLiteral("01 05 06 20 ")), 0, 3, false, choices()));
    EXPECT_TRUE(printedAt(s, QStringLiteral("  Vumo-Soft/2010"), 10, 5));
    EXPECT_TRUE(printedAt(s, QStringLiteral("1"), 12, 15));
    const QString m = QStringLiteral("*");
    EXPECT_TRUE(printedAt(s, m, 12, 28.0));    // stake
    EXPECT_TRUE(printedAt(s, m, 24.6, 87.0));  // draw count
    EXPECT_TRUE(printedAt(s, m, 43, 28.0));    // extra numbers 1 and 3
    EXPECT_TRUE(printedAt(s, m, 43, 36.4));
    // Numbers 1, 5, 6 and 20 of field 1: (23.2, 31.5), (40, 31.5), (23.2, 35.7), (40, 44.1) less the offsets.
    EXPECT_TRUE(printedAt(s, m, 20.2, 28.0));
    EXPECT_TRUE(printedAt(s, m, 37.0, 28.0));
    EXPECT_TRUE(printedAt(s, m, 20.2, 32.2));
    EXPECT_TRUE(printedAt(s, m, 37.0, 40.6));
    // Field 4: stake, extra numbers, number 20 at (71.8, 73.4) before the offsets.
    EXPECT_TRUE(printedAt(s, m, 83.2, 57.3));
    EXPECT_TRUE(printedAt(s, m, 74.8, 57.3));
    EXPECT_TRUE(printedAt(s, m, 74.8, 65.7));
    EXPECT_TRUE(printedAt(s, m, 68.8, 69.9));
    // One text-line pair and one draw-count mark for the form; per field a stake, 4 numbers, 2 extras.
    EXPECT_EQ(placesOf(s, QStringLiteral("  Vumo-Soft/2010")).size(), 1u);
    EXPECT_EQ(placesOf(s, m).size(), 1u + 4 * (1 + 4 + 2));
}

TEST(TicketMarks, PlacesFollowTheShiftsAndChoices) {
    {
        // Shifts typed as 3.5 and 3: the form's own positions. The row 3, 11, 20 in field 2.
        RecordingSurface s;
        const QStringList key{kRow8, QStringLiteral("03 11 20 ")};
        TicketChoices c = choices("3.5", "3");
        c.drawCount = 6;  // "50x"
        c.stake = 5;
        printTickets(s, key, 0, 1, false, c);
        const QString m = QStringLiteral("*");
        EXPECT_TRUE(printedAt(s, m, 63.4, 31.5));
        EXPECT_TRUE(printedAt(s, m, 55, 39.9));
        EXPECT_TRUE(printedAt(s, m, 71.8, 44.1));
        EXPECT_TRUE(printedAt(s, m, 71.9, 90.5));  // draw count "50x"
        EXPECT_TRUE(printedAt(s, m, 86.2, 48.3));  // stake 5, field 2
    }
    {
        // A down shift below the correction moves the marks, not the text lines; a right shift both.
        RecordingSurface s;
        printTickets(s, rows(1), 0, 0, false, choices("1.5", "-17"));  // down -2, right -20
        EXPECT_TRUE(printedAt(s, QStringLiteral("  Vumo-Soft/2010"), -7, 5));
        EXPECT_TRUE(printedAt(s, QStringLiteral("1"), -5, 15));
        EXPECT_TRUE(printedAt(s, QStringLiteral("*"), 3.2, 29.5));  // number 1
    }
    {
        RecordingSurface s;
        printTickets(s, rows(1), 0, 0, false, choices("5.5", "3"));  // down +2
        EXPECT_TRUE(printedAt(s, QStringLiteral("  Vumo-Soft/2010"), 13, 7));
        EXPECT_TRUE(printedAt(s, QStringLiteral("1"), 15, 17));
    }
    {
        // "Ssz. nem !": no draw-count mark anywhere; extra numbers 2 and 4 in every field.
        RecordingSurface s;
        TicketChoices c = choices("3.5", "3");
        c.noDrawCount = true;
        c.extras = {false, true, false, true};
        printTickets(s, rows(8), 0, 7, false, c);
        for (int page : {0, 1}) {
            const auto marks = placesOf(s, QStringLiteral("*"), page);
            EXPECT_EQ(marks.size(), 4u * (1 + 8 + 2));
            for (const Mark& k : marks) EXPECT_LT(k.y, 90) << page;
        }
        EXPECT_TRUE(printedAt(s, QStringLiteral("*"), 46, 35.7));
        EXPECT_TRUE(printedAt(s, QStringLiteral("*"), 77.8, 73.4, 1));
    }
}

TEST(TicketMarks, OnlyNumbersOfTheFieldAreMarked) {
    // A stray value would mark another box: 36 the lower field, 74 the "2x" draw-count box.
    RecordingSurface s;
    TicketChoices c = choices("3.5", "3");
    c.noDrawCount = true;
    c.extras = {true, false, false, false};
    printTickets(s, {QStringLiteral("36 74 00 -1 ab 1.5 05 20 ")}, 0, 0, false, c);
    std::vector<Mark> numbers;
    for (const Mark& k : placesOf(s, QStringLiteral("*")))
        if (k.x > 20 && k.x < 45) numbers.push_back(k);
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_TRUE(printedAt(s, QStringLiteral("*"), 40.0, 31.5));
    EXPECT_TRUE(printedAt(s, QStringLiteral("*"), 40.0, 44.1));

    // A blank inside a field is skipped: "7 0" is 70, no number of the grid.
    RecordingSurface v;
    printTickets(v, {QStringLiteral("7 0 05 20 ")}, 0, 0, false, c);
    int marked = 0;
    for (const Mark& k : placesOf(v, QStringLiteral("*"))) marked += k.x > 20 && k.x < 45;
    EXPECT_EQ(marked, 2);

    // A first row of one character: type 0, no number marks, the other marks as usual.
    RecordingSurface t;
    printTickets(t, {QStringLiteral("1"), kRow8}, 0, 1, false, c);
    EXPECT_EQ(placesOf(t, QStringLiteral("*")).size(), 2u * 2);
    // A shorter row than the first marks what it has.
    RecordingSurface u;
    printTickets(u, {kRow8, QStringLiteral("01 02")}, 0, 1, false, c);
    EXPECT_EQ(placesOf(u, QStringLiteral("*")).size(), (2 + 8) + (2 + 2u));
}

TEST(TicketPages, FormsPagesAndFonts) {
    {
        // Six rows: form 1 of four rows, a new page, form 2 of two rows, the end.
        RecordingSurface s;
        printTickets(s, rows(6), 0, 5, false, choices());
        EXPECT_EQ(newPages(s), 1);
        EXPECT_TRUE(s.ended());
        EXPECT_EQ(s.printedPages(), 2);
        EXPECT_EQ(placesOf(s, QStringLiteral("2"), 1).size(), 1u);
    }
    {
        // Eight rows: a new page after rows 4 and 8; the last one is never printed.
        RecordingSurface s;
        printTickets(s, rows(8), 0, 7, false, choices());
        EXPECT_EQ(newPages(s), 2);
        EXPECT_EQ(s.operations().back().op, RecordingSurface::Op::EndDoc);
        EXPECT_EQ(s.operations()[s.operations().size() - 2].op, RecordingSurface::Op::NewPage);
        EXPECT_EQ(s.printedPages(), 2);
    }
    {
        // The sheet feed: a blank page before anything is printed.
        RecordingSurface s;
        TicketChoices c = choices();
        c.sheetFeed = true;
        printTickets(s, rows(8), 0, 7, false, c);
        EXPECT_EQ(s.printedPages(), 3);
        EXPECT_TRUE(placesOf(s, QStringLiteral("1"), 0).empty());
        EXPECT_EQ(placesOf(s, QStringLiteral("1"), 1).size(), 1u);
    }
    {
        // The selected row at position 9: field 1 of one form numbered 3, no new page.
        RecordingSurface s;
        printTickets(s, rows(12), 9, 9, true, choices("3.5", "3"));
        EXPECT_EQ(newPages(s), 0);
        EXPECT_EQ(placesOf(s, QStringLiteral("3")).size(), 1u);
        EXPECT_TRUE(printedAt(s, QStringLiteral("*"), 23.2, 31.5));
    }
    {
        // Range 3..6: rows 3 and 4 in fields 3 and 4 of a form without text lines, then form 2.
        RecordingSurface s;
        TicketChoices c = choices("3.5", "3");
        c.mark = 2;
        printTickets(s, rows(10), 2, 5, false, c);
        EXPECT_EQ(newPages(s), 1);
        EXPECT_TRUE(placesOf(s, QStringLiteral("  Vumo-Soft/2010"), 0).empty());
        EXPECT_EQ(placesOf(s, QStringLiteral("2"), 1).size(), 1u);
        EXPECT_TRUE(printedAt(s, QString(QChar(0x2022)), 23.2, 60.8, 0));  // field 3
        EXPECT_TRUE(printedAt(s, QString(QChar(0x2022)), 23.2, 31.5, 1));  // field 1 of form 2
        // Every mark in the mark font, bold 9 points, in millimetres; the text lines in the serif.
        for (const auto& t : s.texts()) {
            const bool mark = t.text == QString(QChar(0x2022));
            EXPECT_EQ(t.font, mark ? QStringLiteral("arial black") : QStringLiteral("times new roman"))
                << t.text.toStdString();
            EXPECT_TRUE(t.bold);
            EXPECT_EQ(t.size, 9);
            EXPECT_EQ(t.scale, dz::PrintScale::Millimetres);
            EXPECT_TRUE(t.endLine);
        }
    }
    {
        // Rows 9 to 16 give forms "3" and "4", each a page.
        RecordingSurface s;
        printTickets(s, rows(20), 8, 15, false, choices());
        EXPECT_EQ(placesOf(s, QStringLiteral("3"), 0).size(), 1u);
        EXPECT_EQ(placesOf(s, QStringLiteral("4"), 1).size(), 1u);
        EXPECT_EQ(s.printedPages(), 2);
    }
}

TEST(TicketMarks, CellsAndDrawCountBoxes) {
    struct Cell {
        double v;
        int field;
        double x, y;
    };
    const Cell cells[] = {{1, 1, 23.2, 31.5}, {5, 1, 40.0, 31.5}, {6, 1, 23.2, 35.7}, {20, 1, 40.0, 44.1},
                          {17, 4, 59.2, 73.4}, {20, 2, 71.8, 44.1}, {1, 3, 23.2, 60.8}, {20, 4, 71.8, 73.4}};
    for (const Cell& c : cells) {
        const auto p = cellOf(c.v, c.field);
        ASSERT_TRUE(p) << c.v;
        EXPECT_NEAR(p->x, c.x, 1e-9) << c.v << " in " << c.field;
        EXPECT_NEAR(p->y, c.y, 1e-9) << c.v << " in " << c.field;
    }
    for (double v : {0.0, -1.0, 21.0, 36.0, 74.0, 2.5}) EXPECT_FALSE(cellOf(v, 1)) << v;
    const double boxes[] = {27.6, 35.8, 46.1, 55.1, 63.6, 71.9};
    for (int i = 1; i <= 6; ++i) EXPECT_NEAR(27.6 + drawCountOffset(i), boxes[i - 1], 1e-9) << i;
    EXPECT_EQ(drawCountOffset(0), 0);
    EXPECT_EQ(drawCountOffset(7), 0);
}
