#include "keygen/core/selectionfile.h"

#include "common/core/keyfile.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

namespace dz::keygen {

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

}  // namespace dz::keygen
