// How the generation turns a random fraction into a number: Int(Rnd * 20 + 1), Rnd in single
// precision, never 21.
#pragma once
#include <cstdint>

namespace dz::keygen {

inline int numberOf(double fraction) {
    const float f = static_cast<float>(fraction);
    const float x = f * 20.0f + 1.0f;
    int n = static_cast<int>(x);
    if (n > 20) n = 20;  // a fraction that rounds to 1.0 never gives 21
    if (n < 1) n = 1;
    return n;
}

// The same number straight from an engine value x, whose fraction is (x >> 11)·2^-53, in whole
// numbers: v = x >> 11 gives floor(20·fraction) + 1 but where the single-precision roundings
// carry it over a step, which the least v of every number settles.
class NumberSteps {
public:
    static const NumberSteps& get();
    int operator()(uint64_t x) const {
        const uint64_t v = x >> 11;
        const uint64_t c = (v * 20) >> 53;  // 0..19; v·20 < 2^58
        return int(c) + 1 + int(v >= least_[c + 2]) - int(v < least_[c + 1]);
    }
    // The least v that draws n or more (n = 1..21; 21: past every v).
    uint64_t least(int n) const { return least_[n]; }

private:
    NumberSteps();
    uint64_t least_[22];
};

}  // namespace dz::keygen
