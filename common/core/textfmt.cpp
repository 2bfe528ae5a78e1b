#include "textfmt.h"

#include <cmath>
#include <limits>

namespace dz {

QString str(long long v) {
    return v < 0 ? QString::number(v) : QLatin1Char(' ') + QString::number(v);
}

namespace {
bool allOf(std::string_view m, char c) {
    if (m.empty()) return false;
    for (char ch : m)
        if (ch != c) return false;
    return true;
}
}  // namespace

QString format(long long v, std::string_view mask) {
    if (allOf(mask, '0')) {
        QString digits = QString::number(v < 0 ? -v : v);
        const qsizetype w = static_cast<qsizetype>(mask.size());
        if (digits.size() < w) digits = QString(w - digits.size(), QLatin1Char('0')) + digits;
        return v < 0 ? QLatin1Char('-') + digits : digits;
    }
    if (allOf(mask, '@')) return formatText(QString::number(v), mask);
    if (mask == "0 0 0 0") {
        QString d = format(v, "0000");
        QString out;
        for (qsizetype i = 0; i < d.size(); ++i) {
            if (i) out += QLatin1Char(' ');
            out += d[i];
        }
        return out;
    }
    return QString::number(v);
}

QString formatText(const QString& s, std::string_view mask) {
    const qsizetype w = static_cast<qsizetype>(mask.size());
    if (s.size() >= w) return s;
    return QString(w - s.size(), QLatin1Char(' ')) + s;
}

namespace {
template <class Get>
double parseLeading(size_t n, Get at, bool* whole = nullptr) {
    size_t i = 0;
    while (i < n && (at(i) == ' ' || at(i) == '\t')) ++i;
    const size_t begin = i;
    bool neg = false;
    if (i < n && (at(i) == '-' || at(i) == '+')) {
        neg = at(i) == '-';
        ++i;
    }
    double v = 0;
    bool any = false;
    while (i < n && at(i) >= '0' && at(i) <= '9') {
        v = v * 10 + (at(i) - '0');
        ++i;
        any = true;
    }
    if (i < n && at(i) == '.') {
        ++i;
        double scale = 0.1;
        while (i < n && at(i) >= '0' && at(i) <= '9') {
            v += (at(i) - '0') * scale;
            scale /= 10;
            ++i;
            any = true;
        }
    }
    if (any && i < n && (at(i) == 'e' || at(i) == 'E')) {
        size_t j = i + 1;
        bool eneg = false;
        if (j < n && (at(j) == '-' || at(j) == '+')) {
            eneg = at(j) == '-';
            ++j;
        }
        if (j < n && at(j) >= '0' && at(j) <= '9') {
            int e = 0;
            while (j < n && at(j) >= '0' && at(j) <= '9') {
                if (e < 400) e = e * 10 + (at(j) - '0');
                ++j;
            }
            v *= std::pow(10.0, eneg ? -e : e);
            i = j;
        }
    }
    if (whole) {
        size_t k = i;
        while (k < n && (at(k) == ' ' || at(k) == '\t')) ++k;
        *whole = any && k == n && begin < n;
    }
    if (!any) return 0;
    if (!std::isfinite(v)) v = std::numeric_limits<double>::max();
    return neg ? -v : v;
}
}  // namespace

double val(std::string_view s) {
    return parseLeading(s.size(), [&](size_t i) { return s[i]; });
}

double val(QStringView s) {
    return parseLeading(static_cast<size_t>(s.size()),
                        [&](size_t i) { return s[static_cast<qsizetype>(i)].unicode() < 128 ? char(s[static_cast<qsizetype>(i)].unicode()) : '\x7f'; });
}

bool isNumeric(QStringView s) {
    bool whole = false;
    parseLeading(static_cast<size_t>(s.size()),
                 [&](size_t i) { return s[static_cast<qsizetype>(i)].unicode() < 128 ? char(s[static_cast<qsizetype>(i)].unicode()) : '\x7f'; },
                 &whole);
    return whole;
}

long long roundHalfEven(double x) {
    if (!std::isfinite(x)) return 0;
    const double r = std::nearbyint(x);  // default rounding mode: to nearest, ties to even
    if (r >= 9.2e18) return std::numeric_limits<long long>::max();
    if (r <= -9.2e18) return std::numeric_limits<long long>::min();
    return static_cast<long long>(r);
}

long long intPart(double x) {
    if (!std::isfinite(x)) return 0;
    const double r = std::floor(x);
    if (r >= 9.2e18) return std::numeric_limits<long long>::max();
    if (r <= -9.2e18) return std::numeric_limits<long long>::min();
    return static_cast<long long>(r);
}

QString mid(const QString& s, qsizetype start1, qsizetype count) {
    if (start1 < 1 || count <= 0 || start1 > s.size()) return {};
    return s.mid(start1 - 1, count);
}

std::string_view mid(std::string_view s, size_t start1, size_t count) {
    if (start1 < 1 || count == 0 || start1 > s.size()) return {};
    return s.substr(start1 - 1, count);
}

}  // namespace dz
