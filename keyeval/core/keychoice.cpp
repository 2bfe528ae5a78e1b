#include "keyeval/core/keychoice.h"

#include "common/core/draws.h"
#include "common/core/keyfile.h"

namespace dz::keyeval {

std::optional<LoadedKeyList> loadKeyList(const QString& path) {
    key::LoadedRows load = key::loadKeyRows(path, kRowLimit, key::EmptyItem::EndsRows);
    if (load.fault == key::KeyFault::CannotOpen) return std::nullopt;
    LoadedKeyList k;
    k.rows = std::move(load.rows);
    k.overLimit = load.truncated;
    k.notAKey = load.fault == key::KeyFault::NotAKey;
    return k;
}

}  // namespace dz::keyeval
