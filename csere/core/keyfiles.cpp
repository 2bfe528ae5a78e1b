#include "csere/core/keyfiles.h"

#include "common/core/cp1250.h"
#include "common/core/keyfile.h"
#include "csere/core/keyrows.h"
#include "common/core/textfile.h"

namespace dz::csere {

KeyLoad loadKey(const QString& path, KeySource source) {
    KeyLoad r;
    // A shipped key goes on past an empty line, which is no row (it would only turn into empty or
    // FIX-only rows); a loaded key ends at it.
    dz::key::LoadedRows load = dz::key::loadKeyRows(
        path, kRowLimit, source == KeySource::Loaded ? dz::key::EmptyItem::EndsRows : dz::key::EmptyItem::Skip);
    r.opened = load.fault != dz::key::KeyFault::CannotOpen;
    r.notAKey = load.fault == dz::key::KeyFault::NotAKey;
    r.rows = std::move(load.rows);
    r.truncated = load.truncated;
    r.longRow = std::move(load.longRow);
    return r;
}

QString selectionLine(uint32_t marks) { return producedRow(marks); }

bool writeSelection(const QString& path, uint32_t marks) { return dz::writeLines(path, {selectionLine(marks)}); }

uint32_t parseSelection(std::string_view bytes) {
    uint32_t m = 0;
    dz::InputItemReader r(bytes);
    while (!r.atEnd()) {
        const std::string_view item = r.next();
        if (item.empty()) continue;
        m |= rowMask(dz::cp1250::decode(item), CountRule::IntegerPart);
    }
    return m;
}

SelectionLoad readSelection(const QString& path) {
    auto bytes = dz::readHead(path, dz::kStartFileLines);
    if (!bytes) return {};
    return {true, parseSelection(*bytes)};
}

}  // namespace dz::csere
