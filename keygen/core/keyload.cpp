#include "keygen/core/keyload.h"

#include "common/core/cp1250.h"
#include "common/core/draws.h"
#include "common/core/keyfile.h"

#include <bit>

namespace dz::keygen {

using namespace dz;

QString rowLimitMessage() { return QStringLiteral("Maximum 32736 sor adható meg !"); }

KeyLoad loadKeyFile(const QString& path) {
    KeyLoad r;
    key::LoadedRows load = key::loadKeyRows(path, kRowLimit, key::EmptyItem::Keep);
    r.opened = load.fault != key::KeyFault::CannotOpen;
    r.notAKey = load.fault == key::KeyFault::NotAKey;
    r.rows = std::move(load.rows);
    r.truncated = load.truncated;
    return r;
}

KeyChoice deriveChoice(const QStringList& listItems) {
    KeyChoice c;
    for (const QString& item : listItems) {
        int type = 0;
        const QByteArray bytes = cp1250::encode(item);
        c.chosenMask |= key::rowMask(std::string_view(bytes.constData(), size_t(bytes.size())), &type);
        c.gameType = type;
    }
    c.chosenCount = std::popcount(c.chosenMask);
    c.rowCount = int(listItems.size());
    return c;
}

}  // namespace dz::keygen
