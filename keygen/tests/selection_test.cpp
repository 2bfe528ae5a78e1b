// keygen's selection file "jeloles1.txt".
#include "keygen/core/groups.h"
#include "keygen/core/selectionfile.h"
#include "common/tests/fedfile.h"
#include "common/tests/testutil.h"

#include <gtest/gtest.h>

using namespace dz::keygen;

namespace {
dz::NumberSelection selectionOf(std::initializer_list<int> ns) {
    dz::NumberSelection s;
    for (int n : ns) s.set(n, true);
    return s;
}
}  // namespace

TEST(SelectionFile, WritesTheMarkerAndOneLineExactly) {
    dz::testing::ProgramFolderFixture f;
    ASSERT_TRUE(writeSelection(f.path("jeloles1.txt"), selectionOf({11, 3, 7})));
    EXPECT_EQ(f.read("jeloles1.txt"), "kulcs1\r\n03 07 11 \r\n");
    ASSERT_TRUE(writeSelection(f.path("none.txt"), {}));
    EXPECT_EQ(f.read("none.txt"), "kulcs1\r\n\r\n");
    ASSERT_TRUE(writeSelection(f.path("all.txt"), selectionOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20})));
    EXPECT_EQ(f.read("all.txt"), "kulcs1\r\n01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 \r\n");
}

TEST(SelectionFile, RoundTrip) {
    dz::testing::ProgramFolderFixture f;
    const auto sel = selectionOf({1, 5, 12, 20});
    ASSERT_TRUE(writeSelection(f.path("s.txt"), sel));
    const SelectionLoad load = readSelection(f.path("s.txt"));
    EXPECT_EQ(load.status, SelectionStatus::Loaded);
    EXPECT_EQ(load.mask, sel.mask());
    ASSERT_TRUE(writeSelection(f.path("e.txt"), {}));
    EXPECT_EQ(readSelection(f.path("e.txt")).mask, 0u);
}

TEST(SelectionFile, ReadsWhatOtherHandsWrite) {
    struct Case {
        const char* name;
        std::string bytes;
        SelectionStatus status;
        uint32_t mask;
    };
    const Case cases[] = {
        {"no blank after the last number", "kulcs1\r\n03 07 11\r\n", SelectionStatus::Loaded, (1u << 3) | (1u << 7) | (1u << 11)},
        {"LF line ends, empty lines before the marker", "\n\nkulcs1\n05 \n", SelectionStatus::Loaded, 1u << 5},
        {"every line after the marker", "kulcs1\r\n01 \r\n\r\n02 21 00 \r\n", SelectionStatus::Loaded, (1u << 1) | (1u << 2)},
        {"a key file is no selection", " 01 02 03 \r\n", SelectionStatus::WrongMarker, 0},
        {"an empty file", "", SelectionStatus::WrongMarker, 0},
        {"the grouped file's marker", "kulcs2\r\n 1 \r\n", SelectionStatus::WrongMarker, 0},
        {"stray bytes", std::string("kulcs1\r\n\xff\x00zz 04", 15), SelectionStatus::Loaded, 1u << 4},
    };
    dz::testing::ProgramFolderFixture f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.write("x.txt", c.bytes);
        const SelectionLoad load = readSelection(f.path("x.txt"));
        EXPECT_EQ(load.status, c.status);
        EXPECT_EQ(load.mask, c.mask);
    }
    EXPECT_EQ(readSelection(f.path("missing.txt")).status, SelectionStatus::Unopenable);
    EXPECT_EQ(wrongSelectionMessage(), QStringLiteral("Ez nem kijelölés mentés file !"));
}

// Selection files without end: what their first lines hold counts, no more of the file is read.
TEST(SelectionFile, EndlessFilesReadOnlyTheirHead) {
    dz::testing::ProgramFolderFixture f;
    for (const std::string& filler : {std::string("x"), std::string("\r\n")}) {
        {
            dz::testing::FedFile feed(f.path("jeloles1.txt"), "kulcs1\r\n03 07 11 \r\n", filler);
            const SelectionLoad s = readSelection(f.path("jeloles1.txt"));
            EXPECT_EQ(s.status, SelectionStatus::Loaded);
            EXPECT_EQ(s.mask, (1u << 3) | (1u << 7) | (1u << 11));
            EXPECT_LT(feed.fed(), uint64_t(dz::kStartFileLines) * (dz::kStartLineBytes + 2) + (1 << 17));
        }
        {
            dz::testing::FedFile feed(f.path("jeloles2.txt"), "kulcs2\r\n", filler);
            GroupChoice c;
            EXPECT_EQ(loadGroupedSelection(f.path("jeloles2.txt"), c).status, LoadStatus::Loaded);
            EXPECT_LT(feed.fed(), uint64_t(dz::kStartFileLines) * (dz::kStartLineBytes + 2) + (1 << 17));
        }
    }
}
