#include "drawstat/tests/support/drawstatsupport.h"

#include "common/core/draws.h"

#include <memory>

namespace dz::drawstat::testing {

void resetState(const FileSet& files) { dz::drawstat::resetState(Profile{files, {}, {}}); }

int subsetRank(int k, const int* x) {
    long long r = binomial(20, k);
    for (int i = 0; i < k; ++i) r -= binomial(20 - x[i], k - i);
    return int(r);
}

CountInResult countIn(CounterFile& file, std::string_view drawBytes,
                      const std::function<bool(std::string_view key)>& slice) {
    return dz::drawstat::countIn(file, dz::DrawFile::fromBytes(std::string(drawBytes)), slice);
}

MostDrawnResult mostDrawn(const CounterFile& f, const SubsetProfile& p) {
    return dz::drawstat::mostDrawn(std::make_shared<const CounterFile>(f), p);
}

NeverDrawnResult neverDrawn(const CounterFile& f, const SubsetProfile& p) {
    return dz::drawstat::neverDrawn(std::make_shared<const CounterFile>(f), p);
}

SubsetRowsPtr leastDrawn(const CounterFile& f, const QString& firstMostDrawnRow, bool inTextOrder) {
    return dz::drawstat::leastDrawn(std::make_shared<const CounterFile>(f), firstMostDrawnRow, inTextOrder);
}

LifePathResult lifePath(std::string_view drawBytes, const SubsetProfile& p, const QString& numberText) {
    return dz::drawstat::lifePath(dz::DrawFile::fromBytes(std::string(drawBytes)), p, numberText);
}

}  // namespace dz::drawstat::testing
