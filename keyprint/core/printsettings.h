// The print settings file "beallp.txt": the two paper shifts, the rows per A4 page and the mark.
#pragma once
#include "common/core/suite.h"

#include <QString>
#include <string_view>

namespace dz::keyprint {

inline constexpr const char* kSettingsFile = "beallp.txt";

// The mark characters of the three mark options, by index.
QString markText(int index);

// What the window shows of the settings.
struct Settings {
    QString down = QStringLiteral("0");   // Text1, mm
    QString right = QStringLiteral("0");  // Text2, mm
    QString rowsPerPage = QStringLiteral("60");  // Text5
    int mark = 1;  // 0 "x", 1 "*", 2 the bullet
};

// The file's content applied to the window's initial state: four items (a quoted one without its
// quotes); an item holding a number shows as that number, a missing one as empty (the mark as
// "x"); rows per page 0 shows 60; a mark that is no number or no index keeps "*".
Settings parseSettings(std::string_view bytes);
// The settings of the program folder; the initial state when the file cannot be read.
Settings loadSettings(const QString& folder);

// A number as the settings line and the boxes write it: "." as the decimal point, no exponent
// within the range of shifts, never "-0".
QString numberText(double v);
// A shift box read as printing reads it: blanks around cut, the first "," taken as ".", the
// leading number (0 when there is none).
double shiftValue(const QString& box);
// The one line the save writes (without its CR LF).
QString settingsLine(const QString& down, const QString& right, const QString& rowsPerPage, int mark);
// Replaces the file whole; false when it could not be written (the old file stays).
bool saveSettings(const QString& folder, const QString& down, const QString& right, const QString& rowsPerPage,
                  int mark);

}  // namespace dz::keyprint
