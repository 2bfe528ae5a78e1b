// The evaluation of a key against the draws of a period: the key read once into row masks, the
// period found in the draw file, and the hit counts of every row for every draw.
#pragma once
#include "common/core/suite.h"

#include "common/core/cp1250.h"
#include "common/core/draws.h"
#include "common/core/linesource.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <array>
#include <bit>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dz::keyeval {

// A key line must hold exactly this many characters once blanks are trimmed from both ends.
inline constexpr int kKeyLineLength = 23;
// The most lines the hit list keeps in memory; the listed count goes on past it.
inline constexpr size_t kHitListCap = 1'000'000;

// How the runs count a key's hits: by the size of the run (subset sums for a large key and many
// draws, the row scan else), or always one way (the tests compare the two).
enum class HitMethod { BySize, Scan, SubsetSums };
// How the rows a draw lists are found once its distribution is known: by looking up the number
// sets such rows can have where that costs less than a scan of every row, or always one way.
enum class RowLookup { BySize, Scan, Index };

// What a run reads from the window once the field defaults, the minimum, the period clamp and the
// range check are done.
struct RunSettings {
    QString keyFile;                // the file named by Label8
    std::array<bool, 5> extra{};    // extra[k]: extra number k (1..4) is played; extra[0] stays false
    int extraCount = 0;             // 1..4
    int minHits = 4;                // 4..8
    QString fromKey, toKey;         // "YYYYMMDD NNN"
    HitMethod hitMethod = HitMethod::BySize;
    RowLookup rowLookup = RowLookup::BySize;
    bool vectorScan = true;         // off: the plain scan (no AVX2, no POPCNT), to check it on any processor

    // Whether a draw with this extra number has a plus play (the number is ticked).
    bool plusFor(int drawExtra) const { return drawExtra >= 1 && drawExtra <= 4 && extra[size_t(drawExtra)]; }
};

// A key file read once for a run. Rows are the non-empty lines up to the first line that is not
// 23 characters long after trimming; that line stops the run where a reread per draw would stop.
struct KeyRows {
    std::vector<uint32_t> masks;    // per row: bit n for each number that scores (fields before a 00)
    // Rows that name a number twice score it twice: their fields are kept here (0 ends a row).
    std::vector<std::pair<uint32_t, std::array<int8_t, 8>>> repeats;  // (row index, fields 1..20 or 0)
    uint32_t numbers = 0;           // bit n: n occurs in some row (the key's numbers, Label11)
    // The first 32736 rows as read, leading blanks kept, behind two blanks: as the file's bytes,
    // each decoded when it is shown.
    std::shared_ptr<ByteLines> shown = std::make_shared<ByteLines>(static_cast<ByteLines::Decode>(&cp1250::decode));
    bool badLine = false;           // reading stopped at a line of the wrong length
    long long fileLines = 0;        // lines read, blank ones included (up to the bad line, when one stopped it)

    size_t rowCount() const { return masks.size(); }
    // Hits of row i for a draw: popcount of the row mask against the draw mask, repeats counted.
    // Inline, so that a count built for the processor's popcount uses it.
    int hits(size_t i, uint32_t drawMask) const {
        return repeats.empty() ? std::popcount(masks[i] & drawMask) : hitsAmongRepeats(i, drawMask);
    }
    int hitsAmongRepeats(size_t i, uint32_t drawMask) const;
};

// Reads the key file; nullopt when it cannot be opened. Reading stops at the first bad line (one
// longer than kLineTextLimit is bad) and after the row limit's rows, so a huge file, key or not,
// is not read whole.
std::optional<KeyRows> readKey(const QString& path);
// Scores one key line (the line as read): nullopt when its trimmed length is not 23.
struct ParsedRow {
    uint32_t mask = 0;               // the numbers that score, also the row's share of the key's numbers
    std::array<int8_t, 8> fields{};  // 1..20 for a scoring field, 0 from a 00 on, -1 for a skipped one
    bool repeats = false;
};
std::optional<ParsedRow> parseKeyLine(std::string_view line);

