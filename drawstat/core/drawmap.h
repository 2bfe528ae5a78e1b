// The draw map: one line per draw, "o" in the column of each drawn number and "_" elsewhere.
#pragma once
#include "common/core/draws.h"

#include <QString>
#include <QStringList>

namespace dz::drawstat {

// Draw key, three blanks, then for n = 1..20 "o" when bit n of mask is set, else "_".
QString mapLine(const QString& drawKey, uint32_t mask);
// The map of the draws whose 1-based index is greater than windowStart.
QStringList drawMap(const dz::DrawFile& file, long long windowStart);
// The numbers of a map line, each as two digits and a blank ("02 05 07 "); read from the
// line's last 20 marks, so that a short draw key does not shift the columns.
QString mapTooltip(const QString& line);

}  // namespace dz::drawstat
