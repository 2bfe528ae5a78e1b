#include "keyprint/core/a4list.h"

#include "common/core/suite.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <cmath>

namespace dz::keyprint {

QString a4Question() { return QStringLiteral("A betöltött kulcs A4-s lapra nyomtatása !"); }

int rowsPerColumn(const QString& box) {
    const double v = std::ceil(dz::val(QStringView(box)));
    // The settings file reads 0 as 60; so does the list, for every value that would never advance.
    if (!(v >= 1)) return 60;
    return int(std::min(v, 1e6));
}

int columnsPerPage(qsizetype rowLength) { return int(std::max<qsizetype>(1, 90 / (rowLength + 6))); }

int rowsThatFit(double pageHeightTwips) {
    // Row m stands at (m + 4) * 240 and takes one row pitch below it.
    if (!std::isfinite(pageHeightTwips)) return 60;
    return int(std::clamp(std::floor(pageHeightTwips / 240) - 5, 1.0, 1e6));
}

bool printKeyList(dz::PrintSurface& out, const QStringList& rows, const QString& rowsPerPageBox,
                  const std::function<QDate()>& today) {
    const QString font = QStringLiteral("times new roman");
    out.setFontName(font);
    out.setScale(dz::PrintScale::Twips);
    out.setFontSize(12);
    // Columns taller than the page would print rows off its foot.
    const int n = std::min(rowsPerColumn(rowsPerPageBox), rowsThatFit(out.pageHeight()));
    const qsizetype length = rows.value(0).size();
    const int columns = columnsPerPage(length);
    const double pitch = 120.0 * double(length + 6);

    const qsizetype count = rows.size();
    qsizetype next = 0;  // 0-based: row number next + 1
    int c = 0;
    bool pageStarted = false;
    while (next < count) {
        if (++c > columns) c = 1;
        const double x = pitch * (c - 1);
        if (c == 1) {
            if (pageStarted) out.newPage();
            pageStarted = true;
            out.setBold(true);
            out.setFontSize(12);
            out.printEmptyLine();
            out.setCurrentX(1200);
            out.print(dz::signature(), false);
            out.setCurrentX(7200);
            out.print(today().toString(QStringLiteral("yyyy-MM-dd")), true);
            out.setBold(false);
            out.printEmptyLine();
        }
        for (int m = 1; m <= n && next < count; ++m, ++next) {
            const QString number = dz::format(next + 1, "@@@");
            out.setCurrentY((m + 4) * 240.0);
            out.setCurrentX(240 + x + 360 - out.textWidth(number));
            out.print(number + QStringLiteral(". "), false);
            out.print(rows[next], true);
        }
    }
    return out.endDoc();
}

}  // namespace dz::keyprint
