// The engine draws straight from a plain source's Mersenne engine, and through next() from any
// other source: both give the same keys, and leave the source at the same place.
#include "keygen/core/generator.h"
#include "keygen/core/groups.h"
#include "keygen/core/numberdraw.h"
#include "common/core/random.h"
#include "keygen/tests/scripted_random.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>

using namespace dz::keygen;
using dz::keygen::testing::firstNumbers;
using dz::keygen::testing::inputs;

namespace {

// A source whose fractions go through the virtual call: the engine cannot draw past it.
class Forwarding : public dz::Random {
public:
    using dz::Random::Random;
    double next() override { return dz::Random::next(); }
};

uint64_t hashOf(const std::vector<NumberMask>& masks) {
    uint64_t h = 1469598103934665603ull;
    for (NumberMask m : masks) h = (h ^ m) * 1099511628211ull;
    return h;
}

}  // namespace

// The whole-number draw gives the single-precision one's number at every step of it, at the
// edges of every twentieth, and anywhere.
TEST(DrawPath, NumberStepsAgreeWithTheFraction) {
    const NumberSteps& steps = NumberSteps::get();
    auto both = [&](uint64_t v) {
        const uint64_t x = v << 11 | 0x5A5;  // the low bits play no part
        ASSERT_EQ(steps(x), numberOf(dz::Random::fraction(x))) << v;
    };
    constexpr uint64_t kPast = uint64_t(1) << 53;
    for (int n = 2; n <= 20; ++n) {
        const uint64_t s = steps.least(n);
        ASSERT_GT(s, steps.least(n - 1));
        for (uint64_t d = 0; d < 3; ++d) {
            both(s + d);
            both(s - 1 - d);
        }
        const uint64_t edge = (uint64_t(n - 1) * kPast + 19) / 20;  // 20·fraction reaches n - 1
        for (uint64_t d = 0; d < 3; ++d) {
            both(edge + d);
            both(edge - 1 - d);
        }
    }
    EXPECT_EQ(steps.least(21), kPast);
    for (uint64_t v : {uint64_t(0), uint64_t(1), kPast - 1, kPast - 2}) both(v);
    EXPECT_EQ(steps(~uint64_t(0)), 20);
    std::mt19937_64 g(3);
    for (int i = 0; i < 1000000; ++i) {
        const uint64_t x = g();
        ASSERT_EQ(steps(x), numberOf(dz::Random::fraction(x))) << x;
    }
}

// The keys of a seed as they have always been, to the fraction that follows the run.
TEST(DrawPath, KeysOfASeedArePinned) {
    struct Case {
        int t, a;
        NumberMask chosen;
        long long rows;
        uint64_t seed;
        double maxRuns;
        size_t made;
        RunEnd end;
        int runs;
        uint64_t hash;
        double next;
    };
    const Case cases[] = {
        {3, 1, firstNumbers(9), 12, 7, 0, 9, RunEnd::Slots, 1, 3751635761969965799ull, 0.88261435336863037},
        {6, 5, kAllNumbers, 2000, 2026, 0, 1988, RunEnd::Slots, 1, 10864960149119686595ull, 0.041072839937316696},
        {5, 3, kAllNumbers, 300, 11, 3, 297, RunEnd::Slots, 3, 8722951328893332523ull, 0.7471326936664765},
    };
    for (const Case& c : cases) {
        GenInputs in = inputs(c.t, c.a, c.chosen, c.rows);
        in.maxRuns = c.maxRuns;
        in.repeatAlways = c.maxRuns != 0;
        dz::Random rng(c.seed);
        const GenerationResult r = generate(validate(in).inputs, rng);
        EXPECT_EQ(r.masks.size(), c.made) << c.seed;
        EXPECT_EQ(r.lastEnd, c.end) << c.seed;
        EXPECT_EQ(r.runs, c.runs) << c.seed;
        EXPECT_EQ(hashOf(r.masks), c.hash) << c.seed;
        EXPECT_EQ(rng.next(), c.next) << c.seed;
    }
    dz::Random rng(7);
    const GenerationResult small = generate(validate(inputs(3, 1, firstNumbers(9), 12)).inputs, rng);
    EXPECT_EQ(small.rows, (std::vector<QString>{" 01 03 07 ", " 01 05 08 ", " 01 06 09 ", " 02 03 06 ", " 02 04 07 ",
                                                " 02 05 09 ", " 03 04 05 ", " 03 08 09 ", " 06 07 08 "}));
}

