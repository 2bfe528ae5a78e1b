#include "csere/ui/shippedkeys.h"

#include "common/core/suite.h"
#include "common/core/folder.h"
#include "common/core/listexport.h"
#include "csere/core/shipped.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "common/core/cp1250.h"
#include "common/platform/widgets.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <numeric>

namespace dz::csere {

namespace {
void critical(QWidget* parent, const QString& text) {
    dz::ui::message(parent, text, dz::ui::Icon::Critical, dz::signature());
}
bool confirm(QWidget* parent, const QString& text) {
    return dz::ui::message(parent, text, dz::ui::Icon::Question, dz::signature(), dz::ui::Buttons::OkCancel) ==
           dz::ui::Answer::Ok;
}

dz::ui::ListBox* descriptionList(QWidget* parent, const char* name) {
    auto* l = new dz::ui::ListBox(parent, true);
    l->setObjectName(QLatin1String(name));
    l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    dz::ui::placeTwips(l, 120, 120, 9960, 3900);
    // Keys move the selection as clicks do.
    QObject::connect(l->selectionModel(), &QItemSelectionModel::currentChanged, l,
                     [l](const QModelIndex& i) { emit l->itemClicked(i.isValid() ? i.row() : -1); });
    return l;
}
}  // namespace

QString ShippedKeysWindow::caption() { return QStringLiteral("  Eddigi beépített kulcsok !"); }

ShippedKeysWindow::ShippedKeysWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("gyari"));
    setWindowTitle(caption());
    setFixedSize(dz::ui::twips(10200), dz::ui::twips(5580));

    List1 = descriptionList(this, "List1");
    List2 = descriptionList(this, "List2");
    List2->hide();

    auto* group = new QButtonGroup(this);
    const char* options[] = {"Típus", "Szám db."};
    for (int i = 0; i < 2; ++i) {
        Option1[i] = new QRadioButton(QString::fromUtf8(options[i]), this);
        Option1[i]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        group->addButton(Option1[i]);
        dz::ui::placeTwips(Option1[i], 120 + 1200 * i, 4140, 1150, 285);
    }
    Option1[0]->setChecked(true);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    dz::ui::placeTwips(Label1, 2640, 4140, 900, 285);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    dz::ui::placeTwips(Text1, 120, 4545, 9960, 345);

    Command3D2 = dz::ui::commandButton(this, "Command3D2", QStringLiteral("Töröl"), 120, 5040, 1335);
    Command3D3 = dz::ui::commandButton(this, "Command3D3", QStringLiteral("Hozzáad"), 1575, 5040, 1335);
    auto* choose = dz::ui::commandButton(this, "Command3D1", QStringLiteral("Kiválaszt"), 7305, 5040, 1335);
    auto* quit = dz::ui::commandButton(this, "Kilép", QStringLiteral("Kilép"), 8745, 5040, 1335);

    connect(List1, &dz::ui::ListBox::itemClicked, this, &ShippedKeysWindow::List1_Click);
    connect(List2, &dz::ui::ListBox::itemClicked, this, &ShippedKeysWindow::List2_Click);
    for (int i = 0; i < 2; ++i)
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Option1_Click(i);
        });
    connect(Command3D2, &QPushButton::clicked, this, &ShippedKeysWindow::Command3D2_Click);
    connect(Command3D3, &QPushButton::clicked, this, &ShippedKeysWindow::Command3D3_Click);
    connect(choose, &QPushButton::clicked, this, &ShippedKeysWindow::Command3D1_Click);
    connect(quit, &QPushButton::clicked, this, &ShippedKeysWindow::Kilep_Click);
    dz::ui::onDoubleClick(Text1, [this] { Text1->clear(); });

    // Every line is kept, however many and whatever their first character.
    List1->setItems(shipped::readDescriptions(shipped::descriptionPath(dz::programFolder())));
    if (List1->count() > 0) showCount();
    dz::ui::nameControls(this);
}

