#include "ticketclip/ui/submitwindow.h"
#include "common/core/suite.h"
#include "ticketclip/ui/paramwindow.h"

#include "common/core/draws.h"
#include "common/core/folder.h"
#include "common/core/keyfile.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "common/platform/dialogs.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace dz::ticketclip {

namespace {
constexpr int kStakes[5] = {1, 2, 3, 4, 5};
constexpr int kDraws[6] = {1, 2, 5, 10, 20, 50};

QLabel* label(QWidget* parent, const char* name, const QString& text, int l, int t, int w, int h = 255) {
    auto* x = new QLabel(text, parent);
    x->setObjectName(QLatin1String(name));
    ui::placeTwips(x, l, t, w, h);
    return x;
}

// The number of an option caption: "10x" gives 10.
int captionNumber(const QString& caption) {
    QString t = caption.trimmed();
    t.chop(1);
    return static_cast<int>(val(QStringView(t)));
}
}  // namespace

SubmitWindow::SubmitWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("  DIZOV online szelvény feladás.              ") + dz::signature(2015));
    buildWindow();
    ui::nameControls(this);
}

void SubmitWindow::buildWindow() {
    setFixedSize(ui::twips(6945), ui::twips(6555));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    // Left column: the key, and below it the game list or the current part in one place.
    List1 = new ui::ListBox(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(fixed);
    ui::placeTwips(List1, 120, 120, 3615, 2775);
    List2 = new ui::ListBox(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setFont(fixed);
    ui::placeTwips(List2, 120, 3000, 3615, 1680);
    List2->hide();
    List5 = new ui::ListBox(this);
    List5->setObjectName(QStringLiteral("List5"));
    ui::placeTwips(List5, 120, 3000, 3615, 1680);
    QPalette tip = List5->palette();
    tip.setColor(QPalette::Base, QGuiApplication::palette().color(QPalette::ToolTipBase));
    tip.setColor(QPalette::Text, QGuiApplication::palette().color(QPalette::ToolTipText));
    List5->setPalette(tip);
    List3 = new ui::ListBox(this);
    List3->setObjectName(QStringLiteral("List3"));
    List3->hide();

    // Right column: reset, key choice, the values, the part buttons.
    constexpr int x = 3855, w = 2970, value = 5655;
    SSCommand3 = ui::commandButton(this, "SSCommand3", QStringLiteral("Alapállapot"), x, 120, w);
    Command3D4 = ui::commandButton(this, "Command3D4", QStringLiteral("Kulcs választás"), x, 600, w);
    Label3 = label(this, "Label3", QStringLiteral("Össz mezőszám :"), x, 1140, 1740);
    Label4 = label(this, "Label4", QString(), value, 1140, 1170);
    Label5 = label(this, "Label5", QStringLiteral("Játéktípus :"), x, 1140, 1740);
    Label6 = label(this, "Label6", QString(), value, 1140, 1170);
    Label5->hide();
    Label6->hide();
    Label8 = label(this, "Label8", QStringLiteral("A játék ára:"), x, 1500, 1740);
    Label9 = label(this, "Label9", QString(), value, 1500, 1170);
    Label11 = label(this, "Label11", QStringLiteral("Ár Jokerrel:"), x, 1500, 1740);
    Label12 = label(this, "Label12", QString(), value, 1500, 1170);
    Label11->hide();
    Label12->hide();
    Label1 = label(this, "Label1", QStringLiteral("Feltöltendő db.: "), x, 1860, 1740);
    Label2 = label(this, "Label2", QString(), value, 1860, 555);
    Label15 = label(this, "Label15", QString(), value + 615, 1860, 555);
    Label14 = label(this, "Label14", QStringLiteral("Aktuális  rész:"), x, 2220, 1740);
    Label13 = label(this, "Label13", QString(), value, 2220, 1170);
    SSCommand2 = ui::commandButton(this, "SSCommand2", QStringLiteral("Feladás előkészítés"), x, 2640, w);
    SSCommand1 = ui::commandButton(this, "SSCommand1", QStringLiteral("Vágólapra másolás"), x, 3120, w - 420);
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    // No hint line in this window: the hint is the box's tooltip.
    Check1->setToolTip(QStringLiteral("Ha bejelölt, akkor nincs figyelmeztetés!"));
    ui::placeTwips(Check1, x + w - 300, 3180, 300, 255);

    // The extra numbers, stacked beside the part.
    Frame4 = new QGroupBox(QStringLiteral("Pót"), this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    ui::placeTwips(Frame4, x, 3540, 1200, 1380);
    for (int i = 0; i < 4; ++i) {
        auto* c = new QCheckBox(QStringLiteral(" %1").arg(i + 1), Frame4);
        c->setObjectName(QStringLiteral("Check3(%1)").arg(i));
        ui::placeTwips(c, 180, 270 + 255 * i, 840, 255);
        connect(c, &QCheckBox::toggled, this, [this, i] { Check3_Click(i); });
        Check3[size_t(i)] = c;
    }

    // The stake and the draw count at the bottom, left to right.
    auto optionRow = [this](QGroupBox*& frame, const char* frameName, QLabel*& caption, const char* captionName,
                            const QString& captionText, int top, int width, auto& options, const char* optName,
                            const int* values, auto handler) {
        frame = new QGroupBox(this);
        frame->setObjectName(QLatin1String(frameName));
        ui::placeTwips(frame, 120, top, width, 495);
        caption = label(frame, captionName, captionText, 120, 135, 1140);
        for (size_t i = 0; i < options.size(); ++i) {
            auto* o = new QRadioButton(QString::number(values[i]) + QLatin1Char('x'), frame);
            o->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(optName)).arg(i));
            ui::placeTwips(o, 1260 + 780 * int(i), 120, 780, 255);
            connect(o, &QRadioButton::toggled, this, [this, handler, i](bool on) {
                if (on) (this->*handler)(int(i));
            });
            options[i] = o;
        }
        options[0]->setChecked(true);
    };
    optionRow(Frame1, "Frame1", Label7, "Label7", QStringLiteral("Tét :"), 5040, 5220, Option1, "Option1", kStakes,
              &SubmitWindow::Option1_Click);
    optionRow(Frame2, "Frame2", Label10, "Label10", QStringLiteral("Sorsolás sz."), 5580, 6000, Option2, "Option2",
              kDraws, &SubmitWindow::Option2_Click);

    SSCommand4 = ui::commandButton(this, "SSCommand4", QStringLiteral("Paraméterek"), 120, 6120, 1800);
    Command3D2 = ui::commandButton(this, "Command3D2", QStringLiteral("Kilép"), 6945 - 120 - 1200, 6120, 1200);

    connect(Command3D4, &QPushButton::clicked, this, [this] { Command3D4_Click(); });
    connect(SSCommand3, &QPushButton::clicked, this, [this] { SSCommand3_Click(); });
    connect(SSCommand2, &QPushButton::clicked, this, [this] { SSCommand2_Click(); });
    connect(SSCommand1, &QPushButton::clicked, this, [this] { SSCommand1_Click(); });
    connect(SSCommand4, &QPushButton::clicked, this, [this] { SSCommand4_Click(); });
    connect(Command3D2, &QPushButton::clicked, this, [this] { Command3D2_Click(); });
}

void SubmitWindow::Form_Load() {
    choices_ = Choices{};
    // The game list is only shown; a missing file is an empty list.
    List5->setItems(readLines(programFile(QString::fromLatin1(kGameListFile)), kStartFileLines).value_or(QStringList()));
    params_ = startupParams(programFolder());
    ui::centreOnScreen(this);
}

// ---- Loading a key --------------------------------------------------------------------------

void SubmitWindow::Command3D4_Click() {
    // The reset asks while rows are loaded; answered with Cancel the new rows are appended. It
    // asks first, but clears only once a file has opened: Cancel in the dialog, or a file that
    // cannot be opened, leaves the key and the window as they were.
    const bool reset = List1->count() == 0 || confirmReset();

    const auto chosen = ui::keyFileDialog(this);
    if (!chosen) {
        ui::message(this, dialogFailedMessage(kDialogCancelled), ui::Icon::Warning, dz::signature());
        return;
    }
    std::optional<KeyCheck> read;
    {
        ui::BusyCursor hourglass;
        read = readKeyFile(*chosen, kRowLimit - (reset ? 0 : List1->count()));
    }
    if (!read) {
        ui::message(this, openFailedMessage(QFileInfo::exists(*chosen) ? kFileAccess : kFileNotFound, *chosen),
                    ui::Icon::Warning, dz::signature());
        return;
    }
    if (reset) resetWindow();
    KeyCheck k = std::move(*read);
    if (k.outcome == KeyCheck::Outcome::WrongType || k.outcome == KeyCheck::Outcome::BadNumber) {
        ui::message(this, keyMessage(k), ui::Icon::Critical, dz::signature());
        List1->clear();
        return;
    }
    // One reset of the list model, however many rows (appending row by row is slow in the view).
    List1->setItems(List1->count() ? List1->items() + k.rows : std::move(k.rows));
    if (k.outcome == KeyCheck::Outcome::Full) ui::message(this, keyMessage(k), ui::Icon::Critical, dz::signature());

    loadedRows_ = List1->count();
    partCounter_ = 0;
    Label4->setText(QString::number(loadedRows_));
    Label13->setText(QString::number(totalParts(loadedRows_, params_)) + QStringLiteral("/0"));
    Label6->setText(k.lastCount >= 0 ? QString::number(k.lastCount) : QString());
    recompute(Variant::Load);
}

// ---- Price and stake limit ------------------------------------------------------------------

void SubmitWindow::Check3_Click(int) {
    for (size_t i = 0; i < 4; ++i) choices_.extras[i] = Check3[i]->isChecked();
    for (size_t i = 0; i < Option2.size(); ++i)
        if (Option2[i]->isChecked()) choices_.draws = captionNumber(Option2[i]->text());
    recompute(Variant::Selection);
}

void SubmitWindow::Option1_Click(int) {
    for (size_t i = 0; i < Option1.size(); ++i)
        if (Option1[i]->isChecked()) choices_.stake = captionNumber(Option1[i]->text());
    recompute(Variant::Selection);
}

void SubmitWindow::Option2_Click(int) {
    for (size_t i = 0; i < Option2.size(); ++i)
        if (Option2[i]->isChecked()) choices_.draws = captionNumber(Option2[i]->text());
    recompute(Variant::Selection);
}

void SubmitWindow::recompute(Variant v) {
    // Nothing to price without a key, and a part in progress keeps the prices it was cut at.
    if (v != Variant::Load && (List2->count() > 0 || List1->count() == 0)) return;
    if (v == Variant::Parameters) Label6->setText(QStringLiteral("8"));
    // Every variant prices the key with the chosen multipliers; only the load leaves out the
    // Joker factor (its choices are back at one draw unless the reset was cancelled).
    const Price p = computePrice(List1->count(), params_, choices_, v != Variant::Load);
    Label9->setText(numberText(p.price));
    Label12->setText(numberText(p.withJoker));
    if (p.limit != Limit::None) ui::message(this, limitMessage(p.limit, params_.maxStake), ui::Icon::Critical, dz::signature());
}

void SubmitWindow::SSCommand4_Click() {
    {
        ParameterWindow dlg(params_, this);
        dlg.Form_Load();
        if (paramDriver_) paramDriver_(dlg);
        else if (!ui::seam::enabled()) dlg.exec();
    }
    recompute(Variant::Parameters);
}

// ---- Basket parts ---------------------------------------------------------------------------

void SubmitWindow::setChoicesEnabled(bool on) {
    for (auto* o : Option1) o->setEnabled(on);
    Frame1->setEnabled(on);
    for (auto* o : Option2) o->setEnabled(on);
    Frame2->setEnabled(on);
    for (auto* c : Check3) c->setEnabled(on);
    Frame4->setEnabled(on);
}

void SubmitWindow::SSCommand2_Click() {
    if (List1->count() == 0) return;
    if (std::none_of(Check3.begin(), Check3.end(), [](QCheckBox* c) { return c->isChecked(); })) {
        ui::message(this, QStringLiteral("Nincs PÓTSZÁM(ok) kijelölve !"), ui::Icon::Critical, dz::signature());
        return;
    }
    List5->hide();
    List2->show();
    QStringList rest = List1->items();
    const QStringList part = takePart(rest, partSize(params_));
    List2->setItems(part);
    List1->setItems(std::move(rest));
    Label2->setText(QString::number(List2->count()));
    Label4->setText(QString::number(List1->count()));
    Label15->setText(QString::number(ticketsFor(List2->count(), params_.fieldsPerTicket[kGameIndex])));
    ++partCounter_;
    Label13->setText(QString::number(totalParts(loadedRows_, params_)) + QLatin1Char('/') +
                     QString::number(partCounter_));
    setChoicesEnabled(false);
}

void SubmitWindow::SSCommand3_Click() {
    if (List1->count() > 0 && !confirmReset()) return;
    resetWindow();
}

bool SubmitWindow::confirmReset() {
    return ui::message(this, QStringLiteral("Biztos, hogy törölni akarja a betöltött kulcsot?"), ui::Icon::Question,
                       dz::signature(), ui::Buttons::OkCancel) == ui::Answer::Ok;
}

void SubmitWindow::resetWindow() {
    List1->clear();
    List2->clear();
    // With no part left the game list shows again in its place.
    List2->hide();
    List5->show();
    for (QLabel* l : {Label2, Label4, Label6, Label9, Label12, Label13, Label15}) l->clear();
    setChoicesEnabled(true);
    for (auto* c : Check3) c->setChecked(false);
    Option1[0]->setChecked(true);
    Option2[0]->setChecked(true);
}

// ---- Quick-ticket text ----------------------------------------------------------------------

void SubmitWindow::SSCommand1_Click() {
    if (List2->count() == 0) return;
    const QStringList lines = quickTicketLines(List2->items(), choices_, params_.fieldsPerTicket[kGameIndex]);
    List3->setItems(lines);
    // Cleared first, then set whole, before the window goes to the task bar.
    QClipboard* cb = QGuiApplication::clipboard();
    cb->clear();
    cb->setText(quickTicketText(lines));
    if (!Check1->isChecked()) ui::message(this, instructionMessage(), ui::Icon::Information, dz::signature());
    setWindowState(windowState() | Qt::WindowMinimized);
}

void SubmitWindow::Command3D2_Click() {
    if (List1->count() > 0 &&
        ui::message(this, QStringLiteral("Biztos, hogy ki akar lépni ?\r\nA feltöltés nem fejeződött be !"),
                    ui::Icon::Question, dz::signature(), ui::Buttons::OkCancel) != ui::Answer::Ok)
        return;
    close();
}

}  // namespace dz::ticketclip
