#include "drawstat/ui/backtest.h"

#include "common/core/suite.h"
#include "drawstat/core/backtest.h"
#include "common/core/random.h"
#include "drawstat/core/state.h"
#include "common/core/textfmt.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "drawstat/ui/mainwindow.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dz::drawstat {

namespace {

using dz::ui::twips;

template <class W>
W* place(W* w, const char* name, int left, int top, int width, int height) {
    w->setObjectName(QLatin1String(name));
    w->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top, int width = 900) {
    return dz::ui::commandButton(parent, name, caption, left, top, width);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height = 255) {
    return place(new QLabel(text, parent), name, left, top, width, height);
}

}  // namespace

BacktestWindow::BacktestWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("kiertekel"));
    setWindowTitle(QStringLiteral(" DIZOV") + QString(76, QLatin1Char(' ')) + dz::signature());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(pal);
    setAutoFillBackground(true);
    setMouseTracking(true);  // the pointer over the background empties the hover label
    setFixedSize(twips(9600), twips(5940));

    dz::ui::GridGeometry geo;
    geo.rowTools = true;
    geo.columnTools = true;
    geo.extraCells = true;
    grid = new dz::ui::NumberGrid(this, geo);

    Command3D5 = button(this, "Command3D5", QStringLiteral("Töröl"), 240, 2880);
    Command3D3 = button(this, "Command3D3", QStringLiteral("Véletlen"), 1200, 2880);
    Text1 = place(new QLineEdit(QStringLiteral("8"), this), "Text1", 2160, 2910, 420, 315);
    Label1 = label(this, "Label1", QString(), 240, 3330, 900);
    Label13 = label(this, "Label13", QString(), 1200, 3330, 900);

    Label2 = label(this, "Label2", QStringLiteral("Találat- tól-ig m."), 240, 3720, 1620);
    Text2 = place(new QLineEdit(QStringLiteral("0"), this), "Text2", 240, 3990, 500, 315);
    Text4 = place(new QLineEdit(QStringLiteral("8"), this), "Text4", 840, 3990, 500, 315);
    Label12 = label(this, "Label12", QStringLiteral("Csillag mutat"), 1860, 3720, 1500);
    Text3 = place(new QLineEdit(QStringLiteral("4"), this), "Text3", 1860, 3990, 500, 315);
    Check1 = place(new QCheckBox(QStringLiteral("Teljes húzásra"), this), "Check1", 240, 4440, 2300, 300);
    Command3D4 = button(this, "Command3D4", QStringLiteral("Vizsgál"), 240, 4920);
    Command3D7 = button(this, "Command3D7", QStringLiteral("Húzás"), 1200, 4920);
    Command3D1 = button(this, "Command3D1", QStringLiteral("Kilép"), 2160, 4920, 600);

    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::TypeWriter);
    List1 = place(new dz::ui::ListBox(this), "List1", 3480, 360, 3000, 4440);
    List2 = place(new dz::ui::ListBox(this), "List2", 6660, 360, 2700, 2700);
    List3 = place(new dz::ui::ListBox(this), "List3", 6660, 3120, 2700, 1200);
    List3->hide();
    for (auto* l : {List1, List2, List3}) l->setFont(mono);
    Label3 = label(this, "Label3", QString(), 3480, 4920, 1500);
    Label4 = label(this, "Label4", QStringLiteral("Az első húzástól visszamenőleg, csak :"), 3480, 5400, 3960);
    // The level stands right after the first text, whatever the font makes of its width.
    Label4->resize(Label4->sizeHint().width(), Label4->height());
    Label5 = label(this, "Label5", QString(), 0, 5400, 300);
    Label5->move(Label4->geometry().right() + twips(90), Label5->y());
    Label5->setAlignment(Qt::AlignCenter);
    Label6 = label(this, "Label6", QStringLiteral("találattól teljes."), 0, 5400, 1620);
    Label6->move(Label5->geometry().right() + twips(60), Label6->y());
    Label6->resize(Label6->sizeHint().width(), Label6->height());

    // a build whose back-test runs from the draw window start has no whole-history mode
    if (state().rules.backtestFromWindow)
        for (QWidget* w : std::initializer_list<QWidget*>{Check1, Label4, Label5, Label6}) w->hide();
    grid->setHoverLabel(Label13);
    connect(grid, &dz::ui::NumberGrid::countChanged, this, [this](int n) { Label1->setText(dz::str(n)); });
    connect(Command3D3, &QPushButton::clicked, this, &BacktestWindow::Command3D3_Click);
    connect(Command3D5, &QPushButton::clicked, this, &BacktestWindow::Command3D5_Click);
    connect(Command3D4, &QPushButton::clicked, this, &BacktestWindow::Command3D4_Click);
    connect(Command3D7, &QPushButton::clicked, this, &BacktestWindow::Command3D7_Click);
    connect(Command3D1, &QPushButton::clicked, this, &BacktestWindow::Command3D1_Click);
    connect(List1, &dz::ui::ListBox::keyTyped, this, &BacktestWindow::List1_KeyPress);
    connect(List2, &dz::ui::ListBox::keyTyped, this, &BacktestWindow::List2_KeyPress);
    for (auto* t : {Text1, Text2, Text3, Text4}) dz::ui::onDoubleClick(t, [t] { t->clear(); });

    Form_Load();
    dz::ui::nameControls(this);
}

