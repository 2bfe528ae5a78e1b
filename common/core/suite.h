// What every program of the suite shares: the row limit of its lists and keys, and the signature
// that ends its window titles and titles its messages.
#pragma once
#include <QString>

namespace dz {

// The most lines a key list or a draw list holds.
inline constexpr int kRowLimit = 32736;

inline constexpr char kSignature[] = "Vumo-Soft";
// The signature, "/" and the year of the window or text it ends.
QString signature(int year = 2010);

}  // namespace dz
