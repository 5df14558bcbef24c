#pragma once

#include <algorithm>
#include <utility>

// The key of an unordered pair of ids, in 64 bits: PairIndex64.
#include "format/PairIndex.h"

// An unordered pair of ids (motifs, or proteins) as motifbind writes it: the
// larger id first.
using PairKey = std::pair<int, int>;

inline PairKey MakePairKey(int a, int b) { return {std::max(a, b), std::min(a, b)}; }
