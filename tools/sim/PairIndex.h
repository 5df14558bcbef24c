#pragma once

#include <cstdint>
#include <utility>

// Key of an unordered pair of ids (proteins or motifs): with L the larger and
// S the smaller id, L*(L+1)/2 + S. Sorting by it orders pairs by larger id,
// then smaller id, which is the order in which motifbind prints pairs.
inline std::int64_t PairIndex(int a, int b)
{
    const std::int64_t l = a > b ? a : b;
    const std::int64_t s = a > b ? b : a;
    return l * (l + 1) / 2 + s;
}

// (larger, smaller) of a pair.
inline std::pair<int, int> Ordered(int a, int b)
{
    return a > b ? std::make_pair(a, b) : std::make_pair(b, a);
}
