#include "keyeval/ui/chartwindow.h"

#include "common/platform/services.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPolygonF>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

namespace dz::keyeval {

const QString ChartCanvas::kHint = QStringLiteral(" Spaces, *, +  billentyük  !");

ChartCanvas::ChartCanvas(const ChartView* view, QWidget* parent) : QWidget(parent), view_(view) {
    setObjectName(QStringLiteral("Graph1"));
    setAccessibleName(kHint);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartCanvas::keyPressEvent(QKeyEvent* e) {
    const QString t = e->text();
    if (t.size() == 1) {
        emit keyTyped(t[0].unicode());
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void ChartCanvas::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
    emit doubleClicked();
}

void ChartCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QFontMetrics fm = p.fontMetrics();
    p.setPen(Qt::black);
    p.drawText(QPoint(4, fm.ascent() + 2), kHint);

    const std::span<const long long> v = view_->shown();
    const int n = int(v.size());
    const QRectF plot(QPointF(fm.horizontalAdvance(QStringLiteral("-0000000")) + 8.0, fm.height() + 8.0),
                      QPointF(width() - 10.0, height() - fm.height() - 8.0));
    if (n == 0 || plot.width() < 2 || plot.height() < 2) return;

    long long lo = 0, hi = 0;
    for (long long x : v) {
        lo = std::min(lo, x);
        hi = std::max(hi, x);
    }
    if (hi == lo) hi = lo + 1;
    const double span = double(hi) - double(lo);
    auto yOf = [&](double value) { return plot.bottom() - (value - double(lo)) / span * plot.height(); };
    const double slot = plot.width() / n;
    auto xOf = [&](double i) { return plot.left() + (i + 0.5) * slot; };

    // axes, the zero line and the value labels
    p.setPen(Qt::gray);
    p.drawLine(QPointF(plot.left(), plot.top()), QPointF(plot.left(), plot.bottom()));
    p.drawLine(QPointF(plot.left(), yOf(0)), QPointF(plot.right(), yOf(0)));
    p.setPen(Qt::black);
    for (const AxisLabel& label : axisLabels(lo, hi, plot.height(), fm.height())) {
        const double y = plot.top() + label.y;
        p.drawText(QRectF(0, y - fm.height() / 2.0, plot.left() - 4, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(label.value));
    }
    // point numbers every step, thinned so that they do not run into each other
    const int step = std::max(1, view_->step());
    int every = step;
    const double labelWidth = fm.horizontalAdvance(QString::number(n)) + 12.0;
    while (every * slot < labelWidth && every < n) every *= 2;
    for (int i = every; i <= n; i += every)
        p.drawText(QRectF(xOf(i - 1) - labelWidth / 2, plot.bottom() + 4, labelWidth, fm.height()),
                   Qt::AlignHCenter | Qt::AlignTop, QString::number(i));

    const QColor fill(0, 0, 160), side(0, 0, 96), top(96, 96, 224);
    const ChartType type = view_->type();
    if (type == ChartType::Lines) {
        p.setPen(QPen(fill, 1));
        QPolygonF line;
        const int columns = int(plot.width());
        if (n > 2 * columns) {
            // more points than pixels: each pixel column draws its lowest and highest value
            line.reserve(2 * columns);
            for (int c = 0; c < columns; ++c) {
                const size_t a = size_t(double(c) * n / columns), b = size_t(double(c + 1) * n / columns);
                if (a >= b) continue;
                const auto [mn, mx] = std::minmax_element(v.begin() + a, v.begin() + b);
                const double x = plot.left() + c + 0.5;
                line << QPointF(x, yOf(double(*mn))) << QPointF(x, yOf(double(*mx)));
            }
        } else {
            line.reserve(n);
            for (int i = 0; i < n; ++i) line << QPointF(xOf(i), yOf(double(v[size_t(i)])));
        }
        p.drawPolyline(line);
        return;
    }
    const double zero = yOf(0);
    const int columns = int(plot.width());
    if (n > columns) {
        // bars thinner than a pixel: each pixel column shows the reach of its bars from zero
        for (int c = 0; c < columns; ++c) {
            const size_t a = size_t(double(c) * n / columns), b = size_t(double(c + 1) * n / columns);
            if (a >= b) continue;
            const auto [mn, mx] = std::minmax_element(v.begin() + a, v.begin() + b);
            const double y0 = yOf(double(std::max(0LL, *mx))), y1 = yOf(double(std::min(0LL, *mn)));
            p.fillRect(QRectF(plot.left() + c, y0, 1.0, std::max(1.0, y1 - y0)), fill);
        }
        return;
    }
    const double barWidth = std::max(1.0, slot * 0.7);
    const double depth = type == ChartType::Bars3D ? std::min(slot * 0.25, 10.0) : 0.0;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < n; ++i) {
        const double x = xOf(i) - barWidth / 2, y = yOf(double(v[size_t(i)]));
        const QRectF bar(QPointF(x, std::min(y, zero)), QPointF(x + barWidth, std::max(y, zero)));
        if (depth > 0) {
            const QPointF d(depth, -depth);
            p.setBrush(side);
            p.drawPolygon(QPolygonF{bar.topRight(), bar.topRight() + d, bar.bottomRight() + d, bar.bottomRight()});
            p.setBrush(top);
            p.drawPolygon(QPolygonF{bar.topLeft(), bar.topLeft() + d, bar.topRight() + d, bar.topRight()});
        }
        p.fillRect(bar, fill);
    }
}

ChartWindow::ChartWindow(std::vector<long long> values, QWidget* parent)
    : QDialog(parent),
      view_(std::move(values),
            (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry().width()
                                              : dz::ui::twips(12000)),
            dz::ui::twips(32768)) {
    setObjectName(QStringLiteral("diagramm"));
    setModal(true);
    // Form_Load: the window and the chart as wide as the screen; the data goes in at once.
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, view_.width(), dz::ui::twips(7200));
    Graph1 = new ChartCanvas(&view_, this);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setFocusPolicy(Qt::NoFocus);
    connect(Graph1, &ChartCanvas::keyTyped, this, &ChartWindow::Graph1_KeyPress);
    connect(Graph1, &ChartCanvas::doubleClicked, this, &ChartWindow::Graph1_DblClick);
    connect(HScroll1, &QScrollBar::valueChanged, this, &ChartWindow::HScroll1_Change);
    resize(view_.width(), std::max(dz::ui::twips(3000), screen.height() * 2 / 3));
    move(screen.left(), screen.top() + screen.height() / 6);
    form_resize();
    Graph1->setFocus();
    dz::ui::nameControls(this);
}

void ChartWindow::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    form_resize();
}

