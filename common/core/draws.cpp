#include "draws.h"

#include "textfile.h"
#include "textfmt.h"

#include <QFile>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
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

// Inlined into the readers' line loop; parseDrawRecord is the same for other callers. The usual
// record, nine two-digit fields, is read in one go without branches on its numbers (they are
// random, so such branches mispredict) and written into its place a whole field at a time (byte
// stores read back as a word, or a record built apart and copied, would stall).
[[gnu::always_inline]] inline void parseRecord(std::string_view item, DrawRecord& r) {
    if (item.size() >= 39) {
        const auto* p = reinterpret_cast<const unsigned char*>(item.data());
#if defined(__SSE2__)
        // Columns 14..29 and 24..39 (1-based) in two vectors: field i (0..8) has its tens at
        // column 14 + 3i. Each digit's value, then tens x 10 plus the next lane's units.
        const __m128i zero = _mm_set1_epi8('0'), nine = _mm_set1_epi8(9);
        const __m128i d0 = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 13)), zero);
        const __m128i d1 = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 23)), zero);
        const unsigned ok0 = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d0, nine), d0)));
        const unsigned ok1 = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d1, nine), d1)));
        // the digit lanes: fields 0..3 in the first vector, 4..8 in the second
        constexpr unsigned kDigits0 = 0x06DB, kDigits1 = 0xDB6C;
        if ((ok0 & kDigits0) == kDigits0 && (ok1 & kDigits1) == kDigits1) {
            auto values = [](__m128i d) {
                const __m128i d2 = _mm_add_epi8(d, d), d8 = _mm_add_epi8(_mm_add_epi8(d2, d2), _mm_add_epi8(d2, d2));
                return _mm_add_epi8(_mm_add_epi8(d8, d2), _mm_srli_si128(d, 1));
            };
            alignas(16) unsigned char v[32];
            _mm_store_si128(reinterpret_cast<__m128i*>(v), values(d0));
            _mm_store_si128(reinterpret_cast<__m128i*>(v + 16), values(d1));
            constexpr int kLane[9] = {0, 3, 6, 9, 16 + 2, 16 + 5, 16 + 8, 16 + 11, 16 + 14};
            uint64_t packed = 0;
            uint32_t mask = 0;
#pragma GCC unroll 8
            for (int i = 0; i < 8; ++i) {
                const unsigned x = v[kLane[i]];
                const unsigned in = unsigned(x <= 20);
                packed |= uint64_t(in ? x : 0xFFu) << (8 * i);
                mask |= in << (x & 31u);
            }
            r.mask = mask & ~1u;  // a 0 field counts as no number
            std::memcpy(r.num.data(), &packed, sizeof packed);
            const unsigned e = v[kLane[8]];
            r.extra = e <= 20 ? int8_t(e) : int8_t(-1);
            return;
        }
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
#if defined(__SSE2__)
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

#if defined(__SSE2__)
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
#if defined(__SSE2__)
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

}  // namespace

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
    const QByteArray name = QFile::encodeName(path);
    // Without waiting, and only a regular file: a named pipe with no writer in the file's place
    // would stop the start in its open, and no other kind of file holds draws.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
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
#if defined(__SSE2__) && defined(__x86_64__)
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
    std::vector<DrawLine> batch;
    std::string longLine, longItem;  // what is kept of a line longer than the buffer holds

    // The line ends of the 64 bytes at chunkAt (npos: none), found once for all the lines in them.
    size_t chunkAt = std::string::npos;
    uint64_t chunkBits = 0;

    // The first CR or LF at or after pos in the bytes read, or end.
    size_t lineEndFrom(size_t pos) {
#if defined(__SSE2__)
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
        DrawLine& l = batch.emplace_back();
        l.index = index++;
        l.line = line;
        l.item = item;
        parseRecord(item, l.record);
    }

    // Splits the complete lines the buffer holds.
    void split() {
        const char* b = buf.data();
        while (begin < end && batch.size() < kBatchLines) {
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
    s_->batch.reserve(kBatchLines);
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
#if defined(__SSE2__)
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
    s.batch.clear();
    for (;;) {
        s.split();
        if (!s.batch.empty()) return s.batch;
        if (s.begin == s.end && s.eof) return {};
        if (s.end - s.begin >= kLongLine) {
            s.readLongLine();
            if (!s.batch.empty()) return s.batch;
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

double countCombinations(int n, int k) {
    if (n < k) return 0;
    double product = 1.0;
    for (int i = k + 1; i <= n; ++i) product *= i;
    double factorial = 1.0;
    for (int j = 1; j <= n - k; ++j) factorial *= j;
    return product / factorial;
}

}  // namespace dz
