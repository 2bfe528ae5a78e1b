#include "keyeval/core/evaluation.h"

#include "common/core/popcountclones.h"
#include "common/core/cp1250.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "keyeval/core/rowindex.h"
#include "keyeval/core/subsetsums.h"

#include <QFile>
#include <algorithm>
#include <bit>
#include <cmath>

// The vector scan where the processor family has it (chosen at run time); DIZOV_SCALAR builds the
// plain scan alone, as other processors run it.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(DIZOV_SCALAR)
#define DZ_X86_GNU 1
#include <immintrin.h>
#else
#define DZ_X86_GNU 0
#endif

namespace dz::keyeval {

namespace {

// Longest line kept whole when reading a key; a longer one cannot be a key line.
constexpr size_t kMaxKeyLine = kLineTextLimit;

int numberValue(std::string_view field) {
    // Two digits and a blank (or the line's end), as every generated row has them: their value.
    if (field.size() >= 2 && unsigned(field[0] - '0') <= 9 && unsigned(field[1] - '0') <= 9 &&
        (field.size() == 2 || field[2] == ' '))
        return (field[0] - '0') * 10 + (field[1] - '0');
    return static_cast<int>(roundHalfEven(std::clamp(val(field), -1000.0, 1000.0)));
}

}  // namespace

std::optional<ParsedRow> parseKeyLine(std::string_view line) {
    size_t b = 0, e = line.size();
    while (b < e && line[b] == ' ') ++b;
    while (e > b && line[e - 1] == ' ') --e;
    if (e - b != size_t(kKeyLineLength)) return std::nullopt;
    // The fields are read from the line without its leading blanks, so that any indent reads alike.
    const std::string_view t = line.substr(b);
    ParsedRow r;
    r.fields.fill(0);
    for (int i = 0; i < 8; ++i) {
        const int n = numberValue(mid(t, size_t(3 * i + 1), 3));
        if (n < 0 || n > 20) {
            r.fields[size_t(i)] = -1;  // not a number of the game: passed over
            continue;
        }
        if (n == 0) break;  // a 00 field ends the row
        const uint32_t bit = 1u << n;
        if (r.mask & bit) r.repeats = true;
        r.mask |= bit;
        r.fields[size_t(i)] = static_cast<int8_t>(n);
    }
    return r;
}

std::optional<KeyRows> readKey(const QString& path) {
    KeyRows k;
    // A key holds at most the rows a list takes (the key choice loads no more); what a file holds
    // past them is not read, nor more of it than those rows can take.
    const bool opened = forEachLine(path, kMaxKeyLine, readBudget(size_t(kRowLimit) + 1, kMaxKeyLine),
                                    [&](std::string_view line, bool cut) {
        if (!line.empty() && k.masks.size() >= size_t(kRowLimit)) return false;
        ++k.fileLines;
        if (line.empty() && !cut) return true;
        const auto row = cut ? std::nullopt : parseKeyLine(line);
        if (!row) {
            k.badLine = true;
            return false;
        }
        if (row->repeats) k.repeats.emplace_back(uint32_t(k.masks.size()), row->fields);
        k.masks.push_back(row->mask);
        k.numbers |= row->mask;
        if (k.shown->count() < kRowLimit) {
            // line is at most kMaxKeyLine long here (a longer one is cut, no key line)
            std::array<char, kMaxKeyLine + 2> text;
            text[0] = text[1] = ' ';
            const size_t n = std::min(line.size(), kMaxKeyLine);
            std::copy(line.begin(), line.begin() + long(n), text.begin() + 2);
            k.shown->append(std::string_view(text.data(), n + 2));
        }
        return true;
    });
    if (!opened) return std::nullopt;
    return k;
}

namespace {
int repeatHits(const std::array<int8_t, 8>& fields, uint32_t drawMask) {
    int h = 0;
    for (int8_t n : fields)
        if (n > 0 && (drawMask >> n & 1u)) ++h;
    return h;
}
}  // namespace

int KeyRows::hitsAmongRepeats(size_t i, uint32_t drawMask) const {
    auto it = std::lower_bound(repeats.begin(), repeats.end(), uint32_t(i),
                               [](const auto& r, uint32_t row) { return r.first < row; });
    if (it != repeats.end() && it->first == i) return repeatHits(it->second, drawMask);
    return std::popcount(masks[i] & drawMask);
}

namespace {

// The hot loop: the hit count of every row against one draw. Four tallies break the chain of
// increments on one slot; rows at or above the threshold are noted in row order when cand is set.
template <bool Collect>
inline size_t scanRowsImpl(const uint32_t* m, size_t n, uint32_t dm, int thr, uint32_t* hist, uint32_t* cand) {
    uint32_t h4[4][16] = {};
    size_t c = 0;
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const int a = std::popcount(m[i] & dm), b = std::popcount(m[i + 1] & dm);
        const int x = std::popcount(m[i + 2] & dm), y = std::popcount(m[i + 3] & dm);
        ++h4[0][a];
        ++h4[1][b];
        ++h4[2][x];
        ++h4[3][y];
        if constexpr (Collect) {
            cand[c] = uint32_t(i);
            c += a >= thr;
            cand[c] = uint32_t(i + 1);
            c += b >= thr;
            cand[c] = uint32_t(i + 2);
            c += x >= thr;
            cand[c] = uint32_t(i + 3);
            c += y >= thr;
        }
    }
    for (; i < n; ++i) {
        const int a = std::popcount(m[i] & dm);
        ++h4[0][a];
        if constexpr (Collect) {
            cand[c] = uint32_t(i);
            c += a >= thr;
        }
    }
    for (int h = 0; h <= 8; ++h) hist[h] = h4[0][h] + h4[1][h] + h4[2][h] + h4[3][h];
    return c;
}

using ScanFn = size_t (*)(const uint32_t*, size_t, uint32_t, int, uint32_t*, uint32_t*);

size_t scanPlain(const uint32_t* m, size_t n, uint32_t dm, int thr, uint32_t* hist, uint32_t* cand) {
    return cand ? scanRowsImpl<true>(m, n, dm, thr, hist, cand) : scanRowsImpl<false>(m, n, dm, thr, hist, cand);
}

#if DZ_X86_GNU
__attribute__((target("popcnt"))) size_t scanPopcnt(const uint32_t* m, size_t n, uint32_t dm, int thr, uint32_t* hist,
                                                     uint32_t* cand) {
    return cand ? scanRowsImpl<true>(m, n, dm, thr, hist, cand) : scanRowsImpl<false>(m, n, dm, thr, hist, cand);
}

// The histogram alone, eight rows at a time: a nibble popcount through a table, then a one-hot
// nibble per row (hit counts 0..7; 8 is what is left) summed in a register for 15 steps.
// For every 8-bit pattern of rows at or above the threshold, their lane numbers packed to the front.
struct CompressTable {
    alignas(32) uint32_t idx[256][8];
    CompressTable() {
        for (int b = 0; b < 256; ++b) {
            int k = 0;
            for (int l = 0; l < 8; ++l)
                if (b >> l & 1) idx[b][k++] = uint32_t(l);
            for (; k < 8; ++k) idx[b][k] = 0;
        }
    }
};
const CompressTable kCompress;

template <bool Collect>
__attribute__((target("avx2,popcnt"))) inline size_t scanAvx2(const uint32_t* m, size_t n, uint32_t dm, int thr,
                                                               uint32_t* hist, uint32_t* cand) {
    const __m256i lut = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0, 1, 1, 2, 1, 2, 2, 3, 1, 2,
                                         2, 3, 2, 3, 3, 4);
    const __m256i low4 = _mm256_set1_epi8(0x0F), ones8 = _mm256_set1_epi8(1), ones16 = _mm256_set1_epi16(1);
    const __m256i one32 = _mm256_set1_epi32(1), nibble = _mm256_set1_epi32(0xF), dmv = _mm256_set1_epi32(int(dm));
    const __m256i below = _mm256_set1_epi32(thr - 1), lanes8 = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i tot[8];
    for (auto& t : tot) t = _mm256_setzero_si256();
    size_t i = 0, c = 0;
    while (i + 8 <= n) {
        __m256i acc = _mm256_setzero_si256();
        for (int step = 0; step < 15 && i + 8 <= n; ++step, i += 8) {
            const __m256i v = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(m + i)), dmv);
            const __m256i c8 = _mm256_add_epi8(_mm256_shuffle_epi8(lut, _mm256_and_si256(v, low4)),
                                               _mm256_shuffle_epi8(lut, _mm256_and_si256(_mm256_srli_epi32(v, 4), low4)));
            const __m256i c32 = _mm256_madd_epi16(_mm256_maddubs_epi16(c8, ones8), ones16);
            acc = _mm256_add_epi32(acc, _mm256_sllv_epi32(one32, _mm256_slli_epi32(c32, 2)));
            if constexpr (Collect) {
                // The qualifying rows' numbers, packed, written 8 at a time (cand has room past n).
                const unsigned bits = unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(c32, below))));
                const __m256i perm = _mm256_load_si256(reinterpret_cast<const __m256i*>(kCompress.idx[bits]));
                const __m256i rowsIdx = _mm256_add_epi32(_mm256_set1_epi32(int(i)), lanes8);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(cand + c), _mm256_permutevar8x32_epi32(rowsIdx, perm));
                c += size_t(std::popcount(bits));
            }
        }
        for (int h = 0; h < 8; ++h)
            tot[h] = _mm256_add_epi32(tot[h], _mm256_and_si256(_mm256_srlv_epi32(acc, _mm256_set1_epi32(4 * h)), nibble));
    }
    uint32_t counted = 0;
    for (int h = 0; h < 8; ++h) {
        alignas(32) uint32_t lanes[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), tot[h]);
        hist[h] = lanes[0] + lanes[1] + lanes[2] + lanes[3] + lanes[4] + lanes[5] + lanes[6] + lanes[7];
        counted += hist[h];
    }
    hist[8] = uint32_t(i) - counted;
    for (; i < n; ++i) {
        const int h = std::popcount(m[i] & dm);
        ++hist[h];
        if constexpr (Collect) {
            cand[c] = uint32_t(i);
            c += h >= thr;
        }
    }
    return c;
}

