// Start's statistics (draw count, frequency and last appearance of every number) and the full
// list of draws.
#pragma once
#include "common/core/draws.h"
#include "common/core/linesource.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>

namespace dz::drawstat {

struct StartStats {
    long long drawCount = 0;                  // every line read counts as a draw
    std::array<long long, 21> frequency{};    // slot 0 takes fields that read as 0; never shown
    std::array<long long, 21> lastAppearance{};
    QStringList byNumber;   // List1: "05" + "  " + count in six characters
    QStringList byCount;    // List3 (a sorted list): count in six characters + "    " + "05"
    QString tooltip;        // the draw count as str() writes it
};

StartStats computeStart(const dz::DrawFile& file);

// The lines the full list shows: every line of a file of at most 32700 lines, else exactly the
// last 32700, each line whole up to the reader's cut.
// all: every line of the file, however many.
std::shared_ptr<const dz::LineSource> fullListLines(const dz::DrawFile& file, bool all = false);

}  // namespace dz::drawstat
