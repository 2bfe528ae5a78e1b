// daystat: drawstat's code over the partial-day draw file, with its own names, texts and rules.
#pragma once
#include "core/state.h"

namespace daystat {

drawstat::Profile profile();

}  // namespace daystat