__attribute__((target("avx2,popcnt"))) size_t scanAvx2Fn(const uint32_t* m, size_t n, uint32_t dm, int thr,
                                                         uint32_t* hist, uint32_t* cand) {
    return cand ? scanAvx2<true>(m, n, dm, thr, hist, cand) : scanAvx2<false>(m, n, dm, thr, hist, cand);
}

// The rows at or above the threshold alone (their distribution is known), sixteen rows at a
// time: a popcount of each lane, the qualifying rows' numbers packed and stored 16 at a time
// (cand has room past n).
__attribute__((target("avx512f,avx512vpopcntdq"))) size_t collectAvx512(const uint32_t* m, size_t n, uint32_t dm,
                                                                        int thr, uint32_t* cand) {
    const __m512i dmv = _mm512_set1_epi32(int(dm)), thrv = _mm512_set1_epi32(thr), step = _mm512_set1_epi32(16);
    __m512i rows = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    size_t i = 0, c = 0;
    for (; i + 16 <= n; i += 16, rows = _mm512_add_epi32(rows, step)) {
        const __m512i hits = _mm512_popcnt_epi32(_mm512_and_si512(_mm512_loadu_si512(m + i), dmv));
        const __mmask16 at = _mm512_cmpge_epi32_mask(hits, thrv);
        _mm512_storeu_si512(cand + c, _mm512_maskz_compress_epi32(at, rows));
        c += size_t(std::popcount(unsigned(at)));
    }
    for (; i < n; ++i) {
        cand[c] = uint32_t(i);
        c += std::popcount(m[i] & dm) >= thr;
    }
    return c;
}

