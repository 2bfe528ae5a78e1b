#include "csere/ui/workshop.h"

#include "common/core/suite.h"
#include "common/core/folder.h"
#include "common/core/keyfile.h"
#include "csere/core/keyfiles.h"
#include "common/core/listexport.h"
#include "csere/core/operations.h"
#include "common/core/textfmt.h"
#include "common/platform/dialogs.h"
#include "common/platform/numbergrid.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"
#include "csere/ui/shippedkeys.h"
#include "csere/ui/keyrecording.h"
#include "csere/ui/fullcombinations.h"
#include "csere/ui/substitution.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dz::csere {

using dz::str;
using dz::ui::Icon;
using dz::ui::placeTwips;

namespace {
QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height = 300) {
    auto* l = new QLabel(text, parent);
    if (name) l->setObjectName(QLatin1String(name));
    placeTwips(l, left, top, width, height);
    return l;
}

QLabel* valueLabel(QWidget* parent, const char* name, int left, int top, int width) {
    auto* l = label(parent, name, QString(), left, top, width);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

dz::ui::ListBox* listBox(QWidget* parent, const char* name, bool sorted, int left, int top, int width, int height) {
    auto* l = new dz::ui::ListBox(parent, sorted);
    l->setObjectName(QLatin1String(name));
    l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    placeTwips(l, left, top, width, height);
    return l;
}

QLineEdit* box(QWidget* parent, const QString& name, int left, int top, int width) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(name);
    placeTwips(t, left, top, width, 315);
    return t;
}

dz::ui::FileDialogRequest dialog(bool save, const QString& fileName, const QString& suffix) {
    dz::ui::FileDialogRequest r;
    r.save = save;
    r.startFolder = dz::programFolder();
    r.fileName = fileName;
    r.defaultSuffix = suffix;
    r.confirmOverwrite = save;
    r.filterIndex = 0;
    return r;
}
}  // namespace

QString WorkshopWindow::hint(const QString& name) {
    static const std::pair<const char*, const char*> hints[] = {
        {"Command3D1", "Program vége !"},
        {"Command3D3", "Számkijelölések törlése !"},
        {"Command3D27", "Új kulcslista törlése !"},
        {"Command3D30", "Vagy a baloldali, vagy a jobboldali (lista) kulcsban szereplő számokat mutatja !"},
        {"Command3D13", "Egy kulcs kijelölésre történő betöltése !"},
        {"Command3D14", "Egy kijelölés mentése !"},
        {"Command3D15", "Feleslegessé vált FILE-k törlése - körültekintően alkalmazandó !"},
        {"Command3D5", "Vazoz után az új kulcs mentése - > szelvénykitöltés !"},
        {"Command3D6", "Új kulcs rögzítése (pl. Sportfogadásból...) !"},
        {"Command3D7", "Egyéb meglévő kulcs betöltése -> csere vagy FIX, stb.. !"},
        {"Command3D8", "Meglévő DIZOV kulcsok leírásának karbantartása, kulcs kijelölése, betöltése !"},
        {"Command3D9", "Teljes kombinációk generálása alapkulcsként !"},
        {"Command3D4", "Kulcs betöltése és új számok kijelölése utáni csere !"},
        {"Command3D10", "Betöltött kulcshoz FIXEK hozzáadása !"},
        {"Command3D11", "Behelyettesített kulcs vissza másolása FIXEK hozzáadása, stb. céljából !"},
        {"Command3D24", "A kulcs egy kijelölt elemének egy vagy több számmal történő cseréje !"},
        {"Command3D17", "Kulcs betöltése és új számok kijelölése utáni irányított csere !"},
        {"Command3D18", "Egy betöltött kulcs elemeinek eloszlása (melyik szám hányszor szerepel) !"},
        {"Command3D19", "A beállított paramétereknek megfelelően, véletlen kijelölés !"},
        {"Command3D23", "Egy betöltött kulcsnak a kijeöl számokkal, a megadott típusúra bővítése !"},
        {"Label9", "A cserélendő szám !"},
        {"List4", "Az irányított csere után, melyik szám melyikre lett cserélve !"},
        {"List5", "A betöltött kulcs elemeinek eloszlása (melyik szám hányszor szerepel) !"},
        {"Text1", "A véletlen kijelölés darabszáma, kezdő és végértéke !"},
        {"Text2", "A 'véletlen' bővítendő kulcs új típusa !"},
    };
    const QString base = name.section(QLatin1Char('('), 0, 0);
    for (const auto& [control, text] : hints)
        if (base == QLatin1String(control)) return QString::fromUtf8(text);
    return {};
}

