#include "keygen/core/generator.h"

#include "common/core/suite.h"
#include "keygen/core/groups.h"
#include "keygen/core/numberdraw.h"
#include "common/core/combinations.h"
#include "common/core/random.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <utility>

namespace dz::keygen {

namespace {
constexpr long long kSaturate = 1LL << 40;
}

long long wholeValue(QStringView text) {
    const double v = dz::val(text);
    if (!(v == v)) return 0;
    if (v > double(kSaturate)) return kSaturate;
    if (v < -double(kSaturate)) return -kSaturate;
    return dz::roundHalfEven(v);
}

double boxValue(QStringView text) { return dz::val(text); }

int countOf(NumberMask m) { return std::popcount(m & kAllNumbers); }

NumberMask maskOf(const std::vector<int>& numbers) {
    NumberMask m = 0;
    for (int n : numbers)
        if (n >= 1 && n <= 20) m |= 1u << n;
    return m;
}

namespace {
inline int drawOne(dz::Random& rng) { return numberOf(rng.next()); }

// The engine's draws through next(): any source (scripted, counting, seeded by a test).
class ViaNext {
public:
    explicit ViaNext(dz::Random& rng) : rng_(rng) {}
    int operator()() { return drawOne(rng_); }

private:
    dz::Random& rng_;
};

// The engine's draws straight from a plain source's Mersenne engine: the numbers of the engine's
// coming values made a block at a time, off the draw loop, and the engine moved on by the numbers
// taken when the run ends (the source then stands where next() would have left it).
class Straight {
public:
    explicit Straight(dz::Mt64& e) : e_(e), steps_(NumberSteps::get()) { fill(); }
    ~Straight() { e_.advance(at_); }
    Straight(const Straight&) = delete;
    Straight& operator=(const Straight&) = delete;
    int operator()() {
        if (at_ == count_) {
            e_.advance(count_);
            fill();
        }
        return numbers_[at_++];
    }

private:
    void fill() {
        const std::span<const uint64_t> b = e_.block();
        for (size_t i = 0; i < b.size(); ++i) numbers_[i] = uint8_t(steps_(dz::Mt64::temper(b[i])));
        count_ = b.size();
        at_ = 0;
    }
    dz::Mt64& e_;
    const NumberSteps& steps_;
    size_t at_ = 0, count_ = 0;  // numbers_[0 .. count_) are the block's, at_ of them taken
    uint8_t numbers_[dz::Mt64::kSize];
};

// stopOn's callable, so that the engine can read the flag itself instead of calling through
// std::function before every draw.
struct FlagStop {
    const std::atomic<bool>* flag;
    bool operator()() const { return flag->load(std::memory_order_relaxed); }
};
}  // namespace

int drawNumber(dz::Random& rng) { return drawOne(rng); }

long long countCombinations(int n, int k) {
    // An empty product over an empty factorial when n < k (validate refuses that before).
    return n < k ? 1 : dz::roundHalfEven(dz::countCombinations(n, k));
}

StopFn stopOn(const std::atomic<bool>& flag) { return FlagStop{&flag}; }

QStringList useLines(const std::array<long long, 21>& uses) {
    QStringList out;
    for (int n = 1; n <= 20; ++n)
        if (uses[n] != 0) out << dz::format(n, "00") + QStringLiteral("  ") + dz::str(uses[n]);
    return out;
}

// ---------------------------------------------------------------------------------------------
// Validation

namespace {
Message critical(const QString& text) { return Message{text, dz::signature(), MessageIcon::Critical}; }

QString sumMessage(const char* head, int sum) {
    return QString::fromUtf8(head) + QLatin1Char('\r') + QString(35, QLatin1Char(' ')) + dz::str(sum);
}
}  // namespace

Validation validate(const GenInputs& in) {
    Validation v;
    v.inputs = in;
    const long long t = in.type;
    const long long n = countOf(in.chosen);
    const long long r = in.rows;
    const long long a = in.overlap;
    auto fail = [&](const char* text) {
        v.error = critical(QString::fromUtf8(text));
        return v;
    };
    if (t < 2 || t > 8) return fail("A játéktipus 2-8 közötti lehet !");
    if (in.groups) {
        const GroupLimits& g = in.groups->limits;
        if (t < g.minSum) {
            v.error = critical(sumMessage("A játéktipus minimuma a csoportok minimumának összege !", g.minSum));
            return v;
        }
        if (t > g.maxSum) {
            v.error = critical(sumMessage("A játéktipus maximuma a csoportok maximumának összege !", g.maxSum));
            return v;
        }
    }
    if (n == 0) return fail("Nincs szám kiválasztva !");
    if (t > n) return fail("Játéktipus, kiválasztott számsor hiba !");
    if (r <= 0) return fail("Nincs a generálandó sorok száma megadva !");  // a negative R too
    // The limit holds for the R typed in; the adjustment may raise it past (to 32739 with t = 3, N = 7).
    if (r > dz::kRowLimit && !in.rowsAdjusted) return fail("Maximum 32736 sor adható meg !");
    if (a > 7 || a < 1) return fail("A kulcs sorai közötti maximális azonosság 1 <-> 7 !");
    if (t <= a) return fail("A játéktipus és az  azonosság különbsége minimum 1 !");

    long long rows = r;
    if (!in.groups) {
        if (!in.adjust) {
            v.quota = (t * rows + n - 1) / n;  // t·R / N raised to the next whole number
        } else {
            while ((t * rows) % n != 0) ++rows;
            v.quota = t * rows / n;
            if (rows != r) {
                v.adjustment = Message{QStringLiteral("A szelvényszámot módosítottam, hogy generáláskor") +
                                           QLatin1Char('\r') +
                                           QStringLiteral("minden szám kb. ugyanannyiszor szerepelhessen !"),
                                       dz::signature(), MessageIcon::Question};
                v.text1 = QString::number(rows);
            }
        }
        v.combinations = countCombinations(int(n), int(t));
    }
    v.inputs.rows = rows;
    v.inputs.rowsAdjusted = in.rowsAdjusted || rows != r;
    v.label4 = dz::str(t * rows / n);
    return v;
}

// ---------------------------------------------------------------------------------------------
// Overlap test

OverlapSet::OverlapSet() : bits_(size_t(1) << 14, 0) {}

void OverlapSet::reset(int type, int overlap) {
    std::fill(bits_.begin(), bits_.end(), 0);
    if (type != type_ || overlap != overlap_ || subsets_.empty()) {
        type_ = type;
        overlap_ = overlap;
        subsets_.clear();
        const int k = overlap + 1;
        if (k >= 1 && k <= type) {
            for (unsigned s = 0; s < (1u << type); ++s) {
                if (std::popcount(s) != k) continue;
                std::vector<uint8_t> idx;
                for (int i = 0; i < type; ++i)
                    if (s & (1u << i)) idx.push_back(uint8_t(i));
                subsets_.push_back(std::move(idx));
            }
        }
    }
}

namespace {
// The numbers of a row (bit positions 0..19 of mask >> 1), ascending.
inline int positions(NumberMask m, uint8_t* out) {
    uint32_t x = (m & kAllNumbers) >> 1;
    int c = 0;
    while (x) {
        out[c++] = uint8_t(std::countr_zero(x));
        x &= x - 1;
    }
    return c;
}
}  // namespace

bool OverlapSet::overlaps(NumberMask candidate) const {
    uint8_t p[20];
    const int c = positions(candidate, p);
    if (c != type_) {
        // Not a row of the key's type: compare subsets of what it has (never for generated rows).
        return false;
    }
    for (const auto& s : subsets_) {
        uint32_t sub = 0;
        for (uint8_t i : s) sub |= 1u << p[i];
        if (bits_[sub >> 6] & (uint64_t(1) << (sub & 63))) return true;
    }
    return false;
}

void OverlapSet::add(NumberMask row) {
    uint8_t p[20];
    const int c = positions(row, p);
    if (c != type_) return;
    for (const auto& s : subsets_) {
        uint32_t sub = 0;
        for (uint8_t i : s) sub |= 1u << p[i];
        bits_[sub >> 6] |= uint64_t(1) << (sub & 63);
    }
}

// ---------------------------------------------------------------------------------------------
// The generation

namespace {

struct SortedKey {
    std::vector<QString> rows;
    std::vector<NumberMask> masks;
};

SortedKey sortedKey(const std::vector<NumberMask>& made) {
    std::vector<std::pair<QString, NumberMask>> v;
    v.reserve(made.size());
    for (NumberMask m : made) v.emplace_back(rowText(m), m);
    std::sort(v.begin(), v.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    SortedKey k;
    k.rows.reserve(v.size());
    k.masks.reserve(v.size());
    for (auto& [s, m] : v) {
        k.rows.push_back(std::move(s));
        k.masks.push_back(m);
    }
    return k;
}

long long sumSquares(const std::array<long long, 21>& u) {
    long long s = 0;
    for (int n = 1; n <= 20; ++n) s += u[n] * u[n];
    return s;
}

QString plainNumber(double m) {
    if (std::isfinite(m) && m == std::floor(m) && std::fabs(m) < 1e15) return QString::number(static_cast<long long>(m));
    return QString::number(m, 'g', 15);
}

struct RunOutcome {
    std::vector<NumberMask> made;  // accepted rows in the order made
    std::array<long long, 21> uses{};
    RunEnd end = RunEnd::Slots;
};

class Engine {
public:
    Engine(const Validation& v, dz::Random& rng, const StopFn& stop, const ProgressFn& progress, int run,
           std::optional<QString>& label1)
        : in_(v.inputs), rng_(rng), stop_(stop), progress_(progress), run_(run), label1_(label1) {
        t_ = int(in_.type);
        a_ = int(in_.overlap);
        r_ = in_.rows;
        q_ = v.quota;
        comb_ = v.combinations;
        chosen_ = in_.chosen & kAllNumbers;
        groups_ = in_.groups;
        if (const FlagStop* f = stop.target<FlagStop>()) flag_ = f->flag;
    }

    RunOutcome run() {
        RunOutcome out;
        out.made.reserve(size_t(std::min<long long>(r_, dz::kRowLimit + 64)));
        overlap_.reset(t_, a_);
        if (in_.reseedEachRun) rng_.reseedFromClock();
        report(Progress::Kind::RunStarted, 0, out.made);
        std::optional<int> slotRows;  // rows after the last slot finished
        if (rng_.plain()) {
            Straight draw(rng_.engine());
            runWith(draw, out, slotRows);
        } else {
            ViaNext draw(rng_);
            runWith(draw, out, slotRows);
        }
        if (slotRows) label1_ = dz::str(*slotRows);
        return out;
    }

private:
    bool stopNow() const { return flag_ ? flag_->load(std::memory_order_relaxed) : (stop_ && stop_()); }

    template <class Draw>
    void runWith(Draw& draw, RunOutcome& out, std::optional<int>& slotRows) {
        auto& uses = out.uses;
        auto& made = out.made;

        const int attempts = groups_ ? 100 : 10;
        const long long slotBudget = 5 * r_;
        using Clock = std::chrono::steady_clock;
        auto lastReport = Clock::now();
        const auto interval = std::chrono::milliseconds(std::max(0, in_.progressIntervalMs));

        std::array<int, kGroups + 1> gc{};
        NumberMask full = 0;  // the numbers used Q times (no quota with groups)
        for (long long k = 1; k <= slotBudget; ++k) {
            bool stopped = false, drawsOut = false;
            for (int att = 1; att <= attempts; ++att) {
                NumberMask row = 0;
                int filled = 0, draws = 0;
                // Before every draw: a stop asked for, or the row's 1000 draws used up.
                auto halted = [&] {
                    stopped = stopNow();
                    drawsOut = !stopped && ++draws > 1000;
                    return stopped || drawsOut;
                };
                if (groups_) {
                    gc.fill(0);
                    while (filled < t_) {
                        if (halted()) break;
                        const int n = draw();
                        const NumberMask bit = 1u << n;
                        if (!(chosen_ & bit) || (row & bit)) continue;
                        const int g = groups_->groupOf[n];
                        if (g >= 1 && g <= kGroups) {
                            if (gc[g] + 1 > groups_->limits.max[g]) continue;
                            ++gc[g];
                        }
                        row |= bit;
                        ++uses[n];
                        ++filled;
                    }
                } else {
                    // A number is taken when it is chosen, not yet in the row and not used Q times.
                    NumberMask open = chosen_ & ~full;
                    while (filled < t_) {
                        if (halted()) break;
                        // Without a branch on the number: most draws near the end are refused,
                        // at random.
                        const int n = draw();
                        const NumberMask take = open & (1u << n);
                        const int taken = take != 0;
                        open ^= take;
                        row |= take;
                        uses[n] += taken;
                        full |= take & (0u - NumberMask(uses[n] == q_));
                        filled += taken;
                    }
                }
                if (stopped || drawsOut) {
                    takeBack(uses, row);
                    full &= ~row;
                    break;
                }
                bool refused = false;
                if (groups_)
                    for (int g = 1; g <= kGroups && !refused; ++g)
                        if (gc[g] < groups_->limits.min[g]) refused = true;
                if (!refused) refused = overlap_.overlaps(row);
                if (refused) {
                    takeBack(uses, row);
                    full &= ~row;
                    continue;
                }
                overlap_.add(row);
                made.push_back(row);
                break;
            }
            if (drawsOut) {
                out.end = RunEnd::Draws;  // straight to the end of the run (step 13)
                return;
            }
            // Step 12
            const int rows = int(made.size());
            slotRows = rows;
            const auto now = Clock::now();
            if (progress_ && (interval.count() == 0 || now - lastReport >= interval)) {
                lastReport = now;
                report(Progress::Kind::Slot, k, made);
            }
            if (rows == r_) {
                out.end = RunEnd::Rows;
                return;
            }
            if (!groups_ && rows == comb_) {
                out.end = RunEnd::Combinations;
                return;
            }
            if (stopped || stopNow()) {
                out.end = RunEnd::Stopped;
                return;
            }
        }
        out.end = RunEnd::Slots;
    }

    void takeBack(std::array<long long, 21>& uses, NumberMask row) {
        for (uint32_t x = row; x; x &= x - 1) --uses[std::countr_zero(x)];
    }
    void report(Progress::Kind kind, long long k, const std::vector<NumberMask>& made) {
        if (!progress_) return;
        Progress p;
        p.kind = kind;
        p.run = run_;
        p.rowCount = int(made.size());
        p.slot = k;
        p.label1 = dz::str(p.rowCount);
        p.label7 = dz::str(k);
        p.rowsSoFar = std::span<const NumberMask>(made.data(), made.size());
        progress_(p);
    }

    GenInputs in_;
    dz::Random& rng_;
    const StopFn& stop_;
    const ProgressFn& progress_;
    int run_;
    std::optional<QString>& label1_;
    int t_ = 0, a_ = 0;
    long long r_ = 0, q_ = 0, comb_ = 0;
    NumberMask chosen_ = 0;
    const GroupRule* groups_ = nullptr;
    const std::atomic<bool>* flag_ = nullptr;  // stop_ is stopOn(*flag_)
    OverlapSet overlap_;
};

}  // namespace

GenerationResult generate(const GenInputs& inputs, dz::Random& rng, const StopFn& stop, const ProgressFn& progress) {
    GenerationResult res;
    double m = inputs.maxRuns;  // M (0 after a stop)
    int counter = 0;            // run counter
    std::vector<NumberMask> best;  // List3
    std::array<long long, 21> bestUses{};
    GenInputs in = inputs;

    for (;;) {
        const Validation v = validate(in);
        if (!v.ok()) return res;  // the key list stays empty (cannot happen on a rerun)
        in = v.inputs;
        Engine engine(v, rng, stop, progress, res.runs + 1, res.label1);
        RunOutcome run = engine.run();
        ++res.runs;
        res.lastEnd = run.end;
        const bool stopped = run.end == RunEnd::Stopped;
        if (stopped) {
            m = 0;
            res.stopped = true;
        }
        const int rows = int(run.made.size());
        const QStringList list2 = useLines(run.uses);

        auto finish = [&](const std::vector<NumberMask>& made, const std::array<long long, 21>& uses, bool fromBest) {
            SortedKey k = sortedKey(made);
            res.rows = std::move(k.rows);
            res.masks = std::move(k.masks);
            res.uses = uses;
            res.list2 = useLines(uses);
            res.label7 = dz::str(static_cast<long long>(res.rows.size()));
            res.fromBest = fromBest;
        };

        // Steps 13 and 14
        bool another = false;
        QString counterText;
        if (m != 0) {
            ++counter;  // step 16
            counterText = QString::number(counter);
            another = counter < m && (rows < in.rows || in.repeatAlways);
        }
        if (progress) {
            Progress p;
            p.kind = Progress::Kind::RunEnded;
            p.run = res.runs;
            p.rowCount = rows;
            p.label1 = res.label1.value_or(QString());
            p.label7 = dz::str(rows);
            p.list2 = list2;
            p.text3 = counterText;
            p.end = run.end;
            p.rowsSoFar = std::span<const NumberMask>(run.made.data(), run.made.size());
            progress(p);
        }
        if (m == 0) {  // step 15: one run only, or a stopped run
            finish(run.made, run.uses, false);
            return res;
        }
        res.text3 = counterText;
        if (another) {  // step 17: keep the better run
            const int bestRows = int(best.size());
            if (rows >= bestRows) {
                const bool better = rows > bestRows;
                const long long sNow = sumSquares(run.uses), sBest = sumSquares(bestUses);
                if (better || sBest == 0 || sNow < sBest) {
                    best = run.made;
                    bestUses = run.uses;
                }
            }
            continue;
        }
        // Step 18
        if (int(best.size()) >= rows)
            finish(best, bestUses, true);
        else
            finish(run.made, run.uses, false);
        res.text3 = plainNumber(m);
        return res;
    }
}

}  // namespace dz::keygen
