// The key list editor's work on rows of text: loading and saving a key file as plain text, the
// file description list, the probe counts, the row range of a selection, and the row edits.
#pragma once
#include "common/core/suite.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>
#include <vector>

namespace dz::keyedit {

inline constexpr const char* kDescriptionFile = "fleiras.txt";
inline constexpr const char* kDefaultKeyFile = "mkulcs.txt";

// ---- Files ----------------------------------------------------------------------------------

struct LoadedText {
    QStringList rows;        // every line as it stands, blanks and empty lines kept
    bool overLimit = false;  // more than 32736 lines: the first 32736 were taken
    bool tooLong = false;    // a line longer than kLineTextLimit: nothing taken, rows is empty
};
// A key file read as text: CR LF, LF or a lone CR ends a line. The rows are saved back as held,
// so a file with a line longer than kLineTextLimit is refused whole rather than cut.
LoadedText rowsOfText(std::string_view bytes);
// The same read as a stream: never more of the file than 32737 lines of that length can take.
// nullopt when the file cannot be opened.
std::optional<LoadedText> loadText(const QString& path);
// The refusal of a file with a line too long to hold.
inline QString tooLongMessage() { return QStringLiteral("Az állomány túl nagy, nem tölthető be !"); }
// Every row followed by CR LF, replacing the file whole; false when that failed.
bool saveText(const QString& path, const QStringList& rows);

// The file name of a description line: its first 12 characters without blanks at both ends.
QString descriptionName(const QString& line);

// ---- Window helpers -------------------------------------------------------------------------

// The number in a parameter box: the leading number, a fraction rounded half to even, 0 when
// there is none; huge values are clamped rather than wrapped.
long long boxNumber(const QString& text);

// "Tól:" and "Ig:" from a selection of the left list: the current row (1-based) is the end,
// the start is the top of the selected run just above it.
struct RowRange {
    long long from = 0, to = 0;
};
std::optional<RowRange> rangeOfSelection(const std::vector<bool>& selected, int currentRow0);

// ---- Row edits ------------------------------------------------------------------------------

// Range: a From..To pair of the row deletion or the middle cut.
enum class Refusal { None, Range, Left, Right };
QString refusalMessage(Refusal r);

// Deletes rows from..to (1-based, both included); refused unless 1 <= from <= to <= rows.
Refusal deleteRows(QStringList& rows, long long from, long long to);
// The cuts check their parameters against the first row and give every row's result; a row
// shorter than a cut becomes empty. Refused results are left untouched in *out.
Refusal cutLeft(const QStringList& rows, long long n, QStringList* out);
Refusal cutRight(const QStringList& rows, long long n, QStringList* out);
Refusal cutMiddle(const QStringList& rows, long long from, long long to, QStringList* out);

}  // namespace dz::keyedit
