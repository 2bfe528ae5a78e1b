// daystat: drawstat's code over the partial-day draw file, with its own names, texts and rules.
#pragma once
#include "drawstat/core/state.h"
#include "drawstat/core/subsetprofile.h"

namespace dz::daystat {

dz::drawstat::Profile profile();

// daystat's subset window of size k (4..8): drawstat's window over "vevud.dat" and the ".dat"
// files, without life path, latest-draw label or least-drawn lists.
dz::drawstat::SubsetProfile subsetProfile(int k);

}  // namespace dz::daystat
