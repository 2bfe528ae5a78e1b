#include "draws.h"

#include "textfile.h"
#include "textfmt.h"

namespace dz {

int fieldValue(std::string_view item, size_t column1, size_t width) {
    const double v = val(mid(item, column1, width));
    return static_cast<int>(intPart(std::clamp(v, -1e6, 1e6)));
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