// Whether a run of this many rows and draws counts by subset sums.
bool useSubsetSums(HitMethod method, size_t rows, size_t draws);

// The draws of a period: the first record whose key is not less than the from key, and every
// record after it while its key is not greater than the to key.
struct Span {
    bool reached = false;           // some record is not less than the from key
    bool any = false;               // some draw lies in the period
    size_t first = 0, last = 0;     // 0-based line indexes, inclusive
    size_t recordsRead = 0;         // lines a sequential reader has read when the run ends
};

// The draws of a period, read in one pass over the draw file: each record as the evaluations read
// it (the whole line: it differs from the line's first input item only for a line with leading
// blanks or a comma) and its draw key. Indexes are line indexes of the file.
// A streamed run keeps no records and only the keys of the draws that listed plays (sparse).
struct PeriodDraws {
    Span span;
    std::vector<DrawRecord> records;          // lines span.first .. span.last (none when sparse)
    std::vector<std::array<char, 12>> keys;   // their draw keys (the line's first 12 characters)
    std::vector<uint8_t> keySizes;
    std::vector<size_t> keyLines;             // sparse: the line of each key, ascending
    bool sparse = false;
    std::string firstNumbers;                 // the first line's numbers part
    bool stopped = false;                     // the user stopped the run while the file was read

    const DrawRecord& record(size_t line) const { return records[line - span.first]; }
    // The key of a line of the period; empty for a line outside it (or, sparse, not kept).
    std::string_view key(size_t line) const {
        size_t i = line - span.first;
        if (sparse) {
            const auto it = std::lower_bound(keyLines.begin(), keyLines.end(), line);
            if (it == keyLines.end() || *it != line) return {};
            i = size_t(it - keyLines.begin());
        } else if (line < span.first || i >= keys.size()) {
            return {};
        }
        return {keys[i].data(), keySizes[i]};
    }
};
// A progress, when given, counts the lines read and is polled for a stop.
struct Progress;
PeriodDraws readPeriod(const DrawFile& draws, const QString& fromKey, const QString& toKey, Progress* progress = nullptr);

// Everything an evaluation over the window's period takes at the start of a run.
struct EvaluationInput {
    RunSettings settings;
    std::shared_ptr<const PeriodDraws> draws;
    std::shared_ptr<const KeyRows> key;
    Span span;
};

// Reads the key named by the settings and the draws of the period from the draw file (read again
// at every run); nullopt when the key file cannot be opened.
std::optional<EvaluationInput> gatherInput(const RunSettings& settings, const DrawFile& draws,
                                           Progress* progress = nullptr);

// One listed play of the hit list: the draw, and the row, its hits and its mark in one word, so
// that a new hit is two plain stores (no read of the fresh memory it goes to).
struct Hit {
    constexpr Hit() = default;
    constexpr Hit(uint32_t d, uint32_t r, uint32_t h, bool p)
        : draw(d), bits((r & 0xFFFFFFu) | (h & 0x7Fu) << 24 | uint32_t(p) << 31) {}
    uint32_t draw = 0;              // 0-based line index in the draw file
    uint32_t bits = 0;
    // The 0-based row of the key (a key holds at most kRowLimit rows), the hits, the plus mark.
    constexpr uint32_t row() const { return bits & 0xFFFFFFu; }
    constexpr uint32_t hits() const { return bits >> 24 & 0x7Fu; }
    constexpr bool plus() const { return bits >> 31; }
};
static_assert(sizeof(Hit) == 8);

struct EvaluationResult {
    bool stopped = false;           // the user stopped the run
    bool badLine = false;           // a key line of the wrong length ended it ("Hibás kulcsformátum !")
    size_t drawsEvaluated = 0;
    size_t recordsRead = 0;
    std::array<int64_t, 12> plainTally{}, plusTally{};  // indexed by hits + 1
    std::vector<Hit> hits;          // at most kHitListCap
    int64_t listedCount = 0;        // every listed play, also those past the cap
    long long rowCounter = 0;       // rows read for the last draw
    uint32_t lastDrawMask = 0;      // drawn numbers of the last draw evaluated
};

