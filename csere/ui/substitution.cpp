#include "csere/ui/substitution.h"

#include "common/core/suite.h"
#include "csere/core/keyrows.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"

#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace dz::csere {

using dz::ui::placeTwips;

QString SubstitutionWindow::hint(const QString& name) {
    static const std::pair<const char*, const char*> hints[] = {
        {"Command3D1", "Kijelölés ( I.,II.) után, párosít."},
        {"Command3D2", "Összes pár kijelölése után - kulcs generálás !"},
        {"Command3D3", "Generálás nélküli kilépés !"},
        {"Command3D4", "Egy kijelölt pár (III.) stornója !"},
        {"Command3D5", "Véletlen szerű párosítás, kulcs előállítás !"},
        {"List1", "Mely szám van kiválasztva !"},
        {"List2", "A kulcs elemei."},
        {"List3", "A hozzárendelés."},
    };
    for (const auto& [control, text] : hints)
        if (name == QLatin1String(control)) return QString::fromUtf8(text);
    return {};
}

SubstitutionWindow::SubstitutionWindow(uint32_t marks, uint32_t presence, QStringList key, QWidget* parent)
    : QDialog(parent), pairing_(marks, presence), key_(std::move(key)) {
    setObjectName(QStringLiteral("vezetes"));
    setWindowTitle(QStringLiteral(" Irányitott kulcs-behelyettesítés") + QString(5, QLatin1Char(' ')) + dz::signature());
    setFixedSize(dz::ui::twips(6000), dz::ui::twips(5100));

    const auto heading = [this](const char* name, const char* text, int left, int width) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignCenter);
        placeTwips(l, left, 120, width, 300);
    };
    const auto listBox = [this](const char* name, int left, int width) {
        auto* l = new dz::ui::ListBox(this, false);
        l->setObjectName(QLatin1String(name));
        l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        placeTwips(l, left, 450, width, 3400);
        return l;
    };
    heading("Label1", "I.", 120, 800);
    heading("Label2", "II.", 1020, 800);
    heading("Label3", "III.", 1920, 1300);
    List1 = listBox("List1", 120, 800);
    List2 = listBox("List2", 1020, 800);
    List3 = listBox("List3", 1920, 1300);

    auto* Command3D1 = dz::ui::commandButton(this, "Command3D1", QStringLiteral("Párosít"), 3420, 450, 2400);
    auto* Command3D4 = dz::ui::commandButton(this, "Command3D4", QStringLiteral("Vissza"), 3420, 900, 2400);
    auto* Command3D5 = dz::ui::commandButton(this, "Command3D5", QStringLiteral("Véletlen párosítás"), 3420, 1350, 2400);
    auto* Command3D2 = dz::ui::commandButton(this, "Command3D2", QStringLiteral("Cserél"), 3420, 2550, 2400);
    auto* Command3D3 = dz::ui::commandButton(this, "Command3D3", QStringLiteral("Mégse"), 3420, 3000, 2400);
    Panel3D1 = new QLabel(this);
    Panel3D1->setObjectName(QStringLiteral("Panel3D1"));
    Panel3D1->setFrameShape(QFrame::Panel);
    Panel3D1->setFrameShadow(QFrame::Sunken);
    placeTwips(Panel3D1, 120, 4200, 5760, 375);

    connect(Command3D1, &QPushButton::clicked, this, &SubstitutionWindow::Command3D1_Click);
    connect(Command3D4, &QPushButton::clicked, this, &SubstitutionWindow::Command3D4_Click);
    connect(Command3D5, &QPushButton::clicked, this, &SubstitutionWindow::Command3D5_Click);
    connect(Command3D2, &QPushButton::clicked, this, &SubstitutionWindow::Command3D2_Click);
    connect(Command3D3, &QPushButton::clicked, this, &SubstitutionWindow::Command3D3_Click);
    for (QWidget* w : std::initializer_list<QWidget*>{Command3D1, Command3D2, Command3D3, Command3D4, Command3D5, List1,
                                                      List2, List3}) {
        const QString h = hint(w->objectName());
        dz::ui::onHover(w, [this, h] { Panel3D1->setText(h); });
    }
    dz::ui::onHover(this, [this] { Panel3D1->setText(QString()); });

    showLists();
    dz::ui::centreOnScreen(this);
    dz::ui::nameControls(this);
}

dz::ui::ListBox* SubstitutionWindow::list(int i) const {
    return i == 1 ? List1 : i == 2 ? List2 : i == 3 ? List3 : nullptr;
}

void SubstitutionWindow::showLists() {
    List1->setItems(pairing_.listI());
    List2->setItems(pairing_.listII());
    List3->setItems(pairing_.listIII());
}

void SubstitutionWindow::refuse(const Message& m) { dz::ui::message(this, m.text(), dz::ui::Icon::Critical, m.title()); }

void SubstitutionWindow::Command3D1_Click() {
    if (const Message m = pairing_.pair(List1->listIndex(), List2->listIndex())) return refuse(m);
    showLists();
}

void SubstitutionWindow::Command3D4_Click() {
    if (const Message m = pairing_.undo(List3->listIndex())) return refuse(m);
    showLists();
}

void SubstitutionWindow::Command3D5_Click() {
    if (pairing_.listI().isEmpty() || pairing_.listII().isEmpty()) return;
    pairing_.pairRandomly(dz::programRandom());
    showLists();
    Command3D2_Click();
    // the pairing is complete, so the substitution has closed the window
}

void SubstitutionWindow::Command3D2_Click() {
    Pairing::Substitution s = pairing_.substitute(key_);
    if (s.msg) return refuse(s.msg);
    result_ = std::move(s);
    accept();
}

void SubstitutionWindow::Command3D3_Click() { reject(); }

}  // namespace dz::csere
