#include "keyeval/core/chartview.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace dz::keyeval {

ChartScroll chartScroll(int chartWidth, int innerWidth) {
    ChartScroll s;
    s.shown = chartWidth > innerWidth;
    s.maximum = std::max(0, chartWidth - innerWidth);
    s.singleStep = std::abs(s.maximum / 16) + 1;
    s.pageStep = std::abs(s.maximum / 4) + 1;
    return s;
}

ChartView::ChartView(std::vector<long long> values, int width, int widthCap)
    : values_(std::move(values)), width_(std::max(1, width)), widthCap_(std::max(1, widthCap)) {
    const bool many = values_.size() > size_t(kBarLimit);
    type_ = many ? ChartType::Lines : ChartType::Bars;
    step_ = many ? 10 : 1;
}

std::span<const long long> ChartView::shown() const {
    std::span<const long long> all(values_);
    return lastHundred_ ? all.last(size_t(kLastView)) : all;
}

void ChartView::cycleType() {
    switch (type_) {
    case ChartType::Bars: type_ = ChartType::Bars3D; break;
    case ChartType::Bars3D: type_ = ChartType::Lines; break;
    case ChartType::Lines: type_ = ChartType::Bars; break;
    }
}

bool ChartView::showLastHundred() {
    if (values_.size() <= size_t(kBarLimit)) return false;
    lastHundred_ = true;
    type_ = ChartType::Lines;
    return true;
}

void ChartView::widen() {
    const int cap = std::max(widthCap_, width_);
    width_ = int(std::min<long long>(2LL * width_, cap));
}

void ChartView::narrow(int windowWidth) {
    const int w = width_ / 2;
    width_ = std::max(1, w < windowWidth ? windowWidth : w);
}

ChartView::Change ChartView::keyPress(int charCode, int windowWidth) {
    switch (charCode) {
    case ' ': cycleType(); return Change::Drawing;
    case '+': widen(); return Change::Width;
    case '-': narrow(windowWidth); return Change::Width;
    case '*': return showLastHundred() ? Change::Drawing : Change::None;
    default: return Change::None;
    }
}

std::vector<AxisLabel> axisLabels(long long lo, long long hi, double plotHeight, double labelHeight) {
    const double span = hi > lo ? double(hi) - double(lo) : 1.0;
    std::vector<AxisLabel> out;
    for (long long v : {hi, lo, 0LL}) {
        if (v < lo || v > hi) continue;
        const double y = (double(hi) - double(v)) / span * plotHeight;
        const bool clear = std::none_of(out.begin(), out.end(), [&](const AxisLabel& l) {
            return l.value == v || std::abs(l.y - y) < labelHeight;
        });
        if (clear) out.push_back({v, y});
    }
    return out;
}

}  // namespace dz::keyeval
