#include "drawstat/core/startstats.h"

#include "common/core/popcountclones.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <bit>
// The tally's vector form where the processor family has it; DIZOV_SCALAR builds the plain one that
// other processors run.
#if defined(__SSE2__) && !defined(DIZOV_SCALAR)
#define DZ_SSE2 1
#include <emmintrin.h>
#else
#define DZ_SSE2 0
#endif

namespace dz::drawstat {

namespace {

#if DZ_SSE2
// Per-number counts of masks as byte counters, one vector for numbers 0..15 and one for 16..20: a
// mask's low and high half each repeated in every 16-bit lane, so that lane b tests bit b / 2 of
// the half's low byte (b even) or high byte (b odd).
class MaskTally {
public:
    // At most 255 masks between two flushes.
    void add(uint32_t mask) {
        const __m128i sel = _mm_setr_epi8(1, 1, 2, 2, 4, 4, 8, 8, 16, 16, 32, 32, 64, 64, -128, -128);
        const __m128i v0 = _mm_set1_epi16(short(mask & 0xFFFF)), v1 = _mm_set1_epi16(short(mask >> 16));
        c0_ = _mm_sub_epi8(c0_, _mm_cmpeq_epi8(_mm_and_si128(v0, sel), sel));
        c1_ = _mm_sub_epi8(c1_, _mm_cmpeq_epi8(_mm_and_si128(v1, sel), sel));
    }
    void flushInto(std::array<long long, 21>& counts) {
        alignas(16) uint8_t b[32];
        _mm_store_si128(reinterpret_cast<__m128i*>(b), c0_);
        _mm_store_si128(reinterpret_cast<__m128i*>(b + 16), c1_);
        for (int lane = 0; lane < 32; ++lane) {
            const int n = (lane & 16) + (lane & 1) * 8 + (lane & 15) / 2;
            if (n <= 20) counts[size_t(n)] += b[lane];
        }
        c0_ = c1_ = _mm_setzero_si128();
    }

private:
    __m128i c0_ = _mm_setzero_si128(), c1_ = _mm_setzero_si128();
};
#else
// Per-number counts of masks, bit by bit.
class MaskTally {
public:
    void add(uint32_t mask) {
        for (uint32_t m = mask & 0x1FFFFFu; m; m &= m - 1) ++c_[size_t(std::countr_zero(m))];
    }
    void flushInto(std::array<long long, 21>& counts) {
        for (size_t n = 0; n < c_.size(); ++n) counts[n] += c_[n];
        c_.fill(0);
    }

private:
    std::array<uint32_t, 21> c_{};
};
#endif

// Lines tallied between two flushes: the byte counters' limit.
constexpr size_t kChunk = 255;

}  // namespace

// Built twice, the popcount as the processor's instruction where it has one (chosen when the
// program runs), else as plain code.
DZ_POPCOUNT_CLONES
StartStats computeStart(const dz::DrawFile& file) {
    StartStats s;
    long long count = 0;
    // A record of eight distinct numbers of 1..20, as almost every draw, is tallied from its mask;
    // any other field by field. The numbers of every line of a chunk are kept, and its last
    // appearances found from its end when it is full.
    MaskTally tally;
    std::array<uint32_t, kChunk> chunk;
    size_t inChunk = 0;
    auto flush = [&] {
        tally.flushInto(s.frequency);
        uint32_t open = 0x1FFFFFu;  // numbers 0..20 whose latest line in the chunk is still to find
        for (size_t i = inChunk; i-- > 0 && open;) {
            for (uint32_t m = chunk[i] & open; m; m &= m - 1)
                s.lastAppearance[size_t(std::countr_zero(m))] = count - static_cast<long long>(inChunk - 1 - i);
            open &= ~chunk[i];
        }
        inChunk = 0;
    };
    dz::forEachDraw(file, [&](const dz::DrawLine& l) __attribute__((always_inline)) {
        ++count;
        const dz::DrawRecord& r = l.record;
        uint32_t numbers = r.mask;
        if (std::popcount(r.mask) == 8) {
            tally.add(r.mask);
        } else {
            numbers = 0;
            for (int8_t v : r.num) {
                if (v < 0) continue;  // a field outside 0..20 is not counted
                numbers |= 1u << v;
                ++s.frequency[size_t(v)];
            }
        }
        chunk[inChunk] = numbers;
        if (++inChunk == kChunk) flush();
    });
    flush();
    s.drawCount = count;
    s.tooltip = dz::str(count);
    s.byNumber.reserve(20);
    s.byCount.reserve(20);
    for (int n = 1; n <= 20; ++n) {
        s.byNumber << dz::format(n, "00") + QStringLiteral("  ") + dz::format(s.frequency[size_t(n)], "@@@@@@");
        s.byCount << dz::format(s.frequency[size_t(n)], "@@@@@@") + QStringLiteral("    ") + dz::format(n, "00");
    }
    return s;
}

std::shared_ptr<const dz::LineSource> fullListLines(const dz::DrawFile& file, bool all) {
    // Only what is listed is read: the file's tail, or the whole file when every line is listed.
    // The lines stay the file's bytes until they are shown.
    auto out = std::make_shared<dz::ByteLines>(&dz::decodeCapped);
    if (!all) out->reserve(size_t(dz::kFullListLimit));
    dz::DrawReader r = all ? dz::DrawReader(file) : dz::DrawReader::tail(file, size_t(dz::kFullListLimit));
    for (auto batch = r.next(); !batch.empty(); batch = r.next())
        for (const dz::DrawLine& l : batch) out->append(l.line);
    return out;
}

}  // namespace dz::drawstat
