// Numbers, pairs and triples over the last L draws, each in number order and ranked by count.
#pragma once
#include "common/core/draws.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

namespace dz::drawstat {

inline constexpr int kPairCount = 190;
inline constexpr int kTripleCount = 1140;

struct FrequencyCounts {
    std::array<int32_t, 21> numbers{};  // slot n: counted draws that hold n
    std::vector<int32_t> pairs;         // kPairCount, in (i, j) order, i < j
    std::vector<int32_t> triples;       // kTripleCount, in (i, j, k) order, i < j < k
};

// The 0-based index of the first draw counted when the last L draws of N are asked for: the draws
// whose 1-based position is greater than N - L (L above N: all; L negative: none of the first N).
size_t firstCountedDraw(long long drawCount, double lastDraws);

// Counts over the records from 0-based index first on.
FrequencyCounts countFrequencies(const dz::DrawFile& file, size_t first);

struct FrequencyLists {
    QStringList numbers, numbersRanked;  // List5, List6
    QStringList pairs, pairsRanked;      // List1, List2
    QStringList triples, triplesRanked;  // List3, List4
};
// The six lists. The ranked lists keep ascending text order, so their count field is as wide as
// the widest count (at least five): counts of different widths would otherwise sort as text.
FrequencyLists frequencyLists(const FrequencyCounts& counts);

}  // namespace dz::drawstat
