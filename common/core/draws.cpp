#include "draws.h"

#include "textfile.h"
#include "textfmt.h"

namespace dz {

int fieldValue(std::string_view item, size_t column1, size_t width) {
    // The usual fields ("05", " 5", "5 ", "12") read directly: a history of 1.5 million draws
    // has 13.5 million of them. Anything else goes the runtime's way below.
    if (width == 2 && column1 >= 1 && column1 + 1 <= item.size()) {
        const char a = item[column1 - 1], b = item[column1];
        const bool da = a >= '0' && a <= '9', db = b >= '0' && b <= '9';
        if (da && db) return (a - '0') * 10 + (b - '0');
        if (a == ' ' && db) return b - '0';
        if (da && b == ' ') return a - '0';
    }
    // A value that indexes a table goes through the runtime's whole-number conversion (halves to even).
    const double v = val(mid(item, column1, width));
    return static_cast<int>(roundHalfEven(std::clamp(v, -1e6, 1e6)));
}

DrawRecord parseDrawRecord(std::string_view item) {
    DrawRecord r;
    for (int i = 1; i <= 8; ++i) {
        const int v = fieldValue(item, numberColumn(i));
        if (v >= 0 && v <= 20) {
            r.num[i - 1] = static_cast<int8_t>(v);
            if (v > 0) r.mask |= 1u << v;
        } else {
            r.num[i - 1] = -1;
        }
    }
    const int e = fieldValue(item, 38);
    r.extra = (e >= 0 && e <= 20) ? static_cast<int8_t>(e) : int8_t(-1);
    return r;
}

std::string_view DrawFile::item(size_t i) const { return firstItem(lines_[i]); }

DrawFile DrawFile::fromBytes(std::string bytes) {
    DrawFile f;
    f.bytes_ = std::make_shared<const std::string>(std::move(bytes));
    f.lines_ = splitLines(*f.bytes_);
    f.records_.resize(f.lines_.size());
    for (size_t i = 0; i < f.lines_.size(); ++i) f.records_[i] = parseDrawRecord(firstItem(f.lines_[i]));
    return f;
}

std::optional<DrawFile> DrawFile::load(const QString& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    return fromBytes(std::move(*bytes));
}

std::optional<size_t> countLines(const QString& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    return splitLines(*bytes).size();
}

double countCombinations(int n, int k) {
    if (n < k) return 0;
    double product = 1.0;
    for (int i = k + 1; i <= n; ++i) product *= i;
    double factorial = 1.0;
    for (int j = 1; j <= n - k; ++j) factorial *= j;
    return product / factorial;
}

}  // namespace dz
