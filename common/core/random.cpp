#include "common/core/random.h"

#include <chrono>
#include <cmath>

namespace dz {

void Mt64::seed(uint64_t s) {
    state_[0] = s;
    for (size_t i = 1; i < kSize; ++i) state_[i] = 6364136223846793005ull * (state_[i - 1] ^ (state_[i - 1] >> 62)) + i;
    pos_ = kSize;
}

// Built twice, the wider vector clone chosen at load time where the processor has it.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("avx2", "default")))
#endif
void Mt64::twist() {
    constexpr size_t m = 156;
    constexpr uint64_t upper = ~uint64_t(0) << 31, lower = ~upper, a = 0xB5026F5AA96619E9ull;
    auto mix = [](uint64_t hi, uint64_t lo, uint64_t far) {
        const uint64_t y = (hi & upper) | (lo & lower);
        return far ^ (y >> 1) ^ ((0 - (y & 1)) & a);
    };
    for (size_t k = 0; k < kSize - m; ++k) state_[k] = mix(state_[k], state_[k + 1], state_[k + m]);
    // In whole vectors (152 values), then the last three: a loop the compiler widens.
    constexpr size_t wide = kSize - m + 152;
    for (size_t k = kSize - m; k < wide; ++k) state_[k] = mix(state_[k], state_[k + 1], state_[k + m - kSize]);
    for (size_t k = wide; k < kSize - 1; ++k) state_[k] = mix(state_[k], state_[k + 1], state_[k + m - kSize]);
    state_[kSize - 1] = mix(state_[kSize - 1], state_[0], state_[m - 1]);
    pos_ = 0;
}

double Random::next() { return fraction(eng_()); }

void Random::reseedFromClock() {
    const auto t = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    ++reseeds_;
    // splitmix of clock and counter: near clock values must not give near streams
    uint64_t z = t ^ (reseeds_ * 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    seed(z ^ (z >> 31));
}

int Random::drawNumber(int n) {
    // Clamped as a double: a fraction that rounds up to n + 1, or a source outside [0, 1), must
    // not leave 1..n nor reach an undefined conversion.
    const double x = std::floor(next() * n) + 1;
    if (!(x >= 1)) return n < 1 ? n : 1;
    if (x >= n) return n;
    return static_cast<int>(x);
}

Random& programRandom() {
    static Random r(0x5EED);
    return r;
}

}  // namespace dz
