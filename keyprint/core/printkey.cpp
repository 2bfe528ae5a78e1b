#include "keyprint/core/printkey.h"

#include "common/core/keyfile.h"
#include "common/core/textfmt.h"

namespace dz::keyprint {

std::optional<LoadedKey> loadKey(const QString& path) {
    LoadedKey k;
    auto rows = dz::key::loadRows(path, kRowLimit, &k.overLimit, dz::key::EmptyItem::Keep);
    if (!rows) return std::nullopt;
    k.rows = std::move(*rows);
    return k;
}

QString rowLimitMessage() { return QStringLiteral("Maximum 32736 sorú kulcsot lehet nyomtatni !"); }

int ticketCount(int rows) { return rows <= 0 ? 0 : (rows - 1) / 4 + 1; }

int gameTypeOf(const QString& row) { return int((row.size() + 1) / 3); }

QString rowIndicator(int index) { return dz::str(index + 1) + QStringLiteral(" /") + dz::str(index / 4 + 1); }

}  // namespace dz::keyprint
