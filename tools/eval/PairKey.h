#pragma once

#include <algorithm>
#include <utility>

// An unordered pair of ids (motifs, or proteins) as the log and the files
// write it: the larger id first.
using PairKey = std::pair<int, int>;

inline PairKey MakePairKey(int a, int b) { return {std::max(a, b), std::min(a, b)}; }
