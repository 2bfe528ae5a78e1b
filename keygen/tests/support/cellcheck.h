// What keygen's tests and benchmarks hold the engine against: the overlap rule read off the row
// texts, cell by cell, as a user reads a key.
#pragma once
#include <QString>
#include <vector>

namespace dz::keygen::testing {

// Does the candidate share more than `overlap` three-character cells with a row of the key?
bool overlapsByCells(const QString& candidate, const std::vector<QString>& key, int type, int overlap);

}  // namespace dz::keygen::testing
