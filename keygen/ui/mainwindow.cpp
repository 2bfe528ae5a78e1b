#include "keygen/ui/mainwindow.h"

#include "common/core/suite.h"
#include "common/core/folder.h"
#include "common/core/keyfile.h"
#include "keygen/core/keyload.h"
#include "keygen/core/keytest.h"
#include "common/core/listexport.h"
#include "common/core/random.h"
#include "common/core/textfmt.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"
#include "keygen/ui/choicewindow.h"
#include "keygen/ui/groupchoice.h"
#include "keygen/ui/uihelp.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>

namespace dz::keygen {

using dz::str;

namespace {
QLabel* label(QWidget* parent, const QString& text, int left, int top, int width, int height = 315) {
    auto* l = new QLabel(text, parent);
    place(l, left, top, width, height);
    return l;
}

QLineEdit* box(QWidget* parent, const char* name, int left, int top) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(name));
    place(t, left, top, 760, 315);  // room for six digits ("max szor" counts runs)
    return t;
}

dz::ui::ListBox* list(QWidget* parent, const char* name, bool sorted, int left, int top, int width, int height) {
    auto* l = new dz::ui::ListBox(parent, sorted);
    l->setObjectName(QLatin1String(name));
    l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    place(l, left, top, width, height);
    return l;
}

QLabel* valueLabel(QWidget* parent, const char* name, int left, int top, int width) {
    auto* l = label(parent, QString(), left, top, width);
    l->setObjectName(QLatin1String(name));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}
}  // namespace

QString MainWindow::caption(bool grouped) {
    const QString task = grouped ? QStringLiteral("Csoportos kulcs generálás") : QStringLiteral("Kulcs generálás");
    return task + QStringLiteral(" (minimum 1 eltérés !)") + QString(20, QLatin1Char(' ')) + dz::signature();
}

QString MainWindow::hint(bool grouped, const QString& name) {
    if (grouped) {
        if (name == QLatin1String("Command3D1")) return QStringLiteral("A program befejezése (mentés ?) !");
        if (name == QLatin1String("Command3D2")) return QStringLiteral("A feltételek JÓ megadása után a tesz indítása");
        if (name == QLatin1String("Command3D5"))
            return QStringLiteral("A generált kulcsot menti el a nyomtatáshoz,fix,stb... !");
        if (name == QLatin1String("Text1"))
            return QStringLiteral("Itt azt kell megadni, hogy hány soron próbálja a kulcsot előállitani !");
        if (name == QLatin1String("Text3"))
            return QStringLiteral("Itt lehet megadni, hogy a kulcsgenerálást hányszor futtassa (egyenletesség !)");
        if (name == QLatin1String("Check2")) return QString();
    }
    static const std::pair<const char*, const char*> hints[] = {
        {"Check1", "Ha bejelölt, akkor feltétel nélkül 'max szor'-szor ujragenerál !"},
        {"Check2", "Ha bejelölt, akkor a szelvényszámot módosítja az egyenletes számeloszlás érdekében !"},
        {"Command3D1", "Program befejezése (mentés ?) !"},
        {"Command3D2", "A feltételek JÓ megadása után a teszt indítása"},
        {"Command3D3", "A feltételek JÓ megadása után a kulcs generálása"},
        {"Command3D4", "Itt lehet kiválasztani a számokat"},
        {"Command3D5", "A legenerált kulcsot elmenti -> nyomtatás,fix,stb.. ! "},
        {"Command3D7", "Egyszer már elkészitett kulcs betöltése ( kézzel módosítható-szerkeszthető !!) "},
        {"List2", "Az egyes számok előfordulása a kulcsban"},
        {"List4", "Részletes TESZT eredmény ! 1.o. ssz., 2.o. telitalálat db, 3.o. egyhibás db..."},
        {"SSCommand1", "Túl hosszú futás leállítása !"},
        {"Text1", "Itt azt kell megadni, hogy hány sorra próbálja a kulcsot előállitani !"},
        {"Text2", "Itt a játéktipust kell megadni 2 - 8 !"},
        {"Text3", "Itt lehet megadni, hogy a kulcs generálást hányszor futtassa (egyenletesség !)"},
        {"Text4", "A kiválasztott számok közül hányat találtam el !"},
        {"Text5", "Hányszor fusson le a teszt !"},
        {"Text7", "Itt kell megadni, hogy a generált kulcs sorai maximum hány elemben egyezhetnek meg !"},
    };
    for (const auto& [control, text] : hints)
        if (name == QLatin1String(control)) return QString::fromUtf8(text);
    return QString();
}

