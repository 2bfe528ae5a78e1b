#include "ticketclip/core/submission.h"

#include "common/core/cp1250.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <cmath>

namespace dz::ticketclip {

namespace {
const QString kCr = QStringLiteral("\r");

// The value of a two-character number field; a blank among the characters is skipped.
double fieldValue(std::string_view two) {
    char packed[2];
    size_t n = 0;
    for (char c : two)
        if (c != ' ') packed[n++] = c;
    return val(std::string_view(packed, n));
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

QString signedText(double v) { return (v >= 0 ? QStringLiteral(" ") : QString()) + numberText(v, 7); }
}  // namespace

namespace {
// The checks of one item after another, in the order the load runs them; add() is false once the
// load has stopped.
class KeyChecker {
public:
    explicit KeyChecker(qsizetype capacity) : capacity_(std::max<qsizetype>(capacity, 0)) {}
    bool add(std::string_view item) {
        constexpr size_t kRowLength = kNumbersPerRow * 3 - 1;
        if (item.size() >= 2 && item.front() == '"') {
            const size_t close = item.find('"', 1);
            item = item.substr(1, close == item.npos ? item.size() - 1 : close - 1);
        }
        const std::string_view trimmed = trimBlanks(item);
        if (trimmed.empty()) return true;
        if (trimmed.size() != kRowLength) return reject(KeyCheck::Outcome::WrongType, item);
        k_.lastCount = int((trimmed.size() + 1) / 3);
        for (int j = 1; j <= k_.lastCount; ++j) {
            const double v = fieldValue(mid(item, size_t((j - 1) * 3 + 1), 2));
            // A negative number is no more a lottery number than 21 is; 0 ("00") passes.
            if (v > kHighestNumber || v < 0) return reject(KeyCheck::Outcome::BadNumber, item);
        }
        if (k_.rows.size() >= capacity_) {
            k_.outcome = KeyCheck::Outcome::Full;
            return false;
        }
        k_.rows << cp1250::decode(item);
        return true;
    }
    qsizetype capacity() const { return capacity_; }
    KeyCheck take() { return std::move(k_); }

private:
    bool reject(KeyCheck::Outcome o, std::string_view item) {
        k_.outcome = o;
        k_.badRow = cp1250::decode(item);
        k_.rows.clear();
        return false;
    }
    qsizetype capacity_;
    KeyCheck k_;
};
}  // namespace

KeyCheck checkKey(std::string_view bytes, qsizetype capacity) {
    KeyChecker c(capacity);
    InputItemReader r(bytes);
    while (!r.atEnd()) {
        const std::string_view item = r.next();
        if (!c.add(item.substr(0, std::min(item.size(), kLineTextLimit)))) break;
    }
    return c.take();
}

std::optional<KeyCheck> readKeyFile(const QString& path, qsizetype capacity) {
    KeyChecker c(capacity);
    // A row past the capacity tells that the list is full; no more of the file can be of use.
    const bool opened = forEachItem(path, kLineTextLimit, readBudget(size_t(c.capacity()) + 1, kLineTextLimit),
                                    [&](std::string_view item, bool) { return c.add(item); });
    if (!opened) return std::nullopt;
    return c.take();
}

QString keyMessage(const KeyCheck& k) {
    switch (k.outcome) {
    case KeyCheck::Outcome::WrongType:
        return QStringLiteral("A kijelölt játék és a betöltendő kulcs, nem azonos típusú !") + kCr + dz::quoted(k.badRow);
    case KeyCheck::Outcome::BadNumber:
        return QStringLiteral("A kijelölt játékban nem megengedett szám van !") + kCr + dz::quoted(k.badRow);
    case KeyCheck::Outcome::Full:
        return QStringLiteral("Maximum 32736 sorú kulcsot lehet betölteni !");
    case KeyCheck::Outcome::Loaded:
        break;
    }
    return {};
}

QString dialogFailedMessage(int error) { return QStringLiteral("Hiba a file kiválasztásakor !") + kCr + str(error); }

QString openFailedMessage(int error, const QString& fullName) {
    return QStringLiteral("Hiba a file megnyitásakor !") + kCr + str(error) + QStringLiteral(" - ") + dz::quotedPath(fullName);
}

int Choices::extraCount() const {
    const int n = int(std::count(extras.begin(), extras.end(), true));
    return n == 0 ? 1 : n;
}

Price computePrice(long long fields, const Params& p, const Choices& c, bool withJokerFactor) {
    Price r;
    const int fpt = p.fieldsPerTicket[kGameIndex];
    r.price = double(fields) * p.pricePerField[kGameIndex] * c.stake * c.draws * c.extraCount();
    r.joker = ticketsFor(fields, fpt) * p.jokerPrice * (withJokerFactor ? jokerFactor(c.draws) : 1);
    r.withJoker = r.price + double(r.joker);
    if (static_cast<float>(r.price) > p.maxStake) r.limit = Limit::Price;
    else if (r.withJoker > p.maxStake) r.limit = Limit::PriceWithJoker;
    return r;
}

QString limitMessage(Limit l, float maxStake) {
    if (l == Limit::None) return {};
    return (l == Limit::Price ? QStringLiteral("A teljes kulcsot az SZRT. limit miatt")
                              : QStringLiteral("A teljes kulcsot jokerrel az SZRT. limit miatt")) +
           signedText(maxStake) + QStringLiteral(" Ft.") + kCr +
           QStringLiteral("egy menetben, egy azonosítóra nem lehet feladni !");
}

long long partSize(const Params& p) {
    return std::max<long long>(1, (long long)p.fieldsPerTicket[kGameIndex] * p.basketSize);
}

long long totalParts(long long rows, const Params& p) {
    // Integer division truncates towards zero: an empty key is one part.
    return (rows - 1) / partSize(p) + 1;
}

long long ticketsFor(long long rows, int fieldsPerTicket) { return (rows - 1) / std::max(1, fieldsPerTicket) + 1; }

QStringList takePart(QStringList& rest, long long size) {
    const qsizetype n = qsizetype(std::clamp<long long>(size, 0, rest.size()));
    QStringList part = rest.mid(0, n);
    rest.erase(rest.begin(), rest.begin() + n);
    return part;
}

QStringList quickTicketLines(const QStringList& rows, const Choices& c, int fieldsPerTicket) {
    const QString drawItem = QStringLiteral("PT") + QString::number(c.draws);
    const QString stakeItem = QString::number(c.stake);
    const QString lineStart = drawItem + QLatin1Char(',') + stakeItem + QLatin1Char(',');
    // What stands before a further field: the comma after the last extra number is already there,
    // then an empty item and the stake item with its comma.
    const QString nextField = QLatin1Char(',') + stakeItem + QLatin1Char(',');
    QString fieldEnd = QStringLiteral("B,");
    for (int k = 0; k < 4; ++k)
        if (c.extras[size_t(k)]) fieldEnd += QString::number(k + 1) + QLatin1Char(',');

    QStringList lines;
    QString line = lineStart;
    int fields = 0;
    for (const QString& row : rows) {
        for (int j = 1; j <= kNumbersPerRow; ++j) {
            const double v = val(QStringView(mid(row, 3 * j - 2, 2)).toString().remove(QLatin1Char(' ')));
            line += QString::number(std::isfinite(v) ? static_cast<long long>(std::trunc(v)) : 0LL);
            line += QLatin1Char(',');
        }
        line += fieldEnd;
        if (++fields == fieldsPerTicket) {
            line.chop(1);
            lines << line;
            line = lineStart;
            fields = 0;
        } else {
            line += nextField;
        }
    }
    if (fields != 0) {
        // Drop what was appended for a next field that does not come: the final comma, the empty
        // item and the stake item with its comma.
        line.chop(1 + nextField.size());
        lines << line;
    }
    return lines;
}

QString quickTicketText(const QStringList& lines) {
    QString text;
    for (const QString& l : lines) text += l + QStringLiteral("\r\n");
    return text;
}

QString instructionMessage() {
    return QStringLiteral("A program most icon állapotban a TÁLCÁRA kerül !") + kCr + kCr +
           QStringLiteral("A vágólap tartalmát a  Ctrl/V  billentyűk egyidejű lenyomásával, vagy az egér jobb") + kCr +
           QStringLiteral("gomb, beillesztést választva, másolhatja az SZRT. gyors szelvény kitöltési fogadó") + kCr +
           QStringLiteral("mezőjébe, a beviteli mezőre klikkelést követően.") + kCr + kCr +
           QStringLiteral("Ezek után klikkeljen a KOSÁRBA TESZEM nyomógombra, majd térjen vissza a FŐOLDALra") + kCr +
           QStringLiteral("és klikkeljen A KOSÁR TARTALMÁNAK JÁTÉKBA KÜLDÉSE nyomógombra.") + kCr + kCr +
           QStringLiteral("Visszatérés a programba: a tálcán lévő iconra történő klikkeléssel.");
}

}  // namespace dz::ticketclip
