// Reference forms of keyeval's runs for the tests, the benchmarks and the fuzz target: the hit
// list and the result list as strings, their orders sorted as text, the winnings over a period
// held whole in memory, the period found by a pass of its own, and one draw's hit distribution.
// The programs use the record forms of the core; these check them.
#pragma once
#include "keyeval/core/evaluation.h"
#include "keyeval/core/winnings.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace dz::keyeval::testing {

// The hit list of a run as lines, in the order the plays were found.
QStringList hitLines(const PeriodDraws& draws, const std::vector<Hit>& hits);
// "Találat": by hit class (characters 18 and 19), then by the whole line. "Húzás": by the whole line.
QStringList orderByClass(QStringList hitLines);
QStringList orderByDraw(QStringList hitLines);

// Evaluates the draws first..last (0-based, inclusive; last clamped to the records) for a key
// given as row masks (bit n for number n), rows that repeat a number scoring it twice. An empty
// or inverted range evaluates nothing. A progress, when given, counts the records read and is
// polled for a stop. lineBase is the line index of records[0] in the draw file (the indexes of
// the result count from it).
WinningsResult evaluateWinnings(std::span<const dz::DrawRecord> records, size_t first, size_t last,
                                std::span<const uint32_t> rowMasks, std::span<const RepeatRow> repeats,
                                const std::array<bool, 5>& extra, int minHits, Progress* progress = nullptr,
                                size_t lineBase = 0, HitMethod method = HitMethod::BySize);
// The same over a run's input: its period, key and settings.
WinningsResult evaluateWinnings(const EvaluationInput& in, Progress* progress = nullptr);
// The result list of a run: one line for every kept net, the oldest first.
QStringList resultLines(const PeriodDraws& draws, const WinningsResult& result);

// The draws of a period as a pass that keeps none of them finds it.
Span findSpan(const DrawFile& draws, const QString& fromKey, const QString& toKey);

// hist[h] += rows of the key that hit h numbers of the draw (h = 0..8), counted by the run of
// "Kezdés" over that one draw with the row scan (vector or plain).
void hitHistogram(const KeyRows& key, uint32_t drawMask, std::array<int64_t, 9>& hist, bool vectorScan = true);

// A run's settings: the key file, the extra numbers ticked, the minimum and the period.
RunSettings settings(const QString& keyFile, std::initializer_list<int> extras, int minHits = 4,
                     const QString& from = QStringLiteral("20100101 001"), const QString& to = QStringLiteral("20101231 264"));

// The text of a key of random eight-number rows, as the generators write them.
std::string randomRowsText(unsigned seed, int rows);
// The periods a streamed run is held to against the run over the read period, over a history whose
// lines are 41 bytes (synthDrawHistory) and of n draws: a long period ending before the file's end,
// one to its end, one draw, no draw, a period never reached, and the key with a bad line appended.
struct PeriodCase {
    const char* what;
    QString from, to;
    std::string key;
};
std::vector<PeriodCase> streamedPeriods(const std::string& history, size_t n, const std::string& key);

}  // namespace dz::keyeval::testing