WorkshopWindow::WorkshopWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("kiertekel"));
    setWindowTitle(QStringLiteral("Vazoz - kulcsok átalakítása") + QString(10, QLatin1Char(' ')) + dz::signature());
    setFixedSize(dz::ui::twips(11640), dz::ui::twips(7320));

    Label6 = label(this, "Label6", QString(), 120, 60, 6500);
    List1 = listBox(this, "List1", true, 120, 420, 3200, 3900);
    List2 = listBox(this, "List2", true, 3420, 420, 3200, 3900);

    dz::ui::GridGeometry geo;
    geo.cellSize = 315;
    geo.pitch = 365;
    geo.cellLeft = 6645;
    geo.cellTop = 180;
    geo.rowTools = true;
    geo.rowToolName = QStringLiteral("Command3D21");
    geo.rowToolFirstElement = 0;
    geo.rowToolSize = 195;
    geo.rowToolWidth = 165;
    geo.rowToolPitch = 370;
    geo.rowToolLeft = 8925;
    geo.rowToolTop = 225;
    geo.toolRestoresCaption = true;
    grid_ = new dz::ui::NumberGrid(this, geo);
    connect(grid_, &dz::ui::NumberGrid::countChanged, this, [this] { showMarkedCount(); });

    Label4 = valueLabel(this, "Label4", 7010, 1700, 800);
    auto* Command3D3 = dz::ui::commandButton(this, "Command3D3", QStringLiteral("Töröl"), 7900, 1680, 900);
    auto* Command3D27 = dz::ui::commandButton(this, "Command3D27", QStringLiteral("T"), 8870, 1680, 420);
    auto* Command3D30 = dz::ui::commandButton(this, "Command3D30", QString(), 7010, 2130, 600, 420);
    Command3D30->setIcon(QIcon(dz::ui::gridImage(QStringLiteral("xxk.bmp"), dz::ui::twips(300))));
    auto* Command3D13 = dz::ui::commandButton(this, "Command3D13", QStringLiteral("Betölt"), 7680, 2130, 850, 420);
    auto* Command3D14 = dz::ui::commandButton(this, "Command3D14", QStringLiteral("Ment"), 8580, 2130, 710, 420);
    List4 = listBox(this, "List4", false, 7010, 2650, 2280, 1700);
    List5 = listBox(this, "List5", false, 7010, 2650, 2280, 1700);
    List5->hide();

    Command3D8 = dz::ui::commandButton(this, "Command3D8", QStringLiteral("Dizov kulcs betölt"), 9480, 180, 2040);
    auto* Command3D7 = dz::ui::commandButton(this, "Command3D7", QStringLiteral("Egyéb kulcs betölt"), 9480, 630, 2040);
    auto* Command3D9 = dz::ui::commandButton(this, "Command3D9", QStringLiteral("Teljes kombinációk"), 9480, 1080, 2040);
    auto* Command3D4 = dz::ui::commandButton(this, "Command3D4", QStringLiteral("Vazoz"), 9480, 1530, 1320);
    auto* Command3D10 = dz::ui::commandButton(this, "Command3D10", QStringLiteral("Fix"), 10860, 1530, 660);
    auto* Command3D5 = dz::ui::commandButton(this, "Command3D5", QStringLiteral("Állományba ment"), 9480, 1980, 2040);
    auto* Command3D15 = dz::ui::commandButton(this, "Command3D15", QStringLiteral("T"), 9480, 2430, 420);
    auto* Command3D1 = dz::ui::commandButton(this, "Command3D1", QStringLiteral("Vége"), 9480, 6250, 2040);

    label(this, "Label5(1)", QStringLiteral("Típus :"), 120, 4480, 1000);
    Label1 = valueLabel(this, "Label1", 1150, 4450, 800);
    label(this, "Label5(0)", QStringLiteral("Szám db. :"), 120, 4880, 1000);
    Label2 = valueLabel(this, "Label2", 1150, 4850, 800);
    label(this, "Label5(2)", QStringLiteral("Kulcs db. :"), 120, 5280, 1000);
    Label3 = valueLabel(this, "Label3", 1150, 5250, 800);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    placeTwips(Combo1, 2150, 4450, 850, 330);
    Label9 = valueLabel(this, "Label9", 3050, 4450, 560);
    auto* Command3D24 = dz::ui::commandButton(this, "Command3D24", QStringLiteral("1 szám->xx."), 2150, 4850, 1460);
    auto* Command3D11 = dz::ui::commandButton(this, "Command3D11", QStringLiteral(" <- Vissza"), 3900, 4450, 1700);
    auto* Command3D17 = dz::ui::commandButton(this, "Command3D17", QStringLiteral("Irányított csere"), 3900, 4900, 1700);
    auto* Command3D18 = dz::ui::commandButton(this, "Command3D18", QStringLiteral("Eloszlás"), 3900, 5350, 1700);
    Command3D6 = dz::ui::commandButton(this, "Command3D6", QStringLiteral("Uj kulcs rögzítése"), 3900, 5800, 1700);

    label(this, "Label7", QStringLiteral("Db.     Tól:    Ig:"), 7010, 4450, 2280);
    for (int i = 0; i < 3; ++i) Text1[size_t(i)] = box(this, QStringLiteral("Text1(%1)").arg(i), 7010 + 780 * i, 4750, 720);
    auto* Command3D19 = dz::ui::commandButton(this, "Command3D19", QStringLiteral("Véletlen kijel."), 7010, 5150, 2280);
    label(this, "Label8", QStringLiteral("Új típus :"), 7010, 5630, 1100);
    Text2 = box(this, QStringLiteral("Text2"), 8150, 5600, 720);
    auto* Command3D23 = dz::ui::commandButton(this, "Command3D23", QStringLiteral("Véletlen bővítés"), 7010, 6000, 2280);

    Panel3D1 = label(this, "Panel3D1", QString(), 120, 6820, 11400, 375);
    Panel3D1->setFrameShape(QFrame::Panel);
    Panel3D1->setFrameShadow(QFrame::Sunken);

    connect(Command3D1, &QPushButton::clicked, this, &WorkshopWindow::Command3D1_Click);
    connect(Command3D3, &QPushButton::clicked, this, &WorkshopWindow::Command3D3_Click);
    connect(Command3D4, &QPushButton::clicked, this, &WorkshopWindow::Command3D4_Click);
    connect(Command3D5, &QPushButton::clicked, this, &WorkshopWindow::Command3D5_Click);
    connect(Command3D6, &QPushButton::clicked, this, &WorkshopWindow::Command3D6_Click);
    connect(Command3D7, &QPushButton::clicked, this, &WorkshopWindow::Command3D7_Click);
    connect(Command3D8, &QPushButton::clicked, this, &WorkshopWindow::Command3D8_Click);
    connect(Command3D9, &QPushButton::clicked, this, &WorkshopWindow::Command3D9_Click);
    connect(Command3D10, &QPushButton::clicked, this, &WorkshopWindow::Command3D10_Click);
    connect(Command3D11, &QPushButton::clicked, this, &WorkshopWindow::Command3D11_Click);
    connect(Command3D13, &QPushButton::clicked, this, &WorkshopWindow::Command3D13_Click);
    connect(Command3D14, &QPushButton::clicked, this, &WorkshopWindow::Command3D14_Click);
    connect(Command3D15, &QPushButton::clicked, this, &WorkshopWindow::Command3D15_Click);
    connect(Command3D17, &QPushButton::clicked, this, &WorkshopWindow::Command3D17_Click);
    connect(Command3D18, &QPushButton::clicked, this, &WorkshopWindow::Command3D18_Click);
    connect(Command3D19, &QPushButton::clicked, this, &WorkshopWindow::Command3D19_Click);
    connect(Command3D23, &QPushButton::clicked, this, &WorkshopWindow::Command3D23_Click);
    connect(Command3D24, &QPushButton::clicked, this, &WorkshopWindow::Command3D24_Click);
    connect(Command3D27, &QPushButton::clicked, this, &WorkshopWindow::Command3D27_Click);
    connect(Command3D30, &QPushButton::clicked, this, &WorkshopWindow::Command3D30_Click);
    connect(Combo1, &QComboBox::textActivated, this, &WorkshopWindow::Combo1_Click);
    connect(List1, &dz::ui::ListBox::itemDoubleClicked, this, &WorkshopWindow::List1_DblClick);
    connect(List1, &dz::ui::ListBox::keyTyped, this, &WorkshopWindow::List1_KeyPress);
    connect(List2, &dz::ui::ListBox::itemDoubleClicked, this, &WorkshopWindow::List2_DblClick);
    // anywhere in the list, on a line or below the last one
    dz::ui::onDoubleClick(List4->viewport(), [this] { List4_DblClick(); });
    dz::ui::onDoubleClick(List5->viewport(), [this] { List5_DblClick(); });
    for (QLineEdit* t : {Text1[0], Text1[1], Text1[2], Text2}) dz::ui::onDoubleClick(t, [t] { t->clear(); });

    for (QWidget* w : std::initializer_list<QWidget*>{Command3D1, Command3D3, Command3D27, Command3D30, Command3D13,
                                                      Command3D14, Command3D15, Command3D5, Command3D6, Command3D7,
                                                      Command3D8, Command3D9, Command3D4, Command3D10, Command3D11,
                                                      Command3D24, Command3D17, Command3D18, Command3D19, Command3D23,
                                                      Label9, List4, List5, Text1[0], Text1[1], Text1[2], Text2}) {
        const QString h = hint(w->objectName());
        dz::ui::onHover(w, [this, h] { Panel3D1->setText(h); });
    }
    dz::ui::onHover(this, [this] { Panel3D1->setText(QString()); });

    dz::ui::centreOnScreen(this);
    dz::ui::nameControls(this);
}

