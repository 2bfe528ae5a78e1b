#include "ticketclip/core/submitparams.h"

#include "common/core/cp1250.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <cmath>

namespace dz::ticketclip {

namespace {
constexpr int kDefaults[kParamCount] = {4, 5, 5, 2, 200, 225, 225, 150, 7, 200000, 200};

QString paramPath(const QString& folder) { return folder + QLatin1Char('/') + QLatin1String(kParamFile); }

long long wholeValue(QStringView text) { return roundHalfEven(paramValue(text)); }
}  // namespace

ParamTexts defaultTexts() {
    ParamTexts t;
    for (int i = 0; i < kParamCount; ++i) t[size_t(i)] = QString::number(kDefaults[i]);
    return t;
}

Params defaultParams() {
    Params p;
    takeOver(defaultTexts(), p);
    return p;
}

double paramValue(QStringView text) {
    QString packed;
    packed.reserve(text.size());
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')) packed += c;
    return val(QStringView(packed));
}

bool acceptable(int i, QStringView text) {
    if (i == kMaxStake) {
        const float v = static_cast<float>(paramValue(text));
        return std::isfinite(v) && v > 0;
    }
    const long long v = wholeValue(text);
    return v >= 1 && v <= 32767;
}

void takeOver(const ParamTexts& texts, Params& p) {
    for (int i = 0; i < kParamCount; ++i) {
        const QString& t = texts[size_t(i)];
        if (!acceptable(i, t)) continue;
        const int whole = static_cast<int>(wholeValue(t));
        if (i < kPricePerField) p.fieldsPerTicket[size_t(i + 1)] = whole;
        else if (i < kBasketSize) p.pricePerField[size_t(i - kPricePerField + 1)] = whole;
        else if (i == kBasketSize) p.basketSize = whole;
        else if (i == kMaxStake) p.maxStake = static_cast<float>(paramValue(t));
        else p.jokerPrice = whole;
    }
}

int firstRefused(const ParamTexts& texts) {
    for (int i = 0; i < kParamCount; ++i)
        if (!acceptable(i, texts[size_t(i)])) return i;
    return -1;
}

ParamTexts textsOf(const Params& p) {
    ParamTexts t;
    for (int g = 1; g <= kGames; ++g) {
        t[size_t(kFieldsPerTicket + g - 1)] = QString::number(p.fieldsPerTicket[size_t(g)]);
        t[size_t(kPricePerField + g - 1)] = QString::number(p.pricePerField[size_t(g)]);
    }
    t[kBasketSize] = QString::number(p.basketSize);
    t[kMaxStake] = numberText(p.maxStake, 7);
    t[kJokerPrice] = QString::number(p.jokerPrice);
    return t;
}

QStringList readParamItems(std::string_view bytes) {
    QStringList items;
    InputItemReader r(bytes);
    while (!r.atEnd() && items.size() < kParamCount) {
        std::string_view item = r.next();
        if (item.size() >= 2 && item.front() == '"') {
            const size_t close = item.find('"', 1);
            item = item.substr(1, close == item.npos ? item.size() - 1 : close - 1);
        }
        items << cp1250::decode(item);
    }
    return items;
}

namespace {
// The eleven items stand on eleven lines at most: no more of the file is read.
std::optional<std::string> readParamHead(const QString& folder) { return readHead(paramPath(folder), kParamCount); }
}  // namespace

Params startupParams(const QString& folder) {
    Params p = defaultParams();
    const auto bytes = readParamHead(folder);
    if (!bytes) {
        // Written back only where no file of that name is: a link, a pipe or a device stays untouched.
        const ParamTexts d = defaultTexts();
        if (nameIsFree(paramPath(folder))) writeLines(paramPath(folder), QStringList(d.begin(), d.end()));
        return p;
    }
    ParamTexts t = defaultTexts();
    const QStringList items = readParamItems(*bytes);
    for (qsizetype i = 0; i < items.size(); ++i) t[size_t(i)] = items[i];
    takeOver(t, p);
    return p;
}

ParamTexts windowTexts(const QString& folder, const Params& inForce) {
    ParamTexts t = textsOf(inForce);
    if (const auto bytes = readParamHead(folder)) {
        const QStringList items = readParamItems(*bytes);
        for (qsizetype i = 0; i < items.size(); ++i) t[size_t(i)] = items[i];
    }
    return t;
}

bool saveParams(const QString& folder, const ParamTexts& texts) {
    return writeOwnLines(paramPath(folder), QStringList(texts.begin(), texts.end()));
}

QString numberText(double v, int digits) {
    if (!std::isfinite(v)) return QStringLiteral("0");
    if (v == std::trunc(v) && std::fabs(v) < 9e15) return QString::number(static_cast<long long>(v));
    return QString::number(v, 'g', digits);
}

}  // namespace dz::ticketclip
