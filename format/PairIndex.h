#pragma once

#include <cstdint>
#include <utility>

// The key of an unordered pair of ids (proteins, or motifs): with L the
// larger and S the smaller id, L*(L+1)/2 + S. Ascending keys order pairs by
// larger id, then smaller, the order in which motifbind writes pairs.
//
// motifbind keys its maps by int, which holds for ids up to 46339; the
// helpers, which check ids against that bound, compute in 64 bits.

inline int PairIndex(int a, int b)
{
    const int l = a > b ? a : b;
    const int s = a > b ? b : a;
    return l * (l + 1) / 2 + s;
}

// motifbind's inverse of PairIndex, in floating point: (L, S). n is the id
// range the lifting term 0.1/n is sized for.
std::pair<int, int> PairRevIndex(int ind, int n);

inline std::int64_t PairIndex64(int a, int b)
{
    const std::int64_t l = a > b ? a : b;
    const std::int64_t s = a > b ? b : a;
    return l * (l + 1) / 2 + s;
}

// The exact inverse of PairIndex64, for every key of two non-negative ints:
// (L, S).
std::pair<int, int> PairRevIndex64(std::int64_t index);
