// The byte scans of the draw reader, one set for each kind of processor behind one table:
// draws_sse2.cpp and draws_avx2.cpp (x86-64), draws_plain.cpp (every processor; the only set of a
// DIZOV_SCALAR build, so that it is compiled and tested here too). The reader in draws.cpp keeps
// the buffers and calls a set for whole runs of bytes. Only the reader includes this.
#pragma once
#include "common/core/draws.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dz::drawscan {

// Bytes a reader's buffer holds past the bytes read, so that a scan may load whole vectors from
// any position below the end: the 64 of the line-end bits, the 40 of an item.
inline constexpr size_t kPad = 64;
static_assert(kDrawItemKept <= 40 && kPad >= 40);
// The bytes a usual-line scan needs from a line's start: the record, a CR and an LF.
inline constexpr size_t kUsualLine = 41;

struct Scans {
    const char* name;  // "avx2", "sse2" or "plain"
    // The usual lines from p on (at most room; p + kUsualLine <= end for each), handed on into out
    // with indexes from index; p is left at the first line not handed on. Returns their count. A
    // usual line is a record of 39 bytes, no line end, comma or leading blank in it, nine two-digit
    // fields, and its end (CR LF, CR or LF): most lines of a history are such lines, and a scan
    // finds the line, checks its form and reads its record at once. Any other line stops it and
    // goes the general way (a set may have no such scan and find none).
    size_t (*usualLines)(const char*& p, const char* end, DrawLine* out, size_t room, size_t index);
    // The record of the 39 bytes at p when its nine fields are two digits each; false, with r
    // untouched, when one is not.
    bool (*twoDigitRecord)(const unsigned char* p, DrawRecord& r);
    // Bit i set where p[i] (i < 64) is a CR or an LF.
    uint64_t (*lineEndBits)(const char* p);
    // The first CR or LF in [p, end), or end.
    const char* (*lineEnd)(const char* p, const char* end);
    // The bytes of q before its first comma, at most lim (lim <= kDrawItemKept); the 40 bytes from
    // q may be loaded, but those from lim on never count.
    size_t (*itemLength)(const char* q, size_t lim);
    // The line ends among p[0..n): every CR, and every LF not after a CR; p[-1] is the byte before.
    size_t (*countLineEnds)(const char* p, size_t n);
    // The index of the last CR or LF in p[0..n), n when there is none.
    size_t (*lastLineEnd)(const char* p, size_t n);
};

// The sets the build and the processor have: nullptr where there is none.
const Scans& plain();
const Scans* sse2();
const Scans* avx2();

// What the usual-line scans share.
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The line's end after its 39 bytes: its length with the end, 0 when none stands there.
[[gnu::always_inline]] inline size_t usualEnd(const char* p) {
    const char e = p[39];
    if (e == '\n') return 40;
    if (e == '\r') return p[40] == '\n' ? 41 : 40;
    return 0;
}

[[gnu::always_inline]] inline void putUsualLine(DrawLine& l, const char* p, size_t index) {
    const std::string_view whole(p, 39);
    l.index = index;
    l.line = whole;  // each from the value: one copied from the other would be read back from memory
    l.item = whole;
}

}  // namespace dz::drawscan