dz::ui::ListBox* WorkshopWindow::list(int i) const {
    switch (i) {
    case 1: return List1;
    case 2: return List2;
    case 4: return List4;
    case 5: return List5;
    default: return nullptr;
    }
}

void WorkshopWindow::refuse(const Message& m) {
    dz::ui::message(this, m.text(), m.notice() ? Icon::Information : Icon::Critical, m.title());
}

// --- the board ---------------------------------------------------------------------------------

void WorkshopWindow::showMarkedCount() { Label4->setText(str(grid_->selection().count())); }

void WorkshopWindow::Command3D3_Click() {
    grid_->clearAll();
    Label4->clear();
}

void WorkshopWindow::setMarks(uint32_t marks) {
    for (int n = 1; n <= 20; ++n)
        if (marks & (1u << n)) grid_->setMarked(n, true);
}

void WorkshopWindow::Command3D30_Click() {
    Command3D3_Click();
    const dz::ui::ListBox* from = List2->count() ? List2 : List1;
    if (!from->count()) return;
    uint32_t shown = 0;
    for (const QString& row : from->items()) shown |= rowMask(row, CountRule::Rounded, &key_.gameType);
    for (int n = 1; n <= 20; ++n)
        if (shown & (1u << n)) grid_->showShown(n);
}

