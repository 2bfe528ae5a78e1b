// The subset windows' lists over records: every line, its order, the list files and the exports
// as the windows made them from strings, in drawstat's five windows.
#include "drawstat/core/state.h"
#include "drawstat/core/subsetprofile.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "drawstat/tests/support/subsetlists_ref.h"
#include "common/tests/testutil.h"

#include <gtest/gtest.h>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

TEST(SubsetLines, EveryListAsTheStringsWere) {
    dz::testing::ProgramFolderFixture folder;
    resetState();
    dz::ui::seam::enable();
    dz::drawstat::testing::expectEveryWindowAsBefore([](int k) { return drawstatSubsetProfile(k); });
    resetState();
}
