// The draw reader's scans a byte at a time, for processors without vector scans (and for builds
// with DIZOV_SCALAR): no usual-line scan, every line goes the general way.
#include "common/core/drawscan.h"

#include <cstring>

namespace dz::drawscan {
namespace {

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

size_t noUsualLines(const char*&, const char*, DrawLine*, size_t, size_t) { return 0; }

bool twoDigitRecord(const unsigned char* p, DrawRecord& r) {
    unsigned bad = 0;
    uint64_t packed = 0;
    uint32_t mask = 0;
    for (int i = 0; i < 8; ++i) {
        const unsigned a = p[13 + 3 * i] - unsigned('0'), b = p[14 + 3 * i] - unsigned('0');
        bad |= unsigned(a > 9) | unsigned(b > 9);
        const unsigned x = (a * 10 + b) & 127u;  // anything, when bad: the result is not used then
        const unsigned in = unsigned(x <= 20);
        packed |= uint64_t(in ? x : 0xFFu) << (8 * i);
        mask |= in << (x & 31u);
    }
    const unsigned a = p[37] - unsigned('0'), b = p[38] - unsigned('0');
    bad |= unsigned(a > 9) | unsigned(b > 9);
    if (bad) return false;
    r.mask = mask & ~1u;  // a 0 field counts as no number
    std::memcpy(r.num.data(), &packed, sizeof packed);
    const unsigned e = a * 10 + b;
    r.extra = e <= 20 ? int8_t(e) : int8_t(-1);
    r.twoDigits = true;
    return true;
}

uint64_t lineEndBits(const char* p) {
    uint64_t bits = 0;
    for (int i = 0; i < 64; ++i) bits |= uint64_t(isLineEnd(p[i])) << i;
    return bits;
}

const char* lineEnd(const char* p, const char* end) {
    while (p < end && !isLineEnd(*p)) ++p;
    return p;
}

size_t itemLength(const char* q, size_t lim) {
    size_t j = 0;
    while (j < lim && q[j] != ',') ++j;
    return j;
}

size_t countLineEnds(const char* p, size_t n) {
    size_t count = 0;
    for (size_t i = 0; i < n; ++i) count += p[i] == '\r' || (p[i] == '\n' && (p + i)[-1] != '\r');
    return count;
}

size_t lastLineEnd(const char* p, size_t n) {
    for (size_t k = n; k-- > 0;)
        if (isLineEnd(p[k])) return k;
    return n;
}

}  // namespace

const Scans& plain() {
    static const Scans s{"plain", noUsualLines, twoDigitRecord, lineEndBits, lineEnd, itemLength, countLineEnds, lastLineEnd};
    return s;
}

}  // namespace dz::drawscan