void ChartWindow::form_resize() {
    const int innerWidth = width(), innerHeight = height();
    const int barHeight = HScroll1->sizeHint().height();
    const ChartScroll s = chartScroll(view_.width(), innerWidth);
    // The bar lies just below the window while the chart fits; the chart keeps the space above it.
    HScroll1->setGeometry(0, s.shown ? innerHeight - barHeight : innerHeight, innerWidth, barHeight);
    HScroll1->setVisible(s.shown);
    HScroll1->setRange(0, s.maximum);
    HScroll1->setSingleStep(s.singleStep);
    HScroll1->setPageStep(s.pageStep);
    Graph1->setGeometry(-HScroll1->value(), 0, view_.width(), std::max(1, innerHeight - barHeight));
    HScroll1->raise();
}

void ChartWindow::Graph1_KeyPress(int charCode) {
    switch (view_.keyPress(charCode, width())) {
    case ChartView::Change::Drawing: Graph1->update(); break;
    case ChartView::Change::Width: form_resize(); break;
    case ChartView::Change::None: break;
    }
}

void ChartWindow::Graph1_DblClick() { accept(); }

void ChartWindow::HScroll1_Change(int value) {
    Graph1->move(-value, 0);
    Graph1->setFocus();
}

void showChart(QWidget* parent, std::vector<long long> values) {
    if (values.empty()) return;
    ChartWindow chart(std::move(values), parent);
    chart.exec();
}

}  // namespace dz::keyeval
