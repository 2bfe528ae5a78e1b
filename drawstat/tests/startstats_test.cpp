// Start's tallies over a long file of mixed lines against a plain tally of every field: usual
// draws, repeated and zero fields, fields outside 0..20, short lines, and numbers that stop being
// drawn long before the end.
#include "drawstat/core/startstats.h"
#include "common/core/synth.h"
#include "common/tests/drawref.h"

#include <gtest/gtest.h>
#include <random>

TEST(StartStats, MixedLinesTallyAsEveryFieldCounted) {
    std::mt19937 g(1102);
    std::uniform_int_distribution<int> pick(0, 99);
    std::string bytes;
    for (int i = 1; i <= 3000; ++i) {
        // numbers 19 and 20 stop at line 700 and 2000; 18 is drawn only once, early
        const int top = i > 2000 ? 17 : i > 700 ? 19 : 20;
        std::vector<int> pool;
        for (int n = 1; n <= top; ++n)
            if (n != 18 || i == 5) pool.push_back(n);
        std::shuffle(pool.begin(), pool.end(), g);
        std::array<int, 8> d{};
        std::copy_n(pool.begin(), 8, d.begin());
        std::sort(d.begin(), d.end());
        const int kind = pick(g);
        if (kind < 4) d[3] = d[2];        // a number twice
        else if (kind < 7) d[0] = 0;      // a zero field
        else if (kind < 10) d[5] = 42;    // outside 0..20
        std::string line = dz::drawRecordLine(2010, 1, 1, i % 1000, d.data(), 1 + pick(g) % 4);
        if (kind == 10) line[20] = ' ';   // a field " 5"
        if (kind == 11) line.resize(22);  // a short line
        bytes += line + "\r\n";
    }
    std::array<long long, 21> freq{}, last{};
    long long n = 0;
    for (const auto& l : dz::testing::plainRead(bytes)) {
        ++n;
        for (int8_t v : l.record.num)
            if (v >= 0) {
                ++freq[size_t(v)];
                last[size_t(v)] = n;
            }
    }
    const auto s = dz::drawstat::computeStart(dz::DrawFile::fromBytes(bytes));
    EXPECT_EQ(s.drawCount, 3000);
    EXPECT_EQ(s.frequency, freq);
    EXPECT_EQ(s.lastAppearance, last);
    EXPECT_EQ(s.lastAppearance[18], 5);
}
