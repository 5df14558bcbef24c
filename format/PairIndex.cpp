#include "format/PairIndex.h"

#include <cmath>

std::pair<int, int> PairRevIndex(int ind, int n)
{
    // 0.1/n lifts results that rounding puts just below a whole number.
    const double lift = n > 0 ? 0.1 / n : 0.1;
    const int first = int(std::sqrt(double(2 * ind) + 0.25) - 0.5 + lift);
    return {first, ind - first * (first + 1) / 2};
}

std::pair<int, int> PairRevIndex64(std::int64_t index)
{
    // The floating-point root is a guess; whole-number steps make it exact.
    std::int64_t l = static_cast<std::int64_t>(std::sqrt(2.0 * static_cast<double>(index)));
    while (l * (l + 1) / 2 > index) {
        --l;
    }
    while ((l + 1) * (l + 2) / 2 <= index) {
        ++l;
    }
    return {static_cast<int>(l), static_cast<int>(index - l * (l + 1) / 2)};
}
