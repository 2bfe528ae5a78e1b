// Loading a key for printing: every input item of the file is a row, in file order.
#pragma once
#include "common/core/suite.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dz::keyprint {

struct LoadedKey {
    QStringList rows;        // leading blanks dropped, trailing ones kept; an empty line is an empty row
    bool overLimit = false;  // the file held more rows than the list takes; the first ones are kept
    bool notAKey = false;    // a row longer than any key row: rows is empty, the file is no key
};
// nullopt when the file cannot be opened (or is no regular file).
std::optional<LoadedKey> loadKey(const QString& path);

// "Maximum 32736 sorú kulcsot lehet nyomtatni !"
QString rowLimitMessage();

// Ticket forms the rows fill at four a form (0 for no row).
int ticketCount(int rows);
// The count of numbers a row holds by its length: the whole part of (length + 1) / 3.
int gameTypeOf(const QString& row);
// The row indicator of the list position: " 5 / 2" for the fifth row, on form 2.
QString rowIndicator(int index);

}  // namespace dz::keyprint
