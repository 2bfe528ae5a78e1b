// The draw reader's scans with SSE2, which every x86-64 processor has.
#include "common/core/drawscan.h"

#if defined(__x86_64__) && defined(__SSE2__) && !defined(DIZOV_SCALAR)
#include <bit>
#include <cstring>
#include <emmintrin.h>

namespace dz::drawscan {
namespace {

__m128i load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }

// The bytes of v that are a CR or an LF, as 0xFF.
__m128i lineEnds(__m128i v) {
    return _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')));
}

// The usual record, nine two-digit fields, from columns 14..29 and 24..39 (1-based) loaded as two
// vectors; false, with r untouched, when a field is not two digits. Field i (0..8) has its tens at
// column 14 + 3i: fields 0..3 lie in the first vector, 4..8 in the second. Each digit's value,
// then tens x 10 plus the next lane's units, all without branches on the numbers (they are random,
// so such branches mispredict); the record is written a whole field at a time.
[[gnu::always_inline]] inline bool recordFromColumns(__m128i c14, __m128i c24, DrawRecord& r) {
    const __m128i zero = _mm_set1_epi8('0'), nine = _mm_set1_epi8(9);
    const __m128i d0 = _mm_sub_epi8(c14, zero), d1 = _mm_sub_epi8(c24, zero);
    const unsigned ok0 = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d0, nine), d0)));
    const unsigned ok1 = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d1, nine), d1)));
    constexpr unsigned kDigits0 = 0x06DB, kDigits1 = 0xDB6C;  // the digit lanes
    if ((ok0 & kDigits0) != kDigits0 || (ok1 & kDigits1) != kDigits1) return false;
    // A value above 20 becomes 0xFF (-1, not counted) in its lane.
    auto values = [](__m128i d) {
        const __m128i d2 = _mm_add_epi8(d, d), d8 = _mm_add_epi8(_mm_add_epi8(d2, d2), _mm_add_epi8(d2, d2));
        const __m128i v = _mm_add_epi8(_mm_add_epi8(d8, d2), _mm_srli_si128(d, 1));
        const __m128i in = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(20)), v);
        return _mm_or_si128(v, _mm_andnot_si128(in, _mm_set1_epi8(-1)));
    };
    const __m128i v0 = values(d0), v1 = values(d1);
    // fields 0..3 at lanes 0, 3, 6, 9 of the first vector; 4..7 at lanes 2, 5, 8, 11 of the second
    // and the extra number at its lane 14
    const uint64_t lo0 = uint64_t(_mm_cvtsi128_si64(v0)), hi0 = uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(v0, v0)));
    const uint64_t lo1 = uint64_t(_mm_cvtsi128_si64(v1)), hi1 = uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(v1, v1)));
    const uint64_t packed = (lo0 & 0xFF) | (lo0 >> 16 & 0xFF00) | (lo0 >> 32 & 0xFF0000) | (hi0 << 16 & 0xFF000000) |
                            (lo1 << 16 & 0xFF00000000) | (lo1 & 0xFF0000000000) | (hi1 << 48 & 0xFF000000000000) |
                            (hi1 << 32 & 0xFF00000000000000);
    // bit x of the number mask for every field x; a field of 0xFF lands at bit 63, outside it
    uint64_t mask = 0;
#pragma GCC unroll 8
    for (int i = 0; i < 8; ++i) mask |= uint64_t(1) << (packed >> (8 * i) & 63);
    r.mask = uint32_t(mask) & ~1u;  // a 0 field counts as no number
    std::memcpy(r.num.data(), &packed, sizeof packed);
    r.extra = int8_t(hi1 >> 48 & 0xFF);
    r.twoDigits = true;
    return true;
}

bool twoDigitRecord(const unsigned char* p, DrawRecord& r) { return recordFromColumns(load(p + 13), load(p + 23), r); }

size_t usualLines(const char*& p, const char* end, DrawLine* out, size_t room, size_t index) {
    const __m128i comma = _mm_set1_epi8(',');
    auto stops = [&](__m128i v) { return _mm_or_si128(lineEnds(v), _mm_cmpeq_epi8(v, comma)); };
    size_t n = 0;
    for (const char* q = p; n < room && size_t(end - q) >= kUsualLine; ++n) {
        const __m128i c1 = load(q), c14 = load(q + 13), c24 = load(q + 23);
        const size_t len = usualEnd(q);
        if (len == 0 || isBlank(q[0]) ||
            _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(stops(c1), stops(c14)), stops(c24))) != 0 ||
            !recordFromColumns(c14, c24, out[n].record))
            break;
        putUsualLine(out[n], q, index + n);
        q += len;
        p = q;
    }
    return n;
}

uint64_t lineEndBits(const char* p) {
    uint64_t bits = 0;
    for (int k = 0; k < 4; ++k) bits |= uint64_t(unsigned(_mm_movemask_epi8(lineEnds(load(p + 16 * k))))) << (16 * k);
    return bits;
}

const char* lineEnd(const char* p, const char* end) {
    for (; p + 16 <= end; p += 16)
        if (const unsigned m = unsigned(_mm_movemask_epi8(lineEnds(load(p))))) return p + std::countr_zero(m);
    while (p < end && *p != '\n' && *p != '\r') ++p;
    return p;
}

size_t itemLength(const char* q, size_t lim) {
    const __m128i comma = _mm_set1_epi8(',');
    auto at = [&](size_t o) { return uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(load(q + o), comma)))); };
    uint64_t m = at(0) | at(16) << 16 | at(24) << 24;
    m &= (uint64_t(1) << lim) - 1;
    return m ? size_t(std::countr_zero(m)) : lim;
}

size_t countLineEnds(const char* p, size_t n) {
    // The ends are summed per byte lane (at most 255 rounds before the lanes are added up), with no
    // popcount.
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
    size_t count = 0, i = 0;
    while (i + 16 <= n) {
        __m128i acc = zero;
        for (int round = 0; round < 255 && i + 16 <= n; ++round, i += 16) {
            const __m128i v = load(p + i), before = load(p + i - 1);
            const __m128i lfAlone = _mm_andnot_si128(_mm_cmpeq_epi8(before, cr), _mm_cmpeq_epi8(v, lf));
            acc = _mm_sub_epi8(acc, _mm_or_si128(_mm_cmpeq_epi8(v, cr), lfAlone));
        }
        const __m128i sums = _mm_sad_epu8(acc, zero);
        count += size_t(_mm_cvtsi128_si64(sums)) + size_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
    }
    for (; i < n; ++i) count += p[i] == '\r' || (p[i] == '\n' && (p + i)[-1] != '\r');
    return count;
}

size_t lastLineEnd(const char* p, size_t n) {
    // Sixteen bytes without a line end at once: a long line is passed over quickly.
    size_t k = n;
    for (; k >= 16; k -= 16)
        if (const unsigned m = unsigned(_mm_movemask_epi8(lineEnds(load(p + k - 16)))))
            return k - 16 + size_t(31 - std::countl_zero(m));
    while (k-- > 0)
        if (p[k] == '\n' || p[k] == '\r') return k;
    return n;
}

}  // namespace

const Scans* sse2() {
    static const Scans s{"sse2", usualLines, twoDigitRecord, lineEndBits, lineEnd, itemLength, countLineEnds, lastLineEnd};
    return &s;
}

}  // namespace dz::drawscan

#else
const dz::drawscan::Scans* dz::drawscan::sse2() { return nullptr; }
#endif
