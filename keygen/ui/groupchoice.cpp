#include "keygen/ui/groupchoice.h"

#include "common/core/suite.h"
#include "common/core/draws.h"
#include "common/core/folder.h"
#include "common/core/keyfile.h"
#include "common/core/listexport.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "common/platform/dialogs.h"
#include "common/platform/numbergrid.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"
#include "keygen/ui/uihelp.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace dz::keygen::group {

namespace {
QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    return dz::ui::commandButton(parent, name, caption, left, top, 1260);
}

QColor colourOf(int g) {
    const auto c = groupColour(g);
    return QColor(c[0], c[1], c[2]);
}

QString arrayName(const char* name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }
}  // namespace

QString GroupChoiceWindow::caption() {
    return QStringLiteral(" Skandináv LOTTÓ számkijelölés.") + QString(3, QLatin1Char(' ')) + dz::signature();
}

GroupChoiceWindow::GroupChoiceWindow(ProgramState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), choice_(state.groups) {
    setObjectName(QStringLiteral("valaszt"));
    setWindowTitle(caption());
    setFixedSize(dz::ui::twips(6240), dz::ui::twips(4965));

    auto* shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::Box);
    place(shape, 525, 420, 2010, 1605);

    dz::ui::GridGeometry geo;
    geo.cellSize = 360;
    geo.pitch = 365;
    geo.cellLeft = 255;
    geo.cellTop = 495;
    geo.cellName = QStringLiteral("Command3D2");
    geo.hoverEmphasis = false;  // the cells have no pointer handler of their own
    grid_ = new dz::ui::NumberGrid(this, geo);
    grid_->setStandardClicks(false);
    connect(grid_, &dz::ui::NumberGrid::cellClicked, this, &GroupChoiceWindow::Command3D2_Click);

    auto* heads = new QLabel(QStringLiteral("MIN   MAX"), this);
    heads->setObjectName(QStringLiteral("Label2"));
    place(heads, 4485, 165, 1000, 255);
    auto* db = new QLabel(QStringLiteral("DB"), this);
    db->setObjectName(QStringLiteral("Label3"));
    place(db, 5685, 165, 400, 255);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    place(Label1, 1320, 2385, 435, 315);

    options_ = new QButtonGroup(this);
    options_->setExclusive(true);
    for (int g = 1; g <= kGroups; ++g) {
        const int i = g - 1;
        auto* o = new QRadioButton(groupCaption(g), this);
        o->setObjectName(arrayName("Option3D1", i));
        QPalette pal = o->palette();
        pal.setColor(QPalette::WindowText, colourOf(g));
        pal.setColor(QPalette::ButtonText, colourOf(g));
        o->setPalette(pal);
        place(o, 3105, 555 + 420 * i, 1275, 255);
        options_->addButton(o, g);
        Option3D1[g] = o;

        auto makeBox = [&](const char* name, int left) {
            auto* t = new QLineEdit(this);
            t->setObjectName(arrayName(name, i));
            place(t, left, 525 + 420 * i, 375, 315);
            return t;
        };
        Text1[g] = makeBox("Text1", 4545);
        Text2[g] = makeBox("Text2", 5100);
        connect(Text1[g], &QLineEdit::textChanged, this, [this, g](const QString& s) { choice_.minText[g] = s; });
        connect(Text2[g], &QLineEdit::textChanged, this, [this, g](const QString& s) { choice_.maxText[g] = s; });
        onDoubleClick(Text1[g], [this, g] { Text1[g]->clear(); });
        onDoubleClick(Text2[g], [this, g] { Text2[g]->clear(); });

        auto* members = new QLabel(this);
        members->setObjectName(arrayName("Label4", i));
        place(members, 5640, 525 + 420 * i, 375, 315);
        Label4[g] = members;
    }
    connect(options_, &QButtonGroup::idToggled, this, [this](int g, bool on) {
        if (on) choice_.current = g;
    });

    auto* kivalaszt = button(this, "SSCommand1", QStringLiteral("Kiválaszt"), 195, 2935);
    auto* torol = button(this, "SSCommand2", QStringLiteral("Töröl"), 1590, 2935);
    auto* ment = button(this, "Command3D4", QStringLiteral("Kijel. ment"), 195, 3552);
    auto* betolt = button(this, "Command3D3", QStringLiteral("Kijel. betölt"), 1590, 3552);
    auto* segit = button(this, "Command3D5", QStringLiteral("Segít"), 195, 4170);
    auto* megsem = button(this, "Command3D1", QStringLiteral("Mégsem"), 1590, 4170);
    connect(kivalaszt, &QPushButton::clicked, this, &GroupChoiceWindow::SSCommand1_Click);
    connect(torol, &QPushButton::clicked, this, &GroupChoiceWindow::SSCommand2_Click);
    connect(ment, &QPushButton::clicked, this, &GroupChoiceWindow::Command3D4_Click);
    connect(betolt, &QPushButton::clicked, this, &GroupChoiceWindow::Command3D3_Click);
    connect(segit, &QPushButton::clicked, this, &GroupChoiceWindow::Command3D5_Click);
    connect(megsem, &QPushButton::clicked, this, &GroupChoiceWindow::Command3D1_Click);

    // Loading the window: group 1 current, nothing chosen, no memberships; the boxes keep their texts.
    choice_.current = 1;
    choice_.chosen.fill(false);
    choice_.count = 0;
    choice_.groupOf.fill(0);
    choice_.label1.clear();
    showAll();
    dz::ui::nameControls(this);
}

