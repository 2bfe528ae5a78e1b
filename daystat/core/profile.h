// daystat: drawstat's code over the partial-day draw file, with its own names, texts and rules.
#pragma once
#include "core/state.h"
#include "core/subsetprofile.h"

namespace daystat {

drawstat::Profile profile();

// daystat's subset window of size k (4..8): drawstat's window over "vevud.dat" and the ".dat"
// files, without life path, latest-draw label or least-drawn lists.
drawstat::SubsetProfile subsetProfile(int k);

}  // namespace daystat
