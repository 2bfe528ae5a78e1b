#include "common/core/draws.h"

#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <QFile>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
// The vector scans where the processor family has them; DIZOV_SCALAR builds the plain twin that
// other processors run (so that it is compiled and tested here too).
#if defined(__SSE2__) && !defined(DIZOV_SCALAR)
#define DZ_SSE2 1
#include <emmintrin.h>
#else
#define DZ_SSE2 0
#endif
#if defined(__x86_64__) && defined(__GNUC__) && !defined(DIZOV_SCALAR)
#define DZ_X86_GNU 1
#include <immintrin.h>
#else
#define DZ_X86_GNU 0
#endif

namespace dz {

int fieldValue(std::string_view item, size_t column1, size_t width) {
    // The usual fields ("05", " 5", "5 ", "12") read directly: a history of 1.5 million draws
    // has 13.5 million of them. Anything else goes the runtime's way below.
    if (width == 2 && column1 >= 1 && column1 + 1 <= item.size()) {
        const char a = item[column1 - 1], b = item[column1];
        const bool da = a >= '0' && a <= '9', db = b >= '0' && b <= '9';
        if (da && db) return (a - '0') * 10 + (b - '0');
        if (a == ' ' && db) return b - '0';
        if (da && b == ' ') return a - '0';
    }
    // A value that indexes a table goes through the runtime's whole-number conversion (halves to even).
    const double v = val(mid(item, column1, width));
    return static_cast<int>(roundHalfEven(std::clamp(v, -1e6, 1e6)));
}

namespace {

// A record whose fields are not all two digits: each field by its numeric value.
DrawRecord parseFieldByField(std::string_view item) {
    DrawRecord r;
    for (int i = 1; i <= 8; ++i) {
        const int v = fieldValue(item, numberColumn(i));
        if (v >= 0 && v <= 20) {
            r.num[i - 1] = static_cast<int8_t>(v);
            if (v > 0) r.mask |= 1u << v;
        } else {
            r.num[i - 1] = -1;
        }
    }
    const int e = fieldValue(item, 38);
    r.extra = (e >= 0 && e <= 20) ? static_cast<int8_t>(e) : int8_t(-1);
    return r;
}

#if DZ_SSE2
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
#endif

// Inlined into the readers' line loop; parseDrawRecord is the same for other callers.
[[gnu::always_inline]] inline void parseRecord(std::string_view item, DrawRecord& r) {
    if (item.size() >= 39) {
        const auto* p = reinterpret_cast<const unsigned char*>(item.data());
#if DZ_SSE2
        if (recordFromColumns(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 13)),
                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 23)), r))
            return;
#else
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
        if (!bad) {
            r.mask = mask & ~1u;  // a 0 field counts as no number
            std::memcpy(r.num.data(), &packed, sizeof packed);
            const unsigned e = a * 10 + b;
            r.extra = e <= 20 ? int8_t(e) : int8_t(-1);
            r.twoDigits = true;
            return;
        }
#endif
    }
    r = parseFieldByField(item);
}

}  // namespace

DrawRecord parseDrawRecord(std::string_view item) {
    DrawRecord r;
    parseRecord(item, r);
    return r;
}

namespace {

// Bytes a pass reads at a time, and the padding after them that lets the scans load whole vectors.
constexpr size_t kBlock = size_t(1) << 20;
constexpr size_t kPad = 64;  // also the line-end scan's 64 bytes from a position below end
// A line that fills this much of the buffer without an end is read on in the long-line way.
constexpr size_t kLongLine = kBlock / 4;
// Lines a batch hands on at most: small enough to stay in the processor's cache until the pass reads it.
constexpr size_t kBatchLines = 2048;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The first CR or LF in [p, end), or end.
inline const char* findLineEnd(const char* p, const char* end) {
#if DZ_SSE2
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    for (; p + 16 <= end; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned m = unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
        if (m) return p + std::countr_zero(m);
    }
#endif
    while (p < end && *p != '\n' && *p != '\r') ++p;
    return p;
}

#if DZ_SSE2
// Bit i set where p[i] (i < 64) is a CR or an LF.
inline uint64_t lineEndBits(const char* p) {
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    uint64_t bits = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        bits |= uint64_t(unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)))))
                << (16 * k);
    }
    return bits;
}
#endif

