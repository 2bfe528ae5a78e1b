#include "winningsrun.h"

#include "chartwindow.h"
#include "fokep.h"

#include "core/evalperiod.h"
#include "core/textfmt.h"
#include "core/winnings.h"
#include "platform/dialogs.h"
#include "platform/services.h"
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

    // The run reads the key once and evaluates every draw on all cores; even a full key over the
    // whole history ends within a few seconds, so it runs to its end under the hourglass.
    ui::BusyCursor hourglass;
    const auto draws = w.drawFile();
    if (!draws) return;  // neither build tells of a missing draw file here
    const auto in = gatherInput(*settings, draws);
    if (!in) return;  // the key file went away since the key check
    if (!in->span.reached) {
        w.Label14->setText(QString::number(in->span.recordsRead));
        return;
    }
    if (in->key->badLine) {
        // A reread per draw meets the bad line in the first draw: no result is listed and the
        // money labels keep the last run's values.
        ui::message(&w, QStringLiteral("Hibás kulcsformátum !"), ui::Icon::Critical, QString::fromLatin1(kTitle));
        return;
    }
    const WinningsResult r = evaluateWinnings(*in);

    boxesFromKey(w, {1, 2, 3, 8}, drawKey(draws->line(in->span.first)));
    if (in->span.any) boxesFromKey(w, {4, 5, 6, 9}, drawKey(draws->line(in->span.last)));
    w.List8->setItems(resultLines(*draws, r));
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
