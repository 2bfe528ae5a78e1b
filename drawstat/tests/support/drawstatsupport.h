// What the tests, benchmarks and fuzz targets call beside the program: the engines over a counter
// file or draw bytes held by the caller, a subset's record number, and a fresh state over a file set.
#pragma once
#include "drawstat/core/state.h"
#include "drawstat/core/subsetfile.h"
#include "drawstat/core/subsetlists.h"

#include <functional>
#include <string_view>

namespace dz::drawstat::testing {

// A fresh state over a file set (drawstat's by default).
void resetState(const FileSet& files = {});

// The record number (1-based) of the subset x[0] < .. < x[k-1] of 1..20.
int subsetRank(int k, const int* x);

// The count-in over draw file bytes in memory.
CountInResult countIn(CounterFile& file, std::string_view drawBytes,
                      const std::function<bool(std::string_view key)>& slice = {});

// The lists over a copy of the counter file, which the lists keep.
MostDrawnResult mostDrawn(const CounterFile& f, const SubsetProfile& p);
NeverDrawnResult neverDrawn(const CounterFile& f, const SubsetProfile& p);
SubsetRowsPtr leastDrawn(const CounterFile& f, const QString& firstMostDrawnRow, bool inTextOrder = false);

// The life path over draw file bytes in memory.
LifePathResult lifePath(std::string_view drawBytes, const SubsetProfile& p, const QString& numberText);

}  // namespace dz::drawstat::testing
