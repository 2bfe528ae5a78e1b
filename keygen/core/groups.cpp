#include "keygen/core/groups.h"

#include "common/core/suite.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"

#include <bit>
#include <cmath>

namespace dz::keygen {

namespace {

bool validGroup(int g) { return g >= 1 && g <= kGroups; }

// A whole value as a caption shows it: plain digits ("3", "0", "-1").
QString plain(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(static_cast<long long>(v));
    return QString::number(v, 'g', 15);
}

// The number-to-text conversion of a value: a blank before a non-negative number.
QString strValue(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) return dz::str(static_cast<long long>(v));
    const QString d = QString::number(v, 'g', 15);
    return v < 0 ? d : QLatin1Char(' ') + d;
}

// A value stored into a 16-bit table: halves to even, kept within 16 bits.
int whole16(double v) {
    if (!(v == v)) return 0;
    if (v > 32767) return 32767;
    if (v < -32768) return -32768;
    return int(dz::roundHalfEven(v));
}

QString dropLeadingBlanks(QString s) {
    qsizetype i = 0;
    while (i < s.size() && (s[i] == QLatin1Char(' ') || s[i] == QLatin1Char('\t'))) ++i;
    return s.mid(i);
}

}  // namespace

QString groupCaption(int g) {
    static const char* const names[] = {"",        "első",     "második", "harmadik",  "negyedik",   "ötödik",
                                        "hatodik", "hetedik",  "nyolcadik", "kilencedik", "tizedik"};
    return validGroup(g) ? QString::fromUtf8(names[g]) : QString();
}

std::array<int, 3> groupColour(int g) {
    static const std::array<int, 3> colours[] = {{0, 0, 0},       {0, 0, 255},   {255, 255, 0}, {255, 0, 0},
                                                 {255, 0, 255},   {192, 192, 0}, {0, 255, 0},   {0, 255, 255},
                                                 {192, 192, 255}, {255, 128, 0}, {0, 128, 0}};
    return validGroup(g) ? colours[g] : colours[0];
}

NumberMask GroupChoice::chosenMask() const {
    NumberMask m = 0;
    for (int n = 1; n <= 20; ++n)
        if (chosen[size_t(n)]) m |= 1u << n;
    return m;
}

double GroupChoice::memberValue(int g) const {
    return validGroup(g) ? dz::val(QStringView(memberText[size_t(g)])) : 0;
}

void clickCell(GroupChoice& c, int n) {
    if (n < 1 || n > 20) return;
    const size_t i = size_t(n);
    if (c.chosen[i]) {  // release from its own group; the current group plays no part
        c.chosen[i] = false;
        --c.count;
        c.label1 = dz::str(c.count);
        const int g = c.groupOf[i];
        if (validGroup(g)) {
            c.groupOf[i] = 0;
            c.memberText[size_t(g)] = plain(c.memberValue(g) - 1);
        }
        return;
    }
    ++c.count;
    const int g = c.current;
    if (validGroup(g)) {
        const int old = c.groupOf[i];
        if (old != g) {
            // a number is in at most one group: it leaves a group it still stands in
            if (validGroup(old)) c.memberText[size_t(old)] = plain(c.memberValue(old) - 1);
            c.groupOf[i] = int8_t(g);
            c.memberText[size_t(g)] = plain(c.memberValue(g) + 1);
        }
    }
    c.chosen[i] = true;
    c.label1 = dz::str(c.count);
}

void clearChoice(GroupChoice& c) {
    c.count = 0;
    for (int g = 1; g <= kGroups; ++g) {
        c.minText[size_t(g)].clear();
        c.maxText[size_t(g)].clear();
        c.memberText[size_t(g)].clear();
    }
    c.label1.clear();
    c.chosen.fill(false);
    c.groupOf.fill(0);
}

