#include "cut.h"

#include "core/textfile.h"
#include "core/textfmt.h"

#include <QFile>

#include <algorithm>
#include <vector>
#include <cmath>
#include <cstring>

namespace daystat {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Splits text fed in chunks into lines: CR LF, LF or a lone CR ends one, a last line without an
// end counts; a line end split between two chunks is still one end. A UTF-8 byte order mark at
// the start is dropped. Only a line cut by a chunk's end is copied.
class LineSplitter {
public:
    template <class F>
    void feed(std::string_view c, F&& f) {
        size_t pos = 0;
        if (first_) {
            first_ = false;
            bomLeft_ = 3;
        }
        while (bomLeft_ > 0 && pos < c.size()) {
            // the mark may itself be split between chunks
            if (c[pos] != kBom[3 - bomLeft_]) {
                if (bomLeft_ < 3) pending_.append(kBom.substr(0, 3 - bomLeft_));
                bomLeft_ = 0;
                break;
            }
            ++pos;
            --bomLeft_;
        }
        if (afterCr_ && pos < c.size()) {
            if (c[pos] == '\n') ++pos;
            afterCr_ = false;
        }
        const size_t n = c.size();
        const char* const base = c.data();
        size_t lf = 0;  // the next LF at or after pos; kept, so text of lone CRs stays linear
        bool lfKnown = false;
        while (pos < n) {
            if (!lfKnown || lf < pos) {
                const void* p = std::memchr(base + pos, '\n', n - pos);
                lf = p ? size_t(static_cast<const char*>(p) - base) : n;
                lfKnown = true;
            }
            size_t e = lf;
            if (const void* cr = std::memchr(base + pos, '\r', e - pos)) e = size_t(static_cast<const char*>(cr) - base);
            if (e == n) {
                pending_.append(c.substr(pos));
                return;
            }
            if (pending_.empty()) {
                f(c.substr(pos, e - pos));
            } else {
                pending_.append(c.substr(pos, e - pos));
                f(std::string_view(pending_));
                pending_.clear();
            }
            if (c[e] == '\r') {
                if (e + 1 < n) {
                    if (c[e + 1] == '\n') ++e;
                } else {
                    afterCr_ = true;
                }
            }
            pos = e + 1;
        }
    }
    template <class F>
    void finish(F&& f) {
        if (bomLeft_ > 0 && bomLeft_ < 3) pending_.append(kBom.substr(0, 3 - bomLeft_));
        bomLeft_ = 0;
        if (!pending_.empty()) f(std::string_view(pending_));
        pending_.clear();
    }

private:
    std::string pending_;
    bool first_ = true, afterCr_ = false;
    int bomLeft_ = 0;
};

template <class F>
bool forEachLine(std::string_view bytes, F&& f) {
    LineSplitter s;
    s.feed(bytes, f);
    s.finish(f);
    return true;
}

// The lines of a file, read in chunks of 1 MB (no copy of the whole file); false when it cannot
// be opened or a read fails.
template <class F>
bool forEachLine(const QString& path, F&& f) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return false;
    std::vector<char> buf(size_t(1) << 20);
    LineSplitter s;
    for (;;) {
        const qint64 n = file.read(buf.data(), qint64(buf.size()));
        if (n < 0) return false;
        if (n == 0) break;
        s.feed(std::string_view(buf.data(), size_t(n)), f);
    }
    s.finish(f);
    return true;
}

void appendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append("\r\n");
}

// A whole value as plain digits, any other as the runtime writes it without its sign blank.
QString plain(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(static_cast<long long>(v));
    return QString::number(v, 'g', 15);
}

long long whole(double v) { return dz::roundHalfEven(std::clamp(v, -1e15, 1e15)); }

}  // namespace

namespace {

template <class Source>
std::optional<size_t> countIn(const Source& src) {
    size_t count = 0;
    if (!forEachLine(src, [&](std::string_view) { ++count; })) return std::nullopt;
    return count;
}

template <class Source>
std::optional<std::string> lastIn(const Source& src, size_t n) {
    if (n == 0) return std::string();
    const auto total = countIn(src);
    if (!total) return std::nullopt;
    const size_t skip = *total > n ? *total - n : 0;
    std::string out;
    out.reserve(std::min<size_t>(n, 1u << 20) * 42);
    size_t index = 0;
    if (!forEachLine(src, [&](std::string_view line) {
            if (index++ >= skip) appendLine(out, line);
        }))
        return std::nullopt;
    return out;
}

template <class Source>
std::optional<std::string> rangeIn(const Source& src, std::string_view from, std::string_view to, long long& count) {
    count = 0;
    std::string out;
    const bool read = forEachLine(src, [&](std::string_view line) {
        const std::string_view key = dz::firstItem(line).substr(0, 12);
        if (from <= key && key <= to) {
            appendLine(out, line);
            ++count;
        }
    });
    if (!read) return std::nullopt;
    return out;
}

template <class Source>
std::optional<std::optional<HistoryBounds>> boundsIn(const Source& src) {
    std::string first, last;
    long long count = 0;
    const bool read = forEachLine(src, [&](std::string_view line) {
        if (count == 0) first = line;
        ++count;
        last = line;
    });
    if (!read) return std::nullopt;
    if (count == 0) return std::optional<HistoryBounds>();
    return std::optional<HistoryBounds>(HistoryBounds{keyFields(first), keyFields(last), count});
}

}  // namespace

