// The evaluation window's money buttons: "Kiértékelés hozamra" fills the per-draw result list and
// the stake, winnings and balance labels; "Grafikon" charts that list.
#pragma once

namespace dz::keyeval {

class EvaluationWindow;
struct RunOutcome;

// "Kiértékelés hozamra" over the window's key, period and extra numbers: the checks it shares
// with "Kezdés", then the run on the window's worker thread.
void winningsRun(EvaluationWindow& w);
// The end of that run: the result list, the period boxes, Label14 and the money labels.
void showWinnings(EvaluationWindow& w, const RunOutcome& o);
// "Grafikon": the values of the result list in the chart window, shown modally; nothing when the
// list is empty.
void winningsChart(EvaluationWindow& w);

}  // namespace dz::keyeval
