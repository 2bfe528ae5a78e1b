#include "keychoice.h"

#include "core/draws.h"
#include "core/keyfile.h"

namespace dz::keyeval {

std::optional<LoadedKeyList> loadKeyList(const QString& path) {
    LoadedKeyList k;
    auto rows = key::loadRows(path, kRowLimit, &k.overLimit, key::EmptyItem::EndsRows);
    if (!rows) return std::nullopt;
    k.rows = std::move(*rows);
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
