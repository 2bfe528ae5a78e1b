#include "selectionfile.h"

#include "core/keyfile.h"
#include "core/textfile.h"
#include "core/textfmt.h"

namespace keygen {

using namespace dz;

QStringList selectionLines(const dz::NumberSelection& chosen) {
    QString line;
    for (int n = 1; n <= 20; ++n)
        if (chosen.marked(n)) line += format(n, "00") + QLatin1Char(' ');
    return {QStringLiteral("kulcs1"), line};
}

bool writeSelection(const QString& path, const dz::NumberSelection& chosen) {
    return writeLines(path, selectionLines(chosen));
}

SelectionLoad readSelection(const QString& path) {
    SelectionLoad r;
    auto bytes = readHead(path, kStartFileLines);
    if (!bytes) return r;
    InputItemReader in(*bytes);
    // The marker is read as text: empty lines before it are passed over.
    std::string_view marker;
    while (!in.atEnd() && marker.empty()) marker = in.next();
    if (marker != "kulcs1") {
        r.status = SelectionStatus::WrongMarker;
        return r;
    }
    while (!in.atEnd()) r.mask |= key::rowMask(in.next());
    r.status = SelectionStatus::Loaded;
    return r;
}

QString wrongSelectionMessage() { return QStringLiteral("Ez nem kijelölés mentés file !"); }

}  // namespace keygen
