#include "common/core/selection.h"

#include <algorithm>

namespace dz {

uint32_t NumberSelection::mask() const {
    uint32_t m = 0;
    for (int n = 1; n <= 20; ++n)
        if (flags_[n]) m |= 1u << n;
    return m;
}

void NumberSelection::setMask(uint32_t mask) {
    clear();
    for (int n = 1; n <= 20; ++n)
        if (mask & (1u << n)) set(n, true);
}

void NumberSelection::set(int n, bool on) {
    if (n < 1 || n > 20 || flags_[n] == on) return;
    flags_[n] = on;
    count_ += on ? 1 : -1;
}

void NumberSelection::clear() {
    flags_.fill(false);
    count_ = 0;
}

void NumberSelection::invertRow(int r) {
    if (r < 1 || r > 4) return;
    for (int n = (r - 1) * 5 + 1; n <= (r - 1) * 5 + 5; ++n) toggle(n);
}

void NumberSelection::invertColumn(int c) {
    if (c < 1 || c > 5) return;
    for (int n = c; n <= 20; n += 5) toggle(n);
}

void NumberSelection::pickRandom(int k, Random& rng) {
    clear();
    k = std::clamp(k, 0, 20);
    while (count_ < k) {
        int x = rng.drawNumber(20);
        while (flags_[x]) x = rng.drawNumber(20);
        set(x, true);
    }
}

}  // namespace dz
