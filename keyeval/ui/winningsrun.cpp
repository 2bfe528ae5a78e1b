#include "winningsrun.h"

#include "chartwindow.h"
#include "fokep.h"

#include "core/evalperiod.h"
#include "core/textfmt.h"
#include "core/winnings.h"
#include "platform/widgets.h"

#include <QLabel>
#include <QLineEdit>

namespace dz::keyeval {

namespace {

// Rewrites four period boxes from a draw key, as "Kezdés" does after its run.
void boxesFromKey(FOKEP& w, std::array<int, 4> boxes, std::string_view key) {
    std::array<QString, 4> texts;
    for (size_t i = 0; i < 4; ++i) texts[i] = w.Text[size_t(boxes[i])]->text();
    fieldsFromKey(texts, key);
    for (size_t i = 0; i < 4; ++i) w.Text[size_t(boxes[i])]->setText(texts[i]);
}

}  // namespace

void winningsRun(FOKEP& w) {
    if (w.busy()) return;
    if (!w.keyFileOpenable()) return;
    w.List8->clear();
    const auto settings = w.prepareRun();
    if (!settings) return;
    // Neither build tells of a missing draw file here: the run then ends quietly.
    w.startRun(*settings, RunKind::Winnings);
}

void showWinnings(FOKEP& w, const RunOutcome& o) {
    const PeriodDraws& draws = *o.draws;
    const WinningsResult& r = o.money;
    // The boxes show the draw keys the run used (none in an empty period).
    if (o.span.any) boxesFromKey(w, {1, 2, 3, 8}, draws.key(o.span.first));
    if (r.badLine) {
        // A reread per draw meets the bad line in the first draw: no result is listed and the
        // money labels keep the last run's values.
        w.showBadKeyLine(r.recordsRead);
        return;
    }
    if (o.span.any) boxesFromKey(w, {4, 5, 6, 9}, draws.key(o.span.last));
    w.List8->setItems(o.moneyLines);
    w.List8->scrollToBottom();
    w.Label14->setText(QString::number(r.recordsRead));
    w.Label16->setText(str(r.stake));
    w.Label18->setText(str(r.winnings));
    w.Label21->setText(str(r.balance));
}

void winningsChart(FOKEP& w) {
    if (w.busy() || w.List8->count() == 0) return;
    showChart(&w, chartValues(w.List8->items()));
}

}  // namespace dz::keyeval
