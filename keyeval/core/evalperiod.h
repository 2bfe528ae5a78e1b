// The period of an evaluation: the first and last draw of the draw file, the period fields of the
// window read into draw keys (with their defaults, the clamp to the file and the range check),
// and the spin buttons' steps.
#pragma once
#include "common/core/draws.h"

#include <QString>
#include <array>
#include <string_view>

namespace dz::keyeval {

// Whether a line carries a draw key: "YYYYMMDD NNN", digits where digits belong.
bool isDrawRecord(std::string_view line);

struct DrawFields {
    int year = 0, month = 0, day = 0, drawNo = 0;
    QString key;  // the record's first 12 characters
};

// What start-up reads from the draw file: the first and last records that carry a draw key.
struct DrawBounds {
    bool any = false;       // false: no line of the file is a draw record
    DrawFields first, last;
    size_t count = 0;       // every line counts as one record
    QString lastNumbers;    // the last record's 8 numbers and extra number, each " " + "00"
};
DrawBounds drawBounds(const DrawFile& draws);

// The eight period boxes: year, month, day and draw number of the day.
struct PeriodFields {
    std::array<QString, 4> from;  // Text1, Text2, Text3, Text8
    std::array<QString, 4> to;    // Text4, Text5, Text6, Text9
};

// Empty boxes read as "1".
void fillEmptyFields(PeriodFields& f);
// The minimum hit count of a box's text: 4..8.
int minimumHits(const QString& text);

enum class PeriodStatus { Ok, NoRecord, Wrong };
struct PeriodKeys {
    PeriodStatus status = PeriodStatus::Ok;
    QString fromKey, toKey;
};
// Reads the boxes into keys, writing back what the window's evaluation writes: a draw number
// above 264 becomes 264; a to key past the last record and a from key before the first record are
// replaced by that record's fields (each side at most once); then the range check.
PeriodKeys periodKeys(PeriodFields& f, const DrawBounds& b);

// The key of four field values: "0000", "00", "00", a blank, "000".
QString makeKey(int year, int month, int day, int drawNo);
// The draw number box a run writes from a draw key: the key's last three characters ("072").
QString drawNoOfKey(std::string_view key);
void setFields(std::array<QString, 4>& boxes, const DrawFields& d);

// A spin button's step: the box's value (0 when it holds no number) plus or minus one, raised to
// the floor when stepping down and cut to the ceiling when stepping up.
QString spinStep(const QString& text, int delta, int floor, int ceiling);

}  // namespace dz::keyeval
