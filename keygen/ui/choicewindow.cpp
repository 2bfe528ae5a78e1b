#include "keygen/ui/choicewindow.h"

#include "common/core/suite.h"
#include "common/core/folder.h"
#include "common/core/keyfile.h"
#include "common/core/listexport.h"
#include "keygen/core/selectionfile.h"
#include "common/core/textfmt.h"
#include "common/platform/dialogs.h"
#include "common/platform/numbergrid.h"
#include "common/platform/services.h"
#include "keygen/ui/uihelp.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace dz::keygen {

namespace {
QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    return dz::ui::commandButton(parent, name, caption, left, top, 1155);
}
}  // namespace

QString NumberChoiceWindow::caption() {
    return QStringLiteral("Sszám kijelölés.") + QString(22, QLatin1Char(' ')) + dz::signature();
}

NumberChoiceWindow::NumberChoiceWindow(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("valaszt"));
    setWindowTitle(caption());
    setFixedSize(dz::ui::twips(4800), dz::ui::twips(2640));

    auto* shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::Box);
    place(shape, 368, 225, 1995, 1590);

    dz::ui::GridGeometry geo;
    geo.cellSize = 315;
    geo.pitch = 365;
    geo.cellLeft = 110;
    geo.cellTop = 300;
    geo.cellName = QStringLiteral("Command3D2");
    geo.hoverEmphasis = false;  // the cells have no pointer handler of their own
    geo.markImage = QStringLiteral("XX.BMP");
    grid_ = new dz::ui::NumberGrid(this, geo);
    grid_->setStandardClicks(false);
    connect(grid_, &dz::ui::NumberGrid::cellClicked, this, &NumberChoiceWindow::Command3D2_Click);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    place(Label1, 2603, 225, 435, 315);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    place(picture, 2535, 915, 570, 540);

    auto* kivalaszt = button(this, "Command3D4", QStringLiteral("Kiválaszt"), 3278, 225);
    auto* torol = button(this, "Command3D3", QStringLiteral("Töröl"), 3278, 615);
    auto* vissza = button(this, "Command3D5", QStringLiteral("Kijel.vissza"), 3278, 1065);
    auto* ment = button(this, "Command3D8", QStringLiteral("Kijel.ment"), 3278, 1500);
    auto* megsem = button(this, "Command3D1", QStringLiteral("Mégsem"), 1778, 2070);
    connect(kivalaszt, &QPushButton::clicked, this, &NumberChoiceWindow::Command3D4_Click);
    connect(torol, &QPushButton::clicked, this, &NumberChoiceWindow::Command3D3_Click);
    connect(vissza, &QPushButton::clicked, this, &NumberChoiceWindow::Command3D5_Click);
    connect(ment, &QPushButton::clicked, this, &NumberChoiceWindow::Command3D8_Click);
    connect(megsem, &QPushButton::clicked, this, &NumberChoiceWindow::Command3D1_Click);

    // Loading the window clears the choice.
    state_.chosen.clear();
    dz::ui::nameControls(this);
}

void NumberChoiceWindow::showChoice() {
    grid_->selection() = state_.chosen;
    grid_->refresh();
}

void NumberChoiceWindow::showEvent(QShowEvent* e) {
    // Redrawn from the flags at every opening: a key load may have changed them meanwhile.
    showChoice();
    if (dz::val(QStringView(Label1->text())) != state_.chosen.count()) Label1->setText(dz::str(state_.chosen.count()));
    if (!centred_) {
        centreOnScreen(this);
        centred_ = true;
    }
    QDialog::showEvent(e);
}

void NumberChoiceWindow::closeEvent(QCloseEvent* e) {
    unloaded_ = true;
    QDialog::closeEvent(e);
}

void NumberChoiceWindow::Command3D2_Click(int n) {
    state_.chosen.toggle(n);
    grid_->setMarked(n, state_.chosen.marked(n));
    Label1->setText(dz::str(state_.chosen.count()));
}

void NumberChoiceWindow::Command3D3_Click() {
    state_.chosen.clear();
    grid_->clearAll();
    Label1->clear();
}

void NumberChoiceWindow::Command3D4_Click() { accept(); }

void NumberChoiceWindow::Command3D1_Click() { reject(); }

void NumberChoiceWindow::Command3D8_Click() {
    dz::ui::FileDialogRequest req;
    req.save = true;
    req.startFolder = dz::programFolder();
    req.fileName = QString::fromLatin1(kSelectionFile);
    req.defaultSuffix = QStringLiteral("txt");
    req.confirmOverwrite = true;
    const auto path = dz::ui::fileDialog(this, req);
    if (!path) return;
    if (!writeSelection(*path, state_.chosen))
        dz::ui::message(this, dz::saveFailedMessage(*path), dz::ui::Icon::Critical, dz::signature());
}

void NumberChoiceWindow::Command3D5_Click() {
    Command3D3_Click();
    dz::ui::FileDialogRequest req;
    req.startFolder = dz::programFolder();
    req.defaultSuffix = QStringLiteral("txt");
    const auto path = dz::ui::fileDialog(this, req);
    if (!path) return;
    const SelectionLoad load = readSelection(*path);
    if (load.status == SelectionStatus::Unopenable) {
        dz::ui::message(this, dz::key::cannotOpenMessage(), dz::ui::Icon::Critical, dz::signature());
        return;
    }
    if (load.status == SelectionStatus::WrongMarker) {
        dz::ui::message(this, wrongSelectionMessage(), dz::ui::Icon::Critical, dz::signature());
        return;
    }
    state_.chosen.setMask(load.mask);
    showChoice();
    Label1->setText(dz::str(state_.chosen.count()));
}

}  // namespace dz::keygen
