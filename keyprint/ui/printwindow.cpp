#include "keyprint/ui/printwindow.h"

#include "common/core/suite.h"
#include "keyprint/core/a4list.h"
#include "common/core/folder.h"
#include "common/core/keyfile.h"
#include "keyprint/core/printkey.h"
#include "common/core/listexport.h"
#include "keyprint/core/printsettings.h"
#include "common/core/textfmt.h"
#include "common/platform/dialogs.h"
#include "common/platform/printsurface.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace dz::keyprint {

using dz::ui::placeTwips;

namespace {
const QColor kBackground(224, 224, 224);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

void setTextColour(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::ButtonText, c);
    w->setPalette(pal);
}

QLabel* label(QWidget* parent, const QString& text, int left, int top, int width, int height,
              const char* name = nullptr) {
    auto* l = new QLabel(text, parent);
    if (name) l->setObjectName(QLatin1String(name));
    placeTwips(l, left, top, width, height);
    return l;
}

QLineEdit* box(QWidget* parent, const char* name, const QString& text, int left, int top, int width) {
    auto* t = new QLineEdit(text, parent);
    t->setObjectName(QLatin1String(name));
    placeTwips(t, left, top, width, 285);
    return t;
}

// A frame without caption (or with one) holding controls placed relative to it.
QGroupBox* frame(QWidget* parent, const char* name, const QString& title, int left, int top, int width, int height) {
    auto* f = new QGroupBox(title, parent);
    f->setObjectName(QLatin1String(name));
    placeTwips(f, left, top, width, height);
    return f;
}

QRadioButton* option(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width) {
    auto* o = new QRadioButton(caption, parent);
    o->setObjectName(name);
    placeTwips(o, left, top, width, 255);
    return o;
}

QFont pointFont(const QWidget* w, double points) {
    QFont f = w->font();
    f.setPointSizeF(points);
    return f;
}

// Our own emblem for the picture box: a ticket with the game's name and four drawn balls.
QPixmap logo(int width, int height) {
    QPixmap pm(width, height);
    pm.fill(kBackground);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(1, 1, width - 2, height - 2);
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(255, 250, 220));
    p.drawRoundedRect(card, 6, 6);
    QFont f(QStringLiteral("Sans"));
    f.setBold(true);
    f.setPixelSize(std::max(8, height * 2 / 5));
    p.setFont(f);
    p.setPen(QColor(0, 0, 160));
    p.drawText(QRectF(0, 2, width, height * 0.55), Qt::AlignCenter, QStringLiteral("DIZOV"));
    const QColor balls[] = {QColor(220, 30, 30), QColor(30, 140, 40), QColor(30, 60, 200), QColor(230, 170, 0)};
    const double r = height * 0.12;
    for (int i = 0; i < 4; ++i) {
        const QPointF c(width * (0.2 + 0.2 * i), height * 0.75);
        p.setPen(Qt::NoPen);
        p.setBrush(balls[i]);
        p.drawEllipse(c, r, r);
    }
    return pm;
}

dz::ui::Icon iconOf(NoticeIcon i) { return i == NoticeIcon::Question ? dz::ui::Icon::Question : dz::ui::Icon::Critical; }
}  // namespace

QString PrintWindow::caption() {
    return QStringLiteral("  DIZOV szelvény kitöltő (álló).") + QString(14, QLatin1Char(' ')) + dz::signature();
}

