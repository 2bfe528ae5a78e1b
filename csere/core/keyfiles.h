// The workshop's files: key files in and out (with the last key file pointer), the selection
// file "jeloles.txt" and the spreadsheet export.
#pragma once
#include "common/core/keyfile.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace dz::csere {

inline constexpr const char* kSelectionFile = "jeloles.txt";
inline constexpr const char* kShippedFolder = "kulcsp";

struct KeyLoad {
    bool opened = false;     // false: the file could not be opened (or is no regular file)
    bool notAKey = false;    // a row longer than any key row (longRow its start): rows is empty
    QStringList rows;        // input items without leading blanks, in file order
    bool truncated = false;  // the file held more than 32736 rows; rows keeps the first ones
    QString longRow;
};
// A key file read as input items. A loaded key ends at its first empty item; a shipped key goes
// on past empty items (they are no rows).
enum class KeySource { Loaded, Shipped };
KeyLoad loadKey(const QString& path, KeySource source = KeySource::Loaded);

// The key save with its pointer (dz::key::saveKey).
using dz::key::KeySave;
using dz::key::saveKey;

// The selection line: each marked number "00" and a blank, ascending; empty for no mark.
QString selectionLine(uint32_t marks);
bool writeSelection(const QString& path, uint32_t marks);
// Every number 1..20 found in the items of the bytes (integer-part field count); other values
// are skipped. Any key file reads as a selection of its numbers.
uint32_t parseSelection(std::string_view bytes);
struct SelectionLoad {
    bool opened = false;
    uint32_t marks = 0;
};
SelectionLoad readSelection(const QString& path);

}  // namespace dz::csere
