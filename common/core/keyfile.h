// Key rows and key files, the last key file pointer and the spreadsheet export file.
#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace dz::key {

inline constexpr const char* kPointerFile = "filenev.txt";
inline constexpr const char* kSpreadsheetFile = "minimum.txt";
inline constexpr const char* kDefaultKeyFile = "kulcs.txt";

// A row as the generators write it: a blank, then each number as "00" followed by a blank.
QString generatedRow(const std::vector<int>& ascendingNumbers);
// The same row for the numbers of a bit set (bit n for number n).
QString generatedRowFromMask(uint32_t mask);

// Game type of a row read back (leading blanks dropped): (length + 1) / 3, halves to even.
int gameType(const QString& row);
// Number j (1-based) of a row: the value of the three characters at 3(j - 1) + 1.
int rowNumber(const QString& row, int j);
// The numbers 1..20 of a row as a bit set (bit n for number n), with its game type; leading
// blanks are dropped first, values outside 1..20 are skipped.
uint32_t rowMask(std::string_view row, int* type = nullptr);

// What an empty item (an empty line) means to a reader of key rows.
enum class EmptyItem { Keep, Skip, EndsRows };
// A key file read as input items, leading blanks dropped, each cut at kLineTextLimit characters
// (no row is that long); an empty item (an empty line) is an empty row (Keep), no row (Skip), or
// ends the reading (EndsRows). Stops after maxRows rows, setting *truncated when one more follows.
// Read as a stream: never more of the file than maxRows + 1 rows of that length can take, so a
// link to /dev/zero or a line of a gigabyte costs no more than the rows kept. nullopt when the
// file cannot be opened.
std::optional<QStringList> loadRows(const QString& path, int maxRows, bool* truncated = nullptr,
                                    EmptyItem empty = EmptyItem::Keep);
// A key file read as a key: loadRows, except that a row longer than kLineTextLimit characters
// makes the file no key (a key row of 8 numbers is 23 characters, and no writer puts more than a
// blank or two around it; keyedit refuses such a line too): nothing is kept and the reading stops
// at that row.
enum class KeyFault { None, CannotOpen, NotAKey };
struct LoadedRows {
    KeyFault fault = KeyFault::None;
    QStringList rows;        // empty unless fault is None
    bool truncated = false;  // more than maxRows rows: the first maxRows are kept
    QString longRow;         // NotAKey: the start of the row too long, as much as a message quotes
};
LoadedRows loadKeyRows(const QString& path, int maxRows, EmptyItem empty);
// The suite's words for the two faults (keyedit's and keyeval's), which a program with none of its
// own for them says too: "Hibás file megnyitás !" (a file that cannot be opened or is no regular
// file) and "Hibás kulcsformátum !" (a file that is no key).
QString cannotOpenMessage();
QString notAKeyMessage();
// One row a line, CR LF, replacing the file whole; false when it failed (the old file is kept).
bool saveRows(const QString& path, const QStringList& rows);

// The pointer holds the full name of the last saved key file on its one line.
bool writeLastKeyPointer(const QString& folder, const QString& keyFileFullName);

// A key save: the key file (the old one kept on failure) and, only after it was saved, the
// pointer in the program folder. PointerFailed: the key is saved, the pointer could not be.
enum class KeySave { Saved, Failed, PointerFailed };
KeySave saveKey(const QString& keyFile, const QStringList& rows, const QString& programFolder);
// "Hiba a filenev.txt mentésekor - sikertelen mentés !"
QString pointerFailedMessage();
// Its whole first line (a comma in a path is no field end); nullopt when missing or empty.
std::optional<QString> readLastKeyPointer(const QString& folder);
struct SplitName {
    QString folder;  // empty when the name has no separator
    QString name;
};
// Split at the last "/" or "\".
SplitName splitPath(const QString& fullName);

// Where a key file dialog starts: the pointer's folder and name; without a separator the whole
// line is the name (in the program folder); without a pointer the program folder.
struct DialogStart {
    QString folder;
    QString name;
    bool fromPointer = false;  // a key file was saved before: the pointer was there
};
DialogStart dialogStart(const QString& programFolder);

// "minimum.txt": every row a line, for the spreadsheet program.
bool writeSpreadsheetExport(const QString& folder, const QStringList& rows, QString* path = nullptr);

}  // namespace dz::key