#endif  // DZ_X86_GNU

using CollectFn = size_t (*)(const uint32_t*, size_t, uint32_t, int, uint32_t*);

// The rows at or above the threshold through a whole scan, its distribution dropped.
template <ScanFn Scan>
size_t collectByScan(const uint32_t* m, size_t n, uint32_t dm, int thr, uint32_t* cand) {
    uint32_t hist[9];
    return Scan(m, n, dm, thr, hist, cand);
}

// The best scan the processor runs, or with vector off the plain one.
ScanFn scanFn(bool vector) {
#if DZ_X86_GNU
    static const ScanFn best = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")) return &scanAvx2Fn;
        return __builtin_cpu_supports("popcnt") ? &scanPopcnt : &scanPlain;
    }();
    return vector ? best : &scanPlain;
#else
    (void)vector;
    return &scanPlain;
#endif
}

// The same for a scan of the rows at or above a threshold alone.
CollectFn collectFn(bool vector) {
#if DZ_X86_GNU
    static const CollectFn best = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vpopcntdq")) return &collectAvx512;
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")) return &collectByScan<scanAvx2Fn>;
        return __builtin_cpu_supports("popcnt") ? &collectByScan<scanPopcnt> : &collectByScan<scanPlain>;
    }();
    return vector ? best : &collectByScan<scanPlain>;
