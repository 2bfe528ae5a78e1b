// The shipped keys of vazoz: key files in the folder "kulcsp" beside the programs, and their
// descriptions in "kulcsp/vevud.inf", one a line: columns 1-12 the key file's name, whose first
// character is the key's game type and the next two its count of numbers, then free text.
#pragma once
#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>

namespace dz::csere::shipped {

inline constexpr const char* kFolder = "kulcsp";
inline constexpr const char* kDescriptionFile = "vevud.inf";

// The description file of a program folder (folder and name matched case-blind).
QString descriptionPath(const QString& programFolder);
// Its lines, blanks kept, however many; an empty list when it is missing or empty.
QStringList readDescriptions(const QString& path);
// The same from the file's bytes.
QStringList parseDescriptions(std::string_view bytes);
// Replaces the file whole; false when that failed (the old file then stays).
bool writeDescriptions(const QString& path, const QStringList& lines);

// The key file's name: columns 1-12, without the blanks that pad the field.
QString keyFileName(const QString& line);
// Its full name in the program folder's "kulcsp", found case-blind; empty for a blank name.
QString keyFilePath(const QString& programFolder, const QString& line);

// The count-first view of a line: the count (columns 2-3) as two digits, the type (column 1)
// as a number (0 when it is no digit), columns 4-8, then everything after column 8.
QString countFirstRow(const QString& line);

}  // namespace dz::csere::shipped
