// The key choice: the rows of a chosen key file as the key list shows them before a run, and the
// start of the key file dialog from the last key file pointer.
#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace dz::keyeval {

struct LoadedKeyList {
    QStringList rows;        // input items, leading blanks dropped; an empty item ends the loading
    bool overLimit = false;  // more than 32736 rows: the first 32736 were kept
};
// nullopt when the file cannot be opened.
std::optional<LoadedKeyList> loadKeyList(const QString& path);

struct DialogStart {
    QString folder;  // start folder of the dialog
    QString name;    // preset file name
};
// From the pointer in the program folder: its folder and name; without a separator the whole
// line is the name; without a pointer the program folder.
DialogStart keyDialogStart(const QString& programFolder);

}  // namespace dz::keyeval
