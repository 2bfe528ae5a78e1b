// keygen's and keygengroup's random key generation as a plain engine:
// no widgets, the random source, the stop flag and the progress report injected.
//
// How a window drives it ("Generálás", Command3D3_Click):
//
//   1. Not busy?  Read the boxes into GenInputs (wholeValue() / boxValue() for the texts,
//      the shared chosen flags as a mask, Check1, Check2; keygengroup: GenInputs::groups =
//      a GroupRule built from the memberships and the confirmed limit tables, see groups.h;
//      before it, once per click, confirmationMessage(Label6 text) of groups.h).
//   2. Validation v = validate(in).  The window empties List1 first (the emptying runs
//      before the checks).  If v.error: show v.error (text, title, icon) and stop; the key list
//      stays empty.
//   3. If v.adjustment: show it (question icon, OK button), then write v.text1 into Text1.
//      Use v.inputs (R already adjusted) from here on.
//   4. Busy: hourglass, clear the stop flag, disable Text1..Text5, Text7, Check1; Label4 :=
//      v.label4.  Run
//          GenerationResult r = generate(v.inputs, rng, stop, progress);
//      on a worker thread (or on the GUI thread with a stop callable that lets events run
//      every ~20 ms).  stop() is polled before every draw and after every slot; progress() is
//      called at the start and the end of every run and at most every progressIntervalMs
//      during it, from the engine's thread, with plain values only: the window copies what it
//      needs and posts it to its widgets (no widget call happens inside the engine).  The
//      random source is used only by the engine while it runs (one run at a time).
//   5. When generate() returns: List1 := r.rows, List2 := r.list2, Label1 := r.label1 (when
//      set), Label7 := r.label7, Text3 := r.text3 (when set); pointer normal, boxes enabled.
//      The reruns ("max szor", Check1) and keep-best all happen inside generate().
//
// Decisions: the quota uses the validated chosen count; every run reseeds from a
// high-resolution clock mixed with a counter (Random::reseedFromClock); counters are wide; a
// negative rows-wanted value gets the rows-wanted message; a draw never gives 21.  The inputs
// are read once per click: a rerun validates them again unchanged (Check2 ticked during a run
// does not change the reruns of that click).  The stop flag is not cleared between the runs of a
// click, so a press at any moment ends the click, its reruns included.
#pragma once
#include "common/core/keyfile.h"
#include "common/core/suite.h"

#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace dz {
class Random;
}

