#include "drawstat/ui/mainwindow.h"

#include "common/core/folder.h"
#include "drawstat/core/distributions.h"
#include "drawstat/core/startstats.h"
#include "drawstat/core/state.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "drawstat/ui/backtest.h"
#include "drawstat/ui/interval.h"
#include "drawstat/ui/skipwindow.h"
#include "drawstat/ui/mostfrequentwindow.h"
#include "drawstat/ui/subsetwindow.h"
#include "drawstat/ui/mapwindow.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>

namespace dz::drawstat {

void exportList(QWidget* parent, const QStringList& items) {
    const auto r = state().exporter.save(dz::programFolder(), items);
    dz::ui::message(parent, r.message, r.ok ? dz::ui::Icon::Information : dz::ui::Icon::Critical,
                    dz::ListExporter::title());
}

QAction* MainWindow::addMenuItem(const char* name, const QString& caption, void (MainWindow::*handler)()) {
    QAction* a = menuBar()->addAction(caption);
    a->setObjectName(QLatin1String(name));
    connect(a, &QAction::triggered, this, handler);
    return a;
}

QAction* MainWindow::action(const char* name) const { return findChild<QAction*>(QLatin1String(name)); }

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("drawstat"));
    const Rules& rules = state().rules;
    setWindowTitle(state().texts.mainCaption);

    addMenuItem("start", QStringLiteral("Start"), &MainWindow::start_Click);
    addMenuItem("nyolc", QStringLiteral("8-s"), &MainWindow::nyolc_Click);
    addMenuItem("het", QStringLiteral("7-s"), &MainWindow::het_Click);
    addMenuItem("hat", QStringLiteral("6-s"), &MainWindow::hat_Click);
    addMenuItem("ot", QStringLiteral("5-s"), &MainWindow::ot_Click);
    addMenuItem("negy", QStringLiteral("4-s"), &MainWindow::negy_Click);
    addMenuItem("leggyak1", QStringLiteral("Leggyakoribb"), &MainWindow::leggyak1_Click);
    addMenuItem("kihagy", QStringLiteral("Kihagyás"), &MainWindow::kihagy_Click);
    addMenuItem("vissza", QStringLiteral("Vissza"), &MainWindow::vissza_Click);
    addMenuItem("interval5", QStringLiteral("Intervallum"), &MainWindow::interval5_Click);
    addMenuItem("terkepbe", QStringLiteral("Térkép"), &MainWindow::terkepbe_Click);
    addMenuItem("teteles", QStringLiteral("Tételes"), &MainWindow::teteles_Click);
    addMenuItem("osszeg", QStringLiteral("Összeg"), &MainWindow::osszeg_Click);
    // The analyses need Start's figures (a build whose analyses read their own file offers them at once).
    if (rules.analysesNeedStart)
        for (const char* n : {"leggyak1", "kihagy", "vissza", "interval5", "terkepbe"}) action(n)->setEnabled(false);
    action("osszeg")->setVisible(rules.classLists);

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    List1 = new dz::ui::ListBox(central);
    List1->setObjectName(QStringLiteral("List1"));
    List3 = new dz::ui::ListBox(central, /*sorted=*/true);
    List3->setObjectName(QStringLiteral("List3"));
    List2 = new dz::ui::ListBox(central);
    List2->setObjectName(QStringLiteral("List2"));
    List6 = new dz::ui::ListBox(central);
    List6->setObjectName(QStringLiteral("List6"));
    List6->hide();
    for (int k = 0; k < 9; ++k) {
        List5[size_t(k)] = new dz::ui::ListBox(central);
        List5[size_t(k)]->setObjectName(QStringLiteral("List5(%1)").arg(k));
        List5[size_t(k)]->hide();
    }
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::TypeWriter);
    for (auto* l : {List1, List3, List2}) l->setFont(mono);
    List1->setFixedWidth(dz::ui::twips(1800));
    List3->setFixedWidth(dz::ui::twips(1800));

    Command3D2 = new QPushButton(QStringLiteral("Azonosság"), central);
    Command3D2->setObjectName(QStringLiteral("Command3D2"));
    SSCommand1 = new QPushButton(QStringLiteral("Tapadás"), central);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
    SSCommand2 = new QPushButton(QStringLiteral("Vissza"), central);
    SSCommand2->setObjectName(QStringLiteral("SSCommand2"));
    SSCommand2->hide();
    Command3D1 = new QPushButton(QStringLiteral("Vége"), central);
    Command3D1->setObjectName(QStringLiteral("Command3D1"));
    Command3D2->setEnabled(!rules.analysesNeedStart);
    SSCommand1->setEnabled(!rules.analysesNeedStart);

    grid->addWidget(List1, 0, 0);
    grid->addWidget(List3, 0, 1);
    grid->addWidget(List2, 0, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command3D2);
    buttons->addWidget(SSCommand1);
    buttons->addWidget(SSCommand2);
    buttons->addStretch();
    buttons->addWidget(Command3D1);
    grid->addLayout(buttons, 1, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    setCentralWidget(central);
    resize(dz::ui::twips(10800), dz::ui::twips(6600));

    connect(Command3D1, &QPushButton::clicked, this, &MainWindow::Command3D1_Click);
    connect(Command3D2, &QPushButton::clicked, this, &MainWindow::Command3D2_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &MainWindow::SSCommand1_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &MainWindow::SSCommand2_Click);
    connect(List2, &dz::ui::ListBox::itemClicked, this, &MainWindow::List2_Click);
    connect(List2, &dz::ui::ListBox::keyTyped, this, &MainWindow::List2_KeyPress);

    dz::ui::nameControls(this);
}

