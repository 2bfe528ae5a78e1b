#include "daystat/ui/cutrange.h"

#include "common/core/suite.h"
#include "common/core/folder.h"
#include "common/core/draws.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace dz::daystat {

namespace {

using dz::ui::twips;

QString historyPath() { return dz::programFile(QString::fromLatin1(dz::kDrawHistoryFile)); }
QString partialPath() { return dz::programFile(QString::fromLatin1(dz::kPartialDayFile)); }

QLineEdit* box(QWidget* parent, const char* name, int left, int top, int width) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(name));
    dz::ui::placeTwips(t, left, top, width, 315);
    return t;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    dz::ui::placeTwips(l, left, top, width, 285);
    return l;
}

QFrame* sunkenFrame(QWidget* parent, int left, int top, int width, int height) {
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Sunken);
    dz::ui::placeTwips(f, left, top, width, height);
    f->lower();
    return f;
}

}  // namespace

CutRangeWindow::CutRangeWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("valogat"));
    setWindowTitle(QStringLiteral("  DIZOV húzások leválogatása.") + QString(25, QLatin1Char(' ')) +
                   dz::signature());
    setFixedSize(twips(6600), twips(2250));

    // Two rows: year, month, day and draw number, each box with its spin button beside it.
    const int lefts[4] = {900, 2220, 3300, 4380};
    const int widths[4] = {780, 540, 540, 660};
    sunkenFrame(this, 120, 120, 6360, 540);
    sunkenFrame(this, 120, 780, 6360, 540);
    Label3 = label(this, "Label3", QStringLiteral("Tól:"), 240, 255, 600);
    Label4 = label(this, "Label4", QStringLiteral("Ig:"), 240, 915, 600);
    QLineEdit** from[4] = {&Text1, &Text2, &Text3, &Text8};
    QLineEdit** to[4] = {&Text4, &Text5, &Text6, &Text9};
    const char* fromNames[4] = {"Text1", "Text2", "Text3", "Text8"};
    const char* toNames[4] = {"Text4", "Text5", "Text6", "Text9"};
    // spin i beside its box: FROM row Spin1, Spin2, Spin3, Spin7; TO row Spin4, Spin5, Spin6, Spin8
    const int fromSpins[4] = {1, 2, 3, 7};
    const int toSpins[4] = {4, 5, 6, 8};
    for (int c = 0; c < 4; ++c) {
        *from[c] = box(this, fromNames[c], lefts[c], 225, widths[c]);
        *to[c] = box(this, toNames[c], lefts[c], 885, widths[c]);
        for (int row = 0; row < 2; ++row) {
            const int i = row == 0 ? fromSpins[c] : toSpins[c];
            auto* s = new dz::ui::SpinButton(this);
            s->setObjectName(QStringLiteral("Spin%1").arg(i));
            dz::ui::placeTwips(s, lefts[c] + widths[c] + 15, row == 0 ? 225 : 885, 240, 315);
            Spin[size_t(i)] = s;
            connect(s, &dz::ui::SpinButton::spinUp, this, [this, i] { Spin_SpinUp(i); });
            connect(s, &dz::ui::SpinButton::spinDown, this, [this, i] { Spin_SpinDown(i); });
        }
    }
    for (QLineEdit* t : {Text1, Text2, Text3, Text8, Text4, Text5, Text6, Text9})
        dz::ui::onDoubleClick(t, [t] { t->clear(); });

    Label1 = label(this, "Label1", QString(), 240, 1620, 1500);
    Command3D1 = dz::ui::commandButton(this, "Command3D1", QStringLiteral("Leválogat"), 2700, 1560, 1600);
    Command3D2 = dz::ui::commandButton(this, "Command3D2", QStringLiteral("Vége"), 4500, 1560, 1200);
    connect(Command3D1, &QPushButton::clicked, this, &CutRangeWindow::Command3D1_Click);
    connect(Command3D2, &QPushButton::clicked, this, &CutRangeWindow::Command3D2_Click);

    Form_Load();
    dz::ui::nameControls(this);
}

void CutRangeWindow::Form_Load() {
    dz::ui::BusyCursor busy;
    dz::ui::centreOnScreen(this);
    const auto bounds = fileHistoryBounds(historyPath());
    if (!bounds) return;
    found_ = true;
    bounds_ = *bounds;
    if (!bounds_) return;  // an empty history: the boxes stay empty
    const KeyFields& l = bounds_->last;
    RangeBoxes b;
    for (QString* row : {b.from, b.to}) {
        row[0] = QString::number(l.year);
        row[1] = QString::number(l.month);
        row[2] = QString::number(l.day);
        row[3] = QString::number(l.draw);
    }
    writeBoxes(b);
}

