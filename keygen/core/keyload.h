// The key list's files: loading a key file with what the load derives from it, and saving the
// key with the last key file pointer.
#pragma once
#include "common/core/keyfile.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace dz::keygen {

// "Maximum 32736 sor adható meg !": the row limit, for the load and the generation alike.
QString rowLimitMessage();

struct KeyLoad {
    bool opened = false;     // false: the file could not be opened (key::cannotOpenMessage)
    bool notAKey = false;    // a row longer than any key row: no key (key::notAKeyMessage), rows empty
    QStringList rows;        // input items without leading blanks; an empty line is an empty row
    bool truncated = false;  // the file held more than the row limit; rows keeps the first ones
};
KeyLoad loadKeyFile(const QString& path);

// What the load derives from the key list, read in list order.
struct KeyChoice {
    uint32_t chosenMask = 0;        // bit n for every number 1..20 that a row holds
    int chosenCount = 0;
    std::optional<int> gameType;    // the type of the last row; none for an empty list
    int rowCount = 0;
};
KeyChoice deriveChoice(const QStringList& listItems);

// The key save with its pointer (dz::key::saveKey).
using dz::key::KeySave;
using dz::key::saveKey;

}  // namespace dz::keygen
