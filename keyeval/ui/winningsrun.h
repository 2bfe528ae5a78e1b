// The evaluation window's money buttons: "Kiértékelés hozamra" fills the per-draw result list and
// the stake, winnings and balance labels; "Grafikon" charts that list.
#pragma once

namespace dz::keyeval {

class FOKEP;

// "Kiértékelés hozamra" over the window's key, period and extra numbers.
void winningsRun(FOKEP& w);
// "Grafikon": the values of the result list in the chart window, shown modally; nothing when the
// list is empty.
void winningsChart(FOKEP& w);

}  // namespace dz::keyeval
