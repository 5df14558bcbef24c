#include "tools/stats/Ranks.h"

#include <algorithm>
#include <numeric>

std::vector<double> AverageRanks(const std::vector<double>& values)
{
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&values](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<double> ranks(values.size());
    for (std::size_t start = 0; start < order.size();) {
        std::size_t end = start + 1;
        while (end < order.size() && values[order[end]] == values[order[start]]) {
            ++end;
        }
        // Positions start .. end-1 hold ranks start+1 .. end; their mean:
        const double shared = 0.5 * static_cast<double>(start + 1 + end);
        for (std::size_t k = start; k < end; ++k) {
            ranks[order[k]] = shared;
        }
        start = end;
    }
    return ranks;
}
