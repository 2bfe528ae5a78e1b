#include "cut.h"

#include "core/textfile.h"
#include "core/textfmt.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace daystat {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Calls f(line) for every line: CR LF, LF or a lone CR ends one; a last line without an end counts.
template <class F>
void forEachLine(std::string_view bytes, F&& f) {
    const char* const base = bytes.data();
    const size_t n = bytes.size();
    size_t pos = 0;
    size_t lf = 0;  // the next LF at or after pos; kept, so text of lone CRs stays linear
    bool lfKnown = false;
    while (pos < n) {
        if (!lfKnown || lf < pos) {
            const void* p = std::memchr(base + pos, '\n', n - pos);
            lf = p ? size_t(static_cast<const char*>(p) - base) : n;
            lfKnown = true;
        }
        size_t end = lf;
        if (const void* cr = std::memchr(base + pos, '\r', end - pos)) end = size_t(static_cast<const char*>(cr) - base);
        f(bytes.substr(pos, end - pos));
        if (end < n && bytes[end] == '\r') ++end;
        if (end < n && bytes[end] == '\n') ++end;
        pos = end;
    }
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

std::optional<std::string> readHistory(const QString& path) {
    auto bytes = dz::readFileBytes(path);
    if (bytes && std::string_view(*bytes).substr(0, 3) == kBom) bytes->erase(0, 3);
    return bytes;
}

size_t countRecords(std::string_view bytes) {
    // LF-ended lines are counted at memchr speed; a lone CR (not before an LF) ends one as well.
    size_t count = size_t(std::count(bytes.begin(), bytes.end(), '\n'));
    for (size_t p = bytes.find('\r'); p != std::string_view::npos; p = bytes.find('\r', p + 1))
        if (p + 1 >= bytes.size() || bytes[p + 1] != '\n') ++count;
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') ++count;
    return count;
}

std::string lastRecords(std::string_view bytes, size_t n) {
    if (n == 0) return {};
    const size_t total = countRecords(bytes);
    const size_t skip = total > n ? total - n : 0;
    std::string out;
    out.reserve(std::min(bytes.size(), (n + 1) * 48));
    size_t index = 0;
    forEachLine(bytes, [&](std::string_view line) {
        if (index++ >= skip) appendLine(out, line);
    });
    return out;
}

std::string recordsInRange(std::string_view bytes, std::string_view from, std::string_view to, long long& count) {
    count = 0;
    std::string out;
    forEachLine(bytes, [&](std::string_view line) {
        const std::string_view key = dz::firstItem(line).substr(0, 12);
        if (from <= key && key <= to) {
            appendLine(out, line);
            ++count;
        }
    });
    return out;
}

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

std::optional<HistoryBounds> historyBounds(std::string_view bytes) {
    std::string_view first, last;
    long long count = 0;
    forEachLine(bytes, [&](std::string_view line) {
        if (count == 0) first = line;
        last = line;
        ++count;
    });
    if (count == 0) return std::nullopt;
    return HistoryBounds{keyFields(first), keyFields(last), count};
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
