#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

// An unordered pair of ids (motifs, or proteins) as motifbind writes it: the
// larger id first.
using PairKey = std::pair<int, int>;

inline PairKey MakePairKey(int a, int b) { return {std::max(a, b), std::min(a, b)}; }

// Key of an unordered pair of ids: with L the larger and S the smaller id,
// L*(L+1)/2 + S. Sorting by it orders pairs by larger id, then smaller id,
// which is the order in which motifbind prints pairs.
inline std::int64_t PairIndex(int a, int b)
{
    const std::int64_t l = a > b ? a : b;
    const std::int64_t s = a > b ? b : a;
    return l * (l + 1) / 2 + s;
}