void WorkshopWindow::Combo1_Click() {
    if (!Combo1->currentText().isEmpty()) Label9->setText(Combo1->currentText());
}

void WorkshopWindow::List2_DblClick(int index) {
    if (index >= 0 && index < List2->count()) List2->removeItem(index);
}

void WorkshopWindow::Command3D27_Click() { List2->clear(); }

void WorkshopWindow::Command3D6_Click() {
    KeyRecordingWindow w(this);
    w.exec();
}

void WorkshopWindow::Command3D8_Click() {
    QString line, name;
    {
        ShippedKeysWindow g(this);
        g.exec();
        if (!g.chosen()) return;
        line = g.chosenLine();
        name = g.chosenFileName();
    }
    loadShippedKey(name, line);
}

void WorkshopWindow::Command3D1_Click() {
    close();
    QApplication::quit();
}

// --- keys in and out ---------------------------------------------------------------------------

bool WorkshopWindow::loadKeyFile(const QString& fullName) { return loadKey(fullName, false); }

bool WorkshopWindow::loadShippedKey(const QString& fileName, const QString& description) {
    shipped_ = true;
    Label6->setText(description);
    dialogName_ = dz::programFile(QLatin1String(kShippedFolder) + QLatin1Char('/') + fileName);
    repaint();
    return loadKey(dialogName_, true);
}