MainWindow::MainWindow(bool grouped, QWidget* parent) : QWidget(parent), state_(grouped) {
    setObjectName(QStringLiteral("kiertekel"));
    setWindowTitle(caption(grouped));
    setFixedSize(dz::ui::twips(10200), dz::ui::twips(6450));

    List2 = list(this, "List2", false, 120, 120, 1500, 3000);
    List1 = list(this, "List1", true, 4200, 120, 3050, 5550);
    label(this, kTestHeads, 7400, 120, 2650)->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    List4 = list(this, "List4", false, 7400, 420, 2650, 3300);
    List5 = list(this, "List5", false, 7400, 3820, 2650, 1100);

    if (!grouped) {
        Check2 = new QCheckBox(this);
        Check2->setObjectName(QStringLiteral("Check2"));
        place(Check2, 1800, 120, 300, 300);
    }
    label(this, QStringLiteral("Szelv. sz.  :"), 1800, 480, 1150);
    Text1 = box(this, "Text1", 3000, 450);
    label(this, QStringLiteral("Játéktipus :"), 1800, 870, 1150);
    Text2 = box(this, "Text2", 3000, 840);
    label(this, QStringLiteral("Azonosság :"), 1800, 1260, 1150);
    Text7 = box(this, "Text7", 3000, 1230);
    label(this, QStringLiteral("Max szor"), 1800, 1650, 1150);
    Text3 = box(this, "Text3", 3000, 1620);
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    place(Check1, 3840, 1630, 300, 300);
    label(this, QStringLiteral("Szám db.   :"), 1800, 2040, 1150);
    Label6 = valueLabel(this, "Label6", 3000, 2040, 760);
    // Wide enough for " 32736" (rows, average uses) and " 163680" (the slot index of a run).
    Label1 = valueLabel(this, "Label1", 1800, 2430, 720);
    Label4 = valueLabel(this, "Label4", 2580, 2430, 720);
    Label7 = valueLabel(this, "Label7", 3330, 2430, 840);
    label(this, kHitsLabel, 7400, 5010, 950);
    Text4 = box(this, "Text4", 8400, 4980);
    label(this, kTestLabel, 7400, 5400, 950);
    Text5 = box(this, "Text5", 8400, 5370);

    Command3D4 = dz::ui::commandButton(this, "Command3D4", QStringLiteral("Kijelöl"), 120, 3300, 1680);
    Command3D3 = dz::ui::commandButton(this, "Command3D3", QStringLiteral("Generálás"), 1880, 3300, 1100);
    SSCommand1 = dz::ui::commandButton(this, "SSCommand1", QStringLiteral("Állj"), 3050, 3300, 1050);
    Command3D5 = dz::ui::commandButton(this, "Command3D5", QStringLiteral("Állományba ment"), 120, 3750, 1680);
    Command3D7 = dz::ui::commandButton(this, "Command3D7", QStringLiteral("Betölt"), 1880, 3750, 1100);
    Command3D2 = dz::ui::commandButton(this, "Command3D2", QStringLiteral("Random teszt indul"), 120, 4200, 2300);
    Command3D1 = dz::ui::commandButton(this, "Command3D1", QStringLiteral("Vége"), 120, 4650, 1680);

    Panel3D1 = label(this, QString(), 120, 5850, 9960, 375);
    Panel3D1->setObjectName(QStringLiteral("Panel3D1"));
    Panel3D1->setFrameShape(QFrame::Panel);
    Panel3D1->setFrameShadow(QFrame::Sunken);

    connect(Command3D1, &QPushButton::clicked, this, &MainWindow::Command3D1_Click);
    connect(Command3D2, &QPushButton::clicked, this, &MainWindow::Command3D2_Click);
    connect(Command3D3, &QPushButton::clicked, this, &MainWindow::Command3D3_Click);
    connect(Command3D4, &QPushButton::clicked, this, &MainWindow::Command3D4_Click);
    connect(Command3D5, &QPushButton::clicked, this, &MainWindow::Command3D5_Click);
    connect(Command3D7, &QPushButton::clicked, this, &MainWindow::Command3D7_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &MainWindow::SSCommand1_Click);
    if (!grouped) connect(List1, &dz::ui::ListBox::keyTyped, this, &MainWindow::List1_KeyPress);

    for (QLineEdit* t : {Text1, Text2, Text3, Text4, Text5, Text7})
        onDoubleClick(t, [this, t] {
            if (!busy_) t->clear();
        });

    // Hints: every named control with a hint writes it; the bare window empties it.
    for (QWidget* w : std::initializer_list<QWidget*>{Check1, Check2, Command3D1, Command3D2, Command3D3, Command3D4,
                                                      Command3D5, Command3D7, List2, List4, SSCommand1, Text1, Text2,
                                                      Text3, Text4, Text5, Text7}) {
        if (!w) continue;
        const QString h = hint(grouped, w->objectName());
        dz::ui::onHover(w, [this, h] { Panel3D1->setText(h); });
    }
    dz::ui::onHover(this, [this] { Panel3D1->setText(QString()); });
    SSCommand1->setCursor(Qt::ArrowCursor);

    centreOnScreen(this);
    dz::ui::nameControls(this);
}

