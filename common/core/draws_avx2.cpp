// The draw reader's usual-line scan with the instructions of processors that have AVX2, chosen
// when the program runs; the other scans are the SSE2 ones.
#include "common/core/drawscan.h"

#if defined(__x86_64__) && defined(__GNUC__) && !defined(DIZOV_SCALAR)
#include <immintrin.h>

namespace dz::drawscan {
namespace {

__attribute__((target("avx2"), always_inline)) inline __m128i stopsAvx2(__m128i table, __m128i v) {
    return _mm_cmpeq_epi8(_mm_shuffle_epi8(table, v), v);
}

// The digits gathered into field pairs by one shuffle, the values by one multiply-add, the number
// mask by one variable shift of all eight.
__attribute__((target("avx2"))) size_t usualLines(const char*& p, const char* end, DrawLine* out, size_t room,
                                                  size_t index) {
    // An LF, a CR or a comma is the byte the table holds at its low half (0xA, 0xD, 0xC); every
    // other entry differs from its own index, and bytes from 0x80 on shuffle to 0.
    const __m128i stopTable = _mm_setr_epi8(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, '\n', 12, ',', '\r', 15, 0);
    const __m128i pairs0 = _mm_setr_epi8(0, 1, 3, 4, 6, 7, 9, 10, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i pairs1 = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, 2, 3, 5, 6, 8, 9, 11, 12);
    const __m128i zero = _mm_set1_epi8('0'), nine = _mm_set1_epi8(9), tens = _mm_set1_epi16(0x010A);
    const __m128i above = _mm_set1_epi16(20);
    const __m256i one = _mm256_set1_epi32(1);
    size_t n = 0;
    for (const char* q = p; n < room && size_t(end - q) >= kUsualLine; ++n) {
        const __m128i c1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const __m128i c14 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 13));
        const __m128i c24 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 23));
        // the eight fields' digits, tens then units
        const __m128i d = _mm_sub_epi8(_mm_or_si128(_mm_shuffle_epi8(c14, pairs0), _mm_shuffle_epi8(c24, pairs1)), zero);
        // The extra number's digits. (ea | eb) > 9 tests both at once but not exactly: it holds
        // whenever a byte is no digit, never for the values 0..20, and also for an 8 or a 9 beside
        // one of 2..7 (28, 29, 38, ..., 82, ..., 97, all above 20). Such a line goes the general
        // way and reads the same there.
        const unsigned ea = unsigned(static_cast<unsigned char>(q[37])) - '0';
        const unsigned eb = unsigned(static_cast<unsigned char>(q[38])) - '0';
        const size_t len = usualEnd(q);
        if (len == 0 || isBlank(q[0]) || (ea | eb) > 9 ||
            !_mm_testz_si128(_mm_or_si128(_mm_or_si128(stopsAvx2(stopTable, c1), stopsAvx2(stopTable, c14)),
                                          stopsAvx2(stopTable, c24)),
                             _mm_set1_epi8(-1)) ||
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d, nine), d)) != 0xFFFF)
            break;
        // field values 0..99 as words; one above 20 becomes -1 (not counted)
        const __m128i w = _mm_maddubs_epi16(d, tens);
        const __m128i v = _mm_or_si128(w, _mm_cmpgt_epi16(w, above));
        const __m256i bits = _mm256_sllv_epi32(one, _mm256_cvtepu16_epi32(v));  // -1 shifts out
        __m128i m = _mm_or_si128(_mm256_castsi256_si128(bits), _mm256_extracti128_si256(bits, 1));
        m = _mm_or_si128(m, _mm_shuffle_epi32(m, 0x4E));
        m = _mm_or_si128(m, _mm_shuffle_epi32(m, 0xB1));
        DrawRecord& r = out[n].record;
        r.mask = uint32_t(_mm_cvtsi128_si32(m)) & ~1u;  // a 0 field counts as no number
        _mm_storel_epi64(reinterpret_cast<__m128i*>(r.num.data()), _mm_packs_epi16(v, v));
        const unsigned e = ea * 10 + eb;
        r.extra = e <= 20 ? int8_t(e) : int8_t(-1);
        r.twoDigits = true;
        putUsualLine(out[n], q, index + n);
        q += len;
        p = q;
    }
    return n;
}

}  // namespace

const Scans* avx2() {
    static const Scans* const s = []() -> const Scans* {
        __builtin_cpu_init();
        const Scans* base = sse2();
        if (!base || !__builtin_cpu_supports("avx2")) return nullptr;
        static Scans set = *base;
        set.name = "avx2";
        set.usualLines = usualLines;
        return &set;
    }();
    return s;
}

}  // namespace dz::drawscan

#else
const dz::drawscan::Scans* dz::drawscan::avx2() { return nullptr; }
#endif
