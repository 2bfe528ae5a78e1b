// The loaded key as a numbered list in columns on plain pages, each page with its header.
#pragma once
#include "common/core/printsurface.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

namespace dz::keyprint {

// "A betöltött kulcs A4-s lapra nyomtatása !"
QString a4Question();

// Rows per column from the rows-per-page box: a fraction rounds up, below 1 (or no number) 60.
int rowsPerColumn(const QString& box);
// Columns a page for rows of this length: as many as 90 character widths hold, at least one.
int columnsPerPage(qsizetype rowLength);
// Rows of 240 twips that fit under the header on a printable height in twips (at least one).
int rowsThatFit(double pageHeightTwips);

// Prints the rows; the header's date comes from today() at each header. False when the job
// could not be sent to the printer.
bool printKeyList(dz::PrintSurface& out, const QStringList& rows, const QString& rowsPerPageBox,
                  const std::function<QDate()>& today = &QDate::currentDate);

}  // namespace dz::keyprint