GroupChoiceWindow::~GroupChoiceWindow() { delete seged_.data(); }

void GroupChoiceWindow::showCell(int n) {
    // Always the number as caption; a chosen cell takes its group's text colour, emphasised (bold).
    grid_->showColor(n, QColor(), dz::ui::NumberGrid::unmarkedCaption(n));
    QColor text(Qt::black);
    const bool chosen = choice_.chosen[n];
    if (chosen) {
        const int g = choice_.groupOf[n];
        // A number the key loader chose has no group: it shows as chosen, in no group's colour.
        text = g >= 1 && g <= kGroups ? colourOf(g) : QColor(Qt::gray);
    }
    QPushButton* cell = grid_->cell(n);
    QPalette pal = cell->palette();
    pal.setColor(QPalette::ButtonText, text);
    cell->setPalette(pal);
    QFont f = cell->font();
    f.setBold(chosen);
    cell->setFont(f);
}

void GroupChoiceWindow::showAll() {
    for (int n = 1; n <= 20; ++n) showCell(n);
    for (int g = 1; g <= kGroups; ++g) {
        Text1[g]->setText(choice_.minText[g]);
        Text2[g]->setText(choice_.maxText[g]);
        Label4[g]->setText(choice_.memberText[g]);
    }
    Label1->setText(choice_.label1);
    if (auto* o = options_->button(choice_.current)) o->setChecked(true);
}

void GroupChoiceWindow::showEvent(QShowEvent* e) {
    // The chosen flags are shared: a key load may have changed them while the window was hidden.
    if (dz::val(QStringView(choice_.label1)) != choice_.count) choice_.label1 = dz::str(choice_.count);
    showAll();
    if (!centred_) {
        centreOnScreen(this);
        centred_ = true;
    }
    QWidget::showEvent(e);
}

void GroupChoiceWindow::leave(bool confirmed) {
    hide();
    emit left(confirmed);
}

void GroupChoiceWindow::closeAll() {
    closingAll_ = true;
    hide();
    if (auto* v = seged_.data()) v->hide();
    closingAll_ = false;
}

void GroupChoiceWindow::closeEvent(QCloseEvent* e) {
    // The close box leaves like "Mégsem": the main window must not stay disabled.
    e->ignore();
    if (!closingAll_) leave(false);
}

void GroupChoiceWindow::Command3D2_Click(int n) {
    clickCell(choice_, n);
    showCell(n);
    for (int g = 1; g <= kGroups; ++g) Label4[g]->setText(choice_.memberText[g]);
    Label1->setText(choice_.label1);
}

void GroupChoiceWindow::SSCommand2_Click() {
    clearChoice(choice_);
    showAll();
}

