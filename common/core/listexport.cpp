#include "common/core/listexport.h"

#include "common/core/textfile.h"
#include "common/core/textfmt.h"

namespace dz {

QString saveFailedMessage(const QString& fullName) {
    return QStringLiteral("Hiba a ") + quotedPath(fullName) + QStringLiteral(" mentésekor - sikertelen mentés !");
}

ListExporter::Result ListExporter::save(const QString& folder, const QStringList& items) {
    ++counter_;
    const QString num = format(counter_, "000");
    Result r;
    r.path = folder + QStringLiteral("/lista") + num + fileExt_;
    r.ok = writeOwnLines(r.path, items);
    // The file named as it lies on disk.
    r.message = r.ok ? QStringLiteral("A mentés az ") + quotedPath(r.path) + QStringLiteral(" file-ba történt !")
                     : saveFailedMessage(r.path);
    return r;
}

}  // namespace dz
