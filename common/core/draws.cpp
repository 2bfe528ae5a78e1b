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

DrawRecord parseDrawRecord(std::string_view item) {
    DrawRecord r;
    if (item.size() >= 39) {
        // The usual record: nine two-digit fields, read in one go.
        const auto* p = reinterpret_cast<const unsigned char*>(item.data());
        unsigned bad = 0;
        int v[9];
        for (int i = 0; i < 9; ++i) {
            const unsigned a = p[13 + 3 * i] - unsigned('0'), b = p[14 + 3 * i] - unsigned('0');
            bad |= unsigned(a > 9) | unsigned(b > 9);
            v[i] = int(a * 10 + b);
        }
        if (!bad) {
            for (int i = 0; i < 8; ++i) {
                const bool in = v[i] <= 20;
                r.num[size_t(i)] = in ? int8_t(v[i]) : int8_t(-1);
                r.mask |= in && v[i] > 0 ? 1u << v[i] : 0u;
            }
            r.extra = v[8] <= 20 ? int8_t(v[8]) : int8_t(-1);
            return r;
        }
    }
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

namespace {

// Bytes a pass reads at a time, and the padding after them that lets the scans load whole vectors.
constexpr size_t kBlock = size_t(1) << 20;
constexpr size_t kPad = 64;
// A line that fills this much of the buffer without an end is read on in the long-line way.
constexpr size_t kLongLine = kBlock / 4;

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
    struct Whole {
        std::string bytes;
        std::vector<std::string_view> lines;
        std::vector<DrawRecord> records;
    };
    std::once_flag wholeRead;
    Whole whole;

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
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
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

namespace {
const DrawFile::Source::Whole& wholeOf(DrawFile::Source& s) {
    std::call_once(s.wholeRead, [&s] {
        auto& w = s.whole;
        w.bytes.resize(size_t(s.size - s.dataStart));
        w.bytes.resize(s.readAt(s.dataStart, w.bytes.data(), w.bytes.size()));
        w.lines = splitLines(w.bytes);
        w.records.reserve(w.lines.size());
        for (auto l : w.lines) w.records.push_back(parseDrawRecord(firstItem(l)));
    });
    return s.whole;
}
}  // namespace

std::string_view DrawFile::line(size_t i) const { return wholeOf(*src_).lines[i]; }
std::string_view DrawFile::item(size_t i) const { return firstItem(line(i)); }
const std::vector<DrawRecord>& DrawFile::records() const { return wholeOf(*src_).records; }

size_t DrawFile::size() const {
    Source& s = *src_;
    std::lock_guard lock(s.m);
    if (s.lines) return *s.lines;
    // Lines = LF + CR - CR LF pairs, and one more when the last line has no end.
    std::vector<char> buf(kBlock + 1);
    size_t count = 0;
    char prev = 0;  // the byte before the block
    uint64_t pos = s.dataStart;
    while (pos < s.size) {
        const size_t n = s.readAt(pos, buf.data() + 1, kBlock);
        if (n == 0) break;
        buf[0] = prev;
        const char* p = buf.data() + 1;
        size_t i = 0;
#if defined(__SSE2__)
        const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
        for (; i + 16 <= n; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i - 1));
            const int l = _mm_movemask_epi8(_mm_cmpeq_epi8(v, lf));
            const int c = _mm_movemask_epi8(_mm_cmpeq_epi8(v, cr));
            const int crlf = l & _mm_movemask_epi8(_mm_cmpeq_epi8(before, cr));
            count += size_t(std::popcount(unsigned(l)) + std::popcount(unsigned(c)) - std::popcount(unsigned(crlf)));
        }
#endif
        for (; i < n; ++i) {
            if (p[i] == '\r') ++count;
            else if (p[i] == '\n' && p[i - 1] != '\r') ++count;
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
    std::vector<char> buf;       // kBlock bytes and the padding
    size_t begin = 0, end = 0;   // the bytes read and not yet split
    bool eof = false;            // nothing more to read
    size_t index = 0;            // index of the next line
    size_t skip = 0;             // lines still to pass over
    std::vector<DrawLine> batch;
    std::string longLine, longItem;  // what is kept of a line longer than the buffer holds

    void refill() {
        if (begin > 0) {
            std::memmove(buf.data(), buf.data() + begin, end - begin);
            end -= begin;
            begin = 0;
        }
        const size_t n = src->readAt(filePos, buf.data() + end, kBlock - end);
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
        l.record = parseDrawRecord(item);
    }

    // Splits the complete lines the buffer holds.
    void split() {
        const char* b = buf.data();
        while (begin < end) {
            const char* p = b + begin;
            const size_t lineEnd = size_t(findLineEnd(p, b + end) - b);
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
    s_->buf.assign(kBlock + kPad, 0);
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
        std::vector<char> buf(kBlock);
        size_t found = 0;
        char after = 0;  // the byte after the one looked at
        uint64_t pos = s.size;
        bool done = false;
        while (pos > lo && !done) {
            const uint64_t from = pos - std::min<uint64_t>(kBlock, pos - lo);
            const size_t got = s.readAt(from, buf.data(), size_t(pos - from));
            if (got != size_t(pos - from)) break;  // the file shrank: read it from the start
            for (size_t k = got; k-- > 0;) {
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
