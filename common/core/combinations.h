// How many sets of k numbers the numbers 1..n hold.
#pragma once
#include <array>
#include <cstddef>

namespace dz {

namespace detail {
// Pascal's triangle up to the suite's 20 numbers.
struct BinomialTable {
    std::array<std::array<long long, 21>, 21> c{};
    constexpr BinomialTable() {
        for (std::size_t n = 0; n <= 20; ++n) {
            c[n][0] = 1;
            for (std::size_t k = 1; k <= n; ++k) c[n][k] = c[n - 1][k - 1] + c[n - 1][k];
        }
    }
};
inline constexpr BinomialTable kBinomials;
}  // namespace detail

// C(n, k) exactly for 0 <= n <= 20; 0 when k < 0, k > n or n is outside 0..20.
constexpr long long binomial(int n, int k) {
    if (n < 0 || n > 20 || k < 0 || k > n) return 0;
    return detail::kBinomials.c[std::size_t(n)][std::size_t(k)];
}

// C(n, k) by the product rule in floating point: (k+1)·…·n / (n-k)!, 0 when n < k.
double countCombinations(int n, int k);

}  // namespace dz
