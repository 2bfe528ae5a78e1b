#include "keyedit/ui/editorwindow.h"

#include "common/core/suite.h"
#include "common/core/folder.h"
#include "common/core/keyfile.h"
#include "common/core/listexport.h"
#include "common/core/textfile.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace dz::keyedit {

namespace {
const QColor kBackground(224, 224, 224);
const QColor kBlue(0, 0, 255), kGreen(0, 128, 0), kRed(255, 0, 0), kMagenta(255, 0, 255);

void colour(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
}

QString count(long long n) { return QString::number(n); }
}  // namespace

KeyEditorWindow::KeyEditorWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("  Kulcs szerkesztő") + QString(43, QLatin1Char(' ')) + dz::signature());
    buildWindow();
    ui::nameControls(this);
}

void KeyEditorWindow::buildWindow() {
    setFixedSize(ui::twips(7365), ui::twips(6675));
    colour(this, QPalette::Window, kBackground);
    setAutoFillBackground(true);
    setMouseTracking(true);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    auto list = [this](const char* name, int l, int t, int w, int h) {
        auto* x = new ui::ListBox(this);
        x->setObjectName(QLatin1String(name));
        ui::placeTwips(x, l, t, w, h);
        return x;
    };
    auto box = [this](const char* name, int l, int t, int w, int h) {
        auto* x = new QLineEdit(this);
        x->setObjectName(QLatin1String(name));
        ui::placeTwips(x, l, t, w, h);
        return x;
    };
    auto label = [this](const char* name, const QString& text, int l, int t, int w, int h,
                        Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter) {
        auto* x = new QLabel(text, this);
        x->setObjectName(QLatin1String(name));
        x->setAlignment(a);
        ui::placeTwips(x, l, t, w, h);
        return x;
    };
    auto button = [this](const char* name, const QString& caption, int l, int t, const QColor& c) {
        QPushButton* b = ui::commandButton(this, name, caption, l, t, 1400, 345);
        colour(b, QPalette::ButtonText, c);
        return b;
    };

    List1 = list("List1", 75, 105, 7215, 1035);
    List1->setFont(fixed);
    Text7 = box("Text7", 75, 1395, 5370, 285);
    Text7->setFont(fixed);
    Label9 = label("Label9", QString(), 5535, 1425, 345, 255, Qt::AlignCenter);
    Label11 = label("Label11", QString(), 5940, 1425, 345, 255, Qt::AlignCenter);
    Label10 = label("Label10", QStringLiteral("pozíció"), 6450, 1425, 765, 255);
    for (QLabel* l : {Label9, Label11, Label10}) colour(l, QPalette::WindowText, kBlue);
    List2 = list("List2", 75, 1725, 3570, 2400);
    List2->setFont(fixed);
    List2->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List3 = list("List3", 3720, 1725, 3570, 2400);
    List3->setFont(fixed);

    Command3D1 = button("Command3D1", QStringLiteral("Betölt"), 195, 4440, kGreen);
    Label7 = label("Label7", QString(), 1680, 4500, 585, 225);
    // The two counts stand two twips apart: at five digits they would read as one number. The
    // length keeps a digit's room before it and reaches up to the button, so a row count of 32736
    // and a length of five digits both show whole and apart.
    Label8 = label("Label8", QString(), 2295, 4500, 705, 225);
    Label8->setIndent(Label8->fontMetrics().horizontalAdvance(QLatin1Char('0')));
    Command3D2 = button("Command3D2", QStringLiteral("<- Vissza"), 3060, 4440, palette().color(QPalette::WindowText));
    Command3D3 = button("Command3D3", QStringLiteral("Kulcs ment"), 5250, 4440, kGreen);

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    Label1 = label("Label1", QStringLiteral("Tól:"), 400, 5010, 750, 210, right);
    Text1 = box("Text1", 1230, 4965, 645, 285);
    Label2 = label("Label2", QStringLiteral("Ig:"), 1980, 5010, 315, 210);
    Text2 = box("Text2", 2310, 4965, 645, 285);
    Command3D4 = button("Command3D4", QStringLiteral("Sor töröl"), 3060, 4925, kBlue);
    Label3 = label("Label3", QStringLiteral("Balról:"), 400, 5490, 750, 210, right);
    Text3 = box("Text3", 1230, 5460, 405, 285);
    Command3D5 = button("Command3D5", QStringLiteral("Levág"), 1800, 5410, kMagenta);
    Label4 = label("Label4", QStringLiteral("Jobbról:"), 3900, 5490, 750, 210);
    Text4 = box("Text4", 4695, 5460, 405, 285);
    Command3D6 = button("Command3D6", QStringLiteral("Levág"), 5250, 5410, kMagenta);
    Label5 = label("Label5", QStringLiteral("Tól:"), 1185, 5970, 510, 240);
    Text5 = box("Text5", 1770, 5925, 390, 285);
    Label6 = label("Label6", QStringLiteral("Ig:"), 2415, 5970, 345, 240);
    Text6 = box("Text6", 2790, 5925, 390, 285);
    Command3D7 = button("Command3D7", QStringLiteral("Kivág"), 3420, 5895, kMagenta);
    Command3D8 = button("Command3D8", QStringLiteral("Kilép"), 5250, 5895, kRed);
    List4 = list("List4", 45, 5955, 1035, 225);
    List4->hide();
    Panel3D1 = label("Panel3D1", QString(), 0, 6330, 7365, 345);
    Panel3D1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    colour(Panel3D1, QPalette::WindowText, kBlue);

    QWidget* order[] = {List1, List2, List3, Command3D1, Command3D2, Command3D3, Command3D4, Text1, Text2,
                              Command3D5, Text3, Command3D6, Text4, Command3D7, Text6, Text5, Command3D8, Text7};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // The one-line hints.
    const std::pair<QWidget*, const char*> hints[] = {
        {Command3D1, "A szerkesztendő kulcsot tölthetjük be !"},
        {Command3D2, "A szerkesztett kulcsot visszamásolja további szerkesztéshez !"},
        {Command3D3, "A szerkesztett kulcsot menthetjük el a jobboldali listából (üres esetén baloldali) !"},
        {Command3D4, "A szerkesztendő kulcsból a beállításnak megfelelően sorokat törölhetünk !"},
        {Command3D5, "Balról a megadott számú karaktert levágja !"},
        {Command3D6, "Jobbról a megadott számú karaktert levágja !"},
        {Command3D7, "'Középről' a megadott számú karaktert kivágja !"},
        {Command3D8, "Kilépés a programból !"},
        {List1, "Az elmentésre kerűlő filek leírása, klick-re kijelöli !"},
        {List2, "A szerkesztendő kulcs-lista !"},
        {List3, "A módosított kulcs-lista !"},
        {Text7, "A szerkesztendő kulcs karakter pozícióját vizsgálhatjuk (klick a kulcs listára) !"},
    };
    for (const auto& [w, text] : hints) {
        const QString hint = QString::fromUtf8(text);
        ui::onHover(w, [this, hint] { Panel3D1->setText(hint); });
    }

    for (QLineEdit* t : {Text1, Text2, Text3, Text4, Text5, Text6}) ui::onDoubleClick(t, [t] { t->clear(); });
    Text7->installEventFilter(this);

    connect(List1, &ui::ListBox::itemClicked, this, &KeyEditorWindow::List1_Click);
    connect(List1, &ui::ListBox::itemDoubleClicked, this, &KeyEditorWindow::List1_DblClick);
    connect(List2, &ui::ListBox::itemClicked, this, &KeyEditorWindow::List2_Click);
    // The range is read from the selection as the click left it.
    connect(List2, &ui::ListBox::mouseReleased, this, &KeyEditorWindow::List2_MouseUp);
    const std::pair<QPushButton*, void (KeyEditorWindow::*)()> buttons[] = {
        {Command3D1, &KeyEditorWindow::Command3D1_Click}, {Command3D2, &KeyEditorWindow::Command3D2_Click},
        {Command3D3, &KeyEditorWindow::Command3D3_Click}, {Command3D4, &KeyEditorWindow::Command3D4_Click},
        {Command3D5, &KeyEditorWindow::Command3D5_Click}, {Command3D6, &KeyEditorWindow::Command3D6_Click},
        {Command3D7, &KeyEditorWindow::Command3D7_Click}, {Command3D8, &KeyEditorWindow::Command3D8_Click}};
    for (const auto& [b, f] : buttons) connect(b, &QPushButton::clicked, this, f);
}

