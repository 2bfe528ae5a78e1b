#include "common/core/combinations.h"

namespace dz {

double countCombinations(int n, int k) {
    if (n < k) return 0;
    double product = 1.0;
    for (int i = k + 1; i <= n; ++i) product *= i;
    double factorial = 1.0;
    for (int j = 1; j <= n - k; ++j) factorial *= j;
    return product / factorial;
}

}  // namespace dz
