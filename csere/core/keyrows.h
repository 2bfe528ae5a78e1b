// Vazoz's key rows: three-character fields, the two count rules, the rows it writes, and the
// analysis of a loaded key that every operation relies on.
#pragma once
#include "common/core/suite.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace dz::csere {


// How many fields a row has: (length + 1) / 3 rounded (halves to even), or its integer part.
enum class CountRule { Rounded, IntegerPart };
int fieldCount(QStringView row, CountRule rule);

// What one field holds.
enum class FieldKind { Empty, Number, Bad };
struct Field {
    FieldKind kind = FieldKind::Empty;
    int number = 0;  // 1..20 for a Number
};
// Field j (1-based): the numeric value of the three characters from 3(j - 1) + 1. A value of 0
// (blanks, letters, past the end) is Empty; a whole 1..20 is a Number; a negative, fractional or
// above-20 value is Bad.
Field field(QStringView row, int j);

// The numbers 1..20 of a row's fields as a bit set (bit n for number n); Empty and Bad fields
// add nothing.
uint32_t rowMask(QStringView row, CountRule rule, int* count = nullptr);

// "00" for 1..20.
QString twoDigits(int n);
// A row as the workshop writes it: each number of the bit set ascending as "00" and a blank.
QString producedRow(uint32_t mask);

// The analysis of the loaded key.
struct KeyAnalysis {
    uint32_t presence = 0;  // bit n: number n occurs in some row
    int gameType = 0;       // the field count of the last row analysed
    int distinct = 0;
    int rowCount = 0;
    bool operator==(const KeyAnalysis&) const = default;
};

// The load's analysis (rounded count). A Bad field rejects the whole key: the row that held it
// is returned, and the analysis is the empty one.
struct AnalysisOutcome {
    KeyAnalysis analysis;
    std::optional<QString> rejectedRow;
};
AnalysisOutcome analyseKey(const QStringList& rows);
// "20-nél nagyobb szám van a kulcsban !", a CR and the row.
QString rejectedKeyMessage(const QString& row);
// "8-nál több szám van a sorban !", a CR and the row: a row longer than any key row can be.
QString longRowMessage(const QString& row);

// After a row was removed from the loaded key: Bad fields are skipped without a word.
KeyAnalysis reanalyseSkipping(const QStringList& rows);
// After the new key was taken back: the game type is the longest row's count.
KeyAnalysis analyseTakenBack(const QStringList& rows);

// The key's numbers for the drop-down: "00" texts, ascending.
QStringList presentNumbers(uint32_t presence);

// "Lista betelt, maximum 32736 sor tölthető be !"
QString rowLimitMessage();

}  // namespace dz::csere
