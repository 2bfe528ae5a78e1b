// The lists of the subset windows, built from a counter file or the draw file: most drawn,
// least drawn, never drawn, and the life path of one subset. Rows are the windows' texts.
#pragma once
#include "subsetfile.h"
#include "subsetprofile.h"

#include <QString>
#include <QStringList>
#include <array>
#include <string_view>
#include <vector>

namespace drawstat {

// "    7 - 01 02 03 04  - 20100506 001": count right-aligned in five, " - ", each number and a
// blank, " - ", the latest-hit key.
QString mostDrawnRow(const CounterFile& f, int r);
// Each number and a blank (with one blank before them where the window wants it).
QString neverDrawnRow(const CounterFile& f, int r, bool leadingBlank);
// "    7 - 01 02 03 04 05 06 ": the most-drawn row without its second dash and key.
std::string leastDrawnRowBytes(const CounterFile& f, int r);

struct MostDrawnResult {
    QStringList rows;        // ascending text order, at most 32736
    QString latestKey;       // the greatest latest-hit key of the subset records
    int drawn = 0;           // subsets with a count other than 0
    std::array<QStringList, 2> leastPages;  // with leastDrawnPages: the rows just below, then the least drawn
};
// The sort method takes the greatest 32736 rows of every record; the threshold method the
// greatest 32736 of the rows with a count of at least 1. Either way ties at the boundary keep
// the greater numbers.
MostDrawnResult mostDrawn(const CounterFile& f, const SubsetProfile& p);
// List1's hint after a most-drawn run.
QString mostDrawnHint(const MostDrawnResult& r, const SubsetProfile& p);

// The records with a count of 0, in record order, over pages of 32736 rows (one page when the
// window has none: it cannot reach the limit).
struct NeverDrawnResult {
    std::vector<QStringList> pages;
    long long total = 0;
};
NeverDrawnResult neverDrawn(const CounterFile& f, const SubsetProfile& p);
bool anyNeverDrawn(const CounterFile& f);

// hatos's least-drawn list when every subset has been drawn: in record order, the subsets that rank
// below the first row of the most-drawn list (count below its count, or equal with smaller numbers).
QStringList leastDrawn(const CounterFile& f, const QString& firstMostDrawnRow);

// The subset's number text in a list row: the 3k - 1 characters two after the first "-"; a row
// without "-" (a never-drawn row) from its first digit.
QString lifePathNumberText(const QString& row, int k);

struct LifePathResult {
    QStringList rows;  // one row per draw that holds the subset, then the closing row
    long long draws = 0, hits = 0;
};
// Every draw of the draw file that holds the subset, with the draws since the previous one.
LifePathResult lifePath(const dz::DrawFile& draws, const SubsetProfile& p, const QString& numberText);
LifePathResult lifePath(std::string_view drawBytes, const SubsetProfile& p, const QString& numberText);

}  // namespace drawstat
