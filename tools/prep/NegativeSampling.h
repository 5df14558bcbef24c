#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "tools/stats/Rng.h"
#include "tools/toolbox/PairKey.h"

enum class Sampling {
    // Each protein is drawn in proportion to its number of reported
    // interactions, so that it occurs in negatives about as often as in
    // positives and a protein's degree alone does not tell the two apart.
    DEGREE,
    // Both proteins uniformly among those of the reported interactions.
    UNIFORM,
};

// The reported interactions of every source, which no non-interacting pair
// may be: looked up by pair, and by protein for the pairs among the few
// proteins of one source, so that sampling many small sources does not go
// through every reported pair for each.
class ReportedPairs {
public:
    void Add(int a, int b);
    bool Has(int a, int b) const { return keys_.count(PairIndex64(a, b)) != 0; }
    // Partners of `p` other than itself, each once.
    const std::vector<int>& Partners(int p) const;
    std::size_t Size() const { return keys_.size(); }

private:
    std::unordered_set<std::int64_t> keys_;
    std::unordered_map<int, std::vector<int>> partners_;
};

// Draws up to `count` distinct pairs of two different proteins as
// non-interacting pairs, as SampleNegatives does, but as many as there are
// when fewer pairs are free, or when the draws stop finding them (a source
// whose proteins are almost all paired already): then the free pairs left
// are drawn uniformly, as long as there are few enough of them to list.
std::vector<PairKey> SampleNegativesUpTo(const std::vector<PairKey>& positives, const ReportedPairs& reported,
                                         std::size_t count, Sampling sampling, Rng& rng);

// Draws `count` distinct pairs of two different proteins as non-interacting
// pairs. The proteins are those of `positives` (ids); no drawn pair is in
// `reported` (PairIndex keys of every reported interaction, of every source)
// or drawn twice. Pairs come back as (larger, smaller) in drawing order.
// Throws ToolError when not that many pairs can be found.
std::vector<PairKey> SampleNegatives(const std::vector<PairKey>& positives,
                                     const std::unordered_set<std::int64_t>& reported, std::size_t count,
                                     Sampling sampling, Rng& rng);