void BacktestWindow::Form_Load() {
    // The window sets the draw window start again from the file as it is now.
    if (const auto n = dz::countLines(state().drawFilePath()))
        state().windowStart = dz::drawWindowStart(static_cast<long long>(*n));
}

void BacktestWindow::mouseMoveEvent(QMouseEvent* e) {
    Label13->clear();
    QDialog::mouseMoveEvent(e);
}

void BacktestWindow::Command3D5_Click() {
    grid->clearAll();
    Label1->clear();
}

void BacktestWindow::Command3D3_Click() {
    // An unusable pick count becomes 8; one in 1..20 that is not whole is taken to its integer part.
    const double v = dz::val(QStringView(Text1->text()));
    int k = 8;
    if (!dz::isNumeric(Text1->text()) || v > 20 || v < 1)
        Text1->setText(QStringLiteral("8"));
    else
        k = static_cast<int>(dz::intPart(v));
    dz::Random& rng = dz::programRandom();
    rng.reseedFromClock();
    grid->pickRandom(k, rng, /*clearExtras=*/!state().rules.randomKeepsExtras);
    Label1->setText(dz::str(grid->selection().count()));
    repaint();
    Command3D4_Click();
}

void BacktestWindow::Command3D4_Click() {
    BacktestInput in;
    in.marked = grid->selection().mask();
    in.markedCount = grid->selection().count();
    in.fromText = Text2->text();
    in.toText = Text4->text();
    in.starText = Text3->text();
    in.levelText = Label5->text();
    in.wholeHistory = Check1->isChecked();
    in.windowStart = state().windowStart;
    in.fromWindow = state().rules.backtestFromWindow;

    BacktestOutcome out;
    {
        dz::ui::BusyCursor busy;
        out = runBacktest(in, state().drawFilePath());
    }
    if (out.starText) Text3->setText(*out.starText);
    if (out.status == BacktestOutcome::Status::NoMarks) {
        dz::ui::beep();
        dz::ui::message(this, noMarksMessage(), dz::ui::Icon::Critical, noMarksTitle());
        return;
    }
    if (out.fromText) Text2->setText(*out.fromText);
    if (!out.listsCleared()) return;
    List1->setSource(out.hitLines);
    List3->setSource(out.numberLines);
    List2->setItems(out.distribution);
    if (out.status != BacktestOutcome::Status::Done) return;
    if (out.level && !state().rules.backtestFromWindow) Label5->setText(*out.level);
    if (out.hitTopIndex) List1->setTopIndex(*out.hitTopIndex);
    Label3->setText(out.listedCount);
}

void BacktestWindow::Command3D7_Click() {
    if (List1->count() == 0) return;
    const int i = List1->listIndex();
    if (i < 0) {
        dz::ui::message(this, selectDrawMessage(), dz::ui::Icon::Critical, selectDrawTitle());
        return;
    }
    grid->refresh();
    const ShownDraw d = readShownDraw(List3->item(i));
    for (int x : d.numbers) grid->showImage(x, grid->selection().marked(x) ? QStringLiteral("tx.BMP") : QStringLiteral("tt.BMP"));
    if (d.extra)
        grid->showExtraImage(*d.extra, grid->extraShowsImage(*d.extra) ? QStringLiteral("TX.BMP") : QStringLiteral("TT.BMP"));
}

void BacktestWindow::Command3D1_Click() { close(); }

void BacktestWindow::List1_KeyPress(int charCode) {
    if (charCode == 'l' || charCode == 'L') exportList(this, List1->items());
}

void BacktestWindow::List2_KeyPress(int charCode) {
    if (charCode == 'l' || charCode == 'L') exportList(this, List2->items());
}

}  // namespace dz::drawstat
