#include "keygen/tests/support/cellcheck.h"

#include "common/core/textfmt.h"

namespace dz::keygen::testing {

bool overlapsByCells(const QString& candidate, const std::vector<QString>& key, int type, int overlap) {
    for (const QString& row : key) {
        int shared = 0;
        for (int a = 1; a <= type; ++a) {
            const QString ca = dz::mid(candidate, 3 * (a - 1) + 1, 3);
            for (int b = 1; b <= type; ++b) {
                if (ca == dz::mid(row, 3 * (b - 1) + 1, 3)) ++shared;
                if (shared > overlap) return true;
            }
        }
    }
    return false;
}

}  // namespace dz::keygen::testing
