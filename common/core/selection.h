// A number selection: 20 flags and their count, with the grid's tools as plain operations.
#pragma once
#include "common/core/random.h"

#include <array>
#include <cstdint>

namespace dz {

class NumberSelection {
public:
    bool marked(int n) const { return n >= 1 && n <= 20 && flags_[n]; }
    int count() const { return count_; }
    // Bit n set for every marked number n.
    uint32_t mask() const;
    void setMask(uint32_t mask);

    void set(int n, bool on);
    void toggle(int n) { set(n, !marked(n)); }
    void clear();
    // Inverts every number of row r (1..4: 5r-4 .. 5r) or of column c (1..5: c, c+5, c+10, c+15).
    void invertRow(int r);
    void invertColumn(int c);
    // Clears, then marks k distinct numbers drawn as Int(Rnd * 20 + 1), redrawn while taken.
    void pickRandom(int k, Random& rng);

private:
    std::array<bool, 21> flags_{};
    int count_ = 0;
};

}  // namespace dz
