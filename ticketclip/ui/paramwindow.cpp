#include "ticketclip/ui/paramwindow.h"

#include "common/core/suite.h"
#include "common/core/folder.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dz::ticketclip {

ParameterWindow::ParameterWindow(Params& inForce, QWidget* parent) : QDialog(parent), inForce_(inForce) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("  DIZOV - paraméterek beállítása.       ") + dz::signature());
    setModal(true);
    setFixedSize(ui::twips(7140), ui::twips(1560));

    // Four rows: games 1..4 on the left (fields per ticket, price per field), basket size,
    // maximum stake and Joker price on the right. Only what the one submitted game needs shows.
    const char* left[kGames] = {"Mező/szelvény :", "6-s mező/szelvény :", "7-s mező/szelvény :",
                                "kenó mező/szelvény :"};
    const char* right[3] = {"\"Kosár méret\" szelvény:", "Maximális fogadási tét:", "Joker ára :"};
    const int rowTop[kGames] = {180, 540, 900, 1260};
    for (int r = 0; r < kGames; ++r) {
        auto* l = new QLabel(QString::fromUtf8(left[r]), this);
        l->setObjectName(QStringLiteral("Label%1").arg(r + 1));
        ui::placeTwips(l, 120, rowTop[r] + 45, 1680, 255);
        l->setVisible(r == 0);
        if (r < 3) {
            auto* rl = new QLabel(QString::fromUtf8(right[r]), this);
            rl->setObjectName(QStringLiteral("Label%1").arg(r + 5));
            ui::placeTwips(rl, 3240, rowTop[r] + 45, 2340, 255);
            rl->setVisible(r < 2);
        }
    }
    for (int i = 0; i < kParamCount; ++i) {
        auto* t = new QLineEdit(this);
        t->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        if (i < kPricePerField) ui::placeTwips(t, 1860, rowTop[i] , 540, 315);
        else if (i < kBasketSize) ui::placeTwips(t, 2460, rowTop[i - kPricePerField], 660, 315);
        else ui::placeTwips(t, 5640, rowTop[i - kBasketSize], i == kMaxStake ? 1380 : 780, 315);
        t->setVisible(i == 0 || i == kPricePerField || i == kBasketSize || i == kMaxStake);
        // Typing marks the texts as edited; a double click empties the box without marking it.
        connect(t, &QLineEdit::textEdited, this, [this] { edited_ = true; });
        ui::onDoubleClick(t, [t] { t->clear(); });
        Text1[size_t(i)] = t;
    }
    SSCommand4 = ui::commandButton(this, "SSCommand4", QStringLiteral("Paraméter ment"), 120, 960, 2400);
    SSCommand1 = ui::commandButton(this, "SSCommand1", QStringLiteral("Kilép"), 4620, 960, 2400);
    connect(SSCommand4, &QPushButton::clicked, this, [this] { SSCommand4_Click(); });
    connect(SSCommand1, &QPushButton::clicked, this, [this] { SSCommand1_Click(); });
    ui::nameControls(this);
}

void ParameterWindow::Form_Load() {
    edited_ = false;
    // The values in force first, so that a file that cannot be read shows what applies.
    const ParamTexts t = windowTexts(programFolder(), inForce_);
    for (int i = 0; i < kParamCount; ++i) Text1[size_t(i)]->setText(t[size_t(i)]);
}

ParamTexts ParameterWindow::texts() const {
    ParamTexts t;
    for (int i = 0; i < kParamCount; ++i) t[size_t(i)] = Text1[size_t(i)]->text();
    return t;
}

void ParameterWindow::SSCommand4_Click() {
    const ParamTexts t = texts();
    if (firstRefused(t) >= 0) {
        ui::message(this, QStringLiteral("Hibás paraméter adatok (0)!"), ui::Icon::Critical, dz::signature());
        return;
    }
    if (!saveParams(programFolder(), t)) {
        ui::message(this, QStringLiteral("Hiba a szrtpara.txt mentésekor - sikertelen mentés !"), ui::Icon::Critical,
                    dz::signature());
        return;
    }
    takeOver(t, inForce_);
    edited_ = false;
}

void ParameterWindow::SSCommand1_Click() {
    if (edited_ && ui::message(this, QStringLiteral("Biztos, hogy mentés nélkül akar kilépni ?"), ui::Icon::Question,
                               dz::signature(), ui::Buttons::OkCancel) != ui::Answer::Ok)
        return;
    done(QDialog::Accepted);
}

}  // namespace dz::ticketclip
