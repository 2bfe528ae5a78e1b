#include "keyprint/core/tickets.h"

#include "common/core/suite.h"
#include "common/core/listexport.h"
#include "keyprint/core/printsettings.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <cmath>

namespace dz::keyprint {

using dz::PrintSurface;

QString noPrinterMessage() { return QStringLiteral("Nincs elérhető nyomtató - a nyomtatás sikertelen !"); }

QString printFailedMessage(const QString& pdfFile) {
    return pdfFile.isEmpty() ? noPrinterMessage() : dz::saveFailedMessage(pdfFile);
}

namespace {
bool whole(double v) { return std::isfinite(v) && std::floor(v) == v; }
}  // namespace

RunCheck checkRun(const RunRequest& r) {
    RunCheck c;
    auto stop = [&](const char* text, NoticeIcon icon = NoticeIcon::Critical) {
        c.notices.push_back({QString::fromUtf8(text), icon});
        return c;
    };
    switch (r.selector) {
        case Selector::AllRows:
            c.first = 0;
            c.last = r.rowCount - 1;
            break;
        case Selector::SelectedRow:
            if (r.selectedIndex < 0 || r.selectedIndex >= r.rowCount) return stop("Nincs listasor kiválasztva ");
            c.first = c.last = r.selectedIndex;
            break;
        case Selector::Range: {
            // Row numbers are whole numbers from 1: anything else would print rows off the list
            // or into fields that are not there.
            const double from = dz::val(QStringView(r.from));
            double to = dz::val(QStringView(r.to));
            bool bad = !whole(from) || from < 1 || !(to >= 1);
            if (to > r.rowCount) {
                to = r.rowCount;
                c.to = QString::number(r.rowCount);
            }
            bad = bad || !whole(to) || from > to;
            if (bad) return stop("Hibás Tól: - Ig: beállítás !", NoticeIcon::Question);
            c.first = int(from) - 1;
            c.last = int(to) - 1;
            break;
        }
    }
    if (r.rowCount <= 0) return stop("Először egy elmentett kulcsot kell kiválasztani !");
    if (r.sheetFeed) c.notices.push_back({QStringLiteral("A nyomtatás egy szelvény lap-dobásával indul !"), NoticeIcon::Critical});
    if (std::none_of(r.extras.begin(), r.extras.end(), [](bool b) { return b; }))
        return stop("Nincs pótszám(ok) megadva !");
    c.print = true;
    return c;
}

TicketFrame ticketFrame(const TicketChoices& c, const QString& firstRow) {
    TicketFrame f;
    f.mark = markText(c.mark);
    f.down = float(shiftValue(c.down) - 3.5);
    f.right = float(shiftValue(c.right) - 3.0);
    f.gameType = int((firstRow.size() + 1) / 3);
    return f;
}

double drawCountOffset(int drawCount) {
    static constexpr double offsets[] = {0, 8.2, 18.5, 27.5, 36, 44.3};
    return drawCount >= 1 && drawCount <= 6 ? offsets[drawCount - 1] : 0;
}

const FieldAnchor& fieldAnchor(int field) {
    static const FieldAnchor anchors[4] = {
        {23.2, 31.5, 0, 15, 46},
        {55, 31.5, 0, 86.2, 77.8},
        {23.2, 31.5 + 29.3, 29.3, 15, 46},
        {55, 31.5 + 29.3, 29.3, 86.2, 77.8},
    };
    return anchors[std::clamp(field, 1, 4) - 1];
}

std::optional<Point> cellOf(double v, int field) {
    // Anything but a number of the field would mark another box of the form and change the bet.
    if (!whole(v) || v < 1 || v > 20) return std::nullopt;
    const int n = int(v);
    const int q = (n - 1) / 5, col = n - 5 * q;
    const FieldAnchor& a = fieldAnchor(field);
    return Point{a.gridX + 4.2 * (col - 1), a.gridY + 4.2 * q};
}

namespace {

class TicketPrinter {
public:
    TicketPrinter(PrintSurface& out, const TicketFrame& f, const TicketChoices& c) : out_(out), f_(f), c_(c) {}

    void setUp() {
        out_.setFontName(QStringLiteral("times new roman"));
        out_.setScale(dz::PrintScale::Millimetres);
        out_.setBold(true);
        out_.setFontSize(9);
    }

    void field(const QString& row, int field, int formNumber) {
        if (field == 1) {
            textLines(formNumber);
        } else if (!markFont_) {
            // A form entered at field 2, 3 or 4 still gets its marks in the mark font.
            out_.setFontName(QStringLiteral("arial black"));
            markFont_ = true;
        }
        stake(field);
        if (field == 1 && !c_.noDrawCount) drawCount();
        numbers(row, field);
        extras(field);
    }

private:
    // Coordinates are worked out in double precision and handed over in single precision.
    void at(double x, double y) {
        out_.setCurrentY(float(y));
        out_.setCurrentX(float(x));
    }
    void mark() { out_.print(f_.mark, true); }

    void textLines(int formNumber) {
        const double height = std::max(double(f_.down), 0.0);
        at(double(f_.right) + 13, height + 5);
        out_.setFontName(QStringLiteral("times new roman"));
        out_.print(QStringLiteral("  ") + dz::signature(), true);
        at(double(f_.right) + 15, height + 15);
        out_.print(QString::number(formNumber), true);
        out_.setFontName(QStringLiteral("arial black"));
        markFont_ = true;
    }

    void stake(int field) {
        const FieldAnchor& a = fieldAnchor(field);
        at(double(f_.right) + a.stakeX, double(f_.down) + 27.3 + a.band + 4.2 * c_.stake);
        mark();
    }

    void drawCount() {
        out_.setCurrentX(float(double(f_.right) + 27.6 + drawOffset_));
        out_.setCurrentY(float(double(f_.down) + 90.5));
        mark();
    }

    void numbers(const QString& row, int field) {
        // Past the row's end every position reads as no number: the loop need not go there.
        const int last = std::min<qsizetype>(f_.gameType, row.size() / 3 + 1);
        for (int j = 1; j <= last; ++j) {
            const auto cell = cellOf(dz::val(QStringView(dz::mid(row, 3 * (j - 1) + 1, 3))), field);
            if (!cell) continue;
            at(double(f_.right) + cell->x, double(f_.down) + cell->y);
            mark();
        }
    }

    void extras(int field) {
        const FieldAnchor& a = fieldAnchor(field);
        for (int e = 1; e <= 4; ++e) {
            if (!c_.extras[size_t(e - 1)]) continue;
            at(double(f_.right) + a.extraX, double(f_.down) + 31.5 + a.band + 4.2 * (e - 1));
            mark();
        }
    }

    PrintSurface& out_;
    const TicketFrame& f_;
    const TicketChoices& c_;
    const double drawOffset_ = drawCountOffset(c_.drawCount);
    bool markFont_ = false;
};

}  // namespace

bool printTickets(PrintSurface& out, const QStringList& rows, int first, int last, bool selectedRow,
                  const TicketChoices& c) {
    const TicketFrame frame = ticketFrame(c, rows.value(0));
    TicketPrinter p(out, frame, c);
    p.setUp();
    if (c.sheetFeed) out.newPage();
    first = std::max(first, 0);
    last = std::min<int>(last, int(rows.size()) - 1);
    for (int r = first; r <= last; ++r) {
        const int field = selectedRow ? 1 : r % 4 + 1;
        p.field(rows[r], field, r / 4 + 1);
        if (field == 4) out.newPage();
    }
    return out.endDoc();
}

}  // namespace dz::keyprint
