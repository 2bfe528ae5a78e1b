#include "csere/ui/fullcombinations.h"

#include "csere/core/operations.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dz::csere {

using dz::ui::placeTwips;

FullCombinationsWindow::FullCombinationsWindow(dz::ui::ListBox* keyList, QWidget* parent) : QDialog(parent), keyList_(keyList) {
    setObjectName(QStringLiteral("teljesk"));
    setWindowTitle(QStringLiteral("  Teljes kombinációk előállítása !"));
    setFixedSize(dz::ui::twips(4200), dz::ui::twips(2900));

    auto* Label4 = new QLabel(QStringLiteral("Variált számok db. :"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    placeTwips(Label4, 180, 240, 1900, 300);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    placeTwips(Text1, 2150, 210, 900, 330);
    auto* Spin1 = new dz::ui::SpinButton(this);
    Spin1->setObjectName(QStringLiteral("Spin1"));
    placeTwips(Spin1, 3080, 180, 260, 390);

    const auto valueLabel = [this](const char* name, int left) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        placeTwips(l, left, 780, 1300, 315);
        return l;
    };
    Label1 = valueLabel("Label1", 180);
    Label5 = valueLabel("Label5", 2700);

    static const std::pair<const char*, int> buttons[] = {{"Command3D11", 2}, {"Command3D10", 3}, {"Command3D9", 4},
                                                          {"Command3D8", 5},  {"Command3D7", 6},  {"Command3D6", 7},
                                                          {"Command3D1", 8}};
    int left = 180;
    for (const auto& [name, type] : buttons) {
        auto* b = dz::ui::commandButton(this, name, QString::number(type), left, 1350, 480, 480);
        connect(b, &QPushButton::clicked, this, [this, t = type] { generate(t); });
        left += 550;
    }
    auto* Command3D2 = dz::ui::commandButton(this, "Command3D2", QStringLiteral("Vége"), 1350, 2100, 1500);
    connect(Command3D2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Spin1, &dz::ui::SpinButton::spinUp, this, &FullCombinationsWindow::Spin1_SpinUp);
    connect(Spin1, &dz::ui::SpinButton::spinDown, this, &FullCombinationsWindow::Spin1_SpinDown);
    dz::ui::onDoubleClick(Text1, [this] { Text1->clear(); });

    dz::ui::centreOnScreen(this);
    dz::ui::nameControls(this);
}

void FullCombinationsWindow::generate(int type) {
    // The row count shows at each progress step: a long run is seen to go on.
    Combinations c = fullCombinations(Text1->text(), type, [this](long long rows) {
        Label1->setText(QString::number(rows));
        Label1->repaint();
    });
    // The count is shown before the row limit is tested, so a refused count stays visible.
    if (c.countShown) Label5->setText(QString::number(*c.countShown));
    if (c.msg) {
        dz::ui::message(this, c.msg.text(), dz::ui::Icon::Critical, c.msg.title());
        return;
    }
    dz::ui::BusyCursor busy;
    const qsizetype rows = c.rows.size();
    keyList_->setItems(std::move(c.rows));
    Label1->setText(QString::number(rows));
}

void FullCombinationsWindow::Spin1_SpinUp() { Text1->setText(spinText(Text1->text(), +1)); }

void FullCombinationsWindow::Spin1_SpinDown() { Text1->setText(spinText(Text1->text(), -1)); }

}  // namespace dz::csere
