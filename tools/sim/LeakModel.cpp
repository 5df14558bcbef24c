#include "tools/sim/LeakModel.h"

#include <cmath>

namespace {

// Ten times the pair count goes under the square root, so one leak variable
// covers a group of residue pairs a little larger than `leakGroup`/10.
constexpr double LEAK_SQRT_FACTOR = 10.0;

} // namespace

LeakModel::LeakModel(const SimConfig& config)
    : type_(config.leakType), group_(config.leakGroup), prob_(config.LeakProbability())
{
}

int LeakModel::NumLeak(const Protein& p, const Protein& q) const
{
    if (type_ == 0) {
        return 1;
    }
    if (type_ != 1) {
        return 0;
    }
    // Lengths stay below 46341, so the 32-bit products cannot overflow, and
    // coverage never exceeds length, so the count is never negative.
    const int nonMotifPairs = p.length * q.length - p.coverage * q.coverage;
    return static_cast<int>(std::sqrt(LEAK_SQRT_FACTOR * nonMotifPairs / group_)) + 1;
}
