#include "keyeval/core/evalperiod.h"

#include "common/core/textfmt.h"

#include <algorithm>

namespace dz::keyeval {

namespace {
bool digits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A box or field value as the 16-bit variables took it, kept in a range that cannot overflow.
int boxValue(const QString& text) { return int(roundHalfEven(std::clamp(val(QStringView(text)), -99999.0, 99999.0))); }

DrawFields fieldsOf(std::string_view line) {
    DrawFields d;
    d.year = fieldValue(line, 1, 4);
    d.month = fieldValue(line, 5, 2);
    d.day = fieldValue(line, 7, 2);
    d.drawNo = fieldValue(line, 10, 3);
    d.key = QString::fromLatin1(drawKey(line));
    return d;
}
}  // namespace

bool isDrawRecord(std::string_view line) {
    return line.size() >= 12 && digits(line.substr(0, 8)) && line[8] == ' ' && digits(line.substr(9, 3));
}

namespace {
// The last draw record a reader hands on; false when there is none.
bool lastRecordOf(DrawReader reader, std::string& last) {
    bool any = false;
    for (auto batch = reader.next(); !batch.empty(); batch = reader.next())
        for (const DrawLine& l : batch)
            if (isDrawRecord(l.line)) {
                last.assign(l.line.substr(0, 40));
                any = true;
            }
    return any;
}
}  // namespace

DrawBounds drawBounds(const DrawFile& draws) {
    // The line count, the first draw record from the start and the last from the file's end: the
    // history is not parsed as a whole.
    DrawBounds b;
    b.count = draws.size();
    std::string first, last;
    DrawReader reader(draws);
    for (auto batch = reader.next(); !batch.empty() && first.empty(); batch = reader.next())
        for (const DrawLine& l : batch)
            if (isDrawRecord(l.line)) {
                first.assign(l.line.substr(0, 40));
                break;
            }
    if (first.empty()) return b;
    // The last records are nearly always among the last lines; else the whole file is looked at.
    constexpr size_t kTail = 64;
    if (!lastRecordOf(DrawReader::tail(draws, kTail), last)) lastRecordOf(DrawReader(draws), last);
    b.any = true;
    b.first = fieldsOf(first);
    b.last = fieldsOf(last);
    for (int k = 0; k < 9; ++k) b.lastNumbers += QLatin1Char(' ') + format(fieldValue(last, size_t(13 + 3 * k), 3), "00");
    return b;
}

void fillEmptyFields(PeriodFields& f) {
    for (auto* box : {&f.to, &f.from})
        for (QString& s : *box)
            if (s.isEmpty()) s = QStringLiteral("1");
}

int minimumHits(const QString& text) { return std::clamp(boxValue(text), 4, 8); }

QString makeKey(int year, int month, int day, int drawNo) {
    return format(year, "0000") + format(month, "00") + format(day, "00") + QLatin1Char(' ') + format(drawNo, "000");
}

void setFields(std::array<QString, 4>& boxes, const DrawFields& d) {
    boxes = {QString::number(d.year), QString::number(d.month), QString::number(d.day), QString::number(d.drawNo)};
}

QString drawNoOfKey(std::string_view key) { return QString::fromLatin1(key.substr(key.size() >= 3 ? key.size() - 3 : 0)); }

PeriodKeys periodKeys(PeriodFields& f, const DrawBounds& b) {
    PeriodKeys out;
    if (!b.any) {
        out.status = PeriodStatus::NoRecord;
        return out;
    }
    struct Vals {
        int y, m, d, n;
    };
    auto read = [](std::array<QString, 4>& box) {
        Vals v{boxValue(box[0]), boxValue(box[1]), boxValue(box[2]), boxValue(box[3])};
        if (v.n > 264) {
            box[3] = QStringLiteral("264");
            v.n = 264;
        }
        return v;
    };
    bool toClamped = false, fromClamped = false;
    Vals to{}, from{};
    // The clamp writes a record's own fields, so each side needs at most one pass.
    for (;;) {
        to = read(f.to);
        from = read(f.from);
        out.toKey = makeKey(to.y, to.m, to.d, to.n);
        out.fromKey = makeKey(from.y, from.m, from.d, from.n);
        if (!toClamped && out.toKey > b.last.key) {
            setFields(f.to, b.last);
            toClamped = true;
        } else if (!fromClamped && out.fromKey < b.first.key) {
            setFields(f.from, b.first);
            fromClamped = true;
        } else {
            break;
        }
    }
    if (out.fromKey > out.toKey || to.m > 12 || from.m > 12 || to.d > 31 || from.d > 31 || to.n > 264 || from.n > 264)
        out.status = PeriodStatus::Wrong;
    return out;
}

QString spinStep(const QString& text, int delta, int floor, int ceiling) {
    int v = boxValue(text) + delta;
    if (delta < 0 && v < floor) v = floor;
    if (delta > 0 && v > ceiling) v = ceiling;
    return QString::number(v);
}

}  // namespace dz::keyeval
