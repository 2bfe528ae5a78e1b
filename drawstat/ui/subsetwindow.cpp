#include "drawstat/ui/subsetwindow.h"

#include "common/core/suite.h"
#include "common/core/draws.h"
#include "common/core/folder.h"
#include "common/core/listexport.h"
#include "drawstat/core/subsetfile.h"
#include "drawstat/core/subsetlists.h"
#include "common/core/textfile.h"
#include "common/core/textfmt.h"
#include "common/platform/dialogs.h"
#include "common/platform/jobgate.h"
#include "common/platform/services.h"
#include "drawstat/ui/mainwindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStyle>
#include <QLabel>
#include <QMap>
#include <QPointer>
#include <QPushButton>

namespace dz::drawstat {

namespace {

QMap<QString, QPointer<SubsetWindow>>& loadedWindows() {
    static QMap<QString, QPointer<SubsetWindow>> m;
    return m;
}

const QString& title() {
    static const QString t = dz::signature();
    return t;
}

// hatos: an option click leaves the life path list shown, and the double click on it goes back
bool backByDoubleClick(const SubsetProfile& p) {
    return p.lifePath && p.lifePath->back == LifePathRules::Back::DoubleClick;
}

QString firstRun() { return QStringLiteral("Indítsa először az *Ujragenerálást* !"); }

void critical(QWidget* w, const QString& text) { dz::ui::message(w, text, dz::ui::Icon::Critical, title()); }

QLabel* greyLabel(QWidget* parent, const char* name, int left, int top, int width) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    l->setPalette(pal);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    dz::ui::placeTwips(l, left, top, width, 285);
    return l;
}

}  // namespace