void GroupChoiceWindow::SSCommand1_Click() {
    ConfirmOutcome o = confirm(choice_);
    for (int g = 1; g <= kGroups; ++g) {
        Text1[g]->setText(choice_.minText[g]);
        Text2[g]->setText(choice_.maxText[g]);
    }
    if (o.status == ConfirmOutcome::Status::Ignored) return;
    if (o.status == ConfirmOutcome::Status::Refused) {
        if (o.message) showMessage(this, *o.message);
        return;
    }
    state_.limits = o.limits;
    leave(true);
}

void GroupChoiceWindow::Command3D1_Click() { leave(false); }

void GroupChoiceWindow::Command3D4_Click() {
    if (choice_.count == 0) return;
    dz::ui::FileDialogRequest req;
    req.save = true;
    req.startFolder = dz::programFolder();
    req.fileName = QString::fromLatin1(kGroupedSelectionFile);
    req.defaultSuffix = QStringLiteral("txt");
    req.confirmOverwrite = true;
    const auto path = dz::ui::fileDialog(this, req);
    if (!path) return;
    if (!saveGroupedSelection(*path, choice_)) showMessage(this, Message{dz::saveFailedMessage(*path)});
}

void GroupChoiceWindow::Command3D3_Click() {
    dz::ui::FileDialogRequest req;
    req.startFolder = dz::programFolder();
    req.defaultSuffix = QStringLiteral("txt");
    const auto path = dz::ui::fileDialog(this, req);
    if (!path) return;
    const LoadOutcome o = loadGroupedSelection(*path, choice_);
    if (o.status == LoadStatus::CannotOpen) {
        showMessage(this, Message{dz::key::cannotOpenMessage()});
        return;
    }
    showAll();
    if (o.message) showMessage(this, *o.message);
}

void GroupChoiceWindow::Command3D5_Click() {
    if (!seged_) seged_ = new FileViewerWindow();
    seged_->show();
    seged_->raise();
    seged_->activateWindow();
}

// ---------------------------------------------------------------------------------------------

QString FileViewerWindow::caption() {
    return QStringLiteral(" Segéd lista megjelenítése") + QString(12, QLatin1Char(' ')) + dz::signature();
}

FileViewerWindow::FileViewerWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("seged"));
    setWindowTitle(caption());
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(dz::ui::twips(5400), dz::ui::twips(5200));
    auto* list = new dz::ui::ListBox(this);
    list->setObjectName(QStringLiteral("List1"));
    place(list, 120, 120, 5160, 4300);
    auto* betolt = new QPushButton(QStringLiteral("Betölt"), this);
    betolt->setObjectName(QStringLiteral("Command3D1"));
    place(betolt, 120, 4600, 1260, 375);
    auto* vege = new QPushButton(QStringLiteral("Vége"), this);
    vege->setObjectName(QStringLiteral("Command3D2"));
    place(vege, 4020, 4600, 1260, 375);
    connect(betolt, &QPushButton::clicked, this, &FileViewerWindow::Command3D1_Click);
    connect(vege, &QPushButton::clicked, this, &FileViewerWindow::Command3D2_Click);
    centreOnScreen(this);
    dz::ui::nameControls(this);
}

void FileViewerWindow::Command3D1_Click() {
    auto* list = findChild<dz::ui::ListBox*>(QStringLiteral("List1"));
    dz::ui::FileDialogRequest req;
    req.startFolder = dz::programFolder();
    req.defaultSuffix = QStringLiteral("txt");
    const auto path = dz::ui::fileDialog(this, req);
    // Cancel, or a file that cannot be opened, keeps the lines shown: only a read replaces them.
    if (!path) return;
    // Any file can be picked here: it is read as a key is, at most a list's rows, each cut.
    auto items = dz::key::loadRows(*path, dz::kRowLimit);
    if (!items) {
        dz::ui::message(this, dz::key::cannotOpenMessage(), dz::ui::Icon::Critical, dz::signature());
        return;
    }
    list->setItems(std::move(*items));
}

void FileViewerWindow::Command3D2_Click() { hide(); }

}  // namespace dz::keygen::group
