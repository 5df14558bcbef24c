#include "tools/prep/Coverage.h"

#include <algorithm>

long long CoveredResidues(std::vector<std::pair<int, int>> ranges)
{
    std::sort(ranges.begin(), ranges.end());
    long long covered = 0;
    long long end = 0; // last residue counted so far
    for (const auto& [first, last] : ranges) {
        const long long from = std::max<long long>(first, end + 1);
        if (last >= from) {
            covered += last - from + 1;
            end = last;
        }
    }
    return covered;
}