PrintWindow::PrintWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(caption());
    setFixedSize(dz::ui::twips(6690), dz::ui::twips(6750));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    pal.setColor(QPalette::Button, kBackground);
    setPalette(pal);
    setAutoFillBackground(true);
    // The window was laid out for 8.25-point text.
    setFont(pointFont(this, 8.25));

    auto* Label2 = label(this, QStringLiteral("A nyomtatás pozicionálása"), 0, 60, 4155, 435, "Label2");
    Label2->setAlignment(Qt::AlignCenter);
    setTextColour(Label2, kBlue);
    label(this, QStringLiteral("Tolja lefelé 'yy' mm-vel + - !"), 420, 630, 2475, 255, "Label1(0)");
    Text1 = box(this, "Text1", QStringLiteral("0"), 3060, 570, 615);
    label(this, QStringLiteral("Tolja jobbra 'xx' mm-vel + - !"), 420, 1050, 2475, 255, "Label1(1)");
    Text2 = box(this, "Text2", QStringLiteral("0"), 3060, 990, 615);
    label(this, QStringLiteral("Egy oldalra 'xx' sort nyomtat."), 420, 1440, 2550, 255, "Label12");
    Text5 = box(this, "Text5", QStringLiteral("60"), 3300, 1410, 375);

    List1 = new dz::ui::ListBox(this);
    List1->setObjectName(QStringLiteral("List1"));
    placeTwips(List1, 360, 1830, 3615, 2400);

    Label9 = label(this, QString(), 150, 4485, 1050, 270, "Label9");
    Label9->setAlignment(Qt::AlignCenter);
    Command3D5 = dz::ui::commandButton(this, "Command3D5", QStringLiteral("-> Kijelölt sor nyomtatása"), 1230, 4395,
                                       2505, 375);
    label(this, QStringLiteral("Tól:"), 225, 5025, 375, 285, "Label11");
    Text3 = box(this, "Text3", QString(), 660, 5010, 600);
    label(this, QStringLiteral("Ig:"), 1470, 5010, 375, 375, "Label13");
    Text4 = box(this, "Text4", QString(), 1890, 5010, 600);
    Command3D9 = dz::ui::commandButton(this, "Command3D9", QStringLiteral("-> Nyomtatás"), 2685, 4935, 1320, 420);

    auto* Frame1 = frame(this, "Frame1", QString(), 120, 5400, 3780, 630);
    setTextColour(label(Frame1, QStringLiteral("Tét :"), 60, 255, 495, 315, "Label7"), kBlue);
    static const int stakeLefts[5] = {600, 1185, 1770, 2415, 3000};
    for (int i = 0; i < 5; ++i)
        Option1[size_t(i)] = option(Frame1, QStringLiteral("Option1(%1)").arg(i), QStringLiteral("%1x").arg(i + 1),
                                    stakeLefts[i], 255, 585);

    auto* Frame2 = frame(this, "Frame2", QString(), 120, 6030, 4485, 570);
    setTextColour(label(Frame2, QStringLiteral("Ssz."), 90, 225, 360, 240, "Label10"), kBlue);
    static const char* drawCaptions[6] = {"1x", "2x", "5x", "10x", "20x", "50x"};
    for (int i = 0; i < 6; ++i) {
        Option2[size_t(i)] = option(Frame2, QStringLiteral("Option2(%1)").arg(i), QLatin1String(drawCaptions[i]),
                                    600 + 630 * i, 225, 630);
        // "10x" and "20x" take the whole 630 twips at the style's spacing and would touch the next
        // circle: the caption stands closer to its own circle instead.
        Option2[size_t(i)]->setStyleSheet(QStringLiteral("QRadioButton { spacing: 4px; }"));
    }

    Check2 = new QCheckBox(QStringLiteral("Ssz. nem !"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    placeTwips(Check2, 4035, 5790, 1350, 225);

    Command3D3 = dz::ui::commandButton(this, "Command3D3", QStringLiteral("Beállítás mentése"), 4260, 165, 2175, 435);
    label(this, QStringLiteral("Lapdobással indul !"), 4320, 825, 1695, 255, "Label8");
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    placeTwips(Check1, 6120, 765, 255, 315);

    auto* Frame3 = frame(this, "Frame3", QString(), 4395, 1065, 1920, 405);
    for (int i = 0; i < 3; ++i)
        Option3[size_t(i)] =
            option(Frame3, QStringLiteral("Option3(%1)").arg(i), markText(i), 135 + 600 * i, 135, 555);
    Option3[1]->setChecked(true);

    Command3D6 = dz::ui::commandButton(this, "Command3D6", QStringLiteral("A4-s lapra nyomtat"), 4260, 1545, 2175, 450);
    Command3D1 = dz::ui::commandButton(this, "Command3D1", QStringLiteral("Szelv. kitölt"), 4260, 2145, 2175, 795);
    Command3D1->setFont(pointFont(Command3D1, 16.5));
    Command3D4 = dz::ui::commandButton(this, "Command3D4", QStringLiteral("Kulcs választás"), 4260, 3090, 2175, 615);
    Command3D4->setFont(pointFont(Command3D4, 9.75));
    setTextColour(Command3D4, kBlue);

    label(this, QStringLiteral("Szelvényszám :"), 4275, 3855, 1365, 255, "Label3");
    Label4 = label(this, QString(), 5685, 3855, 705, 255, "Label4");
    label(this, QStringLiteral("Játéktipus :"), 4275, 4170, 1455, 255, "Label5");
    Label6 = label(this, QString(), 5895, 4170, 375, 255, "Label6");

    auto* Picture1 = label(this, QString(), 4155, 4785, 1335, 750, "Picture1");
    Picture1->setPixmap(logo(dz::ui::twips(1335), dz::ui::twips(750)));

    auto* Frame4 = frame(this, "Frame4", QStringLiteral("Pót"), 5625, 4545, 840, 1350);
    setTextColour(Frame4, kBlue);
    for (int i = 0; i < 4; ++i) {
        auto* c = new QCheckBox(QStringLiteral(" %1").arg(i + 1), Frame4);
        c->setObjectName(QStringLiteral("Check3(%1)").arg(i));
        setTextColour(c, palette().color(QPalette::WindowText));
        placeTwips(c, 175, 285 + 240 * i, 520, 210);
        Check3[size_t(i)] = c;
    }

    Command3D2 = dz::ui::commandButton(this, "Command3D2", QStringLiteral("Kilép"), 4785, 6105, 1755, 495);
    Command3D2->setFont(pointFont(Command3D2, 16.5));
    setTextColour(Command3D2, kRed);

    // Hints: what each action does, where the pointer rests.
    static const std::pair<QPushButton* PrintWindow::*, const char*> hints[] = {
        {&PrintWindow::Command3D1, "A betöltött kulcs összes sorát szelvényekre nyomtatja"},
        {&PrintWindow::Command3D2, "Kilépés a programból"},
        {&PrintWindow::Command3D3, "Elmenti a pozicionálást, a soronkénti sorszámot és a jelet"},
        {&PrintWindow::Command3D4, "Egy elmentett kulcs betöltése a nyomtatáshoz"},
        {&PrintWindow::Command3D5, "A kijelölt sort nyomtatja az első mezőbe"},
        {&PrintWindow::Command3D6, "A betöltött kulcsot sorszámozott listaként A4-es lapra nyomtatja"},
        {&PrintWindow::Command3D9, "A Tól: - Ig: sorokat nyomtatja a szelvényekre"},
    };
    for (const auto& [button, text] : hints) (this->*button)->setToolTip(QString::fromUtf8(text));

    connect(Command3D1, &QPushButton::clicked, this, &PrintWindow::Command3D1_Click);
    connect(Command3D2, &QPushButton::clicked, this, &PrintWindow::Command3D2_Click);
    connect(Command3D3, &QPushButton::clicked, this, &PrintWindow::Command3D3_Click);
    connect(Command3D4, &QPushButton::clicked, this, &PrintWindow::Command3D4_Click);
    connect(Command3D5, &QPushButton::clicked, this, &PrintWindow::Command3D5_Click);
    connect(Command3D6, &QPushButton::clicked, this, &PrintWindow::Command3D6_Click);
    connect(Command3D9, &QPushButton::clicked, this, &PrintWindow::Command3D9_Click);
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &PrintWindow::List1_Click);
    for (int i = 0; i < 5; ++i)
        connect(Option1[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Option1_Click(i);
        });
    for (int i = 0; i < 6; ++i)
        connect(Option2[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Option2_Click(i);
        });
    for (QLineEdit* t : {Text1, Text2, Text3, Text4, Text5}) dz::ui::onDoubleClick(t, [t] { t->clear(); });

    Form_Load();
    dz::ui::centreOnScreen(this);
    dz::ui::nameControls(this);
}

