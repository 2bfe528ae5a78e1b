#include "common/core/draws.h"

#include "common/core/drawscan.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <QFile>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

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

// The scans this processor runs best, and the baseline ones (SSE2 on x86-64), chosen once.
const drawscan::Scans& scansFor(LineScan scan) {
    static const drawscan::Scans& best = drawscan::avx2() ? *drawscan::avx2()
                                         : drawscan::sse2() ? *drawscan::sse2()
                                                            : drawscan::plain();
    static const drawscan::Scans& baseline = drawscan::sse2() ? *drawscan::sse2() : drawscan::plain();
    return scan == LineScan::Baseline ? baseline : best;
}

void parseRecord(const drawscan::Scans& scans, std::string_view item, DrawRecord& r) {
    if (item.size() >= 39 && scans.twoDigitRecord(reinterpret_cast<const unsigned char*>(item.data()), r)) return;
    r = parseFieldByField(item);
}

}  // namespace

DrawRecord parseDrawRecord(std::string_view item) {
    DrawRecord r;
    parseRecord(scansFor(LineScan::Best), item, r);
    return r;
}

const char* lineScanName(LineScan scan) { return scansFor(scan).name; }

namespace {

// Bytes a pass reads at a time; the buffer holds drawscan::kPad more.
constexpr size_t kBlock = size_t(1) << 20;
// A line that fills this much of the buffer without an end is read on in the long-line way.
constexpr size_t kLongLine = kBlock / 4;
// Lines a batch hands on at most: small enough to stay in the processor's cache until the pass reads it.
constexpr size_t kBatchLines = 2048;

// The line read as one input field, cut to kDrawItemKept bytes. Bytes up to kPad past the line
// may be loaded (the buffer has room for them) but never count.
std::string_view itemHead(const drawscan::Scans& scans, const char* p, size_t len) {
    size_t i = 0;
    while (i < len && drawscan::isBlank(p[i])) ++i;
    return {p + i, scans.itemLength(p + i, std::min(len - i, kDrawItemKept))};
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
    const drawscan::Scans& scans = scansFor(LineScan::Best);
    size_t count = 0;
    char prev = 0;  // the byte before the block
    uint64_t pos = s.dataStart;
    while (pos < s.size) {
        const size_t n = s.readAt(pos, buf.data() + 1, block);
        if (n == 0) break;
        buf[0] = prev;
        const char* p = buf.data() + 1;
        count += scans.countLineEnds(p, n);
        prev = p[n - 1];
        pos += n;
    }
    if (pos > s.dataStart && prev != '\n' && prev != '\r') ++count;
    s.lines = count;
    return count;
}

struct DrawReader::State {
    std::shared_ptr<DrawFile::Source> src;
    const drawscan::Scans* scans = nullptr;
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
        const char* b = buf.data();
        for (;;) {
            const size_t base = pos & ~size_t(63);  // the buffer has room for 64 bytes past end
            if (base != chunkAt) {
                chunkBits = scans->lineEndBits(b + base);
                chunkAt = base;
            }
            uint64_t bits = chunkBits & (~uint64_t(0) << (pos - base));
            if (end - base < 64) bits &= (uint64_t(1) << (end - base)) - 1;  // bytes past end do not count
            if (bits) return base + size_t(std::countr_zero(bits));
            if (base + 64 >= end) return end;
            pos = base + 64;
        }
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
        parseRecord(*scans, item, l.record);
    }

    // Splits the complete lines the buffer holds.
    void split() {
        const char* b = buf.data();
        while (begin < end && filled < kBatchLines) {
            if (skip == 0 && end - begin >= drawscan::kUsualLine) {
                const char* p = b + begin;
                const size_t n = scans->usualLines(p, b + end, &batch[filled], kBatchLines - filled, index);
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
            else put({p, std::min(len, kDrawLineKept)}, itemHead(*scans, p, len));
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
            const char* e = scans->lineEnd(b + begin, b + end);
            for (const char* q = b + begin; q < e && !itemDone; ++q) {
                if (lead && drawscan::isBlank(*q)) continue;
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

DrawReader::DrawReader(const DrawFile& file, size_t firstLine, LineScan scan) : s_(std::make_unique<State>()) {
    s_->src = file.src_;
    s_->scans = &scansFor(scan);
    s_->filePos = s_->src->dataStart;
    s_->skip = firstLine;
    s_->cap = size_t(std::min<uint64_t>(kBlock, s_->src->size));
    s_->buf.assign(s_->cap + drawscan::kPad, 0);
    s_->batch.resize(kBatchLines);
}

DrawReader DrawReader::tail(const DrawFile& file, size_t n, LineScan scan) {
    DrawReader r(file, 0, scan);
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
            // The line ends before k, the last first.
            for (size_t k = got; k > 0;) {
                const size_t e = r.s_->scans->lastLineEnd(buf.data(), k);
                if (e == k) {  // none
                    after = buf[0];
                    break;
                }
                const char c = buf[e];
                if (e + 1 < k) after = buf[e + 1];
                const uint64_t at = from + e + 1;
                if (at < s.size && (c == '\n' || (c == '\r' && after != '\n')) && ++found == n) {
                    start = at;
                    done = true;
                    break;
                }
                after = c;
                k = e;
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
