// The one random source: repeatable when seeded, fresh when reseeded, draws always in 1..n.
#include "core/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace dz;

namespace {
std::vector<double> take(Random& r, int n) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(r.next());
    return v;
}

// A source that always returns one fraction.
struct FixedSource : Random {
    double value;
    explicit FixedSource(double v) : value(v) {}
    double next() override { return value; }
};
}  // namespace

TEST(Random, SeededSequencesRepeat) {
    Random a(42), b(42), c(43);
    const auto va = take(a, 1000);
    EXPECT_EQ(va, take(b, 1000));
    EXPECT_NE(va, take(c, 1000));
    a.seed(42);
    EXPECT_EQ(take(a, 1000), va);
    for (double x : va) ASSERT_TRUE(x >= 0.0 && x < 1.0) << x;
    EXPECT_EQ(&programRandom(), &programRandom());
}

TEST(Random, ClockReseedsInARowDiffer) {
    Random a, b;
    a.reseedFromClock();
    const auto first = take(a, 8);
    a.reseedFromClock();
    const auto second = take(a, 8);
    b.reseedFromClock();
    EXPECT_NE(first, second);
    EXPECT_NE(take(b, 8), second);
}

TEST(Random, DrawNumberStaysInRange) {
    const double justBelowOne = std::nextafter(1.0, 0.0);
    for (int n : {1, 2, 3, 4, 5, 7, 19, 20, 21, 49, 90, 1000, 32736, 1 << 30}) {
        FixedSource top(justBelowOne), zero(0.0);
        EXPECT_EQ(top.drawNumber(n), n) << n;
        EXPECT_EQ(zero.drawNumber(n), 1) << n;
    }
    // A faulty source outside [0, 1) still gives 1..n.
    for (double bad : {1.0, 1.5, -0.25, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        FixedSource s(bad);
        const int x = s.drawNumber(20);
        EXPECT_TRUE(x >= 1 && x <= 20) << bad << " gave " << x;
    }
    // Int(Rnd * 20 + 1) over a real stream: every number comes, none outside.
    Random r(7);
    int seen[22] = {};
    for (int i = 0; i < 20000; ++i) {
        const int x = r.drawNumber(20);
        ASSERT_TRUE(x >= 1 && x <= 20) << x;
        ++seen[x];
    }
    for (int n = 1; n <= 20; ++n) EXPECT_GT(seen[n], 800) << n;
}
