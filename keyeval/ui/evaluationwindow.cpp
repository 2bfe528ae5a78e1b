#include "keyeval/ui/evaluationwindow.h"
#include "common/core/suite.h"
#include "keyeval/ui/winningsrun.h"

#include "common/core/cp1250.h"
#include "common/core/folder.h"
#include "common/core/keyfile.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "common/platform/dialogs.h"
#include "common/platform/jobgate.h"
#include "common/platform/services.h"
#include "common/platform/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <bit>

namespace dz::keyeval {

namespace {
QLabel* caption(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

// Room for this many digits in the widget's font.
int digitsWidth(const QWidget* w, int chars) {
    return w->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0')));
}

// A list of fixed-pitch lines: wide enough for lines of this many characters beside its scroll bar.
void fitLines(ui::ListBox* l, int chars, int heightTwips) {
    const int frame = 2 * l->frameWidth() + 6;
    l->setMinimumSize(digitsWidth(l, chars) + l->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + frame,
                      ui::twips(heightTwips));
}

// The key file list: the date text of every entry in one column, whatever the width of the name
// before its tab (the names are fitted to that column in a proportional font).
class TabColumnDelegate : public QStyledItemDelegate {
public:
    TabColumnDelegate(int column, QObject* parent) : QStyledItemDelegate(parent), column_(column) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text;
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        if (tab < 0) return QStyledItemDelegate::paint(p, option, index);
        opt.text.clear();
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w).adjusted(2, 0, 0, 0);
        const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                                : QPalette::Inactive;
        p->save();
        p->setFont(opt.font);
        p->setPen(opt.palette.color(group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                : QPalette::Text));
        const int gap = opt.fontMetrics.horizontalAdvance(QStringLiteral("  "));
        p->drawText(QRect(r.left(), r.top(), column_, r.height()), Qt::AlignLeft | Qt::AlignVCenter, text.left(tab));
        p->drawText(QRect(r.left() + column_ + gap, r.top(), std::max(0, r.width() - column_ - gap), r.height()),
                    Qt::AlignLeft | Qt::AlignVCenter, text.mid(tab + 1));
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        const QString text = index.data().toString();
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        if (tab >= 0) {
            const QFontMetrics& fm = option.fontMetrics;
            s.setWidth(column_ + fm.horizontalAdvance(QStringLiteral("  ")) +
                       fm.horizontalAdvance(text.mid(tab + 1)) + 8);
        }
        return s;
    }

private:
    int column_;
};
}  // namespace

EvaluationWindow::EvaluationWindow(const Build& build, QWidget* parent)
    : QWidget(parent), build_(build), job_(new ui::JobGate(this)) {
    setObjectName(QStringLiteral("FOKEP"));
    setWindowTitle(build_.caption);
    buildWindow();
    // During a run only "Vége" and the close box act (they stop it): the buttons that start work and
    // the spin buttons are disabled, the lists' and boxes' clicks pass through the gate.
    job_->hold({Command3D1, Command1, Command2, Command3D3, Command3D4, Command3D5, SSCommand1, SSCommand2});
    for (int n = 1; n <= 8; ++n) job_->hold({Spin[size_t(n)]});
    width_ = [this](const QString& s) { return QFontMetrics(List4->font()).horizontalAdvance(s); };
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this,
            [this] { Label14->setText(QString::number(progress_.recordsRead.load(std::memory_order_relaxed))); });
    ui::nameControls(this);
}

EvaluationWindow::~EvaluationWindow() {
    stopRun();
    delete worker_;
}

