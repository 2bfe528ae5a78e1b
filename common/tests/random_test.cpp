// The one random source: repeatable when seeded, fresh when reseeded, draws always in 1..n.
#include "common/core/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <limits>
#include <random>
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

// The engine is the standard 64-bit Mersenne twister: the same numbers for every seed, across
// blocks, whether drawn one by one or read off the block and skipped.
TEST(Random, EngineIsTheStandardMersenneTwister) {
    Mt64 byDefault;
    for (int i = 1; i < 10000; ++i) byDefault();
    EXPECT_EQ(byDefault(), 9981545732273789042ull);  // the standard's check value
    for (uint64_t seed : {0ull, 1ull, 2026ull, 0x5EEDull, ~0ull}) {
        std::mt19937_64 std(seed);
        Mt64 ours(seed);
        Random r(seed);
        for (int i = 0; i < 1000; ++i) {
            const uint64_t x = std();
            ASSERT_EQ(ours(), x) << seed << " at " << i;
            ASSERT_EQ(r.next(), Random::fraction(x)) << seed << " at " << i;
        }
        // Read ahead in the block, then take what was read: the sequence goes on unchanged, across
        // blocks too.
        for (int round = 0; round < 12; ++round) {
            const std::span<const uint64_t> b = ours.block();
            ASSERT_FALSE(b.empty());
            const size_t n = std::min<size_t>(100, b.size());
            for (size_t i = 0; i < n; ++i) ASSERT_EQ(Mt64::temper(b[i]), std()) << seed;
            ours.advance(n);
        }
        // Reading without taking moves nothing; taking more than is left takes the block whole.
        const size_t left = ours.block().size();
        EXPECT_EQ(ours.block().size(), left);
        for (size_t i = 0; i < left; ++i) std();
        ours.advance(left + 7);
        EXPECT_EQ(ours.block().size(), Mt64::kSize);
        EXPECT_EQ(ours(), std());
    }
    EXPECT_EQ(Random(42).next(), 0x1.0p-53 * double(std::mt19937_64(42)() >> 11));
}

// Only the class's own next() lets a loop draw from its engine.
TEST(Random, PlainOnlyWithItsOwnNext) {
    Random own;
    FixedSource other(0.5);
    EXPECT_TRUE(own.plain());
    EXPECT_FALSE(other.plain());
    EXPECT_FALSE(static_cast<Random&>(other).plain());
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