group::GroupChoiceWindow* MainWindow::groupChoice() const { return groupChoice_.data(); }

NumberChoiceWindow* MainWindow::choice() const { return choice_.data(); }

MainWindow::~MainWindow() {
    if (worker_) {
        stop_ = true;
        worker_->wait();
        delete worker_;
    }
    delete groupChoice_.data();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // A running generation is stopped and waited for before the window goes.
    if (worker_) {
        stop_ = true;
        worker_->wait();
    }
    if (groupChoice_) groupChoice_->closeAll();
    e->accept();
}

void MainWindow::Command3D1_Click() {
    if (busy_) return;
    close();
}

void MainWindow::Command3D4_Click() {
    if (busy_) return;
    if (state_.grouped) {
        if (!groupChoice_) {
            groupChoice_ = new group::GroupChoiceWindow(state_);
            connect(groupChoice_, &group::GroupChoiceWindow::left, this, &MainWindow::groupChoiceLeft);
        }
        setEnabled(false);
        groupChoice_->show();
        groupChoice_->raise();
        groupChoice_->activateWindow();
        return;
    }
    if (!choice_) choice_ = new NumberChoiceWindow(state_, this);
    const int r = choice_->exec();
    if (!choice_) return;
    if (choice_->unloaded()) {
        // Closed rather than hidden: the next opening loads it afresh.
        delete choice_.data();
    } else if (r == QDialog::Accepted) {
        Label6->setText(str(state_.chosenCount()));
    }
    activateWindow();
}

void MainWindow::groupChoiceLeft(bool confirmed) {
    setEnabled(true);
    if (confirmed) Label6->setText(str(state_.chosenCount()));
    activateWindow();
    raise();
}