size_t countRecords(std::string_view bytes) { return *countIn(bytes); }
std::optional<size_t> countFileRecords(const QString& path) { return countIn(path); }

std::string lastRecords(std::string_view bytes, size_t n) { return *lastIn(bytes, n); }
std::optional<std::string> lastFileRecords(const QString& path, size_t n) { return lastIn(path, n); }

std::string recordsInRange(std::string_view bytes, std::string_view from, std::string_view to, long long& count) {
    return *rangeIn(bytes, from, to, count);
}
std::optional<std::string> fileRecordsInRange(const QString& path, std::string_view from, std::string_view to, long long& count) {
    return rangeIn(path, from, to, count);
}

std::optional<HistoryBounds> historyBounds(std::string_view bytes) { return *boundsIn(bytes); }
std::optional<std::optional<HistoryBounds>> fileHistoryBounds(const QString& path) { return boundsIn(path); }

QString lastCountPrompt(long long count) {
    return QStringLiteral("Kérem adja meg , hogy az utolsó hány húzást válogassam le !\rMaximum : ") + dz::str(count);
}

std::optional<long long> lastCountAnswer(const std::optional<QString>& answer, long long count) {
    if (!answer || !dz::isNumeric(*answer)) return std::nullopt;
    const double n = dz::val(QStringView(*answer));
    if (n < 1 || n != std::floor(n) || n > double(count)) return 0;
    return static_cast<long long>(n);
}

KeyFields keyFields(std::string_view record) {
    KeyFields k;
    const std::string_view item = dz::firstItem(record);
    k.year = whole(dz::val(dz::mid(item, 1, 4)));
    k.month = whole(dz::val(dz::mid(item, 5, 2)));
    k.day = whole(dz::val(dz::mid(item, 7, 2)));
    k.draw = whole(dz::val(dz::mid(item, 10, 3)));
    k.key = std::string(item.substr(0, 12));
    return k;
}

std::string buildKey(double year, double month, double day, double draw) {
    const QString k = dz::format(whole(year), "0000") + dz::format(whole(month), "00") + dz::format(whole(day), "00") +
                      QLatin1Char(' ') + dz::format(whole(draw), "000");
    return k.toStdString();
}

RangeCheck checkRange(RangeBoxes& b, const std::optional<HistoryBounds>& bounds) {
    RangeCheck r;
    auto fill = [](QString* boxes, const KeyFields& k) {
        boxes[0] = QString::number(k.year);
        boxes[1] = QString::number(k.month);
        boxes[2] = QString::number(k.day);
        boxes[3] = QString::number(k.draw);
    };
    double f[4], t[4];
    for (;;) {
        for (int i = 0; i < 4; ++i) {
            f[i] = dz::val(QStringView(b.from[i]));
            t[i] = dz::val(QStringView(b.to[i]));
        }
        r.toKey = buildKey(t[0], t[1], t[2], t[3]);
        r.fromKey = buildKey(f[0], f[1], f[2], f[3]);
        if (!bounds) break;  // an empty history: no record bounds the range
        // Each side is pulled in at most once: a record that is not a draw record never rebuilds its own key.
        if (r.toKey > bounds->last.key) {
            if (r.toClamped) break;
            fill(b.to, bounds->last);
            r.toClamped = true;
            continue;
        }
        if (r.fromKey < bounds->first.key) {
            if (r.fromClamped) break;
            fill(b.from, bounds->first);
            r.fromClamped = true;
            continue;
        }
        break;
    }
    const bool wrong = r.fromKey > r.toKey || f[1] > 12 || t[1] > 12 || f[2] > 31 || t[2] > 31 || f[3] > 264 ||
                       t[3] > 264;
    r.ok = bounds.has_value() && !wrong;
    return r;
}

QString spinStep(const QString& text, int step, long long lower, long long upper) {
    double v = dz::val(QStringView(text)) + step;
    if (step < 0 && v < double(lower)) v = double(lower);
    if (step > 0 && v > double(upper)) v = double(upper);
    return plain(v);
}

bool writeCut(const QString& path, std::string_view bytes) { return dz::writeBytes(path, bytes); }

QString cutFailedMessage() { return QStringLiteral("Hiba a vevud.dat mentésekor - sikertelen mentés !"); }
QString badRangeMessage() { return QStringLiteral("Hibás tól-; ig- beállítás !"); }
QString missingHistoryMessage() { return QStringLiteral("Nincs *vevud.txt* állomány !"); }
QString title() { return QStringLiteral("Vumo-Soft/2010"); }

}  // namespace daystat
