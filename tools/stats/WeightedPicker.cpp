#include "tools/stats/WeightedPicker.h"

#include <algorithm>

WeightedPicker::WeightedPicker(const std::vector<double>& weights)
{
    cumulative_.reserve(weights.size());
    double total = 0.0;
    for (double w : weights) {
        total += w;
        cumulative_.push_back(total);
    }
}

std::size_t WeightedPicker::Pick(Rng& rng) const
{
    const double target = rng.Uniform() * cumulative_.back();
    const auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), target);
    const auto pos = static_cast<std::size_t>(it - cumulative_.begin());
    return std::min(pos, cumulative_.size() - 1);
}
