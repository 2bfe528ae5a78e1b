#include "distributions.h"

#include "core/cp1250.h"
#include "core/textfmt.h"

#include <bit>

namespace drawstat {

namespace {

// A result line built in one buffer and made a string once: a long history fills hundreds of
// thousands of them. It starts with the record's draw key.
class LineBuilder {
public:
    explicit LineBuilder(const dz::DrawLine& l) {
        const std::string_view key = dz::drawKey(l.item);
        bool ascii = true;
        for (char c : key) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (ascii) {
            for (char c : key) add(c);
        } else {
            for (QChar c : dz::cp1250::decode(key)) c_[n_++] = c.unicode();  // one character a byte
        }
    }
    void add(char c) { c_[n_++] = char16_t(static_cast<unsigned char>(c)); }
    void add(const char* s) {
        while (*s) add(*s++);
    }
    // Two digits with a leading zero, for a value 0..99.
    void addTwoDigits(int v) {
        add(char('0' + v / 10));
        add(char('0' + v % 10));
    }
    qsizetype size() const { return n_; }
    void set(qsizetype i, char c) { c_[i] = char16_t(static_cast<unsigned char>(c)); }
    QString str() const { return QString(reinterpret_cast<const QChar*>(c_), n_); }

private:
    // a key of 12, then at most 7 + 8 x 4 characters
    char16_t c_[64];
    qsizetype n_ = 0;
};

// Result lists stay within the row limit together with their distribution lines.
constexpr qsizetype kIdentityTail = 12;
constexpr qsizetype kAdhesionTail = 8;

}  // namespace

QStringList sumsLines(const dz::DrawFile& file) {
    std::array<long long, 161> sums{};
    dz::forEachDraw(file, [&](const dz::DrawLine& l) {
        int sum = 0;
        bool ok = true;
        for (int8_t v : l.record.num) {
            // a field that does not read as 0..20 faults the draw's step: it is not counted
            if (v < 0) ok = false;
            sum += v;
        }
        if (ok) ++sums[static_cast<size_t>(sum)];
    });
    QStringList out;
    for (int s = 1; s <= 160; ++s)
        if (sums[static_cast<size_t>(s)] != 0) out << dz::str(s) + QStringLiteral("   ") + dz::str(sums[static_cast<size_t>(s)]);
    return out;
}

ClassResult identityDistribution(const dz::DrawFile& file, long long windowStart, const Rules& rules) {
    ClassResult r;
    std::array<long long, 9> counts{};
    {
        // The first draw is only the reference of the second.
        uint32_t prev = 0;
        const long long limit = rules.identityListsAll && windowStart <= 32722 ? 0 : windowStart + 12;
        dz::forEachDraw(file, [&](const dz::DrawLine& l) {
            const long long index = static_cast<long long>(l.index) + 1;
            const uint32_t cur = l.record.mask;
            const uint32_t shared = prev & cur;
            prev = cur;
            if (l.index == 0) return;
            const int k = std::popcount(shared);  // a record holds at most eight numbers
            ++counts[static_cast<size_t>(k)];
            const bool toList = index > limit && r.lines.size() < dz::kRowLimit - kIdentityTail;
            const bool toClass = rules.classLists && r.classes[static_cast<size_t>(k)].size() < dz::kRowLimit;
            if (!toList && !toClass) return;  // most draws of a long history: no text is built
            LineBuilder b(l);
            b.add("   * ");  // the class right-aligned in two: it has one digit
            b.add(char('0' + k));
            b.add("   ");
            for (uint32_t m = shared & 0x1FFFFEu; m; m &= m - 1) {
                b.addTwoDigits(std::countr_zero(m));
                b.add(' ');
            }
            const QString line = b.str();
            if (toList) r.lines << line;
            if (toClass) r.classes[static_cast<size_t>(k)] << line;
        });
    }
    r.lines << QString() << identityHeading() << QString();
    for (int k = 0; k <= 8; ++k) r.lines << dz::str(k) + QStringLiteral("  ") + dz::str(counts[static_cast<size_t>(k)]);
    return r;
}

ClassResult adhesionDistribution(const dz::DrawFile& file, long long windowStart, const Rules& rules) {
    ClassResult r;
    std::array<long long, 9> counts{};
    const long long limit = rules.runsFromWindow ? 0 : windowStart + 12;
    // a window start past the end of a shorter file leaves nothing to read
    const size_t first = rules.runsFromWindow && windowStart > 1
                             ? size_t(std::min<long long>(windowStart - 1, static_cast<long long>(file.size())))
                             : 0;
    const qsizetype starAt = rules.runDigitFirst ? 17 : 16, digitAt = rules.runDigitFirst ? 16 : 17;
    dz::forEachDraw(file, [&](const dz::DrawLine& l) {
        // Every value of a run lies in 0..20 and, but for 0, in the mask: a draw without four
        // consecutive values (0 taken as present) holds no run to count, as most draws.
        const uint32_t present = l.record.mask | 1u;
        if ((present & present >> 1 & present >> 2 & present >> 3) == 0) return;
        const long long index = static_cast<long long>(l.index) + 1;
        const auto& num = l.record.num;
        int start = 0, run = 1;
        for (int j = 1; j <= 8; ++j) {
            // a field that does not read as 0..20 (-1) ends a run and starts none
            if (j < 8 && num[j - 1] >= 0 && num[j] == num[j - 1] + 1) {
                ++run;
                continue;
            }
            if (run >= 4) {
                ++counts[static_cast<size_t>(run)];
                const bool toList = index > limit && r.lines.size() < dz::kRowLimit - kAdhesionTail;
                const bool toClass = rules.classLists && r.classes[static_cast<size_t>(run)].size() < dz::kRowLimit;
                if (toList || toClass) {
                    LineBuilder b(l);
                    b.add("       ");
                    for (int m = start; m < start + run; ++m) {
                        b.add("  ");
                        b.addTwoDigits(num[static_cast<size_t>(m)]);
                    }
                    // columns 17-18 carry the mark; a short key leaves fewer columns to replace
                    if (b.size() > starAt) b.set(starAt, '*');
                    if (b.size() > digitAt) b.set(digitAt, char('0' + run));
                    const QString line = b.str();
                    if (toList) r.lines << line;
                    if (toClass) r.classes[static_cast<size_t>(run)] << line;
                }
            }
            start = j;
            run = 1;
        }
    }, first);
    r.lines << QString() << adhesionHeading() << QString();
    for (int k = 4; k <= 8; ++k)
        r.lines << dz::str(k) + QStringLiteral("  ") + dz::format(counts[static_cast<size_t>(k)], "@@@@@");
    return r;
}

std::optional<int> classListForClick(const QStringList& lines, int index) {
    const qsizetype c = lines.size();
    if (index < 0 || index >= c) return std::nullopt;
    const qsizetype rel = c - index;
    const bool adhesion = c >= 7 && lines[c - 7] == adhesionHeading();
    const bool identity = c >= 11 && lines[c - 11] == identityHeading();
    if (!adhesion && !identity) return std::nullopt;
    if (rel > 9 || (adhesion && rel > 4) || (identity && rel > 5)) return std::nullopt;
    // the class digit stands in column 2
    const long long k = dz::intPart(dz::val(QStringView(dz::mid(lines[index], 2, 1))));
    if (k < 0 || k > 8) return std::nullopt;
    return static_cast<int>(k);
}

std::optional<QStringList> restoredLines(const QStringList& backup) {
    if (backup.isEmpty()) return std::nullopt;
    return backup;
}

}  // namespace drawstat
