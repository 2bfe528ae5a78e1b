#include "common/core/cp1250.h"

#include <algorithm>
#include <array>

namespace dz::cp1250 {
namespace {
constexpr std::array<char16_t, 128> kHigh = {
#include "common/core/cp1250_table.inc"
};

struct Reverse {
    // Sorted pairs would do too; a flat table over the BMP range the page uses is simplest.
    std::array<unsigned char, 0x2200> map{};
    Reverse() {
        for (int b = 0; b < 128; ++b) map[b] = static_cast<unsigned char>(b);
        for (int b = 0; b < 128; ++b) map[kHigh[b]] = static_cast<unsigned char>(128 + b);
    }
};
const Reverse& reverse() {
    static const Reverse r;
    return r;
}
}  // namespace

void decodeTo(std::string_view bytes, QChar* d) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = b < 128 ? QChar(char16_t(b)) : QChar(kHigh[b - 128]);
    }
}

QString decode(std::string_view bytes) {
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    decodeTo(bytes, out.data());
    return out;
}

char toByte(QChar c) {
    const char16_t u = c.unicode();
    if (u < 128) return static_cast<char>(u);
    if (u < reverse().map.size()) {
        const unsigned char b = reverse().map[u];
        if (b != 0) return static_cast<char>(b);
    }
    return '?';
}

bool less(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a[i] == b[i]) continue;
        const auto x = static_cast<unsigned char>(toByte(a[i]));
        const auto y = static_cast<unsigned char>(toByte(b[i]));
        if (x != y) return x < y;
        // Characters outside the page share '?': their own order keeps the sort strict.
        return a[i] < b[i];
    }
    return a.size() < b.size();
}

QByteArray encode(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) out[i] = toByte(text[i]);
    return out;
}

}  // namespace dz::cp1250
