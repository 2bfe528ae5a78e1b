// What the engine tests share: random sources (a fixed seed that reseeding does not change, and a
// scripted one that returns queued fractions) and the generation's inputs.
#pragma once
#include "common/core/random.h"
#include "keygen/core/generator.h"

#include <QString>
#include <deque>
#include <ostream>
#include <vector>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace dz::keygen::testing {

// Inputs of a generation of rows of type t sharing at most a numbers, from the chosen numbers, that
// keeps the test's seed across its runs.
inline GenInputs inputs(int t, int a, NumberMask chosen, long long rows, bool adjust = false) {
    GenInputs in;
    in.type = t;
    in.overlap = a;
    in.chosen = chosen;
    in.rows = rows;
    in.adjust = adjust;
    in.reseedEachRun = false;
    return in;
}

// A Mersenne source whose reseedFromClock() keeps the stream (seed() is ignored).
class FixedRandom : public dz::Random {
public:
    explicit FixedRandom(uint64_t s) : dz::Random(s) {}
    void seed(uint64_t) override {}
};

// Returns the queued fractions in order, then `fallback` forever.
class ScriptedRandom : public dz::Random {
public:
    double next() override {
        ++calls;
        if (q.empty()) return fallback;
        const double f = q.front();
        q.pop_front();
        return f;
    }
    void seed(uint64_t) override {}
    // The fraction that draws number n: Int(f * 20 + 1) = n.
    static double of(int n) { return (n - 0.5) / 20.0; }
    void numbers(const std::vector<int>& ns) {
        for (int n : ns) q.push_back(of(n));
    }
    void repeat(int n, int times) {
        for (int i = 0; i < times; ++i) q.push_back(of(n));
    }
    std::deque<double> q;
    double fallback = 0.0;
    long long calls = 0;
};

// The numbers 1..n as a mask.
inline uint32_t firstNumbers(int n) {
    uint32_t m = 0;
    for (int i = 1; i <= n; ++i) m |= 1u << i;
    return m;
}

}  // namespace dz::keygen::testing
