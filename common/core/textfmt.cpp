#include "common/core/textfmt.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

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
        // unsigned magnitude: the most negative value has no positive counterpart
        const unsigned long long m = v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
        QString digits = QString::number(m);
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
// The leading numeric part: [sign] digits [. digits] [e|E [sign] digits]. Plain whole numbers
// (the draw and key fields) take a fast path; others are converted in one go, correctly rounded
// and independent of the locale. A value beyond the double range gives the largest double, one
// below it 0. The numeric value skips blanks, tabs and line feeds wherever they stand ("1 2" is
// 12); IsNumeric (whole set) takes blanks and tabs only around the number.
template <class Get>
double parseLeading(size_t n, Get at, bool* whole = nullptr) {
    const bool inner = whole == nullptr;
    auto blank = [&](size_t k) {
        const char c = at(k);
        return c == ' ' || c == '\t' || (inner && c == '\n');
    };
    auto skip = [&](size_t k) {
        while (k < n && blank(k)) ++k;
        return k;
    };
    auto next = [&](size_t k) { return inner ? skip(k + 1) : k + 1; };
    auto digit = [&](size_t k) { return k < n && at(k) >= '0' && at(k) <= '9'; };
    size_t i = skip(0);
    const size_t begin = i;
    bool neg = false;
    if (i < n && (at(i) == '-' || at(i) == '+')) {
        neg = at(i) == '-';
        i = next(i);
    }
    const size_t numBegin = i;
    unsigned long long acc = 0;
    size_t intDigits = 0;
    for (; digit(i); i = next(i), ++intDigits)
        if (intDigits < 19) acc = acc * 10 + static_cast<unsigned>(at(i) - '0');
    bool any = intDigits > 0;
    bool plain = true;  // digits only: acc holds the value
    if (i < n && at(i) == '.') {
        i = next(i);
        plain = false;
        for (; digit(i); i = next(i)) any = true;
    }
    if (any && i < n && (at(i) == 'e' || at(i) == 'E')) {
        size_t j = next(i);
        if (j < n && (at(j) == '-' || at(j) == '+')) j = next(j);
        if (digit(j)) {
            while (digit(j)) j = next(j);
            plain = false;
            i = j;
        }
    }
    if (whole) {
        size_t k = i;
        while (k < n && (at(k) == ' ' || at(k) == '\t')) ++k;
        *whole = any && k == n && begin < n;
    }
    if (!any) return 0;
    double v = 0;
    if (plain && intDigits <= 19) {
        v = static_cast<double>(acc);
    } else {
        std::string text;
        text.reserve(i - numBegin);
        for (size_t k = numBegin; k < i; ++k)
            if (!blank(k)) text += at(k);
        const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
        if (res.ec == std::errc::result_out_of_range) {
            // which way it left the range: the decimal place of the first significant digit
            long long place = 0, e = 0;
            bool seen = false, afterPoint = false, eneg = false;
            size_t k = 0;
            for (; k < text.size() && text[k] != 'e'; ++k) {
                const char c = text[k];
                if (c == '.') {
                    afterPoint = true;
                    continue;
                }
                if (c != '0') seen = true;
                if (!afterPoint && seen) ++place;
                if (afterPoint && !seen) --place;
            }
            if (k < text.size()) {
                ++k;
                if (k < text.size() && (text[k] == '-' || text[k] == '+')) eneg = text[k++] == '-';
                for (; k < text.size(); ++k)
                    if (e < 1000000) e = e * 10 + (text[k] - '0');
            }
            v = place + (eneg ? -e : e) > 0 ? std::numeric_limits<double>::max() : 0.0;
        } else if (res.ec != std::errc()) {
            v = 0;
        }
    }
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

namespace {
// The first n characters, one less where the n-th starts a surrogate pair.
QStringView head(const QString& s, qsizetype n) {
    if (n > 0 && n < s.size() && s[n - 1].isHighSurrogate()) --n;
    return QStringView(s).left(n);
}
// The last n characters, one less where the first of them ends a surrogate pair.
QStringView tail(const QString& s, qsizetype n) {
    qsizetype from = s.size() - n;
    if (from > 0 && from < s.size() && s[from].isLowSurrogate()) ++from;
    return QStringView(s).mid(from);
}
}  // namespace

QString withVisibleControls(QString text) {
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20) c = QChar(char16_t(0x2400 + u));
        else if (u == 0x7F) c = QChar(char16_t(0x2421));
        else if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) c = QChar(char16_t(0xFFFD));
    }
    return text;
}

QString quoted(const QString& text) {
    if (text.size() <= kQuoted) return withVisibleControls(text);
    return withVisibleControls(head(text, kQuoted).toString()) + QStringLiteral("...");
}

QString quotedPath(const QString& path) {
    if (path.size() <= kQuoted) return withVisibleControls(path);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return quoted(path);
    const qsizetype end = std::min<qsizetype>(path.size() - slash, kQuoted / 2);
    return withVisibleControls(head(path, kQuoted - end).toString() + QStringLiteral("...") + tail(path, end).toString());
}

}  // namespace dz