void MainWindow::start_Click() {
    ProgramState& st = state();
    if (st.started && !st.rules.startRepeats) return;
    const auto file = dz::DrawFile::load(st.drawFilePath());
    if (!file) return;  // no draw file: nothing changes, Start can be chosen again
    dz::ui::BusyCursor busy;
    st.started = true;
    const StartStats s = computeStart(*file);
    List1->setToolTip(s.tooltip);
    st.drawCount = s.drawCount;
    st.windowStart = dz::drawWindowStart(s.drawCount);
    st.lastAppearance = s.lastAppearance;
    List1->setItems(s.byNumber);
    List3->setItems(s.byCount);
    for (const char* n : {"leggyak1", "kihagy", "vissza", "interval5", "terkepbe"}) action(n)->setEnabled(true);
    SSCommand1->setEnabled(true);
    Command3D2->setEnabled(true);
}

void MainWindow::teteles_Click() {
    const auto file = dz::DrawFile::load(state().drawFilePath());
    if (!file) return;
    dz::ui::BusyCursor busy;
    List2->setSource(fullListLines(*file, state().rules.fullListAll));
    if (!state().rules.fullListAll) List2->setTopIndex(List2->count() - 1);
}

void MainWindow::Command3D1_Click() {
    QApplication::closeAllWindows();
    QApplication::quit();
}

void MainWindow::List2_KeyPress(int charCode) {
    if (charCode == 'l' || charCode == 'L') exportList(this, List2->items());
}

void MainWindow::osszeg_Click() {
    // The backup list and "Vissza" stay as they were.
    const auto file = dz::DrawFile::load(state().drawFilePath());
    if (!file) return;
    dz::ui::BusyCursor busy;
    List2->setItems(sumsLines(*file));
}

namespace {
// The lists show the result's records; the backup shows the same ones, made when read.
void showClassResult(MainWindow& w, const ClassResult& r) {
    w.List2->setSource(r.lines);
    // a build without class lists has no backup list either
    if (state().rules.classLists) {
        w.List6->setSource(r.lines);
        for (size_t k = 0; k < 9; ++k) w.List5[k]->setSource(r.classes[k]);
    }
    w.List2->setTopIndex(r.topIndex());
}

// Shows in `to` the lines that `from` shows, without making them.
void showLinesOf(dz::ui::ListBox& to, const dz::ui::ListBox& from) {
    if (auto s = from.sharedSource())
        to.setSource(std::move(s));
    else
        to.setItems(from.items());
}
}  // namespace

void MainWindow::Command3D2_Click() {
    // Identity clears its lists before it looks for the file.
    List2->clear();
    List6->clear();
    SSCommand2->hide();
    for (auto* l : List5) l->clear();
    const auto file = dz::DrawFile::load(state().drawFilePath());
    if (!file) return;
    dz::ui::BusyCursor busy;
    showClassResult(*this, identityDistribution(*file, state().windowStart, state().rules));
}

void MainWindow::SSCommand1_Click() {
    // Adhesion leaves the lists as they were when there is no file.
    const auto file = dz::DrawFile::load(state().drawFilePath());
    if (!file) return;
    dz::ui::BusyCursor busy;
    SSCommand2->hide();
    showClassResult(*this, adhesionDistribution(*file, state().windowStart, state().rules));
}

void MainWindow::SSCommand2_Click() {
    if (List6->count() == 0) return;  // nothing to restore
    showLinesOf(*List2, *List6);
    List2->setTopIndex(List2->count() - 16);
    SSCommand2->hide();
}

void MainWindow::List2_Click(int index) {
    if (!state().rules.classLists) return;  // no class lists behind the lines
    const dz::LineSource* shown = List2->source();
    const auto k = shown ? classListForClick(*shown, index) : classListForClick(List2->items(), index);
    if (!k) return;
    showLinesOf(*List2, *List5[size_t(*k)]);
    SSCommand2->show();
}

void MainWindow::nyolc_Click() { SubsetWindow::open(this, state().subsets(8)); }
void MainWindow::het_Click() { SubsetWindow::open(this, state().subsets(7)); }
void MainWindow::hat_Click() { SubsetWindow::open(this, state().subsets(6)); }
void MainWindow::ot_Click() { SubsetWindow::open(this, state().subsets(5)); }
void MainWindow::negy_Click() { SubsetWindow::open(this, state().subsets(4)); }

void MainWindow::leggyak1_Click() { MostFrequentWindow::open(this); }
void MainWindow::kihagy_Click() { SkipWindow::open(this); }
void MainWindow::vissza_Click() {
    // unloaded when closed: every opening starts afresh
    BacktestWindow w(this);
    w.exec();
}
void MainWindow::interval5_Click() { IntervalWindow::open(this); }
void MainWindow::terkepbe_Click() { MapWindow::open(this); }

}  // namespace dz::drawstat
