// The subset windows' lists over records: every line, its order, the list files and the exports
// as the windows made them from strings, in daystat's five windows.
#include "daystat/core/profile.h"
#include "drawstat/core/state.h"
#include "drawstat/core/subsetprofile.h"
#include "drawstat/tests/support/drawstatsupport.h"
#include "drawstat/tests/support/subsetlists_ref.h"
#include "common/tests/testutil.h"

#include <gtest/gtest.h>

using namespace dz::drawstat;
using namespace dz::drawstat::testing;

TEST(DaystatSubsetLines, EveryListAsTheStringsWere) {
    dz::testing::ProgramFolderFixture folder;
    resetState(dz::daystat::profile());
    dz::ui::seam::enable();
    dz::drawstat::testing::expectEveryWindowAsBefore([](int k) { return dz::daystat::subsetProfile(k); });
    resetState();
}
