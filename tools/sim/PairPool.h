#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

#include "tools/stats/Rng.h"

// Draws unordered pairs of ids in [0, n) without repetition: the tested
// protein pairs, the extra pairs to predict, the active motif pairs. A pair
// of an id with itself ("self pair") and a pair of two different ids are
// drawn separately, since the model treats them differently.
class PairPool {
public:
    // Proposes a pair, or nothing; used to favour some pairs over others.
    using Proposal = std::function<std::optional<std::pair<int, int>>(Rng&)>;

    explicit PairPool(int n);

    // Marks the pair as used; false when it already was.
    bool Take(int a, int b);
    bool IsTaken(int a, int b) const;
    // Pairs of the kind not yet used.
    long long Free(bool self) const;

    // Draws `count` new pairs of one kind, in the orientation drawn. When a
    // proposal is given, each pair is first sought among its proposals; once
    // it fails to find a new pair of the right kind PROPOSAL_ATTEMPTS times in
    // a row, the rest are drawn uniformly. The caller makes sure that `count`
    // does not exceed Free(self).
    std::vector<std::pair<int, int>> Draw(long long count, bool self, Rng& rng, const Proposal& proposal = {});

private:
    std::pair<int, int> UniformPair(bool self, Rng& rng) const;
    std::vector<std::pair<int, int>> DrawByEnumeration(long long count, bool self, Rng& rng);

    int n_;
    std::unordered_set<std::int64_t> taken_;
    long long takenSelf_ = 0;
    long long takenDistinct_ = 0;
};