void PrintWindow::Form_Load() {
    stakeChoice_ = drawCountChoice_ = 1;
    Option2[0]->setChecked(true);
    const Settings s = loadSettings(dz::programFolder());
    Text1->setText(s.down);
    Text2->setText(s.right);
    Text5->setText(s.rowsPerPage);
    Option1[0]->setChecked(true);
    if (s.mark >= 0 && s.mark <= 2) Option3[size_t(s.mark)]->setChecked(true);
}

void PrintWindow::Option1_Click(int index) { stakeChoice_ = index + 1; }

void PrintWindow::Option2_Click(int index) { drawCountChoice_ = index + 1; }

void PrintWindow::List1_Click() {
    const int i = List1->listIndex();
    if (i < 0) return;
    dz::ui::setWholeText(Label9, rowIndicator(i));
}

void PrintWindow::Command3D2_Click() { close(); }

int PrintWindow::markIndex() const {
    for (int i = 0; i < 3; ++i)
        if (Option3[size_t(i)]->isChecked()) return i;
    return -1;
}

std::array<bool, 4> PrintWindow::extras() const {
    std::array<bool, 4> e{};
    for (size_t i = 0; i < 4; ++i) e[i] = Check3[i]->isChecked();
    return e;
}

void PrintWindow::Command3D3_Click() {
    const int mark = std::max(markIndex(), 0);
    if (!saveSettings(dz::programFolder(), Text1->text(), Text2->text(), Text5->text(), mark))
        dz::ui::message(this, dz::saveFailedMessage(QLatin1String(kSettingsFile)), dz::ui::Icon::Critical, dz::signature());
}