SubsetWindow::SubsetWindow(const SubsetProfile& profile, QWidget* parent) : KeptDialog(parent), p_(profile) {
    setObjectName(p_.windowName);
    setWindowTitle(p_.caption);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(dz::ui::twips(11700), dz::ui::twips(5880));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    // The designed lists first, the elements made at load after them in index order: later
    // widgets lie on top, so the life path list (the last element) covers the pages.
    List1 = new dz::ui::ListBox(this, p_.list1Order == ListOrder::Text);
    List1->setObjectName(QStringLiteral("List1"));
    dz::ui::placeTwips(List1, 120, 120, 6000, 5160);
    const bool pages = p_.pageCount > 0;
    const int rightTop = pages ? 480 : 120, rightHeight = pages ? 4800 : 5160;
    // The least-drawn rows (count, numbers and draw key: 3k + 23 characters) show whole where the
    // right-hand pages hold them: those lists are as wide as such a row needs, the window with them.
    int rightWidth = dz::ui::twips(3420);
    if (p_.leastDrawn == LeastDrawn::Pages) {
        const QFontMetrics fm(fixed);
        const int row = fm.horizontalAdvance(QString(3 * p_.k + 23, QLatin1Char('0')));
        const int chrome = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
        rightWidth = std::max(rightWidth, row + chrome);
        resize(std::max(width(), dz::ui::twips(8160 + 120) + rightWidth), height());
    }
    auto rightList = [&](const QString& name, bool sorted) {
        auto* l = new dz::ui::ListBox(this, sorted);
        l->setObjectName(name);
        dz::ui::placeTwips(l, 8160, rightTop, 3420, rightHeight);
        l->resize(rightWidth, l->height());
        l->setFont(fixed);
        return l;
    };
    // List3 lowest: a page shown over hatos's least-drawn list is the page the options chose.
    if (p_.hasList3) {
        List3 = rightList(QStringLiteral("List3"), p_.pageCount > 0 && p_.list1Order == ListOrder::Text);
        List3->hide();
    }
    List2.push_back(rightList(p_.list2Count() > 1 ? QStringLiteral("List2(0)") : QStringLiteral("List2"), false));
    List1->setFont(fixed);

    Label1 = greyLabel(this, "Label1", 6240, 120, 1800);
    Check3D1 = new QCheckBox(this);
    Check3D1->setObjectName(QStringLiteral("Check3D1"));
    dz::ui::placeTwips(Check3D1, 6240, 540, 255, 285);
    Command3D1 = dz::ui::commandButton(this, "Command3D1", QStringLiteral("Ujragenerálás"), 6520, 495, 1520);
    Command3D2 = dz::ui::commandButton(this, "Command3D2", QStringLiteral("Begenerálás"), 6240, 975, 1800);
    Command3D3 = dz::ui::commandButton(this, "Command3D3", QStringLiteral("Legtöbbször"), 6240, 1455, 1800);
    Command3D4 = dz::ui::commandButton(this, "Command3D4", QStringLiteral("Nemhúzottak"), 6240, 1935, 1800);
    Label2 = greyLabel(this, "Label2", 6240, 2415, 1800);
    if (p_.lifePath) {
        if (p_.hasLeastCheck()) {
            SSCheck1 = new QCheckBox(this);
            SSCheck1->setObjectName(QStringLiteral("SSCheck1"));
            dz::ui::placeTwips(SSCheck1, 6240, 2865, 255, 285);
        }
        SSCommand1 = dz::ui::commandButton(this, "SSCommand1", p_.lifePath->caption,
                                           p_.hasLeastCheck() ? 6520 : 6240, 2820, p_.hasLeastCheck() ? 1520 : 1800);
        connect(SSCommand1, &QPushButton::clicked, this, &SubsetWindow::SSCommand1_Click);
    }
    Command3D5 = dz::ui::commandButton(this, "Command3D5", QStringLiteral("Kilép"), 6240, 4905, 1800);
    // A count-in leaves the pages, the lists and the close box (which stops it) live.
    job_ = new dz::ui::JobGate(this);
    job_->hold({Command3D1, Command3D2, Command3D3, Command3D4, SSCommand1, Command3D5});
    if (!p_.latestFile.isEmpty()) {
        Label3 = greyLabel(this, "Label3", 120, 5340, 2400);
        Label3->setFont(fixed);
    }

    Option1 = new dz::ui::OptionGroup(this);
    for (int i = 0; i < p_.pageCount; ++i) {
        auto* b = new dz::ui::OptionButton(QString::number(i + 1), this);
        b->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        dz::ui::placeTwips(b, 8160 + 720 * i, 120, 660, 285);
        Option1->add(b);
    }
    connect(Option1, &dz::ui::OptionGroup::optionClicked, this, &SubsetWindow::Option1_Click);

    connect(Command3D1, &QPushButton::clicked, this, &SubsetWindow::Command3D1_Click);
    connect(Command3D2, &QPushButton::clicked, this, &SubsetWindow::Command3D2_Click);
    connect(Command3D3, &QPushButton::clicked, this, &SubsetWindow::Command3D3_Click);
    connect(Command3D4, &QPushButton::clicked, this, &SubsetWindow::Command3D4_Click);
    connect(Command3D5, &QPushButton::clicked, this, &SubsetWindow::Command3D5_Click);
    if (List3 && p_.leastDrawn == LeastDrawn::Fallback)
        connect(List3, &dz::ui::ListBox::keyTyped, this, &SubsetWindow::List3_KeyPress);

    Form_Load();
    for (int i = 0; i < int(List2.size()); ++i) {
        connect(List2[size_t(i)], &dz::ui::ListBox::keyTyped, this, [this, i](int c) { List2_KeyPress(i, c); });
        connect(List2[size_t(i)], &dz::ui::ListBox::itemDoubleClicked, this, [this, i](int) { List2_DblClick(i); });
        if (p_.pageHints == PageHints::RowCount) {
            dz::ui::ListBox* l = List2[size_t(i)];
            dz::ui::onHover(l, [l] { l->setToolTip(dz::str(l->count())); });
        }
    }
    dz::ui::nameControls(this);
}

void SubsetWindow::open(QWidget* owner, const SubsetProfile& profile) {
    QPointer<SubsetWindow>& slot = loadedWindows()[profile.counterFile];
    showKept(slot, [&] { return new SubsetWindow(profile, owner); });
}

SubsetWindow* SubsetWindow::instance(const SubsetProfile& profile) {
    return loadedWindows().value(profile.counterFile).data();
}