// The line read as one input field, cut to kDrawItemKept bytes. Bytes up to kPad past the line
// may be loaded (the buffer has room for them) but never count.
inline std::string_view itemHead(const char* p, size_t len) {
    size_t i = 0;
    while (i < len && isBlank(p[i])) ++i;
    const size_t lim = std::min(len - i, kDrawItemKept);
    const char* q = p + i;
#if DZ_SSE2
    static_assert(kDrawItemKept <= 40 && kPad >= 40);
    const __m128i comma = _mm_set1_epi8(',');
    auto at = [&](size_t o) {
        return uint64_t(unsigned(_mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + o)), comma))));
    };
    uint64_t m = at(0) | at(16) << 16 | at(24) << 24;
    m &= (uint64_t(1) << lim) - 1;
    return {q, m ? size_t(std::countr_zero(m)) : lim};
#else
    size_t j = 0;
    while (j < lim && q[j] != ',') ++j;
    return {q, j};
#endif
}

// The usual line: a record of 39 bytes, no line end, comma or leading blank in it, nine two-digit
// fields, and its end (CR LF, CR or LF). Most lines of a history are such lines, and a pass hands
// them on from one scan that finds the line, checks its form and reads its record. A line of any
// other form stops the scan and goes the general way.
constexpr size_t kUsualLine = 41;  // the bytes a scan needs from a line's start: the record, a CR and an LF

// The usual lines from p on (at most room; p + kUsualLine <= end for each), handed on into out with
// indexes from index; p is left at the first line not handed on. Returns their count.
using UsualLines = size_t (*)(const char*& p, const char* end, DrawLine* out, size_t room, size_t index);

#if DZ_SSE2
[[gnu::always_inline]] inline void putUsualLine(DrawLine& l, const char* p, size_t index) {
    const std::string_view whole(p, 39);
    l.index = index;
    l.line = whole;  // each from the value: one copied from the other would be read back from memory
    l.item = whole;
}

// The line's end after its 39 bytes: its length with the end, 0 when none stands there.
[[gnu::always_inline]] inline size_t usualEnd(const char* p) {
    const char e = p[39];
    if (e == '\n') return 40;
    if (e == '\r') return p[40] == '\n' ? 41 : 40;
    return 0;
}
#endif

#if DZ_SSE2
size_t usualLinesSse2(const char*& p, const char* end, DrawLine* out, size_t room, size_t index) {
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), comma = _mm_set1_epi8(',');
    auto stops = [&](__m128i v) {
        return _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)), _mm_cmpeq_epi8(v, comma));
    };
    size_t n = 0;
    for (const char* q = p; n < room && size_t(end - q) >= kUsualLine; ++n) {
        const __m128i c1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const __m128i c14 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 13));
        const __m128i c24 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 23));
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
#endif

#if DZ_X86_GNU
// The same with the instructions of processors that have AVX2, chosen when the program runs: the
// digits gathered into field pairs by one shuffle, the values by one multiply-add, the number mask
// by one variable shift of all eight.
__attribute__((target("avx2"), always_inline)) inline __m128i stopsAvx2(__m128i table, __m128i v) {
    return _mm_cmpeq_epi8(_mm_shuffle_epi8(table, v), v);
}

__attribute__((target("avx2"))) size_t usualLinesAvx2(const char*& p, const char* end, DrawLine* out, size_t room,
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
#endif

std::atomic<bool> baselineScan{false};

// The scan for this processor, chosen at its first use.
UsualLines usualLineScan() {
#if DZ_SSE2
    if (baselineScan.load(std::memory_order_relaxed)) return &usualLinesSse2;
#endif
    static const UsualLines scan = [] {
#if DZ_X86_GNU
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2")) return UsualLines(&usualLinesAvx2);
#endif
#if DZ_SSE2
        return UsualLines(&usualLinesSse2);
#else
        return UsualLines([](const char*&, const char*, DrawLine*, size_t, size_t) { return size_t(0); });
#endif
    }();
    return scan;
}

}  // namespace

