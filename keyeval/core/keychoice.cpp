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
    const key::SplitName s = key::keyDialogStart(programFolder);
    return {s.folder, s.name};
}

}  // namespace dz::keyeval
