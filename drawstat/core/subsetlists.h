// The lists of the subset windows, built from a counter file or the draw file: most drawn,
// least drawn, never drawn, and the life path of one subset. Rows are the windows' texts.
#pragma once
#include "common/core/linesource.h"
#include "drawstat/core/subsetfile.h"
#include "drawstat/core/subsetprofile.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace dz::drawstat {

// "    7 - 01 02 03 04  - 20100506 001": count right-aligned in five, " - ", each number and a
// blank, " - ", the latest-hit key.
QString mostDrawnRow(const CounterFile& f, int r);
// A list file of most-drawn rows of these records, byte for byte as the rows' lines are written
// (each row in cp1250 and CR LF), without making the lines.
std::string mostDrawnFileBytes(const CounterFile& f, const std::vector<int32_t>& records);
// Each number and a blank (with one blank before them where the window wants it).
QString neverDrawnRow(const CounterFile& f, int r, bool leadingBlank);
// "    7 - 01 02 03 04 05 06 ": the most-drawn row without its second dash and key.
std::string leastDrawnRowBytes(const CounterFile& f, int r);

// A list of a counter file's records (their record numbers), each row made from the file when it
// is read; the list keeps the file alive.
using SharedCounter = std::shared_ptr<const CounterFile>;
using SubsetRows = dz::RecordLines<int32_t>;
using SubsetRowsPtr = std::shared_ptr<const SubsetRows>;
inline int rowCount(const SubsetRowsPtr& rows) { return rows ? rows->count() : 0; }

struct MostDrawnResult {
    SubsetRowsPtr rows;      // at most 32736; ascending text order where List1 is sorted, else by count and numbers
    QString latestKey;       // the greatest latest-hit key of the subset records
    int drawn = 0;           // subsets with a count other than 0
    std::array<SubsetRowsPtr, 2> leastPages;  // with LeastDrawn::Pages: the rows just below, then the least drawn
};
// The sort method takes the greatest 32736 rows of every record; the threshold method the
// greatest 32736 of the rows with a count of at least 1. Either way ties at the boundary keep
// the greater numbers.
MostDrawnResult mostDrawn(SharedCounter f, const SubsetProfile& p);
// List1's hint after a most-drawn run.
QString mostDrawnHint(const MostDrawnResult& r, const SubsetProfile& p);

// The records with a count of 0, in record order, over pages of 32736 rows (one page when the
// window has none: it cannot reach the limit).
struct NeverDrawnResult {
    std::vector<SubsetRowsPtr> pages;
    long long total = 0;
};
NeverDrawnResult neverDrawn(SharedCounter f, const SubsetProfile& p);
bool anyNeverDrawn(const CounterFile& f);

// hatos's least-drawn list when every subset has been drawn: in record order, the subsets that rank
// below the first row of the most-drawn list (count below its count, or equal with smaller numbers).
// inTextOrder: in the ascending text order of the rows instead (for a sorted list).
SubsetRowsPtr leastDrawn(SharedCounter f, const QString& firstMostDrawnRow, bool inTextOrder = false);

// The subset's number text in a list row: the 3k - 1 characters two after the first "-"; a row
// without "-" (a never-drawn row) from its first digit.
QString lifePathNumberText(const QString& row, int k);

// One row per draw that holds the subset (" <key and draw number>  <draws since the previous>"),
// then the closing row.
class LifePathLines : public dz::LineSource {
public:
    struct Hit {
        char item[13];      // the draw line's first 13 characters, as the file holds them
        uint8_t size;       // how many of them the line had
        long long since;    // draws since the previous hit (or the start)
    };
    LifePathLines(std::vector<Hit> hits, QString closing) : hits_(std::move(hits)), closing_(std::move(closing)) {}
    int count() const override { return int(hits_.size()) + 1; }
    QString line(int i) const override;

private:
    std::vector<Hit> hits_;
    QString closing_;
};

struct LifePathResult {
    std::shared_ptr<const LifePathLines> rows;
    long long draws = 0, hits = 0;
};
// Every draw of the draw file that holds the subset, with the draws since the previous one.
LifePathResult lifePath(const dz::DrawFile& draws, const SubsetProfile& p, const QString& numberText);

}  // namespace dz::drawstat
