#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "tools/common/PairKey.h"
#include "tools/common/Rng.h"

enum class Sampling {
    // Each protein is drawn in proportion to its number of reported
    // interactions, so that it occurs in negatives about as often as in
    // positives and a protein's degree alone does not tell the two apart.
    DEGREE,
    // Both proteins uniformly among those of the reported interactions.
    UNIFORM,
};

// Draws `count` distinct pairs of two different proteins as non-interacting
// pairs. The proteins are those of `positives` (ids); no drawn pair is in
// `reported` (PairIndex keys of every reported interaction, of every source)
// or drawn twice. Pairs come back as (larger, smaller) in drawing order.
// Throws ToolError when not that many pairs can be found.
std::vector<PairKey> SampleNegatives(const std::vector<PairKey>& positives,
                                     const std::unordered_set<std::int64_t>& reported, std::size_t count,
                                     Sampling sampling, Rng& rng);