void useBaselineLineScan(bool baseline) { baselineScan.store(baseline, std::memory_order_relaxed); }

const char* lineScanName() {
    const UsualLines scan = usualLineScan();
#if DZ_X86_GNU
    if (scan == &usualLinesAvx2) return "avx2";
#endif
#if DZ_SSE2
    if (scan == &usualLinesSse2) return "sse2";
#endif
    (void)scan;
    return "plain";
}

struct DrawFile::Source {
    int fd = -1;
    std::string bytes;          // the file's bytes when it is held in memory
    uint64_t size = 0;          // bytes as opened
    uint64_t dataStart = 0;     // past a byte order mark
    std::mutex m;
    std::optional<size_t> lines;

    ~Source() {
        if (fd >= 0) ::close(fd);
    }
    // Up to n bytes from offset off; fewer only at the end (or when the file shrank).
    size_t readAt(uint64_t off, char* dst, size_t n) const {
        if (off >= size) return 0;
        n = size_t(std::min<uint64_t>(n, size - off));
        if (fd < 0) {
            std::memcpy(dst, bytes.data() + off, n);
            return n;
        }
        size_t got = 0;
        while (got < n) {
            const ssize_t r = ::pread(fd, dst + got, n - got, off_t(off + got));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            got += size_t(r);
        }
        return got;
    }
    void findDataStart() {
        char head[3] = {};
        dataStart = readAt(0, head, 3) == 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    }
};

DrawFile::DrawFile() : src_(std::make_shared<Source>()) {}

std::optional<DrawFile> DrawFile::load(const QString& path) {
    // Without waiting, and only a regular file: no other kind of file holds draws.
    const int fd = openRegularFile(path);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    DrawFile f;
    f.src_->fd = fd;
    f.src_->size = uint64_t(st.st_size);
    f.src_->findDataStart();
#if defined(POSIX_FADV_SEQUENTIAL)
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    return f;
}

DrawFile DrawFile::fromBytes(std::string bytes) {
    DrawFile f;
    f.src_->size = bytes.size();
    f.src_->bytes = std::move(bytes);
    f.src_->findDataStart();
    return f;
}

uint64_t DrawFile::byteSize() const { return src_->size; }


size_t DrawFile::size() const {
    Source& s = *src_;
    std::lock_guard lock(s.m);
    if (s.lines) return *s.lines;
    // Lines = LF + CR - CR LF pairs, and one more when the last line has no end.
    const size_t block = size_t(std::min<uint64_t>(kBlock, s.size));
    std::vector<char> buf(block + 1);
    size_t count = 0;
    char prev = 0;  // the byte before the block
    uint64_t pos = s.dataStart;
    while (pos < s.size) {
        const size_t n = s.readAt(pos, buf.data() + 1, block);
        if (n == 0) break;
        buf[0] = prev;
        const char* p = buf.data() + 1;
        size_t i = 0;
#if DZ_SSE2 && defined(__x86_64__)
        // A line ends at every CR and at every LF not after a CR. The ends are summed per byte lane
        // (at most 255 rounds before the lanes are added up), with no popcount.
        const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
        while (i + 16 <= n) {
            __m128i acc = zero;
            for (int round = 0; round < 255 && i + 16 <= n; ++round, i += 16) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
                const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i - 1));
                const __m128i lfAlone = _mm_andnot_si128(_mm_cmpeq_epi8(before, cr), _mm_cmpeq_epi8(v, lf));
                acc = _mm_sub_epi8(acc, _mm_or_si128(_mm_cmpeq_epi8(v, cr), lfAlone));
            }
            const __m128i sums = _mm_sad_epu8(acc, zero);
            count += size_t(_mm_cvtsi128_si64(sums)) + size_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
        }
