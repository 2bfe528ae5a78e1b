// What tells keyevalday and keyeval apart: the draw file, its messages and the caption.
#pragma once
#include <QString>

namespace dz::keyeval {

struct Build {
    QString exeName;          // the program's file name, for the second-start refusal
    QString drawFile;         // in the program folder
    QString missingAtStart;   // the draw file cannot be opened at start (the program ends)
    QString missingOnRun;     // the draw file is missing when "Kezdés" runs; empty: a quiet end
    QString missingOnRunTitle;
    QString caption;
};

const Build& keyevalBuild();     // over the draw history file "vevud.txt"
const Build& keyevalDayBuild();  // over the partial-day draw file "vevud.dat"

}  // namespace dz::keyeval
