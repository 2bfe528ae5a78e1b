#include "listexport.h"

#include "textfile.h"
#include "textfmt.h"

namespace dz {

QString saveFailedMessage(const QString& fullName) {
    return QStringLiteral("Hiba a ") + fullName + QStringLiteral(" mentésekor - sikertelen mentés !");
}

ListExporter::Result ListExporter::save(const QString& folder, const QStringList& items) {
    ++counter_;
    const QString num = format(counter_, "000");
    Result r;
    r.path = folder + QStringLiteral("/lista") + num + fileExt_;
    r.ok = writeLines(r.path, items);
    r.message = r.ok ? QStringLiteral("A mentés az ") + folder + QStringLiteral("/LISTA") + num + messageExt_ +
                           QStringLiteral(" file-ba történt !")
                     : saveFailedMessage(r.path);
    return r;
}

}  // namespace dz
