#include "keyeval/ui/winningsrun.h"

#include "keyeval/ui/chartwindow.h"
#include "keyeval/ui/evaluationwindow.h"

#include "keyeval/core/evalperiod.h"
#include "common/core/textfmt.h"
#include "keyeval/core/winnings.h"
#include "common/platform/widgets.h"

#include <QLabel>
#include <QLineEdit>

namespace dz::keyeval {

void winningsRun(EvaluationWindow& w) {
    if (!w.keyFileOpenable()) return;
    w.List8->clear();
    const auto settings = w.prepareRun();
    if (!settings) return;
    // Neither build tells of a missing draw file here: the run then ends quietly.
    w.startRun(*settings, RunKind::Winnings);
}

void showWinnings(EvaluationWindow& w, const RunOutcome& o) {
    const WinningsResult& r = o.money;
    w.writeDrawNumbers(o, false);
    if (r.badLine) {
        // A reread per draw meets the bad line in the first draw: no result is listed and the
        // money labels keep the last run's values.
        w.showBadKeyLine(r.recordsRead);
        return;
    }
    w.writeDrawNumbers(o, true);
    w.List8->setSource(o.moneyLines);
    w.List8->scrollToBottom();
    w.Label14->setText(QString::number(r.recordsRead));
    w.Label16->setText(str(r.stake));
    w.Label18->setText(str(r.winnings));
    w.Label21->setText(str(r.balance));
}

void winningsChart(EvaluationWindow& w) {
    if (w.List8->count() == 0) return;
    // The values come from the run's records, as the list shows them.
    if (const auto* results = dynamic_cast<const ResultLines*>(w.List8->source())) showChart(&w, results->nets());
}

}  // namespace dz::keyeval
