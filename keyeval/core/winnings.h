// The evaluation for winnings: every play of a key row costs one stake unit and earns a prize by
// its hit class; each draw of the period gives one net result, the period a stake, winnings and
// a balance.
#pragma once
#include "keyeval/core/evaluation.h"

#include "common/core/draws.h"
#include "common/core/linesource.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dz::keyeval {

// Prize of a play in stake units by its hit count 0..8.
inline constexpr std::array<int, 9> kPlusPrize{0, 0, 0, 0, 1, 4, 24, 150, 10000};  // extra number matched
inline constexpr std::array<int, 9> kPlainPrize{0, 0, 0, 0, 0, 2, 8, 50, 1000};

// The prize of one play, counted only from the minimum hit count up; a plain play of 4 hits
// never earns.
long long playPrize(int hits, bool plus, int minHits);

// A key row that names a number more than once: its row index and fields (0 ends the row), as
// KeyRows keeps them.
using RepeatRow = std::pair<uint32_t, std::array<int8_t, 8>>;

// Per-draw net results and the period's totals, in stake units, 64-bit throughout.
struct WinningsResult {
    bool stopped = false;    // the user stopped the run: nothing of it counts
    bool any = false;        // some draw lay in the period
    bool badLine = false;    // the key holds a line of the wrong length: nothing was evaluated
    size_t recordsRead = 0;  // lines a sequential reader has read when the run ends
    long long draws = 0;     // draws evaluated
    long long rows = 0;      // key rows played in each draw (blank lines are none)
    long long stake = 0;     // draws × rows × extra count
    long long winnings = 0;  // the sum of the prizes
    long long balance = 0;   // winnings − stake, the sum of the nets
    size_t keptFirst = 0;    // draw index of the first kept net
    std::vector<long long> nets;  // the nets of the latest kRowLimit draws, in draw order
};

// The sums of a run over draws in memory, prepared once for a key and the run's settings: the
// prize tables, the stake of a draw and, for a large key (or by the method), its subset counts.
// The key and its repeats are read where they lie while the engine lives. Large runs are shared
// among the processor's cores.
class WinningsEngine {
public:
    // draws: the length of the run, which tells whether the subset counts pay.
    WinningsEngine(std::span<const uint32_t> rowMasks, std::span<const RepeatRow> repeats,
                   const std::array<bool, 5>& extra, int minHits, size_t draws, HitMethod method);
    ~WinningsEngine();
    WinningsEngine(const WinningsEngine&) = delete;
    WinningsEngine& operator=(const WinningsEngine&) = delete;

    // The stake of one draw: rows × extra count.
    long long drawCost() const;
    // The nets of records[first..last] (inclusive) into nets, slot d − keptFirst for d ≥ keptFirst;
    // their sum, nullopt when a progress asked for a stop (it counts the records evaluated).
    std::optional<long long> run(std::span<const dz::DrawRecord> records, size_t first, size_t last, long long* nets,
                                 size_t keptFirst, Progress* progress) const;

private:
    struct Plan;
    std::unique_ptr<Plan> plan_;
};

// One kept draw of a run: its draw key and its net.
struct ResultRow {
    std::array<char, 12> key{};
    uint8_t keySize = 0;
    long long net = 0;
};

// A run read straight from the draw file: the period found and its draws summed in one pass, no
// record of it kept but the latest kRowLimit draws' keys and nets.
struct StreamedWinnings {
    Span span;
    std::string firstKey, lastKey;  // the draw keys of the period's first and last line
    WinningsResult money;
    std::vector<ResultRow> rows;    // the kept draws, oldest first (their nets also in money.nets)
};
StreamedWinnings streamWinnings(const DrawFile& file, const RunSettings& settings, const KeyRows& key,
                                Progress* progress = nullptr);

// The result list as records, each line made when it is read.
class ResultLines : public LineSource {
public:
    explicit ResultLines(std::vector<ResultRow> rows) : rows_(std::move(rows)) {}
    int count() const override { return int(rows_.size()); }
    QString line(int i) const override;
    // The nets in list order: the values the chart draws.
    std::vector<long long> nets() const;

private:
    std::vector<ResultRow> rows_;
};

// One per-draw result line: the date and draw pieces, three blanks, the net in signed form.
QString resultLine(std::string_view drawKey, long long net);

}  // namespace dz::keyeval