#else
    (void)vector;
    return &collectByScan<scanPlain>;
#endif
}

// Rows that name a number twice: moved from their mask's class to their real one.
void moveRepeats(const KeyRows& key, uint32_t dm, uint32_t* hist) {
    for (const auto& [row, fields] : key.repeats) {
        --hist[std::popcount(key.masks[row] & dm)];
        ++hist[repeatHits(fields, dm)];
    }
}

// The rows with at least thr hits one by one, rows that name a number twice scored as they score.
size_t rowsByCount(const KeyRows& key, uint32_t dm, int thr, uint32_t* cand) {
    size_t c = 0;
    for (size_t i = 0; i < key.masks.size(); ++i)
        if (key.hits(i, dm) >= thr) cand[c++] = uint32_t(i);
    return c;
}

// One draw over the whole key: hist[h] = rows with h hits; cand (when set) gets the rows with at
// least thr hits, in row order; returns their count.
size_t scanDraw(ScanFn scan, const KeyRows& key, uint32_t dm, int thr, uint32_t* hist, uint32_t* cand) {
    size_t c = scan(key.masks.data(), key.masks.size(), dm, thr, hist, cand);
    if (key.repeats.empty()) return c;
    // Rows that name a number twice: move them to their real class, and rebuild the candidates.
    moveRepeats(key, dm, hist);
    return cand ? rowsByCount(key, dm, thr, cand) : c;
}

// The rows of a draw with at least thr hits, in row order, into cand; returns their count.
size_t collectRows(CollectFn collect, const KeyRows& key, uint32_t dm, int thr, uint32_t* cand) {
    if (key.repeats.empty()) return collect(key.masks.data(), key.masks.size(), dm, thr, cand);
    return rowsByCount(key, dm, thr, cand);
}

}  // namespace

bool useSubsetSums(HitMethod method, size_t rows, size_t draws) {
    return method == HitMethod::SubsetSums || (method == HitMethod::BySize && SubsetCounts::pays(rows, draws));
}

PeriodDraws readPeriod(const DrawFile& draws, const QString& fromKey, const QString& toKey, Progress* progress) {
    const QByteArray from = fromKey.toLatin1(), to = toKey.toLatin1();
    PeriodDraws p;
    const PeriodPass pass = passPeriod(
        draws, std::string_view(from.constData(), size_t(from.size())), std::string_view(to.constData(), size_t(to.size())),
        progress, true, [&p](const DrawLine& l, std::string_view key) {
            if (p.records.empty()) p.firstNumbers = std::string(numbersPart(l.line));
            p.records.push_back(wholeLineRecord(l));
            std::array<char, 12> k{};
            std::copy(key.begin(), key.end(), k.begin());
            p.keys.push_back(k);
            p.keySizes.push_back(uint8_t(key.size()));
            return true;
        });
    p.span = pass.span;
    p.stopped = pass.stopped;
    return p;
}

std::optional<EvaluationInput> gatherInput(const RunSettings& settings, const DrawFile& draws, Progress* progress) {
    auto key = readKey(settings.keyFile);
    if (!key) return std::nullopt;
    EvaluationInput in;
    in.settings = settings;
    in.key = std::make_shared<const KeyRows>(std::move(*key));
    auto period = std::make_shared<PeriodDraws>(readPeriod(draws, settings.fromKey, settings.toKey, progress));
    in.span = period->span;
    in.draws = std::move(period);
    return in;
}

