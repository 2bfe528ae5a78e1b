// How numbers become texts and texts numbers in every list line, label, box and file of the suite.
// All programs keep the same conventions:
//   - a number written as text gets one blank before it when it is not negative, "-" when it is;
//   - "@@..." masks right-align in at least that many characters and never cut, "00..." masks pad
//     with zeros;
//   - the numeric value of a text is the number its leading characters spell, blanks skipped
//     wherever they stand ("1 2" is 12), 0 when there is none;
//   - whole-number conversion rounds halves to the even neighbour (as std::nearbyint, not std::round);
//     whole values are written as integers, never through a float format ("2e+05");
//   - texts are cut with explicit bounds: a negative count never means "the whole string";
//   - text files are cp1250 (common/core/cp1250.h), every byte mapped both ways; lines are written
//     ended by CR LF and read ended by CR LF, LF or a lone CR, so no CR reaches a field
//     (common/core/textfile.h).
#pragma once
#include <QString>
#include <cstdint>
#include <string_view>

namespace dz {

// Number-to-text conversion: one blank before a non-negative number, "-" before a negative one.
QString str(long long v);

// Format(v, mask) for the masks the programs use:
//   "0", "00", "000", "0000" ...  digits with leading zeros (never cut);
//   "@", "@@" .. "@@@@@@"         right-aligned in at least that many characters, never cut;
//   "0 0 0 0"                     four digits with a blank between them;
//   "##0", "#", ""                shortest form.
QString format(long long v, std::string_view mask);
// Format(text, "@@..."): the text right-aligned in at least mask-length characters.
QString formatText(const QString& s, std::string_view mask);

// The numeric value of a text: the number its leading characters spell, blanks, tabs and line
// feeds skipped wherever they stand, 0 when there is none ("␣5" is 5, "1 2" is 12, "12ab" is 12,
// "abc" is 0, "-3" is -3, "1.5" is 1.5).
double val(std::string_view s);
double val(QStringView s);
// Whether the text holds a number (after blanks) and nothing else but blanks.
bool isNumeric(QStringView s);

// Whole-number conversion: halves go to the even neighbour.
long long roundHalfEven(double x);
// Int(x): the integer part rounded down.
long long intPart(double x);

// Mid$ with explicit bounds: 1-based start, count characters; out-of-range parts give "".
QString mid(const QString& s, qsizetype start1, qsizetype count);
std::string_view mid(std::string_view s, size_t start1, size_t count);

// A text with every control character shown as a visible mark: U+0000..U+001F and U+007F as
// their symbols of the Control Pictures block (a tab as U+2409, a CR as U+240D), any other
// control or format character (C1 controls, bidirectional overrides) as U+FFFD.
QString withVisibleControls(QString text);
// What a message or label quotes (a path, a row, a file's text) is capped, so that the words
// around it always show: at most kQuoted characters, then "...", never half a character; its
// control characters show as marks (withVisibleControls), never raw.
inline constexpr qsizetype kQuoted = 200;
QString quoted(const QString& text);
// A path quoted: a long one keeps its start and its end (the file's name, its last kQuoted / 2
// characters at most), "..." between them.
QString quotedPath(const QString& path);

}  // namespace dz
