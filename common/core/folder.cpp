#include "folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace dz {
namespace {
QString& folderOverride() {
    static QString f;
    return f;
}
}  // namespace

QString programFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) { folderOverride() = folder; }

QString inFolder(const QString& folder, const QString& name) {
    const QString exact = folder + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact)) return exact;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return folder + QLatin1Char('/') + e;
    return exact;
}

}  // namespace dz
