// The subset windows' lists over records: every line, its order, the list files and the exports
// as the windows made them from strings, in daystat's five windows.
#include "core/profile.h"
#include "core/state.h"
#include "core/subsetprofile.h"
#include "tests/support/drawstatsupport.h"
#include "tests/subsetlists_ref.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

using namespace drawstat;

TEST(DaystatSubsetLines, EveryListAsTheStringsWere) {
    dz::testing::ProgramFolderFixture folder;
    resetState(daystat::profile());
    dz::ui::seam::enable();
    drawstat::testing::expectEveryWindowAsBefore([](int k) { return daystat::subsetProfile(k); });
    resetState();
}
