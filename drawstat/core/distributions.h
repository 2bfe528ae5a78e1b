// The sums histogram and the identity and adhesion distributions of the main window's result
// list, with the class lists behind the distribution lines.
#pragma once
#include "common/core/draws.h"
#include "common/core/linesource.h"
#include "drawstat/core/rules.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace dz::drawstat {

// The sums lines: str(sum) & "   " & str(count) for every sum 1..160 that occurred, ascending.
// Every draw counts, the draw window start does not apply.
QStringList sumsLines(const dz::DrawFile& file);

// One draw line of an identity or adhesion result in eight bytes: a long history lists hundreds of
// thousands of them, so the text is made only when the line is read. Bits 0..36 hold the draw key
// "YYYYMMDD NNN" as its eleven digits, or, with bit 37 set, the index of a key of another form in
// the result's key table; bits 38..58 what the line shows after the key: for identity the mask of
// the numbers shared with the draw before, for adhesion the run's first value and, above it
// (bits 43..46), its length.
using ClassLine = uint64_t;

// Keys that are not "YYYYMMDD NNN" as the file holds them (at most 12 bytes).
struct OddKey {
    std::array<char, 12> bytes;
    uint8_t size;
};
using OddKeys = std::vector<OddKey>;

// The lines of a result or class list: its draw lines as records, then the lines after them
// (the distribution) as text.
class ClassLines : public dz::LineSource {
public:
    enum class Layout { Identity, Run, RunDigitFirst };
    ClassLines(Layout layout, std::shared_ptr<const OddKeys> oddKeys) : layout_(layout), oddKeys_(std::move(oddKeys)) {}
    int count() const override { return int(records_.size()) + int(tail_.size()); }
    QString line(int i) const override;
    Layout layout() const { return layout_; }
    const std::vector<ClassLine>& records() const { return records_; }
    std::vector<ClassLine>& records() { return records_; }
    QStringList& tail() { return tail_; }

private:
    Layout layout_;
    std::shared_ptr<const OddKeys> oddKeys_;
    std::vector<ClassLine> records_;
    QStringList tail_;
};

// An identity or adhesion result: the lines of the result list (which the backup list shows too)
// and the class lists 0..8.
struct ClassResult {
    std::shared_ptr<ClassLines> lines;
    std::array<std::shared_ptr<ClassLines>, 9> classes;
    // The result list's top line after filling, so that the distribution shows.
    int topIndex() const { return lines->count() - 16; }
};

// How many numbers each draw shares with the one before it. windowStart is W: draw lines enter
// the result list from draw index W + 13 on, and where more come than the list holds beside its
// distribution, the newest stay; every draw after the first is counted and, up to 32736 lines
// (the first), listed in its class.
// rules.identityListsAll: the listing start is 0 while W <= 32722 (else W + 12); rules.classLists
// off leaves the class lists empty.
ClassResult identityDistribution(const dz::DrawFile& file, long long windowStart, const Rules& rules = {});

// Maximal runs of 4..8 consecutive numbers inside a draw. Every counted run is listed, whether it
// ends the draw or not: in the result list from index W + 13 on (the newest, as for identity) and
// in the class list of its length.
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
std::optional<int> classListForClick(const dz::LineSource& resultLines, int index);
inline std::optional<int> classListForClick(const QStringList& resultLines, int index) {
    return classListForClick(dz::StringLines(resultLines), index);
}

}  // namespace dz::drawstat
