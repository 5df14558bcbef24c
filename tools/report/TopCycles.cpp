#include "tools/report/TopCycles.h"

#include <algorithm>
#include <cmath>

void TopCycles::Add(PerturbationCycle&& c)
{
    if (most_ == 0 || !c.effect || !std::isfinite(c.effect->value)) {
        return;
    }
    const double size = std::fabs(c.effect->value);
    if (cycles_.size() == most_ && size <= std::fabs(cycles_.back().effect->value)) {
        return;
    }
    // After every cycle at least as large: a later cycle loses a tie.
    const auto at = std::find_if(cycles_.begin(), cycles_.end(),
                                 [size](const PerturbationCycle& k) { return std::fabs(k.effect->value) < size; });
    cycles_.insert(at, std::move(c));
    if (cycles_.size() > most_) {
        cycles_.pop_back();
    }
}
