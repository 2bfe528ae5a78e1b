// The key choice: the rows of a chosen key file as the key list shows them before a run.
#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace dz::keyeval {

struct LoadedKeyList {
    QStringList rows;        // input items, leading blanks dropped; an empty item ends the loading
    bool overLimit = false;  // more than 32736 rows: the first 32736 were kept
    bool notAKey = false;    // a row longer than any key row: rows is empty, the file is no key
};
// nullopt when the file cannot be opened (or is no regular file).
std::optional<LoadedKeyList> loadKeyList(const QString& path);

}  // namespace dz::keyeval