namespace dz::keygen {

class GroupRule;  // groups.h


enum class MessageIcon { Critical, Question, Warning, Information };

// A message box the window shows as it is.
struct Message {
    QString text;
    QString title = dz::signature();
    MessageIcon icon = MessageIcon::Critical;
    bool operator==(const Message&) const = default;
};

// The value of a box read as a whole number: leading numeric part (0 if none), halves to even,
// saturated far outside every valid range (an overflowing text fails its check instead of faulting).
long long wholeValue(QStringView text);
// The value of a box read as a floating-point number (M of "max szor", h of the key test).
double boxValue(QStringView text);

// Bit n (n = 1..20) of a mask stands for number n.
using NumberMask = uint32_t;
inline constexpr NumberMask kAllNumbers = 0x1FFFFEu;
int countOf(NumberMask m);
NumberMask maskOf(const std::vector<int>& numbers);
// The key row text for a mask: a blank, then each number "00" and a blank.
inline QString rowText(NumberMask m) { return dz::key::generatedRowFromMask(m); }

struct GenInputs {
    NumberMask chosen = 0;        // the chosen flags 1..20; N = countOf(chosen)
    long long rows = 0;           // R, value of Text1
    long long type = 0;           // t, value of Text2
    long long overlap = 0;        // A, value of Text7
    double maxRuns = 0;           // M, value of Text3 at the click
    bool repeatAlways = false;    // Check1
    bool adjust = false;          // Check2 (keygen only; ignored with groups)
    bool rowsAdjusted = false;    // rows is R as the adjustment raised it: past the row limit check
    const GroupRule* groups = nullptr;  // keygengroup: the group limits; not owned
    bool reseedEachRun = true;    // every run reseeds; tests turn it off to keep their seed
    int progressIntervalMs = 20;  // Slot progress at most this often (0: every slot)
};

struct Validation {
    std::optional<Message> error;       // the first failing check, in the order the checks run
    std::optional<Message> adjustment;  // Check2 changed R: the notice to show (question icon, OK)
    QString text1;                      // with adjustment: the new Text1 text (plain digits)
    QString label4;                     // Label4: Str(Int(t*R/N))
    GenInputs inputs;                   // as given, rows adjusted; pass this to generate()
    long long quota = 0;                // Q (0 with groups: no quota)
    long long combinations = 0;         // CombinationCount C(N, t) (keygen only)
    bool ok() const { return !error; }
};

// The checks, the quota and the adjustment (with the group checks in keygengroup).
Validation validate(const GenInputs& in);

// CountCombinations: C(n, k) from floating-point products, rounded to a whole number.
long long countCombinations(int n, int k);

// Overlap test (CheckRowOverlap): a bit set of the (A+1)-subsets of the accepted rows; a
// candidate is refused exactly when it shares more than A numbers with an accepted row.
class OverlapSet {
public:
    OverlapSet();
    void reset(int type, int overlap);  // empty key, for rows of `type` numbers, limit A
    bool overlaps(NumberMask candidate) const;
    void add(NumberMask row);

private:
    std::vector<uint64_t> bits_;                 // bit (subset mask >> 1): 2^20 bits
    std::vector<std::vector<uint8_t>> subsets_;  // index sets of size A+1 out of t
    int type_ = 0, overlap_ = 0;
};

enum class RunEnd {
    Rows,          // the key reached R rows
    Combinations,  // the key reached CombinationCount rows (keygen only)
    Slots,         // 5·R slots used up
    Draws,         // a row could not be completed within 1000 draws
    Stopped,       // "Állj"
};

struct Progress {
    enum class Kind { RunStarted, Slot, RunEnded } kind = Kind::Slot;
    int run = 1;             // 1-based run of this click
    int rowCount = 0;        // rows of the key list now
    long long slot = 0;      // k
    QString label1, label7;  // Slot: Str(rows), Str(k); RunEnded: label7 = Str(rows)
    QString text3;           // RunEnded when another run follows: the run counter (plain digits)
    QStringList list2;       // RunEnded: List2 of that run
    RunEnd end = RunEnd::Rows;  // RunEnded
    // Rows accepted so far in this run, in the order they were made (valid during the call only).
    std::span<const NumberMask> rowsSoFar;
};
using ProgressFn = std::function<void(const Progress&)>;
using StopFn = std::function<bool()>;
// A stop callable reading an atomic flag ("Állj" sets it).
StopFn stopOn(const std::atomic<bool>& flag);

struct GenerationResult {
    std::vector<QString> rows;       // List1, ascending text order
    std::vector<NumberMask> masks;   // the same rows as masks, same order
    QStringList list2;               // List2
    std::optional<QString> label1;   // Label1 (nullopt: unchanged, no slot finished)
    QString label7;                  // Label7: Str(row count)
    std::optional<QString> text3;    // Text3 (nullopt: keeps what it shows)
    std::array<long long, 21> uses{};  // use count of n (of the key shown)
    int runs = 0;                    // runs made in this click
    bool stopped = false;
    RunEnd lastEnd = RunEnd::Rows;
    bool fromBest = false;           // the key shown is the kept best run (List3)
};

// One click's runs: validates again at every run (the same inputs pass again), runs, reruns
// and keeps the best (with in.groups: the grouped generation).  `in` should be
// Validation::inputs; invalid inputs give an empty result with runs == 0.
GenerationResult generate(const GenInputs& in, dz::Random& rng, const StopFn& stop = {},
                          const ProgressFn& progress = {});

// List2 lines from use counts: "00", two blanks, Str(count), for every used number.
QStringList useLines(const std::array<long long, 21>& uses);

// The single-precision draw: Int(Rnd * 20 + 1), never 21.
int drawNumber(dz::Random& rng);

}  // namespace dz::keygen
