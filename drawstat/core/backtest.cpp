#include "drawstat/core/backtest.h"

#include "common/core/popcountclones.h"
#include "common/core/suite.h"
#include "common/core/cp1250.h"
#include "common/core/newest.h"
#include "common/core/textfmt.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace dz::drawstat {

namespace {

struct Settled {
    double from = 0, to = 8, star = 4;
};

// A bound or level as the text boxes show it: whole values as plain digits.
QString plainNumber(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(static_cast<long long>(v));
    return QString::number(v, 'g', 15);
}

// The steps before the file; nullopt when the run ends there (out.status says why).
std::optional<Settled> settle(const BacktestInput& in, BacktestOutcome& out) {
    Settled p;
    p.star = dz::val(QStringView(in.starText));
    if (p.star == 0) {
        p.star = 4;
        out.starText = QStringLiteral("4");
    }
    if (in.markedCount == 0) {
        out.status = BacktestOutcome::Status::NoMarks;
        return std::nullopt;
    }
    p.from = dz::val(QStringView(in.fromText));
    p.to = dz::val(QStringView(in.toText));
    double level = dz::val(QStringView(in.levelText));
    if (p.from > 20 || p.from < 0 || p.from > p.to) {
        out.status = BacktestOutcome::Status::BadBounds;
        return std::nullopt;
    }
    if (in.wholeHistory) {
        if (level == 0) level = 6;
        if (p.from < level) {
            p.from = level;
            out.fromText = plainNumber(level);
        }
    }
    return p;
}

// Hits of one record: the number fields whose number is marked. A well-formed record holds eight
// distinct numbers, so its bit set answers at once; a malformed one is counted field by field.
inline int hitsOf(const dz::DrawRecord& r, uint32_t marked) {
    if (std::popcount(r.mask) == 8) return std::popcount(r.mask & marked);
    int h = 0;
    for (int8_t v : r.num)
        if (v >= 1 && (marked & (1u << v))) ++h;
    return h;
}

// A listed draw as the file holds it: its key, whether its hits reach the star level, and the
// numbers part; its two lines are made when they are read.
struct ListedDraw {
    std::array<char, 12> key;
    std::array<char, 27> numbers;
    uint8_t keySize, numbersSize, hits;
    bool starred;
};
using ListedDraws = std::vector<ListedDraw>;

// List1's line ("key  hits", " *" from the star level on) or List3's (the numbers part).
class ListedLines : public dz::LineSource {
public:
    ListedLines(std::shared_ptr<const ListedDraws> draws, bool numbers) : draws_(std::move(draws)), numbers_(numbers) {}
    int count() const override { return int(draws_->size()); }
    QString line(int i) const override {
        const ListedDraw& d = (*draws_)[size_t(i)];
        if (numbers_) return dz::cp1250::decode(std::string_view(d.numbers.data(), d.numbersSize));
        QString line = dz::cp1250::decode(std::string_view(d.key.data(), d.keySize));
        line += QStringLiteral("  ");
        line += dz::str(d.hits);
        if (d.starred) line += QStringLiteral(" *");
        return line;
    }

private:
    std::shared_ptr<const ListedDraws> draws_;
    bool numbers_;
};

// Built twice, the pass's popcounts as the processor's instruction where it has one (chosen when
// the program runs), else as plain code.
DZ_POPCOUNT_CLONES
void count(const Settled& p, const BacktestInput& in, const dz::DrawFile& file, BacktestOutcome& out) {
    const uint32_t marked = in.marked & 0x1FFFFEu;
    // a window start past the end of a shorter file leaves nothing to read
    const size_t first = in.fromWindow && in.windowStart > 1
                             ? size_t(std::min<long long>(in.windowStart - 1, static_cast<long long>(file.size())))
                             : 0;
    // more draws in the bounds than the list holds: the newest stay
    dz::NewestKept<ListedDraw> listed(static_cast<size_t>(dz::kRowLimit));
    dz::forEachDraw(file, [&](const dz::DrawLine& l) __attribute__((always_inline)) {
        const int hits = hitsOf(l.record, marked);
        ++out.hitCounts[static_cast<size_t>(hits)];
        const long long index = static_cast<long long>(l.index) + 1;
        if (hits < p.from || hits > p.to) return;
        if (!in.wholeHistory && !in.fromWindow && index <= in.windowStart) return;
        ListedDraw& d = listed.next();
        const std::string_view key = dz::drawKey(l.item), numbers = dz::numbersPart(l.item);
        std::copy(key.begin(), key.end(), d.key.begin());
        std::copy(numbers.begin(), numbers.end(), d.numbers.begin());
        d.keySize = uint8_t(key.size());
        d.numbersSize = uint8_t(numbers.size());
        d.hits = uint8_t(hits);
        d.starred = hits >= p.star;
    }, first);
    const auto kept = std::make_shared<const ListedDraws>(std::move(listed).take());
    out.hitLines = std::make_shared<ListedLines>(kept, false);
    out.numberLines = std::make_shared<ListedLines>(kept, true);
    // The completeness level: the smallest hit count that fewer than 32736 draws reach or pass.
    long long total = 0;
    for (int j = 1; j <= 9; ++j) {
        const int h = j - 1;
        out.distribution << QString::number(h) + QStringLiteral("  ") + QString::number(out.hitCounts[static_cast<size_t>(h)]);
        total += out.hitCounts[static_cast<size_t>(9 - j)];
        if (total < dz::kRowLimit) out.level = QString::number(9 - j);
    }
    const int n = int(kept->size());
    if (n >= 17) out.hitTopIndex = n - 17;
    out.listedCount = QString::number(n);
}

}  // namespace

BacktestOutcome runBacktest(const BacktestInput& in, const std::optional<dz::DrawFile>& file) {
    BacktestOutcome out;
    const auto p = settle(in, out);
    if (!p) return out;
    if (!file) {
        out.status = BacktestOutcome::Status::NoFile;
        return out;
    }
    out.status = BacktestOutcome::Status::Done;
    count(*p, in, *file, out);
    return out;
}

BacktestOutcome runBacktest(const BacktestInput& in, const QString& drawFilePath) {
    BacktestOutcome out;
    if (!settle(in, out)) return out;
    return runBacktest(in, dz::DrawFile::load(drawFilePath));
}

ShownDraw readShownDraw(const QString& t) {
    ShownDraw d;
    // A field counts only when it is whole on the line and reads as a number of its range.
    auto field = [&](qsizetype pos1, int hi) -> std::optional<int> {
        if (pos1 < 1 || pos1 + 1 > t.size()) return std::nullopt;
        const double v = dz::val(QStringView(t).mid(pos1 - 1, 2));
        if (v != std::floor(v) || v < 1 || v > hi) return std::nullopt;
        return static_cast<int>(v);
    };
    for (int k = 1; k <= 8; ++k)
        if (auto x = field(3 * k - 1, 20)) d.numbers.push_back(*x);
    // the extra number closes a full numbers part
    if (t.size() >= 27) d.extra = field(t.size() - 1, 4);
    return d;
}

QString noMarksMessage() { return QStringLiteral("Minimum 1 szám választandó ki !"); }
QString noMarksTitle() { return QStringLiteral("KENO"); }
QString selectDrawMessage() {
    return QStringLiteral("Válassza ki (click a kiértékelő listára), hogy melyik húzás nyerőszámait akarja látni !");
}
QString selectDrawTitle() { return dz::signature(); }

}  // namespace dz::drawstat
