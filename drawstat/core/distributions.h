// The sums histogram and the identity and adhesion distributions of the main window's result
// list, with the class lists behind the distribution lines and the restore of the last result.
#pragma once
#include "core/draws.h"
#include "core/rules.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace drawstat {

// The sums lines: str(sum) & "   " & str(count) for every sum 1..160 that occurred, ascending.
// Every draw counts, the draw window start does not apply.
QStringList sumsLines(const dz::DrawFile& file);

// An identity or adhesion result: the lines of the result list (which the backup list copies)
// and the class lists 0..8.
struct ClassResult {
    QStringList lines;
    std::array<QStringList, 9> classes;
    // The result list's top line after filling, so that the distribution shows.
    int topIndex() const { return int(lines.size()) - 16; }
};

// How many numbers each draw shares with the one before it. windowStart is W: draw lines enter
// the result list from draw index W + 13 on; every draw after the first is counted and, up to
// 32736 lines, listed in its class.
// rules.identityListsAll: the listing start is 0 while W <= 32722 (else W + 12); rules.classLists
// off leaves the class lists empty.
ClassResult identityDistribution(const dz::DrawFile& file, long long windowStart, const Rules& rules = {});

// Maximal runs of 4..8 consecutive numbers inside a draw. Every counted run is listed, whether it
// ends the draw or not: in the result list from index W + 13 on and in the class list of its length.
// rules.runsFromWindow: draws numbered below W are left out of rows and counts, every other run is
// listed; rules.runDigitFirst marks a row "4*" instead of "*4".
ClassResult adhesionDistribution(const dz::DrawFile& file, long long windowStart, const Rules& rules = {});

inline const QString& identityHeading() {
    static const QString s = QStringLiteral("Azonosság eloszlása:");
    return s;
}
inline const QString& adhesionHeading() {
    static const QString s = QStringLiteral("Tapadás eloszlása:");
    return s;
}

// The class list that a click on line `index` of the result list opens, nullopt when the click
// does nothing: only the identity lines for 4..8 and the adhesion lines for 5..8 open one.
std::optional<int> classListForClick(const QStringList& resultLines, int index);

// The restore ("Vissza"): the backup's lines back in the result list, nullopt (nothing happens)
// while the backup is empty.
std::optional<QStringList> restoredLines(const QStringList& backup);

}  // namespace drawstat
