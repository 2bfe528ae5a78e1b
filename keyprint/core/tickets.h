// Printing key rows onto the lottery's ticket forms: four rows a form, each in its field, with the
// signature and form number, the stake, draw-count and extra-number marks, in millimetres.
#pragma once
#include "common/core/printsurface.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace dz::keyprint {

enum class NoticeIcon { Critical, Question };
struct Notice {
    QString text;
    NoticeIcon icon = NoticeIcon::Critical;
};

// "Nincs elérhető nyomtató - a nyomtatás sikertelen !"
QString noPrinterMessage();
// What a print job that failed says: the missing printer, or, printing into the PDF file pdfFile,
// "Hiba a <pdfFile> mentésekor - sikertelen mentés !".
QString printFailedMessage(const QString& pdfFile);

enum class Selector { AllRows, SelectedRow, Range };

// What the run checks before it prints.
struct RunRequest {
    Selector selector = Selector::AllRows;
    int rowCount = 0;
    int selectedIndex = -1;  // -1 when no row is selected
    QString from, to;        // Text3, Text4
    bool sheetFeed = false;  // Check1
    std::array<bool, 4> extras{};  // Check3(0..3)
};
struct RunCheck {
    std::vector<Notice> notices;  // shown in this order
    bool print = false;           // whether the run goes on to print
    std::optional<QString> to;    // the clamped To for Text4
    int first = 0, last = -1;     // list positions to print, when it prints
};
RunCheck checkRun(const RunRequest& r);

// The choices of the window that the marks read.
struct TicketChoices {
    QString down, right;  // Text1, Text2
    int mark = 1;         // index of the chosen mark option, -1 when none
    int stake = 1;        // 1..5
    int drawCount = 1;    // position 1..6 of the chosen draw count
    bool noDrawCount = false;  // Check2
    std::array<bool, 4> extras{};
    bool sheetFeed = false;
};

// The print frame of one run.
struct TicketFrame {
    float down = 0, right = 0;  // offsets in mm, the fixed corrections taken off
    QString mark;
    int gameType = 0;  // from the first row
};
TicketFrame ticketFrame(const TicketChoices& c, const QString& firstRow);
// The draw-count box's distance from the "1x" box, by the position of the choice.
double drawCountOffset(int drawCount);

// Field origins (the cell of number 1) before the offsets, by field 1..4.
struct FieldAnchor {
    double gridX, gridY;  // cell of number 1
    double band;          // 0 upper, 29.3 lower
    double stakeX, extraX;
};
const FieldAnchor& fieldAnchor(int field);

// The cell of number v in a field, before the offsets; nullopt for anything but a whole 1..20.
struct Point {
    double x, y;
};
std::optional<Point> cellOf(double v, int field);

// Prints rows first..last (list positions) of the list: the whole-key field of each row, or field
// 1 for the selected-row print; a new page after each field 4. False when the job could not be
// sent to the printer.
bool printTickets(dz::PrintSurface& out, const QStringList& rows, int first, int last, bool selectedRow,
                  const TicketChoices& c);

}  // namespace dz::keyprint
