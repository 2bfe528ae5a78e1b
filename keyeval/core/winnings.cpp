#include "keyeval/core/winnings.h"

#include "common/core/popcountclones.h"
#include "common/core/textfmt.h"
#include "keyeval/core/subsetsums.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <optional>
#include <thread>

namespace dz::keyeval {

long long playPrize(int hits, bool plus, int minHits) {
    if (hits < 0 || hits > 8 || hits < minHits) return 0;
    if (plus) return kPlusPrize[size_t(hits)];
    return hits > 4 ? kPlainPrize[size_t(hits)] : 0;
}

namespace {

// What one row earns in a draw by its hit count, for the two kinds of draw: one whose extra
// number is played (one plus play and k − 1 plain plays a row) and one whose is not (k plain
// plays). Slots past 8 stay 0, so any popcount indexes safely.
struct DrawTables {
    alignas(64) std::array<int32_t, 32> withPlus{};
    alignas(64) std::array<int32_t, 32> plainOnly{};
    // The same as weights of the subset sums.
    SubsetCounts::Weights plusWeights, plainWeights;
};

DrawTables makeTables(int k, int minHits) {
    DrawTables t;
    std::array<int64_t, 9> plus{}, plain{};
    for (int h = 0; h <= 8; ++h) {
        t.withPlus[size_t(h)] = int32_t(playPrize(h, true, minHits) + (k - 1) * playPrize(h, false, minHits));
        t.plainOnly[size_t(h)] = int32_t(k * playPrize(h, false, minHits));
        plus[size_t(h)] = t.withPlus[size_t(h)];
        plain[size_t(h)] = t.plainOnly[size_t(h)];
    }
    t.plusWeights = SubsetCounts::weightsOf(plus);
    t.plainWeights = SubsetCounts::weightsOf(plain);
    return t;
}

int fieldHits(const std::array<int8_t, 8>& fields, uint32_t drawn) {
    int h = 0;
    for (int8_t f : fields) {
        if (f == 0) break;
        if (f > 0 && f <= 20 && (drawn >> f & 1u)) ++h;
    }
    return h;
}

// One thread's share of a run. The hot loop: a popcount and a table load a row and draw. The
// popcnt clone is chosen at load time where the processor has the instruction.
struct RunShare {
    const dz::DrawRecord* records;
    std::span<const uint32_t> rows;
    std::span<const RepeatRow> repeats;
    const std::array<bool, 5>* extra;
    const DrawTables* tables;
    const SubsetCounts* subsets;  // set when the key's distributions come from its subset counts
    long long cost;
    long long* nets;   // slot d - keptFirst for every kept draw d
    size_t keptFirst;
    Progress* progress;
    std::atomic<bool>* stop;
};

DZ_POPCOUNT_CLONES
long long runShare(const RunShare& s, size_t from, size_t to) {
    const uint32_t* rows = s.rows.data();
    const size_t n = s.rows.size();
    long long sum = 0;
    for (size_t d = from; d < to; ++d) {
        if (s.progress && d > from && (d - from) % 512 == 0) {
            s.progress->recordsRead += 512;
            if (s.progress->stop.load(std::memory_order_relaxed)) {
                *s.stop = true;
                break;
            }
        }
        const dz::DrawRecord& rec = s.records[d];
        const uint32_t drawn = rec.mask;
        const bool plus = rec.extra >= 1 && rec.extra <= 4 && (*s.extra)[size_t(rec.extra)];
        const int32_t* table = plus ? s.tables->withPlus.data() : s.tables->plainOnly.data();
        long long net = -s.cost;
        if (s.subsets) {
            net += s.subsets->weightedSum(drawn, plus ? s.tables->plusWeights : s.tables->plainWeights);
        } else {
            long long a0 = 0, a1 = 0, a2 = 0, a3 = 0;
            size_t i = 0;
            for (; i + 4 <= n; i += 4) {
                a0 += table[std::popcount(rows[i] & drawn)];
                a1 += table[std::popcount(rows[i + 1] & drawn)];
                a2 += table[std::popcount(rows[i + 2] & drawn)];
                a3 += table[std::popcount(rows[i + 3] & drawn)];
            }
            for (; i < n; ++i) a0 += table[std::popcount(rows[i] & drawn)];
            net += a0 + a1 + a2 + a3;
        }
        for (const RepeatRow& rep : s.repeats) {
            if (rep.first >= n) continue;
            net += table[size_t(fieldHits(rep.second, drawn))] - table[size_t(std::popcount(rows[rep.first] & drawn))];
        }
        sum += net;
        if (d >= s.keptFirst) s.nets[d - s.keptFirst] = net;
    }
    return sum;
}

}  // namespace

// What a run prepares once for its key and settings: the prize tables, the stake of a draw and,
// for a large key, its subset counts.
struct WinningsEngine::Plan {
    std::span<const uint32_t> rowMasks;
    std::span<const RepeatRow> repeats;
    std::array<bool, 5> extra{};
    DrawTables tables;
    long long cost = 0;
    std::optional<SubsetCounts> subsets;
};

WinningsEngine::WinningsEngine(std::span<const uint32_t> rowMasks, std::span<const RepeatRow> repeats,
                               const std::array<bool, 5>& extra, int minHits, size_t draws, HitMethod method)
    : plan_(std::make_unique<Plan>()) {
    Plan& p = *plan_;
    p.rowMasks = rowMasks;
    p.repeats = repeats;
    p.extra = extra;
    int k = 0;
    for (size_t e = 1; e <= 4; ++e) k += extra[e] ? 1 : 0;
    p.tables = makeTables(k, minHits);
    p.cost = static_cast<long long>(rowMasks.size()) * k;
    // A large key's nets come from its distributions by subset sums (rows of more than eight
    // numbers, which no reader makes, are always scanned).
    const bool small = std::all_of(rowMasks.begin(), rowMasks.end(),
                                   [](uint32_t m) { return std::popcount(m & 0x1FFFFEu) <= 8; });
    if (small && useSubsetSums(method, rowMasks.size(), draws)) p.subsets.emplace(rowMasks);
}

WinningsEngine::~WinningsEngine() = default;

long long WinningsEngine::drawCost() const { return plan_->cost; }

std::optional<long long> WinningsEngine::run(std::span<const dz::DrawRecord> records, size_t first, size_t last,
                                             long long* nets, size_t keptFirst, Progress* progress) const {
    const Plan& p = *plan_;
    const size_t count = last - first + 1;
    std::atomic<bool> stop = false;
    const RunShare share{records.data(), p.rowMasks, p.repeats, &p.extra, &p.tables, p.subsets ? &*p.subsets : nullptr,
                         p.cost, nets, keptFirst, progress, &stop};
    auto runPart = [&share](size_t from, size_t to, long long* total) { *total = runShare(share, from, to); };

    // Each draw stands alone, so the draws are cut into one run a thread; every thread writes its
    // own slots of the kept nets and its own total.
    const double work = double(count) * double(p.rowMasks.size() + p.repeats.size() + 1);
    size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 16);
    if (work < 4e6) threads = 1;
    threads = std::min(threads, count);
    std::vector<long long> totals(threads, 0);
    if (threads == 1) {
        runPart(first, last + 1, &totals[0]);
    } else {
        std::vector<std::jthread> pool;
        pool.reserve(threads);
        for (size_t t = 0; t < threads; ++t) {
            const size_t from = first + count * t / threads, to = first + count * (t + 1) / threads;
            pool.emplace_back(runPart, from, to, &totals[t]);
        }
    }
    if (stop) return std::nullopt;
    long long sum = 0;
    for (long long t : totals) sum += t;
    return sum;
}

