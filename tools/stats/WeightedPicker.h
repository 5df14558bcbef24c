#pragma once

#include <cstddef>
#include <vector>

#include "tools/stats/Rng.h"

// Draws an index with probability proportional to its weight. Used for the
// long-tailed choices of the simulation: how many motifs a protein carries,
// and which motif families are common.
class WeightedPicker {
public:
    explicit WeightedPicker(const std::vector<double>& weights);

    std::size_t Pick(Rng& rng) const;
    std::size_t Size() const { return cumulative_.size(); }

private:
    std::vector<double> cumulative_;
};
