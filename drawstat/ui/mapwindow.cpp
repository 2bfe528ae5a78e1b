#include "drawstat/ui/mapwindow.h"

#include "drawstat/core/drawmap.h"
#include "drawstat/core/state.h"
#include "common/platform/services.h"
#include "drawstat/ui/mainwindow.h"

#include <QCloseEvent>
#include <algorithm>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace dz::drawstat {

namespace {
QPointer<MapWindow> g_loaded;
}

MapWindow::MapWindow(QWidget* parent) : KeptDialog(parent) {
    setObjectName(QStringLiteral("terkep"));
    setWindowTitle(QStringLiteral("  Dizov húzások eloszlása."));
    resize(dz::ui::twips(6840), dz::ui::twips(7260));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    const QString units = QString(23, QLatin1Char(' ')) + QStringLiteral("12345678901234567890");
    const QString tens = QString(32, QLatin1Char(' ')) + QLatin1Char('1') + QString(9, QLatin1Char(' ')) + QLatin1Char('2');
    List1 = new dz::ui::ListBox(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(fixed);
    List1->setGeometry(dz::ui::twips(1200), dz::ui::twips(660), dz::ui::twips(5400), dz::ui::twips(5460));
    connect(List1, &dz::ui::ListBox::itemClicked, this, &MapWindow::List1_Click);
    connect(List1, &dz::ui::ListBox::keyTyped, this, &MapWindow::List1_KeyPress);
    // The labels' 23 blanks stand for the 15 columns before the marks, so they start 8 characters
    // left of the list's text.
    const int labelLeft = std::max(0, List1->x() + List1->frameWidth() + 3 - 8 * QFontMetrics(fixed).horizontalAdvance(QLatin1Char('0')));
    const int tops[2][2] = {{120, 375}, {6405, 6150}};  // tens, units: above the list, then below it
    for (int i = 0; i < 2; ++i) {
        Label2[size_t(i)] = new QLabel(tens, this);
        Label2[size_t(i)]->setObjectName(QStringLiteral("Label2(%1)").arg(i));
        Label1[size_t(i)] = new QLabel(units, this);
        Label1[size_t(i)]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        for (QLabel* l : {Label2[size_t(i)], Label1[size_t(i)]}) {
            l->setFont(fixed);
            l->setGeometry(labelLeft, 0, dz::ui::twips(6600) - labelLeft, dz::ui::twips(255));
        }
        Label2[size_t(i)]->move(labelLeft, dz::ui::twips(tops[i][0]));
        Label1[size_t(i)]->move(labelLeft, dz::ui::twips(tops[i][1]));
    }
    SSCommand1 = dz::ui::commandButton(this, "SSCommand1", QStringLiteral("Kilép"), 4800, 6720, 1600);
    connect(SSCommand1, &QPushButton::clicked, this, &MapWindow::SSCommand1_Click);

    Form_Load();
    dz::ui::nameControls(this);
}

MapWindow* MapWindow::instance() { return g_loaded.data(); }

void MapWindow::open(QWidget* owner) { showKept(g_loaded, owner); }

void MapWindow::Form_Load() {
    dz::ui::BusyCursor busy;
    const auto& st = state();
    const auto file = dz::DrawFile::load(st.drawFilePath());
    if (!file) return;
    List1->setItems(drawMap(*file, st.windowStart));
    List1->setTopIndex(List1->count() - 20);
}

void MapWindow::List1_Click(int index) {
    if (index < 0 || index >= List1->count()) return;
    List1->setToolTip(mapTooltip(List1->item(index)));
}

void MapWindow::List1_KeyPress(int charCode) {
    if (charCode == 'l' || charCode == 'L') exportList(this, List1->items());
}

void MapWindow::SSCommand1_Click() { hide(); }

}  // namespace dz::drawstat
