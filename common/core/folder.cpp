#include "common/core/folder.h"

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
    // A name with folders in it ("kulcsp/x.txt") is looked up one part at a time.
    const qsizetype slash = name.indexOf(QLatin1Char('/'));
    const QString head = slash < 0 ? name : name.left(slash);
    QString found;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(head, Qt::CaseInsensitive) == 0) {
            found = folder + QLatin1Char('/') + e;
            break;
        }
    if (found.isEmpty()) return exact;
    if (slash < 0) return found;
    const QString rest = inFolder(found, name.mid(slash + 1));
    return QFileInfo::exists(rest) ? rest : exact;
}

}  // namespace dz
