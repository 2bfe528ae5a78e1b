// What the chart window shows, apart from the drawing: the values, the chart type that the space
// key cycles, the step setting, the last-100 view, the chart's width under "+" and "-" and the
// scroll bar that goes with it.
#pragma once
#include <span>
#include <vector>

namespace dz::keyeval {

enum class ChartType { Bars = 3, Bars3D = 4, Lines = 6 };

// The horizontal scroll bar under a chart of a given width in a window of a given inner width.
struct ChartScroll {
    bool shown = false;  // the chart is wider than the window
    int maximum = 0;     // chart width − inner width, never below 0
    int singleStep = 1;  // maximum / 16 + 1
    int pageStep = 1;    // maximum / 4 + 1
};
ChartScroll chartScroll(int chartWidth, int innerWidth);

// A value label of the chart's axis: the value and the centre of its text, in pixels down from the
// top of the plot.
struct AxisLabel {
    long long value;
    double y;
    bool operator==(const AxisLabel&) const = default;
};
// The labels of a value axis running from lo (bottom) to hi (top) over plotHeight pixels: the
// maximum, the minimum and 0, in that order of precedence; a label whose text would overlap one
// already placed is left out (0 close to the minimum is the usual winnings chart).
std::vector<AxisLabel> axisLabels(long long lo, long long hi, double plotHeight, double labelHeight);

class ChartView {
public:
    // More than this many values are drawn as lines with a step setting of 10, else as bars.
    static constexpr int kBarLimit = 99;
    static constexpr int kLastView = 100;

    // values: one per result line, filled in one go; width: the chart's width at load (the
    // screen's); widthCap: the most that "+" widens to.
    ChartView(std::vector<long long> values, int width, int widthCap);

    const std::vector<long long>& values() const { return values_; }
    ChartType type() const { return type_; }
    int step() const { return step_; }
    bool lastHundredView() const { return lastHundred_; }
    // The values drawn: all of them, or the last 100 in the last-100 view.
    std::span<const long long> shown() const;
    int pointCount() const { return int(shown().size()); }
    // 0-based index in values() of the first value drawn.
    size_t firstShown() const { return values_.size() - shown().size(); }
    int width() const { return width_; }

    // space: bars, three-dimensional bars, lines, and round again.
    void cycleType();
    // "*": the last 100 values as lines; false (nothing changes) for 99 values or fewer.
    bool showLastHundred();
    // "+": doubles the width up to the cap; never narrows a chart already wider than the cap.
    void widen();
    // "-": halves the width, but never below the window's width.
    void narrow(int windowWidth);

    enum class Change { None, Drawing, Width };
    // A typed character on the chart: what the window must do next.
    Change keyPress(int charCode, int windowWidth);

private:
    std::vector<long long> values_;
    ChartType type_;
    int step_;
    bool lastHundred_ = false;
    int width_;
    int widthCap_;
};

}  // namespace dz::keyeval
