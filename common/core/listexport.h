// The L key on a result list: the list goes to the next numbered list file of the program folder.
#pragma once
#include "common/core/suite.h"

#include <QString>
#include <QStringList>

namespace dz {

class ListExporter {
public:
    // drawstat writes "lista001.txt", daystat "lista001.dat".
    explicit ListExporter(QString fileExt = QStringLiteral(".txt")) : fileExt_(std::move(fileExt)) {}

    struct Result {
        bool ok = false;
        QString path;     // the file written (or that could not be written)
        QString message;  // what the user is told
    };
    // One counter for every list of the program: the exports of a run are numbered 1, 2, 3 ...
    Result save(const QString& folder, const QStringList& items);
    int counter() const { return counter_; }

    static QString title() { return dz::signature(); }

private:
    QString fileExt_;
    int counter_ = 0;
};

// "Hiba a <name> mentésekor - sikertelen mentés !": the suite's message for a file that could not be
// saved, the name quoted (quotedPath).
QString saveFailedMessage(const QString& fullName);

}  // namespace dz