QLineEdit* CutRangeWindow::spinBox(int i) const {
    switch (i) {
        case 1: return Text1;
        case 2: return Text2;
        case 3: return Text3;
        case 4: return Text4;
        case 5: return Text5;
        case 6: return Text6;
        case 7: return Text8;
        default: return Text9;
    }
}

std::pair<long long, long long> CutRangeWindow::spinBounds(int i) const {
    switch (i) {
        case 1:
        case 4: return {bounds_ ? bounds_->first.year : 0, bounds_ ? bounds_->last.year : 0};
        case 2:
        case 5: return {1, 12};
        case 3:
        case 6: return {1, 31};
        default: return {1, 264};
    }
}

void CutRangeWindow::Spin_SpinUp(int i) {
    const auto [lo, hi] = spinBounds(i);
    spinBox(i)->setText(spinStep(spinBox(i)->text(), +1, lo, hi));
}

void CutRangeWindow::Spin_SpinDown(int i) {
    const auto [lo, hi] = spinBounds(i);
    spinBox(i)->setText(spinStep(spinBox(i)->text(), -1, lo, hi));
}

RangeBoxes CutRangeWindow::readBoxes() const {
    RangeBoxes b;
    const QLineEdit* from[4] = {Text1, Text2, Text3, Text8};
    const QLineEdit* to[4] = {Text4, Text5, Text6, Text9};
    for (int c = 0; c < 4; ++c) {
        b.from[c] = from[c]->text();
        b.to[c] = to[c]->text();
    }
    return b;
}

void CutRangeWindow::writeBoxes(const RangeBoxes& b) {
    QLineEdit* from[4] = {Text1, Text2, Text3, Text8};
    QLineEdit* to[4] = {Text4, Text5, Text6, Text9};
    for (int c = 0; c < 4; ++c) {
        if (from[c]->text() != b.from[c]) from[c]->setText(b.from[c]);
        if (to[c]->text() != b.to[c]) to[c]->setText(b.to[c]);
    }
}

void CutRangeWindow::Command3D1_Click() {
    RangeBoxes b = readBoxes();
    const RangeCheck r = checkRange(b, bounds_);
    writeBoxes(b);
    if (r.toClamped || r.fromClamped) repaint();
    if (!r.ok) {
        dz::ui::message(this, badRangeMessage(), dz::ui::Icon::Critical, title());
        return;
    }
    dz::ui::BusyCursor busy;
    long long count = 0;
    const auto out = fileRecordsInRange(historyPath(), r.fromKey, r.toKey, count);
    if (!out) return;  // the history went away or failed to read: the partial-day file stays as it was
    if (!writeCut(partialPath(), *out)) {
        dz::ui::message(this, cutFailedMessage(), dz::ui::Icon::Critical, title());
        return;
    }
    Label1->setText(QString::number(count));
}

void CutRangeWindow::Command3D2_Click() { close(); }

void tolig_Click(QWidget* owner) {
    CutRangeWindow w(owner);
    if (!w.historyFound()) {
        dz::ui::message(owner, missingHistoryMessage(), dz::ui::Icon::Critical, title());
        QApplication::closeAllWindows();
        QApplication::quit();
        return;
    }
    w.exec();
}

void huzassz_Click(QWidget* owner) {
    const auto records = countFileRecords(historyPath());
    if (!records) return;
    const long long count = static_cast<long long>(*records);
    if (count == 0) return;  // nothing to cut: no answer could be taken
    long long n = 0;
    while (n == 0) {
        const auto answer = dz::ui::inputBox(owner, lastCountPrompt(count), title());
        const auto taken = lastCountAnswer(answer, count);
        if (!taken) return;
        n = *taken;
    }
    dz::ui::BusyCursor busy;
    const auto out = lastFileRecords(historyPath(), size_t(n));
    if (!out) return;
    if (!writeCut(partialPath(), *out)) {
        dz::ui::message(owner, cutFailedMessage(), dz::ui::Icon::Critical, title());
    }
}

void addValogatMenu(QMainWindow& w) {
    auto* menu = new QMenu(QStringLiteral("Válogat"), &w);
    menu->setObjectName(QStringLiteral("valogatas"));
    QAction* tolig = menu->addAction(QStringLiteral("Tól: Ig:"));
    tolig->setObjectName(QStringLiteral("tolig"));
    QAction* huzassz = menu->addAction(QStringLiteral("Húzás szám"));
    huzassz->setObjectName(QStringLiteral("huzassz"));
    QObject::connect(tolig, &QAction::triggered, &w, [&w] { tolig_Click(&w); });
    QObject::connect(huzassz, &QAction::triggered, &w, [&w] { huzassz_Click(&w); });
    QAction* start = w.findChild<QAction*>(QStringLiteral("start"));
    w.menuBar()->insertMenu(start, menu);
}

}  // namespace dz::daystat
