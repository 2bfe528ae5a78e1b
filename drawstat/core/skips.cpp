#include "drawstat/core/skips.h"

#include "common/core/cp1250.h"
#include "common/core/newest.h"
#include "common/core/textfmt.h"

#include <cmath>

namespace dz::drawstat {

QString appearanceLine(const QString& drawKey, long long gap) {
    QString line = drawKey + QLatin1Char(' ') + dz::format(gap - 1, "@@");
    if (gap == 1) line += QLatin1Char('*');
    return line;
}

QString closingLine(long long gap) { return QString(13, QLatin1Char(' ')) + dz::format(gap, "@@"); }

namespace {
struct Appearance {
    long long gap;
    std::array<char, 12> key;
    uint8_t keySize;
};

// The listed appearances, oldest first, and the closing line when the number is not in the last draw.
class AppearanceLines : public dz::LineSource {
public:
    AppearanceLines(std::vector<Appearance> a, long long closingGap) : a_(std::move(a)), closing_(closingGap) {}
    int count() const override { return int(a_.size()) + (closing_ != 0 ? 1 : 0); }
    QString line(int i) const override {
        if (size_t(i) == a_.size()) return closingLine(closing_);
        const Appearance& a = a_[size_t(i)];
        return appearanceLine(dz::cp1250::decode(std::string_view(a.key.data(), a.keySize)), a.gap);
    }

private:
    std::vector<Appearance> a_;
    long long closing_;
};
}  // namespace

LifePath lifePath(const dz::DrawFile& file, int m, long long listFrom) {
    LifePath out;
    if (m < 1 || m > 20) return out;
    const uint32_t bit = 1u << m;
    std::array<int32_t, kMaxCountedGap + 1> dist{};
    // Only the latest kRowLimit lines stay, so the appearances are first kept in a ring of that
    // many, then written: a long history never builds lines it throws away.
    dz::NewestKept<Appearance> ring(static_cast<size_t>(dz::kRowLimit));
    long long gap = 0;
    dz::forEachDraw(file, [&](const dz::DrawLine& l) {
        ++gap;
        if (!(l.record.mask & bit)) return;
        if (gap <= kMaxCountedGap) ++dist[size_t(gap)];
        if (static_cast<long long>(l.index) + 1 > listFrom) {
            Appearance& a = ring.next();
            const std::string_view key = dz::drawKey(l.item);
            a.gap = gap;
            a.keySize = uint8_t(key.size());
            std::copy(key.begin(), key.end(), a.key.begin());
        }
        gap = 0;
    });
    // the closing line takes the place of the oldest appearance in a full list
    const size_t total = ring.size() + (gap != 0 ? 1 : 0);
    const size_t drop = total > size_t(dz::kRowLimit) ? total - size_t(dz::kRowLimit) : 0;
    out.appearances = std::make_shared<AppearanceLines>(std::move(ring).take(drop), gap);

    int top = -1;
    for (int g = kMaxCountedGap; g >= 0; --g)
        if (dist[size_t(g)] != 0) {
            top = g;
            break;
        }
    for (int g = 1; g <= top; ++g)
        out.distribution.append(dz::format(g - 1, "@@") + QLatin1Char(' ') + dz::format(dist[size_t(g)], "@@@@@"));
    return out;
}

std::array<long long, 21> drawsSince(long long drawCount, const std::array<long long, 21>& lastAppearance) {
    std::array<long long, 21> out{};
    for (int n = 1; n <= 20; ++n) out[size_t(n)] = drawCount - lastAppearance[size_t(n)];
    return out;
}

namespace {
// A threshold as the box shows it: whole values as integers, never an exponent form.
QString thresholdText(double v) {
    if (v >= 1e15) return QString::number(v, 'f', 0);
    if (std::floor(v) == v) return QString::number(static_cast<long long>(v));
    return QString::number(v, 'g', 15);
}
}  // namespace

Threshold sinceThreshold(const QString& boxText) {
    const double v = dz::val(boxText);
    if (v < 1) return {1, QStringLiteral("1")};
    return {v, boxText};
}

QString spinThreshold(const QString& boxText, int step) {
    double v = dz::val(boxText) + step;
    if (v < 1) v = 1;
    return thresholdText(v);
}

}  // namespace dz::drawstat
