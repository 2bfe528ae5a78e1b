// The program-level state that keygen's and keygengroup's windows share: the chosen numbers,
// the game type and the maximum overlap as the last generation or key load left them, and
// keygengroup's groups with the limit tables of the last accepted confirmation.
#pragma once
#include "keygen/core/generator.h"
#include "keygen/core/groups.h"
#include "common/core/selection.h"

namespace dz::keygen {

struct ProgramState {
    explicit ProgramState(bool isGrouped = false) : grouped(isGrouped) {}

    const bool grouped;
    dz::NumberSelection chosen;  // keygen's chosen flags
    GroupChoice groups;          // keygengroup's: its chosen flags are the program's
    GroupLimits limits;          // changed only by an accepted "Kiválaszt"
    int gameType = 0;            // the test uses the type of the last generation or load
    int maxOverlap = 0;

    NumberMask chosenMask() const;
    int chosenCount() const;
    // The key loader's rewrite of the chosen flags (memberships stay as they are).
    void setChosen(NumberMask mask);
};

}  // namespace dz::keygen