ConfirmOutcome confirm(GroupChoice& c) {
    ConfirmOutcome o;
    if (c.count == 0) return o;  // nothing at all happens
    for (int g = 1; g <= kGroups; ++g) {
        QString& mn = c.minText[size_t(g)];
        QString& mx = c.maxText[size_t(g)];
        mn = strValue(dz::val(QStringView(mn)));
        if (mn == QLatin1String(" 0")) mn.clear();
        mx = strValue(dz::val(QStringView(mx)));
        if (mx == QLatin1String(" 0")) mx.clear();
        const double lo = dz::val(QStringView(mn)), hi = dz::val(QStringView(mx));
        const double members = c.memberValue(g);
        if (hi < lo || members < hi) {
            o.status = ConfirmOutcome::Status::Refused;
            o.message = Message{QStringLiteral("Hibás adat összefüggés az") + dz::str(g) + QStringLiteral(". csoportban !"),
                                dz::signature(), MessageIcon::Critical};
            return o;  // the tables stay as they were (the window applies nothing)
        }
    }
    GroupLimits& l = o.limits;
    for (int g = 1; g <= kGroups; ++g) {
        const double lo = dz::val(QStringView(c.minText[size_t(g)]));
        const double hi = dz::val(QStringView(c.maxText[size_t(g)]));
        l.min[size_t(g)] = whole16(lo);
        if (l.min[size_t(g)] > 0) l.minSum += l.min[size_t(g)];
        l.max[size_t(g)] = whole16(hi);
        if (l.max[size_t(g)] > 0) l.maxSum += l.max[size_t(g)];
        if (hi == 0) l.max[size_t(g)] = 20;  // no limit; the maximum sum is not raised
    }
    o.status = ConfirmOutcome::Status::Accepted;
    return o;
}

QStringList groupedSelectionLines(const GroupChoice& c) {
    QStringList out;
    out.reserve(kGroupedSelectionLines);
    out << QStringLiteral("kulcs2");
    auto flag = [](bool on) { return on ? QStringLiteral(" 1 ") : QStringLiteral(" 0 "); };
    for (int n = 1; n <= 20; ++n) {
        out << flag(c.chosen[size_t(n)]);
        for (int g = 1; g <= kGroups; ++g) out << flag(c.groupOf[size_t(n)] == g);
    }
    for (int g = 1; g <= kGroups; ++g)
        out << c.minText[size_t(g)] << c.maxText[size_t(g)] << c.memberText[size_t(g)];
    return out;
}

bool saveGroupedSelection(const QString& path, const GroupChoice& c) {
    return dz::writeLines(path, groupedSelectionLines(c));
}

LoadOutcome loadGroupedSelection(const QString& path, GroupChoice& c) {
    const auto bytes = dz::readHead(path, dz::kStartFileLines);
    if (!bytes) return LoadOutcome{LoadStatus::CannotOpen, std::nullopt};
    return loadGroupedSelectionBytes(*bytes, c);
}

LoadOutcome loadGroupedSelectionBytes(std::string_view bytes, GroupChoice& c) {
    clearChoice(c);
    const std::vector<std::string_view> lines = dz::splitLines(bytes);
    size_t i = 0;
    // The marker: the first item, empty lines before it skipped.
    while (i < lines.size() && dz::firstItem(lines[i]).empty()) ++i;
    if (i >= lines.size() || dz::firstItem(lines[i]) != "kulcs2")
        return LoadOutcome{LoadStatus::WrongMarker,
                           Message{QStringLiteral("Ez nem csoportosított kijelölés mentés file !"), dz::signature(),
                                   MessageIcon::Critical}};
    ++i;
    auto nextLine = [&]() -> std::string_view { return i < lines.size() ? lines[i++] : std::string_view{}; };
    for (int n = 1; n <= 20; ++n) {
        nextLine();  // the chosen flag: passed over
        for (int g = 1; g <= kGroups; ++g) {
            if (dz::val(dz::firstItem(nextLine())) == 1) {
                c.current = g;
                clickCell(c, n);
            }
        }
    }
    for (int g = 1; g <= kGroups; ++g) {
        // whole lines: a comma in a text does not shift the values after it
        c.minText[size_t(g)] = dropLeadingBlanks(dz::decodeCapped(nextLine()));
        c.maxText[size_t(g)] = dropLeadingBlanks(dz::decodeCapped(nextLine()));
        c.memberText[size_t(g)] = dropLeadingBlanks(dz::decodeCapped(nextLine()));
    }
    return LoadOutcome{};
}

std::optional<Message> confirmationMessage(QStringView label6Text) {
    if (dz::val(label6Text) != 0) return std::nullopt;
    return Message{QStringLiteral("Először a *kijelöl* gombot válassza !"), dz::signature(), MessageIcon::Critical};
}

GroupRule GroupRule::from(const std::array<int8_t, 21>& groupOf, const GroupLimits& limits) {
    GroupRule r;
    r.groupOf = groupOf;
    r.limits = limits;
    return r;
}

NumberMask GroupRule::members(int g) const {
    NumberMask m = 0;
    for (int n = 1; n <= 20; ++n)
        if (groupOf[size_t(n)] == g) m |= 1u << n;
    return m;
}

bool GroupRule::rowKeepsLimits(NumberMask row) const {
    for (int g = 1; g <= kGroups; ++g) {
        const int k = std::popcount(row & members(g));
        if (k < limits.min[size_t(g)] || k > limits.max[size_t(g)]) return false;
    }
    return true;
}

}  // namespace dz::keygen