// Every kind of run, both ways: plain keys, even use, reruns with keep-best, groups, a stop.
TEST(DrawPath, StraightAndThroughNextAgree) {
    GroupRule rule;
    for (int n = 1; n <= 20; ++n) rule.groupOf[size_t(n)] = int8_t(n <= 10 ? 1 : 2);
    rule.limits.min[1] = 2;
    rule.limits.max[1] = 3;
    rule.limits.min[2] = 1;
    rule.limits.max[2] = 4;
    for (int g = 3; g <= kGroups; ++g) rule.limits.max[size_t(g)] = 20;
    rule.limits.minSum = 3;
    rule.limits.maxSum = 7;

    struct Case {
        GenInputs in;
        long long stopAtSlot;  // the stop flag set at this slot's report (0: never)
    };
    std::vector<Case> cases;
    cases.push_back({inputs(6, 5, kAllNumbers, 3000), 0});
    cases.push_back({inputs(8, 4, kAllNumbers, 300), 0});      // stalls: the draws run out
    cases.push_back({inputs(2, 1, firstNumbers(5), 40), 0});   // every combination
    cases.push_back({inputs(4, 2, maskOf({2, 5, 7, 11, 13, 17, 19}), 30), 0});
    GenInputs even = inputs(3, 2, firstNumbers(7), 20);
    even.adjust = true;
    cases.push_back({even, 0});
    GenInputs reruns = inputs(5, 3, firstNumbers(14), 120);
    reruns.maxRuns = 4;
    reruns.repeatAlways = true;
    cases.push_back({reruns, 0});
    GenInputs groups = inputs(5, 3, kAllNumbers, 200);
    groups.groups = &rule;
    cases.push_back({groups, 0});
    cases.push_back({inputs(6, 4, kAllNumbers, 5000), 700});
    cases.push_back({reruns, 150});

    for (uint64_t seed : {1ull, 99ull, 2026ull}) {
        for (size_t i = 0; i < cases.size(); ++i) {
            GenInputs in = validate(cases[i].in).inputs;
            in.progressIntervalMs = 0;
            auto run = [&](dz::Random& rng) {
                std::atomic<bool> stop{false};
                const ProgressFn progress = [&](const Progress& p) {
                    if (p.kind == Progress::Kind::Slot && p.slot == cases[i].stopAtSlot) stop = true;
                };
                return generate(in, rng, stopOn(stop), progress);
            };
            dz::Random plain(seed);
            Forwarding forwarding(seed);
            ASSERT_TRUE(plain.plain());
            ASSERT_FALSE(forwarding.plain());
            const GenerationResult a = run(plain), b = run(forwarding);
            EXPECT_GT(a.rows.size(), 0u) << i;
            EXPECT_EQ(a.rows, b.rows) << "case " << i << " seed " << seed;
            EXPECT_EQ(a.list2, b.list2) << i;
            EXPECT_EQ(a.label1, b.label1) << i;
            EXPECT_EQ(a.text3, b.text3) << i;
            EXPECT_EQ(a.runs, b.runs) << i;
            EXPECT_EQ(a.lastEnd, b.lastEnd) << i;
            EXPECT_EQ(a.stopped, cases[i].stopAtSlot != 0) << i;
            EXPECT_EQ(plain.next(), forwarding.next()) << "case " << i << " seed " << seed;
        }
    }
}