void EvaluationWindow::buildWindow() {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* grid = new QGridLayout(this);

    auto named = [](auto* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    auto button = [&](const char* name, const QString& text) { return named(new QPushButton(text, this), name); };
    auto label = [&](const char* name, bool fixedFont = false) {
        auto* l = named(new QLabel(this), name);
        if (fixedFont) l->setFont(fixed);
        l->setMinimumWidth(ui::twips(600));
        return l;
    };

    // The key files of the program folder.
    auto* files = new QVBoxLayout;
    List4 = named(new ui::ListBox(this), "List4");
    List4->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List4->setItemDelegate(new TabColumnDelegate(ui::twips(kNameColumnTwips), List4));
    // The name column, the date text after it, the scroll bar.
    List4->setMinimumSize(ui::twips(kNameColumnTwips) +
                              List4->fontMetrics().horizontalAdvance(QStringLiteral("  0000.00.00.  ")) +
                              List4->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * List4->frameWidth() + 8,
                          ui::twips(3000));
    List4->installEventFilter(this);
    files->addWidget(List4);
    auto* views = new QHBoxLayout;
    Command3D4 = button("Command3D4", QStringLiteral("Név"));
    Command3D5 = button("Command3D5", QStringLiteral("Dátum"));
    Command3D3 = button("Command3D3", QStringLiteral("Kulcs választás"));
    views->addWidget(Command3D4);
    views->addWidget(Command3D5);
    views->addWidget(Command3D3);
    files->addLayout(views);
    Label8 = label("Label8");
    Label8->setWordWrap(true);
    // Room for a long full name, so that the list above does not jump when the name changes.
    Label8->setMinimumHeight(2 * Label8->fontMetrics().lineSpacing());
    Label8->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    files->addWidget(Label8);
    grid->addLayout(files, 0, 0, 2, 1);

    // The period, the minimum hit count and the extra numbers.
    auto* period = new QGridLayout;
    const int boxWidth[] = {0, 700, 450, 450, 700, 450, 450, 450, 600, 600};
    for (int i = 1; i <= 9; ++i) {
        Text[size_t(i)] = new QLineEdit(this);
        Text[size_t(i)]->setObjectName(QStringLiteral("Text%1").arg(i));
        Text[size_t(i)]->setMaximumWidth(ui::twips(boxWidth[i]));
        // Text1_DblClick .. Text9_DblClick: the box is emptied.
        ui::onDoubleClick(Text[size_t(i)], job_->whenIdle([this, i] { Text[size_t(i)]->clear(); }));
    }
    for (int n = 1; n <= 8; ++n) {
        Spin[size_t(n)] = new ui::SpinButton(this);
        Spin[size_t(n)]->setObjectName(QStringLiteral("Spin%1").arg(n));
        Spin[size_t(n)]->setFixedSize(ui::twips(255), ui::twips(375));
        connect(Spin[size_t(n)], &ui::SpinButton::spinUp, this, [this, n] { spinUp(n); });
        connect(Spin[size_t(n)], &ui::SpinButton::spinDown, this, [this, n] { spinDown(n); });
    }
    // Box and spin button of each column: year, month, day, draw number of the day.
    const int fromBox[] = {1, 2, 3, 8}, fromSpin[] = {1, 2, 3, 7};
    const int toBox[] = {4, 5, 6, 9}, toSpin[] = {4, 5, 6, 8};
    period->addWidget(caption(QStringLiteral("Tól:"), this), 0, 0);
    period->addWidget(caption(QStringLiteral("Ig:"), this), 1, 0);
    for (int c = 0; c < 4; ++c) {
        period->addWidget(Text[size_t(fromBox[c])], 0, 1 + 2 * c);
        period->addWidget(Spin[size_t(fromSpin[c])], 0, 2 + 2 * c);
        period->addWidget(Text[size_t(toBox[c])], 1, 1 + 2 * c);
        period->addWidget(Spin[size_t(toSpin[c])], 1, 2 + 2 * c);
    }
    period->addWidget(caption(QStringLiteral("Találattól:"), this), 2, 0, 1, 3);
    period->addWidget(Text[7], 2, 3);
    auto* extras = named(new QGroupBox(QStringLiteral("Pót számok"), this), "Frame1");
    auto* extrasLay = new QHBoxLayout(extras);
    for (int i = 0; i < 4; ++i) {
        Check3[size_t(i)] = new QCheckBox(QStringLiteral(" %1").arg(i + 1), extras);
        Check3[size_t(i)]->setObjectName(QStringLiteral("Check3(%1)").arg(i));
        extrasLay->addWidget(Check3[size_t(i)]);
    }
    period->addWidget(extras, 3, 0, 1, 9);
    grid->addLayout(period, 0, 1);

    // The buttons and the labels of a run.
    auto* side = new QGridLayout;
    Command3D1 = button("Command3D1", QStringLiteral("Kezdés"));
    Command1 = button("Command1", QStringLiteral("Találat"));
    Command2 = button("Command2", QStringLiteral("Húzás"));
    SSCommand1 = button("SSCommand1", QStringLiteral("Kiértékelés hozamra"));
    SSCommand2 = button("SSCommand2", QStringLiteral("Grafikon"));
    Command3D2 = button("Command3D2", QStringLiteral("Vége"));
    side->addWidget(Command3D1, 0, 0);
    side->addWidget(Command1, 0, 1);
    side->addWidget(Command2, 0, 2);
    side->addWidget(SSCommand1, 1, 0, 1, 2);
    side->addWidget(SSCommand2, 1, 2);
    side->addWidget(Command3D2, 2, 2);
    Label13 = label("Label13");
    Label14 = label("Label14");
    Label1 = label("Label1");
    Label2 = label("Label2");
    Label11 = label("Label11");
    for (QLabel* l : {Label13, Label14, Label1, Label2}) l->setMinimumWidth(digitsWidth(l, 9));
    Label5 = label("Label5", true);
    Label7 = label("Label7", true);
    Label10 = label("Label10", true);
    side->addWidget(caption(QStringLiteral("Húzások:"), this), 3, 0);
    side->addWidget(Label13, 3, 1);
    side->addWidget(Label14, 3, 2);
    side->addWidget(caption(QStringLiteral("Sorok:"), this), 4, 0);
    side->addWidget(Label1, 4, 1);
    side->addWidget(Label2, 4, 2);
    side->addWidget(caption(QStringLiteral("Számok:"), this), 5, 0);
    side->addWidget(Label11, 5, 1);
    side->addWidget(caption(QStringLiteral("Össz találat :"), this), 6, 0);
    side->addWidget(Label5, 6, 1);
    side->addWidget(Label7, 6, 2);
    side->addWidget(caption(QStringLiteral("Húzott számok:"), this), 7, 0);
    side->addWidget(Label10, 7, 1, 1, 2);
    grid->addLayout(side, 1, 1);

    // The key rows, the tallies, the hit list and the results for winnings.
    auto* lists = new QHBoxLayout;
    List1 = named(new ui::ListBox(this), "List1");
    List2 = named(new ui::ListBox(this, true), "List2");
    List3 = named(new ui::ListBox(this), "List3");
    List3->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List8 = named(new ui::ListBox(this), "List8");
    // Characters of the longest usual line: a key row after two blanks, a tally of a long run, a
    // hit line of a full key, a result line of a large loss.
    const int lineChars[] = {28, 16, 27, 26};
    int w = 0;
    for (ui::ListBox* l : {List1, List2, List3, List8}) {
        l->setFont(fixed);
        fitLines(l, lineChars[w++], 3500);
    }
    for (ui::ListBox* l : {List1, List2, List3}) lists->addWidget(l, 1);
    // The results for winnings: their list with the stake, winnings and balance under it.
    auto* results = new QVBoxLayout;
    results->addWidget(List8, 1);
    auto* money = new QGridLayout;
    Label16 = label("Label16");
    Label18 = label("Label18");
    Label21 = label("Label21");
    // A stake of a full key with four extra numbers over the whole history runs to 12 digits.
    for (QLabel* l : {Label16, Label18, Label21}) l->setMinimumWidth(digitsWidth(l, 14));
    money->addWidget(caption(QStringLiteral("Össz befizetés :"), this), 0, 0);
    money->addWidget(Label16, 0, 1);
    money->addWidget(caption(QStringLiteral("Nyeremény :"), this), 1, 0);
    money->addWidget(Label18, 1, 1);
    money->addWidget(caption(QStringLiteral("Egyenleg :"), this), 2, 0);
    money->addWidget(Label21, 2, 1);
    money->setColumnStretch(1, 1);
    results->addLayout(money);
    lists->addLayout(results, 1);
    grid->addLayout(lists, 2, 0, 1, 2);
    grid->setRowStretch(2, 1);

    // The form's defaults; start-up overwrites the period.
    const char* defaults[] = {"", "2005", "12", "31", "2005", "12", "31", "4", "180", "180"};
    for (int i = 1; i <= 9; ++i) Text[size_t(i)]->setText(QString::fromLatin1(defaults[i]));

    connect(Command3D1, &QPushButton::clicked, this, &EvaluationWindow::Command3D1_Click);
    connect(Command1, &QPushButton::clicked, this, &EvaluationWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &EvaluationWindow::Command2_Click);
    connect(Command3D2, &QPushButton::clicked, this, &EvaluationWindow::Command3D2_Click);
    connect(Command3D3, &QPushButton::clicked, this, &EvaluationWindow::Command3D3_Click);
    connect(Command3D4, &QPushButton::clicked, this, &EvaluationWindow::Command3D4_Click);
    connect(Command3D5, &QPushButton::clicked, this, &EvaluationWindow::Command3D5_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &EvaluationWindow::SSCommand1_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &EvaluationWindow::SSCommand2_Click);
    connect(List4, &ui::ListBox::itemClicked, this, job_->whenIdle(this, &EvaluationWindow::List4_Click));
    connect(List4, &ui::ListBox::itemDoubleClicked, this, job_->whenIdle(this, &EvaluationWindow::List4_DblClick));
    connect(List1, &ui::ListBox::itemClicked, this, job_->whenIdle(this, &EvaluationWindow::List1_Click));
    connect(List2, &ui::ListBox::itemClicked, this, job_->whenIdle(this, &EvaluationWindow::List2_Click));
}

QString EvaluationWindow::drawFilePath() const { return programFile(build_.drawFile); }

bool EvaluationWindow::Form_Load() {
    ui::BusyCursor hourglass;
    adjustSize();
    ui::centreOnScreen(this);

    keyFiles_.scan(programFolder(), width_, ui::twips(kNameColumnTwips));
    List4->setItems(keyFiles_.entries(KeyFileList::View::Name));
    Command3D4->setEnabled(false);
    Command3D5->setEnabled(true);

    const auto draws = DrawFile::load(drawFilePath());
    if (!draws) {
        ui::message(this, build_.missingAtStart, ui::Icon::Critical, dz::signature());
        return false;
    }
    bounds_ = drawBounds(*draws);
    Label13->setText(QString::number(draws->size()));
    PeriodFields f;
    DrawFields last = bounds_.last;  // all 0 when no line is a draw record
    setFields(f.to, last);
    setFields(f.from, last);
    writeFields(f);
    Label10->setText(bounds_.lastNumbers);
    return true;
}

PeriodFields EvaluationWindow::readFields() const {
    PeriodFields f;
    const int from[] = {1, 2, 3, 8}, to[] = {4, 5, 6, 9};
    for (int c = 0; c < 4; ++c) {
        f.from[size_t(c)] = Text[size_t(from[c])]->text();
        f.to[size_t(c)] = Text[size_t(to[c])]->text();
    }
    return f;
}

void EvaluationWindow::writeFields(const PeriodFields& f) {
    const int from[] = {1, 2, 3, 8}, to[] = {4, 5, 6, 9};
    for (int c = 0; c < 4; ++c) {
        Text[size_t(from[c])]->setText(f.from[size_t(c)]);
        Text[size_t(to[c])]->setText(f.to[size_t(c)]);
    }
}

void EvaluationWindow::setKeyFile(const QString& path) {
    keyFile_ = path;
    Label8->setText(quotedPath(path));
}

bool EvaluationWindow::keyFileOpenable() const {
    if (keyFile_.isEmpty()) return false;
    QFile f;
    return openForReading(f, keyFile_);
}

std::optional<RunSettings> EvaluationWindow::prepareRun() {
    PeriodFields f = readFields();
    fillEmptyFields(f);
    writeFields(f);

    RunSettings st;
    st.keyFile = keyFile_;
    for (int i = 0; i < 4; ++i) {
        if (!Check3[size_t(i)]->isChecked()) continue;
        st.extra[size_t(i + 1)] = true;
        ++st.extraCount;
    }
    if (st.extraCount == 0) {
        ui::message(this, QStringLiteral("Nincs pótszám megadva !"), ui::Icon::Critical, dz::signature());
        return std::nullopt;
    }

    st.minHits = minimumHits(Text[7]->text());
    Text[7]->setText(QString::number(st.minHits));

    const PeriodKeys keys = periodKeys(f, bounds_);
    writeFields(f);
    if (keys.status == PeriodStatus::NoRecord) return std::nullopt;
    if (keys.status == PeriodStatus::Wrong) {
        ui::message(this, QStringLiteral("Hibás tól-; ig- beállítás !"), ui::Icon::Critical, dz::signature());
        return std::nullopt;
    }
    st.fromKey = keys.fromKey;
    st.toKey = keys.toKey;
    return st;
}

void EvaluationWindow::Command3D1_Click() {
    if (!keyFileOpenable()) return;
    List1->clear();
    List2->clear();
    List3->clear();
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    const auto st = prepareRun();
    if (!st) return;
    if (QFile draws; !openForReading(draws, drawFilePath())) {
        if (!build_.missingOnRun.isEmpty())
            ui::message(this, build_.missingOnRun, ui::Icon::Critical, build_.missingOnRunTitle);
        return;
    }
    startRun(*st, RunKind::Hits);
}

bool EvaluationWindow::busy() const { return job_->running(); }

void EvaluationWindow::startRun(const RunSettings& settings, RunKind kind) {
    if (job_->running()) return;
    job_->begin();
    progress_.recordsRead = 0;
    progress_.stop = false;
    auto outcome = std::make_shared<RunOutcome>();
    outcome->kind = kind;
    outcome->settings = settings;
    outcome_ = outcome;
    const QString path = drawFilePath();
    worker_ = QThread::create([this, outcome, path] {
        // The draw file is read again at every run: another program may have replaced it.
        const auto file = DrawFile::load(path);
        if (!file) return;
        // Both runs stream the period: the sums keep no record of it, the count only the keys of
        // draws that list plays.
        auto key = readKey(outcome->settings.keyFile);
        if (!key) return;
        StreamedWinnings w;
        StreamedEvaluation e;
        if (outcome->kind == RunKind::Winnings) {
            w = streamWinnings(*file, outcome->settings, *key, &progress_);
            if (w.money.stopped) return;
        } else {
            e = streamEvaluation(*file, outcome->settings, *key, &progress_);
            if (e.result.stopped) return;
        }
        const bool winnings = outcome->kind == RunKind::Winnings;
        outcome->key = std::make_shared<const KeyRows>(std::move(*key));
        outcome->span = winnings ? w.span : e.span;
        outcome->firstKey = std::move(winnings ? w.firstKey : e.firstKey);
        outcome->lastKey = std::move(winnings ? w.lastKey : e.lastKey);
        if (!outcome->span.reached) {
            // Every record was read without reaching the period.
            progress_.recordsRead = int64_t(outcome->span.recordsRead);
            return;
        }
        outcome->quiet = false;
        if (winnings) {
            outcome->money = std::move(w.money);
            outcome->moneyLines = std::make_shared<const ResultLines>(std::move(w.rows));
            return;
        }
        outcome->firstNumbers = e.draws->firstNumbers;
        outcome->result = std::move(e.result);
        outcome->hitList = std::make_shared<const HitList>(std::move(e.draws), std::move(outcome->result.hits));
    });
    connect(worker_, &QThread::finished, this, &EvaluationWindow::finishRun);
    progressTimer_->start();
    worker_->start();
}

void EvaluationWindow::stopRun() {
    if (!worker_) return;
    progress_.stop = true;
    worker_->wait();
}

void EvaluationWindow::finishRun() {
    progressTimer_->stop();
    if (worker_) {
        worker_->deleteLater();
        worker_ = nullptr;
    }
    job_->end();
    const std::shared_ptr<RunOutcome> o = std::move(outcome_);
    if (closing_ || !o) return;
    if (o->quiet || o->result.stopped || o->money.stopped) {
        Label14->setText(QString::number(progress_.recordsRead.load()));
    } else if (o->kind == RunKind::Hits) {
        showHits(*o);
    } else {
        showWinnings(*this, *o);
    }
    emit runEnded();
}

void EvaluationWindow::writeDrawNumbers(const RunOutcome& o, bool last) {
    if (!o.span.any) return;  // no draw was used: the boxes stay
    Text[8]->setText(drawNoOfKey(o.firstKey));
    // At the end of the file Text9 keeps what it shows (after a clamp, the last draw in plain form):
    // a line after the last draw was read only when there is one.
    if (last && o.span.recordsRead > o.span.last + 1) Text[9]->setText(drawNoOfKey(o.lastKey));
}

void EvaluationWindow::showBadKeyLine(size_t recordsRead) {
    // The progress label showed the records read at every hundredth.
    if (recordsRead >= 100) Label14->setText(QString::number(recordsRead / 100 * 100));
    ui::message(this, key::notAKeyMessage(), ui::Icon::Critical, dz::signature());
}

void EvaluationWindow::showHits(const RunOutcome& o) {
    const EvaluationResult& r = o.result;
    const KeyRows& key = *o.key;

    writeDrawNumbers(o, false);
    if (r.drawsEvaluated > 0) List1->setSource(key.shown);
    List3->setSource(o.hitList);

    if (r.badLine) {
        showBadKeyLine(r.recordsRead);
        return;
    }
    writeDrawNumbers(o, true);

    Label14->setText(QString::number(r.recordsRead));
    List2->setItems(tallyLines(r));
    Label1->setText(str(r.rowCounter));
    // The key's numbers are noted while its rows are read for a draw: none in an empty period.
    Label11->setText(QString::number(r.drawsEvaluated ? std::popcount(key.numbers & 0x1FFFFEu) : 0));
    if (o.settings.fromKey == o.settings.toKey) {
        const uint32_t both = r.drawsEvaluated ? key.numbers & r.lastDrawMask & 0x1FFFFEu : 0;
        QString t;
        for (int n = 1; n <= 20; ++n)
            if (both >> n & 1u) t += QLatin1Char(' ') + format(n, "00");
        Label5->setText(str(std::popcount(both)));
        Label7->setText(t);
        Label10->setText(o.span.any ? cp1250::decode(o.firstNumbers) : QString());
    } else {
        Label5->clear();
        Label7->clear();
        Label10->clear();
    }
    if (r.listedCount > kRowLimit) {
        Command1->setEnabled(false);
        Command2->setEnabled(false);
    }
}

bool EvaluationWindow::waitForRun(int timeoutMs) { return job_->wait(timeoutMs); }

void EvaluationWindow::Command1_Click() {
    if (const auto* hits = dynamic_cast<const HitList*>(List3->source())) List3->setSource(hits->byClass());
}

void EvaluationWindow::Command2_Click() {
    if (const auto* hits = dynamic_cast<const HitList*>(List3->source())) List3->setSource(hits->byDraw());
}

void EvaluationWindow::Command3D2_Click() { close(); }

void EvaluationWindow::SSCommand1_Click() { winningsRun(*this); }

void EvaluationWindow::SSCommand2_Click() { winningsChart(*this); }

void EvaluationWindow::clearResults() {
    List1->clear();
    List2->clear();
    List3->clear();
    for (QLabel* l : {Label1, Label2, Label11, Label5, Label7}) l->clear();
}

void EvaluationWindow::Command3D3_Click() {
    const auto chosen = ui::keyFileDialog(this);
    if (!chosen) return;
    // A file that cannot be opened or is no key leaves the key chosen before, its name and its
    // rows in place.
    const auto loaded = loadKeyList(*chosen);
    if (!loaded || loaded->notAKey) {
        ui::message(this, loaded ? key::notAKeyMessage() : key::cannotOpenMessage(), ui::Icon::Critical,
                    dz::signature());
        return;
    }
    setKeyFile(*chosen);
    List1->clear();
    List2->clear();
    List3->clear();
    {
        ui::BusyCursor hourglass;
        List1->setItems(loaded->rows);
    }
    if (loaded->overLimit)
        ui::message(this, QStringLiteral("Maximum 32736 sorú kulcs tölthető be!"), ui::Icon::Critical,
                    QStringLiteral("(") + dz::signature());
    Label2->setText(str(loaded->rows.size()));
    for (QLabel* l : {Label1, Label5, Label7, Label11}) l->clear();
}

bool EvaluationWindow::nameViewShown() const { return Command3D5->isEnabled(); }

void EvaluationWindow::Command3D4_Click() {
    List4->setItems(keyFiles_.entries(KeyFileList::View::Name));
    Command3D4->setEnabled(false);
    Command3D5->setEnabled(true);
    setKeyFile({});
}

void EvaluationWindow::Command3D5_Click() {
    List4->setItems(keyFiles_.entries(KeyFileList::View::Date));
    Command3D5->setEnabled(false);
    Command3D4->setEnabled(true);
    setKeyFile({});
}

void EvaluationWindow::List4_Click(int index) {
    const QString name =
        keyFiles_.nameAt(nameViewShown() ? KeyFileList::View::Name : KeyFileList::View::Date, index);
    if (name.isEmpty()) return;
    setKeyFile(programFolder() + QLatin1Char('/') + name);
    clearResults();
}

void EvaluationWindow::List4_DblClick(int index) {
    List4_Click(index);
    Command3D1_Click();
}

void EvaluationWindow::List4_KeyUp(int keyCode) {
    if (keyCode != Qt::Key_Delete) return;
    std::vector<int> selected;
    for (const QModelIndex& i : List4->selectionModel()->selectedIndexes()) selected.push_back(i.row());
    if (selected.empty()) return;
    if (!nameViewShown()) {
        ui::message(this, QStringLiteral("Csak NÉV szerinti rendezettségnél törölhet !"), ui::Icon::Critical,
                    dz::signature(2011));
        return;
    }
    keyFiles_.removeFromNameView(selected);
    List4->setItems(keyFiles_.entries(KeyFileList::View::Name));
    setKeyFile({});
    if (List4->count() > 0) {
        List4->setListIndex(0);
        List4_Click(0);
    }
}

void EvaluationWindow::List1_Click(int index) {
    if (index < 0) return;
    Label2->setText(QString::number(index + 1));
}

void EvaluationWindow::List2_Click(int index) {
    List3->clearSelection();
    const QString cls = List2->item(index).trimmed().left(2);
    if (cls.isEmpty()) return;
    // An empty hit list holds no records: nothing to select.
    const auto* hits = dynamic_cast<const HitList*>(List3->source());
    if (!hits) return;
    QItemSelection sel;
    const int n = List3->count();
    for (int i = 0; i < n; ++i) {
        if (hits->classText(i) != cls) continue;
        int j = i;
        while (j + 1 < n && hits->classText(j + 1) == cls) ++j;
        sel.select(List3->model()->index(i, 0), List3->model()->index(j, 0));
        i = j;
    }
    List3->selectionModel()->select(sel, QItemSelectionModel::Select);
}

namespace {
struct SpinBox {
    int box;
    bool year;  // bounds from the first and last draw
    int floor, ceiling;
};
// Spin1 .. Spin8.
constexpr SpinBox kSpins[9] = {{0, false, 0, 0},   {1, true, 0, 0},    {2, false, 1, 12},
                               {3, false, 1, 31},  {4, true, 0, 0},    {5, false, 1, 12},
                               {6, false, 1, 31},  {8, false, 1, 264}, {9, false, 1, 264}};
}  // namespace

void EvaluationWindow::spinUp(int n) {
    if (n < 1 || n > 8) return;
    const SpinBox& s = kSpins[n];
    QLineEdit* box = Text[size_t(s.box)];
    box->setText(spinStep(box->text(), +1, s.floor, s.year ? bounds_.last.year : s.ceiling));
}

void EvaluationWindow::spinDown(int n) {
    if (n < 1 || n > 8) return;
    const SpinBox& s = kSpins[n];
    QLineEdit* box = Text[size_t(s.box)];
    box->setText(spinStep(box->text(), -1, s.year ? bounds_.first.year : s.floor, s.ceiling));
}

void EvaluationWindow::closeEvent(QCloseEvent* e) {
    if (job_->running()) {
        closing_ = true;
        stopRun();
    }
    e->accept();
}

bool EvaluationWindow::eventFilter(QObject* o, QEvent* e) {
    if (o == List4 && e->type() == QEvent::KeyRelease && !job_->running())
        List4_KeyUp(static_cast<QKeyEvent*>(e)->key());
    return QWidget::eventFilter(o, e);
}

}  // namespace dz::keyeval
