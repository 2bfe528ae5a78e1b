#include "keygen/core/numberdraw.h"

namespace dz::keygen {

NumberSteps::NumberSteps() {
    constexpr uint64_t kPast = uint64_t(1) << 53;  // v < 2^53
    least_[0] = least_[1] = 0;
    for (int n = 2; n <= 21; ++n) {
        // numberOf grows with the fraction: the least v reaching n by halving
        uint64_t lo = least_[n - 1], hi = kPast;
        while (lo < hi) {
            const uint64_t mid = lo + (hi - lo) / 2;
            if (numberOf(double(mid) * 0x1.0p-53) >= n)
                hi = mid;
            else
                lo = mid + 1;
        }
        least_[n] = lo;
    }
}

const NumberSteps& NumberSteps::get() {
    static const NumberSteps steps;
    return steps;
}

}  // namespace dz::keygen