void ShippedKeysWindow::showCount() { Label1->setText(QString::number(List1->count())); }

QString ShippedKeysWindow::chosenFileName() const { return shipped::keyFileName(chosenLine_); }

QString ShippedKeysWindow::chosenPath() const { return shipped::keyFilePath(dz::programFolder(), chosenLine_); }

void ShippedKeysWindow::List1_Click(int row) {
    if (row < 0 || row >= List1->count()) return;
    selected_ = row;
    Text1->setText(List1->item(row));
    Text1->setCursorPosition(0);
}

void ShippedKeysWindow::List2_Click(int row) {
    if (row < 0 || row >= int(viewSource_.size())) return;
    // The row itself, not the first one with the same beginning (that may name another file).
    List1->setListIndex(viewSource_[size_t(row)]);
    List1_Click(viewSource_[size_t(row)]);
}

void ShippedKeysWindow::Option1_Click(int index) {
    if (index == 1) {
        QStringList rows;
        rows.reserve(List1->count());
        for (const QString& line : List1->items()) rows << shipped::countFirstRow(line);
        viewSource_.resize(size_t(rows.size()));
        std::iota(viewSource_.begin(), viewSource_.end(), 0);
        std::stable_sort(viewSource_.begin(), viewSource_.end(),
                         [&rows](int a, int b) { return dz::cp1250::less(rows[a], rows[b]); });
        QStringList sorted;
        sorted.reserve(rows.size());
        for (int i : viewSource_) sorted << rows[i];
        const int sel = List1->listIndex();
        List2->setItems(std::move(sorted));
        List1->hide();
        List2->show();
        Command3D2->setEnabled(false);
        Command3D3->setEnabled(false);
        // The view shows the description chosen so far as its selection.
        const auto it = std::find(viewSource_.begin(), viewSource_.end(), sel);
        if (sel >= 0 && it != viewSource_.end()) List2->setListIndex(int(it - viewSource_.begin()));
    } else {
        List2->hide();
        List1->show();
        Command3D2->setEnabled(true);
        Command3D3->setEnabled(true);
    }
}

void ShippedKeysWindow::Command3D1_Click() {
    // The row selected now, in the view that is shown.
    int row = List1->listIndex();
    if (List2->isVisibleTo(this)) {
        const int v = List2->listIndex();
        row = v >= 0 && v < int(viewSource_.size()) ? viewSource_[size_t(v)] : -1;
    }
    if (row < 0) {
        critical(this, QStringLiteral("Nincs kulcs kiválasztva !"));
        return;
    }
    selected_ = row;
    chosen_ = true;
    chosenLine_ = List1->item(row);
    if (modified_) writeBack();
    accept();
}

void ShippedKeysWindow::Command3D2_Click() {
    const int row = List1->listIndex();
    if (row < 0) {
        critical(this, QStringLiteral("Nincs listasor kiválasztva "));
        return;
    }
    if (!confirm(this, QStringLiteral("Biztos, hogy törölni akarja a kiválasztott kulcsleírást ?"))) return;
    List1->removeItem(row);
    List1->clearSelection();
    showCount();
    modified_ = true;
}

void ShippedKeysWindow::Command3D3_Click() {
    if (Text1->text().isEmpty()) return;
    if (!confirm(this, QStringLiteral("Biztos, hogy új kulcsleírást akar megadni ?"))) return;
    List1->addItem(Text1->text());
    Text1->clear();
    showCount();
    modified_ = true;
}

void ShippedKeysWindow::Kilep_Click() {
    if (modified_) writeBack();
    reject();
}

void ShippedKeysWindow::writeBack() {
    const QString path = shipped::descriptionPath(dz::programFolder());
    if (shipped::writeDescriptions(path, List1->items()))
        modified_ = false;
    else
        critical(this, dz::saveFailedMessage(path));
}

}  // namespace dz::csere