bool SubsetWindow::counting() const { return job_->running(); }

dz::ui::ListBox* SubsetWindow::lifePathList() const { return p_.pageCount > 0 ? List2.back() : List3; }

QString SubsetWindow::file(const QString& name) const { return dz::programFile(name); }

void SubsetWindow::Form_Load() {
    dz::ui::BusyCursor busy;
    for (int i = 1; i < p_.list2Count(); ++i) {
        auto* l = new dz::ui::ListBox(this);
        l->setObjectName(QStringLiteral("List2(%1)").arg(i));
        l->setGeometry(List2[0]->geometry());
        l->setFont(List2[0]->font());
        l->hide();
        List2.push_back(l);
    }
    if (p_.pageCount > 0) Option1->setChosen(0);

    const auto lines = dz::readLines(file(p_.listFile));
    if (!lines) return;
    List1->setItems(*lines);
    QString hint = dz::str(List1->count());
    if (p_.loadHint == LoadHint::RowsAndBlank) hint += QLatin1Char(' ');
    if (p_.loadHint != LoadHint::RowsOnceLatestRead) List1->setToolTip(hint);

    if (p_.leastDrawn == LeastDrawn::Pages) {
        const auto least = dz::readLines(file(p_.leastFile));
        if (!least) return;
        for (int page = 0, at = 0; page < p_.pageCount && at < least->size(); ++page, at += dz::kRowLimit)
            List2[size_t(page)]->setItems(least->mid(at, dz::kRowLimit));
        for (int page = 0; page < 2 && page < int(List2.size()); ++page)
            List2[size_t(page)]->setToolTip(dz::str(List2[size_t(page)]->count()) + QLatin1Char(' '));
        if (auto* b = option(2)) b->setEnabled(false);
    }
    if (!Label3) return;
    const auto latest = dz::readLines(file(p_.latestFile));
    if (!latest) return;
    Label3->setText(latest->value(0).left(qsizetype(dz::kDrawLineKept)));  // a label shows a key, not a book
    if (p_.loadHint == LoadHint::RowsOnceLatestRead) List1->setToolTip(hint);
}

void SubsetWindow::saveLines(const QString& name, const QStringList& lines) {
    const QString path = file(name);
    if (!dz::writeOwnLines(path, lines)) critical(this, dz::saveFailedMessage(path));
}

void SubsetWindow::saveBytes(const QString& name, const std::string& bytes) {
    const QString path = file(name);
    if (!dz::writeOwnBytes(path, bytes)) critical(this, dz::saveFailedMessage(path));
}

bool SubsetWindow::loadCounter(CounterFile& counter, const QString& missing) {
    // a file of the wrong size is not a counter file: as if it were not generated
    if (CounterFile::load(file(p_.counterFile), p_.k, counter) == CounterFile::Status::Ok) return true;
    critical(this, missing + QLatin1Char('\r') + firstRun());
    return false;
}

SharedCounter SubsetWindow::loadShared(const QString& missing) {
    auto counter = std::make_shared<CounterFile>();
    if (!loadCounter(*counter, missing)) return nullptr;
    return counter;
}

void SubsetWindow::Command3D1_Click() {
    if (!Check3D1->isChecked()) {
        critical(this, QStringLiteral("Ha valóban törölni akar, akkor a jelölő négyzetet jelölje be !"));
        return;
    }
    if (dz::ui::message(this, p_.regenQuestion, dz::ui::Icon::Question, title(), dz::ui::Buttons::OkCancel) ==
        dz::ui::Answer::Cancel)
        return;
    dz::ui::BusyCursor busy;
    const QString path = file(p_.counterFile);
    if (!dz::writeOwnBytes(path, zeroedCounterFile(p_.k))) {
        critical(this, dz::saveFailedMessage(path));
        return;
    }
    Label1->setText(QString::number(p_.records() + 1));
}