void PrintWindow::Command3D4_Click() {
    // Without a pointer the dialog offers the name it was last closed on in this run.
    const auto path = dz::ui::keyFileDialog(this, lastDialogName_);
    // Cancel, or a file that cannot be opened or is no key, keeps the key in the list: only a key
    // read replaces it.
    if (!path) return;
    lastDialogName_ = dz::key::splitPath(*path).name;
    auto key = loadKey(*path);
    if (!key || key->notAKey) {
        dz::ui::message(this, key ? dz::key::notAKeyMessage() : dz::key::cannotOpenMessage(), dz::ui::Icon::Critical,
                        dz::signature());
        return;
    }
    {
        dz::ui::BusyCursor hourglass;
        List1->setItems(key->rows);
    }
    if (key->overLimit) dz::ui::message(this, rowLimitMessage(), dz::ui::Icon::Critical, dz::signature());
    Label4->setText(dz::str(ticketCount(int(key->rows.size()))));
    Label6->setText(dz::str(key->rows.isEmpty() ? 0 : gameTypeOf(key->rows.last())));
}

void PrintWindow::Command3D1_Click() { PrintTicketRun(Selector::AllRows); }

void PrintWindow::Command3D5_Click() { PrintTicketRun(Selector::SelectedRow); }

void PrintWindow::Command3D9_Click() { PrintTicketRun(Selector::Range); }

void PrintWindow::PrintTicketRun(Selector selector) {
    RunRequest req;
    req.selector = selector;
    req.rowCount = List1->count();
    req.selectedIndex = List1->listIndex();
    req.from = Text3->text();
    req.to = Text4->text();
    req.sheetFeed = Check1->isChecked();
    req.extras = extras();
    const RunCheck check = checkRun(req);
    if (check.to) Text4->setText(*check.to);
    for (const Notice& n : check.notices) dz::ui::message(this, n.text, iconOf(n.icon), dz::signature());
    if (!check.print) return;

    TicketChoices c;
    c.down = Text1->text();
    c.right = Text2->text();
    c.mark = markIndex();
    c.stake = stakeChoice_;
    c.drawCount = drawCountChoice_;
    c.noDrawCount = Check2->isChecked();
    c.extras = req.extras;
    c.sheetFeed = Check1->isChecked();
    bool printed = false;
    {
        dz::ui::BusyCursor hourglass;
        if (auto job = dz::ui::openPrintJob(QStringLiteral("keyprint")))
            printed = printTickets(*job, List1->items(), check.first, check.last, selector == Selector::SelectedRow, c);
    }
    if (!printed) dz::ui::message(this, printFailedMessage(dz::ui::pdfPrintFile()), dz::ui::Icon::Critical, dz::signature());
}

void PrintWindow::Command3D6_Click() {
    const QString rowsBox = Text5->text();
    if (List1->count() == 0) return;
    if (dz::ui::message(this, a4Question(), dz::ui::Icon::Question, dz::signature(), dz::ui::Buttons::OkCancel) !=
        dz::ui::Answer::Ok)
        return;
    bool printed = false;
    {
        dz::ui::BusyCursor hourglass;
        if (auto job = dz::ui::openPrintJob(QStringLiteral("keyprint")))
            printed = printKeyList(*job, List1->items(), rowsBox);
    }
    if (!printed) dz::ui::message(this, printFailedMessage(dz::ui::pdfPrintFile()), dz::ui::Icon::Critical, dz::signature());
}

}  // namespace dz::keyprint
