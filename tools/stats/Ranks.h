#pragma once

#include <vector>

// Ranks 1 .. n of the values in ascending order; tied values share the mean
// of the ranks they span (1, 2.5, 2.5, 4 for 1, 3, 3, 7). Values that are not
// numbers have no order, so the caller must not pass them.
std::vector<double> AverageRanks(const std::vector<double>& values);