void SubsetWindow::Command3D2_Click() {
    if (job_->running()) return;
    CounterFile counter;
    const QString path = file(p_.counterFile);
    if (!loadCounter(counter, p_.countInMissing)) return;
    const auto draws = dz::DrawFile::load(file(p_.drawFile));
    if (!draws) {
        critical(this, p_.drawFileMissing);
        return;
    }
    stopRequested_ = false;
    // The count runs on a worker thread while the window is redrawn and answers; its buttons do
    // nothing meanwhile, and the close box stops the run (the file then stays as it was).
    const bool follow = p_.countIn == CountInLabel::FollowsDraws;
    CountInResult r;
    job_->run([&] {
        QElapsedTimer slice;
        slice.start();
        r = countIn(counter, *draws, [&](std::string_view key) {
            if (follow && !key.empty() && slice.elapsed() >= 20) {
                const QString shown = QString::fromLatin1(key.data(), qsizetype(key.size()));
                QMetaObject::invokeMethod(Label2, [this, shown] { Label2->setText(shown); }, Qt::QueuedConnection);
                slice.restart();
            }
            return !stopRequested_.load(std::memory_order_relaxed);
        });
    });
    if (!r.stopped) {
        if (r.changed && !counter.save(path)) critical(this, dz::saveFailedMessage(path));
        if (p_.countIn == CountInLabel::FollowsDraws && r.counted > 0) Label2->setText(QString::fromStdString(r.lastCountedKey));
    }
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}

void SubsetWindow::showPageState(int page, bool hasRows) {
    List2[size_t(page)]->setEnabled(hasRows);
    if (auto* b = option(page)) b->setEnabled(hasRows);
}

void SubsetWindow::Command3D3_Click() {
    const SharedCounter counter = loadShared(p_.mostDrawnMissing);
    if (!counter) return;
    dz::ui::BusyCursor busy;
    MostDrawnResult r = mostDrawn(counter, p_);
    List1->setSource(r.rows);
    if (Label3) Label3->setText(r.latestKey);
    saveBytes(p_.listFile, mostDrawnFileBytes(*counter, r.rows->records()));
    const QString hint = mostDrawnHint(r, p_);
    if (p_.leastDrawn == LeastDrawn::Pages) {
        List1->setToolTip(hint);
        long long total = 0;
        for (int page = 0; page < p_.pageCount; ++page)
            if (page < 2) List2[size_t(page)]->setSource(r.leastPages[size_t(page)]);
            else List2[size_t(page)]->clear();
        for (int page = p_.pageCount - 1; page >= 0; --page) {
            dz::ui::ListBox* l = List2[size_t(page)];
            showPageState(page, l->count() > 0);
            if (l->count() > 0) l->setToolTip(dz::str(l->count()) + QLatin1Char(' '));
            total += l->count();
        }
        Label2->setText(QString::number(total));
        saveBytes(p_.leastFile, mostDrawnFileBytes(*counter, r.leastPages[0]->records()) +
                                    mostDrawnFileBytes(*counter, r.leastPages[1]->records()));
    }
    if (Label3) saveLines(p_.latestFile, {Label3->text()});
    List1->setToolTip(hint);
}

void SubsetWindow::Command3D4_Click() {
    const SharedCounter counter = loadShared(p_.neverDrawnMissing);
    if (!counter) return;
    dz::ui::BusyCursor busy;
    const NeverDrawnRules& rules = p_.neverDrawn;
    if (p_.pageCount == 0) {
        if (rules.view == NeverDrawnRules::View::ShowFirstPage) {
            if (List3) List3->hide();
            List2[0]->show();
        }
        const NeverDrawnResult r = neverDrawn(counter, p_);
        List2[0]->setSource(r.pages[0]);
        Label2->setText(QString::number(r.total));
        return;
    }
    if (rules.start == NeverDrawnRules::Start::SearchFirst && !anyNeverDrawn(*counter)) {
        Label2->setText(QStringLiteral("0"));
        return;
    }
    if (rules.start == NeverDrawnRules::Start::ClearLabel2) Label2->clear();
    const NeverDrawnResult r = neverDrawn(counter, p_);
    if (rules.view == NeverDrawnRules::View::ShowFirstPage) {
        for (auto* l : List2) {
            l->clear();
            l->hide();
        }
        Option1->clear();
        List2[0]->show();
        Option1->setChosen(0);
    }
    for (int page = 0; page < p_.pageCount; ++page) List2[size_t(page)]->setSource(r.pages[size_t(page)]);
    // Only the pages change state: the life path list stays usable.
    for (int page = p_.pageCount - 1; page >= 0; --page) showPageState(page, List2[size_t(page)]->count() > 0);
    Label2->setText(QString::number(r.total));
    if (p_.leastDrawn != LeastDrawn::Fallback) return;
    if (r.total > 0) {
        Command3D4->setText(QStringLiteral("Legkevesebb."));
        return;
    }
    // Every subset drawn: one pass for the subsets that rank below the whole most-drawn list.
    const SubsetRowsPtr least = leastDrawn(counter, List1->count() > 0 ? List1->item(0) : QString(), List3->sorted());
    List3->setSource(least);
    List3->show();
    for (int page = 0; page < 2 && page < int(List2.size()); ++page) List2[size_t(page)]->hide();
    Label2->setText(QString::number(List3->count()));
    if (least->count() > 0) Command3D4->setText(QStringLiteral("Legkevesebb."));
}

