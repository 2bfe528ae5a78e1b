// The subset windows' lists over records: every line, its order, the list files and the exports
// as the windows made them from strings, in drawstat's five windows.
#include "core/state.h"
#include "core/subsetprofile.h"
#include "tests/subsetlists_ref.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

using namespace drawstat;

TEST(SubsetLines, EveryListAsTheStringsWere) {
    dz::testing::ProgramFolderFixture folder;
    resetState();
    dz::ui::seam::enable();
    const std::string draws = drawstat::testing::syntheticDraws(300);
    for (int k = 4; k <= 8; ++k) {
        const SubsetProfile p = drawstatSubsetProfile(k);
        folder.write(p.drawFile, draws);
        for (const auto& [what, bytes] : drawstat::testing::counterCases(k, draws)) {
            folder.write(p.counterFile, bytes);
            SubsetWindow w(p);
            drawstat::testing::expectWindowListsAsBefore(w, what);
        }
    }
    resetState();
}
