// Cutting the partial-day draw file "vevud.dat" out of the draw history "vevud.txt": the last N
// records, or every record whose draw key lies in a closed key range. Records are copied byte for
// byte, one a line, CR LF ended; the result replaces "vevud.dat" whole.
#pragma once
#include "common/core/suite.h"
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dz {
class DrawFile;
}

namespace dz::daystat {

// Every function below reads the history as a draw file, line by line (CR LF, LF or a lone CR ends
// a line; a last line without its end counts; a UTF-8 byte order mark at the start is dropped; what
// a line gives is cut at 4096 bytes); the file forms stream the file and give nullopt when it
// cannot be opened.

// How many records the history holds: every line counts.
std::optional<size_t> countFileRecords(const QString& path);

// The last n records (all of them when n is at least the count), each line ended by CR LF.
std::string copyLast(const dz::DrawFile& history, size_t n);
std::optional<std::string> lastFileRecords(const QString& path, size_t n);

// Every record whose draw key (the first 12 characters of the line read as one item) lies in
// from..to, compared as text; the whole history is read. count receives the number of records.
std::string copyRange(const dz::DrawFile& history, std::string_view from, std::string_view to, long long& count);
std::optional<std::string> fileRecordsInRange(const QString& path, std::string_view from, std::string_view to, long long& count);

// The answer of the "last N" input box: nullopt ends the cut quietly (Cancel, not numeric); 0
// asks again (0, negative, fractional or above the count); else N.
std::optional<long long> lastCountAnswer(const std::optional<QString>& answer, long long count);
QString lastCountPrompt(long long count);

// The fields of a draw key as the range window reads them from a record.
struct KeyFields {
    long long year = 0, month = 0, day = 0, draw = 0;
    std::string key;  // the first 12 characters
};
KeyFields keyFields(std::string_view record);
// The first and the last record of the history (nullopt: an empty history); the file form gives
// nullopt when the file cannot be read.
struct HistoryBounds {
    KeyFields first, last;
    long long count = 0;
};
std::optional<HistoryBounds> boundsOf(const dz::DrawFile& history);
std::optional<std::optional<HistoryBounds>> fileHistoryBounds(const QString& path);

// A draw key built from the eight boxes' values: "0000" "00" "00" " " "000".
std::string buildKey(double year, double month, double day, double draw);

// The range window's boxes as numbers and the steps of "Leválogat" before the file is cut.
struct RangeBoxes {
    QString from[4];  // year, month, day, draw number (Text1, Text2, Text3, Text8)
    QString to[4];    // Text4, Text5, Text6, Text9
};
struct RangeCheck {
    bool ok = false;
    std::string fromKey, toKey;
    bool toClamped = false, fromClamped = false;  // the boxes that took the last or first record's fields
};
// Builds both keys; pulls TO back to the last record and FROM forward to the first one, each at
// most once; then checks the setting. boxes receives the clamped texts.
RangeCheck checkRange(RangeBoxes& boxes, const std::optional<HistoryBounds>& bounds);

// The one spin step: value of the text plus step, held on the side the step moves to.
QString spinStep(const QString& text, int step, long long lower, long long upper);

// Writes a cut over "vevud.dat" through a temporary file; false when that failed (the old file stays).
bool writeCut(const QString& path, std::string_view bytes);

QString cutFailedMessage();   // "Hiba a vevud.dat mentésekor - sikertelen mentés !"
QString badRangeMessage();    // "Hibás tól-; ig- beállítás !"
QString missingHistoryMessage();  // "Nincs *vevud.txt* állomány !"
QString title();              // dz::signature()

}  // namespace dz::daystat
