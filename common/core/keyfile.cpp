#include "common/core/keyfile.h"

#include "common/core/cp1250.h"
#include "common/core/listexport.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <algorithm>

namespace dz::key {

QString generatedRow(const std::vector<int>& numbers) {
    QString row = QStringLiteral(" ");
    for (int n : numbers) row += format(n, "00") + QLatin1Char(' ');
    return row;
}

QString generatedRowFromMask(uint32_t mask) {
    QString s;
    s.reserve(25);
    s += QLatin1Char(' ');
    for (int n = 1; n <= 20; ++n)
        if (mask & (1u << n)) {
            s += QLatin1Char(char('0' + n / 10));
            s += QLatin1Char(char('0' + n % 10));
            s += QLatin1Char(' ');
        }
    return s;
}

int gameType(const QString& row) { return static_cast<int>(roundHalfEven((row.size() + 1) / 3.0)); }

int rowNumber(const QString& row, int j) {
    // As a table index: the whole number nearest, halves to the even neighbour.
    return static_cast<int>(roundHalfEven(std::clamp(val(QStringView(mid(row, 3 * (j - 1) + 1, 3))), -1e6, 1e6)));
}

uint32_t rowMask(std::string_view row, int* type) {
    size_t b = 0;
    while (b < row.size() && (row[b] == ' ' || row[b] == '\t')) ++b;
    row.remove_prefix(b);
    const int t = static_cast<int>(roundHalfEven((static_cast<double>(row.size()) + 1) / 3.0));
    if (type) *type = t;
    uint32_t m = 0;
    for (int j = 1; j <= t; ++j) {
        const long long v = roundHalfEven(val(mid(row, size_t(3 * (j - 1) + 1), 3)));
        if (v >= 1 && v <= 20) m |= 1u << v;
    }
    return m;
}

namespace {
// The one bounded pass of both loads; tooLong (when given) refuses a row cut at the limit and
// takes its start.
std::optional<QStringList> streamRows(const QString& path, int maxRows, bool* truncated, EmptyItem empty,
                                      std::optional<QString>* tooLong) {
    if (truncated) *truncated = false;
    QStringList rows;
    const size_t keep = size_t(std::max(maxRows, 0));
    // One row past the limit tells that there are more; no more of the file can be of use.
    const bool opened = forEachItem(path, kLineTextLimit, readBudget(keep + 1, kLineTextLimit),
                                    [&](std::string_view item, bool cut) {
                                        if (item.empty() && empty == EmptyItem::EndsRows) return false;
                                        if (item.empty() && empty == EmptyItem::Skip) return true;
                                        if (size_t(rows.size()) >= keep) {
                                            if (truncated) *truncated = true;
                                            return false;
                                        }
                                        if (cut && tooLong) {
                                            *tooLong = cp1250::decode(item.substr(0, size_t(kQuoted) + 1));
                                            return false;
                                        }
                                        rows << cp1250::decode(item);
                                        return true;
                                    });
    if (!opened) return std::nullopt;
    return rows;
}
}  // namespace

std::optional<QStringList> loadRows(const QString& path, int maxRows, bool* truncated, EmptyItem empty) {
    return streamRows(path, maxRows, truncated, empty, nullptr);
}

LoadedRows loadKeyRows(const QString& path, int maxRows, EmptyItem empty) {
    LoadedRows r;
    std::optional<QString> tooLong;
    auto rows = streamRows(path, maxRows, &r.truncated, empty, &tooLong);
    if (!rows) {
        r.fault = KeyFault::CannotOpen;
    } else if (tooLong) {
        r.fault = KeyFault::NotAKey;
        r.truncated = false;
        r.longRow = std::move(*tooLong);
    } else {
        r.rows = std::move(*rows);
    }
    return r;
}

QString cannotOpenMessage() { return QStringLiteral("Hibás file megnyitás !"); }

QString notAKeyMessage() { return QStringLiteral("Hibás kulcsformátum !"); }

bool saveRows(const QString& path, const QStringList& rows) { return writeLines(path, rows); }

KeySave saveKey(const QString& keyFile, const QStringList& rows, const QString& programFolder) {
    if (!saveRows(keyFile, rows)) return KeySave::Failed;
    return writeLastKeyPointer(programFolder, keyFile) ? KeySave::Saved : KeySave::PointerFailed;
}

QString pointerFailedMessage() { return saveFailedMessage(QLatin1String(kPointerFile)); }

bool writeLastKeyPointer(const QString& folder, const QString& keyFileFullName) {
    return writeOwnLines(folder + QLatin1Char('/') + QLatin1String(kPointerFile), {keyFileFullName});
}

std::optional<QString> readLastKeyPointer(const QString& folder) {
    // A path is one line, as long as the system allows one (4096 bytes).
    auto lines = readLines(folder + QLatin1Char('/') + QLatin1String(kPointerFile), 1, kLineTextLimit);
    if (!lines || lines->isEmpty() || lines->first().trimmed().isEmpty()) return std::nullopt;
    return lines->first();
}

SplitName splitPath(const QString& fullName) {
    const qsizetype cut = std::max(fullName.lastIndexOf(QLatin1Char('/')), fullName.lastIndexOf(QLatin1Char('\\')));
    if (cut < 0) return {QString(), fullName};
    return {cut == 0 ? fullName.left(1) : fullName.left(cut), fullName.mid(cut + 1)};
}

DialogStart dialogStart(const QString& programFolder) {
    DialogStart d{programFolder, QString()};
    const auto pointer = readLastKeyPointer(programFolder);
    if (!pointer) return d;
    d.fromPointer = true;
    const SplitName s = splitPath(*pointer);
    if (!s.folder.isEmpty()) d.folder = s.folder;
    d.name = s.name;
    return d;
}

bool writeSpreadsheetExport(const QString& folder, const QStringList& rows, QString* path) {
    const QString p = folder + QLatin1Char('/') + QLatin1String(kSpreadsheetFile);
    if (path) *path = p;
    return writeOwnLines(p, rows);
}

}  // namespace dz::key