bool KeyEditorWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Text7 && (e->type() == QEvent::MouseButtonRelease || e->type() == QEvent::KeyRelease)) Text7_Click();
    return QWidget::eventFilter(watched, e);
}

void KeyEditorWindow::mouseMoveEvent(QMouseEvent* e) {
    // Only the bare background empties the hint; a label passes its moves up to here.
    if (!childAt(e->position().toPoint())) Panel3D1->clear();
    QWidget::mouseMoveEvent(e);
}

void KeyEditorWindow::Form_Load() {
    // The descriptions are only shown and lend their file names; a missing file is an empty list.
    if (auto d = readLines(programFile(QString::fromLatin1(kDescriptionFile)), kStartFileLines)) List1->setItems(std::move(*d));
}

void KeyEditorWindow::List1_Click(int index) { dialogFileName_ = descriptionName(List1->item(index)); }

void KeyEditorWindow::List1_DblClick(int index) {
    List1_Click(index);
    Command3D1_Click();
}

void KeyEditorWindow::List2_Click(int index) { Text7->setText(List2->item(index)); }

void KeyEditorWindow::List2_MouseUp() {
    const QModelIndexList chosen = List2->selectionModel()->selectedRows();
    if (chosen.isEmpty()) return;
    std::vector<bool> selected(size_t(List2->count()), false);
    for (const QModelIndex& i : chosen) selected[size_t(i.row())] = true;
    const auto r = rangeOfSelection(selected, List2->currentIndex().row());
    if (!r) return;
    Text2->setText(count(r->to));
    Text1->setText(count(r->from));
}

