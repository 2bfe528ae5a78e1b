#include "random.h"

#include <chrono>
#include <cmath>

namespace dz {

double Random::next() { return static_cast<double>(eng_() >> 11) * 0x1.0p-53; }

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
