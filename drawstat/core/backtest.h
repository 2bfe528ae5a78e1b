// The back-test of chosen numbers: hits of every draw against the marked numbers, the hit list
// within the bounds, the hit distribution and the completeness level; and the reading of a
// listed draw for its display on the grid.
#pragma once
#include "common/core/suite.h"
#include "common/core/draws.h"
#include "common/core/linesource.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace dz::drawstat {

// What the run reads from the window.
struct BacktestInput {
    uint32_t marked = 0;        // bit n for every marked number
    int markedCount = 0;        // the grid's marked count
    QString fromText = QStringLiteral("0");   // Text2
    QString toText = QStringLiteral("8");     // Text4
    QString starText = QStringLiteral("4");   // Text3
    QString levelText;                        // Label5, the completeness level of the last run
    bool wholeHistory = false;                // Check1
    long long windowStart = 1;                // W
    bool fromWindow = false;                  // draws numbered below W are neither tallied nor listed
};

struct BacktestOutcome {
    enum class Status {
        NoMarks,    // beep and "Minimum 1 szám választandó ki !"; nothing else changes
        BadBounds,  // silent end, the lists stay as they were
        NoFile,     // silent end after the lists were cleared
        Done,
    };
    Status status = Status::Done;
    std::optional<QString> starText;   // new text of Text3 when it was replaced by "4"
    std::optional<QString> fromText;   // new text of Text2 when whole-history mode raised it
    // Filled when the lists were cleared (NoFile) or filled (Done):
    // List1, at most 32736 lines (the row limit: the newest of the draws in the bounds), and
    // List3, whose line i belongs to line i of List1: both made from the listed draws when read.
    std::shared_ptr<const dz::LineSource> hitLines = std::make_shared<dz::StringLines>(QStringList{});
    std::shared_ptr<const dz::LineSource> numberLines = hitLines;
    QStringList distribution;  // List2
    std::optional<QString> level;  // new Label5, unchanged when nullopt
    QString listedCount;           // Label3 (Done only)
    std::optional<int> hitTopIndex;  // List1's top line when it holds 17 or more lines
    std::array<long long, 9> hitCounts{};  // draws with h hits, h = 0..8
    bool listsCleared() const { return status == Status::NoFile || status == Status::Done; }
};

// One run: the threshold, the marks, the bounds and whole-history mode are settled first (the
// file is not needed for a run that ends there); then the hits of every draw of the file
// (nullopt: it could not be opened) are counted.
BacktestOutcome runBacktest(const BacktestInput& in, const std::optional<dz::DrawFile>& file);
// The same over the draw file of the program folder, read once.
BacktestOutcome runBacktest(const BacktestInput& in, const QString& drawFilePath);

// A draw of the hit list as the grid shows it: its numbers (1..20) and its extra number (1..4).
// Fields that do not read as such, or lie beyond a short line, are left out.
struct ShownDraw {
    std::vector<int> numbers;
    std::optional<int> extra;
};
ShownDraw readShownDraw(const QString& numbersLine);

// The messages of the window.
QString noMarksMessage();    // "Minimum 1 szám választandó ki !"
QString noMarksTitle();      // "KENO"
QString selectDrawMessage(); // "Válassza ki (click a kiértékelő listára), ..."
QString selectDrawTitle();   // dz::signature()

}  // namespace dz::drawstat
