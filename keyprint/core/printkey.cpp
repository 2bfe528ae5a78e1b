#include "keyprint/core/printkey.h"

#include "common/core/keyfile.h"
#include "common/core/textfmt.h"

namespace dz::keyprint {

std::optional<LoadedKey> loadKey(const QString& path) {
    dz::key::LoadedRows load = dz::key::loadKeyRows(path, kRowLimit, dz::key::EmptyItem::Keep);
    if (load.fault == dz::key::KeyFault::CannotOpen) return std::nullopt;
    LoadedKey k;
    k.rows = std::move(load.rows);
    k.overLimit = load.truncated;
    k.notAKey = load.fault == dz::key::KeyFault::NotAKey;
    return k;
}

QString rowLimitMessage() { return QStringLiteral("Maximum 32736 sorú kulcsot lehet nyomtatni !"); }

int ticketCount(int rows) { return rows <= 0 ? 0 : (rows - 1) / 4 + 1; }

int gameTypeOf(const QString& row) { return int((row.size() + 1) / 3); }

QString rowIndicator(int index) { return dz::str(index + 1) + QStringLiteral(" /") + dz::str(index / 4 + 1); }

}  // namespace dz::keyprint