void MainWindow::Command3D5_Click() {
    if (busy_ || List1->count() == 0) return;
    dz::ui::FileDialogRequest req;
    req.save = true;
    req.startFolder = dz::programFolder();
    req.fileName = QString::fromLatin1(dz::key::kDefaultKeyFile);
    req.defaultSuffix = QStringLiteral("txt");
    req.confirmOverwrite = true;
    const auto path = dz::ui::fileDialog(this, req);
    if (!path) return;
    const KeySave saved = saveKey(*path, List1->items(), dz::programFolder());
    if (saved == KeySave::Failed)
        dz::ui::message(this, dz::saveFailedMessage(*path), dz::ui::Icon::Critical, dz::signature());
    else if (saved == KeySave::PointerFailed)
        dz::ui::message(this, dz::key::pointerFailedMessage(), dz::ui::Icon::Critical, dz::signature());
}

void MainWindow::Command3D7_Click() {
    if (busy_) return;
    dz::ui::FileDialogRequest req;
    req.startFolder = dz::programFolder();
    req.defaultSuffix = QStringLiteral("txt");
    const auto path = dz::ui::fileDialog(this, req);
    // Cancel, or a file that cannot be opened or is no key, keeps the key in the list: only a
    // key read replaces it.
    if (!path) return;
    KeyLoad load = loadKeyFile(*path);  // an empty line is an empty row, counted too
    if (!load.opened || load.notAKey) {
        dz::ui::message(this, load.opened ? dz::key::notAKeyMessage() : dz::key::cannotOpenMessage(),
                        dz::ui::Icon::Critical, dz::signature());
        return;
    }
    List1->setItems(std::move(load.rows));
    const KeyChoice c = deriveChoice(List1->items());
    state_.setChosen(c.chosenMask);
    if (c.gameType) {
        state_.gameType = *c.gameType;
        Text2->setText(QString::number(*c.gameType));
    }
    Label6->setText(str(state_.chosenCount()));
    Label7->setText(str(c.rowCount));
    Text1->setText(str(c.rowCount));
    List1->setTopIndex(List1->count() - 1);
    // Over the row limit: the first rows are kept and already stand in the window.
    if (load.truncated) dz::ui::message(this, rowLimitMessage(), dz::ui::Icon::Critical, dz::signature());
}

void MainWindow::List1_KeyPress(int keyAscii) {
    if (busy_ || (keyAscii != 'l' && keyAscii != 'L')) return;
    QString path;
    if (!dz::key::writeSpreadsheetExport(dz::programFolder(), List1->items(), &path)) {
        // Nothing starts on the old file.
        dz::ui::message(this, dz::saveFailedMessage(QString::fromLatin1(dz::key::kSpreadsheetFile)),
                        dz::ui::Icon::Critical, dz::signature());
        return;
    }
    dz::ui::startSpreadsheet(path);
}

void MainWindow::Command3D2_Click() {
    if (busy_) return;
    KeyTestInputs in;
    in.rows = List1->items();
    in.type = state_.gameType;
    in.chosen = state_.chosenMask();
    in.hits = boxValue(Text4->text());
    in.trials = boxValue(Text5->text());
    in.tableTop = state_.grouped ? 11 : 21;
    if (auto m = validateKeyTest(in)) {
        showMessage(this, *m);
        return;
    }
    List4->clear();
    busy_ = true;
    KeyTestResult r;
    {
        dz::ui::BusyCursor hourglass;
        r = runKeyTest(in, dz::programRandom());
    }
    List4->setItems(std::move(r.list4));
    List4->setTopIndex(List4->count() - 1);
    List5->setItems(std::move(r.list5));
    busy_ = false;
}

