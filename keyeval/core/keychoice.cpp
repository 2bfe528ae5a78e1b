#include "keychoice.h"

#include "core/cp1250.h"
#include "core/draws.h"
#include "core/keyfile.h"
#include "core/textfile.h"

namespace dz::keyeval {

std::optional<LoadedKeyList> loadKeyList(const QString& path) {
    const auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    LoadedKeyList k;
    InputItemReader r(*bytes);
    while (!r.atEnd()) {
        const std::string_view item = r.next();
        if (item.empty()) break;
        if (k.rows.size() >= kRowLimit) {
            k.overLimit = true;
            break;
        }
        k.rows << cp1250::decode(item);
    }
    return k;
}

DialogStart keyDialogStart(const QString& programFolder) {
    DialogStart d{programFolder, QString()};
    const auto pointer = key::readLastKeyPointer(programFolder);
    if (!pointer) return d;
    const key::SplitName s = key::splitPath(*pointer);
    if (!s.folder.isEmpty()) d.folder = s.folder;
    d.name = s.name;
    return d;
}

}  // namespace dz::keyeval
