#include "tools/prep/Coverage.h"

#include <algorithm>

int CoveredResidues(std::vector<std::pair<int, int>> ranges)
{
    std::sort(ranges.begin(), ranges.end());
    long long covered = 0;
    int end = 0;  // last residue counted so far
    for (const auto& [first, last] : ranges) {
        const int from = std::max(first, end + 1);
        if (last >= from) {
            covered += last - from + 1;
            end = last;
        }
    }
    return static_cast<int>(covered);
}