bool WorkshopWindow::loadKey(const QString& fullName, bool shipped) {
    const KeyLoad load = dz::csere::loadKey(fullName, shipped ? KeySource::Shipped : KeySource::Loaded);
    // A file that cannot be opened or is no key leaves the key loaded before as it was.
    if (!load.opened || load.notAKey) {
        dz::ui::message(this, load.opened ? longRowMessage(load.longRow) : dz::key::cannotOpenMessage(),
                        Icon::Critical, dz::signature());
        return false;
    }
    dz::ui::BusyCursor busy;
    List1->setItems(load.rows);
    if (load.truncated) dz::ui::message(this, rowLimitMessage(), Icon::Critical, dz::signature());
    analyseLoadedKey();
    return true;
}

void WorkshopWindow::analyseLoadedKey() {
    dz::ui::BusyCursor busy;
    const AnalysisOutcome out = analyseKey(List1->items());
    if (out.rejectedRow) {
        dz::ui::message(this, rejectedKeyMessage(*out.rejectedRow), Icon::Critical, dz::signature());
        // The rejected key leaves nothing behind for the operations to run on.
        key_ = KeyAnalysis{};
        List1->clear();
        for (QLabel* l : {Label1, Label2, Label3, Label6}) l->clear();
        Combo1->clear();
        return;
    }
    // An empty key sets no game type: the one before stays.
    const int type = List1->count() ? out.analysis.gameType : key_.gameType;
    key_ = out.analysis;
    key_.gameType = type;
    showAnalysis(List1->count() > 0);
    fillCombo();
}

void WorkshopWindow::showAnalysis(bool withType) {
    if (withType) Label1->setText(QString::number(key_.gameType));
    Label2->setText(str(key_.distinct));
    Label3->setText(str(key_.rowCount));
}

void WorkshopWindow::fillCombo() {
    Combo1->clear();
    Combo1->addItems(presentNumbers(key_.presence));
    if (Combo1->count()) Combo1->setCurrentIndex(0);
}

void WorkshopWindow::Command3D7_Click() {
    const auto file = dz::ui::fileDialog(this, dialog(false, QString(), QString()));
    if (!file) return;
    dialogName_ = *file;
    loadKeyFile(*file);
}

void WorkshopWindow::Command3D9_Click() {
    for (int n = 1; n <= 20; ++n) grid_->cell(n)->setEnabled(false);
    {
        FullCombinationsWindow w(List1, this);
        w.exec();
    }
    repaint();
    for (int n = 1; n <= 20; ++n) grid_->cell(n)->setEnabled(true);
    if (!List1->count()) return;
    analyseLoadedKey();
}

void WorkshopWindow::List1_DblClick(int index) {
    if (index < 0 || index >= List1->count()) return;
    List1->removeItem(index);
    key_ = reanalyseSkipping(List1->items());
    Label3->setText(str(key_.rowCount));
    Label2->setText(str(key_.distinct));
}

void WorkshopWindow::Command3D5_Click() {
    if (!List2->count()) return;
    const auto file = dz::ui::fileDialog(this, dialog(true, QString::fromLatin1(dz::key::kDefaultKeyFile), QStringLiteral("txt")));
    if (!file) return;
    dialogName_ = *file;
    const KeySave saved = saveKey(*file, List2->items(), dz::programFolder());
    if (saved == KeySave::Failed)
        dz::ui::message(this, dz::saveFailedMessage(*file), Icon::Critical, dz::signature());
    else if (saved == KeySave::PointerFailed)
        dz::ui::message(this, dz::key::pointerFailedMessage(), Icon::Critical, dz::signature());
}

void WorkshopWindow::List1_KeyPress(int keyAscii) {
    if (keyAscii != 'L' && keyAscii != 'l') return;
    QString path;
    if (!dz::key::writeSpreadsheetExport(dz::programFolder(), List1->items(), &path)) {
        dz::ui::message(this, dz::saveFailedMessage(path), Icon::Critical, dz::signature());
        return;
    }
    dz::ui::startSpreadsheet(path);
}

void WorkshopWindow::Command3D13_Click() {
    const auto file = dz::ui::fileDialog(this, dialog(false, dialogName_, QString()));
    if (!file) return;
    dialogName_ = *file;
    const SelectionLoad load = readSelection(*file);
    if (!load.opened) {
        dz::ui::message(this, dz::key::cannotOpenMessage(), Icon::Critical, dz::signature());
        return;
    }
    grid_->clearAll();
    setMarks(load.marks);
    showMarkedCount();
}

