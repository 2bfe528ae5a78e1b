#include "keyeval/core/chartview.h"
#include "keyeval/ui/chartwindow.h"

#include "common/core/draws.h"
#include "common/platform/services.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using namespace dz::keyeval;

namespace {

std::vector<long long> counting(int n) {  // 1, 2, .. n
    std::vector<long long> v(static_cast<size_t>(n));
    std::iota(v.begin(), v.end(), 1);
    return v;
}

}  // namespace

TEST(ChartView, TypeStepAndLastHundredBy99Against100Values) {
    ChartView bars(counting(99), 1000, 2000);
    EXPECT_EQ(bars.type(), ChartType::Bars);
    EXPECT_EQ(bars.step(), 1);
    EXPECT_EQ(bars.keyPress('*', 1000), ChartView::Change::None);
    EXPECT_FALSE(bars.lastHundredView());
    EXPECT_EQ(bars.pointCount(), 99);

    ChartView lines(counting(100), 1000, 2000);
    EXPECT_EQ(lines.type(), ChartType::Lines);
    EXPECT_EQ(lines.step(), 10);
    EXPECT_EQ(lines.keyPress('*', 1000), ChartView::Change::Drawing);
    EXPECT_EQ(lines.pointCount(), 100);
    EXPECT_EQ(lines.shown().front(), 1);

    ChartView many(counting(250), 1000, 2000);
    many.cycleType();  // "*" goes back to lines from any type
    ASSERT_TRUE(many.showLastHundred());
    EXPECT_EQ(many.type(), ChartType::Lines);
    EXPECT_EQ(many.firstShown(), 150u);
    EXPECT_EQ(many.shown().front(), 151);
    EXPECT_EQ(many.shown().back(), 250);
    EXPECT_EQ(many.step(), 10);
}

TEST(ChartView, SpaceCyclesTypesAndOtherKeysDoNothing) {
    ChartView v(counting(5), 1000, 2000);
    std::vector<ChartType> seen;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v.keyPress(' ', 1000), ChartView::Change::Drawing);
        seen.push_back(v.type());
    }
    EXPECT_EQ(seen, (std::vector<ChartType>{ChartType::Bars3D, ChartType::Lines, ChartType::Bars, ChartType::Bars3D}));
    for (int ch : {int('a'), int('/'), 13, 0})
        EXPECT_EQ(v.keyPress(ch, 1000), ChartView::Change::None);
    EXPECT_EQ(v.type(), ChartType::Bars3D);
    EXPECT_EQ(v.width(), 1000);
}

TEST(ChartView, WidenAndNarrowStopAtTheirLimits) {
    ChartView v(counting(500), 700, 2184);
    std::vector<int> widths;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v.keyPress('+', 700), ChartView::Change::Width);
        widths.push_back(v.width());
    }
    EXPECT_EQ(widths, (std::vector<int>{1400, 2184, 2184, 2184}));
    widths.clear();
    for (int i = 0; i < 4; ++i) {
        v.keyPress('-', 700);
        widths.push_back(v.width());
    }
    EXPECT_EQ(widths, (std::vector<int>{1092, 700, 700, 700}));
    EXPECT_FALSE(chartScroll(v.width(), 700).shown);

    // a chart already wider than the cap (a wide screen) is never narrowed by "+"
    ChartView wide(counting(500), 2560, 2184);
    wide.widen();
    EXPECT_EQ(wide.width(), 2560);
}

TEST(ChartView, ScrollBarRangeAndSteps) {
    const ChartScroll s = chartScroll(1800, 800);
    EXPECT_TRUE(s.shown);
    EXPECT_EQ(s.maximum, 1000);
    EXPECT_EQ(s.singleStep, 1000 / 16 + 1);
    EXPECT_EQ(s.pageStep, 1000 / 4 + 1);
    const ChartScroll none = chartScroll(800, 800);
    EXPECT_FALSE(none.shown);
    EXPECT_EQ(none.maximum, 0);
    EXPECT_EQ(none.singleStep, 1);
}

