#include "keyeval/core/keychoice.h"

#include "common/core/draws.h"
#include "common/core/keyfile.h"

namespace dz::keyeval {

std::optional<LoadedKeyList> loadKeyList(const QString& path) {
    LoadedKeyList k;
    auto rows = key::loadRows(path, kRowLimit, &k.overLimit, key::EmptyItem::EndsRows);
    if (!rows) return std::nullopt;
    k.rows = std::move(*rows);
    return k;
}

}  // namespace dz::keyeval
