// The subset windows' lists over records: every line, its order, the list files and the exports
// as the windows made them from strings, in drawstat's five windows.
#include "core/state.h"
#include "core/subsetprofile.h"
#include "tests/support/drawstatsupport.h"
#include "tests/subsetlists_ref.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

using namespace drawstat;

TEST(SubsetLines, EveryListAsTheStringsWere) {
    dz::testing::ProgramFolderFixture folder;
    resetState();
    dz::ui::seam::enable();
    drawstat::testing::expectEveryWindowAsBefore([](int k) { return drawstatSubsetProfile(k); });
    resetState();
}