void MainWindow::Command3D3_Click() {
    if (busy_) return;
    if (state_.grouped) {
        if (auto m = confirmationMessage(Label6->text())) {
            showMessage(this, *m);
            return;
        }
        rule_ = GroupRule::from(state_.groups.groupOf, state_.limits);
    }
    GenInputs in;
    in.chosen = state_.chosenMask();
    in.rows = wholeValue(Text1->text());
    in.type = wholeValue(Text2->text());
    in.overlap = wholeValue(Text7->text());
    in.maxRuns = boxValue(Text3->text());
    in.repeatAlways = Check1->isChecked();
    in.adjust = Check2 && Check2->isChecked();
    in.groups = state_.grouped ? &rule_ : nullptr;

    List1->clear();
    state_.gameType = int(std::clamp<long long>(in.type, -32768, 32767));
    const Validation v = validate(in);
    if (!v.ok()) {
        showMessage(this, *v.error);
        return;
    }
    state_.maxOverlap = int(in.overlap);
    if (v.adjustment) {
        showMessage(this, *v.adjustment);
        Text1->setText(v.text1);
    }
    Label4->setText(v.label4);
    setRunning(true);

    stop_ = false;
    QElapsedTimer sinceList;
    sinceList.start();
    auto progress = [this, sinceList](const Progress& p) mutable {
        using K = Progress::Kind;
        if (p.kind == K::RunStarted) {
            QMetaObject::invokeMethod(this, [this] { List1->clear(); }, Qt::QueuedConnection);
            return;
        }
        if (p.kind == K::Slot) {
            std::vector<NumberMask> rows;
            // The key list follows the run a few times a second; the counts at every report.
            if (sinceList.elapsed() >= 250) {
                rows.assign(p.rowsSoFar.begin(), p.rowsSoFar.end());
                sinceList.restart();
            }
            QMetaObject::invokeMethod(
                this,
                [this, l1 = p.label1, l7 = p.label7, rows = std::move(rows)] {
                    Label1->setText(l1);
                    Label7->setText(l7);
                    if (rows.empty()) return;
                    QStringList items;
                    items.reserve(qsizetype(rows.size()));
                    for (NumberMask m : rows) items << rowText(m);
                    List1->setItems(std::move(items));
                },
                Qt::QueuedConnection);
            return;
        }
        QMetaObject::invokeMethod(
            this,
            [this, l7 = p.label7, t3 = p.text3, l2 = p.list2] {
                Label7->setText(l7);
                List2->setItems(l2);
                if (!t3.isEmpty()) Text3->setText(t3);
            },
            Qt::QueuedConnection);
    };
    worker_ = QThread::create([this, inputs = v.inputs, progress]() mutable {
        result_ = generate(inputs, workerRandom_, stopOn(stop_), progress);
    });
    connect(worker_, &QThread::finished, this, &MainWindow::runFinished);
    worker_->start();
}

void MainWindow::SSCommand1_Click() { stop_ = true; }

void MainWindow::setRunning(bool on) {
    running_ = busy_ = on;
    for (QWidget* w : std::initializer_list<QWidget*>{Text1, Text2, Text3, Text4, Text5, Text7, Check1})
        w->setEnabled(!on);
    // A disabled box with a pointer of its own shows the plain arrow: while the run goes the boxes
    // take the window's hourglass instead, and get their text pointer back afterwards.
    for (QLineEdit* t : {Text1, Text2, Text3, Text4, Text5, Text7}) {
        if (on)
            t->unsetCursor();
        else
            t->setCursor(Qt::IBeamCursor);
    }
    if (on) {
        setCursor(Qt::WaitCursor);
        SSCommand1->setFocus();
    } else {
        unsetCursor();
    }
}

void MainWindow::runFinished() {
    if (!worker_) return;
    worker_->deleteLater();
    worker_ = nullptr;
    stop_ = true;
    QStringList rows;
    rows.reserve(qsizetype(result_.rows.size()));
    for (QString& r : result_.rows) rows << std::move(r);
    List1->setItems(std::move(rows));
    List1->setTopIndex(List1->count() - 1);
    List2->setItems(result_.list2);
    if (result_.label1) Label1->setText(*result_.label1);
    Label7->setText(result_.label7);
    if (result_.text3) Text3->setText(*result_.text3);
    result_ = {};
    setRunning(false);
    emit generationFinished();
}

}  // namespace dz::keygen