StreamedWinnings streamWinnings(const DrawFile& file, const RunSettings& settings, const KeyRows& key,
                                Progress* progress) {
    StreamedWinnings out;
    WinningsResult& r = out.money;
    Span& s = out.span;
    r.rows = static_cast<long long>(key.rowCount());
    const QByteArray fromBytes = settings.fromKey.toLatin1(), toBytes = settings.toKey.toLatin1();
    const std::string_view from(fromBytes.constData(), size_t(fromBytes.size()));
    const std::string_view to(toBytes.constData(), size_t(toBytes.size()));

    // The period's records gathered a block at a time (one block holds as many draws as the
    // result list keeps), each block evaluated as soon as it is full.
    constexpr size_t kBlock = size_t(dz::kRowLimit);
    std::vector<dz::DrawRecord> block;
    size_t blockLine = 0;  // line index of block[0]
    std::optional<WinningsEngine> prepared;
    // The latest kRowLimit draws' keys and nets, kept in a ring by draw count.
    std::vector<ResultRow> ring;
    long long draws = 0, total = 0;
    bool stopped = false;

    auto flush = [&](bool last) {
        if (block.empty() || stopped) return;
        // Subset sums pay by the length of the run: a period past one block is long.
        if (!prepared)
            prepared.emplace(key.masks, key.repeats, settings.extra, settings.minHits, last ? block.size() : SIZE_MAX,
                             settings.hitMethod);
        std::vector<long long> nets(block.size());
        if (progress) progress->recordsRead.store(int64_t(blockLine), std::memory_order_relaxed);
        const auto sum = prepared->run(block, 0, block.size() - 1, nets.data(), 0, progress);
        if (!sum) {
            stopped = true;
            return;
        }
        total += *sum;
        const long long base = draws - static_cast<long long>(block.size());
        for (size_t i = 0; i < nets.size(); ++i) ring[size_t(base + static_cast<long long>(i)) % kBlock].net = nets[i];
        block.clear();
        if (progress) progress->recordsRead.store(int64_t(blockLine + nets.size()), std::memory_order_relaxed);
    };

    // Up to the period the progress counts the lines read; within it, the draws evaluated.
    const PeriodPass pass = passPeriod(file, from, to, progress, false, [&](const DrawLine& l, std::string_view k) {
        // The key's bad line ends the run in its first draw.
        if (key.badLine) return false;
        out.lastKey = std::string(k);
        if (block.empty()) blockLine = l.index;
        block.push_back(wholeLineRecord(l));
        // The ring grows to its size with the first draws, then wraps.
        if (ring.size() < kBlock) ring.emplace_back();
        ResultRow& row = ring[size_t(draws) % kBlock];
        row.keySize = uint8_t(k.size());
        std::copy(k.begin(), k.end(), row.key.begin());
        ++draws;
        if (block.size() == kBlock) flush(false);
        return !stopped;
    });
    s = pass.span;
    out.firstKey = pass.reachedKey;
    stopped = stopped || pass.stopped;
    if (!stopped) flush(true);
    if (stopped) {
        out = StreamedWinnings{};
        out.money.stopped = true;
        out.money.rows = static_cast<long long>(key.rowCount());
        return out;
    }
    if (!s.any) {
        r.recordsRead = s.recordsRead;
        return out;
    }
    r.any = true;
    if (key.badLine) {
        // A reread per draw meets the bad line in the first draw, before any result is listed.
        r.badLine = true;
        r.recordsRead = s.first + 1;
        return out;
    }
    r.draws = draws;
    r.stake = prepared ? draws * prepared->drawCost() : 0;
    r.balance = total;
    r.winnings = r.stake + r.balance;
    r.recordsRead = s.recordsRead;
    const size_t kept = size_t(std::min<long long>(draws, static_cast<long long>(kBlock)));
    r.keptFirst = s.last + 1 - kept;
    out.rows.reserve(kept);
    for (long long d = draws - static_cast<long long>(kept); d < draws; ++d) out.rows.push_back(ring[size_t(d) % kBlock]);
    r.nets.reserve(kept);
    for (const ResultRow& row : out.rows) r.nets.push_back(row.net);
    if (progress) progress->recordsRead = int64_t(r.recordsRead);
    return out;
}

QString resultLine(std::string_view drawKey, long long net) {
    return keyPieces(drawKey) + QStringLiteral("   ") + dz::str(net);
}

QString ResultLines::line(int i) const {
    if (i < 0 || size_t(i) >= rows_.size()) return {};
    const ResultRow& r = rows_[size_t(i)];
    return resultLine({r.key.data(), r.keySize}, r.net);
}

std::vector<long long> ResultLines::nets() const {
    std::vector<long long> out;
    out.reserve(rows_.size());
    for (const ResultRow& r : rows_) out.push_back(r.net);
    return out;
}

}  // namespace dz::keyeval