namespace {

// The count of one run, a draw at a time: the tallies, the listed count and the kept hits. A
// large key's distributions come from its subset counts; its rows are then looked for only in a
// draw whose distribution holds rows to list: by their number sets where few sets can hold them,
// else by a scan.
struct HitCounter {
    HitCounter(const KeyRows& key, const RunSettings& st, EvaluationResult& r)
        : key_(key), st_(st), r_(r), k_(std::clamp(st.extraCount, 1, 4)), minHits_(std::clamp(st.minHits, 4, 8)),
          cand_(key.rowCount() + 16), scan_(scanFn(st.vectorScan)), collect_(collectFn(st.vectorScan)) {}
    // The run's length, which tells whether the subset counts pay.
    void plan(size_t draws) {
        planned_ = draws;
        r_.hits.reserve(std::min<size_t>(kHitListCap, key_.rowCount() * draws * size_t(k_ + 1) / 4 + 16));
        if (useSubsetSums(st_.hitMethod, key_.rowCount(), draws)) subsets_.emplace(key_.masks);
    }
    // The index for the draw's minimum, when looking the rows up costs less than a scan; built
    // at the first draw where it saves more than it costs over the draws left to list (plays:
    // what this draw lists).
    const RowIndex* lookUp(uint32_t dm, int thr, const uint32_t hist[9], int64_t plays) {
        if (st_.rowLookup == RowLookup::Scan) return nullptr;
        std::optional<RowIndex>& index = index_[size_t(thr)];
        const bool forced = st_.rowLookup == RowLookup::Index;
        if (index) return forced || index->pays(dm, hist) ? &*index : nullptr;
        if (!forced) {
            size_t& entries = entries_[size_t(thr)];
            if (entries == SIZE_MAX) entries = RowIndex::entriesFor(key_, thr);
            const size_t drawsLeft = planned_ > r_.drawsEvaluated ? planned_ - r_.drawsEvaluated : 1;
            const size_t listing = (kHitListCap - r_.hits.size()) / size_t(std::max<int64_t>(1, plays)) + 1;
            if (!RowIndex::paysToBuild(key_, entries, thr, dm, hist, std::min(drawsLeft, listing))) return nullptr;
        }
        index.emplace(key_, thr);
        return &*index;
    }

    const KeyRows& key_;
    const RunSettings& st_;
    EvaluationResult& r_;
    const int k_, minHits_;
    std::vector<uint32_t> cand_;
    const ScanFn scan_;
    const CollectFn collect_;
    std::optional<SubsetCounts> subsets_;
    std::array<std::optional<RowIndex>, 9> index_;  // by minimum
    std::array<size_t, 9> entries_{SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX};
    size_t planned_ = 0;
};

// One draw (its line index and record); true when it kept hits. Built twice, the popcounts as the
// processor's instruction where it has one (chosen when the program runs), else as plain code.
DZ_POPCOUNT_CLONES
bool countDraw(HitCounter& c, size_t line, const DrawRecord& rec) {
    EvaluationResult& r = c.r_;
    const KeyRows& key = c.key_;
    const int k = c.k_;
    const uint32_t dm = rec.mask;
    const bool plus = c.st_.plusFor(rec.extra);
    const int thr = plus ? c.minHits_ : std::max(c.minHits_, 5);
    const bool collect = r.hits.size() < kHitListCap;
    uint32_t* cand = c.cand_.data();
    uint32_t hist[9];
    size_t found = 0;
    if (c.subsets_) {
        c.subsets_->histogram(dm, hist);
        moveRepeats(key, dm, hist);
        int64_t plays = 0;  // what the draw lists
        for (int h = thr; h <= 8; ++h) plays += int64_t(hist[h]) * ((plus ? 1 : 0) + (h > 4 ? (plus ? k - 1 : k) : 0));
        if (collect && plays > 0) {
            const RowIndex* index = c.lookUp(dm, thr, hist, plays);
            found = index ? index->find(key, dm, cand) : collectRows(c.collect_, key, dm, thr, cand);
        }
    } else {
        found = scanDraw(c.scan_, key, dm, thr, hist, collect ? cand : nullptr);
    }
    for (int h = 0; h <= 8; ++h) {
        if (plus) {
            r.plusTally[size_t(h + 1)] += hist[h];
            r.plainTally[size_t(h + 1)] += int64_t(k - 1) * hist[h];
        } else {
            r.plainTally[size_t(h + 1)] += int64_t(k) * hist[h];
        }
        if (h >= thr) {
            const int plain = h > 4 ? (plus ? k - 1 : k) : 0;
            r.listedCount += int64_t(hist[h]) * ((plus ? 1 : 0) + plain);
        }
    }
    const size_t before = r.hits.size();
    if (collect) {
        for (size_t j = 0; j < found && r.hits.size() < kHitListCap; ++j) {
            const uint32_t row = cand[j];
            const int h = key.hits(row, dm);
            const int plain = h > 4 ? (plus ? k - 1 : k) : 0;
            if (plus) r.hits.push_back({uint32_t(line), row, uint32_t(h), true});
            for (int p = 0; p < plain && r.hits.size() < kHitListCap; ++p)
                r.hits.push_back({uint32_t(line), row, uint32_t(h), false});
        }
    }
    ++r.drawsEvaluated;
    r.lastDrawMask = dm;
    r.rowCounter = (long long)key.rowCount();
    return r.hits.size() != before;
}

}  // namespace

