#include "keyprint/core/printsettings.h"

#include "common/core/cp1250.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <cmath>

namespace dz::keyprint {

QString markText(int index) {
    switch (index) {
        case 0: return QStringLiteral("x");
        case 1: return QStringLiteral("*");
        case 2: return QString(QChar(0x2022));
        default: return QString();
    }
}

namespace {
// Longest text a settings item puts into a box: a damaged file must not fill the window.
constexpr qsizetype kItemCap = 64;

// An item as the box shows it: a number as its text, anything else as it stands.
QString itemText(std::string_view item) {
    const QString s = dz::cp1250::decode(item);
    if (dz::isNumeric(s)) return numberText(dz::val(s));
    return s.left(kItemCap);
}
}  // namespace

Settings parseSettings(std::string_view bytes) {
    dz::InputItemReader in(bytes);
    std::string_view item[4];
    for (auto& it : item)
        if (!in.atEnd()) it = in.nextField();

    Settings s;
    s.down = itemText(item[0]);
    s.right = itemText(item[1]);
    // 0 stands for the default, also where the number's text is 0 (a value too small to write).
    s.rowsPerPage = itemText(item[2]);
    if (dz::val(QStringView(s.rowsPerPage)) == 0) s.rowsPerPage = QStringLiteral("60");
    const QString mark = dz::cp1250::decode(item[3]);
    if (item[3].empty()) {
        s.mark = 0;
    } else if (dz::isNumeric(mark)) {
        const long long i = dz::roundHalfEven(dz::val(mark));
        if (i >= 0 && i <= 2) s.mark = int(i);
    }
    return s;
}

Settings loadSettings(const QString& folder) {
    // Four items, one line each at most: no more of the file is read.
    const auto bytes = dz::readHead(folder + QLatin1Char('/') + QLatin1String(kSettingsFile), 4);
    if (!bytes) return Settings{};
    return parseSettings(*bytes);
}

QString numberText(double v) {
    if (!std::isfinite(v) || v == 0) return QStringLiteral("0");
    QString t = QString::number(v, 'g', 15);
    if (t.contains(QLatin1Char('e')) && std::abs(v) < 1) {
        // Below a ten-thousandth of a millimetre nothing is printed differently: plain decimals.
        t = QString::number(v, 'f', 10);
        while (t.endsWith(QLatin1Char('0'))) t.chop(1);
        if (t.endsWith(QLatin1Char('.'))) t.chop(1);
    }
    if (t == QLatin1String("-0")) return QStringLiteral("0");
    return t;
}

double shiftValue(const QString& box) {
    QString t = box.trimmed();
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma >= 0) t[comma] = QLatin1Char('.');
    return dz::val(QStringView(t));
}

QString settingsLine(const QString& down, const QString& right, const QString& rowsPerPage, int mark) {
    return numberText(shiftValue(down)) + QLatin1Char(',') + numberText(shiftValue(right)) + QLatin1Char(',') +
           numberText(dz::val(QStringView(rowsPerPage))) + QLatin1Char(',') + QString::number(mark);
}

bool saveSettings(const QString& folder, const QString& down, const QString& right, const QString& rowsPerPage,
                  int mark) {
    return dz::writeOwnLines(folder + QLatin1Char('/') + QLatin1String(kSettingsFile),
                          {settingsLine(down, right, rowsPerPage, mark)});
}

}  // namespace dz::keyprint