void KeyEditorWindow::Text7_Click() {
    const int s = Text7->hasSelectedText() ? Text7->selectionStart() : Text7->cursorPosition();
    ui::setWholeText(Label9, count(s));
    ui::setWholeText(Label11, count(Text7->text().size() - s));
    Text3->setText(Label9->text());
    Text4->setText(Label11->text());
}

void KeyEditorWindow::showCounts() {
    ui::setWholeText(Label7, count(List2->count()));
    ui::setWholeText(Label8, count(List2->count() ? List2->item(0).size() : 0));
}

// ---- Loading and saving ---------------------------------------------------------------------

void KeyEditorWindow::Command3D1_Click() {
    ui::FileDialogRequest req;
    req.startFolder = programFolder();
    req.fileName = dialogFileName_;
    req.filterIndex = 0;
    const auto chosen = ui::fileDialog(this, req);
    // Cancel keeps the rows being edited: the list is replaced only by an opened file.
    if (!chosen) return;
    dialogFileName_ = QFileInfo(*chosen).fileName();
    std::optional<LoadedText> loaded;
    {
        ui::BusyCursor hourglass;
        loaded = loadText(*chosen);
    }
    if (!loaded) {
        ui::message(this, key::cannotOpenMessage(), ui::Icon::Critical, dz::signature());
        return;
    }
    // A file the list cannot hold whole is not loaded: the rows being edited stay.
    if (loaded->tooLong) {
        ui::message(this, tooLongMessage(), ui::Icon::Critical, dz::signature());
        return;
    }
    List2->setItems(std::move(loaded->rows));
    // The right list held a cut of the file before: saving it now would save the wrong key.
    List3->clear();
    if (loaded->overLimit)
        ui::message(this, QStringLiteral("Lista betelt, maximum 32736 sor tölthető be !"), ui::Icon::Critical,
                    dz::signature());
    showCounts();
}

void KeyEditorWindow::Command3D2_Click() {
    if (List3->count() == 0) return;
    List2->setItems(List3->items());
    showCounts();
    List3->clear();
    Text7->clear();
    Label9->clear();
    Label11->clear();
}

void KeyEditorWindow::Command3D3_Click() {
    ui::ListBox* from = List3;
    if (List3->count() == 0) {
        if (List2->count() == 0) return;
        if (ui::message(this, QStringLiteral("A baloldali kulcs-lista mentése !"), ui::Icon::Question, dz::signature(),
                        ui::Buttons::YesNo) != ui::Answer::Yes)
            return;
        from = List2;
    }
    ui::FileDialogRequest req;
    req.save = true;
    req.startFolder = programFolder();
    req.fileName = QString::fromLatin1(kDefaultKeyFile);
    req.defaultSuffix = QStringLiteral("txt");
    req.confirmOverwrite = true;
    req.filterIndex = 0;
    const auto chosen = ui::fileDialog(this, req);
    if (!chosen) return;
    dialogFileName_ = QFileInfo(*chosen).fileName();
    bool saved;
    {
        ui::BusyCursor hourglass;
        saved = saveText(*chosen, from->items());
    }
    if (!saved)
        ui::message(this, dz::saveFailedMessage(*chosen), ui::Icon::Critical, dz::signature());
}

// ---- Row edits ------------------------------------------------------------------------------

void KeyEditorWindow::Command3D4_Click() {
    QStringList rows = List2->items();
    const Refusal r = deleteRows(rows, boxNumber(Text1->text()), boxNumber(Text2->text()));
    if (r != Refusal::None) {
        ui::message(this, refusalMessage(r), ui::Icon::Critical, dz::signature());
        return;
    }
    List4->setItems(std::move(rows));
    List2->setItems(List4->items());
    List4->clear();
    ui::setWholeText(Label7, count(List2->count()));
}

void KeyEditorWindow::showCut(Refusal r, const QStringList& result) {
    if (r != Refusal::None) {
        ui::message(this, refusalMessage(r), ui::Icon::Critical, dz::signature());
        return;
    }
    List3->setItems(result);
}

void KeyEditorWindow::Command3D5_Click() {
    if (List2->count() == 0) return;
    QStringList out;
    showCut(cutLeft(List2->items(), boxNumber(Text3->text()), &out), out);
}

void KeyEditorWindow::Command3D6_Click() {
    if (List2->count() == 0) return;
    QStringList out;
    showCut(cutRight(List2->items(), boxNumber(Text4->text()), &out), out);
}

void KeyEditorWindow::Command3D7_Click() {
    if (List2->count() == 0) return;
    QStringList out;
    showCut(cutMiddle(List2->items(), boxNumber(Text5->text()), boxNumber(Text6->text()), &out), out);
}

void KeyEditorWindow::Command3D8_Click() { close(); }

}  // namespace dz::keyedit