EvaluationResult evaluate(const EvaluationInput& in, Progress* progress) {
    EvaluationResult r;
    r.recordsRead = in.span.recordsRead;
    if (!in.draws || !in.key || !in.span.any || in.draws->records.empty()) {
        if (progress) progress->recordsRead = int64_t(r.recordsRead);
        return r;
    }
    const PeriodDraws& draws = *in.draws;
    const KeyRows& key = *in.key;
    // The run's span, within the draws read for it.
    const size_t base = draws.span.first, stop = base + draws.records.size();
    if (in.span.first < base || in.span.first >= stop) {
        if (progress) progress->recordsRead = int64_t(r.recordsRead);
        return r;
    }
    const size_t first = in.span.first, last = std::min(in.span.last, stop - 1);
    // Check the stop flag about every million row evaluations.
    const size_t chunk = std::max<size_t>(1, (size_t(1) << 20) / std::max<size_t>(1, key.rowCount()));
    // A bad key line ends the run inside the first draw, after the rows before it.
    const size_t end = key.badLine ? first : last;
    HitCounter counter(key, in.settings, r);
    counter.plan(end - first + 1);
    for (size_t d = first; d <= end; ++d) {
        if (progress && (d - first) % chunk == 0) {
            progress->recordsRead.store(int64_t(d + 1), std::memory_order_relaxed);
            if (progress->stop.load(std::memory_order_relaxed)) {
                r.stopped = true;
                r.recordsRead = d;
                return r;
            }
        }
        countDraw(counter, d, draws.record(d));
    }
    if (key.badLine) {
        r.badLine = true;
        r.recordsRead = first + 1;
    }
    if (progress) progress->recordsRead = int64_t(r.recordsRead);
    return r;
}

