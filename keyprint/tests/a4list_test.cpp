// The A4 key list on the recording surface: columns, row numbers, pages and headers.
#include "keyprint/core/a4list.h"
#include "common/tests/qtprint.h"

#include <gtest/gtest.h>

using namespace dz::keyprint;
using dz::RecordingSurface;

namespace {
const QString kRow8 = QStringLiteral("01 02 03 04 05 06 07 08 ");
const QDate kDay(2026, 3, 7);

// The recorded text of row n's number ("  7. ") and where it ends.
struct Numbered {
    int page;
    double end, y;
};
Numbered numbered(RecordingSurface& s, int n) {
    const QString label = QStringLiteral("%1. ").arg(n, 3);
    for (const auto& t : s.texts())
        if (t.text == label) return {t.page, t.x + s.textWidth(label.left(label.size() - 2)), t.y};
    return {-1, 0, 0};
}
int newPages(const RecordingSurface& s) { return s.count(RecordingSurface::Op::NewPage); }
}  // namespace

TEST(A4List, ColumnsOfSixtyRowsOnOnePage) {
    RecordingSurface s;
    ASSERT_TRUE(printKeyList(s, QStringList(100, kRow8), QStringLiteral("60"), [] { return kDay; }));
    EXPECT_EQ(newPages(s), 0);
    const struct {
        int n;
        double end, y;
    } expect[] = {{1, 600, 1200}, {60, 600, 1200 + 59 * 240}, {61, 4200, 1200}, {100, 4200, 1200 + 39 * 240}};
    for (const auto& e : expect) {
        const Numbered r = numbered(s, e.n);
        EXPECT_EQ(r.page, 0) << e.n;
        EXPECT_NEAR(r.end, e.end, 1e-6) << e.n;
        EXPECT_NEAR(r.y, e.y, 1e-6) << e.n;
    }
    // The header: bold signature and date, then the rows regular, Times New Roman 12 points in twips.
    const auto& t = s.texts();
    ASSERT_GE(t.size(), 4u);
    EXPECT_EQ(t[0].text, QStringLiteral("Vumo-Soft/2010"));
    EXPECT_EQ(t[0].x, 1200);
    EXPECT_FALSE(t[0].endLine);
    EXPECT_EQ(t[1].text, QStringLiteral("2026-03-07"));
    EXPECT_EQ(t[1].x, 7200);
    EXPECT_TRUE(t[1].endLine);
    EXPECT_TRUE(t[0].bold && t[1].bold);
    EXPECT_EQ(t[2].text, QStringLiteral("  1. "));
    EXPECT_EQ(t[3].text, kRow8);
    EXPECT_TRUE(t[3].endLine);
    for (const auto& x : t) {
        EXPECT_EQ(x.font, QStringLiteral("times new roman"));
        EXPECT_EQ(x.size, 12);
        EXPECT_EQ(x.scale, dz::PrintScale::Twips);
        if (&x != &t[0] && &x != &t[1]) {
            EXPECT_FALSE(x.bold);
        }
    }
    EXPECT_TRUE(s.ended());
}

TEST(A4List, PagesColumnsAndNumbers) {
    {
        // Twenty rows a column: 60 a page, rows 61 to 100 on a second page with its own header.
        RecordingSurface s;
        int headers = 0;
        printKeyList(s, QStringList(100, kRow8), QStringLiteral("20"), [&] {
            ++headers;
            return kDay;
        });
        EXPECT_EQ(newPages(s), 1);
        EXPECT_EQ(headers, 2);
        EXPECT_EQ(numbered(s, 60).page, 0);
        const Numbered r61 = numbered(s, 61);
        EXPECT_EQ(r61.page, 1);
        EXPECT_NEAR(r61.end, 600, 1e-6);
        EXPECT_NEAR(r61.y, 1200, 1e-6);
        EXPECT_NEAR(numbered(s, 81).end, 4200, 1e-6);
    }
    {
        // Rows from 1000 on are numbered with four digits, ending at the same place.
        RecordingSurface s;
        printKeyList(s, QStringList(1005, QStringLiteral("01 02 ")), QStringLiteral("60"), [] { return kDay; });
        // Type 2 rows of 6 characters: 7 columns 1440 twips apart, 420 rows a page; rows 999 and
        // 1000 stand in column 3 of page 3.
        for (int n : {999, 1000}) {
            const Numbered r = numbered(s, n);
            EXPECT_EQ(r.page, 2) << n;
            EXPECT_NEAR(r.end, 600 + 2 * 1440, 1e-6) << n;
        }
    }
}

TEST(A4List, LayoutValues) {
    EXPECT_EQ(columnsPerPage(24), 3);
    EXPECT_EQ(columnsPerPage(6), 7);
    EXPECT_EQ(columnsPerPage(85), 1);
    EXPECT_EQ(columnsPerPage(40000), 1);
    const std::pair<const char*, int> rows[] = {{"60", 60}, {"12.5", 13}, {"20", 20}, {"", 60},
                                                {"0", 60},  {"-5", 60},   {"abc", 60}, {"1e300", 1000000}};
    for (auto [box, n] : rows) EXPECT_EQ(rowsPerColumn(QString::fromUtf8(box)), n) << box;
    // A4 full sheet: rows at 1200, 1440, ... whose 240-twip pitch ends on the page.
    EXPECT_EQ(rowsThatFit(16838), 65);
    EXPECT_EQ(rowsThatFit(100), 1);
}

TEST(A4List, ColumnsNeverRunOffThePage) {
    RecordingSurface s;
    s.setPageHeightMm(100);  // 5669 twips: 18 rows a column under the header
    printKeyList(s, QStringList(60, kRow8), QStringLiteral("60"), [] { return kDay; });
    double lowest = 0;
    for (const auto& t : s.texts()) lowest = std::max(lowest, t.y);
    EXPECT_LE(lowest + 240, 5669.3);
    EXPECT_EQ(numbered(s, 19).y, 1200);  // the next column
    EXPECT_NEAR(numbered(s, 19).end, 4200, 1e-6);
    EXPECT_EQ(numbered(s, 55).page, 1);  // 3 columns of 18 a page
}
