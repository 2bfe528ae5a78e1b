#include "daystat/core/cut.h"

#include "common/core/suite.h"
#include "common/core/draws.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <cmath>

namespace dz::daystat {

namespace {

void appendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append("\r\n");
}

// A whole value as plain digits, any other in up to 15 significant digits; no blank before either.
QString plain(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(static_cast<long long>(v));
    return QString::number(v, 'g', 15);
}

long long whole(double v) { return dz::roundHalfEven(std::clamp(v, -1e15, 1e15)); }

// Every line a pass reads, each CR LF ended.
template <class Keep>
std::string copyLines(dz::DrawReader reader, Keep&& keep) {
    std::string out;
    for (auto batch = reader.next(); !batch.empty(); batch = reader.next())
        for (const dz::DrawLine& l : batch)
            if (keep(l)) appendLine(out, l.line);
    return out;
}

}  // namespace

std::string copyLast(const dz::DrawFile& history, size_t n) {
    // the file is read from its end: only the lines copied are read
    return copyLines(dz::DrawReader::tail(history, n), [](const dz::DrawLine&) { return true; });
}

std::string copyRange(const dz::DrawFile& history, std::string_view from, std::string_view to, long long& count) {
    count = 0;
    return copyLines(dz::DrawReader(history), [&](const dz::DrawLine& l) {
        const std::string_view key = dz::drawKey(l.item);
        if (key < from || key > to) return false;
        ++count;
        return true;
    });
}

std::optional<HistoryBounds> boundsOf(const dz::DrawFile& history) {
    dz::DrawReader head(history);
    const auto firstBatch = head.next();
    if (firstBatch.empty()) return std::nullopt;
    HistoryBounds b;
    b.first = keyFields(firstBatch.front().line);
    dz::DrawReader tail = dz::DrawReader::tail(history, 1);
    const auto lastBatch = tail.next();
    b.last = lastBatch.empty() ? b.first : keyFields(lastBatch.back().line);
    b.count = static_cast<long long>(history.size());
    return b;
}

std::optional<size_t> countFileRecords(const QString& path) {
    const auto f = dz::DrawFile::load(path);
    if (!f) return std::nullopt;
    return f->size();
}

std::optional<std::string> lastFileRecords(const QString& path, size_t n) {
    const auto f = dz::DrawFile::load(path);
    if (!f) return std::nullopt;
    return copyLast(*f, n);
}

std::optional<std::string> fileRecordsInRange(const QString& path, std::string_view from, std::string_view to, long long& count) {
    count = 0;
    const auto f = dz::DrawFile::load(path);
    if (!f) return std::nullopt;
    return copyRange(*f, from, to, count);
}

std::optional<std::optional<HistoryBounds>> fileHistoryBounds(const QString& path) {
    const auto f = dz::DrawFile::load(path);
    if (!f) return std::nullopt;
    return boundsOf(*f);
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
        // Each side is pulled in at most once, TO and FROM alike: a record that is not a draw record never
        // rebuilds its own key, and a TO still above it must not keep FROM from its pull.
        if (r.toKey > bounds->last.key && !r.toClamped) {
            fill(b.to, bounds->last);
            r.toClamped = true;
            continue;
        }
        if (r.fromKey < bounds->first.key && !r.fromClamped) {
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

bool writeCut(const QString& path, std::string_view bytes) { return dz::writeOwnBytes(path, bytes); }

QString cutFailedMessage() { return QStringLiteral("Hiba a vevud.dat mentésekor - sikertelen mentés !"); }
QString badRangeMessage() { return QStringLiteral("Hibás tól-; ig- beállítás !"); }
QString missingHistoryMessage() { return QStringLiteral("Nincs *vevud.txt* állomány !"); }
QString title() { return dz::signature(); }

}  // namespace dz::daystat