#endif
        for (; i < n; ++i) {
            if (p[i] == '\r') ++count;
            else if (p[i] == '\n' && buf[i] != '\r') ++count;  // buf[i] is the byte before p[i]
        }
        prev = p[n - 1];
        pos += n;
    }
    if (pos > s.dataStart && prev != '\n' && prev != '\r') ++count;
    s.lines = count;
    return count;
}

struct DrawReader::State {
    std::shared_ptr<DrawFile::Source> src;
    uint64_t filePos = 0;        // next byte to read
    std::vector<char> buf;       // cap bytes and the padding
    size_t cap = 0;              // a block, or the whole file when it is smaller
    size_t begin = 0, end = 0;   // the bytes read and not yet split
    bool eof = false;            // nothing more to read
    size_t index = 0;            // index of the next line
    size_t skip = 0;             // lines still to pass over
    std::vector<DrawLine> batch;  // kBatchLines lines, the first `filled` of them handed on
    size_t filled = 0;
    std::string longLine, longItem;  // what is kept of a line longer than the buffer holds

    // The line ends of the 64 bytes at chunkAt (npos: none), found once for all the lines in them.
    size_t chunkAt = std::string::npos;
    uint64_t chunkBits = 0;

    // The first CR or LF at or after pos in the bytes read, or end.
    size_t lineEndFrom(size_t pos) {
#if DZ_SSE2
        const char* b = buf.data();
        for (;;) {
            const size_t base = pos & ~size_t(63);  // the buffer has room for 64 bytes past end
            if (base != chunkAt) {
                chunkBits = lineEndBits(b + base);
                chunkAt = base;
            }
            uint64_t bits = chunkBits & (~uint64_t(0) << (pos - base));
            if (end - base < 64) bits &= (uint64_t(1) << (end - base)) - 1;  // bytes past end do not count
            if (bits) return base + size_t(std::countr_zero(bits));
            if (base + 64 >= end) return end;
            pos = base + 64;
        }
#else
        return size_t(findLineEnd(buf.data() + pos, buf.data() + end) - buf.data());
#endif
    }

    void refill() {
        chunkAt = std::string::npos;  // the bytes move and more come
        if (begin > 0) {
            std::memmove(buf.data(), buf.data() + begin, end - begin);
            end -= begin;
            begin = 0;
        }
        const size_t n = src->readAt(filePos, buf.data() + end, cap - end);
        if (n == 0) eof = true;
        filePos += n;
        end += n;
    }

    void put(std::string_view line, std::string_view item) {
        if (skip > 0) {
            --skip;
            ++index;
            return;
        }
        DrawLine& l = batch[filled++];
        l.index = index++;
        l.line = line;
        l.item = item;
        parseRecord(item, l.record);
    }

    // Splits the complete lines the buffer holds.
    void split() {
        const char* b = buf.data();
        const UsualLines scan = usualLineScan();
        while (begin < end && filled < kBatchLines) {
            if (skip == 0 && end - begin >= kUsualLine) {
                const char* p = b + begin;
                const size_t n = scan(p, b + end, &batch[filled], kBatchLines - filled, index);
                if (n > 0) {
                    begin = size_t(p - b);
                    filled += n;
                    index += n;
                    continue;
                }
            }
            const char* p = b + begin;
            const size_t lineEnd = lineEndFrom(begin);
            size_t next;
            if (lineEnd == end) {
                if (!eof) return;
                next = end;
            } else if (b[lineEnd] == '\r') {
                if (lineEnd + 1 < end) next = lineEnd + (b[lineEnd + 1] == '\n' ? 2 : 1);
                else if (eof) next = lineEnd + 1;
                else return;  // a CR LF may go on in the next block
            } else {
                next = lineEnd + 1;
            }
            const size_t len = lineEnd - begin;
            if (skip > 0) put({}, {});
            else put({p, std::min(len, kDrawLineKept)}, itemHead(p, len));
            begin = next;
        }
    }

