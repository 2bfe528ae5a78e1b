#include "csere/core/shipped.h"

#include "common/core/cp1250.h"
#include "common/core/folder.h"
#include "csere/core/recordgrid.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <cmath>

namespace dz::csere::shipped {

QString descriptionPath(const QString& programFolder) {
    return dz::inFolder(programFolder, QLatin1String(kFolder) + QLatin1Char('/') + QLatin1String(kDescriptionFile));
}

QStringList readDescriptions(const QString& path) {
    const auto bytes = dz::readHead(path, dz::kStartFileLines);
    return bytes ? parseDescriptions(*bytes) : QStringList();
}

QStringList parseDescriptions(std::string_view bytes) {
    QStringList lines;
    const auto views = dz::splitLines(bytes);  // a byte order mark at the start skipped
    lines.reserve(qsizetype(views.size()));
    for (std::string_view v : views) lines << dz::cp1250::decode(v);
    return lines;
}

bool writeDescriptions(const QString& path, const QStringList& lines) { return dz::writeOwnLines(path, lines); }

QString keyFileName(const QString& line) {
    QString name = line.left(12);
    while (!name.isEmpty() && name.back().isSpace()) name.chop(1);
    return name;
}

QString keyFilePath(const QString& programFolder, const QString& line) {
    const QString name = keyFileName(line);
    if (name.trimmed().isEmpty()) return {};
    return dz::inFolder(programFolder, QLatin1String(kFolder) + QLatin1Char('/') + name);
}

QString countFirstRow(const QString& line) {
    const QString name = line.left(8);
    const double count = std::clamp(dz::val(QStringView(dz::mid(name, 2, 2))), -99.0, 99.0);
    const QChar type = name.isEmpty() ? QChar() : name[0];
    const int typeValue = type >= QLatin1Char('0') && type <= QLatin1Char('9') ? type.digitValue() : 0;
    return dz::format(dz::roundHalfEven(count), "00") + QString::number(typeValue) + dz::mid(name, 4, 5) +
           line.mid(8);
}

}  // namespace dz::csere::shipped
