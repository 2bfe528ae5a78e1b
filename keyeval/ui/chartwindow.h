// The chart window: the per-draw results of the evaluation for winnings as one chart across the
// screen, widened, scrolled and switched between bars and lines from the keyboard.
#pragma once
#include "keyeval/core/chartview.h"

#include <QDialog>
#include <QWidget>
#include <vector>

class QScrollBar;

namespace dz::keyeval {

// The chart itself: one series drawn as bars, three-dimensional bars or lines, with the hint
// text above it. Drawing reads the view; it holds no data of its own.
class ChartCanvas : public QWidget {
    Q_OBJECT
public:
    static const QString kHint;  // " Spaces, *, +  billentyük  !"
    explicit ChartCanvas(const ChartView* view, QWidget* parent = nullptr);

signals:
    void keyTyped(int charCode);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    const ChartView* view_;
};

class ChartWindow : public QDialog {
    Q_OBJECT
public:
    // Loads the chart with every value at once.
    explicit ChartWindow(std::vector<long long> values, QWidget* parent = nullptr);

    const ChartView& view() const { return view_; }

    ChartCanvas* Graph1;
    QScrollBar* HScroll1;

public slots:
    void form_resize();
    void Graph1_KeyPress(int charCode);
    void Graph1_DblClick();
    void HScroll1_Change(int value);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    ChartView view_;
};

// The chart button's end: shows the chart of the values modally; nothing when there are none.
void showChart(QWidget* parent, std::vector<long long> values);

}  // namespace dz::keyeval