    // A line that does not fit the buffer: read on to its end, keeping its head and its item's head.
    void readLongLine() {
        longLine.assign(buf.data() + begin, kDrawLineKept);
        longItem.clear();
        bool lead = true, itemDone = false;
        for (;;) {
            const char* b = buf.data();
            const char* e = findLineEnd(b + begin, b + end);
            for (const char* q = b + begin; q < e && !itemDone; ++q) {
                if (lead && isBlank(*q)) continue;
                lead = false;
                if (*q == ',' || longItem.size() >= kDrawItemKept) itemDone = true;
                else longItem.push_back(*q);
            }
            if (e < b + end) {
                begin = size_t(e - b) + 1;
                if (*e == '\r') {
                    if (begin == end && !eof) {
                        begin = end = 0;
                        refill();
                    }
                    if (begin < end && buf[begin] == '\n') ++begin;
                }
                break;
            }
            begin = end = 0;
            if (eof) break;
            refill();
            if (eof) break;
        }
        put(longLine, longItem);
    }
};

DrawReader::DrawReader(const DrawFile& file, size_t firstLine) : s_(std::make_unique<State>()) {
    s_->src = file.src_;
    s_->filePos = s_->src->dataStart;
    s_->skip = firstLine;
    s_->cap = size_t(std::min<uint64_t>(kBlock, s_->src->size));
    s_->buf.assign(s_->cap + kPad, 0);
    s_->batch.resize(kBatchLines);
}

DrawReader DrawReader::tail(const DrawFile& file, size_t n) {
    DrawReader r(file, 0);
    const DrawFile::Source& s = *file.src_;
    // A position is a line start when an LF, or a CR not followed by LF, stands before it; the end
    // of the file starts no line. Found backwards, block by block.
    const uint64_t lo = s.dataStart;
    uint64_t start = lo;
    if (n == 0) {
        start = s.size;
    } else {
        std::vector<char> buf(size_t(std::min<uint64_t>(kBlock, s.size)));
        size_t found = 0;
        char after = 0;  // the byte after the one looked at
        uint64_t pos = s.size;
        bool done = false;
        while (pos > lo && !done) {
            const uint64_t from = pos - std::min<uint64_t>(kBlock, pos - lo);
            const size_t got = s.readAt(from, buf.data(), size_t(pos - from));
            if (got != size_t(pos - from)) break;  // the file shrank: read it from the start
            for (size_t k = got; k-- > 0;) {
#if DZ_SSE2
                // Sixteen bytes without a line end at once: a long line is passed over quickly.
                if (k >= 16) {
                    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buf.data() + k - 15));
                    if (!_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')),
                                                        _mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))))) {
                        after = buf[k - 15];
                        k -= 15;
                        continue;
                    }
                }
#endif
                const char c = buf[k];
                const uint64_t at = from + k + 1;
                if (at < s.size && (c == '\n' || (c == '\r' && after != '\n')) && ++found == n) {
                    start = at;
                    done = true;
                    break;
                }
                after = c;
            }
            pos = from;
        }
    }
    r.s_->filePos = start;
    return r;
}

DrawReader::~DrawReader() = default;
DrawReader::DrawReader(DrawReader&&) noexcept = default;
DrawReader& DrawReader::operator=(DrawReader&&) noexcept = default;

std::span<const DrawLine> DrawReader::next() {
    State& s = *s_;
    s.filled = 0;
    for (;;) {
        s.split();
        if (s.filled > 0) return {s.batch.data(), s.filled};
        if (s.begin == s.end && s.eof) return {};
        if (s.end - s.begin >= kLongLine) {
            s.readLongLine();
            if (s.filled > 0) return {s.batch.data(), s.filled};
            continue;
        }
        s.refill();
    }
}

std::optional<size_t> countLines(const QString& path) {
    const auto f = DrawFile::load(path);
    if (!f) return std::nullopt;
    return f->size();
}

}  // namespace dz
