#include "common/core/textfile.h"

#include "common/core/cp1250.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dz {

std::optional<std::string> readFileBytes(const QString& path) {
    QFile f;
    if (!openForReading(f, path)) return std::nullopt;
    std::string out;
    const qint64 size = f.size();
    if (size > 0) out.reserve(static_cast<size_t>(size));
    char buf[1 << 16];
    for (;;) {
        const qint64 n = f.read(buf, sizeof buf);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}

std::string_view withoutBom(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
}

QString decodeCapped(std::string_view s) { return cp1250::decode(s.substr(0, std::min(s.size(), kLineTextLimit))); }

std::vector<std::string_view> splitLines(std::string_view bytes) {
    bytes = withoutBom(bytes);
    // A line ends at CR LF, LF or a lone CR, so that no CR ever reaches a line; the input
    // item reader ends its items the same way.
    std::vector<std::string_view> lines;
    const char* const base = bytes.data();
    const size_t n = bytes.size();
    size_t pos = 0;
    size_t lf = 0;  // the next LF at or after pos (n when none); kept, so CR-only text stays linear
    bool lfKnown = false;
    while (pos < n) {
        if (!lfKnown || lf < pos) {
            const void* p = std::memchr(base + pos, '\n', n - pos);
            lf = p ? static_cast<size_t>(static_cast<const char*>(p) - base) : n;
            lfKnown = true;
        }
        size_t end = lf;
        if (const void* cr = std::memchr(base + pos, '\r', end - pos))
            end = static_cast<size_t>(static_cast<const char*>(cr) - base);
        lines.push_back(bytes.substr(pos, end - pos));
        if (end < n && bytes[end] == '\r') ++end;
        if (end < n && bytes[end] == '\n') ++end;
        pos = end;
    }
    return lines;
}

std::optional<QStringList> readLines(const QString& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    QStringList out;
    for (auto l : splitLines(*bytes)) out << decodeCapped(l);
    return out;
}

std::string_view InputItemReader::next() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    const size_t begin = pos_;
    while (pos_ < s_.size() && s_[pos_] != ',' && s_[pos_] != '\n' && s_[pos_] != '\r') ++pos_;
    std::string_view item = s_.substr(begin, pos_ - begin);
    if (pos_ < s_.size()) {
        if (s_[pos_] == ',') {
            ++pos_;
        } else {
            if (s_[pos_] == '\r') ++pos_;
            if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
        }
    }
    return item;
}

std::string_view InputItemReader::nextField() {
    size_t p = pos_;
    while (p < s_.size() && (s_[p] == ' ' || s_[p] == '\t')) ++p;
    if (p >= s_.size() || s_[p] != '"') return next();
    const size_t begin = p + 1;
    size_t end = begin;
    while (end < s_.size() && s_[end] != '"' && s_[end] != '\n' && s_[end] != '\r') ++end;
    const std::string_view item = s_.substr(begin, end - begin);
    pos_ = end < s_.size() && s_[end] == '"' ? end + 1 : end;
    next();  // what stands after the closing quote, up to the item's end
    return item;
}

std::string_view firstItem(std::string_view line) {
    size_t b = 0;
    while (b < line.size() && (line[b] == ' ' || line[b] == '\t')) ++b;
    size_t e = b;
    while (e < line.size() && line[e] != ',' && line[e] != '\n' && line[e] != '\r') ++e;
    return line.substr(b, e - b);
}

std::optional<QStringList> readInputItems(const QString& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    QStringList out;
    InputItemReader r(*bytes);
    while (!r.atEnd()) out << decodeCapped(r.next());
    return out;
}

std::optional<QString> readFirstItem(const QString& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    InputItemReader r(*bytes);
    return r.atEnd() ? QString() : decodeCapped(r.next());
}

int openRegularFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    // Whatever is no regular file is not even opened: opening a device can have effects of its own.
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    // O_NONBLOCK: a named pipe put in the file's place since would stop the open for good.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return -1;
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool openForReading(QFile& file, const QString& path) {
    const int fd = openRegularFile(path);
    if (fd < 0) return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

namespace {
// The one streaming pass over a file: every byte after a byte order mark at its start goes to
// sink.put(c), until put returns false or maxBytes bytes of the file were read; then sink.end().
// False when the file cannot be opened (openForReading).
template <class Sink>
bool scanBytes(const QString& path, uint64_t maxBytes, Sink& sink) {
    QFile file;
    if (!openForReading(file, path)) return false;
    static constexpr std::string_view kBom = "\xEF\xBB\xBF";
    size_t bomSeen = 0;    // bytes of a byte order mark matched at the start of the file
    bool atStart = true;   // still where a mark may stand
    char buf[1 << 16];
    for (uint64_t total = 0; total < maxBytes;) {
        const qint64 n = file.read(buf, qint64(std::min<uint64_t>(sizeof buf, maxBytes - total)));
        if (n <= 0) break;
        total += uint64_t(n);
        for (qint64 i = 0; i < n; ++i) {
            const char c = buf[i];
            if (atStart) {
                if (c == kBom[bomSeen]) {
                    if (++bomSeen == kBom.size()) atStart = false;
                    continue;
                }
                // Not a whole mark: the bytes matched so far belong to the first line.
                atStart = false;
                for (size_t j = 0; j < bomSeen; ++j)
                    if (!sink.put(kBom[j])) return true;
            }
            if (!sink.put(c)) return true;
        }
    }
    if (atStart)  // a file that ends inside what began as a mark
        for (size_t j = 0; j < bomSeen; ++j)
            if (!sink.put(kBom[j])) return true;
    sink.end();
    return true;
}

// Lines as splitLines ends them: f(line, cut, ended) for every line until f returns false, ended
// telling whether a line end followed the line.
struct LineSink {
    LineSink(size_t m, const std::function<bool(std::string_view, bool, bool)>& fn) : maxLine(m), f(fn) {}
    size_t maxLine;
    const std::function<bool(std::string_view, bool, bool)>& f;
    std::string line;
    bool cut = false, pending = false, afterCr = false;

    bool put(char c) {
        if (c == '\n' && afterCr) {  // the LF of a CR LF
            afterCr = false;
            return true;
        }
        afterCr = c == '\r';
        if (c == '\n' || c == '\r') {
            if (!f(std::string_view(line), cut, true)) return false;
            line.clear();
            cut = pending = false;
            return true;
        }
        pending = true;
        if (line.size() < maxLine)
            line.push_back(c);
        else
            cut = true;
        return true;
    }
    void end() {
        if (pending) f(std::string_view(line), cut, false);
    }
};

// Input items as InputItemReader::next gives them: an item starts wherever a byte is left,
// its leading blanks and tabs are skipped, and it ends at a comma, CR, LF or CR LF. An item cut
// goes to f as soon as it is cut (a reader that refuses it stops there), and the rest of it is
// passed over.
struct ItemSink {
    ItemSink(size_t m, const std::function<bool(std::string_view, bool)>& fn) : maxItem(m), f(fn) {}
    size_t maxItem;
    const std::function<bool(std::string_view, bool)>& f;
    std::string item;
    bool started = false, text = false, cut = false, afterCr = false;

    bool finish() {
        const bool more = cut || f(std::string_view(item), false);
        item.clear();
        started = text = cut = false;
        return more;
    }
    bool put(char c) {
        if (c == '\n' && afterCr) {  // the LF of a CR LF that ended the item before
            afterCr = false;
            return true;
        }
        afterCr = c == '\r';
        if (c == ',' || c == '\n' || c == '\r') return finish();
        started = true;
        if (cut || (!text && (c == ' ' || c == '\t'))) return true;
        text = true;
        if (item.size() < maxItem) {
            item.push_back(c);
            return true;
        }
        cut = true;
        return f(std::string_view(item), true);
    }
    void end() {
        if (started) finish();
    }
};

bool scanLines(const QString& path, size_t maxLine, uint64_t maxBytes,
               const std::function<bool(std::string_view, bool, bool)>& f) {
    LineSink sink{maxLine, f};
    return scanBytes(path, maxBytes, sink);
}
}  // namespace

bool forEachLine(const QString& path, size_t maxLine, const std::function<bool(std::string_view, bool)>& f) {
    return forEachLine(path, maxLine, UINT64_MAX, f);
}

bool forEachLine(const QString& path, size_t maxLine, uint64_t maxBytes,
                 const std::function<bool(std::string_view, bool)>& f) {
    return scanLines(path, maxLine, maxBytes,
                     [&](std::string_view line, bool cut, bool) { return f(line, cut); });
}

bool forEachItem(const QString& path, size_t maxItem, uint64_t maxBytes,
                 const std::function<bool(std::string_view, bool)>& f) {
    ItemSink sink{maxItem, f};
    return scanBytes(path, maxBytes, sink);
}

namespace {
// The first maxLines lines to f(line, ended); reading stops after the bytes that many lines kept
// at their longest, with their line ends, can take: no more of the file can be of use.
bool headLines(const QString& path, size_t maxLines, size_t maxLine,
               const std::function<void(std::string_view, bool)>& f) {
    if (maxLines == 0) {
        QFile file;
        return openForReading(file, path);
    }
    size_t lines = 0;
    return scanLines(path, maxLine, readBudget(maxLines, maxLine), [&](std::string_view line, bool, bool ended) {
        f(line, ended);
        return ++lines < maxLines;
    });
}
}  // namespace

std::optional<std::string> readHead(const QString& path, size_t maxLines, size_t maxLine) {
    std::string out;
    const bool opened = headLines(path, maxLines, maxLine, [&](std::string_view line, bool ended) {
        out.append(line);
        if (ended) out.push_back('\n');
    });
    if (!opened) return std::nullopt;
    return out;
}

std::optional<QStringList> readLines(const QString& path, size_t maxLines, size_t maxLine) {
    QStringList out;
    const bool opened =
        headLines(path, maxLines, maxLine, [&](std::string_view line, bool) { out << cp1250::decode(line); });
    if (!opened) return std::nullopt;
    return out;
}

std::optional<std::vector<std::string>> readItems(const QString& path, size_t maxItems, size_t maxItem) {
    std::vector<std::string> items;
    if (maxItems == 0) {
        QFile file;
        if (!openForReading(file, path)) return std::nullopt;
        return items;
    }
    const bool opened = forEachItem(path, maxItem, readBudget(maxItems, maxItem), [&](std::string_view item, bool) {
        items.emplace_back(item);
        return items.size() < maxItems;
    });
    if (!opened) return std::nullopt;
    return items;
}

bool writeBytes(const QString& path, std::string_view bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (!bytes.empty() && f.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        f.cancelWriting();
        return false;
    }
    // commit() passes over a failure of its own last flush (a full disk) and would put a cut
    // file in place of the old one: flush here, where a failure can still cancel.
    if (!f.flush() || f.error() != QFileDevice::NoError) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool writeLines(const QString& path, const QStringList& lines) {
    QByteArray out;
    qsizetype total = 0;
    for (const auto& l : lines) total += l.size() + 2;
    out.reserve(total);
    for (const auto& l : lines) {
        out += cp1250::encode(l);
        out += "\r\n";
    }
    return writeBytes(path, std::string_view(out.constData(), size_t(out.size())));
}

bool ownFileWritable(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) return errno == ENOENT;
    // a link counts by what it points to, and one to nothing is no missing name
    return ::stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool nameIsFree(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT;
}

bool writeOwnLines(const QString& path, const QStringList& lines) {
    return ownFileWritable(path) && writeLines(path, lines);
}

bool writeOwnBytes(const QString& path, std::string_view bytes) {
    return ownFileWritable(path) && writeBytes(path, bytes);
}

}  // namespace dz
