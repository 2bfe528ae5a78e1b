#include "keygen/core/state.h"

#include <bit>

namespace dz::keygen {

NumberMask ProgramState::chosenMask() const { return grouped ? groups.chosenMask() : chosen.mask(); }

int ProgramState::chosenCount() const { return grouped ? groups.count : chosen.count(); }

void ProgramState::setChosen(NumberMask mask) {
    mask &= kAllNumbers;
    if (!grouped) {
        chosen.setMask(mask);
        return;
    }
    for (int n = 1; n <= 20; ++n) groups.chosen[n] = (mask >> n) & 1u;
    groups.count = std::popcount(mask);
}

}  // namespace dz::keygen