// Progress of a running evaluation, read by the window's timer.
struct Progress {
    std::atomic<int64_t> recordsRead{0};
    std::atomic<bool> stop{false};
};

EvaluationResult evaluate(const EvaluationInput& in, Progress* progress = nullptr);

// "Kezdés" read straight from the draw file: the period found and evaluated in one pass, with the
// results of evaluate() over the same period, and no record kept but the keys of the draws that
// listed plays (and the period's first numbers part).
struct StreamedEvaluation {
    Span span;
    std::string firstKey, lastKey;  // the draw keys of the period's first and last line
    EvaluationResult result;
    std::shared_ptr<const PeriodDraws> draws;  // sparse; null when the run was stopped
};
StreamedEvaluation streamEvaluation(const DrawFile& file, const RunSettings& settings, const KeyRows& key,
                                    Progress* progress = nullptr);

// The record of a draw's whole line as the evaluations read it: the item's record when the item is
// the line, else the line parsed (leading blanks or a comma make them differ).
inline DrawRecord wholeLineRecord(const DrawLine& l) {
    const bool sameAsItem = l.item.data() == l.line.data() && l.item.size() == std::min(l.line.size(), kDrawItemKept);
    return sameAsItem ? l.record : parseDrawRecord(l.line);
}

// One pass over the draw file through a period: its first draw is the first whose key is not less
// than from, and it goes on while the keys are not greater than to. onDraw(line, key) sees each
// draw of the period and returns false to end the pass at that draw (read, but not the period's
// last). A progress, when given, is polled for a stop a batch at a time and counts the lines read:
// every line, or with countInPeriod false only up to the period (the caller counts within it).
struct PeriodPass {
    Span span;
    bool stopped = false;
    std::string reachedKey;  // the key of the line at span.first, once reached
};
template <class OnDraw>
PeriodPass passPeriod(const DrawFile& draws, std::string_view from, std::string_view to, Progress* progress,
                      bool countInPeriod, OnDraw&& onDraw) {
    PeriodPass out;
    Span& s = out.span;
    size_t lines = 0;
    bool done = false;
    DrawReader reader(draws);
    for (auto batch = reader.next(); !batch.empty() && !done; batch = reader.next()) {
        if (progress) {
            if (countInPeriod || !s.reached)
                progress->recordsRead.store(int64_t(batch.back().index + 1), std::memory_order_relaxed);
            if (progress->stop.load(std::memory_order_relaxed)) {
                out.stopped = true;
                break;
            }
        }
        for (const DrawLine& l : batch) {
            lines = l.index + 1;
            const std::string_view key = drawKey(l.line);
            if (!s.reached) {
                if (key < from) continue;
                s.reached = true;
                s.first = l.index;
                out.reachedKey = std::string(key);
            }
            if (key > to) {
                // past the period, or no draw lies in it
                s.recordsRead = l.index + 1;
                done = true;
                break;
            }
            s.any = true;
            if (!onDraw(l, key)) {
                s.recordsRead = l.index + 1;
                done = true;
                break;
            }
            s.last = l.index;
        }
    }
    if (!done) s.recordsRead = lines;
    return out;
}

// Text of a hit list line: date "0000 00 00", the draw piece, the mark, the row in signed form.
QString hitLine(std::string_view drawKey, const Hit& hit);
// The date piece ("0000 00 00" of the key's first 8 characters by value) and the draw piece (its
// last 4 characters) that begin a hit list line: 14 characters for a full key.
QString keyPieces(std::string_view drawKey);
// The tally lines of List2 (before sorting).
QStringList tallyLines(const EvaluationResult& r);

// The indexes of hit list lines in the order of "Találat" (by hit class, characters 18 and 19, then
// by the whole line) or of "Húzás" (by the whole line); lines of equal text keep their order.
std::vector<size_t> textOrder(const QStringList& lines, bool byClass);

}  // namespace dz::keyeval
