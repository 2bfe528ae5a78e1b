#include "drawstat/core/mostfrequent.h"

#include "common/core/popcountclones.h"
#include "common/core/textfmt.h"

#include <algorithm>
#if defined(__x86_64__)
#include <immintrin.h>
#endif
#include <bit>
#include <cmath>
#include <string>

namespace dz::drawstat {

size_t firstCountedDraw(long long drawCount, double lastDraws) {
    const double s = double(drawCount) - lastDraws;  // the draws at positions 1..s are skipped
    if (!(s >= 0)) return 0;                          // NaN and L above N: every draw
    if (s >= 1e15) return size_t(1e15);
    return size_t(std::floor(s));
}

namespace {

// 4096 draws a block: the bit sets of the 20 numbers stay in the first-level cache.
constexpr size_t kWords = 64;
using BitSets = std::array<std::array<uint64_t, kWords>, 21>;

// Adds the counts of one block (words of it used).
[[gnu::always_inline]] inline void countBlockBody(const BitSets& sets, size_t words, FrequencyCounts& out) {
    auto pop = [words](const uint64_t* a) {
        int32_t c = 0;
        for (size_t w = 0; w < words; ++w) c += std::popcount(a[w]);
        return c;
    };
    alignas(64) std::array<uint64_t, kWords> ij;
    for (int v = 1; v <= 20; ++v) out.numbers[size_t(v)] += pop(sets[size_t(v)].data());
    size_t p = 0, t = 0;
    for (int i = 1; i <= 19; ++i)
        for (int j = i + 1; j <= 20; ++j) {
            for (size_t w = 0; w < words; ++w) ij[w] = sets[size_t(i)][w] & sets[size_t(j)][w];
            out.pairs[p++] += pop(ij.data());
            // The triples (i, j, k) for every k above j follow one another in (i, j, k) order.
            for (int k = j + 1; k <= 20; ++k) {
                int32_t c = 0;
                for (size_t w = 0; w < words; ++w) c += std::popcount(ij[w] & sets[size_t(k)][w]);
                out.triples[t++] += c;
            }
        }
}

// Built several times where the compiler can: with the processor's popcount instruction, with
// its vector popcount (eight words a step), and without; the best the processor has is chosen at
// the first block.
DZ_POPCOUNT_CLONES
void countBlockScalar(const BitSets& sets, size_t words, FrequencyCounts& out) { countBlockBody(sets, words, out); }

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
// The sum of the eight counts of a vector.
__attribute__((target("avx512f"))) inline int32_t total(__m512i c) {
    alignas(64) int64_t lanes[8];
    _mm512_store_si512(lanes, c);
    return int32_t(lanes[0] + lanes[1] + lanes[2] + lanes[3] + lanes[4] + lanes[5] + lanes[6] + lanes[7]);
}

// Eight words a step over the whole block: the words past the draws of a last, shorter block are
// zero, so they add nothing.
__attribute__((target("avx512f,avx512vpopcntdq")))
void countBlockVector(const BitSets& sets, size_t, FrequencyCounts& out) {
    constexpr size_t kSteps = kWords / 8;
    for (int v = 1; v <= 20; ++v) {
        __m512i c = _mm512_setzero_si512();
        for (size_t s = 0; s < kSteps; ++s) c = _mm512_add_epi64(c, _mm512_popcnt_epi64(_mm512_loadu_si512(sets[size_t(v)].data() + 8 * s)));
        out.numbers[size_t(v)] += total(c);
    }
    size_t p = 0, t = 0;
    __m512i ij[kSteps];
    for (int i = 1; i <= 19; ++i)
        for (int j = i + 1; j <= 20; ++j) {
            __m512i c = _mm512_setzero_si512();
            for (size_t s = 0; s < kSteps; ++s) {
                ij[s] = _mm512_and_si512(_mm512_loadu_si512(sets[size_t(i)].data() + 8 * s), _mm512_loadu_si512(sets[size_t(j)].data() + 8 * s));
                c = _mm512_add_epi64(c, _mm512_popcnt_epi64(ij[s]));
            }
            out.pairs[p++] += total(c);
            for (int k = j + 1; k <= 20; ++k) {
                __m512i ck = _mm512_setzero_si512();
                for (size_t s = 0; s < kSteps; ++s)
                    ck = _mm512_add_epi64(ck, _mm512_popcnt_epi64(_mm512_and_si512(ij[s], _mm512_loadu_si512(sets[size_t(k)].data() + 8 * s))));
                out.triples[t++] += total(ck);
            }
        }
}

void countBlock(const BitSets& sets, size_t words, FrequencyCounts& out) {
    static const bool vector = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vpopcntdq");
    if (vector)
        countBlockVector(sets, words, out);
    else
        countBlockScalar(sets, words, out);
}
#else
void countBlock(const BitSets& sets, size_t words, FrequencyCounts& out) { countBlockScalar(sets, words, out); }
#endif

}  // namespace

FrequencyCounts countFrequencies(const dz::DrawFile& file, size_t first) {
    FrequencyCounts out;
    out.pairs.assign(kPairCount, 0);
    out.triples.assign(kTripleCount, 0);
    // The draws go into one bit set per number, a block at a time, so that each pair and triple
    // is a popcount of an AND over the block: far fewer steps than visiting 84 subsets per draw.
    BitSets sets{};
    size_t n = 0;  // draws in the block
    auto flush = [&] {
        const size_t words = (n + 63) / 64;
        countBlock(sets, words, out);
        for (auto& s : sets) std::fill(s.begin(), s.begin() + words, 0);
        n = 0;
    };
    dz::DrawReader reader(file, first);
    for (auto batch = reader.next(); !batch.empty(); batch = reader.next())
        for (const dz::DrawLine& l : batch) {
            uint32_t m = l.record.mask & 0x1FFFFEu;
            const uint64_t bit = uint64_t(1) << (n & 63);
            while (m) {
                const int v = std::countr_zero(m);
                m &= m - 1;
                sets[size_t(v)][n >> 6] |= bit;
            }
            if (++n == kWords * 64) flush();
        }
    if (n > 0) flush();
    return out;
}

namespace {
QString two(int v) { return dz::format(v, "00"); }
QString five(int32_t v) { return dz::format(v, "@@@@@"); }

// The count right-aligned in the ranked lists' field width.
QString ranked(int32_t v, qsizetype width) {
    const QString s = QString::number(v);
    return s.size() >= width ? s : QString(width - s.size(), QLatin1Char(' ')) + s;
}
qsizetype rankWidth(const int32_t* begin, const int32_t* end) {
    const int32_t top = begin == end ? 0 : *std::max_element(begin, end);
    return std::max<qsizetype>(5, QString::number(top).size());
}
}  // namespace

FrequencyLists frequencyLists(const FrequencyCounts& c) {
    FrequencyLists out;
    const qsizetype wn = rankWidth(c.numbers.data() + 1, c.numbers.data() + 21);
    for (int n = 1; n <= 20; ++n) {
        const int32_t v = c.numbers[size_t(n)];
        out.numbers.append(QLatin1Char(' ') + two(n) + QLatin1Char(' ') + five(v));
        out.numbersRanked.append(ranked(v, wn) + QStringLiteral("   ") + two(n));
    }
    const qsizetype wp = rankWidth(c.pairs.data(), c.pairs.data() + c.pairs.size());
    size_t p = 0;
    for (int i = 1; i <= 19; ++i)
        for (int j = i + 1; j <= 20; ++j, ++p) {
            const int32_t v = c.pairs[p];
            out.pairs.append(QStringLiteral("  ") + two(i) + QStringLiteral("  ") + two(j) + five(v));
            out.pairsRanked.append(QLatin1Char(' ') + ranked(v, wp) + QStringLiteral("   ") + two(i) +
                                   QStringLiteral("  ") + two(j));
        }
    const qsizetype wt = rankWidth(c.triples.data(), c.triples.data() + c.triples.size());
    size_t t = 0;
    for (int i = 1; i <= 18; ++i)
        for (int j = i + 1; j <= 19; ++j)
            for (int k = j + 1; k <= 20; ++k, ++t) {
                const int32_t v = c.triples[t];
                out.triples.append(QStringLiteral("  ") + two(i) + QStringLiteral("  ") + two(j) + QStringLiteral("  ") +
                                   two(k) + five(v));
                out.triplesRanked.append(QLatin1Char(' ') + ranked(v, wt) + QStringLiteral("   ") + two(i) +
                                         QStringLiteral("  ") + two(j) + QStringLiteral("  ") + two(k));
            }
    std::stable_sort(out.numbersRanked.begin(), out.numbersRanked.end());
    std::stable_sort(out.pairsRanked.begin(), out.pairsRanked.end());
    std::stable_sort(out.triplesRanked.begin(), out.triplesRanked.end());
    return out;
}

}  // namespace dz::drawstat
