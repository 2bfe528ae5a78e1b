#include "drawstat/core/distributions.h"

#include "common/core/cp1250.h"
#include "common/core/newest.h"
#include "common/core/textfmt.h"

#include <bit>

namespace dz::drawstat {

namespace {

// A result line built in one buffer and made a string once. It starts with the record's draw key.
class LineBuilder {
public:
    explicit LineBuilder(std::string_view key) {
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

// The numbers in a mask, without a call where the processor's popcount instruction is not assumed.
inline int bitCount(uint32_t v) {
    v = v - ((v >> 1) & 0x55555555u);
    v = (v & 0x33333333u) + ((v >> 2) & 0x33333333u);
    return int((((v + (v >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
}

// Result lists stay within the row limit together with their distribution lines.
constexpr qsizetype kIdentityTail = 12;
constexpr qsizetype kAdhesionTail = 8;

constexpr int kOddBit = 37;
constexpr int kShowBit = 38;
constexpr uint64_t kKeyBits = (uint64_t(1) << kOddBit) - 1;

// What a pass keeps: the result's lists and its table of odd keys.
struct Lists {
    ClassResult r;
    std::shared_ptr<OddKeys> odd = std::make_shared<OddKeys>();
    Lists(ClassLines::Layout layout, bool classLists) {
        r.lines = std::make_shared<ClassLines>(layout, odd);
        for (auto& c : r.classes) c = std::make_shared<ClassLines>(layout, odd);
        // Room for a full list at once: a long history fills them, and room never written stays
        // untouched.
        if (!classLists) return;
        r.lines->records().reserve(size_t(dz::kRowLimit));
        for (auto& c : r.classes) c->records().reserve(size_t(dz::kRowLimit));
    }
    // The record of a line of draw l showing `shown`. A key of another form is copied into `k`
    // and the record marked for it; enter() gives the key its place in the table.
    static ClassLine encode(const dz::DrawLine& l, uint32_t shown, OddKey& k) {
        const std::string_view key = dz::drawKey(l.item);
        uint64_t digits = 0;
        bool regular = key.size() == 12 && key[8] == ' ';
        for (size_t i = 0; regular && i < 12; ++i) {
            if (i == 8) continue;
            const unsigned d = unsigned(static_cast<unsigned char>(key[i])) - '0';
            regular = d <= 9;
            digits = digits * 10 + d;
        }
        if (!regular) {
            k = OddKey{};
            std::copy(key.begin(), key.end(), k.bytes.begin());
            k.size = uint8_t(key.size());
            digits = uint64_t(1) << kOddBit;
        }
        return digits | uint64_t(shown) << kShowBit;
    }
    ClassLine enter(ClassLine c, const OddKey& k) {
        if (!(c >> kOddBit & 1)) return c;
        c |= odd->size();
        odd->push_back(k);
        return c;
    }
};

// A line of the result list while the pass runs: the newest lines replace the oldest, so a key of
// another form enters the key table only once its line is sure to stay.
struct Pending {
    ClassLine line;
    OddKey odd;
};

void keep(dz::NewestKept<Pending>& listed, ClassLine c, const OddKey& k) {
    Pending& p = listed.next();
    p.line = c;
    if (c >> kOddBit & 1) p.odd = k;  // read only for such a key
}

// The result list's draw lines: the newest of the pass, oldest first.
void keepNewest(Lists& out, dz::NewestKept<Pending>&& listed) {
    std::vector<ClassLine>& records = out.r.lines->records();
    const std::vector<Pending> kept = std::move(listed).take();
    records.reserve(kept.size());
    for (const Pending& p : kept) records.push_back(out.enter(p.line, p.odd));
}

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
    Lists out(ClassLines::Layout::Identity, rules.classLists);
    ClassResult& r = out.r;
    std::array<long long, 9> counts{};
    {
        // more draw lines than the list holds with its distribution: the newest stay
        dz::NewestKept<Pending> listed(size_t(dz::kRowLimit - kIdentityTail));
        std::array<std::vector<ClassLine>*, 9> classes;
        for (size_t k = 0; k < 9; ++k) classes[k] = &r.classes[k]->records();
        // The first draw is only the reference of the second.
        uint32_t prev = 0;
        const long long limit = rules.identityListsAll && windowStart <= 32722 ? 0 : windowStart + 12;
        dz::forEachDraw(file, [&](const dz::DrawLine& l) {
            const long long index = static_cast<long long>(l.index) + 1;
            const uint32_t cur = l.record.mask;
            const uint32_t shared = prev & cur;
            prev = cur;
            if (l.index == 0) return;
            const int k = bitCount(shared);  // a record holds at most eight numbers
            ++counts[static_cast<size_t>(k)];
            const bool toList = index > limit;
            const bool toClass = rules.classLists && classes[size_t(k)]->size() < size_t(dz::kRowLimit);
            if (!toList && !toClass) return;  // most draws of a long history: nothing is kept
            OddKey key;
            const ClassLine c = Lists::encode(l, shared, key);
            if (toList) keep(listed, c, key);
            if (toClass) classes[size_t(k)]->push_back(out.enter(c, key));
        });
        keepNewest(out, std::move(listed));
    }
    QStringList& tail = r.lines->tail();
    tail << QString() << identityHeading() << QString();
    for (int k = 0; k <= 8; ++k) tail << dz::str(k) + QStringLiteral("  ") + dz::str(counts[static_cast<size_t>(k)]);
    return r;
}

ClassResult adhesionDistribution(const dz::DrawFile& file, long long windowStart, const Rules& rules) {
    Lists out(rules.runDigitFirst ? ClassLines::Layout::RunDigitFirst : ClassLines::Layout::Run, rules.classLists);
    ClassResult& r = out.r;
    // more runs than the list holds with its distribution: the newest stay
    dz::NewestKept<Pending> listed(size_t(dz::kRowLimit - kAdhesionTail));
    std::array<std::vector<ClassLine>*, 9> classes;
    for (size_t k = 0; k < 9; ++k) classes[k] = &r.classes[k]->records();
    std::array<long long, 9> counts{};
    const long long limit = rules.runsFromWindow ? 0 : windowStart + 12;
    // a window start past the end of a shorter file leaves nothing to read
    const size_t first = rules.runsFromWindow && windowStart > 1
                             ? size_t(std::min<long long>(windowStart - 1, static_cast<long long>(file.size())))
                             : 0;
    dz::forEachDraw(file, [&](const dz::DrawLine& l) {
        // Every value of a run lies in 0..20 and, but for 0, in the mask: a draw without four
        // consecutive values (0 taken as present) holds no run to count, as most draws.
        const uint32_t present = l.record.mask | 1u;
        if ((present & present >> 1 & present >> 2 & present >> 3) == 0) return;
        const long long index = static_cast<long long>(l.index) + 1;
        const auto& num = l.record.num;
        auto counted = [&](int firstValue, int run) {
            ++counts[static_cast<size_t>(run)];
            const bool toList = index > limit;
            const bool toClass = rules.classLists && classes[size_t(run)]->size() < size_t(dz::kRowLimit);
            if (!toList && !toClass) return;
            // the run's values follow one another: its first value and length give them all
            OddKey key;
            const ClassLine c = Lists::encode(l, uint32_t(firstValue) | uint32_t(run) << 5, key);
            if (toList) keep(listed, c, key);
            if (toClass) classes[size_t(run)]->push_back(out.enter(c, key));
        };
        // Fields in strictly ascending order, as every well-formed draw has them: the runs are the
        // stretches of set bits of the mask (0 added when the first field is 0), in field order.
        bool ascending = num[0] >= 0;
        for (size_t j = 1; j < 8; ++j) ascending &= num[j] > num[j - 1];
        if (ascending) {
            const uint32_t m = l.record.mask | (num[0] == 0 ? 1u : 0u);
            for (uint32_t starts = m & m >> 1 & m >> 2 & m >> 3; starts;) {
                const int s = std::countr_zero(starts);
                const int run = std::countr_one(m >> s);
                counted(s, run);
                starts &= ~(((1u << run) - 1) << s);
            }
            return;
        }
        int start = 0, run = 1;
        for (int j = 1; j <= 8; ++j) {
            // a field that does not read as 0..20 (-1) ends a run and starts none
            if (j < 8 && num[j - 1] >= 0 && num[j] == num[j - 1] + 1) {
                ++run;
                continue;
            }
            if (run >= 4) counted(num[static_cast<size_t>(start)], run);
            start = j;
            run = 1;
        }
    }, first);
    keepNewest(out, std::move(listed));
    QStringList& tail = r.lines->tail();
    tail << QString() << adhesionHeading() << QString();
    for (int k = 4; k <= 8; ++k)
        tail << dz::str(k) + QStringLiteral("  ") + dz::format(counts[static_cast<size_t>(k)], "@@@@@");
    return r;
}

QString ClassLines::line(int i) const {
    if (size_t(i) >= records_.size()) return tail_[i - int(records_.size())];
    const ClassLine c = records_[size_t(i)];
    char digits[12];
    std::string_view key;
    if (c >> kOddBit & 1) {
        const OddKey& k = (*oddKeys_)[size_t(c & kKeyBits)];
        key = std::string_view(k.bytes.data(), k.size);
    } else {
        uint64_t v = c & kKeyBits;
        for (int p = 11; p >= 0; --p) {
            if (p == 8) {
                digits[p] = ' ';
                continue;
            }
            digits[p] = char('0' + v % 10);
            v /= 10;
        }
        key = std::string_view(digits, 12);
    }
    const uint32_t shown = uint32_t(c >> kShowBit);
    LineBuilder b(key);
    if (layout_ == Layout::Identity) {
        b.add("   * ");  // the class right-aligned in two: it has one digit
        b.add(char('0' + bitCount(shown)));
        b.add("   ");
        for (uint32_t m = shown & 0x1FFFFEu; m; m &= m - 1) {
            b.addTwoDigits(std::countr_zero(m));
            b.add(' ');
        }
        return b.str();
    }
    b.add("       ");
    const int first = int(shown & 31u), length = int(shown >> 5);
    for (int v = first; v < first + length; ++v) {
        b.add("  ");
        b.addTwoDigits(v);
    }
    // columns 17-18 carry the mark; a short key leaves fewer columns to replace
    const bool digitFirst = layout_ == Layout::RunDigitFirst;
    const qsizetype starAt = digitFirst ? 17 : 16, digitAt = digitFirst ? 16 : 17;
    if (b.size() > starAt) b.set(starAt, '*');
    if (b.size() > digitAt) b.set(digitAt, char('0' + length));
    return b.str();
}

std::optional<int> classListForClick(const dz::LineSource& lines, int index) {
    const int c = lines.count();
    if (index < 0 || index >= c) return std::nullopt;
    const int rel = c - index;
    const bool adhesion = c >= 7 && lines.line(c - 7) == adhesionHeading();
    const bool identity = c >= 11 && lines.line(c - 11) == identityHeading();
    if (!adhesion && !identity) return std::nullopt;
    if (rel > 9 || (adhesion && rel > 4) || (identity && rel > 5)) return std::nullopt;
    // the class digit stands in column 2
    const long long k = dz::intPart(dz::val(QStringView(dz::mid(lines.line(index), 2, 1))));
    if (k < 0 || k > 8) return std::nullopt;
    return static_cast<int>(k);
}

}  // namespace dz::drawstat
