#include "drawstat/ui/interval.h"

#include "drawstat/core/intervals.h"
#include "drawstat/core/state.h"
#include "common/platform/services.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace dz::drawstat {

namespace {
QPointer<IntervalWindow> g_loaded;
}

IntervalWindow::IntervalWindow(QWidget* parent) : KeptDialog(parent) {
    setObjectName(QStringLiteral("interval"));
    setWindowTitle(QStringLiteral("  5-s intervallum statisztika"));
    resize(dz::ui::twips(9600), dz::ui::twips(6300));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    Label1 = new QLabel(QStringLiteral("eeeehhnn  ssz    05 10 15 20"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(fixed);
    Label1->setGeometry(dz::ui::twips(150), dz::ui::twips(120), dz::ui::twips(4200), dz::ui::twips(285));
    List1 = new dz::ui::ListBox(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(dz::ui::twips(120), dz::ui::twips(420), dz::ui::twips(4300), dz::ui::twips(5400));
    List2 = new dz::ui::ListBox(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setGeometry(dz::ui::twips(4560), dz::ui::twips(420), dz::ui::twips(2300), dz::ui::twips(5400));
    List3 = new dz::ui::ListBox(this, /*sorted=*/true);
    List3->setObjectName(QStringLiteral("List3"));
    List3->setGeometry(dz::ui::twips(7000), dz::ui::twips(420), dz::ui::twips(2300), dz::ui::twips(5000));
    for (auto* l : {List1, List2, List3}) l->setFont(fixed);
    // the heading starts where the list's text starts
    Label1->move(List1->x() + List1->frameWidth() + 3, Label1->y());
    Command3D1 = dz::ui::commandButton(this, "Command3D1", QStringLiteral("Kilép"), 7000, 5520, 2300);
    connect(Command3D1, &QPushButton::clicked, this, &IntervalWindow::Command3D1_Click);

    Form_Load();
    dz::ui::nameControls(this);
}

IntervalWindow* IntervalWindow::instance() { return g_loaded.data(); }

void IntervalWindow::open(QWidget* owner) { showKept(g_loaded, owner); }

void IntervalWindow::Form_Load() {
    dz::ui::BusyCursor busy;
    const auto& st = state();
    const auto file = dz::DrawFile::load(st.drawFilePath());
    if (!file) return;
    auto r = intervalPatterns(*file, st.windowStart, st.rules.intervalTallyJoined);
    List1->setItems(std::move(r.draws));
    List1->setTopIndex(List1->count() - 15);
    List2->setItems(std::move(r.byCode));
    List3->setItems(std::move(r.byFrequency));
}

void IntervalWindow::Command3D1_Click() { hide(); }

}  // namespace dz::drawstat