TEST(ChartView, AxisLabelsNeverOverlap) {
    struct Case {
        const char* name;
        long long lo, hi;
        std::vector<long long> shown;
    };
    const Case cases[] = {
        {"winnings far above a small loss: 0 would sit on the minimum", -3, 5000, {5000, -3}},
        {"room for all three", -3000, 5000, {5000, -3000, 0}},
        {"no loss: the minimum is 0", 0, 5000, {5000, 0}},
        {"only losses: the maximum is 0", -5000, 0, {0, -5000}},
        {"0 close to the maximum", -5000, 2, {2, -5000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto labels = axisLabels(c.lo, c.hi, 400, 16);
        std::vector<long long> values;
        for (const auto& l : labels) values.push_back(l.value);
        EXPECT_EQ(values, c.shown);
        for (size_t i = 0; i < labels.size(); ++i)
            for (size_t j = i + 1; j < labels.size(); ++j) EXPECT_GE(std::abs(labels[i].y - labels[j].y), 16.0);
    }
    // A plot lower than two labels keeps the maximum alone.
    EXPECT_EQ(axisLabels(-100, 100, 10, 16), (std::vector<AxisLabel>{{100, 0.0}}));
}

TEST(ChartWindow, KeysDriveTheChartAndTheScrollBar) {
    std::vector<long long> values = counting(250);
    values[10] = 40000;  // beyond 16 bits, charted as it is
    values[11] = -70000;
    ChartWindow w(values);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.objectName(), QStringLiteral("diagramm"));
    EXPECT_EQ(w.Graph1->objectName(), QStringLiteral("Graph1"));
    EXPECT_EQ(w.Graph1->accessibleName(), QStringLiteral(" Spaces, *, +  billentyük  !"));
    EXPECT_EQ(w.view().values()[10], 40000);
    EXPECT_EQ(w.view().width(), w.width());
    EXPECT_FALSE(w.HScroll1->isVisible());

    QTest::keyClick(w.Graph1, Qt::Key_Space);
    EXPECT_EQ(w.view().type(), ChartType::Bars);
    QTest::keyClick(w.Graph1, Qt::Key_Asterisk, Qt::NoModifier);
    EXPECT_TRUE(w.view().lastHundredView());
    EXPECT_EQ(w.view().type(), ChartType::Lines);

    const int windowWidth = w.width();
    QTest::keyClick(w.Graph1, Qt::Key_Plus);
    EXPECT_GT(w.view().width(), windowWidth);
    EXPECT_EQ(w.Graph1->width(), w.view().width());
    EXPECT_TRUE(w.HScroll1->isVisible());
    EXPECT_EQ(w.HScroll1->maximum(), w.view().width() - windowWidth);
    w.HScroll1->setValue(w.HScroll1->maximum());
    EXPECT_EQ(w.Graph1->x(), -w.HScroll1->maximum());
    EXPECT_TRUE(w.Graph1->hasFocus());

    for (int i = 0; i < 3; ++i) QTest::keyClick(w.Graph1, Qt::Key_Minus);
    EXPECT_EQ(w.view().width(), windowWidth);
    EXPECT_FALSE(w.HScroll1->isVisible());
    EXPECT_EQ(w.Graph1->x(), 0);
    w.Graph1->repaint();  // every type draws without fault
    QTest::keyClick(w.Graph1, Qt::Key_Space);
    w.Graph1->repaint();
    QTest::keyClick(w.Graph1, Qt::Key_Space);
    w.Graph1->repaint();
}

TEST(ChartWindow, OpensModallyAndADoubleClickClosesIt) {
    bool seen = false;
    // a window that fails to close must not hold the test
    QTimer safety;
    QObject::connect(&safety, &QTimer::timeout, [] {
        if (auto* m = QApplication::activeModalWidget()) m->close();
    });
    safety.start(10000);
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<ChartWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        seen = true;
        EXPECT_EQ(w->view().pointCount(), int(dz::kRowLimit));
        QTest::mouseDClick(w->Graph1, Qt::LeftButton);
    });
    showChart(nullptr, std::vector<long long>(size_t(dz::kRowLimit), -3));
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // nothing to plot: no window
    QTimer::singleShot(0, [&] { seen = QApplication::activeModalWidget() != nullptr; });
    showChart(nullptr, {});
    QCoreApplication::processEvents();
    EXPECT_FALSE(seen);
}
