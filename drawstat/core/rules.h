// The switches by which one build of drawstat's analyses differs from another (daystat runs the
// same engines over the partial-day file with rules of its own).
#pragma once

namespace dz::drawstat {

// The rules in which a build's analyses differ; the defaults are drawstat's.
struct Rules {
    bool analysesNeedStart = true;     // the analysis menu items and buttons wait for Start
    bool startRepeats = false;         // Start reads the file again at every choice (daystat: after a new cut)
    bool classLists = true;            // identity and runs fill class lists; sums, restore, a click on a class line
    bool identityListsAll = false;     // identity listing start 0 while W <= 32722, else W + 12 (drawstat: W + 12)
    bool runsFromWindow = false;       // runs: draws below W are left out of rows and counts
    bool runDigitFirst = false;        // the run row's mark: "4*" (drawstat "*4")
    bool backtestFromWindow = false;   // back-test: draws below W left out of tally and list; no whole-history box
    bool randomKeepsExtras = false;    // "Véletlen" clears the number cells only
    bool lifePathListsAll = false;     // the life path lists every appearance
    bool intervalTallyJoined = false;  // interval pattern row without the blank before its tally
    bool fullListAll = false;          // "Tételes" lists every line and stays at its top
};

}  // namespace dz::drawstat
