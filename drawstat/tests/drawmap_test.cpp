#include "drawstat/core/drawmap.h"
#include "common/core/synth.h"

#include <gtest/gtest.h>

namespace {

TEST(DrawMap, LineAndTooltip) {
    const int nums[8] = {2, 5, 7, 11, 12, 15, 18, 20};
    const std::string rec = dz::drawRecordLine(2010, 12, 31, 264, nums, 3);
    const auto f = dz::DrawFile::fromBytes("20101231 263 01 02 03 04 05 06 07 08 01\r\n" + rec + "\r\n");
    const QStringList map = dz::drawstat::drawMap(f, 1);
    ASSERT_EQ(map.size(), 1);  // the first draw of the file is never on the map
    EXPECT_EQ(map[0], "20101231 264   _o__o_o___oo__o__o_o");
    EXPECT_EQ(map[0].size(), 35);
    EXPECT_EQ(dz::drawstat::mapTooltip(map[0]), "02 05 07 11 12 15 18 20 ");
    EXPECT_EQ(dz::drawstat::mapTooltip(map[0]).size(), 24);
}

TEST(DrawMap, WindowStartAndOddLines) {
    std::string bytes;
    const int nums[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 1; i <= 5; ++i) bytes += dz::drawRecordLine(2011, 1, 1, i, nums, 1) + "\r\n";
    bytes += "x\r\n20110101 007 00 21 20\r\n";
    const QStringList map = dz::drawstat::drawMap(dz::DrawFile::fromBytes(bytes), 4);
    EXPECT_EQ(map, (QStringList{"20110101 005   oooooooo____________", "x   ____________________",
                                "20110101 007   ___________________o"}));
    // The tooltip reads the marks at the line's end, whatever the key's width.
    EXPECT_EQ(dz::drawstat::mapTooltip(map[1]), "");
    EXPECT_EQ(dz::drawstat::mapTooltip(map[2]), "20 ");
    EXPECT_EQ(dz::drawstat::mapTooltip("short"), "");
    EXPECT_TRUE(dz::drawstat::drawMap(dz::DrawFile::fromBytes(""), 1).isEmpty());
}

}  // namespace