void SubsetWindow::SSCommand1_Click() {
    if (!p_.lifePath) return;
    const LifePathRules& rules = *p_.lifePath;
    dz::ui::ListBox* source = List1;
    QString noRow = rules.noSelection;
    if (SSCheck1 && SSCheck1->isChecked()) {
        // hetes keeps its least drawn on pages 0 and 1, hatos in List3
        source = p_.leastDrawn == LeastDrawn::Pages ? List2[Option1->chosen() == 1 ? 1 : 0] : List3;
        noRow = rules.noSelectionLeast;
    }
    const int row = source->listIndex();
    if (row < 0) {
        critical(this, noRow);
        return;
    }
    const QString numbers = lifePathNumberText(source->item(row), p_.k);
    const auto draws = dz::DrawFile::load(file(p_.drawFile));
    if (!draws) {
        critical(this, p_.drawFileMissing);
        return;
    }
    dz::ui::BusyCursor busy;
    if (rules.clearsLabel2) Label2->clear();
    dz::ui::ListBox* target = lifePathList();
    target->setSource(lifePath(*draws, p_, numbers).rows);
    if (p_.pageCount > 0) {
        for (auto* l : List2) l->hide();
        Option1->clear();
        target->show();
        if (List3) List3->hide();
    } else {
        List2[0]->hide();
        target->show();
    }
}

void SubsetWindow::Option1_Click(int index) {
    if (index < 0 || index >= int(List2.size())) return;
    // hatos leaves its life path list in view: the way back from it is the double click
    const int hidden = backByDoubleClick(p_) ? p_.pageCount : int(List2.size());
    for (int i = 0; i < hidden; ++i) List2[size_t(i)]->hide();
    List2[size_t(index)]->show();
}

void SubsetWindow::List2_KeyPress(int index, int charCode) {
    if (charCode == 'L' || charCode == 'l') exportList(this, List2[size_t(index)]->items());
}

void SubsetWindow::List3_KeyPress(int charCode) {
    if (charCode == 'L' || charCode == 'l') exportList(this, List3->items());
}

void SubsetWindow::List2_DblClick(int index) {
    if (!backByDoubleClick(p_) || index != p_.lifePathIndex()) return;
    for (int i = 0; i <= p_.lifePathIndex(); ++i) {
        List2[size_t(i)]->show();
        Option1->setChosen(i);  // runs the option's handler; an option the window lacks is skipped
    }
    List2[size_t(p_.lifePathIndex())]->hide();
    if (List3) List3->show();
}

void SubsetWindow::Command3D5_Click() { hide(); }

void SubsetWindow::closeEvent(QCloseEvent* e) {
    if (job_->running()) {
        // The count-in stops first and leaves its file as it was; the window closes after it.
        stopRequested_ = true;
        closeAfterRun_ = true;
        e->ignore();
        return;
    }
    KeptDialog::closeEvent(e);
}

void SubsetWindow::reject() {
    if (job_->running()) return;
    KeptDialog::reject();
}

}  // namespace dz::drawstat