StreamedEvaluation streamEvaluation(const DrawFile& file, const RunSettings& settings, const KeyRows& key,
                                    Progress* progress) {
    StreamedEvaluation out;
    EvaluationResult& r = out.result;
    auto draws = std::make_shared<PeriodDraws>();
    draws->sparse = true;
    const QByteArray from = settings.fromKey.toLatin1(), to = settings.toKey.toLatin1();
    HitCounter counter(key, settings, r);
    // The first draws wait until the run is long enough for the subset counts to pay (or ends):
    // the draws of a period are consecutive lines from its first on.
    constexpr size_t kPlanned = 1u << 16;
    bool planned = false, seen = false;
    size_t waitingFirst = 0;
    std::vector<DrawRecord> waiting;
    std::vector<std::array<char, 12>> waitingKeys;
    std::vector<uint8_t> waitingSizes;
    auto keep = [&](size_t line, const std::array<char, 12>& k, uint8_t size) {
        draws->keyLines.push_back(line);
        draws->keys.push_back(k);
        draws->keySizes.push_back(size);
    };
    auto flush = [&](size_t length) {
        counter.plan(length);
        planned = true;
        for (size_t i = 0; i < waiting.size(); ++i)
            if (countDraw(counter, waitingFirst + i, waiting[i])) keep(waitingFirst + i, waitingKeys[i], waitingSizes[i]);
        std::vector<DrawRecord>().swap(waiting);
        std::vector<std::array<char, 12>>().swap(waitingKeys);
        std::vector<uint8_t>().swap(waitingSizes);
    };
    const PeriodPass pass = passPeriod(
        file, std::string_view(from.constData(), size_t(from.size())), std::string_view(to.constData(), size_t(to.size())),
        progress, true, [&](const DrawLine& l, std::string_view k) {
            if (!seen) draws->firstNumbers = std::string(numbersPart(l.line));
            seen = true;
            std::array<char, 12> kb{};
            std::copy(k.begin(), k.end(), kb.begin());
            out.lastKey = std::string(k);
            if (!planned) {
                if (waiting.empty()) waitingFirst = l.index;
                waiting.push_back(wholeLineRecord(l));
                waitingKeys.push_back(kb);
                waitingSizes.push_back(uint8_t(k.size()));
                if (key.badLine) return false;  // the key's bad line ends the run in its first draw
                if (waiting.size() == kPlanned || useSubsetSums(settings.hitMethod, key.rowCount(), waiting.size()))
                    flush(kPlanned * 2);
                return true;
            }
            if (countDraw(counter, l.index, wholeLineRecord(l))) keep(l.index, kb, uint8_t(k.size()));
            return true;
        });
    out.span = pass.span;
    out.firstKey = pass.reachedKey;
    r.recordsRead = pass.span.recordsRead;
    if (pass.stopped) {
        r.stopped = true;
        return out;
    }
    if (!planned && !waiting.empty()) flush(waiting.size());
    if (key.badLine && pass.span.any) {
        r.badLine = true;
        r.recordsRead = pass.span.first + 1;
    }
    draws->span = pass.span;
    out.draws = std::move(draws);
    if (progress) progress->recordsRead = int64_t(r.recordsRead);
    return out;
}

QString keyPieces(std::string_view drawKey) {
    const long long v = intPart(std::clamp(val(mid(drawKey, 1, 8)), -1e15, 1e15));
    const QString d = format(v < 0 ? -v : v, "00000000");
    QString out = (v < 0 ? QStringLiteral("-") : QString()) + d.left(d.size() - 4) + QLatin1Char(' ') +
                  d.mid(d.size() - 4, 2) + QLatin1Char(' ') + d.right(2);
    out += cp1250::decode(drawKey.substr(drawKey.size() >= 4 ? drawKey.size() - 4 : 0));
    return out;
}

QString hitLine(std::string_view drawKey, const Hit& hit) {
    QString s = keyPieces(drawKey);
    s.reserve(s.size() + 12);
    s += QStringLiteral("  *") + QChar(u'0' + hit.hits());
    s += hit.plus() ? QStringLiteral("+ ") : QStringLiteral("   ");
    s += str(hit.row() + 1LL);
    return s;
}

QStringList tallyLines(const EvaluationResult& r) {
    QStringList out;
    for (int h = 0; h <= 8; ++h) out << str(h) + QStringLiteral("   ") + str(r.plainTally[size_t(h + 1)]);
    for (int h = 4; h <= 8; ++h) out << str(h) + QStringLiteral("+ ") + str(r.plusTally[size_t(h + 1)]);
    return out;
}

std::vector<size_t> textOrder(const QStringList& lines, bool byClass) {
    std::vector<size_t> order(size_t(lines.size()));
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    if (byClass) {
        std::vector<QString> keyed(order.size());
        for (size_t i = 0; i < order.size(); ++i) keyed[i] = mid(lines[qsizetype(i)], 18, 2) + lines[qsizetype(i)];
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return cp1250::less(keyed[a], keyed[b]); });
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return cp1250::less(lines[qsizetype(a)], lines[qsizetype(b)]); });
    }
    return order;
}

}  // namespace dz::keyeval
