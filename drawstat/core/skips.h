// The life path of one number: its appearances with the skip before each, the skip distribution,
// and the "since when not drawn" counts of the grid.
#pragma once
#include "common/core/draws.h"
#include "common/core/linesource.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>

namespace dz::drawstat {

// Gaps longer than this are listed but left out of the distribution.
inline constexpr int kMaxCountedGap = 100;

struct LifePath {
    // draw key, skip, "*" for a skip of 0; then the closing line: made when read
    std::shared_ptr<const dz::LineSource> appearances = std::make_shared<dz::StringLines>(QStringList{});
    QStringList distribution;  // skip 0 .. the longest counted skip, zero counts included
    QStringList appearanceTexts() const { return dz::allLines(*appearances); }
};

// The appearance line of one draw: key, a blank, the skip (gap - 1) in "@@", "*" when the gap is 1.
QString appearanceLine(const QString& drawKey, long long gap);
// The closing line: 13 blanks and the draws since the latest appearance in "@@".
QString closingLine(long long gap);

// Follows number m (1..20) through the file. Appearances in draws whose 1-based index is at most
// listFrom count in the distribution but are not listed (drawstat passes W; a build that lists
// every appearance passes 0). The list keeps the latest kRowLimit lines.
LifePath lifePath(const dz::DrawFile& file, int m, long long listFrom);

// Draws since each number last came: N - last appearance (slot 0 unused).
std::array<long long, 21> drawsSince(long long drawCount, const std::array<long long, 21>& lastAppearance);

// The threshold of the since view: the value of the box, and the text the box must show
// ("1" when the value is below 1, else the box's own text).
struct Threshold {
    double value;
    QString text;
};
Threshold sinceThreshold(const QString& boxText);
// The spin buttons: the value of the box plus or minus one, never below 1, as the box's new text.
QString spinThreshold(const QString& boxText, int step);

}  // namespace dz::drawstat