void WorkshopWindow::Command3D14_Click() {
    const auto file = dz::ui::fileDialog(this, dialog(true, QString::fromLatin1(kSelectionFile), QStringLiteral("txt")));
    if (!file) return;
    dialogName_ = *file;
    if (!writeSelection(*file, grid_->selection().mask()))
        dz::ui::message(this, dz::saveFailedMessage(*file), Icon::Critical, dz::signature());
}

void WorkshopWindow::Command3D15_Click() {
    const auto file = dz::ui::fileDialog(this, dialog(false, dialogName_, QString()));
    if (!file) return;
    dialogName_ = *file;
    if (dz::ui::message(this, QStringLiteral("Biztos, hogy törölni akarja a ") + dz::quotedPath(*file), Icon::Question, dz::signature(),
                        dz::ui::Buttons::OkCancel) != dz::ui::Answer::Ok)
        return;
    if (!QFile::remove(*file)) dz::ui::message(this, QStringLiteral("Sikertelen törlés"), Icon::Critical, dz::quotedPath(*file));
}

// --- operations --------------------------------------------------------------------------------

void WorkshopWindow::Command3D4_Click() {
    const OpResult r = swapNumbers(List1->items(), key_, grid_->selection().mask());
    if (r.msg) return refuse(r.msg);
    List2->setItems(r.rows);
}

void WorkshopWindow::Command3D24_Click() {
    const double v = dz::val(QStringView(Label9->text()));
    const int x = std::fabs(v) > 1000 ? 1000 : int(dz::roundHalfEven(v));
    const OpResult r = replaceOne(List1->items(), key_, grid_->selection().mask(), x);
    if (r.msg) return refuse(r.msg);
    List2->setItems(r.rows);
}

void WorkshopWindow::Command3D10_Click() {
    const OpResult r = addFix(List1->items(), key_, grid_->selection().mask());
    if (r.msg) return refuse(r.msg);
    List2->setItems(r.rows);
}

void WorkshopWindow::Command3D11_Click() {
    if (!List2->count()) return;
    List1->setItems(List2->items());
    List2->clear();
    key_ = analyseTakenBack(List1->items());
    showAnalysis(true);
    Command3D3_Click();
    fillCombo();
    Label9->clear();
}

void WorkshopWindow::Command3D17_Click() {
    if (key_.distinct == 0) return refuse(Message{Msg::NoKey});
    if (key_.distinct != grid_->selection().count()) return refuse(Message{Msg::ExactCount, key_.distinct});
    // The new key the user had stays until "Cserél" replaces it.
    SubstitutionWindow w(grid_->selection().mask(), key_.presence, List1->items(), this);
    if (w.exec() != QDialog::Accepted) return;
    List2->setItems(w.substitution().rows);
    List4->setItems(w.substitution().pairLines);
    List5->hide();
    List4->show();
}

void WorkshopWindow::Command3D19_Click() {
    const RandomSelection r =
        randomSelection(Text1[0]->text(), Text1[1]->text(), Text1[2]->text(), dz::programRandom());
    if (r.msg) return refuse(r.msg);
    grid_->clearAll();
    setMarks(r.marks);
    Label4->setText(QString::number(grid_->selection().count()));
}

void WorkshopWindow::Command3D23_Click() {
    const double cur = dz::val(QStringView(Label1->text()));
    const OpResult r = extendRandom(List1->items(), std::fabs(cur) > 1000 ? 1000 : int(dz::roundHalfEven(cur)),
                                    Text2->text(), grid_->selection().mask(), dz::programRandom());
    if (r.msg && !r.msg.notice()) return refuse(r.msg);
    List2->setItems(r.rows);
    if (r.msg) refuse(r.msg);
}

void WorkshopWindow::Command3D18_Click() {
    if (!List1->count()) return;
    List5->setItems(distribution(List1->items()));
    List4->hide();
    List5->show();
}

void WorkshopWindow::List4_DblClick() {
    if (!List5->count()) return;
    List4->hide();
    List5->show();
}

void WorkshopWindow::List5_DblClick() {
    if (!List4->count()) return;
    List4->show();
    List5->hide();
}

}  // namespace dz::csere
