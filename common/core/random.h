// The suite's one source of random numbers.
#pragma once
#include <cstdint>
#include <random>

namespace dz {

class Random {
public:
    explicit Random(uint64_t seed = 1) : eng_(seed) {}
    virtual ~Random() = default;
    // A uniform fraction in [0, 1).
    virtual double next();
    virtual void seed(uint64_t s) { eng_.seed(s); }
    // Reseeds from a high-resolution clock mixed with a counter, so that two runs within one
    // second differ.
    void reseedFromClock();
    // Int(next() * n + 1): 1..n, never n + 1.
    int drawNumber(int n);

private:
    std::mt19937_64 eng_;
    uint64_t reseeds_ = 0;
};

// The program's source; tests may seed it.
Random& programRandom();

}  // namespace dz
