// The suite's one source of random numbers.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <typeinfo>

namespace dz {

// The 64-bit Mersenne twister (the sequence of std::mt19937_64 for every seed), with its block
// open: a loop that draws many numbers can read the coming values of the block without moving
// the position, and take them afterwards.
class Mt64 {
public:
    static constexpr size_t kSize = 312;
    explicit Mt64(uint64_t seed = 5489u) { this->seed(seed); }
    void seed(uint64_t s);
    uint64_t operator()() {
        if (pos_ >= kSize) twist();
        return temper(state_[pos_++]);
    }
    static uint64_t temper(uint64_t z) {
        z ^= (z >> 29) & 0x5555555555555555ull;
        z ^= (z << 17) & 0x71D67FFFEDA60000ull;
        z ^= (z << 37) & 0xFFF7EEE000000000ull;
        return z ^ (z >> 43);
    }
    // What is left of the block, never empty (a used-up block is followed by the next): the values
    // temper(v) for its v come next, in order. Valid until the next call of anything else.
    std::span<const uint64_t> block() {
        if (pos_ >= kSize) twist();
        return {state_ + pos_, kSize - pos_};
    }
    // Takes the first n values of block() unread; more than it holds takes it whole.
    void advance(size_t n) { pos_ += std::min(n, kSize - pos_); }

private:
    void twist();

    uint64_t state_[kSize];
    size_t pos_ = kSize;
};

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

    // The fraction next() makes of an engine value.
    static double fraction(uint64_t x) { return static_cast<double>(x >> 11) * 0x1.0p-53; }
    // True when next() and seed() are this class's own, so that a loop may draw straight from
    // engine() instead (the same numbers, without a call per fraction).
    bool plain() const { return typeid(*this) == typeid(Random); }
    Mt64& engine() { return eng_; }

private:
    Mt64 eng_;
    uint64_t reseeds_ = 0;
};

// The program's source; tests may seed it.
Random& programRandom();

}  // namespace dz
